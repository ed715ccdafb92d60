#include "MemoryArchive.h"

#include <cstring>

#include "core/SysHost.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "kstdlib/kstring.h"

namespace {

using Files = QMap<QString, QByteArray>;

QMap<QString, Files>& archives() {
    static QMap<QString, Files> all;
    return all;
}

const QByteArray* member(ArchiveHandle* h, const char* name) {
    const Files* files = static_cast<const Files*>(h->data);
    if (!files || !name) return nullptr;
    for (auto it = files->cbegin(); it != files->cend(); ++it)
        if (it.key().compare(QString::fromUtf8(name), Qt::CaseInsensitive) == 0) return &it.value();
    return nullptr;
}

int32_t load(int32_t, const char* path, ArchiveHandle* h) {
    auto it = archives().find(QString::fromUtf8(path));
    if (it == archives().end()) return 0;
    h->data = &it.value();
    return 1;
}

int32_t find(int32_t, ArchiveHandle* h, const char* name) {
    return member(h, name) ? 1 : 0;
}

int32_t loadFile(int32_t, ArchiveHandle* h, const char* name, void** data) {
    const QByteArray* bytes = member(h, name);
    if (!bytes || bytes->isEmpty()) return 0;
    char* block = static_cast<char*>(Sys_Alloc(uint64_t(bytes->size()) + 1));
    std::memcpy(block, bytes->constData(), size_t(bytes->size()));
    *data = block;
    return int32_t(bytes->size());
}

int32_t list(int32_t, ArchiveHandle* h, const char* pattern, char*** names) {
    const Files* files = static_cast<const Files*>(h->data);
    QList<QByteArray> matches;
    for (const QString& name : files->keys())
        if (K_Strfilter(pattern, name.toUtf8().constData(), 0)) matches << name.toUtf8();
    if (matches.isEmpty()) return 0;
    auto** array = static_cast<char**>(Sys_Alloc(uint64_t(matches.size() + 1) * sizeof(char*)));
    for (qsizetype i = 0; i < matches.size(); ++i)
        array[i] = Sys_StrDup(matches[i].constData());
    *names = array;
    return 1;
}

int32_t unload(int32_t, ArchiveHandle* h) {
    h->data = nullptr;
    return 1;
}

} // namespace

cMemoryArchives::cMemoryArchives(ArchiveRegistry* r) : registry(r ? r : GameData_Archives()) {
    ArchiveFormatEntry format;
    format.name = "Memory Archive";
    format.extension = ".zmem";
    format.findFile = find;
    format.loadFile = loadFile;
    format.load = load;
    format.unload = unload;
    format.listFiles = list;
    registry->formats.append(format);
}

cMemoryArchives::~cMemoryArchives() {
    Archive_FreeAll(registry);
    registry->formats.removeIf([](const ArchiveFormatEntry& f) { return f.extension == ".zmem"; });
    archives().clear();
}

void cMemoryArchives::add(const QString& path, const QMap<QString, QByteArray>& files) {
    archives().insert(path, files);
}

ArchiveHandle* cMemoryArchives::open(const QString& path, GameConfig* owner, bool mod) {
    ArchiveHandle* handle = Archive_Open(registry, path, owner);
    if (handle->loaded) (mod ? registry->modArchives : registry->baseArchives).insert(owner, handle);
    ++registry->generation;
    return handle;
}
