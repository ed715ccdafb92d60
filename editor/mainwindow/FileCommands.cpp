// File commands: new, close, save, save as, incremental save, autosave, export and run.
#include <QApplication>
#include <algorithm>
#include <QFileInfo>
#include <QMdiArea>
#include <QRegularExpression>
#include <QStatusBar>

#include "core/Prompt.h"

#include "core/System.h"
#include "document/CompilerOverlays.h"
#include "document/Autosave.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/MapProfile.h"
#include "dialogs/application/RunMapDialog.h"
#include "dialogs/application/RunMapOutput.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

namespace {

MapDocument* activeDocument(const cMainWindow* window) {
    cChildWindow* child = window->activeChildWindow();
    return child && child->document && child->document->world ? child->document : nullptr;
}

void showStatus(cMainWindow* window, const QString& text) {
    window->statusBar()->showMessage(text, 5000);
}

QString projectFilter() {
    return QStringLiteral("%1 Projects (*.%2)").arg(QStringLiteral("Z.A.R.V."), QStringLiteral("zmf"));
}

// The plugin of the current map profile; its formats are the ones offered for saving and export.
const void* currentPlugin(const cMainWindow* window) {
    return GameCfg_HasCurrentProfile(&window->gameConfigs)
               ? GameCfg_CurrentProfile(&window->gameConfigs)->owner
               : nullptr;
}

// The current plugin's export formats whose extension is (or, for saving, is not) ".map", as
// "name (*ext)" filters with their extensions.
QList<QPair<QString, QString>> exportFilters(const cMainWindow* window, bool mapFiles) {
    QList<QPair<QString, QString>> filters;
    const void* plugin = currentPlugin(window);
    for (const MapFormatEntry& format : window->plugins.exportFormats)
        if (format.plugin == plugin &&
            (format.extension.compare(QLatin1String(".map"), Qt::CaseInsensitive) == 0) == mapFiles)
            filters.append({QStringLiteral("%1 (*%2)").arg(format.name, format.extension), format.extension});
    return filters;
}

// The cordon question of an export; false when cancelled. Yes limits the export to the cordon.
bool askCordon(cMainWindow* window, MapWorld* world) {
    if (!window->settings.EnableCordon || (world->flags & WorldFlag::ExportCordon)) return true;
    const int32_t answer = Prompt_Question(
        App_DialogParent(window), PromptIcon::Question,
        cMainWindow::tr(
            "You have enabled Cordon Tool. Do you want to export only the selected map fragment?"),
        PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
    if (answer == PromptButton::Cancel) return false;
    if (answer == PromptButton::Yes) world->flags |= WorldFlag::ExportCordon;
    return true;
}

// Whether the remembered export file may be used again (asked unless IgnoreMapExportInfo).
bool reuseExportPath(cMainWindow* window, MapDocument* document) {
    if (!document->confirmExportPath) return true;
    if (window->settings.IgnoreMapExportInfo) return false;
    return Prompt_Question(
               App_DialogParent(window), PromptIcon::Question,
               cMainWindow::tr("You have previously exported this map to:\n\"%1\"\n\nWould you like to "
                               "export to this file again?")
                   .arg(document->exportPath),
               PromptButton::Yes | PromptButton::No) == PromptButton::Yes;
}

// Where the open and save dialogs start: beside the active map's file (or, for a map never saved,
// its export), else in the folder of the last map opened, else in the game's map folder.
QString mapFolder(const cMainWindow* window) {
    const MapDocument* document = activeDocument(window);
    if (document && !document->filePath.isEmpty()) return QFileInfo(document->filePath).absolutePath();
    if (document && !document->exportPath.isEmpty()) return QFileInfo(document->exportPath).absolutePath();
    if (!window->settings.RecentMapDirectory.isEmpty()) return window->settings.RecentMapDirectory;
    const GameConfig* config = document ? document->gameConfig : window->gameConfigs.current;
    return config ? config->MapSourceFileDirectory : QString();
}

bool saveDocument(cMainWindow* window, MapDocument* document, const QString& path, bool addRecent) {
    if (!Project_Save(document, path, window->settings.BackupFiles, false)) {
        Prompt_Beep();
        return false;
    }
    if (addRecent) window->addRecentFile(path);
    window->updateActions(0x800); // a saved map can be saved incrementally
    showStatus(window, cMainWindow::tr("File saved"));
    return true;
}

} // namespace

QString File_IncrementalName(const QString& path) {
    const QFileInfo file(path);
    const QString folder = file.path();
    // The pattern applies to the file name only: a folder such as "x_v.1" stays as it is.
    static const QRegularExpression pattern(QStringLiteral("^(.*)_v(\\d*)\\.(.*)$"));
    const QRegularExpressionMatch match = pattern.match(file.fileName());
    if (match.hasMatch()) {
        const qulonglong n = match.captured(2).toULongLong() + 1;
        return QStringLiteral("%1/%2_v%3.%4")
            .arg(folder, match.captured(1), QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')),
                 match.captured(3));
    }
    return File_NewSequenceName(path);
}

QString File_NewSequenceName(const QString& path) {
    const QFileInfo file(path);
    // The first free number: a sequence started before is never overwritten.
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("%1/%2_v%3.%4")
                                 .arg(file.path(), file.completeBaseName(),
                                      QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')), file.suffix());
        if (!QFileInfo::exists(name)) return name;
    }
}

void cMainWindow::cmdFileNew() {
    App_FinishSplash(this);
    QCoreApplication::processEvents();
    auto* document = new MapDocument;
    Project_Construct(document);
    if (!Project_New(document)) {
        Project_Destroy(document);
        delete document;
        return;
    }
    documents.append(document);
    if (mdiArea) createChildWindow(document);
    checkActiveState(false, true);
    updateTextureBar(false);
}

void cMainWindow::cmdFileOpen() {
    App_FinishSplash(this);
    QCoreApplication::processEvents();
    // Every readable kind first, so that no map is hidden until a filter is picked.
    QStringList filters{projectFilter()};
    QStringList patterns{QStringLiteral("*.zmf")};
    for (const MapFormatEntry& format : std::as_const(plugins.importFormats)) {
        filters += QStringLiteral("%1 (*%2)").arg(format.name, format.extension);
        const QString pattern = QStringLiteral("*") + format.extension;
        if (!patterns.contains(pattern)) patterns.append(pattern);
    }
    if (!plugins.importFormats.isEmpty())
        filters.prepend(
            QStringLiteral("%1 (%2)").arg(tr("All supported formats"), patterns.join(QLatin1Char(' '))));
    QString selected =
        filters.contains(settings.RecentOpenFilter) ? settings.RecentOpenFilter : filters.first();
    const QStringList paths = Prompt_GetOpenFileNames(App_DialogParent(this), QString(), mapFolder(this),
                                                      filters.join(QLatin1String(";;")), &selected);
    if (paths.isEmpty()) return;
    settings.RecentMapDirectory = QFileInfo(paths.first()).canonicalPath();
    settings.RecentOpenFilter = selected;
    if (paths.size() == 1)
        openFile(paths.first());
    else
        openFiles(paths);
    checkActiveState(false, true);
    updateTextureBar(false);
}

void cMainWindow::cmdFileClose() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    closeDocument(document);
    checkActiveState(true, true);
    updateTextureBar(false);
}

