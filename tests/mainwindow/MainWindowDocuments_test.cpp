#include <gtest/gtest.h>

#include <QTabWidget>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSet>
#include <QSettings>
#include <QTest>
#include <functional>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "document/Clipboard.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/WorldDump.h"
#include "gamedata/ModelCache.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "mainwindow/MapWindowFit.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

class MainWindowDocumentsTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
        QDir().mkpath(path("maps"));
        QFile::copy(kSampleMap, path("maps/sample.map"));
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }
    void makeWindow(const QByteArray& settings = QByteArray()) {
        if (!settings.isEmpty()) writeFile("config/zarv/KDKSettings.ini", settings);
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
    }
    // What the New command does: a new map with its windows.
    MapDocument* newMap() {
        // No default room dialog: the tests here are about the windows.
        window->settings.SkipDefaultRoomDialog = true;
        auto* document = new MapDocument;
        Project_Construct(document);
        if (!Project_New(document)) {
            Project_Destroy(document);
            delete document;
            return nullptr;
        }
        window->openDocumentWindows(document);
        window->documents.append(document);
        return document;
    }
    // A project file saved from the sample map.
    QString makeZmf() {
        MapDocument document;
        Project_Construct(&document);
        EXPECT_TRUE(Project_Load(&document, path("maps/sample.map"), nullptr));
        EXPECT_TRUE(Project_Save(&document, path("maps/copy.zmf"), false, true));
        Project_Destroy(&document);
        return path("maps/copy.zmf");
    }
    static QStringList windowMenuEntries(cMainWindow& w) {
        QStringList list;
        for (QMenu* menu : w.menus) {
            const QList<QAction*> actions = menu->actions();
            const qsizetype at = actions.indexOf(w.windowListSeparator);
            if (at < 0) continue;
            emit menu->aboutToShow();
            for (QAction* action : menu->actions().mid(at + 1))
                list << action->text();
        }
        return list;
    }
    static void settle() {
        for (int i = 0; i < 10; ++i)
            QApplication::processEvents();
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
};

} // namespace

TEST_F(MainWindowDocumentsTest, SeveralDocumentsEachInItsWindowClosingOneLeavesTheOthers) {
    makeWindow();
    MapDocument* fresh = newMap();
    ASSERT_NE(fresh, nullptr);
    MapDocument* project = window->openFile(makeZmf());
    ASSERT_NE(project, nullptr);
    MapDocument* imported = window->openFile(path("maps/sample.map"));
    ASSERT_NE(imported, nullptr);
    settle();
    ASSERT_EQ(window->documents.size(), 3);
    for (MapDocument* document : {fresh, project, imported}) {
        ASSERT_EQ(document->windows.size(), 1);
        EXPECT_EQ(document->windows[0]->views.size(), 4);
    }
    EXPECT_EQ(window->mdiArea->subWindowList().size(), 3);
    EXPECT_EQ(windowMenuEntries(*window).size(), 3);

    // Copy from the project, then close it without saving.
    Map_SelectAll(project->world, false);
    Clip_Copy(&window->clipboard, &project->world->handle, false);
    const QByteArray freshDump = Map_DumpWorld(fresh->world);
    const QByteArray importedDump = Map_DumpWorld(imported->world);
    Project_SetModified(project);
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::No);
        EXPECT_TRUE(window->closeDocument(project));
        EXPECT_EQ(prompts.asked.size(), 1);
    }
    settle();
    EXPECT_EQ(window->documents, (QList<MapDocument*>{fresh, imported}));
    EXPECT_EQ(window->mdiArea->subWindowList().size(), 2);
    EXPECT_EQ(windowMenuEntries(*window).size(), 2);
    EXPECT_EQ(Map_DumpWorld(fresh->world), freshDump);
    EXPECT_EQ(Map_DumpWorld(imported->world), importedDump);
    EXPECT_EQ(window->clipboard.source, nullptr);
    // The copied objects still paste into another map.
    EXPECT_TRUE(Clip_Paste(&window->clipboard, &fresh->world->handle, 1, nullptr, nullptr, nullptr, true,
                           false, false, "Paste"));
    EXPECT_NE(Map_DumpWorld(fresh->world), freshDump);
}

