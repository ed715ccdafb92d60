#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <vector>

#include "ConsoleCapture.h"
#include "TestWorld.h"
#include "document/CullTree.h"
#include "document/MapWorld.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/ObjectRecords.h"

namespace {

struct Box {
    float mins[3];
    float maxs[3];
};

bool boxesTouch(const Box& a, const float mins[3], const float maxs[3]) {
    for (int i = 0; i < 3; ++i)
        if (a.mins[i] > maxs[i] || a.maxs[i] < mins[i]) return false;
    return true;
}

// Draws by counting. The frustum is an axis-aligned box: nodes beyond it are outside, nodes
// within it inside. Drawing follows the pass flags against the selected bit, as the objects do.
class cCountingVisitor : public cCullVisitor {
public:
    Box view{{-1e9f, -1e9f, -1e9f}, {1e9f, 1e9f, 1e9f}};
    int tests = 0;
    std::map<const void*, int> drawn;
    std::vector<const CullNode*> boxes;

    CullResult testBox(const float mins[3], const float maxs[3], int32_t* planeMask) override {
        ++tests;
        if (!boxesTouch(view, mins, maxs)) return CullResult::Outside;
        for (int i = 0; i < 3; ++i)
            if (mins[i] < view.mins[i] || maxs[i] > view.maxs[i]) return CullResult::Partial;
        *planeMask = 0;
        return CullResult::Inside;
    }
    bool drawEntity(EntityRecord* entity, uint32_t passFlags) override {
        return draw(entity, entity->flags, passFlags);
    }
    bool drawBrush(BrushRecord* brush, uint32_t passFlags) override {
        return draw(brush, brush->flags, passFlags);
    }
    void drawNodeBox(const CullNode* node) override { boxes.push_back(node); }

    int count(const void* object) const {
        auto it = drawn.find(object);
        return it == drawn.end() ? 0 : it->second;
    }
    void reset() {
        tests = 0;
        drawn.clear();
        boxes.clear();
    }

private:
    bool draw(const void* object, uint32_t flags, uint32_t passFlags) {
        const bool selected = flags & RecordFlag::Selected;
        if (!(passFlags & (selected ? CullPass::Selected : CullPass::Unselected))) return false;
        ++drawn[object];
        return true;
    }
};

void collectLeaves(CullNode* node, std::vector<CullNode*>* leaves) {
    if (node->isLeaf()) {
        leaves->push_back(node);
        return;
    }
    for (CullNode* child : node->children)
        collectLeaves(child, leaves);
}

int listLength(const CullItem* item) {
    int n = 0;
    for (; item; item = item->next)
        ++n;
    return n;
}

class CullTreeTest : public ::testing::Test {
protected:
    cConsoleCapture console; // a main window for MaxWorldSize
    std::deque<BrushRecord> brushRecords;
    std::deque<EntityRecord> entityRecords;
    cTestWorld t;
    MapWorld* w = &t.world;
    const int32_t savedWorldSize = g_mainWindow->settings.MaxWorldSize;

    ~CullTreeTest() override {
        Map_FreeCullTree(w);
        g_mainWindow->settings.MaxWorldSize = savedWorldSize;
    }

    BrushRecord* addBrush(const Box& box) {
        BrushRecord* b = &brushRecords.emplace_back();
        setBox(b->mins, b->maxs, box);
        b->entity = &t.worldspawn;
        List_Append(t.worldspawn.firstBrush, t.worldspawn.lastBrush, b);
        return b;
    }
    EntityRecord* addEntity(const Box& box) {
        EntityRecord* e = &entityRecords.emplace_back();
        setBox(e->mins, e->maxs, box);
        e->flags = EntityFlag::Point;
        e->owner = t.handle();
        List_Append(w->entities, w->entitiesTail, e);
        return e;
    }
    static void setBox(float mins[3], float maxs[3], const Box& box) {
        for (int i = 0; i < 3; ++i) {
            mins[i] = box.mins[i];
            maxs[i] = box.maxs[i];
        }
    }
    static Box cube(float x, float y, float z, float half = 8) {
        return {{x - half, y - half, z - half}, {x + half, y + half, z + half}};
    }

