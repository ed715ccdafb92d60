// Whole-file loading with the archive fallback, file look-up in the game folders, directory
// creation and relative paths. Paths are UTF-8; game files match without regard to case.
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/BaseDirectory.h"
#include "core/FileArchives.h"
#include "core/FileLookup.h"
#include "core/Platform.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"

namespace {

// The file on disk as it is spelled there; empty when there is no such regular file.
QByteArray diskPath(const char* path) {
    const QString found = Plat_FindFileNoCase(Path_FromNative(path));
    return found.isEmpty() ? QByteArray() : Path_ToNative(found);
}

// Whether the program's archives hold the file (none without a host).
bool inHostArchives(const char* path) {
    SysHost* host = Sys_Host();
    return host && host->archives().holdsFile(path);
}

// Copies at most size - 1 bytes and terminates; nothing without room.
void copyToBuffer(char* buffer, uint32_t size, const QByteArray& text) {
    if (!buffer || size == 0) return;
    const size_t length = std::min(static_cast<size_t>(text.size()), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text.constData(), length);
    buffer[length] = '\0';
}

// Reads the open file to its end and closes it.
char* readWholeFile(const char* shownPath, FILE* file, uint32_t* length) {
    long long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    std::rewind(file);
    if (size < 0 || size >= static_cast<long long>(UINT32_MAX)) {
        // The length travels as an unsigned 32-bit value.
        Sys_Error("can't read %lld bytes from \"%s\" (%s)", size, shownPath,
                  Plat_ErrorText(size < 0 ? errno : EFBIG));
        std::fclose(file);
        return nullptr;
    }
    char* block = static_cast<char*>(Sys_Alloc(static_cast<uint64_t>(size) + 1));
    if (!block) {
        Sys_Error("can't read %lld bytes from \"%s\" (%s)", size, shownPath, Plat_ErrorText(ENOMEM));
        std::fclose(file);
        return nullptr;
    }
    const size_t got = std::fread(block, 1, static_cast<size_t>(size), file);
    if (got != static_cast<size_t>(size)) {
        const int error = std::ferror(file) && errno ? errno : EIO;
        Sys_Error("can't read %lld bytes from \"%s\" (%s)", size, shownPath, Plat_ErrorText(error));
        Sys_Free(block);
        std::fclose(file);
        return nullptr;
    }
    std::fclose(file);
    if (length) *length = static_cast<uint32_t>(size);
    return block;
}

} // namespace

char* Sys_LoadFile(const char* path, uint32_t* length) {
    if (length) *length = 0;
    if (!path || !*path) {
        Sys_Error("Sys_LoadFile: no path given");
        return nullptr;
    }
    const QByteArray onDisk = diskPath(path);
    int error = QFileInfo(Path_FromNative(path)).isDir() ? EISDIR : ENOENT;
    if (!onDisk.isEmpty()) {
        if (FILE* file = std::fopen(onDisk.constData(), "rb")) return readWholeFile(path, file, length);
        error = errno;
    }

    // A file that cannot be opened on disk may still come from the archives (the program archives
    // need no current configuration).
    if (SysHost* host = Sys_Host()) {
        void* data = nullptr;
        if (host->archives().loadFile(path, &data, length)) return static_cast<char*>(data);
    }
    Sys_Error("can't open \"%s\" (%s)", path, Plat_ErrorText(error));
    return nullptr;
}

bool Sys_FileExists(const char* path) {
    if (!path || !*path) return false;
    if (!diskPath(path).isEmpty() || inHostArchives(path)) return true;
    // A relative name is also looked for in the game and mod folders' archives.
    if (path[0] == '/' || !Sys_FileLookupConfig()) return false;
    char resolved[4096];
    return Sys_FindFile(path, resolved, sizeof resolved);
}

namespace {

// The first candidate that exists, as spelled on disk or as asked of the archives; false when none.
bool findFile(const char* name, QByteArray* found) {
    QList<QByteArray> candidates{QByteArray(name)};
    const QByteArray relative = QByteArray("/") + name;
    if (const GameFolders* config = Sys_FileLookupConfig()) {
        if (!config->GameModdir.isEmpty()) candidates.append(Path_ToNative(config->GameModdir) + relative);
        if (!config->GameBasedir.isEmpty()) candidates.append(Path_ToNative(config->GameBasedir) + relative);
    }
    candidates.append(Path_ToNative(App_GetBaseDirectory()) + relative);

    for (const QByteArray& candidate : candidates) {
        // A disk match is handed back as spelled on disk, so plugins can open it directly.
        const QByteArray onDisk = diskPath(candidate.constData());
        if (!onDisk.isEmpty()) {
            *found = onDisk;
            return true;
        }
        if (inHostArchives(candidate.constData())) {
            *found = candidate;
            return true;
        }
    }
    return false;
}

// The answers valid now for the current configuration; stale ones are dropped first.
FoundFiles::Answers& currentAnswers(FoundFiles& memory) {
    const GameFolders* config = Sys_FileLookupConfig();
    FoundFiles::Folders folders;
    if (config) {
        folders.mod = config->GameModdir;
        folders.game = config->GameBasedir;
    }
    folders.program = App_GetBaseDirectory();
    // The name as given is tried relative to the working folder, which running a map changes.
    folders.working = QDir::currentPath();
    folders.archives = Sys_Host()->archives().contentStamp();
    FoundFiles::Answers& answers = memory.byConfig[config];
    if (!(answers.folders == folders)) {
        answers.found.clear();
        answers.folders = std::move(folders);
    }
    return answers;
}

} // namespace

