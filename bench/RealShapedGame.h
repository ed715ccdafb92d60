// A game folder and a map shaped like a real capture-the-flag map, all made here (no game's
// files): the game's PK3 (pictures, effect scripts named by a shader list, MD3 models, and many
// pictures the map never uses, as a game holds), a map pack's PK3 beside it (its own effect script,
// which no list names: a sky with a far box, a teleporter, lights; its own pictures), and a
// Quake III map of rooms: about 2,400 world brushes, a sky box of the pack's sky, 300 patches of
// mixed sizes (8 of them the pack's teleporter), 2,300 entities of which 1,900 lights, 60 MD3
// models, items, spawn points and flags, and 70 brush entities. bench/real_shaped_map.py writes a
// map of the same shape over a real game's names for the side-by-side figures.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdint>

#include "../tests/quake3/ImageFiles.h"
#include "ModelFixtures.h"
#include "Pk3Writer.h"

struct RealShapedCounts {
    int usedTextures = 150;  // names the map's faces use
    int unusedImages = 1500; // pictures of the game the map never shows
    int gameEffects = 60;    // effects of the game's listed script
    int models = 12;         // MD3 models of the game
    int lights = 1900;
    int modelEntities = 60;
};

namespace real_shaped {

struct Random {
    uint32_t state = 58u;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    int below(int n) { return int(next() % uint32_t(n > 0 ? n : 1)); }
    int range(int lo, int hi) { return lo + below(hi - lo); }
};

inline QByteArray picture(int side, int seed) {
    QByteArray rgb(side * side * 3, 0);
    for (int p = 0; p < rgb.size(); ++p)
        rgb[p] = char((p / 3 % side) * (seed % 7 + 1) + (p / 3 / side) + (p % 3) * seed);
    return rgb;
}

inline void put(QByteArray& out, const char* format, auto... values) {
    char line[512];
    const int n = std::snprintf(line, sizeof line, format, values...);
    out.append(line, n < 0 ? 0 : std::min(n, int(sizeof line) - 1));
}

inline void box(QByteArray& out, int x0, int y0, int z0, int x1, int y1, int z1, const QByteArray& texture) {
    const int p[6][9] = {{x0, y0, z0, x0, y1, z0, x0, y0, z1}, {x1, y0, z0, x1, y0, z1, x1, y1, z0},
                         {x0, y0, z0, x0, y0, z1, x1, y0, z0}, {x0, y1, z0, x1, y1, z0, x0, y1, z1},
                         {x0, y0, z0, x1, y0, z0, x0, y1, z0}, {x0, y0, z1, x0, y1, z1, x1, y0, z1}};
    out += "{\n";
    for (const auto& f : p)
        put(out, "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) %s 0 0 0 0.5 0.5 0 0 0\n", f[0], f[1], f[2], f[3],
            f[4], f[5], f[6], f[7], f[8], texture.constData());
    out += "}\n";
}

// A patch of columns x rows control points over surface(u, v) -> x, y, z.
template <class Surface>
void patch(QByteArray& out, const QByteArray& texture, int columns, int rows, Surface surface) {
    put(out, "{\npatchDef2\n{\n%s\n( %d %d 0 0 0 )\n(\n", texture.constData(), columns, rows);
    for (int c = 0; c < columns; ++c) {
        out += "( ";
        for (int r = 0; r < rows; ++r) {
            const double u = double(c) / (columns - 1), v = double(r) / (rows - 1);
            double x, y, z;
            surface(u, v, x, y, z);
            put(out, "( %.2f %.2f %.2f %.3f %.3f ) ", x, y, z, u * (columns - 1) / 4, v * (rows - 1) / 4);
        }
        out += ")\n";
    }
    out += ")\n}\n}\n";
}

constexpr const char* kPackScript = R"(// The map pack's own effects: no shader list names this script.
textures/pack/sky
{
	qer_editorimage textures/pack/sky_clouds.tga
	surfaceparm noimpact
	surfaceparm nolightmap
	surfaceparm sky
	skyparms env/pack/sky - -
	{
		map textures/pack/sky_clouds.tga
		tcMod scroll 0.02 0.01
		blendFunc GL_ONE GL_ONE
	}
}
textures/pack/tele_fx
{
	qer_editorimage textures/pack/tele.tga
	surfaceparm trans
	cull none
	{
		map textures/pack/tele.tga
		tcMod rotate 40
	}
	{
		map textures/pack/tele_swirl.tga
		blendFunc GL_ONE GL_ONE
		tcMod scroll 0.3 0.1
	}
}
textures/pack/light_fx
{
	qer_editorimage textures/pack/light.tga
	q3map_surfacelight 2000
	{
		map $lightmap
	}
	{
		map textures/pack/light.tga
		blendFunc GL_DST_COLOR GL_ZERO
	}
}
)";

} // namespace real_shaped

