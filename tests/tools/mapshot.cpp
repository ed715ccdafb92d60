// mapshot [--plugins DIR] [--config FILE] [--game NAME] [--size WxH] [--frames N] [--textured] [--effects]
// MAP OUTPREFIX
// MAP may be "generated": the benchmarks' large map scaled to 2,500 brushes, 300 patches and 200
// entities. With --textured every texture name shows as a solid colour of its own. With --effects
// the camera draws effects through their stages and skies as skies (the View menu's animated
// effects and dynamic sky).
// --config reads game configurations from FILE (default: the program's own, when --game is given);
// --game picks one by title (default: the first enabled). With a configuration the map opens as
// the editor opens it: the configuration precached, its textures and models, the profile's plugin
// importing. Without one, ".zmf" loads natively and other formats through any plugin's import
// format. Loads the map into one map window, fits the 2D views to the map and places the camera as the editor
// does, writes OUTPREFIX-xy.png, -xz.png, -yz.png and -3d.png and prints load and frame times. A test
// utility; not shipped.
#include <GL/gl.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "document/CullTree.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/ZmfFile.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapFormats.h"
#include "gamedata/PluginManager.h"
#include "kstdlib/kstdlib.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/MapWindowFit.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/GLFormat.h"
#include "views/ViewSplitters.h"

#include "core/Platform.h"
#include "LargeMap.h"
#include "SolidTextures.h"

namespace {

// The GL driver stays mapped until exit, so the leak check there can tell its allocations apart.
int finish(int status) {
    Plat_KeepLoadedLibraries();
    return status;
}

int usage() {
    std::fprintf(stderr,
                 "usage: mapshot [--plugins DIR] [--config FILE] [--game NAME] [--size WxH] [--frames N] "
                 "[--textured] [--effects] MAP|generated OUTPREFIX\n");
    return 64;
}

double msSince(const QElapsedTimer& t) {
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QString pluginDir, configFile, gameName, mapPath, outPrefix;
    int width = 1024, height = 768, frames = 100;
    bool textured = false, effects = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        auto next = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (!std::strcmp(a, "--textured")) {
            textured = true;
        } else if (!std::strcmp(a, "--effects")) {
            effects = true;
        } else if (!std::strcmp(a, "--plugins") || !std::strcmp(a, "--config") || !std::strcmp(a, "--game") ||
                   !std::strcmp(a, "--size") || !std::strcmp(a, "--frames")) {
            const char* v = next();
            if (!v) return usage();
            if (!std::strcmp(a, "--plugins")) pluginDir = QFile::decodeName(v);
            if (!std::strcmp(a, "--config")) configFile = QFile::decodeName(v);
            if (!std::strcmp(a, "--game")) gameName = QString::fromUtf8(v);
            if (!std::strcmp(a, "--size") && std::sscanf(v, "%dx%d", &width, &height) != 2) return usage();
            if (!std::strcmp(a, "--frames")) frames = std::atoi(v);
        } else if (mapPath.isEmpty()) {
            mapPath = QFile::decodeName(a);
        } else if (outPrefix.isEmpty()) {
            outPrefix = QFile::decodeName(a);
        } else {
            return usage();
        }
    }
    if (mapPath.isEmpty() || outPrefix.isEmpty() || width < 16 || height < 16 || frames < 0) return usage();

