// Placeholders taken over by package loads, packages through registered formats, frame rings,
// the leak report and palettes.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

#include "ConsoleCapture.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"

namespace {

std::vector<std::string> g_loaded; // paths the fake texture format was asked to load

// A texture format that makes one effect with one stage per file and refuses files holding "bad".
int32_t loadTexture(int32_t, const char* path, const uint8_t* data, uint32_t size) {
    if (size >= 3 && std::memcmp(data, "bad", 3) == 0) return 0;
    g_loaded.push_back(path);
    const char* slash = std::strrchr(path, '/');
    ShaderRecord* effect = Tex_FindOrCreateShader(path, slash ? slash + 1 : path, 0);
    static const uint8_t pixel[4] = {1, 2, 3, 4};
    TextureImage* image = Plugin_UploadImage(effect, path, 0x1908, 0x1908, 4, 1, 1, true, pixel);
    ShaderStage stage{};
    stage.frames[0] = image;
    Plugin_AddShaderStage(effect, &stage);
    Plugin_FinishShader(effect);
    return 1;
}
int32_t filterName(int32_t, const char* path) {
    return std::strstr(path, "skip") ? 0 : 1;
}
// A package format whose file lists names, one effect each.
int32_t packageInfo(int32_t, const char* path, int32_t* info) {
    QFile f(QString::fromUtf8(path));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    info[0] = int32_t(f.readAll().split('\n').count(QByteArray("entry")));
    return 1;
}
int32_t loadPackage(int32_t, const char* path) {
    QFile f(QString::fromUtf8(path));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    int i = 0;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line != "entry") continue;
        const QByteArray key = QByteArray(path) + "#" + QByteArray::number(i);
        const QByteArray name = "pack/e" + QByteArray::number(i++);
        ShaderRecord* effect = Tex_FindOrCreateShader(key.constData(), name.constData(), 0);
        ShaderStage stage{};
        stage.frames[0] = Plugin_WhiteImage();
        Plugin_AddShaderStage(effect, &stage);
        Plugin_FinishShader(effect);
    }
    return 1;
}

class TexturePackageTest : public ::testing::Test {
protected:
    cConsoleCapture console;
    TextureManager& m = *GameData_Textures();
    QTemporaryDir dir;

    void SetUp() override {
        g_loaded.clear();
        TextureFormatEntry tex;
        tex.id = 7;
        tex.extension = ".tex";
        tex.loadTexture = loadTexture;
        tex.filterTextureName = filterName;
        m.textureFormats.append(tex);
        for (const char* ext : {".pak", ".wad"}) {
            PackageFormatEntry pack;
            pack.extension = ext;
            pack.getPackageInfo = packageInfo;
            pack.loadPackage = loadPackage;
            m.packageFormats.append(pack);
        }
    }
    void TearDown() override {
        Tex_FreePackages(&m);
        m.palettes.clear();
        m.textureFormats.clear();
        m.packageFormats.clear();
        EXPECT_EQ(Tex_ReportLeaks(&m), 0);
    }
    QString write(const QString& name, const QByteArray& data) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return path;
    }
};

TEST_F(TexturePackageTest, PlaceholderIsTakenOverInPlace) {
    ShaderRecord* held = Tex_AcquireShaderByName("wall.tex");
    EXPECT_EQ(Tex_AcquireShaderByName("WALL.TEX"), held);
    EXPECT_EQ(held->refCount, 2);
    EXPECT_EQ(held->image, Tex_CreateNoTexture()->image);
    EXPECT_TRUE(held->flags & SHADER_PLACEHOLDER);
    held->flags &= ~(SHADER_NEW | SHADER_RELOADED);

    const QString path = write("wall.tex", "good");
    TexturePackage* package = Tex_AcquirePackage(&m, dir.path() + "::*.tex");
    ASSERT_TRUE(Tex_LoadPackage(&m, package, nullptr, dir.path(), QString()));
    // The face's record is now the definition: its own first stage shows, marked changed and new.
    EXPECT_EQ(Tex_FindShaderByKey(&m, QFile::encodeName(path).constData()), held);
    EXPECT_EQ(held->flags & (SHADER_NEW | SHADER_RELOADED | SHADER_TAKEN_OVER),
              SHADER_NEW | SHADER_RELOADED | SHADER_TAKEN_OVER);
    EXPECT_FALSE(held->flags & SHADER_PLACEHOLDER);
    ASSERT_NE(held->stages, nullptr);
    EXPECT_EQ(held->image, held->stages->frames[0]);
    EXPECT_NE(held->image, Tex_CreateNoTexture()->image);
    EXPECT_EQ(held->width, 1);
    EXPECT_EQ(package->shaders, QList<ShaderRecord*>{held});
    EXPECT_EQ(held->package, package);
    // Taking over adds no reference (flag 0x400 absent): the two holders' releases free it, and
    // it leaves the package's list.
    Plugin_ReleaseShader(held);
    Plugin_ReleaseShader(held);
    EXPECT_TRUE(package->shaders.isEmpty());
    EXPECT_TRUE(m.effects.isEmpty());
}

