// Brushes: update, face order, split, validity, overlap tests, copies and the brush API.
#include "map/MapBrush.h"
#include "core/MainSettings.h"
#include "map/Decal.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/SysHost.h"
#include "core/System.h"
#include "core/Winding.h"
#include "kstdlib/kmath.h"
#include "map/FaceOrder.h"
#include "map/FaceSource.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "core/Vector.h"
#include "map/ObjectRecords.h"
#include "map/WorldHooks.h"
#include "render/ColorScheme.h"

namespace {

ObjectColor schemeColor(int32_t key) {
    uint8_t c[4];
    Color_FillRGBA(c, key);
    return Color_FromBytes(c[0], c[1], c[2], c[3]);
}

MapHandle mapOfEntity(const EntityRecord* entity) {
    return entity ? entity->owner : nullptr;
}

bool facePrecedes(const FaceRecord* a, const FaceRecord* b) {
    if (a->axialType != b->axialType) return a->axialType < b->axialType;
    return a->vertexCount > b->vertexCount;
}

FaceRecord* mergeFaces(FaceRecord* a, FaceRecord* b) {
    FaceRecord head{};
    FaceRecord* tail = &head;
    while (a && b) {
        // On equal keys the second half goes first.
        FaceRecord*& take = facePrecedes(a, b) ? a : b;
        tail->next = take;
        take->prev = tail;
        tail = take;
        take = take->next;
    }
    tail->next = a ? a : b;
    if (tail->next) tail->next->prev = tail;
    FaceRecord* first = head.next;
    if (first) first->prev = nullptr;
    return first;
}

FaceRecord* sortFaceList(FaceRecord* first, int32_t count) {
    if (count < 2) return first;
    const int32_t half = count / 2;
    FaceRecord* second = first;
    for (int32_t i = 0; i < half; ++i)
        second = second->next;
    second->prev->next = nullptr;
    second->prev = nullptr;
    return mergeFaces(sortFaceList(first, half), sortFaceList(second, count - half));
}

// A new face on brush with the block and the plane written in; its polygon comes at the update.
FaceRecord* addPlaneFace(MapHandle map, BrushRecord* brush, const TextureInfo* info, const float normal[3],
                         float dist, int32_t type) {
    FaceRecord* face = Face_Create(map, brush, info, 0);
    Vec_Copy(normal, face->normal);
    face->dist = dist;
    face->axialType = type;
    return face;
}

// A detached face copy: what copyData keeps and Brush_CreateFromCopy rebuilds from.
FaceRecord* copyFaceData(const FaceRecord* src, BrushRecord* owner) {
    auto* face = static_cast<FaceRecord*>(std::calloc(1, sizeof(FaceRecord)));
    face->brush = owner;
    face->flags = src->flags & ~FaceFlags::Selected;
    face->fileOrder = src->fileOrder;
    Vec_Copy(src->normal, face->normal);
    face->dist = src->dist;
    face->axialType = src->axialType;
    face->texInfo = src->texInfo;
    Vec_Copy(src->mins, face->mins);
    Vec_Copy(src->maxs, face->maxs);
    if (src->source) {
        face->source = static_cast<FaceSource*>(Sys_Alloc(sizeof(FaceSource)));
        std::memcpy(face->source, src->source, sizeof(FaceSource));
    }
    face->vertexCount = src->vertexCount;
    if (src->vertexCount > 0) {
        face->vertices = static_cast<FaceVertex*>(std::calloc(size_t(src->vertexCount), sizeof(FaceVertex)));
        std::memcpy(face->vertices, src->vertices, sizeof(FaceVertex) * size_t(src->vertexCount));
    }
    return face;
}

// Geometry and texture of src into a live face (same vertex count).
void fillFace(FaceRecord* face, const FaceRecord* src) {
    Vec_Copy(src->normal, face->normal);
    face->dist = src->dist;
    face->axialType = src->axialType;
    Vec_Copy(src->mins, face->mins);
    Vec_Copy(src->maxs, face->maxs);
    if (face->vertexCount == src->vertexCount && src->vertexCount > 0)
        std::memcpy(face->vertices, src->vertices, sizeof(FaceVertex) * size_t(src->vertexCount));
    face->handle->setTextureInfo(&src->texInfo);
    face->handle->copySource(src);
    face->fileOrder = src->fileOrder;
}

// A copy of src (a kept face: plane, texture and source, no polygon) appended to the brush's
// kept faces.
void keepFaceCopy(BrushRecord* brush, const FaceRecord* src) {
    FaceRecord* face = Face_Alloc(0);
    face->brush = brush;
    fillFace(face, src);
    face->flags &= ~FaceFlags::NeedsUpdate;
    FaceRecord** tail = &brush->keptFaces;
    while (*tail)
        tail = &(*tail)->next;
    *tail = face;
}

void copyPatchInto(BrushRecord* brush, const PatchRecord* src) {
    PatchRecord* patch = Patch_Alloc(src->columns, src->rows);
    std::memcpy(patch->points, src->points, sizeof(patch->points));
    static_cast<cMapPatch*>(Object_FromRecord(patch))->setTextureInfo(&src->texInfo);
    patch->brush = brush;
    brush->patch = patch;
}

// Plane, texture block (rebound) and corner block of src onto a new overlay carried by brush.
void copyOverlayInto(BrushRecord* brush, const OverlayRecord* src) {
    OverlayRecord* overlay = Overlay_Alloc();
    Vec_Copy(src->normal, overlay->normal);
    overlay->dist = src->dist;
    overlay->planeType = src->planeType;
    std::memcpy(overlay->corners, src->corners, sizeof(overlay->corners));
    overlay->handle->setTextureInfo(&src->texInfo);
    overlay->brush = brush;
    brush->overlay = overlay;
}

} // namespace

