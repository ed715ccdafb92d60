// The effect script parser: fields and stage bytes per command, messages with their lines, and the
// keyword tables.
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "ImageFiles.h"
#include "core/Script.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"
#include "quake3/ShaderParser.h"

namespace {

struct Parsed {
    std::vector<std::string> errors; // "line: message"
};

void collect(int32_t line, const char* message, void* context) {
    static_cast<Parsed*>(context)->errors.push_back(std::to_string(line) + ": " + message);
}

class ShaderParser : public ::testing::Test {
protected:
    cConsoleCapture console;
    void TearDown() override {
        EXPECT_TRUE(g_mainWindow->textures.effects.isEmpty());
        EXPECT_TRUE(g_mainWindow->textures.images.isEmpty());
    }
    // Parses text (the block) into a fresh effect named name; check sees it before release.
    Parsed parse(const std::string& text, const std::function<void(ShaderRecord*)>& check = {},
                 const char* name = "test/effect") {
        Parsed parsed;
        ShaderRecord* effect = Tex_FindOrCreateShader("/key", name, 0);
        Script_LoadMemory(text.c_str(), uint32_t(text.size() + 1), 1);
        ParseShader(effect, nullptr, false, collect, &parsed);
        Script_Close();
        if (check) check(effect);
        Plugin_ReleaseShader(effect);
        return parsed;
    }
};

struct FieldCase {
    const char* text;
    std::function<void(const ShaderRecord*)> check;
};

TEST_F(ShaderParser, GlobalCommandsSetTheirFields) {
    const FieldCase cases[] = {
        {"{\nsurfaceParm nodraw\n}",
         [](const ShaderRecord* e) {
             EXPECT_EQ(e->surfaceFlags, 0x80);
             EXPECT_EQ(e->category & 0x21, 0x21);
         }},
        {"{\nsurfaceParm water\n}",
         [](const ShaderRecord* e) {
             EXPECT_EQ(e->contents, 0x20);
             EXPECT_EQ(e->category & 0xC0, 0xC0);
         }},
        {"{\nsurfaceParm playerclip\n}", [](const ShaderRecord* e) { EXPECT_EQ(e->category & 0x42, 0x42); }},
        {"{\nsurfaceParm hint\n}", [](const ShaderRecord* e) { EXPECT_EQ(e->category & 0x4, 0x4); }},
        {"{\nsurfaceParm trans\nsurfaceParm structural\n}",
         [](const ShaderRecord* e) { EXPECT_EQ(e->category & 0x104, 0x104); }},
        {"{\nsurfaceParm nodraw\nqer_nocarve\n}",
         [](const ShaderRecord* e) { EXPECT_EQ(e->category & 0x11, 0x10); }},
        {"{\nqer_trans 0.4\n}",
         [](const ShaderRecord* e) {
             EXPECT_FLOAT_EQ(e->opacity, 0.4f);
             EXPECT_TRUE(e->flags & SHADER_TRANSPARENT);
             EXPECT_EQ(e->blendCode, 101);
         }},
        {"{\nqer_trans 1\n}", [](const ShaderRecord* e) { EXPECT_FALSE(e->flags & SHADER_TRANSPARENT); }},
        {"{\nq3map_surfacelight 300\nq3map_lightimage x.tga\n}",
         [](const ShaderRecord* e) { EXPECT_EQ(e->value, 300); }},
        {"{\nsort additive\n}", [](const ShaderRecord* e) { EXPECT_EQ(e->sort, 16); }},
        {"{\ndeformVertexes wave 50 sin 1 2 3 4\n}",
         [](const ShaderRecord* e) {
             EXPECT_EQ(e->deforms[0].kind, 1);
             EXPECT_FLOAT_EQ(e->deforms[0].spread, 0.02f);
             EXPECT_EQ(e->deforms[0].wave.kind, 1);
             EXPECT_FLOAT_EQ(e->deforms[0].wave.frequency, 4);
         }},
        {"{\ndeformVertexes normal 2 3\ndeformVertexes bulge 4 5 6\ndeformVertexes move 1 2 3 square 0 1 0 "
         "2\n}",
         [](const ShaderRecord* e) {
             EXPECT_EQ(e->deforms[0].kind, 2);
             EXPECT_FLOAT_EQ(e->deforms[0].wave.amplitude, 2);
             EXPECT_FLOAT_EQ(e->deforms[0].wave.frequency, 3);
             EXPECT_EQ(e->deforms[1].kind, 3);
             EXPECT_FLOAT_EQ(e->deforms[1].bulgeSpeed, 6);
             EXPECT_EQ(e->deforms[2].kind, 5);
             EXPECT_FLOAT_EQ(e->deforms[2].move[2], 3);
             EXPECT_EQ(e->deforms[2].wave.kind, 3);
         }},
        {"{\ndeformVertexes text3\ndeformVertexes autosprite2\n}",
         [](const ShaderRecord* e) {
             EXPECT_EQ(e->deforms[0].kind, 12);
             EXPECT_EQ(e->deforms[1].kind, 8);
         }},
        {"{\nskyParms - 0 -\n}",
         [](const ShaderRecord* e) {
             EXPECT_FLOAT_EQ(e->cloudHeight, 512);
             EXPECT_FALSE(e->category & 0x400); // no stage
         }},
    };
    for (const FieldCase& c : cases) {
        SCOPED_TRACE(c.text);
        const Parsed p = parse(c.text, [&](ShaderRecord* e) { c.check(e); });
        EXPECT_TRUE(p.errors.empty()) << p.errors.front();
    }
}

TEST_F(ShaderParser, NamedEffectsGetTheirCategory) {
    parse(
        "{ surfaceParm nodraw }", [](ShaderRecord* e) { EXPECT_EQ(e->category & 0x9, 0x8); },
        "common/trigger");
    parse(
        "{ surfaceParm nodraw }", [](ShaderRecord* e) { EXPECT_EQ(e->category & 0x3, 0x2); },
        "common/weapclip");
}

struct StageCase {
    const char* stage;
    uint32_t stateBits;
    int32_t colorKind;
    int32_t alphaKind;
    int32_t texCoordKind;
};

TEST_F(ShaderParser, StageCommandsSetStageBytes) {
    // Kinds as the editor's finishing leaves them: opaque and additive stages of an effect with no
    // vertex-coloured stage take colour kind 5, the lightmap stage kind 9.
    const StageCase cases[] = {
        {"map $whiteimage", 0x100, 5, 1, 3},
        {"map $whiteimage\nblendFunc GL_ONE GL_ZERO", 0x100, 5, 1, 3},
        {"map $whiteimage\nblendFunc blend", 0x65, 5, 1, 3},
        {"map $whiteimage\ndepthWrite\nblendFunc blend", 0x165, 5, 1, 3},
        {"map $whiteimage\nblendFunc add", 0x22, 5, 1, 3},
        {"map $whiteimage\nblendFunc filter", 0x13, 2, 1, 3},
        {"map $whiteimage\nblendFunc GL_DST_COLOR GL_ONE_MINUS_DST_ALPHA", 0x83, 2, 1, 3},
        {"map $whiteimage\nrgbGen vertex", 0x100, 6, 1, 3},
        {"map $whiteimage\nrgbGen exactVertex\nalphaGen vertex", 0x100, 5, 4, 3},
        {"map $whiteimage\nrgbGen const ( 1 0.5 2 )\nalphaGen const 0.5", 0x100, 10, 1, 3},
        {"map $whiteimage\nalphaFunc GE128\ndepthFunc equal", 0x31100, 5, 1, 3},
        {"map $whiteimage\ntcGen environment", 0x100, 5, 1, 4},
        {"map $whiteimage\ntcGen vector ( 1 0 0 ) ( 0 1 0 )", 0x100, 5, 1, 5},
        {"map $lightmap\nrgbGen identity", 0x100, 9, 1, 3},
    };
    for (const StageCase& c : cases) {
        SCOPED_TRACE(c.stage);
        const std::string text = std::string("{\n{\n") + c.stage + "\n}\n}";
        const Parsed p = parse(text, [&](ShaderRecord* e) {
            ASSERT_NE(e->stages, nullptr);
            const ShaderStage* s = e->stages;
            EXPECT_EQ(uint32_t(s->stateBits), c.stateBits);
            EXPECT_EQ(s->colorKind, c.colorKind);
            EXPECT_EQ(s->alphaKind, c.alphaKind);
            EXPECT_EQ(s->texCoordKind, c.texCoordKind);
            EXPECT_EQ(s->next, nullptr);
        });
        EXPECT_TRUE(p.errors.empty()) << p.errors.front();
    }
}

TEST_F(ShaderParser, StageValuesAndModifiers) {
    parse("{\n{\nmap $lightmap\nrgbGen const ( 1 0.5 2 )\nalphaGen const 0.25\n"
          "tcMod scale 1 1\ntcMod scroll 1 2\ntcMod turb 9 0.1 0.2 0.3\ntcMod rotate 30\n"
          "tcMod stretch sin 1 2 3 4\n}\ncull none\n}",
          [](ShaderRecord* e) {
              const ShaderStage* s = e->stages;
              ASSERT_NE(s, nullptr);
              EXPECT_EQ(s->stageFlags & STAGE_LIGHTMAP, STAGE_LIGHTMAP);
              EXPECT_EQ(s->color[0], 255);
              EXPECT_EQ(s->color[1], 127);
              EXPECT_EQ(s->color[2], 255);
              EXPECT_EQ(s->color[3], 63);
              EXPECT_EQ(s->texCoordMods[0].kind, 3);
              EXPECT_FLOAT_EQ(s->texCoordMods[0].values[1], 2);
              EXPECT_EQ(s->texCoordMods[1].kind, 2);
              EXPECT_FLOAT_EQ(s->texCoordMods[1].wave.base, 0);
              EXPECT_FLOAT_EQ(s->texCoordMods[1].wave.amplitude, 0.1f);
              EXPECT_FLOAT_EQ(s->texCoordMods[1].wave.frequency, 0.3f);
              EXPECT_EQ(s->texCoordMods[2].kind, 7);
              EXPECT_EQ(s->texCoordMods[3].kind, 5);
              EXPECT_EQ(s->stateBits & 0x100000, 0x100000); // cull after the stage still applies
          });
}

struct MessageCase {
    const char* text;
    std::vector<std::string> errors;
};

TEST_F(ShaderParser, MessagesCarryTheirLines) {
    const MessageCase cases[] = {
        {"{\n{\nrgbGen identity\n}\n}", {"4: stage map not specified"}},
        {"{\nfoo bar\nsurfaceParm nodraw\n}", {"2: unexpected global command `foo'"}},
        {"{\nsurfaceParm bogus\n}", {"2: unknown surfaceParm `bogus'"}},
        // The map compiler's own keywords are no problem.
        {"{\nsurfaceparm botclip\nsurfaceparm antiportal\nsurfaceParm lightgrid\nsurfaceparm skip\n}", {}},
        {"{\ncull front\n}", {}},
        {"{\nsurfaceParm\n}", {"2: missing surfaceParm (constant)"}},
        {"{\nqer_trans\n}", {"2: missing `qer_trans' parameter (float)"}},
        {"{\ncull sideways\n}", {"2: unknown cull mode `sideways'"}},
        {"{\nqer_nocarve extra\n}", {"2: too many arguments"}},
        {"{\n{\nmap $whiteimage\nmap $whiteimage\n}\n}", {"4: stage map already defined"}},
        {"{\n{\nmap $whiteimage\nblendFunc GL_ONE\n}\n}", {"4: missing `blendFunc' parameter (constant)"}},
        {"{\n{\nmap $whiteimage\nblendFunc GL_BOGUS GL_ZERO\n}\n}",
         {"4: unknown source blend mode `GL_BOGUS'\n"}},
        {"{\n{\nmap $whiteimage\nrgbGen wave sin 1\n}\n}", {"4: missing wave function amplitude (float)\n"}},
        {"{\n{\nmap $whiteimage\nrgbGen wave bogus 1 2 3 4\n}\n}", {"4: unknown wave function `bogus'\n"}},
        {"{\n{\nmap $whiteimage\nalphaGen const\n}\n}", {"4:  missing `alphaGen' const parameter (float)"}},
        {"{\n{\nmap $whiteimage\nanimMap 0 $whiteimage\n}\n}", {"4: stage map already defined"}},
        {"{\n{\nanimMap 0 $whiteimage\n}\n}", {"3: illegal `animMap' framerate (0.000000)"}},
        {"{\n{\nmap $whiteimage\ntcMod scroll 1 1\ntcMod scroll 1 1\ntcMod scroll 1 1\ntcMod scroll 1 1\n"
         "tcMod scroll 1 1\ntcMod scroll 1 1\n}\n}",
         {"8: too many `tcMod' stages"}},
        {"{\n{\nmap $whiteimage\ntcMod spin 1\n}\n}", {"4: unknown `tcMod' function `spin'\n"}},
        {"{\ndeformVertexes wave 0 sin 0 1 0 1\n}",
         {"2: illegal `deformVertexes' wave parameter (0.000000)\n"}},
        {"{\ndeformVertexes\n}", {"2: missing `deformVertexes' function (constant)\n"}},
        {"{\nrgbGen const ( 1 1 }", {"2: unexpected global command `rgbGen'", "2: `}' expected"}},
        {"{\n{\nmap $whiteimage\nrgbGen const ( 1 1 )\n}\n}", {"4: `)' expected"}},
        {"{\n{\nmap $whiteimage\nrgbGen const ( 1\n}\n}", {"4: missing `rgbGen' vector element (float)"}},
        {"{\nfogParms 1 2 3\n}", {"2: `(' expected, got `1'", "2: illegal `fogParms' parameter (vec3)"}},
        {"{\nsort\n}", {"2: missing `sort' parameter (constant)"}},
        {"{\nsort sideways\n}", {"2: missing `sort' parameter (constant or float)"}},
        {"{\ntessSize 0\n}", {"2: invalid `tessSize' parameter 0"}},
        {"surfaceParm nodraw }", {"1: `{' expected"}},
        {"{\nsurfaceParm nodraw\n", {"3: `}' expected"}},
        {"{\n{\nmap $whiteimage\n", {"4: `}' expected", "4: `}' expected"}},
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parse(c.text).errors, c.errors);
    }
}

