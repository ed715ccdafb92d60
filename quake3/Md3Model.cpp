// MD3 loading checks every count, offset and size against the bytes that are left (in 64-bit
// arithmetic) and every triangle index against its surface before anything is read, and keeps
// aligned copies of what drawing needs.
#include "Md3Model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ModelCommon.h"
#include "gamedata/TextureRecords.h"
#include "kstdlib/kmath.h"

namespace {

struct Md3Surface {
    int32_t vertexCount;
    int32_t triangleCount;
    int32_t effectCount;
    int32_t* triangles;     // 3 per triangle
    float (*st)[2];         // per vertex
    Md3Vertex* vertices;    // frameCount x vertexCount
    ShaderRecord** effects; // into the model's array
};

struct Md3Model {
    int32_t frameCount;
    int32_t surfaceCount;
    int32_t effectTotal;
    Md3Frame* frames;
    ShaderRecord** effects;
    Md3Surface surfaces[kMd3MaxSurfaces];
};

constexpr float kAngleStep = 6.283185307179586f / 256.0f;

void freeModel(Md3Model* m) {
    if (!m) return;
    for (int32_t i = 0; m->effects && i < m->effectTotal; ++i)
        Model::ReleaseEffect(m->effects[i]);
    Model::Free(m->effects);
    for (Md3Surface& s : m->surfaces) {
        Model::Free(s.triangles);
        Model::Free(s.st);
        Model::Free(s.vertices);
    }
    Model::Free(m->frames);
    Model::Free(m);
}

// A copy of count records of `size` bytes at offset within [0, limit) of data; null when it does
// not fit or cannot be allocated.
void* copyRecords(const uint8_t* data, int64_t offset, int64_t count, int64_t size, int64_t limit) {
    if (offset < 0 || count < 0 || offset > limit || count * size > limit - offset) return nullptr;
    void* block = Model::Alloc(uint64_t(std::max<int64_t>(count * size, 1)));
    if (block && count) std::memcpy(block, data + offset, size_t(count * size));
    return block;
}

bool finiteBox(const Md3Frame& f) {
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(f.mins[i]) || !std::isfinite(f.maxs[i])) return false;
    return true;
}

int32_t frameOf(const Md3Model* m, const Model::Context& c) {
    return c.present && c.frame >= 0 && c.frame < m->frameCount ? c.frame : 0;
}

// Reads and checks the surfaces; a message naming file and fault on the first refusal.
bool readSurfaces(const char* path, const uint8_t* data, int64_t end, const Md3Header& h, Md3Model* m) {
    int64_t at = h.surfaceOffset;
    for (int32_t i = 0; i < h.surfaceCount; ++i) {
        if (at < 0 || at > end || end - at < int64_t(sizeof(Md3SurfaceHeader))) {
            Model::Error("MD3 \"%s\": surface %d: header at %lld beyond the file end %lld", path, i,
                         static_cast<long long>(at), static_cast<long long>(end));
            return false;
        }
        Md3SurfaceHeader s;
        std::memcpy(&s, data + at, sizeof s);
        const int64_t surfaceEnd = at + int64_t(s.endOffset);
        if (s.endOffset < int32_t(sizeof s) || surfaceEnd > end) {
            Model::Error("MD3 \"%s\": surface %d: end offset %d outside the file", path, i, s.endOffset);
            return false;
        }
        if (s.frameCount < h.frameCount) {
            Model::Error("MD3 \"%s\": surface %d: %d frames, fewer than the model's %d", path, i,
                         s.frameCount, h.frameCount);
            return false;
        }
        if (s.vertexCount < 0 || s.triangleCount < 0 || s.effectCount < 0) {
            Model::Error("MD3 \"%s\": surface %d: negative count", path, i);
            return false;
        }
        const int64_t limit = surfaceEnd - at;
        const uint8_t* base = data + at;
        Md3Surface& out = m->surfaces[i];
        out.vertexCount = s.vertexCount;
        out.triangleCount = s.triangleCount;
        out.effectCount = s.effectCount;
        struct Part {
            const char* what;
            int64_t offset, count, size;
            void** target;
        } parts[] = {
            {"triangles", s.triangleOffset, int64_t(s.triangleCount) * 3, 4,
             reinterpret_cast<void**>(&out.triangles)},
            {"texture coordinates", s.texCoordOffset, s.vertexCount, 8, reinterpret_cast<void**>(&out.st)},
            {"vertices", s.vertexOffset, int64_t(s.vertexCount) * h.frameCount, 8,
             reinterpret_cast<void**>(&out.vertices)},
        };
        for (Part& part : parts) {
            *part.target = copyRecords(base, part.offset, part.count, part.size, limit);
            if (!*part.target) {
                Model::Error("MD3 \"%s\": surface %d: %s at %lld (%lld bytes) beyond the surface end", path,
                             i, part.what, static_cast<long long>(part.offset),
                             static_cast<long long>(part.count * part.size));
                return false;
            }
        }
        if (int64_t(s.effectOffset) < 0 || s.effectOffset > limit ||
            int64_t(s.effectCount) * int64_t(sizeof(Md3Effect)) > limit - s.effectOffset) {
            Model::Error("MD3 \"%s\": surface %d: effects at %d beyond the surface end", path, i,
                         s.effectOffset);
            return false;
        }
        for (int64_t k = 0; k < int64_t(s.triangleCount) * 3; ++k)
            if (out.triangles[k] < 0 || out.triangles[k] >= s.vertexCount) {
                Model::Error("MD3 \"%s\": surface %d: triangle index %d beyond %d vertices", path, i,
                             out.triangles[k], s.vertexCount);
                return false;
            }
        at = surfaceEnd;
    }
    return true;
}

