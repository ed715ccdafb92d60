#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "OperationFixture.h"
#include "document/MapSelection.h"
#include "document/PathOperations.h"
#include "map/EPair.h"

namespace {

class PathOperationsTest : public OperationFixture {
protected:
    void select(NodeRecord* n) { Map_SelectObject(w, n); }
    static std::string origin(const NodeRecord* n) {
        return std::to_string(int(n->origin[0])) + " " + std::to_string(int(n->origin[1])) + " " +
               std::to_string(int(n->origin[2]));
    }
};

// ---- Add, reverse, delete --------------------------------------------------------------------------

TEST_F(PathOperationsTest, AddNodesPutsSnappedNodesInFrontAndSelectsThem) {
    PathRecord* p = path("track", 3);
    NodeRecord* second = nodeAt(p, 1);
    NodeRecord* third = nodeAt(p, 2);
    select(second);
    select(third);
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdAddNodes(w, 0, 1));

    ASSERT_EQ(nodeCount(p), 5);
    EXPECT_EQ(nodeAt(p, 2), second);
    EXPECT_EQ(nodeAt(p, 4), third);
    EXPECT_EQ(origin(nodeAt(p, 1)), "80 16 0");
    EXPECT_EQ(origin(nodeAt(p, 3)), "144 16 0");
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(nodeAt(p, i)->number, i + 1);
        EXPECT_EQ((nodeAt(p, i)->flags & NodeFlag::Selected) != 0, i == 1 || i == 3) << i;
    }
    expectUndoRedo("Add Nodes", before);
}

TEST_F(PathOperationsTest, ReversePathIsOneLevelAndNeedsTwoNodes) {
    PathRecord* p = path("track", 3);
    NodeRecord* first = p->firstNode;
    const std::string before = dump();
    Map_ReversePath(w, p);
    EXPECT_EQ(p->lastNode, first);
    expectUndoRedo("Reverse Path", before);

    PathRecord* single = path("lone", 1);
    const UndoLevel* newest = Undo_NewestLevel(history);
    Map_ReversePath(w, single);
    EXPECT_EQ(Undo_NewestLevel(history), newest);
}

TEST_F(PathOperationsTest, DeletePathCommandTakesOnePath) {
    PathRecord* a = path("a", 3);
    PathRecord* b = path("b", 2, PathType::OneWay, 512);
    select(nodeAt(a, 0));
    select(nodeAt(b, 1));
    EXPECT_FALSE(Map_CmdDeletePath(w));
    EXPECT_TRUE(console.contains("More than one path selected!"));
    EXPECT_EQ(pathCount(), 2);

    Map_DeselectNodes(w);
    select(nodeAt(a, 1));
    const std::string before = dump();
    const int32_t id = nodeAt(a, 0)->handle->id;
    ASSERT_TRUE(Map_CmdDeletePath(w));
    EXPECT_EQ(pathCount(), 1);
    EXPECT_EQ(w->selectedNodes, nullptr);
    EXPECT_FALSE(Map_IsIdInUse(w, id));
    expectUndoRedo("Delete Path", before);
}

TEST_F(PathOperationsTest, DeleteSelectedNodesRenumbersAndUndoRestoresOrder) {
    PathRecord* p = path("track", 5);
    std::vector<int32_t> serials;
    for (int i = 0; i < 5; ++i)
        serials.push_back(nodeAt(p, i)->serial);
    select(nodeAt(p, 3));
    select(nodeAt(p, 1));
    const std::string before = dump();

    Map_DeleteSelectedNodes(w);
    ASSERT_EQ(nodeCount(p), 3);
    const int32_t kept[3] = {0, 2, 4};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(nodeAt(p, i)->serial, serials[kept[i]]);
        EXPECT_EQ(nodeAt(p, i)->number, i + 1);
    }
    expectUndoRedo("Delete Selection", before);
}

