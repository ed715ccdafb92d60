// The main window's side of the vertex tool: the morph-mode question of the commands that may not
// run while the tool morphs, and the quiet end of morph mode before a document goes away.
#include "core/Prompt.h"
#include "mainwindow/MainWindow.h"
#include "tools/ToolSet.h"
#include "tools/VertexTool.h"
#include "views/Canvas.h"

namespace {

cVertexTool* vertexToolOf(const cMainWindow* window) {
    return window->toolSet ? window->toolSet->get<cVertexTool>(ToolId::Vertex) : nullptr;
}

} // namespace

// For the commands, morph mode lasts as long as the vertex tool is the active or the secondary
// tool, whether or not it has changed geometry yet.
bool cMainWindow::inMorphMode() const {
    return Tool_Id(activeTool) == ToolId::Vertex || Tool_Id(secondaryTool) == ToolId::Vertex;
}

bool cMainWindow::confirmExitMorphMode() {
    if (!inMorphMode()) return true;
    const int32_t answer = Prompt_Question(App_DialogParent(this), PromptIcon::Warning,
                                           tr("You must exit morph mode to perform this operation.\n"
                                              "Do you want to do this now?"),
                                           PromptButton::Yes | PromptButton::No);
    if (answer != PromptButton::Yes) return false;
    toolSelect();
    // A vertex tool that was only the secondary tool is not deactivated by the switch.
    if (cVertexTool* tool = vertexToolOf(this); tool && tool->morphing && tool->view)
        tool->cleanUpMorph(tool->view, false);
    return true;
}

void cMainWindow::endMorphModeFor(MapDocument* document) {
    cVertexTool* tool = vertexToolOf(this);
    if (tool && tool->morphing && tool->view && tool->view->document() == document)
        tool->cleanUpMorph(tool->view, true);
    if (tool && tool->view && tool->view->document() == document) tool->view = nullptr;
}
