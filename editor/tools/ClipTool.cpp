#include "tools/ClipTool.h"

#include <QOpenGLFunctions>
#include <algorithm>
#include <cmath>

#include "core/SysHost.h"
#include "core/Winding.h"
#include "document/HollowClip.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "core/MainSettings.h"
#include "tools/ToolHost.h"
#include "tools/ToolSupport.h"
#include "render/ColorScheme.h"

namespace {

void pieceBounds(const cWinding* w, float lo[3], float hi[3]) {
    for (int k = 0; k < 3; ++k) {
        lo[k] = 1e30f;
        hi[k] = -1e30f;
    }
    for (int n = 0; n < w->count; ++n)
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], w->points[n][k]);
            hi[k] = std::max(hi[k], w->points[n][k]);
        }
}

} // namespace

cClipTool::~cClipTool() {
    releasePieces();
}

void cClipTool::releasePieces() {
    for (cWinding* w : frontPieces)
        cWinding::Free(w);
    for (cWinding* w : backPieces)
        cWinding::Free(w);
    frontPieces.clear();
    backPieces.clear();
}

cCanvas* cClipTool::liveClipView() {
    // A closed map window takes its views and maybe its document with it: the points go too.
    if (pointCount &&
        (!clipView || !Tool_DocumentOpen(clipDocument) || clipView->document() != clipDocument)) {
        clearPoints();
        releasePieces();
    }
    return clipView.data();
}

void cClipTool::clearPoints() {
    pointCount = 0;
    dragPoint = -1;
    clipView = nullptr;
    clipDocument = nullptr;
    planeValid = false;
}

bool cClipTool::resultValid(int mode) const {
    if (!planeValid) return false;
    if (mode == 0) return !frontPieces.empty();
    if (mode == 1) return !backPieces.empty();
    return true;
}

void cClipTool::updatePreview() {
    releasePieces();
    planeValid = false;
    cCanvas* view = liveClipView();
    if (pointCount < 2 || !view || view->is3D() || !clipDocument || !clipDocument->world) return;
    float depth[3] = {0, 0, 0};
    depth[view->dAxis] = 1.0f;
    float d[3], n[3];
    for (int k = 0; k < 3; ++k)
        d[k] = points[1][k] - points[0][k];
    n[0] = d[1] * depth[2] - d[2] * depth[1];
    n[1] = d[2] * depth[0] - d[0] * depth[2];
    n[2] = d[0] * depth[1] - d[1] * depth[0];
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    // Coincident points give no plane: nothing to preview or cut.
    if (!(length > 0.0f) || !std::isfinite(length)) return;
    for (int k = 0; k < 3; ++k)
        planeNormal[k] = n[k] / length;
    planeDist = planeNormal[0] * points[0][0] + planeNormal[1] * points[0][1] + planeNormal[2] * points[0][2];
    planeValid = true;
    for (BrushRecord* b = clipDocument->world->selectedBrushes; b; b = b->selNext) {
        for (FaceRecord* f = b->firstFace; f; f = f->next) {
            // A face whose split could outgrow a preview winding is left out of the preview, so
            // no move warns about it.
            if (f->vertexCount <= 0 || f->vertexCount >= cWinding::MaxPoints || !f->vertices) continue;
            cWinding* w = cWinding::Alloc();
            w->count = f->vertexCount;
            for (int v = 0; v < f->vertexCount; ++v)
                std::copy(f->vertices[v].xyz, f->vertices[v].xyz + 3, w->points[v]);
            cWinding *front = nullptr, *back = nullptr;
            cWinding::Split(w, planeNormal, planeDist, &front, &back);
            if (front) frontPieces.push_back(front);
            if (back) backPieces.push_back(back);
        }
    }
}

void cClipTool::applyClip(int mode) {
    releasePieces();
    if (!planeValid || !clipDocument || !clipDocument->world) return;
    Map_CmdClipObjects(clipDocument->world, planeNormal, planeDist, mode);
    if (ToolHost* host = Tool_Host()) host->notifySelectionChanged(clipView.data());
}