TEST_F(PathOperationsTest, DeletingEveryNodeDeletesThePath) {
    PathRecord* p = path("track", 2);
    path("other", 2, PathType::OneWay, 512);
    select(nodeAt(p, 0));
    select(nodeAt(p, 1));
    const std::string before = dump();
    Map_DeleteSelectedNodes(w);
    EXPECT_EQ(pathCount(), 1);
    EXPECT_EQ(findPath("track"), nullptr);
    expectUndoRedo("Delete Selection", before);
}

// ---- Split ------------------------------------------------------------------------------------------

TEST_F(PathOperationsTest, SplitLeavesHeadAndMakesTrainS) {
    PathRecord* p = path("train", 5, PathType::PingPong);
    NodeRecord* third = nodeAt(p, 2);
    third->name = Sys_StrDup("stop");
    third->message = Sys_StrDup("hello");
    third->angles[1] = 90;
    EPair_Append(&third->epairs, "speed", "200");
    NodeRecord* fourth = nodeAt(p, 3);
    NodeRecord* fifth = nodeAt(p, 4);
    select(third);
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdSplitPath(w, 0, 1));

    EXPECT_EQ(nodeCount(p), 3);
    EXPECT_EQ(p->lastNode, third);
    PathRecord* split = findPath("train_s");
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->type, PathType::PingPong);
    EXPECT_STREQ(split->className, "path_corner");
    ASSERT_EQ(nodeCount(split), 3);
    NodeRecord* lead = split->firstNode;
    EXPECT_EQ(origin(lead), "144 16 0");
    EXPECT_EQ(lead->angles[1], 90.0f);
    EXPECT_EQ(lead->name, nullptr);
    EXPECT_EQ(lead->message, nullptr);
    EXPECT_EQ(lead->flags & NodeFlag::Selected, 0u);
    ASSERT_NE(EPair_Find(lead->epairs, "speed"), nullptr);
    EXPECT_EQ(nodeAt(split, 1), fourth);
    EXPECT_EQ(nodeAt(split, 2), fifth);
    EXPECT_EQ(fifth->number, 3);
    EXPECT_EQ(fourth->path, split);
    expectUndoRedo("Split Path", before);
}

TEST_F(PathOperationsTest, SplitCommandGuards) {
    PathRecord* p = path("train", 3);
    struct Case {
        std::vector<int> selected;
        const char* message;
    };
    const Case cases[] = {
        {{}, "You must have a single path node selected!"},
        {{0, 1}, "You must have a single path node selected!"},
        {{2}, "Can't split at terminal node!"},
    };
    for (const Case& c : cases) {
        Map_DeselectNodes(w);
        console.clear();
        for (int i : c.selected)
            select(nodeAt(p, i));
        EXPECT_FALSE(Map_CmdSplitPath(w, 0, 1));
        EXPECT_TRUE(console.contains(c.message)) << c.message;
    }
    EXPECT_EQ(pathCount(), 1);
    EXPECT_FALSE(Map_SplitPath(w, p->lastNode, 0, 1));
}

// ---- Merge ------------------------------------------------------------------------------------------

TEST_F(PathOperationsTest, MergeAppendsTheRestOfPAndKeepsIds) {
    PathRecord* from = path("p", 3);
    PathRecord* into = path("q", 4, PathType::OneWay, 512);
    NodeRecord* first = from->firstNode;
    NodeRecord* second = nodeAt(from, 1);
    NodeRecord* third = nodeAt(from, 2);
    const int32_t firstId = first->handle->id;
    const int32_t movedIds[2] = {second->handle->id, third->handle->id};
    select(into->lastNode);
    select(first);
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdMergePaths(w));

    EXPECT_EQ(findPath("p"), nullptr);
    ASSERT_EQ(nodeCount(into), 6);
    EXPECT_EQ(nodeAt(into, 4), second);
    EXPECT_EQ(nodeAt(into, 5), third);
    EXPECT_EQ(third->number, 6);
    EXPECT_EQ(second->handle->id, movedIds[0]);
    EXPECT_EQ(third->handle->id, movedIds[1]);
    EXPECT_FALSE(Map_IsIdInUse(w, firstId));
    EXPECT_EQ(w->selectedNodes, nullptr);
    expectUndoRedo("Merge Paths", before);
}

