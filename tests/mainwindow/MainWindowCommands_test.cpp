#include <gtest/gtest.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QThread>
#include <QUrl>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "document/CompilerOverlays.h"
#include "gamedata/GameConfig.h"
#include "gamedata/ModelCache.h"
#include "map/MapEntity.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapSelection.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/MapObject.h"
#include "map/ObjectRecords.h"
#include "views/AbstractTool.h"
#include "tools/ToolSet.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// The program's window on the sample map, its top view taking input.
class MainWindowCommandsTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        document = window->openFile(kSampleMap);
        ASSERT_NE(document, nullptr);
        for (cCanvas* view : window->activeChildWindow()->views)
            if (view->viewType == ViewType::Top) window->setActiveCanvas(view);
        window->lastInputCanvas = window->focusView;
    }
    void TearDown() override {
        if (window) {
            for (MapDocument* d : window->documents)
                d->modified = false;
            window->close();
            window.reset();
        }
        cWindowFixture::TearDown();
    }
    void trigger(const char* name) {
        if (QAction* a = Window_Action(*window, name)) a->trigger();
    }
    QStringList undoNames() const {
        QStringList names;
        for (const UndoLevel* level = document->undo->undoChain; level; level = level->next)
            names.append(QString::fromLatin1(level->name));
        return names;
    }
    QByteArray dump() const { return Map_DumpWorld(document->world); }
    // The first line where two dumps differ; empty when they are equal.
    static std::string firstDifference(const QByteArray& a, const QByteArray& b) {
        const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
        for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i)
            if (la.value(i) != lb.value(i)) return (la.value(i) + " | " + lb.value(i)).toStdString();
        return std::string();
    }
    // The action states follow the selection as after a click.
    void selectAll() {
        Map_SelectAll(document->world, false);
        window->notifySelectionChanged();
    }

    std::unique_ptr<cMainWindow> window;
    MapDocument* document = nullptr;
};

} // namespace

TEST_F(MainWindowCommandsTest, GridStaysWithinOneTo512) {
    struct Case {
        int from;
        const char* command;
        int to;
    };
    for (const Case& c : {Case{1, "MapGrid-", 1}, Case{3, "MapGrid-", 1}, Case{32, "MapGrid-", 16},
                          Case{512, "MapGrid+", 512}, Case{384, "MapGrid+", 512}, Case{16, "MapGrid+", 32}}) {
        window->settings.CurrentGridSize = c.from;
        trigger(c.command);
        EXPECT_EQ(window->settings.CurrentGridSize, c.to) << c.from << " " << c.command;
    }
}

TEST_F(MainWindowCommandsTest, RotateClockwiseThenBackLeavesTwoLevelsAndUndoRestores) {
    selectAll();
    const QByteArray before = dump();
    const int levels = undoNames().size();
    trigger("ToolsRotC");
    const QByteArray turned = dump();
    EXPECT_NE(turned, before);
    trigger("ToolsRotA");
    // Entities that had no angles now say "0 0 0": the same direction.
    QByteArray back = dump();
    back.replace("  key \"angles\" \"0 0 0\"\n", "");
    EXPECT_EQ(firstDifference(back, before), "");
    const QStringList names = undoNames();
    ASSERT_EQ(names.size(), levels + 2);
    EXPECT_EQ(names[0], "Rotate Selection");
    EXPECT_EQ(names[1], "Rotate Selection");
    trigger("EditUndo");
    EXPECT_EQ(dump(), turned);
    trigger("EditUndo");
    EXPECT_EQ(dump(), before);
}

TEST_F(MainWindowCommandsTest, NothingSelectedMakesNoLevel) {
    Map_SelectNone(document->world);
    window->notifySelectionChanged();
    const int levels = undoNames().size();
    for (const char* name : {"ToolsRotC", "ToolsAlignL", "ToolsFlipH", "ToolsSnapSel"})
        trigger(name);
    EXPECT_EQ(undoNames().size(), levels);
}

