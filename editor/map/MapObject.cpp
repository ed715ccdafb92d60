#include "map/MapObject.h"

#include <QtGlobal>
#include <cstdlib>

#include "kstdlib/krandom.h"

cMapObject::cMapObject(MapObjectKind kind, size_t recordSize) : m_kind(kind) {
    m_record = std::calloc(1, recordSize < sizeof(void*) ? sizeof(void*) : recordSize);
    if (!m_record) qFatal("out of memory allocating a map record of %zu bytes", recordSize);
    cMapObject* self = this;
    std::memcpy(m_record, &self, sizeof(self));
}

cMapObject::~cMapObject() {
    std::free(m_record);
    m_record = nullptr;
}

ObjectColor Object_RandomDisplayColor(ObjectColor base, ObjectColor min, ObjectColor max) {
    uint8_t b[4], lo[4], hi[4], out[4];
    Color_ToBytes(base, b);
    Color_ToBytes(min, lo);
    Color_ToBytes(max, hi);
    for (int i = 0; i < 3; ++i) {
        // A maximum below the minimum gives a negative step, which leaves the minimum.
        const int step = ((int(hi[i]) - int(lo[i])) * int(b[i])) >> 8;
        out[i] = uint8_t(step >= 1 ? lo[i] + step : lo[i]);
    }
    out[3] = 255;
    return Color_FromBytes(out[0], out[1], out[2], out[3]);
}

ObjectColor Object_RandomBaseColor() {
    const uint8_t r = uint8_t(K_RandomLong(0, 255));
    const uint8_t g = uint8_t(K_RandomLong(0, 255));
    const uint8_t b = uint8_t(K_RandomLong(0, 255));
    return Color_FromBytes(r, g, b, 255);
}