    CullTree* build(int32_t worldSize) {
        g_mainWindow->settings.MaxWorldSize = worldSize;
        Map_CreateCullTree(w);
        return Cull_TreeOf(w);
    }
    std::vector<CullNode*> leaves() {
        std::vector<CullNode*> out;
        if (Cull_TreeOf(w)->root) collectLeaves(Cull_TreeOf(w)->root, &out);
        return out;
    }
    // Leaves holding an item of the object.
    std::set<CullNode*> leavesOf(const void* object) {
        std::set<CullNode*> out;
        for (CullNode* leaf : leaves())
            if (Cull_FindItem(leaf, object)) out.insert(leaf);
        return out;
    }
    // Leaves the box touches.
    std::set<CullNode*> leavesTouching(const float mins[3], const float maxs[3]) {
        std::set<CullNode*> out;
        for (CullNode* leaf : leaves())
            if (Cull_BoxTouchesNode(leaf, mins, maxs)) out.insert(leaf);
        return out;
    }
    // Every filed object is in exactly the leaves its volume touches, once per leaf, and the
    // item counts match the lists.
    void expectConsistent() {
        for (CullNode* leaf : leaves()) {
            std::set<void*> seen;
            for (CullItem* item = leaf->items; item; item = item->next)
                EXPECT_TRUE(seen.insert(item->object).second) << "duplicate item";
            EXPECT_EQ(leaf->itemCount, listLength(leaf->items));
        }
        for (BrushRecord& b : brushRecords) {
            if (b.entity != &t.worldspawn) continue;
            float mins[3], maxs[3];
            Cull_TestVolume(&b, mins, maxs);
            EXPECT_EQ(leavesOf(&b), leavesTouching(mins, maxs));
        }
    }
    void drawFrame(cCountingVisitor* visitor, uint32_t passFlags = CullPass::Normal) {
        CullTree* tree = Cull_TreeOf(w);
        Cull_NewFrame(tree);
        Cull_Draw(tree, tree->root, visitor, passFlags, -1);
    }
};

TEST_F(CullTreeTest, RootOf1024SplitsIntoEightCellsThatNeverSplit) {
    for (int i = 0; i < 20; ++i)
        addBrush(cube(100 + i, 100, 100, 4));
    CullTree* tree = build(1024);
    ASSERT_NE(tree->root, nullptr);
    EXPECT_FALSE(tree->root->isLeaf());
    // Child j: x lower half for bit 0, y upper half for bit 1, z upper half for bit 2.
    const struct {
        int child;
        Box box;
    } cases[] = {
        {0, {{0, -512, -512}, {512, 0, 0}}}, {1, {{-512, -512, -512}, {0, 0, 0}}},
        {2, {{0, 0, -512}, {512, 512, 0}}},  {3, {{-512, 0, -512}, {0, 512, 0}}},
        {4, {{0, -512, 0}, {512, 0, 512}}},  {5, {{-512, -512, 0}, {0, 0, 512}}},
        {6, {{0, 0, 0}, {512, 512, 512}}},   {7, {{-512, 0, 0}, {0, 512, 512}}},
    };
    for (const auto& c : cases) {
        const CullNode* child = tree->root->children[c.child];
        SCOPED_TRACE(c.child);
        EXPECT_TRUE(child->isLeaf());
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(child->mins[i], c.box.mins[i]);
            EXPECT_EQ(child->maxs[i], c.box.maxs[i]);
        }
    }
    EXPECT_EQ(tree->root->children[6]->itemCount, 20);
    EXPECT_EQ(tree->root->items, nullptr);
    expectConsistent();
}

