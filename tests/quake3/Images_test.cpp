// Image decoding and texture creation over TGAs and JPEGs written here.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "ImageFiles.h"
#include "core/System.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"
#include "quake3/Images.h"

extern "C" uint8_t* kpDecodeTexture(int32_t fmt, const char* path, const uint8_t* data, uint32_t size,
                                    int32_t* width, int32_t* height, int32_t* components);
extern "C" void kpDeferTextureDecoding(int32_t on);
extern "C" void kpSetFileHeadReader(kpReadFileHeadFn reader);

namespace {

struct Decoded {
    QByteArray pixels; // null when refused
    int32_t width = 0, height = 0, components = 0;
};

Decoded decode(ImageLoader& loader, const QByteArray& file) {
    Decoded d;
    uint8_t loaded = 0;
    const uint8_t* p = loader.load(reinterpret_cast<const uint8_t*>(file.constData()), uint32_t(file.size()),
                                   &d.width, &d.height, &d.components, &loaded);
    if (p) {
        EXPECT_EQ(loaded, 1);
        d.pixels = QByteArray(reinterpret_cast<const char*>(p), qsizetype(d.width) * d.height * d.components);
    }
    return d;
}

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

// The bytes as the plugin's gamma table (built once, from the first configuration) maps them.
QByteArray gamma(QByteArray b) {
    const uint8_t* table = Image_GammaTable();
    for (char& c : b)
        c = char(table[uint8_t(c)]);
    return b;
}

class Images : public ::testing::Test {
protected:
    cConsoleCapture console;
    TGAImageLoader tga;
    JPGImageLoader jpg;
    TextureManager& textures = g_mainWindow->textures;