// Scripts saved with "\r\n" or bare "\r" line ends: every stage command is read, and messages
// carry the same lines as with "\n".
TEST_F(ShaderParser, EveryLineEndStyleReadsTheSame) {
    const std::string text = "{\n{\nmap $lightmap\nrgbGen identity\n}\n{\nmap $whiteimage\n"
                             "blendFunc GL_DST_COLOR GL_ZERO\n}\nbogus\n}";
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(eol == "\n" ? "LF" : eol == "\r" ? "CR" : "CRLF");
        std::string saved;
        for (char c : text)
            saved += c == '\n' ? eol : std::string(1, c);
        const Parsed p = parse(saved, [](ShaderRecord* e) {
            const ShaderStage* lightmap = e->stages;
            ASSERT_NE(lightmap, nullptr);
            EXPECT_EQ(lightmap->stageFlags & STAGE_LIGHTMAP, STAGE_LIGHTMAP);
            EXPECT_EQ(lightmap->colorKind, 9);
            EXPECT_EQ(uint32_t(lightmap->stateBits), 0x100u);
            const ShaderStage* filter = lightmap->next;
            ASSERT_NE(filter, nullptr);
            EXPECT_EQ(uint32_t(filter->stateBits), 0x13u) << "the blend function is kept";
            EXPECT_STREQ(static_cast<const char*>(e->pluginData),
                         "{\n{\nmap $lightmap\nrgbGen identity\n}\n{\nmap $whiteimage\n"
                         "blendFunc GL_DST_COLOR GL_ZERO\n}\nbogus\n}");
        });
        EXPECT_EQ(p.errors, std::vector<std::string>{"10: unexpected global command `bogus'"});
    }
}

