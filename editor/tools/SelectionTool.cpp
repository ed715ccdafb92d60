#include "tools/SelectionTool.h"

#include <QKeyEvent>
#include <QOpenGLFunctions>
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "document/UniqueName.h"
#include "core/MainSettings.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "document/SelectionBox.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"

namespace {

constexpr int kShift = Qt::ShiftModifier;
constexpr int kCtrl = Qt::ControlModifier;
constexpr int kAlt = Qt::AltModifier;

void identity(float m[16]) {
    std::fill(m, m + 16, 0.0f);
    m[0] = m[5] = m[10] = m[15] = 1.0f;
}

bool finiteMatrix(const float m[16]) {
    for (int n = 0; n < 16; ++n)
        if (!std::isfinite(m[n])) return false;
    return true;
}

// A point moved by the matrix about the centre.
void transformPoint(const float m[16], const float centre[3], const float p[3], float out[3]) {
    float r[3];
    for (int k = 0; k < 3; ++k)
        r[k] = p[k] - centre[k];
    for (int row = 0; row < 3; ++row)
        out[row] =
            m[row * 4] * r[0] + m[row * 4 + 1] * r[1] + m[row * 4 + 2] * r[2] + m[row * 4 + 3] + centre[row];
}

int selectedCount(const MapWorld* world, int* brushes = nullptr) {
    int n = 0, b = 0;
    for (const EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        ++n;
    for (const BrushRecord* r = world->selectedBrushes; r; r = r->selNext)
        ++b;
    if (brushes) *brushes = b;
    return n + b;
}

// The one selected entity with a radius ring and nothing else selected; null otherwise.
EntityRecord* radiusEntity(const MapWorld* world) {
    EntityRecord* e = world->selectedEntities;
    if (!e || e->selNext || world->selectedBrushes || !e->handle) return nullptr;
    return e->handle->hasRadiusHandle() ? e : nullptr;
}

// Distance from the entity's origin in the view's two axes.
float planarDistance(const cCanvas* view, const EntityRecord* e, const float p[3]) {
    const float di = p[view->hAxis] - e->origin[view->hAxis];
    const float dj = p[view->vAxis] - e->origin[view->vAxis];
    return std::sqrt(di * di + dj * dj);
}

// Box sides each handle drags: bit n the min side of axis n, bit n + 3 the max side.
int handleSides(int handle, int i, int j) {
    int mask = 0;
    if (kBoxHandleSide[handle][0] < 0) mask |= 1 << i;
    if (kBoxHandleSide[handle][0] > 0) mask |= 1 << (i + 3);
    if (kBoxHandleSide[handle][1] < 0) mask |= 1 << j;
    if (kBoxHandleSide[handle][1] > 0) mask |= 1 << (j + 3);
    return mask;
}

} // namespace

cSelectionTool::cSelectionTool() : radiusGrab(FLT_MAX) {
    identity(matrix);
}

SelectionBox* cSelectionTool::boxOf(cCanvas* view) const {
    MapDocument* doc = view ? view->document() : nullptr;
    return doc && doc->world ? &doc->selectionBoxes[0] : nullptr;
}

void cSelectionTool::pickAt(cCanvas* view, int x, int y, bool replace, bool toggle) {
    MapDocument* doc = view->document();
    if (!doc || !doc->world) return;
    MapWorld* world = doc->world;
    const int id = view->renderForPick(x, y, 0);
    if (replace) Map_SelectNone(world);
    Map_UpdateSelectionMode(world);
    if (id) Map_SelectById(world, id, toggle);
    Map_UpdateSelectionSummary(world);
    refresh(view);
    Tool_UpdateActions(0x115);
    if (selectedCount(world) > 0 && (replace || id)) justPicked = true;
}

bool cSelectionTool::mousePress(cCanvas* view, int x, int y, int button, int modifiers) {
    if (button != Qt::LeftButton) return false;
    SelectionBox* box = boxOf(view);
    if (!box) return false;
    lastModifiers = modifiers;
    radiusGrab = FLT_MAX;
    pressX = x;
    pressY = y;
    const bool ctrl = modifiers & kCtrl;
    if (!ctrl && (inside || hoverHandle || radiusHover)) return false;
    pickAt(view, x, y, !ctrl, ctrl);
    Tool_MapPoint(view, x, y, ScreenFlag::Snap, box, dragStart);
    const bool was = inside;
    inside = box->valid && Select_BoxContainsPoint(box, dragStart);
    if (inside != was) view->setCursorForTool();
    Tool_Redraw(view, 3);
    return true;
}

void cSelectionTool::markDragged(MapWorld* world, bool on) {
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        if (on)
            b->flags |= BrushFlags::Dragged;
        else
            b->flags &= ~BrushFlags::Dragged;
    }
}

