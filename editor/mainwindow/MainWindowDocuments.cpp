// The main window's close and the map documents it holds.
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include "core/System.h"
#include "dialogs/application/NamedDialogs.h"
#include "core/TextEncoding.h"
#include "dialogs/application/RunMapOutput.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "kstdlib/kstdlib.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MapWindowFit.h"
#include "document/WorldRefresh.h"
#include "mainwindow/SettingsFile.h"
#include "views/ChildWindow.h"
#include "views/ViewState.h"

void cMainWindow::closeEvent(QCloseEvent* event) {
    // A run returns into this window: close once it has.
    if (runMapOutput && runMapOutput->isRunning()) {
        event->ignore();
        if (runMapOutput->askInterrupt()) runMapOutput->afterRun([this] { close(); });
        return;
    }
    // No view draws while its window closes (save prompts would repaint half-gone windows).
    View_ClosingWindows = 1;
    const QList<MapDocument*> open = documents;
    for (MapDocument* document : open) {
        if (!closeDocument(document)) {
            View_ClosingWindows = 0;
            event->ignore();
            return;
        }
    }
    View_ClosingWindows = 0;
    exitTextureApplication();
    if (objectPropertiesDialog) objectPropertiesDialog->close();
    writeSettings();
    saveCommandInterface();
    event->accept();
}

MapDocument* cMainWindow::openFile(const QString& path) {
    auto* document = new MapDocument;
    Project_Construct(document);
    if (!Project_Load(document, path, nullptr)) {
        Sys_Warning("Could not open \"%s\"", Text_ToWindows1251(path).constData());
        Project_Destroy(document);
        delete document;
        return nullptr;
    }
    documents.append(document);
    if (mdiArea) {
        cChildWindow* child = createChildWindow(document);
        // Fit the views to the map once the window has its size.
        QPointer<cChildWindow> guard(child);
        QTimer::singleShot(0, this, [guard, document] {
            if (guard && guard->document == document) MapWindow_FitToWorld(guard, document->world);
        });
    }
    addRecentFile(QFileInfo(path).absoluteFilePath());
    return document;
}

bool cMainWindow::closeDocument(MapDocument* document) {
    if (!documents.contains(document)) return true;
    if (!Project_CloseAllWindows(document)) return false;
    documents.removeAll(document);
    faceDialog.dropTarget(document->world);
    if (mdiArea) {
        for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
            auto* child = qobject_cast<cChildWindow*>(sub->widget());
            if (child && child->document == document) delete sub;
        }
    }
    Project_Destroy(document);
    delete document;
    return true;
}

void cMainWindow::closeEmptyDocuments() {
    const QList<MapDocument*> open = documents;
    for (MapDocument* document : open) {
        if (!document->windows.isEmpty()) continue;
        documents.removeAll(document);
        faceDialog.dropTarget(document->world);
        Project_Destroy(document);
        delete document;
    }
}

cChildWindow* cMainWindow::createChildWindow(MapDocument* document) {
    auto* child = new cChildWindow(document);
    child->buildLayout(-1);
    QMdiSubWindow* sub = mdiArea->addSubWindow(child, Qt::WindowFlags());
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The sub-window's close key would compete with the editor's own shortcuts.
    if (QMenu* menu = sub->systemMenu())
        for (QAction* action : menu->actions())
            if (action->shortcut().matches(QKeySequence(QKeySequence::Close)) == QKeySequence::ExactMatch)
                action->setShortcut(QKeySequence());
    connect(sub, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, [this] { closeEmptyDocuments(); }); });
    sub->showMaximized();
    mdiArea->setActiveSubWindow(sub);
    return child;
}

cChildWindow* cMainWindow::activeChildWindow() const {
    if (!mdiArea) return nullptr;
    QMdiSubWindow* sub = mdiArea->activeSubWindow();
    if (!sub) sub = mdiArea->currentSubWindow();
    return sub ? qobject_cast<cChildWindow*>(sub->widget()) : nullptr;
}
