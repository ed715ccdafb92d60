// The vertex tool on a 2,000-brush map with every brush selected (96,000 handles: each box's 24
// face vertices and 24 edges): a handle pick per press, a top-view paint of all bullets, a move of
// one corner column per brush with the restrictions on, and the clean-up at the end of morph mode.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "FrameRig.h"
#include "LargeMap.h"
#include "document/MapDocument.h"
#include "document/UndoHistory.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "tools/ToolSet.h"
#include "tools/VertexTool.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

struct VertexRig {
    VertexRig() {
        Bench_InitApplication();
        g_mainWindow->settings.CurrentGridSize = 16;
        Project_Construct(&doc);
        LargeMapCounts counts;
        counts.brushes = 2000;
        counts.patches = counts.entities = counts.paths = counts.groups = counts.visGroups = 0;
        LargeMap_Build(doc.world, counts);
        window = Bench_ShowMapWindow(&doc);
        for (cCanvas* v : window->views)
            if (v->viewType == ViewType::Top) top = v;
        top->zoom = 0.125f;
        top->scrollX = top->scrollY = 0;
        for (BrushRecord* b = doc.world->entities->firstBrush; b; b = b->next)
            Map_SelectObject(doc.world, b);
        g_mainWindow->toolVertexManipulation();
        tool = g_mainWindow->toolSet->get<cVertexTool>(ToolId::Vertex);
        tool->view = top;
    }
    // One corner column of every brush selected (the copies of its highest corner).
    void selectColumns() {
        tool->clearSelection();
        for (BrushRecord* b = doc.world->selectedBrushes; b; b = b->selNext) {
            const float* corner = b->firstFace->vertices[0].xyz;
            float p[3] = {corner[0], corner[1], corner[2]};
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                for (int i = 0; i < f->vertexCount; ++i)
                    if (f->vertices[i].xyz[0] == p[0] && f->vertices[i].xyz[1] == p[1])
                        f->vertices[i].flags |= HandleFlags::Vertex;
        }
    }
    MapDocument doc;
    cChildWindow* window = nullptr;
    cCanvas* top = nullptr;
    cVertexTool* tool = nullptr;
};

VertexRig& rig() {
    static VertexRig r;
    return r;
}

void BM_VertexPick(benchmark::State& state) {
    VertexRig& r = rig();
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(r.tool->pickElements(r.top, 100 + (n++ % 64) * 8, 200, 1));
    r.tool->clearSelection();
    state.counters["handles"] = 2000 * 48;
}
BENCHMARK(BM_VertexPick)->Unit(benchmark::kMicrosecond);

void BM_VertexPaint(benchmark::State& state) {
    VertexRig& r = rig();
    r.selectColumns();
    for (auto _ : state) {
        r.top->needsFullRedraw = true;
        r.top->paintNow();
    }
    r.tool->clearSelection();
}
BENCHMARK(BM_VertexPaint)->Unit(benchmark::kMillisecond);

// The same frame with the tool showing no handles: what the map and the rest of the view cost.
void BM_VertexPaintWithoutBullets(benchmark::State& state) {
    VertexRig& r = rig();
    r.selectColumns();
    r.tool->mode = 0;
    for (auto _ : state) {
        r.top->needsFullRedraw = true;
        r.top->paintNow();
    }
    r.tool->mode = VertexMode::Both;
    r.tool->clearSelection();
}
BENCHMARK(BM_VertexPaintWithoutBullets)->Unit(benchmark::kMillisecond);

void BM_VertexMoveColumns(benchmark::State& state) {
    VertexRig& r = rig();
    g_mainWindow->settings.VertexToolRestrict = true;
    r.selectColumns();
    int n = 0;
    for (auto _ : state) {
        // Sideways by one grid step and back: every move stands.
        const float d = (n++ % 2) ? -4.0f : 4.0f;
        benchmark::DoNotOptimize(r.tool->moveElements(r.top, 0, 1, d, 0.0f));
    }
    r.tool->cleanUpMorph(r.top, true);
    Undo_Reset(r.doc.undo);
    r.tool->clearSelection();
}
BENCHMARK(BM_VertexMoveColumns)->Unit(benchmark::kMillisecond);

void BM_VertexCleanUp(benchmark::State& state) {
    VertexRig& r = rig();
    g_mainWindow->settings.VertexToolRestrict = true;
    for (auto _ : state) {
        state.PauseTiming();
        r.selectColumns();
        r.tool->moveElements(r.top, 0, 1, 4.0f, 0.0f);
        r.tool->moveElements(r.top, 0, 1, -4.0f, 0.0f);
        state.ResumeTiming();
        r.tool->cleanUpMorph(r.top, true);
        state.PauseTiming();
        Undo_Reset(r.doc.undo);
        state.ResumeTiming();
    }
    r.tool->clearSelection();
}
BENCHMARK(BM_VertexCleanUp)->Unit(benchmark::kMillisecond);

} // namespace
