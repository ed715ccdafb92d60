// Memory blocks, C-string conversion and the seconds timer of the system layer.
#include <cstdlib>
#include <cstring>

#include "core/Platform.h"
#include "core/System.h"
#include "core/TextEncoding.h"

void* Sys_Alloc(uint64_t size) {
    if (size > SIZE_MAX) return nullptr;
    return std::calloc(1, static_cast<size_t>(size));
}

void Sys_Free(void* block) {
    std::free(block);
}

char* Sys_StrDup(const char* text) {
    if (!text) return nullptr;
    const size_t length = std::strlen(text);
    char* copy = static_cast<char*>(Sys_Alloc(length + 1));
    if (copy) std::memcpy(copy, text, length);
    return copy;
}

char* Sys_QStringToCString(const QString& text) {
    if (text.isEmpty()) return nullptr;
    const QByteArray bytes = Text_ToWindows1251(text);
    char* copy = static_cast<char*>(Sys_Alloc(static_cast<uint64_t>(bytes.size()) + 1));
    if (copy) std::memcpy(copy, bytes.constData(), static_cast<size_t>(bytes.size()));
    return copy;
}

const char* Sys_QStringToTemp(const QString& text) {
    enum { kRingSize = 16, kTempSize = 260 };
    static char ring[kRingSize][kTempSize];
    static uint32_t next = 0;
    char* buffer = ring[next++ % kRingSize];
    const QByteArray bytes = Text_ToWindows1251(text);
    const size_t length = std::min(static_cast<size_t>(bytes.size()), static_cast<size_t>(kTempSize - 1));
    std::memcpy(buffer, bytes.constData(), length);
    buffer[length] = '\0';
    return buffer;
}

float Sys_Seconds() {
    static bool started = false;
    static uint32_t origin = 0;
    const uint32_t now = Plat_Milliseconds();
    if (!started) {
        started = true;
        origin = now;
    }
    // Unsigned difference stays right across the counter's wrap.
    return static_cast<float>(now - origin) * 0.001f;
}
