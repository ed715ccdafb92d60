// The texture replace dialog's substitution (mode 2) over every face and patch of the large map
// (LargeMap.h: 10,000 boxes, 1,000 patches), with its snapshots, and the undo of that level.
#include <benchmark/benchmark.h>

#include <memory>

#include "FrameRig.h"
#include "LargeMap.h"
#include "dialogs/editing/TextureReplaceDialog.h"
#include "document/MapDocument.h"
#include "document/UndoHistory.h"

namespace {

struct ReplaceRig {
    ReplaceRig() {
        Bench_InitApplication();
        Project_Construct(&doc);
        LargeMap_Build(doc.world);
        dialog = std::make_unique<cTextureReplaceDialog>(nullptr);
        dialog->setMap(Map_Handle(doc.world));
    }
    // Every name starts with "base/": each run rewrites all of them.
    int replace() {
        return dialog->replaceTextures(QStringLiteral("base"), QStringLiteral("game"),
                                       ReplaceMode::Substitute, 0, kReplaceSkipHidden, 1.0f);
    }
    MapDocument doc;
    // Made after the application: a widget needs one.
    std::unique_ptr<cTextureReplaceDialog> dialog;
};

ReplaceRig& rig() {
    static ReplaceRig* r = new ReplaceRig;
    return *r;
}

void BM_ReplaceSubstituteEveryFace(benchmark::State& state) {
    ReplaceRig& r = rig();
    int count = 0;
    for (auto _ : state) {
        count = r.replace();
        state.PauseTiming();
        Undo_StepUndo(r.doc.undo);
        state.ResumeTiming();
    }
    state.counters["replaced"] = count;
}
BENCHMARK(BM_ReplaceSubstituteEveryFace)->Unit(benchmark::kMillisecond);

void BM_ReplaceSubstituteUndo(benchmark::State& state) {
    ReplaceRig& r = rig();
    for (auto _ : state) {
        state.PauseTiming();
        r.replace();
        state.ResumeTiming();
        Undo_StepUndo(r.doc.undo);
    }
}
BENCHMARK(BM_ReplaceSubstituteUndo)->Unit(benchmark::kMillisecond);

} // namespace