// ---- Handle ---------------------------------------------------------------------------------

cMapBrush::cMapBrush()
    : cMapObject(MapObjectKind::Brush, sizeof(BrushRecord)),
      record(static_cast<BrushRecord*>(cMapObject::record())) {}

cMapBrush::~cMapBrush() {
    unlinkDecalFragments();
    BrushRecord* b = record;
    delete Object_FromRecord(b->patch);
    delete Object_FromRecord(b->overlay);
    b->patch = nullptr;
    b->overlay = nullptr;
    for (FaceRecord* list : {b->firstFace, b->keptFaces})
        for (FaceRecord* face = list; face;) {
            FaceRecord* next = face->next;
            delete face->handle;
            face = next;
        }
    b->firstFace = b->lastFace = b->keptFaces = nullptr;
}

void cMapBrush::unlinkDecalFragments() {
    // Fragments leave this brush and their decals are marked for re-projection.
    Decal_UnlinkBrush(record);
}

void cMapBrush::updateRandomColor() {
    displayColor = Object_RandomDisplayColor(baseColor, schemeColor(COLOR_BRUSH_RANDOM_MIN),
                                             schemeColor(COLOR_BRUSH_RANDOM_MAX));
}

void cMapBrush::ensureColor() {
    if (baseColor != kObjectColorBlack) return;
    baseColor = Object_RandomBaseColor();
    updateRandomColor();
}

