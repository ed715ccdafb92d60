// A generated map shaped like a real Quake III arena rather than a lattice: rooms on a grid with
// low walls and aligned doorways (long open sight lines across the map), floors at several
// heights, pillars, crates, stairs, trims and ramps (some planes not axial), patches of mixed
// sizes (bevels, arches, pipes, columns, bumps), thousands of point entities of several classes (lights
// most), brush entities (doors, triggers, lifts, jump pads, groups) and a sky box around it all.
// Header-only, like LargeMap.h: the benchmarks and mapshot include it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "LargeMap.h"

struct ArenaMapCounts {
    int32_t rooms = 16;           // on a square grid of 1024-unit cells
    int32_t brushes = 2500;       // world brushes, the sky box included
    int32_t patches = 500;        // of mixed sizes, most 3 x 3, a few 9 x 9
    int32_t pointEntities = 2500; // about 70 % lights
    int32_t brushEntities = 120;  // one to three brushes each, besides the world's
};

namespace arena_map {

constexpr float kCell = 1024.0f;
constexpr float kWallHeight = 192.0f;
constexpr float kSkyHeight = 1280.0f;

// A fixed sequence, so every run builds the same map.
struct Random {
    uint32_t state = 12345u;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    float range(float lo, float hi) { return lo + (hi - lo) * float(next() & 0xffff) / 65535.0f; }
    int32_t below(int32_t n) { return int32_t(next() % uint32_t(std::max(n, 1))); }
};

// A brush of arbitrary planes (outward normal and distance).
inline BrushRecord* planeBrush(MapHandle map, EntityRecord* owner, const float (*planes)[4], int count,
                               const TextureInfo& info) {
    BrushRecord* brush = Brush_Create(map, owner);
    for (int i = 0; i < count; ++i) {
        FaceRecord* face = Face_Create(map, brush, &info, 0);
        float n[3] = {planes[i][0], planes[i][1], planes[i][2]};
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        for (float& c : n)
            c /= length;
        std::memcpy(face->normal, n, sizeof n);
        face->dist = planes[i][3] / length;
        face->axialType = Face_AxialType(face->normal);
        face->flags |= FaceFlags::ResetAxes;
    }
    brush->handle->update(0);
    return brush;
}

// A wedge rising along +x from mins[2] to maxs[2]: a ramp.
inline BrushRecord* ramp(MapHandle map, EntityRecord* owner, const float mins[3], const float maxs[3],
                         const TextureInfo& info) {
    const float dx = maxs[0] - mins[0], dz = maxs[2] - mins[2];
    // The slope plane passes through (mins x, mins z) and (maxs x, maxs z).
    const float n[3] = {-dz, 0.0f, dx};
    const float planes[5][4] = {{0, 0, -1, -mins[2]},
                                {1, 0, 0, maxs[0]},
                                {0, 1, 0, maxs[1]},
                                {0, -1, 0, -mins[1]},
                                {n[0], n[1], n[2], n[0] * mins[0] + n[2] * mins[2]}};
    return planeBrush(map, owner, planes, 5, info);
}

inline void addKey(EntityRecord* e, const char* key, const char* value) {
    EPair_Append(&e->epairs, key, value);
}

inline EntityRecord* pointEntity(MapHandle map, const char* classname, const float origin[3]) {
    EntityRecord* e = Entity_Create(map, classname, origin, EntityFlag::Point);
    char value[64];
    std::snprintf(value, sizeof value, "%g %g %g", double(origin[0]), double(origin[1]), double(origin[2]));
    addKey(e, "origin", value);
    return e;
}

// A patch of columns x rows control points over the given surface function of (u, v) in [0, 1].
template <class Surface>
void patch(MapHandle map, EntityRecord* owner, const TextureInfo& info, int columns, int rows,
           Surface surface) {
    BrushRecord* brush = Brush_Create(map, owner);
    PatchRecord* record = Patch_Create(brush, &info, columns, rows);
    for (int c = 0; c < record->columns; ++c)
        for (int r = 0; r < record->rows; ++r) {
            PatchPoint& p = record->points[c][r];
            const float u = float(c) / float(record->columns - 1), v = float(r) / float(record->rows - 1);
            surface(u, v, p.xyz);
            p.s = u * float(columns - 1) * 0.25f;
            p.t = v * float(rows - 1) * 0.25f;
        }
    brush->handle->update(BrushUpdate::TessellatePatch);
}

struct Room {
    float x0, y0, floor; // south-west corner and floor height
};

} // namespace arena_map