TEST_F(MainWindowCommandsTest, UndoWithNothingToUndoLeavesTheMapUnmodified) {
    Undo_Reset(document->undo);
    document->modified = false;
    trigger("EditUndo");
    trigger("EditRedo");
    EXPECT_FALSE(document->modified);
}

TEST_F(MainWindowCommandsTest, MorphQuestionAnsweredNoChangesNothing) {
    selectAll();
    window->toolVertexManipulation();
    ASSERT_EQ(Tool_Id(window->activeTool), ToolId::Vertex);
    const QByteArray before = dump();
    const int levels = undoNames().size();
    cPromptScript prompts;
    prompts.answerButton(PromptButton::No);
    trigger("ToolsRotC");
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].text.startsWith("You must exit morph mode"));
    EXPECT_EQ(Tool_Id(window->activeTool), ToolId::Vertex);
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(undoNames().size(), levels);
}

TEST_F(MainWindowCommandsTest, ToolSwitches) {
    // The clip tool again keeps it; magnify over the vertex tool keeps that one underneath until
    // the next switch.
    window->toolClipper();
    window->toolClipper();
    EXPECT_EQ(Tool_Id(window->activeTool), ToolId::Clip);
    window->toolVertexManipulation();
    window->toolMagnify();
    EXPECT_EQ(Tool_Id(window->activeTool), ToolId::Magnify);
    EXPECT_EQ(Tool_Id(window->secondaryTool), ToolId::Vertex);
    window->toolBrush();
    EXPECT_EQ(Tool_Id(window->activeTool), ToolId::Brush);
    EXPECT_EQ(window->secondaryTool, nullptr);
    // Texture application on and off: the selection tool with nothing selected.
    selectAll();
    window->toolTextureApplication();
    EXPECT_EQ(Tool_Id(window->activeTool), ToolId::Texture);
    window->toolTextureApplication();
    EXPECT_EQ(Tool_Id(window->activeTool), ToolId::Selection);
    EXPECT_EQ(document->world->selectedBrushes, nullptr);
    EXPECT_EQ(document->world->selectedEntities, nullptr);
}

TEST_F(MainWindowCommandsTest, CoplanarMergeIsCheckedWhenMergingIsOn) {
    QAction* merge = Window_Action(*window, "ToolsVertexCM");
    ASSERT_NE(merge, nullptr);
    EXPECT_EQ(merge->isChecked(), window->settings.VertexToolCoplanarMerge);
    merge->trigger();
    EXPECT_EQ(merge->isChecked(), window->settings.VertexToolCoplanarMerge);
    merge->trigger();
    EXPECT_EQ(merge->isChecked(), window->settings.VertexToolCoplanarMerge);
}

TEST_F(MainWindowCommandsTest, IncrementalNames) {
    const QString dir = path("maps");
    QDir().mkpath(dir);
    QDir().mkpath(path("x_v.1"));
    struct Case {
        const char* file;
        const char* next;
    };
    for (const Case& c : {Case{"maps/x_v.zmf", "maps/x_v01.zmf"}, Case{"maps/x.zmf", "maps/x_v01.zmf"},
                          Case{"maps/x_v7.zmf", "maps/x_v08.zmf"}, Case{"maps/m_v09.zmf", "maps/m_v10.zmf"},
                          Case{"maps/m_v99.zmf", "maps/m_v100.zmf"}, Case{"x_v.1/y.zmf", "x_v.1/y_v01.zmf"}})
        EXPECT_EQ(File_IncrementalName(path(c.file)), path(c.next)) << c.file;
    // A sequence started before is never overwritten.
    writeFile("maps/map_v03_v01.zmf", "kept");
    EXPECT_EQ(File_NewSequenceName(path("maps/map_v03.zmf")), path("maps/map_v03_v02.zmf"));
}

TEST_F(MainWindowCommandsTest, IncrementalSaveWritesTheNextVersion) {
    const QString first = path("inc_v01.zmf");
    window->documents.first()->filePath.clear();
    {
        cPromptScript prompts;
        prompts.answerText(first);
        trigger("FileSaveAs");
    }
    ASSERT_TRUE(QFile::exists(first));
    EXPECT_EQ(document->filePath, first);
    trigger("FileSaveIncr");
    EXPECT_TRUE(QFile::exists(path("inc_v02.zmf")));
    EXPECT_EQ(document->filePath, path("inc_v02.zmf"));
}

