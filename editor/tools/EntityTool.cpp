#include "tools/EntityTool.h"

#include <QOpenGLFunctions>
#include <algorithm>

#include "core/SysHost.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "kstdlib/krandom.h"
#include "core/MainSettings.h"
#include "map/MapEntity.h"
#include "document/SelectionBox.h"
#include "document/SelectionSummary.h"
#include "tools/ToolHost.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

namespace {

const EntityClass* g_objectClass = nullptr;
bool g_randomYaw = false;

void setColour(const uint8_t rgba[4], float scale = 1.0f) {
    glColor4ub(uint8_t(rgba[0] * scale), uint8_t(rgba[1] * scale), uint8_t(rgba[2] * scale), 255);
}

EntityRecord* entityById(MapWorld* world, int32_t id) {
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (e->handle && e->handle->id == id) return e;
    return nullptr;
}

void clampPoint(float p[3]) {
    const float half = Select_HalfWorldSize();
    for (int k = 0; k < 3; ++k)
        p[k] = std::clamp(p[k], -half, half);
}

} // namespace

const EntityClass* Tool_CurrentObjectClass() {
    return g_objectClass;
}
void Tool_SetCurrentObjectClass(const EntityClass* eclass) {
    g_objectClass = eclass;
}
bool Tool_RandomYaw() {
    return g_randomYaw;
}
void Tool_SetRandomYaw(bool on) {
    g_randomYaw = on;
}

SelectionBox* cEntityTool::pointOf(cCanvas* view) {
    MapDocument* doc = view ? view->document() : nullptr;
    return doc && doc->world ? &doc->selectionBoxes[2] : nullptr;
}

void cEntityTool::clearPoint(cCanvas* view) {
    if (SelectionBox* box = pointOf(view)) Select_ClearBox(box);
}

void cEntityTool::showStatus(cCanvas* view) {
    Tool_SetStatusText(4, Select_BoxStatusText(pointOf(view), view->hAxis, view->vAxis, BoxStatus::Centre));
}

bool cEntityTool::setCursor(cCanvas* view) {
    if (view->is3D()) return false;
    if (overPoint && Sys_Settings().CrosshairCursor)
        view->setCursor(Tool_Cursor(ToolCursor::Cross));
    else
        view->setCursor(Tool_Cursor(ToolCursor::Entity));
    return true;
}

bool cEntityTool::keyPress(cCanvas* view, int key, int modifiers) {
    SelectionBox* box = pointOf(view);
    if (!box) return false;
    if (key == Qt::Key_Escape) {
        if (box->valid) {
            overPoint = false;
            clearPoint(view);
            Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
            view->setCursorForTool();
            Tool_SetStatusText(4, QString());
            return true;
        }
        MapWorld* world = view->document()->world;
        if (Sys_Settings().ClearSelectionOnEscape && (world->selectedBrushes || world->selectedEntities)) {
            Map_SelectNone(world);
            refresh(view);
            overPoint = false;
            Tool_UpdateActions(0x115);
            Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
            return true;
        }
        return false;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !view->is3D() && box->valid) {
        overPoint = false;
        if (modifiers & Qt::AltModifier) return false;
        createObject(view);
        return true;
    }
    return false;
}

bool cEntityTool::placeOnSurface(cCanvas* view, int x, int y) {
    SelectionBox* box = pointOf(view);
    if (!box) return false;
    const int id = view->renderForPick(x, y, -1);
    if (id <= 0) return false;
    if (EntityRecord* e = entityById(view->document()->world, id); e && (e->flags & EntityFlag::Point))
        return false;
    placedIn3D = true;
    float p[3];
    if (!view->screenToWorld(x, y, 0, false, p)) return false;
    Select_BoxFromPoint(box, p);
    return true;
}

bool cEntityTool::mousePress(cCanvas* view, int x, int y, int button, int) {
    if (button != Qt::LeftButton) return false;
    if (view->is3D()) {
        if (placeOnSurface(view, x, y)) createObject(view);
        return true;
    }
    SelectionBox* box = pointOf(view);
    if (!box) return false;
    if (placedIn3D) {
        clearPoint(view);
        view->setCursorForTool();
        placedIn3D = false;
    }
    if (view->dragLeft) return false;
    overPoint = true;
    view->dragLeft = true;
    view->screenToWorld(x, y, ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false, pressPoint);
    if (box->valid) pressPoint[view->dAxis] = box->mins[view->dAxis];
    Select_BoxFromPoint(box, pressPoint);
    view->setCursorForTool();
    view->redrawNow();
    showStatus(view);
    return true;
}

bool cEntityTool::mouseMove(cCanvas* view, int x, int y, int, int modifiers) {
    SelectionBox* box = pointOf(view);
    if (view->is3D() || !box) return false;
    const int k = view->dAxis;
    if (view->dragLeft) {
        float p[3];
        view->screenToWorld(x, y, ScreenFlag::Snap | ScreenFlag::DepthFromOtherView,
                            (modifiers & Qt::AltModifier) != 0, p);
        if (box->valid) p[k] = box->mins[k];
        clampPoint(p);
        Select_BoxFromPoint(box, p);
        std::copy(p, p + 3, cursorWorld);
        Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
        showStatus(view);
        return true;
    }
    float p[3];
    view->screenToWorld(x, y, 0, false, p);
    if (box->valid) p[k] = box->mins[k];
    bool over = box->valid;
    const float reach = 12.0f / view->zoom;
    for (int a = 0; a < 3 && over; ++a)
        over = p[a] >= box->mins[a] - reach && p[a] <= box->mins[a] + reach;
    if (over == overPoint) return false;
    overPoint = over;
    view->setCursorForTool();
    return true;
}

