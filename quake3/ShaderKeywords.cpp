// The keywords of effect scripts for the effect editor's completion and highlighting.
#include <cstdio>
#include <iterator>
#include <cstring>
#include <strings.h>

#include "quake3/ShaderParser.h"

namespace {

struct ShaderKeyword {
    const char* word;
    int32_t kind;  // 1 command, 2 value
    int32_t level; // 1 effect, 2 stage
    int32_t alternative;
    const char* parent;
};

constexpr ShaderKeyword kKeywords[] = {
    {"qer_trans", 1, 1, 0, nullptr},
    {"qer_nocarve", 1, 1, 0, nullptr},
    {"qer_editorImage", 1, 1, 0, nullptr},
    {"cull", 1, 1, 0, nullptr},
    {"nomipmaps", 1, 1, 0, nullptr},
    {"nopicmip", 1, 1, 0, nullptr},
    {"portal", 1, 1, 0, nullptr},
    {"light", 1, 1, 0, nullptr},
    {"sort", 1, 1, 0, nullptr},
    {"surfaceParm", 1, 1, 0, nullptr},
    {"deformVertexes", 1, 1, 0, nullptr},
    {"clampTime", 1, 1, 0, nullptr},
    {"polygonOffset", 1, 1, 0, nullptr},
    {"entityMergable", 1, 1, 0, nullptr},
    {"fogParms", 1, 1, 0, nullptr},
    {"skyParms", 1, 1, 0, nullptr},
    {"tessSize", 1, 1, 0, nullptr},
    {"q3map_normalImage", 1, 1, 0, nullptr},
    {"q3map_lightImage", 1, 1, 0, nullptr},
    {"q3map_sun", 1, 1, 0, nullptr},
    {"q3map_sunExt", 1, 1, 0, nullptr},
    {"q3map_baseShader", 1, 1, 0, nullptr},
    {"q3map_surfacemodel", 1, 1, 0, nullptr},
    {"q3map_foliage", 1, 1, 0, nullptr},
    {"q3map_bounce", 1, 1, 0, nullptr},
    {"q3map_bounceScale", 1, 1, 0, nullptr},
    {"q3map_skyLight", 1, 1, 0, nullptr},
    {"q3map_surfacelight", 1, 1, 0, nullptr},
    {"q3map_lightSubdivide", 1, 1, 0, nullptr},
    {"q3map_backsplash", 1, 1, 0, nullptr},
    {"q3map_lightmapSampleSize", 1, 1, 0, nullptr},
    {"q3map_lightmapSampleOffset", 1, 1, 0, nullptr},
    {"q3map_lightmapFilterRadius", 1, 1, 0, nullptr},
    {"q3map_lightmapAxis", 1, 1, 0, nullptr},
    {"q3map_lightmapSize", 1, 1, 0, nullptr},
    {"q3map_lightmapBrightness", 1, 1, 0, nullptr},
    {"q3map_vertexScale", 1, 1, 0, nullptr},
    {"q3map_noVertexLight", 1, 1, 0, nullptr},
    {"q3map_flare", 1, 1, 0, nullptr},
    {"q3map_flareShader", 1, 1, 0, nullptr},
    {"q3map_backShader", 1, 1, 0, nullptr},
    {"q3map_cloneShader", 1, 1, 0, nullptr},
    {"q3map_remapShader", 1, 1, 0, nullptr},
    {"q3map_offset", 1, 1, 0, nullptr},
    {"q3map_fur", 1, 1, 0, nullptr},
    {"q3map_terrain", 1, 1, 0, nullptr},
    {"q3map_forceMeta", 1, 1, 0, nullptr},
    {"q3map_shadeAngle", 1, 1, 0, nullptr},
    {"q3map_textureSize", 1, 1, 0, nullptr},
    {"q3map_tcGen", 1, 1, 0, nullptr},
    {"q3map_colorGen", 1, 1, 0, nullptr},
    {"q3map_colorMod", 1, 1, 0, nullptr},
    {"q3map_rgbGen", 1, 1, 0, nullptr},
    {"q3map_rgbMod", 1, 1, 0, nullptr},
    {"q3map_alphaGen", 1, 1, 0, nullptr},
    {"q3map_alphaMod", 1, 1, 0, nullptr},
    {"q3map_tcMod", 1, 1, 0, nullptr},
    {"q3map_fogDir", 1, 1, 0, nullptr},
    {"q3map_globaltexture", 1, 1, 0, nullptr},
    {"q3map_nonplanar", 1, 1, 0, nullptr},
    {"q3map_noclip", 1, 1, 0, nullptr},
    {"q3map_notjunc", 1, 1, 0, nullptr},
    {"q3map_nofog", 1, 1, 0, nullptr},
    {"q3map_indexed", 1, 1, 0, nullptr},
    {"q3map_invert", 1, 1, 0, nullptr},
    {"q3map_lightmapMergable", 1, 1, 0, nullptr},
    {"q3map_noFast", 1, 1, 0, nullptr},
    {"q3map_patchShadows", 1, 1, 0, nullptr},
    {"q3map_vertexShadows", 1, 1, 0, nullptr},
    {"q3map_noVertexShadows", 1, 1, 0, nullptr},
    {"q3map_splotchfix", 1, 1, 0, nullptr},
    {"q3map_forceSunlight", 1, 1, 0, nullptr},
    {"q3map_clipmodel", 1, 1, 0, nullptr},
    {"q3map_styleMarker", 1, 1, 0, nullptr},
    {"q3map_styleMarker2", 1, 1, 0, nullptr},
    {"none", 2, 1, 0, "cull"},
    {"twoSided", 2, 1, 1, "cull"},
    {"disable", 2, 1, 1, "cull"},
    {"back", 2, 1, 0, "cull"},
    {"backSide", 2, 1, 1, "cull"},
    {"backSided", 2, 1, 1, "cull"},
    {"wave", 2, 1, 0, "deformVertexes"},
    {"bulge", 2, 1, 0, "deformVertexes"},
    {"normal", 2, 1, 0, "deformVertexes"},
    {"move", 2, 1, 0, "deformVertexes"},
    {"text0", 2, 1, 0, "deformVertexes"},
    {"text1", 2, 1, 0, "deformVertexes"},
    {"text2", 2, 1, 0, "deformVertexes"},
    {"text3", 2, 1, 0, "deformVertexes"},
    {"text4", 2, 1, 0, "deformVertexes"},
    {"text5", 2, 1, 0, "deformVertexes"},
    {"text6", 2, 1, 0, "deformVertexes"},
    {"text7", 2, 1, 0, "deformVertexes"},
    {"autoSprite", 2, 1, 0, "deformVertexes"},
    {"autoSprite2", 2, 1, 0, "deformVertexes"},
    {"projectionShadow", 2, 1, 0, "deformVertexes"},
    {"sin", 2, 1, 0, "deformVertexes"},
    {"square", 2, 1, 0, "deformVertexes"},
    {"triangle", 2, 1, 0, "deformVertexes"},
    {"sawTooth", 2, 1, 0, "deformVertexes"},
    {"inverseSawTooth", 2, 1, 0, "deformVertexes"},
    {"portal", 2, 1, 0, "sort"},
    {"sky", 2, 1, 0, "sort"},
    {"opaque", 2, 1, 0, "sort"},
    {"decal", 2, 1, 0, "sort"},
    {"seeThrough", 2, 1, 0, "sort"},
    {"banner", 2, 1, 0, "sort"},
    {"additive", 2, 1, 0, "sort"},
    {"nearest", 2, 1, 0, "sort"},
    {"underwater", 2, 1, 0, "sort"},
    {"map", 1, 2, 0, nullptr},
    {"animMap", 1, 2, 0, nullptr},
    {"clampMap", 1, 2, 0, nullptr},
    {"clampAnimMap", 1, 2, 0, nullptr},
    {"videoMap", 1, 2, 0, nullptr},
    {"alphaFunc", 1, 2, 0, nullptr},
    {"blendFunc", 1, 2, 0, nullptr},
    {"depthFunc", 1, 2, 0, nullptr},
    {"depthWrite", 1, 2, 0, nullptr},
    {"rgbGen", 1, 2, 0, nullptr},
    {"alphaGen", 1, 2, 0, nullptr},
    {"tcGen", 1, 2, 0, nullptr},
    {"texGen", 1, 2, 1, nullptr},
    {"tcMod", 1, 2, 0, nullptr},
    {"detail", 1, 2, 0, nullptr},
    {"$lightmap", 2, 2, 0, "map"},
    {"$whiteimage", 2, 2, 0, "map"},
    {"add", 2, 2, 0, "blendFunc"},
    {"blend", 2, 2, 0, "blendFunc"},
    {"filter", 2, 2, 0, "blendFunc"},
    {"GL_ZERO", 2, 2, 0, "blendFunc"},
    {"GL_ONE", 2, 2, 0, "blendFunc"},
    {"GL_DST_COLOR", 2, 2, 0, "blendFunc"},
    {"GL_ONE_MINUS_DST_COLOR", 2, 2, 0, "blendFunc"},
    {"GL_SRC_ALPHA", 2, 2, 0, "blendFunc"},
    {"GL_ONE_MINUS_SRC_ALPHA", 2, 2, 0, "blendFunc"},
    {"GL_DST_ALPHA", 2, 2, 0, "blendFunc"},
    {"GL_ONE_MINUS_DST_ALPHA", 2, 2, 0, "blendFunc"},
    {"GL_SRC_ALPHA_SATURATE", 2, 2, 0, "blendFunc"},
    {"GL_SRC_COLOR", 2, 2, 0, "blendFunc"},
    {"GL_ONE_MINUS_SRC_COLOR", 2, 2, 0, "blendFunc"},
    {"GT0", 2, 2, 0, "alphaFunc"},
    {"LT128", 2, 2, 0, "alphaFunc"},
    {"GE128", 2, 2, 0, "alphaFunc"},
    {"equal", 2, 2, 0, "depthFunc"},
    {"lequal", 2, 2, 0, "depthFunc"},
    {"wave", 2, 2, 0, "rgbGen"},
    {"const", 2, 2, 0, "rgbGen"},
    {"identity", 2, 2, 0, "rgbGen"},
    {"identityLighting", 2, 2, 0, "rgbGen"},
    {"entity", 2, 2, 0, "rgbGen"},
    {"oneMinusEntity", 2, 2, 0, "rgbGen"},
    {"vertex", 2, 2, 0, "rgbGen"},
    {"oneMinusVertex", 2, 2, 0, "rgbGen"},
    {"exactVertex", 2, 2, 0, "rgbGen"},
    {"lightingDiffuse", 2, 2, 0, "rgbGen"},
    {"sin", 2, 2, 0, "rgbGen"},
    {"square", 2, 2, 0, "rgbGen"},
    {"triangle", 2, 2, 0, "rgbGen"},
    {"sawTooth", 2, 2, 0, "rgbGen"},
    {"inverseSawTooth", 2, 2, 0, "rgbGen"},
    {"noise", 2, 2, 0, "rgbGen"},
    {"wave", 2, 2, 0, "alphaGen"},
    {"const", 2, 2, 0, "alphaGen"},
    {"identity", 2, 2, 0, "alphaGen"},
    {"entity", 2, 2, 0, "alphaGen"},
    {"oneMinusEntity", 2, 2, 0, "alphaGen"},
    {"vertex", 2, 2, 0, "alphaGen"},
    {"oneMinusVertex", 2, 2, 0, "alphaGen"},
    {"portal", 2, 2, 0, "alphaGen"},
    {"lightingSpecular", 2, 2, 0, "alphaGen"},
    {"sin", 2, 2, 0, "alphaGen"},
    {"square", 2, 2, 0, "alphaGen"},
    {"triangle", 2, 2, 0, "alphaGen"},
    {"sawTooth", 2, 2, 0, "alphaGen"},
    {"inverseSawTooth", 2, 2, 0, "alphaGen"},
    {"environment", 2, 2, 0, "tcGen"},
    {"lightmap", 2, 2, 0, "tcGen"},
    {"texture", 2, 2, 0, "tcGen"},
    {"base", 2, 2, 1, "tcGen"},
    {"vector", 2, 2, 0, "tcGen"},
    {"environment", 2, 2, 0, "texGen"},
    {"lightmap", 2, 2, 0, "texGen"},
    {"texture", 2, 2, 0, "texGen"},
    {"base", 2, 2, 1, "texGen"},
    {"vector", 2, 2, 0, "texGen"},
    {"turb", 2, 2, 0, "tcMod"},
    {"scale", 2, 2, 0, "tcMod"},
    {"scroll", 2, 2, 0, "tcMod"},
    {"stretch", 2, 2, 0, "tcMod"},
    {"rotate", 2, 2, 0, "tcMod"},
    {"transform", 2, 2, 0, "tcMod"},
    {"entityTranslate", 2, 2, 0, "tcMod"},
    {"sin", 2, 2, 0, "tcMod"},
    {"square", 2, 2, 0, "tcMod"},
    {"triangle", 2, 2, 0, "tcMod"},
    {"sawTooth", 2, 2, 0, "tcMod"},
    {"inverseSawTooth", 2, 2, 0, "tcMod"},
};
static_assert(std::size(kKeywords) == 198);

constexpr const char* kSurfaceParmNames[] = {
    "water",      "slime",      "lava",        "playerclip",  "monsterclip", "nodrop",        "nonsolid",
    "origin",     "trans",      "detail",      "structural",  "areaportal",  "clusterportal", "donotenter",
    "fog",        "sky",        "lightfilter", "alphashadow", "hint",        "slick",         "noimpact",
    "nomarks",    "ladder",     "nodamage",    "metalsteps",  "flesh",       "nosteps",       "nodraw",
    "pointlight", "nolightmap", "nodlight",    "dust",        "nomipmaps",   "botclip",       "antiportal",
    "lightgrid",  "skip"};
static_assert(std::size(kSurfaceParmNames) == 37);

bool levelMatches(int32_t rowLevel, int32_t level) {
    return level < 0 || rowLevel == level;
}

void copyOut(char* out, int32_t size, const char* word) {
    if (out && size > 0) std::snprintf(out, static_cast<size_t>(size), "%s", word);
}

// Appends word and a blank when it fits.
void append(char* out, int32_t size, const char* word) {
    if (!out || size <= 0) return;
    const size_t used = std::strlen(out);
    const size_t length = std::strlen(word);
    if (used + length + 2 > static_cast<size_t>(size)) return;
    std::memcpy(out + used, word, length);
    out[used + length] = ' ';
    out[used + length + 1] = '\0';
}

} // namespace

