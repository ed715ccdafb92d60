// Select-in-box over a generated world of 20,000 objects: 18,000 world brushes and 2,000 point
// entities on a grid across the default world box. Each iteration selects the objects of one box
// and clears the selection again.
#include <benchmark/benchmark.h>

#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"

namespace {

constexpr int kBrushes = 18000;
constexpr int kEntities = 2000;

class cGeneratedWorld {
public:
    cGeneratedWorld() {
        Map_InitWorld(&world, nullptr);
        const float zero[3] = {0, 0, 0};
        EntityRecord* worldspawn = Entity_Create(Map_Handle(&world), "worldspawn", zero, EntityFlag::World);
        for (int a = 0; a < 3; ++a) {
            worldspawn->mins[a] = -4096;
            worldspawn->maxs[a] = 4096;
        }
        // 30 x 30 x 20 cells of 256 units; a 64-unit cube brush in each.
        for (int i = 0; i < kBrushes; ++i) {
            BrushRecord* b = Brush_Create(Map_Handle(&world), worldspawn);
            const float origin[3] = {-3840.0f + 256.0f * float(i % 30),
                                     -3840.0f + 256.0f * float((i / 30) % 30),
                                     -2560.0f + 256.0f * float(i / 900)};
            for (int a = 0; a < 3; ++a) {
                b->mins[a] = origin[a];
                b->maxs[a] = origin[a] + 64;
                b->handle->centre[a] = origin[a] + 32;
            }
        }
        for (int i = 0; i < kEntities; ++i) {
            const float origin[3] = {-3900.0f + 200.0f * float(i % 40),
                                     -3900.0f + 400.0f * float((i / 40) % 20),
                                     -1000.0f + 1000.0f * float(i / 800)};
            EntityRecord* e = Entity_Create(Map_Handle(&world), "info_null", origin, EntityFlag::Point);
            for (int a = 0; a < 3; ++a) {
                e->mins[a] = origin[a] - 8;
                e->maxs[a] = origin[a] + 8;
            }
        }
    }
    ~cGeneratedWorld() { Map_DestroyWorld(&world); }
    cGeneratedWorld(const cGeneratedWorld&) = delete;
    cGeneratedWorld& operator=(const cGeneratedWorld&) = delete;

    MapWorld world{};
};

int countSelected(const MapWorld& world) {
    int n = 0;
    for (const BrushRecord* b = world.selectedBrushes; b; b = b->selNext)
        ++n;
    for (const EntityRecord* e = world.selectedEntities; e; e = e->selNext)
        ++n;
    return n;
}

// Arg 0: box mode; arg 1: box half-size (2048 covers about an eighth of the world).
void BM_SelectInBox(benchmark::State& state) {
    cGeneratedWorld g;
    MapWorld* world = &g.world;
    world->selectionMode = SelectionMode::IgnoreGroups;
    const float h = float(state.range(1));
    const float mins[3] = {-h, -h, -h}, maxs[3] = {h, h, h};
    const auto mode = int32_t(state.range(0));
    int selected = 0;
    for (auto _ : state) {
        Map_SelectInBox(world, mins, maxs, mode);
        selected = countSelected(*world);
        Map_SelectNone(world);
    }
    state.counters["selected"] = selected;
    state.counters["objects/s"] = benchmark::Counter(
        double(kBrushes + kEntities) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SelectInBox)
    ->Args({BoxSelect::Touching, 2048})
    ->Args({BoxSelect::Inside, 2048})
    ->Args({BoxSelect::Handles, 2048})
    ->Args({BoxSelect::Touching, 8192})
    ->Unit(benchmark::kMicrosecond);

} // namespace
