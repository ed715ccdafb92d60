// Skies: the sky image sets of the game configurations, loaded through the sky formats plugins
// registered. For now it holds the format list; the sky search comes with the manager itself.
#pragma once

#include <QList>

#include "gamedata/PluginFormats.h"

class SkyManager {
public:
    QList<SkyFormatEntry> formats; // registration order
};
