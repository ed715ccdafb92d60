// Plugin drawing: Render_Vertex3fv through a copy of the engine table, as a plugin calls it, into
// the program-wide batch with the points primitive (each full batch flushes and draws nothing), so
// the figure is the slot's own cost. Needs a GUI application and GL: run it alone
// (--benchmark_filter=RenderVertex) under xvfb-run.
#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

#include "gamedata/PluginManager.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureUpload.h"
#include "mainwindow/MainWindow.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

constexpr int kVerticesPerIteration = 8 * kRenderBatchSize;

void BM_RenderVertex3fv(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "zarv_bench";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv);
    static std::unique_ptr<cMainWindow> window;
    if (!g_mainWindow) window = std::make_unique<cMainWindow>();
    cSharedGLScope scope;
    if (!scope.ok()) {
        state.SkipWithError("no OpenGL");
        return;
    }
    EngineFuncs table;
    std::memcpy(&table, Plugin_EngineFuncs(), sizeof table);
    GLStateCache cache;
    GL_InitStateCache(&cache);
    RenderContext context{};
    context.stateCache = &cache;
    if (!Render_BeginBatch(&context)) {
        state.SkipWithError("no batch");
        return;
    }
    table.Render_SetPrimitive(RenderPrimitive::Points);
    table.Render_Color4ub(255, 255, 255, 255);
    float point[3] = {1, 2, 3};
    for (auto _ : state) {
        for (int i = 0; i < kVerticesPerIteration; ++i) {
            point[0] = float(i);
            table.Render_Vertex3fv(point);
        }
        benchmark::ClobberMemory();
    }
    Render_EndBatch();
    state.SetItemsProcessed(state.iterations() * kVerticesPerIteration);
}
BENCHMARK(BM_RenderVertex3fv)->Unit(benchmark::kMicrosecond);

} // namespace
