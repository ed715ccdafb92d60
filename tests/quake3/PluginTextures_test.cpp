// The plugin's texture and archive exports as the editor calls them: through the formats the
// host registered from the shipped module.
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "ImageFiles.h"
#include "Pk3Writer.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

namespace {

class PluginTextures : public ::testing::Test {
protected:
    cConsoleCapture console;
    const TextureFormatEntry* tga = nullptr;
    const TextureFormatEntry* jpg = nullptr;
    const ArchiveFormatEntry* pk3 = nullptr;

    void SetUp() override {
        const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
        if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
        if (g_mainWindow->textures.textureFormats.isEmpty())
            ASSERT_TRUE(Plugin_Load(&g_mainWindow->plugins, plugin));
        for (const TextureFormatEntry& f : g_mainWindow->textures.textureFormats) {
            if (f.extension == ".tga") tga = &f;
            if (f.extension == ".jpg") jpg = &f;
        }
        for (const ArchiveFormatEntry& f : g_mainWindow->archives.formats)
            if (f.extension == ".pk3") pk3 = &f;
        ASSERT_TRUE(tga && jpg && pk3);
    }
    void TearDown() override {
        EXPECT_TRUE(g_mainWindow->textures.effects.isEmpty());
        EXPECT_TRUE(g_mainWindow->textures.images.isEmpty());
    }
};

TEST_F(PluginTextures, TexturesBecomeEffectsWithTheirImage) {
    const QByteArray file = TgaFile(2, 2, 2, 24, 0x20, QByteArray(12, char(200)));
    const char* path = "/q3/baseq3/textures/base_wall/c_met5.tga";
    ASSERT_EQ(tga->loadTexture(tga->id, path, reinterpret_cast<const uint8_t*>(file.constData()),
                               uint32_t(file.size())),
              1);
    ShaderRecord* effect = g_mainWindow->textures.effects.value(path);
    ASSERT_NE(effect, nullptr);
    EXPECT_STREQ(effect->name, "base_wall/c_met5");
    ASSERT_NE(effect->image, nullptr);
    EXPECT_EQ(effect->image->format, 0x1907);
    EXPECT_EQ(effect->image->compressedFormat, 0x84ED);
    EXPECT_EQ(g_mainWindow->textures.pixels.value(effect->image).size(), 12);
    Plugin_ReleaseShader(effect);

    const QByteArray grey = JpegFile(4, 2, 1, QByteArray(8, char(40)), true);
    ASSERT_EQ(jpg->loadTexture(jpg->id, "textures/g.jpg", reinterpret_cast<const uint8_t*>(grey.constData()),
                               uint32_t(grey.size())),
              1);
    ShaderRecord* greyEffect = g_mainWindow->textures.effects.value("textures/g.jpg");
    ASSERT_NE(greyEffect, nullptr);
    ASSERT_NE(greyEffect->image, nullptr);
    EXPECT_EQ(greyEffect->image->bytesPerPixel, 1);
    Plugin_ReleaseShader(greyEffect);
    EXPECT_EQ(
        tga->loadTexture(7, path, reinterpret_cast<const uint8_t*>(file.constData()), uint32_t(file.size())),
        0);
}

TEST_F(PluginTextures, ArchiveExportsKeepTheirHandle) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.pk3");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(Pk3Build({{"Scripts/A.shader", "text", 8}, {"empty.txt", "", 0}}));
    out.close();
    const QByteArray native = QFile::encodeName(path);

    ArchiveHandle handle{};
    EXPECT_EQ(pk3->load(1, native.constData(), &handle), 0) << "another format id";
    EXPECT_EQ(handle.data, nullptr);
    EXPECT_EQ(pk3->unload(pk3->id, &handle), 0) << "nothing loaded";
    ASSERT_EQ(pk3->load(pk3->id, native.constData(), &handle), 1);
    ASSERT_NE(handle.data, nullptr);
    EXPECT_EQ(pk3->findFile(pk3->id, &handle, "scripts/a.shader"), 1);
    EXPECT_EQ(pk3->findFile(pk3->id, &handle, "empty.txt"), 1);
    void* data = nullptr;
    EXPECT_EQ(pk3->loadFile(pk3->id, &handle, "empty.txt", &data), 0);
    ASSERT_EQ(pk3->loadFile(pk3->id, &handle, "SCRIPTS/a.shader", &data), 4);
    EXPECT_STREQ(static_cast<const char*>(data), "text");
    Sys_Free(data);
    char** names = nullptr;
    ASSERT_EQ(pk3->listFiles(pk3->id, &handle, "*.shader", &names), 1);
    EXPECT_STREQ(names[0], "scripts/a.shader");
    EXPECT_EQ(names[1], nullptr);
    Sys_Free(names[0]);
    Sys_Free(names);
    EXPECT_EQ(pk3->unload(pk3->id, &handle), 1);
    EXPECT_EQ(handle.data, nullptr);
    EXPECT_EQ(pk3->findFile(pk3->id, &handle, "scripts/a.shader"), 0);
}

} // namespace
