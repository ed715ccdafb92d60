#include "views/ChildWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "document/MapDocument.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "views/Canvas.h"
#include "render/GLFormat.h"
#include "views/ViewSplitters.h"

namespace {

const MainSettings& settings() {
    return Sys_Settings();
}

} // namespace

void Layout_Decode(int32_t word, int types[4], int modes[4]) {
    if (!(word & LayoutWord::Marker)) word = LayoutWord::Default;
    for (int i = 0; i < 4; ++i) {
        const int shift = 21 - 7 * i;
        types[i] = (word >> shift) & 0x3;
        const int field = (word >> (shift + 2)) & 0x1f;
        modes[i] = field >= 1 && field <= 4 ? field - 1 : -1;
    }
}

int32_t Layout_Encode(const int types[4], const int modes[4]) {
    int32_t word = LayoutWord::Marker;
    for (int i = 0; i < 4; ++i) {
        const int shift = 21 - 7 * i;
        const int field = modes[i] >= 0 && modes[i] <= 3 ? modes[i] + 1 : 0;
        word |= (types[i] & 0x3) << shift;
        word |= field << (shift + 2);
    }
    return word;
}

cChildWindow::cChildWindow(MapDocument* doc) : QWidget(nullptr), document(doc) {
    setAttribute(Qt::WA_DeleteOnClose);
    if (document) {
        Project_AddWindow(document, this);
        Project_UpdateTitles(document);
    }
}

cChildWindow::~cChildWindow() {
    // Views first: their destructors clear the view host's pointers to them.
    for (cCanvas* view : views)
        delete view;
    views.clear();
    if (document) Project_RemoveWindow(document, this);
}

cCanvas* cChildWindow::addView(QWidget* container, int type, int mode) {
    auto* canvas = new cCanvas(type, mode, View_CanvasFormat(), this, container);
    views.append(canvas);
    auto* grid = new QGridLayout(container);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(canvas, 0, 0);
    auto* h = new QScrollBar(Qt::Horizontal, container);
    auto* v = new QScrollBar(Qt::Vertical, container);
    for (QScrollBar* bar : {h, v}) {
        bar->setSingleStep(1);
        bar->setPageStep(50);
        bar->setVisible(settings().EnableScrollbars && !canvas->is3D());
    }
    grid->addWidget(h, 1, 0);
    grid->addWidget(v, 0, 1);
    canvas->setScrollBars(h, v);
    return canvas;
}

void cChildWindow::buildLayout(int viewType) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (viewType >= 0) {
        auto* container = new QWidget(this);
        addView(container, viewType, -1);
        layout->addWidget(container);
        return;
    }
    const int32_t stored = Sys_Settings().CanvasConfig;
    int types[4], modes[4];
    Layout_Decode(stored, types, modes);

    rows = new QCustomSplitter(Qt::Vertical, this);
    bottomRow = new QCustomSplitter(Qt::Horizontal);
    topRow = new QCustomSplitter(Qt::Horizontal);
    bottomRow->setObjectName(QStringLiteral("s1"));
    topRow->setObjectName(QStringLiteral("s2"));
    for (QCustomSplitter* s : {rows, bottomRow, topRow})
        s->setChildrenCollapsible(true);
    for (int i = 0; i < 4; ++i) {
        auto* container = new QWidget;
        addView(container, types[i], modes[i]);
        (i < 2 ? topRow : bottomRow)->addWidget(container);
    }
    rows->addWidget(topRow);
    rows->addWidget(bottomRow);
    layout->addWidget(rows);
    cross = new QCrossSplitter(this);
    cross->setCursor(Qt::SizeAllCursor);
    connect(cross, &QCrossSplitter::crossMovedX, bottomRow, &QCustomSplitter::moveByCross);
    connect(cross, &QCrossSplitter::crossMovedY, rows, &QCustomSplitter::moveByCross);
    updateSplitterSizes();
    connect(bottomRow, &QSplitter::splitterMoved, this, &cChildWindow::splitterMovedH);
    connect(topRow, &QSplitter::splitterMoved, this, &cChildWindow::splitterMovedH);
    connect(rows, &QSplitter::splitterMoved, this, &cChildWindow::splitterMovedV);
    for (QCustomSplitter* s : {rows, bottomRow, topRow})
        connect(s, &QCustomSplitter::splitterResized, this, &cChildWindow::splitterResized);
}

void cChildWindow::updateSplitterSizes() {
    if (maximised) maximised->needsFullRedraw = true;
    maximised = nullptr;
    for (QCustomSplitter* s : {bottomRow, topRow, rows}) {
        if (!s) continue;
        const int total = s->orientation() == Qt::Horizontal ? s->width() : s->height();
        s->setSizes({std::max(total / 2, 1), std::max(total / 2, 1)});
    }
    splitterResized();
}

