// PK3 (zip) reading. Offsets and sizes come from the file itself, so each one is checked in
// 64 bits against what the file holds before anything is read by it.
#include "Pk3Archive.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

#include "EngineServices.h"
#include "gamedata/PluginInterface.h"
#include "kstdlib/kstring.h"

// The open file behind an index.
struct Pk3Reader {
    int fd;
    uint64_t fileSize;
    uint64_t stub;    // bytes in front of the zip data (a self-extractor, say)
    uint64_t cdStart; // file position of the central directory
    uint64_t cdEnd;
    char* path; // for messages
};

namespace {

constexpr uint32_t kEndSignature = 0x06054b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint64_t kEndSize = 22;
constexpr uint64_t kCentralSize = 46;
constexpr uint64_t kLocalSize = 30;
// The end record lies within the last 65535 bytes of comment plus its own 22.
constexpr uint64_t kEndSearch = 0xFFFF + kEndSize;
constexpr uint32_t kMaxNameLength = 1023;
constexpr uint64_t kMaxMemberSize = 0x7FFFFFFF;
// Deflate cannot expand more than about 1032:1; a larger claim is a damaged record.
constexpr uint64_t kMaxDeflateRatio = 1032;
constexpr uint32_t kInputChunk = 65536;
constexpr uint64_t kMaxDirectorySize = 256u << 20;

uint16_t u16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t u32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

bool readAt(int fd, uint64_t position, void* buffer, uint64_t size) {
    auto* out = static_cast<uint8_t*>(buffer);
    while (size > 0) {
        const ssize_t got = pread(fd, out, static_cast<size_t>(std::min<uint64_t>(size, 1u << 30)),
                                  static_cast<off_t>(position));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        out += got;
        position += static_cast<uint64_t>(got);
        size -= static_cast<uint64_t>(got);
    }
    return true;
}

struct CentralRecord {
    uint16_t flags;
    uint16_t method;
    uint32_t crc;
    uint32_t compressedSize;
    uint32_t size;
    uint16_t nameLength;
    uint16_t extraLength;
    uint16_t commentLength;
    uint32_t localOffset;
    char name[kMaxNameLength + 1];
};

void archiveWarning(const Pk3Reader* reader, const char* cause) {
    Eng_Warning("archive \"%s\" refused: %s", reader->path, cause);
}
void memberWarning(const Pk3Reader* reader, const char* member, const char* cause) {
    Eng_Warning("archive \"%s\", member \"%s\" refused: %s", reader->path, member, cause);
}

// Parses the central record at the start of `record`, of which `available` bytes lie before the
// directory's end (the buffer holds at least the fixed part and the name when they fit). Null
// when it is sound, else the cause; a damaged record ends the walk, so its name may be unknown.
const char* parseCentral(const uint8_t* record, uint64_t available, CentralRecord* r) {
    r->name[0] = 0;
    if (available < kCentralSize) return "central directory ends inside a record";
    if (u32(record) != kCentralSignature) return "bad central directory record signature";
    r->flags = u16(record + 8);
    r->method = u16(record + 10);
    r->crc = u32(record + 16);
    r->compressedSize = u32(record + 20);
    r->size = u32(record + 24);
    r->nameLength = u16(record + 28);
    r->extraLength = u16(record + 30);
    r->commentLength = u16(record + 32);
    r->localOffset = u32(record + 42);
    if (kCentralSize + r->nameLength + r->extraLength + r->commentLength > available)
        return "central directory record runs past the directory";
    if (r->nameLength == 0 || r->nameLength > kMaxNameLength) return "member name length out of range";
    std::memcpy(r->name, record + kCentralSize, r->nameLength);
    r->name[r->nameLength] = 0;
    if (std::memchr(r->name, 0, r->nameLength)) return "member name holds a zero byte";
    return nullptr;
}

// Reads and parses the one central record at a file position.
const char* readCentral(const Pk3Reader* reader, uint64_t position, CentralRecord* r) {
    uint8_t record[kCentralSize + kMaxNameLength];
    r->name[0] = 0;
    if (position >= reader->cdEnd) return "central directory ends inside a record";
    const uint64_t available = reader->cdEnd - position;
    if (!readAt(reader->fd, position, record, std::min<uint64_t>(available, sizeof record)))
        return "can't read the central directory";
    return parseCentral(record, available, r);
}

// Null when the member may be read, else why not.
const char* memberProblem(const Pk3Reader* reader, const CentralRecord& r) {
    if (r.flags & 0x1) return "encrypted";
    if (r.method != 0 && r.method != 8) return "compression method not supported";
    if (r.compressedSize == 0xFFFFFFFF || r.size == 0xFFFFFFFF || r.localOffset == 0xFFFFFFFF)
        return "zip64 member not supported";
    if (r.size > kMaxMemberSize) return "member of 2 GiB or more";
    if (r.method == 0 && r.compressedSize != r.size) return "stored sizes differ";
    if (r.method == 8 && r.size > kMaxDeflateRatio * r.compressedSize)
        return "uncompressed size impossible for its compressed size";
    const uint64_t local = reader->stub + r.localOffset;
    if (local + kLocalSize + r.nameLength + r.compressedSize > reader->cdStart)
        return "member data runs into the central directory";
    return nullptr;
}

bool findEnd(Pk3Reader* reader, uint8_t record[kEndSize], uint64_t* position) {
    const uint64_t window = std::min(reader->fileSize, kEndSearch);
    if (window < kEndSize) return false;
    const uint64_t start = reader->fileSize - window;
    std::vector<uint8_t> tail(window);
    if (!readAt(reader->fd, start, tail.data(), window)) return false;
    for (uint64_t i = window - kEndSize + 1; i-- > 0;) {
        if (u32(&tail[i]) == kEndSignature) {
            if (start + i == 0) return false;
            std::memcpy(record, &tail[i], kEndSize);
            *position = start + i;
            return true;
        }
    }
    return false;
}

void closeReader(Pk3Reader* reader) {
    if (!reader) return;
    if (reader->fd >= 0) close(reader->fd);
    Eng_Free(reader->path);
    Eng_Free(reader);
}

struct Pending {
    uint32_t position;
    uint32_t size;
    uint32_t nameOffset;
};

// Fills the index from the directory; false (with a warning) when the archive is refused.
bool indexDirectory(Pk3Index* index, uint64_t entries) {
    Pk3Reader* reader = index->reader;
    // One read for the whole directory: its size is bounded by the file, checked by the caller.
    const uint64_t directorySize = reader->cdEnd - reader->cdStart;
    if (directorySize > kMaxDirectorySize) {
        archiveWarning(reader, "central directory too large");
        return false;
    }
    std::vector<uint8_t> directory(directorySize);
    if (!readAt(reader->fd, reader->cdStart, directory.data(), directorySize)) {
        archiveWarning(reader, "can't read the central directory");
        return false;
    }
    std::vector<Pending> pending;
    pending.reserve(entries);
    std::string names;
    CentralRecord r;
    uint64_t position = reader->cdStart;
    for (uint64_t i = 0; i < entries; ++i) {
        const uint64_t offset = position - reader->cdStart;
        if (const char* cause = parseCentral(directory.data() + offset, directorySize - offset, &r)) {
            if (r.name[0])
                memberWarning(reader, r.name, cause);
            else
                archiveWarning(reader, cause);
            return false;
        }
        if (const char* cause = memberProblem(reader, r)) {
            memberWarning(reader, r.name, cause);
        } else {
            K_Strlwr(r.name);
            K_ConvertPathSeparators(r.name);
            pending.push_back({static_cast<uint32_t>(position - reader->cdStart), r.size,
                               static_cast<uint32_t>(names.size())});
            names.append(r.name, r.nameLength + 1);
        }
        position += kCentralSize + r.nameLength + r.extraLength + r.commentLength;
    }
    if (pending.empty()) {
        archiveWarning(reader, "no readable members");
        return false;
    }
    const uint64_t records = pending.size() * sizeof(Pk3Member);
    auto* block = static_cast<uint8_t*>(Eng_Alloc(records + names.size()));
    if (!block) {
        archiveWarning(reader, "out of memory");
        return false;
    }
    std::memset(block, 0, records + names.size());
    std::memcpy(block + records, names.data(), names.size());
    index->members = reinterpret_cast<Pk3Member*>(block);
    index->memberCount = pending.size();
    for (size_t i = 0; i < pending.size(); ++i) {
        Pk3Member* m = &index->members[i];
        m->name = reinterpret_cast<char*>(block + records + pending[i].nameOffset);
        m->position = pending[i].position;
        m->size = pending[i].size;
        Pk3Member** bucket = &index->buckets[K_Hash(m->name, kPk3Buckets)];
        m->next = *bucket;
        *bucket = m;
    }
    return true;
}

// Inflates raw deflate data of exactly `size` bytes into out (which has size + 1 bytes); with
// `head` set, only the first `size` bytes of a longer member.
const char* inflateMember(const Pk3Reader* reader, uint64_t position, uint64_t compressed, uint8_t* out,
                          uint32_t size, bool head = false) {
    // A head seldom needs more input than its own size (data that does not shrink is stored in
    // deflate blocks of a few bytes' overhead), and the buffer comes zeroed: no larger than needed.
    const uint64_t headInput = (static_cast<uint64_t>(size) + 4095) / 4096 * 4096 + 4096;
    const uint64_t chunkSize =
        std::max<uint64_t>(1, std::min<uint64_t>({compressed, kInputChunk, head ? headInput : kInputChunk}));
    auto* input = static_cast<uint8_t*>(Eng_Alloc(chunkSize));
    if (!input) return "out of memory";
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) {
        Eng_Free(input);
        return "out of memory";
    }
    const char* cause = nullptr;
    z.next_out = out;
    z.avail_out = head ? size : size + 1; // one spare byte shows data beyond the declared size
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (z.avail_in == 0) {
            if (compressed == 0) {
                cause = "compressed data ends early";
                break;
            }
            const uint32_t chunk = static_cast<uint32_t>(std::min<uint64_t>(compressed, chunkSize));
            if (!readAt(reader->fd, position, input, chunk)) {
                cause = "can't read member data";
                break;
            }
            position += chunk;
            compressed -= chunk;
            z.next_in = input;
            z.avail_in = chunk;
        }
        status = inflate(&z, Z_NO_FLUSH);
        if (status == Z_STREAM_END) break;
        if (status != Z_OK) {
            cause = "damaged compressed data";
            break;
        }
        if (z.avail_out == 0) {
            if (head) break;
            cause = "inflates past its declared size";
            break;
        }
    }
    if (!cause && z.total_out > size) cause = "inflates past its declared size";
    if (!cause && z.total_out < size) cause = "inflates short of its declared size";
    inflateEnd(&z);
    Eng_Free(input);
    return cause;
}

} // namespace

