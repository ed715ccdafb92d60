// Skies: the sky image sets of the game configurations, loaded through the sky formats plugins
// registered. For now it holds the format list; the sky search comes with the manager itself.
#pragma once

#include <QList>

#include "gamedata/PluginFormats.h"

struct GameConfig;

class SkyManager {
public:
    QList<SkyFormatEntry> formats; // registration order
};

// Loads the skies the configuration's folders hold, owned by the configuration.
void Sky_LoadForConfig(GameConfig* config);
// Releases every sky loaded for the configuration.
void Sky_ReleaseForConfig(GameConfig* config);
