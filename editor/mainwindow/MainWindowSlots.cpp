// The slots whose whole behaviour is small enough to live in the dispatcher: check-state settings,
// hide bits, vertex keys, patch matrix operations, window arrangement, web links, the update
// check and the temporary magnify and camera tools.
#include <QApplication>
#include <QDesktopServices>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidgetItem>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QUrl>

#include "core/Prompt.h"
#include "core/System.h"
#include "dialogs/application/AboutDialog.h"
#include "dialogs/application/UpdateCheck.h"
#include "dialogs/application/UpdateCheckDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/PathOperations.h"
#include "document/SelectionOperations.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "mainwindow/Splash.h"
#include "tools/ToolSet.h"
#include "map/ObjectRecords.h"
#include "views/ChildWindow.h"

namespace {

bool senderChecked(const QObject* sender) {
    auto* action = qobject_cast<const QAction*>(sender);
    return action && action->isChecked();
}

} // namespace

void cMainWindow::setActiveChildWindow(QWidget* widget) {
    if (!widget || !mdiArea) return;
    mdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(widget));
}

void cMainWindow::checkActiveState(bool clearConfig) {
    checkActiveState(clearConfig, true);
}

void cMainWindow::updateStatusBar(const QString& text) {
    if (!statusLabels[0]) return;
    statusLabels[0]->setText(text);
    statusLabels[0]->repaint();
}

void cMainWindow::toggleStatusBar() {
    statusBar()->setVisible(senderChecked(sender()));
}

void cMainWindow::switchLanguage(QAction* action) {
    if (action) installLanguage(action, action->data().toString());
}

void cMainWindow::runPluginAction() {
    if (auto* action = qobject_cast<QCustomAction*>(sender())) runPluginAction(action->index);
}

void cMainWindow::cmdFileExit() {
    close();
}

void cMainWindow::cmdEditSelectByHandles() {
    settings.SelectByHandles = senderChecked(sender());
}

void cMainWindow::cmdEditSelectAuto() {
    settings.SelectAuto = senderChecked(sender());
}

void cMainWindow::cmdEditCreateObject() {
    if (focusView && activeTool) activeTool->createObject(focusView);
}

namespace {

MapDocument* activeDocument(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child ? child->document : nullptr;
}

} // namespace

void cMainWindow::cmdEditPathDeleteNodes() {
    MapDocument* document = activeDocument(this);
    if (!focusView || !activeTool || !document || !document->world->selectedNodes) return;
    if (Map_CmdEditDelete(document->world, true)) notifySelectionChanged();
}

void cMainWindow::cmdEditPathReverse() {
    MapDocument* document = activeDocument(this);
    if (!focusView || !activeTool || !document) return;
    Map_CmdReversePath(document->world);
}

void cMainWindow::cmdMapToggleGridSnap() {
    settings.SnapToGrid = senderChecked(sender());
    updateSnapGridStatus();
}

void cMainWindow::cmdMapToggleGrid() {
    settings.EnableGrid2D = senderChecked(sender());
    updateAllViews(1);
}

void cMainWindow::cmdViewToggleEntityNames() {
    if (senderChecked(sender()))
        settings.HideMask |= 0x10;
    else
        settings.HideMask &= ~0x10;
    updateAllViews(3);
}

// A hide bit: objects hidden now leave every selection.
static void toggleHideBit(cMainWindow* window, int32_t bit, bool hide) {
    if (hide) {
        window->settings.HideMask |= bit;
        window->deselectHiddenObjects();
    } else {
        window->settings.HideMask &= ~bit;
    }
    window->updateAllViews(3);
}

void cMainWindow::cmdViewToggleItems() {
    toggleHideBit(this, 0x1, senderChecked(sender()));
}

void cMainWindow::cmdViewTogglePaths() {
    toggleHideBit(this, 0x2, senderChecked(sender()));
}

void cMainWindow::cmdViewToggleDetail() {
    toggleHideBit(this, 0x4, senderChecked(sender()));
}

void cMainWindow::cmdViewToggleCurves() {
    toggleHideBit(this, 0x20, senderChecked(sender()));
}

void cMainWindow::cmdViewToggleUnknownEntities() {
    toggleHideBit(this, 0x40, senderChecked(sender()));
}

void cMainWindow::cmdToolsTieToEntityEx() {
    auto* action = qobject_cast<QAction*>(sender());
    if (!action) return;
    tieClassName = action->text();
    cmdToolsTieToEntity();
}

void cMainWindow::cmdToolsTextureAlignment() {
    settings.TextureFaceAlign = senderChecked(sender());
}

void cMainWindow::cmdToolsCordon() {
    settings.EnableCordon = senderChecked(sender());
    updateAllViews(3);
}

void cMainWindow::cmdToolsOptions() {
    App_FinishSplash(this);
    QCoreApplication::processEvents();
    execPreferences(0);
}

// The vertex commands are keys of the vertex tool.
static void sendVertexKey(cMainWindow* window, int key, Qt::KeyboardModifiers modifiers) {
    if (!window->focusView || Tool_Id(window->activeTool) != ToolId::Vertex) return;
    window->activeTool->keyPress(window->focusView, key, int(modifiers));
}

void cMainWindow::cmdVertexFaceSplit() {
    sendVertexKey(this, Qt::Key_F, Qt::ControlModifier);
}

