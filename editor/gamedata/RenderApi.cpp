#include "gamedata/RenderApi.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstring>

#include "core/MainSettings.h"
#include "core/Platform.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureDecoding.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

// What a batch changed in GL, undone by Render_EndBatch.
namespace Changed {
constexpr int32_t PointSize = 0x1;
constexpr int32_t LineWidth = 0x2;
constexpr int32_t Texturing = 0x4;
constexpr int32_t ColorArray = 0x8;
constexpr int32_t StateWord = 0x10;
} // namespace Changed

struct BatchState {
    EffectBatch batch{};
    EffectVertex vertices[kRenderBatchSize];
    uint32_t color = 0; // byte 0 red
    float st[2] = {};
    float normal[3] = {};
    int32_t changed = 0;
    bool texturing = false;
    GLStateCache* cache = nullptr;
    int32_t filterWord = 0;
    uint32_t savedState = 0;
    float viewFrame[12] = {}; // origin, forward, right, up
    bool animate = false;
    bool timeBaseTaken = false;
    uint32_t timeBase = 0;
    bool active = false;
    bool warnedOutside = false;
};

BatchState& state() {
    static BatchState s;
    return s;
}

// The GL-touching slots work only inside a batch, where the view's context is current; outside
// one they do nothing, and the first such call of the run says so.
bool inBatch(const char* slot) {
    BatchState& s = state();
    if (s.active) return true;
    if (!s.warnedOutside) {
        s.warnedOutside = true;
        Sys_Warning("%s: called outside a render batch, ignored", slot);
    }
    return false;
}

void setTexturing(bool on) {
    BatchState& s = state();
    if (s.texturing == on) return;
    s.texturing = on;
    if (on) {
        glEnable(GL_TEXTURE_2D);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    } else {
        glDisable(GL_TEXTURE_2D);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
}

GLenum primitiveFor(int32_t kind) {
    switch (kind) {
    case RenderPrimitive::Lines:
        return GL_LINES;
    case RenderPrimitive::Triangles:
        return GL_TRIANGLES;
    case RenderPrimitive::Polygon:
        return GL_POLYGON;
    case RenderPrimitive::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    case RenderPrimitive::TriangleFan:
        return GL_TRIANGLE_FAN;
    default:
        return GL_POINTS;
    }
}

// ShaderStage::stageFlags: clamp the image's S and T coordinates.
constexpr int32_t kStageClampS = 0x2;
constexpr int32_t kStageClampT = 0x4;

int32_t cachedFilterWord(const RenderContext* context) {
    GameDataHost* host = GameData_Host();
    int32_t* word = host ? host->textureFilterWord() : nullptr;
    if (!word) return context->textureFilter;
    const MainSettings& settings = Sys_Settings();
    if (*word < 0) *word = (settings.TextureFilter ? 5 : 4) | (settings.AnisotropicFilter ? 2 : 0);
    return *word;
}

} // namespace

void Render_PointSize(float size) {
    if (!inBatch("Render_PointSize")) return;
    Render_FlushBatch();
    state().changed |= Changed::PointSize;
    glPointSize(size);
}

void Render_LineWidth(float width) {
    if (!inBatch("Render_LineWidth")) return;
    Render_FlushBatch();
    state().changed |= Changed::LineWidth;
    glLineWidth(width);
}

void Render_BindShader(ShaderRecord* shader) {
    if (!inBatch("Render_BindShader")) return;
    // A model's skin or effect decodes the first time it is bound, as faces' textures do.
    if (shader && Tex_AnyWaiting()) Tex_RealizeShader(shader);
    BatchState& s = state();
    if (!s.animate || !shader || !shader->stages) {
        Render_BindImage(shader ? shader->image : nullptr);
        return;
    }
    Render_FlushBatch();
    s.changed |= Changed::Texturing;
    s.batch.shader = shader;
    setTexturing(true);
}

void Render_BindImage(TextureImage* image) {
    if (!inBatch("Render_BindImage")) return;
    if (image && Tex_AnyWaiting()) Tex_RealizeImage(image);
    BatchState& s = state();
    Render_FlushBatch();
    s.changed |= Changed::Texturing;
    s.batch.shader = nullptr;
    setTexturing(image != nullptr);
    if (image) Render_BindTexture(s.cache, image->glName, s.filterWord, !(image->flags & IMAGE_NO_MIPMAPS));
}

