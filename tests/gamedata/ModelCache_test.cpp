// The model and sprite cache over the test plugin's model and sprite formats, loaded through the
// real host: two plugins register ".kpm" and ".kpr", and each file names the plugin that takes it.
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "PluginFixture.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/ModelCache.h"
#include "gamedata/TextureManager.h"
#include "map/MapEntity.h"

namespace {

class ModelCacheTest : public PluginFixture {
protected:
    void SetUp() override {
        PluginFixture::SetUp();
        ASSERT_TRUE(files.isValid());
        install("kpTestModelx64", QStringLiteral("kpTestAx64.so"));
        install("kpTestModelBx64", QStringLiteral("kpTestBx64.so"));
        window.loadPlugins();
        ASSERT_EQ(window.models.modelFormats.size(), 2);
        ASSERT_EQ(window.models.spriteFormats.size(), 2);
        a = stateOf(0);
        b = stateOf(1);
        ASSERT_TRUE(a && b);
        console.lines.clear();
    }

    QString write(const QString& name, const QByteArray& text) {
        const QString path = files.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    ModelCache* cache() { return &window.models; }

    QTemporaryDir files;
    TestPluginState* a = nullptr;
    TestPluginState* b = nullptr;
};

TEST_F(ModelCacheTest, BackslashesAndSlashesShareOneEntry) {
    const QString path = write("models/box.kpm", "kpm any -1 -2 -3 1 2 3");
    QString backslashed = path;
    backslashed.replace(QStringLiteral("models/"), QStringLiteral("models\\"));
    ModelCacheEntry* first = Model_AcquireModel(cache(), path, nullptr);
    ModelCacheEntry* second = Model_AcquireModel(cache(), backslashed, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->refCount, 2);
    EXPECT_EQ(first->loaded, 1);
    EXPECT_EQ(a->modelLoadCalls, 1);
    EXPECT_FLOAT_EQ(first->mins[1], -2.0f);
    EXPECT_FLOAT_EQ(first->maxs[2], 3.0f);
    EXPECT_NE(first->bounds, nullptr);
    EXPECT_NE(first->unload, nullptr);
    EXPECT_EQ(Model_PathOfModel(cache(), first), path);
    EXPECT_EQ(window.splashMessage.left(11), QStringLiteral("Precaching:"));
}

// Keys are whole paths: two long paths that differ only after 259 characters stay apart.
TEST_F(ModelCacheTest, LongPathsAreNotCut) {
    const QString folderName = QString(120, QLatin1Char('d'));
    const QString deep = folderName + "/" + folderName + "/" + folderName + "/";
    const QString first = write(deep + "first.kpm", "kpm any 0 0 0 1 1 1");
    const QString second = write(deep + "second.kpm", "kpm any 0 0 0 2 2 2");
    ASSERT_GT(first.size(), 300);
    ModelCacheEntry* a1 = Model_AcquireModel(cache(), first, nullptr);
    ModelCacheEntry* a2 = Model_AcquireModel(cache(), second, nullptr);
    EXPECT_NE(a1, a2);
    EXPECT_EQ(Model_PathOfModel(cache(), a1), first);
    EXPECT_EQ(a2->loaded, 1);
    EXPECT_FLOAT_EQ(a2->maxs[0], 2.0f);
}

// A sprite without an extension names an effect, which its package stored under a file path: the
// name finds it (any case), the key does not matter.
TEST_F(ModelCacheTest, NamesWithoutExtension) {
    ShaderRecord* glow = Tex_CreateShader(
        &window.textures, "/game/baseoa/scripts/sprites.shader/sprites/Glow", "sprites/Glow", 0);
    const int32_t before = glow->refCount;
    SpriteCacheEntry* sprite = Model_AcquireSprite(cache(), QStringLiteral("sprites\\glow"), nullptr);
    EXPECT_EQ(sprite->loaded, 1);
    EXPECT_EQ(sprite->texture, glow);
    EXPECT_EQ(glow->refCount, before + 1);
    ModelCacheEntry* model = Model_AcquireModel(cache(), QStringLiteral("models/nothing"), nullptr);
    EXPECT_EQ(model->loaded, 0);
    EXPECT_EQ(a->modelLoadCalls + b->modelLoadCalls, 0);
    Model_ReleaseSprite(cache(), QStringLiteral("sprites/glow"));
    Model_PurgeUnused(cache());
    EXPECT_EQ(glow->refCount, before); // the purge gave the texture back
    EXPECT_TRUE(cache()->sprites.isEmpty());
    Tex_ReleaseShader(&window.textures, glow);
}

// Files the cache cannot load come back unloaded, and later acquires do not retry them.
TEST_F(ModelCacheTest, UnloadableFilesTable) {
    struct Case {
        const char* name;
        const char* text; // null: no file
        int32_t loadCalls;
    };
    const Case cases[] = {
        {"unknown.xyz", "kpm any 0 0 0 1 1 1", 0},
        {"missing.kpm", nullptr, 0},
        {"refused.kpm", "kpm nobody 0 0 0 1 1 1", 2},
        {"damaged.kpm", "kpm any 0 0", 2},
    };
    for (const Case& c : cases) {
        const QString path = c.text ? write(c.name, c.text) : files.filePath(c.name);
        const int32_t calls = a->modelLoadCalls + b->modelLoadCalls;
        ModelCacheEntry* entry = Model_AcquireModel(cache(), path, nullptr);
        EXPECT_EQ(entry->loaded, 0) << c.name;
        EXPECT_EQ(a->modelLoadCalls + b->modelLoadCalls - calls, c.loadCalls) << c.name;
        EXPECT_EQ(Model_AcquireModel(cache(), path, nullptr), entry) << c.name;
        EXPECT_EQ(entry->refCount, 2) << c.name;
        EXPECT_EQ(a->modelLoadCalls + b->modelLoadCalls - calls, c.loadCalls) << c.name;
    }
}

TEST_F(ModelCacheTest, SecondFormatIsTriedOnlyWhenTheFirstRefuses) {
    Model_AcquireModel(cache(), write("a.kpm", "kpm any 0 0 0 1 1 1"), nullptr);
    EXPECT_EQ(a->modelLoads, 1);
    EXPECT_EQ(b->modelLoadCalls, 0);
    ModelCacheEntry* forB = Model_AcquireModel(cache(), write("b.kpm", "kpm kpTestB 0 0 0 1 1 1"), nullptr);
    EXPECT_EQ(a->modelLoadCalls, 2);
    EXPECT_EQ(b->modelLoads, 1);
    EXPECT_EQ(forB->loaded, 1);
    // The entry unloads through the format that took it.
    Model_FreeAll(cache());
    EXPECT_EQ(a->modelUnloads, 1);
    EXPECT_EQ(b->modelUnloads, 1);
}

TEST_F(ModelCacheTest, PaletteIsHandedOverOnlyWhenItChanged) {
    static const uint8_t first[768] = {1}, second[768] = {2};
    Model_AcquireModel(cache(), write("1.kpm", "kpm any 0 0 0 1 1 1"), first);
    Model_AcquireModel(cache(), write("2.kpm", "kpm any 0 0 0 1 1 1"), first);
    EXPECT_EQ(a->paletteCalls, 1);
    Model_AcquireModel(cache(), write("3.kpm", "kpm any 0 0 0 1 1 1"), second);
    EXPECT_EQ(a->paletteCalls, 2);
    EXPECT_EQ(a->lastPalette, second);
    EXPECT_EQ(b->paletteCalls, 0); // never tried
    // Sprite formats keep their own last palette.
    Model_AcquireSprite(cache(), write("s.kpr", "kpr any"), second);
    EXPECT_EQ(a->paletteCalls, 3);
    EXPECT_EQ(a->spriteLoads, 1);
}

TEST_F(ModelCacheTest, ReleasePurgeReloadAndOverRelease) {
    const QString path = write("m.kpm", "kpm any 0 0 0 1 1 1");
    ModelCacheEntry* entry = Model_AcquireModel(cache(), path, nullptr);
    Model_ReleaseModel(cache(), path);
    EXPECT_EQ(entry->refCount, 0);
    EXPECT_EQ(Model_AcquireModel(cache(), path, nullptr), entry); // kept until a purge, not reloaded
    EXPECT_EQ(entry->refCount, 1);
    EXPECT_EQ(a->modelLoadCalls, 1);

    write("m.kpm", "kpm any -4 -4 -4 4 4 4");
    Model_ReloadModel(cache(), entry, nullptr);
    EXPECT_EQ(a->modelUnloads, 1);
    EXPECT_EQ(a->modelLoads, 2);
    EXPECT_EQ(entry->refCount, 1);
    EXPECT_FLOAT_EQ(entry->maxs[0], 4.0f);
    Model_ReloadModel(cache(), nullptr, nullptr);

    Model_PurgeUnused(cache());
    EXPECT_EQ(cache()->models.size(), 1); // still held
    Model_ReleaseModel(cache(), path);
    console.lines.clear();
    Model_ReleaseModel(cache(), path); // one release too many
    EXPECT_EQ(entry->refCount, 0);
    ASSERT_EQ(plainLines().size(), 1);
    EXPECT_TRUE(plainLines()[0].contains(QStringLiteral("released more often than acquired")));
    Model_ReleaseModel(cache(), files.filePath("never.kpm")); // not cached: nothing
    Model_PurgeUnused(cache());
    EXPECT_TRUE(cache()->models.isEmpty());
    EXPECT_EQ(a->modelUnloads, 2);
}

TEST_F(ModelCacheTest, FreeAllUnloadsWhateverTheCount) {
    Model_AcquireModel(cache(), write("x.kpm", "kpm any 0 0 0 1 1 1"), nullptr);
    Model_AcquireModel(cache(), write("x.kpm", "kpm any 0 0 0 1 1 1"), nullptr);
    Model_AcquireSprite(cache(), write("y.kpr", "kpr any"), nullptr);
    Model_FreeAll(cache());
    EXPECT_TRUE(cache()->models.isEmpty());
    EXPECT_TRUE(cache()->sprites.isEmpty());
    EXPECT_TRUE(cache()->keys.isEmpty());
    EXPECT_EQ(a->modelUnloads, 1);
    EXPECT_EQ(a->spriteUnloads, 1);
}

// Entities attach their models through the cache and take their bounds from the format's bounds
// function (which doubles the file's box here); precaching and clearing a file hold and release
// its classes' models, and a purge keeps what entities still hold.
TEST_F(ModelCacheTest, EntitiesAndDefinitionFilesHoldModelsThroughTheCache) {
    const QString model = write("models/item.kpm", "kpm any -1 -1 0 1 1 2");
    const QString second = write("models/base.kpm", "kpm any -3 -3 -1 3 3 0");
    const QString fgd =
        write("game.fgd", QStringLiteral("@PointClass studio(\"%1\") = item []\n"
                                         "@PointClass flags(eccentricfix) bobparms(1 2 3 0 0 0)"
                                         " studio(\"%1\", \"%2\") = pedestal []\n"
                                         "@PointClass studio(\"%3\") = broken []")
                              .arg(model, second, files.filePath("models/none.kpm"))
                              .toUtf8());
    GameConfig config;
    config.GameData = config.precachedGameData = {fgd};
    window.gameConfigs.makeCurrent(&config);
    GameData* data = Fgd_Acquire(&window.gameData, fgd);
    ASSERT_TRUE(Fgd_Load(data, false));
    Fgd_PrecacheModels(data, QString());
    Fgd_PrecacheModels(data, QString()); // once is enough
    ModelCacheEntry* entry = cache()->models.value(model);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->refCount, 2); // item and pedestal

