// The commands as the user runs them: a small fixture map in the program's window, the
// answers scripted, the real action triggered. The world must then equal a twin of the fixture
// to which the same document operation was applied, the undo level must bear the command's
// name (none where the command refuses), and Undo must give the world before.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDoubleSpinBox>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRegularExpression>
#include <cmath>
#include <cstring>
#include <functional>
#include <vector>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "ToolDriver.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapTransform.h"
#include "document/PatchMatrix.h"
#include "document/MapWorld.h"
#include "dialogs/application/RandomPatchDialog.h"
#include "document/Clipboard.h"
#include "document/CarveMerge.h"
#include "document/Grouping.h"
#include "document/HollowClip.h"
#include "document/SelectionOperations.h"
#include "document/SelectionFaces.h"
#include "document/UndoHistory.h"
#include "document/UniqueName.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/ObjectRecords.h"
#include "views/Canvas.h"
#include "tools/VertexTool.h"
#include "views/ChildWindow.h"

namespace {

QByteArray box(int x0, int y0, int z0, int x1, int y1, int z1) {
    const char* tex = "gothic_block/blocks11b 0 0 0 0.5 0.5 0 0 0\n";
    auto p = [](int x, int y, int z) { return QStringLiteral("( %1 %2 %3 ) ").arg(x).arg(y).arg(z); };
    QString s = "{\n";
    s += p(x0, y0, z1) + p(x0, y0, z0) + p(x0, y1, z0) + tex;
    s += p(x1, y1, z0) + p(x1, y0, z0) + p(x1, y0, z1) + tex;
    s += p(x1, y0, z0) + p(x0, y0, z0) + p(x0, y0, z1) + tex;
    s += p(x0, y1, z1) + p(x0, y1, z0) + p(x1, y1, z0) + tex;
    s += p(x0, y1, z0) + p(x0, y0, z0) + p(x1, y0, z0) + tex;
    s += p(x1, y0, z1) + p(x0, y0, z1) + p(x0, y1, z1) + tex;
    return (s + "}\n").toUtf8();
}

// A 3 x 3 patch with a raised middle.
const char* const kPatch = "{\npatchDef2\n{\ncommon/caulk\n( 3 3 0 0 0 )\n(\n"
                           "( ( 400 0 0 0 0 ) ( 400 32 0 0 0.5 ) ( 400 64 0 0 1 ) )\n"
                           "( ( 432 0 0 0.5 0 ) ( 432 32 16 0.5 0.5 ) ( 432 64 0 0.5 1 ) )\n"
                           "( ( 464 0 0 1 0 ) ( 464 32 0 1 0.5 ) ( 464 64 0 1 1 ) )\n)\n}\n}\n";

// Three world brushes (the third off the grid) and a patch, a door, a player start and a light.
QByteArray fixtureMap() {
    return "{\n\"classname\" \"worldspawn\"\n" + box(0, 0, 0, 64, 64, 64) + box(128, 0, 0, 192, 64, 64) +
           box(259, 3, 0, 323, 67, 64) + kPatch + "}\n{\n\"classname\" \"func_door\"\n" +
           box(0, 256, 0, 64, 320, 64) +
           "}\n{\n\"classname\" \"info_player_deathmatch\"\n\"origin\" \"32 -128 24\"\n}\n"
           "{\n\"classname\" \"light\"\n\"origin\" \"160 -128 64\"\n}\n";
}

// Selects the world entity's solid brushes by index, its patches, then entities by class name, in
// the order given (the selected-entities list keeps the newest first).
struct Picks {
    std::vector<int> brushes;
    std::vector<const char*> classes;
    bool patches = false;
};

void select(MapWorld* world, const Picks& picks) {
    Map_SelectNone(world);
    std::vector<BrushRecord*> solids;
    for (BrushRecord* b = world->entities->firstBrush; b; b = b->next)
        if (!b->patch)
            solids.push_back(b);
        else if (picks.patches)
            Map_SelectObject(world, b);
    for (int index : picks.brushes) {
        ASSERT_LT(size_t(index), solids.size()) << index;
        Map_SelectObject(world, solids[size_t(index)]);
    }
    for (const char* name : picks.classes) {
        EntityRecord* e = world->entities;
        while (e && !(e->classname && std::strcmp(e->classname, name) == 0))
            e = e->next;
        ASSERT_NE(e, nullptr) << name;
        Map_SelectObject(world, e);
    }
}

// The selection moved along x by a Transform, in the window's map and in its twin alike.
void moveSelection(MapWorld* world, float dx) {
    float matrix[16] = {1, 0, 0, dx, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ASSERT_TRUE(Map_TransformSelectionCommand(world, matrix, false));
}

MapWorld* windowWorld(cMainWindow* w) {
    return w->activeChildWindow()->document->world;
}

EntityRecord* entityOf(MapWorld* world, const char* className) {
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (e->classname && std::strcmp(e->classname, className) == 0) return e;
    return nullptr;
}

void besides(cMainWindow* w) {
    moveSelection(windowWorld(w), -64);
}

constexpr uint32_t kDetail = 0x08000000;

struct Twin {
    MapWorld* world;
    const cCanvas* camera; // the window's camera view
};

struct CommandCase {
    const char* title;
    const char* action;
    Picks picks;
    std::vector<int32_t> buttons;
    std::vector<int32_t> integers;
    std::function<void(cMainWindow*)> setUp; // null: the top view takes input
    int repeat;                              // triggers
    std::function<void(const Twin&)> twin;   // the document operation; null: the world stays
    const char* level;                       // the new undo level; null: none
    const char* refusal;                     // a box or console line that says why; null: none
    int questions;                           // boxes and requests asked
    // Set where the action is disabled in the case's state: the trigger does nothing, and the
    // slot called as a view's key would call it still refuses.
    const char* slot = nullptr;
    std::function<void(cMainWindow*)> prepare = nullptr; // after the picks
    std::function<void(cMainWindow*)> arm = nullptr;     // just before the trigger
    std::function<void(cMainWindow*)> finish = nullptr;  // after the trigger
    std::function<void(QDialog*)> dialog = nullptr;      // fills the command's dialog, then OK
};

// The camera view takes input.
void useCamera(cMainWindow* w) {
    cCanvas* view = Project_FindCanvas(w->activeChildWindow()->document, -1);
    w->setActiveCanvas(view);
    w->lastInputCanvas = view;
}

// New brushes and groups get colours picked at random.
QByteArray withoutColours(const QByteArray& dump) {
    static const QRegularExpression colour(QStringLiteral(" color [0-9]+,[0-9]+,[0-9]+,[0-9]+"));
    return QString::fromUtf8(dump).remove(colour).toUtf8();
}

// Vertices picked by the vertex tool carry flags: the tool's state, not the map's.
QByteArray withoutPicks(const QByteArray& dump) {
    static const QRegularExpression picked(QStringLiteral(" flags [0-9]+ \\)"));
    return QString::fromUtf8(dump).replace(picked, QStringLiteral(" )")).toUtf8();
}

class CommandCasesTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
        writeFile("maps/fixture.map", fixtureMap());
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        window->settings.CurrentGridSize = 16;
        {
            // A project file keeps the brushes' colours, which a ".map" read picks at random.
            cPromptScript prompts;
            prompts.answerChoice(0);
            MapDocument source;
            Project_Construct(&source);
            ASSERT_TRUE(Project_Load(&source, path("maps/fixture.map"), nullptr));
            ASSERT_TRUE(Project_Save(&source, path("maps/fixture.zmf"), false, true));
            Project_Destroy(&source);
        }
        document = window->openFile(path("maps/fixture.zmf"));
        ASSERT_NE(document, nullptr);
        for (cCanvas* view : window->activeChildWindow()->views) {
            if (view->viewType == ViewType::Top) top = view;
            if (view->viewType == ViewType::Camera) camera = view;
        }
        ASSERT_TRUE(top && camera);
        // A known camera, looking along y from a point off the axes.
        const float eye[3] = {40, -300, 70};
        window->activeChildWindow()->setCameraOrigin(eye);
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
    QStringList undoNames() const {
        QStringList names;
        for (const UndoLevel* level = document->undo->undoChain; level; level = level->next)
            names.append(QString::fromLatin1(level->name));
        return names;
    }
    static std::string firstDifference(const QByteArray& a, const QByteArray& b) {
        const QList<QByteArray> la = a.split('\n'), lb = b.split('\n');
        for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i)
            if (la.value(i) != lb.value(i)) return (la.value(i) + " | " + lb.value(i)).toStdString();
        return std::string();
    }

