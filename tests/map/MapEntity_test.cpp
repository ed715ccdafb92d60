#include <cstring>

#include "EntityTestWorld.h"
#include "document/MapWorldEntities.h"

namespace {

using MapEntityTest = EntityTestWorld;

TEST_F(MapEntityTest, PointEntityWithoutClassGetsBoxAroundOriginAndMagenta) {
    EntityRecord* e = create("unknown", 10, 20, 30);
    const float mins[3] = {2, 12, 22}, maxs[3] = {18, 28, 38};
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(e->mins[i], mins[i]);
        EXPECT_FLOAT_EQ(e->maxs[i], maxs[i]);
    }
    EXPECT_EQ(E(e)->displayColor, kEntityNoClassColor);
    EXPECT_EQ(e->serial, 1);
    EXPECT_GT(E(e)->id, 0);
    EXPECT_EQ(e->owner, map());
}

TEST_F(MapEntityTest, WorldEntityGoesFirstAndIsWhite) {
    EntityRecord* a = create("info_null");
    EntityRecord* world_ = create("worldspawn", 0, 0, 0, EntityFlag::World);
    EXPECT_EQ(world.entities, world_);
    EXPECT_EQ(world_->next, a);
    EXPECT_EQ(world.entitiesTail, a);
    EXPECT_EQ(E(world_)->displayColor, kEntityWorldColor);
}

TEST_F(MapEntityTest, PointClassGivesBoxAndColour) {
    loadDefinitions("@PointClass size(-16 -8 -8, 16 8 8) color(16 32 48) = light []");
    EntityClass* light = pointClass("light");
    EntityRecord* e = create("light", 100, 0, 0);
    EXPECT_EQ(E(e)->entityClass, light);
    EXPECT_FLOAT_EQ(e->mins[0], 84.0f);
    EXPECT_FLOAT_EQ(e->maxs[0], 116.0f);
    uint8_t rgba[4];
    Entity_GetColor(e, rgba);
    EXPECT_EQ(rgba[0], 0x10);
    EXPECT_EQ(rgba[1], 0x20);
    EXPECT_EQ(rgba[2], 0x30);
    EXPECT_EQ(rgba[3], 0xff);
}

TEST_F(MapEntityTest, FindFunctionsStartAfterTheGivenEntity) {
    EntityRecord* head = create("worldspawn", 0, 0, 0, EntityFlag::World);
    EntityRecord* a = create("light");
    EntityRecord* b = create("light");
    E(a)->appendKeyValue("style", "1");
    E(b)->appendKeyValue("style", "2");
    E(b)->appendKeyValue("style", "1");
    E(b)->appendKeyValue("targetname", "lamp");
    E(b)->updateTargets();

    EXPECT_EQ(Entity_FindByClassname(head, "light"), a);
    EXPECT_EQ(Entity_FindByClassname(a, "light"), b);
    EXPECT_EQ(Entity_FindByClassname(b, "light"), nullptr);
    EXPECT_EQ(Entity_FindByClassname(head, "Light"), nullptr);
    EXPECT_EQ(Entity_FindByClassname(nullptr, "light"), nullptr);
    EXPECT_EQ(Entity_FindByTargetname(head, "lamp"), b);
    EXPECT_EQ(Entity_FindByKeyValue(head, "STYLE", "1"), a);
    EXPECT_EQ(Entity_FindByKeyValue(a, "style", "1"), nullptr); // b's first "style" is 2
}

TEST_F(MapEntityTest, CopiesCarryKeysAndBlocksButNoLinks) {
    EntityRecord* e = create("light", 1, 2, 3);
    E(e)->appendKeyValue("light", "200");
    E(e)->appendKeyValue(nullptr, "orphan");
    e->renderColor[0] = 7;
    e->skin = 3;
    e->flags |= EntityFlag::Selected;
    e->modelKind = EntityModelKind::Sprite; // kind only: a paste rebuilds the drawable from it
    EntityRecord* copy = E(e)->copyData();
    EXPECT_EQ(copy->modelKind, EntityModelKind::Sprite);
    EXPECT_EQ(copy->model, nullptr);
    EXPECT_EQ(copy->handle, nullptr);
    EXPECT_EQ(copy->owner, nullptr);
    EXPECT_FALSE(copy->flags & EntityFlag::Selected);
    EXPECT_NE(copy->epairs, e->epairs);
    EXPECT_STREQ(copy->epairs->value, "200");
    EXPECT_EQ(copy->epairs->next->key, nullptr);

    EntityRecord* pasted = Entity_CreateFromCopy(copy);
    EXPECT_STREQ(pasted->classname, "light");
    EXPECT_EQ(pasted->renderColor[0], 7);
    EXPECT_EQ(pasted->skin, 3);
    EXPECT_FLOAT_EQ(pasted->origin[2], 3.0f);
    EXPECT_EQ(pasted->serial, 0);
    Map_LinkEntity(&world, pasted);
    EXPECT_EQ(world.entitiesTail, pasted);
    Entity_FreeCopy(copy);
}

