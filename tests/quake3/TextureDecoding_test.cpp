// Images loaded with their size alone and decoded on first show, through the shipped module:
// decoded on the worker pool they come out as the GUI-thread decoder gives them; effects bound
// while a load runs wait and decode together when it ends; a file that does not decode is
// reported on the GUI thread, naming it, and shows the "notexture" checker.
#include <GL/gl.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <vector>

#include "ConsoleCapture.h"
#include "ImageFiles.h"
#include "core/System.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureUpload.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"

namespace {

QByteArray pattern(int bytes, int seed) {
    QByteArray b(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        b[i] = char((i * 37 + seed * 101 + (i / 7) * 13) & 0xFF);
    return b;
}

// Run-length packets of 2 pixels repeated, then 2 literal, over w x h 32-bit pixels.
QByteArray runLengthBody(int w, int h, int seed) {
    QByteArray body;
    const QByteArray pixels = pattern(w * h * 4, seed);
    for (int at = 0; at < w * h; at += 4) {
        body.append(char(0x81)).append(pixels.mid(at * 4, 4));
        body.append(char(0x01)).append(pixels.mid((at + 2) * 4, 8));
    }
    return body;
}

struct ImageCase {
    const char* what;
    const char* file; // under textures/dec/
    QByteArray bytes;
};

class TextureDecoding : public ::testing::Test {
protected:
    cConsoleCapture console;
    TextureManager& m = *GameData_Textures();
    QTemporaryDir dir;
    QStringList packages;
    const TextureFormatEntry* tga = nullptr;
    const TextureFormatEntry* jpg = nullptr;

    void SetUp() override {
        const QString plugin = QStringLiteral(ZARV_BIN_DIR) + "/plugins/kpQuake3x64.so";
        if (!QFileInfo::exists(plugin)) GTEST_SKIP() << "the Quake III plugin is not built";
        if (m.textureFormats.isEmpty()) ASSERT_TRUE(Plugin_Load(GameData_Plugins(), plugin));
        for (const TextureFormatEntry& f : m.textureFormats) {
            if (f.extension == ".tga") tga = &f;
            if (f.extension == ".jpg") jpg = &f;
        }
        ASSERT_TRUE(tga && jpg && tga->decodeJob && jpg->decodeJob) << "the module decodes on workers";
        cSharedGLScope scope;
        if (!scope.ok()) GTEST_SKIP() << "no OpenGL";
    }
    void TearDown() override {
        for (const QString& path : std::as_const(packages))
            Tex_ReleasePackage(path);
        EXPECT_TRUE(m.pending.isEmpty());
        EXPECT_TRUE(m.effects.isEmpty());
        EXPECT_TRUE(m.images.isEmpty());
    }
    void write(const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("textures/dec/") + QLatin1String(name));
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Loads every file of the folder with the suffix, sizes only.
    void load(const char* suffix) {
        const QString path = dir.filePath(QStringLiteral("textures/dec::*") + QLatin1String(suffix));
        TexturePackage* package = Tex_AcquirePackage(path);
        packages.append(path);
        ASSERT_TRUE(Tex_LoadPackage(package, nullptr, dir.path(), QString()));
    }
    ShaderRecord* effect(const char* file) const {
        QByteArray name = QByteArray("dec/") + file;
        name.truncate(name.lastIndexOf('.'));
        return Tex_FindShader(&m, name.constData());
    }
    // Level 0 of the image's GL texture, in the layout the decoder gives.
    static QByteArray texels(const TextureImage* image) {
        cSharedGLScope scope;
        const GLenum format = image->bytesPerPixel == 4   ? GL_RGBA
                              : image->bytesPerPixel == 3 ? GL_RGB
                                                          : GL_LUMINANCE;
        std::vector<uint8_t> out(size_t(image->width) * image->height * image->bytesPerPixel);
        glBindTexture(GL_TEXTURE_2D, image->glName);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size()));
    }
    // The GUI-thread decoder's pixels for the file.
    QByteArray decodedHere(const TextureFormatEntry* format, const QByteArray& bytes) const {
        int32_t w = 0, h = 0, c = 0;
        uint8_t* pixels =
            format->decodeTexture(format->id, "here", reinterpret_cast<const uint8_t*>(bytes.constData()),
                                  uint32_t(bytes.size()), &w, &h, &c);
        if (!pixels) return {};
        QByteArray out(reinterpret_cast<const char*>(pixels), qsizetype(w) * h * c);
        Sys_Free(pixels);
        return out;
    }
};

