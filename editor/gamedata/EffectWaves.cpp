// Wave tables, wave and noise evaluation, and the vertex deforms of an effect batch.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "gamedata/EffectMath.h"
#include "kstdlib/kmath.h"
#include "kstdlib/krandom.h"

namespace {

enum Table { Sine, RectifiedSine, Square, Triangle, Sawtooth, InverseSawtooth, TableCount };

struct WaveTables {
    float waves[TableCount][kWaveTableSize];
    float noiseFloats[kNoiseSize];
    int32_t permutation[kNoiseSize];
    bool built = false;
};

WaveTables& tables() {
    static WaveTables t;
    return t;
}

double sineOfDegrees(double degrees) {
    // A whole turn is exactly 0 (the sine entry 1023 is sin 360).
    if (degrees >= 360.0) degrees -= 360.0;
    return std::sin(degrees * (3.14159265358979323846 / 180.0));
}

int32_t lowBits(double value) {
    return static_cast<int32_t>(Effect_Truncate(value) & (kWaveTableSize - 1));
}

// Noise index arithmetic: every sum is taken modulo 256 as the non-negative residue.
int32_t perm(int64_t index) {
    return tables().permutation[index & (kNoiseSize - 1)];
}

// The lattice cell of a coordinate and the fraction within it; a non-finite one counts as 0.
void splitCoordinate(float v, int64_t* cell, float* fraction) {
    if (!std::isfinite(v)) {
        *cell = 0;
        *fraction = 0.0f;
        return;
    }
    const float f = std::floor(v);
    *cell = Effect_Truncate(f);
    *fraction = v - f;
}

float tableOffset(const WaveForm& wave, double argument) {
    return Shader_WaveTable(wave.kind)[lowBits(argument * kWaveTableSize)] * wave.amplitude + wave.base;
}

void addScaled(float* v, const float* direction, float scale) {
    v[0] += direction[0] * scale;
    v[1] += direction[1] * scale;
    v[2] += direction[2] * scale;
}

void deformWave(EffectBatch* batch, const VertexDeform& deform) {
    const WaveForm& wave = deform.wave;
    if (wave.frequency != 0.0f && deform.spread != 0.0f) {
        const float* table = Shader_WaveTable(wave.kind);
        for (int32_t i = 0; i < batch->count; ++i) {
            EffectVertex& v = batch->vertices[i];
            const float arg =
                (v.xyz[0] + v.xyz[1] + v.xyz[2]) * deform.spread + wave.phase + batch->time * wave.frequency;
            addScaled(v.xyz, v.normal,
                      table[lowBits(float(arg * kWaveTableSize))] * wave.amplitude + wave.base);
        }
        return;
    }
    const float offset = Shader_EvalWave(&wave, batch->time);
    for (int32_t i = 0; i < batch->count; ++i)
        addScaled(batch->vertices[i].xyz, batch->vertices[i].normal, offset);
}

void deformNormal(EffectBatch* batch, const VertexDeform& deform) {
    const float a = deform.wave.amplitude;
    const float q = deform.wave.frequency * batch->time;
    for (int32_t i = 0; i < batch->count; ++i) {
        EffectVertex& v = batch->vertices[i];
        const float x = v.xyz[0] * 0.98f, y = v.xyz[1] * 0.98f, z = v.xyz[2] * 0.98f;
        v.normal[0] += Shader_Noise(x, y, z, q) * a;
        v.normal[1] += Shader_Noise(x + 100.0f, y, z, q) * a;
        v.normal[2] += Shader_Noise(x + 200.0f, y, z, q) * a;
        K_VectorNormalizeFast(v.normal);
    }
}

void deformBulge(EffectBatch* batch, const VertexDeform& deform, bool scaledByS) {
    for (int32_t i = 0; i < batch->count; ++i) {
        EffectVertex& v = batch->vertices[i];
        const float s = v.baseST[0];
        const float step = (s * deform.bulgeWidth + batch->time * deform.bulgeSpeed) * 162.97466f;
        float offset = K_TableSinLookup(Effect_TableIndex(step)) * deform.bulgeHeight;
        if (scaledByS) offset *= s;
        addScaled(v.xyz, v.normal, offset);
    }
}

void deformMove(EffectBatch* batch, const VertexDeform& deform) {
    const WaveForm& wave = deform.wave;
    const float offset = tableOffset(wave, batch->time * wave.frequency + wave.phase);
    for (int32_t i = 0; i < batch->count; ++i)
        addScaled(batch->vertices[i].xyz, deform.move, offset);
}

void deformAutosprite(EffectBatch* batch) {
    if (batch->count % 4) return;
    float normal[3];
    Effect_Scale(batch->forward, -1.0f, normal);
    for (int32_t q = 0; q < batch->count; q += 4) {
        EffectVertex* quad = batch->vertices + q;
        float centre[3] = {0, 0, 0};
        for (int k = 0; k < 4; ++k)
            addScaled(centre, quad[k].xyz, 0.25f);
        float d[3];
        Effect_Subtract(quad[0].xyz, centre, d);
        const float r = Effect_Length(d) * 0.707f;
        float left[3], up[3];
        Effect_Scale(batch->right, r, left);
        Effect_Scale(batch->up, r, up);
        Shader_BuildSpriteQuad(quad, centre, left, up, normal);
    }
}

void deformAutosprite2(EffectBatch* batch) {
    if (batch->count % 4) return;
    static constexpr int kEdges[4][2] = {{1, 0}, {2, 3}, {2, 1}, {3, 0}};
    for (int32_t q = 0; q < batch->count; q += 4) {
        EffectVertex* quad = batch->vertices + q;
        float lengths[4];
        for (int e = 0; e < 4; ++e) {
            float d[3];
            Effect_Subtract(quad[kEdges[e][0]].xyz, quad[kEdges[e][1]].xyz, d);
            lengths[e] = Effect_Dot(d, d);
        }
        lengths[0] = std::min(lengths[0], 9999999.0f);
        int first = -1, second = -1;
        for (int e = 0; e < 4; ++e) {
            if (first < 0 || lengths[e] < lengths[first]) {
                second = first;
                first = e;
            } else if (second < 0 || lengths[e] < lengths[second]) {
                second = e;
            }
        }
        const int chosen[2] = {first, second};
        float mid[2][3];
        for (int k = 0; k < 2; ++k)
            for (int c = 0; c < 3; ++c)
                mid[k][c] = (quad[kEdges[chosen[k]][0]].xyz[c] + quad[kEdges[chosen[k]][1]].xyz[c]) * 0.5f;
        float axis[3], d[3];
        Effect_Subtract(mid[1], mid[0], axis);
        Effect_Cross(axis, batch->forward, d);
        // The quad's long axis along the view: no facing direction, the quad stays as it is.
        if (!Effect_Normalize(d)) continue;
        for (int k = 0; k < 2; ++k) {
            const float h = std::sqrt(lengths[chosen[k]]) * 0.5f;
            EffectVertex& a = quad[kEdges[chosen[k]][0]];
            EffectVertex& b = quad[kEdges[chosen[k]][1]];
            for (int c = 0; c < 3; ++c) {
                a.xyz[c] = mid[k][c] - d[c] * h;
                b.xyz[c] = mid[k][c] + d[c] * h;
            }
        }
    }
}

} // namespace

