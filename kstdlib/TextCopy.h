// Private helpers shared by the text functions of the library: bounded copies and ASCII case
// mapping. Case folding is ASCII-only on purpose, so results never depend on the process locale.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string.h>

namespace ktext {

// A size with the top bit set is a negative length passed through size_t: no buffer is that big.
inline bool ValidSize(size_t size) {
    return size > 0 && size <= static_cast<size_t>(PTRDIFF_MAX);
}

// Copies at most size - 1 of the len bytes of src and terminates dst; returns the count copied.
// Writes nothing when dst is null or size is invalid.
inline size_t CopyTruncated(char* dst, size_t size, const char* src, size_t len) {
    if (!dst || !ValidSize(size)) return 0;
    if (len > size - 1) len = size - 1;
    if (len) memmove(dst, src, len);
    dst[len] = '\0';
    return len;
}

inline int ToLower(int c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}
inline int ToUpper(int c) {
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

// Characters with codes 1 to 32: the blanks and control characters the readers skip.
inline bool IsBlank(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

inline bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// ASCII case-insensitive equality of two NUL-terminated strings.
inline bool EqualNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        if (ToLower(static_cast<unsigned char>(*a)) != ToLower(static_cast<unsigned char>(*b))) return false;
        if (!*a) return true;
    }
}

} // namespace ktext
