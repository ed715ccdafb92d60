// The main window's application-wide event filter (held movement keys, grid keys, activation),
// its own key handling and the map windows' activation.
#include <QAbstractSpinBox>
#include <QApplication>
#include <QDialog>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "dialogs/application/NamedDialogs.h"
#include "document/MapDocument.h"
#include "document/WorldRefresh.h"
#include "dialogs/application/DialogFit.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// Text typed into a field (a dock's filter, a dialog's box) is not an editor command.
bool focusTakesText() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) return false;
    if (qobject_cast<QLineEdit*>(focus) || qobject_cast<QAbstractSpinBox*>(focus)) return true;
    if (auto* combo = qobject_cast<QComboBox*>(focus)) return combo->isEditable();
    if (auto* edit = qobject_cast<QTextEdit*>(focus)) return !edit->isReadOnly();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(focus)) return !edit->isReadOnly();
    return false;
}

} // namespace

int App_KeyToMoveCode(int key) {
    switch (key) {
    case Qt::Key_Space:
        return 0;
    case Qt::Key_Left:
        return 1;
    case Qt::Key_Right:
        return 2;
    case Qt::Key_Up:
        return 3;
    case Qt::Key_Down:
        return 4;
    case Qt::Key_W:
    case 1062:
        return 5;
    case Qt::Key_S:
    case 1067:
        return 6;
    case Qt::Key_A:
    case 1060:
        return 7;
    case Qt::Key_D:
    case 1042:
        return 8;
    case Qt::Key_C:
    case 1057:
        return 9;
    default:
        return -1;
    }
}

bool cMainWindow::handleGridKey(int key) {
    int32_t& grid = settings.CurrentGridSize;
    int32_t next = grid;
    switch (key) {
    case Qt::Key_Plus:
    case 168:
    case 1066:
        next = std::min(grid * 2, 512);
        break;
    case Qt::Key_Minus:
    case 197:
    case 220:
    case 1061:
        next = std::max(grid / 2, 1);
        break;
    default:
        return false;
    }
    if (next == grid) return false;
    grid = next;
    updateSnapGridStatus();
    updateAllViews(1);
    return true;
}

void cMainWindow::setActiveCanvas(cCanvas* view) {
    if (view == focusView) return;
    cCanvas* previous = focusView;
    focusView = view;
    if (previous && previous != lastDeactivatedView) {
        lastDeactivatedView = previous;
        previous->resetInput(false);
    }
    updateViewModeActions();
}

void cMainWindow::updateViewModeActions() {
    struct Row {
        const char* name;
        int viewType;
        int renderMode; // -1 any
    };
    static const Row rows[] = {{"View2DXY", ViewType::Top, -1},  {"View2DYZ", ViewType::Front, -1},
                               {"View2DXZ", ViewType::Side, -1}, {"View3DW", ViewType::Camera, 0},
                               {"View3DF", ViewType::Camera, 1}, {"View3DT", ViewType::Camera, 2},
                               {"View3DST", ViewType::Camera, 3}};
    for (const Row& row : rows) {
        const bool on = focusView && focusView->viewType == row.viewType &&
                        (row.renderMode < 0 || focusView->renderMode == row.renderMode);
        setActionChecked(QLatin1String(row.name), on);
    }
}

void cMainWindow::noMapWindowLeft() {
    lastActiveSubWindow = nullptr;
    if (cCanvas* former = focusView) {
        focusView = nullptr;
        if (former != lastDeactivatedView) {
            lastDeactivatedView = former;
            former->resetInput(false);
        }
    }
    updateViewModeActions();
}

bool cMainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        if (QApplication::activeModalWidget() || focusTakesText()) break;
        // Keys typed into a floating editing dialog are its own (the face dialog has no window yet).
        const QWidget* editing[] = {objectPropertiesDialog, entityListDialog, entityHelpDialog};
        if (std::any_of(std::begin(editing), std::end(editing),
                        [](const QWidget* d) { return d && d->isVisible() && d->isActiveWindow(); }))
            break;
        auto* key = static_cast<QKeyEvent*>(event);
        // Each press reaches the filter once per receiver on its way up; act on the first.
        QWidget* receiver =
            QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        if (watched != receiver) break;
        if (handleGridKey(key->key())) break;
        const int code = App_KeyToMoveCode(key->key());
        if (code >= 0) heldKeys |= 1u << code;
        break;
    }
    case QEvent::KeyRelease: {
        const int code = App_KeyToMoveCode(static_cast<QKeyEvent*>(event)->key());
        if (code >= 0) heldKeys &= ~(1u << code);
        break;
    }
    case QEvent::Show:
        // The program's own dialogs (c-prefixed classes) make room for their texts in the current font.
        if (auto* dialog = qobject_cast<QDialog*>(watched); dialog &&
                                                            dialog->metaObject()->className()[0] == 'c' &&
                                                            !dialog->property("zarvFitted").toBool()) {
            dialog->setProperty("zarvFitted", true);
            Dialog_FitControls(dialog);
        }
        break;
    case QEvent::ApplicationDeactivate:
        if (watched == qApp) applicationDeactivated();
        break;
    case QEvent::ApplicationActivate:
        if (watched == qApp) applicationActivated();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void cMainWindow::applicationDeactivated() {
    if (!skipNextActivation) {
        const std::array<QWidget*, 5> dialogs = floatingDialogs();
        for (size_t i = 0; i < dialogs.size(); ++i) {
            if (!dialogs[i] || !dialogs[i]->isVisible()) continue;
            dialogs[i]->hide();
            hiddenDialogs |= 1u << i;
        }
    }
    heldKeys = 0;
}

void cMainWindow::applicationActivated() {
    const std::array<QWidget*, 5> dialogs = floatingDialogs();
    for (size_t i = 0; i < dialogs.size(); ++i) {
        if (!(hiddenDialogs & (1u << i))) continue;
        hiddenDialogs &= ~(1u << i);
        if (dialogs[i]) dialogs[i]->show();
    }
    if (skipNextActivation)
        skipNextActivation = false;
    else if (activeChildWindow())
        checkActiveState(false, false);
}

void cMainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::AltModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            cmdEditProperties();
            event->accept();
            return;
        }
    } else if (faceDialog.handleModeKey(event)) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void cMainWindow::changeSubwindowActiveState(QMdiSubWindow* window) {
    if (leaving) return;
    if (window) {
        QMdiSubWindow* active =
            mdiArea->activeSubWindow() ? mdiArea->activeSubWindow() : mdiArea->currentSubWindow();
        if (active == lastActiveSubWindow) return;
        lastActiveSubWindow = active;
    } else {
        if (!lastActiveSubWindow || !mdiArea->subWindowList().isEmpty()) return;
        noMapWindowLeft();
    }
    for (MapDocument* document : std::as_const(documents))
        Project_UpdateActiveViews(document);
    updateDocumentActions();
    checkActiveState(true, true);
    updateTextureBar(false);
    updateWindowList();
    updateScreenElements();
    updateVisGroupList();
    updateSnapGridStatus();
}

void cMainWindow::updateLayout() {
    updateWindowList();
    updateScreenElements();
    updateDocumentActions();
    updateToolActions();
    updateTextureBar(false);
    updateVisGroupList();
    updateSnapGridStatus();
}
