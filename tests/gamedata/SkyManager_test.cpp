// Sky lists of game configurations over the test plugin's ".kps" sky format, loaded through the
// real host: game and mod folders made here, an archive of the game folder, names and their
// display forms, sharing between configurations, the profile checks, assignment of an edited copy
// (AddressSanitizer watches the freed configurations), the world's sky key and the combo box.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QVBoxLayout>
#include <QWidget>
#include <cstring>
#include <gtest/gtest.h>

#include "MemoryArchive.h"
#include "PluginFixture.h"
#include "core/FileLookup.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/SkyManager.h"
#include "dialogs/editing/SkyCombo.h"
#include "gamedata/TextureManager.h"
#include "map/MapEntity.h"

namespace {

const char* const kSuffixes[6] = {"_rt", "_bk", "_lf", "_ft", "_up", "_dn"};

class SkyManagerTest : public PluginFixture {
protected:
    void SetUp() override {
        PluginFixture::SetUp();
        ASSERT_TRUE(game.isValid());
        install("kpTestx64", QStringLiteral("kpTestx64.so"));
        window.loadPlugins();
        ASSERT_EQ(skies()->formats.size(), 1);
        plugin = stateOf(0);
        ASSERT_NE(plugin, nullptr);
    }
    void TearDown() override {
        GameCfg_DestroyManager(configs());
        Sys_FileLookup() = FileLookupConfig();
        EXPECT_TRUE(skies()->entries.isEmpty());
        PluginFixture::TearDown();
    }
    SkyManager* skies() { return &window.skies; }
    GameConfigManager* configs() { return &window.gameConfigs; }

    void write(const QString& path, const QByteArray& data) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
    }
    static QByteArray face(int index) {
        return QByteArray("kps ") + QByteArray::number(10 * (index + 1)) + " 0 0";
    }
    // The six faces of a sky in the folder; `count` of them.
    void writeSky(const QString& folder, const QString& name, int count = 6,
                  const QString& extension = "kps") {
        for (int i = 0; i < count; ++i)
            write(QStringLiteral("%1/%2%3.%4").arg(folder, name, QLatin1String(kSuffixes[i]), extension),
                  face(i));
    }
    GameConfig* addConfig(const QString& title, const QString& base, const QString& mod = QString(),
                          const QString& profile = QStringLiteral("kpTest")) {
        GameConfig* config = GameCfg_AddConfig(configs(), title);
        config->MapProfile = profile;
        config->GameBasedir = base;
        config->GameModdir = mod;
        return config;
    }
    void load(GameConfig* config) {
        Sys_SwitchFileLookup(config);
        Sky_LoadForConfig(skies(), config);
    }
    QStringList listed(const GameConfig* config, bool display = false) {
        QStringList names;
        for (const SkyEntry* entry : skies()->lists.values(config))
            names << (display ? entry->displayName : entry->name);
        names.sort();
        return names;
    }
    // A profile of the test plugin's library with its own sky fields.
    void registerProfile(const char* name, const char* folder, const char* suffixes,
                         uint32_t capabilities = 0) {
        MapProfileRecord record{};
        std::strcpy(record.name, name);
        std::strcpy(record.skyExtensions, ".kps");
        std::strcpy(record.skySuffixes, suffixes);
        std::strcpy(record.skyFolder, folder);
        std::strcpy(record.defaultSky, "mysky");
        record.capabilities = capabilities;
        GameCfg_RegisterProfile(configs(), window.plugins.libraries[0], &record);
    }
    QString base() const { return game.filePath(QStringLiteral("base")); }

    QTemporaryDir game;
    TestPluginState* plugin = nullptr;
};