void cMapBrush::update(uint32_t flags) {
    BrushRecord* b = record;
    ensureColor();

    K_ClearBounds(b->mins, b->maxs);
    const uint32_t faceFlags = flags & BrushUpdate::FacePassThrough;
    int32_t faceCount = 0;
    for (FaceRecord* face = b->firstFace; face;) {
        FaceRecord* next = face->next; // a face whose polygon vanishes deletes itself
        face->handle->displayColor = displayColor;
        if (!(face->flags & FaceFlags::NeedsUpdate) || face->handle->update(faceFlags)) {
            for (int32_t i = 0; i < face->vertexCount; ++i)
                K_AddPointToBounds(face->vertices[i].xyz, b->mins, b->maxs);
            ++faceCount;
        }
        face = next;
    }

    if (b->patch) {
        PatchRecord* patch = b->patch;
        if (patch->flags & PatchFlags::NeedsUpdate)
            static_cast<cMapPatch*>(Object_FromRecord(patch))->update(flags & BrushUpdate::TessellatePatch);
        for (int32_t i = 0; i < patch->vertexCount && patch->vertices; ++i)
            K_AddPointToBounds(patch->vertices[i].xyz, b->mins, b->maxs);
    }
    if (b->overlay) {
        OverlayRecord* overlay = b->overlay;
        if (overlay->flags & OverlayFlags::NeedsUpdate) overlay->handle->update(flags);
        for (const OverlayCorner& corner : overlay->corners)
            K_AddPointToBounds(corner.xyz, b->mins, b->maxs);
    }

    for (int32_t axis = 0; axis < 3; ++axis) {
        if (b->maxs[axis] - b->mins[axis] < 0.001f) {
            b->mins[axis] -= 0.5f;
            b->maxs[axis] += 0.5f;
        }
    }

    // Faces read from a file in an order a sort gave keep it: a map written and read back keeps
    // its face order.
    if (flags & BrushUpdate::KeepOrderedFaces) faceOrderSettled = true;
    if (!(flags & BrushUpdate::NoSortNoCull)) {
        if (faceCount >= 2) {
            b->firstFace = sortFaces(b->firstFace);
            FaceRecord* last = b->firstFace;
            while (last->next)
                last = last->next;
            b->lastFace = last;
        }
        // Patch and overlay carriers have no faces but are filed all the same.
        World_CullUpdate(mapOfEntity(b->entity), b);
    }

    for (int32_t axis = 0; axis < 3; ++axis)
        centre[axis] = (b->mins[axis] + b->maxs[axis]) * 0.5f;
    b->flags &= ~BrushFlags::NeedsUpdate;
}

FaceRecord* cMapBrush::sortFaces(FaceRecord* first) {
    // Once sorted, an ordered list stays as it is: the merge puts the later of two tying faces
    // first, so sorting it again would swap every tying pair at each update, and a brush's face
    // order would depend on how often it was updated (twins loaded from one file, undo).
    int32_t count = 0;
    bool ordered = true;
    for (FaceRecord* f = first; f; f = f->next) {
        ++count;
        if (f->next && facePrecedes(f->next, f)) ordered = false;
    }
    if (ordered && faceOrderSettled) return first;
    faceOrderSettled = true;
    return sortFaceList(first, count);
}

