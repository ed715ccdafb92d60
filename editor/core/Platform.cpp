// Linux implementations of the platform layer.
#include "core/Platform.h"

#include <dlfcn.h>
#include <link.h>

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <dirent.h>
#include <mutex>
#include <vector>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

uint32_t Plat_Milliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms =
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void Plat_DebugOutput(const char* text) {
    if (text) std::fputs(text, stderr);
}

int Plat_MakeDirectory(const char* path) {
    if (mkdir(path, 0777) == 0) return 0;
    const int error = errno;
    struct stat info {};
    if (error == EEXIST && stat(path, &info) == 0 && S_ISDIR(info.st_mode)) return 0;
    return error;
}

const char* Plat_ErrorText(int error) {
    return std::strerror(error);
}

bool Plat_IsRegularFile(const char* path) {
    struct stat info {};
    return path && *path && stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

// A folder's entries by exact and by case-folded name, kept while the folder's modification time
// stays the one seen when it was listed. Game data searches look up many names that exist
// nowhere; without this every one re-lists its folders.
struct FolderEntry {
    QString name;
    bool folder = false;
    bool regular = false;
};
struct FolderListing {
    int64_t modifiedNs = 0;
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t checkedInPass = 0;
    QHash<QString, FolderEntry> byName;
    QHash<QString, FolderEntry> byFoldedName;
};

std::mutex g_listingMutex;
QHash<QString, FolderListing> g_listings;
// The look-up pass: non-zero while one runs. Listings checked once in it are trusted until it
// ends, and so is each path it resolved, misses included: a precache asks for the same names
// again and again (an image by two extensions, whether it exists, its head, its whole file).
struct LookupPass {
    uint64_t current = 0;
    uint64_t counter = 0;
    int depth = 0;
    QHash<QString, QString> resolved; // path as asked -> as found on disk, empty for none
} g_pass;

int64_t nanoseconds(const timespec& t) {
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

FolderListing readFolder(const QString& folder, const struct stat& info) {
    FolderListing listing;
    listing.modifiedNs = nanoseconds(info.st_mtim);
    listing.device = info.st_dev;
    listing.inode = info.st_ino;
    const QByteArray native = QFile::encodeName(folder);
    DIR* dir = opendir(native.constData());
    if (!dir) return listing;
    std::vector<FolderEntry> entries;
    while (const dirent* d = readdir(dir)) {
        if (!std::strcmp(d->d_name, ".") || !std::strcmp(d->d_name, "..")) continue;
        FolderEntry entry;
        entry.name = QFile::decodeName(d->d_name);
        if (d->d_type == DT_DIR || d->d_type == DT_REG) {
            entry.folder = d->d_type == DT_DIR;
            entry.regular = d->d_type == DT_REG;
        } else {
            // Links and file systems without types: what the name leads to.
            struct stat target {};
            const QByteArray full = native + '/' + d->d_name;
            if (stat(full.constData(), &target) == 0) {
                entry.folder = S_ISDIR(target.st_mode);
                entry.regular = S_ISREG(target.st_mode);
            }
        }
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    // Of names differing only in case, the first in name order is the one found.
    std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        listing.byName.insert(it->name, *it);
        listing.byFoldedName.insert(it->name.toCaseFolded(), *it);
    }
    return listing;
}

// The entry of folder named part, exactly or else in any case; false when there is none.
bool findInFolder(const QString& folder, const QString& part, FolderEntry* found) {
    {
        std::lock_guard<std::mutex> lock(g_listingMutex);
        const auto it = g_listings.constFind(folder);
        if (g_pass.current && it != g_listings.cend() && it->checkedInPass == g_pass.current) {
            auto hit = it->byName.constFind(part);
            if (hit == it->byName.cend()) hit = it->byFoldedName.constFind(part.toCaseFolded());
            if (hit == it->byFoldedName.cend() || hit == it->byName.cend()) return false;
            *found = *hit;
            return true;
        }
    }
    struct stat info {};
    if (stat(QFile::encodeName(folder).constData(), &info) != 0 || !S_ISDIR(info.st_mode)) return false;
    const int64_t modified = nanoseconds(info.st_mtim);

    std::lock_guard<std::mutex> lock(g_listingMutex);
    auto it = g_listings.find(folder);
    if (it == g_listings.end() || it->modifiedNs != modified || it->device != info.st_dev ||
        it->inode != info.st_ino) {
        FolderListing listing = readFolder(folder, info);
        // Timestamps tick coarsely: a folder changed within the last second might change again
        // without a new time, so its listing is not kept beyond the pass it was read in.
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const bool racy = nanoseconds(now) - modified <= 1000000000;
        if (racy && !g_pass.current) {
            auto hit = listing.byName.constFind(part);
            if (hit == listing.byName.cend()) hit = listing.byFoldedName.constFind(part.toCaseFolded());
            if (hit == listing.byFoldedName.cend() || hit == listing.byName.cend()) return false;
            *found = *hit;
            return true;
        }
        // Kept for the pass only: outside it the time never matches.
        if (racy) listing.modifiedNs = INT64_MIN;
        if (g_listings.size() > 4096) g_listings.clear();
        it = g_listings.insert(folder, std::move(listing));
    }
    it->checkedInPass = g_pass.current;
    auto hit = it->byName.constFind(part);
    if (hit == it->byName.cend()) hit = it->byFoldedName.constFind(part.toCaseFolded());
    if (hit == it->byFoldedName.cend() || hit == it->byName.cend()) return false;
    *found = *hit;
    return true;
}

} // namespace

void Plat_BeginLookupPass() {
    std::lock_guard<std::mutex> lock(g_listingMutex);
    if (g_pass.depth++ == 0) g_pass.current = ++g_pass.counter;
}

void Plat_EndLookupPass() {
    std::lock_guard<std::mutex> lock(g_listingMutex);
    if (g_pass.depth > 0 && --g_pass.depth == 0) {
        g_pass.current = 0;
        g_pass.resolved.clear();
    }
}

namespace {

QString findFileNoCase(const QString& path) {
    const QString clean = QDir::cleanPath(path);
    const bool absolute = clean.startsWith('/');
    const QStringList parts = clean.split('/', Qt::SkipEmptyParts);
    QString found = absolute ? QStringLiteral("/") : QString();
    bool regular = false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString folder = found.isEmpty() ? QStringLiteral(".") : found;
        const QString prefix = found.isEmpty() || found.endsWith('/') ? found : found + '/';
        if (part == QLatin1String("..") || part == QLatin1String(".")) {
            found = prefix + part;
            regular = false;
            continue;
        }
        FolderEntry entry;
        if (!findInFolder(folder, part, &entry)) return QString();
        // Only a folder leads on.
        if (i + 1 < parts.size() && !entry.folder) return QString();
        found = prefix + entry.name;
        regular = entry.regular;
    }
    return regular ? found : QString();
}

} // namespace

