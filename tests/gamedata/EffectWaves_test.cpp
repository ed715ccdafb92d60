// Wave tables, waves, noise and vertex deforms against hand-computed values.
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "ConsoleCapture.h"
#include "gamedata/EffectBatch.h"
#include "kstdlib/kmath.h"
#include "kstdlib/krandom.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class EffectWavesTest : public ::testing::Test {
protected:
    cConsoleCapture console; // the main window builds the tables
    ShaderRecord shader;
    std::vector<EffectVertex> vertices;
    EffectBatch batch{};

    // A quad in the x/y plane at z, corners counter-clockwise from (x0, y0), normals up, base s
    // of 0.25 each.
    void addQuad(float x0, float y0, float x1, float y1, float z) {
        const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        for (const auto& c : corners) {
            EffectVertex v{};
            v.xyz[0] = c[0];
            v.xyz[1] = c[1];
            v.xyz[2] = z;
            v.normal[2] = 1.0f;
            v.baseST[0] = 0.25f;
            vertices.push_back(v);
        }
    }
    void addPoint(float x, float y, float z) {
        EffectVertex v{};
        v.xyz[0] = x;
        v.xyz[1] = y;
        v.xyz[2] = z;
        v.normal[2] = 1.0f;
        vertices.push_back(v);
    }
    void run(float time = 0.0f) {
        batch.shader = &shader;
        batch.vertices = vertices.data();
        batch.count = int32_t(vertices.size());
        batch.capacity = batch.count;
        batch.time = time;
        Shader_ApplyDeforms(&batch);
    }
    void setView(const float (&forward)[3], const float (&right)[3], const float (&up)[3]) {
        for (int c = 0; c < 3; ++c) {
            batch.forward[c] = forward[c];
            batch.right[c] = right[c];
            batch.up[c] = up[c];
        }
    }
    static void expectXYZ(const EffectVertex& v, float x, float y, float z) {
        EXPECT_NEAR(v.xyz[0], x, 1e-4f);
        EXPECT_NEAR(v.xyz[1], y, 1e-4f);
        EXPECT_NEAR(v.xyz[2], z, 1e-4f);
    }
};

TEST_F(EffectWavesTest, TablesHoldTheirShapes) {
    ASSERT_TRUE(Shader_TablesBuilt());
    const float* sine = Shader_WaveTable(WaveKind::Sine);
    EXPECT_EQ(sine[0], 0.0f);
    EXPECT_EQ(sine[1023], 0.0f); // a whole turn over 1023 steps
    EXPECT_NEAR(sine[256], std::sin(256 * 2 * M_PI / 1023), 1e-6);
    const float* rectified = Shader_WaveTable(WaveKind::RectifiedSine);
    EXPECT_FLOAT_EQ(rectified[0], -1.0f);
    EXPECT_NEAR(rectified[512], std::fabs(std::sin(512 * M_PI / 1023)) * 2 - 1, 1e-6);
    const float* square = Shader_WaveTable(WaveKind::Square);
    EXPECT_EQ(square[511], 1.0f);
    EXPECT_EQ(square[512], -1.0f);
    const float* triangle = Shader_WaveTable(WaveKind::Triangle);
    EXPECT_EQ(triangle[128], 0.5f);
    EXPECT_EQ(triangle[256], 1.0f);
    EXPECT_EQ(triangle[384], 0.5f);
    EXPECT_EQ(triangle[640], -0.5f);
    EXPECT_EQ(triangle[768], -1.0f);
    EXPECT_EQ(Shader_WaveTable(WaveKind::Sawtooth)[256], 0.25f);
    EXPECT_EQ(Shader_WaveTable(WaveKind::InverseSawtooth)[256], 0.75f);
    // Noise and unknown kinds read the sine table.
    EXPECT_EQ(Shader_WaveTable(WaveKind::Noise), sine);
    EXPECT_EQ(Shader_WaveTable(0), sine);
    EXPECT_EQ(Shader_WaveTable(99), sine);
}

