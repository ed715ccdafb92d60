// ZMF project files (".zmf"): the editor's own binary dump of one map world. Every record kind
// has one routine that reads or writes its fields in file order, chosen by the pass's
// direction, so reader and writer cannot drift apart. Versions 111 and later are read; version
// 123 is written. All numbers are little-endian.
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
struct BrushRecord;
struct CameraRecord;
struct EntityRecord;
struct FaceRecord;
struct GroupRecord;
struct MapWorld;
struct NodeRecord;
struct PathRecord;
struct TextureInfo;
struct VisGroup;

inline constexpr char kZmfMagic[4] = {'Z', 'Q', 'M', 'F'};
inline constexpr int32_t kZmfOldestVersion = 111;
inline constexpr int32_t kZmfVersion = 123;
// Key/value pairs one entity or node may hold in a file.
inline constexpr int32_t kZmfMaxKeyValues = 32000;

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

// Reads the file named by the serializer into its map. The file is read into a world of its
// own first, so on any failure (messages logged) the map is left as it was; on success the map
// is cleared and takes the file's objects. True on success.
bool Project_ReadFile(ProjectSerializer& s);
// Writes the map to the serializer's path through a temporary file that replaces the target
// only when complete, so a failed write leaves the previous file. True on success.
bool Project_WriteFile(ProjectSerializer& s);

// Plain entry points: fill a serializer for the world and run one pass.
bool Project_ReadWorld(MapWorld* world, const QString& path,
                       std::function<bool(const QString&)> askBugFix = {});
bool Project_WriteWorld(MapWorld* world, const QString& path, const QString& exportPath = {});

// ---- Building blocks (one routine per record, direction by the serializer) ----
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

bool Project_SerializeHeader(ProjectSerializer& s);
bool Project_SerializeGroup(ProjectSerializer& s, GroupRecord*& group);
bool Project_SerializeVisGroup(ProjectSerializer& s, VisGroup*& set);
bool Project_SerializeCamera(ProjectSerializer& s, CameraRecord*& camera);
bool Project_SerializePath(ProjectSerializer& s, PathRecord*& path);
bool Project_SerializeNode(ProjectSerializer& s, PathRecord* path, NodeRecord*& node);
bool Project_SerializeEntity(ProjectSerializer& s, EntityRecord*& entity);
bool Project_SerializeBrush(ProjectSerializer& s, EntityRecord* entity, BrushRecord*& brush);
// A kept face (BrushRecord::keptFaces) is read without a polygon into the brush's kept faces.
bool Project_SerializeFace(ProjectSerializer& s, BrushRecord* brush, FaceRecord*& face, bool kept = false);

// Looks ahead, without consuming, for the scale key name a faulty writer put into version 113.
bool Project_ProbeExportBug(const ProjectSerializer& s);
// Once per file: when the probe finds the fault, asks whether to read those files as 114 does.
void Project_AskExportBugFix(ProjectSerializer& s);
