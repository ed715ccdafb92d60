#include "map/Decal.h"

#include <cstring>

#include "core/System.h"
#include "gamedata/TextureManager.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "core/Vector.h"
#include "map/WorldHooks.h"

namespace {

// The process-wide free list of fragments.
DecalFragment* s_pool = nullptr;

DecalFragment* takeFragment() {
    DecalFragment* f = s_pool;
    if (!f) return static_cast<DecalFragment*>(Sys_Alloc(sizeof(DecalFragment)));
    s_pool = f->next;
    f->next = nullptr;
    f->brush = nullptr;
    return f;
}

void poolFragment(DecalFragment* f) {
    f->entity = nullptr;
    f->brush = nullptr;
    f->nextInBrush = nullptr;
    f->next = s_pool;
    s_pool = f;
}

DecalFragment*& fragmentsOf(EntityModel* decal) {
    return reinterpret_cast<DecalFragment*&>(decal->fragments);
}

void decalSize(const EntityModel* decal, float* width, float* height) {
    const ShaderRecord* texture = static_cast<const ShaderRecord*>(decal->entry);
    *width = float(TexInfo_SafeSize(texture ? texture->width : 0));
    *height = float(TexInfo_SafeSize(texture ? texture->height : 0));
}

// One side of the decal square: keep coordinate (0 s, 1 t) above or below bound.
struct ClipSide {
    int coord;
    float bound;
    bool keepAbove;
};
constexpr ClipSide kClipSides[4] = {{0, 0.0f, true}, {0, 1.0f, false}, {1, 0.0f, true}, {1, 1.0f, false}};

float coordOf(const DecalVertex& v, int coord) {
    return coord == 0 ? v.s : v.t;
}

// Clips in to out against one side; -1 when the result would not fit.
int clipSide(const DecalVertex* in, int count, DecalVertex* out, const ClipSide& side) {
    auto inside = [&](const DecalVertex& v) {
        const float c = coordOf(v, side.coord);
        return side.keepAbove ? c > side.bound : c < side.bound;
    };
    int written = 0;
    for (int i = 0; i < count; ++i) {
        const DecalVertex& cur = in[i];
        const DecalVertex& prev = in[(i + count - 1) % count];
        const bool curIn = inside(cur);
        const bool prevIn = inside(prev);
        if (curIn != prevIn) {
            if (written == kDecalMaxVertices) return -1;
            const float a = coordOf(prev, side.coord);
            const float f = (side.bound - a) / (coordOf(cur, side.coord) - a);
            DecalVertex& v = out[written++];
            for (int k = 0; k < 3; ++k)
                v.xyz[k] = prev.xyz[k] + (cur.xyz[k] - prev.xyz[k]) * f;
            v.s = prev.s + (cur.s - prev.s) * f;
            v.t = prev.t + (cur.t - prev.t) * f;
            (side.coord == 0 ? v.s : v.t) = side.bound;
        }
        if (curIn) {
            if (written == kDecalMaxVertices) return -1;
            out[written++] = cur;
        }
    }
    return written;
}

bool unlinkFromBrush(DecalFragment* fragment) {
    for (DecalFragment** link = &fragment->brush->decalFragments; *link; link = &(*link)->nextInBrush) {
        if (*link == fragment) {
            *link = fragment->nextInBrush;
            return true;
        }
    }
    return false;
}

} // namespace

bool Decal_BoxesOverlap(const float minsA[3], const float maxsA[3], const float minsB[3],
                        const float maxsB[3], float tolerance) {
    for (int i = 0; i < 3; ++i)
        if (minsA[i] > maxsB[i] + tolerance || maxsA[i] < minsB[i] - tolerance) return false;
    return true;
}

bool Decal_FaceAccepts(const FaceRecord* face) {
    return face && face->texture && !(face->texture->category & kTextureCategoryNoDecal);
}

int Decal_PooledCount() {
    int n = 0;
    for (const DecalFragment* f = s_pool; f; f = f->next)
        ++n;
    return n;
}

void Decal_FreePool() {
    while (DecalFragment* f = s_pool) {
        s_pool = f->next;
        Sys_Free(f);
    }
}

