// A TGA loaded through the real plugin reaches the GL texture through the gamma table of the
// configuration's texture brightness.
#include <GL/gl.h>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "ImageFiles.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"
#include "mainwindow/MainWindow.h"
#include "quake3/Images.h"

namespace {

TEST(PluginUpload, TgaTexelsPassTheGammaTable) {
    cConsoleCapture console;
    const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
    if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
    {
        cSharedGLScope scope;
        if (!scope.ok()) GTEST_SKIP() << "no OpenGL";
    }
    TextureManager& m = g_mainWindow->textures;
    if (m.textureFormats.isEmpty()) ASSERT_TRUE(Plugin_Load(&g_mainWindow->plugins, plugin));
    const TextureFormatEntry* tga = nullptr;
    for (const TextureFormatEntry& f : m.textureFormats)
        if (f.extension == ".tga") tga = &f;
    ASSERT_NE(tga, nullptr);
    GameConfig config;
    config.TextureBrightness = 50; // gamma 1.25
    g_mainWindow->gameConfigs.makeCurrent(&config);

    // One pixel stored blue, green, red.
    const QByteArray file = TgaFile(2, 1, 1, 24, 0x20, QByteArray("\x0a\x64\xc8", 3));
    const char* path = "/q3/baseq3/textures/gamma/one.tga";
    ASSERT_EQ(tga->loadTexture(tga->id, path, reinterpret_cast<const uint8_t*>(file.constData()),
                               uint32_t(file.size())),
              1);
    ShaderRecord* effect = m.effects.value(path);
    ASSERT_NE(effect, nullptr);
    ASSERT_NE(effect->image, nullptr);
    ASSERT_NE(effect->image->glName, 0u);
    uint8_t table[256];
    Image_BuildGammaTable(1.25f, table);
    uint8_t texel[3] = {};
    {
        cSharedGLScope scope;
        glBindTexture(GL_TEXTURE_2D, effect->image->glName);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    EXPECT_EQ(texel[0], table[200]);
    EXPECT_EQ(texel[1], table[100]);
    EXPECT_EQ(texel[2], table[10]);
    EXPECT_NE(table[100], 100); // the table does change the value
    Plugin_ReleaseShader(effect);
    g_mainWindow->gameConfigs.makeCurrent(nullptr);
    EXPECT_EQ(Tex_ReportLeaks(&m), 0);
}

} // namespace