TEST_F(MapEntityTest, DuplicateJoinsTheWorldWithAFreshSerial) {
    EntityRecord* e = create("info_null");
    E(e)->appendKeyValue("angles", "0 90 0");
    Map_SelectObject(&world, e);
    EntityRecord* dup = E(e)->duplicate();
    EXPECT_FALSE(dup->flags & EntityFlag::Selected); // not in the selection list
    EXPECT_EQ(world.entitiesTail, dup);
    EXPECT_EQ(dup->serial, 2);
    EXPECT_NE(E(dup)->id, E(e)->id);
    EXPECT_STREQ(E(dup)->findKey("angles")->value, "0 90 0");
    EXPECT_EQ(E(dup)->visGroups.count(), 0);
}

TEST_F(MapEntityTest, SnapshotRebuildsKeysAndKeyNames) {
    EPair* pairs = nullptr;
    EPair_Append(&pairs, "targetname", "door1");
    EntitySnapshot snap{};
    snap.serial = 42;
    snap.classname = const_cast<char*>("func_door");
    snap.epairs = pairs;
    snap.color = 0xff00ff00;
    EntityRecord* e = Entity_CreateFromSnapshot(&snap);
    EXPECT_EQ(e->serial, 42);
    EXPECT_TRUE(e->flags & EntityFlag::NeedsUpdate);
    EXPECT_STREQ(e->targetname, "door1");
    EXPECT_STREQ(e->keyNames[KEY_TARGETNAME], "targetname");
    EXPECT_EQ(E(e)->displayColor, 0xff00ff00u);
    delete E(e);
    EPair_FreeList(&pairs);
}

TEST_F(MapEntityTest, DisplayFiltersHideByClassAndFlags) {
    loadDefinitions("@PointClass = weapon_axe []");
    EntityRecord* weapon = create("weapon_axe");
    EntityRecord* stray = create("nothing_known");
    Entity_Update(weapon, 0);
    Entity_Update(stray, 0);
    EXPECT_TRUE(E(weapon)->isVisible(0));
    EXPECT_FALSE(E(weapon)->isVisible(EntityHideMask::ItemsAndWeapons));
    EXPECT_TRUE(E(weapon)->isVisible(EntityHideMask::NoClass));
    EXPECT_FALSE(E(stray)->isVisible(EntityHideMask::NoClass));
    stray->flags |= EntityFlag::NeedsUpdate;
    EXPECT_FALSE(E(stray)->isVisible(0));
}

TEST_F(MapEntityTest, BoxTestsUseTheTolerance) {
    EntityRecord* e = create("x", 0, 0, 0); // -8..8
    const float lo[3] = {8.0005f, -1, -1}, hi[3] = {20, 1, 1};
    EXPECT_TRUE(E(e)->touchesBox(lo, hi));
    const float lo2[3] = {8.01f, -1, -1};
    EXPECT_FALSE(E(e)->touchesBox(lo2, hi));
    const float big[3] = {-8, -8, -8}, bigMax[3] = {8, 8, 8};
    EXPECT_TRUE(E(e)->insideBox(big, bigMax));
    EXPECT_TRUE(E(e)->centerInBox(big, bigMax));
}

TEST_F(MapEntityTest, ModelChoiceFollowsClassFlags) {
    loadDefinitions("@PointClass sprite() = env_sprite []\n"
                    "@PointClass iconsprite(icon.spr) = info_target []");
    EntityRecord* s = create("env_sprite");
    EntityRecord* i = create("info_target");
    const char* name;
    bool isIcon;
    EXPECT_EQ(E(s)->chooseModel(&name, &isIcon), EntityModelKind::None); // no "model" key yet
    E(s)->appendKeyValue("model", "glow.spr");
    EXPECT_EQ(E(s)->chooseModel(&name, &isIcon), EntityModelKind::Sprite);
    EXPECT_STREQ(name, "glow.spr");
    EXPECT_EQ(E(i)->chooseModel(&name, &isIcon), EntityModelKind::Sprite);
    EXPECT_TRUE(isIcon);
}

} // namespace