bool Sys_FindFile(const char* name, char* buffer, uint32_t size) {
    if (buffer && size > 0) buffer[0] = '\0';
    if (!name || !buffer || size == 0) return false;
    QByteArray found;
    if (findFile(name, &found)) {
        copyToBuffer(buffer, size, found);
        return true;
    }
    copyToBuffer(buffer, size, QByteArray(name));
    return false;
}

bool Sys_FindFileRemembered(const QByteArray& name, QByteArray* resolved) {
    SysHost* host = Sys_Host();
    if (!host) {
        if (findFile(name.constData(), resolved)) return true;
        *resolved = name;
        return false;
    }
    FoundFiles::Answers& answers = currentAnswers(host->foundFiles());
    if (const auto it = answers.found.constFind(name); it != answers.found.cend()) {
        *resolved = *it;
        return true;
    }
    if (!findFile(name.constData(), resolved)) {
        *resolved = name;
        return false;
    }
    // Fetched again: the archives asked above are plugin code.
    currentAnswers(host->foundFiles()).found.insert(name, *resolved);
    return true;
}

void Sys_ForgetFoundFiles() {
    if (SysHost* host = Sys_Host()) host->foundFiles().byConfig.clear();
}

bool Sys_CreatePath(const char* path) {
    if (!path) return false;
    if (std::strstr(path, "..") || std::strstr(path, "::")) {
        Sys_Error("Sys_CreatePath: refusing to create relative path \"%s\"\n", path);
        return false;
    }
    // Plugins create folders to write files into them.
    Sys_ForgetFoundFiles();
    // Work on a copy: the caller's text may be a literal or shared.
    std::string prefix(path);
    for (size_t i = 1; i < prefix.size(); ++i) {
        if (prefix[i] != '/' || prefix[i - 1] == ':') continue;
        prefix[i] = '\0';
        const int error = Plat_MakeDirectory(prefix.c_str());
        prefix[i] = '/';
        if (error != 0) return false;
    }
    return true;
}

namespace {

bool copyGameFolder(char* buffer, uint32_t size, bool preferMod) {
    if (buffer && size > 0) buffer[0] = '\0';
    const GameFolders* config = Sys_FileLookupConfig();
    if (!config || !buffer || size == 0) return false;
    const QString& folder =
        preferMod && !config->GameModdir.isEmpty() ? config->GameModdir : config->GameBasedir;
    if (folder.isEmpty()) return false;
    copyToBuffer(buffer, size, Path_ToNative(folder));
    return true;
}

// The path without the parent folder in front, when it lies under it.
bool stripParent(QString& path, const QString& directory) {
    if (directory.isEmpty()) return false;
    QString folder = directory;
    folder.replace('\\', '/');
    const QString parent = QDir::cleanPath(folder + QStringLiteral("/.."));
    if (!path.startsWith(parent)) return false;
    // Only whole folder names: "/games/q" is not a parent of "/games/quake".
    if (parent.endsWith('/')) {
        path = path.mid(parent.size());
        return true;
    }
    if (path.size() == parent.size() || path[parent.size()] != '/') return false;
    path = path.mid(parent.size() + 1);
    return true;
}

} // namespace

bool Sys_GetGameDir(char* buffer, uint32_t size) {
    return copyGameFolder(buffer, size, false);
}

bool Sys_GetModDir(char* buffer, uint32_t size) {
    return copyGameFolder(buffer, size, true);
}

const char* Sys_NativePath(const char* path) {
    return path;
}

QString Sys_MakeRelativePath(const QString& directory, const QString& path) {
    const QString base = App_GetBaseDirectory();
    if (directory.isEmpty() && base.isEmpty()) return path;
    QString result = path;
    result.replace('\\', '/');
    if (!stripParent(result, directory)) stripParent(result, base);
    return result;
}
