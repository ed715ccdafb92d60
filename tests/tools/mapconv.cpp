// mapconv [--plugins DIR] [--config FILE] [--game NAME] IN OUT: converts a map between the
// editor's project format and the formats of the game plugins, the way the editor opens and
// saves documents (Project_Load, Project_Save) with the plugins loaded by the real plugin host.
// A test utility; not shipped. See usage() for the configuration file and the exit codes.
#include <QGuiApplication>
#include <QFileInfo>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "document/MapDocument.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameConfigFile.h"
#include "document/GameDataServices.h"
#include "gamedata/MapFormats.h"
#include "gamedata/PluginManager.h"
#include "HeadlessLog.h"
#include "kstdlib/kstdlib.h"

namespace {

enum Exit : int {
    kDone = 0,
    kNotRead = 1,
    kNotWritten = 2,
    kMissing = 3, // no plugin, configuration, profile or format
    kWithErrors = 4,
    kUsage = 64,
};

const char kHelp[] =
    "usage: mapconv [--plugins DIR] [--config FILE] [--game NAME] IN OUT\n"
    "\n"
    "Reads IN and writes OUT as the editor opens and saves a map: \".zmf\" is the editor's own\n"
    "project format; any other extension is read by the import format of that extension and\n"
    "written by the current profile's export format of that extension.\n"
    "\n"
    "  --plugins DIR  load the plugins (kp*x64.so) of DIR; default: the build's plugins folder\n"
    "  --config FILE  a game-configuration file (as \"KDKGameCfg.ini\"): groups \"Config0\",\n"
    "                 \"Config1\", ... with Title, MapProfile, GameBasedir, GameModdir, ...\n"
    "  --game NAME    the configuration of that title; without one of that title, a built-in\n"
    "                 configuration on the map profile NAME\n"
    "  Without --config and --game: a built-in \"Quake III\" configuration on \"kpQuake3\".\n"
    "\n"
    "Console messages go to stderr. Exit codes: 0 done; 1 IN could not be read; 2 OUT could not\n"
    "be written (an existing OUT is kept); 3 no plugin, configuration, profile or format; 4 OUT\n"
    "written, but errors were logged (such as dropped solids); 64 bad arguments.\n";

int usage() {
    std::fputs(kHelp, stderr);
    return kUsage;
}

struct Arguments {
    QString plugins = QStringLiteral(ZARV_PLUGIN_DIR);
    QString config;
    QString game;
    QString in, out;
};

bool parse(int argc, char** argv, Arguments* a, bool* help) {
    std::vector<QString> positional;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&](QString* into) {
            if (++i >= argc) return false;
            *into = QString::fromLocal8Bit(argv[i]);
            return true;
        };
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            *help = true;
            return true;
        }
        if (std::strcmp(arg, "--plugins") == 0) {
            if (!value(&a->plugins)) return false;
        } else if (std::strcmp(arg, "--config") == 0) {
            if (!value(&a->config)) return false;
        } else if (std::strcmp(arg, "--game") == 0) {
            if (!value(&a->game)) return false;
        } else if (arg[0] == '-' && arg[1] == '-') {
            return false;
        } else {
            positional.push_back(QString::fromLocal8Bit(arg));
        }
    }
    if (positional.size() != 2) return false;
    a->in = positional[0];
    a->out = positional[1];
    return true;
}

// A configuration of the manager on the profile, with nothing else set.
GameConfig* builtIn(GameConfigManager* manager, const QString& title, const QString& profile) {
    GameConfig* config = GameCfg_AddConfig(manager, title);
    config->MapProfile = profile;
    return config;
}

bool hasFormat(MapFormatDirection direction, const QString& path, const MapProfileRecord* profile) {
    if (QFileInfo(path).suffix().compare(QStringLiteral("zmf"), Qt::CaseInsensitive) == 0) return true;
    const QString ext = QStringLiteral(".") + QFileInfo(path).suffix().toLower();
    for (const MapFormatEntry& entry : MapFormat_List(direction)) {
        if (entry.extension.compare(ext, Qt::CaseInsensitive) != 0) continue;
        // Imports fall back to any plugin's format; exports use the profile's plugin.
        if (direction == MapFormatDirection::Import || entry.plugin == profile->owner) return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    Arguments args;
    bool help = false;
    if (!parse(argc, argv, &args, &help)) return usage();
    if (help) {
        std::fputs(kHelp, stdout);
        return kDone;
    }

    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    K_MathLib_Initialize(0);

    // Every log line goes to stderr as debugger output; the host only counts the errors.
    int errors = 0;
    cHeadlessLog log([&errors](const QString& line) {
        if (line.contains(QStringLiteral("<b>Error:</b>"))) ++errors;
    });
    cGameDataServices services;

    Plugin_SetFolder(args.plugins);
    Plugin_LoadAll(&services.pluginManager);
    if (services.pluginManager.libraries.isEmpty()) {
        std::fprintf(stderr, "mapconv: no plugin in \"%s\"\n", qPrintable(args.plugins));
        return kMissing;
    }

    // The manager owns the configurations, read from the file or built in.
    GameConfigManager* manager = &services.configs;
    if (!args.config.isEmpty()) {
        if (!QFileInfo(args.config).isReadable() || !GameCfg_LoadConfigurationsFrom(manager, args.config)) {
            std::fprintf(stderr, "mapconv: can't read the configuration file \"%s\"\n",
                         qPrintable(args.config));
            return kMissing;
        }
    }
    GameConfig* config = nullptr;
    if (!args.game.isEmpty()) {
        config = GameCfg_FindConfig(manager, args.game);
        if (!config) config = builtIn(manager, args.game, args.game);
    } else if (!manager->configs.isEmpty()) {
        config = manager->configs.front();
    } else {
        config = builtIn(manager, QStringLiteral("Quake III"), QStringLiteral("kpQuake3"));
    }

    const auto profile = services.configs.profiles.find(config->MapProfile.toUtf8());
    if (profile == services.configs.profiles.end()) {
        std::fprintf(stderr,
                     "mapconv: no plugin registers the map profile \"%s\" of the configuration \"%s\"\n",
                     qPrintable(config->MapProfile), qPrintable(config->Title));
        return kMissing;
    }
    for (const auto& [direction, path] :
         {std::pair{MapFormatDirection::Import, args.in}, std::pair{MapFormatDirection::Export, args.out}})
        if (!hasFormat(direction, path, &profile->second)) {
            std::fprintf(stderr, "mapconv: no %s format for \"%s\"\n",
                         direction == MapFormatDirection::Import ? "import" : "export", qPrintable(path));
            return kMissing;
        }

    MapDocument document;
    Project_Construct(&document);
    errors = 0; // what loading the plugins reported is not the conversion's
    int result = kDone;
    if (!Project_Load(&document, args.in, config))
        result = kNotRead;
    else if (!Project_Save(&document, args.out, false, false))
        result = kNotWritten;
    else if (errors > 0)
        result = kWithErrors;
    Project_Destroy(&document);
    return result;
}
