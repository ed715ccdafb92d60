#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "ConsoleCapture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

const QString kSampleMap =
    QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/maps/sample.map"));

// The program's window with its settings folder and base directory in temporary folders.
class MainWindowGuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
        QDir().mkpath(folder.filePath("base"));
        App_SetBaseDirectory(folder.filePath("base"));
        Plugin_SetFolder(QStringLiteral(ZARV_BIN_DIR "/plugins"));
    }
    void TearDown() override {
        Plugin_SetFolder(QString());
        App_SetBaseDirectory(QString());
        if (previousConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previousConfig);
    }
    void writeFile(const QString& name, const QByteArray& text) {
        QDir().mkpath(QFileInfo(folder.filePath(name)).absolutePath());
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    void key(QWidget* to, int code, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, code, Qt::NoModifier, code < 0x100 ? QString(QChar(code)) : QString());
        QApplication::sendEvent(to, &event);
    }

    QTemporaryDir folder;
    QByteArray previousConfig;
};

} // namespace

TEST_F(MainWindowGuiTest, ConstructCloseDestroyAndAgain) {
    for (int round = 0; round < 2; ++round) {
        auto window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        EXPECT_EQ(g_mainWindow, window.get());
        ASSERT_NE(window->mdiArea, nullptr);
        for (const char* dock : {"console", "newobjects", "textures", "visgroups"})
            EXPECT_NE(window->findChild<QDockWidget*>(QLatin1String(dock)), nullptr) << dock;
        window->show();
        EXPECT_TRUE(window->close());
        window.reset();
        EXPECT_EQ(g_mainWindow, nullptr);
        EXPECT_TRUE(QFile::exists(folder.filePath("config/zarv/KDKSettings.ini")));
    }
}

TEST_F(MainWindowGuiTest, AutosaveDelayZeroRunsEveryMinute) {
    writeFile("config/zarv/KDKSettings.ini", "[Autosave]\nAutosaveDelay=0\nAutosaveEnable=true\n");
    cMainWindow window(WindowMode::Interactive);
    EXPECT_EQ(window.settings.AutosaveDelay, 0);
    EXPECT_EQ(window.autosaveTimer->interval(), 60000);
    EXPECT_TRUE(window.autosaveTimer->isActive());
}

TEST_F(MainWindowGuiTest, GridKeysStayInRangeAndSkipTextFields) {
    cMainWindow window(WindowMode::Interactive);
    auto* field = new QLineEdit(&window);
    auto* plain = new QWidget(&window);
    plain->setFocusPolicy(Qt::StrongFocus);
    window.show();
    QApplication::setActiveWindow(&window);
    plain->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), plain);

    struct Case {
        int32_t grid;
        int key;
        int32_t expected;
    } cases[] = {{32, '+', 64}, {512, '+', 512}, {32, '-', 16}, {1, '-', 1}, {3, '-', 1}};
    for (const Case& c : cases) {
        window.settings.CurrentGridSize = c.grid;
        key(plain, c.key);
        EXPECT_EQ(window.settings.CurrentGridSize, c.expected) << c.grid << " " << char(c.key);
    }
    // Typed into a text field, "-" and "w" are text.
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field);
    window.settings.CurrentGridSize = 32;
    key(field, '-');
    key(field, Qt::Key_W);
    EXPECT_EQ(window.settings.CurrentGridSize, 32);
    EXPECT_EQ(window.heldKeys, 0u);
    window.close();
}

TEST_F(MainWindowGuiTest, HeldKeysClearOnReleaseAndDeactivation) {
    cMainWindow window(WindowMode::Interactive);
    auto* plain = new QWidget(&window);
    plain->setFocusPolicy(Qt::StrongFocus);
    window.show();
    QApplication::setActiveWindow(&window);
    plain->setFocus();
    QApplication::processEvents();
    key(plain, Qt::Key_W);
    key(plain, Qt::Key_Space);
    EXPECT_EQ(window.heldKeys, HeldKey::W | HeldKey::Space);
    key(plain, Qt::Key_Space, QEvent::KeyRelease);
    EXPECT_EQ(window.heldKeys, HeldKey::W);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_EQ(window.heldKeys, 0u);
    const std::pair<int, int> codes[] = {{Qt::Key_Space, 0}, {Qt::Key_Down, 4}, {Qt::Key_W, 5}, {1062, 5},
                                         {Qt::Key_C, 9},     {1057, 9},         {Qt::Key_X, -1}};
    for (const auto& [code, move] : codes)
        EXPECT_EQ(App_KeyToMoveCode(code), move) << code;
    window.close();
}

