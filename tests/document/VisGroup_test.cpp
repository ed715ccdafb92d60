#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/VisGroupList.h"
#include "render/ColorScheme.h"

namespace {

// A world whose worldspawn, entities and brushes all have handles, so every one of them can hold
// visgroups. The world frees them all.
class VisGroupTest : public ::testing::Test {
protected:
    VisGroupTest() {
        Map_InitWorld(&world, nullptr);
        worldspawn = addEntity(EntityFlag::World);
    }
    ~VisGroupTest() override { Map_DestroyWorld(&world); }

    MapHandle map() { return Map_Handle(&world); }
    EntityRecord* addEntity(uint32_t flags = 0) {
        auto* entity = new cMapEntity;
        entity->record->flags = flags;
        entity->record->owner = map();
        entity->id = Map_AllocId(&world);
        List_Append(world.entities, world.entitiesTail, entity->record);
        return entity->record;
    }
    BrushRecord* addBrush(EntityRecord* entity) {
        auto* brush = new cMapBrush;
        Map_LinkBrush(&world, brush->record, entity);
        return brush->record;
    }
    static void join(EntityRecord* e, VisGroup* set) { e->handle->visGroups.add(set); }
    static void join(BrushRecord* b, VisGroup* set) { b->handle->visGroups.add(set); }
    static bool member(EntityRecord* e, VisGroup* set) { return e->handle->visGroups.contains(set); }
    static bool member(BrushRecord* b, VisGroup* set) { return b->handle->visGroups.contains(set); }
    template <class R> static bool hidden(const R* r) { return r->flags & RecordFlag::Hidden; }
    template <class R> static bool selected(const R* r) { return r->flags & RecordFlag::Selected; }

    std::vector<int32_t> ids() const {
        std::vector<int32_t> out;
        for (const auto& [id, set] : *world.visGroups) {
            EXPECT_EQ(id, set->id);
            out.push_back(id);
        }
        return out;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& [id, set] : *world.visGroups)
            out.push_back(set->name ? set->name : "(none)");
        return out;
    }

    MapWorld world{};
    EntityRecord* worldspawn = nullptr;
};

// ---- Ids ---------------------------------------------------------------------------------------

TEST_F(VisGroupTest, IdsStartAtOneAgainAfterDeletingAll) {
    EXPECT_EQ(Map_CreateVisGroup(&world, "a")->id, 1);
    EXPECT_EQ(Map_CreateVisGroup(&world, nullptr)->id, 2);
    Map_DeleteAllVisGroups(&world);
    EXPECT_TRUE(world.visGroups->empty());
    EXPECT_EQ(Map_CreateVisGroup(&world, "b")->id, 1);
}

TEST_F(VisGroupTest, CounterWrapsToOneAndPassesOverIdsInUse) {
    Map_CreateVisGroup(&world, "one");
    world.visGroupIdCounter = INT_MAX;
    EXPECT_EQ(Map_CreateVisGroup(&world, "wrapped")->id, 2);
    EXPECT_EQ(names(), (std::vector<std::string>{"one", "wrapped"}));
}

TEST_F(VisGroupTest, NewSetHasNoMembersAndAColourBetweenTheSchemeBounds) {
    const VisGroup* set = Map_CreateVisGroup(&world, nullptr);
    EXPECT_EQ(set->name, nullptr);
    EXPECT_EQ(set->memberCount, 0);
    EXPECT_EQ(set->visible, 1);
    uint8_t lo[4], hi[4];
    Color_FillRGBA(lo, COLOR_GROUP_RANDOM_MIN);
    Color_FillRGBA(hi, COLOR_GROUP_RANDOM_MAX);
    for (int k = 0; k < 3; ++k) {
        EXPECT_GE(set->color[k], std::min(lo[k], hi[k])) << k;
        EXPECT_LE(set->color[k], std::max(lo[k], hi[k])) << k;
    }
    EXPECT_EQ(set->color[3], 255);
}

TEST_F(VisGroupTest, SetNameCopiesAndClears) {
    VisGroup* set = Map_CreateVisGroup(&world, "walls");
    char buffer[] = "walls";
    VisGroup_SetName(set, buffer);
    buffer[0] = 'h';
    EXPECT_STREQ(set->name, "walls");
    VisGroup_SetName(set, nullptr);
    EXPECT_EQ(set->name, nullptr);
}