bool cClipTool::mousePress(cCanvas* view, int x, int y, int button, int) {
    liveClipView();
    if (button != Qt::LeftButton || view->is3D() || view->dragLeft) return false;
    if (pointCount && view != clipView) return false;
    view->screenToWorld(x, y, ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false, lastPoint);
    if (dragPoint >= 0 || pointCount == 2) return true;
    clipView = view;
    clipDocument = view->document();
    std::copy(lastPoint, lastPoint + 3, points[pointCount]);
    ++pointCount;
    updatePreview();
    Tool_Redraw(view, 3);
    return true;
}

bool cClipTool::mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) {
    liveClipView();
    if (view->is3D() || (pointCount && view != clipView)) return false;
    if (!view->dragLeft && (buttons & Qt::LeftButton)) {
        view->dragLeft = true;
        return true;
    }
    const int i = view->hAxis, j = view->vAxis;
    if (view->dragLeft && (buttons & Qt::LeftButton)) {
        if (!pointCount) return true;
        float p[3];
        view->screenToWorld(x, y, ScreenFlag::Snap, false, p);
        if (dragPoint < 0) {
            if (pointCount == 1) {
                view->screenToWorld(x, y, ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false,
                                    points[1]);
                pointCount = 2;
                dragPoint = 1;
            }
        } else if (!(modifiers & Qt::ControlModifier)) {
            float* q = points[dragPoint];
            const float grid = float(std::max(1, Sys_Settings().CurrentGridSize));
            for (int axis : {i, j}) {
                q[axis] += p[axis] - lastPoint[axis];
                q[axis] = Sys_Settings().SnapToGrid ? std::floor(q[axis] / grid + 0.5f) * grid
                                                    : std::floor(q[axis] + 0.5f);
            }
        } else {
            for (int n = 0; n < pointCount; ++n)
                for (int axis : {i, j})
                    points[n][axis] += p[axis] - lastPoint[axis];
        }
        std::copy(p, p + 3, lastPoint);
        std::copy(p, p + 3, scrollPoint);
        updatePreview();
        Tool_Redraw(view, 3);
        return true;
    }
    if (!pointCount) return false;
    float p[3];
    view->screenToWorld(x, y, 0, false, p);
    int found = -1;
    for (int n = 0; n < pointCount; ++n) {
        const float di = p[i] - points[n][i], dj = p[j] - points[n][j];
        if (std::sqrt(di * di + dj * dj) < 8.0f / view->zoom) {
            found = n;
            break;
        }
    }
    if (found == dragPoint) return false;
    dragPoint = found;
    view->setCursorForTool();
    return true;
}

bool cClipTool::keyPress(cCanvas* view, int key, int modifiers) {
    liveClipView();
    switch (key) {
    case Qt::Key_O:
    case 1065:
        if (MainSettings* s = Sys_MutableSettings()) s->ClipSizingInfo = !s->ClipSizingInfo;
        Tool_Redraw(view, 1);
        break;
    case Qt::Key_Escape:
        clearPoints();
        updatePreview();
        view->setCursorForTool();
        Tool_Redraw(view, 3);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (view->document() != clipDocument || !clipView) break;
        if (modifiers & Qt::ShiftModifier)
            applyClip(2);
        else if (resultValid(keepSide))
            applyClip(keepSide);
        updatePreview();
        if (resultValid(keepSide)) {
            clearPoints();
            updatePreview();
            view->setCursorForTool();
            Tool_Redraw(view, 3);
        }
        break;
    default:
        break;
    }
    return false;
}

void cClipTool::retrigger() {
    keepSide = (keepSide + 1) % 3;
}

void cClipTool::refresh(cCanvas* view) {
    if (view != liveClipView()) clearPoints();
    updatePreview();
}

bool cClipTool::setCursor(cCanvas* view) {
    if (dragPoint < 0 || !Sys_Settings().CrosshairCursor) return false;
    view->setCursor(Tool_Cursor(ToolCursor::Cross));
    return true;
}

void cClipTool::autoScroll(cCanvas* view, float seconds) {
    if (view->is3D() || !view->dragLeft || !pointCount || Tool_SpaceHeld()) return;
    if (view->autoScroll(scrollPoint, 128.0f * seconds)) Tool_Redraw(view, 1);
}