    MapWorld world;
    Map_InitWorld(&world, nullptr);
    const float origin[3] = {100, 0, 0};
    EntityRecord* item = Entity_Create(Map_Handle(&world), "item", origin, EntityFlag::Point);
    EntityRecord* pedestal = Entity_Create(Map_Handle(&world), "pedestal", origin, EntityFlag::Point);
    EntityRecord* broken = Entity_Create(Map_Handle(&world), "broken", origin, EntityFlag::Point);
    for (EntityRecord* e : {item, pedestal, broken}) {
        cMapEntity::fromRecord(e)->update(EntityUpdate::KeysChanged); // scale 1 and the rest
        cMapEntity::fromRecord(e)->rebuildModel(false);
    }
    ASSERT_EQ(item->modelKind, EntityModelKind::Model);
    EXPECT_EQ(item->model->entry, entry);
    EXPECT_EQ(entry->refCount, 4);
    EXPECT_FLOAT_EQ(item->mins[0], 98.0f); // the bounds function's doubled box
    EXPECT_FLOAT_EQ(item->maxs[2], 4.0f);
    ASSERT_EQ(pedestal->modelKind, EntityModelKind::Model);
    EXPECT_NE(pedestal->model->entry2, nullptr);
    EXPECT_EQ(a->lastBoundsFlags, MODEL_CENTERED); // the second model: no motion values of its own
    EXPECT_FLOAT_EQ(pedestal->mins[0], 94.0f);     // both boxes together
    EXPECT_FLOAT_EQ(pedestal->maxs[2], 4.0f);
    EXPECT_FLOAT_EQ(pedestal->model->offsets[1], 2.0f);
    EXPECT_EQ(broken->modelKind, EntityModelKind::None); // unloaded: no drawable, class box
    EXPECT_FLOAT_EQ(broken->maxs[0], 108.0f);

    // A reload from file reaches the entity through the shared entry.
    write("models/item.kpm", "kpm any -5 -5 0 5 5 1");
    cMapEntity::fromRecord(item)->rebuildModel(true);
    EXPECT_EQ(item->model->entry, entry);
    EXPECT_FLOAT_EQ(item->mins[0], 90.0f);

    Fgd_ClearClasses(data); // the classes' references go; the entities keep theirs
    Model_PurgeUnused(cache());
    EXPECT_EQ(cache()->models.value(model), entry);
    EXPECT_EQ(entry->refCount, 2);
    Map_DestroyWorld(&world);
    EXPECT_EQ(entry->refCount, 0);
    Model_PurgeUnused(cache());
    EXPECT_TRUE(cache()->models.isEmpty());
    Fgd_Release(&window.gameData, fgd);
    window.gameConfigs.makeCurrent(nullptr);
}

} // namespace
