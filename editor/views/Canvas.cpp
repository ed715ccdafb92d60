// A map view: construction, view types and titles, timers, the window/world mapping, zoom,
// scrolling, scroll bars, centring and edge auto-scroll.
#include "views/Canvas.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QOpenGLFramebufferObject>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "core/MainSettings.h"
#include "core/Matrix.h"
#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "map/MapCamera.h"
#include "views/AbstractTool.h"
#include "views/ChildWindow.h"
#include "views/ViewHost.h"

namespace {

struct AxisRow {
    int h, v, d, sign;
    const char* title;
};
const AxisRow kAxes[4] = {
    {1, 2, 0, 1, QT_TRANSLATE_NOOP("cCanvas", "front (y/z)")},
    {0, 2, 1, 0, QT_TRANSLATE_NOOP("cCanvas", "side (x/z)")},
    {0, 1, 2, 1, QT_TRANSLATE_NOOP("cCanvas", "top (x/y)")},
    {-1, -1, -1, 1, QT_TRANSLATE_NOOP("cCanvas", "camera")},
};

const MainSettings& settings() {
    return Sys_Settings();
}

float clampFov(int fov) {
    return float(std::clamp(fov, 30, 120));
}

// The frame-timer interval of a camera view: 17 or 1 ms with the focus, else 40 ms.
int frameInterval(const cCanvas* canvas) {
    if (View_Host() && View_FocusView() == canvas) return settings().LimitFPS ? 17 : 1;
    return 40;
}

// A finite world size above zero, else the default (a bad setting must not divide by zero).
float worldSizeSetting() {
    const int32_t size = settings().MaxWorldSize;
    return size > 0 ? float(size) : 8192.0f;
}

} // namespace

int64_t View_Milliseconds() {
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}

namespace {
double pinnedShaderSeconds = -1.0;
}

float View_ShaderSeconds() {
    static const int64_t first = View_Milliseconds();
    if (pinnedShaderSeconds >= 0.0) return float(pinnedShaderSeconds);
    return float(View_Milliseconds() - first) * 0.001f;
}

void View_PinShaderClock(double seconds) {
    pinnedShaderSeconds = seconds;
}

bool Tool_IsPathToolActive() {
    return Tool_Id(View_ActiveTool()) == ToolId::Path || Tool_Id(View_SecondaryTool()) == ToolId::Path;
}

cCanvas::cCanvas(int type, int mode, const QSurfaceFormat& format, cChildWindow* window, QWidget* parent)
    : cGLView(parent), childWindow(window) {
    setFormat(format);
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    frustum = new ViewFrustum{};
    stateCache = new GLStateCache;
    GL_InitStateCache(stateCache);
    worldSize = worldSizeSetting();
    halfWorldSize = worldSize * 0.5f;
    fovH = clampFov(settings().CameraFOV);
    normalFont = QFont(QStringLiteral("Tahoma"), 10, QFont::Normal);
    boldFont = QFont(QStringLiteral("Tahoma"), 10, QFont::Bold);
    smallFont = QFont(QStringLiteral("Arial"), 8, QFont::Normal);
    for (QFont* font : {&normalFont, &boldFont, &smallFont})
        font->setStyleHint(QFont::SansSerif);
    context.frustum = frustum;
    context.stateCache = stateCache;
    setViewType(type, mode);

    thinkTimer = new QTimer(this);
    connect(thinkTimer, &QTimer::timeout, this, &cCanvas::think);
    lastThink = View_Milliseconds();
    thinkTimer->start(100);
    frameTimer = new QTimer(this);
    connect(frameTimer, &QTimer::timeout, this, &cCanvas::runFrame);
    if (is3D() && !settings().EnergySavingMode) {
        lastFrame = View_Milliseconds();
        frameTimer->start(40);
    }
}

cCanvas::~cCanvas() {
    thinkTimer->stop();
    frameTimer->stop();
    if (ViewHost* host = View_Host()) {
        if (host->focusView() == this) {
            host->setFocusView(nullptr);
            host->updateViewModeActions();
        }
        if (host->previousFocusView() == this) host->setPreviousFocusView(nullptr);
        if (host->lastInputCanvas() == this) host->setLastInputCanvas(nullptr);
    }
    if (glReady) {
        makeCurrent();
        delete pickBuffer;
        doneCurrent();
    }
    delete frustum;
    delete stateCache;
}

MapDocument* cCanvas::document() const {
    return childWindow ? childWindow->document : nullptr;
}