TEST(EffectTables, DrawFloatThenPermutationAlternately) {
    if (Shader_TablesBuilt()) GTEST_SKIP() << "tables built earlier in this run";
    K_SRand(77);
    Shader_InitTables();
    K_SRand(77);
    for (int i = 0; i < kNoiseSize; ++i) {
        const float f = K_RandomFloat(-1.0f, 1.0f);
        const int p = K_RandomLong(0, 255);
        ASSERT_EQ(Shader_NoiseFloats()[i], f) << i;
        ASSERT_EQ(Shader_NoisePermutation()[i], p) << i;
    }
    // Built once: another call draws nothing.
    K_SRand(5);
    const float next = K_RandomFloat(-1.0f, 1.0f);
    K_SRand(5);
    Shader_InitTables();
    EXPECT_EQ(K_RandomFloat(-1.0f, 1.0f), next);
}

TEST_F(EffectWavesTest, EvalWave) {
    struct Case {
        const char* what;
        WaveForm wave; // kind, base, amplitude, phase, frequency
        float time;
        float expected;
    };
    const Case cases[] = {
        {"square, frequency 0, phase 0.5", {WaveKind::Square, 3, 2, 0.5f, 0}, 123.0f, 1.0f},
        {"square, frequency 0, phase 0.25", {WaveKind::Square, 3, 2, 0.25f, 0}, 123.0f, 5.0f},
        {"triangle at 384", {WaveKind::Triangle, 0, 1, 0.375f, 0}, 0.0f, 0.5f},
        {"sawtooth wraps whole periods", {WaveKind::Sawtooth, 0, 1, 0, 1}, 2.25f, 0.25f},
        {"sawtooth before 0", {WaveKind::Sawtooth, 0, 1, 0, 1}, -0.25f, 0.75f},
        {"inverse sawtooth", {WaveKind::InverseSawtooth, 1, 2, 0.5f, 0}, 0.0f, 2.0f},
        {"unknown kind reads sine", {42, 0, 1, 0, 0}, 0.0f, 0.0f},
        // Mended: the index passes 2^31 here (3e6 s); its low bits still select the entry.
        {"large time", {WaveKind::Sawtooth, 0, 1, 0.25f, 1}, 3.0e6f, 0.25f},
        // Mended: a NaN frequency reads entry 0.
        {"NaN frequency", {WaveKind::Square, 3, 2, 0, kNaN}, 1.0f, 5.0f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(Shader_EvalWave(&c.wave, c.time), c.expected) << c.what;
}

// At lattice points the noise is one random float, reached through the permutation.
TEST_F(EffectWavesTest, NoiseAtLatticePoints) {
    const float* R = Shader_NoiseFloats();
    const int32_t* P = Shader_NoisePermutation();
    auto lattice = [&](int x, int y, int z, int w) {
        const int a = (z + P[w & 255]) & 255;
        const int b = (y + P[a]) & 255;
        return R[P[(P[b] + x) & 255]];
    };
    const int points[][4] = {{0, 0, 0, 0}, {1, 2, 3, 4}, {255, 7, 9, 300}, {-3, 2, 5, 7}, {-1, -200, -7, -9}};
    for (const auto& p : points)
        EXPECT_EQ(Shader_Noise(float(p[0]), float(p[1]), float(p[2]), float(p[3])),
                  lattice(p[0], p[1], p[2], p[3]))
            << p[0] << " " << p[1] << " " << p[2] << " " << p[3];
    // The noise wave samples (time + phase) x frequency on the w axis.
    const WaveForm noise = {WaveKind::Noise, 1.0f, 2.0f, 1.0f, 2.0f};
    EXPECT_FLOAT_EQ(Shader_EvalWave(&noise, 2.0f), lattice(0, 0, 0, 6) * 2.0f + 1.0f);
    // Between lattice points it stays within the random floats' range; negative and non-finite
    // coordinates index inside the tables.
    for (float x : {-1000.5f, -0.25f, 0.5f, 77.75f, kNaN, std::numeric_limits<float>::infinity()}) {
        const float n = Shader_Noise(x, -x, 0.5f, x * 0.5f);
        EXPECT_TRUE(std::isfinite(n)) << x;
        EXPECT_LE(std::fabs(n), 1.0f) << x;
    }
}

TEST_F(EffectWavesTest, WaveDeformWithoutSpreadMovesAllAlike) {
    addQuad(-100, -100, 300, 50, 7);
    shader.deforms[0] = {DeformKind::Wave, {}, {WaveKind::Square, 2.0f, 0.5f, 0.0f, 1.0f}, 0.0f, 0, 0, 0};
    run(0.0f); // square at entry 0: 2 + 0.5
    for (const EffectVertex& v : vertices)
        EXPECT_FLOAT_EQ(v.xyz[2], 9.5f);
}

TEST_F(EffectWavesTest, WaveDeformWithSpreadOffsetsByPosition) {
    addPoint(100, 100, 56); // x + y + z = 256
    addPoint(512, 0, 0);    // 512
    addPoint(-256, 0, 0);   // -256
    shader.deforms[0] = {
        DeformKind::Wave, {}, {WaveKind::Sawtooth, 0.0f, 4.0f, 0.0f, 1.0f}, 1.0f / 1024, 0, 0, 0};
    run(0.5f); // ((x + y + z) / 1024 + 0.5) x 1024 = x + y + z + 512
    EXPECT_FLOAT_EQ(vertices[0].xyz[2], 56 + 768 / 1024.0f * 4);
    EXPECT_FLOAT_EQ(vertices[1].xyz[2], 0.0f);
    EXPECT_FLOAT_EQ(vertices[2].xyz[2], 256 / 1024.0f * 4);
}

TEST_F(EffectWavesTest, BulgeAndMove) {
    addPoint(0, 0, 0);
    vertices[0].baseST[0] = 0.25f;
    const float step = std::sin(40 * 2 * M_PI / 1024); // trunc(0.25 x 162.97466) = 40
    shader.deforms[0] = {DeformKind::Bulge, {}, {}, 0, 1.0f, 8.0f, 0.0f};
    run(5.0f);
    EXPECT_NEAR(vertices[0].xyz[2], 8 * step, 1e-5);
    vertices[0].xyz[2] = 0;
    shader.deforms[0].kind = DeformKind::BulgeScaled;
    run(5.0f);
    EXPECT_NEAR(vertices[0].xyz[2], 8 * step * 0.25f, 1e-5);

    vertices[0].xyz[2] = 0;
    shader.deforms[0] = {
        DeformKind::Move, {1, 0, -2}, {WaveKind::Sawtooth, 1.0f, 2.0f, 0.5f, 0.0f}, 0, 0, 0, 0};
    run(9.0f); // 1 + 2 x 0.5
    expectXYZ(vertices[0], 2, 0, -4);
}

TEST_F(EffectWavesTest, NormalDeformKeepsUnitNormals) {
    addPoint(-50.5f, 12.25f, -3); // mended: x < 0 reaches the noise with negative coordinates
    addPoint(40, -7, 1000);
    shader.deforms[0] = {DeformKind::Normal, {}, {WaveKind::Sine, 0, 0.5f, 0, 2.0f}, 0, 0, 0, 0};
    run(3.3f);
    for (const EffectVertex& v : vertices) {
        EXPECT_NEAR(
            std::sqrt(v.normal[0] * v.normal[0] + v.normal[1] * v.normal[1] + v.normal[2] * v.normal[2]),
            1.0f, 1e-5);
    }
    // A vertex's nx moves by Noise(0.98x, 0.98y, 0.98z, q) x amplitude before normalising.
    EffectVertex expected{};
    expected.normal[0] = Shader_Noise(-50.5f * 0.98f, 12.25f * 0.98f, -3 * 0.98f, 2.0f * 3.3f) * 0.5f;
    expected.normal[1] = Shader_Noise(-50.5f * 0.98f + 100, 12.25f * 0.98f, -3 * 0.98f, 2.0f * 3.3f) * 0.5f;
    expected.normal[2] =
        1 + Shader_Noise(-50.5f * 0.98f + 200, 12.25f * 0.98f, -3 * 0.98f, 2.0f * 3.3f) * 0.5f;
    K_VectorNormalizeFast(expected.normal);
    for (int c = 0; c < 3; ++c)
        EXPECT_FLOAT_EQ(vertices[0].normal[c], expected.normal[c]);
}

TEST_F(EffectWavesTest, AutospriteFacesTheView) {
    addQuad(9, 19, 11, 21, 30); // centre (10, 20, 30)
    vertices[2].baseST[1] = 0.9f;
    setView({0, 1, 0}, {1, 0, 0}, {0, 0, 1});
    shader.deforms[0].kind = DeformKind::Autosprite;
    run();
    const float r = std::sqrt(2.0f) * 0.707f;
    const float expected[4][5] = {{10 - r, 20, 30 + r, 0, 0},
                                  {10 - r, 20, 30 - r, 0, 1},
                                  {10 + r, 20, 30 - r, 1, 1},
                                  {10 + r, 20, 30 + r, 1, 0}};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        expectXYZ(vertices[k], expected[k][0], expected[k][1], expected[k][2]);
        EXPECT_EQ(vertices[k].baseST[0], expected[k][3]);
        EXPECT_EQ(vertices[k].baseST[1], expected[k][4]);
        EXPECT_EQ(vertices[k].lightmapST[0], expected[k][3]);
        EXPECT_EQ(vertices[k].lightmapST[1], expected[k][4]);
        EXPECT_EQ(vertices[k].normal[1], -1.0f);
    }
}

TEST_F(EffectWavesTest, AutospriteNeedsWholeQuads) {
    addQuad(0, 0, 1, 1, 0);
    addPoint(5, 5, 5);
    addPoint(6, 6, 6);
    const std::vector<EffectVertex> before = vertices;
    setView({0, 1, 0}, {1, 0, 0}, {0, 0, 1});
    for (int32_t kind : {DeformKind::Autosprite, DeformKind::Autosprite2}) {
        shader.deforms[0].kind = kind;
        run();
        for (size_t i = 0; i < vertices.size(); ++i)
            expectXYZ(vertices[i], before[i].xyz[0], before[i].xyz[1], before[i].xyz[2]);
    }
}

TEST_F(EffectWavesTest, Autosprite2TurnsAboutTheLongAxis) {
    // A 2 x 8 quad in the x/z plane, long along z, seen edge-on along x.
    const float quad[4][3] = {{-1, 0, -4}, {1, 0, -4}, {1, 0, 4}, {-1, 0, 4}};
    for (const auto& p : quad)
        addPoint(p[0], p[1], p[2]);
    vertices[0].baseST[0] = 0.75f;
    setView({1, 0, 0}, {0, -1, 0}, {0, 0, 1});
    shader.deforms[0].kind = DeformKind::Autosprite2;
    run();
    // The short edges (1, 0) and (2, 3) turn about their midpoints to span y.
    expectXYZ(vertices[1], 0, -1, -4);
    expectXYZ(vertices[0], 0, 1, -4);
    expectXYZ(vertices[2], 0, -1, 4);
    expectXYZ(vertices[3], 0, 1, 4);
    EXPECT_EQ(vertices[0].baseST[0], 0.75f);
    EXPECT_EQ(vertices[0].normal[2], 1.0f);

    // Mended: the long axis along the view gives no direction; the quad stays, with no NaN.
    const std::vector<EffectVertex> before = vertices;
    setView({0, 0, 1}, {1, 0, 0}, {0, 1, 0});
    run();
    for (size_t i = 0; i < vertices.size(); ++i)
        expectXYZ(vertices[i], before[i].xyz[0], before[i].xyz[1], before[i].xyz[2]);
}

TEST_F(EffectWavesTest, DeformListOrderAndEnd) {
    addPoint(0, 0, 0);
    const VertexDeform move = {DeformKind::Move, {0, 0, 1}, {WaveKind::Square, 1.0f, 0, 0, 0}, 0, 0, 0, 0};
    // A first kind of 0 ends the list even with later entries set.
    shader.deforms[1] = move;
    run();
    expectXYZ(vertices[0], 0, 0, 0);
    // Kinds this run time does not draw (6: projection shadow, 9 on: text) are skipped.
    shader.deforms[0].kind = 6;
    shader.deforms[2] = move;
    shader.deforms[2].kind = 12;
    run();
    expectXYZ(vertices[0], 0, 0, 1);
}

} // namespace
