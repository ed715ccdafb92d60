// Effect script parser. The tokenizer is the editor's (one global state); the error callback is
// process-wide for the length of a parse, as the plugin is not re-entrant.
#include "quake3/ShaderParser.h"

#include <algorithm>
#include <iterator>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "gamedata/TextureRecords.h"
#include "quake3/EngineServices.h"
#include "quake3/Images.h"
#include "quake3/ShaderServices.h"
#include "quake3/ShaderValues.h"

using namespace shaderscript;

namespace {

char s_nextEntry[64] = {};
bool s_hasNextEntry = false;

constexpr NamedCode kSourceBlends[] = {{"GL_ZERO", 1},
                                       {"GL_ONE", 2},
                                       {"GL_DST_COLOR", 3},
                                       {"GL_ONE_MINUS_DST_COLOR", 4},
                                       {"GL_SRC_ALPHA", 5},
                                       {"GL_ONE_MINUS_SRC_ALPHA", 6},
                                       {"GL_DST_ALPHA", 7},
                                       {"GL_ONE_MINUS_DST_ALPHA", 8},
                                       {"GL_SRC_ALPHA_SATURATE", 9}};
constexpr NamedCode kDestBlends[] = {{"GL_ZERO", 0x10},      {"GL_ONE", 0x20},
                                     {"GL_SRC_COLOR", 0x30}, {"GL_ONE_MINUS_SRC_COLOR", 0x40},
                                     {"GL_SRC_ALPHA", 0x50}, {"GL_ONE_MINUS_SRC_ALPHA", 0x60},
                                     {"GL_DST_ALPHA", 0x70}, {"GL_ONE_MINUS_DST_ALPHA", 0x80}};
// "front" names the default the game also accepts.
constexpr NamedCode kCull[] = {{"none", 0x100000}, {"twosided", 0x100000},  {"disable", 0x100000},
                               {"back", 0x200000}, {"backsided", 0x200000}, {"backside", 0x200000},
                               {"front", 0}};
constexpr NamedCode kAlphaFuncs[] = {{"GT0", 0x10000}, {"LT128", 0x20000}, {"GE128", 0x30000}};
constexpr NamedCode kRgbGens[] = {
    {"identityLighting", 1}, {"identity", 2},       {"entity", 3}, {"oneMinusEntity", 4},  {"exactVertex", 5},
    {"vertex", 6},           {"oneMinusVertex", 7}, {"wave", 8},   {"lightingDiffuse", 9}, {"const", 10}};
constexpr NamedCode kAlphaGens[] = {{"identity", 0}, {"entity", 2},         {"oneMinusEntity", 3},
                                    {"vertex", 4},   {"oneMinusVertex", 5}, {"lightingSpecular", 6},
                                    {"wave", 7},     {"portal", 8},         {"const", 9}};
constexpr NamedCode kTcGens[] = {
    {"lightmap", 2}, {"texture", 3}, {"base", 3}, {"environment", 4}, {"vector", 5}};
constexpr const char* kSorts[] = {"portal", "sky",      "opaque",  "decal",     "seeThrough",
                                  "banner", "additive", "nearest", "underwater"};

struct SurfaceParm {
    const char* name;
    bool clearsSolid;
    int32_t surfaceFlags;
    uint32_t contents;
};
constexpr SurfaceParm kSurfaceParms[] = {
    {"water", true, 0, 0x20},
    {"slime", true, 0, 0x10},
    {"lava", true, 0, 0x8},
    {"playerclip", true, 0, 0x10000},
    {"monsterclip", true, 0, 0x20000},
    {"nodrop", true, 0, 0x80000000u},
    {"nonsolid", true, 0x4000, 0},
    {"origin", true, 0, 0x1000000},
    {"trans", false, 0, 0x20000000},
    {"detail", false, 0, 0x8000000},
    {"structural", false, 0, 0x10000000},
    {"areaportal", true, 0, 0x8000},
    {"clusterportal", true, 0, 0x100000},
    {"donotenter", true, 0, 0x200000},
    {"fog", true, 0, 0x40},
    {"sky", false, 0x4, 0},
    {"lightfilter", false, 0x8000, 0},
    {"alphashadow", false, 0x10000, 0},
    {"hint", false, 0x100, 0},
    {"slick", false, 0x2, 0},
    {"noimpact", false, 0x10, 0},
    {"nomarks", false, 0x20, 0},
    {"ladder", false, 0x8, 0},
    {"nodamage", false, 0x1, 0},
    {"metalsteps", false, 0x1000, 0},
    {"flesh", false, 0x40, 0},
    {"nosteps", false, 0x2000, 0},
    {"nodraw", false, 0x80, 0},
    {"pointlight", false, 0x800, 0},
    {"nolightmap", false, 0x400, 0},
    {"nodlight", false, 0x20000, 0},
    {"dust", false, 0x40000, 0},
    {"nomipmaps", false, 0, 0},
    // Known to the game's map compiler: a clip for the game's bots alone, brushes that only steer
    // visibility or bound the light grid, and faces the compiler leaves out.
    {"botclip", true, 0, 0x400000},
    {"antiportal", false, 0, 0},
    {"lightgrid", false, 0, 0},
    {"skip", false, 0x200, 0},
};
static_assert(std::size(kSurfaceParms) == 37);

// Effect flag bits a surface parameter row implies.
int32_t surfaceParmEffectFlags(const SurfaceParm& row) {
    int32_t flags = 0;
    if (row.clearsSolid) flags |= 0x40;
    if (row.surfaceFlags & 0x80) flags |= 0x1;
    if (row.surfaceFlags & 0x100) flags |= 0x4;
    if (row.surfaceFlags & 0x4) flags |= 0x400;
    if (row.surfaceFlags & (0x80 | 0x20)) flags |= 0x20;
    if (row.contents & (0x8 | 0x10 | 0x20)) flags |= 0x80;
    if (row.contents & (0x10000 | 0x20000 | 0x200000 | 0x400000)) flags |= 0x2;
    if (row.contents & 0x40) flags |= EFFECT_FOG;
    if (row.contents & 0x20000000) flags |= 0x100;
    return flags;
}

enum class BlockEnd { Closed, Open, NextEntry };

// A line's first word holding "/" that is no command, followed by "{": the next entry of a script
// whose closing brace is missing. The name is kept and the "{" pushed back.
bool nextEntryFollows(bool firstOnLine) {
    if (!firstOnLine || !std::strchr(token(), '/')) return false;
    char name[64];
    std::snprintf(name, sizeof name, "%s", token());
    const int32_t line = Eng_ScriptLine();
    if (!Eng_ScriptTryGetToken(true)) return false;
    if (std::strcmp(token(), "{") != 0) {
        // Not an entry: leave the token to the caller's line handling.
        if (Eng_ScriptLine() != line) Eng_ScriptUngetToken();
        return false;
    }
    Eng_ScriptUngetToken();
    std::memcpy(s_nextEntry, name, sizeof name);
    s_hasNextEntry = true;
    reportAt(line, "`}' expected");
    return true;
}

struct ParseState {
    ShaderRecord* effect = nullptr;
    int32_t cull = 0;
    int32_t deforms = 0;
    bool editorImage = false;
    char editorImagePath[260] = {};
    char farBox[260] = {};
};

TextureImage* stageImage(ShaderRecord* effect, const char* name, ShaderStage* stage) {
    if (same(name, "$whiteimage")) return Eng_WhiteImage();
    if (same(name, "$lightmap")) {
        stage->stageFlags |= STAGE_LIGHTMAP;
        return Eng_WhiteImage();
    }
    if (!effect) return nullptr;
    TextureImage* image = LoadImageByName(effect, name, true);
    if (image) ++image->refCount;
    return image;
}

BlockEnd parseStage(ParseState& state) {
    ShaderRecord* effect = state.effect;
    ShaderStage stage{};
    std::memset(stage.color, 255, sizeof stage.color);
    int32_t source = 0, dest = 0, depth = 0, alphaTest = 0, depthWrite = 0x100;
    bool explicitDepthWrite = false;
    bool hasImage = false;
    int32_t mods = 0;
    bool tooManyMods = false;
    BlockEnd end = BlockEnd::Open;
    int32_t previousLine = Eng_ScriptLine();

    auto setImage = [&](const char* command, int32_t slot) -> bool {
        if (!onLine()) {
            report("missing `%s' parameter (string)", command);
            return false;
        }
        stage.frames[slot] = stageImage(effect, token(), &stage);
        return true;
    };

    while (true) {
        if (!Eng_ScriptTryGetToken(true)) {
            report("`}' expected");
            break;
        }
        const bool firstOnLine = Eng_ScriptLine() != previousLine;
        const char* command = token();
        if (std::strcmp(command, "}") == 0) {
            end = BlockEnd::Closed;
            break;
        }
        const bool imageCommand = same(command, "map") || same(command, "clampMap") ||
                                  same(command, "animMap") || same(command, "clampAnimMap") ||
                                  same(command, "videoMap");
        if (imageCommand && hasImage) {
            report("stage map already defined");
            Eng_ScriptSkipRestOfLine();
        } else if (same(command, "map") || same(command, "clampMap")) {
            const bool clamp = same(command, "clampMap");
            if (setImage(clamp ? "clampMap" : "map", 0)) {
                hasImage = true;
                if (clamp) stage.stageFlags |= STAGE_CLAMP;
                endOfLine();
            }
        } else if (same(command, "animMap") || same(command, "clampAnimMap")) {
            char name[64];
            std::snprintf(name, sizeof name, "%s", command);
            if (same(name, "clampAnimMap")) stage.stageFlags |= STAGE_CLAMP;
            if (!readFloat(&stage.frameRate)) {
                report("missing `%s' framerate (float)", name);
            } else {
                if (stage.frameRate == 0) {
                    report("illegal `%s' framerate (%f)", name, stage.frameRate);
                    stage.frameRate = 1;
                }
                if (setImage(name, 0)) {
                    hasImage = true;
                    for (int32_t frame = 1; onLine(); ++frame) {
                        if (frame >= kStageFrames) {
                            report("too many animations");
                            Eng_ScriptSkipRestOfLine();
                            break;
                        }
                        stage.frames[frame] = stageImage(effect, token(), &stage);
                    }
                }
            }
        } else if (same(command, "videoMap")) {
            if (!onLine()) {
                report("missing `videoMap' parameter (string)");
            } else {
                stage.frames[0] = Eng_WhiteImage();
                hasImage = true;
                endOfLine();
            }
        } else if (same(command, "alphaFunc")) {
            if (!onLine()) {
                report("missing `alphaFunc' parameter (constant)");
            } else {
                alphaTest = lookup(kAlphaFuncs, token());
                if (alphaTest < 0) {
                    report("unknown alphaFunc `%s'\n", token());
                    alphaTest = 0;
                }
                endOfLine();
            }
        } else if (same(command, "depthFunc")) {
            if (!onLine()) {
                report("missing `depthFunc' parameter (constant)");
            } else {
                if (same(token(), "equal"))
                    depth = 0x1000;
                else if (same(token(), "lequal"))
                    depth = 0;
                else {
                    report("unknown depthFunc `%s'\n", token());
                    depth = 0;
                }
                endOfLine();
            }
        } else if (same(command, "blendFunc")) {
            if (!onLine()) {
                report("missing `blendFunc' parameter (constant)");
            } else {
                if (same(token(), "add")) {
                    source = 2, dest = 0x20;
                } else if (same(token(), "filter")) {
                    source = 3, dest = 0x10;
                } else if (same(token(), "blend")) {
                    source = 5, dest = 0x60;
                } else {
                    source = lookup(kSourceBlends, token());
                    if (source < 0) {
                        report("unknown source blend mode `%s'\n", token());
                        source = 2;
                    }
                    if (!onLine()) {
                        source = 0;
                        report("missing `blendFunc' parameter (constant)");
                    } else {
                        dest = lookup(kDestBlends, token());
                        if (dest < 0) {
                            report("unknown destination blend mode `%s'\n", token());
                            dest = 0x20;
                        }
                    }
                }
                if (!explicitDepthWrite) depthWrite = 0;
                endOfLine();
            }
        } else if (same(command, "depthWrite")) {
            depthWrite = 0x100;
            explicitDepthWrite = true;
            endOfLine();
        } else if (same(command, "rgbGen")) {
            if (!onLine()) {
                report("missing `rgbGen' parameter (constant)");
            } else {
                const int32_t code = lookup(kRgbGens, token());
                if (code < 0) {
                    report("unknown `rgbGen' function `%s'\n", token());
                    Eng_ScriptSkipRestOfLine();
                } else {
                    stage.colorKind = code;
                    bool done = true;
                    if (code == 8) done = parseWave(&stage.colorWave);
                    if (code == 10) {
                        float rgb[3] = {};
                        done = parseVector("rgbGen", rgb);
                        if (done)
                            for (int i = 0; i < 3; ++i)
                                stage.color[i] = colourByte(rgb[i]);
                    }
                    if (code == 6 && stage.alphaKind == 0) stage.alphaKind = 4;
                    if (done)
                        endOfLine();
                    else
                        Eng_ScriptSkipRestOfLine();
                }
            }
        } else if (same(command, "alphaGen")) {
            if (!onLine()) {
                report("missing `alphaGen' parameter (constant)");
            } else {
                const int32_t code = lookup(kAlphaGens, token());
                if (code < 0) {
                    report("unknown `alphaGen' function `%s'\n", token());
                    Eng_ScriptSkipRestOfLine();
                } else {
                    stage.alphaKind = code;
                    bool done = true;
                    float value = 0;
                    if (code == 7) done = parseWave(&stage.alphaWave);
                    if (code == 9) {
                        done = readFloat(&value);
                        if (done)
                            stage.color[3] = colourByte(value);
                        else
                            report(" missing `alphaGen' const parameter (float)");
                    }
                    if (code == 8) {
                        if (!readFloat(&value)) {
                            report(" missing `alphaGen' portal parameter (float)");
                            value = 256;
                            done = false;
                        }
                        if (effect) effect->portalRange = value;
                    }
                    if (done)
                        endOfLine();
                    else
                        Eng_ScriptSkipRestOfLine();
                }
            }
        } else if (same(command, "tcGen") || same(command, "texGen")) {
            if (!onLine()) {
                report("missing `tcGen' parameter (constant)");
            } else {
                const int32_t code = lookup(kTcGens, token());
                if (code < 0) {
                    report("unknown `tcGen' function `%s'\n", token());
                    Eng_ScriptSkipRestOfLine();
                } else {
                    stage.texCoordKind = code;
                    if (code == 5 &&
                        (!parseVector("tcGen", stage.sVector) || !parseVector("tcGen", stage.tVector)))
                        Eng_ScriptSkipRestOfLine();
                    else
                        endOfLine();
                }
            }
        } else if (same(command, "tcMod")) {
            if (mods >= 4) {
                if (!tooManyMods) report("too many `tcMod' stages");
                tooManyMods = true;
            } else {
                TexCoordMod mod{};
                if (parseTcMod(&mod)) stage.texCoordMods[mods++] = mod;
            }
            Eng_ScriptSkipRestOfLine();
        } else if (same(command, "detail")) {
            endOfLine();
        } else if (nextEntryFollows(firstOnLine)) {
            end = BlockEnd::NextEntry;
            break;
        } else {
            report("unexpected stage command `%s'", token());
            if (std::strcmp(token(), "{") == 0)
                skipBlock();
            else
                Eng_ScriptSkipRestOfLine();
        }
        previousLine = Eng_ScriptLine();
    }

    if (!hasImage) report("stage map not specified");
    if (!effect) return end;
    if (stage.colorKind == 0) stage.colorKind = (source == 0 || source == 2 || source == 5) ? 1 : 2;
    if (source == 2 && dest == 0x10) {
        source = dest = 0;
        depthWrite = 0x100;
    }
    if (stage.alphaKind == 0 && (stage.colorKind == 2 || stage.colorKind == 9)) stage.alphaKind = 1;
    if (stage.alphaKind == 4 && (stage.colorKind == 6 || stage.colorKind == 9)) stage.alphaKind = 1;
    if (stage.alphaKind == 9 && stage.colorKind == 10) stage.alphaKind = 1;
    stage.stateBits = source | dest | depth | depthWrite | alphaTest;
    Eng_AddShaderStage(effect, &stage);
    return end;
}

void parseSkyParms(ParseState& state) {
    ShaderRecord* effect = state.effect;
    if (effect) effect->category |= EFFECT_SKY;
    if (!onLine()) {
        report("missing `skyParms' parameter (string)");
        return;
    }
    if (std::strcmp(token(), "-") != 0) std::snprintf(state.farBox, sizeof state.farBox, "%s", token());
    float height = 0;
    if (!readFloat(&height)) {
        report("missing `skyParms' parameter (float)");
        return;
    }
    if (effect) effect->cloudHeight = height == 0 ? 512.0f : height;
    if (!onLine()) {
        report("missing `skyParms' parameter (string)");
        return;
    }
    endOfLine();
}

// Global command; returns the block's end when it ends the block, else Open.
BlockEnd parseGlobal(ParseState& state, bool firstOnLine) {
    ShaderRecord* effect = state.effect;
    const char* command = token();
    float value = 0;
    if (std::strcmp(command, "{") == 0) return parseStage(state);
    if (same(command, "q3map_surfacelight")) {
        if (!onLine())
            report("missing `q3map_surfacelight' parameter (integer)");
        else {
            if (effect) effect->value = std::atoi(token());
            endOfLine();
        }
    } else if (strncasecmp(command, "q3map", 5) == 0) {
        Eng_ScriptSkipRestOfLine();
    } else if (same(command, "surfaceParm")) {
        if (!onLine()) {
            report("missing surfaceParm (constant)");
        } else {
            const SurfaceParm* row = nullptr;
            for (const SurfaceParm& r : kSurfaceParms)
                if (same(r.name, token())) row = &r;
            if (!row) {
                report("unknown surfaceParm `%s'", token());
                Eng_ScriptSkipRestOfLine();
            } else {
                if (effect) {
                    effect->surfaceFlags |= row->surfaceFlags;
                    effect->contents |= static_cast<int32_t>(row->contents);
                    effect->category |= surfaceParmEffectFlags(*row);
                }
                endOfLine();
            }
        }
    } else if (same(command, "qer_nocarve")) {
        if (effect) effect->category |= EFFECT_NO_CARVE;
        endOfLine();
    } else if (same(command, "qer_trans")) {
        if (!readFloat(&value)) {
            report("missing `qer_trans' parameter (float)");
        } else {
            if (effect) {
                effect->opacity = value;
                if (value > 0 && value < 1) {
                    effect->flags |= SHADER_TRANSPARENT;
                    effect->blendCode = 101;
                }
            }
            endOfLine();
        }
    } else if (same(command, "qer_editorImage")) {
        if (!onLine()) {
            report("missing `qer_editorImage' parameter (string)");
        } else {
            if (state.editorImage) report("`qer_editorImage' already defined");
            state.editorImage = true;
            std::snprintf(state.editorImagePath, sizeof state.editorImagePath, "%s", token());
            endOfLine();
        }
    } else if (same(command, "cull")) {
        if (!onLine()) {
            report("missing `cull' parameter (constant)");
        } else {
            const int32_t bits = lookup(kCull, token());
            if (bits < 0)
                report("unknown cull mode `%s'", token());
            else
                state.cull = bits;
            endOfLine();
        }
    } else if (same(command, "deformVertexes")) {
        if (state.deforms >= 3) {
            report("too many `deformVertexes' stages");
            Eng_ScriptSkipRestOfLine();
        } else {
            VertexDeform deform{};
            parseDeform(&deform);
            if (effect) effect->deforms[state.deforms] = deform;
            ++state.deforms;
            Eng_ScriptSkipRestOfLine();
        }
    } else if (same(command, "clampTime")) {
        if (!readFloat(&value))
            report("missing `clampTime' parameter (float)");
        else
            endOfLine();
    } else if (same(command, "nomipmaps") || same(command, "nopicmip") || same(command, "polygonOffset") ||
               same(command, "entityMergable") || same(command, "portal")) {
        endOfLine();
    } else if (same(command, "tessSize")) {
        if (!readFloat(&value))
            report("missing `tessSize' parameter (float)");
        else {
            if (value == 0) report("invalid `tessSize' parameter %s", token());
            endOfLine();
        }
    } else if (same(command, "light")) {
        if (!onLine())
            report("missing `light' parameter (integer)");
        else
            endOfLine();
    } else if (same(command, "fogParms")) {
        if (effect) effect->category |= EFFECT_FOG;
        float colour[3];
        if (!parseVector("fogParms", colour)) {
            report("illegal `fogParms' parameter (vec3)");
            Eng_ScriptClearError();
        }
        if (!readFloat(&value)) report("missing `fogParms' parameter (float)");
        Eng_ScriptSkipRestOfLine();
    } else if (same(command, "skyParms")) {
        parseSkyParms(state);
    } else if (same(command, "sort")) {
        if (!onLine()) {
            report("missing `sort' parameter (constant)");
        } else {
            bool known = std::atof(token()) != 0;
            for (const char* name : kSorts)
                known = known || same(name, token());
            if (!known) report("missing `sort' parameter (constant or float)");
            endOfLine();
        }
    } else if (nextEntryFollows(firstOnLine)) {
        return BlockEnd::NextEntry;
    } else {
        report("unexpected global command `%s'", token());
        Eng_ScriptSkipRestOfLine();
    }
    return BlockEnd::Open;
}

void loadBlockImages(ParseState& state, const char* imagePath) {
    ShaderRecord* effect = state.effect;
    if (state.editorImage) {
        if (TextureImage* image = LoadImageByName(effect, state.editorImagePath, true)) {
            ++image->refCount;
            effect->image = image;
            effect->width = image->width;
            effect->height = image->height;
        }
    }
    if (state.farBox[0]) {
        static constexpr const char* kSides[] = {"ft", "bk", "rt", "lf", "up", "dn"};
        for (int i = 0; i < 6; ++i) {
            char name[300];
            std::snprintf(name, sizeof name, "%s_%s.tga", state.farBox, kSides[i]);
            TextureImage* image = LoadImageByName(effect, name, false);
            if (!image) image = Eng_WhiteImage();
            if (image) ++image->refCount;
            effect->box[i] = image;
        }
        effect->category |= EFFECT_SKY_BOX;
    }
    if (!effect->stages) effect->category &= ~EFFECT_SKY;
    if (imagePath && (!effect->image || !effect->stages)) {
        TextureImage* image = LoadImageFile(effect, imagePath, true);
        if (image) {
            if (!effect->image) {
                ++image->refCount;
                effect->image = image;
            }
            if (!effect->stages) {
                ShaderStage stage{};
                ++image->refCount;
                stage.frames[0] = image;
                Eng_AddShaderStage(effect, &stage);
            }
        }
    }
}

void finishEffect(ParseState& state) {
    ShaderRecord* effect = state.effect;
    for (ShaderStage* stage = effect->stages; stage; stage = stage->next)
        stage->stateBits |= state.cull;
    int32_t& flags = effect->category;
    if (((flags & 0x1) && (flags & 0x10)) || (effect->contents & (0x30000 | 0x1300000))) flags &= ~0x1;
    if (same(effect->name, "common/weapclip")) flags = (flags & ~0x1) | 0x2;
    if (same(effect->name, "common/trigger")) flags = (flags & ~0x1) | 0x8;
    if (!(effect->contents & 0x8000) && (effect->contents & 0x10000000) && (effect->contents & 0x20000000))
        flags |= 0x4;
    if (effect->sort == 0) effect->sort = 16;
    Eng_FinishShader(effect);
}

} // namespace

