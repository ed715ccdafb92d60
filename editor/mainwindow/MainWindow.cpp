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
#include "core/NotAvailable.h"
#include "core/Winding.h"
#include "dialogs/application/NamedDialogs.h"
#include "core/Prompt.h"
#include "dialogs/application/PluginDialog.h"
#include "dialogs/application/SelectGameCfgDialog.h"
#include "dialogs/application/WaitDialog.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "document/MapDocument.h"
#include "document/UndoHistory.h"
#include "gamedata/EffectBatch.h"
#include "tools/ToolSet.h"
#include "views/ChildWindow.h"
#include "views/ColorScheme.h"
#include "mainwindow/ConsoleSink.h"
#include "map/Decal.h"

cMainWindow* g_mainWindow = nullptr;

cMainWindow::cMainWindow(WindowMode mode) : toolSet(std::make_unique<ToolSet>()) {
    g_mainWindow = this;
    Prompt_SetGameConfigChooser(App_ChooseGameConfig);
    Wait_SetWindowFactory(App_OpenWaitDialog);
    if (mode == WindowMode::Interactive)
        Prompt_SetPreferencesOpener([](int32_t page) { g_mainWindow->execPreferences(page); });
    // Effects may be evaluated as soon as the first plugin registers one.
    Shader_InitTables();
    if (mode == WindowMode::Interactive) {
        buildInteractive();
        activeTool = (*toolSet)[ToolId::Selection];
    }
}

cMainWindow::~cMainWindow() {
    delete autosaveTimer;
    autosaveTimer = nullptr;
    if (mdiArea) {
        qApp->removeEventFilter(this);
        // Views go while the documents and managers they draw from still exist.
        const QList<MapDocument*> open = documents;
        for (MapDocument* document : open) {
            document->saveAsked = true;
            closeDocument(document);
        }
        delete mdiArea;
        mdiArea = nullptr;
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
    // File look-ups must not reach this window's configurations any more.
    Sys_FileLookup() = FileLookupConfig();
    // The pools live for the whole run; what they hold now is only recycled records.
    cWinding::FreePools();
    Undo_FreePools();
    Decal_FreePool();
    if (g_mainWindow == this) {
        g_mainWindow = nullptr;
        Prompt_SetGameConfigChooser(nullptr);
        Prompt_SetPreferencesOpener(nullptr);
        Wait_SetWindowFactory(nullptr);
    }
}

void cMainWindow::printToConsole(const QString& text, bool asHtml, bool bold) {
    QString line = text;
    if (!asHtml) line.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    if (bold) line = QStringLiteral("<b>%1</b>").arg(line);
    Console_Feed(line);
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

void cMainWindow::updateRecentFilesMenu() {
    recentFiles.removeIf([](const QString& path) { return !QFileInfo::exists(path); });
}

void cMainWindow::addRecentFile(const QString& path) {
    recentFiles.removeAll(path);
    recentFiles.prepend(path);
    updateRecentFilesMenu();
}

void cMainWindow::applySchemePalette() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    static bool schemeSet = false;
    static QPalette startPalette;
    const QColor colour = Color_GetQColor(0);
    if (colour.red() == 0 && colour.green() == 0 && colour.blue() == 0) {
        if (schemeSet) QApplication::setPalette(startPalette);
        return;
    }
    if (!schemeSet) startPalette = QApplication::palette();
    schemeSet = true;
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
    Dialog_DiscardLeftOpen();
    if (App_WaitCursorCount() > waitCursors) App_EndWaitCursor();
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

namespace {
QString& baseDirectoryOverride() {
    static QString dir;
    return dir;
}
} // namespace

void App_SetBaseDirectory(const QString& dir) {
    baseDirectoryOverride() = dir;
}

QString App_BaseDirectoryFor(const QString& programFolder) {
    if (programFolder.endsWith(QLatin1String("system"), Qt::CaseInsensitive) ||
        programFolder.endsWith(QLatin1String("system64"), Qt::CaseInsensitive))
        return programFolder + QStringLiteral("/../sdk");
    return programFolder;
}

QString App_GetBaseDirectory() {
    if (!baseDirectoryOverride().isEmpty()) return baseDirectoryOverride();
    if (!QCoreApplication::instance()) return QString();
    return App_BaseDirectoryFor(QCoreApplication::applicationDirPath());
}
