#include "document/SelectionOperations.h"

#include <cstring>
#include <vector>

#include "document/GroupChain.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/OperationSupport.h"
#include "document/PathOperations.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"

namespace {

bool isWorldEntity(const EntityRecord* e) {
    return e && (e->flags & EntityFlag::World);
}

// An entity that leaves with the selection: its groups released (recorded), memberships
// dropped, unlinked and destroyed.
void destroyEntity(MapWorld* world, EntityRecord* e) {
    Map_DeselectObject(world, e);
    Map_ReleaseEntityGroups(world, e, true);
    e->handle->clearVisGroups();
    Map_UnlinkEntity(world, e);
    delete e->handle;
}

bool differs(const char* current, const char* name) {
    return std::strcmp(current, name) != 0;
}

} // namespace

void Map_DeleteSelection(MapWorld* world) {
    if (!world) return;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Delete Selection");
    Undo_SaveSelectedEntitiesDeleted(history);
    Undo_SaveSelectedBrushesDeleted(history);
    Selection_Clear(world->selectedFaces);

    while (BrushRecord* b = world->selectedBrushes) {
        Map_DeselectObject(world, b);
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            Map_FreeObjectId(world, f->handle);
        EntityRecord* e = b->entity;
        Map_UnlinkBrush(world, b, e);
        if (e && !isWorldEntity(e) && !e->firstBrush) {
            Undo_SaveEntity(history, e, UndoList::DeletedEntities);
            destroyEntity(world, e);
            e = nullptr;
        }
        Map_ReleaseBrushGroups(world, b);
        b->handle->clearVisGroups();
        if (e) e->flags |= EntityFlag::NeedsUpdate;
        delete b->handle;
    }

    for (EntityRecord* e = world->selectedEntities; e;) {
        EntityRecord* next = e->selNext;
        if (isWorldEntity(e) || e->firstBrush)
            Map_DeselectObject(world, e);
        else
            destroyEntity(world, e);
        e = next;
    }

    for (EntityRecord* e = world->entities; e; e = e->next)
        if ((e->flags & EntityFlag::NeedsUpdate) && e->handle) e->handle->update(0);
    Undo_EndLevel(history);
    Selection_Clear(world->selectedEntities);
    Selection_Clear(world->selectedBrushes);
    Selection_Clear(world->selectedGroups);
    Selection_Clear(world->selectedFaces);
    Map_OpFinish(world, true);
}

void Map_ApplyTexture(MapWorld* world, const char* name) {
    if (!world || !name) return;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Apply Texture");
    Undo_SaveSelectedBrushesChanged(history, false);
    Undo_SaveSelectedFacesChanged(history);
    Undo_EndLevel(history);

    for (FaceRecord* f = world->selectedFaces; f;) {
        // Taken first: an update whose polygon vanished deletes the face.
        FaceRecord* next = f->selNext;
        if (differs(f->texInfo.name, name)) {
            f->handle->setTextureName(name);
            BrushRecord* brush = f->brush;
            f->handle->update(0);
            if (brush) Decal_InvalidateAroundBrush(brush);
        }
        f = next;
    }

    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        bool changed = false;
        for (FaceRecord* f = b->firstFace; f; f = f->next) {
            if (!differs(f->texInfo.name, name)) continue;
            f->handle->setTextureName(name);
            f->flags |= FaceFlags::NeedsUpdate;
            changed = true;
        }
        if (PatchRecord* p = b->patch; p && differs(p->texInfo.name, name)) {
            p->handle->setTexture(name);
            p->flags |= PatchFlags::NeedsUpdate;
            changed = true;
        }
        if (OverlayRecord* o = b->overlay; o && differs(o->texInfo.name, name)) {
            o->handle->setTexture(name);
            o->flags |= OverlayFlags::NeedsUpdate;
            changed = true;
        }
        if (changed) {
            b->handle->update(0);
            Decal_InvalidateAroundBrush(b);
        }
    }
    Map_OpFinish(world, false);
}

bool Map_CmdEditDelete(MapWorld* world, bool pathMode) {
    if (!world) return false;
    if (pathMode && world->selectedNodes) {
        Map_DeleteSelectedNodes(world);
    } else if (world->selectedEntities || world->selectedBrushes || world->selectedGroups) {
        Map_DeleteSelection(world);
    } else {
        return false;
    }
    Map_OpRedraw(world, ViewMask::Views2D | ViewMask::View3D);
    return true;
}

bool Map_CmdApplyTexture(MapWorld* world, const char* name) {
    if (!world || !name) return false;
    Map_ApplyTexture(world, name);
    Map_OpRedraw(world, ViewMask::View3D);
    return true;
}
