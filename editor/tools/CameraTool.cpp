#include "tools/CameraTool.h"

#include <QCursor>
#include <cmath>

#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "core/MainSettings.h"
#include "map/MapCamera.h"
#include "tools/ToolSupport.h"

namespace {

constexpr uint32_t kCameraSelected = CameraFlag::Selected;

CameraRecord* selectedCamera(const MapWorld* world) {
    for (CameraRecord* c = world->cameras; c; c = c->next)
        if (c->flags & kCameraSelected) return c;
    return nullptr;
}

} // namespace

CameraRecord* cCameraTool::liveDragCamera() {
    MapDocument* doc = pressView ? pressView->document() : nullptr;
    if (dragCamera && (!doc || !Tool_DocumentOpen(doc) || !Tool_CameraInWorld(doc->world, dragCamera))) {
        dragCamera = nullptr;
        dragPart = 0;
    }
    return dragCamera;
}

void cCameraTool::selectOnly(MapWorld* world, CameraRecord* camera) {
    for (CameraRecord* c = world->cameras; c; c = c->next)
        c->flags &= ~kCameraSelected;
    if (camera) camera->flags |= kCameraSelected;
}

bool cCameraTool::mousePress(cCanvas* view, int x, int y, int button, int modifiers) {
    MapDocument* doc = view->document();
    if (view->is3D() || Tool_SpaceHeld() || button != Qt::LeftButton || !doc || !doc->world) return false;
    MapWorld* world = doc->world;
    pressView = view;
    if (!world->cameras || (modifiers & Qt::ShiftModifier)) {
        view->screenToWorld(x, y, ScreenFlag::Snap | ScreenFlag::DepthFromOtherView, false, newEye);
        if (world->currentCamera) newEye[view->dAxis] = world->currentCamera->eye[view->dAxis];
        Tool_Redraw(view, 3);
        createObject(view);
        return true;
    }
    const int id = view->renderForPick(x, y, 4);
    if (!id) return true;
    CameraRecord* found = nullptr;
    for (CameraRecord* c = world->cameras; c; c = c->next)
        if (c->handle && c->handle->id == id) found = c;
    if (!found) return true;
    dragCamera = found;
    selectOnly(world, found);
    float screen[3];
    view->worldToScreen(found->eye, screen);
    const float dx = screen[0] - float(x), dy = screen[1] - float(y);
    dragPart = dx * dx + dy * dy < 256.0f ? 1 : 2;
    view->setCursorForTool();
    return true;
}

void cCameraTool::createObject(cCanvas* view) {
    MapDocument* doc = view->document();
    if (!doc || !doc->world) return;
    CameraRecord* camera = Camera_Create(Map_Handle(doc->world));
    if (!camera || !camera->handle) return;
    const float target[3] = {newEye[0] + 24.0f, newEye[1], newEye[2]};
    camera->handle->setEyeAndTarget(newEye, target);
    pressView = view;
    dragCamera = camera;
    dragPart = 2;
    selectOnly(doc->world, camera);
    Tool_MarkModified(doc);
    Tool_Redraw(view, 3);
}

bool cCameraTool::mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) {
    if (view->is3D()) return look3D(view, x, y, buttons, modifiers);
    MapDocument* doc = view->document();
    if (Tool_SpaceHeld()) {
        if (!(buttons & Qt::LeftButton)) {
            lastX = x;
            lastY = y;
            panStarted = false;
            return false;
        }
        if (!panStarted) {
            panStarted = true;
            view->dragLeft = true;
            lastX = x;
            lastY = y;
            view->setCursorForTool();
            return true;
        }
        view->scrollBy(float(x - lastX), float(y - lastY));
        lastX = x;
        lastY = y;
        if ((modifiers & Qt::ControlModifier) && doc)
            Project_SetViewOffset(doc, view->scrollX, view->scrollY);
        else {
            view->updateScrollBars();
            view->update();
        }
        return true;
    }
    CameraRecord* camera = liveDragCamera();
    if (!camera || !dragPart || !camera->handle) return false;
    float p[3];
    view->screenToWorld(x, y, (modifiers & Qt::AltModifier) ? ScreenFlag::Snap : 0, false, p);
    float eye[3], target[3];
    std::copy(camera->eye, camera->eye + 3, eye);
    std::copy(camera->target, camera->target + 3, target);
    float* moving = dragPart == 1 ? eye : target;
    float* other = dragPart == 1 ? target : eye;
    p[view->dAxis] = moving[view->dAxis];
    float delta[3];
    for (int k = 0; k < 3; ++k) {
        delta[k] = p[k] - moving[k];
        moving[k] = p[k];
        if (modifiers & Qt::ControlModifier) other[k] += delta[k];
    }
    camera->handle->setEyeAndTarget(eye, target);
    // Cameras are saved with the map: the drag marks it modified (outside undo).
    Tool_MarkModified(doc);
    Tool_Redraw(view, 1);
    return true;
}

