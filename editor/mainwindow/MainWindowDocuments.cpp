// The main window's close and the map documents it holds.
#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include "core/System.h"
#include "dialogs/application/PluginDialog.h"
#include "dialogs/application/QCustomAction.h"
#include "views/Canvas.h"
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
    // Every save question first; a Cancel keeps every map open and asks again next time.
    for (MapDocument* document : open) {
        endMorphModeFor(document); // a vertex edit in progress is part of what the question saves
        if (document->saveAsked || Project_AskSaveChanges(document)) {
            document->saveAsked = true;
            continue;
        }
        for (MapDocument* asked : open)
            asked->saveAsked = false;
        View_ClosingWindows = 0;
        event->ignore();
        return;
    }
    // Then the maps go at once: none is made current on the way as the one before it closes.
    leaving = true;
    for (MapDocument* document : open)
        closeDocument(document);
    leaving = false;
    noMapWindowLeft();
    View_ClosingWindows = 0;
    exitTextureApplication();
    if (objectPropertiesDialog) objectPropertiesDialog->close();
    writeSettings();
    saveCommandInterface();
    event->accept();
}

namespace {

// One spelling per file: the canonical path of an existing file, the cleaned absolute path of a
// missing one.
QString canonicalPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// Single independent windows cycle through the view kinds 1, 2, 3.
int g_singleViewCounter = 0;

} // namespace

MapDocument* cMainWindow::findDocument(const QString& path) const {
    if (path.isEmpty()) return nullptr;
    const QString wanted = canonicalPath(path);
    for (MapDocument* document : documents)
        if (!document->filePath.isEmpty() && canonicalPath(document->filePath) == wanted) return document;
    return nullptr;
}

MapDocument* cMainWindow::openFile(const QString& path) {
    if (MapDocument* open = findDocument(path)) {
        Sys_Printf("%s is already opened", Text_ToWindows1251(path).constData());
        Project_RaiseWindows(open);
        addRecentFile(path);
        return open;
    }
    // A plugin's importer may leave wait-cursor levels on: none survive the open.
    const int32_t waitCursors = App_WaitCursorCount();
    auto* document = new MapDocument;
    Project_Construct(document);
    if (!Project_Load(document, path, nullptr)) {
        while (App_WaitCursorCount() > waitCursors)
            App_EndWaitCursor();
        QApplication::beep();
        Project_Destroy(document);
        delete document;
        return nullptr;
    }
    Model_PurgeUnused(&models);
    openDocumentWindows(document);
    Project_ApplyCurrentCamera(document);
    documents.append(document);
    addRecentFile(path);
    if (mdiArea) {
        if (cCanvas* view = Project_FindCanvas(document, -1)) setActiveCanvas(view);
        notifySelectionChanged();
        statusBar()->showMessage(tr("File loaded"), 5000);
    }
    while (App_WaitCursorCount() > waitCursors)
        App_EndWaitCursor();
    return document;
}

int cMainWindow::openFiles(const QStringList& paths) {
    const int32_t waitCursors = App_WaitCursorCount();
    GameConfig* config = nullptr;
    int loaded = 0;
    int failed = 0;
    for (const QString& path : paths) {
        if (MapDocument* open = findDocument(path)) {
            Sys_Printf("%s is already opened", Text_ToWindows1251(path).constData());
            Project_RaiseWindows(open);
            addRecentFile(path);
            continue;
        }
        auto* document = new MapDocument;
        Project_Construct(document);
        if (!Project_Load(document, path, config)) {
            ++failed;
            Project_Destroy(document);
            delete document;
            continue;
        }
        if (loaded == 0) Model_PurgeUnused(&models);
        config = document->gameConfig;
        openDocumentWindows(document);
        Project_ApplyCurrentCamera(document);
        documents.append(document);
        addRecentFile(path);
        ++loaded;
    }
    while (App_WaitCursorCount() > waitCursors)
        App_EndWaitCursor();
    if (failed) QApplication::beep();
    if (loaded) {
        Sys_Printf("%i projects loaded", loaded);
        if (mdiArea) statusBar()->showMessage(tr("File loaded"), 5000);
    }
    return loaded;
}