void cMapBrush::split(const BrushPlane* plane, BrushRecord** front, BrushRecord** back) {
    if (front) *front = nullptr;
    if (back) *back = nullptr;
    BrushRecord* b = record;
    if (!b->firstFace || !plane) return;

    const MapHandle map = mapOfEntity(b->entity);
    BrushRecord* frontBrush = nullptr;
    BrushRecord* backBrush = nullptr;
    const TextureInfo* capInfo = &b->firstFace->texInfo;
    float bestDot = 0.0f;

    for (FaceRecord* face = b->firstFace; face; face = face->next) {
        if (face->vertexCount <= 0) continue;
        float texNormal[3];
        Vec_Cross(face->texInfo.sAxis, face->texInfo.tAxis, texNormal);
        Vec_Normalize(texNormal);
        const float d = std::fabs(Vec_Dot(texNormal, plane->normal));
        if (d > bestDot) {
            bestDot = d;
            capInfo = &face->texInfo;
        }

        cWindingDouble* w = cWinding::AllocDouble();
        w->count = face->vertexCount; // at most kFaceMaxVertices, the winding's capacity
        for (int32_t i = 0; i < w->count; ++i)
            for (int32_t a = 0; a < 3; ++a)
                w->points[i][a] = face->vertices[i].xyz[a];
        cWindingDouble* wFront = nullptr;
        cWindingDouble* wBack = nullptr;
        cWinding::SplitDouble(w, plane->normal, plane->dist, front ? &wFront : nullptr,
                              back ? &wBack : nullptr);

        cWindingDouble* parts[2] = {wFront, wBack};
        BrushRecord** brushes[2] = {&frontBrush, &backBrush};
        for (int32_t side = 0; side < 2; ++side) {
            if (!parts[side]) continue;
            if (!*brushes[side]) *brushes[side] = Brush_Create(map, b->entity);
            float normal[3] = {0, 0, 0}, dist = 0.0f;
            cWinding::GetPlane(parts[side], normal, &dist);
            // A piece's faces keep the places of the brush's faces in files; the cap comes last.
            addPlaneFace(map, *brushes[side], &face->texInfo, normal, dist, Face_AxialType(normal))
                ->fileOrder = face->fileOrder;
            cWinding::FreeDouble(parts[side]);
        }
    }

    if (frontBrush) {
        const float n[3] = {-plane->normal[0], -plane->normal[1], -plane->normal[2]};
        FaceRecord* cap = addPlaneFace(map, frontBrush, capInfo, n, -plane->dist, plane->type);
        cap->flags |= FaceFlags::ResetAxes;
        frontBrush->handle->update(0);
    }
    if (backBrush) {
        FaceRecord* cap = addPlaneFace(map, backBrush, capInfo, plane->normal, plane->dist, plane->type);
        cap->flags |= FaceFlags::ResetAxes;
        backBrush->handle->update(0);
    }
    if (front) *front = frontBrush;
    if (back) *back = backBrush;
}

bool cMapBrush::checkValid(bool skipCoplanarTest, bool skipPointTest, const char** message) const {
    for (const FaceRecord* f = record->firstFace; f; f = f->next) {
        if (!f->handle || !f->handle->isPlanar(message)) {
            if (!f->handle && message) *message = "face is not planar";
            return false;
        }
        if (!skipPointTest) {
            for (int32_t i = 0; i < f->vertexCount; ++i) {
                if (std::fabs(Vec_Dot(f->normal, f->vertices[i].xyz) - f->dist) > 0.5f) {
                    if (message) *message = "point off the face plane";
                    return false;
                }
            }
        }
        for (const FaceRecord* g = f->next; g; g = g->next) {
            if (!skipCoplanarTest && std::fabs(f->normal[0] - g->normal[0]) < 0.02f &&
                std::fabs(f->normal[1] - g->normal[1]) < 0.02f &&
                std::fabs(f->normal[2] - g->normal[2]) < 0.02f && std::fabs(f->dist - g->dist) < 0.001f) {
                if (message) *message = "brush has coplanar planes";
                return false;
            }
            for (int32_t i = 0; i < g->vertexCount; ++i) {
                if (Vec_Dot(f->normal, g->vertices[i].xyz) - f->dist > 0.5f) {
                    if (message) *message = "brush is not convex";
                    return false;
                }
            }
        }
    }
    return true;
}

bool cMapBrush::touchesBox(const float mins[3], const float maxs[3]) const {
    for (int32_t a = 0; a < 3; ++a)
        if (record->mins[a] > maxs[a] - 0.01f || mins[a] + 0.01f > record->maxs[a]) return false;
    return true;
}

int32_t cMapBrush::planeSide(const float normal[3], float dist) const {
    bool front = false, back = false;
    for (const FaceRecord* f = record->firstFace; f; f = f->next) {
        for (int32_t i = 0; i < f->vertexCount; ++i) {
            const float s = Vec_Dot(normal, f->vertices[i].xyz) - dist;
            if (s > 0.0f) front = true;
            if (s < 0.0f) back = true;
            if (front && back) return 0;
        }
    }
    return (front && !back) ? 1 : -1;
}