TEST_F(CullTreeTest, BuildFilesWorldBrushesAndEntitiesButNotTheWorldEntity) {
    t.worldspawn.mins[0] = -10; // the world entity has bounds of its own; it is never filed
    EntityRecord* e = addEntity(cube(-300, 300, 300));
    BrushRecord* b = addBrush(cube(300, 300, 300));
    build(1024);
    EXPECT_EQ(leavesOf(e).size(), 1u);
    EXPECT_EQ(leavesOf(b).size(), 1u);
    EXPECT_TRUE(leavesOf(&t.worldspawn).empty());
    cCountingVisitor visitor;
    drawFrame(&visitor);
    EXPECT_EQ(visitor.drawn.size(), 2u);
}

TEST_F(CullTreeTest, EighthItemSplitsALeafAndItemsMoveToTheChildrenTheyTouch) {
    // 8192: the root splits into cells of 4096; seven brushes stay in one cell.
    std::vector<BrushRecord*> placed;
    for (int i = 0; i < 7; ++i)
        placed.push_back(addBrush(cube(1000 + 100 * i, 1000, 1000)));
    CullTree* tree = build(8192);
    CullNode* cell = tree->root->children[6]; // x, y, z upper halves
    ASSERT_TRUE(cell->isLeaf());
    EXPECT_EQ(cell->itemCount, 7);

    // An eighth one spanning the cell's centre (2048) on x.
    BrushRecord* eighth = addBrush({{2040, 1000, 1000}, {2056, 1010, 1010}});
    Cull_UpdateBrush(tree, tree->root, eighth);
    ASSERT_FALSE(cell->isLeaf());
    EXPECT_EQ(cell->items, nullptr);
    EXPECT_EQ(leavesOf(eighth).size(), 2u);
    for (BrushRecord* b : placed)
        EXPECT_EQ(leavesOf(b).size(), 1u);
    expectConsistent();
}

TEST_F(CullTreeTest, ObjectAcrossCellBordersIsFiledInEveryCellAndDrawnOnce) {
    // Touching is inclusive: a box ending exactly on a border belongs to both sides.
    const struct {
        Box box;
        size_t cells;
    } cases[] = {
        {{{-10, 10, 10}, {10, 20, 20}}, 2}, {{{0, 10, 10}, {10, 20, 20}}, 2},
        {{{1, 10, 10}, {10, 20, 20}}, 1},   {{{-10, -10, 10}, {10, 10, 20}}, 4},
        {{{-1, -1, -1}, {1, 1, 1}}, 8},
    };
    for (const auto& c : cases) {
        brushRecords.clear();
        t.worldspawn.firstBrush = t.worldspawn.lastBrush = nullptr;
        BrushRecord* b = addBrush(c.box);
        build(1024);
        EXPECT_EQ(leavesOf(b).size(), c.cells);
        cCountingVisitor visitor;
        drawFrame(&visitor);
        EXPECT_EQ(visitor.count(b), 1);
    }
}

TEST_F(CullTreeTest, MovingABrushRefilesItAndRemovingItRecyclesItsItems) {
    BrushRecord* b = addBrush(cube(200, 200, 200));
    CullTree* tree = build(1024);
    const std::set<CullNode*> before = leavesOf(b);
    ASSERT_EQ(before.size(), 1u);

    setBox(b->mins, b->maxs, {{-300, -10, 200}, {-200, 10, 210}}); // now across the y border
    Cull_UpdateBrush(tree, tree->root, b);
    const std::set<CullNode*> after = leavesOf(b);
    EXPECT_EQ(after.size(), 2u);
    for (CullNode* leaf : before)
        EXPECT_EQ(after.count(leaf), 0u);
    expectConsistent();

    const int freeBefore = listLength(tree->freeItems);
    Cull_Remove(tree, tree->root, b);
    EXPECT_TRUE(leavesOf(b).empty());
    EXPECT_EQ(listLength(tree->freeItems), freeBefore + 2);
    Cull_Remove(tree, tree->root, b); // a second removal finds nothing
    EXPECT_EQ(listLength(tree->freeItems), freeBefore + 2);
}

