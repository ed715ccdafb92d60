// ZMF project files (".zmf"): the editor's own binary dump of one map world. Every record kind
// has one routine that reads or writes its fields in file order, chosen by the pass's
// direction, so reader and writer cannot drift apart. Versions 111 and later are read; version
// 124 is written. All numbers are little-endian.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "document/ZmfStream.h"

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
inline constexpr int32_t kZmfVersion = 124;
// Key/value pairs one entity or node may hold in a file.
inline constexpr int32_t kZmfMaxKeyValues = 32000;

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

// ---- Records (one routine per record, direction by the serializer) ----
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