void cMainWindow::cmdFileCloseAll() {
    clipboard.source = nullptr;
    if (mdiArea) mdiArea->closeAllSubWindows();
    closeEmptyDocuments();
    updateLayout();
    checkActiveState(true, true);
}

void cMainWindow::cmdFileSave() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    if (document->filePath.isEmpty() ||
        QFileInfo(document->filePath).suffix().compare(QLatin1String("map"), Qt::CaseInsensitive) == 0) {
        cmdFileSaveAs();
        return;
    }
    saveDocument(this, document, document->filePath, false);
}

void cMainWindow::cmdFileSaveAs() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    // A map read from another format is offered under its own name as a project.
    QString start = mapFolder(this);
    if (!document->filePath.isEmpty())
        start += QLatin1Char('/') + QFileInfo(document->filePath).completeBaseName() + QStringLiteral(".zmf");
    QList<QPair<QString, QString>> filters{{projectFilter(), QStringLiteral(".zmf")}};
    filters += exportFilters(this, false);
    QStringList texts;
    for (const auto& filter : filters)
        texts.append(filter.first);
    QString selected = settings.RecentSaveFilter;
    QString name = Prompt_GetSaveFileName(App_DialogParent(this), QString(), start,
                                          texts.join(QLatin1String(";;")), &selected);
    if (name.isEmpty()) return;
    const qsizetype chosen = std::max<qsizetype>(0, texts.indexOf(selected));
    if (QFileInfo(name).suffix().isEmpty()) name += filters[chosen].second;
    settings.RecentSaveFilter = filters[chosen].first;
    saveDocument(this, document, name, true);
}