    void TearDown() override {
        // Every test gives back what it took.
        EXPECT_EQ(textures.effects.size(), 0);
        EXPECT_EQ(textures.images.size(), 0);
    }
    QString warnings() const { return console.lines.join('\n'); }
};

TEST_F(Images, TgaFormsDecodeTopRowFirstInRgbOrder) {
    // Two rows: top red, green; bottom blue, white (grey: 10, 20 / 30, 40).
    const QByteArray top24 = bytes({0, 0, 255, 0, 255, 0}), bottom24 = bytes({255, 0, 0, 255, 255, 255});
    const QByteArray rgb = bytes({255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255});
    const QByteArray top32 = bytes({0, 0, 255, 1, 0, 255, 0, 2}),
                     bottom32 = bytes({255, 0, 0, 3, 255, 255, 255, 4});
    const QByteArray rgba = bytes({255, 0, 0, 1, 0, 255, 0, 2, 0, 0, 255, 3, 255, 255, 255, 4});
    struct Case {
        const char* what;
        QByteArray file;
        int components;
        QByteArray expected;
    };
    const QList<Case> cases = {
        {"24-bit bottom-up", TgaFile(2, 2, 2, 24, 0, bottom24 + top24), 3, rgb},
        {"24-bit top-down", TgaFile(2, 2, 2, 24, 0x20, top24 + bottom24), 3, rgb},
        {"32-bit bottom-up with id field", TgaFile(2, 2, 2, 32, 8, bottom32 + top32, 5), 4, rgba},
        {"grey", TgaFile(3, 2, 2, 8, 0, bytes({30, 40, 10, 20})), 1, bytes({10, 20, 30, 40})},
        // 0x81: the next pixel twice; 0x01: two literal pixels.
        {"run-length 24-bit", TgaFile(10, 2, 2, 24, 0x20, bytes({0x01, 0, 0, 255, 0, 255, 0, 0x81, 9, 8, 7})),
         3, bytes({255, 0, 0, 0, 255, 0, 7, 8, 9, 7, 8, 9})},
        {"run of four, four literals",
         TgaFile(10, 4, 2, 32, 0x20,
                 bytes({0x83, 1, 2, 3, 4, 0x03, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3})),
         4, bytes({3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4,
                   0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3})},
        // A run reaching past the last pixel is cut at the image's end.
        {"run past the end", TgaFile(10, 2, 1, 24, 0x20, bytes({0xFF, 1, 2, 3})), 3,
         bytes({3, 2, 1, 3, 2, 1})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded d = decode(tga, c.file);
        EXPECT_EQ(d.components, c.components);
        EXPECT_EQ(d.pixels.toHex(' '), c.expected.toHex(' '));
    }
}

TEST_F(Images, DamagedTgasAreRefusedWithTheirMessage) {
    const QByteArray pixel = bytes({1, 2, 3});
    struct Case {
        const char* what;
        QByteArray file;
        const char* message;
    };
    const QList<Case> cases = {
        {"colour-mapped type", TgaFile(1, 1, 1, 8, 0, "x"),
         "TGAImageLoader: Only type 2 (RGB), 3 (gray), and 10 (RGB) TGA images supported"},
        {"colour map present", TgaFile(2, 1, 1, 24, 0, pixel, 0, 1),
         "TGAImageLoader: colormaps not supported"},
        {"16-bit", TgaFile(2, 1, 1, 16, 0, "xx"),
         "TGAImageLoader: Only 32 or 24 bit images supported (no colormaps)"},
        {"16-bit grey", TgaFile(3, 1, 1, 16, 0, "xx"), "TGAImageLoader: Only 8 bit gray images supported"},
        {"zero width", TgaFile(2, 0, 4, 24, 0, pixel), "TGAImageLoader: image size 0x4"},
        {"side over 16384", TgaFile(3, 16385, 1, 8, 0, QByteArray(16385, 'g')),
         "TGAImageLoader: image of 16385x1 too large"},
        {"short header", QByteArray(17, 0), "TGAImageLoader: file truncated (17 bytes)"},
        {"id field past the end", TgaFile(2, 1, 1, 24, 0, {}).left(18),
         "TGAImageLoader: file truncated (18 bytes)"},
        {"pixels cut short", TgaFile(2, 2, 2, 24, 0, pixel + pixel + pixel),
         "TGAImageLoader: file truncated (27 bytes)"},
        {"run-length packets cut short", TgaFile(10, 4, 1, 24, 0, bytes({0x83, 1, 2})),
         "TGAImageLoader: file truncated (21 bytes)"},
        {"run-length data missing", TgaFile(10, 4, 1, 24, 0, bytes({0x80, 1, 2, 3})),
         "TGAImageLoader: file truncated (22 bytes)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.clear();
        EXPECT_TRUE(decode(tga, c.file).pixels.isNull());
        EXPECT_TRUE(console.contains(c.message)) << warnings().toStdString();
    }
    QByteArray idTooLong = TgaFile(2, 1, 1, 24, 0, {});
    idTooLong[0] = char(200);
    console.clear();
    EXPECT_TRUE(decode(tga, idTooLong).pixels.isNull());
    EXPECT_TRUE(console.contains("TGAImageLoader: file truncated (18 bytes)"));
}

TEST_F(Images, JpegsDecodeInTheirComponentCount) {
    const int w = 16, h = 8;
    QByteArray rgb, grey;
    for (int i = 0; i < w * h; ++i) {
        rgb.append(char(200)).append(char(100)).append(char(50));
        grey.append(char(120));
    }
    struct Case {
        const char* what;
        QByteArray file;
        int components;
        int first;
    };
    const QList<Case> cases = {
        {"baseline", JpegFile(w, h, 3, rgb, false), 3, 200},
        {"progressive", JpegFile(w, h, 3, rgb, true), 3, 200},
        {"grey", JpegFile(w, h, 1, grey, false), 1, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Decoded d = decode(jpg, c.file);
        ASSERT_FALSE(d.pixels.isNull());
        EXPECT_EQ(d.width, w);
        EXPECT_EQ(d.height, h);
        EXPECT_EQ(d.components, c.components);
        EXPECT_NEAR(uint8_t(d.pixels[0]), c.first, 3);
        EXPECT_NEAR(uint8_t(d.pixels[d.pixels.size() - 1]), c.components == 3 ? 50 : 120, 3);
    }
    // A file cut in its scan data still decodes: the source ends it with an end-of-image marker.
    QByteArray noise;
    for (int i = 0; i < 64 * 64 * 3; ++i)
        noise.append(char(i * 7919 % 251));
    const QByteArray whole = JpegFile(64, 64, 3, noise, false);
    const Decoded cut = decode(jpg, whole.left(whole.size() * 2 / 3));
    EXPECT_EQ(cut.width, 64);
    EXPECT_EQ(cut.components, 3);
}

// The size in a JPEG's frame header set to width x height.
QByteArray claiming(QByteArray file, int width, int height) {
    qsizetype frame = file.indexOf("\xff\xc0");
    if (frame < 0) frame = file.indexOf("\xff\xc2");
    EXPECT_GE(frame, 0);
    return file.replace(frame + 5, 4, bytes({height >> 8, height & 0xff, width >> 8, width & 0xff}));
}

// A picture's claimed size is checked against the bytes there are before anything the size of the
// picture is allocated: every block costs at least two bits in a sequential file, one in a
// progressive one. Honest files, even flat ones that compress best, pass.
TEST_F(Images, JpegSizeClaimsAreCheckedAgainstTheFile) {
    const QByteArray flat = JpegFile(512, 512, 1, QByteArray(512 * 512, char(77)), false);
    const QByteArray flatProgressive = JpegFile(512, 512, 1, QByteArray(512 * 512, char(77)), true);
    const QByteArray small = JpegFile(8, 8, 3, QByteArray(8 * 8 * 3, 'x'), false);
    const QByteArray scan = small.left(small.indexOf("\xff\xda") + 14); // the scan header and a few bytes
    struct Case {
        const char* what;
        QByteArray file;
        int width; // 0: refused
    };
    const QList<Case> cases = {
        {"flat 512x512", flat, 512},
        {"flat 512x512 progressive", flatProgressive, 512},
        {"16384x16384 in a few bytes", claiming(scan, 16384, 16384), 0},
        {"16384x16384 in a whole small file", claiming(small, 16384, 16384), 0},
        {"progressive 4096x4096", claiming(JpegFile(8, 8, 3, QByteArray(8 * 8 * 3, 'x'), true), 4096, 4096),
         0},
        {"2048x2048 from a 512x512 file", claiming(flat, 2048, 2048), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.clear();
        const Decoded d = decode(jpg, c.file);
        EXPECT_EQ(d.width, c.width);
        EXPECT_EQ(d.pixels.isNull(), c.width == 0);
        if (c.width == 0)
            EXPECT_TRUE(
                console.contains(QStringLiteral("cannot be in a file of %1 bytes").arg(c.file.size())))
                << warnings().toStdString();
    }
}

// A sequential file cut in its scan keeps the rows before the cut; the rest is black, not decoded
// from nothing.
TEST_F(Images, ACutJpegStopsDecodingWhereItsDataEnds) {
    QByteArray noise;
    for (int i = 0; i < 64 * 64 * 3; ++i)
        noise.append(char(i * 7919 % 251));
    const QByteArray whole = JpegFile(64, 64, 3, noise, false);
    const Decoded full = decode(jpg, whole);
    const Decoded cut = decode(jpg, whole.left(whole.size() / 2));
    ASSERT_EQ(cut.height, 64);
    const qsizetype row = 64 * 3;
    EXPECT_EQ(cut.pixels.left(row), full.pixels.left(row));
    EXPECT_EQ(cut.pixels.right(row * 16), QByteArray(row * 16, '\0'));
}

TEST_F(Images, DamagedJpegsAreRefusedWithLibjpegsText) {
    const QByteArray file = JpegFile(8, 8, 1, QByteArray(64, 'x'), false);
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* message;
    };
    const QList<Case> cases = {
        {"not a JPEG", "GIF89a and more", "JPGImageLoader: Not a JPEG file: starts with 0x47 0x49"},
        {"cut in its header", file.left(30), "JPGImageLoader:"},
        {"empty", QByteArray(), "JPGImageLoader: empty file"},
        // Height 0x4000 + 1 in the frame header of an 8x8 file.
        {"side over 16384", QByteArray(file).replace(file.indexOf("\xff\xc0") + 5, 2, "\x40\x01"),
         "JPGImageLoader: image of 8x16385 too large"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console.clear();
        EXPECT_TRUE(decode(jpg, c.bytes).pixels.isNull());
        EXPECT_TRUE(console.contains(c.message)) << warnings().toStdString();
    }
}

TEST_F(Images, GammaTable) {
    uint8_t table[256], clamped[256];
    Image_BuildGammaTable(1.0f, table);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(table[i], i);
    Image_BuildGammaTable(2.0f, table);
    EXPECT_EQ(table[0], 11); // int(0.5 + 255 * sqrt(0.5 / 255.5))
    EXPECT_EQ(table[64], 128);
    EXPECT_EQ(table[255], 255);
    Image_BuildGammaTable(3.0f, table);
    Image_BuildGammaTable(7.5f, clamped);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(table), 256),
              QByteArray(reinterpret_cast<char*>(clamped), 256));
    Image_BuildGammaTable(0.5f, table);
    Image_BuildGammaTable(0.1f, clamped);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(table), 256),
              QByteArray(reinterpret_cast<char*>(clamped), 256));
    EXPECT_EQ(table[128], 65);
}

TEST_F(Images, AlphaFixOnlyWhenEveryAlphaIsBelowEight) {
    QByteArray clear = bytes({1, 2, 3, 0, 4, 5, 6, 7});
    Image_FixAlpha(reinterpret_cast<uint8_t*>(clear.data()), 2, 1, 4);
    EXPECT_EQ(clear, bytes({1, 2, 3, 255, 4, 5, 6, 255}));
    QByteArray kept = bytes({1, 2, 3, 0, 4, 5, 6, 8});
    Image_FixAlpha(reinterpret_cast<uint8_t*>(kept.data()), 2, 1, 4);
    EXPECT_EQ(kept, bytes({1, 2, 3, 0, 4, 5, 6, 8}));
}

TEST_F(Images, TextureNames) {
    const QList<QPair<const char*, const char*>> cases = {
        {"C:\\q3\\baseq3\\textures\\base_wall\\c_met5.tga", "base_wall/c_met5"},
        {"/games/baseq3/Textures/gothic/block.JPG", "gothic/block"},
        {"/a/textures/b/textures/c.tga", "b/textures/c"},
        {"skins/red.tga", "skins/red"},
        {"/t/textures/very_long_folder_name_to_cut/an_even_longer_texture_name_over_sixty.tga",
         "very_long_folder_name_to_cut/an_even_longer_texture_name_over_s"}, // 63 characters
    };
    for (const auto& c : cases) {
        char name[64];
        Image_TextureName(c.first, name);
        EXPECT_STREQ(name, c.second) << c.first;
    }
}

TEST_F(Images, LoadTextureMakesAnEffectWithOneStage) {
    const char* path = "/q3/baseq3/textures/base_wall/c_met5.tga";
    // Every alpha 0: uploaded fully opaque.
    const QByteArray file = TgaFile(2, 2, 1, 32, 0x20, bytes({10, 20, 30, 0, 40, 50, 60, 0}));
    EXPECT_EQ(Image_LoadTexture(kTextureFormatTGA, path, reinterpret_cast<const uint8_t*>(file.constData()),
                                int32_t(file.size())),
              1);
    ShaderRecord* effect = textures.effects.value(path);
    ASSERT_NE(effect, nullptr);
    EXPECT_STREQ(effect->name, "base_wall/c_met5");
    EXPECT_EQ(effect->width, 2);
    EXPECT_EQ(effect->height, 1);
    TextureImage* image = effect->image;
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(textures.images.value(path), image);
    EXPECT_EQ(image->refCount, 2); // the editor image and the stage
    EXPECT_EQ(image->format, 0x1908);
    EXPECT_EQ(image->compressedFormat, 0x84EE);
    EXPECT_EQ(image->bytesPerPixel, 4);
    EXPECT_EQ(textures.pixels.value(image),
              gamma(bytes({30, 20, 10, 0, 60, 50, 40, 0})).replace(3, 1, "\xff").replace(7, 1, "\xff"));
    ASSERT_NE(effect->stages, nullptr);
    EXPECT_EQ(effect->stages->frames[0], image);
    EXPECT_EQ(effect->stages->next, nullptr);

    // Loaded again: found staged, nothing decoded (the bytes are not an image).
    console.clear();
    EXPECT_EQ(Image_LoadTexture(kTextureFormatTGA, path, reinterpret_cast<const uint8_t*>("junk"), 4), 1);
    EXPECT_TRUE(console.lines.isEmpty());
    EXPECT_EQ(effect->refCount, 2);
    Plugin_ReleaseShader(effect);
    Plugin_ReleaseShader(effect);

    EXPECT_EQ(
        Image_LoadTexture(2, path, reinterpret_cast<const uint8_t*>(file.constData()), int32_t(file.size())),
        0);
}

TEST_F(Images, GreyJpegUploadsAsLuminanceAndBrokenFilesStillMakeTheEffect) {
    const QByteArray grey = JpegFile(4, 4, 1, QByteArray(16, char(90)), false);
    ASSERT_EQ(Image_LoadTexture(kTextureFormatJPG, "textures/sky/grey.jpg",
                                reinterpret_cast<const uint8_t*>(grey.constData()), int32_t(grey.size())),
              1);
    ShaderRecord* effect = textures.effects.value("textures/sky/grey.jpg");
    ASSERT_NE(effect, nullptr);
    ASSERT_NE(effect->image, nullptr);
    EXPECT_EQ(effect->image->format, 0x1909);
    EXPECT_EQ(effect->image->compressedFormat, 0x84EA);
    EXPECT_EQ(effect->image->bytesPerPixel, 1);
    EXPECT_EQ(textures.pixels.value(effect->image).size(), 16);
    Plugin_ReleaseShader(effect);

    // Not decodable: the effect still gets its (empty) stage, with the decoder's warning.
    console.clear();
    ASSERT_EQ(
        Image_LoadTexture(kTextureFormatTGA, "textures/bad.tga", reinterpret_cast<const uint8_t*>("x"), 1),
        1);
    ShaderRecord* bad = textures.effects.value("textures/bad.tga");
    ASSERT_NE(bad, nullptr);
    EXPECT_NE(bad->stages, nullptr);
    EXPECT_EQ(bad->image, Tex_CreateNoTexture()->image); // shows "notexture"
    EXPECT_TRUE(bad->flags & SHADER_STAGE_WITHOUT_IMAGE);
    // The warning names the file it is about.
    EXPECT_TRUE(console.contains("textures/bad.tga: TGAImageLoader: file truncated (1 bytes)"))
        << warnings().toStdString();
    Plugin_ReleaseShader(bad);

    console.clear();
    ASSERT_EQ(
        Image_LoadTexture(kTextureFormatJPG, "textures/bad.jpg", reinterpret_cast<const uint8_t*>("xyz"), 3),
        1);
    EXPECT_TRUE(console.contains("textures/bad.jpg: JPGImageLoader: ")) << warnings().toStdString();
    Plugin_ReleaseShader(textures.effects.value("textures/bad.jpg"));
}

class ImageFiles : public Images {
protected:
    QTemporaryDir dir;
    GameConfig config;

