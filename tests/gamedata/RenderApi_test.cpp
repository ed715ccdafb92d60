// Plugin drawing through a copy of the engine table, as a plugin holds it, into an offscreen
// framebuffer under the suite's Xvfb; pixels and GL state read back.
#include <GL/gl.h>
#include <QOpenGLFramebufferObject>
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "ConsoleCapture.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginManager.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureUpload.h"
#include "mainwindow/MainWindow.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

using Rgba = std::array<int, 4>;
constexpr int kSize = 64;

class RenderApiTest : public ::testing::Test {
protected:
    cConsoleCapture console;
    std::unique_ptr<cSharedGLScope> scope;
    std::unique_ptr<QOpenGLFramebufferObject> fbo;
    GLStateCache cache;
    RenderContext context{};
    EngineFuncs table; // the plugin's private copy
    MainSettings saved;
    std::vector<GLuint> names;
    std::vector<std::unique_ptr<TextureImage>> images;

    void SetUp() override {
        saved = *Sys_MutableSettings();
        scope = std::make_unique<cSharedGLScope>();
        if (!scope->ok()) GTEST_SKIP() << "no OpenGL";
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        fbo = std::make_unique<QOpenGLFramebufferObject>(kSize, kSize, format);
        ASSERT_TRUE(fbo->bind());
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glColor4f(1, 1, 1, 1);
        glPointSize(3);
        glLineWidth(1);
        glFrontFace(GL_CCW);
        GL_InitStateCache(&cache);
        GL_ResyncStateCache(&cache);          // word 0x100: back faces culled
        glEnableClientState(GL_VERTEX_ARRAY); // as every view paint leaves it
        context.stateCache = &cache;
        const float frame[12] = {1, 2, 3, 0, 1, 0, 1, 0, 0, 0, 0, 1};
        std::memcpy(context.origin, frame, sizeof frame);
        std::memcpy(&table, Plugin_EngineFuncs(), sizeof table);
    }
    void TearDown() override {
        if (Render_BatchActive()) Render_EndBatch();
        if (scope && scope->ok()) {
            glDisableClientState(GL_VERTEX_ARRAY);
            glDisableClientState(GL_COLOR_ARRAY);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_CULL_FACE);
            glDisable(GL_BLEND);
            if (!names.empty()) glDeleteTextures(GLsizei(names.size()), names.data());
            if (fbo) fbo->release();
        }
        fbo.reset();
        scope.reset();
        *Sys_MutableSettings() = saved;
        *GameData_Host()->textureFilterWord() = -1;
    }

    static Rgba pixel(int x, int y) {
        uint8_t p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2], p[3]};
    }
    static GLint integer(GLenum what) {
        GLint v = 0;
        glGetIntegerv(what, &v);
        return v;
    }
    static float real(GLenum what) {
        GLfloat v = 0;
        glGetFloatv(what, &v);
        return v;
    }
    // An image without mipmaps holding rows of RGBA texels.
    TextureImage* image(int w, int h, std::vector<uint8_t> texels) {
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        names.push_back(name);
        auto record = std::make_unique<TextureImage>();
        record->width = w;
        record->height = h;
        record->bytesPerPixel = 4;
        record->flags = IMAGE_NO_MIPMAPS;
        record->glName = name;
        images.push_back(std::move(record));
        return images.back().get();
    }
    // A clockwise quad (front-facing while a batch is open).
    void quad(float x0, float y0, float x1, float y1) {
        const float corners[4][3] = {{x0, y0, 0}, {x0, y1, 0}, {x1, y1, 0}, {x1, y0, 0}};
        for (const auto& c : corners)
            table.Render_Vertex3fv(c);
    }
    bool begin() { return Render_BeginBatch(&context); }
};

bool near(const Rgba& a, const Rgba& b, int tolerance = 2) {
    for (int c = 0; c < 4; ++c)
        if (std::abs(a[c] - b[c]) > tolerance) return false;
    return true;
}

TEST_F(RenderApiTest, TableHoldsTheSlots) {
    EXPECT_EQ(table.Render_Vertex3fv, &Render_Vertex3fv);
    EXPECT_EQ(table.Render_BindShader, &Render_BindShader);
    EXPECT_EQ(table.Render_ShadeForNormal, &Render_ShadeForNormal);
}