void Render_SetPrimitive(int32_t kind) {
    state().batch.primitive = static_cast<int32_t>(primitiveFor(kind));
}

void Render_Flush(void) {
    if (!inBatch("Render_Flush")) return;
    Render_FlushBatch();
}

uint32_t Render_Color4ub(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    const uint8_t bytes[4] = {r, g, b, a};
    uint32_t packed;
    std::memcpy(&packed, bytes, sizeof packed);
    if (!inBatch("Render_Color4ub")) return packed;
    BatchState& s = state();
    s.color = packed;
    if (!(s.changed & Changed::ColorArray)) {
        s.changed |= Changed::ColorArray;
        glEnableClientState(GL_COLOR_ARRAY);
    }
    return packed;
}

void Render_ColorPacked(const uint32_t* rgba) {
    if (!inBatch("Render_ColorPacked")) return;
    BatchState& s = state();
    if (!rgba) {
        if (s.changed & Changed::ColorArray) glDisableClientState(GL_COLOR_ARRAY);
        s.changed &= ~Changed::ColorArray;
        return;
    }
    if (!(s.changed & Changed::ColorArray)) {
        s.changed |= Changed::ColorArray;
        glEnableClientState(GL_COLOR_ARRAY);
    }
    s.color = *rgba;
}

void Render_TexCoord2f(float s, float t) {
    state().st[0] = s;
    state().st[1] = t;
}

void Render_TexCoord2fv(const float* st) {
    if (st) Render_TexCoord2f(st[0], st[1]);
}

void Render_Normal3fv(const float* normal) {
    if (normal) std::memcpy(state().normal, normal, sizeof state().normal);
}

void Render_Vertex3fv(const float* point) {
    if (!point || !inBatch("Render_Vertex3fv")) return;
    BatchState& s = state();
    EffectVertex& v = s.vertices[s.batch.count++];
    std::memcpy(v.xyz, point, sizeof v.xyz);
    std::memcpy(v.normal, s.normal, sizeof v.normal);
    std::memcpy(v.baseST, s.st, sizeof v.baseST);
    std::memcpy(v.vertexColor, &s.color, sizeof v.vertexColor);
    if (s.batch.count >= kRenderBatchSize) Render_FlushBatch();
}

uint32_t Render_GetStateBits(void) {
    return static_cast<uint32_t>(state().batch.stateBits);
}

void Render_SetStateBits(uint32_t bits) {
    if (!inBatch("Render_SetStateBits")) return;
    BatchState& s = state();
    Render_FlushBatch();
    s.changed |= Changed::StateWord;
    GL_State(s.cache, bits);
    s.batch.stateBits = static_cast<int32_t>(bits);
}

void Render_GetContext(float* viewFrame) {
    if (viewFrame) std::memcpy(viewFrame, state().viewFrame, sizeof state().viewFrame);
}

float Render_GetMinAlpha(void) {
    return Sys_Settings().MinAlphaValue;
}

float Render_ShadeForNormal(const float* normal) {
    if (!normal) return 1.0f;
    const float shade = 0.8f + 0.13363062f * normal[0] + 0.26726124f * normal[1] + 0.40089184f * normal[2];
    return std::min(shade, 1.0f);
}

