// File-name surgery on 8-bit paths; '/' and '\\' both count as separators.
#include "kstdlib/TextCopy.h"
#include "kstdlib/kstring.h"

namespace {

// The last separator in [path, end), or null.
const char* LastSeparator(const char* path, const char* end) {
    for (const char* p = end; p > path;)
        if (ktext::IsSeparator(*--p)) return p;
    return nullptr;
}

int CopyResult(char* dst, size_t size, const char* src, size_t len) {
    return static_cast<int>(ktext::CopyTruncated(dst, size, src, len));
}

} // namespace

void K_DefaultExtension(char* path, size_t size, const char* extension) {
    if (!path || !extension || !ktext::ValidSize(size)) return;
    const size_t len = strlen(path);
    // The first character is not examined, so ".cfg" still gets an extension.
    for (size_t i = len; i > 1;) {
        const char c = path[--i];
        if (ktext::IsSeparator(c)) break;
        if (c == '.') return;
    }
    if (len >= size - 1) return;
    ktext::CopyTruncated(path + len, size - len, extension, strlen(extension));
}

void K_StripExtension(char* path) {
    if (!path || !*path) return;
    const size_t len = strlen(path);
    for (size_t i = len; i > 1;) {
        const char c = path[--i];
        if (ktext::IsSeparator(c)) return;
        if (c == '.') {
            path[i] = '\0';
            return;
        }
    }
}

int K_ExtractFileName(const char* path, char* dst, size_t size) {
    if (!path) return CopyResult(dst, size, "", 0);
    const char* end = path + strlen(path);
    const char* sep = LastSeparator(path, end);
    const char* name = sep ? sep + 1 : path;
    return CopyResult(dst, size, name, static_cast<size_t>(end - name));
}

int K_ExtractFileBase(const char* path, char* dst, size_t size) {
    if (!path || !*path) return CopyResult(dst, size, "", 0);
    const size_t len = strlen(path);
    // Scan back for the extension's '.'; a separator first means there is none.
    const char* end = nullptr;
    for (const char* p = path + len - 1; p > path; --p) {
        if (*p == '.') {
            end = p;
            break;
        }
        if (ktext::IsSeparator(*p)) {
            end = path + len;
            break;
        }
    }
    if (!end) return CopyResult(dst, size, path, len);
    const char* sep = LastSeparator(path, end);
    const char* start = sep ? sep + 1 : path;
    return CopyResult(dst, size, start, static_cast<size_t>(end - start));
}

int K_ExtractFilePath(const char* path, char* dst, size_t size) {
    if (!path || !*path) return CopyResult(dst, size, "", 0);
    // A separator at the very first character does not count.
    const char* sep = LastSeparator(path + 1, path + strlen(path));
    return CopyResult(dst, size, path, sep ? static_cast<size_t>(sep - path) : 0);
}

int K_ExtractFileExtension(const char* path, char* dst, size_t size) {
    if (!path) return CopyResult(dst, size, "", 0);
    const char* dot = strrchr(path, '.');
    if (!dot || dot == path) return CopyResult(dst, size, "", 0);
    return CopyResult(dst, size, dot, strlen(dot));
}

void K_ConvertPathSeparators(char* path) {
    if (!path) return;
    for (; *path; ++path)
        if (*path == '\\') *path = '/';
}
