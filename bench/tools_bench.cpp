// The tools on a large map: a move drag and a guarded stretch of 1,000 selected brushes in a
// 10,000-brush map (tool work per mouse move, the release, one 2D preview paint) and the clip
// tool's preview of 1,000 brushes per move.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "FrameRig.h"
#include "LargeMap.h"
#include "document/CullTree.h"
#include "document/MapDocument.h"
#include "document/UndoHistory.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"
#include "tools/ClipTool.h"
#include "tools/SelectionTool.h"
#include "tools/ToolSet.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/GLFormat.h"

namespace {

// One application and main window (shared with the other view benchmarks when they made them), a
// document with the large map and a shown map window.
struct ToolRig {
    ToolRig() {
        Bench_InitApplication();
        g_mainWindow->settings.CurrentGridSize = 16;
        Project_Construct(&doc);
        LargeMapCounts counts;
        counts.patches = 0;
        counts.entities = 0;
        counts.paths = 0;
        LargeMap_Build(doc.world, counts);
        // As a loaded map has it: moved objects are re-filed in the cull tree.
        Map_CreateCullTree(doc.world);
        window = Bench_ShowMapWindow(&doc);
        for (cCanvas* v : window->views)
            if (v->viewType == ViewType::Top) top = v;
        top->zoom = 0.125f;
        top->scrollX = top->scrollY = 0;
    }
    // The first 1,000 brushes selected and the selection tool refreshed from them.
    void selectThousand() {
        MapWorld* world = doc.world;
        Map_SelectNone(world);
        int n = 0;
        for (BrushRecord* b = world->entities->firstBrush; b && n < 1000; b = b->next, ++n)
            Map_SelectObject(world, b);
        g_mainWindow->toolSelect();
        g_mainWindow->notifySelectionChanged(top);
    }
    MapDocument doc;
    cChildWindow* window = nullptr;
    cCanvas* top = nullptr;
};

ToolRig& rig() {
    static ToolRig r;
    return r;
}

cSelectionTool* selection() {
    return g_mainWindow->toolSet->get<cSelectionTool>(ToolId::Selection);
}

// Starts a drag of the box (mode, handle 0 = move) at its centre in the top view.
void startDrag(ToolRig& r, int mode, int handle) {
    cSelectionTool* sel = selection();
    sel->mode = mode;
    sel->hoverHandle = handle;
    sel->inside = handle == 0;
    const SelectionBox& box = r.doc.selectionBoxes[0];
    float p[3] = {handle ? box.maxs[0] : (box.mins[0] + box.maxs[0]) / 2, (box.mins[1] + box.maxs[1]) / 2, 0},
          s[3];
    r.top->worldToScreen(p, s);
    sel->pressX = int(s[0]);
    sel->pressY = int(s[1]);
    r.top->dragLeft = false;
    sel->mouseMove(r.top, sel->pressX, sel->pressY, Qt::LeftButton, 0);
}

void BM_SelectionDragMove(benchmark::State& state) {
    ToolRig& r = rig();
    r.selectThousand();
    const int mode = int(state.range(0));
    startDrag(r, mode, mode == SelectMode::Stretch ? 6 : 0);
    cSelectionTool* sel = selection();
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 8;
        sel->mouseMove(r.top, sel->pressX + 4 * step, sel->pressY - 2 * step, Qt::LeftButton, 0);
    }
    sel->preview = sel->dragging = false;
    r.top->dragLeft = false;
    sel->refresh(r.top);
}
BENCHMARK(BM_SelectionDragMove)
    ->ArgName("mode")
    ->Arg(SelectMode::Scale)
    ->Arg(SelectMode::Stretch)
    ->Unit(benchmark::kMicrosecond);

void BM_SelectionPreviewPaint(benchmark::State& state) {
    ToolRig& r = rig();
    r.selectThousand();
    startDrag(r, SelectMode::Scale, 0);
    cSelectionTool* sel = selection();
    sel->mouseMove(r.top, sel->pressX + 40, sel->pressY - 20, Qt::LeftButton, 0);
    for (auto _ : state) {
        r.top->needsFullRedraw = true;
        r.top->paintNow();
    }
    sel->preview = sel->dragging = false;
    r.top->dragLeft = false;
    sel->refresh(r.top);
}
BENCHMARK(BM_SelectionPreviewPaint)->Unit(benchmark::kMillisecond);

void BM_SelectionRelease(benchmark::State& state) {
    ToolRig& r = rig();
    r.selectThousand();
    cSelectionTool* sel = selection();
    int n = 0;
    for (auto _ : state) {
        // A move by one grid step, alternating, so the map stays where it was.
        const float d = (n++ % 2) ? -16.0f : 16.0f;
        for (int k = 0; k < 16; ++k)
            sel->matrix[k] = (k % 5 == 0) ? 1.0f : 0.0f;
        sel->matrix[3] = d;
        sel->rotating = sel->shearing = sel->sideMask = 0;
        sel->applyTransformation(r.top, false);
    }
    state.counters["cullTree"] = r.doc.world->cullTree != nullptr;
    Undo_Reset(r.doc.undo);
}
BENCHMARK(BM_SelectionRelease)->Unit(benchmark::kMillisecond);

void BM_ClipPreview(benchmark::State& state) {
    ToolRig& r = rig();
    r.selectThousand();
    g_mainWindow->toolClipper();
    cClipTool* clip = g_mainWindow->toolSet->get<cClipTool>(ToolId::Clip);
    clip->clipView = r.top;
    clip->clipDocument = &r.doc;
    clip->pointCount = 2;
    int n = 0;
    for (auto _ : state) {
        const float x = float(32 + (n++ % 4) * 128);
        const float a[3] = {x, -100, 0}, b[3] = {x + 40, 20000, 0};
        std::copy(a, a + 3, clip->points[0]);
        std::copy(b, b + 3, clip->points[1]);
        clip->updatePreview();
    }
    state.counters["pieces"] = double(clip->frontPieces.size() + clip->backPieces.size());
    clip->pointCount = 0;
    clip->updatePreview();
    g_mainWindow->toolSelect();
}
BENCHMARK(BM_ClipPreview)->Unit(benchmark::kMicrosecond);

} // namespace
