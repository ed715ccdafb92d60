// PK3 archives: zip files whose central directory is read once into a hash index of the member
// names; members are read on demand, stored ones copied and deflated ones inflated, each checked
// against its CRC-32. Nothing in an archive is trusted: every count, size and offset is checked
// in 64 bits against the file before it is used, and each refusal is a warning that names the
// archive, the member and the cause.
#pragma once

#include <cstddef>
#include <cstdint>

struct Pk3Reader;

// One indexed member (32 bytes), chained in its hash bucket.
struct Pk3Member {
    Pk3Member* next;   // next member of the same bucket
    char* name;        // lower case, '/' separators
    int32_t mark;      // listing stamp
    uint32_t position; // offset of the member's central-directory record (without the stub)
    uint32_t size;     // uncompressed size
    uint32_t reserved;
};
static_assert(sizeof(Pk3Member) == 32);

inline constexpr int32_t kPk3Buckets = 1024;

// The index of one open archive (8224 bytes); the plugin's data in the editor's archive handle.
struct Pk3Index {
    Pk3Reader* reader;
    int32_t mark;
    int32_t reserved;
    uint64_t memberCount;
    Pk3Member* members; // one block: the records, then the names
    Pk3Member* buckets[kPk3Buckets];
};
static_assert(sizeof(Pk3Index) == 8224);
static_assert(offsetof(Pk3Index, buckets) == 32);

// Reads the central directory; null (with a warning) when the file is no usable zip.
Pk3Index* Pk3_Open(const char* path);
void Pk3_Close(Pk3Index* index);
// The member of that name ('/' or '\\' separators, any case), or null.
const Pk3Member* Pk3_Find(const Pk3Index* index, const char* name);
// Size of the member with its bytes (and one zero after them) in a new Eng_Alloc block in *out;
// 0 with nothing stored when the member is missing, empty or refused.
// limit > 0: at most the member's first limit bytes (unchecked: the CRC covers the whole member).
uint32_t Pk3_LoadMember(Pk3Index* index, const char* name, void** out, uint32_t limit = 0);
// A null-terminated Eng_Alloc array of Eng_StrDup names matching the wildcard filter, in member
// order; false (out untouched) when none matches.
bool Pk3_List(Pk3Index* index, const char* filter, char*** out);
