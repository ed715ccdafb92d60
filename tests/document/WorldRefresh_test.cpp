#include <gtest/gtest.h>

#include "TestWorld.h"
#include "document/WorldRefresh.h"

namespace {

// Without a world entity the sky state of an earlier map must not linger.
TEST(WorldRefreshTest, UpdateSkyWithoutWorldEntityClearsSkyState) {
    cTestWorld t;
    int skyToken = 0;
    t.world.sky = &skyToken;
    t.world.skyAxis[0] = 1.0f;
    t.world.skyAxis[2] = 3.0f;
    t.world.skyRotation = 45.0f;
    t.worldspawn.flags &= ~EntityFlag::World; // a plain first entity is not the world entity

    Map_UpdateSky(&t.world);

    EXPECT_EQ(t.world.sky, nullptr);
    EXPECT_FLOAT_EQ(t.world.skyAxis[0], 0.0f);
    EXPECT_FLOAT_EQ(t.world.skyAxis[1], 0.0f);
    EXPECT_FLOAT_EQ(t.world.skyAxis[2], 0.0f);
    EXPECT_FLOAT_EQ(t.world.skyRotation, 0.0f);
}

} // namespace