    void run(const CommandCase& c) {
        SCOPED_TRACE(c.title);
        // A fresh document per case.
        if (window->documents.size() > 0) {
            document->modified = false;
            window->closeDocument(document);
        }
        window->settings.IgnoreGroups = false;
        document = window->openFile(path("maps/fixture.zmf"));
        ASSERT_NE(document, nullptr);
        QMdiSubWindow* sub = window->mdiArea->currentSubWindow();
        // The twin is opened in a map window as the document is, so both worlds have the same
        // history of updates.
        QFile::remove(path("maps/twin.zmf"));
        ASSERT_TRUE(QFile::copy(path("maps/fixture.zmf"), path("maps/twin.zmf")));
        MapDocument* twin = window->openFile(path("maps/twin.zmf"));
        ASSERT_NE(twin, nullptr);
        struct Close {
            cMainWindow* window;
            MapDocument* document;
            ~Close() {
                document->modified = false;
                window->closeDocument(document);
            }
        } closeTwin{window.get(), twin};
        window->mdiArea->setActiveSubWindow(sub);
        ASSERT_EQ(window->activeChildWindow()->document, document);
        for (cCanvas* view : window->activeChildWindow()->views) {
            if (view->viewType == ViewType::Top) top = view;
            if (view->viewType == ViewType::Camera) camera = view;
        }
        const float eye[3] = {40, -300, 70};
        window->activeChildWindow()->setCameraOrigin(eye);
        window->setActiveCanvas(top);
        window->lastInputCanvas = top;
        if (c.setUp) c.setUp(window.get());
        select(document->world, c.picks);
        window->notifySelectionChanged();

        select(twin->world, c.picks);
        ASSERT_EQ(firstDifference(Map_DumpWorld(twin->world), Map_DumpWorld(document->world)), "");
        if (c.prepare) c.prepare(window.get());
        if (c.twin) c.twin({twin->world, camera});

        const QByteArray before = Map_DumpWorld(document->world, WorldDumpFlag::NoSelection);
        const QStringList levels = undoNames();
        cConsoleCapture console;
        if (c.arm) c.arm(window.get());
        {
            std::unique_ptr<cDialogAnswer> answer;
            if (c.dialog) answer = std::make_unique<cDialogAnswer>(c.dialog);
            cPromptScript prompts;
            for (int32_t b : c.buttons)
                prompts.answerButton(b);
            for (int32_t n : c.integers)
                prompts.answerInteger(n);
            QAction* a = Window_Action(*window, c.action);
            ASSERT_NE(a, nullptr);
            EXPECT_EQ(a->isEnabled(), c.slot == nullptr);
            for (int i = 0; i < std::max(1, c.repeat); ++i)
                a->trigger();
            if (c.slot) QMetaObject::invokeMethod(window.get(), c.slot);
            if (c.finish) c.finish(window.get());
            if (answer) EXPECT_TRUE(answer->answered);
            EXPECT_EQ(prompts.asked.size(), c.questions);
            if (c.refusal) {
                bool said = console.contains(QString::fromUtf8(c.refusal));
                for (const PromptRequest& r : prompts.asked)
                    said = said || r.text == QString::fromUtf8(c.refusal);
                EXPECT_TRUE(said) << c.refusal;
            }
        }
        EXPECT_EQ(firstDifference(withoutPicks(withoutColours(Map_DumpWorld(document->world))),
                                  withoutColours(Map_DumpWorld(twin->world))),
                  "");
        const QStringList after = undoNames();
        if (c.level) {
            ASSERT_EQ(after.size(), levels.size() + 1);
            EXPECT_EQ(after.first(), QString::fromUtf8(c.level));
            Window_Action(*window, "EditUndo")->trigger();
        } else {
            EXPECT_EQ(after, levels);
        }
        EXPECT_EQ(firstDifference(withoutPicks(Map_DumpWorld(document->world, WorldDumpFlag::NoSelection)),
                                  withoutPicks(before)),
                  "");
    }

