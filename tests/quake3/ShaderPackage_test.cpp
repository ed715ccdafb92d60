// Effect scripts as packages: entries registered with the texture manager, damaged scripts
// recovered from so later entries load intact, counts that agree with what loads.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"
#include "quake3/ShaderPackage.h"

namespace {

class ShaderPackage : public ::testing::Test {
protected:
    cConsoleCapture console;
    TextureManager& m = g_mainWindow->textures;
    QTemporaryDir dir;
    TexturePackage* package = nullptr;

    void TearDown() override {
        Tex_FreePackages(&m);
        EXPECT_EQ(Tex_ReportLeaks(&m), 0);
    }
    QByteArray write(const QByteArray& text) {
        QDir().mkpath(dir.filePath("scripts"));
        const QString path = dir.filePath("scripts/test.shader");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
        return QFile::encodeName(path);
    }
    // Loads the script as the package being loaded, as the manager does.
    void load(const QByteArray& path) {
        package = Tex_AcquirePackage(&m, QString::fromUtf8(path));
        package->loaded = true;
        m.loading = package;
        EXPECT_EQ(ShaderPackage_Load(0, path.constData()), 1);
        m.loading = nullptr;
    }
    ShaderRecord* effect(const char* name) { return Tex_FindShader(&m, name); }
};

const char kDamaged[] = "}\n"                             // 1 stray brace first
                        "textures/a/one\n"                // 2
                        "{\n"                             // 3
                        "\t{\n\t\tmap $whiteimage\n\t}\n" // 4-6
                        "}\n"                             // 7
                        "textures/a/two\n"                // 8
                        "{\n"                             // 9
                        "\tsurfaceparm nodraw\n"          // 10
                        "\tbogus command here\n"          // 11: unknown command
                        "textures/a/three\n"              // 12: the effect's "}" is missing
                        "{\n"                             // 13
                        "\t{\n"                           // 14
                        "\t\tmap $whiteimage\n"           // 15
                        "\t\trgbGen vertex\n"             // 16: the stage's "}" is missing
                        "textures/a/four\n"               // 17
                        "{\n"                             // 18
                        "}\n"                             // 19
                        "noblock_name\n"                  // 20: a name without a block
                        "textures/a/one\n"                // 21: defined twice
                        "{\n"                             // 22
                        "\tqer_trans 0.5\n"               // 23
                        "}\n"                             // 24
                        "models/x/lamp\n"                 // 25
                        "{\n}\n"                          // 26-27
                        "{\n\tstray block\n}\n";          // 28-30 stray block last

// What the load says about the damaged script: each problem by its line.
const char kDamagedProblems[] = "Line 1: stray brace skipped; Line 11: unexpected global command `bogus'; "
                                "Line 12: `}' expected; Line 17: `}' expected; "
                                "Line 20: `{' expected after `noblock_name'; Line 28: stray brace skipped";

TEST_F(ShaderPackage, DamagedScriptsLoadEveryLaterEntry) {
    const QByteArray path = write(kDamaged);
    int32_t count = -1;
    EXPECT_EQ(ShaderPackage_GetInfo(0, path.constData(), &count), 1);
    EXPECT_EQ(count, 6);
    load(path);

    const char* names[] = {"a/one", "a/two", "a/three", "a/four", "models/x/lamp"};
    EXPECT_EQ(package->shaders.size(), 5);
    for (const char* name : names) {
        SCOPED_TRACE(name);
        ShaderRecord* e = effect(name);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->refCount, 1);
        EXPECT_EQ(e->package, package);
        EXPECT_STREQ(e->scriptPath, path.constData());
    }
    EXPECT_EQ(effect("models/x/lamp")->flags & 16, 16);
    EXPECT_EQ(effect("a/two")->flags & 16, 0);
    // The second definition replaced the first.
    EXPECT_FLOAT_EQ(effect("a/one")->opacity, 0.5f);
    EXPECT_EQ(effect("a/one")->stages, nullptr);
    EXPECT_EQ(effect("a/two")->surfaceFlags, 0x80);
    ASSERT_NE(effect("a/three")->stages, nullptr);
    EXPECT_EQ(effect("a/three")->stages->colorKind, 6);
    // One warning names the script and what is wrong in it, line by line.
    EXPECT_TRUE(console.contains(QString::fromUtf8(path) + ": 6 problems: " + kDamagedProblems))
        << console.lines.join("\n").toStdString();
    EXPECT_EQ(console.lines.filter("Line ").size(), 1) << console.lines.join("\n").toStdString();
}