TEST_F(MainWindowDocumentsTest, AnOpenFileIsRaisedThroughAnyOfItsNames) {
    makeWindow();
    MapDocument* document = window->openFile(path("maps/sample.map"));
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(QFile::link(path("maps/sample.map"), path("link.map")));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(path("maps"));
    for (const QString& name :
         {QStringLiteral("./sample.map"), QStringLiteral("sample.map"), path("maps//sample.map"),
          path("link.map"), path("maps/../maps/sample.map")}) {
        SCOPED_TRACE(name.toStdString());
        console.clear();
        EXPECT_EQ(window->openFile(name), document);
        EXPECT_EQ(window->documents.size(), 1);
        EXPECT_TRUE(console.contains(name + " is already opened"));
    }
    QDir::setCurrent(previous);
    // One recent entry for them all.
    EXPECT_EQ(window->recentFiles.size(), 1);
}

TEST_F(MainWindowDocumentsTest, MultiOpenSkipsABadFileAndSharesOneConfiguration) {
    makeWindow();
    writeFile("maps/bad.zmf", "not a project");
    const QString zmf = makeZmf();
    console.clear();
    EXPECT_EQ(window->openFiles({path("maps/sample.map"), path("maps/bad.zmf"), zmf}), 2);
    ASSERT_EQ(window->documents.size(), 2);
    EXPECT_EQ(window->documents[0]->gameConfig, window->documents[1]->gameConfig);
    EXPECT_TRUE(console.contains("2 projects loaded"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    // A failed single open leaves no wait cursor either, and no document.
    EXPECT_EQ(window->openFile(path("maps/bad.zmf")), nullptr);
    EXPECT_EQ(window->openFile(path("maps/missing.zmf")), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window->documents.size(), 2);
}

TEST_F(MainWindowDocumentsTest, IndependentWindowModes) {
    {
        makeWindow("IndependentWindows=true\nCreateDefaultWindows=false\n");
        QList<int> kinds;
        for (int i = 0; i < 4; ++i) {
            MapDocument* document = newMap();
            ASSERT_NE(document, nullptr);
            ASSERT_EQ(document->windows.size(), 1);
            ASSERT_EQ(document->windows[0]->views.size(), 1);
            kinds << document->windows[0]->views[0]->viewType;
        }
        // The counter lives for the run: the kinds go round from wherever it stands.
        for (int i = 1; i < 4; ++i)
            EXPECT_EQ(kinds[i], kinds[i - 1] % 3 + 1);
        EXPECT_GE(kinds[0], 1);
        window.reset();
    }
    makeWindow("IndependentWindows=true\nCreateDefaultWindows=true\n");
    MapDocument* document = newMap();
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->windows.size(), 4);
    QList<int> kinds;
    for (cChildWindow* child : document->windows) {
        ASSERT_EQ(child->views.size(), 1);
        kinds << child->views[0]->viewType;
        EXPECT_FALSE(child->parentWidget()->isMaximized());
    }
    EXPECT_EQ(kinds, (QList<int>{0, 1, 2, 3}));
}

TEST_F(MainWindowDocumentsTest, RecentFilesMenuShowsEightAndTheFileKeepsEight) {
    makeWindow();
    QStringList paths;
    for (int i = 0; i < 10; ++i) {
        const QString name = QStringLiteral("maps/r%1.map").arg(i);
        writeFile(name, "x");
        paths.prepend(path(name));
        window->addRecentFile(path(name));
    }
    EXPECT_EQ(window->recentFiles, paths);
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(window->recentFileActions[i], nullptr);
        EXPECT_TRUE(window->recentFileActions[i]->isVisible());
        EXPECT_EQ(window->recentFileActions[i]->text(), QStringLiteral("&%1 r%2.map").arg(i + 1).arg(9 - i));
    }
    EXPECT_TRUE(window->recentFilesSeparator->isVisible());
    ASSERT_TRUE(window->writeSettings());
    QSettings file(path("config/zarv/KDKSettings.ini"), QSettings::IniFormat);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(file.value(QStringLiteral("RecentFiles/RecentFile%1").arg(i)).toString(), paths[i - 1])
            << i;
    EXPECT_FALSE(file.contains(QStringLiteral("RecentFiles/RecentFile9")));

    // Missing files drop out at the next rebuild.
    QFile::remove(path("maps/r9.map"));
    window->updateRecentFilesMenu();
    EXPECT_EQ(window->recentFiles.size(), 9);
    EXPECT_EQ(window->recentFileActions[0]->text(), QStringLiteral("&1 r8.map"));
}