    // The mouse over a world point of the view, as a real move brings it.
    static void moveMouse(cCanvas* view, const float point[3]) {
        float screen[3];
        ASSERT_TRUE(view->worldToScreen(point, screen));
        const QPointF at(std::round(screen[0]), std::round(screen[1]));
        QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
    }
    // Edit > Copy of the picks, then nothing selected.
    void copyAndDeselect() {
        Window_Action(*window, "EditCopy")->trigger();
        Window_Action(*window, "EditSelNone")->trigger();
    }
    // The twin's picks copied into a clipboard of its own and pasted with their centre at the point.
    void pasteOnTwin(MapWorld* world, const float point[3]) const {
        Clipboard clipboard;
        Clip_Copy(&clipboard, Map_Handle(world), false);
        Map_SelectNone(world);
        Clip_Paste(&clipboard, Map_Handle(world), 1, point, nullptr, nullptr, true, false,
                   window->settings.KeepInternalConnections, "Paste");
        Clip_Clear(&clipboard);
    }

    std::unique_ptr<cMainWindow> window;
    MapDocument* document = nullptr;
    cCanvas* top = nullptr;
    cCanvas* camera = nullptr;
};

} // namespace

TEST_F(CommandCasesTest, ToolsCommands) {
    const int yes = PromptButton::Yes, no = PromptButton::No;
    const CommandCase cases[] = {
        {"rotation in the camera view turns about z",
         "ToolsRotC",
         {{0, 1}, {}},
         {},
         {},
         useCamera,
         1,
         [](const Twin& t) { Map_RotateSelectionCommand(t.world, 2, 90); },
         "Rotate Selection",
         nullptr,
         0},
        {"hollow of two brushes answered No",
         "ToolsHollow",
         {{0, 1}, {}},
         {no},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         nullptr,
         1},
        {"hollow with walls of 0 is refused",
         "ToolsHollow",
         {{0}, {}},
         {},
         {0},
         nullptr,
         1,
         nullptr,
         nullptr,
         "The width of the walls must be non-zero.",
         2},
        {"group in ignore mode is refused",
         "ToolsGroup",
         {{0, 1}, {}},
         {},
         {},
         [](cMainWindow* w) { Window_Action(*w, "ToolsIG")->trigger(); },
         1,
         nullptr,
         nullptr,
         "cannot group objects in group ignore mode",
         0,
         "cmdToolsGroup"},
        {"make detail",
         "ToolsMakeDetail",
         {{0, 2}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_SetDetailCommand(t.world, kDetail, true); },
         "Make Detail",
         nullptr,
         0},
        {"make detail twice opens one level",
         "ToolsMakeDetail",
         {{0, 2}, {}},
         {},
         {},
         nullptr,
         2,
         [](const Twin& t) { Map_SetDetailCommand(t.world, kDetail, true); },
         "Make Detail",
         nullptr,
         0},
        {"make structural of structural brushes does nothing",
         "ToolsMakeStruct",
         {{0}, {}},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         nullptr,
         0},
        {"make detail without a brush",
         "ToolsMakeDetail",
         {{}, {"light"}},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         "There are no eligible selected objects.",
         1},
        {"connect the player start to the light",
         "ToolsEntConn",
         {{}, {"info_player_deathmatch", "light"}},
         {yes},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_ConnectSelectedEntitiesCommand(t.world); },
         "Connect Entities",
         "Connect light to info_player_deathmatch?",
         1},
        {"connect answered No",
         "ToolsEntConn",
         {{}, {"info_player_deathmatch", "light"}},
         {no},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         nullptr,
         1},
        {"connect needs two entities",
         "ToolsEntConn",
         {{}, {"light"}},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         "You must have exactly two entities selected!\nPlease select source entity first, and then its "
         "target.",
         1,
         "cmdToolsConnectEntities"},
        {"align to view on the known camera",
         "ToolsTexA2View",
         {{0, 1}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_AlignToViewCommand(t.world, t.camera->eye, t.camera->right, t.camera->up); },
         "Align to View",
         nullptr,
         0},
        {"transpose a patch with a brush selected",
         "CurveMatTrans",
         {{0}, {}, true},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) {
             const PatchRandomParams none;
             Map_PatchMatrixMenuCommand(t.world, PatchMatrix::Transpose, &none);
         },
         "Transpose Matrix",
         nullptr,
         0},
        {"transpose without a patch",
         "CurveMatTrans",
         {{0}, {}},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         "There are no eligible selected patches.",
         1},
        {"snap the off-grid brush",
         "ToolsSnapSel",
         {{2}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_SnapToGridCommand(t.world, false); },
         "Snap to Grid",
         nullptr,
         0},
    };
    for (const CommandCase& c : cases)
        run(c);
}

