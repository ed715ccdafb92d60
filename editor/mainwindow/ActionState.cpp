// Keeping the commands in step with the editor: enabled, visible, checked and undo texts; the
// class submenus of "Create" and "Tie to entity"; the colour-scheme submenu; retranslation.
#include <QActionGroup>
#include <QDockWidget>
#include <QMdiArea>
#include <QMenu>
#include <QSettings>
#include <QToolBar>

#include "core/TextEncoding.h"
#include "dialogs/editing/EntityHelpDialog.h"
#include "dialogs/editing/EntityListDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/Clipboard.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "map/ObjectRecords.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

// What the commands depend on, computed once per refresh.
struct ActionConditions {
    bool detail = false, effects = false, curves = false, decals = false, hulls = false, viewer = false;
    bool cut = false, paste = false;
    bool undoOn = false, canUndo = false, canRedo = false;
    QString undoName, redoName;
    bool group = false, transform = false, connect = false;
    bool reload = false, view = false, sky = false, drawSky = false, incremental = false;
};

bool clipboardHoldsObjects(const Clipboard* clipboard) {
    return clipboard && (clipboard->entities || clipboard->worldBrushes || clipboard->groupCopies);
}

// One command group of the mask table: the object names and what to do with each action.
struct ActionRule {
    int mask;
    std::initializer_list<const char*> names;
    void (*apply)(QAction* action, const ActionConditions& c);
};

const ActionRule kRules[] = {
    {0x1, {"EditCut", "EditCopy"}, [](QAction* a, const ActionConditions& c) { a->setEnabled(c.cut); }},
    {0x1, {"EditPaste", "EditPaste2"}, [](QAction* a, const ActionConditions& c) { a->setEnabled(c.paste); }},
    {0x2,
     {"EditUndo"},
     [](QAction* a, const ActionConditions& c) {
         a->setText(c.canUndo ? cMainWindow::tr("&Undo %1").arg(c.undoName) : cMainWindow::tr("Can't undo"));
         a->setEnabled(c.canUndo);
     }},
    {0x2,
     {"EditRedo"},
     [](QAction* a, const ActionConditions& c) {
         a->setText(c.canRedo ? cMainWindow::tr("&Redo %1").arg(c.redoName) : cMainWindow::tr("Can't redo"));
         a->setEnabled(c.canRedo);
     }},
    {0x2,
     {"EditNoUndo"},
     [](QAction* a, const ActionConditions& c) {
         a->setText(c.undoOn ? cMainWindow::tr("Disabl&e Undo/Redo") : cMainWindow::tr("Enabl&e Undo/Redo"));
     }},
    {0x4,
     {"ToolsGroup", "ToolsUngroup"},
     [](QAction* a, const ActionConditions& c) { a->setEnabled(c.group); }},
    {0x8,
     {"ToolsMakeStruct", "ToolsMakeDetail", "ToolsMakeSep", "ViewDetail"},
     [](QAction* a, const ActionConditions& c) { a->setVisible(c.detail); }},
    {0x20, {"ToolsShdEdit"}, [](QAction* a, const ActionConditions& c) { a->setVisible(c.effects); }},
    {0x40,
     {"CurveSelect", "ViewCurves"},
     [](QAction* a, const ActionConditions& c) { a->setVisible(c.curves); }},
    {0x10,
     {"ToolsTransform", "ToolsAlignL", "ToolsAlignR", "ToolsAlignT", "ToolsAlignB", "ToolsFlipH",
      "ToolsFlipV", "ToolsRotA", "ToolsRotC"},
     [](QAction* a, const ActionConditions& c) { a->setEnabled(c.transform); }},
    {0x10, {"ToolsEntConn"}, [](QAction* a, const ActionConditions& c) { a->setEnabled(c.connect); }},
    {0x100,
     {"ViewOpenModel"},
     [](QAction* a, const ActionConditions& c) {
         a->setVisible(c.viewer);
         a->setEnabled(c.view);
     }},
    {0x100, {"ViewReloadModel"}, [](QAction* a, const ActionConditions& c) { a->setEnabled(c.reload); }},
    {0x200,
     {"MapLoadHull", "MapUnloadHull"},
     [](QAction* a, const ActionConditions& c) { a->setVisible(c.hulls); }},
    {0x400,
     {"ViewSky"},
     [](QAction* a, const ActionConditions& c) {
         a->setChecked(c.sky && c.drawSky);
         a->setEnabled(c.sky);
     }},
    {0x800, {"FileSaveIncr"}, [](QAction* a, const ActionConditions& c) { a->setEnabled(c.incremental); }},
};

} // namespace