bool cCameraTool::look3D(cCanvas* view, int x, int y, int buttons, int modifiers) {
    const MainSettings& s = Sys_Settings();
    const bool left = buttons & Qt::LeftButton, right = buttons & Qt::RightButton;
    bool started = false;
    if (left && !view->dragLeft) {
        view->dragLeft = true;
        started = true;
    }
    if (right && !view->dragRight) {
        view->dragRight = true;
        started = true;
    }
    if (started) {
        if (s.TabletPenInput) {
            refX = x;
            refY = y;
        } else {
            view->warpToCentre();
            refX = view->centreX;
            refY = view->centreY;
            // Where the platform does not follow the warp, the press point is the reference.
            if (view->mapFromGlobal(QCursor::pos()) != QPoint(refX, refY)) {
                refX = x;
                refY = y;
            }
        }
        view->setCursorForTool();
        return true;
    }
    const bool looking = view->dragLeft && left, moving = view->dragRight && right;
    if (!looking && !moving && !view->freeLook) return false;
    if (x == refX && y == refY) return false;
    const float dx = float(x - refX), dy = float(y - refY);
    if (moving) {
        const float* second = (left || (modifiers & Qt::ShiftModifier)) ? view->forward : view->up;
        for (int k = 0; k < 3; ++k)
            view->eye[k] += 2.0f * dx * view->right[k] - 2.0f * dy * second[k];
    } else {
        const float step = float(s.Sensitivity) * 0.05f;
        view->angles[1] -= dx * step;
        view->angles[0] -= (s.MouseReverseY ? -dy : dy) * step;
    }
    view->setupModelview();
    view->cameraMoved = view->cameraSyncPending = view->needsFullRedraw = true;
    if (s.EnergySavingMode)
        view->redrawNow();
    else
        view->update();
    if (!s.TabletPenInput) {
        view->warpToCentre();
        if (view->mapFromGlobal(QCursor::pos()) != QPoint(refX, refY)) {
            refX = x;
            refY = y;
        }
    } else {
        refX = x;
        refY = y;
    }
    return true;
}

bool cCameraTool::mouseRelease(cCanvas* view, int, int, int, int) {
    panStarted = false;
    CameraRecord* camera = liveDragCamera();
    if (view->is3D() || !camera) return false;
    Project_SetCurrentCamera(view->document(), camera);
    dragCamera = nullptr;
    dragPart = 0;
    view->setCursorForTool();
    return true;
}

bool cCameraTool::keyPress(cCanvas* view, int key, int) {
    MapDocument* doc = view->document();
    if (!doc || !doc->world) return false;
    MapWorld* world = doc->world;
    switch (key) {
    case Qt::Key_Escape: {
        if (!Sys_Settings().ClearSelectionOnEscape) return false;
        if (CameraRecord* c = selectedCamera(world)) c->flags &= ~kCameraSelected;
        Tool_Redraw(view, 1);
        return true;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        if (!world->cameras) return true;
        CameraRecord* current = selectedCamera(world);
        CameraRecord* next = nullptr;
        if (key == Qt::Key_PageUp)
            next = current && current->prev ? current->prev : world->camerasTail;
        else
            next = current && current->next ? current->next : world->cameras;
        selectOnly(world, next);
        Project_SetCurrentCamera(doc, next);
        Tool_Redraw(view, 3);
        return true;
    }
    default:
        return false;
    }
}

bool cCameraTool::setCursor(cCanvas* view) {
    if (view->is3D()) {
        if (view->dragLeft || view->dragRight || view->freeLook) {
            view->setCursor(Qt::BlankCursor);
            return true;
        }
        return false;
    }
    if (Tool_SpaceHeld()) {
        view->setCursor(panStarted ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
        return true;
    }
    if (liveDragCamera() && dragPart) {
        view->setCursor(Tool_Cursor(ToolCursor::Cross));
        return true;
    }
    return false;
}

void cCameraTool::refresh(cCanvas*) {
    dragCamera = nullptr;
}

void cCameraTool::autoScroll(cCanvas* view, float seconds) {
    CameraRecord* camera = liveDragCamera();
    if (view->is3D() || !view->dragLeft || Tool_SpaceHeld() || !camera || !dragPart) return;
    if (view->autoScroll(camera->eye, 128.0f * seconds)) Tool_Redraw(view, 1);
}

void cCameraTool::drawOverlay(cCanvas* view, RenderContext*) {
    if (!view->is3D() || !(view->dragLeft || view->dragRight || view->freeLook)) return;
    const float centre[2] = {float(view->centreX), float(view->centreY)};
    view->drawIcon(0, centre); // the shared GL widget keeps no icon texture yet
}
