// A view's keyboard, mouse and wheel handlers: what belongs to the view itself (focus, zoom,
// scrolling, panning, free-look, view types, display toggles) is done here, the rest goes to the
// active tool through its slots.
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "document/MapDocument.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "views/AbstractTool.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "views/ViewHost.h"

namespace {

constexpr int kShift = Qt::ShiftModifier, kCtrl = Qt::ControlModifier, kAlt = Qt::AltModifier;
constexpr int kModifierMask = kShift | kCtrl | kAlt;

// Input is taken only with a host that keeps the settings the keys and the wheel change.
MainSettings* inputSettings() {
    return View_Host() ? Sys_MutableSettings() : nullptr;
}

cAbstractTool* activeTool() {
    return View_ActiveTool();
}

cAbstractTool* cameraTool() {
    const ViewHost* host = View_Host();
    return host ? host->cameraTool() : nullptr;
}

bool spaceHeld() {
    return View_SpaceHeld();
}

// The letter a key is, on the Latin or the Russian layout; 0 for other keys.
int letterOf(int key) {
    static const struct {
        int latin, cyrillic;
    } letters[] = {{Qt::Key_A, 1060}, {Qt::Key_C, 1057}, {Qt::Key_D, 1042}, {Qt::Key_F, 1040},
                   {Qt::Key_O, 1065}, {Qt::Key_P, 1047}, {Qt::Key_Q, 1049}, {Qt::Key_S, 1067},
                   {Qt::Key_W, 1062}, {Qt::Key_X, 1063}, {Qt::Key_Z, 1071}};
    for (const auto& l : letters)
        if (key == l.latin || key == l.cyrillic) return l.latin;
    return 0;
}

QString onOff(bool on) {
    return on ? QObject::tr("on") : QObject::tr("off");
}

constexpr float kDigitZoom[10] = {16.0f, 0.025f, 0.05f, 0.125f, 0.25f, 0.5f, 1.0f, 2.0f, 4.0f, 8.0f};

} // namespace

void cCanvas::redrawNowFast() {
    context.frameTime = 0.0f;
    context.renderFlags |= RenderBit::FastRedraw;
    redrawNow();
    context.renderFlags &= ~RenderBit::FastRedraw;
}

void cCanvas::updateMouseOverTitle(int x, int y) {
    const bool over = x >= titleRect[0] && x < titleRect[2] && y >= titleRect[1] && y < titleRect[3];
    if (over == mouseOverTitle) return;
    mouseOverTitle = over;
    setCursorForTool();
    redrawNowFast();
}

bool cCanvas::event(QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return cGLView::event(e);
}

bool cCanvas::arrowKey(int key, int modifiers) {
    const MainSettings& s = Sys_Settings();
    const int step = s.SnapToGrid ? std::max(1, s.CurrentGridSize) : 1;
    int dx = 0, dy = 0, sx = 0, sy = 0;
    switch (key) {
    case Qt::Key_Left:
        dx = -step;
        sx = 64;
        break;
    case Qt::Key_Up:
        dy = step;
        sy = 64;
        break;
    case Qt::Key_Right:
        dx = step;
        sx = -64;
        break;
    default:
        dy = -step;
        sy = -64;
        break;
    }
    MapDocument* doc = document();
    if (s.ArrowKeyNudge && activeTool() && activeTool()->nudge(this, dx, dy, modifiers)) {
        if (doc) Project_RedrawViews(doc, 3);
        return true;
    }
    scrollBy(float(sx), float(sy));
    if ((modifiers & kCtrl) && doc) {
        Project_SetViewOffset(doc, scrollX, scrollY);
        return true;
    }
    updateScrollBars();
    redrawNowFast();
    return true;
}

