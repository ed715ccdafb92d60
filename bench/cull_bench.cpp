// The cull tree over a generated world of 20,000 objects (16,000 world brushes, 4,000 point
// entities) spread over the default ±4096 world box: building it, walking it for one view
// frame through a perspective frustum, and re-filing one moved brush.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "document/CullTree.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/ObjectRecords.h"
#include "render/RenderContext.h"
#include "render/ViewFrustum.h"

namespace {

constexpr int kBrushes = 16000;
constexpr int kEntities = 4000;

struct Plane {
    float normal[3];
    float dist; // inside when normal · p >= dist
};

// A 90-degree frustum from the origin looking along +x, 8 to 4000 units deep.
class cFrustumVisitor : public cCullVisitor {
public:
    Plane planes[6] = {
        {{1, -1, 0}, 0}, {{1, 1, 0}, 0}, {{1, 0, -1}, 0}, {{1, 0, 1}, 0}, {{1, 0, 0}, 8}, {{-1, 0, 0}, -4000},
    };
    int64_t tests = 0;
    int64_t drawn = 0;

    CullResult testBox(const float mins[3], const float maxs[3], int32_t* planeMask) override {
        ++tests;
        for (int i = 0; i < 6; ++i) {
            if (!(*planeMask & (1 << i))) continue;
            const Plane& p = planes[i];
            float nearest = 0, farthest = 0;
            for (int a = 0; a < 3; ++a) {
                const float lo = p.normal[a] * mins[a], hi = p.normal[a] * maxs[a];
                nearest += lo < hi ? lo : hi;
                farthest += lo < hi ? hi : lo;
            }
            if (farthest < p.dist) return CullResult::Outside;
            if (nearest >= p.dist) *planeMask &= ~(1 << i);
        }
        return (*planeMask & 0x3f) ? CullResult::Partial : CullResult::Inside;
    }
    bool drawEntity(EntityRecord*, uint32_t) override { return ++drawn, true; }
    bool drawBrush(BrushRecord*, uint32_t) override { return ++drawn, true; }
};

class cGeneratedWorld {
public:
    cGeneratedWorld() : brushes(kBrushes), entities(kEntities) {
        Map_InitWorld(&world, nullptr);
        worldspawn.flags = EntityFlag::World;
        worldspawn.owner = Map_Handle(&world);
        List_Append(world.entities, world.entitiesTail, &worldspawn);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> position(-4000.0f, 4000.0f);
        std::uniform_real_distribution<float> size(16.0f, 256.0f);
        for (BrushRecord& b : brushes) {
            for (int a = 0; a < 3; ++a) {
                b.mins[a] = position(random);
                b.maxs[a] = b.mins[a] + size(random);
            }
            b.entity = &worldspawn;
            List_Append(worldspawn.firstBrush, worldspawn.lastBrush, &b);
        }
        for (EntityRecord& e : entities) {
            for (int a = 0; a < 3; ++a) {
                e.origin[a] = position(random);
                e.mins[a] = e.origin[a] - 16;
                e.maxs[a] = e.origin[a] + 16;
            }
            e.flags = EntityFlag::Point;
            e.owner = Map_Handle(&world);
            List_Append(world.entities, world.entitiesTail, &e);
        }
    }
    ~cGeneratedWorld() {
        // The records belong to the vectors, not to handles: take them out before the world goes.
        Map_FreeCullTree(&world);
        worldspawn.firstBrush = worldspawn.lastBrush = nullptr;
        world.entities = world.entitiesTail = nullptr;
        Map_DestroyWorld(&world);
    }
    cGeneratedWorld(const cGeneratedWorld&) = delete;
    cGeneratedWorld& operator=(const cGeneratedWorld&) = delete;

