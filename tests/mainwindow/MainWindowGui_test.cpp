#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSplashScreen>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include "DialogAnswer.h"
#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "dialogs/application/RunMapDialog.h"
#include "dialogs/application/RunMapOutput.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "mainwindow/MapWindowFit.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/ZmfFile.h"
#include "gamedata/PluginManager.h"
#include "dialogs/application/UpdateCheck.h"
#include "mainwindow/MainWindow.h"
#include "views/GLView.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/ColorScheme.h"
#include "views/ViewState.h"

namespace {

// The program's window with its settings folder and base directory in temporary folders.
class MainWindowGuiTest : public cWindowFixture {
protected:
    void key(QWidget* to, int code, QEvent::Type type = QEvent::KeyPress) {
        QKeyEvent event(type, code, Qt::NoModifier, code < 0x100 ? QString(QChar(code)) : QString());
        QApplication::sendEvent(to, &event);
    }
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
    writeQuake3Config();
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
    EXPECT_FALSE(View_Suspended()); // the views draw again
    EXPECT_EQ(window.documents.size(), 1);
    EXPECT_FALSE(QFile::exists(folder.filePath("config/zarv/KDKSettings.ini")));
    document->modified = false;
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(window.documents.isEmpty());
    EXPECT_TRUE(QFile::exists(folder.filePath("config/zarv/KDKSettings.ini")));
}

// Leaving asks about every changed map before any closes: a Cancel keeps them all, and the next
// close asks about each again. Once answered, the maps go without the next one being made current.
TEST_F(MainWindowGuiTest, LeavingAsksEveryQuestionBeforeAnyMapCloses) {
    writeQuake3Config();
    cConsoleCapture console;
    const QString second = folder.filePath("second.map");
    ASSERT_TRUE(QFile::copy(kSampleMap, second));
    cMainWindow window(WindowMode::Interactive);
    window.show();
    MapDocument* first = window.openFile(kSampleMap);
    MapDocument* other = window.openFile(second);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(other, nullptr);
    Project_SetModified(first);
    Project_SetModified(other);
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::No);
        prompts.answerButton(PromptButton::Cancel);
        EXPECT_FALSE(window.close());
        EXPECT_EQ(prompts.asked.size(), 2);
    }
    EXPECT_EQ(window.documents.size(), 2);
    EXPECT_EQ(window.mdiArea->subWindowList().size(), 2);
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::No);
        prompts.answerButton(PromptButton::No);
        EXPECT_TRUE(window.close());
        EXPECT_EQ(prompts.asked.size(), 2);
    }
    EXPECT_TRUE(window.documents.isEmpty());
    EXPECT_FALSE(window.leaving);
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

