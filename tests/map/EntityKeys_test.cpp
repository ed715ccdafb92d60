#include <clocale>
#include <cmath>
#include <cstring>
#include <string>

#include "EntityTestWorld.h"
#include "document/MapWorldEntities.h"

namespace {

// Every case runs in the "C" locale and again with a comma locale switched on after the
// QApplication exists: key numbers must not follow the process locale.
class EntityKeysTest : public EntityTestWorld, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        EntityTestWorld::SetUp();
        if (!std::setlocale(LC_ALL, GetParam()))
            GTEST_SKIP() << "locale " << GetParam() << " is not installed";
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        EntityTestWorld::TearDown();
    }
    std::string value(EntityRecord* e, const char* key) {
        const EPair* pair = E(e)->findKey(key);
        return pair && pair->value ? pair->value : "<none>";
    }
    int pairCount(EntityRecord* e) {
        int n = 0;
        for (EPair* p = e->epairs; p; p = p->next)
            ++n;
        return n;
    }
};

TEST_P(EntityKeysTest, SetKeyValueOnlyChangesExistingKeys) {
    EntityRecord* e = create("info_null");
    EXPECT_EQ(E(e)->setKeyValue("missing", "1"), nullptr);
    EXPECT_EQ(e->epairs, nullptr);
    E(e)->appendKeyValue("Light", "300");
    EPair* pair = E(e)->setKeyValue("light", "200");
    ASSERT_NE(pair, nullptr);
    EXPECT_STREQ(pair->value, "200");
    EXPECT_EQ(pairCount(e), 1);
}

TEST_P(EntityKeysTest, ClassChangeDropsPairsEqualToOldDefaults) {
    loadDefinitions("@PointClass = light [ spawnflags(flags) = [ 512 : \"Start off\" : 1 ] ]\n"
                    "@PointClass = lamp []");
    EntityClass* light = pointClass("light");
    EntityClass* lamp = pointClass("lamp");
    struct Case {
        bool keepDefaults;
        const char* value;
        bool kept;
    } cases[] = {{false, "512", false}, {true, "512", true}, {false, "1", true}, {true, "1", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + (c.keepDefaults ? " keep" : " drop"));
        settings().KeepDefaultEpairs = c.keepDefaults;
        EntityRecord* e = create("light");
        ASSERT_EQ(E(e)->entityClass, light);
        E(e)->appendKeyValue("spawnflags", c.value);
        E(e)->setClass(lamp);
        EXPECT_EQ(E(e)->findKey("spawnflags") != nullptr, c.kept);
        E(e)->setClass(nullptr); // to none: nothing removed
        EXPECT_EQ(E(e)->findKey("spawnflags") != nullptr, c.kept);
    }
}

TEST_P(EntityKeysTest, ItemAndPathFlagsFollowTheClassname) {
    loadDefinitions("@PointClass flags(path) = follower []");
    struct Case {
        const char* classname;
        uint32_t flags;
    } cases[] = {
        {"weapon_shotgun", EntityFlag::ItemOrWeapon},
        {"weaponbox", 0},
        {"Weapon", EntityFlag::ItemOrWeapon},
        {"item_health", EntityFlag::ItemOrWeapon},
        {"ItemX", EntityFlag::ItemOrWeapon},
        {"item", 0},
        {"path_corner", EntityFlag::PathLike},
        {"func_Path_track", EntityFlag::PathLike},
        {"func_path", 0},
        {"follower", EntityFlag::PathLike},
        {"info_player_start", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.classname);
        EntityRecord* e = create(c.classname);
        EXPECT_EQ(e->flags & (EntityFlag::ItemOrWeapon | EntityFlag::PathLike), c.flags);
    }
}

