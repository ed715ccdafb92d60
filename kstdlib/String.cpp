// Hashing, number parsing, case mapping, searching, the wildcard filter and line reading.
#include <limits.h>
#include <math.h>
#include <stdint.h>

#include "kstdlib/TextCopy.h"
#include "kstdlib/kstring.h"

namespace {

// Characters with codes 1 to 32 and an optional '-' (there is no '+').
const char* SkipBlanksAndSign(const char* text, int* sign) {
    while (ktext::IsBlank(*text))
        ++text;
    *sign = 1;
    if (*text == '-') {
        *sign = -1;
        ++text;
    }
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexPrefix(const char* text) {
    return text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

int FoldCase(char c, int caseSensitive) {
    const int u = static_cast<unsigned char>(c);
    return caseSensitive ? u : ktext::ToUpper(u);
}

bool SameChar(char a, char b, int caseSensitive) {
    return FoldCase(a, caseSensitive) == FoldCase(b, caseSensitive);
}

// First occurrence of the len-byte run in text, or null.
const char* FindRun(const char* text, const char* run, size_t len, int caseSensitive) {
    for (; *text; ++text) {
        size_t i = 0;
        while (i < len && text[i] && SameChar(text[i], run[i], caseSensitive))
            ++i;
        if (i == len) return text;
    }
    return nullptr;
}

// One character of a class: "]]" stands for ']'. Returns the position after it.
const char* ClassChar(const char* p, char* c) {
    *c = *p;
    return (p[0] == ']' && p[1] == ']') ? p + 2 : p + 1;
}

// Matches one text character against the class that starts after '['. Returns the position after
// the closing bracket, or null when the class is unterminated, empty or has no matching member.
const char* MatchClass(const char* p, char t, int caseSensitive) {
    bool any = false;
    bool matched = false;
    const int folded = FoldCase(t, caseSensitive);
    while (*p && !(p[0] == ']' && p[1] != ']')) {
        char lo;
        p = ClassChar(p, &lo);
        char hi = lo;
        // A '-' followed by an unescaped ']' is a member of its own.
        if (p[0] == '-' && p[1] && !(p[1] == ']' && p[2] != ']')) p = ClassChar(p + 1, &hi);
        any = true;
        if (folded >= FoldCase(lo, caseSensitive) && folded <= FoldCase(hi, caseSensitive)) matched = true;
    }
    if (!*p || !any || !matched) return nullptr;
    return p + 1;
}

} // namespace

size_t K_Hash(const char* text, size_t size) {
    if (!text) return 0;
    size_t hash = 0;
    for (size_t i = 0; text[i]; ++i) {
        // Characters are signed 8-bit values, as the hash was defined on.
        const int c = ktext::ToLower(static_cast<signed char>(text[i]));
        hash += (119 + i) * static_cast<size_t>(static_cast<ptrdiff_t>(c));
    }
    return hash & (size - 1);
}

int K_Atoi(const char* text) {
    if (!text) return 0;
    int sign;
    text = SkipBlanksAndSign(text, &sign);
    if (IsHexPrefix(text)) {
        // Hexadecimal is a bit pattern: it wraps at 32 bits, so 0xFFFFFFFF is -1.
        uint32_t value = 0;
        for (text += 2; HexDigit(*text) >= 0; ++text)
            value = value * 16 + static_cast<uint32_t>(HexDigit(*text));
        return static_cast<int>(static_cast<uint32_t>(sign) * value);
    }
    if (*text == '\'') return sign * static_cast<unsigned char>(text[1]);
    // Decimal saturates at the int range instead of overflowing.
    const int64_t limit = sign > 0 ? INT_MAX : -static_cast<int64_t>(INT_MIN);
    int64_t value = 0;
    for (; IsDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > limit) value = limit;
    }
    return static_cast<int>(sign * value);
}

float K_Atof(const char* text) {
    if (!text) return 0.0f;
    int sign;
    text = SkipBlanksAndSign(text, &sign);
    if (IsHexPrefix(text)) {
        double value = 0.0;
        for (text += 2; HexDigit(*text) >= 0; ++text)
            value = value * 16.0 + HexDigit(*text);
        return static_cast<float>(value) * static_cast<float>(sign);
    }
    if (*text == '\'') return static_cast<float>(sign * static_cast<unsigned char>(text[1]));

    // The last '.' of the run of digits and dots is the decimal point.
    const char* end = text;
    const char* point = nullptr;
    for (; IsDigit(*end) || *end == '.'; ++end)
        if (*end == '.') point = end;

    // All digits form one integer; beyond 1e17 more digits cannot change the double, so integer
    // digits past that only scale it and fraction digits are dropped (no overflow on long runs).
    constexpr double kSaturation = 1e17;
    double value = 0.0;
    int scale = 0; // power of ten applied after accumulating
    for (const char* p = text; p < end; ++p) {
        if (*p == '.') continue;
        const bool fraction = point && p > point;
        if (value < kSaturation) {
            value = value * 10.0 + (*p - '0');
            if (fraction) --scale;
        } else if (!fraction) {
            ++scale;
        }
    }
    for (; scale > 0 && value < HUGE_VAL; --scale)
        value *= 10.0;
    for (; scale < 0 && value > 0.0; ++scale)
        value /= 10.0;
    return static_cast<float>(value) * static_cast<float>(sign);
}

char* K_Strlwr(char* text) {
    if (text)
        for (char* p = text; *p; ++p)
            *p = static_cast<char>(ktext::ToLower(static_cast<unsigned char>(*p)));
    return text;
}

char* K_Strupr(char* text) {
    if (text)
        for (char* p = text; *p; ++p)
            *p = static_cast<char>(ktext::ToUpper(static_cast<unsigned char>(*p)));
    return text;
}

const char* K_Stristr(const char* text, const char* pattern) {
    if (!text || !pattern || !*text) return nullptr;
    const size_t len = strlen(pattern);
    for (; *text; ++text) {
        size_t i = 0;
        while (i < len && ktext::ToLower(static_cast<unsigned char>(text[i])) ==
                              ktext::ToLower(static_cast<unsigned char>(pattern[i])))
            ++i;
        if (i == len) return text;
    }
    return nullptr;
}

const char* K_Pathstr(const char* text, const char* pattern) {
    if (!text || !pattern || !*text) return nullptr;
    for (; *text; ++text) {
        size_t i = 0;
        while (pattern[i] &&
               (text[i] == pattern[i] || (ktext::IsSeparator(text[i]) && ktext::IsSeparator(pattern[i]))))
            ++i;
        if (!pattern[i]) return text;
    }
    return nullptr;
}

int K_Pathcmp(const char* a, const char* b) {
    // Signed 8-bit values after folding Latin and Windows-1251 Cyrillic lower case to upper case
    // and '\\' and ':' to '/'.
    auto fold = [](char c) -> int {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 'a' && u <= 'z') return u - 0x20;
        if (u >= 0xE0) return static_cast<signed char>(u - 0x20);
        if (u == '\\' || u == ':') return '/';
        return static_cast<signed char>(u);
    };
    if (!a || !b) return (a == b) ? 0 : (a ? 1 : -1);
    for (;; ++a, ++b) {
        const int ca = fold(*a);
        const int cb = fold(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (!*a) return 0;
    }
}

int K_Strfilter(const char* pattern, const char* text, int caseSensitive) {
    if (!pattern || !text) return 0;
    const char* p = pattern;
    const char* t = text;
    while (*p) {
        if (*p == '*') {
            // The literal run up to the next '*' or '?' is searched for as a whole; '[' is part of it.
            const char* run = ++p;
            while (*p && *p != '*' && *p != '?')
                ++p;
            const size_t len = static_cast<size_t>(p - run);
            if (len == 0) continue;
            const char* found = FindRun(t, run, len, caseSensitive);
            if (!found) return 0;
            t = found + len;
        } else if (*p == '?') {
            if (!*t) return 0;
            ++p;
            ++t;
        } else if (*p == '[' && p[1] == '[') {
            // A doubled '[' drops the first bracket; the second is read again (and opens a class).
            ++p;
        } else if (*p == '[') {
            if (!*t) return 0;
            p = MatchClass(p + 1, *t, caseSensitive);
            if (!p) return 0;
            ++t;
        } else {
            if (!*t || !SameChar(*p, *t, caseSensitive)) return 0;
            ++p;
            ++t;
        }
    }
    return 1;
}

char* K_MemFgets(const char* buffer, int length, int* position, char* dst, size_t size) {
    if (!buffer || !dst || !position || *position < 0 || *position >= length || !ktext::ValidSize(size))
        return nullptr;
    const char* start = buffer + *position;
    const size_t available = static_cast<size_t>(length - *position);
    const size_t limit = available < size - 1 ? available : size - 1;
    size_t count = 0;
    while (count < limit) {
        if (start[count++] == '\n') break;
    }
    if (count == 0) return nullptr;
    memcpy(dst, start, count);
    dst[count] = '\0';
    *position += static_cast<int>(count);
    return dst;
}

int K_StripQuotes(char* text) {
    if (!text || !*text) return 0;
    auto isQuote = [](char c) { return c == '\'' || c == '"'; };
    int removed = 0;
    size_t len = strlen(text);
    if (isQuote(text[0])) {
        memmove(text, text + 1, len);
        --len;
        ++removed;
    }
    if (len > 0 && isQuote(text[len - 1])) {
        text[len - 1] = '\0';
        ++removed;
    }
    return removed;
}
