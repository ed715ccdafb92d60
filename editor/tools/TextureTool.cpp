#include "tools/TextureTool.h"

#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "core/MainSettings.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include <cmath>
#include "tools/FaceTexturing.h"
#include "tools/ToolHost.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"

namespace {

constexpr int kShiftCtrl = Qt::ShiftModifier | Qt::ControlModifier;

MapWorld* worldOf(cCanvas* view) {
    MapDocument* doc = view ? view->document() : nullptr;
    return doc ? doc->world : nullptr;
}

// The face under the point. A pick that names the brush (a pass without face ids) is narrowed to
// the brush's face whose plane lies nearest the surface point under the cursor.
int pickFace(cCanvas* view, MapWorld* world, int x, int y) {
    const int id = view->renderForPick(x, y, -1);
    if (id <= 0 || Map_FindFaceById(world, id)) return id;
    float p[3];
    for (EntityRecord* e = world->entities; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            if (!b->handle || b->handle->id != id) continue;
            if (!b->firstFace || !view->screenToWorld(x, y, 0, false, p)) return id;
            FaceRecord* nearest = nullptr;
            float best = 0.0f;
            for (FaceRecord* f = b->firstFace; f; f = f->next) {
                const float d =
                    std::fabs(f->normal[0] * p[0] + f->normal[1] * p[1] + f->normal[2] * p[2] - f->dist);
                if (!nearest || d < best) {
                    nearest = f;
                    best = d;
                }
            }
            return nearest->handle ? nearest->handle->id : id;
        }
    return id;
}

} // namespace

FaceTexturing* cTextureTool::dialog() {
    ToolHost* host = Tool_Host();
    return host ? host->faceTexturing() : nullptr;
}

bool cTextureTool::faceDialogKey(const QKeyEvent* event) {
    return dialog() && dialog()->handleModeKey(event);
}

bool cTextureTool::setCursor(cCanvas* view) {
    if (!dialog() || !view->is3D()) return false;
    view->setCursor(Tool_Cursor(ToolCursor::Texture));
    return true;
}

bool cTextureTool::mousePress(cCanvas* view, int x, int y, int button, int modifiers) {
    FaceTexturing* face = dialog();
    MapWorld* world = worldOf(view);
    if (!face || !world || (button != Qt::LeftButton && button != Qt::RightButton)) return false;
    const bool shiftCtrl = (modifiers & kShiftCtrl) == kShiftCtrl;
    const bool shift = (modifiers & Qt::ShiftModifier) && !shiftCtrl;
    const bool ctrl = (modifiers & Qt::ControlModifier) && !shiftCtrl;
    const bool alt = modifiers & Qt::AltModifier;
    const int id = pickFace(view, world, x, y);
    const int mode = face->mode();
    if (button == Qt::LeftButton) {
        switch (mode) {
        case 0:
        case 2:
            if (!ctrl && !alt && !shiftCtrl) Map_SelectNone(world);
            if (shift)
                Map_SelectBrushFaces(world, id, ctrl);
            else
                Map_SelectById(world, id, ctrl);
            Tool_UpdateActions(0x1);
            if (mode == 0) refresh(view);
            break;
        case 1:
            face->liftFromObject(world, id);
            break;
        case 3:
        case 4:
        case 5:
            face->exec_on_applyTexture(world, id, mode, (modifiers & (Qt::AltModifier | kShiftCtrl)) != 0);
            break;
        case 6:
            face->alignToView(world, id, view);
            break;
        default:
            face->assignNullTexture(world, id, mode);
            break;
        }
    } else if (Map_FindFaceById(world, id)) {
        if (shift) {
            // Every face of the clicked face's brush, one application each.
            FaceRecord* picked = Map_FindFaceById(world, id);
            for (FaceRecord* f = picked->brush ? picked->brush->firstFace : picked; f;
                 f = picked->brush ? f->next : nullptr)
                if (f->handle) face->exec_on_applyTexture(world, f->handle->id, 4, false);
        } else
            face->exec_on_applyTexture(world, id, 4, alt || shiftCtrl);
    }
    Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
    return true;
}

bool cTextureTool::mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) {
    FaceTexturing* face = dialog();
    MapWorld* world = worldOf(view);
    if (!face || !world || !view->is3D() || (face->mode() != 0 && face->mode() != 2)) return false;
    const bool shiftCtrl = (modifiers & kShiftCtrl) == kShiftCtrl;
    const bool alt = modifiers & Qt::AltModifier;
    if (buttons == Qt::LeftButton && !Tool_SpaceHeld() && !alt && !shiftCtrl &&
        Sys_Settings().SelectMouseMove) {
        const int id = pickFace(view, world, x, y);
        if (modifiers & Qt::ShiftModifier)
            Map_SelectBrushFaces(world, id, false);
        else if (id > 0 && !Map_IsSelectedById(world, id))
            Map_SelectById(world, id, false);
        Tool_UpdateActions(0x1);
        if (face->mode() == 0) refresh(view);
        Tool_Redraw(view, ViewMask::View3D);
        return true;
    }
    if ((buttons & Qt::LeftButton) && (alt || shiftCtrl)) {
        if (!view->dragLeft) {
            view->dragLeft = true;
            MapDocument* doc = view->document();
            Undo_BeginLevel(doc->undo, "Shift Texture");
            Undo_SaveSelectedFacesChanged(doc->undo);
            if (doc->undo && doc->undo->recording) {
                Undo_EndLevel(doc->undo);
                Tool_UpdateActions(0x2);
            }
        } else {
            face->setTarget(Map_Handle(world));
            face->dragShiftTexture(lastX - x, y - lastY, view);
        }
        lastX = x;
        lastY = y;
        return true;
    }
    return false;
}

void cTextureTool::refresh(cCanvas* view) {
    FaceTexturing* face = dialog();
    MapWorld* world = worldOf(view);
    if (!face || !world) return;
    face->setTarget(Map_Handle(world));
    if (View_ActiveTool() == this) Tool_SetStatusText(4, QString());
}