// The menu entries of the document's editing commands: the map after the action equals the twin
// after the document command, the level bears the command's name and a refusal says why.
TEST_F(CommandCasesTest, DocumentCommands) {
    // Brush 1 moved onto brush 0 (overlapping, or set against it).
    auto overlap = [](cMainWindow* w) { moveSelection(windowWorld(w), -96); };
    auto doorBrush = [](MapWorld* world) {
        Map_SelectNone(world);
        Map_SelectObject(world, entityOf(world, "func_door")->firstBrush);
    };
    const CommandCase cases[] = {
        {"carve brush 0 by brush 1",
         "ToolsCarve",
         {{1}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) {
             moveSelection(t.world, -96);
             Map_CmdCarve(t.world);
         },
         "Carve",
         nullptr,
         0,
         nullptr,
         overlap},
        {"carve without a brush",
         "ToolsCarve",
         {{}, {"light"}},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         "There are no eligible selected objects.",
         1},
        {"merge two boxes side by side",
         "ToolsMerge",
         {{1}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) {
             moveSelection(t.world, -64);
             select(t.world, {{0, 1}, {}});
             Map_Merge(t.world);
         },
         "Merge",
         nullptr,
         0,
         nullptr,
         [](cMainWindow* w) {
             besides(w);
             select(windowWorld(w), {{0, 1}, {}});
             w->notifySelectionChanged();
         }},
        {"merge of one brush",
         "ToolsMerge",
         {{0}, {}},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         "At least two brushes must be selected.",
         1},
        {"merge of two boxes apart",
         "ToolsMerge",
         {{0, 1}, {}},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         "can't add a set of brushes with a concave hull!",
         0},
        {"group",
         "ToolsGroup",
         {{0, 1}, {"light"}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_GroupSelection(t.world); },
         "Group",
         nullptr,
         0},
        {"ungroup",
         "ToolsUngroup",
         {{0, 1}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) {
             Map_GroupSelection(t.world);
             Map_UngroupSelection(t.world);
         },
         "Ungroup",
         nullptr,
         0,
         nullptr,
         [](cMainWindow* w) { Window_Action(*w, "ToolsGroup")->trigger(); }},
        {"group of a grouped selection",
         "ToolsGroup",
         {{0, 1}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_GroupSelection(t.world); },
         nullptr,
         "cannot group objects that already belong to the same group",
         0,
         nullptr,
         [](cMainWindow* w) { Window_Action(*w, "ToolsGroup")->trigger(); }},
        {"move the door's brush to the world",
         "ToolsToWorld",
         {{}, {}},
         {},
         {},
         nullptr,
         1,
         [doorBrush](const Twin& t) {
             doorBrush(t.world);
             Map_MoveToWorld(t.world);
         },
         "Move to World",
         nullptr,
         0,
         nullptr,
         [doorBrush](cMainWindow* w) { doorBrush(windowWorld(w)); }},
        {"tie two world brushes to a new entity",
         "ToolsToEntity",
         {{0, 1}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) {
             EntityRecord* made = nullptr;
             Map_TieToEntity(t.world, "func_wall", &made);
         },
         "Tie to Entity",
         nullptr,
         0,
         nullptr,
         [](cMainWindow* w) { w->tieClassName = QStringLiteral("func_wall"); }},
        {"delete brushes and a light",
         "EditDelete",
         {{0, 2}, {"light"}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_DeleteSelection(t.world); },
         "Delete Selection",
         nullptr,
         0},
        {"apply the current texture",
         "ToolTex",
         {{0, 1}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) { Map_ApplyTexture(t.world, "base_wall/concrete"); },
         "Apply Texture",
         nullptr,
         0,
         nullptr,
         [](cMainWindow* w) { w->currentTextureName = QStringLiteral("base_wall/concrete"); }},
    };
    for (const CommandCase& c : cases)
        run(c);
}

