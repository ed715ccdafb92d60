// The model and sprite cache: entities' models and sprites, loaded through the formats plugins
// registered and shared between every user by resolved path with a reference count. An entry
// lives from its first acquire until a purge finds nobody holding it, or until everything is
// freed; a load that failed leaves an unloaded entry that later acquires return as it is.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>

#include "gamedata/PluginFormats.h"

class ModelCache {
public:
    ModelCache() = default;
    ~ModelCache();
    ModelCache(const ModelCache&) = delete;
    ModelCache& operator=(const ModelCache&) = delete;

    QList<ModelFormatEntry> spriteFormats; // registration order
    QList<ModelFormatEntry> modelFormats;
    QHash<QString, SpriteCacheEntry*> sprites; // by cache key
    QHash<QString, ModelCacheEntry*> models;
    QHash<const void*, QString> keys; // of every entry of both kinds
    // The current configuration's game folder: progress texts show paths relative to it.
    QString displayBase;
};

// The installed host's cache; null without a host.
ModelCache* Model_Cache();

// The cache key of a path: '\' turned into '/', then resolved against the current configuration's
// folders (the name as given when nothing holds it).
QString Model_CacheKey(const QString& path);

// Never null; the count is raised. A sprite named without extension is a texture of the texture
// manager. palette: the 768-byte palette handed to formats that take one (may be null).
SpriteCacheEntry* Model_AcquireSprite(ModelCache* cache, const QString& path, const uint8_t* palette);
ModelCacheEntry* Model_AcquireModel(ModelCache* cache, const QString& path, const uint8_t* palette);
// Lower the count; nothing is freed before the next purge. A count never goes below 0.
void Model_ReleaseSprite(ModelCache* cache, const QString& path);
void Model_ReleaseModel(ModelCache* cache, const QString& path);
// Entry-based release for holders that kept the entry, not its path.
void Model_ReleaseSpriteEntry(ModelCache* cache, SpriteCacheEntry* entry);
void Model_ReleaseModelEntry(ModelCache* cache, ModelCacheEntry* entry);
// Load the entry's file again in place; count and key stay. Null: nothing.
void Model_ReloadSprite(ModelCache* cache, SpriteCacheEntry* entry, const uint8_t* palette);
void Model_ReloadModel(ModelCache* cache, ModelCacheEntry* entry, const uint8_t* palette);
// The entry's key; empty for null or an entry the cache does not hold.
QString Model_PathOfSprite(const ModelCache* cache, const SpriteCacheEntry* entry);
QString Model_PathOfModel(const ModelCache* cache, const ModelCacheEntry* entry);
// Frees the entries nobody holds (when a map is created or opened).
void Model_PurgeUnused(ModelCache* cache = nullptr);
// Frees every entry whatever its count.
void Model_FreeAll(ModelCache* cache);
void Model_DestroyCache(ModelCache* cache);