void Shader_InitTables() {
    WaveTables& t = tables();
    if (t.built) return;
    for (int i = 0; i < kWaveTableSize; ++i) {
        t.waves[Sine][i] = static_cast<float>(sineOfDegrees(i * 360.0 / 1023.0));
        t.waves[RectifiedSine][i] =
            static_cast<float>(std::fabs(sineOfDegrees(i * 180.0 / 1023.0)) * 2.0 - 1.0);
        t.waves[Square][i] = i < 512 ? 1.0f : -1.0f;
        t.waves[Sawtooth][i] = i / 1024.0f;
        t.waves[InverseSawtooth][i] = 1.0f - i / 1024.0f;
    }
    float* triangle = t.waves[Triangle];
    for (int i = 0; i < kWaveTableSize; ++i) {
        if (i < 256)
            triangle[i] = i / 256.0f;
        else if (i < 512)
            triangle[i] = 1.0f - triangle[i - 256];
        else
            triangle[i] = -triangle[i - 512];
    }
    for (int i = 0; i < kNoiseSize; ++i) {
        t.noiseFloats[i] = K_RandomFloat(-1.0f, 1.0f);
        t.permutation[i] = K_RandomLong(0, 255) & (kNoiseSize - 1);
    }
    t.built = true;
}

bool Shader_TablesBuilt() {
    return tables().built;
}

