// Tools and curve commands: selection operations, option switches, align, flip and rotate in the
// plane of the view last used, and the patch-matrix commands.
#include "mainwindow/MainWindow.h"

#include <QPointer>
#include <QStatusBar>

#include "core/Prompt.h"
#include "core/System.h"
#include "document/CarveMerge.h"
#include "document/Grouping.h"
#include "map/MapBrush.h"
#include "map/ObjectRecords.h"
#include "document/MapSelection.h"
#include "document/SelectionSummary.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "dialogs/application/RandomPatchDialog.h"
#include "dialogs/application/TransformDialog.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "document/MapDocument.h"
#include "document/MapTransform.h"
#include "document/MapWorld.h"
#include "views/ChildWindow.h"

void cMainWindow::cmdToolsMakeStructural() {}
void cMainWindow::cmdToolsMakeDetail() {}
namespace {

MapDocument* activeDocument(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child && child->document && child->document->world ? child->document : nullptr;
}

void noEligible(cMainWindow* window) {
    Prompt_Message(App_DialogParent(window), PromptIcon::Warning,
                   cMainWindow::tr("There are no eligible selected objects."));
}

bool senderChecked(const QObject* sender, bool* checked) {
    auto* action = qobject_cast<const QAction*>(sender);
    if (action) *checked = action->isChecked();
    return action != nullptr;
}

// The view whose axes align, flip and rotate use: the last one under input, else the focus view.
// The camera view has none: x, y and z stand in.
struct ReferenceAxes {
    int h = 0, v = 1, d = 2;
    bool mirrored = false;
};
bool referenceAxes(const cMainWindow* window, ReferenceAxes* axes) {
    const cCanvas* view = window->lastInputCanvas ? window->lastInputCanvas : window->focusView;
    if (!view) return false;
    if (!view->is3D()) {
        axes->h = view->hAxis;
        axes->v = view->vAxis;
        axes->d = view->dAxis;
        axes->mirrored = view->depthSign < 0;
    }
    return true;
}

enum class Shape { Align, Flip, Rotate };

// Align, flip and rotate: refused silently without a selection or when morph mode stays.
void transformCommand(cMainWindow* window, Shape shape, int axis, int value) {
    MapDocument* document = activeDocument(window);
    if (!document || axis < 0 || axis > 2) return;
    MapWorld* world = document->world;
    if (!world->selectedEntities && !world->selectedBrushes) return;
    if (!window->confirmExitMorphMode()) return;
    switch (shape) {
    case Shape::Align:
        Map_AlignSelectionCommand(world, axis, value);
        break;
    case Shape::Flip:
        Map_FlipSelectionCommand(world, axis);
        break;
    case Shape::Rotate:
        Map_RotateSelectionCommand(world, axis, float(value));
        break;
    }
    window->updateActions(0x2);
    window->notifySelectionChanged();
    Project_RedrawViews(document, 3);
}

void alignFlipRotate(cMainWindow* window, Shape shape, char which) {
    ReferenceAxes a;
    if (!referenceAxes(window, &a)) return;
    const int h = a.h < 0 ? 0 : a.h, v = a.v < 0 ? 1 : a.v, d = a.d < 0 ? 2 : a.d;
    switch (which) {
    case 'L':
        transformCommand(window, shape, h, 0);
        break;
    case 'R':
        transformCommand(window, shape, h, 1);
        break;
    case 'T':
        transformCommand(window, shape, v, 1);
        break;
    case 'B':
        transformCommand(window, shape, v, 0);
        break;
    case 'H':
        transformCommand(window, shape, h, 0);
        break;
    case 'V':
        transformCommand(window, shape, v, 0);
        break;
    case 'a':
        transformCommand(window, shape, d, a.mirrored ? 90 : -90);
        break;
    case 'c':
        transformCommand(window, shape, d, a.mirrored ? -90 : 90);
        break;
    }
}

void snapToGrid(cMainWindow* window, bool eachObject) {
    MapDocument* document = activeDocument(window);
    if (!document) return;
    MapWorld* world = document->world;
    if (!world->selectedEntities && !world->selectedBrushes) return;
    const bool morph =
        Tool_Id(window->activeTool) == ToolId::Vertex || Tool_Id(window->secondaryTool) == ToolId::Vertex;
    if (morph && !eachObject) {
        // The vertex tool snaps by vertex.
        if (window->focusView)
            window->activeTool->keyPress(window->focusView, Qt::Key_B, Qt::ControlModifier);
        return;
    }
    if (morph && !window->confirmExitMorphMode()) return;
    Map_SnapToGridCommand(world, eachObject);
    window->updateActions(0x2);
    window->notifySelectionChanged();
    Project_RedrawViews(document, 3);
}

} // namespace

void cMainWindow::cmdToolsCarve() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    if (!document->world->selectedBrushes) return noEligible(this);
    Map_Carve(document->world);
    updateVisGroupList();
    updateAllViews(3);
}

void cMainWindow::cmdToolsMerge() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    const BrushRecord* first = document->world->selectedBrushes;
    if (!first) return noEligible(this);
    if (!first->selNext) {
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                       tr("At least two brushes must be selected."));
        return;
    }
    Map_Merge(document->world);
    notifySelectionChanged();
    updateVisGroupList();
    updateAllViews(3);
}

