// The main window's console and its hooks for the core services.
#include "mainwindow/MainWindow.h"

#include <QCoreApplication>

#include "core/Winding.h"
#include "document/UndoHistory.h"
#include "mainwindow/ConsoleSink.h"
#include "map/Decal.h"

cMainWindow* g_mainWindow = nullptr;

cMainWindow::cMainWindow() {
    g_mainWindow = this;
}

cMainWindow::~cMainWindow() {
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

QString App_GetBaseDirectory() {
    if (!QCoreApplication::instance()) return QString();
    const QString dir = QCoreApplication::applicationDirPath();
    if (dir.endsWith(QLatin1String("system")) || dir.endsWith(QLatin1String("system64")))
        return dir + QStringLiteral("/../sdk");
    return dir;
}