void cSelectionTool::snapReference(cCanvas* view, const SelectionBox* box, float out[3]) const {
    MapWorld* world = view->document()->world;
    if (count == 1 && !world->selectedBrushes && world->selectedEntities) {
        for (int k = 0; k < 3; ++k)
            out[k] = (box->mins[k] + box->maxs[k]) * 0.5f - originOffset[k];
        return;
    }
    Select_BoxNearestCorner(box, out, view->hAxis, view->vAxis, dragStart);
}

void cSelectionTool::moveDrag(cCanvas* view, SelectionBox* box, const float p[3]) {
    MapWorld* world = view->document()->world;
    const MainSettings& s = Sys_Settings();
    const int i = view->hAxis, j = view->vAxis;
    markDragged(world, true);
    preview = true;
    moved = true;
    if (s.SnapOnMove && s.SnapToGrid && snapPending) {
        float reference[3], pending[3];
        snapReference(view, box, reference);
        for (int k = 0; k < 3; ++k)
            pending[k] = lastDragPoint[k] - rawStart[k];
        Select_BoxSnapMove(box, pending, i, j, reference, false, &snapPending);
    }
    for (int axis : {i, j}) {
        const float d = p[axis] - dragStart[axis];
        dragStart[axis] += d;
        box->mins[axis] += d;
        box->maxs[axis] += d;
    }
    rotating = shearing = 0;
    for (int k = 0; k < 3; ++k) {
        newCentre[k] = (box->mins[k] + box->maxs[k]) * 0.5f;
        matrix[k * 4 + 3] = newCentre[k] - centre[k];
    }
}

void cSelectionTool::handleDrag(cCanvas* view, SelectionBox* box, const float p[3], int modifiers) {
    MapWorld* world = view->document()->world;
    const MainSettings& s = Sys_Settings();
    const int i = view->hAxis, j = view->vAxis, k = view->dAxis;
    const bool alt = modifiers & kAlt;
    markDragged(world, true);
    preview = true;
    float delta[3];
    for (int n = 0; n < 3; ++n)
        delta[n] = p[n] - dragStart[n];
    switch (mode) {
    case SelectMode::Rotate: {
        dragAxis = k;
        otherAxis = i;
        const bool snap = bool(modifiers & kShift) != s.DefaultFixedDegreeRotation;
        Select_BoxRotationAngle(box, p, dragOrigin, i, j, snap);
        updateMatrix(view, MatrixKind::Rotate);
        break;
    }
    case SelectMode::Shear: {
        const bool alongJ = hoverHandle == 5 || hoverHandle == 6;
        dragAxis = alongJ ? j : i;
        otherAxis = alongJ ? i : j;
        const bool shifts = hoverHandle == 5 || hoverHandle == 8;
        const int a = dragAxis;
        if (shifts) {
            box->mins[a] += p[a] - dragStart[a];
            box->maxs[a] += p[a] - dragStart[a];
            dragStart[a] = p[a];
        }
        box->shear = shifts ? dragOrigin[a] - p[a] : p[a] - dragOrigin[a];
        updateMatrix(view, MatrixKind::Shear);
        break;
    }
    case SelectMode::Stretch: {
        sideMask = handleSides(hoverHandle, i, j);
        const SelectionBox before = *box;
        float startBefore[3] = {dragStart[0], dragStart[1], dragStart[2]};
        Select_BoxDragHandle(box, delta, i, j, hoverHandle, alt, dragStart);
        updateMatrix(view, MatrixKind::Stretch);
        const bool keepI = stretchKeepsThickness(view, i);
        const bool keepJ = stretchKeepsThickness(view, j);
        if (!keepI || !keepJ) {
            for (int axis : {i, j}) {
                if (axis == i ? keepI : keepJ) continue;
                box->mins[axis] = before.mins[axis];
                box->maxs[axis] = before.maxs[axis];
                dragStart[axis] = startBefore[axis];
            }
            float a[3], b[3];
            for (int n = 0; n < 3; ++n) {
                a[n] = box->mins[n];
                b[n] = box->maxs[n];
            }
            const float angle = box->angle, shear = box->shear;
            Select_BoxFromPoints(box, a, b);
            box->angle = angle;
            box->shear = shear;
            updateMatrix(view, MatrixKind::Stretch);
        }
        break;
    }
    default:
        Select_BoxDragHandle(box, delta, i, j, hoverHandle, alt, dragStart);
        updateMatrix(view, MatrixKind::Scale);
        break;
    }
}

