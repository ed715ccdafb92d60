// The command interface of the main window built from the tables: status bar, menu bar, the map
// tool bars, the context menus, the tools bar and the view toggles, then one retranslation.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>

#include "FrameRig.h"
#include "mainwindow/MainWindow.h"

namespace {

void BM_BuildCommandInterface(benchmark::State& state) {
    Bench_EnsureApplication();
    size_t actions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<cMainWindow>();
        state.ResumeTiming();
        window->createStatusBar();
        window->createMenus();
        for (const ActionHolder& bar : Action_MapToolBars())
            window->createMapToolBar(QLatin1String(bar.name), bar.bit);
        for (const ActionHolder& menu : Action_ContextMenus())
            window->createContextMenu(QLatin1String(menu.name), menu.bit);
        window->createToolsBar();
        window->createViewToggles();
        window->retranslateAll();
        state.PauseTiming();
        actions = size_t(window->actionList.size() + window->toolActions.size());
        window.reset();
        state.ResumeTiming();
    }
    state.counters["actions"] = double(actions);
}
BENCHMARK(BM_BuildCommandInterface)->Unit(benchmark::kMillisecond);

} // namespace
