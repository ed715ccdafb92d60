#include "gamedata/MapFormats.h"

#include <QFile>

namespace {

QList<MapFormatEntry>& formatList(MapFormatDirection direction) {
    static QList<MapFormatEntry> imports;
    static QList<MapFormatEntry> exports;
    return direction == MapFormatDirection::Import ? imports : exports;
}

} // namespace

bool MapFormat_Register(MapFormatDirection direction, const MapFormatEntry& entry) {
    if (!entry.function) return false;
    formatList(direction).append(entry);
    return true;
}

void MapFormat_UnregisterPlugin(void* plugin) {
    for (MapFormatDirection direction : {MapFormatDirection::Import, MapFormatDirection::Export})
        formatList(direction).removeIf([plugin](const MapFormatEntry& e) { return e.plugin == plugin; });
}

const QList<MapFormatEntry>& MapFormat_List(MapFormatDirection direction) {
    return formatList(direction);
}

MapFormatResult MapFormat_Run(MapFormatDirection direction, void* plugin, const QString& ext,
                              const QString& path, void* mapHandle) {
    const QByteArray nativePath = QFile::encodeName(path);
    // A copy: a plugin call may register or drop formats.
    const QList<MapFormatEntry> formats = formatList(direction);
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