// Fills a freshly initialised world (it must have no entity yet). The first point entity is a
// player start in the first room facing along +x, down the row of doorways.
inline void ArenaMap_Build(MapWorld* world, const ArenaMapCounts& counts = {}) {
    using namespace arena_map;
    using large_map::box;
    using large_map::texture;
    const MapHandle map = Map_Handle(world);
    Random rnd;
    const float zero[3] = {0, 0, 0};
    EntityRecord* worldspawn = Entity_Create(map, "worldspawn", zero, EntityFlag::World);
    addKey(worldspawn, "message", "generated arena");
    addKey(worldspawn, "_color", "1 0.9 0.8");

    const int32_t side = std::max(1, int32_t(std::ceil(std::sqrt(double(std::max(counts.rooms, 1))))));
    const int32_t rooms = std::max(counts.rooms, 1);
    std::vector<Room> cells;
    for (int32_t i = 0; i < rooms; ++i) {
        const int32_t cx = i % side, cy = i / side;
        cells.push_back({float(cx) * kCell, float(cy) * kCell, float((cx + 2 * cy) % 4) * 32.0f});
    }

    static const char* const kWalls[] = {"base_wall/metalfloor", "base_wall/concrete",
                                         "gothic_block/blocks15", "gothic_wall/iron01",
                                         "base_wall/basewall01"};
    static const char* const kFloors[] = {"base_floor/diamond2", "base_floor/tilefloor",
                                          "gothic_floor/floor02", "base_floor/clangdark"};
    static const char* const kTrims[] = {"base_trim/border11", "gothic_trim/baseboard09", "base_trim/pewter",
                                         "base_light/ceil1_30", "base_support/support1"};
    static const char* const kCurves[] = {"base_wall/patch10", "gothic_trim/pillar1", "base_trim/tin",
                                          "base_floor/pjgrate1"};
    auto tex = [&](const char* const* names, int n, int32_t i) { return texture(names[i % n]); };

    // Sky box: six slabs around the whole map, every face the sky.
    const TextureInfo sky = texture("skies/arena_sky");
    const float extent = float(side) * kCell;
    {
        const float lo = -64.0f, hi = extent + 64.0f, t = 16.0f, bottom = -128.0f, top = kSkyHeight;
        const float slabs[6][6] = {{lo - t, lo - t, bottom - t, hi + t, hi + t, bottom},
                                   {lo - t, lo - t, top, hi + t, hi + t, top + t},
                                   {lo - t, lo - t, bottom, lo, hi + t, top},
                                   {hi, lo - t, bottom, hi + t, hi + t, top},
                                   {lo, lo - t, bottom, hi, lo, top},
                                   {lo, hi, bottom, hi, hi + t, top}};
        for (const auto& s : slabs)
            box(map, worldspawn, s, s + 3, sky);
    }

    // World brushes: each room's floor, walls with doorways and lintels first, then details
    // until the room's share is spent.
    const int32_t perRoom = std::max(0, (counts.brushes - 6) / rooms);
    int32_t brushesLeft = counts.brushes - 6;
    for (int32_t i = 0; i < rooms && brushesLeft > 0; ++i) {
        const Room& r = cells[size_t(i)];
        int32_t budget = std::min(brushesLeft, i == rooms - 1 ? brushesLeft : perRoom);
        const int32_t before = budget;
        auto add = [&](const float mins[3], const float maxs[3], const TextureInfo& info) {
            if (budget <= 0) return;
            box(map, worldspawn, mins, maxs, info);
            --budget;
        };
        const float f = r.floor, x0 = r.x0, y0 = r.y0, x1 = r.x0 + kCell, y1 = r.y0 + kCell;
        for (int q = 0; q < 4; ++q) {
            const float qx = x0 + float(q % 2) * kCell / 2, qy = y0 + float(q / 2) * kCell / 2;
            const float mins[3] = {qx, qy, f - 16}, maxs[3] = {qx + kCell / 2, qy + kCell / 2, f};
            add(mins, maxs, tex(kFloors, 4, i + q));
        }
        // Walls on the south and west sides of each cell, a 128-unit doorway in the middle; every
        // third room leaves its west side open.
        const TextureInfo wall = tex(kWalls, 5, i);
        const float door = 64.0f, t = 16.0f, mid = kCell / 2;
        for (int w = 0; w < 2; ++w) {
            if (w == 1 && i % 3 == 2) continue;
            for (int piece = 0; piece < 2; ++piece) {
                float mins[3], maxs[3];
                const float a = piece == 0 ? 0.0f : mid + door, b = piece == 0 ? mid - door : kCell;
                if (w == 0) {
                    mins[0] = x0 + a, mins[1] = y0, maxs[0] = x0 + b, maxs[1] = y0 + t;
                } else {
                    mins[0] = x0, mins[1] = y0 + a, maxs[0] = x0 + t, maxs[1] = y0 + b;
                }
                mins[2] = f, maxs[2] = f + kWallHeight;
                add(mins, maxs, wall);
            }
            float mins[3], maxs[3];
            if (w == 0) {
                mins[0] = x0 + mid - door, mins[1] = y0, maxs[0] = x0 + mid + door, maxs[1] = y0 + t;
            } else {
                mins[0] = x0, mins[1] = y0 + mid - door, maxs[0] = x0 + t, maxs[1] = y0 + mid + door;
            }
            mins[2] = f + 128, maxs[2] = f + kWallHeight;
            add(mins, maxs, tex(kTrims, 5, i));
        }
        // Details: pillars, crates, stair steps, wall trims and ramps, kept off the doorway lines.
        for (int32_t k = 0; budget > 0; ++k) {
            const int kind = k % 6;
            const float px = rnd.range(x0 + 48, x1 - 112), py = rnd.range(y0 + 48, y1 - 112);
            if (std::fabs(px + 32 - (x0 + mid)) < 96 || std::fabs(py + 32 - (y0 + mid)) < 96) continue;
            if (kind == 0) {
                const float mins[3] = {px, py, f}, maxs[3] = {px + 32, py + 32, f + kWallHeight + 64};
                add(mins, maxs, tex(kTrims, 5, k));
            } else if (kind == 1 || kind == 4) {
                const float s = float(32 << rnd.below(2));
                const float mins[3] = {px, py, f}, maxs[3] = {px + s, py + s, f + s};
                add(mins, maxs, tex(kWalls, 5, k + i));
            } else if (kind == 2) {
                const int steps = 4 + rnd.below(5);
                for (int s = 0; s < steps && budget > 0; ++s) {
                    const float mins[3] = {px + float(s) * 16, py, f},
                                maxs[3] = {px + float(s + 1) * 16, py + 64, f + float(s + 1) * 16};
                    add(mins, maxs, tex(kFloors, 4, k));
                }
            } else if (kind == 3) {
                const float mins[3] = {px, y0 + t, f},
                            maxs[3] = {px + rnd.range(64, 256), y0 + t + 8, f + 16};
                add(mins, maxs, tex(kTrims, 5, k + 1));
            } else if (budget > 0) {
                const float mins[3] = {px, py, f}, maxs[3] = {px + 96, py + 64, f + rnd.range(24, 64)};
                ramp(map, worldspawn, mins, maxs, tex(kFloors, 4, k + 2));
                --budget;
            }
        }
        brushesLeft -= before - budget;
    }

    // Patches in the mix real maps have (most 3 x 3, then 5 x 3, 9 x 3 and the like, a few larger):
    // bevels, arches over the doorways, pipes along the walls, columns and bumps on the floors.
    struct Size {
        int columns, rows, share;
    };
    static const Size kSizes[] = {{3, 3, 28}, {5, 3, 8},  {3, 5, 4}, {9, 3, 4}, {3, 9, 1},
                                  {7, 3, 2},  {11, 3, 1}, {9, 9, 1}, {5, 5, 1}};
    std::vector<Size> mix;
    for (const Size& size : kSizes)
        mix.insert(mix.end(), size_t(size.share), size);
    for (int32_t p = 0; p < counts.patches; ++p) {
        const Room& r = cells[size_t(p % rooms)];
        const Size size = mix[size_t(p) % mix.size()];
        const TextureInfo curve = tex(kCurves, 4, p);
        const float ox = rnd.range(r.x0 + 64, r.x0 + kCell - 320),
                    oy = rnd.range(r.y0 + 64, r.y0 + kCell - 320);
        const float f = r.floor, pi = 3.14159265f;
        if (size.columns == size.rows && size.columns > 3) { // bump
            patch(map, worldspawn, curve, size.columns, size.rows, [&](float u, float v, float* out) {
                out[0] = ox + u * 192;
                out[1] = oy + v * 192;
                out[2] = f + 1 + 32 * std::sin(u * pi) * std::sin(v * pi);
            });
        } else if (size.columns == 3 && size.rows == 3) { // bevel between a wall and the floor
            patch(map, worldspawn, curve, 3, 3, [&](float u, float v, float* out) {
                const float a = u * pi / 2;
                out[0] = ox + v * 64;
                out[1] = r.y0 + 16 + 32 - 32 * std::cos(a);
                out[2] = f + 32 - 32 * std::sin(a);
            });
        } else if (size.columns > size.rows && p % 4 == 0) { // arch of the south doorway
            patch(map, worldspawn, curve, size.columns, size.rows, [&](float u, float v, float* out) {
                const float a = u * pi;
                out[0] = r.x0 + kCell / 2 - 64 * std::cos(a);
                out[1] = r.y0 + v * 16;
                out[2] = f + 96 + 32 * std::sin(a);
            });
        } else if (size.columns > size.rows) { // pipe half along a wall
            patch(map, worldspawn, curve, size.columns, size.rows, [&](float u, float v, float* out) {
                const float a = v * pi;
                out[0] = ox + u * 256;
                out[1] = r.y0 + 16 + 24 - 24 * std::cos(a);
                out[2] = f + 48 + 24 * std::sin(a) + float(p % 4) * 24;
            });
        } else { // column
            patch(map, worldspawn, curve, size.columns, size.rows, [&](float u, float v, float* out) {
                const float a = u * pi;
                out[0] = ox + 24 * std::cos(a);
                out[1] = oy + 24 * std::sin(a);
                out[2] = f + v * kWallHeight;
            });
        }
    }

    // Point entities: a player start first, then by share: lights most, items, weapons, models,
    // spawn points, targets and speakers.
    static const char* const kItems[] = {"item_health", "item_armor_shard", "ammo_rockets",
                                         "item_health_large", "ammo_bullets"};
    static const char* const kWeapons[] = {"weapon_rocketlauncher", "weapon_railgun", "weapon_shotgun",
                                           "weapon_plasmagun"};
    static const char* const kOthers[] = {"target_position", "target_speaker", "info_notnull",
                                          "misc_teleporter_dest"};
    for (int32_t n = 0; n < counts.pointEntities; ++n) {
        const Room& r = cells[size_t(n % rooms)];
        const int32_t share = n == 0 ? -1 : int32_t(rnd.next() % 100);
        float origin[3] = {rnd.range(r.x0 + 48, r.x0 + kCell - 48), rnd.range(r.y0 + 48, r.y0 + kCell - 48),
                           r.floor + 24};
        EntityRecord* e = nullptr;
        char value[64];
        if (share < 0) {
            origin[0] = r.x0 + 96, origin[1] = r.y0 + kCell / 2;
            e = pointEntity(map, "info_player_deathmatch", origin);
            addKey(e, "angle", "0");
        } else if (share < 70) {
            origin[2] = r.floor + rnd.range(48, 320);
            e = pointEntity(map, "light", origin);
            std::snprintf(value, sizeof value, "%d", 100 + 50 * rnd.below(6));
            addKey(e, "light", value);
            if (share % 3 == 0) addKey(e, "_color", "1 0.85 0.6");
        } else if (share < 78) {
            e = pointEntity(map, kItems[share % 5], origin);
        } else if (share < 82) {
            e = pointEntity(map, kWeapons[share % 4], origin);
        } else if (share < 88) {
            origin[2] = r.floor;
            e = pointEntity(map, "misc_model", origin);
            addKey(e, "model", "models/mapobjects/gratelamp/gratetorch.md3");
            std::snprintf(value, sizeof value, "%d", 45 * rnd.below(8));
            addKey(e, "angle", value);
        } else if (share < 94) {
            e = pointEntity(map, "info_player_deathmatch", origin);
            std::snprintf(value, sizeof value, "%d", 90 * rnd.below(4));
            addKey(e, "angle", value);
        } else {
            origin[2] = r.floor + 64;
            e = pointEntity(map, kOthers[share % 4], origin);
            std::snprintf(value, sizeof value, "t%d", n);
            addKey(e, "targetname", value);
        }
        Entity_Update(e, EntityUpdate::KeysChanged);
    }

    // Brush entities: doors in the doorways, triggers, lifts, jump pads and detail groups.
    static const char* const kBrushClasses[] = {"func_door", "trigger_multiple", "func_plat", "trigger_push",
                                                "func_group"};
    for (int32_t n = 0; n < counts.brushEntities; ++n) {
        const Room& r = cells[size_t(n % rooms)];
        const char* classname = kBrushClasses[n % 5];
        EntityRecord* e = Entity_Create(map, classname, zero, 0);
        const TextureInfo info = n % 5 == 1 || n % 5 == 3 ? texture("common/trigger") : tex(kWalls, 5, n);
        const int pieces = 1 + n % 3;
        for (int k = 0; k < pieces; ++k) {
            float mins[3], maxs[3];
            if (n % 5 == 0) { // door leaves in the south doorway, shut
                mins[0] = r.x0 + kCell / 2 - 64 + float(k) * 128 / float(pieces), mins[1] = r.y0 + 4,
                mins[2] = r.floor;
                maxs[0] = mins[0] + 128 / float(pieces), maxs[1] = r.y0 + 12, maxs[2] = r.floor + 128;
            } else {
                mins[0] = rnd.range(r.x0 + 64, r.x0 + kCell - 192),
                mins[1] = rnd.range(r.y0 + 64, r.y0 + kCell - 192);
                mins[2] = r.floor + float(k) * 8;
                maxs[0] = mins[0] + 64 + float(32 * k), maxs[1] = mins[1] + 64,
                maxs[2] = mins[2] + (n % 5 == 1 ? 96 : 16);
            }
            box(map, e, mins, maxs, info);
        }
        if (n % 5 == 0) addKey(e, "angle", "90");
        if (n % 5 == 3) {
            char value[32];
            std::snprintf(value, sizeof value, "t%d", n);
            addKey(e, "target", value);
        }
        Entity_Update(e, EntityUpdate::KeysChanged);
    }
}