namespace {
QList<QUrl> g_openedUrls;
bool recordUrl(const QUrl& url) {
    g_openedUrls.append(url);
    return true;
}
} // namespace

TEST_F(MainWindowCommandsTest, HelpTopicsOpensTheManualAsAFileUrl) {
    // A base folder whose name has a space, "#" and "%".
    const QString base = path("odd #1 %20 dir");
    QDir().mkpath(base);
    QFile manual(base + "/KDKManual.pdf");
    ASSERT_TRUE(manual.open(QIODevice::WriteOnly));
    manual.close();
    App_SetBaseDirectory(base);
    g_openedUrls.clear();
    App_SetUrlOpener(recordUrl);
    trigger("HelpTopics");
    App_SetUrlOpener(nullptr);
    ASSERT_EQ(g_openedUrls.size(), 1);
    EXPECT_TRUE(g_openedUrls[0].isLocalFile());
    EXPECT_EQ(g_openedUrls[0].toLocalFile(), base + "/KDKManual.pdf");
    // The manual is there but nothing can show it: the user learns that no viewer is installed and
    // where the manual is, not that the file could not be opened.
    {
        cConsoleCapture console;
        cPromptScript prompts;
        App_SetUrlOpener([](const QUrl&) { return false; });
        trigger("HelpTopics");
        App_SetUrlOpener(nullptr);
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_TRUE(prompts.asked[0].text.contains("No PDF viewer is installed"))
            << prompts.asked[0].text.toStdString();
        EXPECT_TRUE(prompts.asked[0].text.contains(QDir::toNativeSeparators(base + "/KDKManual.pdf")));
        EXPECT_EQ(console.lines.filter("no PDF viewer").size(), 1);
        EXPECT_TRUE(console.lines.filter("could not open").isEmpty());
    }
    // No manual: only a console warning.
    QFile::remove(base + "/KDKManual.pdf");
    cConsoleCapture console;
    App_SetUrlOpener(recordUrl);
    trigger("HelpTopics");
    App_SetUrlOpener(nullptr);
    EXPECT_EQ(g_openedUrls.size(), 1);
    EXPECT_EQ(console.lines.filter("doesn't exist").size(), 1);
}

// Stands in for the desktop's document opener while it exists.
class cFileUrlCapture : public QObject {
    Q_OBJECT
public:
    cFileUrlCapture() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~cFileUrlCapture() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST_F(MainWindowCommandsTest, HelpTopicsAsksTheDesktopToOpenTheBuiltManual) {
    // The build renders the manual beside the program.
    const QString manual = QStringLiteral(ZARV_BIN_DIR "/KDKManual.pdf");
    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << manual.toStdString();
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_GT(file.size(), 100000) << "the manual has its pictures";
    App_SetBaseDirectory(QStringLiteral(ZARV_BIN_DIR));
    cFileUrlCapture desktop;
    trigger("HelpTopics");
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(QFileInfo(desktop.opened[0].toLocalFile()).canonicalFilePath(),
              QFileInfo(manual).canonicalFilePath());
}

TEST_F(MainWindowCommandsTest, ExportMessagesWritesCrLfAndReportsAFailedWrite) {
    auto* dock = window->findChild<QDockWidget*>(QStringLiteral("console"));
    ASSERT_NE(dock, nullptr);
    auto* edit = dock->findChild<QTextEdit*>();
    if (!edit) {
        edit = new QTextEdit;
        dock->setWidget(edit);
    }
    // An empty console asks nothing.
    edit->clear();
    {
        cPromptScript prompts;
        trigger("WindowMsgExp");
        EXPECT_TRUE(prompts.asked.isEmpty());
    }
    edit->setPlainText(QStringLiteral("first line\nsecond line"));
    {
        cPromptScript prompts;
        prompts.answerText(path("log"));
        trigger("WindowMsgExp");
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].filter, "Text files (*.txt)");
    }
    const QByteArray written = readFile("log.txt");
    EXPECT_TRUE(written.contains("first line\r\nsecond line")) << written.toStdString();
    EXPECT_FALSE(written.contains("line\nsecond"));
    {
        cPromptScript prompts;
        prompts.answerText(path("no such folder/log.txt"));
        trigger("WindowMsgExp");
        ASSERT_EQ(prompts.asked.size(), 2);
        EXPECT_TRUE(prompts.asked[1].text.startsWith("Failed to write: "))
            << prompts.asked[1].text.toStdString();
    }
}