void cMainWindow::cmdToolsHollow() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    const BrushRecord* first = document->world->selectedBrushes;
    if (!first) return noEligible(this);
    if (first->selNext &&
        Prompt_Question(App_DialogParent(this), PromptIcon::Question,
                        tr("Do you want to turn each of the selected solids\ninto a hollow room?"),
                        PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    bool ok = false;
    const int32_t thickness =
        Prompt_GetInteger(App_DialogParent(this), tr("Make Hollow"),
                          tr("How thick do you want the walls?\nUse a negative number to hollow outward."),
                          settings.CurrentGridSize, -settings.MaxWorldSize, settings.MaxWorldSize, 1, &ok);
    if (!ok) return;
    if (thickness == 0) {
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                       QStringLiteral("The width of the walls must be non-zero."));
        return;
    }
    Map_MakeHollow(document->world, float(thickness));
    notifySelectionChanged();
    updateVisGroupList();
    updateAllViews(3);
}

void cMainWindow::cmdToolsGroup() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    MapWorld* world = document->world;
    if (!world->selectedBrushes && !world->selectedEntities) return;
    if (Map_UpdateSelectionMode(world) != SelectionMode::WholeGroups) {
        Sys_Warning("cannot group objects in group ignore mode\n");
        return;
    }
    if (!Map_GroupSelection(world)) {
        Sys_Warning("cannot group objects that already belong to the same group\n");
        return;
    }
    notifySelectionChanged();
    updateAllViews(3);
}

void cMainWindow::cmdToolsUngroup() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    MapWorld* world = document->world;
    if (!world->selectedBrushes && !world->selectedEntities) return;
    if (Map_UpdateSelectionMode(world) != SelectionMode::WholeGroups) {
        Sys_Warning("cannot ungroup objects in group ignore mode\n");
        return;
    }
    Map_UngroupSelection(world);
    notifySelectionChanged();
    updateAllViews(3);
}

void cMainWindow::cmdToolsIgnoreGroups() {
    bool checked = false;
    if (!senderChecked(sender(), &checked)) return;
    settings.IgnoreGroups = checked;
    if (MapDocument* document = activeDocument(this)) {
        MapWorld* world = document->world;
        Map_UpdateSelectionMode(world);
        Map_UpdateSelectionSummary(world);
        if (checked) {
            while (world->selectedGroups)
                Map_DeselectObject(world, world->selectedGroups);
            Map_UpdateSelectionSummary(world);
        } else {
            Map_TrimSelectionToGroups(world);
        }
        notifySelectionChanged();
        Project_RedrawViews(document, 3);
    }
    updateActions(0x4);
}

void cMainWindow::cmdToolsMoveToWorld() {
    MapDocument* document = activeDocument(this);
    if (!document || !document->world->selectedBrushes) return;
    Map_MoveToWorld(document->world);
    notifySelectionChanged();
    Project_RedrawViews(document, 3);
}

// The texture-lock switches take the sender's state; the status bar says what is now on.
void cMainWindow::cmdToolsTextureLock() {
    bool checked = false;
    if (!senderChecked(sender(), &checked)) return;
    settings.TextureLock = checked;
    statusBar()->showMessage(checked ? tr("Texture lock: On") : tr("Texture lock: Off"), 2000);
}

void cMainWindow::cmdToolsTextureLockScale() {
    bool checked = false;
    if (!senderChecked(sender(), &checked)) return;
    settings.TextureLockScale = checked;
    statusBar()->showMessage(checked ? tr("Texture scale lock: On") : tr("Texture scale lock: Off"), 2000);
}

void cMainWindow::cmdToolsTextureLockUV() {
    bool checked = false;
    if (!senderChecked(sender(), &checked)) return;
    settings.TextureLockUV = checked;
    statusBar()->showMessage(checked ? tr("UV lock: On") : tr("UV lock: Off"), 2000);
}

void cMainWindow::cmdToolsSnapToGrid() {
    snapToGrid(this, false);
}

void cMainWindow::cmdToolsSnapToGrid2() {
    snapToGrid(this, true);
}

void cMainWindow::cmdToolsToggleVertexRes() {
    bool checked = false;
    if (senderChecked(sender(), &checked)) settings.VertexToolRestrict = !checked;
}

// Checked means merging, as the label says.
void cMainWindow::cmdToolsToggleVertexCM() {
    bool checked = false;
    if (senderChecked(sender(), &checked)) settings.VertexToolCoplanarMerge = checked;
}

void cMainWindow::cmdToolsAlignLeft() {
    alignFlipRotate(this, Shape::Align, 'L');
}
void cMainWindow::cmdToolsAlignRight() {
    alignFlipRotate(this, Shape::Align, 'R');
}
void cMainWindow::cmdToolsAlignTop() {
    alignFlipRotate(this, Shape::Align, 'T');
}
void cMainWindow::cmdToolsAlignBottom() {
    alignFlipRotate(this, Shape::Align, 'B');
}
void cMainWindow::cmdToolsFlipHorz() {
    alignFlipRotate(this, Shape::Flip, 'H');
}
void cMainWindow::cmdToolsFlipVert() {
    alignFlipRotate(this, Shape::Flip, 'V');
}
void cMainWindow::cmdToolsRotateAntiClockwise() {
    alignFlipRotate(this, Shape::Rotate, 'a');
}
void cMainWindow::cmdToolsRotateClockwise() {
    alignFlipRotate(this, Shape::Rotate, 'c');
}

void cMainWindow::cmdToolsTieToEntity() {}
void cMainWindow::cmdToolsTextureAlignToView() {}

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
void cMainWindow::cmdToolsConnectEntities() {}
void cMainWindow::cmdToolsShaderEdit() {
    if (!shaderEditDialog) return;
    shaderEditDialog->setShader(QString(), QStringLiteral("(All Textures)"));
    shaderEditDialog->exec();
    updateTextureBar(false);
}

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