TEST_F(SkyManagerTest, CompleteSetsAreListedWithTheirFacesAndDisplayNames) {
    writeSky(base() + "/env", "mysky");
    writeSky(base() + "/env", "city_");
    writeSky(base() + "/env", "partial", 5);      // one face missing
    writeSky(base() + "/env", "other", 6, "tga"); // no sky format for it
    writeSky(base() + "/elsewhere", "lost");      // not in the sky folder
    write(base() + "/env/broken_rt.kps", "not a sky face");
    for (int i = 1; i < 6; ++i)
        write(QStringLiteral("%1/env/broken%2.kps").arg(base(), QLatin1String(kSuffixes[i])), face(i));
    GameConfig* config = addConfig("Game", base());
    load(config);

    EXPECT_EQ(skies()->filters, QStringList{"*_rt.kps"});
    EXPECT_EQ(listed(config), (QStringList{"broken", "city_", "mysky"}));
    EXPECT_EQ(listed(config, true), (QStringList{"Broken", "City", "Mysky"}));

    const SkyEntry* sky = Sky_FindForConfig(skies(), config, "MYSKY");
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(sky->key, (base() + "/env/mysky_rt.kps").toLower());
    EXPECT_EQ(sky->refCount, 1);
    const ShaderRecord* shader = sky->shader;
    EXPECT_STREQ(shader->name, "mysky");
    EXPECT_EQ(shader->category, EFFECT_SKY_BOX);
    EXPECT_EQ(shader->refCount, 1);
    EXPECT_FLOAT_EQ(shader->opacity, 1.0f);
    // Face i holds the image its own file decoded to.
    for (int i = 0; i < 6; ++i) {
        ASSERT_NE(shader->box[i], nullptr);
        const QByteArray pixels = window.textures.pixels.value(shader->box[i]);
        ASSERT_EQ(pixels.size(), 64) << i;
        EXPECT_EQ(uint8_t(pixels[0]), 10 * (i + 1)) << i;
    }
    // A face no format takes shows the shared white image.
    const SkyEntry* broken = Sky_FindForConfig(skies(), config, "broken");
    ASSERT_NE(broken, nullptr);
    EXPECT_EQ(broken->shader->box[0], Plugin_WhiteImage());
    EXPECT_NE(broken->shader->box[1], Plugin_WhiteImage());

    EXPECT_EQ(Sky_FindForConfig(skies(), config, ""), nullptr);
    EXPECT_EQ(Sky_FindForConfig(skies(), config, "partial"), nullptr);
    EXPECT_EQ(Sky_FindForConfig(skies(), nullptr, "mysky"), nullptr);
    EXPECT_EQ(plugin->skyLoads, 6 + 6 + 5);
}

TEST_F(SkyManagerTest, ModFolderFirstThenGameFolderThenArchives) {
    const QString mod = game.filePath("mod");
    writeSky(mod + "/env", "shared");
    writeSky(base() + "/env", "shared");
    writeSky(base() + "/env", "plain");
    cMemoryArchives archives;
    QMap<QString, QByteArray> files;
    for (int i = 0; i < 6; ++i)
        files.insert(QStringLiteral("env/packed%1.kps").arg(QLatin1String(kSuffixes[i])), face(i));
    files.insert("env/halfpacked_rt.kps", face(0));
    archives.add(base() + "/pak0.zmem", files);
    GameConfig* config = addConfig("Game", base(), mod);
    archives.open(base() + "/pak0.zmem", config);
    load(config);

    EXPECT_EQ(listed(config), (QStringList{"packed", "plain", "shared"}));
    // The mod folder's file won; the game folder's of the same name was not decoded.
    EXPECT_EQ(Sky_FindForConfig(skies(), config, "shared")->key, (mod + "/env/shared_rt.kps").toLower());
    EXPECT_EQ(Sky_FindForConfig(skies(), config, "packed")->key, (base() + "/env/packed_rt.kps").toLower());
    EXPECT_EQ(plugin->skyLoads, 18);
    GameCfg_DestroyManager(configs());
}

