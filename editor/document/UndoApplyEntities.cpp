// Applying the entity, brush and face snapshots of an undo level: entities and brushes brought
// back and removed, their state exchanged with the live objects, faces rebuilt from their recorded
// geometry or given back their texture blocks.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/System.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/UndoApply.h"
#include "document/UndoSnapshot.h"
#include "gamedata/EntityClass.h"
#include "map/Decal.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"

namespace {

EntityRecord* findEntity(MapWorld* w, int32_t serial) {
    return UndoApply_FindBySerial(w->entities, serial);
}
BrushRecord* findBrushIn(EntityRecord* e, int32_t serial) {
    return UndoApply_FindBySerial(e ? e->firstBrush : nullptr, serial);
}
FaceRecord* findFaceIn(BrushRecord* b, int32_t serial) {
    return UndoApply_FindBySerial(b ? b->firstFace : nullptr, serial);
}

// Entities of a headless world may be bare records without a handle.
void updateEntity(EntityRecord* e, uint32_t bits) {
    if (e->handle) e->handle->update(bits);
}

// Serial look-up of every brush of the world for one applier: a list walk per snapshot would
// be quadratic in the large selections a drag records. Brushes the applier destroys are erased.
class cBrushIndex {
public:
    explicit cBrushIndex(MapWorld* w) {
        for (EntityRecord* e = w->entities; e; e = e->next)
            for (BrushRecord* b = e->firstBrush; b; b = b->next)
                m_brushes.emplace(b->serial, b); // the first of duplicate serials stays
    }
    // The brush of that serial in the entity, as a walk of the entity's list finds it.
    BrushRecord* findIn(EntityRecord* e, int32_t serial) const {
        if (!e) return nullptr;
        const auto it = m_brushes.find(serial);
        if (it != m_brushes.end() && it->second->entity == e) return it->second;
        return it == m_brushes.end() ? nullptr : findBrushIn(e, serial); // duplicate serials only
    }
    BrushRecord* findAnywhere(int32_t serial) const {
        const auto it = m_brushes.find(serial);
        return it == m_brushes.end() ? nullptr : it->second;
    }
    void erase(const BrushRecord* b) {
        const auto it = m_brushes.find(b->serial);
        if (it != m_brushes.end() && it->second == b) m_brushes.erase(it);
    }

private:
    std::unordered_map<int32_t, BrushRecord*> m_brushes;
};

// Entity updates and decal invalidations of one applier, run once per entity at the end: an
// entity update walks all its brushes, so one per restored or swapped brush would make undoing
// a large selection of world brushes quadratic.
class cDeferredUpdates {
public:
    void entity(EntityRecord* e, uint32_t bits) {
        for (auto& [rec, b] : m_entities)
            if (rec == e) {
                b |= bits;
                return;
            }
        m_entities.emplace_back(e, bits);
    }
    void decalsAround(BrushRecord* b) { m_decalBrushes.push_back(b); }
    void run(MapWorld* w) {
        for (auto& [e, bits] : m_entities)
            updateEntity(e, bits);
        // Looking for decal boxes around each brush walks every entity; without a decal in
        // the world only the fragments on the brushes (none then) could need marking.
        bool decals = false;
        for (const EntityRecord* e = w->entities; e && !decals && !m_decalBrushes.empty(); e = e->next)
            decals = e->modelKind == EntityModelKind::Decal;
        for (BrushRecord* b : m_decalBrushes)
            if (decals) Decal_InvalidateAroundBrush(b);
        m_entities.clear();
        m_decalBrushes.clear();
    }

private:
    std::vector<std::pair<EntityRecord*, uint32_t>> m_entities; // few: the world and brush entities
    std::vector<BrushRecord*> m_decalBrushes;
};

// The live texture block takes the snapshot's (bound again by name); the snapshot keeps the
// former one.
template <class H> void exchangeTexture(H* handle, TextureInfo& live, TextureInfo& snap) {
    const TextureInfo former = live;
    handle->setTextureInfo(&snap);
    snap = former;
}

// Moves the innermost-group link to the group of the serial, moving one member along; returns
// the serial of the group left.
int32_t relinkInnerGroup(MapWorld* w, GroupRecord*& link, int32_t serial) {
    GroupRecord* old = link;
    GroupRecord* now = UndoApply_FindGroup(w, serial);
    if (old != now) {
        if (old) --old->memberCount;
        if (now) ++now->memberCount;
        link = now;
    }
    return old ? old->serial : 0;
}

int32_t relinkOuterGroup(MapWorld* w, GroupRecord*& link, int32_t serial) {
    const int32_t former = link ? link->serial : 0;
    link = UndoApply_FindGroup(w, serial);
    return former;
}

void markDecalFragments(BrushRecord* b) {
    for (DecalFragment* f = b->decalFragments; f; f = f->nextInBrush)
        if (f->entity) f->entity->flags |= EntityFlag::ReprojectDecal;
}

// The plane as it was: one derived from the stored positions again would differ in its last
// bits (and a plane made by clipping need not pass through them exactly). With it the points and
// place the map file gave the face, so that it is written back as it was read.
void restorePlane(FaceRecord* f, const FaceSnapshotRecord* s) {
    std::memcpy(f->normal, s->plane, sizeof f->normal);
    f->dist = s->plane[3];
    f->axialType = s->axialType;
    f->fileOrder = s->fileOrder;
    Sys_Free(f->source);
    f->source = nullptr;
    if (s->hasSource) {
        f->source = static_cast<FaceSource*>(Sys_Alloc(sizeof(FaceSource)));
        *f->source = s->source;
    }
}

// The overlay takes the recorded plane; the snapshot keeps the live one.
void exchangeOverlayPlane(OverlayRecord* o, OverlaySnapshot* os) {
    float live[4] = {o->normal[0], o->normal[1], o->normal[2], o->dist};
    std::memcpy(o->normal, os->plane, sizeof o->normal);
    o->dist = os->plane[3];
    std::memcpy(os->plane, live, sizeof live);
    std::swap(o->planeType, os->planeType);
}

// A live face from a snapshot with geometry: positions, flags, serial, texture block; the id
// given (or a fresh one for -1); pushed at the head of the brush's face list.
void buildFace(MapWorld* w, BrushRecord* b, const FaceSnapshotRecord* s, int32_t id) {
    const int32_t count = s->vertexCount < 0 ? 0 : s->vertexCount;
    auto* face = new cMapFace(count);
    FaceRecord* f = face->record;
    f->brush = b;
    f->serial = s->serial;
    f->flags = (s->flags & ~FaceFlags::Selected) | FaceFlags::NeedsUpdate;
    for (int32_t i = 0; i < f->vertexCount; ++i)
        std::memcpy(f->vertices[i].xyz, s->positions[i], sizeof s->positions[i]);
    restorePlane(f, s);
    face->setTextureInfo(&s->texInfo);
    face->id = id != -1 ? id : Map_AllocId(w);
    List_Prepend(b->firstFace, &b->lastFace, f);
    if (s->flags & FaceFlags::Selected) Map_SelectObject(w, f);
}

// A face that bounds nothing from a snapshot: plane, texture and source, no polygon; appended to
// the brush's kept faces, which the chain gives in reverse.
void buildKeptFaces(BrushRecord* b, const FaceSnapshotRecord* chain) {
    for (const FaceSnapshotRecord* s = chain; s; s = s->next) {
        auto* face = new cMapFace(0);
        FaceRecord* f = face->record;
        f->brush = b;
        f->serial = s->serial;
        f->flags = s->flags & ~(FaceFlags::Selected | FaceFlags::NeedsUpdate);
        restorePlane(f, s);
        face->setTextureInfo(&s->texInfo);
        f->next = b->keptFaces;
        b->keptFaces = f;
    }
}

// Restored entities go back to their places, so that a save after undo keeps the map's order. The
// list is in serial order (loading, creating and pasting append with the next serial): each goes
// before the first entity of a greater serial. The world entity stays first whatever its serial.
void linkAtTheirPlaces(MapWorld* w, std::vector<EntityRecord*> restored) {
    std::stable_sort(restored.begin(), restored.end(),
                     [](const EntityRecord* a, const EntityRecord* b) { return a->serial < b->serial; });
    EntityRecord* at = w->entities;
    for (EntityRecord* e : restored) {
        while (at && ((at->flags & EntityFlag::World) || at->serial < e->serial))
            at = at->next;
        if (at)
            List_InsertBefore(w->entities, at, e);
        else
            List_Append(w->entities, w->entitiesTail, e);
    }
}

} // namespace