// Effects in surface order; each surface's entries are a run of the model's array.
bool bindEffects(const uint8_t* data, const Md3Header& h, Md3Model* m, ModelCacheEntry* entry) {
    int64_t total = 0;
    for (int32_t i = 0; i < m->surfaceCount; ++i)
        total += m->surfaces[i].effectCount;
    m->effects =
        static_cast<ShaderRecord**>(Model::Alloc(uint64_t(std::max<int64_t>(total, 1)) * sizeof(void*)));
    if (!m->effects) return false;
    int64_t at = h.surfaceOffset;
    for (int32_t i = 0; i < m->surfaceCount; ++i) {
        Md3SurfaceHeader s;
        std::memcpy(&s, data + at, sizeof s);
        m->surfaces[i].effects = m->effects + m->effectTotal;
        for (int32_t k = 0; k < s.effectCount; ++k) {
            Md3Effect e;
            std::memcpy(&e, data + at + s.effectOffset + int64_t(k) * int64_t(sizeof e), sizeof e);
            e.name[sizeof e.name - 1] = 0;
            m->effects[m->effectTotal++] = Model::AcquireEffect(e.name, 0x2400, entry);
        }
        at += s.endOffset;
    }
    return true;
}

void decodeNormal(uint16_t packed, float n[3]) {
    const float a = float(packed & 0xFF) * kAngleStep;
    const float b = float(packed >> 8) * kAngleStep;
    const float sa = K_TableSin(a);
    n[0] = sa * K_TableCos(b);
    n[1] = sa * K_TableSin(b);
    n[2] = K_TableCos(a);
}

} // namespace

int32_t Md3_Load(const char* path, const uint8_t* data, uint32_t size, ModelCacheEntry* entry) {
    if (!data || size < sizeof(Md3Header) || !entry) return 0;
    Md3Header h;
    std::memcpy(&h, data, sizeof h);
    if (std::memcmp(h.magic, "IDP3", 4) != 0 || h.version != 15) return 0;
    if (!path) path = "";
    if (h.surfaceCount < 1 || h.surfaceCount > kMd3MaxSurfaces) {
        Model::Error("invalid # of surfaces in \"%s\" (%i)", path, h.surfaceCount);
        return 0;
    }
    if (h.frameCount < 1 || h.frameCount > kMd3MaxFrames) {
        Model::Error("invalid # of frames in \"%s\" (%i)", path, h.frameCount);
        return 0;
    }
    if (h.endOffset < int32_t(sizeof h) || uint32_t(h.endOffset) > size) {
        Model::Error("MD3 \"%s\": end offset %d outside the %u bytes read", path, h.endOffset, size);
        return 0;
    }
    const int64_t end = h.endOffset;
    auto* m = static_cast<Md3Model*>(Model::Alloc(sizeof(Md3Model)));
    if (!m) return 0;
    m->frameCount = h.frameCount;
    m->surfaceCount = h.surfaceCount;
    m->frames = static_cast<Md3Frame*>(copyRecords(data, h.frameOffset, h.frameCount, sizeof(Md3Frame), end));
    if (!m->frames) {
        Model::Error("MD3 \"%s\": %d frames at %d beyond the file end", path, h.frameCount, h.frameOffset);
        freeModel(m);
        return 0;
    }
    for (int32_t f = 0; f < h.frameCount; ++f)
        if (!finiteBox(m->frames[f])) {
            Model::Error("MD3 \"%s\": frame %d: bounds not finite", path, f);
            freeModel(m);
            return 0;
        }
    int64_t vertices = 0;
    if (!readSurfaces(path, data, end, h, m)) {
        freeModel(m);
        return 0;
    }
    for (const Md3Surface& s : m->surfaces)
        vertices = std::max<int64_t>(vertices, s.vertexCount);
    if (!Model::ReserveScratch(vertices)) {
        Model::Error("MD3 \"%s\": %lld vertices in one surface", path, static_cast<long long>(vertices));
        freeModel(m);
        return 0;
    }
    if (!bindEffects(data, h, m, entry)) {
        freeModel(m);
        return 0;
    }
    Md3_Bounds(m, 0, nullptr, entry->mins, entry->maxs);
    entry->data = m;
    return 1;
}