    void SetUp() override {
        config.GameBasedir = dir.path();
        g_mainWindow->gameConfigs.makeCurrent(&config);
    }
    void TearDown() override {
        g_mainWindow->gameConfigs.makeCurrent(nullptr);
        Images::TearDown();
    }
    QByteArray write(const QString& name, const QByteArray& data) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return QFile::encodeName(path);
    }
};

TEST_F(ImageFiles, FindAndLoadByName) {
    const QByteArray tgaPath = write("textures/a.tga", TgaFile(3, 1, 1, 8, 0, "x"));
    const QByteArray jpgPath = write("textures/b.jpg", JpegFile(2, 2, 3, QByteArray(12, 'p'), false));
    write("textures/c.png", "png");

    char path[1024];
    EXPECT_TRUE(FindImageFile("textures/a", path, sizeof path));
    EXPECT_EQ(QByteArray(path), tgaPath);
    EXPECT_TRUE(FindImageFile("textures/b", path, sizeof path));
    EXPECT_EQ(QByteArray(path), jpgPath);
    EXPECT_FALSE(FindImageFile("textures/c", path, sizeof path));

    // By name: ".tga" first, else the ".jpg" of the name; the caller takes its own reference.
    TextureImage* a = LoadImageByName(nullptr, "textures/a", true);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->refCount, 0);
    EXPECT_EQ(textures.images.value(tgaPath), a);
    EXPECT_EQ(LoadImageFile(nullptr, tgaPath.constData(), true), a);
    TextureImage* b = LoadImageByName(nullptr, "textures/b.tga", false);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->bytesPerPixel, 3);
    EXPECT_TRUE(b->flags & IMAGE_NO_MIPMAPS);
    EXPECT_EQ(LoadImageByName(nullptr, "textures/c", true), nullptr);
    EXPECT_EQ(LoadImageFile(nullptr, write("textures/c.png", "png").constData(), true), nullptr);
    EXPECT_EQ(LoadImageFile(nullptr, dir.filePath("textures/none.tga").toUtf8().constData(), true), nullptr);
    for (TextureImage* image : {a, b}) {
        ++image->refCount;
        Plugin_FreeImage(image);
    }
}

