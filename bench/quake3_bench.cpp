// The Quake III map reader and writer on a generated 2 MB map (2,400 brushes of 5-9 faces,
// classic and brush primitives; 300 patches 3x3 to 9x9; 2,300 entities with key/values), through
// the plugin as the host loads it: the import until Project_Load returns with the world ready
// to draw, and the export of that world by the plugin's registered export function.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <clocale>
#include <cstdlib>
#include <memory>

#include "Quake3MapGenerator.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "kstdlib/kmath.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"

namespace {

struct Quake3Bench {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<cMainWindow> window;
    GameConfig config;
    QString mapPath;
    kpMapFormatFn exportMap = nullptr;
    bool ready = false;
};

Quake3Bench& bench() {
    static Quake3Bench* b = [] {
        auto* s = new Quake3Bench;
        static int argc = 1;
        static char name[] = "zarv_bench";
        static char* argv[] = {name, nullptr};
        if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        s->app = std::make_unique<QApplication>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        K_MathLib_Initialize(0);
        s->window = std::make_unique<cMainWindow>();
        Console_SetSink([](const QString&) {});
        if (!Plugin_Load(&s->window->plugins, QStringLiteral(ZARV_PLUGIN_DIR "/kpQuake3x64.so"))) return s;
        for (const MapFormatEntry& entry : s->window->plugins.exportFormats)
            if (entry.extension == QLatin1String(".map")) s->exportMap = entry.function;
        s->config.Title = QStringLiteral("Quake III");
        s->config.MapProfile = QStringLiteral("kpQuake3");
        s->mapPath = QDir::temp().filePath(QStringLiteral("zarv_quake3_bench.map"));
        QFile file(s->mapPath);
        if (!file.open(QIODevice::WriteOnly)) return s;
        file.write(cQuake3MapGenerator().generate());
        file.close();
        s->ready = s->exportMap != nullptr;
        return s;
    }();
    return *b;
}

void BM_Quake3MapImport(benchmark::State& state) {
    Quake3Bench& b = bench();
    if (!b.ready) {
        state.SkipWithError("plugin or map missing");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<MapDocument>();
        Project_Construct(document.get());
        state.ResumeTiming();
        if (!Project_Load(document.get(), b.mapPath, &b.config)) state.SkipWithError("import failed");
        state.PauseTiming();
        Project_Destroy(document.get());
        state.ResumeTiming();
    }
    state.counters["MiB"] = double(QFileInfo(b.mapPath).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Quake3MapImport)->Unit(benchmark::kMillisecond);

void BM_Quake3MapExport(benchmark::State& state) {
    Quake3Bench& b = bench();
    if (!b.ready) {
        state.SkipWithError("plugin or map missing");
        return;
    }
    MapDocument document;
    Project_Construct(&document);
    if (!Project_Load(&document, b.mapPath, &b.config)) {
        state.SkipWithError("import failed");
        return;
    }
    const QByteArray out =
        QFile::encodeName(QDir::temp().filePath(QStringLiteral("zarv_quake3_bench_out.map")));
    for (auto _ : state)
        if (b.exportMap(1, out.constData(), Map_Handle(document.world)) != 1)
            state.SkipWithError("export failed");
    Project_Destroy(&document);
    state.counters["MiB"] = double(QFileInfo(QFile::decodeName(out)).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_Quake3MapExport)->Unit(benchmark::kMillisecond);

} // namespace
