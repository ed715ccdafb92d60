// Archive handles, their owners and the fallback searches of file loading.
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameDataHost.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>

#include "core/BaseDirectory.h"
#include "core/FileLookup.h"
#include "core/System.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"

namespace {

bool holdsOwner(const ArchiveHandle* handle, const GameConfig* owner) {
    for (const ArchiveOwnerNode* node = handle->owners; node; node = node->next)
        if (node->owner == owner) return true;
    return false;
}

void freeOwners(ArchiveHandle* handle) {
    while (ArchiveOwnerNode* node = handle->owners) {
        handle->owners = node->next;
        delete node;
    }
    handle->ownerCount = 0;
}

void addOwner(ArchiveHandle* handle, GameConfig* owner) {
    handle->owners = new ArchiveOwnerNode{handle->owners, owner};
    ++handle->ownerCount;
}

void unloadAndFree(ArchiveHandle* handle) {
    freeOwners(handle);
    if (handle->data && handle->unload) handle->unload(handle->formatId, handle);
    delete handle;
}

// The part of path after folder and one separator; null when path is not inside folder. The
// folder must end at a separator of the path: "/q3/baseoa" does not hold "/q3/baseoa2/x".
const char* insideFolder(const char* path, const QByteArray& folder) {
    if (folder.isEmpty() || std::strncmp(path, folder.constData(), size_t(folder.size())) != 0)
        return nullptr;
    const char* rest = path + folder.size();
    if (folder.endsWith('/') || folder.endsWith('\\')) return rest;
    if (*rest != '/' && *rest != '\\') return nullptr;
    return rest + 1;
}

QByteArray nativeFolder(const QString& folder) {
    return QFile::encodeName(folder);
}

bool findIn(const QList<ArchiveHandle*>& handles, const char* name) {
    for (ArchiveHandle* h : handles)
        if (h->findFile && h->findFile(h->formatId, h, name)) return true;
    return false;
}

bool loadFrom(const QList<ArchiveHandle*>& handles, const char* name, void** data, uint32_t* size) {
    for (ArchiveHandle* h : handles) {
        if (!h->loadFile) continue;
        void* block = nullptr;
        const int32_t length = h->loadFile(h->formatId, h, name, &block);
        if (length > 0 && block) {
            *data = block;
            if (size) *size = uint32_t(length);
            return true;
        }
    }
    return false;
}

// The archives of one configuration folder, most recently added first.
QList<ArchiveHandle*> folderArchives(const QMultiMap<const GameFolders*, ArchiveHandle*>& map,
                                     const GameFolders* config) {
    return map.values(config);
}

// Files (no folders) of dir matching the filters, in name order, as absolute paths.
QStringList folderFiles(const QString& dir, const QStringList& filters) {
    QStringList paths;
    const QDir folder(dir);
    for (const QString& name : folder.entryList(filters, QDir::Files, QDir::Name))
        paths << folder.absoluteFilePath(name);
    return paths;
}

void openFolder(ArchiveRegistry* registry, const QString& dir, const QStringList& filters, GameConfig* config,
                QMultiMap<const GameFolders*, ArchiveHandle*>* into) {
    if (dir.isEmpty()) return;
    for (const QString& path : folderFiles(dir, filters)) {
        ArchiveHandle* handle = Archive_Open(registry, path, config);
        if (handle->loaded) into->insert(config, handle);
        ++registry->generation;
    }
}

} // namespace

ArchiveRegistry::~ArchiveRegistry() {
    Archive_DestroyRegistry(this);
}

