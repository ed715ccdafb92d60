// The entity report's refill on a map of 5,000 point entities (LargeMap.h, without its brushes),
// everything listed and sorted by class.
#include <benchmark/benchmark.h>

#include <QTableWidget>

#include "FrameRig.h"
#include "LargeMap.h"
#include "dialogs/editing/EntityReportDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "ui_EntityReportDialog.h"

namespace {

struct ReportRig {
    ReportRig() {
        Bench_InitApplication();
        document = new MapDocument;
        Project_Construct(document);
        LargeMapCounts counts;
        counts.brushes = 0;
        counts.patches = 0;
        counts.entities = 5000;
        LargeMap_Build(document->world, counts);
        dialog = new cEntityReportDialog(document, nullptr);
    }
    MapDocument* document = nullptr;
    cEntityReportDialog* dialog = nullptr;
};

void BM_EntityReportRefill(benchmark::State& state) {
    static ReportRig* rig = new ReportRig;
    for (auto _ : state)
        rig->dialog->exec_on_updateEntityFilter();
    state.counters["rows"] = rig->dialog->ui->lstEntities->rowCount();
}
BENCHMARK(BM_EntityReportRefill)->Unit(benchmark::kMillisecond);

} // namespace
