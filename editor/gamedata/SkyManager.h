// Skies: the sky boxes of the game configurations. Each configuration's map profile names a sky
// folder, face suffixes and file extensions; the folder is scanned on disk and in the archives for
// complete sets of six face files, which plugin sky formats decode into an effect record's box
// images. An entry is shared by every configuration that lists it and freed with the last one.
#pragma once

#include <QHash>
#include <QList>
#include <QMultiHash>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "gamedata/PluginFormats.h"

struct GameConfig;
struct MapProfileRecord;
struct RenderContext;
struct ShaderRecord;
struct SkyMeshes;

struct SkyEntry {
    QString displayName; // the name without trailing '_', first character upper-cased
    QString name;
    QString key;          // lower-cased path of the file it was found by
    int32_t refCount = 0; // one per configuration that lists it
    ShaderRecord* shader = nullptr;
};

// The world's sky settings: which sky, and its turn (degrees per second about the axis). The same
// layout as the sky fields of the map world.
struct SkyState {
    ShaderRecord* sky;
    float axis[3];
    float speed;
};
static_assert(sizeof(SkyState) == 24);
static_assert(offsetof(SkyState, axis) == 8);
static_assert(offsetof(SkyState, speed) == 20);

class SkyManager {
public:
    SkyManager();
    ~SkyManager();
    SkyManager(const SkyManager&) = delete;
    SkyManager& operator=(const SkyManager&) = delete;

    QList<SkyFormatEntry> formats;                  // registration order
    QHash<QString, SkyEntry*> entries;              // by key; owned
    QMultiHash<const GameConfig*, SkyEntry*> lists; // what each configuration lists
    // The scan in progress.
    QString baseDir;
    QString skyFolder;
    QStringList filters;
    QStringList suffixes;
    // The box and dome meshes with the sky batch, made on the first draw.
    std::unique_ptr<SkyMeshes> meshes;
};

// The installed host's manager; null without a host.
SkyManager* Sky_Manager();

// Lists the skies of the configuration's sky folder: mod folder, game folder, then their archives.
void Sky_LoadForConfig(SkyManager* manager, GameConfig* config);
// The entry of the file (one of the first-suffix files), decoded and stored in the hash; null
// for a path of another pattern, a name the configuration lists, no format or a missing face.
SkyEntry* Sky_LoadFromPath(SkyManager* manager, const GameConfig* config, const QString& path,
                           const MapProfileRecord* profile);
// Each entry the configuration lists loses a reference (freed at none); the list is dropped.
void Sky_ReleaseForConfig(SkyManager* manager, const GameConfig* config);
// Lists for `to` the entries `from` lists, each one reference more; nothing is decoded.
void Sky_CopyListForConfig(SkyManager* manager, const GameConfig* from, const GameConfig* to);
// The entry of that name (case-insensitive) the configuration lists; null otherwise.
SkyEntry* Sky_FindForConfig(const SkyManager* manager, const GameConfig* config, const QString& name);
// The configuration's skies sorted by display name.
QList<const SkyEntry*> Sky_SortedForConfig(const SkyManager* manager, const GameConfig* config);
// Releases the entry's effect and images and deletes it; unlink also drops it from the hash.
void Sky_Free(SkyManager* manager, SkyEntry* entry, bool unlink);
// Frees every entry and empties the manager (main-window destruction).
void Sky_FreeAll(SkyManager* manager);

// The world's sky pass, after the sky surfaces marked the stencil and with the depth test off:
// the box (and the cloud stages of an effect sky on the dome) around the view origin, turned by
// speed x time about the axis. Nothing without a sky.
void Sky_Draw(const SkyState* state, const RenderContext* context);
