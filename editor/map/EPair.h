// Key/value pairs of entities and path nodes: a singly linked list of heap strings that plugins
// build and walk directly, so every pair and string comes from the editor's allocator.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct EPair {
    EPair* next;
    char* key;   // may be null
    char* value; // may be null
};
static_assert(std::is_standard_layout_v<EPair>);
static_assert(sizeof(EPair) == 24);
static_assert(offsetof(EPair, key) == 8);
static_assert(offsetof(EPair, value) == 16);

// Lists are given by the address of their head pointer.
void EPair_FreeList(EPair** head);
// A deep copy in the same order; null strings stay null.
EPair* EPair_CopyList(const EPair* first);
// The new pair holds copies of key and value.
EPair* EPair_Append(EPair** head, const char* key, const char* value);
EPair* EPair_Prepend(EPair** head, const char* key, const char* value);
// The first pair whose key equals the key ignoring case (pairs without a key are skipped).
EPair* EPair_Find(EPair* first, const char* key);
// Frees one pair with its strings.
void EPair_Free(EPair* pair);
// Unlinks and frees every pair whose key equals the key ignoring case; the number removed.
int32_t EPair_RemoveKey(EPair** head, const char* key);
// Replaces the value by a copy of the text.
void EPair_SetValue(EPair* pair, const char* value);

// ---- Numbers in key values ---------------------------------------------------------------------
// Always in the "C" locale, whatever the process locale: map files travel between machines.

// Up to count floats separated by blanks, as sscanf "%f %f %f" reads them; returns how many were
// read. Unread outputs are left alone.
int32_t Key_ParseFloats(const char* text, float* out, int32_t count);
// atof: the leading number, 0 when there is none.
float Key_ToFloat(const char* text);
// atoi, clamped to the int32 range instead of overflowing.
int32_t Key_ToInt(const char* text);
// printf "%g" / "%.<precision>g" into buf (at least 32 bytes); returns buf.
char* Key_FormatFloat(char* buf, size_t size, float value, int32_t precision = 6);
