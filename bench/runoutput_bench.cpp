// The process output window under a flood: a script prints 200,000 numbered lines (about 10 MB)
// as fast as it can. Reported: the run's time, whether every line reached the pane, and the longest
// gap between ticks of a 10 ms GUI timer meanwhile (the editor must stay responsive).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>

#include "dialogs/application/ProcessRunner.h"

namespace {

QApplication* application() {
    if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) return app;
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "zarv_bench";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv); // kept to the end: other cases share it
}

void BM_ProcessRunnerFlood(benchmark::State& state) {
    application();
    QTemporaryDir dir;
    const QString script = dir.filePath("flood");
    {
        QFile file(script);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\nexec seq -f 'line %06g of the flood, printed at full speed....' 1 200000\n");
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    double longestGap = 0, seconds = 0;
    int lines = 0;
    for (auto _ : state) {
        QPlainTextEdit pane;
        pane.resize(660, 360);
        pane.show();
        QElapsedTimer clock, sinceTick;
        qint64 gap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { gap = std::max(gap, sinceTick.restart()); });
        ticker.start(10);
        clock.start();
        sinceTick.start();
        cProcessRunner runner(script, QString(), &pane);
        benchmark::DoNotOptimize(runner.run());
        seconds = clock.elapsed() / 1000.0;
        ticker.stop();
        longestGap = double(std::max(gap, sinceTick.elapsed()));
        lines = pane.blockCount() - 1; // the text ends with a line end
        state.SetIterationTime(seconds);
    }
    state.counters["run_s"] = seconds;
    state.counters["lines_in_pane"] = lines;
    state.counters["longest_tick_gap_ms"] = longestGap;
}
BENCHMARK(BM_ProcessRunnerFlood)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