void UndoApply_RestoreEntitiesAndBrushes(MapWorld* w, const EntitySnapshot* entities,
                                         const BrushSnapshotRecord* brushes) {
    std::vector<EntityRecord*> restored;
    for (const EntitySnapshot* s = entities; s; s = s->next) {
        EntityRecord* e = Entity_CreateFromSnapshot(s);
        e->flags &= ~EntityFlag::Selected;
        Map_InitEntity(w, e);
        // The snapshot named the key roles before the class was bound: name them from it now.
        if (e->handle) e->handle->refreshKeyNames(false);
        restored.push_back(e);
    }
    linkAtTheirPlaces(w, restored);
    size_t next = 0;
    for (const EntitySnapshot* s = entities; s; s = s->next) {
        EntityRecord* e = restored[next++];
        e->owner = Map_Handle(w);
        relinkInnerGroup(w, e->group, s->groupSerial);
        relinkOuterGroup(w, e->outerGroup, s->outerGroupSerial);
        if (e->handle) Undo_RestoreVisGroups(w, e->handle->visGroups, s->visGroupIds, s->visGroupCount);
        updateEntity(e, EntityUpdate::RebuildModel | EntityUpdate::ModelKeys | EntityUpdate::RenderKeys);
        if (s->flags & EntityFlag::Selected) Map_SelectObject(w, e);
    }

    cDeferredUpdates deferred;
    std::vector<const FaceSnapshotRecord*> order;
    std::vector<FaceSnapshot> views;
    for (const BrushSnapshotRecord* s = brushes; s; s = s->next) {
        EntityRecord* e = findEntity(w, s->entitySerial);
        if (!e) {
            Sys_Error("Redo: no such entityId %i", s->entitySerial);
            continue;
        }
        // The chain is in reverse face order; the view wants face order.
        order.clear();
        for (const FaceSnapshotRecord* f = s->faces; f; f = f->next)
            order.push_back(f);
        std::reverse(order.begin(), order.end());
        views.clear();
        for (const FaceSnapshotRecord* f : order)
            views.push_back({f->serial, f->flags & ~FaceFlags::Selected,
                             f->vertexCount < 0 ? 0 : f->vertexCount, f->positions, &f->texInfo});
        const BrushSnapshot view = {s->serial,
                                    s->kind,
                                    s->flags & ~BrushFlags::Selected,
                                    s->baseColor,
                                    int32_t(views.size()),
                                    views.data(),
                                    s->patch,
                                    s->overlay};
        BrushRecord* b = Brush_CreateFromSnapshot(&view);
        buildKeptFaces(b, s->keptFaces);
        Map_LinkBrush(w, b, e);
        size_t index = 0;
        for (FaceRecord* f = b->firstFace; f; f = f->next, ++index) {
            f->handle->id = Map_AllocId(w);
            if (index < order.size()) restorePlane(f, order[index]);
            if (index < order.size() && (order[index]->flags & FaceFlags::Selected)) Map_SelectObject(w, f);
        }
        if (b->overlay && s->overlay && s->overlay->withGeometry) {
            OverlaySnapshot planeOnly = *s->overlay;
            exchangeOverlayPlane(b->overlay, &planeOnly);
        }
        relinkInnerGroup(w, b->group, s->groupSerial);
        relinkOuterGroup(w, b->outerGroup, s->outerGroupSerial);
        Undo_RestoreVisGroups(w, b->handle->visGroups, s->visGroupIds, s->visGroupCount);
        // Planes come back as they were (not derived from the positions again).
        deferred.entity(e, FaceUpdate::TexCoords | BrushUpdate::TessellatePatch);
        deferred.decalsAround(b);
        if (s->flags & BrushFlags::Selected) Map_SelectObject(w, b);
    }
    deferred.run(w);
}

