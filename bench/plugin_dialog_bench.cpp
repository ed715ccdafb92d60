// Dialog_Printf into a running plugin dialog: plugins print one line per step of long runs, so a
// line must stay cheap however much the output pane already holds.
#include <benchmark/benchmark.h>

#include <QPlainTextEdit>
#include <cstdio>

#include "FrameRig.h"
#include "dialogs/application/PluginDialog.h"

namespace {

void noCommand() {}

// range(0): lines already in the pane before the timed ones.
void BM_DialogPrintf(benchmark::State& state) {
    BenchApplication app;
    Dialog_Begin("Bench");
    Dialog_InitInternalCommand("Run", noCommand);
    cPluginDialog* dialog = Dialog_Active();
    dialog->show();
    QCoreApplication::processEvents();
    for (int64_t i = 0; i < state.range(0); ++i)
        Dialog_Printf("step %lld of the run: compiling the portals of leaf %lld", static_cast<long long>(i),
                      static_cast<long long>(i * 7));
    int64_t line = 0;
    for (auto _ : state)
        Dialog_Printf("step %lld of the run: compiling the portals of leaf %lld",
                      static_cast<long long>(line), static_cast<long long>(++line * 7));
    state.counters["lines"] = double(dialog->findChild<QPlainTextEdit*>("txtOutput")->blockCount());
    Dialog_DiscardLeftOpen();
}
BENCHMARK(BM_DialogPrintf)->Arg(0)->Arg(10000)->Iterations(10000)->Unit(benchmark::kMicrosecond);

} // namespace
