// The model and sprite cache: entities' models and sprites loaded through the formats plugins
// registered. For now it holds the format lists; loading and sharing come with the cache itself.
#pragma once

#include <QList>

#include "gamedata/PluginFormats.h"

class ModelCache {
public:
    QList<ModelFormatEntry> spriteFormats; // registration order
    QList<ModelFormatEntry> modelFormats;
};