TEST_F(MainWindowCommandsTest, IndependentNewWindowsCycleThroughThreeLayouts) {
    window->settings.IndependentWindows = true;
    QList<int> types;
    for (int i = 0; i < 4; ++i) {
        window->mdiArea->setActiveSubWindow(window->mdiArea->subWindowList().first());
        trigger("WindowNew");
        auto* child = qobject_cast<cChildWindow*>(window->mdiArea->subWindowList().last()->widget());
        ASSERT_NE(child, nullptr);
        ASSERT_EQ(child->views.size(), 1);
        types.append(child->views[0]->viewType);
    }
    EXPECT_EQ(types, QList<int>({1, 2, 3, 1}));
}

TEST_F(MainWindowCommandsTest, UnavailableCommandNamesItselfWithoutAmpersands) {
    QAction labelled(QStringLiteral("Create Pre&fab"));
    QObject::connect(&labelled, SIGNAL(triggered()), window.get(), SLOT(msgFeatureUnderDevelopment()));
    QAction blank;
    QObject::connect(&blank, SIGNAL(triggered()), window.get(), SLOT(msgFeatureUnderDevelopment()));
    cPromptScript prompts;
    labelled.trigger();
    blank.trigger();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].text.contains("\"Create Prefab\"")) << prompts.asked[0].text.toStdString();
    EXPECT_FALSE(prompts.asked[0].text.contains('&'));
}

TEST_F(MainWindowCommandsTest, HideAndShowCountWhatTheyReveal) {
    MapWorld* world = document->world;
    int entities = 0;
    for (EntityRecord* e = world->entities->next; e; e = e->next)
        ++entities;
    int brushes = 0;
    for (EntityRecord* e = world->entities; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            ++brushes;
    ASSERT_GT(brushes, 1);
    selectAll();
    trigger("ViewHideSel");
    EXPECT_EQ(world->selectedBrushes, nullptr);
    EXPECT_EQ(world->selectedEntities, nullptr);
    EXPECT_FALSE(world->entities->flags & RecordFlag::Hidden); // the world entity stays
    cConsoleCapture console;
    {
        cPromptScript prompts;
        trigger("ViewShowHidden");
        EXPECT_TRUE(prompts.asked.isEmpty());
    }
    // Every hidden brush comes back and is counted.
    ASSERT_EQ(console.lines.size(), 1);
    EXPECT_TRUE(console.lines[0].contains(QStringLiteral(" brushes and 0 groups)")))
        << console.lines[0].toStdString();
    EXPECT_TRUE(console.lines[0].contains(QStringLiteral("object(s) revealed (%1 entities").arg(entities)))
        << console.lines[0].toStdString();
    int shown = 0;
    for (EntityRecord* e = world->entities; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            shown += !(b->flags & RecordFlag::Hidden);
    EXPECT_EQ(shown, brushes);
    console.clear();
    cPromptScript prompts;
    trigger("ViewShowHidden");
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, "There are no hidden objects.");
    EXPECT_TRUE(console.lines.isEmpty());
}

// A map that was never saved and whose Save As is cancelled has no name to export under.
TEST_F(MainWindowCommandsTest, RunOfAnUnsavedMapWithSaveAsCancelledWritesNothing) {
    document->filePath.clear();
    document->exportPath.clear();
    const QStringList before = QDir(folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    const int beeps = Prompt_BeepCount();
    cConsoleCapture console;
    cPromptScript prompts; // Save As: cancelled
    window->cmdFileRun();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].kind, PromptKind::SaveFileName);
    EXPECT_EQ(Prompt_BeepCount(), beeps + 1);
    EXPECT_EQ(console.lines.filter("can't compile, map was not exported!").size(), 1);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(document->exportPath.isEmpty());
}

