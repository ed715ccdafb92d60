// The game's archives (PK3 and the like), opened through the archive formats plugins registered
// and shared between the game configurations that need them. File loading falls back to them:
// program archives ("*.pak" in the editor's base folder, open for the whole run) for paths under
// the base folder, and the archives of the current configuration's game and mod folders.
#pragma once

#include <QHash>
#include <QList>
#include <QMultiMap>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/FileArchives.h"
#include "gamedata/PluginFormats.h"

struct GameConfig;
struct GameFolders;

class ArchiveRegistry : public FileArchives {
public:
    ArchiveRegistry() = default;
    ~ArchiveRegistry() override;
    ArchiveRegistry(const ArchiveRegistry&) = delete;
    ArchiveRegistry& operator=(const ArchiveRegistry&) = delete;

    // The archive formats plugins registered, in registration order.
    QList<ArchiveFormatEntry> formats;
    // Every handle ever opened, loaded or not, by path with '/' separators.
    QHash<QString, ArchiveHandle*> open;
    // The loaded "*.pak" archives of the base folder, most recently added first.
    QList<ArchiveHandle*> programArchives;
    // Loaded archives of each configuration's game folder and mod folder; values() of one owner
    // gives them most recently added first.
    QMultiMap<const GameFolders*, ArchiveHandle*> baseArchives;
    QMultiMap<const GameFolders*, ArchiveHandle*> modArchives;
    // Raised whenever what the archives hold may have changed; remembered look-ups compare it.
    uint64_t generation = 0;

    // The system layer's look-ups: Archive_FileExists, Archive_LoadFile and the generation.
    bool holdsFile(const char* path) override;
    bool loadFile(const char* path, void** data, uint32_t* size) override;
    uint64_t contentStamp() const override { return generation; }
};

// The handle of the archive at path, opened with the first format of its extension that takes
// it; never null (check its loaded field). A path opened before is shared, with owner added.
ArchiveHandle* Archive_Open(ArchiveRegistry* registry, const QString& path, GameConfig* owner);
// Opens the program archives: "*.pak" in the base folder, in name order.
void Archive_InitRegistry(ArchiveRegistry* registry);
// Opens the archives of the configuration's game and mod folders by its profile's extensions.
void Archive_LoadForConfig(ArchiveRegistry* registry, GameConfig* config);
// Drops the owner from every archive it holds; an archive without owners is unloaded and freed.
void Archive_ReleaseByOwner(ArchiveRegistry* registry, GameConfig* owner);
// Whether an archive holds the file: every folder holding the path is asked in turn, the base
// folder's program archives, then the current configuration's mod- and game-folder archives (a
// game folder may lie inside the base folder).
bool Archive_FileExists(ArchiveRegistry* registry, const char* path);
// The file from the archives in a new Sys_Alloc block of size + 1 bytes (free with Sys_Free);
// size may be null. A path under no folder is searched as a name in the mod folder's archives,
// then the game folder's.
bool Archive_LoadFile(ArchiveRegistry* registry, const char* path, void** data, uint32_t* size);
// The file's first maxBytes bytes (all of a shorter file) as Archive_LoadFile gives a whole one;
// formats that cannot read a part give the whole file.
bool Archive_LoadFileHead(ArchiveRegistry* registry, const char* path, uint32_t maxBytes, void** data,
                          uint32_t* size);
// The file's size from the first archive that holds it and whose format can tell without reading
// it, searched as Archive_LoadFile searches; -1 when none can.
int64_t Archive_FileSize(ArchiveRegistry* registry, const char* path);
// Names matching the pattern in the current configuration's mod-folder (mod) or game-folder
// archives, each once.
QStringList Archive_ListFiles(ArchiveRegistry* registry, const char* pattern, bool mod);
// Unloads and frees every handle.
void Archive_FreeAll(ArchiveRegistry* registry);
void Archive_DestroyRegistry(ArchiveRegistry* registry);
