// The tool commands of the main window: switching tools, telling them the selection changed and
// handing them the create-object command.
#include <QStatusBar>

#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "mainwindow/MainWindow.h"
#include "tools/ToolSet.h"
#include "tools/ToolSupport.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// What a switch leaves before it changes tools.
constexpr int kLeaveTexture = 0x1; // texture-application mode
constexpr int kClearFaces = 0x2;   // the face selection of every open document

} // namespace

void cMainWindow::switchTool(int id, int leaveModes) {
    if (!toolSet) return;
    if (leaveModes & kLeaveTexture) exitTextureApplication();
    if (leaveModes & kClearFaces) {
        for (MapDocument* document : std::as_const(documents)) {
            MapWorld* world = document->world;
            while (world && world->selectedFaces)
                Map_DeselectObject(world, world->selectedFaces);
        }
    }
    cAbstractTool* target = (*toolSet)[id];
    if (secondaryTool) {
        if (secondaryTool != target || id == ToolId::Path) secondaryTool->deactivate();
        secondaryTool = nullptr;
    }
    if (activeTool == target) {
        if (id == ToolId::Clip || id == ToolId::Vertex) target->retrigger();
    } else {
        if (activeTool) activeTool->deactivate();
        activeTool = target;
        target->activate(focusView);
    }
    for (MapDocument* document : std::as_const(documents))
        if (document->world) Map_UpdateSelectionMode(document->world);
    updateAllViews(3);
    Tool_UpdateActions(0x8);
}

void cMainWindow::toolSelect() {
    switchTool(ToolId::Selection, kClearFaces);
}
void cMainWindow::toolEntity() {
    switchTool(ToolId::Entity, kLeaveTexture | kClearFaces);
}
void cMainWindow::toolBrush() {
    switchTool(ToolId::Brush, kLeaveTexture | kClearFaces);
}
void cMainWindow::toolTextureApplication() {
    // The surface properties dialog shows while the texture tool is active; the command toggles.
    if (toolSet && faceDialog.isVisible() && activeTool == (*toolSet)[ToolId::Texture]) {
        exitTextureApplication();
        return;
    }
    if (!faceDialog.isVisible()) {
        faceDialog.setTextureSelection(activeChildWindow() != nullptr, false, QString(), QString());
        faceDialog.show();
    }
    switchTool(ToolId::Texture, 0);
    if (cChildWindow* child = activeChildWindow())
        if (child->document && child->document->world) faceDialog.setTarget(Map_Handle(child->document->world));
    faceDialog.raise();
    faceDialog.activateWindow();
}
// Applying the current texture to the selection comes with the texture commands.
void cMainWindow::toolApplyTexture() {}
void cMainWindow::toolApplyDecals() {
    switchTool(ToolId::Decal, kLeaveTexture | kClearFaces);
}
void cMainWindow::toolClipper() {
    switchTool(ToolId::Clip, kLeaveTexture | kClearFaces);
}
void cMainWindow::toolVertexManipulation() {
    switchTool(ToolId::Vertex, kLeaveTexture | kClearFaces);
}
void cMainWindow::toolCordon() {
    switchTool(ToolId::Cordon, kLeaveTexture | kClearFaces);
}
void cMainWindow::toolPath() {
    switchTool(ToolId::Path, kLeaveTexture);
}

void cMainWindow::exitTextureApplication() {
    // Closing the dialog comes back here with the dialog hidden.
    if (faceDialog.isVisible()) {
        faceDialog.close();
        return;
    }
    if (toolSet && activeTool == (*toolSet)[ToolId::Texture]) {
        activeTool->deactivate();
        activeTool = (*toolSet)[ToolId::Selection];
        activeTool->activate(focusView);
    }
}

void cMainWindow::notifySelectionChanged(cCanvas* view) {
    if (view && toolSet)
        for (auto& tool : toolSet->tools)
            tool->refresh(view);
    Tool_UpdateActions(0x115);
}