namespace {

void destroyBrush(MapWorld* w, EntityRecord* e, BrushRecord* b) {
    Map_DeselectObject(w, b);
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        Map_DeselectObject(w, f);
        Map_FreeObjectId(w, f->handle);
    }
    UndoApply_DropMember(b->group);
    b->handle->clearVisGroups();
    Map_UnlinkBrush(w, b, e);
    delete b->handle;
}

} // namespace

void UndoApply_RemoveEntitiesAndBrushes(MapWorld* w, const EntitySnapshot* entities,
                                        const BrushSnapshotRecord* brushes) {
    if (brushes) {
        cBrushIndex index(w);
        EntityRecord* e = nullptr;
        for (const BrushSnapshotRecord* s = brushes; s; s = s->next) {
            if (!e || e->serial != s->entitySerial) e = findEntity(w, s->entitySerial);
            BrushRecord* b = index.findIn(e, s->serial);
            if (!b) continue;
            e->flags |= EntityFlag::NeedsUpdate;
            index.erase(b);
            destroyBrush(w, e, b);
        }
    }
    for (const EntitySnapshot* s = entities; s; s = s->next) {
        EntityRecord* e = findEntity(w, s->serial);
        if (!e || (e->flags & EntityFlag::World)) continue;
        // Brushes the level did not name go with their entity; their ids go back too.
        while (BrushRecord* b = e->firstBrush)
            destroyBrush(w, e, b);
        Map_DeselectObject(w, e);
        UndoApply_DropMember(e->group);
        e->handle->clearVisGroups();
        Map_UnlinkEntity(w, e);
        delete e->handle;
    }
    for (EntityRecord* e = w->entities; e; e = e->next)
        if (e->flags & EntityFlag::NeedsUpdate) updateEntity(e, 0);
}