void cMainWindow::cmdFileSaveIncremental() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    if (document->isNew || document->filePath.isEmpty()) {
        Sys_Error("you must save the project at least once to use incremental save function");
        Prompt_Beep();
        return;
    }
    QString name = File_IncrementalName(document->filePath);
    if (QFileInfo::exists(name)) {
        static const QRegularExpression digits(QStringLiteral("_v(\\d+)\\.[^.]*$"));
        const QString n = QString::number(digits.match(name).captured(1).toULongLong());
        const int32_t answer = Prompt_Question(
            App_DialogParent(this), PromptIcon::Question,
            tr("Map file version %1 already exists:\n%2\n\nDo you want to start a new version sequence?\nIf "
               "you select 'No', the file will be overwritten.")
                .arg(n, name),
            PromptButton::Yes | PromptButton::No | PromptButton::Cancel);
        if (answer == PromptButton::Cancel) return;
        if (answer == PromptButton::Yes) name = File_NewSequenceName(document->filePath);
    }
    saveDocument(this, document, name, true);
}

// A map never saved has no name for its copy: it is skipped and the others are still written.
void cMainWindow::cmdFileAutosave() {
    int saved = 0;
    for (MapDocument* document : std::as_const(documents)) {
        if (settings.AutosaveOnChanges && !document->modified) continue;
        if (document->filePath.isEmpty()) continue;
        if (Project_Autosave(document, document->filePath)) ++saved;
    }
    if (!saved) return;
    showStatus(this, tr("%1 project(s) autosaved").arg(saved));
    if (settings.AutosaveBeep) Prompt_Beep();
}

void cMainWindow::cmdFileExport() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    QString folder = settings.RecentExportDirectory;
    if (const GameConfig* config = document->gameConfig) {
        if (!config->GameModdir.isEmpty())
            folder = config->GameModdir + QStringLiteral("/maps");
        else if (!config->GameBasedir.isEmpty())
            folder = config->GameBasedir + QStringLiteral("/maps");
        else if (folder.isEmpty())
            folder = config->MapSourceFileDirectory;
    }
    QString start = document->exportPath.isEmpty() ? document->filePath : document->exportPath;
    if (!start.isEmpty() && !QFileInfo(start).completeBaseName().isEmpty()) {
        const QFileInfo file(start);
        folder = file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".map");
    }
    const QList<QPair<QString, QString>> filters = exportFilters(this, true);
    if (filters.isEmpty()) {
        Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                       tr("Cannot export MAP: no export formats available!"));
        return;
    }
    QStringList texts;
    for (const auto& filter : filters)
        texts.append(filter.first);
    MapWorld* world = document->world;
    const uint32_t flags = world->flags;
    if (!askCordon(this, world)) return;
    QString selected = settings.RecentExportFilter;
    QString name = Prompt_GetSaveFileName(App_DialogParent(this), tr("Export Map"), folder,
                                          texts.join(QLatin1String(";;")), &selected);
    if (name.isEmpty()) {
        world->flags = flags;
        return;
    }
    const qsizetype chosen = std::max<qsizetype>(0, texts.indexOf(selected));
    if (QFileInfo(name).suffix().isEmpty()) name += filters[chosen].second;
    settings.RecentExportFilter = filters[chosen].first;
    if (Project_Export(document, name, settings.BackupFiles)) showStatus(this, tr("File exported"));
    settings.RecentExportDirectory = QFileInfo(name).absolutePath();
    world->flags = flags;
}

