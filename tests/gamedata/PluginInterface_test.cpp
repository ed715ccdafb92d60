#include <gtest/gtest.h>

#include "PluginInterfaceSizes.h"
#include "gamedata/PluginInterface.h"

// The C and C++ views of every record agree with each other and with the published sizes.
TEST(PluginInterface, RecordsHaveTheSameLayoutInCAndCpp) {
    uint64_t c[PLUGIN_INTERFACE_RECORD_COUNT] = {};
    PluginInterface_SizesInC(c);
    const uint64_t expected[PLUGIN_INTERFACE_RECORD_COUNT] = {1440, 48, 2896, 56, 40, 64, 40, 72, 1432, 304};
    const uint64_t cpp[PLUGIN_INTERFACE_RECORD_COUNT] = {
        sizeof(EngineFuncs),      sizeof(PluginAction),    sizeof(MapProfileRecord),
        sizeof(ProfileFuncs),     sizeof(PrimitiveEntry),  sizeof(ArchiveHandle),
        sizeof(SpriteCacheEntry), sizeof(ModelCacheEntry), offsetof(EngineFuncs, App_EndWaitCursor),
        sizeof(TextureDecodeJob)};
    for (int i = 0; i < PLUGIN_INTERFACE_RECORD_COUNT; ++i) {
        EXPECT_EQ(c[i], expected[i]) << "record " << i;
        EXPECT_EQ(cpp[i], expected[i]) << "record " << i;
    }
}
