// Tools, vertex and curve commands. Least bodies until the commands come.
#include "mainwindow/MainWindow.h"

#include <QPointer>

#include "core/Prompt.h"
#include "dialogs/application/RandomPatchDialog.h"
#include "dialogs/application/TransformDialog.h"
#include "document/MapDocument.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "views/ChildWindow.h"

void cMainWindow::cmdToolsCarve() {}
void cMainWindow::cmdToolsMerge() {}
void cMainWindow::cmdToolsHollow() {}
void cMainWindow::cmdToolsGroup() {}
void cMainWindow::cmdToolsUngroup() {}
void cMainWindow::cmdToolsIgnoreGroups() {}
void cMainWindow::cmdToolsMakeStructural() {}
void cMainWindow::cmdToolsMakeDetail() {}
void cMainWindow::cmdToolsTieToEntity() {}
void cMainWindow::cmdToolsMoveToWorld() {}
void cMainWindow::cmdToolsTextureReplace() {}
void cMainWindow::cmdToolsTextureLock() {}
void cMainWindow::cmdToolsTextureLockScale() {}
void cMainWindow::cmdToolsTextureLockUV() {}
void cMainWindow::cmdToolsTextureAlignToView() {}
void cMainWindow::cmdToolsSnapToGrid() {}
void cMainWindow::cmdToolsSnapToGrid2() {}

void cMainWindow::cmdToolsTransform() {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document || !child->document->world) return;
    MapWorld* world = child->document->world;
    if (!world->selectedBrushes && !world->selectedEntities) {
        Prompt_Message(this, PromptIcon::Warning,
                       tr("You must select some objects before you can\ntransform them."));
        return;
    }
    if (!confirmExitMorphMode()) return;
    cTransformDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    Map_TransformSelectionCommand(world, dialog.getMatrix(), dialog.rotates());
    updateActions(0x2); // the undo and redo texts
    notifySelectionChanged();
}
void cMainWindow::cmdToolsToggleVertexRes() {}
void cMainWindow::cmdToolsToggleVertexCM() {}
void cMainWindow::cmdToolsAlignLeft() {}
void cMainWindow::cmdToolsAlignRight() {}
void cMainWindow::cmdToolsAlignTop() {}
void cMainWindow::cmdToolsAlignBottom() {}
void cMainWindow::cmdToolsFlipHorz() {}
void cMainWindow::cmdToolsFlipVert() {}
void cMainWindow::cmdToolsRotateAntiClockwise() {}
void cMainWindow::cmdToolsRotateClockwise() {}
void cMainWindow::cmdToolsConnectEntities() {}
void cMainWindow::cmdToolsShaderEdit() {}

namespace {
// One dialog per run, keeping its choices; a later main window makes a new one.
cRandomPatchDialog* randomPatchDialog(QWidget* parent) {
    static QPointer<cRandomPatchDialog> dialog;
    if (!dialog || dialog->parentWidget() != parent) dialog = new cRandomPatchDialog(parent);
    return dialog;
}
} // namespace

// The document names the level after the operation.
void cMainWindow::applyPatchMatrixOp(const QString&, int op) {
    cChildWindow* child = activeChildWindow();
    if (!child || !child->document || !child->document->world) return;
    MapWorld* world = child->document->world;
    PatchRandomParams random;
    if (!confirmExitMorphMode()) return;
    if (op == PatchMatrix::Randomize) {
        if (!Map_HasSelectedPatch(world)) {
            Prompt_Message(this, PromptIcon::Warning, tr("There are no eligible selected patches."));
            return;
        }
        cRandomPatchDialog* dialog = randomPatchDialog(this);
        if (dialog->exec() != QDialog::Accepted) return;
        random.amount = dialog->offset();
        if (random.amount == 0.0f || !dialog->getOptions(&random)) return;
    }
    if (!Map_PatchMatrixMenuCommand(world, op, &random)) return;
    notifySelectionChanged();
    updateActions(0x115);
}