    MapWorld world{};
    EntityRecord worldspawn{};
    std::vector<BrushRecord> brushes;
    std::vector<EntityRecord> entities;
};

void BM_CullBuild(benchmark::State& state) {
    cGeneratedWorld g;
    for (auto _ : state)
        Map_CreateCullTree(&g.world);
    state.counters["objects"] = kBrushes + kEntities;
}
BENCHMARK(BM_CullBuild)->Unit(benchmark::kMillisecond);

// One view frame: a normal pass through the frustum, then the selection pass.
void BM_CullTraversal(benchmark::State& state) {
    cGeneratedWorld g;
    Map_CreateCullTree(&g.world);
    CullTree* tree = Cull_TreeOf(&g.world);
    cFrustumVisitor visitor;
    int64_t frames = 0;
    for (auto _ : state) {
        Cull_NewFrame(tree);
        Cull_Draw(tree, tree->root, &visitor, CullPass::Normal, -1);
        Cull_Draw(tree, tree->root, &visitor, CullPass::Selection, -1);
        ++frames;
    }
    state.counters["drawn_per_frame"] = double(visitor.drawn) / double(frames);
    state.counters["box_tests_per_frame"] = double(visitor.tests) / double(frames);
}
BENCHMARK(BM_CullTraversal)->Unit(benchmark::kMicrosecond);

// Every object drawn without the tree, for comparison: the same visitor calls, no tests.
void BM_DrawAllWithoutTree(benchmark::State& state) {
    cGeneratedWorld g;
    cFrustumVisitor visitor;
    for (auto _ : state) {
        for (BrushRecord* b = g.worldspawn.firstBrush; b; b = b->next)
            visitor.drawBrush(b, CullPass::Normal);
        for (EntityRecord* e = g.worldspawn.next; e; e = e->next)
            visitor.drawEntity(e, CullPass::Normal);
        benchmark::DoNotOptimize(visitor.drawn);
    }
}
BENCHMARK(BM_DrawAllWithoutTree)->Unit(benchmark::kMicrosecond);

// One view frame through the drawing walk with the views' own frustum: Render_ClassifyBox over
// the planes still to test, for eight camera headings around the world's centre (90 degrees wide,
// far plane at 4000). The records have no handles, so nothing is drawn: what is measured is the
// walk, its box tests and the item visits of both passes.
void BM_CullDrawRealFrusta(benchmark::State& state) {
    cGeneratedWorld g;
    Map_CreateCullTree(&g.world);
    CullTree* tree = Cull_TreeOf(&g.world);
    ViewFrustum frusta[8];
    for (int k = 0; k < 8; ++k) {
        const float a = float(k) * 0.785398f;
        const float eye[3] = {0, 0, 64};
        const float forward[3] = {std::cos(a), std::sin(a), 0};
        const float right[3] = {std::sin(a), -std::cos(a), 0};
        const float up[3] = {0, 0, 1};
        Render_SetupFrustum3D(&frusta[k], eye, forward, right, up, 90.0f, 73.74f, 4000.0f);
    }
    RenderContext context{};
    context.is3D = 1;
    RenderCounters counters{};
    int64_t frames = 0;
    int32_t stamp = 0;
    for (auto _ : state) {
        context.frustum = &frusta[frames % 8];
        context.frameStamp = ++stamp;
        Cull_BeginFrame(tree, &context);
        Cull_Draw(tree, tree->root, &context, &counters, CullPass::Normal, -1);
        Cull_Draw(tree, tree->root, &context, &counters, CullPass::Selection, -1);
        ++frames;
    }
    state.counters["box_tests_per_frame"] = double(counters.culls) / double(frames);
}
BENCHMARK(BM_CullDrawRealFrusta)->Unit(benchmark::kMicrosecond);

// A brush moved back and forth by 600 units and re-filed, as a drag does per mouse move.
void BM_CullRefileMovedBrush(benchmark::State& state) {
    cGeneratedWorld g;
    Map_CreateCullTree(&g.world);
    CullTree* tree = Cull_TreeOf(&g.world);
    BrushRecord* b = &g.brushes[kBrushes / 2];
    float step = 600;
    for (auto _ : state) {
        for (int a = 0; a < 3; ++a) {
            b->mins[a] += step;
            b->maxs[a] += step;
        }
        step = -step;
        Cull_UpdateBrush(tree, tree->root, b);
    }
}
BENCHMARK(BM_CullRefileMovedBrush)->Unit(benchmark::kMicrosecond);

} // namespace