TEST_F(MainWindowCommandsTest, OpenOffersEveryImportFormatAndKeepsTheChosenFilter) {
    QDir().mkpath(path("maps"));
    ASSERT_TRUE(Project_Save(document, path("maps/a.zmf"), false, true));
    QFile::copy(kSampleMap, path("maps/b.map"));
    // Every readable kind first; the dialog starts beside the active map.
    QString expected = QStringLiteral("Z.A.R.V. Projects (*.zmf)");
    QStringList patterns{QStringLiteral("*.zmf")};
    for (const MapFormatEntry& format : window->plugins.importFormats) {
        expected += QStringLiteral(";;%1 (*%2)").arg(format.name, format.extension);
        if (!patterns.contains("*" + format.extension)) patterns.append("*" + format.extension);
    }
    ASSERT_TRUE(patterns.contains("*.map"));
    const QString all = QStringLiteral("All supported formats (%1)").arg(patterns.join(' '));
    expected = all + ";;" + expected;
    window->settings.RecentOpenFilter = all;
    window->gameConfigs.current->MapSourceFileDirectory = path("maps");
    const int open = window->documents.size();
    {
        cPromptScript prompts; // cancelled
        trigger("FileOpen");
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].kind, PromptKind::OpenFileNames);
        EXPECT_EQ(prompts.asked[0].filter, expected);
        EXPECT_EQ(prompts.asked[0].selectedFilter, all);
        EXPECT_EQ(prompts.asked[0].directory, QFileInfo(kSampleMap).absolutePath());
    }
    EXPECT_EQ(window->documents.size(), open);
    EXPECT_EQ(window->settings.RecentOpenFilter, all);
    const QString project = "Z.A.R.V. Projects (*.zmf)";
    {
        cPromptScript prompts;
        prompts.answerText(path("maps/a.zmf") + "\n" + path("maps/b.map"));
        prompts.answerFilter(project);
        trigger("FileOpen");
    }
    ASSERT_EQ(window->documents.size(), open + 2);
    EXPECT_EQ(window->documents[open]->filePath, path("maps/a.zmf"));
    EXPECT_EQ(window->documents[open + 1]->filePath, path("maps/b.map"));
    EXPECT_EQ(Map_DumpWorld(window->documents[open]->world), Map_DumpWorld(document->world));
    EXPECT_EQ(window->settings.RecentOpenFilter, project);
    EXPECT_EQ(window->settings.RecentMapDirectory, QFileInfo(path("maps")).canonicalFilePath());
}