TEST_P(EntityKeysTest, RenderKeysGiveColourAmountAndMode) {
    profile->capabilities = MAP_PROFILE_RENDER_KEYS | MAP_PROFILE_ALPHA_KEY;
    struct Case {
        const char* key;
        const char* value;
        uint8_t r, g, b, amount;
        int32_t mode;
        uint32_t state;
    } cases[] = {
        {"rendercolor", "0.5 0.5 1", 127, 127, 255, 255, 0, EntityBlendState::Opaque},
        {"rendercolor", "0 0 0", 255, 255, 255, 255, 0, EntityBlendState::Opaque},
        {"rendercolor", "255 128 0 7", 255, 128, 0, 255, 0, EntityBlendState::Opaque},
        {"rendercolor", "300 -5 0", 255, 0, 0, 255, 0, EntityBlendState::Opaque},
        {"_light", "1 0.25 0", 255, 63, 0, 255, 0, EntityBlendState::Opaque},
        {"alpha", "0.5", 255, 255, 255, 127, 5, EntityBlendState::Alpha},
        {"alpha", "1", 255, 255, 255, 255, 0, EntityBlendState::Opaque},
        {"alpha", "2", 255, 255, 255, 255, 0, EntityBlendState::Opaque},
        {"renderamt", "300", 255, 255, 255, 255, 0, EntityBlendState::Opaque},
        {"rendermode", "4", 255, 255, 255, 255, 4, EntityBlendState::AlphaTest},
        {"rendermode", "1", 255, 255, 255, 255, 1, EntityBlendState::Additive},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.value);
        EntityRecord* e = create("info_null");
        E(e)->appendKeyValue(c.key, c.value);
        E(e)->readRenderKeys();
        EXPECT_EQ(e->renderColor[0], c.r);
        EXPECT_EQ(e->renderColor[1], c.g);
        EXPECT_EQ(e->renderColor[2], c.b);
        EXPECT_EQ(e->renderColor[3], c.amount);
        EXPECT_EQ(e->renderMode, c.mode);
        EXPECT_EQ(e->blendState, c.state);
        EXPECT_EQ((e->flags & EntityFlag::Blended) != 0, c.state != EntityBlendState::Opaque);
    }
}

TEST_P(EntityKeysTest, RenderKeysNeedTheProfile) {
    profile->capabilities = 0;
    EntityRecord* e = create("info_null");
    E(e)->appendKeyValue("rendercolor", "0 0 255");
    E(e)->appendKeyValue("alpha", "0.5");
    E(e)->readRenderKeys();
    EXPECT_EQ(e->renderColor[2], 255);
    EXPECT_EQ(e->renderColor[0], 255); // no colour key read: white
    EXPECT_EQ(e->renderColor[3], 255);
    EXPECT_EQ(e->renderMode, 0);
}

TEST_P(EntityKeysTest, SetAnglesRoundsAndNeverWritesMinusZero) {
    EntityRecord* e = create("info_null");
    const float small[3] = {0.0f, -0.2f, 0.0f};
    E(e)->setAngles(small);
    EXPECT_EQ(E(e)->findKey("angles"), nullptr);
    for (float a : e->angles)
        EXPECT_FALSE(std::signbit(a));

    const float turned[3] = {10.4f, -90.6f, 2.5f};
    E(e)->setAngles(turned);
    EXPECT_EQ(value(e, "angles"), "10 -91 3");
    EXPECT_EQ(e->epairs, E(e)->findKey("angles")); // pushed at the head
    E(e)->setAngles(small);
    EXPECT_EQ(value(e, "angles"), "0 0 0");
    EXPECT_EQ(pairCount(e), 1);
}

TEST_P(EntityKeysTest, FlipAnglesMirrorsTheFacing) {
    EntityRecord* e = create("info_null");
    const float yaw90[3] = {0, 90, 0};
    E(e)->setAngles(yaw90);
    E(e)->flipAngles(1);
    EXPECT_EQ(value(e, "angles"), "0 -90 0");
}

TEST_P(EntityKeysTest, ApplyClassKeysWithResetMergesFlagsAndOrdersPairs) {
    loadDefinitions(R"(@PointClass = light [
        spawnflags(flags) = [ 512 : "Start off" : 1 ]
        light(integer) : "Brightness" : 300
        model(studio)
    ])");
    EntityRecord* e = create("light");
    E(e)->appendKeyValue("spawnflags", "1");
    E(e)->appendKeyValue("_color", "1 0 0");
    E(e)->appendKeyValue("empty", "");
    E(e)->appendKeyValue("model", "lamp.mdl");
    E(e)->applyClassKeys(true);

    const char* order[][2] = {
        {"model", "lamp.mdl"}, {"light", "300"}, {"spawnflags", "513"}, {"_color", "1 0 0"}};
    EPair* pair = e->epairs;
    for (auto& expected : order) {
        ASSERT_NE(pair, nullptr);
        EXPECT_STREQ(pair->key, expected[0]);
        EXPECT_STREQ(pair->value, expected[1]);
        pair = pair->next;
    }
    EXPECT_EQ(pair, nullptr); // the empty pair is gone
    EXPECT_EQ(e->spawnflags, 513);
    EXPECT_EQ(e->renderColor[0], 255);
    EXPECT_EQ(e->renderColor[1], 0);
}

