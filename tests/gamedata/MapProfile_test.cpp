#include "gamedata/MapProfile.h"

#include <cstring>

#include "PluginFixture.h"
#include "gamedata/GameConfig.h"

namespace {

// A text field of the record by offset and size, as a plugin written from the layout fills it.
struct TextAt {
    size_t offset;
    size_t size;
    const char* text;
};

// The Quake III game's profile, field by field.
const TextAt kQuake3Texts[] = {
    {20, 64, "kpQuake3"},
    {84, 64, "Quake III"},
    {148, 16, ".bsp"},
    {164, 128, ".tga;.jpg"},
    {292, 128, ".shader"},
    {420, 128, ".pk3"},
    {548, 128, ""},
    {676, 128, ".md3;.ase;.lwo"},
    {804, 128, ".wav"},
    {1508, 64, "sprites"},
    {1572, 64, "models"},
    {1636, 64, "sound"},
    {1892, 64, "textures"},
    {1956, 64, "scripts"},
    {2084, 32, ""},
    {2116, 32, "-onlyents"},
    {2148, 32, "-fast"},
    {2180, 32, "-extra"},
    {2212, 32, "+devmap"},
    {2244, 64, "info_player_deathmatch"},
    {2308, 64, "light"},
    {2436, 64, ""},
    {2500, 64, "common/trigger"},
    {2564, 64, "common/caulk"},
    {2628, 64, "gothic_block/blocks11b"},
    {2692, 64, "gothic_ceiling/woodceiling1a"},
    {2756, 64, "gothic_floor/largerblock3b3dim"},
    {2820, 64, ""},
};

TEST_F(PluginFixture, Quake3ProfileReadsBackThroughTheCurrentConfiguration) {
    unsigned char bytes[KP_MAP_PROFILE_SIZE] = {};
    const uint32_t capabilities = 0x49, contentMask = 0x08000000;
    std::memcpy(bytes + 16, &capabilities, 4);
    for (const TextAt& field : kQuake3Texts)
        std::memcpy(bytes + field.offset, field.text, std::strlen(field.text));
    std::memcpy(bytes + 2884, &contentMask, 4);
    int library = 0;
    Plugin_RegisterProfileCallback(reinterpret_cast<const MapProfileRecord*>(bytes), &library);

    GameConfig config;
    config.Title = QStringLiteral("Quake III Arena");
    config.MapProfile = QStringLiteral("kpQuake3");
    window.gameConfigs.makeCurrent(&config);
    const MapProfileRecord* profile = GameCfg_CurrentProfile();
    ASSERT_TRUE(GameCfg_HasCurrentProfile());
    const char* read = reinterpret_cast<const char*>(profile);
    for (const TextAt& field : kQuake3Texts) {
        EXPECT_STREQ(read + field.offset, field.text) << "offset " << field.offset;
        EXPECT_EQ(read[field.offset + field.size - 1], '\0') << "offset " << field.offset;
    }
    EXPECT_EQ(profile->owner, &library);
    EXPECT_EQ(profile->funcs, nullptr);
    EXPECT_EQ(profile->capabilities, 0x49u);
    EXPECT_EQ(profile->contentMask, 0x08000000u);
    EXPECT_EQ(profile->firstSurfaceFlag, 0);
    EXPECT_EQ(profile->firstContentFlag, 0);
    EXPECT_EQ(std::memcmp(read + 8, bytes + 8, KP_MAP_PROFILE_SIZE - 8), 0);
    EXPECT_TRUE(console.lines.isEmpty());
    window.gameConfigs.makeCurrent(nullptr);
}

TEST_F(PluginFixture, UnknownOrMissingProfileIsTheEmptyOne) {
    GameConfig config;
    config.MapProfile = QStringLiteral("nobody");
    for (GameConfig* current : {static_cast<GameConfig*>(nullptr), &config}) {
        window.gameConfigs.makeCurrent(current);
        const MapProfileRecord* profile = GameCfg_CurrentProfile();
        ASSERT_NE(profile, nullptr);
        EXPECT_STREQ(profile->name, "(null)");
        EXPECT_STREQ(profile->title, "???");
        EXPECT_EQ(profile->capabilities, 0u);
        EXPECT_EQ(profile->contentMask, 0u);
        EXPECT_FALSE(GameCfg_HasCurrentProfile());
    }
    window.gameConfigs.makeCurrent(nullptr);
}

} // namespace