ArchiveHandle* Archive_Open(ArchiveRegistry* registry, const QString& path, GameConfig* owner) {
    ++registry->generation;
    QString key = path;
    key.replace('\\', '/');
    const QByteArray native = QFile::encodeName(key);
    if (ArchiveHandle* handle = registry->open.value(key, nullptr)) {
        if (!holdsOwner(handle, owner)) addOwner(handle, owner);
        Sys_VerbosePrintf("Reusing archive: \"%s\"\n", native.constData());
        return handle;
    }
    auto* handle = new ArchiveHandle{};
    addOwner(handle, owner);
    registry->open.insert(key, handle);

    const QFileInfo info(key);
    const QString extension = "." + info.suffix().toLower();
    bool any = false;
    for (const ArchiveFormatEntry& format : registry->formats)
        any = any || format.extension.compare(extension, Qt::CaseInsensitive) == 0;
    if (!any) return handle;

    GameData_ShowProgress(
        QCoreApplication::translate("ArchiveRegistry", "Precaching: %1").arg(info.fileName()));
    Sys_VerbosePrintf("Loading archive: \"%s\"\n", native.constData());
    for (const ArchiveFormatEntry& format : registry->formats) {
        if (format.extension.compare(extension, Qt::CaseInsensitive) != 0 || !format.load) continue;
        if (format.load(format.id, native.constData(), handle)) {
            handle->formatId = format.id;
            handle->findFile = format.findFile;
            handle->loadFile = format.loadFile;
            handle->listFiles = format.listFiles;
            handle->unload = format.unload;
            handle->loaded = 1;
            break;
        }
    }
    return handle;
}

void Archive_InitRegistry(ArchiveRegistry* registry) {
    ++registry->generation;
    for (const QString& path : folderFiles(App_GetBaseDirectory(), {"*.pak"})) {
        ArchiveHandle* handle = Archive_Open(registry, path, nullptr);
        if (handle->loaded) registry->programArchives.prepend(handle);
        ++registry->generation;
    }
}

void Archive_LoadForConfig(ArchiveRegistry* registry, GameConfig* config) {
    GameConfigManager* configs = GameCfg_Manager();
    if (!config || !configs) return;
    const MapProfileRecord* profile = GameCfg_FindProfile(configs, config->MapProfile.toUtf8().constData());
    if (!profile) return;
    const QString extensions = QString::fromUtf8(Profile_Text(profile->archiveExtensions));
    if (extensions.isEmpty()) return;
    QStringList filters = extensions.split(';');
    for (QString& filter : filters)
        filter.replace(".", "*.");
    ++registry->generation;
    openFolder(registry, config->GameBasedir, filters, config, &registry->baseArchives);
    openFolder(registry, config->GameModdir, filters, config, &registry->modArchives);
}

void Archive_ReleaseByOwner(ArchiveRegistry* registry, GameConfig* owner) {
    for (auto it = registry->open.begin(); it != registry->open.end();) {
        ArchiveHandle* handle = it.value();
        if (!holdsOwner(handle, owner)) {
            ++it;
            continue;
        }
        if (handle->ownerCount > 1) {
            for (ArchiveOwnerNode** node = &handle->owners; *node;) {
                if ((*node)->owner == owner) {
                    ArchiveOwnerNode* gone = *node;
                    *node = gone->next;
                    delete gone;
                } else {
                    node = &(*node)->next;
                }
            }
            --handle->ownerCount;
            ++it;
            continue;
        }
        unloadAndFree(handle);
        it = registry->open.erase(it);
    }
    registry->baseArchives.remove(owner);
    registry->modArchives.remove(owner);
    ++registry->generation;
}

namespace {

// Asks each folder that holds the path, the program folder first, then the current
// configuration's game and mod folders: a game folder may lie inside the program folder (the
// sample beside the program), and its own archives hold its files. A path under no folder is a
// name in the mod folder's archives, then the game folder's.
template <typename Ask>
bool askFolders(ArchiveRegistry* registry, const char* path, bool bareNames, Ask&& ask) {
    bool inside = false;
    if (const char* name = insideFolder(path, nativeFolder(App_GetBaseDirectory()))) {
        inside = true;
        if (ask(registry->programArchives, name)) return true;
    }
    const GameFolders* config = Sys_FileLookupConfig();
    if (!config) return false;
    const QList<ArchiveHandle*> mod = folderArchives(registry->modArchives, config);
    const QList<ArchiveHandle*> base = folderArchives(registry->baseArchives, config);
    if (const char* name = insideFolder(path, nativeFolder(config->GameModdir))) {
        inside = true;
        if (ask(mod, name)) return true;
    }
    if (const char* name = insideFolder(path, nativeFolder(config->GameBasedir))) {
        inside = true;
        if (ask(base, name)) return true;
    }
    if (inside || !bareNames) return false;
    return ask(mod, path) || ask(base, path);
}

} // namespace

