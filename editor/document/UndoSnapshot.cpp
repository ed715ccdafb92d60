#include "document/UndoSnapshot.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "core/System.h"
#include "map/EPair.h"
#include "map/KeptBrush.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"
#include "core/Vector.h"
#include "document/VisGroup.h"
#include "map/VisGroupList.h"

namespace {

// One free list per kind, shared by every document. Records are recycled, never freed during
// editing: large selections are snapshotted on every drag.
template <class S> struct cSnapshotPool {
    S* free = nullptr;
    int64_t count = 0;
    const char* what;

    explicit cSnapshotPool(const char* name) : what(name) {}

    S* take() {
        if (S* s = free) {
            free = s->next;
            s->next = nullptr;
            --count;
            return s;
        }
        auto* s = static_cast<S*>(std::calloc(1, sizeof(S)));
        if (!s) Sys_Error("Undo: out of memory, a %s snapshot was not taken", what);
        return s;
    }
    // The record must already be cleared of what it owns.
    void give(S* s) {
        s->next = free;
        free = s;
        ++count;
    }
    void release() {
        while (S* s = free) {
            free = s->next;
            std::free(s);
        }
        count = 0;
    }
};

cSnapshotPool<EntitySnapshot> s_entityPool("entity");
cSnapshotPool<BrushSnapshotRecord> s_brushPool("brush");
cSnapshotPool<FaceSnapshotRecord> s_facePool("face");
cSnapshotPool<PatchSnapshot> s_patchPool("patch");
cSnapshotPool<OverlaySnapshot> s_overlayPool("overlay");
cSnapshotPool<GroupSnapshot> s_groupPool("group");
cSnapshotPool<PathSnapshot> s_pathPool("path");
cSnapshotPool<NodeSnapshot> s_nodePool("node");

char* dupOrNull(const char* text) {
    return text ? Sys_StrDup(text) : nullptr;
}

int32_t serialOf(const GroupRecord* group) {
    return group ? group->serial : 0;
}

} // namespace

// ---- Pools -------------------------------------------------------------------------------------

EntitySnapshot* UndoPool_TakeEntity() {
    return s_entityPool.take();
}
BrushSnapshotRecord* UndoPool_TakeBrush() {
    return s_brushPool.take();
}
FaceSnapshotRecord* UndoPool_TakeFace() {
    return s_facePool.take();
}
PatchSnapshot* UndoPool_TakePatch() {
    return s_patchPool.take();
}
OverlaySnapshot* UndoPool_TakeOverlay() {
    return s_overlayPool.take();
}
GroupSnapshot* UndoPool_TakeGroup() {
    return s_groupPool.take();
}
PathSnapshot* UndoPool_TakePath() {
    return s_pathPool.take();
}
NodeSnapshot* UndoPool_TakeNode() {
    return s_nodePool.take();
}

void UndoPool_Give(EntitySnapshot* s) {
    if (!s) return;
    Sys_Free(s->classname);
    EPair_FreeList(&s->epairs);
    Sys_Free(s->visGroupIds);
    KeptBrush_FreeList(s->keptBrushes);
    std::memset(s, 0, sizeof *s);
    s_entityPool.give(s);
}

void UndoPool_Give(BrushSnapshotRecord* s) {
    if (!s) return;
    UndoPool_GiveChain(s->faces);
    UndoPool_GiveChain(s->keptFaces);
    UndoPool_Give(s->patch);
    UndoPool_Give(s->overlay);
    Sys_Free(s->visGroupIds);
    std::memset(s, 0, sizeof *s);
    s_brushPool.give(s);
}

void UndoPool_Give(FaceSnapshotRecord* s) {
    if (!s) return;
    // The vertex array is rewritten up to vertexCount by every capture; clearing the rest of a
    // 1.5 KB record on every recycle would cost more than the snapshot itself.
    std::memset(s, 0, offsetof(FaceSnapshotRecord, positions));
    s_facePool.give(s);
}

void UndoPool_Give(PatchSnapshot* s) {
    if (!s) return;
    std::free(s->points);
    std::memset(s, 0, sizeof *s);
    s_patchPool.give(s);
}

void UndoPool_Give(OverlaySnapshot* s) {
    if (!s) return;
    std::memset(s, 0, sizeof *s);
    s_overlayPool.give(s);
}

void UndoPool_Give(GroupSnapshot* s) {
    if (!s) return;
    std::memset(s, 0, sizeof *s);
    s_groupPool.give(s);
}

void UndoPool_Give(PathSnapshot* s) {
    if (!s) return;
    Sys_Free(s->className);
    Sys_Free(s->name);
    std::memset(s, 0, sizeof *s);
    s_pathPool.give(s);
}