TEST_F(CullTreeTest, WorldUpdateFilesOnlyTheWorldEntitysBrushes) {
    BrushRecord* b = addBrush(cube(100, 100, 100));
    CullTree* tree = build(1024);
    ASSERT_EQ(leavesOf(b).size(), 1u);
    EntityRecord* owner = addEntity(cube(100, 100, 100));
    b->entity = owner; // tied to an entity: reached through it from now on
    Cull_UpdateWorldBrush(w, b);
    EXPECT_TRUE(leavesOf(b).empty());
    Cull_UpdateWorldEntity(w, &t.worldspawn); // never filed
    EXPECT_TRUE(leavesOf(&t.worldspawn).empty());
    Cull_UpdateWorldEntity(w, owner);
    EXPECT_EQ(leavesOf(owner).size(), 1u);
    Cull_RemoveFromWorld(w, owner);
    EXPECT_TRUE(leavesOf(owner).empty());
    (void)tree;
}

TEST_F(CullTreeTest, ObjectsOutsideTheRootAreVisitedEveryFrame) {
    EntityRecord* far = addEntity(cube(5000, 0, 0));
    BrushRecord* inside = addBrush(cube(100, 100, 100));
    CullTree* tree = build(1024);
    EXPECT_TRUE(leavesOf(far).empty());
    EXPECT_EQ(listLength(tree->outside), 1);

    // Even when the frustum sees nothing of the root box.
    cCountingVisitor visitor;
    visitor.view = cube(5000, 0, 0, 100);
    drawFrame(&visitor);
    EXPECT_EQ(visitor.count(far), 1);
    EXPECT_EQ(visitor.count(inside), 0);
    drawFrame(&visitor);
    EXPECT_EQ(visitor.count(far), 2);

    // Moving it into the box files it in a cell; moving it out again, and removing it.
    setBox(far->mins, far->maxs, cube(-100, 100, 100));
    Cull_UpdateEntity(tree, tree->root, far);
    EXPECT_EQ(tree->outside, nullptr);
    EXPECT_EQ(leavesOf(far).size(), 1u);
    setBox(far->mins, far->maxs, cube(0, 0, -900));
    Cull_UpdateEntity(tree, tree->root, far);
    Cull_UpdateEntity(tree, tree->root, far);
    EXPECT_EQ(listLength(tree->outside), 1);
    EXPECT_TRUE(leavesOf(far).empty());
    Cull_Remove(tree, tree->root, far);
    EXPECT_EQ(tree->outside, nullptr);
}

TEST_F(CullTreeTest, EveryViewFrameDrawsEachObjectOnce) {
    BrushRecord* spanning = addBrush(cube(0, 0, 0, 50)); // in all eight cells
    EntityRecord* point = addEntity(cube(300, 300, 300));
    CullTree* tree = build(1024);
    cCountingVisitor first, second;
    // Two views drawing one after another; each frame has its own number.
    for (int frame = 0; frame < 3; ++frame) {
        drawFrame(&first);
        drawFrame(&second);
    }
    EXPECT_EQ(first.count(spanning), 3);
    EXPECT_EQ(second.count(spanning), 3);
    EXPECT_EQ(first.count(point), 3);
    EXPECT_EQ(second.count(point), 3);

    // After 2^32 frames the numbers start again; a stamp left from an old frame 1 must not
    // hide the object in the new frame 1.
    tree->frameCounter = UINT32_MAX;
    point->frameStamp = 1;
    first.reset();
    drawFrame(&first);
    EXPECT_EQ(tree->frame, 1u);
    EXPECT_EQ(first.count(point), 1);
    EXPECT_EQ(first.count(spanning), 1);
}

