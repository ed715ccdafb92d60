#include "map/EPair.h"

#include <charconv>
#include <cctype>
#include <climits>
#include <cstring>
#include <strings.h>

#include "core/System.h"

namespace {

EPair* newPair(const char* key, const char* value) {
    EPair* pair = static_cast<EPair*>(Sys_Alloc(sizeof(EPair)));
    pair->key = key ? Sys_StrDup(key) : nullptr;
    pair->value = value ? Sys_StrDup(value) : nullptr;
    return pair;
}

// One number as strtod would take it in the "C" locale; null when the text holds none.
const char* parseFloat(const char* p, float* out) {
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    float value = 0.0f;
    const char* end = p + std::strlen(p);
    auto result = std::from_chars(p, end, value, std::chars_format::general);
    if (result.ec == std::errc::invalid_argument || result.ptr == p) return nullptr;
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow; strtof gives +-HUGE_VAL or 0.
        double wide = 0.0;
        std::from_chars(p, end, wide, std::chars_format::general);
        value = static_cast<float>(wide);
    }
    *out = negative ? -value : value;
    return result.ptr;
}

} // namespace

void EPair_Free(EPair* pair) {
    if (!pair) return;
    Sys_Free(pair->key);
    Sys_Free(pair->value);
    Sys_Free(pair);
}

void EPair_FreeList(EPair** head) {
    if (!head) return;
    for (EPair* pair = *head; pair;) {
        EPair* next = pair->next;
        EPair_Free(pair);
        pair = next;
    }
    *head = nullptr;
}

EPair* EPair_CopyList(const EPair* first) {
    EPair* head = nullptr;
    EPair** tail = &head;
    for (const EPair* pair = first; pair; pair = pair->next) {
        *tail = newPair(pair->key, pair->value);
        tail = &(*tail)->next;
    }
    return head;
}

EPair* EPair_Append(EPair** head, const char* key, const char* value) {
    EPair* pair = newPair(key, value);
    EPair** tail = head;
    while (*tail)
        tail = &(*tail)->next;
    *tail = pair;
    return pair;
}

EPair* EPair_Prepend(EPair** head, const char* key, const char* value) {
    EPair* pair = newPair(key, value);
    pair->next = *head;
    *head = pair;
    return pair;
}

EPair* EPair_Find(EPair* first, const char* key) {
    if (!key) return nullptr;
    for (EPair* pair = first; pair; pair = pair->next)
        if (pair->key && strcasecmp(pair->key, key) == 0) return pair;
    return nullptr;
}

int32_t EPair_RemoveKey(EPair** head, const char* key) {
    if (!head || !key) return 0;
    int32_t removed = 0;
    for (EPair** link = head; *link;) {
        EPair* pair = *link;
        if (pair->key && strcasecmp(pair->key, key) == 0) {
            *link = pair->next;
            EPair_Free(pair);
            ++removed;
        } else {
            link = &pair->next;
        }
    }
    return removed;
}

void EPair_SetValue(EPair* pair, const char* value) {
    char* copy = value ? Sys_StrDup(value) : nullptr;
    Sys_Free(pair->value);
    pair->value = copy;
}

int32_t Key_ParseFloats(const char* text, float* out, int32_t count) {
    if (!text) return 0;
    int32_t read = 0;
    const char* p = text;
    while (read < count) {
        float value;
        const char* next = parseFloat(p, &value);
        if (!next) break;
        out[read++] = value;
        p = next;
    }
    return read;
}

float Key_ToFloat(const char* text) {
    float value = 0.0f;
    return Key_ParseFloats(text, &value, 1) == 1 ? value : 0.0f;
}

int32_t Key_ToInt(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > int64_t(INT_MAX) + 1) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int32_t>(value);
}

char* Key_FormatFloat(char* buf, size_t size, float value, int32_t precision) {
    if (!buf || size == 0) return buf;
    auto result =
        std::to_chars(buf, buf + size - 1, static_cast<double>(value), std::chars_format::general, precision);
    *(result.ec == std::errc() ? result.ptr : buf) = '\0';
    return buf;
}
