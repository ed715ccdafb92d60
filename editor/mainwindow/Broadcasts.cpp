// Changes made outside a map carried to every open document, in the order the documents were
// opened: settings, colour schemes, reloaded effects and definitions, transparency toggles, the
// world size and replaced game configurations.
#include <QTimer>

#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/ShaderEditHighlighter.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "document/CullTree.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/WorldRefresh.h"
#include "gamedata/TexturePackage.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SettingsFile.h"

namespace {

// Runs the per-world pass on every open document that has a world.
void forEachWorld(const cMainWindow* window, void (*pass)(MapWorld*)) {
    if (!window) return;
    for (MapDocument* document : std::as_const(window->documents))
        if (document->world) pass(document->world);
}

} // namespace

void App_RefreshChangedShaders(cMainWindow* window) {
    forEachWorld(window, Map_RefreshTexturedFaces);
    // Cleared even without documents: the marks only mean "not yet seen by the maps".
    Tex_ClearChangedMarks();
}

void App_ApplySchemeColors(cMainWindow* window) {
    forEachWorld(window, Map_RefreshObjectColours);
    if (!window || !window->shaderEditDialog) return;
    cShaderEditScript* script = window->shaderEditDialog->script;
    if (script && script->highlighter) script->highlighter->updateFormats();
}

void App_RefreshDocumentSkies(cMainWindow* window) {
    forEachWorld(window, Map_UpdateSky);
}

void App_RebindEntityClasses(cMainWindow* window) {
    forEachWorld(window, Map_RebindEntityClasses);
}

void App_RebuildCullTrees(cMainWindow* window) {
    forEachWorld(window, Map_CreateCullTree);
}

void App_ApplyEditPreferences(cMainWindow* window) {
    const MainSettings& s = window->settings;
    window->setActionChecked(QStringLiteral("EditSelH"), s.SelectByHandles);
    window->setActionChecked(QStringLiteral("EditSelA"), s.SelectAuto);
    window->setActionChecked(QStringLiteral("EditSelM"), s.SelectMouseMove);
    if (!window->autosaveTimer) return;
    if (s.AutosaveEnable) {
        window->autosaveTimer->start(Settings_AutosaveIntervalMs(s.AutosaveDelay));
    } else {
        window->autosaveTimer->stop();
    }
}

void cMainWindow::applyTextureTransparency() {
    forEachWorld(this, Map_UpdateTextureTransparency);
}

void cMainWindow::applyEntityTransparency() {
    forEachWorld(this, Map_UpdateEntityTransparency);
}

// The renderer reads MinAlphaValue at each use, so the settings need no copy for it; each
// document binds its configuration again and takes the view settings and the undo level count.
void cMainWindow::applySettings() {
    for (MapDocument* document : std::as_const(documents))
        Project_RebindGameConfig(document);
    checkActiveState(false, false);
}

void cMainWindow::deselectHiddenObjects() {
    forEachWorld(this, Map_DeselectHidden);
    notifySelectionChanged();
}

void cMainWindow::notifySelectionChanged() {
    notifySelectionChanged(focusView);
}
