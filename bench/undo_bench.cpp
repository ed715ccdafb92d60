// The undo history on a large map (LargeMap.h): a level recording a transform of 1,000 selected
// brushes with geometry, then undo and redo of that level.
#include <benchmark/benchmark.h>

#include "LargeMap.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "kstdlib/kmath.h"

namespace {

constexpr int kSelected = 1000;

MapDocument* largeDocument() {
    static MapDocument* document = [] {
        K_MathLib_Initialize(0);
        auto* d = new MapDocument;
        Project_Construct(d);
        LargeMap_Build(d->world);
        int selected = 0;
        for (BrushRecord* b = d->world->entities->firstBrush; b && selected < kSelected; b = b->next)
            if (!b->patch) {
                Map_SelectObject(d->world, b);
                ++selected;
            }
        return d;
    }();
    return document;
}

// What a move does to the selection: every vertex shifted, planes and texture coordinates
// recomputed by the brush update.
void moveSelection(MapWorld* world, float dx) {
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        for (FaceRecord* f = b->firstFace; f; f = f->next) {
            for (int32_t i = 0; i < f->vertexCount; ++i)
                f->vertices[i].xyz[0] += dx;
            f->flags |= FaceFlags::NeedsUpdate;
        }
        b->handle->update(FaceUpdate::Plane);
    }
}

void BM_UndoSnapshotUndoRedo(benchmark::State& state) {
    MapDocument* d = largeDocument();
    float dx = 16;
    for (auto _ : state) {
        Undo_BeginLevel(d->undo, "Move");
        Undo_SaveSelectedBrushesChanged(d->undo, true);
        state.PauseTiming();
        moveSelection(d->world, dx);
        state.ResumeTiming();
        Undo_EndLevel(d->undo);
        Undo_StepUndo(d->undo);
        Undo_StepRedo(d->undo);
        dx = -dx;
    }
}
BENCHMARK(BM_UndoSnapshotUndoRedo)->Unit(benchmark::kMillisecond);

void BM_UndoSnapshotOnly(benchmark::State& state) {
    MapDocument* d = largeDocument();
    for (auto _ : state) {
        Undo_BeginLevel(d->undo, "Move");
        Undo_SaveSelectedBrushesChanged(d->undo, true);
        Undo_EndLevel(d->undo);
    }
}
BENCHMARK(BM_UndoSnapshotOnly)->Unit(benchmark::kMillisecond);

void BM_UndoTextureSnapshotUndoRedo(benchmark::State& state) {
    MapDocument* d = largeDocument();
    for (auto _ : state) {
        Undo_BeginLevel(d->undo, "Apply Texture");
        Undo_SaveSelectedBrushesChanged(d->undo, false);
        Undo_EndLevel(d->undo);
        Undo_StepUndo(d->undo);
        Undo_StepRedo(d->undo);
    }
}
BENCHMARK(BM_UndoTextureSnapshotUndoRedo)->Unit(benchmark::kMillisecond);

} // namespace