// The same script saved with bare "\r" line ends: the same entries and the same lines warned about.
TEST_F(ShaderPackage, CarriageReturnScriptsReadAsTheirLines) {
    QByteArray text(kDamaged);
    text.replace('\n', '\r');
    const QByteArray path = write(text);
    int32_t count = -1;
    EXPECT_EQ(ShaderPackage_GetInfo(0, path.constData(), &count), 1);
    EXPECT_EQ(count, 6);
    load(path);
    EXPECT_EQ(package->shaders.size(), 5);
    ASSERT_NE(effect("a/three"), nullptr);
    ASSERT_NE(effect("a/three")->stages, nullptr);
    EXPECT_EQ(effect("a/three")->stages->colorKind, 6);
    EXPECT_TRUE(console.contains(kDamagedProblems)) << console.lines.join("\n").toStdString();
    EXPECT_EQ(console.lines.filter("Line ").size(), 1) << console.lines.join("\n").toStdString();
}

// Effects no stage of which the editor can vertex-colour are said in one line for their file;
// skies and fog volumes are never vertex coloured and are not among them.
TEST_F(ShaderPackage, EffectsWithoutVertexColouringAreSaidOncePerFile) {
    const char* stage = "{\nmap $whiteimage\nblendfunc filter\n}\n";
    const QByteArray path = write(QByteArray("textures/a/glow\n{\n") + stage + "}\ntextures/a/flame\n{\n" +
                                  stage + "}\ntextures/a/sky\n{\nskyparms - 512 -\n" + stage +
                                  "}\ntextures/a/fog\n{\nfogparms ( 1 1 1 ) 300\n" + stage + "}\n");
    package = Tex_AcquirePackage(&m, QString::fromUtf8(path));
    EXPECT_TRUE(Tex_LoadPackage(&m, package, nullptr, dir.path(), QString()));
    EXPECT_TRUE(
        console.contains(QString::fromUtf8(path) +
                         ": 2 effects have no appropriate stages for vertex coloring mode (a/glow, a/flame)"))
        << console.lines.join("\n").toStdString();
    EXPECT_EQ(console.lines.filter("appropriate stages").size(), 1) << console.lines.join("\n").toStdString();
}