void cCanvas::setViewType(int type, int mode) {
    const MainSettings& s = settings();
    if (frameTimer && frameTimer->isActive()) {
        if (s.EnergySavingMode)
            frameTimer->stop();
        else
            frameTimer->setInterval(40);
    }
    dragLeft = dragRight = panning = false;
    mouseOverTitle = freeLook = cameraSyncPending = false;
    moveKeys = 0;
    framesCounted = 0;
    setCursorForTool();
    context.frameTime = 0.0f;
    update();

    viewType = std::clamp(type, 0, 3);
    if (mode >= 0) renderMode = mode;
    if (renderMode < 0) renderMode = is3D() ? 3 : 0;

    const AxisRow& row = kAxes[viewType];
    title = tr(row.title);
    hAxis = row.h;
    vAxis = row.v;
    dAxis = row.d;
    depthSign = row.sign;
    hasSampleBuffers = format().samples() > 0;

    context.is3D = is3D() ? 1 : 0;
    context.renderMode = renderMode;
    context.hAxis = hAxis;
    context.vAxis = vAxis;
    context.dAxis = dAxis;
    context.depthSign = depthSign;
    context.invZoom = 1.0f / zoom;
    if (is3D()) {
        for (int k = 0; k < 3; ++k) {
            context.origin[k] = eye[k];
            context.forward[k] = forward[k];
            context.right[k] = right[k];
            context.up[k] = up[k];
        }
    } else {
        for (int k = 0; k < 3; ++k)
            context.origin[k] = context.forward[k] = context.right[k] = context.up[k] = 0.0f;
        context.origin[hAxis] = scrollX / zoom;
        context.origin[vAxis] = scrollY / zoom;
        context.origin[dAxis] = halfWorldSize;
        context.forward[dAxis] = -1.0f;
        context.right[hAxis] = 1.0f;
        context.up[vAxis] = 1.0f;
    }
    updateTitle();

    if (frameTimer) {
        if (!frameTimer->isActive()) {
            if (is3D() && !s.EnergySavingMode) {
                lastFrame = View_Milliseconds();
                frameTimer->start(s.LimitFPS ? 17 : 1);
            }
        } else if (!is3D()) {
            frameTimer->stop();
        } else if (!s.EnergySavingMode) {
            frameTimer->setInterval(frameInterval(this));
        }
    }
    updateGeometry();
    QCoreApplication::postEvent(this, new QEvent(QEvent::Leave));
    QCoreApplication::postEvent(this, new QEvent(QEvent::Enter));
    setCursorForTool();
}

void cCanvas::updateTitle() {
    title = tr(kAxes[viewType].title);
    const QFontMetrics metrics(boldFont);
    titleRect[0] = 0;
    titleRect[1] = 0;
    titleRect[2] = metrics.horizontalAdvance(title) + 6;
    titleRect[3] = metrics.height() + 4;
}

void cCanvas::restartFrameTimer() {
    if (!is3D() || settings().EnergySavingMode) {
        frameTimer->stop();
        return;
    }
    if (!frameTimer->isActive()) lastFrame = View_Milliseconds();
    frameTimer->start(frameInterval(this));
}

void cCanvas::makeActive() {
    ViewHost* host = View_Host();
    if (host && host->focusView() != this) {
        cCanvas* former = host->focusView();
        host->setFocusView(this);
        if (former) {
            host->setPreviousFocusView(former);
            former->resetInput(false);
        }
        host->updateViewModeActions();
    }
    restartFrameTimer();
}

void cCanvas::focusView() {
    makeActive();
    setFocus(Qt::OtherFocusReason);
    setCursorForTool();
    if (ViewHost* host = View_Host())
        host->setZoomText(is3D() ? QString() : tr("Zoom: %1").arg(double(zoom), 0, 'f', 2));
}

void cCanvas::resetInput(bool keepTimer) {
    if (!keepTimer && frameTimer->isActive()) {
        if (settings().EnergySavingMode)
            frameTimer->stop();
        else
            frameTimer->setInterval(40);
    }
    freeLook = cameraSyncPending = false;
    panning = dragLeft = dragRight = false;
    mouseOverTitle = false;
    moveKeys = 0;
    framesCounted = 0;
    secondsAccumulated = 0.0f;
    setCursorForTool();
    context.frameTime = context.sharedFrameTime = 0.0f;
    update();
}

void cCanvas::setCursorForTool() {
    const ViewHost* host = View_Host();
    cAbstractTool* tool = host ? host->activeTool() : nullptr;
    const bool spaceHeld = View_SpaceHeld();
    auto cameraTool = [&]() -> cAbstractTool* { return host ? host->cameraTool() : nullptr; };
    if (is3D()) {
        if (spaceHeld || freeLook) tool = cameraTool();
    } else {
        if (panning) {
            setCursor(Qt::BlankCursor);
            return;
        }
        if (mouseOverTitle) {
            setCursor(Qt::ArrowCursor);
            return;
        }
        if (spaceHeld) tool = cameraTool();
    }
    if (!tool || !tool->setCursor(this)) unsetCursor();
}

