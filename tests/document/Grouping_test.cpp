#include <gtest/gtest.h>

#include <string>

#include "OperationFixture.h"
#include "document/Grouping.h"
#include "document/MapSelection.h"
#include "map/MapGroup.h"

namespace {

class GroupingTest : public OperationFixture {
protected:
    GroupRecord* groupOf(std::initializer_list<BrushRecord*> brushes) {
        GroupRecord* g = Group_Create(map());
        for (BrushRecord* b : brushes)
            EXPECT_EQ(Group_AddBrush(g, b), nullptr);
        return g;
    }
    void selectWithBrushes(EntityRecord* e) {
        Map_SelectObject(w, e);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            Map_SelectObject(w, b);
    }
    int groupCount() const {
        int n = 0;
        for (const GroupRecord* g = w->groups; g; g = g->next)
            ++n;
        return n;
    }
};

// ---- Group and ungroup ------------------------------------------------------------------------------

TEST_F(GroupingTest, GroupsUngroupedObjectsIntoANewSelectedGroup) {
    BrushRecord* a = cube(worldspawn, 0);
    BrushRecord* b = cube(worldspawn, 128);
    EntityRecord* light = pointEntity("light", 300);
    Map_SelectObject(w, a);
    Map_SelectObject(w, b);
    Map_SelectObject(w, light);
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdGroup(w));

    GroupRecord* g = w->groups;
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->memberCount, 3);
    EXPECT_EQ(w->selectedGroups, g);
    EXPECT_EQ(a->group, g);
    EXPECT_EQ(b->outerGroup, g);
    EXPECT_EQ(light->outerGroup, g);
    expectUndoRedo("Group", before);
}

TEST_F(GroupingTest, SharedGroupIsRefusedAndAThirdObjectNestsIt) {
    BrushRecord* a = cube(worldspawn, 0);
    BrushRecord* b = cube(worldspawn, 128);
    BrushRecord* c = cube(worldspawn, 256);
    GroupRecord* old = groupOf({a, b});
    Map_SelectGroup(w, old);
    const UndoLevel* newest = Undo_NewestLevel(history);
    EXPECT_FALSE(Map_CmdGroup(w));
    EXPECT_TRUE(console.contains("cannot group objects that already belong to the same group"));
    EXPECT_EQ(Undo_NewestLevel(history), newest);
    EXPECT_EQ(groupCount(), 1);

    Map_SelectObject(w, c);
    const std::string before = dump();
    ASSERT_TRUE(Map_CmdGroup(w));
    GroupRecord* fresh = w->groups;
    ASSERT_NE(fresh, old);
    EXPECT_EQ(old->parent, fresh);
    EXPECT_EQ(fresh->memberCount, 2);
    EXPECT_EQ(a->group, old);
    EXPECT_EQ(a->outerGroup, fresh);
    EXPECT_EQ(c->group, fresh);
    EXPECT_EQ(w->selectedGroups, fresh);
    EXPECT_EQ(old->flags & GroupFlag::Selected, 0u);
    expectUndoRedo("Group", before);
}

TEST_F(GroupingTest, CommandsRefuseGroupIgnoreMode) {
    BrushRecord* a = cube(worldspawn, 0);
    Map_SelectObject(w, a);
    w->selectionMode = SelectionMode::IgnoreGroups;
    EXPECT_FALSE(Map_CmdGroup(w));
    EXPECT_TRUE(console.contains("cannot group objects in group ignore mode"));
    EXPECT_FALSE(Map_CmdUngroup(w));
    EXPECT_TRUE(console.contains("cannot ungroup objects in group ignore mode"));
    EXPECT_EQ(w->groups, nullptr);
}

TEST_F(GroupingTest, UngroupMovesMembersAndChildrenUp) {
    BrushRecord* a = cube(worldspawn, 0);
    BrushRecord* b = cube(worldspawn, 128);
    BrushRecord* c = cube(worldspawn, 256);
    GroupRecord* inner = groupOf({a, b});
    Map_SelectGroup(w, inner);
    Map_SelectObject(w, c);
    ASSERT_TRUE(Map_GroupSelection(w));
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdUngroup(w));

    EXPECT_EQ(groupCount(), 1);
    EXPECT_EQ(w->groups, inner);
    EXPECT_EQ(inner->parent, nullptr);
    EXPECT_EQ(w->selectedGroups, inner);
    EXPECT_EQ(a->outerGroup, inner);
    EXPECT_EQ(c->group, nullptr);
    EXPECT_EQ(c->outerGroup, nullptr);
    expectUndoRedo("Ungroup", before);
}

// ---- Move to world ----------------------------------------------------------------------------------

TEST_F(GroupingTest, MoveToWorldWithOnlyWorldBrushesClearsTheSelection) {
    BrushRecord* a = cube(worldspawn, 0);
    Map_SelectObject(w, a);
    const UndoLevel* newest = Undo_NewestLevel(history);
    ASSERT_TRUE(Map_CmdMoveToWorld(w));
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(Undo_NewestLevel(history), newest);
}

