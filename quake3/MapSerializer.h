// Reader and writer of Quake III ".map" source text. One serializer is built on the stack for
// each kpImport/kpExport call and gone before the call returns.
#pragma once

#include <cstdint>
#include <string>

#include "map/MapObject.h"

// A file-backed serializer: the path it works on and its two directions.
class cBaseSerializer {
public:
    explicit cBaseSerializer(const char* path) : path(path ? path : "") {}
    virtual ~cBaseSerializer() = default;
    cBaseSerializer(const cBaseSerializer&) = delete;
    cBaseSerializer& operator=(const cBaseSerializer&) = delete;

    // 1 done, 0 failed (with console messages).
    virtual int32_t save() = 0;
    virtual int32_t load() = 0;

protected:
    std::string path; // no length limit
};

class cMapSerializer : public cBaseSerializer {
public:
    cMapSerializer(const char* path, MapHandle map) : cBaseSerializer(path), map(map) {}

    // Writes the world as version-220 text (MapWriter.cpp).
    int32_t save() override;
    // Builds the file's entities, brushes and patches in the world (MapReader.cpp). 1 when the
    // file was read to its end, also when single blocks were dropped; 0 when it could not be
    // opened or ended inside an open block.
    int32_t load() override;

private:
    MapHandle map;
};
