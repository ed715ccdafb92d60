#include "gamedata/ModelCache.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstring>

#include "core/FileLookup.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/TextureManager.h"

namespace {

QString normalised(const QString& path) {
    QString name = path;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name;
}

QString suffixOf(const QString& key) {
    return QFileInfo(key).suffix().toLower();
}

TextureManager* textures() {
    return GameData_Textures();
}

// Both entries hold the plugin's data and the unload function of the format that made it.
template <typename CacheEntry> struct CacheKind {
    using Entry = CacheEntry;
    static void unload(Entry* entry) {
        if (entry->data && entry->unload) entry->unload(entry->formatId, entry);
        entry->data = nullptr;
    }
};

// What differs between sprites and models; everything else is one routine.
struct SpriteKind : CacheKind<SpriteCacheEntry> {
    static QList<ModelFormatEntry>& formats(ModelCache* cache) { return cache->spriteFormats; }
    static QHash<QString, Entry*>& table(ModelCache* cache) { return cache->sprites; }
    static int32_t load(const ModelFormatEntry& format, const char* path, const uint8_t* data, uint32_t size,
                        Entry* entry) {
        return format.loadSprite ? format.loadSprite(format.id, path, data, size, entry) : 0;
    }
    static void take(const ModelFormatEntry& format, Entry* entry) { entry->unload = format.unloadSprite; }
    static void releaseTexture(Entry* entry) {
        if (!entry->texture) return;
        if (TextureManager* manager = textures())
            Tex_ReleaseShader(manager, entry->texture);
        else if (entry->texture->refCount > 0)
            --entry->texture->refCount;
        entry->texture = nullptr;
    }
};

struct ModelKind : CacheKind<ModelCacheEntry> {
    static QList<ModelFormatEntry>& formats(ModelCache* cache) { return cache->modelFormats; }
    static QHash<QString, Entry*>& table(ModelCache* cache) { return cache->models; }
    static int32_t load(const ModelFormatEntry& format, const char* path, const uint8_t* data, uint32_t size,
                        Entry* entry) {
        return format.loadModel ? format.loadModel(format.id, path, data, size, entry) : 0;
    }
    static void take(const ModelFormatEntry& format, Entry* entry) {
        entry->render = format.render;
        entry->bounds = format.getBounds;
        entry->unload = format.unloadModel;
    }
    static void releaseTexture(Entry*) {}
};

bool hasFormat(const QList<ModelFormatEntry>& formats, const QString& extension) {
    for (const ModelFormatEntry& format : formats)
        if (format.extension.compare(extension, Qt::CaseInsensitive) == 0) return true;
    return false;
}

// Reads the file and offers it to every format of its extension until one takes it (acquire
// steps 7 to 9, and the second half of a reload).
template <typename Kind>
void loadInto(ModelCache* cache, typename Kind::Entry* entry, const QString& key, const QString& extension,
              const uint8_t* palette) {
    const QByteArray path = Path_ToNative(key);
    uint32_t size = 0;
    char* data = Sys_LoadFile(path.constData(), &size);
    if (!data) return;
    for (ModelFormatEntry& format : Kind::formats(cache)) {
        if (format.extension.compare(extension, Qt::CaseInsensitive) != 0) continue;
        if (format.setPalette && format.palette != palette) {
            format.setPalette(palette);
            format.palette = palette;
        }
        if (!Kind::load(format, path.constData(), reinterpret_cast<const uint8_t*>(data), size, entry))
            continue;
        entry->formatId = format.id;
        Kind::take(format, entry);
        entry->loaded = 1;
        break;
    }
    Sys_Free(data);
}

template <typename Kind>
typename Kind::Entry* acquire(ModelCache* cache, const QString& path, const uint8_t* palette, bool sprite) {
    using Entry = typename Kind::Entry;
    if (!cache) return nullptr;
    const QString key = Model_CacheKey(path);
    if (Entry* entry = Kind::table(cache).value(key, nullptr)) {
        ++entry->refCount;
        return entry;
    }
    auto* entry = static_cast<Entry*>(Sys_Alloc(sizeof(Entry)));
    entry->refCount = 1;
    Kind::table(cache).insert(key, entry);
    cache->keys.insert(entry, key);

    const QString suffix = suffixOf(key);
    // A sprite without an extension names an effect ("sprite(flareShader)"): found by the effect's
    // name, not by the key its package stored it under (a file path).
    if (sprite && suffix.isEmpty()) {
        if (TextureManager* manager = textures())
            if (ShaderRecord* texture =
                    Tex_FindShader(manager, Text_ToWindows1251(normalised(path)).constData())) {
                ++texture->refCount;
                reinterpret_cast<SpriteCacheEntry*>(entry)->texture = texture;
                entry->loaded = 1;
            }
        return entry;
    }
    const QString extension = QLatin1Char('.') + suffix;
    if (suffix.isEmpty() || !hasFormat(Kind::formats(cache), extension)) return entry;

    GameData_ShowProgress(QCoreApplication::translate("ModelCache", "Precaching: %1")
                              .arg(Sys_MakeRelativePath(cache->displayBase, key)));
    Sys_VerbosePrintf("Loading: \"%s\"\n", Path_ToNative(key).constData());
    loadInto<Kind>(cache, entry, key, extension, palette);
    return entry;
}

template <typename Kind> QString keyOf(const ModelCache* cache, const typename Kind::Entry* entry) {
    if (!cache || !entry) return QString();
    return cache->keys.value(entry);
}

template <typename Kind> void lowerCount(typename Kind::Entry* entry, const QString& key) {
    if (!entry) return;
    if (entry->refCount <= 0) {
        Sys_Warning("model cache: \"%s\" released more often than acquired", Path_ToNative(key).constData());
        entry->refCount = 0;
        return;
    }
    --entry->refCount;
}

template <typename Kind> void release(ModelCache* cache, const QString& path) {
    if (!cache) return;
    const QString key = Model_CacheKey(path);
    lowerCount<Kind>(Kind::table(cache).value(key, nullptr), key);
}

template <typename Kind> void releaseEntry(ModelCache* cache, typename Kind::Entry* entry) {
    if (!cache || !entry) return;
    lowerCount<Kind>(entry, keyOf<Kind>(cache, entry));
}

template <typename Kind> void reload(ModelCache* cache, typename Kind::Entry* entry, const uint8_t* palette) {
    if (!cache || !entry) return;
    // Asked for by the user: files may have been added or removed since the names were resolved.
    Sys_ForgetFoundFiles();
    const QString key = keyOf<Kind>(cache, entry);
    if (key.isEmpty()) return;
    const QString extension = QLatin1Char('.') + suffixOf(key);
    if (!hasFormat(Kind::formats(cache), extension)) return;
    Sys_VerbosePrintf("Reloading: \"%s\"\n", Path_ToNative(key).constData());
    Kind::unload(entry);
    entry->loaded = 0;
    loadInto<Kind>(cache, entry, key, extension, palette);
}

template <typename Kind> void freeEntry(typename Kind::Entry* entry) {
    Kind::releaseTexture(entry);
    Kind::unload(entry);
    Sys_Free(entry);
}

template <typename Kind> void purge(ModelCache* cache, bool all) {
    auto& table = Kind::table(cache);
    for (auto it = table.begin(); it != table.end();) {
        if (!all && it.value()->refCount != 0) {
            ++it;
            continue;
        }
        cache->keys.remove(it.value());
        freeEntry<Kind>(it.value());
        it = table.erase(it);
    }
}

} // namespace

