#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QTextEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QUrl>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapSelection.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/MapObject.h"
#include "map/ObjectRecords.h"
#include "tools/AbstractTool.h"
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
    QAction* action(const char* name) const {
        for (QAction* a : window->actionList)
            if (a->objectName() == QLatin1String(name)) return a;
        ADD_FAILURE() << name;
        return nullptr;
    }
    void trigger(const char* name) {
        if (QAction* a = action(name)) a->trigger();
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
    QAction* merge = action("ToolsVertexCM");
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
    // No manual: only a console warning.
    QFile::remove(base + "/KDKManual.pdf");
    cConsoleCapture console;
    App_SetUrlOpener(recordUrl);
    trigger("HelpTopics");
    App_SetUrlOpener(nullptr);
    EXPECT_EQ(g_openedUrls.size(), 1);
    EXPECT_EQ(console.lines.filter("doesn't exist").size(), 1);
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
