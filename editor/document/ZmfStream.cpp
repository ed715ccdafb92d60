// The byte stream of a project pass: reading takes the whole file into one block, writing hands
// the bytes to a temporary file a megabyte at a time.
#include "document/ZmfStream.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "map/MapFace.h"

namespace {
constexpr qsizetype kWriteChunk = 1 << 20;
} // namespace

bool Project_OpenFile(ProjectSerializer& s) {
    const QByteArray native = QFile::encodeName(s.path);
    const QByteArray shown = Text_ToWindows1251(s.path); // the console's code page
    if (s.writing) {
        auto file = std::make_shared<QSaveFile>(s.path);
        if (!file->open(QIODevice::WriteOnly)) {
            Sys_Error("can't %s \"%s\" (%s)", "write", shown.constData(),
                      Text_ToWindows1251(file->errorString()).constData());
            return false;
        }
        s.target = std::move(file);
        s.buffer.clear();
        s.buffer.reserve(kWriteChunk + 0x10000);
        return true;
    }
    FILE* file = std::fopen(native.constData(), "rb");
    if (!file) {
        Sys_Error("can't %s \"%s\" (%s)", "read", shown.constData(), std::strerror(errno));
        return false;
    }
    s.pos = 0;
    // One block for the whole file: project files run to tens of megabytes.
    int error = 0;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) != 0 || (size = std::ftell(file)) < 0 ||
        std::fseek(file, 0, SEEK_SET) != 0) {
        error = errno;
    } else {
        s.buffer = QByteArray(qsizetype(size), Qt::Uninitialized);
        if (std::fread(s.buffer.data(), 1, size_t(size), file) != size_t(size))
            error = std::ferror(file) ? errno : EIO;
    }
    std::fclose(file);
    const bool failed = error != 0;
    if (failed) {
        Sys_Error("can't %s \"%s\" (%s)", "read", shown.constData(), std::strerror(error));
        return false;
    }
    return true;
}

bool Project_SerializeBytes(ProjectSerializer& s, void* data, qsizetype size) {
    if (s.writing) {
        s.buffer.append(static_cast<const char*>(data), size);
        // Into the file a megabyte at a time, so a large map never sits in memory twice.
        if (s.target && s.buffer.size() >= kWriteChunk) Project_FlushWrite(s);
        return !s.writeFailed;
    }
    if (size > Project_Remaining(s)) {
        s.shortRead = true;
        return false;
    }
    if (size > 0) std::memcpy(data, s.buffer.constData() + s.pos, size_t(size));
    s.pos += size;
    return true;
}

bool Project_FlushWrite(ProjectSerializer& s) {
    if (!s.writing || !s.target || s.buffer.isEmpty()) return !s.writeFailed;
    if (!s.writeFailed && s.target->write(s.buffer) != s.buffer.size()) s.writeFailed = true;
    s.buffer.resize(0);
    return !s.writeFailed;
}

bool Project_SerializeInt(ProjectSerializer& s, int32_t& value) {
    return Project_SerializeBytes(s, &value, 4);
}

bool Project_SerializeFloats(ProjectSerializer& s, float* values, int count) {
    return Project_SerializeBytes(s, values, qsizetype(count) * 4);
}

bool Project_SerializeColor(ProjectSerializer& s, ObjectColor& color) {
    uint8_t rgba[4];
    Color_ToBytes(color, rgba);
    int32_t argb =
        int32_t(uint32_t(rgba[3]) << 24 | uint32_t(rgba[0]) << 16 | uint32_t(rgba[1]) << 8 | rgba[2]);
    if (!Project_SerializeInt(s, argb)) return false;
    const uint32_t v = uint32_t(argb);
    color = Color_FromBytes(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v), uint8_t(v >> 24));
    return true;
}

bool Project_SerializeTexture(ProjectSerializer& s, TextureInfo& info) {
    if (s.writing || s.version >= 118) return Project_SerializeBytes(s, &info, sizeof info);
    // The old block lacks the sample size: what follows it moves up by four bytes.
    char old[kZmfOldTextureBytes];
    if (!Project_SerializeBytes(s, old, sizeof old)) return false;
    constexpr size_t head = offsetof(TextureInfo, sampleSize);
    char* out = reinterpret_cast<char*>(&info);
    std::memcpy(out, old, head);
    info.sampleSize = 0;
    std::memcpy(out + head + 4, old + head, sizeof old - head);
    return true;
}

bool Project_WriteString(ProjectSerializer& s, const char* text) {
    int32_t length = text ? int32_t(std::strlen(text)) : -1;
    return Project_SerializeInt(s, length) &&
           (length <= 0 || Project_SerializeBytes(s, const_cast<char*>(text), length));
}

bool Project_ReadString(ProjectSerializer& s, char** text) {
    *text = nullptr;
    int32_t length;
    if (!Project_SerializeInt(s, length)) return false;
    if (length == -1) return true;
    if (length < -1 || length > Project_Remaining(s)) {
        if (length < -1) Sys_Error("bad string length %i", length);
        s.shortRead = true;
        return false;
    }
    char* block = static_cast<char*>(Sys_Alloc(uint64_t(length) + 1));
    std::memcpy(block, s.buffer.constData() + s.pos, size_t(length));
    s.pos += length;
    *text = block;
    return true;
}

bool Project_SerializeString(ProjectSerializer& s, char*& text) {
    if (s.writing) return Project_WriteString(s, text);
    char* read;
    const bool ok = Project_ReadString(s, &read);
    Sys_Free(text);
    text = read;
    return ok;
}