int32_t LookupShaderKeyword(const char* word, const char* firstWord, int32_t level, char* out, int32_t size) {
    if (out && size > 0) out[0] = '\0';
    if (!word) return 0;
    const bool isFirst = firstWord && std::strcmp(word, firstWord) == 0;
    if (!isFirst && firstWord && (level == 1 || level < 0) && strcasecmp(firstWord, "surfaceparm") == 0) {
        for (const char* name : kSurfaceParmNames) {
            if (strcasecmp(name, word) == 0) {
                copyOut(out, size, name);
                return 2;
            }
        }
    }
    for (const ShaderKeyword& row : kKeywords) {
        if (!levelMatches(row.level, level) || strcasecmp(row.word, word) != 0) continue;
        if (isFirst ? row.kind == 1
                    : (row.kind == 2 && firstWord && row.parent && strcasecmp(row.parent, firstWord) == 0)) {
            copyOut(out, size, row.word);
            return row.kind;
        }
    }
    return 0;
}

int32_t ListShaderKeywords(const char* parent, int32_t level, char* out, int32_t size) {
    if (out && size > 0) out[0] = '\0';
    int32_t count = 0;
    if (parent && (level == 1 || level < 0) && strcasecmp(parent, "surfaceparm") == 0) {
        for (const char* name : kSurfaceParmNames)
            append(out, size, name);
        count = int32_t(std::size(kSurfaceParmNames));
    }
    for (const ShaderKeyword& row : kKeywords) {
        if (!levelMatches(row.level, level)) continue;
        const bool match = parent ? (row.parent && strcasecmp(row.parent, parent) == 0) : !row.parent;
        if (!match) continue;
        append(out, size, row.word);
        ++count;
    }
    return count;
}

int32_t ShaderKeywordCount() {
    return static_cast<int32_t>(std::size(kKeywords));
}