void cCanvas::keyPressEvent(QKeyEvent* event) {
    ViewHost* host = View_Host();
    MainSettings* settings = inputSettings();
    if (!host || !settings) return;
    MainSettings& s = *settings;
    if (s.EnergySavingMode && is3D()) {
        const float dt = std::min(float(View_Milliseconds() - lastFrame) * 0.001f, 0.1f);
        lastFrame = View_Milliseconds();
        flyCamera(dt);
        if (cameraMoved) update();
    }
    const int key = event->key();
    const bool arrow =
        key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
    if (event->isAutoRepeat() && !arrow) {
        event->ignore();
        return;
    }
    const int modifiers = int(event->modifiers()) & kModifierMask;
    const int letter = letterOf(key);
    MapDocument* doc = document();
    bool accepted = false;
    bool toTool = true;
    auto zoomCentre = [&](float z) {
        zoomAt(z, viewWidth / 2, viewHeight / 2);
        updateScrollBars();
        redrawNowFast();
    };
    if (key == Qt::Key_Space) {
        setCursorForTool();
        accepted = true;
    } else if (key >= Qt::Key_0 && key <= Qt::Key_9 && !is3D()) {
        const float z = kDigitZoom[key - Qt::Key_0];
        if ((modifiers & kCtrl) && doc) {
            Project_SetZoom(doc, z);
        } else {
            zoomCentre(z);
        }
        accepted = true;
    } else if (letter == Qt::Key_C && !modifiers && !is3D()) {
        zoomCentre(zoom / 1.2f);
        accepted = true;
    } else if (letter == Qt::Key_D && !modifiers && !is3D()) {
        zoomCentre(zoom * 1.2f);
        accepted = true;
    } else if (letter == Qt::Key_F && !modifiers && is3D()) {
        s.TextureFilter = s.TextureFilter ? 0 : 1;
        View_ShowMessage(tr("Texture filtering %1").arg(onOff(s.TextureFilter != 0)), 5000);
        host->setTextureFilterWord(-1);
        host->updateAllViews(2);
        accepted = true;
    } else if (letter == Qt::Key_O && !modifiers && Tool_Id(activeTool()) != ToolId::Clip) {
        showStatistics = !showStatistics;
        redrawNowFast();
        accepted = true;
        toTool = false;
    } else if (letter == Qt::Key_P && !modifiers && is3D()) {
        // The 3D grid toggle of the Map menu.
        s.EnableGrid3D = !s.EnableGrid3D;
        host->updateAllViews(2);
        accepted = true;
    } else if (letter == Qt::Key_Q && !modifiers && is3D()) {
        s.SelOverlaySkipDepth = !s.SelOverlaySkipDepth;
        View_ShowMessage(tr("Depth test for selection overlay %1").arg(onOff(!s.SelOverlaySkipDepth)), 5000);
        accepted = true;
    } else if (letter == Qt::Key_X) {
        s.SelectMouseMove = !s.SelectMouseMove;
        View_ShowMessage(tr("Automatic 3D-selection %1").arg(onOff(s.SelectMouseMove)), 5000);
        accepted = true;
    } else if (letter == Qt::Key_Z && modifiers == kShift) {
        if (childWindow) childWindow->toggleMaximize(this);
        accepted = true;
    } else if (letter == Qt::Key_Z && !modifiers && is3D() && s.Mouselook) {
        warpToCentre();
        freeLook = !freeLook;
        setCursorForTool();
        View_ShowMessage(tr("Free-look mode %1").arg(onOff(freeLook)), 5000);
        accepted = true;
    } else if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        const bool next = key == Qt::Key_Tab;
        if (is3D())
            setViewType(ViewType::Camera, next ? (renderMode + 1) % 4 : (renderMode + 3) % 4);
        else
            setViewType(next ? (viewType + 1) % 3 : (viewType + 2) % 3, renderMode);
        if (childWindow) childWindow->storeViewLayout();
        redrawNowFast();
        host->updateViewModeActions();
        accepted = true;
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && modifiers == kAlt) {
        host->editProperties();
        accepted = true;
        toTool = false;
    } else if (arrow && !is3D()) {
        accepted = arrowKey(key, modifiers);
    } else if ((key == Qt::Key_PageUp || key == Qt::Key_PageDown) && activeTool()) {
        const int step = s.SnapToGrid ? std::max(1, s.CurrentGridSize) : 1;
        if (activeTool()->nudgeDepth(this, 2, key == Qt::Key_PageUp ? step : -step)) {
            if (doc) Project_RedrawViews(doc, 3);
            accepted = true;
        }
    }
    if (toTool && activeTool() && activeTool()->keyPress(this, key, int(event->modifiers()) & kModifierMask))
        accepted = true;
    else if (toTool && host->faceModeKey(event))
        accepted = true;
    if (accepted)
        event->accept();
    else
        event->ignore();
}

