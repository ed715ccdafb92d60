// Carve and Make Hollow in a document with an undo history: a 64-brush wall carved by one cutter
// (pieces split off and merged again along the wall), and 1,000 cubes hollowed at once. Each
// iteration's operation is undone outside the timing, so every iteration starts from the same map.
#include <benchmark/benchmark.h>

#include <cstring>

#include "document/CarveMerge.h"
#include "document/HollowClip.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "kstdlib/kmath.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"

namespace {

BrushRecord* addBox(MapWorld* world, EntityRecord* owner, const float lo[3], const float hi[3]) {
    TextureInfo info{};
    info.sScale = info.tScale = 0.5f;
    std::strcpy(info.name, "base/wall");
    const float planes[6][4] = {{0, 0, 1, hi[2]},   {0, 0, -1, -lo[2]}, {1, 0, 0, hi[0]},
                                {-1, 0, 0, -lo[0]}, {0, 1, 0, hi[1]},   {0, -1, 0, -lo[1]}};
    BrushRecord* b = Brush_Create(Map_Handle(world), owner);
    for (const auto& p : planes) {
        FaceRecord* f = Face_Create(Map_Handle(world), b, &info, 0);
        std::memcpy(f->normal, p, sizeof(float) * 3);
        f->dist = p[3];
        f->axialType = Face_AxialType(f->normal);
        f->flags |= FaceFlags::ResetAxes;
    }
    b->handle->update(0);
    return b;
}

MapDocument* newDocument() {
    K_MathLib_Initialize(0);
    auto* d = new MapDocument;
    Project_Construct(d);
    const float origin[3] = {0, 0, 0};
    Entity_Create(Map_Handle(d->world), "worldspawn", origin, EntityFlag::World);
    return d;
}

// 64 wall brushes of 64 x 16 x 128 in a row, and a slot cutter through all of them.
MapDocument* wallDocument() {
    static MapDocument* document = [] {
        MapDocument* d = newDocument();
        EntityRecord* world = d->world->entities;
        for (int i = 0; i < 64; ++i) {
            const float lo[3] = {64.0f * i, 0, 0};
            const float hi[3] = {64.0f * i + 64, 16, 128};
            addBox(d->world, world, lo, hi);
        }
        const float lo[3] = {32, -16, 48};
        const float hi[3] = {64 * 64 - 32, 32, 80};
        Map_SelectObject(d->world, addBox(d->world, world, lo, hi));
        return d;
    }();
    return document;
}

void BM_CarveWall64(benchmark::State& state) {
    MapDocument* d = wallDocument();
    for (auto _ : state) {
        Map_Carve(d->world);
        state.PauseTiming();
        Undo_StepUndo(d->undo);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CarveWall64)->Unit(benchmark::kMillisecond);

// 1,000 world cubes of 64 units on a grid, all selected.
MapDocument* cubesDocument() {
    static MapDocument* document = [] {
        MapDocument* d = newDocument();
        EntityRecord* world = d->world->entities;
        for (int i = 0; i < 1000; ++i) {
            const float lo[3] = {128.0f * (i % 32) - 2048, 128.0f * (i / 32) - 2048, 0};
            const float hi[3] = {lo[0] + 64, lo[1] + 64, 64};
            Map_SelectObject(d->world, addBox(d->world, world, lo, hi));
        }
        return d;
    }();
    return document;
}

void BM_HollowCubes1000(benchmark::State& state) {
    MapDocument* d = cubesDocument();
    for (auto _ : state) {
        Map_MakeHollow(d->world, 8);
        state.PauseTiming();
        Undo_StepUndo(d->undo);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_HollowCubes1000)->Unit(benchmark::kMillisecond);

} // namespace