void cMainWindow::openDocumentWindows(MapDocument* document) {
    if (!mdiArea) return;
    cChildWindow* before = activeChildWindow();
    // Read before the new window exists: activating it takes the maximised state from the others.
    QWidget* beforeFrame = before ? before->parentWidget() : nullptr;
    const bool beforeMaximized = beforeFrame && beforeFrame->isMaximized();
    const QSize beforeSize = beforeFrame ? beforeFrame->size() : QSize();
    auto focusFirstView = [this, document](cChildWindow* child) {
        if (cCanvas* view = child->findCanvas(-1)) {
            setActiveCanvas(view);
            view->setFocus();
        }
        // Fit the views to the map once the window has its size.
        QPointer<cChildWindow> guard(child);
        QTimer::singleShot(0, this, [guard, document] {
            if (guard && guard->document == document) MapWindow_FitToWorld(guard, document->world);
        });
    };
    // A window shown normal never had a normal size of its own: it takes the given one, or a
    // quarter of the window area at the given corner.
    auto showNormalSized = [this](QWidget* frame, QSize size, int corner) {
        frame->showNormal();
        const QSize area = mdiArea->viewport()->size();
        if (!size.isValid() || size.width() < 200 || size.height() < 150) {
            size = QSize(std::max(area.width() / 2, 200), std::max(area.height() / 2, 150));
            frame->move((corner & 1) * size.width(), (corner >> 1 & 1) * size.height());
        }
        frame->resize(size);
    };
    if (settings.IndependentWindows && settings.CreateDefaultWindows) {
        for (int kind = 0; kind < 4; ++kind) {
            cChildWindow* child = createChildWindow(document, kind);
            showNormalSized(child->parentWidget(), QSize(), kind);
            child->parentWidget()->raise();
            focusFirstView(child);
        }
        if (!before) mdiArea->tileSubWindows();
    } else {
        const bool independent = settings.IndependentWindows;
        const int kind = independent ? g_singleViewCounter++ % 3 + 1 : -1;
        cChildWindow* child = createChildWindow(document, kind);
        QWidget* frame = child->parentWidget();
        if (!before || beforeMaximized)
            frame->showMaximized();
        else
            showNormalSized(frame, beforeSize, 0);
        frame->raise();
        focusFirstView(child);
    }
    Project_RebindGameConfig(document);
}

bool cMainWindow::closeDocument(MapDocument* document) {
    if (!documents.contains(document)) return true;
    endMorphModeFor(document);
    if (!Project_CloseAllWindows(document)) return false;
    if (mdiArea) {
        for (QMdiSubWindow* sub : mdiArea->subWindowList()) {
            auto* child = qobject_cast<cChildWindow*>(sub->widget());
            if (child && child->document == document) delete sub;
        }
    }
    destroyDocument(document);
    return true;
}

void cMainWindow::destroyDocument(MapDocument* document) {
    // The clipboard's content stays; only its way back to this map goes.
    if (document->world) Clip_ForgetMap(&clipboard, &document->world->handle);
    documents.removeAll(document);
    faceDialog.dropTarget(document->world);
    closeEntityListFor(document);
    Project_Destroy(document);
    delete document;
}

void cMainWindow::addRecentFile(const QString& path) {
    // "\\" is an ordinary file-name character here: duplicates are found by the file they name.
    const QString wanted = canonicalPath(path);
    recentFiles.removeIf([&wanted](const QString& entry) { return canonicalPath(entry) == wanted; });
    recentFiles.prepend(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    updateRecentFilesMenu();
}

void cMainWindow::updateRecentFilesMenu() {
    recentFiles.removeIf([](const QString& path) { return !QFileInfo::exists(path); });
    for (int i = 0; i < int(recentFileActions.size()); ++i) {
        QCustomAction* action = recentFileActions[size_t(i)];
        if (!action) continue;
        if (i < recentFiles.size()) {
            const QFileInfo info(recentFiles[i]);
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(info.fileName()));
            action->setStatusTip(info.canonicalFilePath());
            action->setData(info.canonicalFilePath());
            action->setVisible(true);
        } else {
            action->setVisible(false);
        }
    }
    if (recentFilesSeparator) recentFilesSeparator->setVisible(!recentFiles.isEmpty());
}

void cMainWindow::openRecentFile() {
    auto* action = qobject_cast<QAction*>(sender());
    if (!action) return;
    App_FinishSplash(this);
    QCoreApplication::processEvents();
    openFile(action->data().toString());
    checkActiveState(false, true);
    updateTextureBar(false);
}

void cMainWindow::closeEmptyDocuments() {
    const QList<MapDocument*> open = documents;
    for (MapDocument* document : open) {
        if (!document->windows.isEmpty()) continue;
        endMorphModeFor(document);
        destroyDocument(document);
    }
}

cChildWindow* cMainWindow::createChildWindow(MapDocument* document, int layout) {
    auto* child = new cChildWindow(document);
    child->buildLayout(layout);
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