void UndoApply_SwapEntities(MapWorld* w, EntitySnapshot* list, const cUndoPriorSelection& prior) {
    for (EntitySnapshot* s = list; s; s = s->next) {
        EntityRecord* e = findEntity(w, s->serial);
        if (!e) {
            Sys_Error("Undo/Redo: no such entityId %i", s->serial);
            continue;
        }
        cMapEntity* handle = e->handle;
        if (!handle) continue; // a bare record of a headless world has nothing to exchange with
        std::swap(e->origin, s->origin);
        std::swap(e->angles, s->angles);
        std::swap(e->mins, s->mins);
        std::swap(e->maxs, s->maxs);
        // Binding a class resets the colour and the spawnflags: keep the live values first.
        const int32_t spawnflags = e->spawnflags;
        const ObjectColor color = handle->displayColor;
        const bool sameClass = (!e->classname && !s->classname) ||
                               (e->classname && s->classname && std::strcmp(e->classname, s->classname) == 0);
        if (!sameClass) {
            std::swap(e->classname, s->classname);
            // Bound by name again: the former class may be gone after a game-data reload. The
            // key/values are exchanged below, so the class change must not drop defaults.
            EntityClass* eclass = Map_FindEntityClass(w, e);
            handle->entityClass = nullptr;
            handle->setClass(eclass);
            handle->refreshKeyNames(false);
            handle->rebuildModel(false);
        }
        const bool wantSelected =
            UndoApply_ExchangeFlags(e->flags, s->flags, EntityFlag::NeedsUpdate, prior.has(e));
        e->spawnflags = s->spawnflags;
        s->spawnflags = spawnflags;
        handle->displayColor = s->color;
        s->color = color;
        std::swap(e->epairs, s->epairs);
        s->groupSerial = relinkInnerGroup(w, e->group, s->groupSerial);
        s->outerGroupSerial = relinkOuterGroup(w, e->outerGroup, s->outerGroupSerial);
        handle->update(EntityUpdate::RenderKeys | EntityUpdate::ModelKeys | EntityUpdate::SkyKeys |
                       EntityUpdate::ClassKeys);
        if (e->modelKind == EntityModelKind::Decal) e->flags |= EntityFlag::ReprojectDecal;
        if (wantSelected) Map_SelectObject(w, e);
    }
}

