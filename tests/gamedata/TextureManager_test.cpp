// Reference counting of effects, stages and images as plugins drive it through the engine table.
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {

class TextureManagerTest : public ::testing::Test {
protected:
    cConsoleCapture console;
    TextureManager& m = *GameData_Textures();
    void TearDown() override {
        EXPECT_EQ(Tex_ReportLeaks(&m), 0);
        m.unnamedCount = 0;
    }
    static ShaderStage stage(TextureImage* image, int32_t stateBits = 0) {
        ShaderStage s{};
        s.frames[0] = image;
        s.stateBits = stateBits;
        return s;
    }
};

TEST_F(TextureManagerTest, EffectsAreSharedByKeyAndUnnamedOnesNumbered) {
    ShaderRecord* a = Tex_FindOrCreateShader("/q3/textures/a.tga", "a", 0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->refCount, 1);
    EXPECT_EQ(a->flags & SHADER_NEW, SHADER_NEW);
    EXPECT_FLOAT_EQ(a->opacity, 1.0f);
    EXPECT_EQ(Tex_FindOrCreateShader("/q3/textures/a.tga", "other", 0), a);
    EXPECT_EQ(a->refCount, 2);
    ShaderRecord* unnamed[3];
    for (int i = 0; i < 3; ++i) {
        unnamed[i] = Tex_FindOrCreateShader(nullptr, nullptr, 0);
        EXPECT_STREQ(unnamed[i]->name, QString("*internal%1").arg(i + 1).toUtf8().constData());
    }
    for (ShaderRecord* s : unnamed)
        Plugin_ReleaseShader(s);
    Plugin_ReleaseShader(a);
    EXPECT_EQ(m.effects.size(), 1);
    Plugin_ReleaseShader(a);
    Plugin_ReleaseShader(nullptr);
}

TEST_F(TextureManagerTest, UploadsKeepTheirPixelsAndShareByName) {
    ShaderRecord* effect = Tex_FindOrCreateShader("k", "k", 0);
    const uint8_t pixels[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    TextureImage* image = Plugin_UploadImage(effect, "img", 0x1907, 0x84ED, 3, 2, 2, false, pixels);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(effect->width, 2);
    EXPECT_EQ(image->flags & IMAGE_NO_MIPMAPS, IMAGE_NO_MIPMAPS);
    EXPECT_EQ(m.pixels.value(image), QByteArray(reinterpret_cast<const char*>(pixels), 12));
    EXPECT_EQ(Plugin_FindImage("img"), image);
    EXPECT_EQ(Plugin_UploadImage(nullptr, "img", 0x1907, 0x84ED, 3, 2, 2, true, pixels), image);
    EXPECT_EQ(image->refCount, 2);

    // The stage takes the upload's first reference, finishing takes the editor image's.
    const ShaderStage s = stage(image);
    Plugin_AddShaderStage(effect, &s);
    Plugin_FinishShader(effect);
    EXPECT_EQ(effect->image, image);
    EXPECT_EQ(image->refCount, 3);
    EXPECT_EQ(effect->stages->frameCount, 1);
    Plugin_FreeImage(image);
    Plugin_ReleaseShader(effect);
    EXPECT_EQ(Plugin_FindImage("img"), nullptr);

    TextureImage* white = Plugin_WhiteImage();
    Plugin_FreeImage(white);
    EXPECT_EQ(Plugin_WhiteImage(), white) << "shared images are never released";
}

TEST_F(TextureManagerTest, FinishingWarnsOnlyWhenNoStageCanBeVertexColoured) {
    struct Case {
        const char* what;
        QList<int32_t> stateBits; // one stage each
        bool warns;
        int32_t category = 0;
    };
    const QList<Case> cases = {
        {"no stages", {}, false},
        {"opaque stage", {0}, false},
        {"blended after an additive stage", {0x11, 0x2}, false},
        {"additive stages only", {0x11, 0x13}, true},
        // Skies and fog are never vertex coloured.
        {"a sky's additive stages", {0x11, 0x13}, false, EFFECT_SKY},
        {"a fog volume's additive stage", {0x11}, false, EFFECT_FOG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.clear();
        ShaderRecord* effect = Tex_FindOrCreateShader("effect", "effect", 0);
        effect->category = c.category;
        TextureImage* image = Plugin_UploadImage(effect, "frame", 0x1908, 0x84EE, 4, 1, 1, true, "\1\2\3\4");
        for (int32_t bits : c.stateBits) {
            ++image->refCount;
            const ShaderStage s = stage(image, bits);
            Plugin_AddShaderStage(effect, &s);
        }
        Plugin_FinishShader(effect);
        EXPECT_EQ(console.contains("shader `effect' has no appropriate stages for vertex coloring mode"),
                  c.warns);
        if (c.stateBits.isEmpty()) EXPECT_TRUE(effect->flags & SHADER_PLACEHOLDER);
        Plugin_FreeImage(image);
        Plugin_ReleaseShader(effect);
    }
}

} // namespace