// Writes <folder>/base/pak0.pk3, <folder>/base/zz-pack.pk3 and <folder>/realshape.map; false when
// a file cannot be written.
inline bool RealShaped_Write(const QString& folder, const RealShapedCounts& counts = {}) {
    using namespace real_shaped;
    Random rnd;
    if (!QDir().mkpath(folder + "/base")) return false;
    auto write = [](const QString& path, const QByteArray& data) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
    };
    // The game: the map's pictures (TGA deflated, JPEG stored, as games pack them), effects of a
    // listed script over some of them, pictures nobody uses, and models.
    QList<Pk3Entry> game;
    QList<QByteArray> names;
    static const char* const kSets[] = {"base_wall",   "base_floor",   "base_trim",  "gothic_block",
                                        "gothic_wall", "gothic_floor", "base_light", "base_support",
                                        "ctf",         "stone"};
    for (int i = 0; i < counts.usedTextures + counts.unusedImages; ++i) {
        const QByteArray name = QByteArray(kSets[i % 10]) + "/t" + QByteArray::number(i);
        const int side = i < counts.usedTextures ? 128 : 64;
        const QByteArray member = "textures/" + name + (i % 3 ? ".jpg" : ".tga");
        if (i % 3)
            game.append({member, JpegFile(side, side, 3, picture(side, i), false), 0});
        else
            game.append({member, TgaFile(2, side, side, 24, 0x20, picture(side, i)), 8});
        if (i < counts.usedTextures) names.append(name);
    }
    QByteArray script;
    for (int i = 0; i < counts.gameEffects; ++i) {
        const QByteArray& image = names[i];
        put(script,
            "textures/%s_fx\n{\n\tqer_editorimage textures/%s.%s\n\t{\n\t\tmap $lightmap\n\t}\n"
            "\t{\n\t\tmap textures/%s.%s\n\t\tblendFunc filter\n\t}\n}\n",
            image.constData(), image.constData(), i % 3 ? "jpg" : "tga", image.constData(),
            i % 3 ? "jpg" : "tga");
        names.append(image + "_fx");
    }
    game.append({"scripts/shaderlist.txt", "game\n", 8});
    game.append({"scripts/game.shader", script, 8});
    QList<QByteArray> models;
    for (int i = 0; i < counts.models; ++i) {
        Md3Fixture f;
        f.frameCount = 1;
        Md3FixtureSurface s;
        s.effects = {"textures/" + names[i % counts.usedTextures].toStdString() + (i % 3 ? ".jpg" : ".tga")};
        f.surfaces = {s};
        const std::string md3 = Md3File(f);
        models.append("models/mapobjects/bench/m" + QByteArray::number(i) + ".md3");
        game.append({models.last(), QByteArray(md3.data(), qsizetype(md3.size())), 8});
    }
    // The map pack.
    QList<Pk3Entry> pack;
    pack.append({"scripts/pack.shader", kPackScript, 8});
    for (const char* name :
         {"textures/pack/sky_clouds", "textures/pack/tele", "textures/pack/tele_swirl", "textures/pack/light",
          "textures/pack/wall", "env/pack/sky_rt", "env/pack/sky_lf", "env/pack/sky_bk", "env/pack/sky_ft",
          "env/pack/sky_up", "env/pack/sky_dn"})
        pack.append({QByteArray(name) + ".tga",
                     TgaFile(2, 128, 128, 24, 0x20, picture(128, int(qHash(name) % 97))), 8});
    if (!write(folder + "/base/pak0.pk3", Pk3Build(game)) ||
        !write(folder + "/base/zz-pack.pk3", Pk3Build(pack)))
        return false;

    // The map: a grid of rooms (floor, ceiling, walls with doorways and lintels), then details.
    const QList<QByteArray> pool = names;
    auto pick = [&] {
        static const QByteArray kPack[] = {"pack/wall", "pack/light_fx"};
        return rnd.below(100) < 8 ? kPack[rnd.below(2)] : pool[rnd.below(int(pool.size()))];
    };
    constexpr int kCell = 768, kHeight = 256, kGrid = 6;
    QByteArray map;
    map.reserve(2 << 20);
    map += "{\n\"classname\" \"worldspawn\"\n\"message\" \"real-shaped, generated\"\n";
    int brushes = 0;
    auto floorOf = [](int i, int j) { return ((i + 2 * j) % 3) * 32; };
    for (int i = 0; i < kGrid; ++i)
        for (int j = 0; j < kGrid; ++j) {
            const int ox = i * kCell, oy = j * kCell, f = floorOf(i, j), h = kCell / 2;
            const QByteArray wall = pick();
            box(map, ox, oy, f - 16, ox + kCell, oy + kCell, f, pick());
            box(map, ox, oy, f + kHeight, ox + kCell, oy + kCell, f + kHeight + 16, pick());
            box(map, ox, oy, f, ox + h - 64, oy + 16, f + kHeight, wall);
            box(map, ox + h + 64, oy, f, ox + kCell, oy + 16, f + kHeight, wall);
            box(map, ox + h - 64, oy, f + 128, ox + h + 64, oy + 16, f + kHeight, pick());
            box(map, ox, oy, f, ox + 16, oy + h - 64, f + kHeight, wall);
            box(map, ox, oy + h + 64, f, ox + 16, oy + kCell, f + kHeight, wall);
            box(map, ox, oy + h - 64, f + 128, ox + 16, oy + h + 64, f + kHeight, pick());
            brushes += 8;
        }
    const int perRoom = (2400 - 6 - brushes) / (kGrid * kGrid);
    for (int room = 0; room < kGrid * kGrid; ++room) {
        const int ox = room / kGrid * kCell, oy = room % kGrid * kCell,
                  f = floorOf(room / kGrid, room % kGrid);
        for (int k = 0; k < perRoom;) {
            const int x = ox + rnd.range(48, kCell - 160) / 8 * 8,
                      y = oy + rnd.range(48, kCell - 160) / 8 * 8;
            switch (k % 5) {
            case 0:
                box(map, x, y, f, x + 32, y + 32, f + kHeight, pick()), ++k;
                break;
            case 1:
                for (int s = 0; s < 6 && k < perRoom; ++s, ++k)
                    box(map, x + s * 16, y, f, x + s * 16 + 16, y + 64, f + (s + 1) * 16, pick());
                break;
            case 2:
                box(map, x, oy + 16, f, x + rnd.range(64, 256) / 8 * 8, oy + 24, f + 16, pick()), ++k;
                break;
            default: {
                const int s = 32 + 16 * rnd.below(3);
                box(map, x, y, f, x + s, y + s, f + s, pick()), ++k;
            }
            }
        }
    }
    const int lo = -64, hi = kGrid * kCell + 64, t = 16, bottom = -128, top = 512;
    const int sky[6][6] = {{lo - t, lo - t, bottom - t, hi + t, hi + t, bottom},
                           {lo - t, lo - t, top, hi + t, hi + t, top + t},
                           {lo - t, lo - t, bottom, lo, hi + t, top},
                           {hi, lo - t, bottom, hi + t, hi + t, top},
                           {lo, lo - t, bottom, hi, lo, top},
                           {lo, hi, bottom, hi, hi + t, top}};
    for (const auto& s : sky)
        box(map, s[0], s[1], s[2], s[3], s[4], s[5], "pack/sky");
    // Patches: bevels, arches, pipes, columns and bumps.
    static const int kSizes[][2] = {{3, 3}, {3, 3}, {3, 3}, {3, 3}, {5, 3}, {5, 3},
                                    {3, 5}, {9, 3}, {3, 9}, {9, 9}, {5, 5}, {7, 3}};
    const double pi = 3.14159265358979;
    for (int p = 0; p < 300; ++p) {
        const int i = p % kGrid, j = p / kGrid % kGrid, ox = i * kCell, oy = j * kCell, f = floorOf(i, j);
        const int columns = kSizes[p % 12][0], rows = kSizes[p % 12][1];
        const double x = ox + rnd.range(64, kCell - 320), y = oy + rnd.range(64, kCell - 320);
        const QByteArray texture = p < 8 ? QByteArray("pack/tele_fx") : pick();
        if (columns == rows && columns > 3)
            patch(map, texture, columns, rows, [&](double u, double v, double& px, double& py, double& pz) {
                px = x + u * 192, py = y + v * 192, pz = f + 1 + 32 * std::sin(u * pi) * std::sin(v * pi);
            });
        else if (columns == 3 && rows == 3)
            patch(map, texture, 3, 3, [&](double u, double v, double& px, double& py, double& pz) {
                px = x + v * 64, py = oy + 48 - 32 * std::cos(u * pi / 2),
                pz = f + 32 - 32 * std::sin(u * pi / 2);
            });
        else if (columns > rows)
            patch(map, texture, columns, rows, [&](double u, double v, double& px, double& py, double& pz) {
                px = x + u * 256, py = oy + 40 - 24 * std::cos(v * pi), pz = f + 48 + 24 * std::sin(v * pi);
            });
        else
            patch(map, texture, columns, rows, [&](double u, double v, double& px, double& py, double& pz) {
                px = x + 24 * std::cos(u * pi), py = y + 24 * std::sin(u * pi), pz = f + v * kHeight;
            });
    }
    map += "}\n";
    // Entities: a player start first, then lights most, models, items, spawns, flags, targets.
    auto spot = [&](int z) {
        const int i = rnd.below(kGrid), j = rnd.below(kGrid);
        return std::array<int, 3>{i * kCell + rnd.range(48, kCell - 48),
                                  j * kCell + rnd.range(48, kCell - 48), floorOf(i, j) + z};
    };
    auto point = [&](const char* classname, std::array<int, 3> o, const QByteArray& keys = {}) {
        put(map, "{\n\"classname\" \"%s\"\n\"origin\" \"%d %d %d\"\n%s}\n", classname, o[0], o[1], o[2],
            keys.constData());
    };
    point("info_player_deathmatch", {kCell / 2, kCell / 2, 40}, "\"angle\" \"0\"\n");
    for (int n = 0; n < counts.lights; ++n)
        point("light", spot(rnd.range(40, kHeight - 24)),
              "\"light\" \"" + QByteArray::number(100 + 50 * rnd.below(5)) +
                  "\"\n\"_color\" \"1 0.9 0.8\"\n");
    for (int n = 0; n < counts.modelEntities; ++n)
        point("misc_model", spot(0),
              "\"model\" \"" + models[n % models.size()] + "\"\n\"angle\" \"" +
                  QByteArray::number(15 * rnd.below(24)) + "\"\n");
    static const char* const kItems[] = {"item_health",    "item_armor_shard",      "ammo_rockets",
                                         "weapon_railgun", "weapon_rocketlauncher", "item_quad",
                                         "holdable_medkit"};
    for (int n = 0; n < 150; ++n)
        point(kItems[n % 7], spot(24));
    for (int n = 0; n < 32; ++n)
        point(n % 2 ? "team_CTF_redspawn" : "team_CTF_bluespawn", spot(24), "\"angle\" \"90\"\n");
    point("team_CTF_redflag", spot(24));
    point("team_CTF_blueflag", spot(24));
    for (int n = 0; n < 60; ++n)
        point(n % 2 ? "target_position" : "misc_teleporter_dest", spot(24),
              "\"targetname\" \"t" + QByteArray::number(n) + "\"\n");
    for (int n = 0; n < 70; ++n) {
        const auto o = spot(0);
        static const char* const kKinds[] = {"func_door", "trigger_teleport", "trigger_push", "func_static"};
        put(map, "{\n\"classname\" \"%s\"\n\"target\" \"t%d\"\n", kKinds[n % 4], n % 60);
        box(map, o[0], o[1], o[2], o[0] + 64, o[1] + 64, o[2] + 96,
            n % 4 == 1 || n % 4 == 2 ? QByteArray("common/trigger") : pick());
        map += "}\n";
    }
    return write(folder + "/realshape.map", map);
}
