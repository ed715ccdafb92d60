#include "FgdFixture.h"
#include "gamedata/GameConfig.h"

namespace {

using GameDataTest = FgdFixture;

TEST_F(GameDataTest, RecordsAreSharedByPathAndFreedByTheLastRelease) {
    const QString path = folder.filePath("a.fgd");
    GameData* first = Fgd_Acquire(registry(), path);
    EXPECT_EQ(first->refCount, 1);
    EXPECT_EQ(first->fileName, "a.fgd");
    EXPECT_EQ(first->loadState, GameDataState::NotLoaded);
    EXPECT_EQ(Fgd_Acquire(registry(), path), first);
    EXPECT_EQ(first->refCount, 2);
    Fgd_Release(registry(), path);
    EXPECT_EQ(registry()->files.value(path), first);
    Fgd_Release(registry(), path);
    EXPECT_FALSE(registry()->files.contains(path));
    Fgd_Release(registry(), path); // not there: nothing
    Fgd_Release(registry(), folder.filePath("never.fgd"));
}

TEST_F(GameDataTest, MissingFileFailsAndStaysUnloaded) {
    file = Fgd_Acquire(registry(), folder.filePath("missing.fgd"));
    EXPECT_FALSE(Fgd_Load(file, false));
    EXPECT_EQ(file->loadState, GameDataState::NotLoaded);
    EXPECT_FALSE(messages().isEmpty());
}

TEST_F(GameDataTest, TextBeforeTheFirstSectionIsIgnored) {
    load("no sections at all ] [ :");
    EXPECT_EQ(file->loadState, GameDataState::Loaded);
    EXPECT_TRUE(file->classes.empty());
    load("size(8 8 8) = junk [ ]\n@PointClass = x []");
    EXPECT_EQ(file->classes.size(), 1u);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(GameDataTest, HeadersOnlyThenFullLoadReplacesTheClasses) {
    const QByteArray text =
        "@BaseClass = B [ a(integer) ]\n@PointClass base(B) size(4 4 4) = x : \"desc\" [ b ]\n"
        "@PointClass = light_spot []";
    load(text, true);
    EXPECT_EQ(file->loadState, GameDataState::HeadersOnly);
    ASSERT_NE(point("x"), nullptr);
    EXPECT_TRUE(point("x")->properties.empty()); // neither its own keys nor the base's
    EXPECT_TRUE(point("x")->description.isEmpty());
    EXPECT_EQ(Fgd_FindClass(file, "light", EntityClassKind::Group), nullptr); // no automatic groups
    EXPECT_TRUE(Fgd_Load(file, true));                                        // far enough already

    EXPECT_TRUE(Fgd_Load(file, false));
    EXPECT_EQ(file->loadState, GameDataState::Loaded);
    EXPECT_EQ(file->classes.size(), 4u); // B, x, light_spot and the group light
    EXPECT_EQ(point("x")->properties.size(), 2u);
    EXPECT_EQ(point("x")->description, "desc");
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
}

TEST_F(GameDataTest, ConfigLookupsPreferTheLastListedLoadedFile) {
    GameData* a =
        Fgd_Acquire(registry(), write("a.fgd", "@PointClass color(1 1 1) = light []\n"
                                               "@SolidClass = worldspawn []\n@SolidClass = door []"));
    GameData* b = Fgd_Acquire(registry(), write("b.fgd", "@PointClass color(2 2 2) = light []\n"
                                                         "@PointClass = Door []"));
    GameConfig config;
    // Look-ups walk the precached order: the listed files reversed.
    config.GameData = {a->path, b->path};
    config.precachedGameData = {b->path, a->path};
    EXPECT_EQ(Fgd_FindClassInConfig(&config, "light", ClassSelector::Point), nullptr); // nothing loaded yet
    ASSERT_TRUE(Fgd_Load(a, false));
    ASSERT_TRUE(Fgd_Load(b, false));

    EXPECT_EQ(Fgd_FindClassInConfig(&config, "light", ClassSelector::Point)->color[0], 2);
    EXPECT_EQ(Fgd_FindClassInConfig(&config, "door", ClassSelector::Solid), Fgd_FindClass(a, "door", 3));
    EXPECT_EQ(Fgd_FindClassInConfig(&config, "door", ClassSelector::Point), nullptr); // exact names
    EXPECT_EQ(Fgd_FindClassInConfig(&config, "Door", ClassSelector::Any), Fgd_FindClass(b, "Door", 4));
    EXPECT_EQ(Fgd_FindWorldClass(&config), Fgd_FindClass(a, "worldspawn", 0));
    EXPECT_EQ(Fgd_FindClassInConfig(&config, "worldspawn", ClassSelector::World)->kind,
              EntityClassKind::World);

    config.GameData = {b->path, a->path};
    config.precachedGameData = {a->path, b->path};
    EXPECT_EQ(Fgd_FindClassInConfig(&config, "light", ClassSelector::Point)->color[0], 1);
    Fgd_ClearClasses(a); // a cleared file is skipped
    EXPECT_EQ(Fgd_FindClassInConfig(&config, "light", ClassSelector::Point)->color[0], 2);
    EXPECT_EQ(Fgd_FindWorldClass(&config), nullptr);
}

TEST_F(GameDataTest, ReplacingClassesRebindsUsersBeforeFreeingTheOldOnes) {
    load("@PointClass size(8 8 8) = box []", true);
    const EntityClass* old = point("box");
    std::vector<float> seen;
    registry()->rebindClassUsers = [&] {
        // The old class is still alive here and the new one is in place.
        seen.push_back(old->maxs[0]);
        if (const EntityClass* now = point("box")) seen.push_back(now->maxs[0]);
    };
    write("main.fgd", "@PointClass size(16 16 16) = box []");
    ASSERT_TRUE(Fgd_Load(file, false)); // a full load over headers only
    EXPECT_EQ(seen, (std::vector<float>{4, 8}));
    seen.clear();
    old = point("box");
    Fgd_ClearClasses(file);
    EXPECT_EQ(seen, (std::vector<float>{8}));
    registry()->rebindClassUsers = nullptr;
}

} // namespace