TEST_F(TexturePackageTest, DirectoryPackagesFilterSortAndShareFiles) {
    write("b.tex", "good");
    write("A.TEX", "good");
    write("skip.tex", "good");
    write("c.jpg", "good");
    TexturePackage* first = Tex_AcquirePackage(&m, dir.path() + "::*.tex;*.jpg");
    EXPECT_EQ(first->kind, kPackageDirectory);
    EXPECT_EQ(first->filter, "*.tex;*.jpg");
    EXPECT_EQ(Tex_AcquirePackage(&m, dir.path() + "::*.tex;*.jpg"), first);
    EXPECT_EQ(first->refCount, 2);
    const TexturePackageInfo info = Tex_GetPackageInfo(&m, first);
    EXPECT_EQ(info.count, 4);
    EXPECT_EQ(info.size, 16);
    EXPECT_TRUE(Tex_LoadPackage(&m, first, nullptr, dir.path(), QString()));
    // Name order, case ignored; the format's filter drops "skip"; ".jpg" has no format here.
    ASSERT_EQ(g_loaded.size(), 2u);
    EXPECT_TRUE(QString::fromStdString(g_loaded[0]).endsWith("A.TEX"));
    EXPECT_TRUE(console.contains(
        QString("couldn't load textures from \"%1\" (unknown format)").arg(dir.filePath("c.jpg"))));
    EXPECT_EQ(first->shaders.size(), 2);

    // Another filter is another package; a file loaded already is shared with a reference.
    TexturePackage* second = Tex_AcquirePackage(&m, dir.path() + "::b.tex");
    EXPECT_NE(second, first);
    EXPECT_TRUE(Tex_LoadPackage(&m, second, nullptr, dir.path(), QString()));
    EXPECT_EQ(g_loaded.size(), 2u);
    ASSERT_EQ(second->shaders.size(), 1);
    EXPECT_EQ(second->shaders[0]->refCount, 2);
}

