// A large synthetic map for the benchmarks: many brushes, patches, entities with key/values,
// nested groups, visgroups and paths, laid out on a grid so nothing overlaps.
// Header-only: the benchmark program is built from the *_bench.cpp files alone, and every
// benchmark that needs the map includes this.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/System.h"
#include "document/GroupChain.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"

struct LargeMapCounts {
    int32_t brushes = 10000; // six-face boxes of the world entity
    int32_t patches = 1000;  // 9 x 9 wavy patches
    int32_t entities = 2000; // point entities
    int32_t keysPerEntity = 8;
    int32_t groups = 200; // every other group nested in the one before
    int32_t brushesPerGroup = 25;
    int32_t visGroups = 20;
    int32_t paths = 50;
    int32_t nodesPerPath = 10;
};

namespace large_map {

inline TextureInfo texture(const char* name) {
    TextureInfo info{};
    info.sScale = info.tScale = 0.5f;
    std::strncpy(info.name, name, sizeof info.name - 1);
    return info;
}

inline BrushRecord* box(MapHandle map, EntityRecord* owner, const float mins[3], const float maxs[3],
                        const TextureInfo& info) {
    const float planes[6][4] = {{0, 0, 1, maxs[2]},   {0, 0, -1, -mins[2]}, {1, 0, 0, maxs[0]},
                                {-1, 0, 0, -mins[0]}, {0, 1, 0, maxs[1]},   {0, -1, 0, -mins[1]}};
    BrushRecord* brush = Brush_Create(map, owner);
    for (const auto& p : planes) {
        FaceRecord* face = Face_Create(map, brush, &info, 0);
        std::memcpy(face->normal, p, sizeof(float) * 3);
        face->dist = p[3];
        face->axialType = Face_AxialType(face->normal);
        face->flags |= FaceFlags::ResetAxes;
    }
    brush->handle->update(0);
    return brush;
}

} // namespace large_map

// Fills a freshly initialised world (it must have no entity yet).
inline void LargeMap_Build(MapWorld* world, const LargeMapCounts& counts = {}) {
    using large_map::box;
    using large_map::texture;
    const MapHandle map = Map_Handle(world);
    const float zero[3] = {0, 0, 0};
    EntityRecord* worldspawn = Entity_Create(map, "worldspawn", zero, EntityFlag::World);
    EPair_Append(&worldspawn->epairs, "message", "large benchmark map");

    std::vector<VisGroup*> sets;
    for (int32_t i = 0; i < counts.visGroups; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "set %d", i);
        sets.push_back(Map_CreateVisGroup(world, name));
    }
    std::vector<GroupRecord*> groups;
    for (int32_t i = 0; i < counts.groups; ++i) {
        groups.push_back(Group_Create(map));
        if (i % 2 == 1) Group_SetParent(groups[size_t(i - 1)], groups.back());
    }

    const TextureInfo walls[3] = {texture("base/wall"), texture("base/floor"), texture("base/trim")};
    for (int32_t i = 0; i < counts.brushes; ++i) {
        const float x = float((i % 100) * 128), y = float((i / 100) * 128);
        const float mins[3] = {x, y, 0}, maxs[3] = {x + 64, y + 64, 64.0f + float(i % 7) * 16};
        BrushRecord* brush = box(map, worldspawn, mins, maxs, walls[i % 3]);
        if (!sets.empty()) brush->handle->addVisGroup(sets[size_t(i) % sets.size()]);
        const int32_t group = i / std::max(counts.brushesPerGroup, 1);
        if (group < counts.groups && i % 2 == 0) Map_AddBrushToGroupChain(brush, groups[size_t(group)]);
    }

    const TextureInfo curve = texture("base/curve");
    for (int32_t i = 0; i < counts.patches; ++i) {
        BrushRecord* brush = Brush_Create(map, worldspawn);
        PatchRecord* patch = Patch_Create(brush, &curve, 9, 9);
        for (int32_t c = 0; c < patch->columns; ++c)
            for (int32_t r = 0; r < patch->rows; ++r) {
                PatchPoint& p = patch->points[c][r];
                p.xyz[0] = float((i % 40) * 160 + c * 16);
                p.xyz[1] = float((i / 40) * 160 + r * 16) - 8000.0f;
                p.xyz[2] = 24.0f * std::sin(float(c) * 0.7f) * std::cos(float(r) * 0.5f);
                p.s = float(c) / float(patch->columns - 1);
                p.t = float(r) / float(patch->rows - 1);
            }
        brush->handle->update(BrushUpdate::TessellatePatch);
        if (!sets.empty()) brush->handle->addVisGroup(sets[size_t(i) % sets.size()]);
    }

    static const char* const kClasses[] = {"light", "info_player_deathmatch", "item_health",
                                           "target_speaker"};
    for (int32_t i = 0; i < counts.entities; ++i) {
        const float origin[3] = {float((i % 50) * 200), float((i / 50) * 200), 128.0f};
        EntityRecord* e = Entity_Create(map, kClasses[i % 4], origin, EntityFlag::Point);
        char key[32], value[64];
        std::snprintf(value, sizeof value, "%g %g %g", double(origin[0]), double(origin[1]),
                      double(origin[2]));
        EPair_Append(&e->epairs, "origin", value);
        for (int32_t k = 1; k < counts.keysPerEntity; ++k) {
            std::snprintf(key, sizeof key, "key%d", k);
            std::snprintf(value, sizeof value, "value %d of entity %d", k, i);
            EPair_Append(&e->epairs, key, value);
        }
        if (!sets.empty() && i % 3 == 0) e->handle->addVisGroup(sets[size_t(i) % sets.size()]);
        if (!groups.empty() && i % 10 == 0)
            Map_AddEntityToGroupChain(e, groups[size_t(i / 10) % groups.size()]);
    }

    for (int32_t i = 0; i < counts.paths; ++i) {
        PathRecord* path = Path_Create(map);
        char name[32];
        std::snprintf(name, sizeof name, "route%d", i);
        path->name = Sys_StrDup(name);
        path->className = Sys_StrDup("path_corner");
        for (int32_t n = 0; n < counts.nodesPerPath; ++n) {
            NodeRecord* node = Node_Append(map, path);
            node->origin[0] = float(i * 64);
            node->origin[1] = float(n * 64);
            node->origin[2] = 256.0f;
            EPair_Append(&node->epairs, "speed", "200");
        }
        path->handle->update();
    }
}