void cMainWindow::cmdFileExportAgain() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    if (document->exportPath.isEmpty() || !reuseExportPath(this, document)) {
        cmdFileExport();
        return;
    }
    MapWorld* world = document->world;
    const uint32_t flags = world->flags;
    if (askCordon(this, world) && Project_Export(document, document->exportPath, settings.BackupFiles))
        showStatus(this, tr("File exported"));
    world->flags = flags;
}

// ---- Running the compilers ------------------------------------------------------------------

void cMainWindow::createRunWindows() {
    if (runMapDialog) return;
    runMapDialog = new cRunMapDialog(this);
    runMapOutput = new cRunMapOutput(this);
    runMapOutput->setRunMapDialog(runMapDialog);
    runMapOutput->runCommandAgain = [this] { cmdFileRun(); };
}

bool cMainWindow::exportMapForRun() {
    MapDocument* document = activeDocument(this);
    if (!document) return false;
    // A map without a file (its Save As cancelled) has no name to export under.
    if (document->filePath.isEmpty()) return false;
    QString path = document->exportPath;
    if (!path.isEmpty() && !reuseExportPath(this, document)) path.clear();
    if (path.isEmpty()) {
        const QFileInfo file(document->filePath);
        path = file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".map");
        document->exportPath = path;
        document->confirmExportPath = true;
    }
    MapWorld* world = document->world;
    const uint32_t flags = world->flags;
    if (!askCordon(this, world)) return false;
    const bool exported = Project_Export(document, path, settings.BackupFiles);
    if (exported) showStatus(this, tr("File exported"));
    world->flags = flags;
    return exported;
}

void cMainWindow::cmdFileRun() {
    MapDocument* document = activeDocument(this);
    if (!document) return;
    createRunWindows();
    // One run at a time: the next starts after the running one has returned.
    if (runMapOutput->isRunning()) {
        if (runMapOutput->askInterrupt()) runMapOutput->afterRun([this] { cmdFileRun(); });
        return;
    }
    cmdFileSave();
    // A map whose Save As was cancelled has no file to export beside.
    if (document->filePath.isEmpty()) {
        Sys_Error("can't compile, map was not exported!");
        Prompt_Beep();
        return;
    }

    runMapDialog->setExpertMode(settings.ExpertMode);
    GameConfig* config = document->gameConfig;
    runMapDialog->setGameConfig(config);
    const MapProfileRecord* profile = nullptr;
    if (config) {
        const auto found = gameConfigs.profiles.find(config->MapProfile.toUtf8());
        if (found != gameConfigs.profiles.end()) profile = &found->second;
    }
    runMapDialog->setProfile(profile);
    if (runMapDialog->exec() != QDialog::Accepted) return;

    MapWorld* world = document->world;
    const uint32_t flags = world->flags;
    if (runMapDialog->visibleOnly()) world->flags |= WorldFlag::ExportVisibleOnly;
    if (settings.EnableCordon) world->flags |= WorldFlag::ExportCordon;
    const bool exported = exportMapForRun();
    world->flags = flags;
    if (!exported) {
        Sys_Error("can't compile, map was not exported!");
        Prompt_Beep();
        return;
    }

    const bool hadPortals = world->portalWindings != nullptr;
    Map_UnloadPointfile(world);
    Map_ClearPortals(world);
    runMapDialog->setMapFile(document->exportPath);
    runMapDialog->removeStaleFiles();
    const RunCommandList commands = runMapDialog->buildCommands();
    runMapOutput->runCommands(commands, true);

    // The map may have been closed while the tools ran.
    if (!documents.contains(document)) return;
    bool loaded = false;
    QString path;
    if (runMapDialog->findPointFile(&path))
        loaded = Map_LoadPointfile(document->world, path.toUtf8().constData()) > 0;
    if (hadPortals && runMapDialog->findPortalFile(&path))
        loaded =
            Map_LoadPortalFile(document->world, path.toUtf8().constData(), kPortalFormatPrt1) > 0 || loaded;
    if (loaded) updateAllViews(3);
}