void cMainWindow::updateActions(int mask) {
    ActionConditions c;
    if (const MapProfileRecord* profile = gameConfigs.currentProfile) {
        const uint32_t bits = profile->capabilities;
        c.detail = profile->contentMask != 0;
        c.effects = bits & 0x1;
        c.curves = bits & 0x40;
        c.decals = bits & (0x20 | 0x80);
        c.hulls = bits & 0x4000;
    }
    c.viewer = gameConfigs.current && !gameConfigs.current->ModelViewer.trimmed().isEmpty();
    if ((mask & 0x40) && curveMenu) curveMenu->menuAction()->setVisible(c.curves);

    cChildWindow* child = activeChildWindow();
    MapDocument* document = child ? child->document : nullptr;
    if (document && document->world) {
        const MapWorld* world = document->world;
        const bool selection = world->selectedEntities || world->selectedBrushes;
        c.cut = selection;
        c.paste = clipboardHoldsObjects(&clipboard);
        if (const UndoHistory* history = document->undo) {
            c.undoOn = history->enabled;
            c.canUndo = c.undoOn && history->undoChain;
            c.canRedo = c.undoOn && history->redoChain;
            if (c.canUndo) c.undoName = Text_FromWindows1251(history->undoChain->name);
            if (c.canRedo) c.redoName = Text_FromWindows1251(history->redoChain->name);
        }
        c.group = selection && !settings.IgnoreGroups && Tool_Id(activeTool) != ToolId::Texture;
        c.transform = selection;
        int32_t entities = 0;
        const EntityRecord* only = nullptr;
        for (const EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
            ++entities;
            only = e;
            if (e->modelKind == EntityModelKind::Model) c.reload = true;
        }
        c.connect = entities == 2;
        c.view = c.viewer && entities == 1 && only->modelKind == EntityModelKind::Model;
        c.drawSky = settings.DrawSky;
        c.sky = focusView && focusView->format().stencilBufferSize() > 0;
        c.incremental = !document->isNew;
    }

    for (QAction* action : std::as_const(actionList)) {
        const QString name = action->objectName();
        if (name.isEmpty()) continue;
        for (const ActionRule& rule : kRules) {
            if (!(mask & rule.mask)) continue;
            for (const char* ruleName : rule.names)
                if (name == QLatin1String(ruleName)) rule.apply(action, c);
        }
    }
    if (mask & 0x80)
        for (QAction* action : std::as_const(toolActions))
            if (action->objectName() == QLatin1String("ToolDec")) action->setVisible(c.decals);
}

void cMainWindow::buildClassSubmenu(bool forCreate, QMenu* parent, const ClassTreeNode& node) {
    if (node.eclass) {
        const QString name = QString::fromUtf8(node.eclass->name);
        auto* action = new QAction(name, parent);
        action->setStatusTip(name);
        if (forCreate)
            connect(action, SIGNAL(triggered()), this, SLOT(cmdEditCreateObjectEx()));
        else
            connect(action, SIGNAL(triggered()), this, SLOT(cmdToolsTieToEntityEx()));
        (forCreate ? createEntries : tieEntries).append(action);
        parent->addAction(action);
        return;
    }
    QMenu* into = parent;
    if (!node.name.isEmpty()) {
        into = parent->addMenu(QString::fromUtf8(node.name));
        into->setSeparatorsCollapsible(false);
        (forCreate ? createSubmenus : tieSubmenus).append(into);
        (forCreate ? createEntries : tieEntries).append(into->menuAction());
    }
    for (const ClassTreeNode& child : node.children)
        buildClassSubmenu(forCreate, into, child);
}

namespace {

// The menu that holds the action (the first one when it is in several).
QMenu* holderOf(QAction* action) {
    for (QObject* widget : action->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(widget)) return menu;
    return nullptr;
}

QAction* findNamed(const QList<QAction*>& actions, const char* name) {
    for (QAction* action : actions)
        if (action->objectName() == QLatin1String(name)) return action;
    return nullptr;
}

} // namespace

// One of the two class menus: empties it and builds it again from the tree.
static void fillClassMenu(cMainWindow* window, bool forCreate) {
    GameConfig* config = window->gameConfigs.current;
    if (!config) return;
    QAction*& placeholder = forCreate ? window->createPlaceholder : window->tiePlaceholder;
    if (!placeholder)
        placeholder =
            findNamed(window->actionList, forCreate ? "EditCreatePlaceholder" : "ToolsToEntityPlaceholder");
    if (!placeholder) return;
    QList<QAction*>& entries = forCreate ? window->createEntries : window->tieEntries;
    QList<QMenu*>& submenus = forCreate ? window->createSubmenus : window->tieSubmenus;
    for (QAction* entry : std::as_const(entries))
        if (!entry->menu()) delete entry;
    // Submenus go last: deleting one deletes its own entries.
    qDeleteAll(submenus);
    entries.clear();
    submenus.clear();
    QMenu* menu = holderOf(placeholder);
    if (!menu) return;
    window->buildClassSubmenu(forCreate, menu, forCreate ? config->pointClassTree : config->solidClassTree);
    if (forCreate)
        window->createEntriesShown = true;
    else
        window->tieMenuBuilt = true;
}