void Md3_Free(void* model) {
    freeModel(static_cast<Md3Model*>(model));
}

void Md3_Bounds(const void* model, int32_t flags, const EntityRecord* entity, float mins[3], float maxs[3]) {
    const auto* m = static_cast<const Md3Model*>(model);
    const Model::Context c = Model::ReadContext(entity);
    const Md3Frame& f = m->frames[frameOf(m, c)];
    Model::Bounds(f.mins, f.maxs, flags, c, false, mins, maxs);
}

void Md3_Render(const void* model, int32_t flags, const ModelCacheEntry* entry, const EntityRecord* entity) {
    const auto* m = static_cast<const Md3Model*>(model);
    const Model::Context c = Model::ReadContext(entity);
    const int32_t frame = frameOf(m, c);
    float centre[2];
    Model::CentreOffset(m->frames[frame].mins, m->frames[frame].maxs, flags, centre);
    float matrix[12];
    Model::DrawMatrix(c, flags, entry, matrix);
    const bool wire = flags & Model::kWireFrame;
    const bool shaded = !(flags & Model::kNoShading);
    const uint8_t alpha = Model::DrawAlpha(c);
    float scale = c.present && !(flags & Model::kIgnoreScale) ? c.scale : 1.0f;
    if (scale == 0.0f) scale = 1.0f;
    for (int32_t i = 0; i < m->surfaceCount; ++i) {
        const Md3Surface& s = m->surfaces[i];
        if (!Model::ReserveScratch(s.vertexCount)) return;
        float(*points)[3] = Model::ScratchPositions();
        float(*normals)[3] = Model::ScratchNormals();
        float* shades = Model::ScratchShades();
        const Md3Vertex* v = s.vertices + int64_t(frame) * s.vertexCount;
        for (int32_t k = 0; k < s.vertexCount; ++k) {
            const float p[3] = {v[k].xyz[0] / 64.0f - centre[0], v[k].xyz[1] / 64.0f - centre[1],
                                v[k].xyz[2] / 64.0f};
            K_VectorTransform(p, matrix, points[k]);
        }
        if (wire) {
            Model::SetPrimitive(Model::kTriangles);
            for (int64_t k = 0; k < int64_t(s.triangleCount) * 3; ++k)
                Model::Vertex(points[s.triangles[k]]);
            Model::Flush();
            continue;
        }
        for (int32_t k = 0; k < s.vertexCount; ++k) {
            float n[3];
            decodeNormal(v[k].normal, n);
            K_VectorRotate(n, matrix, normals[k]);
            if (scale != 1.0f)
                for (float& x : normals[k])
                    x /= scale;
            if (shaded) shades[k] = Model::Shade(normals[k]) * 255.0f;
        }
        // The context's skin picks the entry, the last one past the end; none binds nothing.
        ShaderRecord* effect = nullptr;
        if (s.effectCount > 0) {
            const int32_t skin = c.present && c.skin > 0 ? std::min<int32_t>(c.skin, s.effectCount - 1) : 0;
            effect = s.effects[skin];
        }
        uint32_t saved = 0;
        const bool changed = Model::BindEffect(effect, &saved);
        Model::SetPrimitive(Model::kTriangles);
        for (int64_t k = 0; k < int64_t(s.triangleCount) * 3; ++k) {
            const int32_t index = s.triangles[k];
            if (shaded) {
                const uint8_t shade = Model::ShadeByte(shades[index]);
                Model::Color(shade, shade, shade, alpha);
            }
            Model::TexCoord(s.st[index]);
            Model::Normal(normals[index]);
            Model::Vertex(points[index]);
        }
        Model::Flush();
        Model::RestoreState(changed, saved);
    }
}
