// Building six-face brushes from planes the way importers do: faces with planes written in, then
// one update (polygons, bounds, texture coordinates). Reports time and bytes per brush.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "LargeMap.h"
#include "core/Winding.h"
#include "document/MapWorld.h"
#include "kstdlib/kmath.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/ObjectRecords.h"

namespace {

constexpr int kBrushes = 10000;

void BM_BuildSixFaceBrushes(benchmark::State& state) {
    K_MathLib_Initialize(0);
    TextureInfo info{};
    info.sScale = info.tScale = 1.0f;
    std::strcpy(info.name, "base/wall");
    uint64_t bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MapWorld world{};
        Map_InitWorld(&world, nullptr);
        EntityRecord worldspawn{};
        worldspawn.flags = EntityFlag::World;
        worldspawn.owner = Map_Handle(&world);
        List_Prepend(world.entities, &world.entitiesTail, &worldspawn);
        MapHandle map = Map_Handle(&world);
        state.ResumeTiming();

        for (int i = 0; i < kBrushes; ++i) {
            const float x = float((i % 100) * 128), y = float((i / 100) * 128);
            const float mins[3] = {x, y, 0}, maxs[3] = {x + 64, y + 64, 64};
            large_map::box(map, &worldspawn, mins, maxs, info);
        }

        state.PauseTiming();
        bytes = 0;
        for (BrushRecord* b = worldspawn.firstBrush; b; b = b->next)
            bytes += Brush_MemoryUsage(b);
        Map_DestroyWorld(&world);
        state.ResumeTiming();
    }
    state.counters["ns_per_brush"] =
        benchmark::Counter(double(kBrushes) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["bytes_per_brush"] = double(bytes) / kBrushes;
    state.counters["winding_bytes"] = double(sizeof(cWindingDouble)); // one pooled winding, reused
}
BENCHMARK(BM_BuildSixFaceBrushes)->Unit(benchmark::kMillisecond);

} // namespace
