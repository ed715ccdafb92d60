// The main window's console and its hooks for the core services.
#include "mainwindow/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QPalette>
#include <QSignalBlocker>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>

#include "core/FileLookup.h"
#include "core/SysHost.h"
#include "core/Winding.h"
#include "dialogs/application/NamedDialogs.h"
#include "core/Prompt.h"
#include "dialogs/application/PluginDialog.h"
#include "dialogs/application/DefaultRoomDialog.h"
#include "dialogs/application/SelectGameCfgDialog.h"
#include "dialogs/application/WaitDialog.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "document/DocumentHost.h"
#include "document/MapDocument.h"
#include "document/ProjectHooks.h"
#include "document/UndoHistory.h"
#include "gamedata/EffectBatch.h"
#include "tools/ToolSet.h"
#include "views/ChildWindow.h"
#include "render/ColorScheme.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/DialogHostImpl.h"
#include "mainwindow/DocumentHostImpl.h"
#include "mainwindow/GameDataHostImpl.h"
#include "mainwindow/MainWindowHost.h"
#include "mainwindow/PromptHostImpl.h"
#include "gamedata/GameDataHost.h"
#include "mainwindow/ToolHostImpl.h"
#include "mainwindow/ViewHostImpl.h"
#include "tools/ToolHost.h"
#include "dialogs/application/DialogHost.h"
#include "map/Decal.h"

cMainWindow* g_mainWindow = nullptr;

cMainWindow::cMainWindow(WindowMode mode) : toolSet(std::make_unique<ToolSet>()) {
    g_mainWindow = this;
    sysHost = MainWindowHost_Make(*this);
    Sys_SetHost(sysHost.get());
    Prompt_SetHost(&Prompt_WidgetHost());
    documentHost = DocumentHostImpl_Make(*this);
    Document_SetHost(documentHost.get());
    gameDataHost = GameDataHost_Make(*this);
    GameData_SetHost(gameDataHost.get());
    viewHost = ViewHostImpl_Make(*this);
    View_SetHost(viewHost.get());
    toolHost = ToolHostImpl_Make(*this);
    Tool_SetHost(toolHost.get());
    dialogHost = DialogHostImpl_Make(*this);
    Dialog_SetHost(dialogHost.get());
    Color_SetActiveScheme(&colorScheme);
    Prompt_SetGameConfigChooser(App_ChooseGameConfig);
    Project_SetDefaultRoomAsker(cDefaultRoomDialog::ask);
    Wait_SetWindowFactory(App_OpenWaitDialog);
    // Effects may be evaluated as soon as the first plugin registers one.
    Shader_InitTables();
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) initialPalette = QApplication::palette();
    if (mode == WindowMode::Interactive) {
        buildInteractive();
        activeTool = (*toolSet)[ToolId::Selection];
    }
}

cMainWindow::~cMainWindow() {
    // The application outlives the window: it gets its own palette back.
    if (paletteReplaced) QApplication::setPalette(initialPalette);
    delete autosaveTimer;
    autosaveTimer = nullptr;
    if (mdiArea) {
        leaving = true;
        qApp->removeEventFilter(this);
        // Views go while the documents and managers they draw from still exist.
        const QList<MapDocument*> open = documents;
        for (MapDocument* document : open) {
            document->saveAsked = true;
            closeDocument(document);
        }
        delete mdiArea;
        mdiArea = nullptr;
        // The docks' widgets go in QWidget's destructor, when this is no cMainWindow any more:
        // nothing they signal may reach this window's slots then.
        for (QObject* child : findChildren<QObject*>())
            disconnect(child, nullptr, this, nullptr);
    }
    Clip_Clear(&clipboard);
    deleteDialogs();
    Plugin_DestroyManager(&plugins);
    // The managers go in this order while the window is still reachable: configurations release
    // their files and archives, files release their models.
    GameCfg_DestroyManager(&gameConfigs);
    Fgd_FreeAll(&gameData);
    Sky_FreeAll(&skies);
    Model_DestroyCache(&models);
    // Not the window's child: it floats on its own.
    delete objectPropertiesDialog;
    objectPropertiesDialog = nullptr;
    // The texture leak report, while the log still reaches this window's output.
    Tex_ReleaseAll(&textures);
    // File look-ups must not reach this window's configurations any more.
    Sys_FileLookup() = FileLookupConfig();
    // The pools live for the whole run; what they hold now is only recycled records.
    cWinding::FreePools();
    Undo_FreePools();
    Decal_FreePool();
    if (g_mainWindow == this) {
        g_mainWindow = nullptr;
        Sys_SetHost(nullptr);
        Document_SetHost(nullptr);
        GameData_SetHost(nullptr);
        View_SetHost(nullptr);
        Tool_SetHost(nullptr);
        Dialog_SetHost(nullptr);
        Color_SetActiveScheme(nullptr);
        Project_SetWindowHooks({});
        Prompt_SetGameConfigChooser(nullptr);
        Project_SetDefaultRoomAsker(nullptr);
        Wait_SetWindowFactory(nullptr);
    }
}

void cMainWindow::updateAllViews(int mask) {
    for (MapDocument* document : documents)
        for (cChildWindow* window : document->windows)
            window->redrawViews(mask);
}

void cMainWindow::setActionChecked(const QString& name, bool checked) {
    for (QAction* action : std::as_const(actionList)) {
        if (action->objectName() != name || !action->isCheckable()) continue;
        const QSignalBlocker blocker(action);
        action->setChecked(checked);
    }
}

void cMainWindow::applySchemePalette() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    const QColor colour = Color_GetQColor(0);
    if (colour.red() == 0 && colour.green() == 0 && colour.blue() == 0) {
        if (paletteReplaced) QApplication::setPalette(initialPalette);
        paletteReplaced = false;
        return;
    }
    paletteReplaced = true;
    QApplication::setPalette(QPalette(colour));
}

void cMainWindow::loadPlugins() {
    Plugin_LoadAll(&plugins);
}

void cMainWindow::runPluginAction(int index) {
    if (index < 0 || index >= plugins.actions.size()) return;
    const PluginAction action = *plugins.actions[index];
    // A plugin's dialog must not open under the splash screen.
    App_FinishSplash(nullptr);
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    Sys_SwitchFileLookup(gameConfigs.current);
    const int32_t waitCursors = App_WaitCursorCount();
    action.dispatch(action.userValue);
    // The command may have written files in the game folders.
    Sys_ForgetFoundFiles();
    Dialog_DiscardLeftOpen();
    // Unwind every level the plugin left on, not only one.
    while (App_WaitCursorCount() > waitCursors)
        App_EndWaitCursor();
}

QString cMainWindow::resolveConfigFile(const QString& name, bool forWriting) const {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/zarv");
    const QString inSettings = folder + QLatin1Char('/') + name;
    if (forWriting) {
        QDir().mkpath(folder);
        return inSettings;
    }
    if (QFileInfo::exists(inSettings)) return inSettings;
    return App_GetBaseDirectory() + QLatin1Char('/') + name;
}

namespace {
MapWorld**& activeMap() {
    static MapWorld** map = nullptr;
    return map;
}
} // namespace

MapWorld** App_GetActiveMap() {
    if (g_mainWindow && g_mainWindow->mdiArea) {
        cChildWindow* child = g_mainWindow->activeChildWindow();
        return child && child->document ? &child->document->world : nullptr;
    }
    return activeMap();
}

void App_SetActiveMap(MapWorld** map) {
    activeMap() = map;
}
