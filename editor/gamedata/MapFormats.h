// The map import and export formats that plugins register. Until the plugin host loads plugins,
// formats are registered here directly (tests register their own).
#pragma once

#include <QList>
#include <QString>
#include <cstdint>

// int (format id, path as 8-bit text, the world's map handle); 0 is failure.
using MapFormatFunc = int32_t (*)(int32_t formatId, const char* path, void* mapHandle);

struct MapFormatEntry {
    void* plugin = nullptr; // owning plugin library
    int32_t id = 0;
    QString name;
    QString extension; // with its leading dot
    MapFormatFunc function = nullptr;
};

enum class MapFormatDirection : int32_t { Import, Export };

// Appended to the import or export list (registration order); entries without a function are
// refused.
bool MapFormat_Register(MapFormatDirection direction, const MapFormatEntry& entry);
// Drops every entry of the plugin from both lists.
void MapFormat_UnregisterPlugin(void* plugin);
const QList<MapFormatEntry>& MapFormat_List(MapFormatDirection direction);

enum class MapFormatResult : int32_t { NoFormat, Failed, Done };

// Calls the formats of the plugin (any plugin when null) whose extension equals ext (ignoring
// case), in list order, until one succeeds. A failing format ends the attempt as Failed.
MapFormatResult MapFormat_Run(MapFormatDirection direction, void* plugin, const QString& ext,
                              const QString& path, void* mapHandle);
