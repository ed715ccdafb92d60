#include "tools/VertexTool.h"

#include <QApplication>
#include <QOpenGLFunctions>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/SysHost.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "kstdlib/kmath.h"
#include "core/Vector.h"
#include "core/MainSettings.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/OverlayRecord.h"
#include "map/PatchRecord.h"
#include "document/SelectionBox.h"
#include "tools/ToolHost.h"
#include "tools/ToolSupport.h"
#include "tools/VertexHandles.h"
#include "views/Canvas.h"
#include "render/ColorScheme.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

constexpr int kAllViews = ViewMask::Views2D | ViewMask::View3D;
constexpr int kModifierMask = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// The key table: a letter with its Cyrillic twin, the exact modifiers.
struct VertexKey {
    int latin;
    int cyrillic;
    int modifiers;
};
constexpr VertexKey kSnapKey = {Qt::Key_B, 0x418, Qt::ControlModifier};
constexpr VertexKey kScaleKey = {Qt::Key_E, 0x423, Qt::AltModifier};
constexpr VertexKey kSplitKey = {Qt::Key_F, 0x410, Qt::ControlModifier};
constexpr VertexKey kFixKey = {Qt::Key_T, 0x415, Qt::ControlModifier | Qt::AltModifier};
constexpr VertexKey kWeldKey = {Qt::Key_W, 0x426, Qt::ControlModifier | Qt::AltModifier};

bool matches(const VertexKey& k, int key, int modifiers) {
    return (key == k.latin || key == k.cyrillic) && (modifiers & kModifierMask) == k.modifiers;
}

bool hitsPoint(cCanvas* v, const float p[3], int x, int y, int h) {
    float s[3];
    if (!v->worldToScreen(p, s)) return false;
    return s[0] >= float(x - h) && s[0] <= float(x + h) && s[1] >= float(y - h) && s[1] <= float(y + h);
}

bool insideBox(const SelectionBox* box, const float p[3]) {
    for (int k = 0; k < 3; ++k)
        if (!(p[k] > box->mins[k] - 0.001f && p[k] < box->maxs[k] + 0.001f)) return false;
    return true;
}

int colourOfKind(int kind) {
    switch (kind) {
    case HandleKind::Edge:
        return COLOR_BULLET_EDGE;
    case HandleKind::PatchEdge:
        return COLOR_BULLET_PATCH_INT;
    case HandleKind::PatchPoint:
        return COLOR_BULLET_PATCH_EXT;
    default:
        return COLOR_BULLET_VERTEX;
    }
}

} // namespace

MapWorld* cVertexTool::worldOf(cCanvas* v) const {
    MapDocument* doc = v ? v->document() : nullptr;
    return doc ? doc->world : nullptr;
}

SelectionBox* cVertexTool::boxOf(cCanvas* v) const {
    MapDocument* doc = v ? v->document() : nullptr;
    return doc && doc->world ? &doc->selectionBoxes[3] : nullptr;
}

void cVertexTool::snappedPoint(cCanvas* v, int x, int y, float out[3]) const {
    v->screenToWorld(x, y, ScreenFlag::Snap, !Sys_Settings().SnapToGrid, out);
}

// ---- Handles -------------------------------------------------------------------------------------

int cVertexTool::pickElements(cCanvas* v, int x, int y, int how) {
    MapWorld* world = worldOf(v);
    if (!world) return 0;
    const int h = Sys_Settings().VertexToolBulletSize / 2;
    int answer = 0;
    bool vertexHit = false;
    auto update = [&](const float p[3], int32_t* flags, int32_t bit) {
        const bool hit = hitsPoint(v, p, x, y, h);
        if (hit) {
            Vec_Copy(p, hitPoint);
            if (how == 1) *flags |= bit;
            if (how == 2) *flags ^= bit;
            answer = (*flags & bit) ? 2 : std::max(answer, 1);
        } else if (how == 1) {
            *flags &= ~bit;
        }
        return hit;
    };
    if (mode & VertexMode::Vertices)
        Handles_ForEachVertex(world, [&](const float p[3], int32_t* flags, int) {
            if (update(p, flags, HandleFlags::Vertex)) vertexHit = true;
            return how != 0 || answer != 2;
        });
    if ((how == 0 && answer == 2) || !(mode & VertexMode::Edges)) return answer;
    Handles_ForEachEdge(world, [&](const float p[3], int32_t* flags, int kind) {
        if (kind == HandleKind::PatchEdge) {
            update(p, flags, HandleFlags::Vertex);
        } else if (how != 0 && vertexHit) {
            *flags &= ~HandleFlags::Edge;
            return true;
        } else {
            if (how != 0) *flags &= ~HandleFlags::Vertex;
            update(p, flags, HandleFlags::Edge);
        }
        return how != 0 || answer != 2;
    });
    return answer;
}

