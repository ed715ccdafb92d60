// View commands: the display switches, the layout of the active view, autosizing and the hidden
// objects' commands.
#include <QAction>
#include <QFileInfo>
#include <QStatusBar>

#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/GameConfig.h"
#include "gamedata/ModelCache.h"
#include "map/MapEntity.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapObject.h"
#include "map/ObjectRecords.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// One display switch: the setting, the views it repaints and its status text ("%1" on or off).
struct DisplaySwitch {
    bool MainSettings::*setting;
    int mask;
    const char* status;
    // Carries the new value to the open documents' objects (none: the views read the setting).
    void (cMainWindow::*apply)() = nullptr;
};

void toggleDisplay(cMainWindow* window, QObject* sender, const DisplaySwitch& row) {
    bool& value = window->settings.*row.setting;
    if (auto* action = qobject_cast<QAction*>(sender)) {
        value = action->isChecked();
        if (row.apply) (window->*row.apply)();
        window->updateAllViews(row.mask);
    }
    const QString state = value ? cMainWindow::tr("on") : cMainWindow::tr("off");
    window->statusBar()->showMessage(cMainWindow::tr(row.status).arg(state), 5000);
}

// The active view becomes the type; camera layouts also set the render mode, 2D ones keep theirs.
void setViewLayout(cMainWindow* window, int type, int mode) {
    cCanvas* view = window->focusView;
    if (view) {
        if (type != ViewType::Camera) mode = view->renderMode < 0 ? 0 : view->renderMode;
        view->setViewType(type, mode);
        view->needsFullRedraw = true;
        view->repaint();
        if (view->childWindow) view->childWindow->storeViewLayout();
    }
    window->updateViewModeActions();
}

} // namespace

namespace {

MapDocument* activeDocument(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child && child->document && child->document->world ? child->document : nullptr;
}

// After hiding: hidden objects leave the selection, the tools and the visgroups learn of it.
void afterHiding(cMainWindow* window, MapDocument* document) {
    Map_DeselectHidden(document->world);
    window->notifySelectionChanged(window->focusView);
    Map_UpdateVisGroupStates(document->world);
    window->updateVisGroupList();
    Project_RedrawViews(document, 3);
}

} // namespace

// The world entity is never hidden.
void cMainWindow::cmdViewHideSelection() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    MapWorld* world = document->world;
    if (!world->selectedEntities && !world->selectedBrushes) return;
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        if (e != world->entities) e->flags |= RecordFlag::Hidden;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        b->flags |= RecordFlag::Hidden;
    for (GroupRecord* g = world->selectedGroups; g; g = g->selNext)
        g->flags |= RecordFlag::Hidden;
    afterHiding(this, document);
}

void cMainWindow::cmdViewHideNotSelection() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    MapWorld* world = document->world;
    if (!world->selectedEntities && !world->selectedBrushes) return;
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if (e != world->entities && !(e->flags & RecordFlag::Selected)) e->flags |= RecordFlag::Hidden;
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            if (!(b->flags & RecordFlag::Selected)) b->flags |= RecordFlag::Hidden;
    }
    afterHiding(this, document);
}

void cMainWindow::cmdViewShowHidden() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    MapWorld* world = document->world;
    int entities = 0, brushes = 0, groups = 0;
    auto reveal = [](uint32_t& flags, int& count) {
        if (!(flags & RecordFlag::Hidden)) return;
        flags &= ~RecordFlag::Hidden;
        ++count;
    };
    for (EntityRecord* e = world->entities; e; e = e->next) {
        reveal(e->flags, entities);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            reveal(b->flags, brushes);
    }
    for (GroupRecord* g = world->groups; g; g = g->next)
        reveal(g->flags, groups);
    if (!entities && !brushes && !groups) {
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning, tr("There are no hidden objects."));
        return;
    }
    Sys_Printf("%i object(s) revealed (%i entities, %i brushes and %i groups)\n", entities + brushes + groups,
               entities, brushes, groups);
    Map_UpdateVisGroupStates(world);
    updateVisGroupList();
    Project_RedrawViews(document, 3);
}

// From the action: its check state and the 3D views repainted; from a view's key: the setting
// flips and the action follows.
void cMainWindow::cmdViewToggleGridUV() {
    if (auto* action = qobject_cast<QAction*>(sender())) {
        settings.EnableGridUV = action->isChecked();
        updateAllViews(2);
        return;
    }
    settings.EnableGridUV = !settings.EnableGridUV;
    setActionChecked(QStringLiteral("ViewGridUV"), settings.EnableGridUV);
}

namespace {

// The viewer command of the active map's game configuration; empty without one.
QString modelViewer(const cMainWindow* window, MapDocument** document) {
    cChildWindow* child = window->activeChildWindow();
    *document = child && child->document && child->document->world ? child->document : nullptr;
    if (!*document || !(*document)->gameConfig) return QString();
    return (*document)->gameConfig->ModelViewer.trimmed();
}

const ModelCacheEntry* attachedModel(const EntityRecord* entity) {
    if (entity->modelKind != EntityModelKind::Model || !entity->model) return nullptr;
    return static_cast<const ModelCacheEntry*>(entity->model->entry);
}

} // namespace