ModelCache::~ModelCache() {
    Model_FreeAll(this);
}

ModelCache* Model_Cache() {
    GameDataHost* host = GameData_Host();
    return host ? &host->models() : nullptr;
}

QString Model_CacheKey(const QString& path) {
    // Remembered: a map binds the same few models for hundreds of entities.
    QByteArray resolved;
    Sys_FindFileRemembered(Path_ToNative(normalised(path)), &resolved);
    return normalised(Path_FromNative(resolved));
}

SpriteCacheEntry* Model_AcquireSprite(ModelCache* cache, const QString& path, const uint8_t* palette) {
    return acquire<SpriteKind>(cache, path, palette, true);
}

ModelCacheEntry* Model_AcquireModel(ModelCache* cache, const QString& path, const uint8_t* palette) {
    return acquire<ModelKind>(cache, path, palette, false);
}

void Model_ReleaseSprite(ModelCache* cache, const QString& path) {
    release<SpriteKind>(cache, path);
}

void Model_ReleaseModel(ModelCache* cache, const QString& path) {
    release<ModelKind>(cache, path);
}

void Model_ReleaseSpriteEntry(ModelCache* cache, SpriteCacheEntry* entry) {
    releaseEntry<SpriteKind>(cache, entry);
}

void Model_ReleaseModelEntry(ModelCache* cache, ModelCacheEntry* entry) {
    releaseEntry<ModelKind>(cache, entry);
}

void Model_ReloadSprite(ModelCache* cache, SpriteCacheEntry* entry, const uint8_t* palette) {
    reload<SpriteKind>(cache, entry, palette);
}

void Model_ReloadModel(ModelCache* cache, ModelCacheEntry* entry, const uint8_t* palette) {
    reload<ModelKind>(cache, entry, palette);
}

QString Model_PathOfSprite(const ModelCache* cache, const SpriteCacheEntry* entry) {
    return keyOf<SpriteKind>(cache, entry);
}

QString Model_PathOfModel(const ModelCache* cache, const ModelCacheEntry* entry) {
    return keyOf<ModelKind>(cache, entry);
}

void Model_PurgeUnused(ModelCache* cache) {
    if (!cache) cache = Model_Cache();
    if (!cache) return;
    // A map is created or opened: its models are resolved afresh.
    Sys_ForgetFoundFiles();
    purge<SpriteKind>(cache, false);
    purge<ModelKind>(cache, false);
}

void Model_FreeAll(ModelCache* cache) {
    if (!cache) return;
    Sys_ForgetFoundFiles();
    purge<SpriteKind>(cache, true);
    purge<ModelKind>(cache, true);
}

void Model_DestroyCache(ModelCache* cache) {
    if (!cache) return;
    Model_FreeAll(cache);
    cache->sprites.squeeze();
    cache->models.squeeze();
    cache->keys.squeeze();
    cache->displayBase.clear();
    cache->spriteFormats.clear();
    cache->modelFormats.clear();
}
