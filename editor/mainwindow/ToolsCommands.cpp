// Tools and curve commands: selection operations, option switches, align, flip and rotate in the
// plane of the view last used, and the patch-matrix commands.
#include "mainwindow/MainWindow.h"

#include <QPointer>
#include <QStatusBar>

#include "core/Prompt.h"
#include "core/System.h"
#include "document/CarveMerge.h"
#include "document/HollowClip.h"
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
#include "document/PatchMatrix.h"
#include "document/MapWorld.h"
#include "document/SelectionFaces.h"
#include "document/UniqueName.h"
#include "core/TextEncoding.h"
#include "gamedata/MapProfile.h"
#include "views/ChildWindow.h"

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

// Make Detail and Make Structural: the detail bits are the current map profile's content mask.
void setDetail(cMainWindow* window, bool detail) {
    MapDocument* document = activeDocument(window);
    if (!document) return;
    const MapProfileRecord* profile = GameCfg_HasCurrentProfile(&window->gameConfigs)
                                          ? GameCfg_CurrentProfile(&window->gameConfigs)
                                          : nullptr;
    const uint32_t bits = profile ? profile->contentMask : 0;
    if (!bits) {
        Sys_Error("CONTENTS_DETAIL is not supported by the current profile!");
        return;
    }
    MapWorld* world = document->world;
    if (!world->selectedBrushes) return noEligible(window);
    if (!Map_SetDetailCommand(world, bits, detail)) return;
    if (detail && (window->settings.HideMask & 0x4)) window->deselectHiddenObjects();
    window->updateAllViews(3);
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

void cMainWindow::cmdToolsMakeStructural() {
    setDetail(this, false);
}

void cMainWindow::cmdToolsMakeDetail() {
    setDetail(this, true);
}

// The document's commands hold the checks, the messages and the redraw; the window adds its own
// lists.
void cMainWindow::cmdToolsCarve() {
    MapDocument* document = activeDocument(this);
    if (!document || !Map_CmdCarve(document->world)) return;
    updateVisGroupList();
}

void cMainWindow::cmdToolsMerge() {
    MapDocument* document = activeDocument(this);
    if (!document || !Map_CmdMerge(document->world)) return;
    notifySelectionChanged();
    updateVisGroupList();
}

void cMainWindow::cmdToolsHollow() {
    MapDocument* document = activeDocument(this);
    if (!document || !Map_CmdMakeHollow(document->world)) return;
    notifySelectionChanged();
    updateVisGroupList();
}

void cMainWindow::cmdToolsGroup() {
    MapDocument* document = activeDocument(this);
    if (document && Map_CmdGroup(document->world)) notifySelectionChanged();
}

void cMainWindow::cmdToolsUngroup() {
    MapDocument* document = activeDocument(this);
    if (document && Map_CmdUngroup(document->world)) notifySelectionChanged();
}

void cMainWindow::cmdToolsIgnoreGroups() {
    bool checked = false;
    if (!senderChecked(sender(), &checked)) return;
    settings.IgnoreGroups = checked;
    // Every map's selection mode follows the setting; the commands read the world's mode.
    for (MapDocument* document : std::as_const(documents))
        if (document->world) Map_UpdateSelectionMode(document->world);
    if (MapDocument* document = activeDocument(this)) {
        MapWorld* world = document->world;
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
    if (document && Map_CmdMoveToWorld(document->world)) notifySelectionChanged();
}

namespace {
// An option switch: the setting takes the sender action's state (inverted where the action's text
// says the opposite) and the status bar reports the setting's new value.
void toggleOption(cMainWindow* window, QObject* sender, bool MainSettings::*setting, bool inverted,
                  const char* status) {
    bool checked = false;
    if (!senderChecked(sender, &checked)) return;
    bool& value = window->settings.*setting;
    value = inverted ? !checked : checked;
    const QString state = value ? cMainWindow::tr("on") : cMainWindow::tr("off");
    window->statusBar()->showMessage(cMainWindow::tr(status).arg(state), 5000);
}
} // namespace

void cMainWindow::cmdToolsTextureLock() {
    toggleOption(this, sender(), &MainSettings::TextureLock, false, QT_TR_NOOP("Texture locking %1"));
}

void cMainWindow::cmdToolsTextureLockScale() {
    toggleOption(this, sender(), &MainSettings::TextureLockScale, false,
                 QT_TR_NOOP("Texture locking (scale) %1"));
}

void cMainWindow::cmdToolsTextureLockUV() {
    toggleOption(this, sender(), &MainSettings::TextureLockUV, false, QT_TR_NOOP("UV locking %1"));
}

void cMainWindow::cmdToolsSnapToGrid() {
    snapToGrid(this, false);
}

void cMainWindow::cmdToolsSnapToGrid2() {
    snapToGrid(this, true);
}

// The action reads "No morph restrictions".
void cMainWindow::cmdToolsToggleVertexRes() {
    toggleOption(this, sender(), &MainSettings::VertexToolRestrict, true,
                 QT_TR_NOOP("Vertex manipulation restrictions %1"));
}

// Checked means merging, as the label says.
void cMainWindow::cmdToolsToggleVertexCM() {
    toggleOption(this, sender(), &MainSettings::VertexToolCoplanarMerge, false,
                 QT_TR_NOOP("Vertex manipulation coplanar face merging %1"));
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

void cMainWindow::cmdToolsTextureAlignToView() {
    MapDocument* document = activeDocument(this);
    if (!document || (!document->world->selectedBrushes && !document->world->selectedFaces)) return;
    const cCanvas* camera = Project_FindCanvas(document, -1);
    if (!camera) return;
    if (!Map_AlignToViewCommand(document->world, camera->eye, camera->right, camera->up)) return;
    notifySelectionChanged();
    Project_RedrawViews(document, 2);
}

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
namespace {
// "class" or "class (\"name\")" for the connect question.
QString entityDescription(const EntityRecord* entity) {
    QString text = Text_FromWindows1251(entity->classname ? entity->classname : "");
    if (entity->targetname && *entity->targetname)
        text += QStringLiteral(" (\"%1\")").arg(Text_FromWindows1251(entity->targetname));
    return text;
}
} // namespace

void cMainWindow::cmdToolsConnectEntities() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    MapWorld* world = document->world;
    const EntityRecord* target = world->selectedEntities;
    const EntityRecord* source = target ? target->selNext : nullptr;
    if (!source || source->selNext) {
        Prompt_Message(
            App_DialogParent(this), PromptIcon::Warning,
            tr("You must have exactly two entities selected!\nPlease select source entity first, and "
               "then its target."));
        return;
    }
    if (Prompt_Question(App_DialogParent(this), PromptIcon::Question,
                        tr("Connect %1 to %2?").arg(entityDescription(target), entityDescription(source)),
                        PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    Map_ConnectSelectedEntitiesCommand(world);
    notifySelectionChanged();
    Project_RedrawViews(document, 3);
}
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