bool cMapBrush::intersectsBrush(const BrushRecord* other) const {
    if (!other) return false;
    for (const FaceRecord* f = record->firstFace; f; f = f->next) {
        bool anyFront = false, anyBack = false;
        for (const FaceRecord* g = other->firstFace; g && !anyBack; g = g->next) {
            for (int32_t i = 0; i < g->vertexCount; ++i) {
                const float s = Vec_Dot(f->normal, g->vertices[i].xyz) - f->dist;
                if (s > 0.0f) anyFront = true;
                if (s < 0.0f) {
                    anyBack = true;
                    break;
                }
            }
        }
        if (anyFront && !anyBack) return false;
    }
    for (const FaceRecord* g = other->firstFace; g; g = g->next)
        if (planeSide(g->normal, g->dist) == 1) return false;
    return true;
}

int32_t cMapBrush::removeDuplicatePlanes() {
    BrushRecord* b = record;
    const MapHandle map = World_OfBrush(b);
    int32_t removed = 0;
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        for (FaceRecord* g = f->next; g;) {
            FaceRecord* next = g->next;
            if (Math_PlanesEqual(f->normal, g->normal, false)) {
                World_Deselect(map, g);
                Map_UnlinkFace(map, g, b);
                delete g->handle;
                ++removed;
            }
            g = next;
        }
    }
    if (removed) b->flags |= BrushFlags::NeedsUpdate;
    return removed;
}

void cMapBrush::offsetPlanes(float distance) {
    for (FaceRecord* f = record->firstFace; f; f = f->next) {
        f->handle->setVertexCount(0);
        f->flags |= FaceFlags::NeedsUpdate;
        f->dist += distance;
    }
    update(0x4);
}

// ---- Copies ---------------------------------------------------------------------------------

BrushRecord* cMapBrush::cloneInto(EntityRecord* entity) {
    const MapHandle map = mapOfEntity(entity);
    BrushRecord* copy = Brush_Create(map, entity);
    copy->kind = record->kind;
    for (const FaceRecord* f = record->firstFace; f; f = f->next) {
        FaceRecord* face = Face_Create(map, copy, nullptr, f->vertexCount);
        fillFace(face, f);
    }
    for (const FaceRecord* f = record->keptFaces; f; f = f->next)
        keepFaceCopy(copy, f);
    if (record->patch) copyPatchInto(copy, record->patch);
    if (record->overlay) copyOverlayInto(copy, record->overlay);
    if (Sys_Settings().KeepCloneVisGroup) copy->handle->visGroups.addAll(visGroups);
    copy->handle->faceOrderSettled = faceOrderSettled;
    copy->handle->update(BrushUpdate::TessellatePatch);
    return copy;
}

BrushRecord* cMapBrush::copyData() const {
    auto* copy = static_cast<BrushRecord*>(std::calloc(1, sizeof(BrushRecord)));
    copy->kind = record->kind;
    copy->flags = record->flags & ~BrushFlags::Selected;
    Vec_Copy(record->mins, copy->mins);
    Vec_Copy(record->maxs, copy->maxs);
    for (const FaceRecord* f = record->firstFace; f; f = f->next) {
        FaceRecord* face = copyFaceData(f, copy);
        List_Prepend(copy->firstFace, &copy->lastFace, face);
    }
    FaceRecord** keptTail = &copy->keptFaces;
    for (const FaceRecord* f = record->keptFaces; f; f = f->next) {
        *keptTail = copyFaceData(f, copy);
        keptTail = &(*keptTail)->next;
    }
    if (record->patch) {
        const PatchRecord* src = record->patch;
        auto* patch = static_cast<PatchRecord*>(std::calloc(1, sizeof(PatchRecord)));
        patch->columns = src->columns;
        patch->rows = src->rows;
        std::memcpy(patch->points, src->points, sizeof(patch->points));
        patch->texInfo = src->texInfo;
        patch->brush = copy;
        copy->patch = patch;
    }
    if (record->overlay) {
        const OverlayRecord* src = record->overlay;
        auto* overlay = static_cast<OverlayRecord*>(std::calloc(1, sizeof(OverlayRecord)));
        Vec_Copy(src->normal, overlay->normal);
        overlay->dist = src->dist;
        overlay->planeType = src->planeType;
        overlay->texInfo = src->texInfo;
        std::memcpy(overlay->corners, src->corners, sizeof(overlay->corners));
        overlay->brush = copy;
        copy->overlay = overlay;
    }
    return copy;
}

