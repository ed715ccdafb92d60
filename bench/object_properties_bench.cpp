// The object properties dialog on the large map (LargeMap.h): loading its 2,000 selected point
// entities into the raw key/value table, and one typed value written into all of them with its
// undo snapshot.
#include <benchmark/benchmark.h>

#include <QTableWidget>

#include "FrameRig.h"
#include "LargeMap.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"

namespace {

struct PropertiesRig {
    PropertiesRig() {
        Bench_InitApplication();
        document = new MapDocument;
        Project_Construct(document);
        LargeMap_Build(document->world);
        for (EntityRecord* e = document->world->entities; e; e = e->next)
            if (!(e->flags & EntityFlag::World)) Map_SelectObject(document->world, e);
        dialog = new cObjectPropertiesDialog;
        dialog->setDocument(document);
    }
    MapDocument* document = nullptr;
    cObjectPropertiesDialog* dialog = nullptr;
};

PropertiesRig& rig() {
    static PropertiesRig* r = new PropertiesRig;
    return *r;
}

void BM_LoadSelectedEntitiesRaw(benchmark::State& state) {
    PropertiesRig& r = rig();
    for (auto _ : state) {
        r.dialog->setPages(3);
        r.dialog->loadSelection(r.document->world->selectedEntities);
    }
    state.counters["rows"] = r.dialog->findChild<QTableWidget*>(QStringLiteral("epairTable"))->rowCount();
}
BENCHMARK(BM_LoadSelectedEntitiesRaw)->Unit(benchmark::kMillisecond);

void BM_TypeValueIntoSelection(benchmark::State& state) {
    PropertiesRig& r = rig();
    r.dialog->setPages(3);
    r.dialog->loadSelection(r.document->world->selectedEntities);
    auto* table = r.dialog->findChild<QTableWidget*>(QStringLiteral("epairTable"));
    table->setCurrentCell(0, 0);
    int n = 0;
    for (auto _ : state) {
        r.dialog->endEdit(); // every iteration takes its own snapshot
        r.dialog->exec_on_modifyValue(QString::number(++n));
    }
}
BENCHMARK(BM_TypeValueIntoSelection)->Unit(benchmark::kMillisecond);

} // namespace