bool Archive_FileExists(ArchiveRegistry* registry, const char* path) {
    if (!registry || !path || !*path) return false;
    return askFolders(registry, path, false, [](const QList<ArchiveHandle*>& handles, const char* name) {
        return findIn(handles, name);
    });
}

bool ArchiveRegistry::holdsFile(const char* path) {
    return Archive_FileExists(this, path);
}

bool ArchiveRegistry::loadFile(const char* path, void** data, uint32_t* size) {
    return Archive_LoadFile(this, path, data, size);
}

bool Archive_LoadFile(ArchiveRegistry* registry, const char* path, void** data, uint32_t* size) {
    if (data) *data = nullptr;
    if (!registry || !path || !*path || !data) return false;
    return askFolders(registry, path, true, [&](const QList<ArchiveHandle*>& handles, const char* name) {
        return loadFrom(handles, name, data, size);
    });
}

bool Archive_LoadFileHead(ArchiveRegistry* registry, const char* path, uint32_t maxBytes, void** data,
                          uint32_t* size) {
    if (data) *data = nullptr;
    if (!registry || !path || !*path || !data || maxBytes == 0) return false;
    return askFolders(registry, path, true, [&](const QList<ArchiveHandle*>& handles, const char* name) {
        for (ArchiveHandle* h : handles) {
            kpLoadArchiveFileHeadFn head = nullptr;
            for (const ArchiveFormatEntry& format : std::as_const(registry->formats))
                if (format.id == h->formatId && format.loadFile == h->loadFile) head = format.loadFileHead;
            void* block = nullptr;
            const int32_t length = head ? head(h->formatId, h, name, maxBytes, &block)
                                        : (h->loadFile ? h->loadFile(h->formatId, h, name, &block) : 0);
            if (length > 0 && block) {
                *data = block;
                if (size) *size = uint32_t(length);
                return true;
            }
        }
        return false;
    });
}

int64_t Archive_FileSize(ArchiveRegistry* registry, const char* path) {
    if (!registry || !path || !*path) return -1;
    int64_t size = -1;
    askFolders(registry, path, true, [&](const QList<ArchiveHandle*>& handles, const char* name) {
        for (ArchiveHandle* h : handles)
            for (const ArchiveFormatEntry& format : std::as_const(registry->formats))
                if (format.id == h->formatId && format.loadFile == h->loadFile && format.fileSize)
                    if ((size = format.fileSize(h->formatId, h, name)) >= 0) return true;
        return false;
    });
    return size;
}

QStringList Archive_ListFiles(ArchiveRegistry* registry, const char* pattern, bool mod) {
    QStringList names;
    const GameFolders* config = Sys_FileLookupConfig();
    if (!registry || !config) return names;
    for (ArchiveHandle* h : folderArchives(mod ? registry->modArchives : registry->baseArchives, config)) {
        char** list = nullptr;
        if (!h->listFiles || h->listFiles(h->formatId, h, pattern, &list) <= 0 || !list) continue;
        for (char** name = list; *name; ++name) {
            names << QString::fromUtf8(*name);
            Sys_Free(*name);
        }
        Sys_Free(list);
    }
    names.removeDuplicates();
    return names;
}

void Archive_FreeAll(ArchiveRegistry* registry) {
    for (ArchiveHandle* handle : std::as_const(registry->open))
        unloadAndFree(handle);
    registry->open.clear();
    // The program list points at the same handles.
    registry->programArchives.clear();
    registry->baseArchives.clear();
    registry->modArchives.clear();
    ++registry->generation;
}

void Archive_DestroyRegistry(ArchiveRegistry* registry) {
    Archive_FreeAll(registry);
    registry->formats.clear();
}
