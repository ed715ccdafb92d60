#include <string>
#include <vector>

#include "EntityTestWorld.h"
#include "core/System.h"
#include "map/MapPath.h"

namespace {

class MapPathTest : public EntityTestWorld {
protected:
    PathRecord* pathOf(int nodes, int32_t type = PathType::OneWay) {
        PathRecord* p = Path_Create(map());
        p->type = type;
        for (int i = 0; i < nodes; ++i) {
            NodeRecord* n = Node_Append(map(), p);
            n->origin[0] = float(i);
            names.push_back(n);
        }
        return p;
    }
    // The chain as letters of creation order (A = first created), checking numbers and links.
    std::string chain(PathRecord* p) {
        std::string out;
        int32_t number = 1;
        NodeRecord* prev = nullptr;
        for (NodeRecord* n = p->firstNode; n; prev = n, n = n->next) {
            EXPECT_EQ(n->number, number++);
            EXPECT_EQ(n->prev, prev);
            EXPECT_EQ(n->path, p);
            for (size_t i = 0; i < names.size(); ++i)
                if (names[i] == n) out += char('A' + i);
        }
        EXPECT_EQ(p->lastNode, prev);
        return out;
    }
    std::vector<NodeRecord*> names;
};

TEST_F(MapPathTest, NodesAreNumberedAfterEveryChange) {
    PathRecord* p = pathOf(3);
    EXPECT_EQ(chain(p), "ABC");
    EXPECT_EQ(p->serial, 1);
    NodeRecord* d = Node_InsertBefore(map(), names[1]);
    names.push_back(d);
    EXPECT_EQ(chain(p), "ADBC");
    NodeRecord* e = Node_InsertBefore(map(), names[0]);
    names.push_back(e);
    EXPECT_EQ(chain(p), "EADBC");
    EXPECT_TRUE(p->flags & PathFlag::NeedsUpdate);
    Node_Delete(e);
    Node_Delete(names[2]);
    EXPECT_EQ(chain(p), "ADB");
    EXPECT_EQ(d->serial, 4);
}

TEST_F(MapPathTest, ReverseKeepsTheFirstNodeOfACircularPath) {
    struct Case {
        int32_t type;
        int nodes;
        const char* reversed;
    } cases[] = {{PathType::OneWay, 4, "DCBA"},
                 {PathType::Circular, 4, "ADCB"},
                 {PathType::PingPong, 2, "BA"},
                 {PathType::Circular, 2, "AB"},
                 {PathType::OneWay, 1, "A"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reversed);
        names.clear();
        PathRecord* p = pathOf(c.nodes, c.type);
        cMapPath::fromRecord(p)->reverse();
        EXPECT_EQ(chain(p), c.reversed);
    }
}

TEST_F(MapPathTest, ArrowHeadsAlongASegment) {
    struct Case {
        float length;
        int32_t type;
        int32_t segment;
        std::vector<PathArrow> arrows;
    } cases[] = {
        {300, PathType::OneWay, 0, {{75, true}, {225, true}}},
        {300, PathType::PingPong, 0, {{50, true}, {150, false}, {250, true}}},
        {300, PathType::PingPong, 1, {{50, false}, {150, true}, {250, false}}},
        {100, PathType::Circular, 3, {{50, true}}},
        {0, PathType::OneWay, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        PathArrow out[8];
        ASSERT_EQ(Path_SegmentArrows(c.length, c.type, c.segment, out, 8), int32_t(c.arrows.size()));
        for (size_t k = 0; k < c.arrows.size(); ++k) {
            EXPECT_FLOAT_EQ(out[k].distance, c.arrows[k].distance);
            EXPECT_EQ(out[k].forward, c.arrows[k].forward);
        }
    }
    EXPECT_EQ(Path_SegmentArrows(1e30f, PathType::OneWay, 0, nullptr, 0), 65537);
}

TEST_F(MapPathTest, DeletingAPathReturnsItsNodeIds) {
    PathRecord* p = pathOf(3);
    const int32_t id = names[1]->handle->id;
    Map_SelectObject(&world, names[1]);
    Path_Delete(p);
    EXPECT_FALSE(Map_IsIdInUse(&world, id));
    EXPECT_EQ(world.paths, nullptr);
    EXPECT_EQ(world.selectedNodes, nullptr);
}

TEST_F(MapPathTest, UpdateColoursNodesAndBoundsThem) {
    PathRecord* p = pathOf(2);
    cMapPath::fromRecord(p)->update();
    EXPECT_EQ(names[0]->handle->displayColor, kPathDefaultColor);
    EXPECT_FLOAT_EQ(p->mins[0], -8.0f);
    EXPECT_FLOAT_EQ(p->maxs[0], 9.0f);
    EXPECT_FALSE(p->flags & PathFlag::NeedsUpdate);

    loadDefinitions("@PointClass color(0 0 255) = path_corner []");
    p->className = Sys_StrDup("path_corner");
    cMapPath::fromRecord(p)->update();
    uint8_t rgba[4];
    Color_ToBytes(names[1]->handle->displayColor, rgba);
    EXPECT_EQ(rgba[2], 255);
    EXPECT_EQ(rgba[0], 0);
}

TEST_F(MapPathTest, SortByNumberPutsTheSecondHalfFirstOnTies) {
    PathRecord* p = pathOf(5);
    const int32_t numbers[5] = {3, 1, 2, 1, 0};
    for (int i = 0; i < 5; ++i)
        names[i]->number = numbers[i];
    p->firstNode = Path_SortNodes(p->firstNode);
    std::string order;
    NodeRecord* prev = nullptr;
    for (NodeRecord* n = p->firstNode; n; prev = n, n = n->next) {
        EXPECT_EQ(n->prev, prev);
        for (int i = 0; i < 5; ++i)
            if (names[i] == n) order += char('A' + i);
    }
    p->lastNode = prev;
    EXPECT_EQ(order, "EDBCA");
}

TEST_F(MapPathTest, SortThroughSelectionLinksLeavesThePathChainAlone) {
    PathRecord* p = pathOf(4);
    const int32_t numbers[4] = {2, 4, 1, 4};
    NodeRecord* chain = nullptr;
    for (int i = 3; i >= 0; --i) { // selection chain A B C D
        names[i]->number = numbers[i];
        names[i]->selNext = chain;
        if (chain) chain->selPrev = names[i];
        chain = names[i];
    }
    // Highest number first; ties keep their order.
    chain = Node_SortChain(chain, NodeLinks::Selection,
                           [](const NodeRecord* a, const NodeRecord* b) { return b->number > a->number; });
    std::string order;
    NodeRecord* prev = nullptr;
    for (NodeRecord* n = chain; n; prev = n, n = n->selNext) {
        EXPECT_EQ(n->selPrev, prev);
        for (int i = 0; i < 4; ++i)
            if (names[i] == n) order += char('A' + i);
    }
    EXPECT_EQ(order, "BDAC");
    EXPECT_EQ(p->firstNode, names[0]);
    EXPECT_EQ(names[0]->next, names[1]);
}

TEST_F(MapPathTest, NodeSphereMeshPointsShadesAndQuads) {
    const NodeSphereMesh& mesh = Node_BuildSphereMesh();
    EXPECT_EQ(&mesh, &Node_BuildSphereMesh()); // built once
    struct Row {
        int index;
        float x, y, z, shade;
    };
    const Row rows[] = {
        {0, 0, 0, 8, 1.0f},               // pole: 0.8 + 0.4009 capped
        {13 * 6 + 3, 0, 8, 0, 1.0f},      // 90 degrees both ways: +y, 1.067 capped
        {13 * 6 + 6, -8, 0, 0, 0.66637f}, // -x
        {13 * 12, 0, 0, -8, 0.39911f},    // opposite pole, not clamped below
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.index);
        EXPECT_NEAR(mesh.points[r.index][0], r.x, 1e-4f);
        EXPECT_NEAR(mesh.points[r.index][1], r.y, 1e-4f);
        EXPECT_NEAR(mesh.points[r.index][2], r.z, 1e-4f);
        EXPECT_NEAR(mesh.shades[r.index], r.shade, 1e-4f);
    }
    const uint16_t first[4] = {1, 0, 13, 14}, last[4] = {155, 154, 167, 168};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(mesh.quads[0][k], first[k]);
        EXPECT_EQ(mesh.quads[NodeSphereMesh::kQuads - 1][k], last[k]);
    }
}

} // namespace
