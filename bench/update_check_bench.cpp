// The update check waiting out its time-out against a server that accepts the connection and never
// answers: the CPU time the waiting costs (the event loop should sleep, not spin).
#include <QTcpServer>
#include <benchmark/benchmark.h>

#include "FrameRig.h"
#include "dialogs/application/UpdateCheck.h"

namespace {

void BM_UpdateCheckTimeout(benchmark::State& state) {
    Bench_EnsureApplication();
    QTcpServer silent;
    silent.listen(QHostAddress::LocalHost);
    const QString server = QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort());
    for (auto _ : state) {
        const UpdateCheckResult result = Update_Check(server);
        benchmark::DoNotOptimize(result.failure);
    }
}
BENCHMARK(BM_UpdateCheckTimeout)
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

} // namespace
