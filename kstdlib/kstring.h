// Strings, formatting and paths: the library's exception type, printf into rotating buffers,
// number parsing, file-name surgery, human-readable sizes and durations, searching and filtering.
#pragma once

#include <stddef.h>

#include "kstdlib/kexport.h"

#ifdef __cplusplus
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

// Thrown by value by K_Sprintf for a null format: the only failure the library raises. Inline only,
// so that nothing but its type information leaves the library.
class KSTDLIB_API KException {
public:
    char message[512];
    char file[128];
    char function[128];
    int line;

    KException(const char* fileName, int lineNumber, const char* functionName, const char* format, ...)
        __attribute__((format(printf, 5, 6))) {
        line = lineNumber;
        CopyTruncated(file, sizeof(file), fileName);
        CopyTruncated(function, sizeof(function), functionName);
        message[0] = '\0';
        if (format) {
            va_list args;
            va_start(args, format);
            vsnprintf(message, sizeof(message), format, args);
            va_end(args);
        }
    }
    ~KException() {}

private:
    static void CopyTruncated(char* dst, size_t size, const char* src) {
        size_t len = src ? strnlen(src, size - 1) : 0;
        memcpy(dst, src ? src : "", len);
        dst[len] = '\0';
    }
};

static_assert(sizeof(KException) == 772, "KException layout is interface");
static_assert(offsetof(KException, file) == 512 && offsetof(KException, function) == 640 &&
                  offsetof(KException, line) == 768,
              "KException layout is interface");
#endif

KSTDLIB_BEGIN
// printf into the next of eight rotating 2048-byte buffers; a result lives for eight further calls.
KSTDLIB_API const char* va(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same with a second, independent set of buffers.
KSTDLIB_API const char* va2(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Bounded printf (at most 32767 characters); throws KException for a null format. Returns 0.
KSTDLIB_API int K_Sprintf(char* dst, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// (sum of (119 + i) * tolower(text[i])) masked by size - 1; size must be a power of two.
KSTDLIB_API size_t K_Hash(const char* text, size_t size);
// Decimal, "0x" hexadecimal or 'c' character codes after leading blanks and an optional '-'.
KSTDLIB_API int K_Atoi(const char* text);
KSTDLIB_API float K_Atof(const char* text);

// "rus" (any case) selects the Russian unit words, anything else the international ones.
KSTDLIB_API void K_SetLocale(const char* name);
// Human-readable size / duration; the count of the last formatting step, -1 when dst was too small.
KSTDLIB_API int K_FormatSizeString(char* dst, size_t size, size_t bytes);
KSTDLIB_API int K_FormatTimeString(char* dst, size_t size, int milliseconds);

// Paths: '/' and '\\' both count as separators.
KSTDLIB_API void K_DefaultExtension(char* path, size_t size, const char* extension);
KSTDLIB_API void K_StripExtension(char* path);
KSTDLIB_API int K_ExtractFileName(const char* path, char* dst, size_t size);
KSTDLIB_API int K_ExtractFileBase(const char* path, char* dst, size_t size);
KSTDLIB_API int K_ExtractFilePath(const char* path, char* dst, size_t size);
KSTDLIB_API int K_ExtractFileExtension(const char* path, char* dst, size_t size);
// Removes one leading and one trailing quote (' or "); returns how many were removed.
KSTDLIB_API int K_StripQuotes(char* text);
KSTDLIB_API void K_ConvertPathSeparators(char* path);

KSTDLIB_API char* K_Strlwr(char* text);
KSTDLIB_API char* K_Strupr(char* text);
KSTDLIB_API const char* K_Stristr(const char* text, const char* pattern);
// strstr with '\\' and '/' equal.
KSTDLIB_API const char* K_Pathstr(const char* text, const char* pattern);
// -1, 0 or 1; case-insensitive (also for Windows-1251 Cyrillic), '\\', ':' and '/' equal.
KSTDLIB_API int K_Pathcmp(const char* a, const char* b);
// 1 when text matches the wildcard pattern ('*' literal-run search, '?', '[...]' classes).
KSTDLIB_API int K_Strfilter(const char* pattern, const char* text, int caseSensitive);
// Reads the next line (with its '\n') of a memory buffer from *position; null at the end.
KSTDLIB_API char* K_MemFgets(const char* buffer, int length, int* position, char* dst, size_t size);
KSTDLIB_END