void cVertexTool::selectInBox(cCanvas* v, bool add) {
    SelectionBox* box = boxOf(v);
    MapWorld* world = worldOf(v);
    if (!box || !box->valid || !world) return;
    bool any = false;
    if (mode & VertexMode::Vertices)
        Handles_ForEachVertex(world, [&](const float p[3], int32_t* flags, int) {
            if (insideBox(box, p)) {
                *flags |= HandleFlags::Vertex;
                any = true;
            } else if (!add) {
                *flags &= ~HandleFlags::Vertex;
            }
            return true;
        });
    if (mode & VertexMode::Edges)
        Handles_ForEachEdge(world, [&](const float p[3], int32_t* flags, int kind) {
            const int32_t bit = kind == HandleKind::PatchEdge ? HandleFlags::Vertex : HandleFlags::Edge;
            if (kind != HandleKind::PatchEdge) {
                if (any) {
                    *flags &= ~HandleFlags::Edge;
                    return true;
                }
                *flags &= ~HandleFlags::Vertex;
            }
            if (insideBox(box, p))
                *flags |= bit;
            else if (!add)
                *flags &= ~bit;
            return true;
        });
    updateScaleCentre(v);
}

bool cVertexTool::hasSelection() const {
    MapWorld* world = worldOf(view);
    if (!world) return false;
    bool any = false;
    auto check = [&](const float*, int32_t* flags, int) {
        any = any || (*flags & (HandleFlags::Vertex | HandleFlags::Edge));
        return !any;
    };
    Handles_ForEachVertex(world, check);
    if (!any) Handles_ForEachEdge(world, check);
    return any;
}

void cVertexTool::clearSelection() {
    MapWorld* world = worldOf(view);
    if (!world) return;
    auto clear = [](const float*, int32_t* flags, int) {
        *flags &= ~(HandleFlags::Vertex | HandleFlags::Edge);
        return true;
    };
    Handles_ForEachVertex(world, clear);
    Handles_ForEachEdge(world, clear);
}

void cVertexTool::updateScaleCentre(cCanvas* v) {
    if (!scaleMode) return;
    float mins[3], maxs[3];
    K_ClearBounds(mins, maxs);
    MapWorld* world = worldOf(v);
    bool any = false;
    if (world && (mode & VertexMode::Vertices))
        Handles_ForEachVertex(world, [&](const float p[3], int32_t* flags, int) {
            if (*flags & HandleFlags::Vertex) {
                K_AddPointToBounds(p, mins, maxs);
                any = true;
            }
            return true;
        });
    for (int k = 0; k < 3; ++k)
        scaleCentre[k] = any ? (mins[k] + maxs[k]) * 0.5f : 0.0f;
}

void cVertexTool::setScaleMode(cCanvas* v, bool on) {
    scaleMode = on;
    if (on) {
        if (v) updateScaleCentre(v);
        scaleFactor = 1.0f;
    }
    if (ToolHost* host = Tool_Host()) host->showScaleDialog(on);
}

void cVertexTool::snapToGrid(cCanvas* v) {
    MapWorld* world = worldOf(v);
    MapDocument* doc = v ? v->document() : nullptr;
    if (!world) return;
    float mins[3], maxs[3];
    K_ClearBounds(mins, maxs);
    bool any = false;
    auto add = [&](const float p[3], int32_t* flags, int) {
        if (*flags & HandleFlags::Vertex) {
            K_AddPointToBounds(p, mins, maxs);
            any = true;
        }
        return true;
    };
    Handles_ForEachVertex(world, add);
    Handles_ForEachEdge(world, [&](const float p[3], int32_t* flags, int kind) {
        return kind == HandleKind::PatchEdge ? add(p, flags, kind) : true;
    });
    if (!any) return;
    // The move is an edit of its own: in morph mode it joins "Morphing" (entities too), else it is
    // one level.
    if (morphing) {
        Undo_SaveSelectedEntitiesChanged(doc->undo);
    } else {
        Undo_BeginLevel(doc->undo, "Snap to Grid");
        Undo_SaveSelectedBrushesChanged(doc->undo, true);
        Undo_SaveSelectedEntitiesChanged(doc->undo);
    }
    Map_SnapSelectionCorner(world, float(Sys_Settings().CurrentGridSize), mins, maxs);
    if (!morphing && doc->undo && doc->undo->recording) {
        Undo_EndLevel(doc->undo);
        Tool_UpdateActions(0x2);
    }
    Tool_MarkModified(doc);
    Tool_Redraw(v, kAllViews);
}

