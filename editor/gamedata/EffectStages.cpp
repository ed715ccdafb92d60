// Per-stage colours, texture coordinates and animation frames of an effect batch.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "gamedata/EffectMath.h"
#include "kstdlib/kmath.h"

namespace {

// The light specular alpha uses when the batch has none.
constexpr float kDefaultLight[3] = {-960.0f, 1980.0f, 96.0f};

uint8_t clampByte(double value) {
    return static_cast<uint8_t>(std::clamp<int64_t>(Effect_Truncate(value), 0, 255));
}

// frac(a) = a - floor(a); 0 where that is not a number.
float fraction(float a) {
    return std::isfinite(a) ? a - std::floor(a) : 0.0f;
}

// Unit vector from a position towards a point; zero when they coincide.
void towards(const float* point, const float* position, float* out) {
    Effect_Subtract(point, position, out);
    Effect_Normalize(out);
}

void setColor(uint8_t* out, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    out[0] = r;
    out[1] = g;
    out[2] = b;
    out[3] = a;
}

void rotate(float* st, float sn, float cs) {
    const float s = st[0], t = st[1];
    st[0] = s * cs - t * sn + 0.5f - 0.5f * cs + 0.5f * sn;
    st[1] = s * sn + t * cs + 0.5f - 0.5f * sn - 0.5f * cs;
}

void applyModifier(EffectBatch* batch, const TexCoordMod& mod) {
    const float* p = mod.values;
    const float time = batch->time;
    switch (mod.kind) {
    case TexModKind::Transform:
        for (int32_t i = 0; i < batch->count; ++i) {
            float* st = batch->vertices[i].st;
            const float s = st[0], t = st[1];
            st[0] = s * p[0] + t * p[2] + p[4];
            st[1] = s * p[1] + t * p[3] + p[5];
        }
        break;
    case TexModKind::Turbulence: {
        const WaveForm& w = mod.wave;
        const float q = time * w.frequency + w.phase;
        for (int32_t i = 0; i < batch->count; ++i) {
            EffectVertex& v = batch->vertices[i];
            const float ds = (v.xyz[0] + v.xyz[2]) / 128.0f * 0.125f + q;
            const float dt = v.xyz[1] / 128.0f * 0.125f + q;
            v.st[0] += K_TableSinLookup(Effect_TableIndex(ds * 1024.0f)) * w.amplitude + w.base;
            v.st[1] += K_TableSinLookup(Effect_TableIndex(dt * 1024.0f)) * w.amplitude + w.base;
        }
        break;
    }
    case TexModKind::Scroll: {
        const float ds = fraction(time * p[0]), dt = fraction(time * p[1]);
        for (int32_t i = 0; i < batch->count; ++i) {
            batch->vertices[i].st[0] += ds;
            batch->vertices[i].st[1] += dt;
        }
        break;
    }
    case TexModKind::Scale:
        for (int32_t i = 0; i < batch->count; ++i) {
            batch->vertices[i].st[0] *= p[0];
            batch->vertices[i].st[1] *= p[1];
        }
        break;
    case TexModKind::Stretch: {
        const float g = Shader_EvalWave(&mod.wave, time);
        if (g == 0.0f) break;
        const float k = 1.0f / g;
        for (int32_t i = 0; i < batch->count; ++i) {
            float* st = batch->vertices[i].st;
            st[0] = st[0] * k + 0.5f - 0.5f * k;
            st[1] = st[1] * k + 0.5f - 0.5f * k;
        }
        break;
    }
    case TexModKind::WaveScroll: {
        const float g = Shader_EvalWave(&mod.wave, time);
        if (g == 0.0f) break;
        for (int32_t i = 0; i < batch->count; ++i) {
            batch->vertices[i].st[0] += g * p[0];
            batch->vertices[i].st[1] += g * p[1];
        }
        break;
    }
    case TexModKind::Rotate: {
        // 1024 / 360 table steps per degree, turning clockwise.
        const unsigned int a = Effect_TableIndex(time * p[0] * -2.8444445f);
        const float sn = K_TableSinLookup(a), cs = K_TableCosLookup(a);
        for (int32_t i = 0; i < batch->count; ++i)
            rotate(batch->vertices[i].st, sn, cs);
        break;
    }
    case TexModKind::SkyProjection: {
        const float f = time * p[0];
        const float c =
            static_cast<float>(f - static_cast<double>(Effect_Truncate(f) & ~int64_t(127))) / 128.0f;
        for (int32_t i = 0; i < batch->count; ++i) {
            EffectVertex& v = batch->vertices[i];
            float d[3];
            Effect_Subtract(v.xyz, batch->origin, d);
            d[2] *= 3.0f;
            const float length = Effect_Length(d);
            // A vertex at the eye has no direction: it keeps its coordinates.
            if (!(length > 0.0f) || !std::isfinite(length)) continue;
            const float m = 2.953125f / length;
            v.st[0] = d[0] * m + c;
            v.st[1] = d[1] * m + c;
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

void Shader_ColorWave(EffectBatch* batch) {
    const ShaderStage* stage = batch->stage;
    const float x = Shader_EvalWave(&stage->colorWave, batch->time);
    uint8_t color[4];
    for (int c = 0; c < 3; ++c)
        color[c] = clampByte(static_cast<float>(stage->color[c]) * x);
    color[3] = 255;
    for (int32_t i = 0; i < batch->count; ++i)
        std::memcpy(batch->vertices[i].color, color, 4);
}

void Shader_ColorLighting(EffectBatch* batch) {
    if (!(batch->lightFlags & BATCH_LIGHT_POSITION)) {
        for (int32_t i = 0; i < batch->count; ++i)
            std::memcpy(batch->vertices[i].color, batch->vertices[i].vertexColor, 4);
        return;
    }
    for (int32_t i = 0; i < batch->count; ++i) {
        EffectVertex& v = batch->vertices[i];
        float l[3];
        towards(batch->lightPosition, v.xyz, l);
        const int64_t d = Effect_Truncate(Effect_Dot(l, v.normal) * 255.0f);
        const uint8_t shade = d >= 1 ? static_cast<uint8_t>(std::min<int64_t>(d, 255)) : 0;
        v.color[0] = v.color[1] = v.color[2] = shade;
    }
}

void Shader_AlphaSpecular(EffectBatch* batch) {
    const float* light = batch->lightFlags & BATCH_LIGHT_POSITION ? batch->lightPosition : kDefaultLight;
    for (int32_t i = 0; i < batch->count; ++i) {
        EffectVertex& v = batch->vertices[i];
        float l[3], view[3], r[3];
        towards(light, v.xyz, l);
        towards(batch->origin, v.xyz, view);
        Effect_Scale(v.normal, 2.0f * Effect_Dot(v.normal, l), r);
        Effect_Subtract(r, l, r);
        const float k = Effect_Dot(r, view);
        v.color[3] = k < 0.0f ? 0 : clampByte(k * k * k * k * 255.0f);
    }
}

void Shader_AlphaPortal(EffectBatch* batch) {
    const float range = batch->shader ? batch->shader->portalRange : 0.0f;
    for (int32_t i = 0; i < batch->count; ++i) {
        EffectVertex& v = batch->vertices[i];
        // No range (or a nonsensical one): the portal is seen fully at any distance.
        if (!(range > 0.0f)) {
            v.color[3] = 255;
            continue;
        }
        float d[3];
        Effect_Subtract(v.xyz, batch->origin, d);
        v.color[3] = clampByte(255.0f / range * Effect_Length(d));
    }
}

void Shader_ComputeColors(EffectBatch* batch) {
    if (!batch || !batch->stage || !batch->vertices) return;
    const ShaderStage* stage = batch->stage;
    switch (stage->colorKind) {
    case ColorKind::IdentityLighting:
    case ColorKind::Identity:
    case ColorKind::Entity:
        for (int32_t i = 0; i < batch->count; ++i)
            setColor(batch->vertices[i].color, 255, 255, 255, 255);
        break;
    case ColorKind::OneMinusEntity:
        for (int32_t i = 0; i < batch->count; ++i)
            setColor(batch->vertices[i].color, 0, 0, 0, 0);
        break;
    case ColorKind::ExactVertex:
    case ColorKind::Vertex:
        for (int32_t i = 0; i < batch->count; ++i)
            std::memcpy(batch->vertices[i].color, batch->vertices[i].vertexColor, 4);
        break;
    case ColorKind::OneMinusVertex:
        for (int32_t i = 0; i < batch->count; ++i) {
            const uint8_t* in = batch->vertices[i].vertexColor;
            setColor(batch->vertices[i].color, 255 - in[0], 255 - in[1], 255 - in[2], in[3]);
        }
        break;
    case ColorKind::Wave:
        Shader_ColorWave(batch);
        break;
    case ColorKind::LightingDiffuse:
        Shader_ColorLighting(batch);
        break;
    case ColorKind::Const:
        for (int32_t i = 0; i < batch->count; ++i)
            std::memcpy(batch->vertices[i].color, stage->color, 4);
        break;
    default:
        break;
    }

    switch (stage->alphaKind) {
    case AlphaKind::Identity:
    case AlphaKind::Entity:
        for (int32_t i = 0; i < batch->count; ++i)
            batch->vertices[i].color[3] = 255;
        break;
    case AlphaKind::OneMinusEntity:
        for (int32_t i = 0; i < batch->count; ++i)
            batch->vertices[i].color[3] = 0;
        break;
    case AlphaKind::Vertex:
        for (int32_t i = 0; i < batch->count; ++i)
            batch->vertices[i].color[3] = batch->vertices[i].vertexColor[3];
        break;
    case AlphaKind::OneMinusVertex:
        for (int32_t i = 0; i < batch->count; ++i)
            batch->vertices[i].color[3] = 255 - batch->vertices[i].vertexColor[3];
        break;
    case AlphaKind::LightingSpecular:
        Shader_AlphaSpecular(batch);
        break;
    case AlphaKind::Wave: {
        const uint8_t alpha = clampByte(Shader_EvalWave(&stage->alphaWave, batch->time) * stage->color[3]);
        for (int32_t i = 0; i < batch->count; ++i)
            batch->vertices[i].color[3] = alpha;
        break;
    }
    case AlphaKind::Portal:
        Shader_AlphaPortal(batch);
        break;
    case AlphaKind::Const:
        for (int32_t i = 0; i < batch->count; ++i)
            batch->vertices[i].color[3] = stage->color[3];
        break;
    default:
        break;
    }
}

void Shader_TexGenEnvironment(EffectBatch* batch) {
    for (int32_t i = 0; i < batch->count; ++i) {
        EffectVertex& v = batch->vertices[i];
        float view[3];
        towards(batch->origin, v.xyz, view);
        const float d = 2.0f * Effect_Dot(view, v.normal);
        v.st[0] = (d * v.normal[1] - view[1]) * 0.5f + 0.5f;
        v.st[1] = 0.5f - (d * v.normal[2] - view[2]) * 0.5f;
    }
}

void Shader_ComputeTexCoords(EffectBatch* batch) {
    if (!batch || !batch->stage || !batch->vertices) return;
    const ShaderStage* stage = batch->stage;
    switch (stage->texCoordKind) {
    case TexCoordKind::Zero:
        for (int32_t i = 0; i < batch->count; ++i)
            batch->vertices[i].st[0] = batch->vertices[i].st[1] = 0.0f;
        break;
    case TexCoordKind::Lightmap:
        for (int32_t i = 0; i < batch->count; ++i)
            std::memcpy(batch->vertices[i].st, batch->vertices[i].lightmapST, sizeof(float[2]));
        break;
    case TexCoordKind::Base:
        for (int32_t i = 0; i < batch->count; ++i)
            std::memcpy(batch->vertices[i].st, batch->vertices[i].baseST, sizeof(float[2]));
        break;
    case TexCoordKind::Environment:
        Shader_TexGenEnvironment(batch);
        break;
    case TexCoordKind::Vector:
    case TexCoordKind::ViewVector: {
        const bool relative = stage->texCoordKind == TexCoordKind::ViewVector;
        const float* S = stage->sVector;
        const float* T = stage->tVector;
        for (int32_t i = 0; i < batch->count; ++i) {
            EffectVertex& v = batch->vertices[i];
            float p[3] = {v.xyz[0], v.xyz[1], v.xyz[2]};
            if (relative) Effect_Subtract(v.xyz, batch->origin, p);
            v.st[0] = S[0] * p[0] + S[1] * p[1] + S[2] * p[2] + S[3];
            v.st[1] = T[0] * p[0] + T[1] * p[1] + T[2] * p[2] + T[3];
        }
        break;
    }
    default:
        break;
    }
    for (const TexCoordMod& mod : stage->texCoordMods) {
        if (mod.kind == 0) break;
        applyModifier(batch, mod);
    }
}

TextureImage* Shader_CurrentFrame(const EffectBatch* batch) {
    if (!batch || !batch->stage) return nullptr;
    const ShaderStage* stage = batch->stage;
    if (stage->frameCount <= 1 || !(stage->frameRate > 0.0f)) return stage->frames[0];
    const int64_t rate =
        batch->frameRateOverride ? batch->frameRateOverride : Effect_Truncate(stage->frameRate);
    // A chain may be longer than the eight frame slots; the slots bound an array.
    const int64_t count = stage->frameChain ? stage->frameCount : std::min(stage->frameCount, kStageFrames);
    int64_t i = (Effect_Truncate(static_cast<double>(rate) * batch->time * 1024.0) >> 10) % count;
    if (i < 0) i += count;
    if (!stage->frameChain) return stage->frames[i];
    // A chain that ends before the count stops at its last image.
    TextureImage* image = stage->frames[0];
    for (; i > 0 && image && image->next; --i)
        image = image->next;
    return image;
}