TEST_F(TextureDecoding, PoolPixelsEqualTheGuiThreadDecodersForEveryForm) {
    const QList<ImageCase> cases = {
        {"24-bit bottom-up TGA", "rgb.tga", TgaFile(2, 16, 8, 24, 0, pattern(16 * 8 * 3, 1))},
        {"32-bit top-down TGA", "rgba.tga", TgaFile(2, 8, 8, 32, 0x20, pattern(8 * 8 * 4, 2))},
        {"32-bit TGA of clear alphas", "clear.tga",
         TgaFile(2, 4, 4, 32, 0x20, QByteArray(4 * 4 * 4, char(3)))},
        {"grey TGA", "grey.tga", TgaFile(3, 8, 4, 8, 0, pattern(8 * 4, 3))},
        {"run-length TGA", "rle.tga", TgaFile(10, 8, 4, 32, 0, runLengthBody(8, 4, 4))},
        {"baseline JPEG", "base.jpg", JpegFile(16, 16, 3, pattern(16 * 16 * 3, 5), false)},
        {"progressive JPEG", "prog.jpg", JpegFile(32, 8, 3, pattern(32 * 8 * 3, 6), true)},
        {"grey JPEG", "grey2.jpg", JpegFile(8, 16, 1, pattern(8 * 16, 7), false)},
    };
    for (const ImageCase& c : cases)
        write(c.file, c.bytes);
    load(".tga");
    load(".jpg");
    QList<TextureImage*> images;
    for (const ImageCase& c : cases) {
        ShaderRecord* shader = effect(c.file);
        ASSERT_TRUE(shader && shader->image) << c.what;
        ASSERT_TRUE(m.pending.contains(shader->image)) << c.what << ": sizes only at load";
        images.append(shader->image);
    }
    // The last one as a module without the worker entry leaves it: decoded here, in the same group.
    m.pending[images.last()].decodeJob = nullptr;
    const int32_t pooledBefore = m.pooledCount, decodedBefore = m.decodedCount;
    console.clear();
    EXPECT_EQ(Tex_RealizeImages(&m, images), 0);
    EXPECT_EQ(m.decodedCount - decodedBefore, cases.size());
    EXPECT_EQ(m.pooledCount - pooledBefore, cases.size() - 1) << "all others decoded on the pool";
    EXPECT_FALSE(console.contains("Loader")) << console.lines.join('\n').toStdString();
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TextureImage* image = effect(c.file)->image;
        const QByteArray expected = decodedHere(QByteArray(c.file).endsWith(".tga") ? tga : jpg, c.bytes);
        ASSERT_FALSE(expected.isEmpty());
        ASSERT_NE(image->glName, 0u);
        EXPECT_EQ(texels(image).toHex(' '), expected.toHex(' '));
    }
}

TEST_F(TextureDecoding, AFileThatDoesNotDecodeIsReportedOnTheGuiThreadAndShowsNotexture) {
    // Headers that promise pictures the rest of the file does not hold.
    QByteArray cutJpeg = JpegFile(16, 16, 3, pattern(16 * 16 * 3, 1), false);
    cutJpeg.truncate(cutJpeg.indexOf("\xff\xc4"));
    cutJpeg.append("\xff\xc4\x00\x00", 4); // a table marker of length 0, after the frame header
    write("cut.tga", TgaFile(2, 8, 8, 24, 0x20, pattern(20, 2)));
    write("good.tga", TgaFile(2, 8, 8, 24, 0x20, pattern(8 * 8 * 3, 3)));
    write("broken.jpg", cutJpeg);
    load(".tga");
    load(".jpg");
    struct Line {
        QString text;
        bool guiThread;
    };
    QList<Line> lines;
    for (const char* file : {"cut.tga", "good.tga", "broken.jpg"})
        ASSERT_TRUE(m.pending.contains(effect(file)->image)) << file << ": its header was read";
    const ConsoleSink previous = Console_SetSink([&lines](const QString& line) {
        lines.append({line, QThread::currentThread() == QCoreApplication::instance()->thread()});
    });
    const int32_t failed = Tex_RealizeImages(
        &m, {effect("cut.tga")->image, effect("good.tga")->image, effect("broken.jpg")->image});
    Console_SetSink(ConsoleSink(previous));
    EXPECT_EQ(failed, 2);
    ASSERT_EQ(lines.size(), 2);
    for (const Line& line : lines)
        EXPECT_TRUE(line.guiThread) << line.text.toStdString();
    EXPECT_TRUE(lines[0].text.contains("textures/dec/cut.tga: TGAImageLoader: file truncated (38 bytes)"))
        << lines[0].text.toStdString();
    EXPECT_TRUE(lines[1].text.contains("textures/dec/broken.jpg: JPGImageLoader: "))
        << lines[1].text.toStdString();
    for (const char* file : {"cut.tga", "broken.jpg"}) {
        SCOPED_TRACE(file);
        const TextureImage* image = effect(file)->image;
        ASSERT_NE(image->glName, 0u);
        EXPECT_EQ(std::pair(image->width, image->height), std::pair(kNoTextureSize, kNoTextureSize));
        EXPECT_EQ(texels(image), Tex_NoTexturePixels());
        const int side = QByteArray(file).endsWith(".tga") ? 8 : 16;
        EXPECT_EQ(std::pair(effect(file)->width, effect(file)->height), std::pair(side, side))
            << "faces keep the size the header gave";
    }
    EXPECT_EQ(texels(effect("good.tga")->image),
              decodedHere(tga, TgaFile(2, 8, 8, 24, 0x20, pattern(8 * 8 * 3, 3))));
    // Shown again: no second report.
    console.clear();
    Tex_RealizeShader(&m, effect("cut.tga"));
    EXPECT_FALSE(console.contains("cut.tga"));
}

} // namespace
