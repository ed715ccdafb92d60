// The byte stream of one project pass: the whole file read into memory, or the bytes written
// through a temporary file that replaces the target when complete. Every field of a record goes
// through one of these routines, in either direction.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "map/MapObject.h"

class MapDocument;
class QSaveFile;
struct GroupRecord;
struct MapWorld;
struct TextureInfo;

// The texture block before version 118 (no lightmap sample size).
inline constexpr qsizetype kZmfOldTextureBytes = 124;

// Answers of the faulty-writer question (files of an intermediate release marked 113 that hold
// the scale key name).
namespace ZmfBugFix {
constexpr int32_t NotAsked = 0;
constexpr int32_t Apply = 1;
constexpr int32_t DontApply = 2;
} // namespace ZmfBugFix

// One read or write pass.
struct ProjectSerializer {
    MapDocument* document = nullptr; // may be null (headless use)
    MapHandle map = nullptr;         // the world read into or written from
    QString path;
    int32_t version = 0;
    int32_t writing = 0; // 1 write, 0 read
    int32_t bugFixAnswer = ZmfBugFix::NotAsked;
    int32_t highestGroupSerial = 0;

    // The document's export path: written when not empty; after a read, the path the file
    // brought (empty when none) and whether it brought one.
    QString exportPath;
    bool exportInfoRead = false;

    // Asks the faulty-writer question with the given text; true for Yes. When empty, a warning
    // box titled "Z.A.R.V." asks (the wait cursor lifted meanwhile).
    std::function<bool(const QString& question)> askBugFix;

    // ---- Pass state ----
    QByteArray buffer;                 // the whole file: read at open, or built while writing
    std::shared_ptr<QSaveFile> target; // while writing: the temporary file that replaces the path
    qsizetype pos = 0;                 // read position
    bool shortRead = false;
    bool writeFailed = false;  // the temporary file refused bytes
    MapWorld* world = nullptr; // the world the records go to or come from
    std::unordered_map<int32_t, GroupRecord*> groupsBySerial;
    std::unordered_set<const GroupRecord*> writtenGroups;
};

// Bytes left to read.
inline qsizetype Project_Remaining(const ProjectSerializer& s) {
    return s.buffer.size() - s.pos;
}

// Reads the whole file ("read") or checks the target can be created ("write"); on failure the
// error "can't %s \"%s\" (%s)".
bool Project_OpenFile(ProjectSerializer& s);
// Raw bytes in file order; false on a short read or a failed write.
bool Project_SerializeBytes(ProjectSerializer& s, void* data, qsizetype size);
// Hands what is buffered to the temporary file; false once a write failed.
bool Project_FlushWrite(ProjectSerializer& s);
bool Project_SerializeInt(ProjectSerializer& s, int32_t& value);
bool Project_SerializeFloats(ProjectSerializer& s, float* values, int count);
// An ARGB int32 in the file, the editor's red, green, blue, alpha bytes in memory.
bool Project_SerializeColor(ProjectSerializer& s, ObjectColor& color);
// The 128-byte block (124 bytes before version 118, widened on reading).
bool Project_SerializeTexture(ProjectSerializer& s, TextureInfo& info);
// Counted strings: length -1 for null, 0 for empty. A read string is a Sys_Alloc block.
bool Project_WriteString(ProjectSerializer& s, const char* text);
bool Project_ReadString(ProjectSerializer& s, char** text);
// Either of the two by direction; reading replaces (and frees) what text held.
bool Project_SerializeString(ProjectSerializer& s, char*& text);
