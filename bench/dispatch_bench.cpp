// Command dispatch: what a command costs when it comes through its QAction (signal, slot, the
// window's refresh calls and status text) on top of its document operation called alone. The
// program's window holds the generated 10,000-brush map; it is hidden while timing, so its views
// take repaint requests without painting.
//
// The window needs its own main window: run these alone (--benchmark_filter=Dispatch); after
// another benchmark made the process's main window they report an error instead.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <memory>

#include "FrameRig.h"
#include "LargeMap.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/MainWindow.h"

namespace {

struct DispatchRig {
    DispatchRig() {
        Bench_EnsureApplication();
        K_MathLib_Initialize(0);
        if (g_mainWindow) return;
        // Kept to the end of the process, as the shared rig keeps its window.
        window = new cMainWindow(WindowMode::Interactive);
        window->settings.EnergySavingMode = true;
        document = new MapDocument;
        Project_Construct(document);
        LargeMapCounts counts;
        counts.patches = 0;
        counts.entities = 0;
        counts.paths = 0;
        LargeMap_Build(document->world, counts);
        window->documents.append(document);
        window->createChildWindow(document);
        window->show();
        QApplication::processEvents();
        // Hidden views do not paint: what is timed is the dispatch and the repaint requests.
        window->hide();
    }
    QAction* action(const char* name) const {
        for (QAction* a : window->actionList)
            if (a->objectName() == QLatin1String(name)) return a;
        return nullptr;
    }
    int selectedBrushes() const {
        int n = 0;
        for (const BrushRecord* b = document->world->selectedBrushes; b; b = b->selNext)
            ++n;
        return n;
    }
    cMainWindow* window = nullptr;
    MapDocument* document = nullptr;
};

DispatchRig* rig(benchmark::State& state) {
    static DispatchRig* r = new DispatchRig;
    if (!r->window) {
        state.SkipWithError("needs its own main window: run with --benchmark_filter=Dispatch");
        return nullptr;
    }
    return r;
}

// A display switch ("Dynamic sky") through its action; its whole work is the window's.
void BM_DispatchDisplaySwitch(benchmark::State& state) {
    DispatchRig* r = rig(state);
    if (!r) return;
    QAction* sky = r->action("ViewSky");
    if (!sky) return state.SkipWithError("no ViewSky action");
    sky->setEnabled(true);
    for (auto _ : state)
        sky->trigger();
    state.counters["sky"] = r->window->settings.DrawSky ? 1 : 0;
}
BENCHMARK(BM_DispatchDisplaySwitch)->Unit(benchmark::kMicrosecond);

// Select None with all 10,000 brushes selected: through the action, and the document's
// Map_SelectNone alone.
void BM_DispatchSelectNone(benchmark::State& state) {
    DispatchRig* r = rig(state);
    if (!r) return;
    QAction* none = r->action("EditSelNone");
    if (!none) return state.SkipWithError("no EditSelNone action");
    const bool throughAction = state.range(0) != 0;
    int selected = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Map_SelectAll(r->document->world, false);
        selected = r->selectedBrushes();
        none->setEnabled(true);
        state.ResumeTiming();
        if (throughAction)
            none->trigger();
        else
            Map_SelectNone(r->document->world);
    }
    state.counters["selected"] = double(selected);
}
BENCHMARK(BM_DispatchSelectNone)->Arg(1)->Arg(0)->ArgName("action")->Unit(benchmark::kMicrosecond);

} // namespace
