#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "../dialogs/PathFixture.h"
#include "document/PathOperations.h"
#include "document/SelectionOperations.h"
#include "map/EPair.h"

namespace {

class PathCommandsTest : public cPathFixture {
protected:
    std::vector<float> entityXs(const char* className) const {
        std::vector<float> xs;
        for (const EntityRecord* e = world->entities; e; e = e->next)
            if (e->classname && std::strcmp(e->classname, className) == 0) xs.push_back(e->origin[0]);
        return xs;
    }
};

// Refusals leave the map, the history and the selection summary alone: a console line and one beep.
TEST_F(PathCommandsTest, RefusedSelectionsWarnAndBeepOnce) {
    PathRecord* p = path("p", 3);
    PathRecord* q = path("q", 3, PathType::OneWay, 0, 256);
    struct Case {
        const char* name;
        void (cMainWindow::*command)();
        std::vector<NodeRecord*> selected;
        const char* warning;
    };
    const Case cases[] = {
        {"merge one node",
         &cMainWindow::cmdEditPathMerge,
         {p->lastNode},
         "You must have exactly two nodes selected!"},
        {"merge same path",
         &cMainWindow::cmdEditPathMerge,
         {p->firstNode, p->lastNode},
         "Selected nodes must belong to different paths!"},
        {"merge two first nodes",
         &cMainWindow::cmdEditPathMerge,
         {p->firstNode, q->firstNode},
         "Please select two terminal nodes!"},
        {"merge middle node",
         &cMainWindow::cmdEditPathMerge,
         {nodeAt(p, 1), q->firstNode},
         "Please select two terminal nodes!"},
        {"split two nodes",
         &cMainWindow::cmdEditPathSplit,
         {nodeAt(p, 1), nodeAt(q, 1)},
         "You must have a single path node selected!"},
        {"delete two paths",
         &cMainWindow::cmdEditPathDelete,
         {p->firstNode, q->firstNode},
         "More than one path selected!"},
        {"select two paths",
         &cMainWindow::cmdEditPathSelect,
         {p->firstNode, q->firstNode},
         "More than one path selected!"},
        {"convert two paths",
         &cMainWindow::cmdEditPathConvert,
         {p->firstNode, q->firstNode},
         "More than one path selected!"},
        {"properties of two paths",
         &cMainWindow::cmdEditPathProperties,
         {p->firstNode, q->firstNode},
         "More than one path selected!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Map_DeselectNodes(world);
        for (NodeRecord* n : c.selected)
            Map_SelectObject(world, n);
        const std::string before = dump();
        const std::string level = newestLevel();
        const int beeps = Prompt_BeepCount();
        console.clear();
        cDialogAnswer answer; // no dialog may open
        (window.get()->*c.command)();
        EXPECT_FALSE(answer.answered);
        EXPECT_TRUE(console.contains(QString::fromLatin1(c.warning)));
        EXPECT_EQ(Prompt_BeepCount(), beeps + 1);
        EXPECT_EQ(differenceFrom(before), "");
        EXPECT_EQ(newestLevel(), level);
    }
}

// The end of one path and the start of another merge the same way whichever the selection heads.
TEST_F(PathCommandsTest, MergeInEitherOrderGivesTheSameMap) {
    path("p", 3);
    path("q", 3, PathType::OneWay, 0, 256);
    const std::string before = dump();
    std::string merged;
    for (bool lastFirst : {true, false}) {
        SCOPED_TRACE(lastFirst);
        // Undo rebuilds the records: look the paths up again.
        PathRecord* p = findPath("p");
        PathRecord* q = findPath("q");
        ASSERT_TRUE(p && q);
        if (lastFirst)
            select({p->lastNode, q->firstNode});
        else
            select({q->firstNode, p->lastNode});
        window->cmdEditPathMerge();
        EXPECT_EQ(newestLevel(), "Merge Paths");
        ASSERT_EQ(world->paths->next, nullptr) << "one path left";
        EXPECT_EQ(world->paths->handle->nodeCount(), 5) << "the first node of q goes";
        EXPECT_STREQ(world->paths->name, "p");
        EXPECT_EQ(world->selectedNodes, nullptr);
        if (merged.empty())
            merged = dump();
        else
            EXPECT_EQ(differenceFrom(merged), "");
        undo();
        EXPECT_EQ(differenceFrom(before), "");
    }
}

TEST_F(PathCommandsTest, SplitAtTheLastNodeIsRefusedAfterDeselecting) {
    PathRecord* p = path("p", 3);
    select({p->lastNode});
    const std::string level = newestLevel();
    const int beeps = Prompt_BeepCount();
    window->cmdEditPathSplit();
    EXPECT_TRUE(console.contains("Can't split at terminal node!"));
    EXPECT_EQ(Prompt_BeepCount(), beeps + 1);
    EXPECT_EQ(world->selectedNodes, nullptr);
    EXPECT_EQ(p->lastNode->flags & NodeFlag::Selected, 0u);
    EXPECT_EQ(newestLevel(), level);

    select({nodeAt(p, 1)});
    const std::string before = dump();
    window->cmdEditPathSplit();
    EXPECT_EQ(newestLevel(), "Split Path");
    ASSERT_NE(world->paths->next, nullptr);
    EXPECT_EQ(p->handle->nodeCount(), 2);
    undo();
    EXPECT_EQ(differenceFrom(before), "") << "the deselection is not part of the level";
}

// Nodes 1..4 of a ping-pong path become entities at 1, 2, 3, 4, 3, 2, in one level.
TEST_F(PathCommandsTest, PingPongConvertWalksBackWithoutRepeatingTheEnds) {
    PathRecord* p = path("train", 4, PathType::PingPong, 1000);
    select({nodeAt(p, 2)});
    const std::string before = dump();
    window->cmdEditPathConvert();
    EXPECT_EQ(newestLevel(), "Convert Path");
    EXPECT_EQ(world->paths, nullptr);
    std::vector<float> xs = entityXs("path_corner");
    std::sort(xs.begin(), xs.end());
    EXPECT_EQ(xs, (std::vector<float>{1000, 1064, 1064, 1128, 1128, 1192}));
    undo();
    EXPECT_EQ(differenceFrom(before), "");
}

TEST_F(PathCommandsTest, SelectDeleteAndAddNodesWorkOnTheSelectedPath) {
    PathRecord* p = path("p", 4);
    path("q", 2, PathType::OneWay, 0, 256);
    select({nodeAt(p, 2)});
    window->cmdEditPathSelect();
    int selected = 0;
    for (NodeRecord* n = world->selectedNodes; n; n = n->selNext)
        ++selected;
    EXPECT_EQ(selected, 4);

    select({nodeAt(p, 1)});
    const std::string before = dump();
    window->cmdEditPathAddNodes();
    EXPECT_EQ(newestLevel(), "Add Nodes");
    EXPECT_EQ(p->handle->nodeCount(), 5);
    undo();
    EXPECT_EQ(differenceFrom(before), "");

    select({nodeAt(findPath("p"), 1)});
    window->cmdEditPathDelete();
    EXPECT_EQ(newestLevel(), "Delete Path");
    EXPECT_STREQ(world->paths->name, "q");
    undo();
    EXPECT_EQ(differenceFrom(before), "");
}

// The Edit menu's path entries run the document's path commands: the map after the action equals
// the map after the command itself, with the command's undo level, or the command's warning.
TEST_F(PathCommandsTest, MenuActionsRunTheDocumentsPathCommands) {
    path("p", 4);
    path("q", 3, PathType::PingPong, 0, 256);
    struct Case {
        const char* action;
        std::function<std::vector<NodeRecord*>()> picks; // by name: undo rebuilds the records
        std::function<bool(MapWorld*)> command;
        const char* level;   // null: refused
        const char* warning; // the console line of a refusal
    };
    auto node = [this](const char* name, int index) { return nodeAt(findPath(name), index); };
    const Case cases[] = {
        {"EditPathAddNodes",
         [&] {
             return std::vector{node("p", 1), node("p", 2)};
         },
         [](MapWorld* w) { return Map_CmdAddNodes(w, 0, 1); }, "Add Nodes", nullptr},
        {"EditPathDelete", [&] { return std::vector{node("q", 1)}; }, Map_CmdDeletePath, "Delete Path",
         nullptr},
        {"EditPathDeleteNodes",
         [&] {
             return std::vector{node("p", 0), node("q", 2)};
         },
         [](MapWorld* w) { return Map_CmdEditDelete(w, true); }, "Delete Selection", nullptr},
        {"EditPathReverse", [&] { return std::vector{node("p", 3)}; }, Map_CmdReversePath, "Reverse Path",
         nullptr},
        {"EditPathReverse",
         [&] {
             return std::vector{node("p", 0), node("q", 0)};
         },
         Map_CmdReversePath, nullptr, "More than one path selected!"},
        {"EditPathSplit", [&] { return std::vector{node("p", 1)}; },
         [](MapWorld* w) { return Map_CmdSplitPath(w, 0, 1); }, "Split Path", nullptr},
        {"EditPathSplit", [&] { return std::vector{node("q", 2)}; },
         [](MapWorld* w) { return Map_CmdSplitPath(w, 0, 1); }, nullptr, "Can't split at terminal node!"},
        {"EditPathMerge",
         [&] {
             return std::vector{node("p", 3), node("q", 0)};
         },
         Map_CmdMergePaths, "Merge Paths", nullptr},
        {"EditPathConvert", [&] { return std::vector{node("q", 0)}; }, Map_CmdConvertPath, "Convert Path",
         nullptr},
        {"EditPathConvert",
         [&] {
             return std::vector{node("p", 0), node("q", 0)};
         },
         Map_CmdConvertPath, nullptr, "More than one path selected!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.action) + (c.level ? " " : " refused ") + (c.level ? c.level : c.warning));
        auto pick = [&] {
            Map_DeselectNodes(world);
            for (NodeRecord* n : c.picks())
                Map_SelectObject(world, n);
            window->notifySelectionChanged();
        };
        pick();
        const std::string before = dump();
        const std::string level = newestLevel();
        console.clear();
        QAction* action = Window_Action(*window, c.action);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled());
        action->trigger();
        const std::string byMenu = dump();
        if (!c.level) {
            EXPECT_TRUE(console.contains(QString::fromLatin1(c.warning)));
            EXPECT_EQ(newestLevel(), level);
            EXPECT_EQ(differenceFrom(before), "");
            continue;
        }
        EXPECT_EQ(newestLevel(), c.level);
        EXPECT_NE(byMenu, before);
        undo();
        ASSERT_EQ(differenceFrom(before), "");
        pick();
        ASSERT_TRUE(c.command(world));
        EXPECT_EQ(differenceFrom(byMenu), "");
        undo();
        ASSERT_EQ(differenceFrom(before), "");
    }
}

} // namespace
