// Stage colours, alphas, texture coordinates and frames against hand-computed values.
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "ConsoleCapture.h"
#include "gamedata/EffectBatch.h"

namespace {

using Rgba = std::array<int, 4>;

class EffectStagesTest : public ::testing::Test {
protected:
    cConsoleCapture console; // the main window builds the wave tables
    ShaderRecord shader;
    ShaderStage stage{};
    std::vector<EffectVertex> vertices;
    EffectBatch batch{};

    // A vertex at p with normal n, vertex colour (10, 20, 30, 40) and stage colour (1, 2, 3, 4).
    EffectVertex& add(std::array<float, 3> p, std::array<float, 3> n = {0, 0, 1}) {
        EffectVertex v{};
        for (int c = 0; c < 3; ++c) {
            v.xyz[c] = p[c];
            v.normal[c] = n[c];
        }
        const uint8_t supplied[4] = {10, 20, 30, 40}, current[4] = {1, 2, 3, 4};
        std::copy(supplied, supplied + 4, v.vertexColor);
        std::copy(current, current + 4, v.color);
        vertices.push_back(v);
        return vertices.back();
    }
    void bind(float time = 0.0f) {
        batch.shader = &shader;
        batch.stage = &stage;
        batch.vertices = vertices.data();
        batch.count = int32_t(vertices.size());
        batch.time = time;
    }
    Rgba colors(float time = 0.0f) {
        bind(time);
        Shader_ComputeColors(&batch);
        const uint8_t* c = vertices[0].color;
        return {c[0], c[1], c[2], c[3]};
    }
    std::array<float, 2> texCoords(float time = 0.0f) {
        bind(time);
        Shader_ComputeTexCoords(&batch);
        return {vertices[0].st[0], vertices[0].st[1]};
    }
    void setLight(std::array<float, 3> p) {
        batch.lightFlags = BATCH_LIGHT_POSITION;
        for (int c = 0; c < 3; ++c)
            batch.lightPosition[c] = p[c];
    }
    void setEye(std::array<float, 3> p) {
        for (int c = 0; c < 3; ++c)
            batch.origin[c] = p[c];
    }
};

TEST_F(EffectStagesTest, ColorAndAlphaKinds) {
    struct Case {
        int32_t colorKind, alphaKind;
        Rgba expected;
    };
    const Case cases[] = {
        {ColorKind::IdentityLighting, AlphaKind::Identity, {255, 255, 255, 255}},
        {ColorKind::Entity, AlphaKind::Keep, {255, 255, 255, 255}},
        {ColorKind::OneMinusEntity, AlphaKind::Keep, {0, 0, 0, 0}},
        {ColorKind::OneMinusEntity, AlphaKind::Entity, {0, 0, 0, 255}},
        {ColorKind::ExactVertex, AlphaKind::Keep, {10, 20, 30, 40}},
        {ColorKind::Vertex, AlphaKind::OneMinusEntity, {10, 20, 30, 0}},
        {ColorKind::OneMinusVertex, AlphaKind::Keep, {245, 235, 225, 40}},
        {ColorKind::OneMinusVertex, AlphaKind::OneMinusVertex, {245, 235, 225, 215}},
        {ColorKind::Const, AlphaKind::Keep, {50, 60, 70, 80}},
        {ColorKind::Identity, AlphaKind::Const, {255, 255, 255, 80}},
        {0, AlphaKind::Vertex, {1, 2, 3, 40}},
        {42, 42, {1, 2, 3, 4}},
    };
    const uint8_t constant[4] = {50, 60, 70, 80};
    std::copy(constant, constant + 4, stage.color);
    for (const Case& c : cases) {
        vertices.clear();
        add({0, 0, 0});
        stage.colorKind = c.colorKind;
        stage.alphaKind = c.alphaKind;
        EXPECT_EQ(colors(), c.expected) << c.colorKind << " " << c.alphaKind;
    }
}

TEST_F(EffectStagesTest, WaveColorAndAlpha) {
    add({0, 0, 0});
    const uint8_t constant[4] = {100, 200, 250, 200};
    std::copy(constant, constant + 4, stage.color);
    stage.colorKind = ColorKind::Wave;
    stage.colorWave = {WaveKind::Square, 0.5f, 1.0f, 0.0f, 0.0f}; // 1.5: clamped at 255
    stage.alphaKind = AlphaKind::Keep;
    EXPECT_EQ(colors(), (Rgba{150, 255, 255, 255}));
    stage.colorWave = {WaveKind::Square, 0.5f, 1.0f, 0.5f, 0.0f}; // -0.5: clamped at 0
    stage.alphaKind = AlphaKind::Wave;
    stage.alphaWave = {WaveKind::Sawtooth, 0.0f, 1.0f, 0.5f, 0.0f}; // 0.5 x 200
    EXPECT_EQ(colors(), (Rgba{0, 0, 0, 100}));
    // Mended: a NaN wave gives 0, not an undefined conversion.
    stage.alphaWave = {WaveKind::Sawtooth, std::nanf(""), 1.0f, 0.0f, 0.0f};
    EXPECT_EQ(colors()[3], 0);
}

TEST_F(EffectStagesTest, DiffuseLighting) {
    add({0, 0, 0});
    stage.colorKind = ColorKind::LightingDiffuse;
    stage.alphaKind = AlphaKind::Keep;
    EXPECT_EQ(colors(), (Rgba{10, 20, 30, 40})) << "no light: the vertex colour";
    struct Case {
        std::array<float, 3> light;
        int expected;
    };
    const Case cases[] = {
        {{0, 0, 100}, 255},
        {{100, 0, 100}, 180}, // trunc(cos 45 x 255)
        {{0, 0, -100}, 0},    // behind
        {{0, 0, 0}, 0},       // mended: the light at the vertex
    };
    for (const Case& c : cases) {
        setLight(c.light);
        EXPECT_EQ(colors(), (Rgba{c.expected, c.expected, c.expected, 40}))
            << c.light[0] << " " << c.light[2];
    }
}

TEST_F(EffectStagesTest, SpecularAlpha) {
    add({0, 0, 0});
    stage.colorKind = 0;
    stage.alphaKind = AlphaKind::LightingSpecular;
    struct Case {
        std::array<float, 3> light, eye;
        int expected;
    };
    const Case cases[] = {
        {{0, 0, 100}, {0, 0, 50}, 255},    {{0, 0, 100}, {100, 0, 100}, 63}, // k = cos 45: trunc(0.25 x 255)
        {{100, 0, 100}, {100, 0, 100}, 0},                                   // reflected across the view
        {{0, 0, 0}, {0, 0, 50}, 0},                                          // mended: light at the vertex
        {{0, 0, 100}, {0, 0, 0}, 0},                                         // mended: eye at the vertex
    };
    for (const Case& c : cases) {
        setLight(c.light);
        setEye(c.eye);
        EXPECT_EQ(colors()[3], c.expected) << c.light[0] << " " << c.eye[0] << " " << c.eye[2];
    }
    // Without a light the fixed one at (-960, 1980, 96) shines: straight back to an eye there.
    batch.lightFlags = 0;
    vertices[0].normal[0] = -960;
    vertices[0].normal[1] = 1980;
    vertices[0].normal[2] = 96;
    const float length = std::sqrt(960.0f * 960 + 1980.0f * 1980 + 96 * 96);
    for (float& n : vertices[0].normal)
        n /= length;
    setEye({-960, 1980, 96});
    EXPECT_GE(colors()[3], 254);
}

TEST_F(EffectStagesTest, PortalAlpha) {
    add({30, 40, 0}); // 50 from the eye at the origin
    stage.colorKind = 0;
    stage.alphaKind = AlphaKind::Portal;
    struct Case {
        float range;
        int expected;
    };
    // Mended rows: a range of 0 ("alphaGen portal 0") or below shows the portal fully.
    const Case cases[] = {{100, 127}, {25, 255}, {1000, 12}, {0, 255}, {-5, 255}};
    for (const Case& c : cases) {
        shader.portalRange = c.range;
        EXPECT_EQ(colors()[3], c.expected) << c.range;
    }
}

TEST_F(EffectStagesTest, TexCoordKinds) {
    EffectVertex& v = add({2, 4, 6});
    v.baseST[0] = 0.1f;
    v.baseST[1] = 0.2f;
    v.lightmapST[0] = 0.3f;
    v.lightmapST[1] = 0.4f;
    v.st[0] = 9;
    v.st[1] = 8;
    const float S[4] = {1, 0, 0, 0.5f}, T[4] = {0, 0.5f, 0, 0};
    std::copy(S, S + 4, stage.sVector);
    std::copy(T, T + 4, stage.tVector);
    setEye({1, 1, 1});
    struct Case {
        int32_t kind;
        std::array<float, 2> expected;
    };
    const Case cases[] = {
        {42, {9, 8}}, // unknown: unchanged
        {TexCoordKind::Zero, {0, 0}},
        {TexCoordKind::Lightmap, {0.3f, 0.4f}},
        {TexCoordKind::Base, {0.1f, 0.2f}},
        {TexCoordKind::Vector, {2.5f, 2.0f}},
        {TexCoordKind::ViewVector, {1.5f, 1.5f}},
    };
    for (const Case& c : cases) {
        stage.texCoordKind = c.kind;
        EXPECT_EQ(texCoords(), c.expected) << c.kind;
    }
}

TEST_F(EffectStagesTest, EnvironmentMapping) {
    add({0, 0, 0});
    stage.texCoordKind = TexCoordKind::Environment;
    setEye({0, 0, 100});
    EXPECT_EQ(texCoords(), (std::array<float, 2>{0.5f, 0.0f}));
    setEye({0, 100, 0}); // V = (0, 1, 0), d = 0
    EXPECT_EQ(texCoords(), (std::array<float, 2>{0.0f, 0.5f}));
    setEye({0, 0, 0}); // mended: the eye at the vertex
    EXPECT_EQ(texCoords(), (std::array<float, 2>{0.5f, 0.5f}));
}

TEST_F(EffectStagesTest, Modifiers) {
    struct Case {
        const char* what;
        TexCoordMod mod;
        float time;
        std::array<float, 2> in, expected;
    };
    const WaveForm zero = {WaveKind::Square, 0, 0, 0, 0};
    const WaveForm two = {WaveKind::Square, 2, 0, 0, 0};
    const WaveForm half = {WaveKind::Square, 0.5f, 0, 0, 0};
    const Case cases[] = {
        {"transform", {TexModKind::Transform, {}, {0, 1, 1, 0, 0.5f, 0}}, 0, {0.25f, 0.75f}, {1.25f, 0.25f}},
        {"scroll", {TexModKind::Scroll, {}, {0.5f, -0.25f}}, 2.5f, {0.5f, 0.5f}, {0.75f, 0.875f}},
        {"scale", {TexModKind::Scale, {}, {2, 3}}, 0, {0.5f, 0.5f}, {1, 1.5f}},
        {"stretch g = 0", {TexModKind::Stretch, zero, {}}, 0, {0.2f, 0.4f}, {0.2f, 0.4f}},
        {"stretch g = 2", {TexModKind::Stretch, two, {}}, 0, {1, 0}, {0.75f, 0.25f}},
        {"wave scroll", {TexModKind::WaveScroll, half, {1, 2}}, 0, {0, 0}, {0.5f, 1}},
        {"wave scroll g = 0", {TexModKind::WaveScroll, zero, {1, 2}}, 0, {0.1f, 0.1f}, {0.1f, 0.1f}},
        {"rotate (1, 0)", {TexModKind::Rotate, {}, {90}}, 1, {1, 0}, {0, 0}},
        {"rotate (0, 0)", {TexModKind::Rotate, {}, {90}}, 1, {0, 0}, {0, 1}},
        // At the origin a turbulence of phase 0.25 reads the sine's peak on both axes.
        {"turbulence",
         {TexModKind::Turbulence, {WaveKind::Sine, 0.5f, 2, 0.25f, 0}, {}},
         0,
         {0, 0},
         {2.5f, 2.5f}},
        {"entity translate does nothing", {9, {}, {1, 1}}, 1, {0.3f, 0.3f}, {0.3f, 0.3f}},
    };
    for (const Case& c : cases) {
        vertices.clear();
        EffectVertex& v = add({0, 0, 0});
        v.st[0] = c.in[0];
        v.st[1] = c.in[1];
        stage.texCoordKind = 0; // keep the coordinates set here
        stage.texCoordMods[0] = c.mod;
        const auto st = texCoords(c.time);
        EXPECT_NEAR(st[0], c.expected[0], 1e-6f) << c.what;
        EXPECT_NEAR(st[1], c.expected[1], 1e-6f) << c.what;
    }
}

TEST_F(EffectStagesTest, ModifierListOrderAndEnd) {
    EffectVertex& v = add({0, 0, 0});
    v.baseST[0] = 0.25f;
    v.baseST[1] = 0.5f;
    stage.texCoordKind = TexCoordKind::Base;
    // A first kind of 0 leaves the generated coordinates even with later entries set.
    stage.texCoordMods[1] = {TexModKind::Scale, {}, {4, 4}};
    EXPECT_EQ(texCoords(), (std::array<float, 2>{0.25f, 0.5f}));
    // In order: scale then scroll differs from scroll then scale.
    stage.texCoordMods[0] = {TexModKind::Scale, {}, {2, 2}};
    stage.texCoordMods[1] = {TexModKind::Scroll, {}, {0.25f, 0}};
    EXPECT_EQ(texCoords(1.0f), (std::array<float, 2>{0.75f, 1.0f}));
}

TEST_F(EffectStagesTest, SkyProjection) {
    EffectVertex& v = add({100, 0, 0});
    v.st[0] = 7;
    v.st[1] = 7;
    add({0, 0, 0}); // at the eye
    vertices[1].st[0] = 3;
    vertices[1].st[1] = 4;
    stage.texCoordKind = 0;
    stage.texCoordMods[0] = {TexModKind::SkyProjection, {}, {100}};
    // f = 250: c = (250 - 128) / 128.
    const auto st = texCoords(2.5f);
    EXPECT_FLOAT_EQ(st[0], 2.953125f + 0.953125f);
    EXPECT_FLOAT_EQ(st[1], 0.953125f);
    // Mended: a vertex at the eye keeps its coordinates.
    EXPECT_EQ(vertices[1].st[0], 3);
    EXPECT_EQ(vertices[1].st[1], 4);
}

TEST_F(EffectStagesTest, CurrentFrame) {
    TextureImage images[8] = {};
    for (int i = 0; i < 8; ++i)
        stage.frames[i] = &images[i];
    bind();
    struct Case {
        const char* what;
        int32_t count;
        float rate;
        int32_t override_;
        float time;
        int expected;
    };
    const Case cases[] = {
        {"one frame", 1, 10, 0, 3.3f, 0},
        {"rate 0", 4, 0, 0, 3.3f, 0},
        {"array", 4, 2, 0, 1.6f, 3}, // trunc(2 x 1.6 x 1024) >> 10 = 3
        {"wraps", 4, 2, 0, 2.1f, 0}, // 4 mod 4
        {"rate truncated", 4, 2.9f, 0, 1.6f, 3},
        {"override", 4, 2, 3, 1.6f, 0},                // 4 mod 4
        {"negative override", 4, 2, -1, 1.6f, 2},      // -2 mod 4
        {"count beyond the slots", 12, 1, 0, 9.5f, 1}, // 9 mod 8
        // Mended: 30 x 10^7 x 1024 passes 2^31; the frame index stays inside frame[].
        {"ten million seconds", 7, 30, 0, 1.0e7f, 6}, // 3 x 10^8 mod 7
    };
    for (const Case& c : cases) {
        stage.frameCount = c.count;
        stage.frameRate = c.rate;
        batch.frameRateOverride = c.override_;
        batch.time = c.time;
        EXPECT_EQ(Shader_CurrentFrame(&batch), &images[c.expected]) << c.what;
    }
}

TEST_F(EffectStagesTest, CurrentFrameFollowsTheChain) {
    TextureImage a{}, b{}, c{};
    a.next = &b;
    b.next = &c;
    c.next = &a; // a ring
    stage.frames[0] = &a;
    stage.frames[1] = &c; // the slots are not read with a chain
    stage.frameChain = &a;
    stage.frameCount = 3;
    stage.frameRate = 1;
    bind(1.5f);
    EXPECT_EQ(Shader_CurrentFrame(&batch), &b);
    batch.time = 5.0f; // 5 mod 3
    EXPECT_EQ(Shader_CurrentFrame(&batch), &c);
    // A chain shorter than the count: the walk stops at its last image.
    c.next = nullptr;
    stage.frameCount = 5;
    batch.time = 4.0f;
    EXPECT_EQ(Shader_CurrentFrame(&batch), &c);
}

} // namespace
