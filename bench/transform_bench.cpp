// Selection transforms on 10,000 selected six-face world brushes (LargeMap.h without patches,
// entities or paths): the transform itself with and without texture lock, and the whole
// "Rotate Selection" command with its undo snapshot.
#include <benchmark/benchmark.h>

#include "LargeMap.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "kstdlib/kmath.h"

namespace {

MapDocument* brushDocument() {
    static MapDocument* document = [] {
        K_MathLib_Initialize(0);
        auto* d = new MapDocument;
        Project_Construct(d);
        LargeMapCounts counts;
        counts.patches = 0;
        counts.entities = 0;
        counts.paths = 0;
        LargeMap_Build(d->world, counts);
        for (BrushRecord* b = d->world->entities->firstBrush; b; b = b->next)
            Map_SelectObject(d->world, b);
        return d;
    }();
    return document;
}

// Turns the selection 15 degrees about z and back, so every iteration starts from the same map.
void rotateBackAndForth(benchmark::State& state, int32_t noTextureLock) {
    MapDocument* d = brushDocument();
    const float origin[3] = {0, 0, 0};
    float forward[16], back[16];
    Math_RotationMatrix(15, 0, 0, origin, forward);
    Math_RotationMatrix(-15, 0, 0, origin, back);
    TransformParams params{nullptr, forward, 1, 0, noTextureLock, -1, -1, 0};
    for (auto _ : state) {
        params.matrix = forward;
        Map_TransformSelection(d->world, nullptr, nullptr, &params);
        params.matrix = back;
        Map_TransformSelection(d->world, nullptr, nullptr, &params);
    }
    state.SetItemsProcessed(state.iterations() * 2 * 10000);
}

void BM_TransformTextureLock(benchmark::State& state) {
    rotateBackAndForth(state, 0);
}
BENCHMARK(BM_TransformTextureLock)->Unit(benchmark::kMillisecond);

void BM_TransformNoTextureLock(benchmark::State& state) {
    rotateBackAndForth(state, 1);
}
BENCHMARK(BM_TransformNoTextureLock)->Unit(benchmark::kMillisecond);

// The command as the menu runs it: undo level, snapshot of 10,000 brushes with geometry, the
// transform; the turn back is undone outside the timing.
void BM_RotateSelectionCommand(benchmark::State& state) {
    MapDocument* d = brushDocument();
    for (auto _ : state) {
        Map_RotateSelectionCommand(d->world, 2, 90);
        state.PauseTiming();
        Undo_StepUndo(d->undo);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_RotateSelectionCommand)->Unit(benchmark::kMillisecond);

} // namespace