bool cSelectionTool::mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) {
    MapDocument* doc = view->document();
    if (!doc || !doc->world) return false;
    MapWorld* world = doc->world;
    lastModifiers = modifiers;
    const MainSettings& s = Sys_Settings();
    if (view->is3D()) {
        inside = false;
        hoverHandle = radiusHover = 0;
        if (buttons == Qt::LeftButton && !Tool_SpaceHeld() && s.SelectMouseMove) {
            const int id = view->renderForPick(x, y, 0);
            Map_UpdateSelectionMode(world);
            if (id) Map_SelectById(world, id, false);
            Map_UpdateSelectionSummary(world);
            refresh(view);
            Tool_UpdateActions(0x115);
            if (selectedCount(world) > 0 && id) justPicked = true;
            Tool_Redraw(view, 3);
            return true;
        }
        return false;
    }
    if (justPicked) return true;
    SelectionBox* box = boxOf(view);
    const bool alt = modifiers & kAlt;
    const int snapFlag = alt ? 0 : ScreenFlag::Snap;
    if (!view->dragLeft && (buttons & Qt::LeftButton)) {
        view->dragLeft = true;
        Tool_MapPoint(view, pressX, pressY, snapFlag, box, dragStart);
        if (s.SnapOnMove && s.SnapToGrid && snapPending) {
            Tool_MapPoint(view, pressX, pressY, 0, nullptr, rawStart);
            rawStart[view->dAxis] = dragStart[view->dAxis];
        }
        std::copy(dragStart, dragStart + 3, dragOrigin);
        if (x == pressX && y == pressY) return true;
    }
    if (view->dragLeft && (buttons & Qt::LeftButton)) {
        dragAxis = otherAxis = -1;
        sideMask = 0;
        dragging = true;
        float p[3];
        Tool_MapPoint(view, x, y, 0, box, lastDragPoint);
        Tool_MapPoint(view, x, y, snapFlag, box, p);
        const int selected = selectedCount(world);
        EntityRecord* ring = radiusEntity(world);
        int status = -1;
        if (!hoverHandle && (!inside || radiusHover) && ring && radiusHover) {
            radiusDrag = true;
            if (radiusGrab == FLT_MAX) radiusGrab = planarDistance(view, ring, dragStart) - ring->radius;
            const float radius = std::max(4.0f, std::floor(planarDistance(view, ring, p) - radiusGrab));
            if (radius != ring->radius) {
                char text[32];
                std::snprintf(text, sizeof text, "%.0f", double(radius));
                ring->handle->setKeyValue("radius", text);
                ring->radius = radius;
                // The ring is kept in the file: a change that closing would lose unasked is a fault.
                Tool_MarkModified(doc);
            }
        } else if (!hoverHandle && !inside && (selected == 0 || (modifiers & kCtrl))) {
            rubberBand = true;
            Tool_SpanBox(view, box, dragStart, p);
        } else if (!hoverHandle && !inside) {
            // Nothing to drag here.
        } else if (hoverHandle) {
            handleDrag(view, box, p, modifiers);
            status = mode == SelectMode::Rotate  ? BoxStatus::Angle
                     : mode == SelectMode::Shear ? BoxStatus::Shear
                                                 : BoxStatus::Size;
        } else {
            moveDrag(view, box, p);
            status = BoxStatus::None;
        }
        if (status >= 0) Tool_BoxStatus(view, box, status);
        Tool_Redraw(view, 3);
        return true;
    }
    return hoverAt(view, x, y);
}

