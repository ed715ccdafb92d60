// Binding the models of a map through the model cache: 300 model entities naming 40 generated
// models (30 MD3, 5 ASE, 5 LWO from the test fixture writer), half on disk in the game folder and
// half in a PK3 there, loaded through the Quake III plugin as the host loads it. Cold: the cache
// empty, each file found, read and parsed once, then hits; warm: every acquire a hit. The key's
// file look-up (disk, the case-insensitive fallback, the archives) is the cost to watch: cold
// starts with no remembered look-ups, warm finds every key's answer remembered.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <cstdlib>
#include <memory>

#include "ModelFixtures.h"
#include "Pk3Writer.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/ModelCache.h"
#include "gamedata/PluginManager.h"
#include "kstdlib/kmath.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"

namespace {

constexpr int kEntities = 300;

struct ModelBench {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<cMainWindow> window;
    QTemporaryDir dir;
    GameConfig config;
    QStringList names; // the 40 model paths
    bool ready = false;
};

std::string modelBytes(int i) {
    if (i < 30) {
        Md3Fixture f = Md3StandardFixture();
        f.xShiftPerFrame = float(i);
        return Md3File(f);
    }
    if (i < 35) return AseStandardFixture();
    return LwoStandardFixture(i % 2 == 0);
}

ModelBench& bench() {
    static ModelBench* b = [] {
        auto* s = new ModelBench;
        static int argc = 1;
        static char name[] = "zarv_bench";
        static char* argv[] = {name, nullptr};
        if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        if (!QCoreApplication::instance()) s->app = std::make_unique<QApplication>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        K_MathLib_Initialize(0);
        s->window = std::make_unique<cMainWindow>();
        Console_SetSink([](const QString&) {});
        if (!Plugin_Load(&s->window->plugins, QStringLiteral(ZARV_PLUGIN_DIR "/kpQuake3x64.so"))) return s;
        const QString base = s->dir.filePath(QStringLiteral("baseq3"));
        QDir().mkpath(base + QStringLiteral("/models/bench"));
        QList<Pk3Entry> packed;
        for (int i = 0; i < 40; ++i) {
            const char* ext = i < 30 ? "md3" : i < 35 ? "ase" : "lwo";
            const QString path =
                QStringLiteral("models/bench/m%1.%2").arg(i, 2, 10, QLatin1Char('0')).arg(ext);
            const std::string bytes = modelBytes(i);
            if (i % 2 == 0) {
                QFile file(base + '/' + path);
                if (!file.open(QIODevice::WriteOnly)) return s;
                file.write(bytes.data(), qint64(bytes.size()));
            } else {
                packed.append({path.toUtf8(), QByteArray(bytes.data(), qsizetype(bytes.size()))});
            }
            s->names.append(path);
        }
        QFile pk3(base + QStringLiteral("/pak0.pk3"));
        if (!pk3.open(QIODevice::WriteOnly)) return s;
        pk3.write(Pk3Build(packed));
        pk3.close();
        s->config.Title = QStringLiteral("Quake III");
        s->config.MapProfile = QStringLiteral("kpQuake3");
        s->config.GameBasedir = base;
        s->window->gameConfigs.makeCurrent(&s->config);
        Archive_LoadForConfig(&s->window->archives, &s->config);
        s->ready = true;
        return s;
    }();
    return *b;
}

// The 300 entities' acquires (and the bounds each binding asks for); false when one failed.
bool bindAll(ModelBench& b) {
    ModelCache* cache = Model_Cache();
    for (int e = 0; e < kEntities; ++e) {
        ModelCacheEntry* entry = Model_AcquireModel(cache, b.names[e % b.names.size()], nullptr);
        if (!entry || !entry->loaded) return false;
        float mins[3], maxs[3];
        if (entry->bounds) entry->bounds(entry->formatId, mins, maxs, 0, entry, nullptr);
    }
    return true;
}

void releaseAll(ModelBench& b) {
    for (int e = 0; e < kEntities; ++e)
        Model_ReleaseModel(Model_Cache(), b.names[e % b.names.size()]);
}

void BM_ModelBindCold(benchmark::State& state) {
    ModelBench& b = bench();
    if (!b.ready) {
        state.SkipWithError("plugin or files missing");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Model_FreeAll(Model_Cache());
        state.ResumeTiming();
        if (!bindAll(b)) state.SkipWithError("a model did not load");
        state.PauseTiming();
        releaseAll(b);
        state.ResumeTiming();
    }
    Model_FreeAll(Model_Cache());
}
BENCHMARK(BM_ModelBindCold)->Unit(benchmark::kMillisecond);

void BM_ModelBindWarm(benchmark::State& state) {
    ModelBench& b = bench();
    if (!b.ready) {
        state.SkipWithError("plugin or files missing");
        return;
    }
    Model_FreeAll(Model_Cache());
    if (!bindAll(b)) state.SkipWithError("a model did not load");
    for (auto _ : state) {
        if (!bindAll(b)) state.SkipWithError("a model did not load");
        state.PauseTiming();
        releaseAll(b);
        state.ResumeTiming();
    }
    Model_FreeAll(Model_Cache());
}
BENCHMARK(BM_ModelBindWarm)->Unit(benchmark::kMicrosecond);

} // namespace
