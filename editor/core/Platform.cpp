// Linux implementations of the platform layer.
#include "core/Platform.h"

#include <dlfcn.h>
#include <link.h>

#include <QDir>
#include <QFileInfo>
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

QString Plat_FindFileNoCase(const QString& path) {
    if (path.isEmpty()) return QString();
    if (Plat_IsRegularFile(QFile::encodeName(path).constData())) return path;

    const QString clean = QDir::cleanPath(path);
    const bool absolute = clean.startsWith('/');
    const QStringList parts = clean.split('/', Qt::SkipEmptyParts);
    QString found = absolute ? QStringLiteral("/") : QString();
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        const QString folder = found.isEmpty() ? QStringLiteral(".") : found;
        QString next = found.isEmpty() || found.endsWith('/') ? found + part : found + '/' + part;
        if (part != QLatin1String("..") && part != QLatin1String(".") && !QFileInfo::exists(next)) {
            // Only this component is missing under its exact name: look for it in any case.
            const QStringList entries =
                QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            qsizetype match = -1;
            for (qsizetype e = 0; e < entries.size(); ++e) {
                if (entries[e].compare(part, Qt::CaseInsensitive) == 0) {
                    match = e;
                    break;
                }
            }
            if (match < 0) return QString();
            next = found.isEmpty() || found.endsWith('/') ? found + entries[match]
                                                          : found + '/' + entries[match];
        }
        found = next;
    }
    return Plat_IsRegularFile(QFile::encodeName(found).constData()) ? found : QString();
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
