// First show of many textures at once, as a camera frame or a texture browser page asks for them:
// 240 images of 256x256 (TGA deflated, JPEG stored) in one PK3, precached with their sizes alone
// through the Quake III plugin, then all realized by one Tex_RealizeImages (read, decode, upload).
// Argument 0: decoded one after another on the calling thread (a plugin without the worker
// decode entry); n > 0: on a pool of n workers. BM_DecodeTextureFiles times the decoding alone:
// the same files already in memory through the module's worker entry, one after another or on
// the pool. Needs a GUI application: run it alone under xvfb-run (--benchmark_filter=DecodeTexture).
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

#include "../tests/quake3/ImageFiles.h"
#include "Pk3Writer.h"
#include "TextureFolderRig.h"
#include "gamedata/DecodePool.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "core/System.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {

constexpr int kTextures = 240;
constexpr int kSide = 256;

// No pool (the calling thread), then pools of 1 to 8 workers.
void workerCounts(benchmark::internal::Benchmark* b) {
    for (const int workers : {0, 1, 2, 4, 8})
        b->Arg(workers);
    b->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
}

struct DecodeFolder {
    QTemporaryDir dir;
    std::unique_ptr<cMainWindow> window;
    QList<QByteArray> files; // the members, in order
    bool ready = false;
    DecodeFolder() {
        if (!Bench_WindowWithQuake3(window)) return;
        QList<Pk3Entry> entries;
        for (int i = 0; i < kTextures; ++i) {
            const QByteArray rgb = Bench_Picture(kSide, i);
            const QByteArray member = "textures/decode/t" + QByteArray::number(i) + (i % 2 ? ".jpg" : ".tga");
            files.append(i % 2 ? JpegFile(kSide, kSide, 3, rgb, false)
                               : TgaFile(2, kSide, kSide, 24, 0x20, rgb));
            entries.append({member, files.last(), i % 2 ? 0 : 8});
        }
        QDir().mkpath(dir.filePath("baseq3"));
        QFile file(dir.filePath("baseq3/pak0.pk3"));
        ready = file.open(QIODevice::WriteOnly) && file.write(Pk3Build(entries)) > 0;
    }
};

DecodeFolder& folder() {
    static DecodeFolder f;
    return f;
}

void BM_DecodeTextures(benchmark::State& state) {
    DecodeFolder& f = folder();
    if (!f.ready) {
        state.SkipWithError("no GUI application or no Quake III plugin");
        return;
    }
    const int threads = int(state.range(0));
    TextureManager& m = g_mainWindow->textures;
    if (threads > 0) m.decodePool = std::make_unique<cDecodePool>(threads);
    GameConfigManager* manager = &g_mainWindow->gameConfigs;
    int run = 0;
    int64_t decoded = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString title = QStringLiteral("decode%1").arg(run++);
        GameConfig* config = GameCfg_AddConfig(manager, title);
        config->MapProfile = QStringLiteral("kpQuake3");
        config->GameBasedir = f.dir.filePath("baseq3");
        GameCfg_Precache(manager, config);
        QList<TextureImage*> images;
        for (int i = 0; i < kTextures; ++i) {
            const ShaderRecord* shader =
                Tex_FindShader(&m, QByteArray("decode/t" + QByteArray::number(i)).constData());
            if (shader) images.append(shader->image);
        }
        if (threads == 0)
            for (TextureManager::PendingDecode& pending : m.pending)
                pending.decodeJob = nullptr;
        const int32_t before = m.decodedCount;
        state.ResumeTiming();

        Tex_RealizeImages(&m, images);

        state.PauseTiming();
        decoded += m.decodedCount - before;
        manager->makeCurrent(nullptr);
        GameCfg_RemoveConfig(manager, title);
        state.ResumeTiming();
    }
    m.decodePool.reset();
    if (decoded != int64_t(kTextures) * state.iterations()) state.SkipWithError("not every texture decoded");
    state.SetItemsProcessed(decoded);
}
BENCHMARK(BM_DecodeTextures)->Apply(workerCounts);

void BM_DecodeTextureFiles(benchmark::State& state) {
    DecodeFolder& f = folder();
    const TextureFormatEntry* formats[2] = {};
    if (f.ready)
        for (const TextureFormatEntry& format : g_mainWindow->textures.textureFormats)
            formats[format.extension == ".jpg" ? 1 : 0] = &format;
    if (!formats[0] || !formats[1] || !formats[0]->decodeJob || !formats[1]->decodeJob) {
        state.SkipWithError("no GUI application or no Quake III plugin with the worker entry");
        return;
    }
    const int threads = int(state.range(0));
    cDecodePool pool(std::max(threads, 1));
    std::vector<TextureDecodeJob> jobs(static_cast<size_t>(kTextures));
    auto decode = [&](int i) {
        TextureDecodeJob& job = jobs[size_t(i)];
        job = TextureDecodeJob{};
        job.size = int32_t(sizeof job);
        job.formatId = formats[i % 2]->id;
        job.path = "bench";
        job.data = reinterpret_cast<const uint8_t*>(f.files[i].constData());
        job.dataSize = uint32_t(f.files[i].size());
        formats[i % 2]->decodeJob(&job);
    };
    for (auto _ : state) {
        if (threads == 0)
            for (int i = 0; i < kTextures; ++i)
                decode(i);
        else
            pool.run(kTextures, decode);
        state.PauseTiming();
        for (TextureDecodeJob& job : jobs)
            Sys_Free(job.pixels);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(int64_t(kTextures) * state.iterations());
}
BENCHMARK(BM_DecodeTextureFiles)->Apply(workerCounts);

} // namespace
