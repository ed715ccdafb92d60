// The game's archives (packed resource files) that file loading falls back to. Archive formats
// come from plugins; until they are loaded the registry holds only files added in memory.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

#include "gamedata/PluginFormats.h"

class ArchiveRegistry {
public:
    // The archive formats plugins registered, in registration order.
    QList<ArchiveFormatEntry> formats;
    struct MemoryFile {
        QString path;
        QByteArray data;
    };
    // Files served as if an archive held them (looked up without regard to case).
    QList<MemoryFile> memoryFiles;

    const MemoryFile* find(const QString& path) const;
};

// True when any loaded archive of the main window's registry holds the path; an absolute path
// under the editor's base folder is made relative first.
bool Archive_FileExists(const char* path);
// Reads the file from the first archive that holds it into a zero-filled block of length + 1
// bytes (free with Sys_Free); size may be null. False when no archive holds it.
bool Archive_LoadFile(ArchiveRegistry* registry, const char* path, void** data, uint32_t* size);