TEST_F(PathOperationsTest, MergeCommandGuards) {
    PathRecord* a = path("a", 3);
    PathRecord* b = path("b", 3, PathType::OneWay, 512);
    PathRecord* lone = path("lone", 1, PathType::OneWay, 1024);
    struct Case {
        std::vector<NodeRecord*> selected;
        const char* message;
    };
    const Case cases[] = {
        {{a->firstNode}, "You must have exactly two nodes selected!"},
        {{a->firstNode, b->lastNode, b->firstNode}, "You must have exactly two nodes selected!"},
        {{a->firstNode, a->lastNode}, "Selected nodes must belong to different paths!"},
        {{nodeAt(a, 1), b->lastNode}, "Please select two terminal nodes!"},
        {{a->firstNode, b->firstNode}, "Please select two terminal nodes!"},
        {{lone->firstNode, nodeAt(b, 1)}, "Please select two terminal nodes!"},
        {{lone->firstNode, b->lastNode}, "Too few nodes in a path (must be at least 2)!"},
    };
    for (const Case& c : cases) {
        Map_DeselectNodes(w);
        console.clear();
        for (NodeRecord* n : c.selected)
            select(n);
        EXPECT_FALSE(Map_CmdMergePaths(w));
        EXPECT_TRUE(console.contains(c.message)) << c.message;
    }
    EXPECT_EQ(pathCount(), 3);
}

// ---- Convert ----------------------------------------------------------------------------------------

struct ConvertCase {
    const char* label;
    int32_t type;
    int nodes;
    std::vector<const char*> names;
    std::vector<std::pair<std::string, std::string>> expected; // targetname, target
};

class ConvertPathTest : public PathOperationsTest, public ::testing::WithParamInterface<ConvertCase> {};

TEST_P(ConvertPathTest, NamesChainTheEntities) {
    const ConvertCase& c = GetParam();
    PathRecord* p = path("p1", c.nodes, c.type, 0, c.names);
    select(p->firstNode);
    ASSERT_TRUE(Map_CmdConvertPath(w));
    EXPECT_EQ(pathCount(), 0);
    const std::vector<EntityRecord*> made = entities();
    ASSERT_EQ(made.size(), c.expected.size());
    for (size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(key(made[i], "targetname"), c.expected[i].first) << i;
        EXPECT_EQ(key(made[i], "target"), c.expected[i].second) << i;
        EXPECT_STREQ(made[i]->classname, "path_corner");
        EXPECT_EQ(made[i]->epairs->key, std::string("targetname"));
    }
    EXPECT_EQ(newestLevelName(), "Convert Path");
}

INSTANTIATE_TEST_SUITE_P(
    Naming, ConvertPathTest,
    ::testing::Values(
        ConvertCase{
            "OneWayUnnamed", PathType::OneWay, 3, {}, {{"p1", "p1_1"}, {"p1_1", "p1_2"}, {"p1_2", "<none>"}}},
        ConvertCase{
            "Circular", PathType::Circular, 3, {}, {{"p1", "p1_1"}, {"p1_1", "p1_2"}, {"p1_2", "p1"}}},
        ConvertCase{
            "CircularNamedFirst", PathType::Circular, 2, {"start"}, {{"start", "p1_1"}, {"p1_1", "start"}}},
        ConvertCase{"PingPong",
                    PathType::PingPong,
                    3,
                    {},
                    {{"p1", "p1_1"}, {"p1_1", "p1_2"}, {"p1_2", "p1_3"}, {"p1_3", "p1"}}},
        ConvertCase{"PingPongFour",
                    PathType::PingPong,
                    4,
                    {},
                    {{"p1", "p1_1"},
                     {"p1_1", "p1_2"},
                     {"p1_2", "p1_3"},
                     {"p1_3", "p1_4"},
                     {"p1_4", "p1_5"},
                     {"p1_5", "p1"}}},
        ConvertCase{"NamedNodes",
                    PathType::OneWay,
                    4,
                    {"a", "b", nullptr, nullptr},
                    {{"a", "b"}, {"b", "p1_1"}, {"p1_1", "p1_2"}, {"p1_2", "<none>"}}}),
    [](const ::testing::TestParamInfo<ConvertCase>& info) { return std::string(info.param.label); });

