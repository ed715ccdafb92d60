#include "ModelCommon.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>
#include <vector>

#include "Images.h"
#include "gamedata/TextureRecords.h"
#include "kstdlib/kmath.h"
#include "kstdlib/kstring.h"

namespace Engine {
const unsigned char* Copy();
} // namespace Engine

namespace Model {

namespace {

template <typename T> T readAt(const EntityRecord* e, int offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(e) + offset, sizeof value);
    return value;
}

void forward(void (*print)(const char*, ...), const char* format, va_list args) {
    char line[8192];
    std::vsnprintf(line, sizeof line, format, args);
    if (print) print("%s", line);
}

struct Scratch {
    std::vector<float> positions, normals, shades;
};
Scratch& scratch() {
    static Scratch s;
    return s;
}

constexpr float kDegToRad = 0.017453292519943295f;

} // namespace

const EngineFuncs& Table() {
    return *reinterpret_cast<const EngineFuncs*>(Engine::Copy());
}

Context ReadContext(const EntityRecord* e) {
    Context c;
    if (!e) return c;
    c.present = true;
    c.flags = readAt<uint32_t>(e, kEntityFlagsAt);
    std::memcpy(c.origin, reinterpret_cast<const unsigned char*>(e) + kEntityOriginAt, sizeof c.origin);
    std::memcpy(c.angles, reinterpret_cast<const unsigned char*>(e) + kEntityAnglesAt, sizeof c.angles);
    c.alpha = readAt<uint8_t>(e, kEntityAlphaAt);
    c.skin = readAt<int16_t>(e, kEntitySkinAt);
    c.frame = readAt<int32_t>(e, kEntityFrameAt);
    c.scale = readAt<float>(e, kEntityScaleAt);
    const auto* model = readAt<const unsigned char*>(e, kEntityModelAt);
    if (model) {
        c.hasMotion = true;
        std::memcpy(&c.mainEntry, model + kAttachedEntryAt, sizeof c.mainEntry);
        std::memcpy(c.motion[0], model + kMotionMainAt, sizeof c.motion[0]);
        std::memcpy(c.motion[1], model + kMotionOtherAt, sizeof c.motion[1]);
    }
    return c;
}

void DrawMatrix(const Context& c, int32_t flags, const ModelCacheEntry* entry, float matrix[12]) {
    float origin[3] = {c.origin[0], c.origin[1], c.origin[2]};
    if (c.present && c.hasMotion) {
        const float* m = c.motion[c.mainEntry == entry ? 0 : 1];
        float offset = 0.0f;
        if (flags & kItemMotion) {
            const float turn = std::fmod(Seconds() * m[0], 360.0f);
            offset = (K_TableSin(turn * kDegToRad) + 1.0f) * m[1];
        }
        origin[2] += offset + m[2];
    }
    const float scale = (flags & kIgnoreScale) || !c.present ? 1.0f : c.scale;
    K_BuildTransformStudioMatrix(c.angles[1], c.angles[0], c.angles[2], origin, scale, matrix);
}

uint8_t DrawAlpha(const Context& c) {
    if (!c.present || !(c.flags & kEntityBlended)) return 255;
    const float minAlpha = Table().Render_GetMinAlpha ? Table().Render_GetMinAlpha() * 255.0f : 0.0f;
    return uint8_t(std::clamp(std::max(float(c.alpha), minAlpha), 0.0f, 255.0f));
}

void CentreOffset(const float boxMins[3], const float boxMaxs[3], int32_t flags, float centre[2]) {
    centre[0] = centre[1] = 0.0f;
    if (!(flags & kCentered)) return;
    centre[0] = (boxMins[0] + boxMaxs[0]) * 0.5f;
    centre[1] = (boxMins[1] + boxMaxs[1]) * 0.5f;
}

void Bounds(const float boxMins[3], const float boxMaxs[3], int32_t flags, const Context& c, bool withOrigin,
            float mins[3], float maxs[3]) {
    float centre[2];
    CentreOffset(boxMins, boxMaxs, flags, centre);
    const float lo[3] = {boxMins[0] - centre[0], boxMins[1] - centre[1], boxMins[2]};
    const float hi[3] = {boxMaxs[0] - centre[0], boxMaxs[1] - centre[1], boxMaxs[2]};
    float outMins[3], outMaxs[3];
    K_ClearBounds(outMins, outMaxs);
    if (withOrigin) {
        const float zero[3] = {0, 0, 0};
        K_AddPointToBounds(zero, outMins, outMaxs);
    }
    if (flags & kItemMotion) {
        const float x = std::max(std::fabs(boxMins[0]), std::fabs(boxMaxs[0])) - centre[0];
        const float y = std::max(std::fabs(boxMins[1]), std::fabs(boxMaxs[1])) - centre[1];
        const float r = std::sqrt(x * x + y * y);
        float low = 0.0f, high = 0.0f;
        if (c.present && c.hasMotion) {
            low = std::min(c.motion[0][2], c.motion[1][2]);
            high = std::max(2.0f * c.motion[0][1] + c.motion[0][2], 2.0f * c.motion[1][1] + c.motion[1][2]);
        }
        const float a[3] = {r, r, low + boxMins[2]};
        const float b[3] = {-r, -r, high + boxMaxs[2]};
        K_AddPointToBounds(a, outMins, outMaxs);
        K_AddPointToBounds(b, outMins, outMaxs);
    } else if (c.present) {
        float m[12];
        const float zero[3] = {0, 0, 0};
        K_BuildTransformStudioMatrix(c.angles[1], c.angles[0], c.angles[2], zero, 1.0f, m);
        for (int i = 0; i < 8; ++i) {
            const float p[3] = {(i & 1) ? hi[0] : lo[0], (i & 2) ? hi[1] : lo[1], (i & 4) ? hi[2] : lo[2]};
            float q[3];
            K_VectorRotate(p, m, q);
            K_AddPointToBounds(q, outMins, outMaxs);
        }
    } else {
        K_AddPointToBounds(lo, outMins, outMaxs);
        K_AddPointToBounds(hi, outMins, outMaxs);
    }
    std::memcpy(mins, outMins, sizeof outMins);
    std::memcpy(maxs, outMaxs, sizeof outMaxs);
}