TEST_F(RenderApiTest, ColouredFanAppearsWhereDrawn) {
    ASSERT_TRUE(begin());
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CW);
    table.Render_SetPrimitive(RenderPrimitive::TriangleFan);
    EXPECT_EQ(table.Render_Color4ub(255, 0, 0, 255), 0xff0000ffu);
    quad(-0.5f, -0.5f, 0.5f, 0.5f);
    table.Render_Flush();
    Render_EndBatch();
    EXPECT_EQ(pixel(32, 32), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(pixel(4, 4), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(pixel(60, 32), (Rgba{0, 0, 0, 255}));
}

TEST_F(RenderApiTest, PointsAreDropped) {
    ASSERT_TRUE(begin());
    table.Render_Color4ub(255, 255, 255, 255);
    quad(-1, -1, 1, 1); // the batch starts with points
    table.Render_Flush();
    EXPECT_EQ(Render_Batch()->count, 0);
    table.Render_SetPrimitive(99); // unknown kinds are points too
    quad(-1, -1, 1, 1);
    table.Render_Flush();
    Render_EndBatch();
    EXPECT_EQ(pixel(32, 32), (Rgba{0, 0, 0, 255}));
}

TEST_F(RenderApiTest, FullBatchDrawsAndStartsAnew) {
    ASSERT_TRUE(begin());
    table.Render_SetPrimitive(RenderPrimitive::Triangles);
    table.Render_Color4ub(255, 0, 0, 255);
    const float corner[3] = {-1, -1, 0};
    for (int i = 0; i < kRenderBatchSize - 3; ++i)
        table.Render_Vertex3fv(corner); // degenerate triangles
    const float left[3][3] = {{-1, -1, 0}, {-1, 1, 0}, {0, 1, 0}};
    for (const auto& p : left)
        table.Render_Vertex3fv(p);
    // The 12288th vertex drew the batch.
    EXPECT_EQ(Render_Batch()->count, 0);
    EXPECT_EQ(pixel(10, 40), (Rgba{255, 0, 0, 255}));
    // The 12289th starts anew with the same primitive and colour state.
    table.Render_Color4ub(0, 255, 0, 255);
    const float right[3][3] = {{0.2f, -1, 0}, {0.2f, 1, 0}, {1, 1, 0}};
    table.Render_Vertex3fv(right[0]);
    EXPECT_EQ(Render_Batch()->count, 1);
    table.Render_Vertex3fv(right[1]);
    table.Render_Vertex3fv(right[2]);
    table.Render_Flush();
    EXPECT_EQ(pixel(50, 60), (Rgba{0, 255, 0, 255}));
    // Vertices not flushed before the end are lost.
    table.Render_Color4ub(0, 0, 255, 255);
    quad(-1, -1, 1, 1);
    Render_EndBatch();
    EXPECT_EQ(pixel(60, 4), (Rgba{0, 0, 0, 255}));
}

TEST_F(RenderApiTest, BindShaderWithoutAnimationBindsTheEditorImage) {
    Sys_MutableSettings()->AnimateShaders = false;
    ShaderStage stage{};
    stage.frames[0] = image(1, 1, {255, 0, 0, 255});
    stage.colorKind = ColorKind::Identity;
    stage.texCoordKind = TexCoordKind::Base;
    ShaderRecord shader;
    shader.image = image(1, 1, {0, 0, 255, 255});
    shader.stages = &stage;
    ASSERT_TRUE(begin());
    table.Render_BindShader(&shader);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(shader.image->glName));
    table.Render_SetPrimitive(RenderPrimitive::TriangleFan);
    table.Render_TexCoord2f(0.5f, 0.5f);
    quad(-1, -1, 1, 1);
    table.Render_Flush();
    // A null shader turns texturing off.
    table.Render_BindShader(nullptr);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    Render_EndBatch();
    EXPECT_EQ(pixel(32, 32), (Rgba{0, 0, 255, 255}));
}

