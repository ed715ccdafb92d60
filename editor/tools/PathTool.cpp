#include "tools/PathTool.h"

#include <QApplication>
#include <QOpenGLFunctions>
#include <cmath>

#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/PathOperations.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "core/MainSettings.h"
#include "map/MapPath.h"
#include "document/SelectionBox.h"
#include "tools/ToolHost.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

namespace {

constexpr int kAllViews = ViewMask::Views2D | ViewMask::View3D;

MapWorld* worldOf(cCanvas* view) {
    MapDocument* doc = view ? view->document() : nullptr;
    return doc ? doc->world : nullptr;
}

bool isSelected(const NodeRecord* node) {
    return (node->flags & NodeFlag::Selected) != 0;
}

// Ends the open level the way every creation and move here does.
void finishLevel(MapDocument* doc) {
    if (doc->undo && doc->undo->recording) {
        Undo_EndLevel(doc->undo);
        Tool_UpdateActions(0x2);
    }
    doc->modified = true;
    Project_UpdateTitles(doc);
}

} // namespace

SelectionBox* cPathTool::boxOf(cCanvas* view) {
    MapDocument* doc = view ? view->document() : nullptr;
    return doc && doc->world ? &doc->selectionBoxes[4] : nullptr;
}

NodeRecord* cPathTool::pickNode(cCanvas* v, int x, int y, bool selectedOnly) {
    MapWorld* world = worldOf(v);
    if (!world) return nullptr;
    const int h = Sys_Settings().VertexToolBulletSize / 2;
    auto hit = [&](NodeRecord* node) {
        float s[3];
        if (!v->worldToScreen(node->origin, s)) return false;
        if (s[0] < float(x - h) || s[0] > float(x + h) || s[1] < float(y - h) || s[1] > float(y + h))
            return false;
        std::copy(node->origin, node->origin + 3, grabbedPoint);
        return true;
    };
    if (selectedOnly) {
        for (NodeRecord* n = world->selectedNodes; n; n = n->selNext)
            if (hit(n)) return n;
        return nullptr;
    }
    for (PathRecord* path = world->paths; path; path = path->next)
        for (NodeRecord* n = path->firstNode; n; n = n->next)
            if (hit(n)) return n;
    return nullptr;
}

void cPathTool::selectNodesInBox(cCanvas* v, bool add) {
    SelectionBox* box = boxOf(v);
    if (!box || !box->valid) return;
    MapWorld* world = worldOf(v);
    for (PathRecord* path = world->paths; path; path = path->next)
        for (NodeRecord* n = path->firstNode; n; n = n->next) {
            bool inside = true;
            for (int k = 0; k < 3 && inside; ++k)
                inside = n->origin[k] > box->mins[k] - 0.001f && n->origin[k] < box->maxs[k] + 0.001f;
            if (inside)
                Map_SelectObject(world, n);
            else if (!add)
                Map_DeselectObject(world, n);
        }
}

int cPathTool::pickObject(cCanvas* v, int x, int y, bool clear, bool toggle) {
    const int id = v->renderForPick(x, y, 8);
    if (id <= 0) return 0;
    MapWorld* world = worldOf(v);
    if (clear) {
        Map_DeselectNodes(world);
        Map_UpdateSelectionSummary(world);
    }
    Map_SelectById(world, id, toggle);
    return id;
}

void cPathTool::moveBy(cCanvas* v, const float delta[3], bool alt) {
    MapDocument* doc = v->document();
    MapWorld* world = doc ? doc->world : nullptr;
    if (!world || !world->selectedNodes || (delta[0] == 0.0f && delta[1] == 0.0f && delta[2] == 0.0f)) return;
    if (!moveOpen) {
        Undo_BeginLevel(doc->undo, "Move Nodes");
        Undo_SaveSelectedNodesChanged(doc->undo);
        if (doc->undo && doc->undo->recording) {
            Undo_EndLevel(doc->undo);
            Tool_UpdateActions(0x2);
        }
        moveOpen = true;
    }
    for (NodeRecord* n = world->selectedNodes; n; n = n->selNext) {
        for (int k = 0; k < 3; ++k) {
            if (delta[k] == 0.0f) continue;
            n->origin[k] += delta[k];
            if (alt)
                n->origin[k] = std::floor(n->origin[k] + 0.5f);
            else
                Sys_SnapAxisToGrid(k, n->origin);
        }
        if (n->path) n->path->flags |= PathFlag::NeedsUpdate;
    }
    for (int k = 0; k < 3; ++k)
        lastPoint[k] += delta[k];
    doc->modified = true;
    Project_UpdateTitles(doc);
}