bool cSelectionTool::hoverAt(cCanvas* view, int x, int y) {
    SelectionBox* box = boxOf(view);
    MapWorld* world = view->document()->world;
    float p[3];
    Tool_MapPoint(view, x, y, 0, box, p);
    int handle = Tool_HitHandle(view, box, p);
    if (mode == SelectMode::Rotate && handle >= 5) handle = 0;
    if (mode == SelectMode::Shear && handle >= 1 && handle <= 4) handle = 0;
    if (handle != hoverHandle) {
        hoverHandle = handle;
        inside = false;
        view->setCursorForTool();
        return true;
    }
    if (!handle) {
        if (EntityRecord* ring = radiusEntity(world)) {
            const float d = planarDistance(view, ring, p), band = 8.0f / view->zoom;
            int code = 0;
            if (d > ring->radius - band && d < ring->radius + band) {
                const float di = p[view->hAxis] - ring->origin[view->hAxis];
                const float dj = p[view->vAxis] - ring->origin[view->vAxis];
                float a = std::atan2(dj, di) / 3.14159265f - 0.125f;
                while (a < 0.0f)
                    a += 1.0f;
                static const int codes[4] = {2, 7, 1, 5};
                code = codes[std::clamp(int(std::floor(4.0f * a)), 0, 3)];
            }
            if (code != radiusHover) {
                radiusHover = code;
                view->setCursorForTool();
                return true;
            }
            if (code) return false;
        }
    }
    const bool now = box->valid && Select_BoxContainsPoint(box, p);
    if (now != inside) {
        inside = now;
        view->setCursorForTool();
        return true;
    }
    return false;
}

void cSelectionTool::updateMatrix(cCanvas* view, int kind) {
    SelectionBox* box = boxOf(view);
    if (!box) return;
    identity(matrix);
    float boxSize[3];
    for (int k = 0; k < 3; ++k) {
        newCentre[k] = (box->mins[k] + box->maxs[k]) * 0.5f;
        boxSize[k] = box->maxs[k] - box->mins[k];
    }
    auto translate = [&](float factor) {
        for (int k = 0; k < 3; ++k)
            matrix[k * 4 + 3] = factor * (newCentre[k] - centre[k]);
    };
    switch (kind) {
    case MatrixKind::Scale:
        translate(1.0f);
        // A selection flat on an axis has nothing to scale there: that axis keeps factor 1.
        for (int k = 0; k < 3; ++k)
            matrix[k * 5] = size[k] > 0.0f ? boxSize[k] / size[k] : 1.0f;
        rotating = 0;
        break;
    case MatrixKind::Rotate: {
        const float s = std::sin(box->angle), c = std::cos(box->angle);
        const int k = view->dAxis;
        const int a = k == 2 ? 0 : k == 1 ? 0 : 1;
        const int b = k == 2 ? 1 : k == 1 ? 2 : 2;
        matrix[a * 4 + a] = c;
        matrix[a * 4 + b] = -s;
        matrix[b * 4 + a] = s;
        matrix[b * 4 + b] = c;
        rotating = 1;
        break;
    }
    case MatrixKind::Shear:
        translate(1.0f);
        rotating = 0;
        shearing = 1;
        // A shear across a flat box has no lever: it is refused.
        if (dragAxis >= 0 && otherAxis >= 0 && boxSize[otherAxis] > 0.0f) {
            matrix[dragAxis * 4 + otherAxis] = box->shear / boxSize[otherAxis];
            matrix[dragAxis * 4 + 3] += box->shear / 2;
        }
        break;
    case MatrixKind::Stretch:
        translate(2.0f);
        rotating = 0;
        shearing = 1;
        break;
    default:
        translate(1.0f);
        rotating = 0;
        break;
    }
}

bool cSelectionTool::stretchKeepsThickness(cCanvas* view, int axis) {
    MapWorld* world = view->document()->world;
    const float grid = float(std::max(1, Sys_Settings().CurrentGridSize));
    const bool movesMin = sideMask & (1 << axis), movesMax = sideMask & (1 << (axis + 3));
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        const float mid = (b->mins[axis] + b->maxs[axis]) * 0.5f;
        for (FaceRecord* f = b->firstFace; f; f = f->next) {
            if (f->maxs[axis] - f->mins[axis] < grid) continue;
            float lo[3], hi[3];
            transformPoint(matrix, centre, f->mins, lo);
            transformPoint(matrix, centre, f->maxs, hi);
            float a = f->mins[axis], z = f->maxs[axis];
            if (movesMin && f->mins[axis] < mid) a = lo[axis];
            if (movesMax && f->maxs[axis] > mid) z = hi[axis];
            if (!(z - a >= grid)) return false;
        }
    }
    return true;
}