const char* ShaderParser_TakeNextEntry() {
    if (!s_hasNextEntry) return nullptr;
    s_hasNextEntry = false;
    return s_nextEntry;
}

bool ParseShader(ShaderRecord* effect, const char* imagePath, bool checkTrailing,
                 ShaderErrorCallback callback, void* context) {
    setReporter(callback, context);
    s_hasNextEntry = false;
    ParseState state;
    state.effect = effect;
    TextureImage* oldImage = nullptr;
    ShaderStage* oldStages = nullptr;
    TextureImage* oldBox[6] = {};
    if (effect) {
        if (!(effect->flags & SHADER_PLACEHOLDER)) oldImage = effect->image;
        effect->image = nullptr;
        effect->width = effect->height = 0;
        oldStages = effect->stages;
        effect->stages = nullptr;
        // A definition read again (another script naming the effect) brings its own sky box.
        std::memcpy(oldBox, effect->box, sizeof oldBox);
        std::memset(effect->box, 0, sizeof effect->box);
        effect->surfaceFlags = effect->contents = effect->category = effect->value = effect->sort = 0;
        std::memset(effect->deforms, 0, sizeof effect->deforms);
        Eng_Free(effect->pluginData);
        effect->pluginData = Eng_ScriptCopyBlock();
    }

    bool closed = false;
    if (!Eng_ScriptTryGetToken(true) || std::strcmp(Eng_ScriptToken(), "{") != 0) {
        if (Eng_ScriptToken()[0]) Eng_ScriptUngetToken();
        report("`{' expected");
    } else {
        int32_t previousLine = Eng_ScriptLine();
        while (true) {
            if (!Eng_ScriptTryGetToken(true)) {
                report("`}' expected");
                break;
            }
            const bool firstOnLine = Eng_ScriptLine() != previousLine;
            if (std::strcmp(Eng_ScriptToken(), "}") == 0) {
                closed = true;
                break;
            }
            if (parseGlobal(state, firstOnLine) == BlockEnd::NextEntry) break;
            previousLine = Eng_ScriptLine();
        }
        if (closed && checkTrailing) {
            while (Eng_ScriptTryGetToken(true)) {
                report("`%s' unexpected here", Eng_ScriptToken());
                Eng_ScriptSkipRestOfLine();
            }
        }
        if (effect) loadBlockImages(state, imagePath);
    }
    if (effect) {
        finishEffect(state);
        Eng_FreeImage(oldImage);
        for (TextureImage* image : oldBox)
            if (image) Eng_FreeImage(image);
        while (oldStages) {
            ShaderStage* next = oldStages->next;
            Eng_FreeShaderData(oldStages);
            oldStages = next;
        }
    }
    setReporter(nullptr, nullptr);
    return closed;
}

bool BuildSourceCode(const char* text, ShaderRecord* effect, ShaderErrorCallback callback, void* context) {
    if (!text) return false;
    const uint32_t length = static_cast<uint32_t>(std::strlen(text));
    if (!Eng_ScriptLoadMemory(text, length + 1, 1)) return false;
    const char* imagePath = nullptr;
    char image[300] = {};
    if (effect) {
        char name[80];
        if (strncasecmp(effect->name, "models/", 7) == 0 || strncasecmp(effect->name, "models\\", 7) == 0)
            std::snprintf(name, sizeof name, "%s", effect->name);
        else
            std::snprintf(name, sizeof name, "textures/%s", effect->name);
        if (FindImageFile(name, image, sizeof image)) imagePath = image;
    }
    ParseShader(effect, imagePath, true, callback, context);
    if (effect) {
        // The source text is the whole text given, not only its block.
        Eng_Free(effect->pluginData);
        effect->pluginData = Eng_StrDup(text);
    }
    Eng_ScriptClose();
    return true;
}

int32_t SurfaceParmCount() {
    return static_cast<int32_t>(std::size(kSurfaceParms));
}
