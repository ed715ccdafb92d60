// The sample game's entity definitions through the fgddump tool and the loader: every class loads
// without a message, and a headers-only load yields the same classes.
#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <bit>

#include "FgdFixture.h"

namespace {

const QString kSample = QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/quake3/q3entities.fgd");

struct DumpResult {
    int exitCode = -1;
    QStringList lines;
};

DumpResult runDump(const QStringList& arguments) {
    QProcess process;
    process.setProgram(QCoreApplication::applicationDirPath() + "/fgddump");
    process.setArguments(arguments);
    process.start();
    EXPECT_TRUE(process.waitForFinished(60000));
    DumpResult result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    return result;
}

TEST(FgdDumpTest, SampleLoadsWithoutMessagesInBothModes) {
    const DumpResult full = runDump({kSample});
    const DumpResult headers = runDump({kSample, "--headers"});
    ASSERT_EQ(full.exitCode, 0);
    ASSERT_EQ(headers.exitCode, 0);
    EXPECT_TRUE(full.lines.filter(QRegularExpression("^message")).isEmpty())
        << full.lines.join('\n').toStdString();
    EXPECT_TRUE(headers.lines.filter(QRegularExpression("^message")).isEmpty());

    // Without the keys, descriptions and notes, the full dump is the headers dump.
    const QRegularExpression fullOnly("^(  (key|description|note) |    )");
    QStringList stripped;
    for (const QString& line : full.lines.mid(1))
        if (!fullOnly.match(line).hasMatch()) stripped << line;
    EXPECT_EQ(stripped, headers.lines.mid(1));
    EXPECT_TRUE(full.lines.contains("point item_armor_body"));
    EXPECT_TRUE(full.lines.contains("solid func_door"));
}

TEST(FgdDumpTest, MissingFileExitsNonZero) {
    const DumpResult result = runDump({"/nonexistent/none.fgd"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_FALSE(result.lines.filter(QRegularExpression("^message Error: can't open")).isEmpty());
    EXPECT_EQ(runDump({}).exitCode, 64);
}

using FgdSampleTest = FgdFixture;

TEST_F(FgdSampleTest, SampleUsesEveryTypeAndHelper) {
    file = Fgd_Acquire(registry(), kSample);
    ASSERT_TRUE(Fgd_Load(file, false));
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    QSet<int> types;
    uint32_t helpers = 0;
    for (const auto& entry : file->classes) {
        helpers |= entry.second->helpers;
        for (const EntityProperty& p : entry.second->properties)
            types.insert(int(p.type));
    }
    EXPECT_EQ(types.size(), 23);
    EXPECT_EQ(helpers, 0xFFFFFu);

    const EntityClass* armor = point("item_armor_body");
    ASSERT_NE(armor, nullptr);
    EXPECT_EQ(armor->model, "models/powerups/armor/armor_red.md3");
    EXPECT_EQ(armor->bobParms[3], 180.0f);
    ASSERT_NE(armor->group, nullptr);
    EXPECT_EQ(armor->group->name, "Items");
    // Weapon -> Item -> Targetname, Target, Gametypes: the whole chain's keys arrive.
    const EntityClass* shotgun = point("weapon_shotgun");
    ASSERT_NE(shotgun, nullptr);
    EXPECT_NE(Fgd_FindProperty(const_cast<EntityClass*>(shotgun), "gametype"), nullptr);
    EXPECT_EQ(shotgun->color[0], 200);
}

// ---- The game's classes ----------------------------------------------------------------------------

struct GameClass {
    const char* name;
    int32_t kind;
    uint32_t flags;   // the spawn flag values, ORed; each once
    const char* keys; // keys the game or its compiler read, space-separated
};

constexpr int32_t P = EntityClassKind::Point;
constexpr int32_t S = EntityClassKind::Solid;
constexpr const char* kItemKeys = "targetname target team wait random count notbot notfree notteam notsingle "
                                  "notq3a notta gametype !gametype";

// Every class the game spawns from a map: Quake III Arena's, Team Arena's, and OpenArena's own,
// with the spawn flags the game reads.
const GameClass kGameClasses[] = {
    {"worldspawn", EntityClassKind::World, 0,
     "message music gravity enableDust enableBreath _color gridsize"},
    {"info_player_start", P, 0, "angle target gametype"},
    {"info_player_deathmatch", P, 1, "angle target nobots nohumans notteam"},
    {"info_player_intermission", P, 0, "angle target"},
    {"info_player_dd", P, 0, "angle target"},
    {"info_player_dd_red", P, 0, "angle target"},
    {"info_player_dd_blue", P, 0, "angle target"},
    {"info_null", P, 0, "targetname"},
    {"info_notnull", P, 0, "targetname"},
    {"info_camp", P, 0, "range weight wait random"},
    {"item_botroam", P, 0, "weight"},
    {"team_CTF_redflag", P, 1, kItemKeys},
    {"team_CTF_blueflag", P, 1, kItemKeys},
    {"team_CTF_neutralflag", P, 1, kItemKeys},
    {"team_CTF_redplayer", P, 0, "angle target gametype"},
    {"team_CTF_blueplayer", P, 0, "angle target gametype"},
    {"team_CTF_redspawn", P, 0, "angle target gametype"},
    {"team_CTF_bluespawn", P, 0, "angle target gametype"},
    {"team_redobelisk", P, 1, "gametype notq3a"},
    {"team_blueobelisk", P, 1, "gametype notq3a"},
    {"team_neutralobelisk", P, 1, "gametype notq3a"},
    {"domination_point", P, 0, "message gametype"},
    {"light", P, 3, "light _color radius target targetname"},
    {"item_health_small", P, 1, kItemKeys},
    {"item_health", P, 1, kItemKeys},
    {"item_health_large", P, 1, kItemKeys},
    {"item_health_mega", P, 1, kItemKeys},
    {"item_armor_shard", P, 1, kItemKeys},
    {"item_armor_combat", P, 1, kItemKeys},
    {"item_armor_body", P, 1, kItemKeys},
    {"item_quad", P, 1, kItemKeys},
    {"item_enviro", P, 1, kItemKeys},
    {"item_haste", P, 1, kItemKeys},
    {"item_invis", P, 1, kItemKeys},
    {"item_regen", P, 1, kItemKeys},
    {"item_flight", P, 1, kItemKeys},
    {"holdable_teleporter", P, 1, kItemKeys},
    {"holdable_medkit", P, 1, kItemKeys},
    {"holdable_kamikaze", P, 1, kItemKeys},
    {"holdable_portal", P, 1, kItemKeys},
    {"holdable_invulnerability", P, 1, kItemKeys},
    {"item_scout", P, 7, kItemKeys},
    {"item_guard", P, 7, kItemKeys},
    {"item_doubler", P, 7, kItemKeys},
    {"item_ammoregen", P, 7, kItemKeys},
    {"weapon_gauntlet", P, 1, kItemKeys},
    {"weapon_machinegun", P, 1, kItemKeys},
    {"weapon_shotgun", P, 1, kItemKeys},
    {"weapon_grenadelauncher", P, 1, kItemKeys},
    {"weapon_rocketlauncher", P, 1, kItemKeys},
    {"weapon_lightning", P, 1, kItemKeys},
    {"weapon_railgun", P, 1, kItemKeys},
    {"weapon_plasmagun", P, 1, kItemKeys},
    {"weapon_bfg", P, 1, kItemKeys},
    {"weapon_grapplinghook", P, 1, kItemKeys},
    {"weapon_nailgun", P, 1, kItemKeys},
    {"weapon_prox_launcher", P, 1, kItemKeys},
    {"weapon_chaingun", P, 1, kItemKeys},
    {"ammo_bullets", P, 1, kItemKeys},
    {"ammo_shells", P, 1, kItemKeys},
    {"ammo_grenades", P, 1, kItemKeys},
    {"ammo_rockets", P, 1, kItemKeys},
    {"ammo_lightning", P, 1, kItemKeys},
    {"ammo_slugs", P, 1, kItemKeys},
    {"ammo_cells", P, 1, kItemKeys},
    {"ammo_bfg", P, 1, kItemKeys},
    {"ammo_nails", P, 1, kItemKeys},
    {"ammo_mines", P, 1, kItemKeys},
    {"ammo_belt", P, 1, kItemKeys},
    {"misc_model", P, 1, "model angle angles modelscale modelscale_vec _remap"},
    {"misc_teleporter_dest", P, 0, "targetname angle"},
    {"misc_portal_surface", P, 0, "target"},
    {"misc_portal_camera", P, 7, "targetname target angle roll"},
    {"target_speaker", P, 15, "targetname noise wait random"},
    {"target_relay", P, 7, "targetname target"},
    {"target_delay", P, 0, "targetname target wait random"},
    {"target_position", P, 0, "targetname"},
    {"target_location", P, 0, "message count gametype"},
    {"target_give", P, 0, "targetname target"},
    {"target_remove_powerups", P, 0, "targetname"},
    {"target_kill", P, 0, "targetname"},
    {"target_score", P, 0, "targetname count"},
    {"target_print", P, 7, "targetname message"},
    {"target_teleporter", P, 0, "targetname target"},
    {"target_push", P, 1, "targetname target angle angles speed"},
    {"target_laser", P, 1, "targetname target angle dmg"},
    {"trigger_always", P, 0, "target"},
    {"func_timer", P, 1, "targetname target wait random"},
    {"shooter_rocket", P, 0, "targetname target angle random"},
    {"shooter_grenade", P, 0, "targetname target angle random"},
    {"shooter_plasma", P, 0, "targetname target angle random"},
    {"path_corner", P, 1, "targetname target wait speed"}, // the flag is the editor's path dialog's
    {"func_door", S, 5, "targetname angle speed wait lip dmg health team model2 noise color light"},
    {"func_button", S, 0, "targetname target angle speed wait lip health model2"},
    {"func_plat", S, 0, "targetname speed lip height dmg model2"},
    {"func_rotating", S, 12, "targetname speed dmg origin model2"},
    {"func_bobbing", S, 3, "speed height phase dmg model2"},
    {"func_pendulum", S, 0, "speed phase dmg model2"},
    {"func_train", S, 4, "targetname target speed dmg model2"},
    {"func_static", S, 0, "model2 gametype"},
    {"func_group", S, 0, "_lightmapscale"},
    {"trigger_multiple", S, 3, "targetname target wait random"},
    {"trigger_push", S, 0, "target"},
    {"trigger_teleport", S, 1, "target"},
    {"trigger_hurt", S, 31, "targetname dmg"},
};

// The editor's own classes, which the game ignores.
const char* const kEditorClasses[] = {"light_flare", "light_target", "misc_decal", "misc_particles",
                                      "misc_prefab", "misc_sprite",  "path_camera"};

TEST_F(FgdSampleTest, EveryClassOfTheGameWithItsKindFlagsAndKeys) {
    file = Fgd_Acquire(registry(), kSample);
    ASSERT_TRUE(Fgd_Load(file, false));
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    QSet<QByteArray> listed;
    for (const GameClass& c : kGameClasses) {
        SCOPED_TRACE(c.name);
        listed.insert(c.name);
        EntityClass* eclass = Fgd_FindClass(file, c.name, c.kind);
        ASSERT_NE(eclass, nullptr);
        EXPECT_EQ(eclass->kind, c.kind);
        EXPECT_FALSE(eclass->description.isEmpty());
        uint32_t flags = 0;
        int items = 0;
        if (const EntityProperty* spawnflags = Fgd_FindProperty(eclass, "spawnflags")) {
            EXPECT_EQ(spawnflags->type, PropertyType::Flags);
            for (const PropertyChoice& item : spawnflags->choices)
                flags |= 1u << item.value.toInt();
            items = int(spawnflags->choices.size());
        }
        EXPECT_EQ(flags, c.flags);
        EXPECT_EQ(items, std::popcount(c.flags));
        for (const QByteArray& key : QByteArray(c.keys).split(' '))
            EXPECT_NE(Fgd_FindProperty(eclass, key), nullptr) << key.constData();
    }
    // Nothing beyond the game's classes but the editor's own.
    for (const char* name : kEditorClasses)
        listed.insert(name);
    for (const auto& entry : file->classes) {
        const EntityClass* eclass = entry.second.get();
        const bool placed = eclass->kind == P || eclass->kind == S;
        EXPECT_TRUE(!placed || listed.contains(eclass->name)) << eclass->name.constData();
    }

    // Boxes the game gives: a player's, an item's, an obelisk standing on the floor.
    const struct {
        const char* name;
        float mins[3], maxs[3];
    } boxes[] = {{"team_CTF_redspawn", {-16, -16, -24}, {16, 16, 32}},
                 {"info_player_intermission", {-16, -16, -24}, {16, 16, 32}},
                 {"team_CTF_redflag", {-16, -16, -16}, {16, 16, 16}},
                 {"holdable_medkit", {-16, -16, -16}, {16, 16, 16}},
                 {"team_blueobelisk", {-15, -15, 0}, {15, 15, 87}},
                 {"misc_teleporter_dest", {-32, -32, -24}, {32, 32, -16}}};
    for (const auto& box : boxes) {
        const EntityClass* eclass = point(box.name);
        ASSERT_NE(eclass, nullptr) << box.name;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(eclass->mins[i], box.mins[i]) << box.name;
            EXPECT_EQ(eclass->maxs[i], box.maxs[i]) << box.name;
        }
    }
    // A new entity takes every default: an item's respawn time of -1 would keep it from ever
    // coming back, a door's speed other than the game's own would change it.
    EXPECT_TRUE(Fgd_FindProperty(point("item_quad"), "wait")->defaultValue.isEmpty());
    EXPECT_EQ(Fgd_FindProperty(solid("func_door"), "speed")->defaultValue, "400");
    EXPECT_EQ(point("weapon_chaingun")->model, "models/weapons/vulcan/vulcan.md3");
}

} // namespace