TEST_F(CullTreeTest, FrustumSkipsCellsOutsideAndStopsTestingInside) {
    BrushRecord* near = addBrush(cube(300, 300, 300));
    BrushRecord* far = addBrush(cube(-300, -300, -300));
    build(1024);
    cCountingVisitor visitor;
    visitor.view = {{1, 1, 1}, {600, 600, 600}};
    drawFrame(&visitor);
    EXPECT_EQ(visitor.count(near), 1);
    EXPECT_EQ(visitor.count(far), 0);
    EXPECT_EQ(visitor.tests, 3); // the root and the two non-empty cells

    visitor.reset();
    visitor.view = {{-2000, -2000, -2000}, {2000, 2000, 2000}};
    drawFrame(&visitor);
    EXPECT_EQ(visitor.tests, 1); // the root is inside: its subtree is not tested
    EXPECT_EQ(visitor.drawn.size(), 2u);
}

TEST_F(CullTreeTest, SelectionPassWalksTheCellsTheNormalPassFoundVisible) {
    BrushRecord* selectedNear = addBrush(cube(300, 300, 300));
    BrushRecord* unselectedNear = addBrush(cube(310, 300, 300));
    BrushRecord* selectedFar = addBrush(cube(-300, -300, -300));
    selectedNear->flags |= RecordFlag::Selected;
    selectedFar->flags |= RecordFlag::Selected;
    CullTree* tree = build(1024);
    cCountingVisitor visitor;
    visitor.view = {{1, 1, 1}, {600, 600, 600}};
    Cull_NewFrame(tree);
    Cull_Draw(tree, tree->root, &visitor, CullPass::Normal, -1);
    EXPECT_EQ(visitor.count(unselectedNear), 1);
    EXPECT_EQ(visitor.count(selectedNear), 0);
    const int tests = visitor.tests;

    Cull_Draw(tree, tree->root, &visitor, CullPass::Selection, -1);
    EXPECT_EQ(visitor.count(selectedNear), 1);
    EXPECT_EQ(visitor.count(unselectedNear), 1);
    EXPECT_EQ(visitor.count(selectedFar), 0); // its cell was not visible
    EXPECT_EQ(visitor.tests, tests);          // no frustum tests in the selection pass

    Cull_DrawBoxes(tree, tree->root, &visitor);
    EXPECT_EQ(visitor.boxes.size(), 2u); // the root and the visible cell
}

TEST_F(CullTreeTest, DecalIsFiledByItsDecalBounds) {
    // The entity's own box lies in one cell; its decal square reaches into the next one, where
    // fragments show even when the first cell is culled.
    EntityModel decal{};
    int fragment = 0;
    EntityRecord* e = addEntity({{100, 100, 100}, {110, 110, 110}});
    e->modelKind = EntityModelKind::Decal;
    e->model = &decal;
    setBox(decal.mins, decal.maxs, {{-20, 100, 100}, {132, 132, 132}});
    decal.fragments = &fragment;
    build(1024);
    Cull_UpdateWorldEntity(w, e);
    CullNode* root = Cull_TreeOf(w)->root;
    EXPECT_EQ(leavesOf(e), (std::set<CullNode*>{root->children[6], root->children[7]}));
}

TEST_F(CullTreeTest, RebuildAndClearRecycleItems) {
    for (int i = 0; i < 30; ++i)
        addBrush(cube(float(i * 20 - 300), 0, 0));
    CullTree* tree = build(8192);
    expectConsistent();
    Cull_Clear(tree);
    EXPECT_EQ(tree->root, nullptr);
    const int pooled = listLength(tree->freeItems);
    EXPECT_GE(pooled, 30);
    Map_CreateCullTree(w); // same tree, items from the pool
    EXPECT_EQ(Cull_TreeOf(w), tree);
    EXPECT_LT(listLength(tree->freeItems), pooled);
    expectConsistent();
    Cull_UpdateWorldBrush(w, &brushRecords.front()); // updates without a root are fine too
    Cull_Clear(tree);
    Cull_UpdateWorldBrush(w, &brushRecords.front());
    EXPECT_EQ(tree->root, nullptr);
}

} // namespace