TEST_F(RenderApiTest, BindShaderWithAnimationDrawsItsStages) {
    Sys_MutableSettings()->AnimateShaders = true;
    ShaderStage stages[4] = {};
    // Opaque (200, 0, 0), then (0, 100, 50) at alpha 128 blended over it.
    stages[0].frames[0] = image(1, 1, {200, 0, 0, 255});
    stages[0].colorKind = ColorKind::Identity;
    stages[0].texCoordKind = TexCoordKind::Base;
    stages[0].stateBits = 0x100;
    stages[0].stageFlags = STAGE_CLAMP;
    stages[0].next = &stages[1];
    stages[1].frames[0] = image(1, 1, {0, 100, 50, 255});
    stages[1].colorKind = ColorKind::Identity;
    stages[1].alphaKind = AlphaKind::Const;
    stages[1].color[3] = 128;
    stages[1].texCoordKind = TexCoordKind::Base;
    stages[1].stateBits = 0x65; // SRC_ALPHA, ONE_MINUS_SRC_ALPHA
    stages[1].next = &stages[2];
    // Neither a skipped stage nor one without an image draws.
    stages[2].frames[0] = image(1, 1, {255, 255, 255, 255});
    stages[2].colorKind = ColorKind::Identity;
    stages[2].stateBits = 0x100;
    stages[2].skip = 1;
    stages[2].next = &stages[3];
    stages[3].colorKind = ColorKind::Identity;
    stages[3].stateBits = 0x100;
    ShaderRecord shader;
    shader.image = image(1, 1, {0, 0, 255, 255});
    shader.stages = stages;
    ASSERT_TRUE(begin());
    table.Render_BindShader(&shader);
    table.Render_SetPrimitive(RenderPrimitive::TriangleFan);
    table.Render_Color4ub(255, 255, 255, 255);
    table.Render_TexCoord2f(0.5f, 0.5f); // the texel's centre: clamping samples no border
    quad(-1, -1, 1, 1);
    table.Render_Flush();
    Render_EndBatch();
    const double a = 128 / 255.0;
    const Rgba expected = {int(200 * (1 - a) + 0.5), int(100 * a + 0.5), int(50 * a + 0.5),
                           int((a * a + (1 - a)) * 255 + 0.5)};
    EXPECT_TRUE(near(pixel(32, 32), expected))
        << pixel(32, 32)[0] << " " << pixel(32, 32)[1] << " " << pixel(32, 32)[2];
    EXPECT_EQ(cache.state, 0x100u) << "the saved word is back";
    // The clamped stage's image repeats again.
    glBindTexture(GL_TEXTURE_2D, stages[0].frames[0]->glName);
    GLint wrap[2] = {};
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap[1]);
    EXPECT_EQ(wrap[0], GL_REPEAT);
    EXPECT_EQ(wrap[1], GL_REPEAT);
}

// With animation on and an image bound directly, the supplied coordinates and colours are drawn.
TEST_F(RenderApiTest, ImageBoundWhileAnimating) {
    Sys_MutableSettings()->AnimateShaders = true;
    TextureImage* halves = image(2, 1, {255, 0, 0, 255, 0, 255, 0, 255});
    ASSERT_TRUE(begin());
    table.Render_BindImage(halves);
    table.Render_SetPrimitive(RenderPrimitive::TriangleFan);
    table.Render_Color4ub(255, 255, 255, 255);
    table.Render_TexCoord2f(0.75f, 0.5f); // the green half
    quad(-1, -1, 1, 1);
    table.Render_Flush();
    Render_EndBatch();
    EXPECT_EQ(pixel(32, 32), (Rgba{0, 255, 0, 255}));
}

TEST_F(RenderApiTest, EndRestoresWhatTheBatchChanged) {
    TextureImage* white = image(1, 1, {255, 255, 255, 255});
    const uint32_t word = cache.state;
    ASSERT_TRUE(begin());
    table.Render_PointSize(7);
    table.Render_LineWidth(4);
    table.Render_BindImage(white);
    table.Render_Color4ub(1, 2, 3, 4);
    table.Render_SetStateBits(0x65);
    EXPECT_EQ(table.Render_GetStateBits(), 0x65u);
    EXPECT_EQ(real(GL_POINT_SIZE), 7.0f);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    Render_EndBatch();
    EXPECT_FALSE(Render_BatchActive());
    EXPECT_EQ(real(GL_POINT_SIZE), 3.0f);
    EXPECT_EQ(real(GL_LINE_WIDTH), 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(cache.state, word);
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);
}