void cPathTool::moveNodes(cCanvas* v, float d1, float d2, bool alt) {
    float delta[3] = {0, 0, 0};
    delta[v->hAxis] = d1;
    delta[v->vAxis] = d2;
    moveBy(v, delta, alt);
}

void cPathTool::moveNodesDepth(cCanvas* v, int axis, float amount, bool alt) {
    if (axis < 0 || axis > 2) return;
    float delta[3] = {0, 0, 0};
    delta[axis] = amount;
    moveBy(v, delta, alt);
}

bool cPathTool::keyPress(cCanvas* v, int key, int modifiers) {
    SelectionBox* box = boxOf(v);
    if (!box) return false;
    MapWorld* world = worldOf(v);
    if (key == Qt::Key_Escape) {
        if (box->valid)
            Select_ClearBox(box);
        else if (Sys_Settings().ClearSelectionOnEscape && world->selectedNodes)
            Map_DeselectNodes(world);
        else
            return false;
        Tool_Redraw(v, kAllViews);
        return true;
    }
    if (key == Qt::Key_Insert) {
        cCanvas* target = v;
        if (const ViewHost* host = View_Host(); host && host->activeTool())
            target = host->lastInputCanvas() ? host->lastInputCanvas() : host->focusView();
        if (!target || target->is3D() || !worldOf(target)) return true;
        MapWorld* targetWorld = worldOf(target);
        if (targetWorld->selectedNodes) {
            Map_AddPathNodes(targetWorld, target->hAxis, target->vAxis);
            Tool_Redraw(target, kAllViews);
        }
        return true;
    }
    if (key == Qt::Key_Delete && (modifiers & Qt::ShiftModifier)) {
        if (ToolHost* host = Tool_Host()) host->deletePath();
        return true;
    }
    return false;
}

bool cPathTool::onSelection(cCanvas* v, int x, int y, bool storeNode) {
    MapWorld* world = worldOf(v);
    if (!world) return false;
    if (v->is3D()) return Map_IsSelectedById(world, v->renderForPick(x, y, 8));
    NodeRecord* node = pickNode(v, x, y, true);
    if (storeNode) menuNode = node;
    return node != nullptr;
}

bool cPathTool::contextMenu(cCanvas* v, int x, int y, QPoint global, bool onRelease) {
    if (onRelease || !onSelection(v, x, y, true)) return false;
    View_ExecContextMenu(QStringLiteral("Paths"), global);
    return true;
}

bool cPathTool::mouseDoubleClick(cCanvas* v, int x, int y, int, int) {
    if (!onSelection(v, x, y, false)) return false;
    if (ToolHost* host = Tool_Host()) host->editPathNodeProperties();
    return true;
}

bool cPathTool::mousePress(cCanvas* v, int x, int y, int button, int modifiers) {
    if (button != Qt::LeftButton) return false;
    MapWorld* world = worldOf(v);
    if (!world) return false;
    pressX = x;
    pressY = y;
    view = v;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (modifiers & Qt::ShiftModifier) {
        float p[3];
        if (v->screenToWorld(x, y, ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false, p)) {
            if (!v->is3D()) p[v->dAxis] = lastPoint[v->dAxis];
            std::copy(p, p + 3, newPoint);
        }
        createPending = true;
        Tool_Redraw(v, kAllViews);
        createObject(v);
        return true;
    }
    if (NodeRecord* node = pickNode(v, x, y, true)) {
        if (ctrl)
            Map_DeselectObject(world, node);
        else
            nodeDrag = true;
        Tool_Redraw(v, kAllViews);
        return true;
    }
    NodeRecord* node = v->is3D() ? nullptr : pickNode(v, x, y, false);
    if (node) {
        if (!ctrl) Map_DeselectNodes(world);
        if (isSelected(node) && ctrl)
            Map_DeselectObject(world, node);
        else if (!isSelected(node))
            Map_SelectObject(world, node);
        if (isSelected(node)) nodeDrag = true;
    } else if (!pickObject(v, x, y, !ctrl, ctrl)) {
        Tool_Redraw(v, kAllViews);
        return false;
    }
    Tool_Redraw(v, kAllViews);
    return true;
}