// The viewer is started directly (no shell) with the model's path as one argument.
void cMainWindow::cmdViewOpenModel() {
    MapDocument* document = nullptr;
    const QString viewer = modelViewer(this, &document);
    if (viewer.isEmpty()) return;
    const EntityRecord* entity = document->world->selectedEntities;
    if (!entity) return;
    const ModelCacheEntry* model = entity->selNext ? nullptr : attachedModel(entity);
    if (!model) {
        Sys_Warning("%s doesn't have a model attached", entity->classname ? entity->classname : "");
        return;
    }
    const QString path = Model_PathOfModel(&models, model).trimmed();
    const QByteArray shown = Text_ToWindows1251(path);
    if (path.isEmpty()) {
        Sys_Warning("empty model name");
        return;
    }
    if (!QFileInfo(path).isAbsolute()) {
        Sys_Warning("model file \"%s\" doesn't exist", shown.constData());
        return;
    }
    // Only the configured switches are split; the path goes in as one argument, whatever it holds.
    QString program, switches;
    Sys_SplitSwitches(viewer, program, switches);
    QStringList arguments = Sys_SplitArguments(switches, program);
    arguments.append(path);
    Sys_Printf("Viewing: \"%s\"\n", shown.constData());
    Sys_Spawn(program, arguments, false);
}

void cMainWindow::cmdViewReloadModel() {
    MapDocument* document = nullptr;
    if (modelViewer(this, &document).isEmpty()) return;
    for (EntityRecord* entity = document->world->selectedEntities; entity; entity = entity->selNext)
        if (attachedModel(entity)) entity->handle->rebuildModel(true);
    Project_RedrawViews(document, 3);
}

void cMainWindow::cmdView2DXY() {
    setViewLayout(this, ViewType::Top, 0);
}
void cMainWindow::cmdView2DYZ() {
    setViewLayout(this, ViewType::Front, 0);
}
void cMainWindow::cmdView2DXZ() {
    setViewLayout(this, ViewType::Side, 0);
}
void cMainWindow::cmdView3DWireframe() {
    setViewLayout(this, ViewType::Camera, 0);
}
void cMainWindow::cmdView3DFilled() {
    setViewLayout(this, ViewType::Camera, 1);
}
void cMainWindow::cmdView3DTextured() {
    setViewLayout(this, ViewType::Camera, 2);
}
void cMainWindow::cmdView3DShadedTextured() {
    setViewLayout(this, ViewType::Camera, 3);
}

void cMainWindow::cmdViewAutosize() {
    cChildWindow* child = activeChildWindow();
    if (!child) return;
    child->updateSplitterSizes();
    child->refreshCanvases();
    for (cCanvas* view : child->views) {
        view->needsFullRedraw = true;
        view->update();
    }
}

void cMainWindow::cmdViewToggleConnections() {
    toggleDisplay(this, sender(), {&MainSettings::ShowConnections, 3, QT_TR_NOOP("Entity connections %1")});
}
void cMainWindow::cmdViewToggleModels2D() {
    toggleDisplay(this, sender(), {&MainSettings::DrawModels, 1, QT_TR_NOOP("2D rendition of models %1")});
}
void cMainWindow::cmdViewToggleNodraw() {
    toggleDisplay(this, sender(),
                  {&MainSettings::DrawNoDraw, 2, QT_TR_NOOP("3D rendition of nodraw faces %1")});
}
void cMainWindow::cmdViewToggleHint() {
    toggleDisplay(this, sender(), {&MainSettings::DrawHint, 2, QT_TR_NOOP("3D rendition of hint faces %1")});
}
void cMainWindow::cmdViewToggleClip() {
    toggleDisplay(this, sender(), {&MainSettings::DrawClip, 2, QT_TR_NOOP("3D rendition of clip faces %1")});
}
void cMainWindow::cmdViewToggleTrigger() {
    toggleDisplay(this, sender(),
                  {&MainSettings::DrawTrigger, 2, QT_TR_NOOP("3D rendition of trigger faces %1")});
}
void cMainWindow::cmdViewToggleShaderAnimations() {
    toggleDisplay(this, sender(), {&MainSettings::AnimateShaders, 2, QT_TR_NOOP("Effect animations %1")});
}
void cMainWindow::cmdViewToggleSky() {
    toggleDisplay(this, sender(), {&MainSettings::DrawSky, 2, QT_TR_NOOP("Dynamic sky %1")});
}
void cMainWindow::cmdViewToggleTexTrans() {
    toggleDisplay(this, sender(),
                  {&MainSettings::TextureTransparency, 2, QT_TR_NOOP("Transparency of special textures %1"),
                   &cMainWindow::applyTextureTransparency});
}
void cMainWindow::cmdViewToggleEntTrans() {
    toggleDisplay(this, sender(),
                  {&MainSettings::EntityTransparency, 2, QT_TR_NOOP("Transparency of entities %1"),
                   &cMainWindow::applyEntityTransparency});
}