// ---- Input ---------------------------------------------------------------------------------------

bool cVertexTool::keyPress(cCanvas* v, int key, int modifiers) {
    if (matches(kSnapKey, key, modifiers)) {
        snapToGrid(v);
        return true;
    }
    if (matches(kScaleKey, key, modifiers)) {
        setScaleMode(v, !scaleMode);
        Tool_Redraw(v, ViewMask::Views2D);
        return false;
    }
    if (matches(kSplitKey, key, modifiers)) {
        view = v;
        splitFace(v);
        Tool_Redraw(v, kAllViews);
        return false;
    }
    if (matches(kFixKey, key, modifiers)) {
        view = v;
        fixNonPlanarFaces(v);
        Tool_Redraw(v, kAllViews);
        return false;
    }
    if (matches(kWeldKey, key, modifiers)) {
        view = v;
        weldVertices(v);
        Tool_Redraw(v, kAllViews);
        return false;
    }
    if (key == Qt::Key_Escape) {
        SelectionBox* box = boxOf(v);
        if (box) {
            view = v;
            clearSelection();
            Select_ClearBox(box);
            Tool_Redraw(v, kAllViews);
        }
        return true;
    }
    return false;
}

bool cVertexTool::mousePress(cCanvas* v, int x, int y, int button, int modifiers) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return false;
    MapWorld* world = worldOf(v);
    if (!world) return false;
    view = v;
    repickOnRelease = false;
    lastX = x;
    lastY = y;
    const int hit = pickElements(v, x, y, 0);
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (button == Qt::RightButton) {
        if (!hasSelection()) return false;
        if (hit)
            Vec_Copy(hitPoint, pivot);
        else
            snappedPoint(v, x, y, pivot);
        menuArmed = rightDragArmed = true;
        rotating = false;
        Tool_Redraw(v, kAllViews);
        return true;
    }
    pressX = x;
    pressY = y;
    if (hit) {
        if (ctrl)
            pickElements(v, x, y, 2);
        else if (hit == 1)
            pickElements(v, x, y, 1);
        else
            repickOnRelease = true;
        updateScaleCentre(v);
        Tool_Redraw(v, kAllViews);
        handleDrag = true;
        return true;
    }
    if (scaleMode && !v->is3D()) {
        float s[3];
        v->worldToScreen(scaleCentre, s);
        if (std::fabs(s[0] - float(x)) < 8.0f && std::fabs(s[1] - float(y)) < 8.0f) {
            centreDrag = true;
            Vec_Copy(scaleCentre, centreAtPress);
            return true;
        }
    }
    const int id = v->renderForPick(x, y, 8);
    if (id > 0) {
        BrushRecord* firstBefore = world->selectedBrushes;
        const bool manyBefore = firstBefore && firstBefore->selNext;
        if (!ctrl) Map_SelectNone(world);
        Map_SelectById(world, id, ctrl);
        BrushRecord* firstAfter = world->selectedBrushes;
        if (firstAfter != firstBefore || manyBefore || (firstAfter && firstAfter->selNext)) refresh(v);
        Tool_UpdateActions(0x15);
        objectPicked = world->selectedBrushes || world->selectedEntities;
        Tool_Redraw(v, kAllViews);
    }
    return false;
}