ShaderRecord* AcquireEffect(const char* raw, int32_t bits, ModelCacheEntry* entry, bool stripTextures) {
    if (!raw || !*raw || !Table().Tex_AcquireShaderByName) return nullptr;
    if (stripTextures && (!strncasecmp(raw, "textures/", 9) || !strncasecmp(raw, "textures\\", 9))) raw += 9;
    char name[260];
    std::snprintf(name, sizeof name, "%s", raw);
    K_StripExtension(name);
    for (char* p = name; *p; ++p)
        if (*p == '\\') *p = '/';
    ShaderRecord* effect = Table().Tex_AcquireShaderByName(name);
    if (!effect) return nullptr;
    effect->flags |= bits;
    // A placeholder takes the model's skin image: the model holds the skin effect instead.
    if (effect->flags & SHADER_NO_SHIFT_WRAP) {
        ShaderRecord* skin = LoadSkinTexture(name);
        if (skin && skin != effect) {
            ++skin->refCount;
            ReleaseEffect(effect);
            effect = skin;
            effect->flags |= bits;
        }
    }
    if (effect->stages && effect->stages->stateBits && entry) entry->blended = 1;
    return effect;
}

void ReleaseEffect(ShaderRecord* effect) {
    if (effect && Table().Plugin_ReleaseShader) Table().Plugin_ReleaseShader(effect);
}

bool BindEffect(ShaderRecord* effect, uint32_t* saved) {
    bool changed = false;
    if (effect && effect->stages && effect->stages->stateBits) {
        *saved = Table().Render_GetStateBits();
        Table().Render_SetStateBits(uint32_t(effect->stages->stateBits));
        changed = true;
    }
    Table().Render_BindShader(effect);
    return changed;
}

void RestoreState(bool changed, uint32_t saved) {
    if (changed) Table().Render_SetStateBits(saved);
}

bool ReserveScratch(int64_t count) {
    Scratch& s = scratch();
    if (count < 0 || count > (int64_t(1) << 26)) return false;
    const size_t n = size_t(std::max<int64_t>(count, 8192));
    if (s.shades.size() < n) {
        s.positions.resize(n * 3);
        s.normals.resize(n * 3);
        s.shades.resize(n);
    }
    return true;
}
float (*ScratchPositions())[3] {
    return reinterpret_cast<float(*)[3]>(scratch().positions.data());
}
float (*ScratchNormals())[3] {
    return reinterpret_cast<float(*)[3]>(scratch().normals.data());
}
float* ScratchShades() {
    return scratch().shades.data();
}

void Error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(Table().Sys_Error, format, args);
    va_end(args);
}
void Warning(const char* format, ...) {
    va_list args;
    va_start(args, format);
    forward(Table().Sys_Warning, format, args);
    va_end(args);
}
void* Alloc(uint64_t size) {
    void* block = Table().Sys_Alloc(size);
    if (block) std::memset(block, 0, size);
    return block;
}
void Free(void* block) {
    if (block) Table().Sys_Free(block);
}
float Seconds() {
    return Table().Sys_Seconds ? Table().Sys_Seconds() : 0.0f;
}
void SetPrimitive(int32_t kind) {
    Table().Render_SetPrimitive(kind);
}
void Flush() {
    Table().Render_Flush();
}
void Color(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    Table().Render_Color4ub(r, g, b, a);
}
void TexCoord(const float st[2]) {
    Table().Render_TexCoord2fv(st);
}
void Normal(const float n[3]) {
    Table().Render_Normal3fv(n);
}
void Vertex(const float p[3]) {
    Table().Render_Vertex3fv(p);
}
uint8_t ShadeByte(float shade) {
    return shade > 0.0f ? uint8_t(std::min(shade, 255.0f)) : 0;
}
float Shade(const float n[3]) {
    return Table().Render_ShadeForNormal(n);
}

} // namespace Model