// A start without a map shows the files the settings remember in the File menu at once.
TEST_F(MainWindowDocumentsTest, RecentFilesFromTheSettingsShowAtStartUp) {
    writeFile("maps/older.map", "x");
    makeWindow(QStringLiteral("[RecentFiles]\nRecentFile1=%1\nRecentFile2=%2\n")
                   .arg(path("maps/sample.map"), path("maps/older.map"))
                   .toUtf8());
    QMenu* file = nullptr;
    for (QMenu* menu : window->menus)
        if (menu->objectName() == QLatin1String("&File")) file = menu;
    ASSERT_NE(file, nullptr);
    emit file->aboutToShow();
    QStringList shown;
    for (QAction* action : file->actions())
        if (action->isVisible() && action->text().startsWith(QLatin1Char('&')) &&
            action->text().endsWith(".map"))
            shown << action->text();
    EXPECT_EQ(shown, (QStringList{"&1 sample.map", "&2 older.map"}));
    EXPECT_TRUE(window->recentFilesSeparator->isVisible());
}

// "\" is an ordinary file-name character: "a\b.map" and "a/b.map" are two files and two entries,
// while two spellings of one file make one. A menu entry opens its file.
TEST_F(MainWindowDocumentsTest, RecentFilesAreTheFilesTheyNameAndOpenFromTheMenu) {
    makeWindow();
    writeFile("maps/a\\b.map", "x");
    writeFile("maps/a/b.map", "x");
    window->addRecentFile(path("maps/a\\b.map"));
    window->addRecentFile(path("maps/a/b.map"));
    EXPECT_EQ(window->recentFiles, (QStringList{path("maps/a/b.map"), path("maps/a\\b.map")}));
    EXPECT_EQ(window->recentFileActions[1]->text(), QStringLiteral("&2 a\\b.map"));
    window->addRecentFile(path("maps/a/../a\\b.map"));
    EXPECT_EQ(window->recentFiles, (QStringList{path("maps/a\\b.map"), path("maps/a/b.map")}));

    window->addRecentFile(path("maps/sample.map"));
    window->recentFileActions[0]->trigger();
    ASSERT_EQ(window->documents.size(), 1);
    ASSERT_NE(window->activeChildWindow(), nullptr);
    EXPECT_EQ(window->activeChildWindow()->document, window->documents[0]);
    EXPECT_EQ(window->findDocument(path("maps/sample.map")), window->documents[0]);
    EXPECT_TRUE(window->texturesDock.names->isEnabled());
    EXPECT_EQ(window->recentFiles.size(), 3);
}

TEST_F(MainWindowDocumentsTest, TwentyDocumentsOpenAndCloseWithoutLeaks) {
    makeWindow();
    const auto cacheSize = [this] { return window->models.models.size() + window->models.sprites.size(); };
    const qsizetype cacheAtStart = cacheSize();
    for (int i = 0; i < 10; ++i) {
        MapDocument* fresh = newMap();
        ASSERT_NE(fresh, nullptr);
        MapDocument* loaded = window->openFile(path("maps/sample.map"));
        ASSERT_NE(loaded, nullptr);
        settle();
        fresh->saveAsked = true;
        EXPECT_TRUE(window->closeDocument(fresh));
        // The window's own close button.
        loaded->saveAsked = true;
        window->mdiArea->subWindowList().first()->close();
        settle();
        EXPECT_TRUE(window->documents.isEmpty());
    }
    EXPECT_EQ(cacheSize(), cacheAtStart);
    // Every effect and image the maps took was given back (LeakSanitizer checks the rest at exit).
    testing::internal::CaptureStderr();
    window.reset();
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("Texture manager: no memory leaks detected"), std::string::npos) << output;
}

TEST_F(MainWindowDocumentsTest, SaveQuestionAndMissingConfigurationsReachTheWindow) {
    makeWindow();
    MapDocument* document = window->openFile(makeZmf());
    ASSERT_NE(document, nullptr);
    window->addRecentFile(path("maps/sample.map"));
    Project_SetModified(document);
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::Yes);
        EXPECT_TRUE(window->closeDocument(document));
    }
    // The file saved through the close question is the newest recent file again.
    ASSERT_FALSE(window->recentFiles.isEmpty());
    EXPECT_EQ(window->recentFiles.first(), path("maps/copy.zmf"));

    // Yes to setting up configurations opens the preferences on their configuration page.
    window->gameConfigs.configs.first()->Enabled = false;
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Yes);
    QString page;
    cDialogAnswer answer(
        [&](QDialog* dialog) {
            if (auto* tabs = dialog->findChild<QTabWidget*>(QStringLiteral("tabWidget")))
                page = tabs->tabText(tabs->currentIndex());
        },
        false);
    EXPECT_EQ(window->openFile(path("maps/sample.map")), nullptr);
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(page, QStringLiteral("Game &Profiles"));
    window->gameConfigs.configs.first()->Enabled = true;
}