void UndoPool_Give(NodeSnapshot* s) {
    if (!s) return;
    EPair_FreeList(&s->epairs);
    Sys_Free(s->name);
    Sys_Free(s->message);
    std::memset(s, 0, sizeof *s);
    s_nodePool.give(s);
}

int64_t UndoPool_PooledCount() {
    return s_entityPool.count + s_brushPool.count + s_facePool.count + s_patchPool.count +
           s_overlayPool.count + s_groupPool.count + s_pathPool.count + s_nodePool.count;
}

void Undo_FreePools() {
    s_entityPool.release();
    s_brushPool.release();
    s_facePool.release();
    s_patchPool.release();
    s_overlayPool.release();
    s_groupPool.release();
    s_pathPool.release();
    s_nodePool.release();
}

// ---- Capture -----------------------------------------------------------------------------------

namespace {

// The ids of the object's sets: the sets themselves may be deleted before the level applies.
void captureVisGroups(const cVisGroupList& list, int32_t** ids, int32_t* count) {
    *ids = nullptr;
    *count = 0;
    if (list.count() <= 0) return;
    *ids = static_cast<int32_t*>(Sys_Alloc(size_t(list.count()) * sizeof(int32_t)));
    if (!*ids) return;
    for (int32_t i = 0; i < list.count(); ++i)
        (*ids)[i] = list.idAt(i);
    *count = list.count();
}

} // namespace

void Undo_RestoreVisGroups(MapWorld* world, cVisGroupList& list, const int32_t* ids, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        if (VisGroup* set = Map_FindVisGroup(world, ids[i])) list.add(set);
}

void Undo_CaptureEntity(EntitySnapshot* s, const EntityRecord* e) {
    s->serial = e->serial;
    std::memcpy(s->origin, e->origin, sizeof s->origin);
    std::memcpy(s->angles, e->angles, sizeof s->angles);
    std::memcpy(s->mins, e->mins, sizeof s->mins);
    std::memcpy(s->maxs, e->maxs, sizeof s->maxs);
    s->classname = dupOrNull(e->classname);
    s->spawnflags = e->spawnflags;
    s->flags = e->flags;
    s->color = e->handle ? e->handle->displayColor : kObjectColorBlack;
    s->epairs = EPair_CopyList(e->epairs);
    s->keptBrushes = KeptBrush_CopyList(e->keptBrushes);
    s->groupSerial = serialOf(e->group);
    s->outerGroupSerial = serialOf(e->outerGroup);
    if (e->handle) captureVisGroups(e->handle->visGroups, &s->visGroupIds, &s->visGroupCount);
}

void Undo_CaptureFace(FaceSnapshotRecord* s, const FaceRecord* f, bool withGeometry) {
    s->flags = f->flags;
    s->serial = f->serial;
    s->brushSerial = f->brush ? f->brush->serial : 0;
    s->entitySerial = f->brush && f->brush->entity ? f->brush->entity->serial : 0;
    s->texInfo = f->texInfo;
    std::memcpy(s->plane, f->normal, sizeof f->normal);
    s->plane[3] = f->dist;
    s->axialType = f->axialType;
    s->fileOrder = f->fileOrder;
    s->hasSource = f->source != nullptr;
    if (f->source) s->source = *f->source;
    if (!withGeometry) {
        s->vertexCount = -1;
        return;
    }
    int32_t count = f->vertexCount;
    if (count > kFaceMaxVertices) {
        Sys_Warning("Undo: face %i has %i vertices, only %i kept", f->serial, count, kFaceMaxVertices);
        count = kFaceMaxVertices;
    }
    if (count < 0 || !f->vertices) count = 0;
    s->vertexCount = count;
    for (int32_t i = 0; i < count; ++i)
        std::memcpy(s->positions[i], f->vertices[i].xyz, sizeof s->positions[i]);
}

