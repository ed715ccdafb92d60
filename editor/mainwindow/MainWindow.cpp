// The main window's console and its hooks for the core services.
#include "mainwindow/MainWindow.h"

#include <QCoreApplication>
#include <QWidget>

#include "core/FileLookup.h"
#include "core/NotAvailable.h"
#include "core/Winding.h"
#include "dialogs/application/PluginDialog.h"
#include "document/UndoHistory.h"
#include "mainwindow/ConsoleSink.h"
#include "map/Decal.h"

cMainWindow* g_mainWindow = nullptr;

cMainWindow::cMainWindow() {
    g_mainWindow = this;
}

cMainWindow::~cMainWindow() {
    Plugin_DestroyManager(&plugins);
    // File look-ups must not reach this window's configurations any more.
    Sys_FileLookup() = FileLookupConfig();
    // The pools live for the whole run; what they hold now is only recycled records.
    cWinding::FreePools();
    Undo_FreePools();
    Decal_FreePool();
    if (g_mainWindow == this) g_mainWindow = nullptr;
}

void cMainWindow::printToConsole(const QString& text, bool asHtml, bool bold) {
    QString line = text;
    if (!asHtml) line.replace(QLatin1Char('<'), QLatin1String("&lt;"));
    if (bold) line = QStringLiteral("<b>%1</b>").arg(line);
    Console_Feed(line);
}

void cMainWindow::updateAllViews(int mask) {}

void cMainWindow::setActionChecked(const QString& name, bool checked) {}

void cMainWindow::updateSnapGridStatus() {}

void cMainWindow::loadPlugins() {
    Plugin_LoadAll(&plugins);
}

void cMainWindow::runPluginAction(int index) {
    if (index < 0 || index >= plugins.actions.size()) return;
    const PluginAction action = *plugins.actions[index];
    if (splashScreen) {
        splashScreen->close();
        splashScreen = nullptr;
    }
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    Sys_SwitchFileLookup(gameConfigs.current);
    const int32_t waitCursors = App_WaitCursorCount();
    action.dispatch(action.userValue);
    if (App_WaitCursorCount() > waitCursors) App_EndWaitCursor();
}

void App_ShowSplashMessage(const QString& text) {
    if (g_mainWindow) g_mainWindow->splashMessage = text;
}

namespace {
MapWorld**& activeMap() {
    static MapWorld** map = nullptr;
    return map;
}
} // namespace

MapWorld** App_GetActiveMap() {
    Sys_ReportNotAvailable("App_GetActiveMap");
    return activeMap();
}

void App_SetActiveMap(MapWorld** map) {
    activeMap() = map;
}

QString App_GetBaseDirectory() {
    if (!QCoreApplication::instance()) return QString();
    const QString dir = QCoreApplication::applicationDirPath();
    if (dir.endsWith(QLatin1String("system")) || dir.endsWith(QLatin1String("system64")))
        return dir + QStringLiteral("/../sdk");
    return dir;
}
