// Frames of a textured map: the benchmarks' large map scaled to 2,500 brushes, 300 patches and
// 200 entities, drawn by the world renderer in the camera view at 1024 x 768 with the eye inside
// the map and outside it, through the cull tree or not, and in the top view at full zoom-out.
#include <benchmark/benchmark.h>

#include <cmath>

#include "FrameRig.h"
#include "LargeMap.h"
#include "SolidTextures.h"
#include "document/CullTree.h"

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