TEST_F(SkyManagerTest, OneFileReachedFromTwoConfigurationsIsLoadedOnce) {
    writeSky(base() + "/env", "mysky");
    GameConfig* first = addConfig("First", base());
    GameConfig* second = addConfig("Second", base());
    load(first);
    load(second);
    load(second); // listed already: no second reference
    SkyEntry* sky = Sky_FindForConfig(skies(), first, "mysky");
    ASSERT_NE(sky, nullptr);
    EXPECT_EQ(Sky_FindForConfig(skies(), second, "mysky"), sky);
    EXPECT_EQ(sky->refCount, 2);
    EXPECT_EQ(plugin->skyLoads, 6);
    const TextureImage* image = sky->shader->box[0];
    ASSERT_TRUE(window.textures.pixels.contains(image));

    Sky_ReleaseForConfig(skies(), first);
    EXPECT_EQ(skies()->entries.value(sky->key), sky);
    EXPECT_EQ(sky->refCount, 1);
    EXPECT_EQ(Sky_FindForConfig(skies(), first, "mysky"), nullptr);
    Sky_ReleaseForConfig(skies(), second);
    EXPECT_TRUE(skies()->entries.isEmpty());
    EXPECT_FALSE(window.textures.pixels.contains(image)); // the face images went with it
    EXPECT_EQ(Plugin_WhiteImage()->refCount, 1);          // the shared white one stays
}

TEST_F(SkyManagerTest, TheProfilesOwnPluginDecodesFirst) {
    // A second plugin with the same sky format; the configuration's profile is its.
    ASSERT_TRUE(Plugin_Load(&window.plugins, install("kpTestBx64", QStringLiteral("kpTestZx64.so"))));
    ASSERT_EQ(skies()->formats.size(), 2);
    TestPluginState* second = stateOf(1);
    ASSERT_NE(second, nullptr);
    writeSky(base() + "/env", "mysky");
    GameConfig* config = addConfig("B", base(), QString(), "kpTestB");
    load(config);
    EXPECT_EQ(listed(config), QStringList{"mysky"});
    EXPECT_EQ(second->skyLoads, 6);
    EXPECT_EQ(plugin->skyLoads, 0);
}

TEST_F(SkyManagerTest, ProfileChecks) {
    writeSky(base() + "/env", "mysky");
    writeSky(base() + "/sky+box", "special", 0);
    const char* special[6] = {"(rt)", "(bk)", "(lf)", "(ft)", "(up)", "(dn)"};
    for (int i = 0; i < 6; ++i)
        write(QStringLiteral("%1/sky+box/star%2.kps").arg(base(), QLatin1String(special[i])), face(i));
    registerProfile("five", "env", "_rt;_bk;_lf;_ft;_up");
    registerProfile("nofolder", "", "_rt;_bk;_lf;_ft;_up;_dn");
    registerProfile("special", "sky+box", "(rt);(bk);(lf);(ft);(up);(dn)");

    console.clear();
    GameConfig* five = addConfig("Five", base(), QString(), "five");
    load(five);
    EXPECT_TRUE(listed(five).isEmpty());
    EXPECT_TRUE(
        plainLines().contains("Error: invalid sky suffix list \"_rt;_bk;_lf;_ft;_up\" in profile \"five\"!"))
        << plainLines().join('\n').toStdString();

    GameConfig* none = addConfig("None", base(), QString(), "nofolder");
    GameConfig* missing = addConfig("Missing", base(), QString(), "absent");
    load(none);
    load(missing);
    EXPECT_TRUE(listed(none).isEmpty());
    EXPECT_TRUE(listed(missing).isEmpty());

    // Folder and suffix are matched as text, not as patterns.
    GameConfig* config = addConfig("Special", base(), QString(), "special");
    load(config);
    EXPECT_EQ(listed(config), QStringList{"star"});
}

TEST_F(SkyManagerTest, AssignmentKeepsEveryConfigurationsSkies) {
    writeSky(base() + "/env", "mysky");
    const QString other = game.filePath("other");
    writeSky(other + "/env", "dusk");
    GameConfig* first = addConfig("First", base());
    GameConfig* second = addConfig("Second", other);
    GameCfg_Precache(configs(), first); // precaching lists the skies
    GameCfg_Precache(configs(), second);
    Sys_FileLookup() = FileLookupConfig();
    ASSERT_EQ(listed(first), QStringList{"mysky"});
    {
        // The preferences dialog edits a copy and assigns it back.
        GameConfigManager edited(*configs());
        GameCfg_Assign(configs(), edited, false);
    }
    ASSERT_EQ(configs()->configs.size(), 2);
    const GameConfig* newFirst = GameCfg_FindConfig(configs(), "First");
    const GameConfig* newSecond = GameCfg_FindConfig(configs(), "Second");
    EXPECT_NE(newFirst, first);
    EXPECT_EQ(listed(newFirst), QStringList{"mysky"});
    EXPECT_EQ(listed(newSecond), QStringList{"dusk"});
    EXPECT_EQ(skies()->lists.size(), 2); // nothing left listed for freed configurations
    EXPECT_EQ(Sky_FindForConfig(skies(), newFirst, "mysky")->refCount, 1);
    EXPECT_EQ(plugin->skyLoads, 12); // nothing decoded again
}