// The configuration text the manual prints, written by hand into a fresh settings folder (its
// game folder the sample game's, its entity definitions the sources'): the configuration is read,
// the map named on the command line opens, and the file still holds the configuration after exit.
TEST_F(MainWindowGuiTest, TheManualsConfigurationTextOpensTheMapOnTheCommandLine) {
    const QString root = QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../.."));
    QFile manual(root + "/docs/manual/KDKManual.md");
    ASSERT_TRUE(manual.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = manual.readAll().split('\n');
    QByteArray text;
    bool inPassage = false;
    for (const QByteArray& line : lines) {
        inPassage = inPassage || line.contains("`~/.config/zarv/KDKGameCfg.ini` while the program is");
        if (!inPassage) continue;
        if (line.startsWith("    "))
            text += line.mid(4) + '\n';
        else if (!text.isEmpty())
            break;
    }
    ASSERT_TRUE(text.contains("Title=OpenArena")) << text.constData();
    text.replace("/usr/share/games/openarena/baseoa", ZARV_BIN_DIR "/sample/baseq3");
    text.replace("/path/to/zarv", root.toUtf8());
    writeFile("config/zarv/KDKGameCfg.ini", text);

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", folder.filePath("config"));
    env.insert("ZARV_EXIT_AFTER_FIRST_FRAME", folder.filePath("shot.png"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZARV_BIN_DIR "/zarv"), {kSampleMap});
    ASSERT_TRUE(program.waitForFinished(120000));
    const QByteArray out = program.readAllStandardOutput();
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().right(3000).constData();
    EXPECT_TRUE(out.contains("first frame: ")) << out.constData();
    EXPECT_FALSE(out.contains("not read")) << out.constData();
    const QByteArray after = readFile("config/zarv/KDKGameCfg.ini");
    EXPECT_TRUE(after.contains("[Config0]\nTitle=OpenArena\nEnabled=true\n")) << after.constData();
}

TEST_F(MainWindowGuiTest, ClosingTheLastMapWindowUnchecksTheViewModes) {
    writeQuake3Config();
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
    window.mdiArea->currentSubWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
    EXPECT_TRUE(window.documents.isEmpty());
    EXPECT_EQ(window.focusView, nullptr);
    for (QAction* action : modes)
        EXPECT_FALSE(action->isChecked()) << action->objectName().toStdString();
    EXPECT_EQ(App_GetActiveMap(), nullptr);
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowGuiTest, ConstructionAnnouncesItselfAndOwnsItsDialogs) {
    cConsoleCapture console;
    cMainWindow window(WindowMode::Interactive);
    EXPECT_EQ(window.objectName(), QStringLiteral("KDK_MainWindow"));
    EXPECT_TRUE(console.lines.join("\n").contains("Z.A.R.V. initialized (PE x64 build "));
    EXPECT_EQ(window.splashMessage, QStringLiteral("Checking for updates..."));
    // No update server: no dialog at start-up even though the check is on by default.
    EXPECT_TRUE(window.settings.AutoUpdateCheck);
    EXPECT_EQ(Update_CheckForNewVersion(window.settings.Server), QString());
    EXPECT_EQ(window.objectPropertiesDialog->parentWidget(), nullptr);
    const QWidget* owned[] = {window.runMapDialog,         window.runMapOutput,
                              window.textureBrowserDialog, window.textureReplaceDialog,
                              window.shaderEditDialog,     window.scaleVertexDialog};
    for (const QWidget* dialog : owned) {
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->parentWidget(), &window) << dialog->objectName().toStdString();
    }
    EXPECT_EQ(window.cursors.magnify.hotSpot(), QPoint(9, 9));
    {
        // The options dialog opens on the page asked for and goes with its answer.
        int page = -1;
        cDialogAnswer answer(
            [&](QDialog* d) {
                page = d->findChild<QTabWidget*>(QStringLiteral("tabWidget"))->currentIndex();
            },
            false);
        window.execPreferences(0);
        EXPECT_TRUE(answer.answered);
        EXPECT_EQ(page, 0);
    }
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowGuiTest, FloatingDialogsHideWhileTheApplicationIsInactive) {
    cMainWindow window(WindowMode::Interactive);
    window.entityListDialog = new cEntityListDialog(&window);
    window.objectPropertiesDialog->show();
    window.scaleVertexDialog->show();
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QEvent activate(QEvent::ApplicationActivate);
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_FALSE(window.objectPropertiesDialog->isVisible());
    EXPECT_FALSE(window.scaleVertexDialog->isVisible());
    EXPECT_EQ(window.hiddenDialogs, HiddenDialog::ObjectProperties | HiddenDialog::ScaleVertices);
    QApplication::sendEvent(qApp, &activate);
    EXPECT_TRUE(window.objectPropertiesDialog->isVisible());
    EXPECT_TRUE(window.scaleVertexDialog->isVisible());
    EXPECT_FALSE(window.entityListDialog->isVisible());
    EXPECT_EQ(window.hiddenDialogs, 0u);

    // Right after the properties dialog closed itself: nothing hides, and the flag is used up.
    window.skipNextActivation = true;
    window.heldKeys = HeldKey::W;
    QApplication::sendEvent(qApp, &deactivate);
    EXPECT_TRUE(window.objectPropertiesDialog->isVisible());
    EXPECT_EQ(window.heldKeys, 0u);
    QApplication::sendEvent(qApp, &activate);
    EXPECT_FALSE(window.skipNextActivation);
    window.close();
}