bool cPathTool::mouseMove(cCanvas* v, int x, int y, int buttons, int modifiers) {
    MapWorld* world = worldOf(v);
    if (!world) return false;
    if (v->is3D()) {
        if (buttons != Qt::LeftButton || Tool_SpaceHeld() || !Sys_Settings().SelectMouseMove) return false;
        Map_SelectById(world, v->renderForPick(x, y, 8), false);
        Tool_Redraw(v, kAllViews);
        return true;
    }
    if (modifiers & Qt::ShiftModifier) return false;
    const bool alt = modifiers & Qt::AltModifier;
    const int a1 = v->hAxis, a2 = v->vAxis;
    if (v->dragLeft) {
        view = v;
        float p[3];
        v->screenToWorld(x, y, ScreenFlag::Snap, alt, p);
        if (nodeDrag) {
            moveNodes(v, p[a1] - dragRef[a1], p[a2] - dragRef[a2], alt);
            dragRef[a1] = p[a1];
            dragRef[a2] = p[a2];
        } else {
            SelectionBox* box = boxOf(v);
            if (!box) return false;
            boxDrag = true;
            Tool_SpanBox(v, box, dragRef, p);
        }
        std::copy(p, p + 3, cursorWorld);
        Tool_Redraw(v, kAllViews);
        return true;
    }
    if (buttons & Qt::LeftButton) {
        v->dragLeft = true;
        if (nodeDrag)
            std::copy(grabbedPoint, grabbedPoint + 3, dragRef);
        else
            v->screenToWorld(pressX, pressY, ScreenFlag::Snap, false, dragRef);
        return true;
    }
    return false;
}

bool cPathTool::mouseRelease(cCanvas* v, int, int, int button, int modifiers) {
    if (button != Qt::LeftButton) return false;
    moveOpen = false;
    if (nodeDrag) {
        nodeDrag = false;
        return false;
    }
    SelectionBox* box = boxOf(v);
    if (!boxDrag || v->is3D() || !box) return false;
    boxDrag = false;
    Tool_EndBoxDrag(v, box, [&] { selectNodesInBox(v, (modifiers & Qt::ControlModifier) != 0); });
    return true;
}

bool cPathTool::nudge(cCanvas* v, int dx, int dy, int modifiers) {
    MapWorld* world = worldOf(v);
    if (v->is3D() || (dx == 0 && dy == 0) || !world || !world->selectedNodes) return false;
    view = v;
    moveNodes(v, float(dx), float(dy), (modifiers & Qt::AltModifier) != 0);
    moveOpen = false;
    return true;
}

bool cPathTool::nudgeDepth(cCanvas* v, int axis, int amount) {
    MapWorld* world = worldOf(v);
    if (amount == 0 || !world || !world->selectedNodes) return false;
    moveNodesDepth(v, axis, float(amount), (QApplication::keyboardModifiers() & Qt::AltModifier) != 0);
    moveOpen = false;
    return true;
}

void cPathTool::autoScroll(cCanvas* v, float seconds) {
    if (Tool_ScrollDrag(v, cursorWorld, seconds)) Tool_Redraw(v, ViewMask::Views2D);
}

