#include "gamedata/MapFormats.h"

#include <QFile>

#include "gamedata/GameDataHost.h"
#include "gamedata/PluginManager.h"

namespace {

QList<MapFormatEntry>* formatList(MapFormatDirection direction) {
    PluginManager* plugins = GameData_Plugins();
    if (!plugins) return nullptr;
    return direction == MapFormatDirection::Import ? &plugins->importFormats : &plugins->exportFormats;
}

} // namespace

bool MapFormat_Register(MapFormatDirection direction, const MapFormatEntry& entry) {
    QList<MapFormatEntry>* list = formatList(direction);
    if (!list || !entry.function) return false;
    list->append(entry);
    return true;
}

void MapFormat_UnregisterPlugin(void* plugin) {
    for (MapFormatDirection direction : {MapFormatDirection::Import, MapFormatDirection::Export}) {
        if (QList<MapFormatEntry>* list = formatList(direction))
            list->removeIf([plugin](const MapFormatEntry& e) { return e.plugin == plugin; });
    }
}

const QList<MapFormatEntry>& MapFormat_List(MapFormatDirection direction) {
    static const QList<MapFormatEntry> none;
    const QList<MapFormatEntry>* list = formatList(direction);
    return list ? *list : none;
}

MapFormatResult MapFormat_Run(MapFormatDirection direction, void* plugin, const QString& ext,
                              const QString& path, MapWorld** mapHandle) {
    const QByteArray nativePath = QFile::encodeName(path);
    // A copy: a plugin call may register or drop formats.
    const QList<MapFormatEntry> formats = MapFormat_List(direction);
    for (const MapFormatEntry& format : formats) {
        if (plugin && format.plugin != plugin) continue;
        if (format.extension.compare(ext, Qt::CaseInsensitive) != 0) continue;
        // The first success ends it: a second format of the same extension would import into
        // the filled world again or overwrite the file just written.
        return format.function(format.id, nativePath.constData(), mapHandle) ? MapFormatResult::Done
                                                                             : MapFormatResult::Failed;
    }
    return MapFormatResult::NoFormat;
}
