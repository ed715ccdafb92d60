// An archive format for tests ("Memory Archive", ".zmem"): archives are paths registered here
// with their files, served through the same plugin functions a real format registers.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class ArchiveRegistry;
struct ArchiveHandle;
struct GameConfig;

class cMemoryArchives {
public:
    // Registers the format with the registry (the main window's when null).
    explicit cMemoryArchives(ArchiveRegistry* registry = nullptr);
    // Frees every archive of the registry and removes the format.
    ~cMemoryArchives();
    cMemoryArchives(const cMemoryArchives&) = delete;
    cMemoryArchives& operator=(const cMemoryArchives&) = delete;

    // Files by name (matched without case) of the archive at path (ending in ".zmem").
    void add(const QString& path, const QMap<QString, QByteArray>& files);
    // Opens the archive and adds it to the owner's game-folder (or mod-folder) archives.
    ArchiveHandle* open(const QString& path, GameConfig* owner, bool mod = false);

    ArchiveRegistry* registry;
};