int Decal_ClipToFace(const EntityModel* decal, const FaceRecord* face, const float centre[3],
                     DecalFragment* fragment) {
    if (!decal || !face || !fragment) return 0;
    fragment->vertexCount = 0;
    const int count = face->vertexCount;
    if (count > kDecalMaxFaceVertices) {
        Sys_Warning("decal: face of %d vertices not projected (maximum is %d)", count, kDecalMaxFaceVertices);
        return 0;
    }
    if (count < 3 || !face->vertices) return 0;

    float sAxis[3], tAxis[3];
    Vec_Copy(face->texInfo.sAxis, sAxis);
    Vec_Copy(face->texInfo.tAxis, tAxis);
    if (face->texInfo.sScale < 0.0f)
        for (float& v : sAxis)
            v = -v;
    if (face->texInfo.tScale < 0.0f)
        for (float& v : tAxis)
            v = -v;
    float width, height;
    decalSize(decal, &width, &height);
    const float sCentre = Vec_Dot(centre, sAxis);
    const float tCentre = Vec_Dot(centre, tAxis);

    DecalVertex buffers[2][kDecalMaxVertices];
    for (int i = 0; i < count; ++i) {
        const float* p = face->vertices[i].xyz;
        DecalVertex& v = buffers[0][i];
        for (int k = 0; k < 3; ++k)
            v.xyz[k] = p[k] + face->normal[k] * 0.1f;
        v.s = (Vec_Dot(p, sAxis) - sCentre + width * 0.5f) / width;
        v.t = (Vec_Dot(p, tAxis) - tCentre + height * 0.5f) / height;
    }
    int n = count;
    int from = 0;
    for (const ClipSide& side : kClipSides) {
        n = clipSide(buffers[from], n, buffers[1 - from], side);
        if (n < 0) {
            Sys_Warning("decal: clipped face exceeds %d vertices", kDecalMaxVertices);
            return 0;
        }
        from = 1 - from;
        if (n < 3) return 0;
    }
    Vec_Copy(face->normal, fragment->normal);
    std::memcpy(fragment->vertices, buffers[from], sizeof(DecalVertex) * size_t(n));
    fragment->vertexCount = n;
    fragment->primitive = n == 3   ? DecalPrimitive::Triangles
                          : n == 4 ? DecalPrimitive::Quads
                                   : DecalPrimitive::Polygon;
    return n;
}

void Decal_FreeFragments(EntityModel* decal) {
    if (!decal) return;
    for (DecalFragment* f = fragmentsOf(decal); f;) {
        DecalFragment* next = f->next;
        if (f->brush && !unlinkFromBrush(f)) Sys_Error("Decal_UnlinkFragment: fragment not linked");
        poolFragment(f);
        f = next;
    }
    fragmentsOf(decal) = nullptr;
}

void Decal_Project(EntityRecord* entity, EntityModel* decal) {
    if (!entity || !decal) return;
    Decal_FreeFragments(decal);
    float centre[3];
    for (int i = 0; i < 3; ++i)
        centre[i] = (decal->mins[i] + decal->maxs[i]) * 0.5f;
    EntityRecord* entities = World_Entities(World_OfEntity(entity));
    if (!entities) return;
    constexpr float kTolerance = 0.001f;
    for (EntityRecord* e = entities; e; e = e->next) {
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            if (!Decal_BoxesOverlap(b->mins, b->maxs, decal->mins, decal->maxs, kTolerance)) continue;
            for (FaceRecord* face = b->firstFace; face; face = face->next) {
                if (!Decal_FaceAccepts(face)) continue;
                if (!Decal_BoxesOverlap(face->mins, face->maxs, decal->mins, decal->maxs, kTolerance))
                    continue;
                const float d = Vec_Dot(face->normal, centre) - face->dist;
                if (!(d > -0.0001f && d < 4.0f)) continue;
                DecalFragment* f = takeFragment();
                if (!f) return;
                if (Decal_ClipToFace(decal, face, centre, f) < 3) {
                    poolFragment(f);
                    continue;
                }
                f->entity = entity;
                f->brush = b;
                f->nextInBrush = b->decalFragments;
                b->decalFragments = f;
                f->next = fragmentsOf(decal);
                fragmentsOf(decal) = f;
            }
        }
    }
}

void Decal_InvalidateAroundBrush(BrushRecord* brush) {
    if (!brush) return;
    for (DecalFragment* f = brush->decalFragments; f; f = f->nextInBrush)
        if (f->entity) f->entity->flags |= EntityFlag::ReprojectDecal;
    EntityRecord* entities = World_Entities(World_OfBrush(brush));
    if (!entities) return;
    for (EntityRecord* e = entities; e; e = e->next) {
        if (e->modelKind != EntityModelKind::Decal || !e->model) continue;
        if (Decal_BoxesOverlap(e->model->mins, e->model->maxs, brush->mins, brush->maxs, 0.001f))
            e->flags |= EntityFlag::ReprojectDecal;
    }
}

void Decal_UnlinkBrush(BrushRecord* brush) {
    if (!brush) return;
    for (DecalFragment* f = brush->decalFragments; f;) {
        DecalFragment* next = f->nextInBrush;
        if (f->entity) f->entity->flags |= EntityFlag::ReprojectDecal;
        f->brush = nullptr;
        f->nextInBrush = nullptr;
        f = next;
    }
    brush->decalFragments = nullptr;
}
