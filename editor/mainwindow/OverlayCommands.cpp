// Loading the compiler overlays of the active map: the pointfile, the portal file and the hull
// file, each offered from the compile folder under the map's name.
#include <QFile>
#include <QFileInfo>

#include "core/Prompt.h"
#include "document/CompilerOverlays.h"
#include "document/MapDocument.h"
#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

namespace {

enum class Overlay { Pointfile, Portals, Hulls };

struct OverlayKind {
    const char* defaults[2]; // suffixes tried in order; null ends
    const char* question;    // null: no question
    const char* filter;
};

const OverlayKind kOverlays[] = {
    {{".lin", ".pts"},
     QT_TRANSLATE_NOOP("cMainWindow", "Load default pointfile?\n(%1)"),
     QT_TRANSLATE_NOOP("cMainWindow", "Pointfiles (*.lin *.pts)")},
    {{".prt", nullptr},
     QT_TRANSLATE_NOOP("cMainWindow", "Load default portal file?\n(%1)"),
     QT_TRANSLATE_NOOP("cMainWindow", "Portal files (*.prt)")},
    {{".p0", nullptr}, nullptr, QT_TRANSLATE_NOOP("cMainWindow", "Hull files (*.p0 *.p1 *.p2 *.p3)")},
};

// Where the compilers leave their files: the mod's, else the game's maps folder, else the map
// sources folder. A map without a game configuration looks beside its own file.
QString compileFolder(const MapDocument* document) {
    if (const GameConfig* config = document->gameConfig) {
        if (!config->GameModdir.isEmpty()) return config->GameModdir + QStringLiteral("/maps");
        if (!config->GameBasedir.isEmpty()) return config->GameBasedir + QStringLiteral("/maps");
        if (!config->MapSourceFileDirectory.isEmpty()) return config->MapSourceFileDirectory;
    }
    return QFileInfo(document->filePath).absolutePath();
}

bool usable(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() && file.size() > 0;
}

// The file to load: the default when it exists, is not empty and the user takes it (hulls are
// not asked), else the one chosen in the open dialog. *isDefault tells which.
QString chooseOverlay(cMainWindow* window, const MapDocument* document, const OverlayKind& kind,
                      bool* isDefault) {
    const QString stem =
        compileFolder(document) + QLatin1Char('/') + QFileInfo(document->filePath).completeBaseName();
    QString start = stem + QLatin1String(kind.defaults[0]);
    QString found;
    if (kind.question)
        for (const char* suffix : kind.defaults)
            if (suffix && found.isEmpty() && usable(stem + QLatin1String(suffix)))
                found = stem + QLatin1String(suffix);
    *isDefault = false;
    if (!found.isEmpty()) {
        start = found;
        if (Prompt_Question(App_DialogParent(window), PromptIcon::Question,
                            cMainWindow::tr(kind.question).arg(found),
                            PromptButton::Yes | PromptButton::No) == PromptButton::Yes) {
            *isDefault = true;
            return found;
        }
    }
    return Prompt_GetOpenFileName(App_DialogParent(window), QString(), start, cMainWindow::tr(kind.filter));
}

void loadOverlay(cMainWindow* window, Overlay overlay) {
    cChildWindow* child = window->activeChildWindow();
    MapDocument* document = child ? child->document : nullptr;
    if (!document || !document->world) return;
    bool isDefault = false;
    const QString path = chooseOverlay(window, document, kOverlays[int(overlay)], &isDefault);
    if (path.isEmpty()) return;
    const QByteArray name = QFile::encodeName(path);
    switch (overlay) {
    case Overlay::Pointfile:
        Map_LoadPointfile(document->world, name.constData());
        break;
    case Overlay::Portals: {
        // Only ".prt" files are read as portal files; the reader refuses any other format.
        const bool prt = isDefault || QFileInfo(path).suffix().toLower() == QLatin1String("prt");
        Map_LoadPortalFile(document->world, name.constData(), prt ? kPortalFormatPrt1 : 0);
        break;
    }
    case Overlay::Hulls:
        Map_LoadHullFile(document->world, name.constData());
        break;
    }
    window->updateAllViews(3);
}

} // namespace

void cMainWindow::cmdMapLoadPointfile() {
    loadOverlay(this, Overlay::Pointfile);
}

void cMainWindow::cmdMapLoadPortalfile() {
    loadOverlay(this, Overlay::Portals);
}

void cMainWindow::cmdMapLoadHullfile() {
    loadOverlay(this, Overlay::Hulls);
}
