// printf-style formatting: rotating buffers, the bounded K_Sprintf and human-readable sizes and
// durations. Numbers are always formatted as in the "C" locale, whatever the process locale is.
#include <locale.h>
#include <stdarg.h>
#include <stdio.h>

#include "kstdlib/TextCopy.h"
#include "kstdlib/kstring.h"

namespace {

constexpr int kRotatingBuffers = 8;
constexpr size_t kRotatingSize = 2048;
constexpr size_t kSprintfLimit = 32768;

struct RotatingBuffers {
    char text[kRotatingBuffers][kRotatingSize];
    int index;
};

RotatingBuffers g_va;
RotatingBuffers g_va2;

// Unit words in the order bytes, kilobytes, megabytes, gigabytes, hours, minutes, seconds.
enum Unit { kBytes, kKilobytes, kMegabytes, kGigabytes, kHours, kMinutes, kSeconds, kUnitCount };

const char* const kInternationalUnits[kUnitCount] = {"B", "kB", "MB", "GB", "hr", "min", "sec"};
// Russian words in the Windows-1251 code page.
const char* const kRussianUnits[kUnitCount] = {"\xE1", "\xEA\xE1",     "\xCC\xE1",    "\xC3\xE1",
                                               "\xF7", "\xEC\xE8\xED", "\xF1\xE5\xEA"};

const char* const* g_units = kInternationalUnits;

// vsnprintf in the "C" locale for this thread only.
int FormatC(char* dst, size_t size, const char* format, va_list args) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const locale_t previous = cLocale ? uselocale(cLocale) : static_cast<locale_t>(0);
    const int count = vsnprintf(dst, size, format, args);
    if (previous) uselocale(previous);
    return count;
}

const char* FormatRotating(RotatingBuffers& buffers, const char* format, va_list args) {
    if (!format) return "";
    char* dst = buffers.text[buffers.index];
    buffers.index = (buffers.index + 1) % kRotatingBuffers;
    FormatC(dst, kRotatingSize, format, args);
    return dst;
}

// One formatting step into dst: the count written, or -1 (text truncated but terminated) when dst
// is too small.
int Step(char* dst, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
int Step(char* dst, size_t size, const char* format, ...) {
    if (!dst || !ktext::ValidSize(size)) return -1;
    va_list args;
    va_start(args, format);
    const int count = FormatC(dst, size, format, args);
    va_end(args);
    return (count >= 0 && static_cast<size_t>(count) < size) ? count : -1;
}

// A whole part and two decimals of a fraction scaled by 2^shift, then the unit word.
int FormatScaled(char* dst, size_t size, size_t bytes, int shift, const char* unit) {
    const size_t mask = (static_cast<size_t>(1) << shift) - 1;
    const int whole = Step(dst, size, "%zu", bytes >> shift);
    if (whole < 0) return -1;
    return Step(dst + whole, size - whole, ".%02zu %s", ((bytes & mask) * 100) >> shift, unit);
}

} // namespace

const char* va(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const char* result = FormatRotating(g_va, format, args);
    va_end(args);
    return result;
}

const char* va2(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const char* result = FormatRotating(g_va2, format, args);
    va_end(args);
    return result;
}

int K_Sprintf(char* dst, size_t size, const char* format, ...) {
    if (!format) throw KException(__FILE__, __LINE__, "K_Sprintf", "K_Sprintf: null fmt");
    if (!dst || !ktext::ValidSize(size)) return 0;
    // Formatting straight into dst bounded by the scratch limit copies the same prefix.
    va_list args;
    va_start(args, format);
    FormatC(dst, size < kSprintfLimit ? size : kSprintfLimit, format, args);
    va_end(args);
    return 0;
}

void K_SetLocale(const char* name) {
    g_units = (name && ktext::EqualNoCase(name, "rus")) ? kRussianUnits : kInternationalUnits;
}

int K_FormatSizeString(char* dst, size_t size, size_t bytes) {
    if (bytes <= 1024) return Step(dst, size, "%zu %s", bytes, g_units[kBytes]);
    if (bytes <= 1048576) return Step(dst, size, "%zu %s", bytes / 1024, g_units[kKilobytes]);
    if (bytes <= 1073741824) return FormatScaled(dst, size, bytes, 20, g_units[kMegabytes]);
    return FormatScaled(dst, size, bytes, 30, g_units[kGigabytes]);
}

int K_FormatTimeString(char* dst, size_t size, int milliseconds) {
    const int s = milliseconds / 1000;
    if (s > 3600)
        return Step(dst, size, "%d %s %d %s", s / 3600, g_units[kHours], (s % 3600) / 60, g_units[kMinutes]);
    if (s > 60) return Step(dst, size, "%d %s %d %s", s / 60, g_units[kMinutes], s % 60, g_units[kSeconds]);
    return Step(dst, size, "%d %s", s, g_units[kSeconds]);
}