void Brush_FreeCopy(BrushRecord* copy) {
    if (!copy) return;
    for (FaceRecord* list : {copy->firstFace, copy->keptFaces})
        for (FaceRecord* f = list; f;) {
            FaceRecord* next = f->next;
            std::free(f->vertices);
            Sys_Free(f->source);
            std::free(f);
            f = next;
        }
    std::free(copy->patch);
    std::free(copy->overlay);
    std::free(copy);
}

BrushRecord* Brush_CreateFromCopy(const BrushRecord* copy) {
    if (!copy) return nullptr;
    BrushRecord* b = Brush_Alloc();
    b->kind = copy->kind;
    b->flags = copy->flags | BrushFlags::NeedsUpdate;
    Vec_Copy(copy->mins, b->mins);
    Vec_Copy(copy->maxs, b->maxs);
    for (const FaceRecord* f = copy->firstFace; f; f = f->next) {
        FaceRecord* face = Face_Alloc(f->vertexCount);
        face->brush = b;
        fillFace(face, f);
        List_Prepend(b->firstFace, &b->lastFace, face);
    }
    for (const FaceRecord* f = copy->keptFaces; f; f = f->next)
        keepFaceCopy(b, f);
    if (copy->patch) copyPatchInto(b, copy->patch);
    if (copy->overlay) copyOverlayInto(b, copy->overlay);
    b->handle->faceOrderSettled = true; // in the order of the copied brush
    return b;
}

// ---- API ------------------------------------------------------------------------------------

BrushRecord* Brush_Alloc() {
    cMapBrush* handle = new cMapBrush();
    handle->record->flags |= BrushFlags::NeedsUpdate;
    return handle->record;
}

BrushRecord* Brush_Create(MapHandle map, EntityRecord* entity) {
    BrushRecord* b = Brush_Alloc();
    b->entity = entity;
    if (World_Hooks(map)) {
        World_Link(map, b, entity);
        b->serial = World_NextSerial(map, SerialKind::Brush);
    } else if (entity) {
        List_Append(entity->firstBrush, entity->lastBrush, b);
    }
    return b;
}

void Brush_Delete(MapHandle map, BrushRecord* brush) {
    if (!brush) return;
    if (World_Hooks(map)) {
        World_Deselect(map, brush);
        for (FaceRecord* f = brush->firstFace; f; f = f->next) {
            World_Deselect(map, f);
            World_FreeId(map, f->handle);
        }
        World_Unlink(map, brush, brush->entity);
    } else if (brush->entity) {
        List_Remove(brush->entity->firstBrush, &brush->entity->lastBrush, brush);
    }
    delete brush->handle;
}

void Brush_SetColor(BrushRecord* brush, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    if (!brush || !brush->handle) return;
    cMapBrush* handle = brush->handle;
    handle->baseColor = Color_FromBytes(r, g, b, a);
    handle->updateRandomColor();
    for (FaceRecord* f = brush->firstFace; f; f = f->next)
        f->handle->displayColor = handle->displayColor;
}

uint64_t Brush_MemoryUsage(const BrushRecord* brush) {
    if (!brush) return 0;
    uint64_t bytes = sizeof(cMapBrush) + sizeof(BrushRecord);
    for (const FaceRecord* f : Brush_FacesInFileOrder(brush))
        bytes +=
            sizeof(cMapFace) + sizeof(FaceRecord) + (f->source ? sizeof(FaceSource) : 0) +
            (f->handle ? f->handle->separateVertexBytes() : sizeof(FaceVertex) * uint64_t(f->vertexCount));
    if (brush->patch) bytes += sizeof(PatchRecord);
    if (brush->overlay) bytes += sizeof(OverlayRecord);
    return bytes;
}