// ---- Purge and renumber ------------------------------------------------------------------------

TEST_F(VisGroupTest, PurgeTable) {
    const struct {
        const char* name;
        std::vector<int> withMembers; // 1-based positions of the five sets that get a member
        bool purged;
        std::vector<std::string> left;
    } cases[] = {
        {"sets 2 and 4 empty", {1, 3, 5}, true, {"s1", "s3", "s5"}},
        {"every set used", {1, 2, 3, 4, 5}, false, {"s1", "s2", "s3", "s4", "s5"}},
        {"all empty", {}, true, {}},
    };
    for (const auto& c : cases) {
        Map_ClearWorld(&world);
        EntityRecord* entity = addEntity();
        std::vector<VisGroup*> sets;
        for (int n = 1; n <= 5; ++n)
            sets.push_back(Map_CreateVisGroup(&world, ("s" + std::to_string(n)).c_str()));
        for (int n : c.withMembers)
            join(entity, sets[n - 1]);

        EXPECT_EQ(Map_PurgeVisGroups(&world), c.purged) << c.name;
        EXPECT_EQ(names(), c.left) << c.name;
        std::vector<int32_t> expectIds;
        for (size_t k = 0; k < c.left.size(); ++k)
            expectIds.push_back(int32_t(k + 1));
        EXPECT_EQ(ids(), expectIds) << c.name;
        // Memberships follow the sets, whatever their new ids.
        EXPECT_EQ(entity->handle->visGroups.count(), int32_t(c.withMembers.size())) << c.name;
        if (c.purged) {
            EXPECT_EQ(world.visGroupIdCounter, int32_t(c.left.size())) << c.name;
        }
    }
}