TEST_F(PathOperationsTest, ConvertCopiesKeysAnglesAndMessage) {
    PathRecord* p = path("p1", 2);
    NodeRecord* n = p->firstNode;
    n->angles[1] = 45.7f;
    n->message = Sys_StrDup("go");
    EPair_Append(&n->epairs, "speed", "100");
    EPair_Append(&n->epairs, "target", "stale");
    select(n);
    const std::string before = dump();
    ASSERT_TRUE(Map_CmdConvertPath(w));
    EntityRecord* e = entities().front();
    EXPECT_EQ(key(e, "angles"), "0 45 0");
    EXPECT_EQ(e->angles[1], 45.0f);
    EXPECT_EQ(key(e, "message"), "go");
    EXPECT_EQ(key(e, "speed"), "100");
    // The copied key gives way to the chain's own target.
    EXPECT_EQ(key(e, "target"), "p1_1");
    int targets = 0;
    for (const EPair* pair = e->epairs; pair; pair = pair->next)
        targets += std::string(pair->key) == "target";
    EXPECT_EQ(targets, 1);
    EXPECT_EQ(key(entities().back(), "angles"), "<none>");
    expectUndoRedo("Convert Path", before);
}

// A node's message becomes a key of the new entity: the map changed even without a level.
TEST_F(PathOperationsTest, EntityFromNodeWithMessageMarksModified) {
    PathRecord* p = path("p1", 2);
    p->firstNode->message = Sys_StrDup("go");
    doc.modified = false;
    ASSERT_NE(Map_EntityFromPathNode(w, p->firstNode, 0, false), nullptr);
    EXPECT_TRUE(doc.modified);
}

TEST_F(PathOperationsTest, ConvertCommandTakesOnePath) {
    PathRecord* a = path("a", 2);
    PathRecord* b = path("b", 2, PathType::OneWay, 512);
    select(a->firstNode);
    select(b->firstNode);
    EXPECT_FALSE(Map_CmdConvertPath(w));
    EXPECT_TRUE(console.contains("More than one path selected!"));
    EXPECT_TRUE(entities().empty());
}

// ---- Sort -------------------------------------------------------------------------------------------

TEST_F(PathOperationsTest, SortNodesGroupsByPathHighestNumberFirst) {
    PathRecord* a = path("a", 4);
    PathRecord* b = path("b", 3, PathType::OneWay, 512);
    const std::vector<NodeRecord*> picks = {nodeAt(b, 0), nodeAt(a, 1), nodeAt(b, 2), nodeAt(a, 3),
                                            nodeAt(a, 0)};
    for (NodeRecord* n : picks)
        select(n);
    NodeRecord* head = Map_SortNodes(w->selectedNodes);
    std::vector<std::pair<PathRecord*, int>> order;
    const NodeRecord* prev = nullptr;
    for (const NodeRecord* n = head; n; n = n->selNext) {
        EXPECT_EQ(n->selPrev, prev);
        order.emplace_back(n->path, n->number);
        prev = n;
    }
    const std::vector<std::pair<PathRecord*, int>> expected = {{a, 4}, {a, 2}, {a, 1}, {b, 3}, {b, 1}};
    EXPECT_EQ(order, expected);
    w->selectedNodes = head;
}

} // namespace
