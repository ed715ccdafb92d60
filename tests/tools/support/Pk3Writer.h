// Builds zip (PK3) files in memory for tests, with zlib for the deflated members, and records
// where each structure landed so a test can damage one field.
#pragma once

#include <QByteArray>
#include <QList>
#include <algorithm>
#include <cstdint>
#include <zlib.h>

struct Pk3Entry {
    QByteArray name;
    QByteArray data;
    uint16_t method = 8;     // 0 stored, 8 deflated
    bool descriptor = false; // sizes and CRC after the data (flag bit 3), zero in the local header
};

struct Pk3Layout {
    QList<qsizetype> local;   // each member's local header
    QList<qsizetype> central; // each member's central-directory record
    qsizetype end = 0;        // the end record
};

inline void Pk3Put16(QByteArray& b, uint32_t v) {
    b.append(char(v & 0xFF)).append(char(v >> 8 & 0xFF));
}
inline void Pk3Put32(QByteArray& b, uint32_t v) {
    Pk3Put16(b, v & 0xFFFF);
    Pk3Put16(b, v >> 16);
}
inline void Pk3Set16(QByteArray& b, qsizetype at, uint32_t v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8 & 0xFF);
}
inline void Pk3Set32(QByteArray& b, qsizetype at, uint32_t v) {
    Pk3Set16(b, at, v & 0xFFFF);
    Pk3Set16(b, at + 2, v >> 16);
}

inline QByteArray Pk3Deflate(const QByteArray& data) {
    z_stream z{};
    deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(qsizetype(deflateBound(&z, uLong(data.size()))), 0);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return out;
}

// stub: bytes in front of the zip; comment: the archive comment (its length field is cut to 16
// bits, so longer text is trailing bytes the length does not cover).
inline QByteArray Pk3Build(const QList<Pk3Entry>& entries, Pk3Layout* layout = nullptr,
                           const QByteArray& stub = {}, const QByteArray& comment = {}) {
    QByteArray zip = stub;
    QByteArray directory;
    Pk3Layout where;
    for (const Pk3Entry& e : entries) {
        const QByteArray packed = e.method == 8 ? Pk3Deflate(e.data) : e.data;
        const uint32_t crc =
            uint32_t(crc32(0, reinterpret_cast<const Bytef*>(e.data.constData()), uInt(e.data.size())));
        const uint32_t offset = uint32_t(zip.size() - stub.size());
        const uint16_t flags = e.descriptor ? 0x8 : 0;
        where.local.append(zip.size());
        Pk3Put32(zip, 0x04034b50);
        Pk3Put16(zip, 20);
        Pk3Put16(zip, flags);
        Pk3Put16(zip, e.method);
        Pk3Put32(zip, 0x5A210000); // 2025-01-01
        Pk3Put32(zip, e.descriptor ? 0 : crc);
        Pk3Put32(zip, e.descriptor ? 0 : uint32_t(packed.size()));
        Pk3Put32(zip, e.descriptor ? 0 : uint32_t(e.data.size()));
        Pk3Put16(zip, uint32_t(e.name.size()));
        Pk3Put16(zip, 0);
        zip.append(e.name).append(packed);
        if (e.descriptor) {
            Pk3Put32(zip, 0x08074b50);
            Pk3Put32(zip, crc);
            Pk3Put32(zip, uint32_t(packed.size()));
            Pk3Put32(zip, uint32_t(e.data.size()));
        }
        where.central.append(directory.size());
        Pk3Put32(directory, 0x02014b50);
        Pk3Put16(directory, 20);
        Pk3Put16(directory, 20);
        Pk3Put16(directory, flags);
        Pk3Put16(directory, e.method);
        Pk3Put32(directory, 0x5A210000);
        Pk3Put32(directory, crc);
        Pk3Put32(directory, uint32_t(packed.size()));
        Pk3Put32(directory, uint32_t(e.data.size()));
        Pk3Put16(directory, uint32_t(e.name.size()));
        Pk3Put16(directory, 0);
        Pk3Put16(directory, 0);
        Pk3Put16(directory, 0);
        Pk3Put16(directory, 0);
        Pk3Put32(directory, 0);
        Pk3Put32(directory, offset);
        directory.append(e.name);
    }
    const qsizetype directoryStart = zip.size();
    for (qsizetype& c : where.central)
        c += directoryStart;
    zip.append(directory);
    where.end = zip.size();
    Pk3Put32(zip, 0x06054b50);
    Pk3Put16(zip, 0);
    Pk3Put16(zip, 0);
    Pk3Put16(zip, uint32_t(entries.size()));
    Pk3Put16(zip, uint32_t(entries.size()));
    Pk3Put32(zip, uint32_t(directory.size()));
    Pk3Put32(zip, uint32_t(directoryStart - stub.size()));
    Pk3Put16(zip, uint32_t(std::min<qsizetype>(comment.size(), 0xFFFF)));
    zip.append(comment);
    if (layout) *layout = where;
    return zip;
}
