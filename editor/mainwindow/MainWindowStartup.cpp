// The program window's construction steps, its dialogs, and what start-up does once it stands.
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalMapper>
#include <QStatusBar>
#include <QTimer>

#include "core/System.h"
#include "core/TempBuffer.h"
#include "dialogs/application/AdvertisementDialog.h"
#include "dialogs/application/NamedDialogs.h"
#include "dialogs/application/RunMapDialog.h"
#include "dialogs/application/RunMapOutput.h"
#include "dialogs/application/UpdateCheck.h"
#include "dialogs/application/UpdateCheckDialog.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "dialogs/editing/TextureBrowserDialog.h"
#include "document/MapDocument.h"
#include "document/ProjectHooks.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SettingsFile.h"
#include "tools/ToolSet.h"

void cMainWindow::buildInteractive() {
    App_InitResources();
    // Scratch buffers start empty for this window.
    TempBuffer_ReleaseAll();
    setObjectName(QStringLiteral("KDK_MainWindow"));
    setWindowTitle(tr("Z.A.R.V."));
    setWindowIcon(QIcon(QStringLiteral(":/qrc/zarv32.png")));
    createDocks();
    printToConsole(tr("%1 initialized (PE %2 build %3 %4)")
                       .arg(QStringLiteral("Z.A.R.V."), QStringLiteral("x64"), QLatin1String(__DATE__),
                            QLatin1String(__TIME__)),
                   false, true);
    if (qstricmp(QT_VERSION_STR, qVersion()) != 0)
        Sys_Warning("Qt version mismatch! Compiled with version %s, runtime version is %s", QT_VERSION_STR,
                    qVersion());
    createDialogs();
    faceDialog.createPreview();
    shaderEditDialog->createCanvas();
    textureReplaceDialog->createPreviews();

    autosaveTimer = new QTimer(this);
    connect(autosaveTimer, &QTimer::timeout, this, &cMainWindow::cmdFileAutosave);

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setStatusTip(tr("For Help, press F1"));
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &cMainWindow::changeSubwindowActiveState);
    signalMapper = new QSignalMapper(this);
    connect(signalMapper, &QSignalMapper::mappedObject, this,
            [this](QObject* object) { setActiveChildWindow(qobject_cast<QWidget*>(object)); });
    setCentralWidget(mdiArea);

    scaleVertexDialog = new cScaleVertexDialog(
        [this]() -> cAbstractTool* { return toolSet ? (*toolSet)[ToolId::Vertex] : nullptr; }, this);
    Cursors_Load(cursors);

    App_ShowSplashMessage(tr("Loading plugins..."));
    loadPlugins();
    App_ShowSplashMessage(tr("Loading settings..."));
    setDefaultSettings();
    readSettings();
    // Status bar, menus, tool bars, context menus and the language (they read the settings).
    buildCommandInterface();
    // Its GL format follows the settings.
    textureBrowserDialog->createBrowser();
    App_ShowSplashMessage(tr("Loading color schemes..."));
    App_ShowSplashMessage(tr("Loading localizations..."));
    App_ShowSplashMessage(tr("Loading archives..."));
    Archive_InitRegistry(&archives);
    App_ShowSplashMessage(tr("Loading..."));
    // The default size first: the layout file may replace it.
    resize(1280, 900);
    finishCommandInterface();
    updateLayout();

    // Shown by its creator (the program right after construction): tests and tools add widgets first.

    // Reloaded definitions and replaced configurations reach every open map before the old ones go.
    gameData.rebindClassUsers = [this] {
        App_RebindEntityClasses(this);
        // The New Objects dock looks its class up again.
        objectsDock.classChanged = true;
        currentObjectClass();
    };
    gameConfigs.rebindConfigUsers = [this] {
        for (MapDocument* document : std::as_const(documents))
            Project_RebindGameConfig(document);
    };
    Project_SetWindowHooks(
        {[this](const QString& path) { addRecentFile(path); }, [this] { execPreferences(3); }});
    GameCfg_LoadConfigurations(&gameConfigs);
    qApp->installEventFilter(this);

    autosaveTimer->setInterval(Settings_AutosaveIntervalMs(settings.AutosaveDelay));
    if (settings.AutosaveEnable)
        autosaveTimer->start();
    else
        autosaveTimer->stop();

    // Without a server nothing is asked and start-up stays silent; other failures only reach the
    // console.
    if (settings.AutoUpdateCheck) {
        App_ShowSplashMessage(tr("Checking for updates..."));
        const UpdateCheckResult check = Update_Check(settings.Server);
        if (!check.version.isEmpty())
            cUpdateCheckDialog(true, check.version, this, &settings.AutoUpdateCheck).exec();
        else if (!check.failure.isEmpty() && !settings.Server.trimmed().isEmpty())
            Sys_Printf("%s\n", qPrintable(tr("Could not check for updates: %1.").arg(check.failure)));
    }
    statusBar()->showMessage(mdiArea->statusTip());
}

void cMainWindow::createDialogs() {
    // The object properties float on their own; the rest belong to the window.
    objectPropertiesDialog = new cObjectPropertiesDialog();
    objectPropertiesDialog->browseTextures = [this](const QString& name, QString* group) {
        return execTextureBrowser(name, group);
    };
    objectPropertiesDialog->afterPick = [this] { updateActions(-1); };
    createRunWindows();
    textureBrowserDialog = new cTextureBrowserDialog(this);
    textureReplaceDialog = new cTextureReplaceDialog(this);
    shaderEditDialog = new cShaderEditDialog(this);
}

void cMainWindow::deleteDialogs() {
    auto drop = [](auto*& dialog) {
        delete dialog;
        dialog = nullptr;
    };
    drop(scaleVertexDialog);
    drop(textureBrowserDialog);
    drop(textureReplaceDialog);
    drop(shaderEditDialog);
    drop(runMapDialog);
    drop(runMapOutput);
    drop(entityListDialog);
    drop(entityHelpDialog);
}

std::array<QWidget*, 5> cMainWindow::floatingDialogs() const {
    // The face-properties dialog has no window yet.
    return {nullptr, objectPropertiesDialog, entityListDialog, entityHelpDialog, scaleVertexDialog};
}

QString App_StartupFileArgument(const QStringList& arguments) {
    if (arguments.size() < 2 || !arguments.last().contains(QLatin1Char('.'))) return QString();
    return QFileInfo(QDir::current(), arguments.last()).absoluteFilePath();
}

void App_OpenStartupFile(cMainWindow* window, const QStringList& arguments) {
    const QString path = App_StartupFileArgument(arguments);
    if (!path.isEmpty()) {
        window->openFile(path);
        window->checkActiveState(false, true);
        window->updateTextureBar(false);
    } else if (window->settings.SkipAdvertisement != 2) {
        cAdvertisementDialog(window, &window->settings.SkipAdvertisement).exec();
    }
}