bool Render_BeginBatch(const RenderContext* context) {
    BatchState& s = state();
    if (s.active) {
        // One program-wide batch: a nested one would draw and restore the outer one's state.
        Sys_Warning("Render_BeginBatch: a render batch is already open");
        return false;
    }
    if (!context || !context->stateCache) {
        Sys_Warning("Render_BeginBatch: no render context");
        return false;
    }
    s.active = true;
    s.st[0] = s.st[1] = 0.0f;
    std::fill(std::begin(s.normal), std::end(s.normal), 0.0f);
    s.color = 0;
    s.changed = 0;
    s.texturing = false;
    s.cache = context->stateCache;
    s.filterWord = cachedFilterWord(context);
    s.savedState = s.cache->state;
    std::memcpy(s.viewFrame, context->origin, sizeof s.viewFrame);
    s.animate = Sys_Settings().AnimateShaders;

    EffectBatch& b = s.batch;
    b = EffectBatch{};
    b.stateBits = static_cast<int32_t>(s.cache->state);
    b.vertices = s.vertices;
    b.capacity = kRenderBatchSize;
    b.primitive = GL_POINTS;
    if (s.animate) {
        std::memcpy(b.origin, s.viewFrame, sizeof s.viewFrame);
        const uint32_t now = Plat_Milliseconds();
        if (!s.timeBaseTaken) {
            s.timeBaseTaken = true;
            s.timeBase = now;
        }
        b.time = static_cast<float>(now - s.timeBase) * 0.001f;
        s.changed |= Changed::StateWord;
    }
    Render_BatchPointers(s.cache, s.vertices, s.animate);
    glFrontFace(GL_CW);
    return true;
}

void Render_EndBatch() {
    BatchState& s = state();
    if (!s.active) return;
    if (s.changed & Changed::PointSize) glPointSize(3.0f);
    if (s.changed & Changed::LineWidth) glLineWidth(1.0f);
    if (s.changed & Changed::Texturing) {
        glDisable(GL_TEXTURE_2D);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        s.texturing = false;
    }
    if (s.changed & Changed::ColorArray) glDisableClientState(GL_COLOR_ARRAY);
    if (s.changed & Changed::StateWord) GL_State(s.cache, s.savedState);
    glFrontFace(GL_CCW);
    s.changed = 0;
    s.active = false;
}

void Render_FlushBatch() {
    BatchState& s = state();
    EffectBatch& b = s.batch;
    if (!s.active || b.count == 0) return;
    if (b.primitive != GL_POINTS) {
        if (b.shader) {
            Shader_ApplyDeforms(&b);
            for (ShaderStage* stage = b.shader->stages; stage; stage = stage->next) {
                if (!stage->frames[0] || stage->skip) continue;
                b.stage = stage;
                Render_DrawBatchStage(&b, s.cache, s.filterWord);
            }
            b.stage = nullptr;
        } else {
            // The arrays read the stage fields while animating: give them what was supplied.
            if (s.animate)
                for (int32_t i = 0; i < b.count; ++i) {
                    std::memcpy(s.vertices[i].color, s.vertices[i].vertexColor, 4);
                    std::memcpy(s.vertices[i].st, s.vertices[i].baseST, sizeof(float[2]));
                }
            glDrawArrays(static_cast<GLenum>(b.primitive), 0, b.count);
        }
    }
    b.count = 0;
}

void Render_DrawBatchStage(EffectBatch* batch, GLStateCache* cache, int32_t filterWord) {
    if (!batch || !batch->stage || !cache || batch->count <= 0) return;
    const ShaderStage* stage = batch->stage;
    if (TextureImage* image = Shader_CurrentFrame(batch))
        Render_BindTexture(cache, image->glName, filterWord, !(image->flags & IMAGE_NO_MIPMAPS));
    const bool clampS = stage->stageFlags & kStageClampS, clampT = stage->stageFlags & kStageClampT;
    if (clampS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    if (clampT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    GL_State(cache, static_cast<uint32_t>(stage->stateBits ? stage->stateBits : batch->stateBits));
    Shader_ComputeColors(batch);
    Shader_ComputeTexCoords(batch);
    glDrawArrays(static_cast<GLenum>(batch->primitive), 0, batch->count);
    if (clampS) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    if (clampT) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void Render_BatchPointers(GLStateCache* cache, const EffectVertex* vertices, bool stageFields) {
    if (!cache || !vertices) return;
    constexpr int32_t stride = sizeof(EffectVertex);
    Render_TexCoordPointer(cache, stride, stageFields ? vertices->st : vertices->baseST);
    Render_ColorPointer(cache, stride, stageFields ? vertices->color : vertices->vertexColor);
    Render_VertexPointer(cache, stride, vertices->xyz);
}

bool Render_BatchActive() {
    return state().active;
}

const EffectBatch* Render_Batch() {
    return &state().batch;
}