TEST_F(CommandCasesTest, EditCurveAndSnapCommands) {
    auto vertexTool = [](cMainWindow* w) { return w->toolSet->get<cVertexTool>(ToolId::Vertex); };
    const CommandCase cases[] = {
        {"randomize with amount 0",
         "CurveMatRand",
         {{}, {}, true},
         {},
         {},
         nullptr,
         1,
         nullptr,
         nullptr,
         nullptr,
         0,
         nullptr,
         nullptr,
         nullptr,
         nullptr,
         [](QDialog* d) { d->findChild<QDoubleSpinBox*>(QStringLiteral("sbOffset"))->setValue(0); }},
        // The vertex tool snaps its picked vertices inside the open morph: no level of the command.
        {"Ctrl+B in morph mode snaps by vertex",
         "ToolsSnapSel",
         {{2}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) {
             const float mins[3] = {323, 67, 0}, maxs[3] = {323, 67, 64};
             Map_SnapSelectionCorner(t.world, 16, mins, maxs);
         },
         "Morphing",
         nullptr,
         0,
         nullptr,
         [this](cMainWindow* w) {
             w->toolVertexManipulation();
             cToolDriver driver(top);
             driver.click(driver.at(323, 67));
         },
         [this, vertexTool](cMainWindow* w) { vertexTool(w)->beginMorph(top); },
         [](cMainWindow* w) { w->toolSelect(); }},
        // In a 2D view the copy keeps the clipboard's depth: the light's height, not the height the
        // other views look at (the middle of the brushes).
        {"paste in the top view",
         "EditPaste",
         {{}, {"light"}},
         {},
         {},
         nullptr,
         1,
         [this](const Twin& t) {
             const float at[3] = {96, -64, 64};
             pasteOnTwin(t.world, at);
         },
         "Paste",
         nullptr,
         0,
         nullptr,
         [this](cMainWindow*) {
             copyAndDeselect();
             const float at[3] = {96, -64, 0};
             moveMouse(top, at);
         }},
        // In the camera view the picked point on the front of brush 0, height and all.
        {"paste in the camera view",
         "EditPaste",
         {{1}, {}},
         {},
         {},
         useCamera,
         1,
         [this](const Twin& t) {
             const float at[3] = {32, 0, 48};
             pasteOnTwin(t.world, at);
         },
         "Paste",
         nullptr,
         0,
         nullptr,
         [this](cMainWindow* w) {
             copyAndDeselect();
             const float north[3] = {0, 90, 0};
             w->activeChildWindow()->setCameraAngles(north);
             camera->grabFramebuffer();
             const float at[3] = {32, 0, 48};
             moveMouse(camera, at);
         }},
        // A box dragged in the top view is flat; above every brush, it still reaches brush 1.
        {"select touching a flat top-view box",
         "EditSelTouch",
         {{}, {}},
         {},
         {},
         nullptr,
         1,
         [](const Twin& t) {
             select(t.world, {{1}, {}});
         },
         nullptr,
         nullptr,
         0,
         nullptr,
         nullptr,
         [this](cMainWindow*) {
             SelectionBox& box = document->selectionBoxes[0];
             box = SelectionBox{1, {120, 10, 200}, {200, 20, 200}, 0, 0};
         }},
    };
    for (const CommandCase& c : cases)
        run(c);
}
