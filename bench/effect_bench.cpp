// Effects at run time: a 9,216-vertex batch (the world batch's size) through a three-stage effect
// (wave colour; environment coordinates; turbulence + scroll) after a wave deform, as one stage
// pass of a camera view computes it each frame.
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

#include "gamedata/EffectBatch.h"
#include "kstdlib/kstdlib.h"

namespace {

constexpr int kVertices = 9216;

struct EffectRig {
    ShaderRecord shader;
    ShaderStage stages[3] = {};
    std::vector<EffectVertex> vertices;
    std::vector<EffectVertex> original;
    EffectBatch batch{};
    EffectRig() {
        K_MathLib_Initialize(0);
        Shader_InitTables();
        shader.deforms[0] = {DeformKind::Wave, {}, {WaveKind::Sine, 0, 4, 0, 0.5f}, 0.01f, 0, 0, 0};
        stages[0].colorKind = ColorKind::Wave;
        stages[0].colorWave = {WaveKind::Triangle, 0.5f, 0.5f, 0, 1};
        stages[0].color[0] = stages[0].color[1] = stages[0].color[2] = 255;
        stages[0].texCoordKind = TexCoordKind::Base;
        stages[0].next = &stages[1];
        stages[1].colorKind = ColorKind::Identity;
        stages[1].alphaKind = AlphaKind::Const;
        stages[1].color[3] = 128;
        stages[1].texCoordKind = TexCoordKind::Environment;
        stages[1].next = &stages[2];
        stages[2].colorKind = ColorKind::Vertex;
        stages[2].texCoordKind = TexCoordKind::Base;
        stages[2].texCoordMods[0] = {TexModKind::Turbulence, {WaveKind::Sine, 0, 0.1f, 0, 1}, {}};
        stages[2].texCoordMods[1] = {TexModKind::Scroll, {}, {0.5f, 0.25f}};
        shader.stages = stages;
        // A 96 x 96 grid of points on a gently curved surface.
        for (int i = 0; i < kVertices; ++i) {
            EffectVertex v{};
            const float x = float(i % 96) * 16, y = float(i / 96) * 16;
            v.xyz[0] = x;
            v.xyz[1] = y;
            v.xyz[2] = std::sin(x * 0.01f) * 32;
            v.normal[2] = 1;
            v.baseST[0] = x / 128;
            v.baseST[1] = y / 128;
            v.vertexColor[0] = v.vertexColor[1] = v.vertexColor[2] = v.vertexColor[3] = 200;
            original.push_back(v);
        }
        vertices = original;
        batch.shader = &shader;
        batch.vertices = vertices.data();
        batch.count = kVertices;
        batch.capacity = kVertices;
        batch.origin[0] = 700;
        batch.origin[1] = -300;
        batch.origin[2] = 400;
    }
};

void BM_EffectStages9216(benchmark::State& state) {
    static EffectRig rig;
    float time = 1.0f;
    for (auto _ : state) {
        rig.batch.time = time;
        time += 0.016f;
        Shader_ApplyDeforms(&rig.batch);
        for (ShaderStage* stage = rig.shader.stages; stage; stage = stage->next) {
            rig.batch.stage = stage;
            Shader_ComputeColors(&rig.batch);
            Shader_ComputeTexCoords(&rig.batch);
        }
        benchmark::DoNotOptimize(rig.vertices.data());
        benchmark::ClobberMemory();
        state.PauseTiming();
        rig.vertices = rig.original; // the deform moves positions: start from the same ones
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kVertices);
}
BENCHMARK(BM_EffectStages9216)->Unit(benchmark::kMicrosecond);

} // namespace