TEST_F(RenderApiTest, ColorPackedNullSwitchesTheArrayOff) {
    ASSERT_TRUE(begin());
    const uint32_t green = 0xff00ff00u; // byte 0 red
    table.Render_ColorPacked(&green);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_ARRAY));
    table.Render_ColorPacked(nullptr);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    // Without the array the current GL colour draws (white here).
    table.Render_SetPrimitive(RenderPrimitive::TriangleFan);
    quad(-1, -1, 1, 1);
    table.Render_Flush();
    Render_EndBatch();
    EXPECT_EQ(pixel(32, 32), (Rgba{255, 255, 255, 255}));
}

// Mended: outside a batch the GL-touching slots do nothing, and say so once per run.
TEST_F(RenderApiTest, SlotsOutsideABatchLeaveGLAlone) {
    TextureImage* white = image(1, 1, {255, 255, 255, 255});
    glPointSize(5);
    glLineWidth(2);
    const uint32_t word = cache.state;
    ShaderRecord shader;
    shader.image = white;
    console.clear();
    table.Render_PointSize(9);
    table.Render_LineWidth(9);
    table.Render_BindImage(white);
    table.Render_BindShader(&shader);
    table.Render_Color4ub(255, 0, 0, 255);
    const uint32_t red = 0xff0000ffu;
    table.Render_ColorPacked(&red);
    table.Render_SetStateBits(0x65);
    table.Render_SetPrimitive(RenderPrimitive::TriangleFan);
    quad(-1, -1, 1, 1);
    table.Render_Flush();
    EXPECT_EQ(real(GL_POINT_SIZE), 5.0f);
    EXPECT_EQ(real(GL_LINE_WIDTH), 2.0f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(cache.state, word);
    EXPECT_EQ(pixel(32, 32), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(console.lines.filter(QStringLiteral("outside a render batch")).size(), 1);
    // These two need no GL and answer any time.
    EXPECT_FLOAT_EQ(table.Render_ShadeForNormal(nullptr), 1.0f);
    Sys_MutableSettings()->MinAlphaValue = 0.5f;
    EXPECT_FLOAT_EQ(table.Render_GetMinAlpha(), 0.5f);
}

// Mended: batches cannot nest; the second Begin is refused and the first stays open.
TEST_F(RenderApiTest, NestedBeginIsRefused) {
    ASSERT_TRUE(begin());
    console.clear();
    EXPECT_FALSE(begin());
    EXPECT_TRUE(console.contains(QStringLiteral("Render_BeginBatch: a render batch is already open")));
    EXPECT_TRUE(Render_BatchActive());
    Render_EndBatch();
    EXPECT_FALSE(Render_BatchActive());
    Render_EndBatch(); // a second End does nothing
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_FALSE(Render_BeginBatch(nullptr));
}

TEST_F(RenderApiTest, ContextFrameAndShade) {
    ASSERT_TRUE(begin());
    float frame[12] = {};
    table.Render_GetContext(frame);
    EXPECT_EQ(0, std::memcmp(frame, context.origin, sizeof frame));
    table.Render_GetContext(nullptr);
    Render_EndBatch();
    struct Case {
        std::array<float, 3> n;
        float expected;
    };
    const Case cases[] = {
        {{0, 0, 1}, 1.0f}, {{0, 0, -1}, 0.39910816f}, {{1, 0, 0}, 0.93363062f}, {{0, 0, 0}, 0.8f}};
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(table.Render_ShadeForNormal(c.n.data()), c.expected);
}

TEST_F(RenderApiTest, FilterWordComesFromTheSettings) {
    *GameData_Host()->textureFilterWord() = -1;
    Sys_MutableSettings()->TextureFilter = 0;
    Sys_MutableSettings()->AnisotropicFilter = true;
    ASSERT_TRUE(begin());
    EXPECT_EQ(*GameData_Host()->textureFilterWord(), 6);
    TextureImage* white = image(1, 1, {255, 255, 255, 255});
    table.Render_BindImage(white);
    EXPECT_EQ(cache.boundFilter, 2) << "no mipmaps: bit 2 dropped";
    EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), GLint(white->glName));
    Render_EndBatch();
}

} // namespace