TEST_F(ShaderParser, NullEffectOnlyChecks) {
    const std::string text = "{\n{\nrgbGen identity\n}\n}";
    Parsed p;
    Script_LoadMemory(text.c_str(), uint32_t(text.size() + 1), 1);
    EXPECT_TRUE(ParseShader(nullptr, nullptr, false, collect, &p));
    Script_Close();
    EXPECT_EQ(p.errors, std::vector<std::string>{"4: stage map not specified"});
}

TEST_F(ShaderParser, BuildSourceCodeChecksTrailingText) {
    ShaderRecord* effect = Tex_FindOrCreateShader("/key", "test/build", 0);
    Parsed p;
    const char* text = "{\n{\nmap $whiteimage\n}\n}\nextra words\n";
    EXPECT_TRUE(BuildSourceCode(text, effect, collect, &p));
    EXPECT_EQ(p.errors, std::vector<std::string>{"6: `extra' unexpected here"});
    EXPECT_STREQ(static_cast<const char*>(effect->pluginData), text);
    ASSERT_NE(effect->stages, nullptr);
    EXPECT_FALSE(BuildSourceCode(nullptr, effect, collect, &p));
    Plugin_ReleaseShader(effect);
}

TEST_F(ShaderParser, ImagesOfStagesAndSkyBoxes) {
    QTemporaryDir dir;
    const QByteArray tga = TgaFile(2, 2, 2, 24, 0x20, QByteArray(12, char(100)));
    for (const char* name : {"wall.tga", "sky_ft.tga", "sky_up.tga"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(tga);
    }
    const std::string base = dir.path().toStdString();
    parse("{\nskyParms " + base + "/sky 0 -\n{\nmap " + base + "/wall.tga\n}\n}", [&](ShaderRecord* e) {
        EXPECT_EQ(e->category & 0x600, 0x600);
        ASSERT_NE(e->box[0], nullptr);
        EXPECT_EQ(e->box[0]->width, 2);
        EXPECT_EQ(e->box[1], Plugin_WhiteImage()); // no sky_bk
        EXPECT_EQ(e->box[4]->width, 2);
        ASSERT_NE(e->image, nullptr);
        EXPECT_EQ(e->image, e->stages->frames[0]);
        EXPECT_EQ(e->image->refCount, 2); // the stage and the editor image
        EXPECT_EQ(e->width, 2);
    });
}

TEST_F(ShaderParser, KeywordTables) {
    EXPECT_EQ(ShaderKeywordCount(), 198);
    EXPECT_EQ(SurfaceParmCount(), 37);
    char buffer[4096];
    EXPECT_EQ(ListShaderKeywords("surfaceparm", 1, buffer, sizeof buffer), 37);
    EXPECT_EQ(std::strncmp(buffer, "water slime ", 12), 0);
    EXPECT_EQ(ListShaderKeywords("blendFunc", 2, buffer, sizeof buffer), 14);
    EXPECT_EQ(ListShaderKeywords(nullptr, 2, buffer, sizeof buffer), 15);
    EXPECT_EQ(ListShaderKeywords(nullptr, -1, buffer, sizeof buffer), 90);
    EXPECT_EQ(LookupShaderKeyword("BLENDFUNC", "BLENDFUNC", 2, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "blendFunc");
    EXPECT_EQ(LookupShaderKeyword("gl_one", "blendfunc", 2, buffer, sizeof buffer), 2);
    EXPECT_STREQ(buffer, "GL_ONE");
    EXPECT_EQ(LookupShaderKeyword("NODRAW", "surfaceParm", 1, buffer, sizeof buffer), 2);
    EXPECT_STREQ(buffer, "nodraw");
    EXPECT_EQ(LookupShaderKeyword("map", "map", 1, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

} // namespace
