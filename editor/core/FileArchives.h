// The archives the file look-ups fall back to when the disk has no such file. The system layer
// only asks; the game data's archive registry answers (through the system host).
#pragma once

#include <cstdint>

class FileArchives {
public:
    virtual ~FileArchives() = default;

    // Whether an archive holds the file.
    virtual bool holdsFile(const char* path) = 0;
    // The file in a new Sys_Alloc block of size + 1 bytes (free with Sys_Free); size may be null.
    virtual bool loadFile(const char* path, void** data, uint32_t* size) = 0;
    // Changes whenever what the archives hold may have changed; remembered look-ups compare it.
    virtual uint64_t contentStamp() const = 0;
};
