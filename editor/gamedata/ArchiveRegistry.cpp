// Archive look-up over the registry's files.
#include "gamedata/ArchiveRegistry.h"

#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "mainwindow/MainWindow.h"

namespace {

// Archive entries are named relative to the game folder, with '/' separators.
QString archiveName(const char* path) {
    QString name = Path_FromNative(path);
    name.replace('\\', '/');
    QString base = App_GetBaseDirectory();
    if (!base.isEmpty()) {
        if (!base.endsWith('/')) base += '/';
        if (name.startsWith(base)) name = name.mid(base.size());
    }
    while (name.startsWith('/'))
        name.remove(0, 1);
    return name;
}

} // namespace

const ArchiveRegistry::MemoryFile* ArchiveRegistry::find(const QString& path) const {
    for (const MemoryFile& file : memoryFiles) {
        if (file.path.compare(path, Qt::CaseInsensitive) == 0) return &file;
    }
    return nullptr;
}

bool Archive_FileExists(const char* path) {
    if (!path || !*path || !g_mainWindow) return false;
    return g_mainWindow->archives.find(archiveName(path)) != nullptr;
}

bool Archive_LoadFile(ArchiveRegistry* registry, const char* path, void** data, uint32_t* size) {
    if (data) *data = nullptr;
    if (!registry || !path || !*path || !data) return false;
    const ArchiveRegistry::MemoryFile* file = registry->find(archiveName(path));
    if (!file) return false;
    char* block = static_cast<char*>(Sys_Alloc(static_cast<uint64_t>(file->data.size()) + 1));
    if (!block) return false;
    std::memcpy(block, file->data.constData(), static_cast<size_t>(file->data.size()));
    *data = block;
    if (size) *size = static_cast<uint32_t>(file->data.size());
    return true;
}
