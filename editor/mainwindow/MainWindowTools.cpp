// The tool commands of the main window: switching tools, telling them the selection changed and
// handing them the create-object command.
#include <QStatusBar>

#include "core/Prompt.h"
#include "dialogs/application/NamedDialogs.h"
#include "document/SelectionSummary.h"
#include "document/MapSelection.h"
#include "document/SelectionOperations.h"
#include "map/ObjectRecords.h"

#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "mainwindow/MainWindow.h"
#include "tools/TextureTool.h"
#include "tools/ToolSet.h"
#include "views/ChildWindow.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// Steps of a switch a slot leaves out.
constexpr int kKeepTextureMode = 0x1; // no exitTextureApplication first
constexpr int kKeepPathNodes = 0x2;   // the path nodes of the open documents stay selected

bool faceDialogVisible(const cMainWindow* window) {
    return window->faceDialog.isVisible();
}

void selectNoneEverywhere(cMainWindow* window) {
    for (MapDocument* document : std::as_const(window->documents))
        if (document->world) Map_SelectNone(document->world);
    window->notifySelectionChanged();
}

} // namespace

// The common steps: leave texture mode, drop path nodes, drop the secondary tool, then activate
// (or retrigger the clip and vertex tools), then refresh.
void cMainWindow::switchTool(int id, int keep) {
    if (!toolSet) return;
    if (!(keep & kKeepTextureMode)) exitTextureApplication();
    if (!(keep & kKeepPathNodes)) deselectPathNodes();
    cAbstractTool* target = (*toolSet)[id];
    if (secondaryTool) {
        if (secondaryTool != target) secondaryTool->deactivate();
        secondaryTool = nullptr;
    }
    if (activeTool == target) {
        if (id == ToolId::Clip || id == ToolId::Vertex) target->retrigger();
    } else {
        if (activeTool) activeTool->deactivate();
        activeTool = target;
        target->activate(focusView);
    }
    finishToolSwitch();
}

void cMainWindow::finishToolSwitch() {
    for (MapDocument* document : std::as_const(documents))
        if (document->world) Map_UpdateSelectionMode(document->world);
    applySettings();
    updateAllViews(3);
    updateToolActions();
    Tool_UpdateActions(0x8);
}

void cMainWindow::toolSelect() {
    if (!toolSet) return;
    if (!faceDialogVisible(this)) {
        switchTool(ToolId::Selection, kKeepTextureMode);
        return;
    }
    // Texture-application mode stays: the texture tool is the one working.
    deselectPathNodes();
    if (secondaryTool) {
        secondaryTool->deactivate();
        secondaryTool = nullptr;
    }
    cAbstractTool* texture = (*toolSet)[ToolId::Texture];
    if (activeTool != texture) {
        if (activeTool) activeTool->deactivate();
        activeTool = texture;
    }
    finishToolSwitch();
}
void cMainWindow::toolEntity() {
    switchTool(ToolId::Entity, 0);
}
void cMainWindow::toolBrush() {
    switchTool(ToolId::Brush, 0);
}
void cMainWindow::toolApplyDecals() {
    switchTool(ToolId::Decal, 0);
}
void cMainWindow::toolClipper() {
    switchTool(ToolId::Clip, 0);
}
void cMainWindow::toolVertexManipulation() {
    switchTool(ToolId::Vertex, 0);
}
void cMainWindow::toolCordon() {
    switchTool(ToolId::Cordon, 0);
}

void cMainWindow::toolPath() {
    if (!toolSet) return;
    exitTextureApplication();
    cAbstractTool* path = (*toolSet)[ToolId::Path];
    const bool wasSecondary = secondaryTool == path;
    if (secondaryTool) {
        secondaryTool->deactivate();
        secondaryTool = nullptr;
    }
    if (activeTool != path) {
        if (activeTool) activeTool->deactivate();
        activeTool = path;
        path->activate(focusView);
    }
    if (!wasSecondary) {
        if (MapWorld** map = App_GetActiveMap(); map && *map) Map_SelectNone(*map);
        notifySelectionChanged();
    }
    statusBar()->showMessage(tr("Shift+Click to add path nodes"), 5000);
    finishToolSwitch();
}

void cMainWindow::toolTextureApplication() {
    if (!toolSet) return;
    cAbstractTool* texture = (*toolSet)[ToolId::Texture];
    if (faceDialogVisible(this) && activeTool == texture) {
        exitTextureApplication();
        return;
    }
    if (objectPropertiesDialog && objectPropertiesDialog->isVisible()) objectPropertiesDialog->close();
    if (!faceDialogVisible(this)) {
        faceDialog.setTextureSelection(activeChildWindow() != nullptr, false, currentTextureGroup,
                                       currentTextureName);
        faceDialog.show();
    }
    if (secondaryTool) {
        if (secondaryTool != texture) secondaryTool->deactivate();
        secondaryTool = nullptr;
    }
    if (activeTool != texture) {
        if (activeTool) activeTool->deactivate();
        activeTool = texture;
        texture->activate(focusView);
    }
    if (MapWorld** map = App_GetActiveMap(); map && *map && activeChildWindow()) {
        Map_UpdateSelectionMode(*map);
        Map_SelectionToFaces(*map);
        notifySelectionChanged();
    }
    finishToolSwitch();
    updateTextureBar(true);
    if (cChildWindow* child = activeChildWindow())
        if (child->document && child->document->world)
            faceDialog.setTarget(Map_Handle(child->document->world));
    faceDialog.raise();
    faceDialog.activateWindow();
}

// The button applies without switching tools.
void cMainWindow::toolApplyTexture() {
    if (!activeChildWindow()) return;
    MapWorld** map = App_GetActiveMap();
    if (!map || !*map) return;
    if (faceDialogVisible(this)) {
        faceDialog.exec_on_applyTexture(*map, 0, 3, false);
        return;
    }
    if (currentTextureName.isEmpty()) return;
    Map_CmdApplyTexture(*map, currentTextureName.toUtf8().constData());
}

void cMainWindow::exitTextureApplication() {
    if (faceDialogVisible(this)) {
        // Closing the dialog leaves the mode; its close handling calls here again.
        faceDialog.close();
        return;
    }
    if (!settings.KeepHideMask) settings.HideMask &= ~0x8;
    if (!toolSet) return;
    cAbstractTool* texture = (*toolSet)[ToolId::Texture];
    if (activeTool != texture && secondaryTool != texture) return;
    activeTool = (*toolSet)[ToolId::Selection];
    selectNoneEverywhere(this);
}

void cMainWindow::deselectPathNodes() {
    for (MapDocument* document : std::as_const(documents)) {
        MapWorld* world = document->world;
        if (!world) continue;
        while (world->selectedNodes)
            Map_DeselectObject(world, world->selectedNodes);
        Map_UpdateSelectionSummary(world);
    }
}

void cMainWindow::notifySelectionChanged(cCanvas* view) {
    if (view && toolSet)
        for (auto& tool : toolSet->tools)
            if (tool) tool->refresh(view);
    Tool_UpdateActions(0x115);
    // Commands like Select None change the selection without a summary: the shown properties
    // would otherwise still edit the objects that were deselected.
    updateObjectProperties();
}