QString Plat_FindFileNoCase(const QString& path) {
    if (path.isEmpty()) return QString();
    uint64_t pass = 0;
    {
        std::lock_guard<std::mutex> lock(g_listingMutex);
        pass = g_pass.current;
        if (pass)
            if (const auto it = g_pass.resolved.constFind(path); it != g_pass.resolved.cend()) return *it;
    }
    if (!pass && Plat_IsRegularFile(QFile::encodeName(path).constData())) return path;
    const QString found = findFileNoCase(path);
    if (pass) {
        std::lock_guard<std::mutex> lock(g_listingMutex);
        if (g_pass.current == pass) g_pass.resolved.insert(path, found);
    }
    return found;
}

namespace {

bool waitForChild(pid_t pid, int* status) {
    for (;;) {
        if (waitpid(pid, status, 0) == pid) return true;
        if (errno != EINTR) return false;
    }
}

// A detached program is started from a short-lived middle process, so that it belongs to init
// and never lingers as our zombie. A close-on-exec pipe carries the exec error back.
bool spawnDetached(const char* file, char* const argv[], int* errorOut) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        *errorOut = errno;
        return false;
    }
    const pid_t middle = fork();
    if (middle < 0) {
        *errorOut = errno;
        close(pipeFds[0]);
        close(pipeFds[1]);
        return false;
    }
    if (middle == 0) {
        close(pipeFds[0]);
        const pid_t child = fork();
        if (child == 0) {
            setsid();
            execvp(file, argv);
            const int error = errno;
            ssize_t written = write(pipeFds[1], &error, sizeof error);
            (void)written;
            _exit(127);
        }
        if (child < 0) {
            const int error = errno;
            ssize_t written = write(pipeFds[1], &error, sizeof error);
            (void)written;
        }
        _exit(0);
    }
    close(pipeFds[1]);
    int status = 0;
    waitForChild(middle, &status);
    int error = 0;
    ssize_t got;
    do {
        got = read(pipeFds[0], &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    close(pipeFds[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        *errorOut = error;
        return false;
    }
    return true;
}

} // namespace

bool Plat_Spawn(const char* file, char* const argv[], bool wait, int* errorOut) {
    int unused = 0;
    if (!errorOut) errorOut = &unused;
    *errorOut = 0;
    if (!file || !*file || !argv) {
        *errorOut = ENOENT;
        return false;
    }
    if (!wait) return spawnDetached(file, argv, errorOut);

    pid_t pid = 0;
    const int result = posix_spawnp(&pid, file, nullptr, nullptr, argv, environ);
    if (result != 0) {
        *errorOut = result;
        return false;
    }
    int status = 0;
    if (!waitForChild(pid, &status)) {
        *errorOut = errno;
        return false;
    }
    return true;
}

QString Plat_PluginPath(const QString& path) {
    return path;
}

void Plat_KeepLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && info->dlpi_name[0])
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