TEST_F(ImageFiles, SkinTexturesComeFromTheirImageFile) {
    const QByteArray tgaPath = write("models/skin.tga", TgaFile(2, 1, 1, 32, 0x20, bytes({1, 2, 3, 0})));
    ShaderRecord* skin = LoadSkinTexture("models/skin");
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(skin->flags & SHADER_MODEL_SKIN, SHADER_MODEL_SKIN);
    ASSERT_NE(skin->image, nullptr);
    // No alpha fix for skins.
    EXPECT_EQ(textures.pixels.value(skin->image), gamma(bytes({3, 2, 1, 0})));
    EXPECT_EQ(textures.effects.value(tgaPath), skin);
    EXPECT_EQ(LoadSkinTexture("models/none"), nullptr);
    // The model that asked holds the reference the skin was left without.
    ++skin->refCount;
    Plugin_ReleaseShader(skin);
}

// While the editor decodes images on their first show, a skin waits too, sized from its file's
// head; its first-show decode keeps the file's alpha as the skin's own decode did, where the same
// file named as a texture gets the alpha fix.
TEST_F(ImageFiles, SkinsWaitForTheirFirstShowAndKeepTheirAlpha) {
    const QByteArray file = TgaFile(2, 1, 1, 32, 0x20, bytes({1, 2, 3, 0}));
    const QByteArray skinPath = write("models/waiting.tga", file);
    const QByteArray texturePath = write("textures/other.tga", file);
    kpSetFileHeadReader(&Tex_LoadFileHead);
    kpDeferTextureDecoding(1);
    kpDeferTextureDecoding(0); // package loads only; the editor still decodes skins later
    ShaderRecord* skin = LoadSkinTexture("models/waiting");
    kpSetFileHeadReader(nullptr);
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->image, nullptr);
    EXPECT_EQ(skin->image->width, 1);
    EXPECT_EQ(skin->image->bytesPerPixel, 4);
    EXPECT_FALSE(textures.pixels.contains(skin->image)); // nothing decoded yet
    const struct {
        QByteArray path;
        QByteArray pixels;
    } cases[] = {
        {skinPath, gamma(bytes({3, 2, 1, 0}))},
        {texturePath, gamma(bytes({3, 2, 1, 0})).replace(3, 1, "\xff")},
    };
    for (const auto& c : cases) {
        int32_t width = 0, height = 0, components = 0;
        uint8_t* pixels = kpDecodeTexture(kTextureFormatTGA, c.path.constData(),
                                          reinterpret_cast<const uint8_t*>(file.constData()),
                                          uint32_t(file.size()), &width, &height, &components);
        ASSERT_NE(pixels, nullptr) << c.path.constData();
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(pixels), 4), c.pixels) << c.path.constData();
        Sys_Free(pixels);
    }
    ++skin->refCount;
    Plugin_ReleaseShader(skin);
}

} // namespace