void cSelectionTool::cloneSelection(MapWorld* world, void* newGroupsOut) {
    auto& newGroups = *static_cast<std::vector<GroupRecord*>*>(newGroupsOut);
    const MainSettings& s = Sys_Settings();
    const bool groupMode = Map_UpdateSelectionMode(world) == SelectionMode::WholeGroups;
    std::vector<EntityRecord*> entities;
    std::vector<BrushRecord*> brushes;
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        entities.push_back(e);
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        brushes.push_back(b);
    const std::set<BrushRecord*> wasSelected(brushes.begin(), brushes.end());
    Map_SelectNone(world);

    std::map<GroupRecord*, GroupRecord*> copies;
    MapHandle map = Map_Handle(world);
    // A copy of the group and of each of its parents, made once per source group.
    std::function<GroupRecord*(GroupRecord*)> copyOf = [&](GroupRecord* group) -> GroupRecord* {
        if (!group || !groupMode) return nullptr;
        auto found = copies.find(group);
        if (found != copies.end()) return found->second;
        GroupRecord* copy = Group_Create(map);
        copies[group] = copy;
        if (GroupRecord* parent = copyOf(group->parent))
            Group_SetParent(parent, copy);
        else
            newGroups.push_back(copy);
        return copy;
    };

    std::set<BrushRecord*> done;
    for (EntityRecord* e : entities) {
        if (!e->handle || (e->flags & EntityFlag::World)) continue;
        EntityRecord* copy = e->handle->duplicate();
        if (!copy) continue;
        if (GroupRecord* g = copyOf(e->group)) Group_AddEntity(g, copy);
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            if (!b->handle) continue;
            BrushRecord* clone = b->handle->cloneInto(copy);
            done.insert(b);
            if (clone && wasSelected.count(b)) Map_SelectObject(world, clone);
        }
        Map_SelectObject(world, copy);
    }
    if (s.KeepInternalConnections) Map_RenameClonedEntities(world);
    EntityRecord* worldEntity = world->entities;
    for (BrushRecord* b : brushes) {
        if (done.count(b) || !b->handle) continue;
        BrushRecord* clone = b->handle->cloneInto(worldEntity);
        if (!clone) continue;
        if (GroupRecord* g = copyOf(b->group)) Group_AddBrush(g, clone);
        Map_SelectObject(world, clone);
    }
    Tool_UpdateActions(0x115);
}

void cSelectionTool::applyTransformation(cCanvas* view, bool clone) {
    MapDocument* doc = view->document();
    if (!doc || !doc->world) return;
    MapWorld* world = doc->world;
    UndoHistory* history = doc->undo;
    // A matrix with a NaN or an infinity would scatter the geometry: it is never applied.
    if (!finiteMatrix(matrix)) {
        refresh(view);
        return;
    }
    std::vector<GroupRecord*> newGroups;
    if (!clone) {
        Undo_BeginLevel(history, "Transformation");
        Undo_SaveSelectedGroupsChanged(history);
        Undo_SaveSelectedEntitiesChanged(history);
        Undo_SaveSelectedBrushesChanged(history, true);
    } else {
        Undo_BeginLevel(history, "Clone Objects");
        cloneSelection(world, &newGroups);
    }
    const MainSettings& s = Sys_Settings();
    TransformParams params{};
    params.centre = centre;
    params.matrix = matrix;
    params.rotates = rotating;
    params.keepBits = uint8_t(sideMask);
    params.noTextureLock = shearing;
    params.viewAxisA = view->is3D() ? -1 : view->hAxis;
    params.viewAxisB = view->is3D() ? -1 : view->vAxis;
    params.scaleEnabled = s.ModelAltScale && (lastModifiers & kAlt);
    Map_TransformSelection(world, nullptr, nullptr, &params);
    if (clone) {
        Undo_SaveSelectedEntitiesCreated(history);
        Undo_SaveSelectedBrushesCreated(history);
        for (GroupRecord* g : newGroups) {
            Map_SelectObject(world, g);
            Undo_SaveGroup(history, g, UndoList::CreatedGroups);
        }
    }
    Undo_EndLevel(history);
    Tool_UpdateActions(0x2);
    Map_UpdateSelectionSummary(world);
    keepMode = true;
    refresh(view);
}

