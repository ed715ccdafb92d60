// The path tool through a real map window: a new path described in the path dialog, nodes
// appended with Shift+click, picked, dragged, nudged and box-selected, each edit one undo level.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "DialogAnswer.h"
#include "ToolDriver.h"
#include "dialogs/application/PathDialog.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "document/MapSelection.h"
#include "map/MapPath.h"
#include "tools/PathTool.h"

namespace {

class PathToolTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->toolPath();
        paths = tool<cPathTool>(ToolId::Path);
    }
    // Shift+click in the view answering the path dialog when it opens.
    void newPath(cCanvas* view, float i, float j, const QString& name, bool circular = false,
                 bool accept = true) {
        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* dialog = qobject_cast<cPathDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                dialog->txtName->setText(QStringLiteral("  ") + name);
                dialog->cbClass->setEditText(QStringLiteral("path_corner"));
                dialog->rbCircular->setChecked(circular);
            },
            accept);
        driver.setView(view);
        driver.click(driver.at(i, j), Qt::LeftButton, Qt::ShiftModifier);
        EXPECT_TRUE(answer.answered);
    }
    static std::vector<float> at(const NodeRecord* n) { return {n->origin[0], n->origin[1], n->origin[2]}; }
    int selectedCount() const {
        int n = 0;
        for (NodeRecord* node = w->selectedNodes; node; node = node->selNext)
            ++n;
        return n;
    }
    cPathTool* paths = nullptr;
};

TEST_F(PathToolTest, DialogMakesAPathNamedInMapText) {
    const std::string before = dump();
    newPath(top, 32, 48, QStringLiteral("Путь"), true);
    PathRecord* path = w->paths;
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(QByteArray(path->name), QByteArray("\xcf\xf3\xf2\xfc"));
    EXPECT_STREQ(path->className, "path_corner");
    EXPECT_EQ(path->type, 1);
    ASSERT_NE(path->firstNode, nullptr);
    EXPECT_EQ(at(path->firstNode), (std::vector<float>{32, 48, 0}));
    EXPECT_TRUE(console.contains(QStringLiteral("New path: ")));
    expectUndoRedo("Create Path", before);
    // A cancelled dialog makes nothing.
    const UndoLevel* newest = Undo_NewestLevel(history);
    newPath(top, 0, 0, QStringLiteral("other"), false, false);
    EXPECT_EQ(w->paths->next, nullptr);
    EXPECT_EQ(Undo_NewestLevel(history), newest);
}

