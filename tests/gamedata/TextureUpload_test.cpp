// GL upload under the suite's Xvfb (Mesa): sizes, levels and texels read back from the texture,
// and the resamplers against hand-computed values.
#include <GL/gl.h>
#include <QIcon>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <gtest/gtest.h>
#include <vector>

#include "ConsoleCapture.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"
#include "mainwindow/MainWindow.h"

namespace {

struct Level {
    int32_t width;
    int32_t height;
};

class TextureUploadTest : public ::testing::Test {
protected:
    cConsoleCapture console;
    TextureManager& m = *GameData_Textures();
    MainSettings saved;

    void SetUp() override {
        saved = *Sys_MutableSettings();
        cSharedGLScope scope;
        if (!scope.ok()) GTEST_SKIP() << "no OpenGL";
    }
    void TearDown() override {
        *Sys_MutableSettings() = saved;
        EXPECT_EQ(Tex_ReportLeaks(&m), 0);
    }
    TextureImage* upload(int32_t w, int32_t h, int32_t format, int32_t bpp,
                         const std::vector<uint8_t>& pixels, bool mipmaps = true) {
        return Plugin_UploadImage(nullptr, "test", format, format, bpp, w, h, mipmaps, pixels.data());
    }
    // The sizes of every defined level of the image's texture.
    static std::vector<Level> levels(const TextureImage* image) {
        cSharedGLScope scope;
        std::vector<Level> out;
        glBindTexture(GL_TEXTURE_2D, image->glName);
        for (int level = 0; level < 16; ++level) {
            GLint w = 0, h = 0;
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
            if (w == 0) break;
            out.push_back({w, h});
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        return out;
    }
    static std::vector<uint8_t> texels(const TextureImage* image, int level, GLenum format, int bpp) {
        cSharedGLScope scope;
        glBindTexture(GL_TEXTURE_2D, image->glName);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &h);
        std::vector<uint8_t> out(size_t(w) * h * bpp);
        glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return out;
    }
};

bool operator==(const Level& a, const Level& b) {
    return a.width == b.width && a.height == b.height;
}
void PrintTo(const Level& l, std::ostream* os) {
    *os << l.width << "x" << l.height;
}

TEST_F(TextureUploadTest, SizesAndLevels) {
    struct Case {
        int32_t w, h;
        bool npot, half, autoMipmaps, mipmaps;
        std::vector<Level> levels;
    };
    const Case cases[] = {
        {100, 60, false, false, false, false, {{128, 64}}},
        {100, 60, true, false, false, false, {{100, 60}}},
        {1024, 1024, true, false, false, false, {{512, 512}}},
        {512, 128, true, true, false, false, {{256, 128}}},
        {4, 1, true, false, false, true, {{4, 1}, {2, 1}, {1, 1}}},
        {1, 1, true, false, false, true, {{1, 1}}},
        {2, 8, true, false, false, true, {{2, 8}, {1, 4}, {1, 2}, {1, 1}}},
        {100,
         2,
         false,
         false,
         false,
         true,
         {{128, 2}, {64, 1}, {32, 1}, {16, 1}, {8, 1}, {4, 1}, {2, 1}, {1, 1}}},
        {1, 300, true, false, false, false, {{1, 300}}},
        {300, 1, false, false, false, false, {{512, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " npot " << c.npot << " half " << c.half);
        Sys_MutableSettings()->TextureNPOT = c.npot;
        Sys_MutableSettings()->HalfSizeTextures = c.half;
        Sys_MutableSettings()->MinHalfSizeTextureDims = 256;
        Sys_MutableSettings()->AutoMipmaps = c.autoMipmaps;
        TextureImage* image =
            upload(c.w, c.h, GL_RGBA, 4, std::vector<uint8_t>(size_t(c.w) * c.h * 4, 77), c.mipmaps);
        ASSERT_NE(image->glName, 0u);
        EXPECT_EQ(image->width, c.w); // the record keeps the picture's size
        EXPECT_EQ(levels(image), c.levels);
        Plugin_FreeImage(image);
    }
}

TEST_F(TextureUploadTest, MipmapLevelsAverageTheirPixels) {
    Sys_MutableSettings()->AutoMipmaps = false;
    // 2x2 luminance: 10 20 / 30 41 -> level 1 is (10 + 20 + 30 + 41) >> 2 = 25.
    TextureImage* image = upload(2, 2, GL_LUMINANCE, 1, {10, 20, 30, 41});
    EXPECT_EQ(texels(image, 0, GL_LUMINANCE, 1), (std::vector<uint8_t>{10, 20, 30, 41}));
    EXPECT_EQ(texels(image, 1, GL_LUMINANCE, 1), std::vector<uint8_t>{25});
    Plugin_FreeImage(image);
}

TEST_F(TextureUploadTest, ResamplersMatchHandValues) {
    // 3 -> 4 pixels: step = int(3 * 65536 / 4) = 49152; positions 0, 0.75, 1.5, 2.25 (clamped to the last).
    const uint8_t row[] = {0, 100, 200};
    uint8_t out[4];
    Tex_ResampleRow(row, out, 1, 3, 4);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 4), (std::vector<uint8_t>{0, 75, 150, 200}));

    Sys_MutableSettings()->TextureNPOT = false;
    TextureImage* image = upload(3, 1, GL_LUMINANCE, 1, {0, 100, 200}, false);
    EXPECT_EQ(texels(image, 0, GL_LUMINANCE, 1), (std::vector<uint8_t>{0, 75, 150, 200}));
    Plugin_FreeImage(image);

    // 2x2 -> 4x4 bilinear, vertical like horizontal; last rows and columns copy.
    const uint8_t square[] = {0, 100, 200, 40};
    std::vector<uint8_t> big(16), rows(8);
    Tex_ResampleBilinear(square, 1, 2, 2, big.data(), 4, 4, rows.data());
    EXPECT_EQ(big,
              (std::vector<uint8_t>{0, 50, 100, 100, 100, 85, 70, 70, 200, 120, 40, 40, 200, 120, 40, 40}));

    // Halving: both sides, width only, height only.
    const uint8_t four[] = {1, 2, 3, 6};
    uint8_t half[2];
    Tex_HalveImage(four, 1, 2, 2, half, 1, 1);
    EXPECT_EQ(half[0], 3);
    Tex_HalveImage(four, 1, 4, 1, half, 2, 1);
    EXPECT_EQ(std::vector<uint8_t>(half, half + 2), (std::vector<uint8_t>{1, 4}));
    Tex_HalveImage(four, 1, 1, 4, half, 1, 2);
    EXPECT_EQ(std::vector<uint8_t>(half, half + 2), (std::vector<uint8_t>{1, 4}));
}

TEST_F(TextureUploadTest, BadSizesAreRefusedAndSharedImagesSurvive) {
    const uint8_t pixel[4] = {};
    TextureImage* bad = Plugin_UploadImage(nullptr, "bad", GL_RGBA, GL_RGBA, 4, -3, 2, true, pixel);
    EXPECT_EQ(bad->glName, 0u);
    EXPECT_TRUE(console.contains("texture of -3 x 2 pixels refused"));
    Plugin_FreeImage(bad);

    TextureImage* white = Plugin_WhiteImage();
    TextureImage* black = Plugin_BlackImage();
    for (int i = 0; i < 3; ++i) {
        Plugin_FreeImage(white);
        Plugin_FreeImage(black);
    }
    ASSERT_NE(white->glName, 0u);
    EXPECT_EQ(texels(white, 0, GL_RGBA, 4), std::vector<uint8_t>(256, 255));
    const std::vector<uint8_t> dark = texels(black, 0, GL_RGBA, 4);
    EXPECT_EQ(dark[0], 0);
    EXPECT_EQ(dark[3], 255);
}

TEST_F(TextureUploadTest, IconCentresSmallImages) {
    std::vector<uint8_t> red(16 * 8 * 3);
    for (size_t i = 0; i < red.size(); i += 3)
        red[i] = 255;
    TextureImage* image = upload(16, 8, GL_RGB, 3, red);
    ASSERT_NE(image->icon, nullptr);
    const QImage icon =
        static_cast<QIcon*>(image->icon)->pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(24, 24));
    int opaque = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const bool inside = x >= 4 && x < 20 && y >= 8 && y < 16;
            EXPECT_EQ(qAlpha(icon.pixel(x, y)), inside ? 255 : 0) << x << "," << y;
            opaque += inside;
        }
    }
    EXPECT_EQ(opaque, 128);
    EXPECT_EQ(icon.pixel(10, 10), qRgba(255, 0, 0, 255));
    Plugin_FreeImage(image);
}

TEST_F(TextureUploadTest, UploadInsideAnotherContextLeavesItCurrent) {
    QOpenGLContext other;
    ASSERT_TRUE(other.create());
    QOffscreenSurface surface;
    surface.create();
    ASSERT_TRUE(other.makeCurrent(&surface));
    TextureImage* image = upload(2, 2, GL_RGBA, 4, std::vector<uint8_t>(16, 9));
    EXPECT_NE(image->glName, 0u);
    EXPECT_EQ(QOpenGLContext::currentContext(), &other);
    Plugin_FreeImage(image);
    EXPECT_EQ(QOpenGLContext::currentContext(), &other);
    other.doneCurrent();
}

} // namespace