void cMainWindow::cmdVertexWeld() {
    sendVertexKey(this, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
}

void cMainWindow::cmdVertexTriangulate() {
    sendVertexKey(this, Qt::Key_T, Qt::ControlModifier | Qt::AltModifier);
}

void cMainWindow::cmdVertexScaleMode() {
    sendVertexKey(this, Qt::Key_E, Qt::AltModifier);
}

void cMainWindow::cmdVertexSnapToGrid() {
    sendVertexKey(this, Qt::Key_B, Qt::ControlModifier);
}

void cMainWindow::cmdVertexClearSelection() {
    sendVertexKey(this, Qt::Key_Escape, Qt::ControlModifier);
}

void cMainWindow::cmdCurveMatrixInverse() {
    applyPatchMatrixOp(QStringLiteral("Invert Matrix"), 0);
}

void cMainWindow::cmdCurveMatrixTranspose() {
    applyPatchMatrixOp(QStringLiteral("Transpose Matrix"), 1);
}

void cMainWindow::cmdCurveMatrixPrependRows() {
    applyPatchMatrixOp(QStringLiteral("Prepend Matrix Rows"), 4);
}

void cMainWindow::cmdCurveMatrixAppendRows() {
    applyPatchMatrixOp(QStringLiteral("Append Matrix Rows"), 2);
}

void cMainWindow::cmdCurveMatrixPrependCols() {
    applyPatchMatrixOp(QStringLiteral("Prepend Matrix Columns"), 5);
}

void cMainWindow::cmdCurveMatrixAppendCols() {
    applyPatchMatrixOp(QStringLiteral("Append Matrix Columns"), 3);
}

void cMainWindow::cmdCurveMatrixRemoveFirstRows() {
    applyPatchMatrixOp(QStringLiteral("Remove First Matrix Rows"), 6);
}

void cMainWindow::cmdCurveMatrixRemoveLastRows() {
    applyPatchMatrixOp(QStringLiteral("Remove Last Matrix Rows"), 8);
}

void cMainWindow::cmdCurveMatrixRemoveFirstCols() {
    applyPatchMatrixOp(QStringLiteral("Remove First Matrix Columns"), 7);
}

void cMainWindow::cmdCurveMatrixRemoveLastCols() {
    applyPatchMatrixOp(QStringLiteral("Remove Last Matrix Columns"), 9);
}

void cMainWindow::cmdCurveMatrixRedisperseRows() {
    applyPatchMatrixOp(QStringLiteral("Redisperse Matrix Rows"), 10);
}

void cMainWindow::cmdCurveMatrixRedisperseCols() {
    applyPatchMatrixOp(QStringLiteral("Redisperse Matrix Columns"), 11);
}

void cMainWindow::cmdCurveMatrixRandomize() {
    applyPatchMatrixOp(QStringLiteral("Randomize Matrix"), 12);
}

void cMainWindow::cmdCurveSelect() {
    // The action reads "Don't select curves".
    settings.SelectCurves = !senderChecked(sender());
}

void cMainWindow::cmdWindowCascade() {
    if (mdiArea) mdiArea->cascadeSubWindows();
}

void cMainWindow::cmdWindowTile() {
    if (mdiArea) mdiArea->tileSubWindows();
}

void cMainWindow::cmdWindowNext() {
    if (mdiArea) mdiArea->activateNextSubWindow();
}

void cMainWindow::cmdWindowPrev() {
    if (mdiArea) mdiArea->activatePreviousSubWindow();
}

void cMainWindow::cmdWindowMessages() {
    if (auto* dock = findChild<QDockWidget*>(QStringLiteral("console")))
        dock->setVisible(senderChecked(sender()));
}

void cMainWindow::cmdHelpOnWeb() {
    auto* action = qobject_cast<QCustomAction*>(sender());
    if (!action || action->data.isEmpty()) return;
    QDesktopServices::openUrl(QUrl::fromUserInput(action->data));
}

void cMainWindow::cmdHelpUpdateCheck() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const UpdateCheckResult check = Update_Check(settings.Server);
    QApplication::restoreOverrideCursor();
    if (check.busy) return; // a check is already waiting for its answer
    if (!check.version.isEmpty()) {
        cUpdateCheckDialog(false, check.version, this).exec();
    } else if (!check.failure.isEmpty()) {
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                       tr("Could not check for updates: %1.").arg(check.failure));
    } else {
        Prompt_Message(
            App_DialogParent(this), PromptIcon::Information,
            tr("You have the most recent version of %1 installed.").arg(QStringLiteral("Z.A.R.V.")));
    }
}

void cMainWindow::cmdHelpAbout() {
    App_FinishSplash(this);
    QApplication::processEvents();
    cAboutDialog dialog(this);
    dialog.setWindowTitle(
        QCoreApplication::translate("cAboutDialog", "About %1").arg(QStringLiteral("Z.A.R.V.")));
    dialog.exec();
}

// Magnify and camera work on top of the tool in use: a working tool they displace stays active
// underneath as the secondary tool, so the editor can return to it.
static void switchTemporaryTool(cMainWindow* window, int32_t target) {
    cAbstractTool* tool = window->toolSet ? (*window->toolSet)[target] : nullptr;
    const int32_t other = target == ToolId::Magnify ? ToolId::Camera : ToolId::Magnify;
    const int32_t active = Tool_Id(window->activeTool);
    if (tool && active != target) {
        if (active != other && active != ToolId::Selection && window->activeTool)
            window->secondaryTool = window->activeTool;
        window->activeTool = tool;
        tool->activate(window->focusView);
    }
    window->applySettings();
    window->updateAllViews(3);
    window->updateToolActions();
}

void cMainWindow::toolMagnify() {
    switchTemporaryTool(this, ToolId::Magnify);
}

void cMainWindow::toolCamera() {
    switchTemporaryTool(this, ToolId::Camera);
}