bool cSelectionTool::mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) {
    lastModifiers = modifiers;
    if (justPicked) {
        justPicked = false;
        return false;
    }
    SelectionBox* box = boxOf(view);
    if (!box || view->is3D() || button != Qt::LeftButton) return false;
    MapWorld* world = view->document()->world;
    snapPending = 3;
    preview = false;
    markDragged(world, false);
    if (dragging && box->valid) {
        dragging = false;
        // A radius drag changed a key, not the geometry: it opens no undo level.
        if (radiusDrag) {
            radiusDrag = false;
        } else if (!rubberBand && selectedCount(world) > 0) {
            Tool_RememberBounds(view->document(), box);
            applyTransformation(view, moved && (modifiers & kShift));
            moved = false;
            mouseMove(view, x, y, 0, modifiers);
        } else if (Sys_Settings().SelectAuto) {
            keyPress(view, Qt::Key_Return, modifiers);
        }
        Tool_Redraw(view, 3);
        Tool_BoxStatus(view, box, 0);
        sideMask = 0;
        return true;
    }
    dragging = false;
    if (inside && count > 0) {
        int brushes = 0;
        selectedCount(world, &brushes);
        mode = mode + 1;
        if (mode == SelectMode::Stretch && !brushes) mode = SelectMode::Scale;
        if (mode > SelectMode::Stretch) mode = SelectMode::Scale;
        Tool_Redraw(view, 3);
    }
    moved = false;
    return false;
}

bool cSelectionTool::keyPress(cCanvas* view, int key, int modifiers) {
    SelectionBox* box = boxOf(view);
    if (!box) return false;
    MapWorld* world = view->document()->world;
    if (key == Qt::Key_Escape) {
        if (rubberBand && box->valid) {
            dragging = inside = rubberBand = false;
            Select_ClearBox(box);
            Tool_Redraw(view, 3);
            Tool_BoxStatus(view, box, 0);
            return true;
        }
        if (Sys_Settings().ClearSelectionOnEscape && selectedCount(world) > 0) {
            Map_SelectNone(world);
            Map_UpdateSelectionSummary(world);
            refresh(view);
            inside = false;
            hoverHandle = radiusHover = 0;
            Tool_UpdateActions(0x115);
            Tool_Redraw(view, 3);
            return true;
        }
        return false;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !view->is3D() && rubberBand && box->valid) {
        dragging = inside = rubberBand = false;
        if (modifiers & kAlt) return false;
        int mode = BoxSelect::Touching;
        if (Sys_Settings().SelectByHandles)
            mode = BoxSelect::Handles;
        else if ((modifiers & (kShift | kCtrl | kAlt)) == kShift)
            mode = BoxSelect::Inside;
        Tool_SelectByBox(view, mode);
        return true;
    }
    return false;
}

void cSelectionTool::moveBox(cCanvas* view, int di, int dj, int dz) {
    SelectionBox* box = boxOf(view);
    MapWorld* world = view->document()->world;
    dragAxis = otherAxis = -1;
    sideMask = 0;
    float d[3] = {0, 0, 0};
    if (di || dj) {
        d[view->hAxis] += float(di);
        d[view->vAxis] += float(dj);
    }
    d[2] += float(dz);
    for (int k = 0; k < 3; ++k) {
        box->mins[k] += d[k];
        box->maxs[k] += d[k];
    }
    if (!selectedCount(world)) return;
    Tool_RememberBounds(view->document(), box);
    identity(matrix);
    rotating = shearing = 0;
    for (int k = 0; k < 3; ++k) {
        newCentre[k] = (box->mins[k] + box->maxs[k]) * 0.5f;
        matrix[k * 4 + 3] = newCentre[k] - centre[k];
    }
    applyTransformation(view, false);
}

bool cSelectionTool::nudge(cCanvas* view, int dx, int dy, int modifiers) {
    SelectionBox* box = boxOf(view);
    if (view->is3D() || !box || !box->valid) return false;
    lastModifiers = modifiers;
    if (modifiers & kShift)
        moveBox(view, 0, 0, dy);
    else
        moveBox(view, dx, dy, 0);
    return true;
}

bool cSelectionTool::nudgeDepth(cCanvas* view, int, int amount) {
    SelectionBox* box = boxOf(view);
    if (!box || !box->valid) return false;
    moveBox(view, 0, 0, amount);
    return true;
}