void cChildWindow::splitterResized() {
    if (!bottomRow || !rows || !cross) return;
    const int a = bottomRow->sizes().value(0);
    const int b = rows->sizes().value(0);
    cross->setGeometry(
        QRect(QPoint(a, b), QPoint(a + bottomRow->handleWidth() - 1, b + rows->handleWidth() - 1)));
    cross->raise();
}

void cChildWindow::splitterMovedH() {
    const QObject* from = sender();
    if (from && bottomRow && topRow) {
        if (from->objectName() == QLatin1String("s1"))
            topRow->setSizes(bottomRow->sizes());
        else if (from->objectName() == QLatin1String("s2"))
            bottomRow->setSizes(topRow->sizes());
    }
    splitterMovedV();
}

void cChildWindow::splitterMovedV() {
    splitterResized();
    for (QCustomSplitter* s : {bottomRow, topRow, rows})
        if (s) s->repaint();
    redrawNow();
}

void cChildWindow::redrawNow() {
    for (cCanvas* view : views)
        view->redrawNow();
}

bool cChildWindow::setViewSize(int w, int h) {
    if (views.isEmpty()) return false;
    for (int round = 0; round < 4; ++round) {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        const int dw = w - views[0]->width(), dh = h - views[0]->height();
        if (!dw && !dh) return true;
        const int factor = views.size() == 4 ? 2 : 1;
        resize(width() + factor * dw, height() + factor * dh);
        updateSplitterSizes();
    }
    return views[0]->width() == w && views[0]->height() == h;
}

void cChildWindow::toggleMaximize(cCanvas* view) {
    if (views.size() != 4 || !rows) return;
    if (view == maximised) {
        view->needsFullRedraw = true;
        maximised = nullptr;
        updateSplitterSizes();
        refreshCanvases();
        return;
    }
    const int i = int(views.indexOf(view));
    if (i < 0) return;
    const int w = width() - rows->handleWidth();
    const int h = height() - bottomRow->handleWidth();
    view->needsFullRedraw = true;
    maximised = view;
    refreshCanvases();
    const QList<int> columns = (i & 1) ? QList<int>{0, w} : QList<int>{w, 0};
    bottomRow->setSizes(columns);
    topRow->setSizes(columns);
    rows->setSizes(i < 2 ? QList<int>{h, 0} : QList<int>{0, h});
    splitterResized();
}

void cChildWindow::storeViewLayout() {
    MainSettings* settings = Sys_MutableSettings();
    if (views.size() != 4 || !settings) return;
    int types[4], modes[4];
    for (int i = 0; i < 4; ++i) {
        types[i] = views[i]->viewType;
        modes[i] = views[i]->renderMode;
    }
    settings->CanvasConfig = Layout_Encode(types, modes);
}

// ---- Broadcasts ---------------------------------------------------------------------------------------

void cChildWindow::redrawViews(int32_t mask) {
    for (cCanvas* view : views) {
        if (maximised && view != maximised) continue;
        if (view->is3D() ? (mask & 2) : (mask & 1)) {
            view->context.frameTime = 0.0f;
            view->update();
        }
    }
}

void cChildWindow::zoomViewsToBounds(const float mins[3], const float maxs[3]) {
    for (cCanvas* view : views) {
        if (view->is3D() || (maximised && view != maximised)) continue;
        const float w = std::max(maxs[view->hAxis] - mins[view->hAxis], 1.0f);
        const float h = std::max(maxs[view->vAxis] - mins[view->vAxis], 1.0f);
        float zoom = std::min(float(view->viewWidth) / w, float(view->viewHeight) / h);
        if (!std::isfinite(zoom) || zoom <= 0.0f) continue;
        zoom = std::clamp(zoom, view->minimumZoom(), view->maxZoom);
        view->zoom = zoom;
        const float centre[3] = {(mins[0] + maxs[0]) / 2, (mins[1] + maxs[1]) / 2, (mins[2] + maxs[2]) / 2};
        view->scrollX = centre[view->hAxis] * zoom;
        view->scrollY = -centre[view->vAxis] * zoom;
        view->needsFullRedraw = true;
        view->clampScroll();
        view->updateScrollBars();
        view->update();
    }
}

void cChildWindow::centerViewsOn(const float point[3], int32_t mask) {
    for (cCanvas* view : views)
        if (view->is3D() ? (mask & 2) : (mask & 1)) view->centerOn(point);
}

void cChildWindow::setZoom2D(float zoom) {
    for (cCanvas* view : views) {
        if (view->is3D()) continue;
        view->zoom = zoom;
        view->needsFullRedraw = true;
        view->updateScrollBars();
        view->redrawNow();
    }
}

void cChildWindow::setScroll2D(float x, float y) {
    for (cCanvas* view : views) {
        if (view->is3D()) continue;
        view->scrollX = x;
        view->scrollY = y;
        view->needsFullRedraw = true;
        view->updateScrollBars();
        view->redrawNow();
    }
}

