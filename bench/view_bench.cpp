// Frustum box tests and empty frames of the views.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "document/MapDocument.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/GLFormat.h"
#include "render/ViewFrustum.h"

#include "FrameRig.h"

namespace {

struct Boxes {
    std::vector<float> mins, maxs;
};

// 1024 boxes of 8 to 256 units across a 4096-unit cube.
const Boxes& boxes() {
    static const Boxes b = [] {
        Boxes out;
        std::mt19937 rng(3);
        std::uniform_real_distribution<float> pos(-2048, 2048), size(8, 256);
        for (int i = 0; i < 1024; ++i)
            for (int k = 0; k < 3; ++k) {
                const float lo = pos(rng);
                out.mins.push_back(lo);
                out.maxs.push_back(lo + size(rng));
            }
        return out;
    }();
    return b;
}

ViewFrustum frustum(bool is3D) {
    ViewFrustum f{};
    if (is3D) {
        const float eye[3] = {-1024, -512, 256}, angles[3] = {-10, 30, 0};
        vec3 fwd, right, up;
        K_AngleVectors(angles, fwd, right, up);
        Render_SetupFrustum3D(&f, eye, fwd, right, up, 90, 73.7f, 5000);
    } else {
        const float scroll[2] = {100, -50};
        Render_SetupFrustum2D(&f, 0, 1, scroll, 0.5f, -512, 512, -384, 384);
    }
    return f;
}

void BM_CullBox(benchmark::State& state) {
    const ViewFrustum f = frustum(state.range(0) != 0);
    const Boxes& b = boxes();
    for (auto _ : state) {
        int culled = 0;
        for (int i = 0; i < 1024; ++i)
            culled += Render_CullBox(&f, &b.mins[3 * i], &b.maxs[3 * i]);
        benchmark::DoNotOptimize(culled);
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_CullBox)->ArgName("3d")->Arg(0)->Arg(1);

void BM_ClassifyBox(benchmark::State& state) {
    const ViewFrustum f = frustum(state.range(0) != 0);
    const Boxes& b = boxes();
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < 1024; ++i) {
            int mask = -1;
            sum += Render_ClassifyBox(&f, &b.mins[3 * i], &b.maxs[3 * i], &mask);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_ClassifyBox)->ArgName("3d")->Arg(0)->Arg(1);

// An empty frame of one view type at full zoom-out, HideSmallGrid on or off.
void BM_EmptyFrame(benchmark::State& state) {
    FrameRig& r = Bench_FrameRig();
    const int type = int(state.range(0));
    g_mainWindow->settings.HideSmallGrid = state.range(1) != 0;
    cCanvas* view = nullptr;
    for (cCanvas* v : r.window->views)
        if (v->viewType == type) view = v;
    if (!view) {
        state.SkipWithError("no view of that type");
        return;
    }
    view->zoom = view->minimumZoom();
    view->needsFullRedraw = true;
    for (auto _ : state) {
        view->paintNow();
    }
    state.counters["width"] = view->width();
    state.counters["height"] = view->height();
}
BENCHMARK(BM_EmptyFrame)
    ->ArgNames({"type", "hideSmallGrid"})
    ->Args({ViewType::Top, 1})
    ->Args({ViewType::Top, 0})
    ->Args({ViewType::Side, 1})
    ->Args({ViewType::Front, 1})
    ->Args({ViewType::Camera, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