void cSelectionTool::refresh(cCanvas* view) {
    SelectionBox* box = boxOf(view);
    if (!box) return;
    MapWorld* world = view->document()->world;
    dragging = rubberBand = false;
    count = 0;
    Select_ClearBox(box);
    if (radiusHover) {
        radiusHover = 0;
        view->setCursorForTool();
    }
    noSizing = world->selectedBrushes == nullptr;
    if (!world->selectedEntities && !world->selectedBrushes) {
        mode = SelectMode::Scale;
        Tool_SetStatusText(4, QString());
        return;
    }
    EntityRecord* pointEntity = nullptr;
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
        for (int k = 0; k < 3; ++k) {
            box->mins[k] = std::min(box->mins[k], e->mins[k]);
            box->maxs[k] = std::max(box->maxs[k], e->maxs[k]);
        }
        ++count;
        if (e->flags & EntityFlag::Point) {
            noSizing = false;
            pointEntity = e;
        }
    }
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        for (int k = 0; k < 3; ++k) {
            box->mins[k] = std::min(box->mins[k], b->mins[k]);
            box->maxs[k] = std::max(box->maxs[k], b->maxs[k]);
        }
        ++count;
    }
    box->valid = 1;
    for (int k = 0; k < 3; ++k)
        originOffset[k] =
            count == 1 && pointEntity ? (box->mins[k] + box->maxs[k]) * 0.5f - pointEntity->origin[k] : 0.0f;
    if (!keepMode && count == 1) mode = SelectMode::Scale;
    keepMode = false;
    for (int k = 0; k < 3; ++k) {
        centre[k] = (box->mins[k] + box->maxs[k]) * 0.5f;
        size[k] = box->maxs[k] - box->mins[k];
        newCentre[k] = 0.0f;
    }
    identity(matrix);
    rotating = shearing = 0;
    markDragged(world, false);
    Tool_RememberBounds(view->document(), box);
    Tool_BoxStatus(view, box, 0);
}

bool cSelectionTool::setCursor(cCanvas* view) {
    if (view->is3D()) return false;
    if (hoverHandle) {
        if (mode == SelectMode::Rotate)
            view->setCursor(Tool_Cursor(ToolCursor::Rotate));
        else
            view->setCursor(Tool_HandleCursor(hoverHandle, mode == SelectMode::Shear));
        return true;
    }
    if (radiusHover) {
        view->setCursor(Tool_HandleCursor(radiusHover, false));
        return true;
    }
    if (inside && Sys_Settings().CrosshairCursor) {
        view->setCursor(Tool_Cursor(ToolCursor::Cross));
        return true;
    }
    return false;
}

bool cSelectionTool::contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) {
    SelectionBox* box = boxOf(view);
    if (onRelease || !box) return false;
    MapWorld* world = view->document()->world;
    const int selected = selectedCount(world);
    if (view->is3D()) {
        if (!selected) return false;
        View_ExecContextMenu(QStringLiteral("Selection"), global);
        return true;
    }
    float p[3];
    Tool_MapPoint(view, x, y, 0, box, p);
    inside = box->valid && Select_BoxContainsPoint(box, p);
    if (!inside) return false;
    if (!selected || rubberBand) {
        if (!box->valid) return false;
        View_ExecContextMenu(QStringLiteral("Select"), global);
        return true;
    }
    View_ExecContextMenu(QStringLiteral("Selection"), global);
    return true;
}

bool cSelectionTool::mouseDoubleClick(cCanvas* view, int, int, int, int) {
    SelectionBox* box = boxOf(view);
    if (!view->is3D() || !box || !box->valid) return false;
    Tool_EditProperties();
    return true;
}

void cSelectionTool::autoScroll(cCanvas* view, float seconds) {
    if (Tool_ScrollDrag(view, lastDragPoint, seconds) && view->document())
        Project_RedrawViews(view->document(), 1);
}

