#include <cstring>

#include "EntityTestWorld.h"
#include "document/GroupChain.h"
#include "map/MapBrush.h"
#include "map/MapGroup.h"

namespace {

using MapGroupTest = EntityTestWorld;

TEST_F(MapGroupTest, DisplayColourLiesBetweenTheSchemeColours) {
    GroupRecord* g = Group_Create(map());
    Group_SetColor(g, 128, 0, 255, 255);
    const uint8_t expected[4] = {167, 80, 254, 255};
    uint8_t shown[4];
    Color_ToBytes(cMapGroup::fromRecord(g)->displayColor, shown);
    EXPECT_EQ(0, std::memcmp(shown, expected, 4));
    EXPECT_EQ(g->serial, 1);
    EXPECT_EQ(world.groups, g);
}

TEST_F(MapGroupTest, SetParentRefusesDuplicatesAndCycles) {
    GroupRecord* a = Group_Create(map());
    GroupRecord* b = Group_Create(map());
    GroupRecord* c = Group_Create(map());
    Group_SetParent(a, b);
    Group_SetParent(b, c); // a <- b <- c
    ASSERT_EQ(c->parent, b);
    struct Case {
        GroupRecord* parent;
        GroupRecord* child;
    } refused[] = {{a, b}, {a, c}, {c, a}, {b, a}, {a, a}};
    for (const Case& r : refused) {
        console.clear();
        Group_SetParent(r.parent, r.child);
        EXPECT_TRUE(consoleHas("duplicate group for another group"));
    }
    EXPECT_EQ(a->parent, nullptr);
    EXPECT_EQ(b->parent, a);
    EXPECT_EQ(c->parent, b);
    EXPECT_EQ(a->memberCount, 1);
    EXPECT_EQ(b->memberCount, 1);
    EXPECT_EQ(Group_Outermost(c), a);
}

TEST_F(MapGroupTest, SetParentAcrossWorldsDoesNothing) {
    MapWorld other{};
    Map_InitWorld(&other, nullptr);
    GroupRecord* mine = Group_Create(map());
    GroupRecord* theirs = Group_Create(Map_Handle(&other));
    Group_SetParent(mine, theirs);
    EXPECT_EQ(theirs->parent, nullptr);
    EXPECT_EQ(mine->memberCount, 0);
    Map_DestroyWorld(&other);
}

TEST_F(MapGroupTest, AddEntityRefusesTheWorldEntity) {
    EntityRecord* worldspawn = create("worldspawn", 0, 0, 0, EntityFlag::World);
    EntityRecord* e = create("light");
    GroupRecord* g = Group_Create(map());
    EXPECT_EQ(Group_AddEntity(g, worldspawn), worldspawn);
    EXPECT_EQ(Group_AddEntity(g, nullptr), nullptr);
    EXPECT_EQ(Group_AddEntity(g, e), nullptr);
    EXPECT_EQ(e->group, g);
    EXPECT_EQ(e->outerGroup, g);
    EXPECT_EQ(g->memberCount, 1);
    EXPECT_EQ(Group_AddEntity(g, e), nullptr); // again: nothing changes
    EXPECT_EQ(g->memberCount, 1);
}

TEST_F(MapGroupTest, GroupingAGroupedObjectWrapsItsHierarchy) {
    create("worldspawn", 0, 0, 0, EntityFlag::World);
    EntityRecord* e = create("light");
    GroupRecord* inner = Group_Create(map());
    GroupRecord* outer = Group_Create(map());
    Group_AddEntity(inner, e);
    Group_AddEntity(outer, e);
    EXPECT_EQ(e->group, inner);
    EXPECT_EQ(e->outerGroup, outer);
    EXPECT_EQ(inner->parent, outer);
    EXPECT_EQ(outer->memberCount, 1);
    console.clear();
    Group_AddEntity(inner, e); // inside the chain, not at its top
    EXPECT_TRUE(consoleHas("duplicate group for entity light"));
}

TEST_F(MapGroupTest, DeletingAGroupLeavesItsMembersInItsParent) {
    create("worldspawn", 0, 0, 0, EntityFlag::World);
    EntityRecord* e = create("light");
    GroupRecord* parent = Group_Create(map());
    GroupRecord* middle = Group_Create(map());
    GroupRecord* child = Group_Create(map());
    Group_SetParent(parent, middle);
    Group_SetParent(middle, child);
    Group_AddEntity(middle, e);
    ASSERT_EQ(e->outerGroup, parent);
    Map_SelectObject(&world, middle);

    Group_Delete(map(), middle);
    EXPECT_EQ(e->group, parent);
    EXPECT_EQ(e->outerGroup, parent);
    EXPECT_EQ(child->parent, parent);
    EXPECT_EQ(parent->memberCount, 2);
    EXPECT_EQ(world.selectedGroups, nullptr);
    int groups = 0;
    for (GroupRecord* g = world.groups; g; g = g->next)
        ++groups;
    EXPECT_EQ(groups, 2);
}

TEST_F(MapGroupTest, ReleasingTheLastMemberRemovesEmptyGroupsBottomUp) {
    create("worldspawn", 0, 0, 0, EntityFlag::World);
    EntityRecord* e = create("light");
    GroupRecord* a = Group_Create(map());
    GroupRecord* b = Group_Create(map());
    GroupRecord* c = Group_Create(map());
    Group_AddEntity(c, e);
    Group_AddEntity(b, e);
    Group_AddEntity(a, e); // c inside b inside a
    Map_ReleaseEntityGroups(&world, e, false);
    EXPECT_EQ(world.groups, nullptr);
    EXPECT_EQ(e->group, nullptr);
    EXPECT_EQ(console.count(), 3);
    EXPECT_TRUE(consoleHas("removing the whole group: last entity deleted (light)"));
}

} // namespace
