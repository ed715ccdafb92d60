// The entity classes of every map in Debian's openarena-data against the sample entity
// definitions: each class a map uses is defined, as a brush class when the map gives it brushes
// and as a point class otherwise. Names the game itself has no spawn function for are listed
// apart; when the game's code (openarena-server) is installed, it confirms both lists: it names
// every class of the definitions and none of those names.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "OpenArenaData.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "mainwindow/MainWindow.h"

namespace {

// Classes real maps carry that the game ignores: other games' names, misspellings, a name broken
// in one map.
const char* const kUnknownToTheGame[] = {
    "ammo_chaingun",
    "ammo_nailgun",
    "ammo_proxmine",
    "weapon_proxmine",
    "item_kamikaze",
    "dom_controlpoint",
    "runematch_spawn_point",
    "event_lightning",
    "info_intermission",
    "info_location",
    "func_illusionary",
    "trigger_changelevel",
    "trigger_relay",
    "info_teleport_destination",
    "item_health_small (0 1 0",
};

// Classes of the definitions the game does not spawn: the editor's own, and the compiler's light
// (the game's code holds its name only inside a longer one).
const char* const kNotInTheGameCode[] = {"light",          "light_flare", "light_target", "misc_decal",
                                         "misc_particles", "misc_prefab", "misc_sprite",  "path_camera"};

struct MapEntity {
    QByteArray classname;
    bool brushes = false; // a "model" of the form "*N": the map's own brush model
};

// The entity lump of a Quake III BSP (version 46, 17 lumps), or empty when the header does not
// fit the data.
QByteArray entityLump(const QByteArray& bsp) {
    if (bsp.size() < 8 + 17 * 8 || !bsp.startsWith("IBSP")) return QByteArray();
    int32_t offset = 0, length = 0;
    std::memcpy(&offset, bsp.constData() + 8, 4);
    std::memcpy(&length, bsp.constData() + 12, 4);
    if (offset < 0 || length < 0 || offset > bsp.size() || length > bsp.size() - offset) return QByteArray();
    return bsp.mid(offset, length);
}

// Every "{ "key" "value" ... }" block of the lump.
std::vector<MapEntity> entitiesOf(const QByteArray& lump) {
    std::vector<MapEntity> entities;
    MapEntity current;
    QList<QByteArray> strings;
    for (qsizetype i = 0; i < lump.size(); ++i) {
        const char c = lump[i];
        if (c == '{') {
            current = MapEntity();
            strings.clear();
        } else if (c == '"') {
            const qsizetype end = lump.indexOf('"', i + 1);
            if (end < 0) break;
            strings << lump.mid(i + 1, end - i - 1);
            i = end;
        } else if (c == '}') {
            for (qsizetype k = 0; k + 1 < strings.size(); k += 2) {
                if (strings[k] == "classname") current.classname = strings[k + 1];
                if (strings[k] == "model") current.brushes = strings[k + 1].startsWith('*');
            }
            entities.push_back(current);
        }
    }
    return entities;
}

// The game's code from openarena-server, when installed.
QStringList gameLibraries() {
    QStringList found;
    QProcess dpkg;
    dpkg.start("dpkg", {"-L", "openarena-server"});
    if (dpkg.waitForFinished(30000) && dpkg.exitCode() == 0)
        for (const QString& line : QString::fromUtf8(dpkg.readAllStandardOutput()).split('\n'))
            if (QFileInfo(line).fileName().startsWith("qagame") && line.endsWith(".so")) found << line;
    return found;
}

TEST(OpenArenaData, EveryClassOfTheMapsIsDefined) {
    const QStringList folders = OpenArena_DataFolders();
    if (folders.isEmpty())
        GTEST_SKIP() << "no openarena-data (set ZARV_OPENARENA_DIR or install the package)";
    cConsoleCapture console;
    ASSERT_NO_FATAL_FAILURE(OpenArena_LoadPlugin());
    const QString definitions = QStringLiteral(ZARV_SAMPLES_DIR "/quake3/q3entities.fgd");
    GameData* file = Fgd_Acquire(&g_mainWindow->gameData, definitions);
    ASSERT_TRUE(Fgd_Load(file, false));

    QSet<QByteArray> unknownToTheGame;
    for (const char* name : kUnknownToTheGame)
        unknownToTheGame.insert(name);
    ArchiveRegistry& registry = g_mainWindow->archives;
    int maps = 0, entities = 0, ignored = 0;
    QMap<QByteArray, QStringList> missing; // "class (point|brush)" -> maps
    QSet<QByteArray> used;
    for (const QString& folder : folders) {
        GameConfig config;
        config.MapProfile = "kpQuake3";
        config.GameBasedir = folder;
        Archive_LoadForConfig(&registry, &config);
        for (ArchiveHandle* h : registry.baseArchives.values(&config)) {
            char** names = nullptr;
            if (h->listFiles(h->formatId, h, "*", &names) <= 0) continue;
            for (char** name = names; *name; ++name) {
                const QString member = QString::fromUtf8(*name);
                Sys_Free(*name);
                if (!member.endsWith(".bsp", Qt::CaseInsensitive)) continue;
                void* data = nullptr;
                const int32_t size = h->loadFile(h->formatId, h, member.toUtf8().constData(), &data);
                if (size <= 0) continue;
                const QByteArray bsp(static_cast<const char*>(data), size);
                Sys_Free(data);
                const QByteArray lump = entityLump(bsp);
                EXPECT_FALSE(lump.isEmpty()) << member.toStdString();
                ++maps;
                for (const MapEntity& e : entitiesOf(lump)) {
                    ++entities;
                    used.insert(e.classname);
                    if (unknownToTheGame.contains(e.classname)) {
                        ++ignored;
                        continue;
                    }
                    const int32_t kind = e.classname == "worldspawn" ? EntityClassKind::World
                                         : e.brushes                 ? EntityClassKind::Solid
                                                                     : EntityClassKind::Point;
                    QStringList& maps = missing[e.classname + (e.brushes ? " (brush)" : " (point)")];
                    if (!Fgd_FindClass(file, e.classname.constData(), kind) && !maps.contains(member))
                        maps << member;
                }
            }
            Sys_Free(names);
        }
        Archive_ReleaseByOwner(&registry, &config);
    }
    std::printf("openarena-data: %d maps, %d entities, %d classes, %d entities of classes the game ignores\n",
                maps, entities, int(used.size()), ignored);
    for (auto it = missing.cbegin(); it != missing.cend(); ++it)
        if (!it.value().isEmpty())
            ADD_FAILURE() << it.key().constData() << " is not defined; used in "
                          << it.value().join(", ").toStdString();
    EXPECT_GT(maps, 0);

    const QStringList libraries = gameLibraries();
    if (libraries.isEmpty()) std::printf("no openarena-server: the game's code is not checked\n");
    QSet<QByteArray> notInCode;
    for (const char* name : kNotInTheGameCode)
        notInCode.insert(name);
    for (const QString& path : libraries) {
        SCOPED_TRACE(path.toStdString());
        QFile library(path);
        ASSERT_TRUE(library.open(QIODevice::ReadOnly));
        const QByteArray code = library.readAll();
        auto named = [&code](const QByteArray& name) {
            return code.contains(QByteArray(1, '\0') + name + '\0');
        };
        for (const auto& entry : file->classes) {
            const EntityClass* eclass = entry.second.get();
            if (eclass->kind == EntityClassKind::Point || eclass->kind == EntityClassKind::Solid) {
                EXPECT_EQ(named(eclass->name), !notInCode.contains(eclass->name)) << eclass->name.constData();
            }
        }
        for (const char* name : kUnknownToTheGame)
            EXPECT_FALSE(named(name)) << name;
    }
    Fgd_Release(&g_mainWindow->gameData, definitions);
}

} // namespace
