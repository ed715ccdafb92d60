// Frames of a textured map: the benchmarks' large map scaled to 2,500 brushes, 300 patches and
// 200 entities, drawn by the world renderer in the camera view at 1024 x 768 with the eye inside
// the map and outside it, through the cull tree or not, and in the top view at full zoom-out;
// then maps shaped like real ones, generated or read (see below).
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "ArenaMap.h"
#include "FrameRig.h"
#include "LargeMap.h"
#include "SolidTextures.h"
#include "document/CullTree.h"
#include "document/ZmfFile.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MapWindowFit.h"

namespace {

struct MapRig {
    MapRig() {
        Bench_InitApplication();
        Project_Construct(&doc);
        Map_ClearWorld(doc.world);
        LargeMapCounts counts;
        counts.brushes = 2500;
        counts.patches = 300;
        counts.entities = 200;
        counts.groups = 50;
        counts.paths = 10;
        LargeMap_Build(doc.world, counts);
        Map_CreateCullTree(doc.world);
        window = Bench_ShowMapWindow(&doc);
        window->views.first()->makeCurrent();
        textures.apply(doc.world);
        window->views.first()->doneCurrent();
    }
    cCanvas* view(int type) const {
        for (cCanvas* v : window->views)
            if (v->viewType == type) return v;
        return nullptr;
    }
    MapDocument doc;
    cChildWindow* window = nullptr;
    cSolidTextures textures;
};

MapRig& mapRig() {
    static MapRig r;
    return r;
}

// Eye among the brushes looking along a row, or outside the map looking at its middle.
void BM_MapFrame3D(benchmark::State& state) {
    MapRig& r = mapRig();
    cCanvas* camera = r.view(ViewType::Camera);
    const bool inside = state.range(0) != 0;
    g_mainWindow->settings.UseCullTree = state.range(1) != 0;
    const float insideEye[3] = {3230, 1630, 48}, insideAngles[3] = {0, 20, 0};
    const float outsideEye[3] = {-600, -600, 900}, outsideAngles[3] = {-25, 30, 0};
    r.window->setCameraOrigin(inside ? insideEye : outsideEye);
    r.window->setCameraAngles(inside ? insideAngles : outsideAngles);
    camera->renderMode = 3;
    camera->needsFullRedraw = true;
    for (auto _ : state) {
        camera->paintNow();
    }
    state.counters["brushes"] = camera->counters.brushes;
    state.counters["faces"] = camera->counters.faces;
    state.counters["patches"] = camera->counters.patches;
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MapFrame3D)
    ->ArgNames({"inside", "cullTree"})
    ->Args({1, 1})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({0, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_MapFrameTop(benchmark::State& state) {
    MapRig& r = mapRig();
    cCanvas* top = r.view(ViewType::Top);
    g_mainWindow->settings.UseCullTree = state.range(0) != 0;
    top->zoom = top->minimumZoom();
    top->scrollX = top->scrollY = 0;
    top->needsFullRedraw = true;
    for (auto _ : state) {
        top->paintNow();
    }
    state.counters["brushes"] = top->counters.brushes;
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MapFrameTop)->ArgName("cullTree")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

// ---- Maps shaped like real ones -------------------------------------------------------------------
// The generated arena (bench/ArenaMap.h), and any .zmf maps named in ZARV_BENCH_MAPS (a list split
// by ':'; made from real maps with tests/tools/mapconv): the camera at the map's first player start
// as a new map window places it (MapWindow_FitToWorld), or outside the map looking at its middle,
// textured (a solid texture per name) or untextured (every surface the "notexture" checker), and
// each 2D view at full zoom-out.
namespace {

struct ArenaRig {
    explicit ArenaRig(const QString& path) {
        Bench_InitApplication();
        Project_Construct(&doc);
        if (path.isEmpty()) {
            Map_ClearWorld(doc.world);
            ArenaMap_Build(doc.world);
            Map_CreateCullTree(doc.world);
        } else if (!Project_ReadWorld(doc.world, path, [](const QString&) { return true; })) {
            failed = true;
        }
        window = Bench_ShowMapWindow(&doc);
        MapWindow_FitToWorld(window, doc.world);
        cCanvas* camera = view(ViewType::Camera);
        std::memcpy(startEye, camera->eye, sizeof startEye);
        std::memcpy(startAngles, camera->angles, sizeof startAngles);
        Map_WorldBounds(doc.world, mins, maxs);
    }
    cCanvas* view(int type) const {
        for (cCanvas* v : window->views)
            if (v->viewType == type) return v;
        return nullptr;
    }
    void setTextured(bool on) {
        if (on == textured) return;
        window->views.first()->makeCurrent();
        if (on)
            textures.apply(doc.world);
        else
            cSolidTextures::applyOne(doc.world, Tex_CreateNoTexture());
        window->views.first()->doneCurrent();
        textured = on;
    }
    MapDocument doc;
    cChildWindow* window = nullptr;
    cSolidTextures textures;
    bool textured = false;
    bool failed = false;
    float startEye[3], startAngles[3], mins[3], maxs[3];
};

ArenaRig& arenaRig(const QString& path) {
    static std::map<QString, std::unique_ptr<ArenaRig>> rigs;
    auto& rig = rigs[path];
    if (!rig) rig = std::make_unique<ArenaRig>(path);
    return *rig;
}

// With ZARV_BENCH_SHOTS set to a folder, each case's last frame is written there, named after the
// case, to compare builds pixel for pixel, with its depth buffer beside it (".depth": floats, rows
// bottom up). Where two builds' depths agree everywhere, their colours can differ only where two
// opaque surfaces lie at exactly the same depth: the depth test keeps the nearest whatever the
// order, and only a tie is decided by the order.
void shot(const QString& path, const char* kind, benchmark::State& state, cCanvas* view) {
    const char* folder = std::getenv("ZARV_BENCH_SHOTS");
    if (!folder) return;
    const QString name =
        QStringLiteral("%1/%2-%3-%4-%5.png")
            .arg(QString::fromLocal8Bit(folder),
                 path.isEmpty() ? QStringLiteral("arena") : QFileInfo(path).completeBaseName(),
                 QLatin1String(kind))
            .arg(state.range(0))
            .arg(kind[0] == '3' ? state.range(1) : 0);
    const QImage image = view->grabFramebuffer();
    image.save(name);
    std::vector<float> depth(size_t(image.width()) * size_t(image.height()));
    view->makeCurrent();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, image.width(), image.height(), GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    view->doneCurrent();
    QFile file(name + QStringLiteral(".depth"));
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(depth.data()), qint64(depth.size() * sizeof(float)));
}

void counters(benchmark::State& state, const cCanvas* view) {
    state.counters["entities"] = view->counters.entities;
    state.counters["brushes"] = view->counters.brushes;
    state.counters["faces"] = view->counters.faces;
    state.counters["patches"] = view->counters.patches;
    state.counters["frames/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Args: textured, eye (0 the player start, 1 outside looking in).
void arenaFrame3D(benchmark::State& state, const QString& path) {
    ArenaRig& r = arenaRig(path);
    if (r.failed) {
        state.SkipWithError("map not read");
        return;
    }
    g_mainWindow->settings.UseCullTree = true;
    r.setTextured(state.range(0) != 0);
    cCanvas* camera = r.view(ViewType::Camera);
    if (state.range(1) == 0) {
        r.window->setCameraOrigin(r.startEye);
        r.window->setCameraAngles(r.startAngles);
    } else {
        float centre[3], size = 64.0f;
        for (int k = 0; k < 3; ++k) {
            centre[k] = (r.mins[k] + r.maxs[k]) / 2;
            size = std::max(size, r.maxs[k] - r.mins[k]);
        }
        // Above a corner, the whole map in front of the eye.
        const float eye[3] = {r.mins[0] - size * 0.1f, r.mins[1] - size * 0.1f, r.maxs[2] + size * 0.25f};
        const float d[3] = {centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]};
        const float angles[3] = {float(std::atan2(d[2], std::hypot(d[0], d[1])) * 180.0 / M_PI),
                                 float(std::atan2(d[1], d[0]) * 180.0 / M_PI), 0.0f};
        r.window->setCameraOrigin(eye);
        r.window->setCameraAngles(angles);
    }
    camera->renderMode = 3;
    camera->needsFullRedraw = true;
    for (auto _ : state)
        camera->paintNow();
    counters(state, camera);
    shot(path, "3d", state, camera);
}

// Arg: the view type (top, side, front), at full zoom-out over the map's middle.
void arenaFrame2D(benchmark::State& state, const QString& path) {
    ArenaRig& r = arenaRig(path);
    if (r.failed) {
        state.SkipWithError("map not read");
        return;
    }
    g_mainWindow->settings.UseCullTree = true;
    cCanvas* view = r.view(int(state.range(0)));
    view->zoom = view->minimumZoom();
    view->scrollX = view->scrollY = 0;
    view->needsFullRedraw = true;
    for (auto _ : state)
        view->paintNow();
    counters(state, view);
    shot(path, "2d", state, view);
}

void registerArena(const std::string& name, const QString& path) {
    benchmark::RegisterBenchmark(("BM_Frame3D/" + name).c_str(),
                                 [path](benchmark::State& s) { arenaFrame3D(s, path); })
        ->ArgNames({"textured", "outside"})
        ->Args({0, 0})
        ->Args({1, 0})
        ->Args({0, 1})
        ->Args({1, 1})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("BM_Frame2D/" + name).c_str(),
                                 [path](benchmark::State& s) { arenaFrame2D(s, path); })
        ->ArgName("view")
        ->Arg(ViewType::Top)
        ->Arg(ViewType::Side)
        ->Arg(ViewType::Front)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

const bool kArenaRegistered = [] {
    registerArena("arena", QString());
    if (const char* list = std::getenv("ZARV_BENCH_MAPS"))
        for (const QString& path : QString::fromLocal8Bit(list).split(QLatin1Char(':'), Qt::SkipEmptyParts))
            registerArena(QFileInfo(path).completeBaseName().toStdString(), path);
    return true;
}();

} // namespace
