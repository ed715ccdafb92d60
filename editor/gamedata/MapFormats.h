// Running the map import and export formats that plugins registered (kept by the plugin manager
// of the installed host, in registration order).
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

#include "gamedata/PluginFormats.h"

enum class MapFormatDirection : int32_t { Import, Export };

// Appended to the installed host's import or export list; entries without a function are refused.
bool MapFormat_Register(MapFormatDirection direction, const MapFormatEntry& entry);
// Drops every entry of the plugin from both lists.
void MapFormat_UnregisterPlugin(void* plugin);
// The list of the installed host's plugin manager (empty without a host).
const QList<MapFormatEntry>& MapFormat_List(MapFormatDirection direction);

enum class MapFormatResult : int32_t { NoFormat, Failed, Done };

// Calls the formats of the plugin (any plugin when null) whose extension equals ext (ignoring
// case), in list order, until one succeeds. A failing format ends the attempt as Failed.
MapFormatResult MapFormat_Run(MapFormatDirection direction, void* plugin, const QString& ext,
                              const QString& path, MapWorld** mapHandle);
