// Leaving the program with two maps open after a short session: the window's close (the save
// questions find nothing to ask: the maps are unchanged) and its destruction, each timed, on a
// settings folder of its own with the sample game's configuration. The window is made, shown, given
// the two maps and drawn outside the timing.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "FrameRig.h"
#include "Quake3MapGenerator.h"
#include "core/BaseDirectory.h"
#include "core/SysHost.h"
#include "gamedata/PluginManager.h"
#include "tools/ToolHost.h"
#include "render/ColorScheme.h"
#include "views/ViewHost.h"

namespace {

void settle(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void BM_LeaveWithTwoMaps(benchmark::State& state) {
    Bench_InitApplication();
    // The bench's own window stays the process's window outside this case.
    cMainWindow* previous = g_mainWindow;
    SysHost* sys = Sys_Host();
    ViewHost* view = View_Host();
    ToolHost* tool = Tool_Host();
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
    QDir().mkpath(folder.filePath("config/zarv"));
    QFile::copy(QStringLiteral(ZARV_BIN_DIR "/KDKGameCfg.ini"),
                folder.filePath("config/zarv/KDKGameCfg.ini"));
    App_SetBaseDirectory(QStringLiteral(ZARV_BIN_DIR));
    Plugin_SetFolder(QStringLiteral(ZARV_PLUGIN_DIR));
    const QString generated = folder.filePath("generated.map");
    QFile file(generated);
    if (!file.open(QIODevice::WriteOnly)) return state.SkipWithError("cannot write the map");
    file.write(cQuake3MapGenerator().generate());
    file.close();
    double closeMs = 0, destroyMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* window = new cMainWindow(WindowMode::Interactive);
        window->resize(1280, 900);
        window->show();
        window->openFile(QStringLiteral(ZARV_SAMPLES_DIR "/maps/sample.map"));
        window->openFile(generated);
        settle(1500); // every view draws, the texture workers finish
        state.ResumeTiming();
        QElapsedTimer clock;
        clock.start();
        window->close();
        closeMs += clock.nsecsElapsed() / 1e6;
        clock.restart();
        delete window;
        destroyMs += clock.nsecsElapsed() / 1e6;
    }
    state.counters["close_ms"] = closeMs / double(state.iterations());
    state.counters["destroy_ms"] = destroyMs / double(state.iterations());
    g_mainWindow = previous;
    Sys_SetHost(sys);
    View_SetHost(view);
    Tool_SetHost(tool);
    Color_SetActiveScheme(previous ? &previous->colorScheme : nullptr);
}
BENCHMARK(BM_LeaveWithTwoMaps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
