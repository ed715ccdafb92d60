// The sky pass in a real GL context (offscreen framebuffer with depth and stencil), read back:
// which box face each 90-degree view along an axis shows and which way up, cloud stages blended
// over the box by their state word, the turn with time, and the GL state left behind.
#include <GL/gl.h>
#include <QMatrix4x4>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QVector3D>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

#include "gamedata/EffectBatch.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/SkyManager.h"
#include "gamedata/SkyMesh.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

constexpr int kSize = 64;
constexpr GLenum kRGBA = 0x1908;

// Looking along an axis from the eye, with the up vector of the view.
struct View {
    QVector3D forward;
    QVector3D up;
};
const View kViews[6] = {
    {{0, -1, 0}, {0, 0, 1}}, {{0, 1, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 0, 1}},
    {{-1, 0, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}}, {{0, 0, -1}, {1, 0, 0}},
};

class SkyDrawTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_mainWindow) window = std::make_unique<cMainWindow>();
        context.setShareContext(QOpenGLContext::globalShareContext());
        context.setFormat(QSurfaceFormat::defaultFormat());
        ASSERT_TRUE(context.create());
        surface.setFormat(context.format());
        surface.create();
        ASSERT_TRUE(context.makeCurrent(&surface));
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        fbo = std::make_unique<QOpenGLFramebufferObject>(kSize, kSize, format);
        ASSERT_TRUE(fbo->isValid());
        fbo->bind();
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1, 1000); // 90 degrees each way
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glEnableClientState(GL_VERTEX_ARRAY);
        GL_InitStateCache(&cache);
        GL_ResyncStateCache(&cache);
        rc = RenderContext{};
        rc.is3D = 1;
        rc.stateCache = &cache;
        for (int i = 0; i < 3; ++i)
            rc.origin[i] = eye[i];
        sky->category = EFFECT_SKY_BOX;
        state = SkyState{sky, {0, 0, 0}, 0.0f};
    }
    void TearDown() override {
        sky->refCount = 1;
        Tex_ReleaseShader(GameData_Textures(), sky, false);
        fbo.reset();
        context.doneCurrent();
    }

    // A 2 x 2 image: red = the face code, green = the quadrant (top left, top right, bottom left,
    // bottom right).
    static TextureImage* quadrants(int face) {
        uint8_t pixels[16];
        for (int q = 0; q < 4; ++q) {
            pixels[4 * q] = uint8_t(40 * face + 20);
            pixels[4 * q + 1] = uint8_t(60 * q + 30);
            pixels[4 * q + 2] = 0;
            pixels[4 * q + 3] = 255;
        }
        return Plugin_UploadImage(nullptr, nullptr, kRGBA, kRGBA, 4, 2, 2, false, pixels);
    }
    static TextureImage* solid(QRgb color) {
        uint8_t pixels[4] = {uint8_t(qRed(color)), uint8_t(qGreen(color)), uint8_t(qBlue(color)), 255};
        return Plugin_UploadImage(nullptr, nullptr, kRGBA, kRGBA, 4, 1, 1, false, pixels);
    }
    void look(const View& view) {
        QMatrix4x4 m;
        m.lookAt(eye, eye + view.forward, view.up);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(m.constData());
    }
    QImage draw(const View& view) {
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        look(view);
        Sky_Draw(&state, &rc);
        glFinish();
        return fbo->toImage().convertToFormat(QImage::Format_RGB32);
    }
    static void expectNear(QRgb actual, QRgb expected, int tolerance, const char* what) {
        EXPECT_NEAR(qRed(actual), qRed(expected), tolerance) << what;
        EXPECT_NEAR(qGreen(actual), qGreen(expected), tolerance) << what;
        EXPECT_NEAR(qBlue(actual), qBlue(expected), tolerance) << what;
    }
    void addStage(TextureImage* image, int32_t stateBits, int32_t flags = 0) {
        ShaderStage stage{};
        stage.frames[0] = image;
        stage.stateBits = stateBits;
        stage.stageFlags = flags;
        Tex_AddShaderStage(sky, &stage);
    }

    std::unique_ptr<cMainWindow> window;
    QOpenGLContext context;
    QOffscreenSurface surface;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    GLStateCache cache{};
    RenderContext rc{};
    ShaderRecord* sky = new ShaderRecord{}; // released with its images and stages
    SkyState state{};
    const QVector3D eye{1000, -2000, 300};
};

TEST_F(SkyDrawTest, EachAxisViewShowsItsFaceUpright) {
    for (int f = 0; f < 6; ++f)
        sky->box[f] = quadrants(f);
    for (int f = 0; f < 6; ++f) {
        const QImage image = draw(kViews[f]);
        const QPoint quarter[4] = {{16, 16}, {48, 16}, {16, 48}, {48, 48}};
        for (int q = 0; q < 4; ++q) {
            const QRgb pixel = image.pixel(quarter[q]);
            EXPECT_EQ(qRed(pixel), 40 * f + 20) << "view " << f << " quadrant " << q;
            // The four sides stand upright, not mirrored.
            if (f < 4) {
                EXPECT_EQ(qGreen(pixel), 60 * q + 30) << "view " << f << " quadrant " << q;
            }
        }
    }
    // Without a sky nothing is drawn.
    state.sky = nullptr;
    EXPECT_EQ(draw(kViews[2]).pixel(32, 32), qRgb(255, 255, 255));
}