namespace {

// Exchanges the brush's faces with a snapshot chain taken with geometry.
void swapFaceGeometry(MapWorld* w, BrushRecord* b, BrushSnapshotRecord* s, std::vector<int32_t>& ids) {
    FaceSnapshotRecord* current = nullptr;
    for (FaceRecord* f = b->firstFace; f; f = f->next) {
        FaceSnapshotRecord* fs = UndoPool_TakeFace();
        if (!fs) break;
        Undo_CaptureFace(fs, f, true);
        fs->next = current;
        current = fs;
    }
    // The ids of the faces going are handed to the faces coming (both sets are new objects):
    // a free-then-allocate round trip through the lowest-first allocator costs a bitmap scan
    // per id.
    ids.clear();
    while (FaceRecord* f = b->firstFace) {
        List_Remove(b->firstFace, &b->lastFace, f);
        Map_DeselectObject(w, f);
        if (f->handle->id != -1) ids.push_back(f->handle->id);
        f->handle->id = -1;
        delete f->handle;
    }
    // The stored chain is in reverse list order: pushing each at the head restores the order.
    while (FaceSnapshotRecord* fs = s->faces) {
        s->faces = fs->next;
        int32_t id = -1;
        if (!ids.empty()) {
            id = ids.back();
            ids.pop_back();
        }
        buildFace(w, b, fs, id);
        UndoPool_Give(fs);
    }
    for (int32_t id : ids)
        Map_FreeId(w, id);
    s->faces = current;
}

void swapFaceTextures(MapWorld* w, BrushRecord* b, BrushSnapshotRecord* s, const cUndoPriorSelection& prior) {
    for (FaceSnapshotRecord* fs = s->faces; fs; fs = fs->next) {
        FaceRecord* f = findFaceIn(b, fs->serial);
        if (!f) {
            Sys_Error("Undo/Redo: no such faceId %i", fs->serial);
            continue;
        }
        const bool wantSelected =
            UndoApply_ExchangeFlags(f->flags, fs->flags, FaceFlags::NeedsUpdate, prior.has(f));
        exchangeTexture(f->handle, f->texInfo, fs->texInfo);
        if (wantSelected) Map_SelectObject(w, f);
    }
}

// Returns whether a patch control grid was exchanged.
bool swapCarried(BrushRecord* b, BrushSnapshotRecord* s) {
    bool gridExchanged = false;
    if (PatchSnapshot* ps = s->patch) {
        if (PatchRecord* p = b->patch) {
            std::swap(p->flags, ps->flags);
            p->flags |= PatchFlags::NeedsUpdate;
            std::swap(p->columns, ps->columns);
            std::swap(p->rows, ps->rows);
            exchangeTexture(p->handle, p->texInfo, ps->texInfo);
            if (ps->points) {
                std::swap_ranges(&p->points[0][0], &p->points[0][0] + kPatchGridLines * kPatchGridLines,
                                 &ps->points[0][0]);
                gridExchanged = true;
            }
        } else {
            Sys_Error("Undo/Redo: NULL patch");
        }
    }
    if (OverlaySnapshot* os = s->overlay) {
        if (OverlayRecord* o = b->overlay) {
            std::swap(o->flags, os->flags);
            o->flags |= OverlayFlags::NeedsUpdate;
            exchangeTexture(o->handle, o->texInfo, os->texInfo);
            if (os->withGeometry) {
                std::swap(o->corners, os->corners);
                exchangeOverlayPlane(o, os);
            }
        } else {
            Sys_Error("Undo/Redo: NULL overlay");
        }
    }
    return gridExchanged;
}

} // namespace