TEST_F(MainWindowDocumentsTest, AnotherOpenedMapKeepsEveryWindowMaximisedAndFullSized) {
    makeWindow();
    window->resize(1000, 760);
    QWidget* area = window->mdiArea->viewport();
    // A new map, an imported map and a project file after a first imported map.
    const std::function<MapDocument*()> seconds[] = {
        [&] { return newMap(); },
        [&] { return window->openFile(makeZmf()); },
        [&] { return window->openFile(path("maps/other.map")); },
    };
    QFile::copy(kSampleMap, path("maps/other.map"));
    ASSERT_NE(window->openFile(path("maps/sample.map")), nullptr);
    settle();
    for (const auto& second : seconds) {
        ASSERT_NE(second(), nullptr);
        // The test programs share one display: another program's window may hold the activation,
        // and the area names no active frame while the main window is not the active one.
        QApplication::setActiveWindow(window.get());
        settle();
        const QList<QMdiSubWindow*> frames = window->mdiArea->subWindowList();
        QMdiSubWindow* active = window->mdiArea->currentSubWindow();
        ASSERT_NE(active, nullptr);
        EXPECT_TRUE(active->isMaximized());
        EXPECT_GE(active->width(), area->width() - 2);
        EXPECT_GE(active->height(), area->height() - 2);
        // The views inside follow the frame's size.
        for (cCanvas* view : qobject_cast<cChildWindow*>(active->widget())->views)
            EXPECT_GT(view->viewWidth, 200);
        // Each earlier window comes back maximised when chosen again.
        for (QMdiSubWindow* frame : frames) {
            window->mdiArea->setActiveSubWindow(frame);
            settle();
            EXPECT_TRUE(frame->isMaximized());
            EXPECT_GE(frame->width(), area->width() - 2);
        }
        window->mdiArea->setActiveSubWindow(active);
    }
}

TEST_F(MainWindowDocumentsTest, AMapOpenedBesideANormalWindowTakesItsSize) {
    makeWindow();
    window->resize(1000, 760);
    ASSERT_NE(window->openFile(path("maps/sample.map")), nullptr);
    settle();
    QMdiSubWindow* first = window->mdiArea->currentSubWindow();
    first->showNormal();
    first->setGeometry(10, 10, 500, 400);
    settle();
    ASSERT_NE(window->openFile(makeZmf()), nullptr);
    settle();
    QMdiSubWindow* second = window->mdiArea->currentSubWindow();
    ASSERT_NE(second, first);
    EXPECT_FALSE(second->isMaximized());
    EXPECT_EQ(second->size(), QSize(500, 400));
}

TEST_F(MainWindowDocumentsTest, TheCameraViewShowsTheStartCameraOnceTheMapIsOpen) {
    makeWindow();
    window->resize(1000, 760);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    MapDocument* document = window->openFile(path("maps/sample.map"));
    ASSERT_NE(document, nullptr);
    ASSERT_EQ(document->windows.size(), 1);
    cCanvas* camera = nullptr;
    for (cCanvas* view : document->windows[0]->views)
        if (view->is3D()) camera = view;
    ASSERT_NE(camera, nullptr);
    // Only the fly-camera timer draws the view unasked: with it stopped, a new frame shows only
    // when one is asked for.
    document->windows[0]->setFrameTimersRunning(false);
    settle();
    // At start-up the view draws with its own camera (the console's lines repaint it) before the
    // window, once it has its size, fits its views to the map and places the camera.
    const float start[3] = {-16.0f, 0.0f, 64.0f};
    std::copy(start, start + 3, camera->eye);
    camera->cameraMoved = true;
    camera->repaint();
    ASSERT_TRUE(camera->hasFrame());
    MapWindow_FitToWorld(document->windows[0], document->world);
    settle();

    // What the view shows against the same camera drawn afresh.
    const QImage shown = camera->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = camera->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), fresh.size());
    ASSERT_EQ(shown.size(), camera->size());
    const int w = shown.width(), h = shown.height();
    int64_t differing = 0;
    QSet<QRgb> rightHalf;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb a = shown.pixel(x, y), b = fresh.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b)) >
                24)
                ++differing;
            if (x >= w / 2) rightHalf.insert(a);
        }
    EXPECT_LT(differing, w * h / 100) << differing << " of " << w * h << " pixels differ";
    // The hall fills the whole view: its right half is no flat area.
    EXPECT_GT(rightHalf.size(), 16);
}