void Undo_CaptureBrush(BrushSnapshotRecord* s, const BrushRecord* b, bool withGeometry) {
    s->serial = b->serial;
    s->kind = int16_t(b->kind);
    s->flags = b->flags;
    s->entitySerial = b->entity ? b->entity->serial : 0;
    s->groupSerial = serialOf(b->group);
    s->outerGroupSerial = serialOf(b->outerGroup);
    s->baseColor = b->handle ? b->handle->baseColor : kObjectColorBlack;
    s->withGeometry = withGeometry;
    if (b->handle) captureVisGroups(b->handle->visGroups, &s->visGroupIds, &s->visGroupCount);
    for (const FaceRecord* f = b->firstFace; f; f = f->next) {
        FaceSnapshotRecord* fs = UndoPool_TakeFace();
        if (!fs) break;
        Undo_CaptureFace(fs, f, withGeometry);
        fs->next = s->faces;
        s->faces = fs;
    }
    // A brush brought back whole needs the faces that bound nothing too, or its next export
    // loses them.
    for (const FaceRecord* f = withGeometry ? b->keptFaces : nullptr; f; f = f->next) {
        FaceSnapshotRecord* fs = UndoPool_TakeFace();
        if (!fs) break;
        Undo_CaptureFace(fs, f, true);
        fs->next = s->keptFaces;
        s->keptFaces = fs;
    }
    if (const PatchRecord* patch = b->patch) {
        if (PatchSnapshot* ps = UndoPool_TakePatch()) {
            ps->flags = patch->flags;
            ps->columns = patch->columns;
            ps->rows = patch->rows;
            ps->texInfo = patch->texInfo;
            if (withGeometry) {
                ps->points = static_cast<PatchPoint(*)[kPatchGridLines]>(std::malloc(sizeof patch->points));
                if (ps->points)
                    std::memcpy(ps->points, patch->points, sizeof patch->points);
                else
                    Sys_Error("Undo: out of memory, the control points of brush %i were not recorded",
                              b->serial);
            }
            ps->withGeometry = ps->points != nullptr;
            s->patch = ps;
        }
    }
    if (const OverlayRecord* overlay = b->overlay) {
        if (OverlaySnapshot* os = UndoPool_TakeOverlay()) {
            os->flags = overlay->flags;
            os->texInfo = overlay->texInfo;
            os->withGeometry = withGeometry;
            if (withGeometry) {
                std::memcpy(os->corners, overlay->corners, sizeof os->corners);
                std::memcpy(os->plane, overlay->normal, sizeof overlay->normal);
                os->plane[3] = overlay->dist;
                os->planeType = overlay->planeType;
            }
            s->overlay = os;
        }
    }
}

void Undo_CaptureGroup(GroupSnapshot* s, const GroupRecord* g) {
    s->flags = g->flags;
    s->serial = g->serial;
    s->parentSerial = serialOf(g->parent);
    s->memberCount = g->memberCount;
    s->baseColor = g->handle ? g->handle->baseColor : kObjectColorBlack;
}

void Undo_CapturePath(PathSnapshot* s, const PathRecord* p) {
    s->className = dupOrNull(p->className);
    s->name = dupOrNull(p->name);
    s->type = p->type;
    s->flags = p->flags;
    s->serial = p->serial;
}

void Undo_CaptureNode(NodeSnapshot* s, const NodeRecord* n) {
    s->epairs = EPair_CopyList(n->epairs);
    s->name = dupOrNull(n->name);
    s->message = dupOrNull(n->message);
    std::memcpy(s->origin, n->origin, sizeof s->origin);
    std::memcpy(s->angles, n->angles, sizeof s->angles);
    s->flags = n->flags;
    s->number = n->number;
    s->serial = n->serial;
    s->pathSerial = n->path ? n->path->serial : 0;
}

// ---- Brushes from snapshots ---------------------------------------------------------------------

BrushRecord* Brush_CreateFromSnapshot(const BrushSnapshot* snapshot) {
    if (!snapshot) return nullptr;
    BrushRecord* b = Brush_Alloc();
    b->serial = snapshot->serial;
    b->kind = snapshot->kind;
    b->flags = snapshot->flags | BrushFlags::NeedsUpdate;
    b->handle->baseColor = snapshot->baseColor;
    for (int32_t i = snapshot->faceCount - 1; i >= 0; --i) {
        const FaceSnapshot& s = snapshot->faces[i];
        FaceRecord* face = Face_Alloc(s.vertexCount); // a count past the capacity keeps no vertices
        face->brush = b;
        face->serial = s.serial;
        face->flags = s.flags | FaceFlags::NeedsUpdate;
        for (int32_t v = 0; v < face->vertexCount; ++v)
            Vec_Copy(s.positions[v], face->vertices[v].xyz);
        if (face->vertexCount >= 3) face->handle->computePlane();
        face->handle->setTextureInfo(s.texInfo);
        List_Prepend(b->firstFace, &b->lastFace, face);
    }
    if (const PatchSnapshot* ps = snapshot->patch) {
        PatchRecord* patch = Patch_Create(b, &ps->texInfo, ps->columns, ps->rows);
        if (ps->points) std::memcpy(patch->points, ps->points, sizeof(patch->points));
        patch->flags = ps->flags | PatchFlags::NeedsUpdate;
    }
    if (const OverlaySnapshot* os = snapshot->overlay) {
        OverlayRecord* overlay = Overlay_Create(b, &os->texInfo);
        if (os->withGeometry) std::memcpy(overlay->corners, os->corners, sizeof(overlay->corners));
        overlay->flags = os->flags | OverlayFlags::NeedsUpdate;
    }
    b->handle->updateRandomColor();
    b->handle->faceOrderSettled = true; // in the recorded order
    return b;
}
