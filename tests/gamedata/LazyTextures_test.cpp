// Textures through the Quake III plugin load their sizes at precache and their pixels the first
// time they show.
#include <QDir>
#include <QFile>
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "ConsoleCapture.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

namespace {

// An uncompressed 24-bit TGA of w x h, rows bottom first.
QByteArray tga(int w, int h) {
    QByteArray b(18, '\0');
    b[2] = 2;
    b[12] = char(w & 0xFF), b[13] = char(w >> 8), b[14] = char(h & 0xFF), b[15] = char(h >> 8), b[16] = 24;
    b.append(QByteArray(w * h * 3, char(0x80)));
    return b;
}

// A JPEG of w x h whose frame header follows a metadata segment of about 40 KiB, as cameras and
// image editors write them: the frame lies past the first bytes a precache reads.
QByteArray jpegWithLargeMetadata(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(0xFF336699u);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    QByteArray metadata;
    for (int i = 0; i < 2; ++i) {
        constexpr int kLength = 20000;
        metadata += QByteArray("\xFF\xE1", 2) + char(kLength >> 8) + char(kLength & 0xFF);
        metadata += QByteArray(kLength - 2, 'x');
    }
    return jpeg.insert(2, metadata);
}

// The Quake III plugin loaded into the program's texture manager; false when it is not built.
bool loadPlugin(std::unique_ptr<cMainWindow>& window) {
    const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
    if (!QFileInfo::exists(plugin)) return false;
    if (!g_mainWindow) window = std::make_unique<cMainWindow>();
    if (GameData_Textures()->textureFormats.isEmpty()) return Plugin_Load(GameData_Plugins(), plugin);
    return true;
}

TEST(LazyTextures, PrecacheReadsSizesAndTheFirstShowDecodes) {
    std::unique_ptr<cMainWindow> window;
    if (!loadPlugin(window)) GTEST_SKIP() << "the Quake III plugin is not built";
    TextureManager& m = *GameData_Textures();
    cConsoleCapture console;
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("textures/lazy"));
    for (const auto& [name, w, h] : {std::tuple{"wide", 64, 16}, std::tuple{"tall", 8, 32}}) {
        QFile file(dir.filePath(QStringLiteral("textures/lazy/%1.tga").arg(QLatin1String(name))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(tga(w, h));
    }
    const QString path = dir.filePath("textures/lazy::*.tga");
    TexturePackage* package = Tex_AcquirePackage(path);
    const int32_t decodedBefore = m.decodedCount;
    ASSERT_TRUE(Tex_LoadPackage(package, nullptr, dir.path(), QString()));
    ShaderRecord* wide = Tex_FindShader(&m, "lazy/wide");
    ShaderRecord* tall = Tex_FindShader(&m, "lazy/tall");
    ASSERT_TRUE(wide && tall && wide->image && tall->image);
    // Sizes first, no pixels.
    EXPECT_EQ(m.decodedCount, decodedBefore);
    EXPECT_EQ(std::pair(wide->width, wide->height), std::pair(64, 16));
    EXPECT_EQ(std::pair(tall->image->width, tall->image->height), std::pair(8, 32));
    EXPECT_FALSE(m.pixels.contains(wide->image));
    EXPECT_TRUE(m.pending.contains(wide->image));

    // Showing one decodes that one alone, once.
    Tex_RealizeShader(&m, wide);
    Tex_RealizeShader(&m, wide);
    EXPECT_EQ(m.decodedCount, decodedBefore + 1);
    EXPECT_FALSE(m.pending.contains(wide->image));
    // The GL texture, or without GL the pixels themselves.
    EXPECT_TRUE(wide->image->glName != 0 || m.pixels.value(wide->image).size() == 64 * 16 * 3);
    EXPECT_FALSE(m.pixels.contains(tall->image));
    Tex_ReleasePackage(path);
    EXPECT_TRUE(m.pending.isEmpty()) << "released images leave the pending list";
}

TEST(LazyTextures, AJpegWhoseFrameLiesPastTheFirstBytesWaitsToo) {
    std::unique_ptr<cMainWindow> window;
    if (!loadPlugin(window)) GTEST_SKIP() << "the Quake III plugin is not built";
    TextureManager& m = *GameData_Textures();
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("textures/meta"));
    QFile file(dir.filePath("textures/meta/photo.jpg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_GT(file.write(jpegWithLargeMetadata(48, 24)), 40000);
    file.close();
    const QString path = dir.filePath("textures/meta::*.jpg");
    TexturePackage* package = Tex_AcquirePackage(path);
    const int32_t decodedBefore = m.decodedCount;
    ASSERT_TRUE(Tex_LoadPackage(package, nullptr, dir.path(), QString()));
    ShaderRecord* photo = Tex_FindShader(&m, "meta/photo");
    ASSERT_TRUE(photo && photo->image);
    EXPECT_EQ(std::pair(photo->image->width, photo->image->height), std::pair(48, 24));
    EXPECT_TRUE(m.pending.contains(photo->image)) << "decoded at precache";
    Tex_RealizeShader(&m, photo);
    EXPECT_EQ(m.decodedCount, decodedBefore + 1);
    Tex_ReleasePackage(path);
}

} // namespace