TEST_F(PathToolTest, ShiftClickAppendsAtTheEndWithTheLastDepth) {
    cCanvas* front = viewOfType(ViewType::Front);
    ASSERT_NE(front, nullptr);
    newPath(front, 0, 48, QStringLiteral("p"));
    PathRecord* path = w->paths;
    ASSERT_NE(path, nullptr);
    const std::vector<float> first = at(path->firstNode);
    // A second node through the top view: the depth (z) is the last node's.
    driver.setView(top);
    Map_SelectObject(w, path->firstNode);
    driver.click(driver.at(64, 32), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(path->handle->nodeCount(), 2);
    EXPECT_EQ(at(path->lastNode), (std::vector<float>{64, 32, first[2]}));
    // With the first node still the only one selected, the next goes after the last. (Undo
    // leaves the node selection alone: the oracle compares without it.)
    Map_DeselectNodes(w);
    const std::string before = dump();
    Map_SelectObject(w, path->firstNode);
    driver.click(driver.at(96, 32), Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(path->handle->nodeCount(), 3);
    EXPECT_EQ(path->lastNode->origin[0], 96.0f);
    Map_DeselectNodes(w);
    expectUndoRedo("Create Node", before);
}

TEST_F(PathToolTest, TwoPathsSelectedWarnAndMakeNothing) {
    newPath(top, 0, 0, QStringLiteral("a"));
    Map_DeselectNodes(w);
    newPath(top, 64, 0, QStringLiteral("b"));
    Map_SelectObject(w, w->paths->firstNode);
    Map_SelectObject(w, w->paths->next->firstNode);
    const std::string before = dump();
    driver.click(driver.at(32, 32), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(dump(), before);
    EXPECT_TRUE(console.contains(QStringLiteral("More than one path selected!")));
    EXPECT_FALSE(paths->createPending);
}

TEST_F(PathToolTest, DragsMoveNodesOneLevelPerGestureAltByWholeUnits) {
    newPath(top, 0, 0, QStringLiteral("a"));
    NodeRecord* node = w->paths->firstNode;
    Map_SelectObject(w, node);
    struct Case {
        Qt::KeyboardModifiers mods;
        std::vector<float> to, expected;
    } cases[] = {
        {Qt::AltModifier, {5, 3}, {5, 3, 0}},
        {Qt::NoModifier, {37, 19}, {32, 16, 0}},
    };
    for (const Case& k : cases) {
        const std::string before = dump();
        driver.drag(driver.at(node->origin[0], node->origin[1]), driver.at(k.to[0], k.to[1]), k.mods);
        EXPECT_EQ(at(node), k.expected);
        EXPECT_TRUE(node->flags & NodeFlag::Selected);
        expectUndoRedo("Move Nodes", before); // one level for the whole drag
    }
    // Each nudge is its own level.
    const std::string before = dump();
    driver.key(Qt::Key_Right);
    driver.key(Qt::Key_Right);
    EXPECT_EQ(node->origin[0], 64.0f);
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(node->origin[0], 48.0f);
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(dump(), before);
}

TEST_F(PathToolTest, BoxSelectsNodesAndEscapeClearsBoxThenNodes) {
    settings().ClearSelectionOnEscape = true;
    newPath(top, 0, 0, QStringLiteral("a"));
    Map_SelectObject(w, w->paths->firstNode);
    driver.click(driver.at(64, 0), Qt::LeftButton, Qt::ShiftModifier);
    driver.click(driver.at(128, 0), Qt::LeftButton, Qt::ShiftModifier);
    Map_DeselectNodes(w);
    // The box over the first two nodes.
    const QPoint from = driver.at(-16, 16), to = driver.at(80, -16);
    driver.move(from);
    driver.press(from);
    driver.move(from + (to - from) / 2, Qt::LeftButton);
    driver.move(to, Qt::LeftButton);
    EXPECT_TRUE(doc.selectionBoxes[4].valid);
    EXPECT_FALSE(status4().isEmpty());
    // Escape with the box showing clears the box only.
    Map_SelectObject(w, w->paths->lastNode);
    EXPECT_TRUE(driver.key(Qt::Key_Escape));
    EXPECT_FALSE(doc.selectionBoxes[4].valid);
    EXPECT_EQ(selectedCount(), 1);
    driver.release(to);
    EXPECT_TRUE(driver.key(Qt::Key_Escape));
    EXPECT_EQ(selectedCount(), 0);
    EXPECT_FALSE(paths->keyPress(top, Qt::Key_Escape, 0));

    driver.drag(from, to);
    EXPECT_EQ(selectedCount(), 2);
    EXPECT_FALSE(w->paths->lastNode->flags & NodeFlag::Selected);
    EXPECT_FALSE(doc.selectionBoxes[4].valid);
}

} // namespace

namespace {

// The class list: path-like point classes of the configuration's loaded definition files (the
// "path" helper, "path_" at the start, "Path" inside), repeats of later files dropped whatever
// their case, sorted.
TEST(PathDialogClasses, PathLikePointClassesOfTheLoadedFiles) {
    cConsoleCapture console;
    GameDataRegistry* registry = Fgd_Registry();
    ASSERT_NE(registry, nullptr);
    auto file = [&](const QString& path, std::initializer_list<std::tuple<const char*, int, uint32_t>> classes) {
        GameData* data = Fgd_Acquire(registry, path);
        data->loadState = GameDataState::Loaded;
        for (const auto& [name, kind, helpers] : classes) {
            auto eclass = std::make_unique<EntityClass>();
            eclass->name = name;
            eclass->kind = kind;
            eclass->helpers = helpers;
            Fgd_RegisterClass(data, std::move(eclass));
        }
    };
    constexpr int P = EntityClassKind::Point, S = EntityClassKind::Solid;
    file(QStringLiteral("/nowhere/first.fgd"), {{"path_corner", P, 0},
                                                {"info_Path", P, 0},
                                                {"func_path", S, 0},
                                                {"mover", P, EntityClassHelper::Path},
                                                {"light", P, 0},
                                                {"Path_lower", P, 0}});
    file(QStringLiteral("/nowhere/second.fgd"), {{"path_Corner", P, 0}, {"path_track", P, 0}});
    file(QStringLiteral("/nowhere/unloaded.fgd"), {{"path_ghost", P, 0}});
    registry->files.value(QStringLiteral("/nowhere/unloaded.fgd"))->loadState = GameDataState::NotLoaded;
    GameConfig config;
    config.GameData = {QStringLiteral("/nowhere/first.fgd"), QStringLiteral("/nowhere/second.fgd"),
                       QStringLiteral("/nowhere/unloaded.fgd")};
    EXPECT_EQ(Path_ClassNames(&config),
              (QStringList{"Path_lower", "info_Path", "mover", "path_corner", "path_track"}));
    for (const QString& path : config.GameData)
        Fgd_Release(registry, path);
}

} // namespace
