#include "tools/DecalTool.h"

#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapOverlay.h"
#include "tools/BrushTool.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"

bool cDecalTool::setCursor(cCanvas* view) {
    if (!view->is3D()) return false;
    view->setCursor(Tool_Cursor(ToolCursor::Decal));
    return true;
}

bool cDecalTool::mousePress(cCanvas* view, int x, int y, int button, int) {
    if (button != Qt::LeftButton || !view->is3D()) return false;
    MapDocument* doc = view->document();
    if (!doc || !doc->world) return true;
    const int id = view->renderForPick(x, y, 1);
    if (id <= 0) return true;
    // Entities with flag bit 0 (point entities) take no decals.
    for (EntityRecord* e = doc->world->entities; e; e = e->next)
        if (e->handle && e->handle->id == id && (e->flags & 0x1)) return true;
    if (view->screenToWorld(x, y, 0, false, hitPoint)) createObject(view);
    return true;
}

void cDecalTool::createObject(cCanvas* view) {
    const ToolTexture texture = Tool_CurrentTexture();
    MapDocument* doc = view->document();
    if (texture.name.isEmpty() || !doc || !doc->world) return;
    MapWorld* world = doc->world;
    const MapProfileRecord* profile = GameCfg_CurrentProfile();
    const QByteArray decalClass = Profile_Text(profile->decalClass);
    if ((profile->capabilities & MAP_PROFILE_DECAL_CLASS) && !decalClass.isEmpty()) {
        Undo_BeginLevel(doc->undo, "Create Decal");
        if (EntityRecord* e = Entity_Alloc(decalClass.constData(), hitPoint, EntityFlag::Point)) {
            Map_LinkEntity(world, e);
            e->serial = Map_NextSerial(world, SerialKind::Entity);
            cMapEntity* entity = e->handle;
            entity->applyClassKeys(true);
            if (const char* key = entity->keyName(KEY_TEXTURE); key && key[0]) {
                if (!entity->setKeyValue(key, texture.name.constData()))
                    entity->appendKeyValue(key, texture.name.constData());
            }
            entity->update(EntityUpdate::RenderKeys | EntityUpdate::ModelKeys | EntityUpdate::RebuildModel);
            Undo_SaveEntity(doc->undo, e, UndoList::CreatedEntities);
        }
    } else if (profile->capabilities & kProfileOverlays) {
        Undo_BeginLevel(doc->undo, "Create Overlay");
        BrushRecord* brush = Brush_Alloc();
        Map_LinkBrush(world, brush, world->entities);
        brush->serial = Map_NextSerial(world, SerialKind::Brush);
        TextureInfo info{};
        info.sScale = info.tScale = 1.0f;
        OverlayRecord* overlay = Overlay_Create(brush, &info);
        overlay->handle->setTexture(texture.name.constData());
        // Towards the eye: the overlay goes on the face the view sees.
        overlay->handle->placeOnFace(hitPoint, view->eye);
        brush->handle->update(0x10);
        Undo_SaveBrush(doc->undo, brush, UndoList::CreatedBrushes, true);
    } else {
        Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
        return;
    }
    if (doc->undo && doc->undo->recording) {
        Undo_EndLevel(doc->undo);
        Tool_UpdateActions(0x2);
    }
    doc->modified = true;
    Project_UpdateTitles(doc);
    Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
}