void cMainWindow::fillCreateObjectMenu() {
    fillClassMenu(this, true);
}

void cMainWindow::fillTieToEntityMenu() {
    fillClassMenu(this, false);
}

void cMainWindow::updateCreateActions(const QString& className, int flags) {
    const GameConfig* config = gameConfigs.current;
    if (flags & (0x2 | 0x4)) {
        const QString title = config ? config->Title : QString();
        if (title != classMenuConfigTitle) {
            classMenuConfigTitle = title;
            if (flags & 0x2) fillCreateObjectMenu();
            if (flags & 0x4) fillTieToEntityMenu();
        }
    }
    const bool hide = flags & 0x1;
    if (hide == createEntriesShown) {
        for (QAction* entry : std::as_const(createEntries))
            entry->setVisible(!hide);
        if (createPlaceholder) createPlaceholder->setVisible(!hide);
        createEntriesShown = !hide;
    }
    if ((flags & 0x4) || className != createClassName) {
        createClassName = className;
        const QString solid = config ? config->DefaultSolidClass : QString();
        for (QAction* action : std::as_const(actionList)) {
            if (action->objectName() == QLatin1String("EditCreate"))
                action->setText(className.isEmpty() ? tr("Create &Object") : tr("Create %1").arg(className));
            else if ((flags & 0x4) && action->objectName() == QLatin1String("ToolsToEntityContext"))
                action->setText(solid.isEmpty() ? tr("&Tie to entity") : tr("&Tie to %1").arg(solid));
        }
    }
}

void cMainWindow::createColorSchemeMenu() {
    if (!colorSchemeMenu) return;
    // The schemes come from the user's file when it has them, else from the shipped copy.
    QSettings file(colorSchemeFile(), QSettings::IniFormat);
    auto* group = new QActionGroup(colorSchemeMenu);
    group->setExclusive(true);
    auto add = [&](const QString& title, int index) {
        auto* action = new QCustomAction(colorSchemeMenu);
        action->setText(title);
        action->setCheckable(true);
        action->setChecked(settings.CurrentColorScheme == index);
        action->index = index;
        group->addAction(action);
        connect(action, SIGNAL(triggered()), this, SLOT(applyColorScheme()));
        colorSchemeActions.append(action);
        return action;
    };
    int found = 0;
    for (;; ++found) {
        file.beginGroup(QStringLiteral("ColorScheme%1").arg(found));
        const bool named = file.contains(QStringLiteral("Title"));
        const QString title = file.value(QStringLiteral("Title")).toString();
        file.endGroup();
        if (!named) break;
        add(title, found);
    }
    if (found) colorSchemeMenu->addSeparator();
    QCustomAction* custom = add(Action_Translate(QStringLiteral("&Custom...")), -1);
    custom->sourceText = QStringLiteral("&Custom...");
    actionList.append(custom);
}

void cMainWindow::retranslateAll() {
    if (mdiArea) mdiArea->setStatusTip(tr("For Help, press F1"));
    retranslateConsoleDock();
    retranslateObjectsDock();
    retranslateTexturesDock();
    retranslateVisGroupsDock();
    fillObjectCategories();
    updateSnapGridStatus();
    for (MapDocument* document : std::as_const(documents))
        for (cChildWindow* window : std::as_const(document->windows))
            window->retranslateCanvases();
    if (cChildWindow* child = activeChildWindow())
        if (child->document && child->document->world)
            App_SetStatusText(this, Map_SelectionSummaryText(child->document->world), 2);
    for (const QList<QMenu*>* list : {&menus, &contextSubmenus})
        for (QMenu* menu : *list)
            if (!menu->objectName().isEmpty())
                menu->setTitle(QCoreApplication::translate("QMenu", menu->objectName().toUtf8().constData()));
    for (const QList<QAction*>* list : {&actionList, &toolActions})
        for (QAction* entry : *list)
            if (auto* action = qobject_cast<QCustomAction*>(entry)) action->retranslate();
    for (QToolBar* bar : std::as_const(toolBars))
        bar->setWindowTitle(Action_Translate(bar->objectName()));
    if (objectPropertiesDialog) objectPropertiesDialog->retranslate();
    if (entityListDialog) entityListDialog->retranslate();
    if (entityHelpDialog) entityHelpDialog->retranslate();
    faceDialog.retranslate();
    updateActions(0x2);
}