bool cEntityTool::mouseRelease(cCanvas* view, int, int, int button, int) {
    if (button != Qt::LeftButton || view->is3D() || !pointOf(view)) return false;
    view->setCursorForTool();
    Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
    showStatus(view);
    return true;
}

bool cEntityTool::contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) {
    if (onRelease) return false;
    if (view->is3D()) {
        if (!placeOnSurface(view, x, y)) return true;
    } else {
        SelectionBox* box = pointOf(view);
        if (!box || !box->valid) return false;
        if (!overPoint) return true;
    }
    const EntityClass* eclass = Tool_CurrentObjectClass();
    Tool_UpdateCreateActions(eclass ? QString::fromLatin1(eclass->name) : QString());
    View_ExecContextMenu(QStringLiteral("Create"), global);
    return true;
}

void cEntityTool::createObject(cCanvas* view) {
    SelectionBox* box = pointOf(view);
    if (!box) return;
    MapDocument* doc = view->document();
    MapWorld* world = doc->world;
    const bool randomYaw = Tool_RandomYaw();
    const EntityClass* eclass = Tool_CurrentObjectClass();
    EntityRecord* made = nullptr;
    if (eclass && box->valid) {
        Sys_Printf("New entity: %s", eclass->name.constData());
        Undo_BeginLevel(doc->undo, "Create Entity");
        float origin[3];
        for (int k = 0; k < 3; ++k)
            origin[k] = (box->mins[k] + box->maxs[k]) * 0.5f + eclass->offset[k];
        if (EntityRecord* e = Entity_Alloc(eclass->name.constData(), origin, EntityFlag::Point)) {
            Map_LinkEntity(world, e);
            e->serial = Map_NextSerial(world, SerialKind::Entity);
            cMapEntity* entity = e->handle;
            entity->applyClassKeys(true);
            if (randomYaw) {
                const float angles[3] = {0.0f, float(K_RandomLong(0, 359)), 0.0f};
                entity->setAngles(angles);
            }
            entity->update(EntityUpdate::RenderKeys | EntityUpdate::ModelKeys);
            // Selected before it is recorded: a redo brings it back as it was made.
            Map_SelectNone(world);
            Map_SelectObject(world, e);
            Undo_SaveEntity(doc->undo, e, UndoList::CreatedEntities);
            made = e;
        }
        if (doc->undo && doc->undo->recording) {
            Undo_EndLevel(doc->undo);
            Tool_UpdateActions(0x2);
        }
        doc->modified = true;
        Project_UpdateTitles(doc);
    }
    // The new entity is the selection: drawn as selected, named by the status bar.
    if (made) {
        Map_UpdateSelectionSummary(world);
        if (ToolHost* host = Tool_Host()) host->notifySelectionChanged(view);
    }
    clearPoint(view);
    view->setCursorForTool();
    Tool_Redraw(view, ViewMask::Views2D | ViewMask::View3D);
    Tool_SetStatusText(4, QString());
    placedIn3D = false;
}

bool cEntityTool::nudge(cCanvas* view, int dx, int dy, int modifiers) {
    SelectionBox* box = pointOf(view);
    if (view->is3D() || !box || !box->valid) return false;
    float p[3] = {box->mins[0], box->mins[1], box->mins[2]};
    if (modifiers & Qt::ShiftModifier) {
        p[2] += float(dy);
    } else {
        p[view->hAxis] += float(dx);
        p[view->vAxis] += float(dy);
    }
    Select_BoxFromPoint(box, p);
    showStatus(view);
    return true;
}

bool cEntityTool::nudgeDepth(cCanvas* view, int axis, int amount) {
    SelectionBox* box = pointOf(view);
    if (!box || !box->valid || axis < 0 || axis > 2) return false;
    float p[3] = {box->mins[0], box->mins[1], box->mins[2]};
    p[axis] += float(amount);
    Select_BoxFromPoint(box, p);
    showStatus(view);
    return true;
}

void cEntityTool::autoScroll(cCanvas* view, float seconds) {
    if (view->is3D() || !view->dragLeft || Tool_SpaceHeld()) return;
    if (view->autoScroll(cursorWorld, seconds * 128.0f)) Tool_Redraw(view, ViewMask::Views2D);
}

void cEntityTool::draw(cCanvas* view, RenderContext*, RenderCounters*) {
    SelectionBox* box = pointOf(view);
    if (!box || !box->valid || placedIn3D) return;
    const float* p = box->mins;
    const uint8_t* colour = Color_GetRGBA(COLOR_ENTITY_CREATION);
    const EntityClass* eclass = Tool_CurrentObjectClass();
    if (view->is3D()) {
        const float g = std::min(Select_HalfWorldSize(), 512.0f);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glBegin(GL_LINES);
        for (int a = 0; a < 3; ++a)
            for (float side : {-g, g}) {
                glColor4ub(colour[0], colour[1], colour[2], 255);
                glVertex3fv(p);
                float end[3] = {p[0], p[1], p[2]};
                end[a] += side;
                glColor4ub(a == 0 ? 255 : 0, a == 1 ? 255 : 0, a == 2 ? 255 : 0, 0);
                glVertex3fv(end);
            }
        glEnd();
        glDisable(GL_BLEND);
        float lo[3], hi[3];
        for (int k = 0; k < 3; ++k) {
            lo[k] = p[k] + (eclass ? eclass->mins[k] : 0.0f);
            hi[k] = p[k] + (eclass ? eclass->maxs[k] : 0.0f);
        }
        setColour(eclass ? eclass->color : colour);
        view->drawBoxLines(lo, hi);
        return;
    }
    setColour(colour, 0.6f);
    view->drawGuideLines(p);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    setColour(colour);
    view->drawSquareMarker(p, 12.0f);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
