// The texture browser on a generated set of 3,000 textures (32 to 512 pixels, 40 folders) in a
// 1280 x 1024 view: the grid height after a change (cached captions, then measured anew), the
// repaint after a wheel step with and without animated two-stage effects, and a filter from the
// timer's time-out to the end of its repaint. The records share one uploaded image per size, so
// the frame costs the drawing, not 3,000 uploads.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <QSurfaceFormat>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "FrameRig.h"
#include "dialogs/editing/TextureBrowser.h"
#include "gamedata/TextureLists.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureUpload.h"
#include "render/GLStateCache.h"

namespace {

struct BrowserRig {
    BrowserRig() {
        Bench_InitApplication();
        static const int sizes[] = {32, 64, 128, 256, 512};
        for (int s : sizes)
            images[s] = solid(s, uint8_t(s / 2));
        overlay = solid(32, 0, 0);
        stages[0].frames[0] = images[64];
        stages[0].frames[1] = images[128];
        stages[0].frameCount = 2;
        stages[0].frameRate = 2.0f;
        stages[1].frames[0] = overlay;
        stages[1].stateBits = int32_t(GLS::Translucent);
        for (ShaderStage& stage : stages) {
            stage.colorKind = ColorKind::Identity;
            stage.texCoordKind = TexCoordKind::Base;
        }
        stages[0].next = &stages[1];
        for (int i = 0; i < 3000; ++i) {
            auto shader = std::make_unique<ShaderRecord>();
            const QByteArray name =
                QByteArray("folder") + QByteArray::number(i % 40) + "/texture_" + QByteArray::number(i);
            std::strncpy(shader->name, name.constData(), sizeof shader->name - 1);
            shader->width = sizes[i % 5];
            shader->height = sizes[(i / 5) % 5];
            shader->refCount = 1;
            shader->image = images[shader->width];
            lists.entries.insert(QString::fromLatin1(name).toUpper(),
                                 {QStringLiteral("folder%1").arg(i % 40), nullptr, shader.get()});
            shaders.push_back(std::move(shader));
        }
        g_mainWindow->gameConfigs.current = &config;
        g_mainWindow->gameConfigs.currentTextureLists = &lists;
        browser = new cTextureBrowser(nullptr, QSurfaceFormat::defaultFormat(), nullptr);
        browser->resize(1280, 1024);
        browser->show();
        browser->grabFramebuffer();
    }
    TextureImage* solid(int size, uint8_t grey, uint8_t alpha = 255) {
        auto* image = new TextureImage{};
        image->width = image->height = size;
        image->format = image->compressedFormat = GL_RGBA;
        image->bytesPerPixel = 4;
        image->refCount = 1;
        std::vector<uint8_t> pixels(size_t(size) * size * 4, grey);
        for (size_t i = 3; i < pixels.size(); i += 4)
            pixels[i] = alpha;
        Tex_UploadImageData(image, pixels.data());
        return image;
    }
    // One wheel step down as the dialog's bar takes it (page step 20), wrapping at the bottom.
    void wheelStep() {
        const int total = browser->layoutHeight(), h = browser->height();
        const int maximum = total * 20 / h;
        step = step >= maximum ? 0 : step + 1;
        browser->scrollFraction = float(step) / float(maximum);
    }
    void setEffects(bool on) {
        for (auto& shader : shaders)
            shader->stages = on ? &stages[0] : nullptr;
        browser->setFlags(on ? TextureBrowserFlag::Animate : 0);
    }
    // The repaint, finished: the frame is read back, which waits for the drawing.
    void repaint() { benchmark::DoNotOptimize(browser->grabFramebuffer()); }

    GameConfig config;
    TextureLists lists;
    std::vector<std::unique_ptr<ShaderRecord>> shaders;
    std::map<int, TextureImage*> images;
    TextureImage* overlay = nullptr;
    ShaderStage stages[2] = {};
    cTextureBrowser* browser = nullptr;
    int step = 0;
};

BrowserRig& rig() {
    static BrowserRig* r = new BrowserRig;
    return *r;
}

void BM_TextureBrowserLayoutHeight(benchmark::State& state) {
    BrowserRig& r = rig();
    for (auto _ : state) {
        r.browser->invalidateLayout();
        benchmark::DoNotOptimize(r.browser->layoutHeight());
    }
}
BENCHMARK(BM_TextureBrowserLayoutHeight)->Unit(benchmark::kMillisecond);

void BM_TextureBrowserLayoutMeasuringCaptions(benchmark::State& state) {
    BrowserRig& r = rig();
    for (auto _ : state) {
        state.PauseTiming();
        for (auto& shader : r.shaders)
            shader->captionWidth = 0;
        r.browser->invalidateLayout();
        state.ResumeTiming();
        benchmark::DoNotOptimize(r.browser->layoutHeight());
    }
}
BENCHMARK(BM_TextureBrowserLayoutMeasuringCaptions)->Unit(benchmark::kMillisecond);

void BM_TextureBrowserWheelRepaint(benchmark::State& state) {
    BrowserRig& r = rig();
    r.setEffects(state.range(0) != 0);
    for (auto _ : state) {
        r.wheelStep();
        r.repaint();
    }
    r.setEffects(false);
}
BENCHMARK(BM_TextureBrowserWheelRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_TextureBrowserFilter(benchmark::State& state) {
    BrowserRig& r = rig();
    r.browser->scrollFraction = 0.0f;
    int i = 0;
    for (auto _ : state) {
        r.browser->setFilter((++i & 1) ? QStringLiteral("texture_1") : QStringLiteral("folder3 folder7"));
        r.repaint();
    }
    r.browser->setFilter(QString());
}
BENCHMARK(BM_TextureBrowserFilter)->Unit(benchmark::kMillisecond);

} // namespace
