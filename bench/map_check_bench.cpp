// The map check: one run over 10,000 six-face brushes and 3,000 entities, half of them linked by
// target and targetname through a class with typed keys; and Fix all over 60,000 faces whose
// texture is missing, with its undo snapshots and its one list refresh.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "FrameRig.h"
#include "LargeMap.h"
#include "dialogs/editing/MapCheckDialog.h"
#include "gamedata/TextureLists.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginInterface.h"

namespace {

constexpr int kBrushes = 10000;
constexpr int kEntities = 3000;

EntityClass* linkedClass() {
    static EntityClass* eclass = [] {
        auto* c = new EntityClass;
        c->name = "target_relay";
        EntityProperty source;
        source.type = PropertyType::TargetSource;
        source.name = "targetname";
        EntityProperty destination;
        destination.type = PropertyType::TargetDestination;
        destination.name = "target";
        c->properties = {source, destination};
        return c;
    }();
    return eclass;
}

void buildBoxes(MapWorld* world, const char* texture) {
    const float zero[3] = {0, 0, 0};
    const MapHandle map = Map_Handle(world);
    EntityRecord* worldspawn = Entity_Create(map, "worldspawn", zero, EntityFlag::World);
    const TextureInfo info = large_map::texture(texture);
    for (int i = 0; i < kBrushes; ++i) {
        const float mins[3] = {float(i % 100) * 80, float(i / 100) * 80, 0};
        const float maxs[3] = {mins[0] + 64, mins[1] + 64, 64};
        large_map::box(map, worldspawn, mins, maxs, info);
    }
}

MapDocument* checkedMap() {
    auto* doc = new MapDocument;
    Project_Construct(doc);
    MapWorld* world = doc->world;
    buildBoxes(world, "bench/wall");
    const MapHandle map = Map_Handle(world);
    for (int i = 0; i < kEntities; ++i) {
        const float origin[3] = {float(i % 100) * 80 + 32, float(i / 100) * 80 + 32, 128};
        EntityRecord* e = Entity_Create(map, "target_relay", origin, EntityFlag::Point);
        e->handle->entityClass = linkedClass();
        char name[32];
        // Entity i names "t<i>"; the second half aims at the first.
        std::snprintf(name, sizeof name, "t%d", i < kEntities / 2 ? i : i - kEntities / 2);
        e->handle->appendKeyValue(i < kEntities / 2 ? "targetname" : "target", name);
    }
    return doc;
}

const MapProfileRecord& profile() {
    static MapProfileRecord record = [] {
        MapProfileRecord r{};
        std::strcpy(r.name, "bench");
        std::strcpy(r.playerStartClass, "info_player_start");
        std::strcpy(r.targetPrefixes, "@!");
        return r;
    }();
    return record;
}

// A current configuration whose lists name a loaded texture the repairs can put on the faces.
void makeCurrentTexture() {
    static bool done = false;
    if (done) return;
    done = true;
    GameConfigManager& configs = g_mainWindow->gameConfigs;
    configs.makeCurrent(GameCfg_AddConfig(&configs, QStringLiteral("Bench")));
    ShaderRecord* wall = Tex_CreateShader(&g_mainWindow->textures, "bench/wall", "bench/wall", 0);
    configs.currentTextureLists->entries.insert(QStringLiteral("BENCH/WALL"),
                                                TextureListEntry{"bench", nullptr, wall});
    g_mainWindow->currentTextureName = QStringLiteral("bench/wall");
}

void BM_MapCheckRun(benchmark::State& state) {
    Bench_InitApplication();
    makeCurrentTexture();
    static MapDocument* doc = checkedMap();
    size_t found = 0;
    for (auto _ : state)
        found = MapCheck_Run(doc->world, &profile()).size();
    state.counters["problems"] = double(found);
}
BENCHMARK(BM_MapCheckRun)->Unit(benchmark::kMillisecond);

void BM_MapCheckFixAllMissingTextures(benchmark::State& state) {
    Bench_InitApplication();
    makeCurrentTexture();
    size_t problems = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* doc = new MapDocument;
        Project_Construct(doc);
        buildBoxes(doc->world, "bench/missing");
        auto* dialog = new cMapCheckDialog(doc, nullptr);
        dialog->runChecks();
        problems = dialog->problems().size();
        state.ResumeTiming();
        dialog->exec_on_fixAllErrors();
        state.PauseTiming();
        delete dialog;
        Project_Destroy(doc);
        delete doc;
        state.ResumeTiming();
    }
    state.counters["problems"] = double(problems);
}
BENCHMARK(BM_MapCheckFixAllMissingTextures)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