TEST_F(SkyDrawTest, CloudStagesBlendOverTheBoxByTheirStateWord) {
    for (TextureImage*& face : sky->box)
        face = solid(qRgb(100, 50, 20));
    sky->category |= EFFECT_SKY;
    sky->cloudHeight = 512.0f;
    TextureImage* cloud = solid(qRgb(60, 60, 60));
    struct Case {
        int32_t stateBits;
        QRgb expected;
        const char* what;
    };
    const Case cases[] = {
        {0x22, qRgb(160, 110, 80), "added (ONE, ONE)"},
        {0x0, qRgb(100 * 60 / 255, 50 * 60 / 255, 20 * 60 / 255), "no blend: multiplied like the box"},
    };
    for (const Case& c : cases) {
        ++cloud->refCount; // one for the stage
        addStage(cloud, c.stateBits, STAGE_CLAMP);
        expectNear(draw(kViews[4]).pixel(32, 32), c.expected, 2, c.what);
        sky->stages->skip = 1; // a skipped stage leaves the box alone
        expectNear(draw(kViews[4]).pixel(32, 32), qRgb(100, 50, 20), 1, c.what);
        Tex_FreeShaderStage(GameData_Textures(), sky->stages);
        sky->stages = nullptr;
    }
    Tex_ReleaseImage(GameData_Textures(), cloud);

    // Height 0 brings the plain dome coordinates back.
    const EffectVertex* dome = Sky_Manager()->meshes->dome;
    EXPECT_NE(dome[0].baseST[0], 0.0f);
    sky->cloudHeight = 0.0f;
    draw(kViews[4]);
    auto plain = std::make_unique<SkyMeshes>();
    Sky_BuildMeshes(plain.get());
    for (int i = 0; i < kSkyDomeVertices; ++i) {
        EXPECT_EQ(dome[i].baseST[0], plain->dome[i].baseST[0]) << i;
        EXPECT_EQ(dome[i].baseST[1], plain->dome[i].baseST[1]) << i;
    }
}

TEST_F(SkyDrawTest, AnimatedCloudStagesTakeTheirFrameColoursAndCoordinates) {
    for (TextureImage*& face : sky->box)
        face = solid(qRgb(0, 0, 0));
    sky->category |= EFFECT_SKY;
    sky->cloudHeight = 256.0f;
    ShaderStage stage{};
    stage.frames[0] = solid(qRgb(255, 0, 0));
    stage.frames[1] = solid(qRgb(0, 0, 255));
    stage.frameRate = 1.0f;
    stage.stateBits = 0x22;
    stage.colorKind = ColorKind::Const;
    stage.alphaKind = AlphaKind::Const;
    std::memcpy(stage.color, "\xff\xff\x80\xff", 4);
    stage.texCoordKind = TexCoordKind::Base;
    stage.texCoordMods[0].kind = TexModKind::SkyProjection;
    stage.texCoordMods[0].values[0] = 0.25f;
    Tex_AddShaderStage(sky, &stage);

    struct Case {
        bool animate;
        float time;
        QRgb expected;
    };
    const Case cases[] = {
        {true, 0.5f, qRgb(255, 0, 0)},  // frame 0 in the constant colour
        {true, 1.5f, qRgb(0, 0, 128)},  // frame 1
        {false, 1.5f, qRgb(255, 0, 0)}, // frame 0 without animation
    };
    for (const Case& c : cases) {
        rc.renderFlags = c.animate ? RenderBit::AnimateShaders : 0;
        rc.time = c.time;
        expectNear(draw(kViews[4]).pixel(32, 32), c.expected, 1, c.animate ? "animated" : "still");
        for (const EffectVertex& v : Sky_Manager()->meshes->dome)
            ASSERT_TRUE(std::isfinite(v.st[0]) && std::isfinite(v.st[1]));
    }
}

TEST_F(SkyDrawTest, TheBoxTurnsWithTime) {
    for (int f = 0; f < 6; ++f)
        sky->box[f] = quadrants(f);
    state.axis[2] = 1.0f;
    state.speed = 90.0f;
    const int faceAt[3] = {2, 0, 3}; // along +x after 0, 1 and 2 seconds
    for (int seconds = 0; seconds < 3; ++seconds) {
        rc.time = float(seconds);
        EXPECT_EQ(qRed(draw(kViews[2]).pixel(32, 40)), 40 * faceAt[seconds] + 20) << seconds << " s";
    }
    // An axis of zero length has no turn (and no NaN matrix).
    state.axis[2] = 0.0f;
    rc.time = 1.0f;
    EXPECT_EQ(qRed(draw(kViews[2]).pixel(32, 40)), 40 * 2 + 20);
}

TEST_F(SkyDrawTest, WrapModesMatricesAndArraysAreRestored) {
    for (int f = 0; f < 6; ++f)
        sky->box[f] = quadrants(f);
    sky->category |= EFFECT_SKY;
    TextureImage* cloud = solid(qRgb(1, 2, 3));
    addStage(cloud, 0x22, STAGE_CLAMP); // the stage holds the upload's reference
    look(kViews[0]);
    GLfloat before[16], after[16], projection[16], projectionAfter[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    Sky_Draw(&state, &rc);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    glGetFloatv(GL_PROJECTION_MATRIX, projectionAfter);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], before[i]);
        EXPECT_EQ(projectionAfter[i], projection[i]);
    }
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    // The interleaved dome arrays replaced the pointers: the cache no longer trusts its own.
    EXPECT_EQ(cache.vertexPointer, nullptr);
    for (const TextureImage* image : {sky->box[0], sky->box[5], cloud}) {
        glBindTexture(GL_TEXTURE_2D, image->glName);
        GLint s = 0, t = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &s);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &t);
        EXPECT_EQ(s, GL_REPEAT);
        EXPECT_EQ(t, GL_REPEAT);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

} // namespace