TEST_F(MainWindowCommandsTest, OverlaysComeFromTheCompileFolder) {
    window->gameConfigs.current->MapSourceFileDirectory = path("maps");
    MapWorld* world = document->world;
    // Both pointfiles: the ".lin" is offered.
    writeFile("maps/sample.lin", "0 0 0\n64 0 0\n64 64 0\n");
    writeFile("maps/sample.pts", "0 0 0\n64 0 0\n");
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::Yes);
        trigger("MapLoadPTS");
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].text, "Load default pointfile?\n(" + path("maps/sample.lin") + ")");
    }
    EXPECT_EQ(Map_PointfileCount(world), 3);
    // An empty ".lin" is no default; No to the ".pts" opens the dialog there.
    writeFile("maps/sample.lin", "");
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::No);
        prompts.answerText(path("maps/sample.pts"));
        trigger("MapLoadPTS");
        ASSERT_EQ(prompts.asked.size(), 2);
        EXPECT_TRUE(prompts.asked[0].text.contains("sample.pts"));
        EXPECT_EQ(prompts.asked[1].kind, PromptKind::OpenFileName);
        EXPECT_EQ(prompts.asked[1].directory, path("maps/sample.pts"));
        EXPECT_EQ(prompts.asked[1].filter, "Pointfiles (*.lin *.pts)");
    }
    EXPECT_EQ(Map_PointfileCount(world), 2);
    // A portal file under another suffix is refused as format 0.
    writeFile("maps/leak.txt", "PRT1\n2\n1\n4 0 1 (0 0 0 ) (0 64 0 ) (0 64 64 ) (0 0 64 )\n");
    cConsoleCapture console;
    {
        cPromptScript prompts; // no default: straight to the dialog
        prompts.answerText(path("maps/leak.txt"));
        trigger("MapLoadPortal");
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].directory, path("maps/sample.prt"));
        EXPECT_EQ(prompts.asked[0].filter, "Portal files (*.prt)");
    }
    EXPECT_TRUE(console.contains("unknown portal file format (0)"));
    EXPECT_EQ(Map_Portals(world), nullptr);
    QFile::copy(path("maps/leak.txt"), path("maps/sample.prt"));
    {
        cPromptScript prompts;
        prompts.answerButton(PromptButton::Yes);
        trigger("MapLoadPortal");
    }
    EXPECT_NE(Map_Portals(world), nullptr);
    // Hull files: no question, the dialog starts at the ".p0" name.
    {
        cPromptScript prompts;
        trigger("MapLoadHull");
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].directory, path("maps/sample.p0"));
        EXPECT_EQ(prompts.asked[0].filter, "Hull files (*.p0 *.p1 *.p2 *.p3)");
    }
}

TEST_F(MainWindowCommandsTest, ViewModelPassesAnyModelPathAsOneArgument) {
    // The viewer: a script that writes each argument on a line.
    const QString out = path("args.txt");
    writeFile("viewer.sh", ("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > \"" + out + ".part\"\nmv \"" +
                            out + ".part\" \"" + out + "\"\n")
                               .toUtf8());
    QFile::setPermissions(path("viewer.sh"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    window->gameConfigs.current->ModelViewer = path("viewer.sh") + " -skin 1";
    MapWorld* world = document->world;
    EntityRecord* entity = world->entities->next;
    while (entity && entity->firstBrush)
        entity = entity->next;
    ASSERT_NE(entity, nullptr);
    // Each name reaches the viewer whole: no quoting, splitting or shell in between.
    for (const char* name :
         {"my models/box #1.md3", "in\"j\" \"-bogus\".md3", "it's $HOME; `x`.md3", "models/-skin 2.md3"}) {
        SCOPED_TRACE(name);
        const QString model = path(name);
        writeFile(name, "not a model");
        QFile::remove(out);
        // An entry the cache holds under its full path, unloaded: the viewer reads the file itself.
        auto* attached = static_cast<EntityModel*>(Sys_Alloc(sizeof(EntityModel)));
        attached->entry = Model_AcquireModel(&window->models, model, nullptr);
        entity->handle->releaseModel();
        entity->model = attached;
        entity->modelKind = EntityModelKind::Model;
        Map_SelectNone(world);
        Map_SelectObject(world, entity);
        window->notifySelectionChanged();
        cConsoleCapture console;
        window->cmdViewOpenModel();
        EXPECT_TRUE(console.contains("Viewing: \"" + model + "\"")) << console.lines.join('\n').toStdString();
        for (int i = 0; i < 500 && !QFile::exists(out); ++i)
            QThread::msleep(10);
        EXPECT_EQ(readFile("args.txt"), ("-skin\n1\n" + model + "\n").toUtf8());
    }
    cConsoleCapture console;
    // Two entities: the head of the selection has no model of its own to show.
    EntityRecord* other = entity->next;
    while (other && other->firstBrush)
        other = other->next;
    ASSERT_NE(other, nullptr);
    Map_SelectObject(world, other);
    console.clear();
    window->cmdViewOpenModel();
    EXPECT_TRUE(console.contains(QStringLiteral("%1 doesn't have a model attached").arg(other->classname)))
        << console.lines.join('\n').toStdString();
}

#include "MainWindowCommands_test.moc"
