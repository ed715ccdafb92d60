// File commands. Least bodies until the commands come; File → Run runs the compilers.
#include <QApplication>
#include <QFileInfo>

#include "core/System.h"
#include "document/CompilerOverlays.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "dialogs/application/RunMapDialog.h"
#include "dialogs/application/RunMapOutput.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

void cMainWindow::cmdFileNew() {}
void cMainWindow::cmdFileOpen() {}
void cMainWindow::cmdFileClose() {}
void cMainWindow::cmdFileCloseAll() {}
void cMainWindow::cmdFileSave() {}
void cMainWindow::cmdFileSaveAs() {}
void cMainWindow::cmdFileSaveIncremental() {}
void cMainWindow::cmdFileAutosave() {}
void cMainWindow::cmdFileExport() {}
void cMainWindow::cmdFileExportAgain() {}

// ---- Running the compilers ------------------------------------------------------------------

namespace {

MapDocument* activeDocument(const cMainWindow* window) {
    if (cChildWindow* child = window->activeChildWindow(); child && child->document) return child->document;
    return window->currentDocument();
}

} // namespace

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
    QString path = document->exportPath;
    if (path.isEmpty()) {
        if (document->filePath.isEmpty()) {
            Sys_Error("can't export a map that was never saved");
            return false;
        }
        const QFileInfo file(document->filePath);
        path = file.absolutePath() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".map");
    }
    return Project_Export(document, path, false);
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
    cmdFileSave(); // whatever the outcome

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
    if (settings.EnableCordon) world->flags |= WorldFlag::ExportCordon;
    const bool exported = exportMapForRun();
    world->flags = flags;
    if (!exported) {
        Sys_Error("can't compile, map was not exported!");
        QApplication::beep();
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