TEST_F(TexturePackageTest, FilePackagesByKind) {
    struct Case {
        const char* name;
        QByteArray data;
        int32_t kind;
        bool loads;
        int32_t effects;
        const char* message;
    };
    const Case cases[] = {
        {"one.tex", "good", kPackageFile, true, 1, nullptr},
        {"bad.tex", "bad", kPackageFile, false, 0, "couldn't load textures from \"%1\" (unsupported format)"},
        {"list.pak", "entry\nentry\nentry", kPackageFormat, true, 3, nullptr},
        {"CAPS.WAD", "entry", kPackageWad, true, 1, nullptr},
        {"empty.pak", "nothing", kPackageFormat, true, 0, "no supported texture formats found in \"%1\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console.clear();
        const QString path = write(c.name, c.data);
        TexturePackage* package = Tex_AcquirePackage(&m, path);
        EXPECT_EQ(package->kind, c.kind);
        EXPECT_EQ(Tex_LoadPackage(&m, package, nullptr, dir.path(), QString()), c.loads);
        EXPECT_EQ(package->loaded, c.loads);
        EXPECT_EQ(package->shaders.size(), c.effects);
        EXPECT_TRUE(console.contains(QString("Loading textures from \"%1\"...").arg(path)));
        if (c.message) EXPECT_TRUE(console.contains(QString(c.message).arg(path)));
        for (ShaderRecord* s : package->shaders)
            EXPECT_EQ(s->package, package);
    }
    // Unreadable: false, and no format is blamed.
    console.clear();
    TexturePackage* missing = Tex_AcquirePackage(&m, dir.filePath("gone.tex"));
    EXPECT_FALSE(Tex_LoadPackage(&m, missing, nullptr, dir.path(), QString()));
    EXPECT_TRUE(console.lines.filter("couldn't load textures").isEmpty());
}

TEST_F(TexturePackageTest, FrameRingsAreCountedOnce) {
    ShaderRecord* effect = Tex_FindOrCreateShader("/anim", "anim", 0);
    TextureImage* frames[3];
    for (int i = 0; i < 3; ++i)
        frames[i] = Plugin_UploadImage(nullptr, QByteArray("f" + QByteArray::number(i)).constData(), 0, 0, 4,
                                       1, 1, true, nullptr);
    frames[0]->next = frames[1];
    frames[1]->next = frames[2];
    frames[2]->next = frames[0]; // a ring
    ShaderStage stage{};
    stage.frameChain = frames[0];
    Plugin_AddShaderStage(effect, &stage);
    Tex_LinkNewShaders(&m);
    EXPECT_FALSE(effect->flags & SHADER_NEW);
    EXPECT_EQ(effect->stages->frameCount, 3);
    for (TextureImage* f : frames)
        EXPECT_EQ(f->refCount, 2);
    Tex_LinkNewShaders(&m); // only new effects
    EXPECT_EQ(frames[1]->refCount, 2);
    for (TextureImage* f : frames)
        Plugin_FreeImage(f);
    Plugin_ReleaseShader(effect); // releases the ring once around
    EXPECT_TRUE(m.images.isEmpty());
}

TEST_F(TexturePackageTest, LeakReportLines) {
    TextureManager local;
    ShaderRecord* effect = Tex_CreateShader(&local, "/k", "left/over", 0);
    ++effect->refCount;
    Tex_UploadImage(&local, nullptr, "img", 0, 0, 4, 1, 1, 1, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Tex_ReportLeaks(&local), 2);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_NE(report.find("Texture manager: 2 memory leaks detected\n"
                          "-------------------------------------------\n"
                          "Shader `left/over': 2 reference(s)\n"
                          "Texture `img': 1 reference(s)\n"),
              std::string::npos)
        << report;
}

TEST_F(TexturePackageTest, Palettes) {
    QByteArray jasc = "JASC-PAL\r\n0100\r\n256\r\n300 -5 12\r\n010 20\r\n";
    for (int i = 2; i < 256; ++i)
        jasc += "1 2 3\r\n";
    QByteArray raw(768, char(7));
    const QByteArray shortJasc = [] {
        QByteArray t = "JASC-PAL\n0100\n256\n";
        for (int i = 0; i < 100; ++i)
            t += "1 1 1\n";
        return t;
    }();
    struct Case {
        const char* name;
        QByteArray data;
        bool ok;
        const char* warning;
    };
    const Case cases[] = {
        {"good.pal", jasc, true, nullptr},
        {"raw.pal", raw, true, nullptr},
        {"short.pal", raw.left(767), false, "palette must contain exactly 256 colors"},
        {"long.pal", raw + "x", false, "palette must contain exactly 256 colors"},
        {"count.pal", "JASC-PAL\n0100\n255\n", false, "palette must contain exactly 256 colors"},
        {"version.pal", "JASC-PAL\n0200\n256\n", false, "bad JASC palette version (0200)"},
        {"cut.pal", shortJasc, false, "palette is incomplete (stopped at color entry #100)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        console.clear();
        const QString path = write(c.name, c.data);
        EXPECT_EQ(Tex_LoadPalette(&m, dir.path(), path), c.ok);
        // A warning names the palette it is about.
        if (c.warning)
            EXPECT_TRUE(console.contains(path + ": " + c.warning)) << console.lines.join("|").toStdString();
        EXPECT_NE(Tex_FindPalette(&m, path), nullptr);
        EXPECT_TRUE(Tex_LoadPalette(&m, dir.path(), path)); // stored: asked again, true at once
    }
    const uint8_t* good = Tex_FindPalette(&m, dir.filePath("good.pal"));
    const uint8_t expected[] = {255, 0, 12, 10, 20, 12, 1, 2, 3};
    EXPECT_EQ(std::memcmp(good, expected, sizeof expected), 0);
    EXPECT_EQ(Tex_FindPalette(&m, dir.filePath("short.pal"))[0], 0xFF);
    EXPECT_EQ(Tex_FindPalette(&m, dir.filePath("cut.pal"))[300], 0xFF);
    EXPECT_EQ(Tex_FindPalette(&m, dir.filePath("raw.pal"))[767], 7);
    EXPECT_EQ(Tex_FindPalette(&m, "never"), nullptr);
}

} // namespace