TEST_F(SkyManagerTest, WorldSkyKeyFindsTheSkyOfTheCurrentConfiguration) {
    writeSky(base() + "/env", "mysky");
    writeSky(base() + "/env", "dusk");
    registerProfile("named", "env", "_rt;_bk;_lf;_ft;_up;_dn", MAP_PROFILE_SKY_NAME | MAP_PROFILE_SKY_AXIS);
    GameConfig* config = addConfig("Game", base(), QString(), "named");
    load(config);
    GameCfg_Select(configs(), config);
    MapDocument doc;
    Project_Construct(&doc);
    const float origin[3] = {0, 0, 0};
    EntityRecord* world = Entity_Create(Map_Handle(doc.world), "worldspawn", origin, EntityFlag::World);
    auto* entity = static_cast<cMapEntity*>(world->handle);
    entity->appendKeyValue("skyaxis", "0 0 1");
    entity->appendKeyValue("skyrotate", "15");

    struct Case {
        const char* skyname; // null: no key
        const char* shown;   // null: no sky
    };
    const Case cases[] = {{"DUSK", "dusk"}, {"nothing", nullptr}, {"", "mysky"}, {nullptr, "mysky"}};
    for (const Case& c : cases) {
        entity->removeKey("skyname");
        if (c.skyname) entity->appendKeyValue("skyname", c.skyname);
        Entity_Update(world, EntityUpdate::SkyKeys);
        const SkyEntry* expected = c.shown ? Sky_FindForConfig(skies(), config, c.shown) : nullptr;
        EXPECT_EQ(doc.world->sky, expected ? expected->shader : nullptr)
            << (c.skyname ? c.skyname : "(none)");
        EXPECT_FLOAT_EQ(doc.world->skyRotation, 15.0f);
    }
    Project_Destroy(&doc);
}

TEST_F(SkyManagerTest, ComboBoxInAWidgetTree) {
    for (const char* name : {"zeta", "city_", "Alpha", "mysky"})
        writeSky(base() + "/env", name);
    GameConfig* config = addConfig("Game", base());
    load(config);
    // One sky has an editor image with an icon.
    SkyEntry* city = Sky_FindForConfig(skies(), config, "city_");
    const uint8_t red[4] = {255, 0, 0, 255};
    city->shader->image = Plugin_UploadImage(nullptr, nullptr, 0x1908, 0x1908, 4, 1, 1, false, red);
    ASSERT_NE(city->shader->image->icon, nullptr);

    QWidget parent;
    auto* layout = new QVBoxLayout(&parent);
    auto* combo = new QComboBox(&parent);
    combo->setEditable(true);
    layout->addWidget(combo);
    parent.show();

    Sky_FillComboBox(skies(), config, combo, "CITY_");
    QStringList texts, data;
    for (int i = 0; i < combo->count(); ++i) {
        texts << combo->itemText(i);
        data << combo->itemData(i).toString();
    }
    EXPECT_EQ(texts, (QStringList{"Alpha", "City", "Mysky", "Zeta"}));
    EXPECT_EQ(data, (QStringList{"Alpha", "city_", "mysky", "zeta"}));
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_FALSE(combo->itemIcon(1).isNull());
    EXPECT_TRUE(combo->itemIcon(0).isNull());

    combo->clear();
    Sky_FillComboBox(skies(), config, combo, "unknown_sky");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->currentText(), "unknown_sky");
}

} // namespace
