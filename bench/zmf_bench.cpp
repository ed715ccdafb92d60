// Project files of a large map (LargeMap.h: 10,000 brushes, 1,000 patches, 2,000 entities with
// key/values, groups, visgroups, paths): the whole write and the whole read.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFileInfo>

#include "LargeMap.h"
#include "document/MapWorld.h"
#include "document/ZmfFile.h"
#include "kstdlib/kmath.h"

namespace {

QString benchPath() {
    return QDir::temp().filePath(QStringLiteral("zarv_zmf_bench.zmf"));
}

MapWorld* largeWorld() {
    static MapWorld* world = [] {
        K_MathLib_Initialize(0);
        auto* w = new MapWorld;
        Map_InitWorld(w, nullptr);
        LargeMap_Build(w);
        return w;
    }();
    return world;
}

void BM_ZmfWrite(benchmark::State& state) {
    MapWorld* world = largeWorld();
    for (auto _ : state)
        if (!Project_WriteWorld(world, benchPath())) state.SkipWithError("write failed");
    state.counters["MiB"] = double(QFileInfo(benchPath()).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ZmfWrite)->Unit(benchmark::kMillisecond);

void BM_ZmfRead(benchmark::State& state) {
    if (!Project_WriteWorld(largeWorld(), benchPath())) {
        state.SkipWithError("write failed");
        return;
    }
    MapWorld world;
    Map_InitWorld(&world, nullptr);
    for (auto _ : state) {
        if (!Project_ReadWorld(&world, benchPath())) state.SkipWithError("read failed");
        state.PauseTiming();
        Map_ClearWorld(&world);
        state.ResumeTiming();
    }
    Map_DestroyWorld(&world);
    QFile::remove(benchPath());
}
BENCHMARK(BM_ZmfRead)->Unit(benchmark::kMillisecond);

} // namespace
