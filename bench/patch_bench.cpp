// Tessellating patches: 1,000 curved patches per iteration, 9 × 9 and 31 × 31 control points,
// as the project reader and the brush update rebuild them (normals, pieces, shades, bounds).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "kstdlib/kmath.h"
#include "map/MapBrush.h"
#include "map/MapPatch.h"

namespace {

constexpr int kPatches = 1000;

// A wavy sheet, so normals and shades are not all alike.
std::vector<cMapPatch*> makePatches(int lines) {
    std::vector<cMapPatch*> patches;
    patches.reserve(kPatches);
    for (int i = 0; i < kPatches; ++i) {
        cMapPatch* patch = Patch_Alloc(lines, lines)->handle;
        PatchRecord* r = patch->record;
        for (int c = 0; c < r->columns; ++c)
            for (int row = 0; row < r->rows; ++row) {
                PatchPoint& p = r->points[c][row];
                p.xyz[0] = float(c * 16 + i);
                p.xyz[1] = float(row * 16);
                p.xyz[2] = 24.0f * std::sin(float(c) * 0.7f) * std::cos(float(row) * 0.5f);
                p.s = float(c) / float(r->columns - 1);
                p.t = float(row) / float(r->rows - 1);
            }
        patches.push_back(patch);
    }
    return patches;
}

void BM_TessellatePatches(benchmark::State& state) {
    K_MathLib_Initialize(0);
    const int lines = int(state.range(0));
    std::vector<cMapPatch*> patches = makePatches(lines);
    // The first pass allocates the meshes; the timed passes reuse them, as edits do.
    for (cMapPatch* p : patches)
        p->update(BrushUpdate::TessellatePatch);
    for (auto _ : state) {
        for (cMapPatch* p : patches)
            p->update(BrushUpdate::TessellatePatch);
        benchmark::DoNotOptimize(patches.back()->record->vertices);
    }
    const int pieces = (lines / 2) * (lines / 2);
    state.counters["time_per_patch"] =
        benchmark::Counter(double(kPatches) * double(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["vertices_per_patch"] = double(pieces * kPatchPieceVertices);
    for (cMapPatch* p : patches)
        delete p;
}

} // namespace

BENCHMARK(BM_TessellatePatches)->Arg(9)->Arg(31)->Unit(benchmark::kMillisecond);