void cChildWindow::setCameraOrigin(const float eye[3]) {
    for (cCanvas* view : views) {
        if (!view->is3D()) continue;
        for (int k = 0; k < 3; ++k)
            view->eye[k] = eye[k];
        view->cameraMoved = true;
        // A view draws only when asked to: without this it keeps showing the old camera.
        view->update();
    }
}

void cChildWindow::setCameraAngles(const float angles[3]) {
    for (cCanvas* view : views) {
        if (!view->is3D()) continue;
        for (int k = 0; k < 3; ++k)
            view->angles[k] = angles[k];
        view->cameraMoved = true;
        view->update();
    }
}

void cChildWindow::endFreeLook() {
    for (cCanvas* view : views) {
        if (!view->freeLook) continue;
        view->freeLook = false;
        view->setCursorForTool();
    }
}

cCanvas* cChildWindow::findCanvas(int32_t axis) {
    for (cCanvas* view : views)
        if (view->hAxis == axis || view->vAxis == axis) return view;
    return nullptr;
}

void cChildWindow::refreshCanvases() {
    const MainSettings& s = settings();
    for (cCanvas* view : views) {
        const bool bars = s.EnableScrollbars && !view->is3D() && (!maximised || maximised == view);
        if (view->hScroll) view->hScroll->setVisible(bars);
        if (view->vScroll) view->vScroll->setVisible(bars);
        if (bars) view->updateScrollBars();
        view->setCursorForTool();
        view->fovH = float(std::clamp(s.CameraFOV, 30, 120));
        view->projectionDirty = true;
    }
}

void cChildWindow::retranslateCanvases() {
    for (cCanvas* view : views)
        view->updateTitle();
}

void cChildWindow::invalidateCameraRects(const float a[3], const float b[3]) {
    for (cCanvas* view : views) {
        if (view->is3D() || (maximised && view != maximised)) continue;
        view->invalidateCameraRect(a, b);
    }
}

void cChildWindow::repaintViews2D() {
    for (cCanvas* view : views)
        if (!view->is3D()) view->update();
}

void cChildWindow::setFrameTimersRunning(bool running) {
    for (cCanvas* view : views) {
        if (running)
            view->restartFrameTimer();
        else if (view->frameTimer)
            view->frameTimer->stop();
    }
}

void cChildWindow::closeSubWindow() {
    close();
}

bool cChildWindow::isCovered() const {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area) return false;
    const QList<QMdiSubWindow*> stack = area->subWindowList(QMdiArea::StackingOrder);
    for (qsizetype i = stack.indexOf(frame) + 1; i > 0 && i < stack.size(); ++i)
        if (stack[i]->isVisible() && stack[i]->isMaximized()) return true;
    return false;
}

bool cChildWindow::isActive() const {
    return isActiveWindow();
}

bool cChildWindow::requestClose() {
    if (closedByDocument || !document) return true;
    if (!Project_OnChildWindowClose(document, this)) return false;
    document = nullptr;
    return true;
}

// ---- Qt overrides -------------------------------------------------------------------------------------

QSize cChildWindow::sizeHint() const {
    const QWidget* area = parentWidget();
    return area ? area->size() / 2 : QSize(640, 480);
}

QSize cChildWindow::minimumSizeHint() const {
    return {32, 32};
}

void cChildWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
}

void cChildWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    watchCover();
}

namespace {

void repaintUncoveredWindows(QMdiArea* area) {
    for (QMdiSubWindow* frame : area->subWindowList())
        if (auto* child = qobject_cast<cChildWindow*>(frame->widget())) child->repaintStaleViews();
}

// Checked once the change is done: an activation restores, raises and maximises in steps.
void repaintUncoveredLater(QMdiArea* area) {
    if (area) QTimer::singleShot(0, area, [area] { repaintUncoveredWindows(area); });
}

} // namespace

void cChildWindow::watchCover() {
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area || m_watchedFrame == frame) return;
    m_watchedFrame = frame;
    connect(area, &QMdiArea::subWindowActivated, this,
            [this] { QTimer::singleShot(0, this, [this] { repaintStaleViews(); }); });
    auto later = [area] { repaintUncoveredLater(area); };
    connect(frame, &QMdiSubWindow::windowStateChanged, area, later);
    connect(frame, &QObject::destroyed, area, later);
    // A maximised window hidden without a state change uncovers the others too.
    frame->installEventFilter(this);
}

bool cChildWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watchedFrame && event->type() == QEvent::Hide)
        repaintUncoveredLater(static_cast<QMdiSubWindow*>(watched)->mdiArea());
    return QWidget::eventFilter(watched, event);
}

void cChildWindow::repaintStaleViews() {
    for (cCanvas* view : views)
        view->repaintIfStale();
}

void cChildWindow::closeEvent(QCloseEvent* event) {
    if (!requestClose()) {
        event->ignore();
        return;
    }
    event->accept();
}