void cClipTool::draw(cCanvas* view, RenderContext* context, RenderCounters*) {
    cCanvas* own = liveClipView();
    if (!clipDocument || view->document() != clipDocument) return;
    const bool valid = resultValid(keepSide);
    Tool_SetColour(COLOR_CLIP_RESULT);
    glLineWidth(2.0f);
    const bool offset = !(context && (context->renderFlags & RenderBit::NoPolyOffset));
    if (offset) {
        glEnable(GL_POLYGON_OFFSET_LINE);
        glPolygonOffset(-1.0f, -1.0f);
    }
    auto outline = [](const std::vector<cWinding*>& pieces) {
        for (const cWinding* w : pieces) {
            glBegin(GL_LINE_LOOP);
            for (int n = 0; n < w->count; ++n)
                glVertex3fv(w->points[n]);
            glEnd();
        }
    };
    if (keepSide != 1) outline(frontPieces);
    if (keepSide != 0) outline(backPieces);
    if (offset) glDisable(GL_POLYGON_OFFSET_LINE);
    glLineWidth(1.0f);
    if (!own) return;
    const int lineColour = valid ? COLOR_CLIP_LINE : COLOR_CLIP_LINE_INVALID;
    if (view->is3D() && pointCount == 2 && planeValid) {
        float along[3], depth[3] = {0, 0, 0};
        depth[own->dAxis] = Sys_Settings().MaxWorldSize * 0.5f;
        (void)along;
        uint8_t rgba[4];
        Color_FillRGBA(rgba, lineColour);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_CULL_FACE);
        glColor4ub(rgba[0], rgba[1], rgba[2], GLubyte(rgba[3] / 2));
        glBegin(GL_QUADS);
        for (int c = 0; c < 4; ++c) {
            const float* p = points[c == 0 || c == 3 ? 0 : 1];
            const float sign = c < 2 ? -1.0f : 1.0f;
            glVertex3f(p[0] + sign * depth[0], p[1] + sign * depth[1], p[2] + sign * depth[2]);
        }
        glEnd();
        glDisable(GL_BLEND);
        return;
    }
    if (view != own) return;
    if (pointCount == 2) {
        Tool_SetColour(lineColour);
        glLineWidth(3.0f);
        glBegin(GL_LINES);
        glVertex3fv(points[0]);
        glVertex3fv(points[1]);
        glEnd();
        glLineWidth(1.0f);
    }
    uint8_t rgba[4];
    Color_FillRGBA(rgba, COLOR_CLIP_POINT);
    for (int n = 0; n < pointCount; ++n)
        view->drawRoundBullet(points[n], 8.0f, 0.0f, 0.0f, rgba);
}

void cClipTool::drawOverlay(cCanvas* view, RenderContext*) {
    cCanvas* own = liveClipView();
    if (!own || view->is3D() || view->document() != clipDocument || !Sys_Settings().ClipSizingInfo) return;
    Tool_SetColour(view == own ? COLOR_ACTIVE_TEXT : COLOR_TEXT);
    const int i = view->hAxis, j = view->vAxis;
    const QFontMetrics metrics(view->smallFont);
    auto label = [&](const std::vector<cWinding*>& pieces) {
        for (const cWinding* w : pieces) {
            float lo[3], hi[3], a[3], b[3];
            pieceBounds(w, lo, hi);
            if (hi[i] - lo[i] < 1.0f || hi[j] - lo[j] < 1.0f) continue;
            view->worldToScreen(lo, a);
            view->worldToScreen(hi, b);
            const QString width = QString::number(double(hi[i] - lo[i]), 'f', 2);
            const QString height = QString::number(double(hi[j] - lo[j]), 'f', 2);
            view->renderText(int((a[0] + b[0]) / 2) - metrics.horizontalAdvance(width) / 2, int(a[1]) + 20,
                             width, view->smallFont);
            view->renderText(int(b[0]) + 15, int((a[1] + b[1]) / 2) + 5, height, view->smallFont);
        }
    };
    if (keepSide != 1) label(frontPieces);
    if (keepSide != 0) label(backPieces);
}
