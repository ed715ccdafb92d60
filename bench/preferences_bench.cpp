// The options dialog: built on a window with 20 game configurations, and its texture table filled
// from 200 packages whose sizes and counts are cached.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include "FrameRig.h"
#include "dialogs/application/PreferencesDialog.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

namespace {

// The process's window with the configurations replaced by those of the benchmark.
cMainWindow& benchWindow() {
    Bench_InitApplication();
    GameCfg_DestroyManager(&g_mainWindow->gameConfigs);
    return *g_mainWindow;
}

void BM_OpenPreferences(benchmark::State& state) {
    cMainWindow& window = benchWindow();
    for (int i = 0; i < 20; ++i)
        GameCfg_AddConfig(&window.gameConfigs, QStringLiteral("Game %1").arg(i));
    GameCfg_Select(&window.gameConfigs, window.gameConfigs.configs.first());
    for (auto _ : state) {
        cPreferencesDialog dialog(0, &window);
        benchmark::DoNotOptimize(dialog.cbConfig->count());
    }
    GameCfg_DestroyManager(&window.gameConfigs);
}
BENCHMARK(BM_OpenPreferences)->Unit(benchmark::kMillisecond);

void BM_FillTextureTable(benchmark::State& state) {
    QTemporaryDir folder;
    cMainWindow& window = benchWindow();
    GameConfig* config = GameCfg_AddConfig(&window.gameConfigs, QStringLiteral("Game"));
    config->GameBasedir = folder.path();
    for (int i = 0; i < 200; ++i) {
        const QString path = folder.filePath(QStringLiteral("t%1.tga").arg(i));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(QByteArray(64, 'x'));
        config->Parcel.append(path);
        Tex_GetPackageInfo(&window.textures, Tex_AcquirePackage(&window.textures, path));
    }
    GameCfg_Select(&window.gameConfigs, config);
    cPreferencesDialog dialog(3, &window);
    for (auto _ : state) {
        dialog.fillTextureTable();
        benchmark::DoNotOptimize(dialog.lstTextures->rowCount());
    }
    state.counters["rows"] = double(dialog.lstTextures->rowCount());
    for (const QString& path : std::as_const(config->Parcel))
        Tex_ReleasePackage(path);
    config->Parcel.clear();
    GameCfg_DestroyManager(&window.gameConfigs);
}
BENCHMARK(BM_FillTextureTable)->Unit(benchmark::kMillisecond);

} // namespace
