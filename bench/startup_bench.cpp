// Start-up to the first frame of all four views: the built program spawned with a fresh settings
// folder on the sample map and on a generated 2 MB Quake III map, timed by its own
// "first frame: N ms" line (since the program's start) and by the wall clock around the spawn.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "Quake3MapGenerator.h"

namespace {

void runProgram(benchmark::State& state, const QString& map) {
    QTemporaryDir folder;
    double firstFrame = 0.0;
    for (auto _ : state) {
        QDir(folder.filePath("config")).removeRecursively();
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", folder.filePath("config"));
        env.insert("ZARV_EXIT_AFTER_FIRST_FRAME", "1");
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(ZARV_BIN_DIR "/zarv"), {map});
        if (!program.waitForFinished(120000) || program.exitCode() != 0) {
            state.SkipWithError("the program did not finish cleanly");
            return;
        }
        const QRegularExpressionMatch m = QRegularExpression("first frame: (\\d+) ms")
                                              .match(QString::fromUtf8(program.readAllStandardOutput()));
        firstFrame += m.hasMatch() ? m.captured(1).toDouble() : 0.0;
    }
    state.counters["first_frame_ms"] = benchmark::Counter(firstFrame / double(state.iterations()));
}

void BM_StartupSample(benchmark::State& state) {
    runProgram(state, QStringLiteral(ZARV_SAMPLES_DIR "/maps/sample.map"));
}
BENCHMARK(BM_StartupSample)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_StartupGenerated2MB(benchmark::State& state) {
    QTemporaryDir folder;
    const QString map = folder.filePath("generated.map");
    QFile file(map);
    if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("cannot write the map");
    file.write(cQuake3MapGenerator().generate());
    file.close();
    runProgram(state, map);
}
BENCHMARK(BM_StartupGenerated2MB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