const float* Shader_WaveTable(int32_t kind) {
    switch (kind) {
    case WaveKind::RectifiedSine:
        return tables().waves[RectifiedSine];
    case WaveKind::Square:
        return tables().waves[Square];
    case WaveKind::Triangle:
        return tables().waves[Triangle];
    case WaveKind::Sawtooth:
        return tables().waves[Sawtooth];
    case WaveKind::InverseSawtooth:
        return tables().waves[InverseSawtooth];
    default:
        return tables().waves[Sine];
    }
}

const float* Shader_NoiseFloats() {
    return tables().noiseFloats;
}

const int32_t* Shader_NoisePermutation() {
    return tables().permutation;
}

float Shader_EvalWave(const WaveForm* wave, float time) {
    if (!wave) return 0.0f;
    if (wave->kind == WaveKind::Noise)
        return Shader_Noise(0.0f, 0.0f, 0.0f, (time + wave->phase) * wave->frequency) * wave->amplitude +
               wave->base;
    return tableOffset(*wave, time * wave->frequency + wave->phase);
}

float Shader_Noise(float x, float y, float z, float w) {
    const float* R = tables().noiseFloats;
    int64_t ix, iy, iz, iw;
    float fx, fy, fz, fw;
    splitCoordinate(x, &ix, &fx);
    splitCoordinate(y, &iy, &fy);
    splitCoordinate(z, &iz, &fz);
    splitCoordinate(w, &iw, &fw);
    auto lerpX = [&](int64_t i) { return (1.0f - fx) * R[perm(i)] + fx * R[perm(i + 1)]; };
    float slice[2];
    for (int k = 0; k < 2; ++k) {
        const int64_t a = iz + perm(iw + k);
        const int64_t b = iy + perm(a);
        const int64_t c = iy + perm(a + 1);
        const float l00 = lerpX(perm(b) + ix), l10 = lerpX(perm(b + 1) + ix);
        const float l01 = lerpX(perm(c) + ix), l11 = lerpX(perm(c + 1) + ix);
        slice[k] = (l11 * fy + l01 * (1.0f - fy)) * fz + (l10 * fy + l00 * (1.0f - fy)) * (1.0f - fz);
    }
    return (1.0f - fw) * slice[0] + fw * slice[1];
}

void Shader_ApplyDeforms(EffectBatch* batch) {
    if (!batch || !batch->shader || !batch->vertices) return;
    for (const VertexDeform& deform : batch->shader->deforms) {
        switch (deform.kind) {
        case 0:
            return;
        case DeformKind::Wave:
            deformWave(batch, deform);
            break;
        case DeformKind::Normal:
            deformNormal(batch, deform);
            break;
        case DeformKind::Bulge:
            deformBulge(batch, deform, false);
            break;
        case DeformKind::BulgeScaled:
            deformBulge(batch, deform, true);
            break;
        case DeformKind::Move:
            deformMove(batch, deform);
            break;
        case DeformKind::Autosprite:
            deformAutosprite(batch);
            break;
        case DeformKind::Autosprite2:
            deformAutosprite2(batch);
            break;
        default:
            break;
        }
    }
}

void Shader_BuildSpriteQuad(EffectVertex* quad, const float* centre, const float* left, const float* up,
                            const float* normal) {
    // Corner signs of L and U and the corner's (s, t).
    static constexpr float kCorners[4][4] = {{-1, 1, 0, 0}, {-1, -1, 0, 1}, {1, -1, 1, 1}, {1, 1, 1, 0}};
    for (int k = 0; k < 4; ++k) {
        EffectVertex& v = quad[k];
        for (int c = 0; c < 3; ++c) {
            v.xyz[c] = centre[c] + left[c] * kCorners[k][0] + up[c] * kCorners[k][1];
            v.normal[c] = normal[c];
        }
        v.baseST[0] = v.lightmapST[0] = kCorners[k][2];
        v.baseST[1] = v.lightmapST[1] = kCorners[k][3];
    }
}