TEST_P(EntityKeysTest, KeysChangedDefersTheRebuildUntilTheLoadIsDone) {
    loadDefinitions("@PointClass size(8 8 8) = box []");
    EntityRecord* e = create("box");
    E(e)->update(EntityUpdate::RebuildModel);
    E(e)->appendKeyValue("origin", "1.5 -2 100");
    E(e)->appendKeyValue("angles", "0 45.5 0");
    E(e)->appendKeyValue("spawnflags", "3");
    e->flags |= EntityFlag::NeedsUpdate;
    E(e)->update(EntityUpdate::KeysChanged);

    EXPECT_FLOAT_EQ(e->origin[0], 1.5f);
    EXPECT_FLOAT_EQ(e->origin[2], 100.0f);
    EXPECT_FLOAT_EQ(e->angles[1], 45.5f);
    EXPECT_EQ(e->spawnflags, 3);
    EXPECT_TRUE(e->flags & EntityFlag::RefreshAfterLoad);
    EXPECT_FALSE(e->flags & EntityFlag::NeedsUpdate);
    EXPECT_FLOAT_EQ(e->mins[2], -4.0f); // drawable and bounds wait for the load to finish

    Map_RefreshAfterLoad(&world);
    EXPECT_FALSE(e->flags & EntityFlag::RefreshAfterLoad);
    EXPECT_FLOAT_EQ(e->mins[0], -2.5f);
    EXPECT_FLOAT_EQ(e->maxs[2], 104.0f);
}

TEST_P(EntityKeysTest, TargetsSkipTheProfilePrefixAndEmptyValues) {
    std::strcpy(profile->targetPrefixes, "@");
    loadDefinitions("@PointClass = relay [ targetname(target_source) killtarget(target_destination)\n"
                    "target(target_destination) ]");
    EntityRecord* e = create("relay");
    E(e)->appendKeyValue("targetname", "me");
    E(e)->appendKeyValue("target", "@door");
    E(e)->appendKeyValue("killtarget", "");
    E(e)->updateTargets();
    EXPECT_STREQ(e->targetname, "me");
    ASSERT_EQ(E(e)->targets.size(), 1u);
    EXPECT_STREQ(E(e)->targets[0].name, "door");
    E(e)->setKeyValue("killtarget", "lamp");
    E(e)->setKeyValue("targetname", "");
    E(e)->updateTargets();
    EXPECT_EQ(e->targetname, nullptr);
    ASSERT_EQ(E(e)->targets.size(), 2u);
    EXPECT_STREQ(E(e)->targets[0].name, "lamp");
}

TEST_P(EntityKeysTest, KeyNumbersIgnoreTheProcessLocale) {
    float v[3] = {9, 9, 9};
    EXPECT_EQ(Key_ParseFloats(" 1.25 -2e1 +.5 x", v, 3), 3);
    EXPECT_FLOAT_EQ(v[0], 1.25f);
    EXPECT_FLOAT_EQ(v[1], -20.0f);
    EXPECT_FLOAT_EQ(v[2], 0.5f);
    EXPECT_EQ(Key_ParseFloats("1,5", v, 3), 1);
    EXPECT_FLOAT_EQ(v[0], 1.0f);
    EXPECT_EQ(Key_ToInt("99999999999"), INT32_MAX);
    EXPECT_EQ(Key_ToInt(" -12abc"), -12);
    char buf[32];
    EXPECT_STREQ(Key_FormatFloat(buf, sizeof buf, 1.23456f, 3), "1.23");
    EXPECT_STREQ(Key_FormatFloat(buf, sizeof buf, 0.5f), "0.5");
}

INSTANTIATE_TEST_SUITE_P(Locales, EntityKeysTest, ::testing::Values("C", "de_DE.UTF-8"),
                         [](const auto& info) { return std::string(info.param[0] == 'C' ? "C" : "German"); });

} // namespace