void cCanvas::keyReleaseEvent(QKeyEvent* event) {
    if (event->isAutoRepeat() || !View_Host()) {
        event->ignore();
        return;
    }
    const MainSettings& s = Sys_Settings();
    const int key = event->key();
    const int letter = letterOf(key);
    bool accepted = false;
    if (key == Qt::Key_Space) {
        setCursorForTool();
        accepted = true;
    } else if (is3D()) {
        const bool arrow =
            key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
        const bool wasd =
            letter == Qt::Key_W || letter == Qt::Key_A || letter == Qt::Key_S || letter == Qt::Key_D;
        if (arrow || (wasd && s.Mouselook) || (letter == Qt::Key_C && !s.Mouselook)) {
            cameraSyncPending = true;
            accepted = true;
        }
    }
    if (is3D() && s.EnergySavingMode) {
        cameraSyncPending = true;
        syncCameraObject();
        update();
    }
    if (accepted)
        event->accept();
    else
        event->ignore();
}

void cCanvas::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    mouseX = pos.x();
    mouseY = pos.y();
    ViewHost* host = View_Host();
    if (host && host->focusView() == this)
        setFocus(Qt::MouseFocusReason);
    else
        focusView();
    if (host) host->setLastInputCanvas(this);
    updateMouseOverTitle(mouseX, mouseY);
    const int button = int(event->button());
    if (button == Qt::LeftButton && mouseOverTitle) {
        View_ExecContextMenu(QStringLiteral("Canvas"), mapToGlobal(QPoint(titleRect[0], titleRect[3])));
        event->accept();
        return;
    }
    if (spaceHeld()) {
        event->ignore();
        return;
    }
    const int modifiers = int(event->modifiers()) & kModifierMask;
    cAbstractTool* tool = activeTool();
    if (!tool || !tool->mousePress(this, mouseX, mouseY, button, modifiers)) {
        if (button != Qt::RightButton || mouseOverTitle) {
            event->ignore();
            return;
        }
        const QPoint global = event->globalPosition().toPoint();
        if ((!tool || !tool->contextMenu(this, mouseX, mouseY, global, false)) && !is3D())
            View_ExecContextMenu(QStringLiteral("Operations"), global);
    }
    event->accept();
}

void cCanvas::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const int button = int(event->button());
    const int held = int(event->buttons());
    bool accepted = false;
    struct Flag {
        bool* flag;
        int button;
    } flags[] = {{&dragLeft, Qt::LeftButton}, {&dragRight, Qt::RightButton}, {&panning, Qt::MiddleButton}};
    for (const Flag& f : flags) {
        if (button != f.button || (held & f.button) || !*f.flag) continue;
        *f.flag = false;
        if (!held) cameraSyncPending = true;
        setCursorForTool();
        accepted = true;
    }
    if (!spaceHeld()) {
        const int modifiers = int(event->modifiers()) & kModifierMask;
        cAbstractTool* tool = activeTool();
        bool handled = tool && tool->mouseRelease(this, pos.x(), pos.y(), button, modifiers);
        if (!handled && button == Qt::RightButton && !mouseOverTitle && tool)
            handled = tool->contextMenu(this, pos.x(), pos.y(), event->globalPosition().toPoint(), true);
        accepted |= handled;
    }
    if (accepted)
        event->accept();
    else
        event->ignore();
    redrawNowFast();
}

void cCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    cAbstractTool* tool = activeTool();
    if (!spaceHeld() && tool &&
        tool->mouseDoubleClick(this, pos.x(), pos.y(), int(event->button()),
                               int(event->modifiers()) & kModifierMask))
        event->accept();
    else
        event->ignore();
}

