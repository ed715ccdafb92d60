// Texture loading from a PK3 under the software GL of the test machines (llvmpipe): 500 256x256
// pictures, half TGA (deflated), half JPEG (stored), read from the archive, decoded by the Quake III
// plugin's loaders and uploaded (mipmaps, resource context), each step timed on its own and the
// three together. Needs a GUI application: run it alone (--benchmark_filter=Pk3Texture) under
// xvfb-run, since the other benches may make a non-GUI one first.
#include <GL/gl.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

#include "../tests/quake3/ImageFiles.h"
#include "Pk3Writer.h"
#include "core/System.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"
#include "mainwindow/MainWindow.h"
#include "quake3/Images.h"
#include "quake3/Pk3Archive.h"

namespace {

constexpr int kTextures = 500;
constexpr int kSide = 256;

QByteArray memberName(int i) {
    return "textures/bench/t" + QByteArray::number(i) + (i % 2 ? ".jpg" : ".tga");
}

struct Picture {
    std::vector<uint8_t> pixels;
    int32_t width = 0, height = 0, components = 0;
};

struct Rig {
    QTemporaryDir dir;
    QByteArray path;
    std::unique_ptr<cMainWindow> window;
    bool gui = false;
    Rig() {
        static int argc = 1;
        static char name[] = "zarv_bench";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) new QApplication(argc, argv);
        gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        if (!g_mainWindow) window = std::make_unique<cMainWindow>();
        QList<Pk3Entry> entries;
        for (int i = 0; i < kTextures; ++i) {
            // A gradient with noise, so that neither format compresses it to nothing.
            QByteArray rgb(kSide * kSide * 3, 0);
            for (int p = 0; p < rgb.size(); ++p)
                rgb[p] = char((p / 3 % kSide) + (p / 3 / kSide) + ((p * 2654435761u) >> 28) + i);
            if (i % 2)
                entries.append({memberName(i), JpegFile(kSide, kSide, 3, rgb, false), 0});
            else
                entries.append({memberName(i), TgaFile(2, kSide, kSide, 24, 0x20, rgb), 8});
        }
        path = QFile::encodeName(dir.filePath("bench.pk3"));
        QFile file(dir.filePath("bench.pk3"));
        file.open(QIODevice::WriteOnly);
        file.write(Pk3Build(entries));
    }
};

Rig& rig() {
    static Rig r;
    return r;
}

std::vector<QByteArray> readAll(const QByteArray& path) {
    std::vector<QByteArray> files;
    Pk3Index* index = Pk3_Open(path.constData());
    for (int i = 0; i < kTextures; ++i) {
        void* data = nullptr;
        const uint32_t size = Pk3_LoadMember(index, memberName(i).constData(), &data);
        files.emplace_back(static_cast<const char*>(data), qsizetype(size));
        Sys_Free(data);
    }
    Pk3_Close(index);
    return files;
}

Picture decodeOne(int i, const QByteArray& file) {
    TGAImageLoader tga;
    JPGImageLoader jpg;
    ImageLoader& loader = i % 2 ? static_cast<ImageLoader&>(jpg) : tga;
    Picture p;
    uint8_t loaded = 0;
    const uint8_t* pixels = loader.load(reinterpret_cast<const uint8_t*>(file.constData()),
                                        uint32_t(file.size()), &p.width, &p.height, &p.components, &loaded);
    if (pixels) p.pixels.assign(pixels, pixels + size_t(p.width) * p.height * p.components);
    return p;
}

std::vector<Picture> decodeAll(const std::vector<QByteArray>& files) {
    std::vector<Picture> pictures;
    for (int i = 0; i < kTextures; ++i)
        pictures.push_back(decodeOne(i, files[size_t(i)]));
    return pictures;
}

// Uploads every picture and waits for GL to finish; the images are freed untimed by the caller.
std::vector<TextureImage*> uploadAll(const std::vector<Picture>& pictures) {
    std::vector<TextureImage*> images;
    for (const Picture& p : pictures) {
        const int32_t format = Image_Formats(p.components).format;
        images.push_back(Plugin_UploadImage(nullptr, memberName(int(images.size())).constData(), format,
                                            format, p.components, p.width, p.height, true, p.pixels.data()));
    }
    cSharedGLScope scope;
    glFinish();
    return images;
}

void freeAll(std::vector<TextureImage*>& images) {
    for (TextureImage* image : images)
        Plugin_FreeImage(image);
    images.clear();
}

bool ready(benchmark::State& state) {
    if (!rig().gui) {
        state.SkipWithError("needs a GUI application: run with --benchmark_filter=Pk3Texture alone");
        return false;
    }
    cSharedGLScope scope;
    if (!scope.ok()) state.SkipWithError("no OpenGL");
    return scope.ok();
}

void BM_Pk3TextureRead(benchmark::State& state) {
    if (!ready(state)) return;
    for (auto _ : state)
        benchmark::DoNotOptimize(readAll(rig().path));
}
BENCHMARK(BM_Pk3TextureRead)->Unit(benchmark::kMillisecond);

void BM_Pk3TextureDecode(benchmark::State& state) {
    if (!ready(state)) return;
    const std::vector<QByteArray> files = readAll(rig().path);
    for (auto _ : state) {
        const std::vector<Picture> pictures = decodeAll(files);
        if (pictures.back().width != kSide) state.SkipWithError("not decoded");
    }
}
BENCHMARK(BM_Pk3TextureDecode)->Unit(benchmark::kMillisecond);

void BM_Pk3TextureUpload(benchmark::State& state) {
    if (!ready(state)) return;
    const std::vector<Picture> pictures = decodeAll(readAll(rig().path));
    for (auto _ : state) {
        std::vector<TextureImage*> images = uploadAll(pictures);
        state.PauseTiming();
        if (!images.back() || images.back()->glName == 0) state.SkipWithError("not uploaded");
        freeAll(images);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Pk3TextureUpload)->Unit(benchmark::kMillisecond);

void BM_Pk3TextureReadDecodeUpload(benchmark::State& state) {
    if (!ready(state)) return;
    for (auto _ : state) {
        std::vector<TextureImage*> images = uploadAll(decodeAll(readAll(rig().path)));
        state.PauseTiming();
        freeAll(images);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Pk3TextureReadDecodeUpload)->Unit(benchmark::kMillisecond);

} // namespace