void UndoApply_SwapBrushes(MapWorld* w, BrushSnapshotRecord* list, const cUndoPriorSelection& prior) {
    if (!list) return;
    cBrushIndex index(w);
    cDeferredUpdates deferred;
    std::vector<int32_t> faceIds; // scratch of swapFaceGeometry
    EntityRecord* e = nullptr;
    for (BrushSnapshotRecord* s = list; s; s = s->next) {
        if (!e || e->serial != s->entitySerial) e = findEntity(w, s->entitySerial);
        if (!e) {
            Sys_Error("Undo/Redo: no such entityId %i", s->entitySerial);
            continue;
        }
        BrushRecord* b = index.findIn(e, s->serial);
        if (!b) b = index.findAnywhere(s->serial);
        if (!b) {
            Sys_Error("Undo/Redo: no such brushId %i", s->serial);
            continue;
        }
        if (b->entity != e) {
            EntityRecord* former = b->entity;
            Map_UnlinkBrush(w, b, former);
            Map_LinkBrush(w, b, e);
            s->entitySerial = former ? former->serial : 0;
            if (former) {
                former->flags |= EntityFlag::NeedsUpdate;
                deferred.entity(former, 0);
            }
        }
        const bool wantSelected =
            UndoApply_ExchangeFlags(b->flags, s->flags, BrushFlags::NeedsUpdate, prior.has(b));
        cMapBrush* handle = b->handle;
        std::swap(handle->baseColor, s->baseColor);
        handle->updateRandomColor();
        s->groupSerial = relinkInnerGroup(w, b->group, s->groupSerial);
        s->outerGroupSerial = relinkOuterGroup(w, b->outerGroup, s->outerGroupSerial);
        const bool gridExchanged = swapCarried(b, s);
        if (s->withGeometry) {
            swapFaceGeometry(w, b, s, faceIds);
            deferred.entity(e, FaceUpdate::TexCoords | (gridExchanged ? BrushUpdate::TessellatePatch : 0));
            deferred.decalsAround(b);
        } else {
            swapFaceTextures(w, b, s, prior);
            deferred.entity(e, FaceUpdate::TexCoords | (gridExchanged ? BrushUpdate::TessellatePatch : 0));
        }
        if (wantSelected) Map_SelectObject(w, b);
    }
    deferred.run(w);
}

void UndoApply_SelectBrushesOfSelectedEntities(MapWorld* w) {
    for (EntityRecord* e = w->selectedEntities; e; e = e->selNext)
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            Map_SelectObject(w, b);
}

void UndoApply_SwapFaces(MapWorld* w, FaceSnapshotRecord* list, const cUndoPriorSelection& prior) {
    if (!list) return;
    cBrushIndex index(w);
    EntityRecord* e = nullptr;
    BrushRecord* b = nullptr;
    for (FaceSnapshotRecord* s = list; s; s = s->next) {
        if (!e || e->serial != s->entitySerial) {
            e = findEntity(w, s->entitySerial);
            b = nullptr;
        }
        if (!e) {
            Sys_Error("Undo/Redo: no such entityId %i", s->entitySerial);
            continue;
        }
        if (!b || b->serial != s->brushSerial) b = index.findIn(e, s->brushSerial);
        if (!b) {
            Sys_Error("Undo/Redo: no such brushId %i", s->brushSerial);
            continue;
        }
        FaceRecord* f = findFaceIn(b, s->serial);
        if (!f) {
            Sys_Error("Undo/Redo: no such faceId %i", s->serial);
            continue;
        }
        const bool wantSelected =
            UndoApply_ExchangeFlags(f->flags, s->flags, FaceFlags::NeedsUpdate, prior.has(f));
        exchangeTexture(f->handle, f->texInfo, s->texInfo);
        markDecalFragments(b);
        if (wantSelected) Map_SelectObject(w, f);
        // Last: a face whose polygon vanished removes itself here.
        f->handle->update(FaceUpdate::TexCoords);
    }
}