TEST_F(MainWindowGuiTest, WindowKeysOpenPropertiesAndChooseTextureModes) {
    cMainWindow window(WindowMode::Interactive);
    auto press = [&](int code, Qt::KeyboardModifiers modifiers) {
        QKeyEvent event(QEvent::KeyPress, code, modifiers);
        event.ignore();
        QApplication::sendEvent(&window, &event);
        return event.isAccepted();
    };
    EXPECT_TRUE(press(Qt::Key_Return, Qt::AltModifier));
    EXPECT_TRUE(window.objectPropertiesDialog->isVisible());
    window.objectPropertiesDialog->hide();
    EXPECT_FALSE(press(Qt::Key_Return, Qt::AltModifier | Qt::ShiftModifier));
    EXPECT_FALSE(window.objectPropertiesDialog->isVisible());

    // The texture-application modes while the face dialog is up.
    EXPECT_FALSE(press(Qt::Key_F3, Qt::ShiftModifier));
    window.faceDialog.show();
    const std::tuple<int, Qt::KeyboardModifiers, bool, int32_t> cases[] = {
        {Qt::Key_F3, Qt::ShiftModifier, true, 2},
        {Qt::Key_F9, Qt::ShiftModifier, true, 6},
        {Qt::Key_F7, Qt::ShiftModifier, true, 6},
        {Qt::Key_F1, Qt::NoModifier, false, 6},
        {Qt::Key_F10, Qt::ShiftModifier, false, 6}};
    for (const auto& [code, modifiers, taken, mode] : cases) {
        EXPECT_EQ(press(code, modifiers), taken) << code;
        EXPECT_EQ(window.faceDialog.mode(), mode) << code;
    }
    // Without a NULL texture Shift+F8 is used up and changes nothing.
    EXPECT_FALSE(window.faceDialog.nullModesAvailable());
    EXPECT_TRUE(press(Qt::Key_F8, Qt::ShiftModifier));
    EXPECT_EQ(window.faceDialog.mode(), 6);
    window.faceDialog.hide();
    window.close();
}

TEST_F(MainWindowGuiTest, TheFourViewsMatchMapshotsPictures) {
    const QString mapshot = QCoreApplication::applicationDirPath() + QStringLiteral("/mapshot");
    if (!QFileInfo::exists(mapshot)) GTEST_SKIP() << "mapshot is not built";
    writeQuake3Config();
    // mapshot draws in the default colours, whatever scheme an earlier test left behind.
    Color_ResetTables();
    cConsoleCapture console;
    cMainWindow window(WindowMode::Interactive);
    window.settings.EnableScrollbars = false;
    window.settings.EnergySavingMode = true;
    // The Textures dock's preview of the map's (missing) trigger texture would upload the shared
    // "notexture" image, which the 3D view then draws on every face whose texture is missing;
    // mapshot has no such preview.
    window.texturesDock.dock->findChild<cGLView*>()->hide();
    window.show();
    MapDocument* document = window.openFile(kSampleMap);
    ASSERT_NE(document, nullptr);
    cChildWindow* child = window.activeChildWindow();
    ASSERT_NE(child, nullptr);
    QApplication::processEvents();
    // An even size for every view: the sub-window grows by what the views lack.
    const int w = 320, h = 240;
    QMdiSubWindow* sub = window.mdiArea->currentSubWindow();
    sub->showNormal();
    for (int round = 0; round < 6; ++round) {
        QApplication::processEvents();
        const int dw = w - child->views[0]->width(), dh = h - child->views[0]->height();
        if (!dw && !dh) break;
        sub->resize(sub->width() + 2 * dw, sub->height() + 2 * dh);
        child->updateSplitterSizes();
    }
    for (cCanvas* view : child->views)
        ASSERT_EQ(view->size(), QSize(w, h)) << view->viewType;
    MapWindow_FitToWorld(child, document->world);

    // mapshot draws the same world from the editor's own file (it reads no game configurations).
    const QString copy = folder.filePath("sample.zmf");
    ASSERT_TRUE(Project_WriteWorld(document->world, copy));
    QProcess program;
    program.start(mapshot, {QStringLiteral("--size"), QStringLiteral("%1x%2").arg(w).arg(h),
                            QStringLiteral("--frames"), QStringLiteral("0"), copy, folder.filePath("shot")});
    ASSERT_TRUE(program.waitForFinished(120000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().right(2000).constData();

    const std::pair<int, const char*> shots[] = {
        {ViewType::Top, "xy"}, {ViewType::Side, "xz"}, {ViewType::Front, "yz"}, {ViewType::Camera, "3d"}};
    for (const auto& [type, name] : shots) {
        cCanvas* view = nullptr;
        for (cCanvas* v : child->views)
            if (v->viewType == type) view = v;
        ASSERT_NE(view, nullptr) << name;
        const QImage mine = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        const QImage theirs = QImage(folder.filePath(QStringLiteral("shot-%1.png").arg(QLatin1String(name))))
                                  .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(mine.size(), theirs.size()) << name;
        int64_t differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QRgb a = mine.pixel(x, y), b = theirs.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                        std::abs(qBlue(a) - qBlue(b)) >
                    24)
                    ++differing;
            }
        // A few pixels may differ (the focus view's highlight); the drawing itself must not.
        EXPECT_LT(differing, w * h / 100) << name << ": " << differing << " pixels differ";
    }
    document->modified = false;
    EXPECT_TRUE(window.close());
}