TEST_F(VisGroupTest, RenumberKeepsOrderAndResetsTheCounter) {
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    VisGroup* b = Map_CreateVisGroup(&world, "b");
    VisGroup* c = Map_CreateVisGroup(&world, "c");
    ASSERT_TRUE(Map_SetVisGroupId(&world, a, 40, "test"));
    ASSERT_TRUE(Map_SetVisGroupId(&world, b, 7, "test"));
    EXPECT_EQ(world.visGroupIdCounter, 40);
    VisGroup_Renumber(map());
    EXPECT_EQ(names(), (std::vector<std::string>{"c", "b", "a"}));
    EXPECT_EQ(ids(), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(c->id, 1);
    EXPECT_EQ(world.visGroupIdCounter, 3);
    EXPECT_EQ(Map_CreateVisGroup(&world, "d")->id, 4);
}

// ---- Show and hide -----------------------------------------------------------------------------

TEST_F(VisGroupTest, HidingASetHidesMembersSharedWithAVisibleSet) {
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    VisGroup* b = Map_CreateVisGroup(&world, "b");
    VisGroup* c = Map_CreateVisGroup(&world, "c");
    EntityRecord* lamp = addEntity();
    BrushRecord* lampBrush = addBrush(lamp); // not a member itself
    BrushRecord* wall = addBrush(worldspawn);
    BrushRecord* floor = addBrush(worldspawn);
    join(lamp, a);
    join(lamp, b);
    join(wall, a);
    join(wall, c);
    join(floor, c);
    join(worldspawn, a); // the world entity's own membership hides nothing

    Map_SetVisGroupVisible(&world, a);
    EXPECT_TRUE(hidden(lamp));
    EXPECT_TRUE(hidden(lampBrush));
    EXPECT_TRUE(hidden(wall));
    EXPECT_FALSE(hidden(floor));
    EXPECT_FALSE(hidden(worldspawn));
    EXPECT_EQ(a->visible, 0);
    EXPECT_EQ(b->visible, 0); // every member of b went with a
    EXPECT_EQ(c->visible, 1); // floor is still shown

    Map_SetVisGroupVisible(&world, b); // b is hidden: showing it shows the lamp again
    EXPECT_FALSE(hidden(lamp));
    EXPECT_FALSE(hidden(lampBrush));
    EXPECT_TRUE(hidden(wall));
    EXPECT_EQ(a->visible, 1);
    EXPECT_EQ(b->visible, 1);

    Map_SetVisGroupVisible(&world, a); // a is visible again through the lamp: this hides
    EXPECT_TRUE(hidden(wall) && hidden(lamp) && hidden(lampBrush));
    Map_SetVisGroupVisible(&world, a);
    EXPECT_FALSE(hidden(wall) || hidden(lamp) || hidden(lampBrush));
    EXPECT_EQ(a->visible + b->visible + c->visible, 3);
}

TEST_F(VisGroupTest, HidingDropsHiddenObjectsFromTheSelection) {
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    EntityRecord* lamp = addEntity();
    BrushRecord* lampBrush = addBrush(lamp);
    BrushRecord* wall = addBrush(worldspawn);
    BrushRecord* floor = addBrush(worldspawn);
    join(lamp, a);
    join(wall, a);
    Map_SelectObject(&world, lamp);
    Map_SelectObject(&world, lampBrush);
    Map_SelectObject(&world, wall);
    Map_SelectObject(&world, floor);

    Map_SetVisGroupVisible(&world, a);
    EXPECT_FALSE(selected(lamp) || selected(lampBrush) || selected(wall));
    EXPECT_TRUE(selected(floor));
    EXPECT_EQ(world.selectedBrushes, floor);
    EXPECT_EQ(world.selectedEntities, nullptr);
}

TEST_F(VisGroupTest, EmptySetOnlyFlipsItsFlag) {
    VisGroup* used = Map_CreateVisGroup(&world, "used");
    VisGroup* empty = Map_CreateVisGroup(&world, "empty");
    BrushRecord* wall = addBrush(worldspawn);
    join(wall, used);
    Map_SetVisGroupVisible(&world, empty);
    EXPECT_EQ(empty->visible, 0);
    EXPECT_EQ(used->visible, 1);
    EXPECT_FALSE(hidden(wall));
    Map_SetVisGroupVisible(&world, empty);
    EXPECT_EQ(empty->visible, 1);
}

TEST_F(VisGroupTest, StatesFollowHiddenBits) {
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    VisGroup* b = Map_CreateVisGroup(&world, "b");
    EntityRecord* lamp = addEntity();
    BrushRecord* wall = addBrush(worldspawn);
    join(lamp, a);
    join(wall, b);
    join(worldspawn, b); // never counts
    lamp->flags |= RecordFlag::Hidden;
    wall->flags |= RecordFlag::Hidden;
    Map_UpdateVisGroupStates(&world);
    EXPECT_EQ(a->visible, 0);
    EXPECT_EQ(b->visible, 0);
    wall->flags &= ~RecordFlag::Hidden;
    Map_UpdateVisGroupStates(&world);
    EXPECT_EQ(a->visible, 0);
    EXPECT_EQ(b->visible, 1);
}

// ---- Delete, merge, assign, select ------------------------------------------------------------

TEST_F(VisGroupTest, DeleteDropsEveryMembership) {
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    VisGroup* b = Map_CreateVisGroup(&world, "b");
    EntityRecord* lamp = addEntity();
    BrushRecord* wall = addBrush(worldspawn);
    join(lamp, a);
    join(lamp, b);
    join(wall, a);
    join(worldspawn, a);
    Map_DeleteVisGroup(&world, a);
    EXPECT_EQ(Map_FindVisGroup(&world, 1), nullptr);
    EXPECT_EQ(lamp->handle->visGroups.count(), 1);
    EXPECT_EQ(wall->handle->visGroups.count(), 0);
    EXPECT_EQ(worldspawn->handle->visGroups.count(), 0);
    EXPECT_EQ(b->memberCount, 1);
}

TEST_F(VisGroupTest, MergeMovesMembersOnceAndDeletesTheSource) {
    VisGroup* from = Map_CreateVisGroup(&world, "from");
    VisGroup* into = Map_CreateVisGroup(&world, "into");
    EntityRecord* lamp = addEntity();
    BrushRecord* lampBrush = addBrush(lamp);
    BrushRecord* wall = addBrush(worldspawn);
    join(lamp, from);
    join(lampBrush, from);
    join(wall, from);
    join(wall, into); // already there: not counted twice
    join(worldspawn, from);

    EXPECT_FALSE(Map_MergeVisGroups(&world, 1, 99));
    EXPECT_FALSE(Map_MergeVisGroups(&world, 99, 2));
    EXPECT_FALSE(Map_MergeVisGroups(&world, 1, 1));
    EXPECT_EQ(Map_FindVisGroup(&world, 1), from);

    EXPECT_TRUE(Map_MergeVisGroups(&world, 1, 2));
    EXPECT_EQ(Map_FindVisGroup(&world, 1), nullptr);
    EXPECT_TRUE(member(lamp, into));
    EXPECT_TRUE(member(lampBrush, into));
    EXPECT_TRUE(member(wall, into));
    EXPECT_FALSE(member(worldspawn, into));
    EXPECT_EQ(worldspawn->handle->visGroups.count(), 0);
    EXPECT_EQ(wall->handle->visGroups.count(), 1);
    EXPECT_EQ(into->memberCount, 3);
}

TEST_F(VisGroupTest, AssignSelectionAddsSelectedEntitiesAndBrushes) {
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    EntityRecord* lamp = addEntity();
    BrushRecord* wall = addBrush(worldspawn);
    BrushRecord* floor = addBrush(worldspawn);
    join(wall, a);
    Map_AssignSelectionToVisGroup(&world, 1); // nothing selected
    EXPECT_EQ(a->memberCount, 1);
    Map_SelectObject(&world, lamp);
    Map_SelectObject(&world, wall);
    Map_AssignSelectionToVisGroup(&world, 99);
    EXPECT_EQ(a->memberCount, 1);
    Map_AssignSelectionToVisGroup(&world, 1);
    EXPECT_TRUE(member(lamp, a));
    EXPECT_FALSE(member(floor, a));
    EXPECT_EQ(a->memberCount, 2);
}

TEST_F(VisGroupTest, SelectSetTakesShownMembers) {
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    EntityRecord* lamp = addEntity();
    BrushRecord* lampShown = addBrush(lamp);
    BrushRecord* lampHidden = addBrush(lamp);
    EntityRecord* door = addEntity(); // hidden member: skipped with its brushes
    BrushRecord* doorBrush = addBrush(door);
    EntityRecord* train = addEntity(); // not a member, one member brush
    BrushRecord* trainMember = addBrush(train);
    BrushRecord* trainOther = addBrush(train);
    BrushRecord* wall = addBrush(worldspawn);
    BrushRecord* wallHidden = addBrush(worldspawn);
    BrushRecord* floor = addBrush(worldspawn);
    for (EntityRecord* e : {lamp, door})
        join(e, a);
    for (BrushRecord* b : {trainMember, wall, wallHidden})
        join(b, a);
    lampHidden->flags |= RecordFlag::Hidden;
    door->flags |= RecordFlag::Hidden;
    wallHidden->flags |= RecordFlag::Hidden;
    Map_SelectObject(&world, floor);

    Map_SelectVisGroup(&world, 99);
    EXPECT_TRUE(selected(floor));
    Map_SelectVisGroup(&world, 1);
    EXPECT_TRUE(selected(lamp) && selected(lampShown) && selected(trainMember) && selected(wall));
    EXPECT_FALSE(selected(lampHidden) || selected(door) || selected(doorBrush) || selected(train) ||
                 selected(trainOther) || selected(wallHidden) || selected(floor));
}

// ---- Plain API ---------------------------------------------------------------------------------

TEST_F(VisGroupTest, NullMapAnswersZero) {
    EXPECT_EQ(VisGroup_Create(nullptr), 0);
    EXPECT_EQ(VisGroup_GetCount(nullptr), 0);
    EXPECT_EQ(VisGroup_FindIndex(nullptr, 1), -1);
    int32_t id = 5;
    EXPECT_EQ(VisGroup_GetInfo(nullptr, 0, nullptr, 0, &id, nullptr, nullptr), 0);
    EXPECT_EQ(id, 5);
    VisGroup_Delete(nullptr, 1);
    VisGroup_Set(nullptr, 1, "x", 2, nullptr);
    VisGroup_Renumber(nullptr);
}

TEST_F(VisGroupTest, CreateCountFindAndDelete) {
    EXPECT_EQ(VisGroup_Create(map()), 1);
    EXPECT_EQ(VisGroup_Create(map()), 2);
    EXPECT_EQ(VisGroup_Create(map()), 3);
    EXPECT_EQ(VisGroup_GetCount(map()), 3);
    EXPECT_EQ(VisGroup_FindIndex(map(), 1), 0);
    EXPECT_EQ(VisGroup_FindIndex(map(), 3), 2);
    EXPECT_EQ(VisGroup_FindIndex(map(), 4), -1);
    VisGroup_Delete(map(), 2);
    VisGroup_Delete(map(), 2);
    EXPECT_EQ(VisGroup_GetCount(map()), 2);
    EXPECT_EQ(VisGroup_FindIndex(map(), 3), 1);
}

TEST_F(VisGroupTest, GetInfoCopiesIntoTheGivenOutputs) {
    Map_CreateVisGroup(&world, nullptr);
    VisGroup* named = Map_CreateVisGroup(&world, "brushwork");
    named->visible = 7; // any non-zero reads as 1
    const uint8_t colour[4] = {1, 2, 3, 4};
    std::memcpy(named->color, colour, 4);

    char name[6] = "xxxxx";
    int32_t id = 0, visible = 0;
    uint8_t rgba[4] = {};
    EXPECT_EQ(VisGroup_GetInfo(map(), 1, name, sizeof name, &id, &visible, rgba), 1);
    EXPECT_STREQ(name, "brush");
    EXPECT_EQ(id, 2);
    EXPECT_EQ(visible, 1);
    EXPECT_EQ(std::memcmp(rgba, colour, 4), 0);

    char untouched[8] = "keep";
    EXPECT_EQ(VisGroup_GetInfo(map(), 0, untouched, sizeof untouched, &id, nullptr, nullptr), 1);
    EXPECT_STREQ(untouched, "keep");
    EXPECT_EQ(id, 1);
    EXPECT_EQ(VisGroup_GetInfo(map(), 1, name, 0, nullptr, nullptr, nullptr), 1);

    for (int32_t index : {-1, 2, INT_MAX})
        EXPECT_EQ(VisGroup_GetInfo(map(), index, name, sizeof name, &id, &visible, rgba), 0) << index;
}

TEST_F(VisGroupTest, SetRenamesRecoloursAndMoves) {
    VisGroup* set = Map_CreateVisGroup(&world, "old");
    const uint8_t before[4] = {set->color[0], set->color[1], set->color[2], set->color[3]};
    VisGroup_Set(map(), 1, "new", 1, nullptr);
    EXPECT_STREQ(set->name, "new");
    EXPECT_EQ(std::memcmp(set->color, before, 4), 0);

    const uint8_t rgba[4] = {10, 20, 30, 40};
    VisGroup_Set(map(), 1, "moved", 9, rgba);
    EXPECT_EQ(Map_FindVisGroup(&world, 1), nullptr);
    EXPECT_EQ(Map_FindVisGroup(&world, 9), set);
    EXPECT_EQ(set->id, 9);
    EXPECT_EQ(std::memcmp(set->color, rgba, 4), 0);
    EXPECT_EQ(world.visGroupIdCounter, 9);
    EXPECT_EQ(VisGroup_Create(map()), 10);

    VisGroup_Set(map(), 10, "lower", 3, nullptr);
    EXPECT_EQ(world.visGroupIdCounter, 10); // not lowered
    VisGroup_Set(map(), 42, "nobody", 43, nullptr);
    EXPECT_EQ(VisGroup_GetCount(map()), 2);
}

TEST_F(VisGroupTest, SetRefusesIdsBelowOneOrInUse) {
    cConsoleCapture console;
    VisGroup* a = Map_CreateVisGroup(&world, "a");
    VisGroup* b = Map_CreateVisGroup(&world, "b");
    const uint8_t rgba[4] = {9, 9, 9, 9};
    const struct {
        int32_t newId;
        const char* message;
    } cases[] = {
        {2, "VisGroup_Set: visgroup id 2 is already in use"},
        {0, "VisGroup_Set: visgroup id 0 is not valid"},
        {-5, "VisGroup_Set: visgroup id -5 is not valid"},
    };
    for (const auto& c : cases) {
        console.clear();
        VisGroup_Set(map(), 1, "renamed", c.newId, rgba);
        EXPECT_TRUE(console.contains(c.message)) << c.newId << ": " << console.lines.join("|").toStdString();
        EXPECT_EQ(Map_FindVisGroup(&world, 1), a) << c.newId;
        EXPECT_EQ(Map_FindVisGroup(&world, 2), b) << c.newId;
        EXPECT_STREQ(a->name, "a") << c.newId;
        EXPECT_NE(std::memcmp(a->color, rgba, 4), 0) << c.newId;
    }
    EXPECT_EQ(world.visGroupIdCounter, 2);
}

} // namespace