Pk3Index* Pk3_Open(const char* path) {
    if (!path || !*path) return nullptr;
    auto* reader = static_cast<Pk3Reader*>(Eng_Alloc(sizeof(Pk3Reader)));
    if (!reader) return nullptr;
    std::memset(reader, 0, sizeof *reader);
    reader->path = Eng_StrDup(path);
    reader->fd = open(Eng_NativePath(path), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (reader->fd < 0 || fstat(reader->fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        Eng_Warning("archive \"%s\" refused: can't open it (%s)", path,
                    reader->fd < 0 ? std::strerror(errno) : "not a regular file");
        closeReader(reader);
        return nullptr;
    }
    reader->fileSize = static_cast<uint64_t>(st.st_size);

    uint8_t end[kEndSize];
    uint64_t endPosition = 0;
    const char* cause = nullptr;
    uint64_t entries = 0;
    if (!findEnd(reader, end, &endPosition)) {
        cause = "no end of central directory record in its last 65557 bytes";
    } else {
        entries = u16(end + 10);
        const uint64_t cdSize = u32(end + 12), cdOffset = u32(end + 16);
        if (u16(end + 4) != 0 || u16(end + 6) != 0)
            cause = "spans several disks";
        else if (u16(end + 8) != entries)
            cause = "entry counts differ";
        else if (entries == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF)
            cause = "zip64 archives are not supported";
        else if (entries == 0)
            cause = "no entries";
        else if (cdOffset + cdSize > endPosition)
            cause = "central directory lies past its end record";
        else if (entries * kCentralSize > cdSize)
            cause = "central directory too small for its entries";
        else {
            reader->stub = endPosition - (cdOffset + cdSize);
            reader->cdStart = reader->stub + cdOffset;
            reader->cdEnd = reader->cdStart + cdSize;
        }
    }
    if (cause) {
        archiveWarning(reader, cause);
        closeReader(reader);
        return nullptr;
    }

    auto* index = static_cast<Pk3Index*>(Eng_Alloc(sizeof(Pk3Index)));
    if (!index) {
        closeReader(reader);
        return nullptr;
    }
    std::memset(index, 0, sizeof *index);
    index->reader = reader;
    if (!indexDirectory(index, entries)) {
        Pk3_Close(index);
        return nullptr;
    }
    Eng_Printf("Added archive: \"%s\" (%u files)\n", path, static_cast<unsigned>(index->memberCount));
    return index;
}

void Pk3_Close(Pk3Index* index) {
    if (!index) return;
    Eng_Free(index->members);
    closeReader(index->reader);
    Eng_Free(index);
}

const Pk3Member* Pk3_Find(const Pk3Index* index, const char* name) {
    if (!index || !name || !*name || index->memberCount == 0) return nullptr;
    char key[kMaxNameLength + 1];
    const size_t length = std::strlen(name);
    if (length > kMaxNameLength) return nullptr;
    std::memcpy(key, name, length + 1);
    K_ConvertPathSeparators(key);
    for (const Pk3Member* m = index->buckets[K_Hash(key, kPk3Buckets)]; m; m = m->next)
        if (K_Pathcmp(m->name, key) == 0) return m;
    return nullptr;
}

uint32_t Pk3_LoadMember(Pk3Index* index, const char* name, void** out, uint32_t limit) {
    const Pk3Member* member = Pk3_Find(index, name);
    if (!member || member->size == 0 || !out) return 0;
    const Pk3Reader* reader = index->reader;

    CentralRecord r;
    const char* cause = readCentral(reader, reader->cdStart + member->position, &r);
    if (!cause) cause = memberProblem(reader, r);
    uint8_t local[kLocalSize];
    const uint64_t localPosition = reader->stub + r.localOffset;
    uint64_t dataPosition = 0;
    if (!cause) {
        if (!readAt(reader->fd, localPosition, local, kLocalSize))
            cause = "can't read its local header";
        else if (u32(local) != kLocalSignature)
            cause = "bad local header signature";
        else if (u16(local + 8) != r.method)
            cause = "local header names another method";
        else if (!(r.flags & 0x8) && (u32(local + 14) != r.crc || u32(local + 18) != r.compressedSize ||
                                      u32(local + 22) != r.size))
            cause = "local header disagrees with the central directory";
        else if (u16(local + 26) != r.nameLength)
            cause = "local header name length differs";
        else {
            dataPosition = localPosition + kLocalSize + u16(local + 26) + u16(local + 28);
            if (dataPosition + r.compressedSize > reader->cdStart)
                cause = "member data runs into the central directory";
        }
    }
    if (cause) {
        memberWarning(reader, member->name, cause);
        return 0;
    }

    // A head is the member's first bytes alone: nothing to check it against.
    const bool head = limit > 0 && limit < r.size;
    const uint32_t size = head ? limit : r.size;
    auto* data = static_cast<uint8_t*>(Eng_Alloc(static_cast<uint64_t>(size) + 1));
    if (!data) {
        memberWarning(reader, member->name, "out of memory");
        return 0;
    }
    if (r.method == 0)
        cause = readAt(reader->fd, dataPosition, data, size) ? nullptr : "can't read member data";
    else
        cause = inflateMember(reader, dataPosition, r.compressedSize, data, size, head);
    if (!cause && !head && crc32(0L, data, r.size) != r.crc) cause = "CRC-32 mismatch";
    if (cause) {
        memberWarning(reader, member->name, cause);
        Eng_Free(data);
        return 0;
    }
    data[size] = 0;
    *out = data;
    return size;
}

bool Pk3_List(Pk3Index* index, const char* filter, char*** out) {
    if (!index || !filter || !out || index->memberCount == 0) return false;
    const int32_t mark = ++index->mark;
    uint64_t matches = 0;
    for (uint64_t i = 0; i < index->memberCount; ++i) {
        Pk3Member* m = &index->members[i];
        if (K_Strfilter(filter, m->name, 0)) {
            m->mark = mark;
            ++matches;
        }
    }
    if (matches == 0) return false;
    auto** list = static_cast<char**>(Eng_Alloc((matches + 1) * sizeof(char*)));
    if (!list) return false;
    uint64_t n = 0;
    for (uint64_t i = 0; i < index->memberCount; ++i) {
        const Pk3Member* m = &index->members[i];
        if (m->mark != mark) continue;
        list[n] = Eng_StrDup(m->name);
        if (!list[n]) {
            while (n > 0)
                Eng_Free(list[--n]);
            Eng_Free(list);
            return false;
        }
        ++n;
    }
    list[n] = nullptr;
    *out = list;
    return true;
}

// ---- Exports of the archive format "PK3 Archive" (id 0) ----------------------------------------

#define PK3_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
constexpr int32_t kPk3FormatId = 0;
}

PK3_EXPORT int32_t kpLoadArchive(int32_t fmt, const char* path, ArchiveHandle* handle) {
    if (fmt != kPk3FormatId || !handle) return 0;
    Pk3Index* index = Pk3_Open(path);
    if (!index) return 0;
    handle->data = index;
    return 1;
}

PK3_EXPORT int32_t kpUnloadArchive(int32_t fmt, ArchiveHandle* handle) {
    if (fmt != kPk3FormatId || !handle || !handle->data) return 0;
    Pk3_Close(static_cast<Pk3Index*>(handle->data));
    handle->data = nullptr;
    return 1;
}

PK3_EXPORT int32_t kpFindArchiveFile(int32_t fmt, ArchiveHandle* handle, const char* name) {
    if (fmt != kPk3FormatId || !handle) return 0;
    return Pk3_Find(static_cast<const Pk3Index*>(handle->data), name) ? 1 : 0;
}

PK3_EXPORT int32_t kpLoadArchiveFile(int32_t fmt, ArchiveHandle* handle, const char* name, void** out) {
    if (fmt != kPk3FormatId || !handle) return 0;
    return static_cast<int32_t>(Pk3_LoadMember(static_cast<Pk3Index*>(handle->data), name, out));
}

// The first maxBytes bytes of the member (all of a shorter one), as kpLoadArchiveFile gives them.
PK3_EXPORT int32_t kpLoadArchiveFileHead(int32_t fmt, ArchiveHandle* handle, const char* name,
                                         uint32_t maxBytes, void** out) {
    if (fmt != kPk3FormatId || !handle || maxBytes == 0) return 0;
    return static_cast<int32_t>(Pk3_LoadMember(static_cast<Pk3Index*>(handle->data), name, out, maxBytes));
}

PK3_EXPORT int64_t kpGetArchiveFileSize(int32_t fmt, ArchiveHandle* handle, const char* name) {
    if (fmt != kPk3FormatId || !handle) return -1;
    const Pk3Member* member = Pk3_Find(static_cast<const Pk3Index*>(handle->data), name);
    return member ? int64_t(member->size) : -1;
}

PK3_EXPORT int32_t kpListArchiveFiles(int32_t fmt, ArchiveHandle* handle, const char* filter, char*** out) {
    if (fmt != kPk3FormatId || !handle) return 0;
    return Pk3_List(static_cast<Pk3Index*>(handle->data), filter, out) ? 1 : 0;
}
