// A game folder alone, precached through the Quake III plugin: 500 256x256 textures (TGA deflated,
// JPEG stored) in one PK3 under textures/bench/, found by a configuration that names only the
// folder. Lazy: precaching reads sizes, the first show decodes (here: 50 of them shown, as a
// small map would). Eager: the same with decoding on request turned off, every image decoded and
// uploaded at precache. Needs a GUI application: run it alone under xvfb-run
// (--benchmark_filter=GameFolder).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

#include "../tests/quake3/ImageFiles.h"
#include "Pk3Writer.h"
#include "TextureFolderRig.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {

constexpr int kTextures = 500;
constexpr int kShown = 50;
constexpr int kSide = 256;

struct GameFolder {
    QTemporaryDir dir;
    std::unique_ptr<cMainWindow> window;
    bool ready = false;
    GameFolder() {
        if (!Bench_WindowWithQuake3(window)) return;
        QList<Pk3Entry> entries;
        for (int i = 0; i < kTextures; ++i) {
            const QByteArray rgb = Bench_Picture(kSide, i);
            const QByteArray member = "textures/bench/t" + QByteArray::number(i) + (i % 2 ? ".jpg" : ".tga");
            if (i % 2)
                entries.append({member, JpegFile(kSide, kSide, 3, rgb, false), 0});
            else
                entries.append({member, TgaFile(2, kSide, kSide, 24, 0x20, rgb), 8});
        }
        QDir().mkpath(dir.filePath("baseq3"));
        QFile file(dir.filePath("baseq3/pak0.pk3"));
        ready = file.open(QIODevice::WriteOnly) && file.write(Pk3Build(entries)) > 0;
    }
};

GameFolder& folder() {
    static GameFolder f;
    return f;
}

void precacheAndShow(benchmark::State& state, bool lazy) {
    GameFolder& f = folder();
    if (!f.ready) {
        state.SkipWithError("no GUI application or no Quake III plugin");
        return;
    }
    TextureManager& m = g_mainWindow->textures;
    QList<kpDecodeTextureFn> decoders;
    for (TextureFormatEntry& format : m.textureFormats) {
        decoders.append(format.decodeTexture);
        if (!lazy) format.decodeTexture = nullptr;
    }
    GameConfigManager* manager = &g_mainWindow->gameConfigs;
    int run = 0;
    for (auto _ : state) {
        const QString title = QStringLiteral("bench%1").arg(run++);
        GameConfig* config = GameCfg_AddConfig(manager, title);
        config->MapProfile = QStringLiteral("kpQuake3");
        config->GameBasedir = f.dir.filePath("baseq3");
        GameCfg_Precache(manager, config);
        for (int i = 0; i < kShown; ++i)
            Tex_RealizeShader(&m,
                              Tex_FindShader(&m, QByteArray("bench/t" + QByteArray::number(i)).constData()));
        state.PauseTiming();
        manager->makeCurrent(nullptr);
        GameCfg_RemoveConfig(manager, title);
        state.ResumeTiming();
    }
    for (int i = 0; i < m.textureFormats.size(); ++i)
        m.textureFormats[i].decodeTexture = decoders[i];
}

void BM_GameFolderLazy(benchmark::State& state) {
    precacheAndShow(state, true);
}
void BM_GameFolderEager(benchmark::State& state) {
    precacheAndShow(state, false);
}
BENCHMARK(BM_GameFolderLazy)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GameFolderEager)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