TEST_F(ShaderPackage, CountsOfPlainScripts) {
    struct Case {
        const char* text;
        int32_t count;
    };
    const Case cases[] = {
        {"", 0},
        {"a/b\n{\n}\nc/d\n{\n{\nmap x\n}\n}\ne/f\n{\n}\n}\n", 3},
        {"a/b\n{\n{\n}\n", 1},
        {"{\n}\n{\n}\n", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int32_t count = -1;
        EXPECT_EQ(ShaderPackage_GetInfo(0, write(c.text).constData(), &count), 1);
        EXPECT_EQ(count, c.count);
    }
    int32_t count = -1;
    EXPECT_EQ(ShaderPackage_GetInfo(1, write("a\n{\n}\n").constData(), &count), 0);
    EXPECT_EQ(ShaderPackage_GetInfo(0, "/no/such.shader", &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ShaderPackage_Load(0, "/no/such.shader"), 0);
}

TEST_F(ShaderPackage, OneEntryIsReadAgainFromItsScript) {
    const QByteArray path = write("textures/a/one\n{\n}\ntextures/a/two\n{\nqer_trans 0.25\n}\n");
    EXPECT_EQ(LoadShaderFromScript(path.constData(), "A/TWO"), 1);
    ShaderRecord* two = effect("a/two");
    ASSERT_NE(two, nullptr);
    EXPECT_FLOAT_EQ(two->opacity, 0.25f);
    EXPECT_EQ(effect("a/one"), nullptr);
    EXPECT_EQ(LoadShaderFromScript(path.constData(), "a/three"), 0);
    Plugin_ReleaseShader(two);
}

TEST_F(ShaderPackage, ClassifyShaderPathGivesTheDefaultText) {
    ShaderRecord* e = Tex_FindOrCreateShader("/k", "k", 0);
    EXPECT_FALSE(ClassifyShaderPath("/elsewhere/a.tga", e));
    EXPECT_EQ(e->pluginData, nullptr);
    EXPECT_TRUE(ClassifyShaderPath("/game/baseq3/Textures/base/a.tga", e));
    EXPECT_STREQ(static_cast<const char*>(e->pluginData),
                 "{\n\t{\n\t\tmap \"Textures/base/a.tga\"\n\t\trgbGen identity\n\t}\n}");
    Plugin_ReleaseShader(e);
}

struct WriteCase {
    const char* eol;
};

TEST_F(ShaderPackage, WritingReplacesOneEntryAndKeepsTheOthers) {
    // Scripts saved with any line end (a bare "\r" too) keep it, and a comment ends at its own line.
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(eol[0] == '\r' ? (eol[1] ? "CRLF" : "CR") : "LF");
        const std::string nl = eol;
        std::string original;
        std::vector<std::string> entries;
        for (int i = 1; i <= 5; ++i) {
            const std::string entry = "// effect " + std::to_string(i) + nl + "textures/w/e" +
                                      std::to_string(i) + nl + "{" + nl + "\tqer_trans 0." +
                                      std::to_string(i) + nl + "\t{" + nl + "\t\tmap $whiteimage" + nl +
                                      "\t}" + nl + "}" + nl;
            entries.push_back(entry);
            original += entry;
        }
        const QByteArray path = write(QByteArray::fromStdString(original));
        ShaderRecord* changed = Tex_FindOrCreateShader("/c", "w/E3", 0);
        changed->pluginData = Sys_StrDup("{\n\tqer_nocarve\n}");
        ShaderRecord* added = Tex_FindOrCreateShader("/a", "w/new", 0);
        added->pluginData = Sys_StrDup("{\n}");
        changed->nextInScript = added;
        ASSERT_TRUE(WriteShaderScript(path.constData(), changed, true));
        QFile f(QString::fromUtf8(path));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const std::string result = f.readAll().toStdString();
        const std::string expected = entries[0] + entries[1] + "// effect 3" + nl + "textures/w/e3" + nl +
                                     "{" + nl + "\tqer_nocarve" + nl + "}" + nl + entries[3] + entries[4] +
                                     "textures/w/new" + nl + "{" + nl + "}" + nl;
        EXPECT_EQ(result, expected);
        EXPECT_STREQ(changed->scriptPath, path.constData());
        EXPECT_STREQ(added->scriptPath, path.constData());
        Plugin_ReleaseShader(changed);
        Plugin_ReleaseShader(added);
    }
}

TEST_F(ShaderPackage, AFailedWriteKeepsTheOldScript) {
    const QByteArray path = write("textures/a/b\n{\n}\n");
    QDir().mkpath(QString::fromUtf8(path) + ".tmp"); // the temporary file cannot be made
    ShaderRecord* e = Tex_FindOrCreateShader("/c", "a/b", 0);
    e->pluginData = Sys_StrDup("{\n\tqer_nocarve\n}");
    EXPECT_FALSE(WriteShaderScript(path.constData(), e, true));
    EXPECT_TRUE(console.contains(QString("can't write \"%1\"").arg(QString::fromUtf8(path))));
    QFile f(QString::fromUtf8(path));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("textures/a/b\n{\n}\n"));
    Plugin_ReleaseShader(e);
}

} // namespace
