// The main window's construction for the program, its close, and the map documents it holds.
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
#include "core/TextEncoding.h"
#include "dialogs/application/RunMapOutput.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "kstdlib/kstdlib.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "mainwindow/MainWindow.h"
#include "document/WorldRefresh.h"
#include "mainwindow/SettingsFile.h"
#include "views/ChildWindow.h"

void cMainWindow::buildInteractive() {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Z.A.R.V."));
    if (qstrcmp(QT_VERSION_STR, qVersion()) != 0)
        Sys_Warning("Built with Qt %s, running with Qt %s", QT_VERSION_STR, qVersion());
    App_ShowSplashMessage(QStringLiteral("Loading settings..."));
    setDefaultSettings();
    readSettings();

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* w) {
        if (w)
            lastActiveSubWindow = w;
        else if (lastActiveSubWindow && mdiArea->subWindowList().isEmpty())
            noMapWindowLeft();
        for (MapDocument* document : std::as_const(documents))
            Project_UpdateActiveViews(document);
    });
    createDocks();
    buildCommandInterface();
    createRunWindows();

    autosaveTimer = new QTimer(this);
    autosaveTimer->setInterval(Settings_AutosaveIntervalMs(settings.AutosaveDelay));
    if (settings.AutosaveEnable) autosaveTimer->start();

    App_ShowSplashMessage(QStringLiteral("Loading plugins..."));
    loadPlugins();
    // Reloaded definitions and replaced configurations reach every open map before the old ones go.
    gameData.rebindClassUsers = [this] {
        for (MapDocument* document : std::as_const(documents))
            Map_RebindEntityClasses(document->world);
    };
    gameConfigs.rebindConfigUsers = [this] {
        for (MapDocument* document : std::as_const(documents))
            Project_RebindGameConfig(document);
    };
    App_ShowSplashMessage(QStringLiteral("Loading game configurations..."));
    GameCfg_LoadConfigurations(&gameConfigs);
    qApp->installEventFilter(this);
    resize(1280, 900);
    finishCommandInterface();
}

void cMainWindow::createDocks() {
    // Empty until their panels come: the console's and the three lists.
    const char* names[] = {"console", "newobjects", "textures", "visgroups"};
    for (const char* name : names) {
        auto* dock = new QDockWidget(this);
        dock->setObjectName(QLatin1String(name));
        dock->setWidget(new QWidget(dock));
        addDockWidget(qstrcmp(name, "console") == 0 ? Qt::BottomDockWidgetArea : Qt::RightDockWidgetArea,
                      dock);
    }
}

void cMainWindow::closeEvent(QCloseEvent* event) {
    // A run returns into this window: close once it has.
    if (runMapOutput && runMapOutput->isRunning()) {
        event->ignore();
        if (runMapOutput->askInterrupt()) runMapOutput->afterRun([this] { close(); });
        return;
    }
    const QList<MapDocument*> open = documents;
    for (MapDocument* document : open) {
        if (!closeDocument(document)) {
            event->ignore();
            return;
        }
    }
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
        // Fit the 2D views to the map once the window has its size.
        QPointer<cChildWindow> guard(child);
        QTimer::singleShot(0, this, [guard, document] {
            if (!guard || guard->document != document) return;
            float mins[3], maxs[3];
            K_ClearBounds(mins, maxs);
            for (EntityRecord* e = document->world->entities; e; e = e->next) {
                if (e->flags & EntityFlag::Point) K_AddPointToBounds(e->origin, mins, maxs);
                for (BrushRecord* b = e->firstBrush; b; b = b->next) {
                    K_AddPointToBounds(b->mins, mins, maxs);
                    K_AddPointToBounds(b->maxs, mins, maxs);
                }
            }
            if (mins[0] <= maxs[0]) guard->zoomViewsToBounds(mins, maxs);
        });
    }
    addRecentFile(QFileInfo(path).absoluteFilePath());
    return document;
}

bool cMainWindow::closeDocument(MapDocument* document) {
    if (!documents.contains(document)) return true;
    if (!Project_CloseAllWindows(document)) return false;
    documents.removeAll(document);
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