void cSelectionTool::draw(cCanvas* view, RenderContext*, RenderCounters* counters) {
    SelectionBox* box = boxOf(view);
    if (!box) return;
    MapWorld* world = view->document()->world;
    if (!view->is3D() && preview && finiteMatrix(matrix)) {
        Tool_SetColour(COLOR_ACTIVE_SELECTION);
        glBegin(GL_LINES);
        static const int edges[12][2] = {{0, 1}, {1, 3}, {3, 2}, {2, 0}, {4, 5}, {5, 7},
                                         {7, 6}, {6, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
        auto outline = [&](const float* lo, const float* hi) {
            float c[8][3];
            for (int n = 0; n < 8; ++n) {
                const float p[3] = {(n & 1) ? hi[0] : lo[0], (n & 2) ? hi[1] : lo[1],
                                    (n & 4) ? hi[2] : lo[2]};
                transformPoint(matrix, centre, p, c[n]);
            }
            for (const auto& e : edges) {
                glVertex3fv(c[e[0]]);
                glVertex3fv(c[e[1]]);
            }
        };
        for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
            outline(b->mins, b->maxs);
        for (EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
            if (!(e->flags & EntityFlag::Point)) continue;
            outline(e->mins, e->maxs);
            if (counters) ++counters->entities;
        }
        glEnd();
    }
    if (!box->valid) return;
    if (view->is3D()) {
        if (!rubberBand) return;
        Tool_SetColour(COLOR_3D_SELECTION);
        view->drawBoxLines(box->mins, box->maxs);
        return;
    }
    const int colour = dragging && !rubberBand ? COLOR_ACTIVE_SELECTION
                       : rubberBand            ? COLOR_2D_SELECTION
                                               : COLOR_SELECTED_FILL;
    Tool_SetColour(colour);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, 0xF0F0);
    if ((rotating || shearing) && dragAxis >= 0 && otherAxis >= 0 && sideMask == 0)
        view->drawTransformedBox(box->mins, box->maxs, dragAxis, otherAxis, centre, box->angle, box->shear);
    else
        view->drawBoxLines(box->mins, box->maxs);
    glDisable(GL_LINE_STIPPLE);
    if (dragging && moved && !hoverHandle) {
        float reference[3];
        snapReference(view, box, reference);
        Tool_SetColour(COLOR_ACTIVE_SELECTION);
        view->drawSquareMarker(reference, 16.0f);
    }
    if (count > 0) {
        Tool_SetColour(COLOR_SELECTED_FILL);
        for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
            if (!e->firstBrush) view->drawCrossMarker(e->origin, 16.0f);
    }
    if (Sys_Settings().DrawSizingInfo && !noSizing && !rubberBand)
        Tool_DrawSizingGuides(view, box, dragging ? COLOR_ACTIVE_SELECTION : COLOR_SELECTED_FILL);
    if (!dragging && !rubberBand && count > 0) {
        switch (mode) {
        case SelectMode::Rotate:
            Tool_DrawBoxHandles(view, box, 1, 4, hoverHandle, COLOR_BULLET_EDGE, true);
            break;
        case SelectMode::Shear:
            Tool_DrawBoxHandles(view, box, 5, 8, hoverHandle, COLOR_BULLET_EDGE, false);
            break;
        default:
            Tool_DrawBoxHandles(view, box, 1, 8, hoverHandle,
                                mode == SelectMode::Stretch ? COLOR_BULLET_PATCH_EXT : COLOR_BULLET_EDGE,
                                false);
            break;
        }
    }
}

void cSelectionTool::drawOverlay(cCanvas* view, RenderContext*) {
    SelectionBox* box = boxOf(view);
    if (view->is3D() || !box || !box->valid || noSizing || rubberBand || !Sys_Settings().DrawSizingInfo)
        return;
    const int colour = dragging ? COLOR_ACTIVE_SELECTION : COLOR_SELECTED_FILL;
    Tool_DrawSizingLabels(view, box, colour);
    if (mode == SelectMode::Rotate && dragAxis >= 0 && box->angle != 0.0f) {
        static const char* const names[3] = {"x", "y", "z"};
        double degrees = double(box->angle) * 180.0 / 3.14159265358979;
        if (degrees > 180.0) degrees = 360.0 - degrees;
        float hi[3], top[3];
        for (int k = 0; k < 3; ++k)
            hi[k] = box->maxs[k];
        hi[view->hAxis] = box->mins[view->hAxis];
        view->worldToScreen(hi, top);
        view->renderText(int(top[0]), int(top[1]) - 20,
                         QStringLiteral("%1-%2: %3°")
                             .arg(QLatin1String(names[dragAxis]), QObject::tr("rotation"))
                             .arg(std::round(degrees * 10.0) / 10.0),
                         view->smallFont);
    }
}