    View_InitGLDefaults();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);
    cMainWindow main;
    Console_SetSink([](const QString&) {}); // log lines reach stderr as debugger output
    main.settings.EnergySavingMode = true;  // frames are drawn here, not by timers
    main.settings.EnableScrollbars = false;
    main.settings.AnimateShaders = effects;
    main.settings.DrawSky = effects;
    // Built with the program: its plugins are the program's (the test plugins lie beside this tool).
    if (pluginDir.isEmpty()) pluginDir = QStringLiteral(ZARV_PLUGIN_DIR);
    if (!pluginDir.isEmpty()) Plugin_SetFolder(pluginDir);
    main.loadPlugins();
    GameConfig* config = nullptr;
    if (!configFile.isEmpty() || !gameName.isEmpty()) {
        GameConfigManager* manager = &main.gameConfigs;
        const bool read = configFile.isEmpty() ? GameCfg_LoadConfigurations(manager)
                                               : GameCfg_LoadConfigurationsFrom(manager, configFile);
        for (GameConfig* c : std::as_const(manager->configs))
            if (!config && c->Enabled && (gameName.isEmpty() || c->Title == gameName)) config = c;
        if (!read || !config) {
            std::fprintf(stderr, "mapshot: no enabled game configuration%s%s in \"%s\"\n",
                         gameName.isEmpty() ? "" : " titled ", qPrintable(gameName),
                         qPrintable(configFile.isEmpty() ? QStringLiteral("KDKGameCfg.ini") : configFile));
            return finish(1);
        }
    }

    MapDocument doc;
    Project_Construct(&doc);
    QElapsedTimer timer;
    timer.start();
    bool loaded = false;
    const QString suffix = QFileInfo(mapPath).suffix();
    if (config) {
        if (GameCfg_NeedsPrecache(config)) GameCfg_Precache(&main.gameConfigs, config);
        std::printf("precache: %.1f ms\n", msSince(timer));
        loaded = Project_Load(&doc, mapPath, config);
        if (!loaded) std::fprintf(stderr, "mapshot: \"%s\" did not load\n", qPrintable(mapPath));
    } else if (mapPath == QLatin1String("generated")) {
        Map_ClearWorld(doc.world);
        LargeMapCounts counts;
        counts.brushes = 2500;
        counts.patches = 300;
        counts.entities = 200;
        counts.groups = 50;
        counts.paths = 10;
        LargeMap_Build(doc.world, counts);
        Map_CreateCullTree(doc.world);
        loaded = true;
    } else if (suffix.compare(QLatin1String("zmf"), Qt::CaseInsensitive) == 0) {
        loaded = Project_ReadWorld(doc.world, mapPath, [](const QString&) { return true; });
    } else {
        // Import formats name their extension with its dot.
        loaded = MapFormat_Run(MapFormatDirection::Import, nullptr, "." + suffix.toLower(), mapPath,
                               Map_Handle(doc.world)) == MapFormatResult::Done;
        if (!loaded) std::fprintf(stderr, "mapshot: no import format loaded \"%s\"\n", qPrintable(mapPath));
        if (loaded) {
            Map_RefreshAfterLoad(doc.world);
            Map_CreateCullTree(doc.world);
        }
    }
    if (!loaded) {
        Project_Destroy(&doc);
        Console_SetSink({});
        return finish(1);
    }
    std::printf("load: %.1f ms\n", msSince(timer));
    main.documents.append(&doc);

    auto* window = new cChildWindow(&doc);
    window->buildLayout(-1);
    const QList<cCanvas*> views = window->views;
    int handle = window->rows->handleWidth();
    window->resize(2 * width + handle, 2 * height + handle);

    timer.restart();
    window->show();
    app.processEvents();
    // The frame and layout may take some pixels: grow the window by what the views lack.
    window->setViewSize(width, height);
    for (cCanvas* view : views)
        if (view->width() != width || view->height() != height)
            std::fprintf(stderr, "mapshot: a view is %dx%d, not %dx%d\n", view->width(), view->height(),
                         width, height);
    MapWindow_FitToWorld(window, doc.world);
    cSolidTextures solids;
    if (textured) {
        views.first()->makeCurrent();
        solids.apply(doc.world);
        views.first()->doneCurrent();
    }

    struct Shot {
        int type;
        const char* name;
    } shots[] = {
        {ViewType::Top, "xy"}, {ViewType::Side, "xz"}, {ViewType::Front, "yz"}, {ViewType::Camera, "3d"}};
    int status = 0;
    cCanvas* camera = nullptr;
    for (const Shot& shot : shots) {
        cCanvas* view = nullptr;
        for (cCanvas* v : views)
            if (v->viewType == shot.type) view = v;
        if (!view) continue;
        const QImage image = view->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
        std::printf("first frame %s: %.1f ms\n", shot.name, msSince(timer));
        const QString path = outPrefix + QStringLiteral("-%1.png").arg(QLatin1String(shot.name));
        if (!image.save(path)) {
            std::fprintf(stderr, "mapshot: cannot write \"%s\"\n", qPrintable(path));
            status = 1;
        }
        if (view->is3D()) camera = view;
    }
    if (camera && frames > 0) {
        timer.restart();
        for (int i = 0; i < frames; ++i) {
            camera->paintNow();
        }
        const double mean = msSince(timer) / frames;
        std::printf("3d frames: %d, mean %.2f ms (%.1f frames/s)\n", frames, mean,
                    mean > 0 ? 1000.0 / mean : 0.0);
    }
    window->closedByDocument = true;
    delete window;
    main.documents.clear();
    Project_Destroy(&doc);
    Console_SetSink({});
    return finish(status);
}