bool cVertexTool::mouseMove(cCanvas* v, int x, int y, int buttons, int modifiers) {
    if (!(buttons & (Qt::LeftButton | Qt::RightButton)) || v->is3D()) return false;
    if (objectPicked) return true;
    const int a1 = v->hAxis, a2 = v->vAxis;
    if ((buttons & Qt::LeftButton) && !v->dragLeft) {
        v->dragLeft = true;
        repickOnRelease = false;
        if (handleDrag)
            Vec_Copy(hitPoint, dragRef);
        else
            snappedPoint(v, pressX, pressY, dragRef);
        return true;
    }
    if ((buttons & Qt::RightButton) && !v->dragRight) {
        v->dragRight = true;
        repickOnRelease = false;
        return true;
    }
    if (scaleMode && centreDrag) {
        float w[3];
        snappedPoint(v, x, y, w);
        for (int a : {a1, a2}) {
            scaleCentre[a] = w[a] - dragRef[a] + centreAtPress[a];
            Sys_SnapAxisToGrid(a, scaleCentre);
        }
        Vec_Copy(scaleCentre, cursorWorld);
        Tool_Redraw(v, ViewMask::Views2D);
        return true;
    }
    if (v->dragRight) {
        if (rightDragArmed) {
            const int dx = x - lastX, dy = y - lastY;
            const MainSettings& s = Sys_Settings();
            const bool fixed = s.DefaultFixedDegreeRotation != bool(modifiers & Qt::ShiftModifier);
            const float step = fixed ? float(s.FixedDegreeRotation) * float(M_PI) / 180.0f : 0.008726646f;
            const float raw = std::atan2(float(dy), float(dx));
            const float a = step > 0.0f ? raw - std::fmod(raw, step) : raw;
            if (!rotating && dx * dx + dy * dy > 256) {
                angleStart = angleNow = a;
                rotating = true;
            } else if (rotating) {
                if (rotateElements(v, a - angleNow)) angleNow = a;
            }
        }
        Tool_Redraw(v, kAllViews);
        return true;
    }
    if (!v->dragLeft) return false;
    float w[3];
    snappedPoint(v, x, y, w);
    if (handleDrag) {
        const int stood = moveElements(v, a1, a2, w[a1] - dragRef[a1], w[a2] - dragRef[a2]);
        if (stood & 1) dragRef[a1] = w[a1];
        if (stood & 2) dragRef[a2] = w[a2];
    } else {
        SelectionBox* box = boxOf(v);
        if (!box) return false;
        boxDrag = true;
        Tool_SpanBox(v, box, dragRef, w);
    }
    Vec_Copy(w, cursorWorld);
    Tool_Redraw(v, kAllViews);
    return true;
}

bool cVertexTool::mouseRelease(cCanvas* v, int, int, int button, int modifiers) {
    if (objectPicked) {
        objectPicked = false;
        return false;
    }
    if (button == Qt::RightButton) {
        rightDragArmed = false;
        return false;
    }
    if (button != Qt::LeftButton) return false;
    if (handleDrag) {
        if (repickOnRelease) {
            pickElements(v, lastX, lastY, 1);
            repickOnRelease = false;
            updateScaleCentre(v);
            Tool_Redraw(v, kAllViews);
        }
        handleDrag = false;
        return false;
    }
    if (centreDrag) {
        centreDrag = false;
        return false;
    }
    SelectionBox* box = boxOf(v);
    if (!boxDrag || v->is3D() || !box) return false;
    boxDrag = false;
    Tool_EndBoxDrag(v, box, [&] { selectInBox(v, (modifiers & Qt::ControlModifier) != 0); });
    Tool_BoxStatus(v, box, 0);
    return true;
}

bool cVertexTool::contextMenu(cCanvas* v, int, int, QPoint global, bool onRelease) {
    if (onRelease) {
        if (!menuArmed || rotating) {
            menuArmed = false;
            return false;
        }
        menuArmed = false;
    } else if (rightDragArmed) {
        return false;
    }
    View_ExecContextMenu(QStringLiteral("Vertex"), global);
    return true;
}

void cVertexTool::autoScroll(cCanvas* v, float seconds) {
    if (Tool_ScrollDrag(v, cursorWorld, seconds)) Tool_Redraw(v, ViewMask::Views2D);
}

void cVertexTool::refresh(cCanvas* v) {
    cleanUpMorph(v, true);
    scaleMode = false;
    if (ToolHost* host = Tool_Host()) host->showScaleDialog(false);
}

bool cVertexTool::nudge(cCanvas* v, int dx, int dy, int) {
    if (v->is3D() || (dx == 0 && dy == 0)) return false;
    view = v;
    moveElements(v, v->hAxis, v->vAxis, float(dx), float(dy));
    return true;
}

bool cVertexTool::nudgeDepth(cCanvas* v, int axis, int amount) {
    if (amount == 0) return false;
    view = v;
    moveElements(v, axis, kNoAxis, float(amount), 0.0f);
    return true;
}

double cVertexTool::changeScale(int axisMask, double factor) {
    if (!scaleMode) return 0.0;
    if (!view || !Tool_DocumentOpen(view->document())) return 1.0;
    if (axisMask == 0) return scaleFactor;
    if (scaleElements(view, axisMask, float(factor / double(scaleFactor)))) {
        Tool_Redraw(view, kAllViews);
        scaleFactor = float(factor);
        return factor;
    }
    return scaleFactor;
}

void cVertexTool::deactivate() {
    if (view && Tool_DocumentOpen(view->document())) cleanUpMorph(view, false);
}

