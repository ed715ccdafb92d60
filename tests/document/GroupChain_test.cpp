#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "TestWorld.h"
#include "document/GroupChain.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapGroup.h"

namespace {

class GroupChainTest : public ::testing::Test {
protected:
    ~GroupChainTest() override {
        Map_DeleteAllObjects(w);
        t.linkWorldspawn();
    }
    GroupRecord* group(GroupRecord* parent = nullptr) {
        GroupRecord* g = Group_Create(t.handle());
        if (parent) Group_SetParent(parent, g);
        return g;
    }
    EntityRecord* entity() {
        const float origin[3] = {0, 0, 0};
        return Entity_Create(t.handle(), "light", origin, EntityFlag::Point);
    }
    int groupCount() const {
        int n = 0;
        for (GroupRecord* g = w->groups; g; g = g->next)
            ++n;
        return n;
    }

    cConsoleCapture console;
    cTestWorld t;
    MapWorld* w = &t.world;
};

TEST_F(GroupChainTest, GroupingTwiceIntoTheTopGroupChangesNothing) {
    GroupRecord* g = group();
    BrushRecord* b = Brush_Create(t.handle(), &t.worldspawn);
    Map_AddBrushToGroupChain(b, g);
    Map_AddBrushToGroupChain(b, g);
    EXPECT_EQ(g->memberCount, 1);
    EXPECT_EQ(b->group, g);
    EXPECT_EQ(b->outerGroup, g);
}

TEST_F(GroupChainTest, GroupingWrapsTheWholeHierarchy) {
    GroupRecord* inner = group();
    GroupRecord* outer = group();
    EntityRecord* e = entity();
    Map_AddEntityToGroupChain(e, inner);
    Map_AddEntityToGroupChain(e, outer);
    EXPECT_EQ(e->group, inner);
    EXPECT_EQ(e->outerGroup, outer);
    EXPECT_EQ(inner->parent, outer);
    EXPECT_EQ(outer->memberCount, 1);
    EXPECT_EQ(inner->memberCount, 1);
}

TEST_F(GroupChainTest, AGroupInsideTheChainIsRefusedWithAWarning) {
    struct Case {
        bool brush;
        const char* message;
    };
    for (const Case& c :
         {Case{false, "duplicate group for entity light"}, Case{true, "duplicate group for brush"}}) {
        GroupRecord* top = group();
        GroupRecord* inner = group(top);
        console.clear();
        if (c.brush) {
            BrushRecord* b = Brush_Create(t.handle(), &t.worldspawn);
            Map_AddBrushToGroupChain(b, inner);
            Map_AddBrushToGroupChain(b, inner);
            EXPECT_EQ(b->outerGroup, top);
        } else {
            EntityRecord* e = entity();
            Map_AddEntityToGroupChain(e, inner);
            Map_AddEntityToGroupChain(e, inner);
            EXPECT_EQ(e->outerGroup, top);
        }
        EXPECT_TRUE(console.contains(c.message)) << c.message;
        EXPECT_EQ(inner->memberCount, 1);
        EXPECT_EQ(top->memberCount, 1);
    }
}

TEST_F(GroupChainTest, ReleasingTheLastMemberRemovesEmptyGroupsBottomUp) {
    struct Case {
        bool brush;
        const char* line;
    };
    for (const Case& c : {Case{false, "removing the whole group: last entity deleted (light)"},
                          Case{true, "removing the whole group: last brush deleted"}}) {
        GroupRecord* top = group();
        GroupRecord* middle = group(top);
        GroupRecord* bottom = group(middle);
        GroupRecord* keeper = group(); // unrelated, must survive
        ASSERT_EQ(groupCount(), 4);
        console.clear();
        if (c.brush) {
            BrushRecord* b = Brush_Create(t.handle(), &t.worldspawn);
            Map_AddBrushToGroupChain(b, bottom);
            Map_ReleaseBrushGroups(w, b);
            EXPECT_EQ(b->group, nullptr);
            Brush_Delete(t.handle(), b);
        } else {
            EntityRecord* e = entity();
            Map_AddEntityToGroupChain(e, bottom);
            Map_ReleaseEntityGroups(w, e, false);
            EXPECT_EQ(e->outerGroup, nullptr);
        }
        EXPECT_EQ(groupCount(), 1);
        EXPECT_EQ(w->groups, keeper);
        // One line per removed group.
        EXPECT_EQ(console.lines.filter(QString::fromLatin1(c.line)).size(), 3) << c.line;
        Map_UnlinkGroup(w, keeper);
        delete cMapGroup::fromRecord(keeper);
    }
}

TEST_F(GroupChainTest, ReleaseStopsAtAGroupThatKeepsMembers) {
    GroupRecord* top = group();
    GroupRecord* inner = group(top);
    EntityRecord* a = entity();
    EntityRecord* b = entity();
    Map_AddEntityToGroupChain(a, inner);
    Map_AddEntityToGroupChain(b, inner);
    Map_ReleaseEntityGroups(w, a, false);
    EXPECT_EQ(inner->memberCount, 1);
    EXPECT_EQ(groupCount(), 2);
    EXPECT_EQ(b->outerGroup, top);
}

TEST_F(GroupChainTest, DissolvingMovesMembersAndChildrenUp) {
    GroupRecord* top = group();
    GroupRecord* middle = group(top);
    GroupRecord* child = group(middle);
    EntityRecord* direct = entity();
    EntityRecord* nested = entity();
    EntityRecord* alone = entity();
    GroupRecord* only = group();
    Map_AddEntityToGroupChain(direct, middle);
    Map_AddEntityToGroupChain(nested, child);
    Map_AddEntityToGroupChain(alone, only);

    Map_DissolveGroup(w, middle, true);
    EXPECT_EQ(direct->group, top);
    EXPECT_EQ(direct->outerGroup, top);
    EXPECT_EQ(child->parent, top);
    EXPECT_TRUE(child->flags & RecordFlag::Selected);
    EXPECT_EQ(middle->memberCount, 0);
    EXPECT_EQ(top->memberCount, 2);
    Map_UnlinkGroup(w, middle);
    delete cMapGroup::fromRecord(middle);

    // The only group of an entity: it leaves the entity ungrouped.
    Map_DissolveGroup(w, only, false);
    EXPECT_EQ(alone->group, nullptr);
    EXPECT_EQ(alone->outerGroup, nullptr);
    EXPECT_EQ(nested->outerGroup, top);
}

} // namespace
