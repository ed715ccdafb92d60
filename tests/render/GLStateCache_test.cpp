// The state cache's GL calls, counted through its function table (no context needed).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "render/GLStateCache.h"

namespace {

std::vector<std::string> g_calls;

std::string hex(unsigned v) {
    char b[16];
    std::snprintf(b, sizeof b, "%x", v);
    return b;
}

const GLStateFuncs kCounting = {
    [](GLenum c) { g_calls.push_back("enable " + hex(c)); },
    [](GLenum c) { g_calls.push_back("disable " + hex(c)); },
    [](GLenum s, GLenum d) { g_calls.push_back("blend " + hex(s) + " " + hex(d)); },
    [](GLenum f, GLclampf r) { g_calls.push_back("alpha " + hex(f) + " " + std::to_string(r)); },
    [](GLenum m) { g_calls.push_back("cull " + hex(m)); },
    [](GLboolean b) { g_calls.push_back(b ? "depthmask 1" : "depthmask 0"); },
    [](GLenum f) { g_calls.push_back("depthfunc " + hex(f)); },
    [](GLenum, GLuint n) { g_calls.push_back("bind " + std::to_string(n)); },
    [](GLenum, GLenum p, GLint v) { g_calls.push_back("texi " + hex(p) + " " + hex(unsigned(v))); },
    [](GLenum, GLenum p, GLfloat v) { g_calls.push_back("texf " + hex(p) + " " + std::to_string(v)); },
    [](GLint, GLenum, GLsizei s, const void*) { g_calls.push_back("color " + std::to_string(s)); },
    [](GLint, GLenum, GLsizei s, const void*) { g_calls.push_back("texcoord " + std::to_string(s)); },
    [](GLint, GLenum, GLsizei s, const void*) { g_calls.push_back("vertex " + std::to_string(s)); },
};

class GLStateCacheTest : public ::testing::Test {
protected:
    void SetUp() override {
        GL_StateFuncs() = kCounting;
        GL_InitStateCache(&cache);
        g_calls.clear();
        savedAniso = Render_MaxAnisotropy();
    }
    void TearDown() override {
        GL_StateFuncs() = GL_RealStateFuncs();
        Render_MaxAnisotropy() = savedAniso;
    }
    GLStateCache cache;
    float savedAniso = 1.0f;
};

using Calls = std::vector<std::string>;

TEST_F(GLStateCacheTest, StateWordTransitions) {
    GL_State(&cache, 0x100);
    EXPECT_TRUE(g_calls.empty()); // the start word
    GL_State(&cache, 0x65);
    EXPECT_EQ(g_calls,
              (Calls{"enable be2", "depthmask 0"})); // the cached pair is already SRC_ALPHA/1-SRC_ALPHA
    g_calls.clear();
    GL_State(&cache, 0x165);
    EXPECT_EQ(g_calls, (Calls{"depthmask 1"}));
    g_calls.clear();
    GL_State(&cache, 0x165);
    EXPECT_TRUE(g_calls.empty());
    GL_State(&cache, 0x1100 | 0x40000 | 0x200000);
    // GEQUAL with MinAlphaValue 0.2 is the cached start pair: no glAlphaFunc.
    EXPECT_EQ(g_calls, (Calls{"disable be2", "enable bc0", "enable b44", "cull 404", "depthfunc 202"}));
    g_calls.clear();
    GL_State(&cache, 0x1100 | 0x10000 | 0x200000);
    EXPECT_EQ(g_calls, (Calls{"alpha 204 0.000000"}));
    g_calls.clear();
    GL_State(&cache, 0x100 | 0x100000);
    EXPECT_EQ(g_calls, (Calls{"disable bc0", "disable b44", "depthfunc 203"}));
}

TEST_F(GLStateCacheTest, InvalidBlendBitsReportAndUseOne) {
    cConsoleCapture console;
    GL_State(&cache, 0x50);
    EXPECT_EQ(g_calls, (Calls{"enable be2", "blend 1 302", "depthmask 0"}));
    EXPECT_TRUE(console.contains(QStringLiteral("GL_State: invalid src blend state bits")));
    g_calls.clear();
    GL_State(&cache, 0x9f);
    EXPECT_TRUE(console.contains(QStringLiteral("GL_State: invalid dst blend state bits")));
    // Field value 1 is GL_ZERO (whose enum is 0), a valid factor on either side: the sky's
    // (DST_COLOR, ZERO) multiplies without a warning.
    console.clear();
    g_calls.clear();
    GL_State(&cache, 0x13);
    EXPECT_EQ(g_calls, (Calls{"blend 306 0"}));
    GL_State(&cache, 0x21);
    EXPECT_EQ(g_calls.back(), "blend 0 1");
    EXPECT_TRUE(console.lines.isEmpty());
}

TEST_F(GLStateCacheTest, KeepCullingFlagLeavesCullingAlone) {
    cache.flags = GLCacheFlag::KeepCulling;
    GL_State(&cache, 0x100 | 0x100000);
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(GLStateCacheTest, TextureBindingAndFilters) {
    Render_MaxAnisotropy() = 1.0f; // the extension absent: bit 1 changes nothing
    Render_BindTexture(&cache, 0, 5);
    EXPECT_TRUE(g_calls.empty());
    Render_BindTexture(&cache, 7, 5);
    EXPECT_EQ(g_calls, (Calls{"bind 7", "texi 2800 2601", "texi 2801 2703"}));
    g_calls.clear();
    Render_BindTexture(&cache, 7, 5);
    EXPECT_TRUE(g_calls.empty());
    Render_BindTexture(&cache, 7, 7);
    EXPECT_EQ(g_calls, (Calls{"texi 2800 2601", "texi 2801 2703"}));
    g_calls.clear();
    // Without mipmaps bit 2 is dropped.
    Render_BindTexture(&cache, 8, 4, false);
    EXPECT_EQ(g_calls, (Calls{"bind 8", "texi 2800 2600", "texi 2801 2600"}));
    g_calls.clear();
    Render_MaxAnisotropy() = 4.0f;
    Render_BindTexture(&cache, 9, 7);
    EXPECT_EQ(g_calls.back(), "texf 84fe 4.000000");
}

TEST_F(GLStateCacheTest, PointersCompareAddressAndStride) {
    const float a[12] = {};
    Render_VertexPointer(&cache, 0, a);
    Render_VertexPointer(&cache, 0, a);
    Render_VertexPointer(&cache, 12, a);
    Render_ColorPointer(&cache, 0, a);
    Render_TexCoordPointer(&cache, 8, a);
    EXPECT_EQ(g_calls, (Calls{"vertex 0", "vertex 12", "color 0", "texcoord 8"}));
}

TEST_F(GLStateCacheTest, ResyncForgetsAndReappliesEverything) {
    const float a[3] = {};
    Render_VertexPointer(&cache, 0, a);
    Render_BindTexture(&cache, 3, 0);
    GL_State(&cache, 0x65);
    g_calls.clear();
    GL_ResyncStateCache(&cache);
    EXPECT_EQ(g_calls, (Calls{"enable be2", "blend 302 303", "disable bc0", "enable b44", "cull 405",
                              "depthmask 0", "depthfunc 203", "bind 0"}));
    g_calls.clear();
    Render_VertexPointer(&cache, 0, a);
    Render_BindTexture(&cache, 3, 0);
    EXPECT_EQ(g_calls.front(), "vertex 0");
    EXPECT_EQ(g_calls[1], "bind 3");
}

} // namespace