void cCanvas::mouseMoveEvent(QMouseEvent* event) {
    ViewHost* host = View_Host();
    if (!host) return;
    const MainSettings& s = Sys_Settings();
    const int buttons = int(event->buttons());
    const bool independent = s.IndependentWindows && s.AutoActivateWindows;
    const bool activeWindow = !childWindow || host->isActiveMapWindow(childWindow);
    if (!buttons && !independent && !activeWindow) {
        event->ignore();
        return;
    }
    if (host->focusView() == this || buttons)
        setFocus(Qt::MouseFocusReason);
    else
        focusView();
    const QPoint pos = event->position().toPoint();
    const int x = pos.x(), y = pos.y();
    mouseX = x;
    mouseY = y;
    updateMouseOverTitle(x, y);
    const int modifiers = int(event->modifiers()) & kModifierMask;
    if (!is3D() && !mouseOverTitle) {
        float world[2];
        screenToWorld2D(x, y, ScreenFlag::Snap, false, world);
        host->setPositionText(QStringLiteral("@%1, %2").arg(int(world[0])).arg(int(world[1])));
        if ((buttons & Qt::MiddleButton) && !panning) {
            warpToCentre();
            panning = true;
            setCursorForTool();
            redrawNowFast();
            event->accept();
            return;
        }
    }
    if (freeLook || spaceHeld()) {
        if (cAbstractTool* camera = cameraTool();
            camera && camera->mouseMove(this, x, y, buttons, modifiers)) {
            event->accept();
            return;
        }
    }
    if (cAbstractTool* tool = activeTool(); tool && tool->mouseMove(this, x, y, buttons, modifiers)) {
        event->accept();
        return;
    }
    if (!is3D() && panning) {
        // The motion of the warp itself lands on the centre and scrolls nothing.
        const int reference[2] = {s.TabletPenInput ? tabletX : centreX, s.TabletPenInput ? tabletY : centreY};
        scrollBy(float(2 * (x - reference[0])), float(2 * (y - reference[1])));
        MapDocument* doc = document();
        if ((modifiers & kCtrl) && doc) {
            Project_SetViewOffset(doc, scrollX, scrollY);
        } else {
            updateScrollBars();
            redrawNowFast();
        }
        warpToCentre();
        event->accept();
        return;
    }
    event->ignore();
}

void cCanvas::wheelEvent(QWheelEvent* event) {
    ViewHost* host = View_Host();
    MainSettings* settings = inputSettings();
    if (!host || !settings) return;
    if (host->focusView() == this)
        setFocus(Qt::MouseFocusReason);
    else
        focusView();
    host->setLastInputCanvas(this);
    const int d = event->angleDelta().y();
    event->accept();
    // A horizontal wheel has no vertical delta: nothing to do.
    if (d == 0) return;
    MainSettings& s = *settings;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (is3D() && !ctrl) {
        needsFullRedraw = cameraMoved = cameraSyncPending = true;
        for (int k = 0; k < 3; ++k)
            eye[k] += forward[k] * (float(d) * 0.5f);
        syncCameraObject();
        if (s.EnergySavingMode) update();
        return;
    }
    // High-resolution wheels send parts of a notch: one step per whole notch of 120.
    if ((wheelRemainder > 0) != (d > 0)) wheelRemainder = 0;
    wheelRemainder += d;
    const QPoint pos = event->position().toPoint();
    while (std::abs(wheelRemainder) >= 120) {
        const bool away = wheelRemainder > 0;
        wheelRemainder -= away ? 120 : -120;
        if (ctrl) {
            int32_t& grid = s.CurrentGridSize;
            grid = away ? std::max(1, grid / 2) : std::min(512, grid * 2);
        } else {
            zoomAt(away ? zoom * 1.2f : zoom * 0.8333333f, pos.x(), pos.y());
        }
    }
    if (ctrl) {
        host->updateSnapGridStatus();
        host->updateAllViews(1);
    } else {
        updateScrollBars();
        redrawNowFast();
    }
}

void cCanvas::leaveEvent(QEvent* event) {
    ViewHost* host = View_Host();
    if (host && host->canvasMenuOpen()) return;
    if (host) host->setPositionText(QString());
    dragRight = panning = dragLeft = false;
    mouseOverTitle = freeLook = cameraSyncPending = false;
    moveKeys = 0;
    setCursorForTool();
    update();
    redrawNowFast();
    event->ignore();
}