TEST_F(GroupingTest, MovingTheLastBrushDeletesTheEntity) {
    EntityRecord* door = brushEntity("func_door");
    BrushRecord* b = cube(door, 0);
    EntityRecord* wall = brushEntity("func_wall");
    BrushRecord* stays = cube(wall, 128);
    BrushRecord* moves = cube(wall, 256);
    selectWithBrushes(door);
    Map_SelectObject(w, moves);
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdMoveToWorld(w));

    ASSERT_EQ(entities().size(), 1u);
    EXPECT_EQ(entities().front(), wall);
    EXPECT_EQ(wall->firstBrush, stays);
    EXPECT_EQ(b->entity, worldspawn);
    EXPECT_EQ(moves->entity, worldspawn);
    EXPECT_NE(b->flags & BrushFlags::Selected, 0u);
    EXPECT_EQ(brushCount(worldspawn), 2);
    expectUndoRedo("Move to World", before);
}

// ---- Tie to entity ----------------------------------------------------------------------------------

TEST_F(GroupingTest, TieMakesOneEntityForAllBrushes) {
    BrushRecord* a = cube(worldspawn, 0);
    BrushRecord* b = cube(worldspawn, 128);
    GroupRecord* g = groupOf({a, b});
    Map_SelectGroup(w, g);
    const std::string before = dump();

    EntityRecord* made = nullptr;
    ASSERT_TRUE(Map_CmdTieToEntity(w, "func_door", false, &made));

    ASSERT_NE(made, nullptr);
    ASSERT_EQ(entities().size(), 1u);
    EXPECT_STREQ(made->classname, "func_door");
    EXPECT_EQ(brushCount(made), 2);
    EXPECT_EQ(a->entity, made);
    EXPECT_EQ(a->group, nullptr);
    EXPECT_EQ(w->groups, nullptr); // its last members left it
    EXPECT_NE(made->flags & EntityFlag::Selected, 0u);
    EXPECT_EQ(worldspawn->firstBrush, nullptr);
    expectUndoRedo("Tie to Entity", before);
}

TEST_F(GroupingTest, TieIntoAnExistingEntityRemovesEmptiedSources) {
    EntityRecord* door = brushEntity("func_door");
    cube(door, 0);
    EntityRecord* wall = brushEntity("func_wall");
    BrushRecord* moved = cube(wall, 128);
    BrushRecord* world = cube(worldspawn, 256);
    // Undo keeps one selection state per changed object: the receiver is selected throughout.
    selectWithBrushes(door);
    Map_SelectObject(w, moved);
    Map_SelectObject(w, world);
    const std::string before = dump();

    EntityRecord* into = door;
    ASSERT_TRUE(Map_TieToEntity(w, nullptr, &into));

    EXPECT_EQ(into, door);
    EXPECT_EQ(brushCount(door), 3);
    ASSERT_EQ(entities().size(), 1u);
    EXPECT_EQ(moved->entity, door);
    EXPECT_EQ(world->entity, door);
    expectUndoRedo("Tie to Entity", before);
}

TEST_F(GroupingTest, TieEachMakesAnEntityPerBrush) {
    BrushRecord* brushes[3] = {cube(worldspawn, 0), cube(worldspawn, 128), cube(worldspawn, 256)};
    for (BrushRecord* b : brushes)
        Map_SelectObject(w, b);
    const std::string before = dump();

    EntityRecord* last = nullptr;
    ASSERT_TRUE(Map_CmdTieToEntity(w, "func_wall", true, &last));

    const std::vector<EntityRecord*> made = entities();
    ASSERT_EQ(made.size(), 3u);
    EXPECT_EQ(last, made.back());
    for (EntityRecord* e : made) {
        EXPECT_STREQ(e->classname, "func_wall");
        EXPECT_EQ(brushCount(e), 1);
        EXPECT_NE(e->flags & EntityFlag::Selected, 0u);
        EXPECT_NE(e->firstBrush->flags & BrushFlags::Selected, 0u);
    }
    EXPECT_EQ(worldspawn->firstBrush, nullptr);
    expectUndoRedo("Tie to Entity", before);
}

TEST_F(GroupingTest, TieWithoutAClassIsRefused) {
    BrushRecord* a = cube(worldspawn, 0);
    Map_SelectObject(w, a);
    const std::string before = dump();
    const UndoLevel* newest = Undo_NewestLevel(history);
    for (bool each : {false, true}) {
        console.clear();
        EntityRecord* slot = nullptr;
        EXPECT_FALSE(Map_CmdTieToEntity(w, "", each, &slot));
        EXPECT_EQ(slot, nullptr);
        EXPECT_TRUE(console.contains(each ? "Map_TieEachToEntity: no entity class given"
                                          : "Map_TieToEntity: no entity class given"));
    }
    EXPECT_EQ(Undo_NewestLevel(history), newest);
    EXPECT_EQ(dump(), before);
}

} // namespace