void cPathTool::createObject(cCanvas* v) {
    MapDocument* doc = v->document();
    MapWorld* world = doc ? doc->world : nullptr;
    if (!world) return;
    if (world->selectedNodes) {
        PathRecord* path = world->selectedNodes->path;
        for (NodeRecord* n = world->selectedNodes; n; n = n->selNext)
            if (n->path != path) {
                Sys_Warning("More than one path selected!");
                QApplication::beep();
                createPending = false;
                Tool_Redraw(v, kAllViews);
                return;
            }
        Undo_BeginLevel(doc->undo, "Create Node");
        if (NodeRecord* node = Node_Append(Map_Handle(world), path)) {
            std::copy(newPoint, newPoint + 3, node->origin);
            std::copy(newPoint, newPoint + 3, lastPoint);
            path->flags |= PathFlag::NeedsUpdate;
            Undo_SaveNode(doc->undo, node, UndoList::CreatedNodes);
        }
        finishLevel(doc);
    } else {
        ToolHost* host = Tool_Host();
        if (const std::optional<NewPathChoice> choice = host ? host->askNewPath(doc, v) : std::nullopt) {
            const QByteArray name = Text_ToWindows1251(choice->name);
            const QByteArray className = Text_ToWindows1251(choice->className);
            Sys_Printf("New path: %s (%s)", name.constData(), className.constData());
            Undo_BeginLevel(doc->undo, "Create Path");
            PathRecord* path = Path_Create(Map_Handle(world));
            path->className = Sys_StrDup(className.constData());
            path->name = Sys_StrDup(name.constData());
            path->type = choice->direction;
            NodeRecord* node = Node_Append(Map_Handle(world), path);
            std::copy(newPoint, newPoint + 3, node->origin);
            std::copy(newPoint, newPoint + 3, lastPoint);
            path->flags |= PathFlag::NeedsUpdate;
            Undo_SavePath(doc->undo, path, UndoList::CreatedPaths);
            Undo_SaveNode(doc->undo, node, UndoList::CreatedNodes);
            finishLevel(doc);
        }
    }
    createPending = false;
    Tool_Redraw(v, kAllViews);
}

void cPathTool::draw(cCanvas* v, RenderContext*, RenderCounters*) {
    MapWorld* world = worldOf(v);
    if (!world) return;
    uint8_t rgba[4];
    if (!v->is3D()) {
        const float size = float(Sys_Settings().VertexToolBulletSize);
        Color_FillRGBA(rgba, COLOR_BULLET_VERTEX);
        for (PathRecord* path = world->paths; path; path = path->next)
            for (NodeRecord* n = path->firstNode; n; n = n->next)
                if (!isSelected(n)) v->drawSquareBullet(n->origin, size, 0, 0, rgba);
        Color_FillRGBA(rgba, COLOR_BULLET_SELECTED);
        for (NodeRecord* n = world->selectedNodes; n; n = n->selNext)
            v->drawSquareBullet(n->origin, size, 0, 0, rgba);
        SelectionBox* box = boxOf(v);
        if (v == view && box && box->valid) {
            Color_FillRGBA(rgba, COLOR_2D_SELECTION);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glColor4ub(rgba[0], rgba[1], rgba[2], 75);
            v->drawFilledBox(box->mins, box->maxs);
            glDisable(GL_BLEND);
            glColor4ub(rgba[0], rgba[1], rgba[2], 255);
            v->drawBoxLines(box->mins, box->maxs);
        }
    }
    if (!createPending) return;
    Color_FillRGBA(rgba, COLOR_PATH_CREATION);
    if (v->is3D()) {
        glColor4ub(rgba[0], rgba[1], rgba[2], 255);
        const float lo[3] = {newPoint[0] - 8, newPoint[1] - 8, newPoint[2] - 8};
        const float hi[3] = {newPoint[0] + 8, newPoint[1] + 8, newPoint[2] + 8};
        v->drawBoxLines(lo, hi);
        return;
    }
    glColor4ub(uint8_t(rgba[0] * 0.6f), uint8_t(rgba[1] * 0.6f), uint8_t(rgba[2] * 0.6f), 255);
    v->drawGuideLines(newPoint);
    glColor4ub(rgba[0], rgba[1], rgba[2], 255);
    v->drawCircle(newPoint, 8.0f);
}