TEST_F(MainWindowGuiTest, DialogParentIsAStayOnTopWindowCoveringTheMiddle) {
    cMainWindow window(WindowMode::Interactive);
    window.setGeometry(100, 100, 600, 400);
    window.show();
    EXPECT_EQ(App_DialogParent(&window), &window);
    QDialog onTop(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    const QPoint middle = window.mapToGlobal(window.rect().center());
    onTop.setGeometry(middle.x() - 100, middle.y() - 100, 200, 200);
    onTop.show();
    QApplication::processEvents();
    if (QApplication::topLevelAt(middle) != &onTop)
        GTEST_SKIP() << "the window manager placed the dialog elsewhere";
    EXPECT_EQ(App_DialogParent(&window), &onTop);
    window.close();
}

TEST_F(MainWindowGuiTest, CancelledSavePromptKeepsTheWindowAndWritesNothing) {
    writeFile("base/KDKGameCfg.ini", "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n");
    cConsoleCapture console;
    cMainWindow window(WindowMode::Interactive);
    window.show();
    MapDocument* document = window.openFile(kSampleMap);
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(window.mdiArea->subWindowList().size(), 1);
    EXPECT_EQ(window.recentFiles.value(0), QFileInfo(kSampleMap).absoluteFilePath());
    Project_SetModified(document);
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::Cancel);
        EXPECT_FALSE(window.close());
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_TRUE(prompts.asked[0].text.startsWith("Save changes to"));
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.documents.size(), 1);
    EXPECT_FALSE(QFile::exists(folder.filePath("config/zarv/KDKSettings.ini")));
    document->modified = false;
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.documents.isEmpty());
    EXPECT_TRUE(QFile::exists(folder.filePath("config/zarv/KDKSettings.ini")));
}

TEST_F(MainWindowGuiTest, NoGameConfigurationOpensNothing) {
    cConsoleCapture console;
    cPromptScript prompts;
    cMainWindow window(WindowMode::Interactive);
    window.show();
    EXPECT_EQ(window.openFile(kSampleMap), nullptr);
    ASSERT_FALSE(prompts.asked.isEmpty());
    EXPECT_TRUE(prompts.asked[0].text.startsWith("No game configurations are available"))
        << prompts.asked[0].text.toStdString();
    EXPECT_TRUE(window.documents.isEmpty());
    EXPECT_TRUE(window.mdiArea->subWindowList().isEmpty());
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowGuiTest, TheProgramOpensTheSampleAndExitsCleanly) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", folder.filePath("config"));
    env.insert("ZARV_EXIT_AFTER_FIRST_FRAME", folder.filePath("shot.png"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZARV_BIN_DIR "/zarv"), {kSampleMap});
    ASSERT_TRUE(program.waitForFinished(120000));
    const QByteArray out = program.readAllStandardOutput();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().right(3000).constData();
    EXPECT_TRUE(out.contains("first frame: ")) << out.constData();
    EXPECT_FALSE(QImage(folder.filePath("shot.png")).isNull());
    QSettings settings(folder.filePath("config/zarv/KDKSettings.ini"), QSettings::IniFormat);
    EXPECT_EQ(settings.value("RecentFiles/RecentFile1").toString(), QFileInfo(kSampleMap).absoluteFilePath());
    EXPECT_TRUE(QFile::exists(folder.filePath("config/zarv/KDKGameCfg.ini")));
}

TEST_F(MainWindowGuiTest, ClosingTheLastMapWindowUnchecksTheViewModes) {
    writeFile("base/KDKGameCfg.ini", "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n");
    cConsoleCapture console;
    cMainWindow window(WindowMode::Interactive);
    // The window's own view-mode actions, their context-menu copies included.
    const QStringList names = {"View2DXY", "View2DYZ", "View2DXZ", "View3DW",
                               "View3DF",  "View3DT",  "View3DST"};
    QList<QAction*> modes;
    for (QAction* action : window.actionList)
        if (names.contains(action->objectName()) && action->isCheckable()) modes.append(action);
    ASSERT_GE(modes.size(), names.size());
    ASSERT_EQ(modes[0]->objectName(), QLatin1String("View2DXY"));
    window.show();
    MapDocument* document = window.openFile(kSampleMap);
    ASSERT_NE(document, nullptr);
    cChildWindow* child = window.activeChildWindow();
    ASSERT_NE(child, nullptr);
    auto viewOf = [&](int type) -> cCanvas* {
        for (cCanvas* view : child->views)
            if (view->viewType == type) return view;
        return nullptr;
    };
    ASSERT_NE(viewOf(ViewType::Top), nullptr);
    window.setActiveCanvas(viewOf(ViewType::Camera));
    window.setActiveCanvas(viewOf(ViewType::Top));
    EXPECT_TRUE(modes[0]->isChecked());
    for (QAction* action : modes)
        action->setChecked(true);
    window.mdiArea->activeSubWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_TRUE(window.documents.isEmpty());
    EXPECT_EQ(window.focusView, nullptr);
    for (QAction* action : modes)
        EXPECT_FALSE(action->isChecked()) << action->objectName().toStdString();
    EXPECT_EQ(App_GetActiveMap(), nullptr);
    EXPECT_TRUE(window.close());
}