void cCanvas::warpToCentre() {
    if (settings().TabletPenInput) {
        tabletX = mouseX;
        tabletY = mouseY;
        return;
    }
    QCursor::setPos(mapToGlobal(QPoint(centreX, centreY)));
}

// ---- Mapping --------------------------------------------------------------------------------------

namespace {

void roundPoint(float* c, int count, bool toGrid) {
    const float g = float(std::max(1, settings().CurrentGridSize));
    for (int k = 0; k < count; ++k)
        c[k] = toGrid ? std::floor(c[k] / g + 0.5f) * g : std::floor(c[k] + 0.5f);
}

bool usableDepthView(const cCanvas* other, const cCanvas* self) {
    return other && other->viewType != self->viewType && !other->is3D();
}

} // namespace

float cCanvas::viewCentreOnAxis(int axis) const {
    if (axis == hAxis) return scrollX / zoom;
    if (axis == vAxis) return -(scrollY / zoom);
    return 0.0f;
}

bool cCanvas::screenToWorld(int x, int y, int flags, bool integerOnly, float out[3]) {
    const MainSettings& s = settings();
    if (!is3D()) {
        out[hAxis] = (float(x) - float(viewWidth) / 2 + scrollX) / zoom;
        out[vAxis] = (float(viewHeight) / 2 - float(y) - scrollY) / zoom;
        out[dAxis] = 0.0f;
        if (flags & ScreenFlag::DepthFromOtherView) {
            const cCanvas* source = nullptr;
            const ViewHost* host = View_Host();
            if (host && usableDepthView(host->focusView(), this))
                source = host->focusView();
            else if (host && usableDepthView(host->previousFocusView(), this))
                source = host->previousFocusView();
            else if (MapDocument* doc = document()) {
                const cCanvas* found = Project_FindCanvas(doc, dAxis);
                if (usableDepthView(found, this)) source = found;
            }
            if (source) out[dAxis] = source->viewCentreOnAxis(dAxis);
        }
        if (flags & ScreenFlag::Snap) roundPoint(out, 3, s.SnapToGrid && !integerOnly);
        return true;
    }
    if (!glReady || viewWidth <= 0 || viewHeight <= 0) return false;
    makeCurrent();
    const bool bound = bindPickBuffer();
    float depth = 1.0f;
    if (bound) {
        renderPickPass(x, y, 0);
        glReadPixels(x, viewHeight - 1 - y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        glDisable(GL_SCISSOR_TEST);
        pickBuffer->release();
        GL_ResyncStateCache(stateCache);
    }
    doneCurrent();
    if (!bound || depth == 1.0f) return false;
    float hit[3];
    if (!Math_UnProject(float(x), float(viewHeight - y), depth, modelview, projection, viewWidth, viewHeight,
                        hit))
        return false;
    roundPoint(hit, 3, (flags & ScreenFlag::Snap) && s.SnapToGrid && !integerOnly);
    for (int k = 0; k < 3; ++k)
        out[k] = hit[k];
    return true;
}

bool cCanvas::screenToWorld2D(int x, int y, int flags, bool integerOnly, float out[2]) {
    out[0] = (float(x) - float(viewWidth) / 2 + scrollX) / zoom;
    out[1] = (float(viewHeight) / 2 - float(y) - scrollY) / zoom;
    if (flags & ScreenFlag::Snap) roundPoint(out, 2, settings().SnapToGrid && !integerOnly);
    return true;
}

bool cCanvas::worldToScreen(const float p[3], float out[3]) const {
    if (!is3D()) {
        out[0] = p[hAxis] * zoom - scrollX + float(viewWidth) / 2;
        out[1] = float(viewHeight) / 2 - p[vAxis] * zoom - scrollY;
        out[2] = p[dAxis];
        return true;
    }
    float eyeSpace[4], clip[4];
    for (int r = 0; r < 4; ++r)
        eyeSpace[r] =
            modelview[r] * p[0] + modelview[4 + r] * p[1] + modelview[8 + r] * p[2] + modelview[12 + r];
    for (int r = 0; r < 4; ++r)
        clip[r] = projection[r] * eyeSpace[0] + projection[4 + r] * eyeSpace[1] +
                  projection[8 + r] * eyeSpace[2] + projection[12 + r] * eyeSpace[3];
    if (clip[3] == 0.0f) return false;
    const float z = clip[2] / clip[3];
    if (z < 0.0f || z > 1.0f) return false;
    out[0] = (clip[0] / clip[3] + 1.0f) * float(viewWidth) / 2;
    out[1] = (1.0f - clip[1] / clip[3]) * float(viewHeight) / 2;
    out[2] = z;
    return true;
}

// ---- Zoom and scrolling ---------------------------------------------------------------------------

float cCanvas::minimumZoom() const {
    return 8192.0f / worldSize * minZoomFactor;
}

void cCanvas::clampScroll() {
    auto clampAxis = [&](float& offset, int size) {
        const float before = offset;
        if (worldSize < float(size) / zoom) {
            offset = 0.0f;
        } else {
            const float limit = (zoom / 2) * (worldSize - float(size) / zoom);
            offset = std::clamp(offset, -limit, limit);
        }
        if (!std::isfinite(offset)) offset = 0.0f;
        if (offset != before) needsFullRedraw = true;
    };
    clampAxis(scrollX, viewWidth);
    clampAxis(scrollY, viewHeight);
}

void cCanvas::zoomAt(float newZoom, int x, int y) {
    updateRenderState();
    if (!std::isfinite(newZoom)) return;
    newZoom = std::min(newZoom, maxZoom);
    newZoom = std::max(newZoom, minimumZoom());
    if (newZoom == zoom) return;
    const float a = std::trunc(float(x) - float(viewWidth) * 0.5f);
    const float b = std::trunc(float(y) - float(viewHeight) * 0.5f);
    scrollX = (a + scrollX) / zoom * newZoom - a;
    scrollY = (b + scrollY) / zoom * newZoom - b;
    zoom = newZoom;
    needsFullRedraw = true;
    clampScroll();
    if (ViewHost* host = View_Host()) host->setZoomText(tr("Zoom: %1").arg(double(zoom), 0, 'f', 2));
}

void cCanvas::updateScrollBars() {
    updateRenderState();
    updatingScrollBars = true;
    auto setBar = [&](QScrollBar* bar, float offset, int size) {
        if (!bar || bar->isHidden()) return;
        const float range = (worldSize - float(size) / zoom) * (zoom / 2);
        if (range > 0.0f) {
            const int maximum = std::min(int(std::sqrt(range) * 10.0f), 2000);
            bar->setMaximum(maximum);
            bar->setValue(int((offset / range * 0.5f + 0.5f) * float(maximum)));
        } else {
            bar->setMaximum(0);
            bar->setValue(0);
        }
    };
    setBar(hScroll, scrollX, viewWidth);
    setBar(vScroll, scrollY, viewHeight);
    updatingScrollBars = false;
}

void cCanvas::setScrollBars(QScrollBar* horizontal, QScrollBar* vertical) {
    hScroll = horizontal;
    vScroll = vertical;
    if (hScroll) connect(hScroll, &QScrollBar::valueChanged, this, &cCanvas::horizontalScroll);
    if (vScroll) connect(vScroll, &QScrollBar::valueChanged, this, &cCanvas::verticalScroll);
}

void cCanvas::scrollSlot(QScrollBar* bar, float& offset, int size, int value) {
    if (!bar || updatingScrollBars) return;
    if (View_Host() && View_FocusView() == this)
        setFocus(Qt::OtherFocusReason);
    else
        focusView();
    if (ViewHost* host = View_Host()) host->setLastInputCanvas(this);
    updateRenderState();
    context.renderFlags |= RenderBit::FastRedraw;
    needsFullRedraw = true;
    context.frameTime = 0.0f;
    const int maximum = bar->maximum();
    // A world that fits has maximum 0: the offset stays 0 there.
    offset = maximum > 0
                 ? (worldSize - float(size) / zoom) * (zoom / 2) * (float(value) / float(maximum) * 2 - 1)
                 : 0.0f;
    redrawNow();
    context.renderFlags &= ~RenderBit::FastRedraw;
}

void cCanvas::horizontalScroll(int value) {
    scrollSlot(hScroll, scrollX, viewWidth, value);
}

void cCanvas::verticalScroll(int value) {
    scrollSlot(vScroll, scrollY, viewHeight, value);
}

void cCanvas::scrollBy(float dx, float dy) {
    updateRenderState();
    needsFullRedraw = true;
    scrollX -= dx;
    scrollY -= dy;
    clampScroll();
}

void cCanvas::centerOn(const float point[3]) {
    if (is3D()) {
        for (int k = 0; k < 3; ++k)
            eye[k] = point[k] - forward[k] * 64.0f;
        cameraMoved = needsFullRedraw = true;
        context.frameTime = 0.0f;
        update();
        return;
    }
    const float dx = std::trunc(zoom * point[hAxis] - scrollX);
    const float dy = std::trunc(-scrollY - zoom * point[vAxis]);
    if (dx == 0.0f && dy == 0.0f) return;
    scrollX += dx;
    scrollY += dy;
    needsFullRedraw = true;
    updateRenderState();
    clampScroll();
    updateScrollBars();
    context.frameTime = 0.0f;
    update();
}

bool cCanvas::autoScroll(const float point[3], float maxStep) {
    if (is3D()) return false;
    float screen[3];
    worldToScreen(point, screen);
    auto step = [](float p, int size) {
        if (p < 8.0f) return p - 8.0f;
        if (p > float(size) - 8.0f) return p - float(size) + 8.0f;
        return 0.0f;
    };
    float sx = step(screen[0], viewWidth);
    float sy = step(screen[1], viewHeight);
    if (sx == 0.0f && sy == 0.0f) return false;
    if (maxStep > 0.0f) {
        sx = std::clamp(sx, -maxStep, maxStep);
        sy = std::clamp(sy, -maxStep, maxStep);
    }
    scrollX += sx;
    scrollY += sy;
    needsFullRedraw = true;
    updateRenderState();
    clampScroll();
    updateScrollBars();
    return true;
}

void cCanvas::invalidateCameraRect(const float a[3], const float b[3]) {
    float pa[3] = {0, 0, 0}, pb[3] = {0, 0, 0};
    if (!worldToScreen(a, pa)) pa[0] = pa[1] = 0.0f;
    if (!worldToScreen(b, pb)) pb[0] = pb[1] = 0.0f;
    float left = std::min(float(viewWidth), pa[0]), top = std::min(float(viewHeight), pa[1]);
    float rightEdge = std::max(0.0f, pa[0]), bottom = std::max(0.0f, pa[1]);
    auto include = [&](const float* p) {
        left = std::min(left, p[0]);
        top = std::min(top, p[1]);
        rightEdge = std::max(rightEdge, p[0]);
        bottom = std::max(bottom, p[1]);
    };
    include(pb);
    MapDocument* doc = document();
    if (Tool_Id(View_ActiveTool()) == ToolId::Camera && doc && doc->world && doc->world->currentCamera) {
        float pe[3], pt[3];
        if (worldToScreen(doc->world->currentCamera->eye, pe)) include(pe);
        if (worldToScreen(doc->world->currentCamera->target, pt)) include(pt);
    }
    left = std::max(0.0f, left - 49.0f);
    top = std::max(0.0f, top - 49.0f);
    rightEdge = std::min(float(viewWidth), rightEdge + 49.0f);
    bottom = std::min(float(viewHeight), bottom + 49.0f);
    partialRect[0] = int(left);
    partialRect[1] = int(top);
    partialRect[2] = int(rightEdge - left);
    partialRect[3] = int(bottom - top);
    partialMode = 2;
    update();
}

// ---- Timers and Qt overrides ------------------------------------------------------------------------

void cCanvas::think() {
    const int64_t now = View_Milliseconds();
    const float seconds = float(now - lastThink) * 0.001f;
    lastThink = now;
    if (cAbstractTool* tool = View_ActiveTool()) tool->autoScroll(this, seconds);
}

QSize cCanvas::minimumSizeHint() const {
    if (!is3D()) return {64, 64};
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return {64 + extent, 64 + extent};
}

void cCanvas::showEvent(QShowEvent* event) {
    cGLView::showEvent(event);
    hasStencilBuffer = format().stencilBufferSize() > 0;
}

void cCanvas::resizeEvent(QResizeEvent* event) {
    // A view under a maximised map window takes its new size but paints once it is uncovered.
    m_paintHeld = childWindow && childWindow->isCovered();
    cGLView::resizeEvent(event);
    m_paintHeld = false;
}

void cCanvas::resizeGL(int w, int h) {
    if (w <= 0) return;
    viewWidth = w;
    viewHeight = h;
    projectionDirty = needsFullRedraw = true;
    centreX = w / 2;
    centreY = h / 2;
    if (pickBuffer && pickBuffer->size() != QSize(w, h)) {
        delete pickBuffer;
        pickBuffer = nullptr;
    }
    updateScrollBars();
}

bool cCanvas::bindPickBuffer() {
    if (!pickBuffer) {
        QOpenGLFramebufferObjectFormat fmt;
        fmt.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
        fmt.setSamples(0);
        pickBuffer = new QOpenGLFramebufferObject(viewWidth, viewHeight, fmt);
    }
    return pickBuffer->isValid() && pickBuffer->bind();
}
