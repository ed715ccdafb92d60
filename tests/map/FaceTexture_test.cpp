#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "BrushFixture.h"
#include "ConsoleCapture.h"
#include "core/MainSettings.h"
#include "gamedata/TextureManager.h"

namespace {

// A detached face over a quad with a texture of its own, so sizes and flags are under control.
class FaceTextureTest : public ::testing::Test {
protected:
    ShaderRecord texture;
    FaceRecord* face = Face_Alloc(4);

    FaceTextureTest() {
        texture.width = texture.height = 64;
        face->texture = &texture;
        ++texture.refCount;
        face->texInfo = Test_TextureInfo();
    }
    ~FaceTextureTest() override { delete face->handle; }

    void setQuad(float x0, float y0, float x1, float y1) {
        const float p[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        for (int i = 0; i < 4; ++i) {
            face->vertices[i].xyz[0] = p[i][0];
            face->vertices[i].xyz[1] = p[i][1];
            face->vertices[i].xyz[2] = 0;
        }
        face->normal[0] = face->normal[1] = 0;
        face->normal[2] = 1;
        face->dist = 0;
    }
    void setAxes(std::array<float, 3> s, std::array<float, 3> t) {
        for (int a = 0; a < 3; ++a) {
            face->texInfo.sAxis[a] = s[a];
            face->texInfo.tAxis[a] = t[a];
        }
    }
    void expectAxes(std::array<float, 3> s, std::array<float, 3> t) {
        for (int a = 0; a < 3; ++a) {
            EXPECT_NEAR(face->texInfo.sAxis[a], s[a], 1e-5f) << "S " << a;
            EXPECT_NEAR(face->texInfo.tAxis[a], t[a], 1e-5f) << "T " << a;
        }
    }
};

TEST_F(FaceTextureTest, ResetAxesOnFloorWallAndSlope) {
    const float h = 0.70710677f;
    struct Case {
        const char* name;
        std::array<float, 3> normal;
        int32_t alignment;
        std::array<float, 3> s, t;
    } cases[] = {
        {"floor", {0, 0, 1}, 0, {1, 0, 0}, {0, -1, 0}},
        {"floor face-aligned", {0, 0, 1}, TexAlign::Face, {1, 0, 0}, {0, -1, 0}},
        {"wall", {0.6f, 0.8f, 0}, 0, {1, 0, 0}, {0, 0, -1}},
        {"wall world-aligned", {0.6f, 0.8f, 0}, TexAlign::World, {1, 0, 0}, {0, 0, -1}},
        // On a tie table B keeps the earlier row, table A takes the later one.
        {"slope", {h, 0, h}, 0, {1, 0, 0}, {0, -1, 0}},
        {"slope world-aligned", {h, 0, h}, TexAlign::World, {0, 1, 0}, {0, 0, -1}},
        {"slope face-aligned", {h, 0, h}, TexAlign::Face, {0, 1, 0}, {h, 0, -h}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int a = 0; a < 3; ++a)
            face->normal[a] = c.normal[a];
        face->texInfo.alignment = c.alignment;
        face->texInfo.rotation = 0;
        face->handle->resetTextureAxes();
        expectAxes(c.s, c.t);
        EXPECT_TRUE(face->handle->hasValidTextureAxes());
    }
    // Without a normal there is no base row and the axes are left alone.
    face->normal[0] = face->normal[1] = face->normal[2] = 0;
    EXPECT_EQ(face->handle->findBaseAxis(), 6);
    setAxes({0, 0, 1}, {0, 1, 0});
    face->handle->resetTextureAxes();
    expectAxes({0, 0, 1}, {0, 1, 0});
}

TEST_F(FaceTextureTest, DetectAlignment) {
    setQuad(0, 0, 64, 64);
    face->texInfo.alignment = 0;
    face->handle->resetTextureAxes();
    face->handle->detectTextureAlignment();
    EXPECT_EQ(face->texInfo.alignment, TexAlign::World | TexAlign::Face);
}

TEST_F(FaceTextureTest, RotationTurnsBothAxes) {
    setQuad(0, 0, 64, 64);
    setAxes({1, 0, 0}, {0, -1, 0});
    face->handle->rotateTextureAxes(90);
    expectAxes({0, 1, 0}, {1, 0, 0});
}

TEST_F(FaceTextureTest, TexCoordsOf64TextureAcrossFace) {
    setQuad(256, 0, 320, 64);
    setAxes({1, 0, 0}, {0, -1, 0});
    face->handle->computeTexCoords();
    EXPECT_FLOAT_EQ(face->vertices[0].s, 0.0f);
    EXPECT_FLOAT_EQ(face->vertices[1].s, 1.0f);
    EXPECT_FLOAT_EQ(face->vertices[2].s, 1.0f);
    EXPECT_FLOAT_EQ(face->vertices[3].s, 0.0f);
    EXPECT_FLOAT_EQ(face->vertices[2].t - face->vertices[1].t, -1.0f);
}

TEST_F(FaceTextureTest, AlignModes) {
    // s spans 10..138 and t (= -y) spans -69..-5 over a 64 × 64 texture.
    struct Case {
        int32_t mode;
        float repeatS, repeatT;
        float sShift, tShift, sScale, tScale;
    } cases[] = {
        {TexAlignMode::Top, 1, 1, 0, 5, 1, 1},      {TexAlignMode::Bottom, 1, 1, 0, 5, 1, 1},
        {TexAlignMode::Left, 1, 1, -10, 0, 1, 1},   {TexAlignMode::Right, 1, 1, -10, 0, 1, 1},
        {TexAlignMode::Center, 1, 1, -42, 5, 1, 1}, {TexAlignMode::Fit, 4, 0.5f, -20, 34.5f, 0.5f, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        setQuad(10, 5, 138, 69);
        setAxes({1, 0, 0}, {0, -1, 0});
        face->texInfo.sShift = face->texInfo.tShift = 0;
        face->texInfo.sScale = face->texInfo.tScale = 1;
        float extremes[6][3];
        face->handle->getExtremeVertices(extremes);
        face->handle->alignTexture(c.mode, extremes, c.repeatS, c.repeatT);
        EXPECT_FLOAT_EQ(face->texInfo.sShift, c.sShift);
        EXPECT_FLOAT_EQ(face->texInfo.tShift, c.tShift);
        EXPECT_FLOAT_EQ(face->texInfo.sScale, c.sScale);
        EXPECT_FLOAT_EQ(face->texInfo.tScale, c.tScale);
    }
}

TEST_F(FaceTextureTest, FitRepeatsTwiceAlongS) {
    setQuad(0, 0, 128, 64);
    setAxes({1, 0, 0}, {0, -1, 0});
    float extremes[6][3];
    face->handle->getExtremeVertices(extremes);
    face->handle->alignTexture(TexAlignMode::Fit, extremes, 2, 1);
    face->handle->computeTexCoords();
    EXPECT_FLOAT_EQ(face->vertices[1].s - face->vertices[0].s, 2.0f);
    EXPECT_FLOAT_EQ(face->vertices[3].t - face->vertices[0].t, -1.0f);
}

TEST_F(FaceTextureTest, ZeroScalesSizesAndRepeatsStayFinite) {
    struct Case {
        const char* name;
        float sScale, tScale;
        int32_t width;
        float repeat;
    } cases[] = {
        {"zero scales", 0, 0, 64, 1},
        {"tiny scale", 1e-6f, -1e-7f, 64, 1},
        {"zero size", 1, 1, 0, 1},
        {"zero repeats", 1, 1, 64, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setQuad(0, 0, 64, 64);
        setAxes({1, 0, 0}, {0, -1, 0});
        face->texInfo.sScale = c.sScale;
        face->texInfo.tScale = c.tScale;
        texture.width = texture.height = c.width;
        face->handle->computeTexCoords();
        face->handle->rescaleToPowerOfTwo();
        face->handle->solveTextureFromTexCoords();
        float extremes[6][3];
        face->handle->getExtremeVertices(extremes);
        for (int32_t mode = 0; mode <= TexAlignMode::Fit; ++mode)
            face->handle->alignTexture(mode, extremes, c.repeat, c.repeat);
        face->handle->computeTexCoords();
        const TextureInfo& ti = face->texInfo;
        for (float v : {ti.sScale, ti.tScale, ti.sShift, ti.tShift})
            EXPECT_TRUE(std::isfinite(v)) << v;
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(std::isfinite(face->vertices[i].s));
            EXPECT_TRUE(std::isfinite(face->vertices[i].t));
        }
    }
}

TEST_F(FaceTextureTest, SolveRecoversTheMapping) {
    setQuad(0, 0, 64, 64);
    setAxes({1, 0, 0}, {0, -1, 0});
    face->texInfo.sScale = 2;
    face->texInfo.tScale = 0.5f;
    face->texInfo.sShift = 8;
    face->handle->computeTexCoords();
    face->handle->solveTextureFromTexCoords();
    EXPECT_NEAR(face->texInfo.sScale, 2.0f, 1e-4f);
    EXPECT_NEAR(face->texInfo.tScale, 0.5f, 1e-4f);
    EXPECT_NEAR(std::fmod(face->texInfo.sShift - 8 + 640, 64.0f), 0.0f, 1e-3f);
    expectAxes({1, 0, 0}, {0, -1, 0});
}

// With UV lock on, rebuilding polygons (hollow, clip, plane moves) must not reset the mapping.
class UvLockTest : public BrushFixture {
protected:
    cConsoleCapture console; // brings a host with its settings
    void SetUp() override { console.settings().TextureLockUV = true; }
    void TearDown() override { console.settings().TextureLockUV = false; }
};

TEST_F(UvLockTest, ScaleAndShiftSurviveRebuilds) {
    BrushRecord* brush = makeCube(0, 64);
    for (FaceRecord* f = brush->firstFace; f; f = f->next) {
        f->texInfo.sScale = 2;
        f->texInfo.tScale = 0.5f;
        f->texInfo.sShift = 8;
        f->texInfo.tShift = 4;
    }
    brush->handle->offsetPlanes(8);             // polygons rebuilt
    brush->handle->update(FaceUpdate::Polygon); // and again
    for (FaceRecord* f = brush->firstFace; f; f = f->next) {
        f->flags |= FaceFlags::NeedsUpdate; // vertices unchanged: solved from the coordinates
    }
    brush->handle->update(0);
    for (const FaceRecord* f = brush->firstFace; f; f = f->next) {
        EXPECT_NEAR(f->texInfo.sScale, 2.0f, 1e-4f);
        EXPECT_NEAR(f->texInfo.tScale, 0.5f, 1e-4f);
        const float w = float(f->texture->width);
        EXPECT_NEAR(std::fmod(f->texInfo.sShift - 8 + 100 * w, w), 0.0f, 1e-2f);
    }
}

} // namespace
