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

#include <sys/resource.h>

#include "Quake3MapGenerator.h"
#include "RealShapedGame.h"

namespace {

// config: the text of KDKGameCfg.ini to start with (none: a fresh settings folder).
void runProgram(benchmark::State& state, const QString& map, const QByteArray& config = {}) {
    QTemporaryDir folder;
    double firstFrame = 0.0;
    for (auto _ : state) {
        QDir(folder.filePath("config")).removeRecursively();
        if (!config.isEmpty()) {
            QDir().mkpath(folder.filePath("config/zarv"));
            QFile file(folder.filePath("config/zarv/KDKGameCfg.ini"));
            if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
                return state.SkipWithError("cannot write the settings");
        }
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
    // The largest resident set of any program this process has waited for: run alone, that of
    // this benchmark's program.
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    state.counters["peak_MB"] = benchmark::Counter(double(usage.ru_maxrss) / 1024.0);
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

// A map shaped like a real capture-the-flag map (bench/RealShapedGame.h: 2,400 brushes, 300
// patches, 2,300 entities of which 1,900 lights, MD3 models, a sky) over a game folder made here
// with a map pack's PK3 beside the game's, found by a configuration naming only the folder and
// the Quake III entity definitions: start to every view drawn, textured. Run it alone
// (--benchmark_filter=StartupRealShaped) for its peak memory.
void BM_StartupRealShaped(benchmark::State& state) {
    QTemporaryDir folder;
    if (!RealShaped_Write(folder.path())) return state.SkipWithError("cannot write the game folder");
    const QByteArray config = "[Config0]\nTitle=Game\nEnabled=true\nMapProfile=kpQuake3\nGameBasedir=" +
                              QFile::encodeName(folder.filePath("base")) +
                              "\nGameData0=" ZARV_SAMPLES_DIR "/quake3/q3entities.fgd\n";
    runProgram(state, folder.filePath("realshape.map"), config);
}
BENCHMARK(BM_StartupRealShaped)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