void cVertexTool::retrigger() {
    mode = mode >= VertexMode::Both ? VertexMode::Vertices : mode + 1;
}

void cVertexTool::endScale() {
    if (!scaleMode) return;
    setScaleMode(nullptr, false);
    if (view && Tool_DocumentOpen(view->document())) Tool_Redraw(view, ViewMask::Views2D);
}

// ---- Drawing -------------------------------------------------------------------------------------

void cVertexTool::draw(cCanvas* v, RenderContext* context, RenderCounters*) {
    MapWorld* world = worldOf(v);
    if (!world) return;
    uint8_t rgba[4];
    if (context->is3D) {
        glDisable(GL_DEPTH_TEST);
        if (context->renderMode != 0) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        Tool_SetColour(COLOR_3D_SELECTION);
        Handles_DrawOutlines(world);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        glEnable(GL_DEPTH_TEST);
        return;
    }
    Color_FillRGBA(rgba, COLOR_2D_SELECTION);
    if (v == view && rightDragArmed) {
        if (rotating) {
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glColor4ub(rgba[0], rgba[1], rgba[2], 80);
            v->drawFilledArc(pivot, 24.0f, angleStart, angleNow);
            glDisable(GL_BLEND);
            glColor4ub(rgba[0], rgba[1], rgba[2], 255);
            v->drawArcOutline(pivot, 24.0f, angleStart, angleNow);
        }
        glColor4ub(rgba[0], rgba[1], rgba[2], 255);
        glLineWidth(2.0f);
        v->drawCircle(pivot, 24.0f);
        glLineWidth(1.0f);
    }
    if (scaleMode) {
        glColor4ub(rgba[0], rgba[1], rgba[2], 255);
        v->drawCircle(scaleCentre, 8.0f);
        v->drawCrossMarker(scaleCentre, 6.0f);
    }
    const float size = float(Sys_Settings().VertexToolBulletSize);
    uint8_t kindColour[4][4];
    for (int kind = 0; kind < 4; ++kind)
        Color_FillRGBA(kindColour[kind], colourOfKind(kind));
    uint8_t selected[4];
    Color_FillRGBA(selected, COLOR_BULLET_SELECTED);
    m_bullets.beginWorld2D(v, size);
    // Vertices over edges, selected handles over the rest.
    auto add = [&](const float p[3], int32_t* flags, int kind) {
        const bool edge = kind == HandleKind::Edge || kind == HandleKind::PatchEdge;
        if (*flags & (kind == HandleKind::Edge ? HandleFlags::Edge : HandleFlags::Vertex))
            m_bullets.add(p, selected, edge ? 2 : 3);
        else
            m_bullets.add(p, kindColour[kind], edge ? 0 : 1);
        return true;
    };
    Handles_ForEachHandle(world, mode & VertexMode::Vertices, mode & VertexMode::Edges, add);
    m_bullets.draw(v);
    SelectionBox* box = boxOf(v);
    if (v == view && box && box->valid) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glColor4ub(rgba[0], rgba[1], rgba[2], 75);
        v->drawFilledBox(box->mins, box->maxs);
        glDisable(GL_BLEND);
        glColor4ub(rgba[0], rgba[1], rgba[2], 255);
        v->drawBoxLines(box->mins, box->maxs);
    }
}

void cVertexTool::drawOverlay(cCanvas* v, RenderContext*) {
    MapWorld* world = worldOf(v);
    if (!world || !v->is3D()) return;
    const float size = float(Sys_Settings().VertexToolBulletSize);
    uint8_t selected[4], kindColour[4][4];
    Color_FillRGBA(selected, COLOR_BULLET_SELECTED);
    for (int kind = 0; kind < 4; ++kind)
        Color_FillRGBA(kindColour[kind], colourOfKind(kind));
    m_bullets.beginPixels(v, size);
    auto add = [&](const float p[3], int32_t* flags, int kind) {
        float s[3];
        if (!v->worldToScreen(p, s)) return true;
        const bool edge = kind == HandleKind::Edge || kind == HandleKind::PatchEdge;
        const int32_t bit = kind == HandleKind::Edge ? HandleFlags::Edge : HandleFlags::Vertex;
        m_bullets.addPixel(s[0], s[1], (*flags & bit) ? selected : kindColour[kind], edge ? 0 : 1);
        return true;
    };
    Handles_ForEachHandle(world, mode & VertexMode::Vertices, mode & VertexMode::Edges, add);
    m_bullets.draw(v);
}
