// The byte stream of a project pass and one serializer routine per record kind. Each routine
// lists its record's fields once, in file order; the pass's direction decides whether a field
// is taken from the world or put into it.
#include "document/ZmfFile.h"

#include <QGuiApplication>
#include <QFile>
#include <QKeySequence>
#include <QSaveFile>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/VisGroup.h"
#include "gamedata/EntityClass.h"
#include "map/EPair.h"
#include "map/KeptBrush.h"
#include "map/FaceOrder.h"
#include "map/FaceSource.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"

static_assert(std::endian::native == std::endian::little, "project files are copied as little-endian blocks");

namespace {

// The entity's render settings and the block after them travel as raw bytes.
constexpr size_t kRenderBlockOffset = offsetof(EntityRecord, blendState);
constexpr qsizetype kRenderBlockBytes = 16;
constexpr size_t kExtraBlockOffset = offsetof(EntityRecord, body);
constexpr qsizetype kExtraBlockBytes = 48;
constexpr qsizetype kOldExtraBlockBytes = 16; // before version 115
static_assert(kRenderBlockOffset == 176 && kExtraBlockOffset == kRenderBlockOffset + kRenderBlockBytes);
static_assert(offsetof(EntityRecord, keyNames) == kExtraBlockOffset + kExtraBlockBytes);

constexpr qsizetype kOldPatchLines = 16; // the control grid before version 120
constexpr qsizetype kPlaneBytes = 20;
constexpr qsizetype kOverlayCornerBytes = sizeof(OverlayCorner) * kOverlayCorners;
static_assert(kOverlayCornerBytes == 96);

constexpr uint32_t kUpdateEntityAfterLoad = 0x38A;
constexpr uint32_t kUpdateBrushAfterLoad = 10;

// The key-name roles in file order, each with the version that brought it.
struct KeyNameField {
    int32_t role;
    int32_t since;
};
constexpr KeyNameField kKeyNameFields[] = {
    {KEY_SPAWNFLAGS, 0},     {KEY_ORIGIN, 113},         {KEY_ANGLES, 113},         {KEY_SCALE, 114},
    {KEY_TARGETNAME, 116},   {KEY_TARGET, 116},         {KEY_SKYNAME, 117},        {KEY_STUDIO_MODEL, 119},
    {KEY_SPRITE_MODEL, 119}, {KEY_PARTICLE_MODEL, 119}, {KEY_INSTANCE_MODEL, 119}, {KEY_TEXTURE, 119},
    {KEY_SCRIPT, 121},
};
static_assert(std::size(kKeyNameFields) == kEntityKeyRoles);

qsizetype textureBytes(const ProjectSerializer& s) {
    return s.version >= 118 ? qsizetype(sizeof(TextureInfo)) : kZmfOldTextureBytes;
}

// A count read from the file must be possible: not negative, within the data model, and small
// enough for the rest of the file to hold that many records of at least minBytes each.
bool checkCount(const ProjectSerializer& s, int32_t count, int32_t limit, qsizetype minBytes,
                const char* what) {
    if (s.writing) return true;
    if (count < 0 || count > limit || qsizetype(count) * minBytes > Project_Remaining(s)) {
        Sys_Error("bad %s count %i", what, count);
        return false;
    }
    return true;
}

GroupRecord* findGroup(const ProjectSerializer& s, int32_t serial) {
    if (serial == 0) return nullptr;
    const auto it = s.groupsBySerial.find(serial);
    return it == s.groupsBySerial.end() ? nullptr : it->second;
}

int32_t serialOf(const GroupRecord* group) {
    return group ? group->serial : 0;
}

// Key/value pairs: count, then key and value per pair. Pairs with a null key or value are
// dropped on reading.
bool serializePairs(ProjectSerializer& s, EPair*& pairs) {
    int32_t count = 0;
    if (s.writing)
        for (const EPair* p = pairs; p; p = p->next)
            ++count;
    if (!Project_SerializeInt(s, count) || !checkCount(s, count, kZmfMaxKeyValues, 8, "key/value"))
        return false;
    if (s.writing) {
        for (const EPair* p = pairs; p; p = p->next)
            if (!Project_WriteString(s, p->key) || !Project_WriteString(s, p->value)) return false;
        return true;
    }
    EPair** tail = &pairs;
    while (*tail)
        tail = &(*tail)->next;
    for (int32_t i = 0; i < count; ++i) {
        char* key = nullptr;
        char* value = nullptr;
        const bool ok = Project_ReadString(s, &key) && Project_ReadString(s, &value);
        if (ok && key && value) {
            EPair_Append(tail, key, value);
            tail = &(*tail)->next;
        }
        Sys_Free(key);
        Sys_Free(value);
        if (!ok) return false;
    }
    return true;
}

// Visgroup memberships: count, then the ids. Unknown ids are skipped on reading.
bool serializeVisGroupIds(ProjectSerializer& s, cVisGroupList& sets) {
    int32_t count = s.writing ? sets.count() : 0;
    if (!Project_SerializeInt(s, count) || !checkCount(s, count, INT32_MAX, 4, "visgroup id")) return false;
    for (int32_t i = 0; i < count; ++i) {
        int32_t id = s.writing ? sets.idAt(i) : 0;
        if (!Project_SerializeInt(s, id)) return false;
        if (!s.writing) {
            if (VisGroup* set = Map_FindVisGroup(s.world, id))
                sets.add(set);
            else
                Sys_Warning("%s: unknown visgroup id %i ignored", Text_ToWindows1251(s.path).constData(), id);
        }
    }
    return true;
}

// Colours of records written; a bare record (no handle) has none.
ObjectColor baseColorOf(const void* record) {
    const cMapObject* handle = Object_FromRecord(record);
    return handle ? handle->baseColor : kObjectColorBlack;
}
ObjectColor displayColorOf(const void* record) {
    const cMapObject* handle = Object_FromRecord(record);
    return handle ? handle->displayColor : kObjectColorBlack;
}

// The memberships of a handle; a bare record (no handle) has none.
template <class Handle> cVisGroupList& visGroupsOf(Handle* handle) {
    static cVisGroupList none;
    return handle ? handle->visGroups : none;
}

bool serializePlane(ProjectSerializer& s, float normal[3], float& dist, int32_t& type) {
    return Project_SerializeFloats(s, normal, 3) && Project_SerializeFloats(s, &dist, 1) &&
           Project_SerializeInt(s, type);
}

// Patch block: the patch is made and attached before its grid is read, so a short read leaves
// nothing the brush does not own.
// Where a brush stands as "Go to Brush" counts: entity index (the world entity is 0) and brush
// index within the entity.
void brushPosition(const MapWorld* world, const BrushRecord* brush, int32_t* entityIndex,
                   int32_t* brushIndex) {
    *entityIndex = *brushIndex = -1;
    int32_t e = 0;
    for (const EntityRecord* entity = world ? world->entities : nullptr; entity; entity = entity->next, ++e) {
        if (entity != brush->entity) continue;
        int32_t b = 0;
        for (const BrushRecord* other = entity->firstBrush; other; other = other->next, ++b)
            if (other == brush) {
                *entityIndex = e;
                *brushIndex = b;
                return;
            }
    }
}

// The counts a patch is written with: the reader refuses any outside odd 3..31 (plugins write
// patch records directly), so they are normalised as everywhere else, with a warning.
void writtenPatchCounts(const ProjectSerializer& s, const BrushRecord* brush, int32_t* columns,
                        int32_t* rows) {
    const PatchRecord* patch = brush->patch;
    *columns = Patch_NormalizeCount(patch->columns);
    *rows = Patch_NormalizeCount(patch->rows);
    if (*columns == patch->columns && *rows == patch->rows) return;
    int32_t entityIndex, brushIndex;
    brushPosition(s.world, brush, &entityIndex, &brushIndex);
    Sys_Warning("patch of brush %i of entity %i has a bad size %i x %i: saved as %i x %i", brushIndex,
                entityIndex, patch->columns, patch->rows, *columns, *rows);
}

bool serializePatch(ProjectSerializer& s, BrushRecord* brush) {
    int32_t columns = 0;
    int32_t rows = 0;
    if (s.writing) writtenPatchCounts(s, brush, &columns, &rows);
    if (!Project_SerializeInt(s, columns) || !Project_SerializeInt(s, rows)) return false;
    const bool fullGrid = s.version >= 120;
    if (!s.writing) {
        const int32_t most = fullGrid ? kPatchMaxLines : int32_t(kOldPatchLines);
        if (columns < kPatchMinLines || columns > most || rows < kPatchMinLines || rows > most) {
            Sys_Error("bad patch size %i x %i", columns, rows);
            return false;
        }
        PatchRecord* made = Patch_Alloc(columns, rows);
        made->brush = brush;
        brush->patch = made;
    }
    PatchRecord* patch = brush->patch;
    TextureInfo texture = patch->texInfo;
    int32_t flags = int32_t(patch->flags);
    if (!Project_SerializeTexture(s, texture) || !Project_SerializeInt(s, flags)) return false;
    // The points' flags are the vertex tool's working marks: neither written nor taken from a file.
    using PointGrid = PatchPoint[kPatchGridLines][kPatchGridLines];
    std::vector<PatchPoint> written;
    PointGrid* points = &patch->points;
    if (s.writing) {
        written.resize(sizeof patch->points / sizeof(PatchPoint));
        std::memcpy(written.data(), patch->points, sizeof patch->points);
        points = reinterpret_cast<PointGrid*>(written.data());
    }
    auto clearFlags = [](PointGrid& grid) {
        for (auto& column : grid)
            for (PatchPoint& point : column)
                point.flags = 0;
    };
    if (s.writing) clearFlags(*points);
    if (fullGrid) {
        if (!Project_SerializeBytes(s, *points, sizeof *points)) return false;
    } else {
        for (qsizetype c = 0; c < kOldPatchLines; ++c)
            if (!Project_SerializeBytes(s, (*points)[c], kOldPatchLines * qsizetype(sizeof(PatchPoint))))
                return false;
    }
    if (!s.writing) {
        clearFlags(*points);
        patch->flags |= uint32_t(flags);
        patch->handle->setTextureInfo(&texture);
        patch->handle->update(BrushUpdate::TessellatePatch);
    }
    return true;
}

bool serializeOverlay(ProjectSerializer& s, BrushRecord* brush) {
    if (!s.writing) {
        OverlayRecord* made = Overlay_Alloc();
        made->brush = brush;
        brush->overlay = made;
    }
    OverlayRecord* overlay = brush->overlay;
    TextureInfo texture = overlay->texInfo;
    int32_t flags = int32_t(overlay->flags);
    if (!Project_SerializeTexture(s, texture) || !Project_SerializeInt(s, flags) ||
        !serializePlane(s, overlay->normal, overlay->dist, overlay->planeType) ||
        !Project_SerializeBytes(s, overlay->corners, kOverlayCornerBytes))
        return false;
    if (!s.writing) {
        overlay->flags |= uint32_t(flags);
        overlay->handle->setTextureInfo(&texture);
        overlay->handle->update(0);
    }
    return true;
}

// The kind a brush is written as: a patch or overlay brush that lost its block is a plain one,
// so the file never promises a block it does not hold.
int32_t writtenKind(const BrushRecord* brush) {
    if (brush->kind == BrushKind::Patch && brush->patch) return BrushKind::Patch;
    if (brush->kind == BrushKind::Overlay && brush->overlay) return BrushKind::Overlay;
    return BrushKind::Solid;
}

// No box can open without a widget application: the answer is no then.
bool askWithMessageBox(const QString& question) {
    const QCoreApplication* app = QCoreApplication::instance();
    if (!app || !app->inherits("QApplication")) return false;
    const bool waiting = QGuiApplication::overrideCursor() != nullptr;
    if (waiting) QGuiApplication::restoreOverrideCursor();
    PromptDetails details;
    details.defaultButton = PromptButton::No;
    const int32_t answer = Prompt_Question(nullptr, PromptIcon::Warning, question,
                                           PromptButton::Yes | PromptButton::No, details);
    if (waiting) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    return answer == PromptButton::Yes;
}

} // namespace

// ---- Records -----------------------------------------------------------------------------------

bool Project_SerializeHeader(ProjectSerializer& s) {
    char magic[4];
    std::memcpy(magic, kZmfMagic, 4);
    // A failed write is the writer's to report ("can't write file header").
    if (!Project_SerializeBytes(s, magic, 4) || std::memcmp(magic, kZmfMagic, 4) != 0) {
        if (!s.writing) Sys_Error("bad file header");
        return false;
    }
    if (!Project_SerializeInt(s, s.version) || s.version < kZmfOldestVersion) {
        if (!s.writing)
            Sys_Error("bad file version (%i should be %i or higher)", s.version, kZmfOldestVersion);
        return false;
    }
    return true;
}

bool Project_SerializeGroup(ProjectSerializer& s, GroupRecord*& group) {
    int32_t serial = 0, parent = 0, flags = 0, members = 0;
    ObjectColor color = kObjectColorBlack;
    if (s.writing) {
        serial = group->serial;
        parent = serialOf(group->parent);
        flags = int32_t(group->flags);
        members = group->memberCount;
        color = baseColorOf(group);
    }
    if (!Project_SerializeInt(s, serial) || !Project_SerializeInt(s, parent) ||
        !Project_SerializeInt(s, flags) || !Project_SerializeInt(s, members) ||
        !Project_SerializeColor(s, color))
        return false;
    if (s.writing) return true;

    group = Group_Alloc();
    Map_LinkGroup(s.world, group);
    group->serial = serial;
    group->flags = uint32_t(flags) & ~GroupFlag::Selected;
    group->memberCount = members;
    group->handle->baseColor = color;
    group->handle->updateRandomColor();
    group->parent = findGroup(s, parent);
    s.groupsBySerial.try_emplace(serial, group);
    s.highestGroupSerial = std::max({s.highestGroupSerial, serial, parent});
    if (flags & GroupFlag::Selected) Map_SelectObject(s.world, group);
    return true;
}

bool Project_SerializeVisGroup(ProjectSerializer& s, VisGroup*& set) {
    char* name = s.writing ? set->name : nullptr;
    int32_t id = s.writing ? set->id : 0;
    uint8_t color[4] = {};
    uint8_t visible = 0;
    if (s.writing) {
        std::memcpy(color, set->color, 4);
        visible = set->visible ? 1 : 0;
    }
    const bool ok = Project_SerializeString(s, name) && Project_SerializeInt(s, id) &&
                    Project_SerializeBytes(s, color, 4) && Project_SerializeBytes(s, &visible, 1);
    if (s.writing) return ok;
    if (!ok) {
        Sys_Free(name);
        return false;
    }
    // Two sets under one id would leave one of them unreachable.
    if (Map_FindVisGroup(s.world, id)) {
        Sys_Free(name);
        Sys_Error("duplicate visgroup id %i", id);
        return false;
    }
    set = Map_CreateVisGroup(s.world, name);
    Sys_Free(name);
    if (!Map_SetVisGroupId(s.world, set, id, "Project_ReadFile")) return false;
    std::memcpy(set->color, color, 4);
    set->visible = visible;
    return true;
}

bool Project_SerializeCamera(ProjectSerializer& s, CameraRecord*& camera) {
    float eye[3] = {}, target[3] = {};
    int32_t flags = 0;
    ObjectColor color = kObjectColorBlack;
    if (s.writing) {
        std::memcpy(eye, camera->eye, sizeof eye);
        std::memcpy(target, camera->target, sizeof target);
        flags = int32_t(camera->flags);
        color = baseColorOf(camera);
    }
    if (!Project_SerializeFloats(s, eye, 3) || !Project_SerializeFloats(s, target, 3) ||
        !Project_SerializeInt(s, flags) || !Project_SerializeColor(s, color))
        return false;
    if (s.writing) return true;

    camera = Camera_Alloc();
    Map_LinkCamera(s.world, camera, Map_Handle(s.world));
    camera->serial = Map_NextSerial(s.world, SerialKind::Camera);
    camera->flags |= uint32_t(flags);
    camera->handle->setEyeAndTarget(eye, target);
    camera->handle->baseColor = color;
    camera->handle->updateRandomColor();
    if (flags & CameraFlag::Selected) s.world->currentCamera = camera;
    return true;
}

bool Project_SerializeNode(ProjectSerializer& s, PathRecord* path, NodeRecord*& node) {
    if (!s.writing) {
        node = Node_Alloc();
        node->handle->id = Map_AllocId(s.world);
        node->serial = Map_NextSerial(s.world, SerialKind::Node);
        node->path = path;
        List_Append(path->firstNode, path->lastNode, node);
    }
    int32_t flags = int32_t(node->flags);
    ObjectColor color = displayColorOf(node);
    if (!Project_SerializeString(s, node->name) || !Project_SerializeString(s, node->message) ||
        !Project_SerializeFloats(s, node->origin, 3) || !Project_SerializeFloats(s, node->angles, 3) ||
        !Project_SerializeInt(s, flags) || !Project_SerializeColor(s, color) ||
        !serializePairs(s, node->epairs))
        return false;
    if (!s.writing) {
        node->flags = (node->flags | uint32_t(flags)) & ~NodeFlag::Selected;
        node->handle->displayColor = color;
    }
    return true;
}

bool Project_SerializePath(ProjectSerializer& s, PathRecord*& path) {
    if (s.writing) {
        ObjectColor color = displayColorOf(path);
        int32_t type = path->type, flags = int32_t(path->flags), count = 0;
        for (const NodeRecord* node = path->firstNode; node; node = node->next)
            ++count;
        if (!Project_WriteString(s, path->className) || !Project_WriteString(s, path->name) ||
            !Project_SerializeInt(s, type) || !Project_SerializeInt(s, flags) ||
            !Project_SerializeColor(s, color) || !Project_SerializeInt(s, count))
            return false;
        for (NodeRecord* node = path->firstNode; node; node = node->next)
            if (!Project_SerializeNode(s, path, node)) return false;
        return true;
    }

    char* className = nullptr;
    if (!Project_ReadString(s, &className)) return false;
    if (!className || !*className) {
        Sys_Free(className);
        Sys_Error("path without a class name");
        return false;
    }
    path = Path_Alloc();
    path->className = className;
    Map_LinkPath(s.world, path);
    int32_t type = 0, flags = 0, count = 0;
    ObjectColor color = kObjectColorBlack;
    if (!Project_SerializeString(s, path->name) || !Project_SerializeInt(s, type) ||
        !Project_SerializeInt(s, flags) || !Project_SerializeColor(s, color) ||
        !Project_SerializeInt(s, count) || !checkCount(s, count, INT32_MAX, 44, "path node"))
        return false;
    path->type = type;
    path->flags = uint32_t(flags);
    path->handle->displayColor = color;
    for (int32_t i = 0; i < count; ++i) {
        NodeRecord* node = nullptr;
        if (!Project_SerializeNode(s, path, node)) return false;
    }
    path->handle->renumber();
    path->handle->update();
    path->flags &= ~RecordFlag::Selected;
    return true;
}

// The source block of a face: since 123 field by field with the points in double precision;
// version 122 held the points as floats.
bool serializeSource(ProjectSerializer& s, FaceSource& source) {
    if (s.version >= 123)
        return Project_SerializeBytes(s, source.points, sizeof source.points) &&
               Project_SerializeFloats(s, &source.matrix[0][0], 6) &&
               Project_SerializeBytes(s, &source.flags, sizeof source.flags) &&
               Project_SerializeInt(s, source.width) && Project_SerializeInt(s, source.height);
    float points[3][3];
    if (!Project_SerializeFloats(s, &points[0][0], 9) ||
        !Project_SerializeFloats(s, &source.matrix[0][0], 6) ||
        !Project_SerializeBytes(s, &source.flags, sizeof source.flags) ||
        !Project_SerializeInt(s, source.width) || !Project_SerializeInt(s, source.height))
        return false;
    for (int i = 0; i < 3; ++i)
        for (int a = 0; a < 3; ++a)
            source.points[i][a] = points[i][a];
    return true;
}

bool Project_SerializeFace(ProjectSerializer& s, BrushRecord* brush, FaceRecord*& face, bool kept) {
    int32_t flags = s.writing ? int32_t(face->flags) : 0;
    int32_t count = s.writing ? face->vertexCount : 0;
    if (!Project_SerializeInt(s, flags) || !Project_SerializeInt(s, count) ||
        !checkCount(s, count, kFaceMaxVertices, qsizetype(sizeof(FaceVertex)), "face vertex"))
        return false;
    if (!s.writing && kept) {
        // Kept faces bound nothing: they have no polygon, id or place in the face list.
        if (count != 0) {
            Sys_Error("bad kept face vertex count %i", count);
            return false;
        }
        face = Face_Alloc(0);
        face->flags = uint32_t(flags) & ~(FaceFlags::Selected | FaceFlags::NeedsUpdate);
        face->brush = brush;
        FaceRecord** tail = &brush->keptFaces;
        while (*tail)
            tail = &(*tail)->next;
        *tail = face;
    } else if (!s.writing) {
        face = Face_Alloc(count);
        face->flags |= uint32_t(flags) & ~FaceFlags::Selected;
        Map_LinkBrush(s.world, face, brush);
        face->serial = Map_NextSerial(s.world, SerialKind::Face);
    }
    TextureInfo texture = face->texInfo;
    // The vertices' flags are the vertex tool's working marks: neither written nor taken from a file.
    FaceVertex written[kFaceMaxVertices];
    FaceVertex* vertices = face->vertices;
    if (s.writing) {
        if (count > 0) std::memcpy(written, face->vertices, size_t(count) * sizeof(FaceVertex));
        for (int32_t i = 0; i < count; ++i)
            written[i].flags = 0;
        vertices = written;
    }
    if (!Project_SerializeTexture(s, texture) ||
        !serializePlane(s, face->normal, face->dist, face->axialType) ||
        !Project_SerializeBytes(s, vertices, qsizetype(count) * qsizetype(sizeof(FaceVertex))))
        return false;
    // What the map file gave for the face (since 122): a map kept as a project file and exported
    // again writes its faces as they were read.
    if (s.version >= 122) {
        int32_t hasSource = s.writing && face->source ? 1 : 0;
        if (!Project_SerializeInt(s, hasSource)) return false;
        if (hasSource != 0 && hasSource != 1) {
            Sys_Error("bad face source marker %i", hasSource);
            return false;
        }
        if (hasSource) {
            FaceSource source = s.writing ? *face->source : FaceSource{};
            if (!serializeSource(s, source)) return false;
            if (!s.writing) {
                face->source = static_cast<FaceSource*>(Sys_Alloc(sizeof(FaceSource)));
                *face->source = source;
            }
        }
    }
    // The face's place in the brush in map files (since 123; before, faces keep the list's order).
    if (s.version >= 123 && !Project_SerializeInt(s, face->fileOrder)) return false;
    if (!s.writing)
        for (int32_t i = 0; i < count; ++i)
            face->vertices[i].flags = 0;
    if (!s.writing && kept) {
        face->handle->setTextureInfo(&texture);
    } else if (!s.writing) {
        face->handle->setTextureInfo(&texture);
        // Coordinates from the stored mapping, never the mapping solved back from them (UV
        // lock), so loading cannot drift a texture. A face without a polygon may delete itself.
        face->handle->update(FaceUpdate::TexCoords);
    }
    return true;
}

bool Project_SerializeBrush(ProjectSerializer& s, EntityRecord* entity, BrushRecord*& brush) {
    int32_t kind = s.writing ? writtenKind(brush) : BrushKind::Solid;
    int32_t flags = 0, inner = 0, outer = 0;
    ObjectColor color = kObjectColorBlack;
    // The marks of a running drag or vertex edit belong to the tool, not to the map.
    constexpr uint32_t toolMarks = BrushFlags::Dragged | BrushFlags::Morphed;
    if (s.writing) {
        flags = int32_t(brush->flags & ~toolMarks);
        inner = serialOf(brush->group);
        outer = serialOf(brush->outerGroup);
        color = baseColorOf(brush);
    }
    if ((s.version >= 112 && !Project_SerializeInt(s, kind)) || !Project_SerializeInt(s, flags) ||
        !Project_SerializeInt(s, inner) || !Project_SerializeInt(s, outer) ||
        !Project_SerializeColor(s, color))
        return false;
    if (!s.writing) {
        if (kind < BrushKind::Solid || kind > BrushKind::Overlay) {
            Sys_Error("bad brush kind %i", kind);
            return false;
        }
        brush = Brush_Alloc();
        brush->flags |= uint32_t(flags) & ~(BrushFlags::Selected | toolMarks);
        brush->entity = entity;
        brush->kind = kind;
        brush->handle->baseColor = color;
        brush->handle->updateRandomColor();
        Map_LinkBrush(s.world, brush, entity);
        brush->serial = Map_NextSerial(s.world, SerialKind::Brush);
    }
    if (!serializeVisGroupIds(s, visGroupsOf(brush->handle))) return false;

    int32_t faceCount = 0;
    if (s.writing)
        for (const FaceRecord* f = brush->firstFace; f; f = f->next)
            ++faceCount;
    if (!Project_SerializeInt(s, faceCount) ||
        !checkCount(s, faceCount, INT32_MAX, 8 + textureBytes(s) + kPlaneBytes, "face"))
        return false;
    if (s.writing) {
        for (FaceRecord* f = brush->firstFace; f; f = f->next)
            if (!Project_SerializeFace(s, brush, f)) return false;
    } else {
        for (int32_t i = 0; i < faceCount; ++i) {
            FaceRecord* f = nullptr;
            if (!Project_SerializeFace(s, brush, f)) return false;
        }
    }
    // Faces read from a map file that bound nothing, kept to be written back (since 123).
    if (s.version >= 123) {
        int32_t keptCount = 0;
        if (s.writing)
            for (const FaceRecord* f = brush->keptFaces; f; f = f->next)
                ++keptCount;
        if (!Project_SerializeInt(s, keptCount) ||
            !checkCount(s, keptCount, INT32_MAX, 8 + textureBytes(s) + kPlaneBytes, "kept face"))
            return false;
        if (s.writing) {
            for (FaceRecord* f = brush->keptFaces; f; f = f->next)
                if (!Project_SerializeFace(s, brush, f, true)) return false;
        } else {
            for (int32_t i = 0; i < keptCount; ++i) {
                FaceRecord* f = nullptr;
                if (!Project_SerializeFace(s, brush, f, true)) return false;
            }
        }
    }
    if (kind == BrushKind::Patch && !serializePatch(s, brush)) return false;
    if (kind == BrushKind::Overlay && !serializeOverlay(s, brush)) return false;

    if (!s.writing) {
        brush->handle->update(kUpdateBrushAfterLoad);
        brush->group = findGroup(s, inner);
        brush->outerGroup = findGroup(s, outer);
        if (flags & BrushFlags::Selected) Map_SelectObject(s.world, brush);
    }
    return true;
}

namespace {

// Brushes read from a map file whose planes enclose no space (since 124), after the entity's
// brushes: each with its place, the number (from 1) of the brush it follows, 0 before all of them;
// one whose brush is gone goes after the last.
bool serializeKeptBrushes(ProjectSerializer& s, EntityRecord* entity, int32_t brushCount) {
    int32_t keptCount = 0;
    if (s.writing)
        for (const KeptBrushRecord* k = entity->keptBrushes; k; k = k->next)
            ++keptCount;
    if (!Project_SerializeInt(s, keptCount) || !checkCount(s, keptCount, INT32_MAX, 8, "kept brush"))
        return false;
    KeptBrushRecord** tail = &entity->keptBrushes;
    KeptBrushRecord* k = entity->keptBrushes;
    for (int32_t i = 0; i < keptCount; ++i) {
        int32_t place = 0, faceCount = 0;
        if (s.writing) {
            place = k->after ? brushCount : 0;
            int32_t number = 1;
            for (const BrushRecord* b = entity->firstBrush; b && k->after; b = b->next, ++number)
                if (b->serial == k->after) {
                    place = number;
                    break;
                }
            faceCount = k->faceCount;
        }
        if (!Project_SerializeInt(s, place) || !Project_SerializeInt(s, faceCount) ||
            !checkCount(s, faceCount, INT32_MAX, qsizetype(sizeof(KeptFaceLine::points)) + textureBytes(s),
                        "kept brush face"))
            return false;
        if (!s.writing) {
            if (place < 0 || place > brushCount || faceCount == 0) {
                Sys_Error("bad kept brush (place %i, %i faces)", place, faceCount);
                return false;
            }
            k = static_cast<KeptBrushRecord*>(Sys_Alloc(sizeof(KeptBrushRecord)));
            if (!k) return false;
            *tail = k;
            tail = &k->next;
            k->faces = static_cast<KeptFaceLine*>(Sys_Alloc(sizeof(KeptFaceLine) * size_t(faceCount)));
            if (!k->faces) return false;
            k->faceCount = faceCount;
            const BrushRecord* b = entity->firstBrush;
            for (int32_t n = 1; b && n < place; ++n)
                b = b->next;
            k->after = place && b ? b->serial : 0;
        }
        for (int32_t f = 0; f < faceCount; ++f) {
            KeptFaceLine& line = k->faces[f];
            if (!Project_SerializeBytes(s, line.points, sizeof line.points) ||
                !Project_SerializeTexture(s, line.texInfo))
                return false;
        }
        k = k->next;
    }
    return true;
}

} // namespace

bool Project_SerializeEntity(ProjectSerializer& s, EntityRecord*& entity) {
    char* classname = nullptr;
    float origin[3] = {};
    int32_t flags = 0, inner = 0, outer = 0;
    ObjectColor color = kObjectColorBlack;
    if (s.writing) {
        classname = entity->classname;
        std::memcpy(origin, entity->origin, sizeof origin);
        flags = int32_t(entity->flags);
        inner = serialOf(entity->group);
        outer = serialOf(entity->outerGroup);
        color = displayColorOf(entity);
    }
    const bool headOk = Project_SerializeString(s, classname) && Project_SerializeFloats(s, origin, 3) &&
                        Project_SerializeInt(s, flags) && Project_SerializeInt(s, inner) &&
                        Project_SerializeInt(s, outer) && Project_SerializeColor(s, color);
    if (!s.writing) {
        if (headOk && (!classname || !*classname)) Sys_Error("entity without a classname");
        if (!headOk || !classname || !*classname) {
            Sys_Free(classname);
            return false;
        }
        entity = Entity_Alloc(classname, origin, uint32_t(flags) & ~EntityFlag::Selected);
        Sys_Free(classname);
        entity->handle->displayColor = color;
        Map_LinkEntity(s.world, entity);
        entity->serial = Map_NextSerial(s.world, SerialKind::Entity);
    }
    if (!headOk) return false;

    for (const KeyNameField& field : kKeyNameFields) {
        bool present = s.version >= field.since;
        if (field.role == KEY_SCALE && !s.writing && s.version == 113) {
            Project_AskExportBugFix(s);
            present = s.bugFixAnswer == ZmfBugFix::Apply;
        }
        if (present && !Project_SerializeString(s, entity->keyNames[field.role])) return false;
    }

    char* record = reinterpret_cast<char*>(entity);
    if (!s.writing) std::memset(record + kExtraBlockOffset, 0, kExtraBlockBytes);
    if (!Project_SerializeInt(s, entity->spawnflags) || !Project_SerializeFloats(s, entity->angles, 3) ||
        !Project_SerializeBytes(s, record + kRenderBlockOffset, kRenderBlockBytes) ||
        !Project_SerializeBytes(s, record + kExtraBlockOffset,
                                s.version >= 115 ? kExtraBlockBytes : kOldExtraBlockBytes) ||
        !serializePairs(s, entity->epairs) || !serializeVisGroupIds(s, visGroupsOf(entity->handle)))
        return false;

    int32_t brushCount = 0;
    if (s.writing)
        for (const BrushRecord* b = entity->firstBrush; b; b = b->next)
            ++brushCount;
    if (!Project_SerializeInt(s, brushCount) ||
        !checkCount(s, brushCount, INT32_MAX, s.version >= 112 ? 28 : 24, "brush"))
        return false;
    if (s.writing) {
        for (BrushRecord* b = entity->firstBrush; b; b = b->next)
            if (!Project_SerializeBrush(s, entity, b)) return false;
        return s.version < 124 || serializeKeptBrushes(s, entity, brushCount);
    }
    for (int32_t i = 0; i < brushCount; ++i) {
        BrushRecord* b = nullptr;
        if (!Project_SerializeBrush(s, entity, b)) return false;
    }
    if (s.version >= 124 && !serializeKeptBrushes(s, entity, brushCount)) return false;

    entity->handle->refreshKeyNames(true);
    entity->handle->update(kUpdateEntityAfterLoad);
    entity->group = findGroup(s, inner);
    entity->outerGroup = findGroup(s, outer);
    if (flags & EntityFlag::Selected) Map_SelectObject(s.world, entity);
    return true;
}

// ---- The faulty writer -------------------------------------------------------------------------

bool Project_ProbeExportBug(const ProjectSerializer& s) {
    if (s.writing || Project_Remaining(s) < 9) return false;
    int32_t length;
    std::memcpy(&length, s.buffer.constData() + s.pos, 4);
    return length == 5 && std::memcmp(s.buffer.constData() + s.pos + 4, "scale", 5) == 0;
}

void Project_AskExportBugFix(ProjectSerializer& s) {
    if (s.bugFixAnswer != ZmfBugFix::NotAsked) return;
    s.bugFixAnswer = ZmfBugFix::DontApply;
    if (!Project_ProbeExportBug(s)) return;
    const QString question = QStringLiteral(
        "This ZMF project seems to be saved in the intermediate version of Zarvock 1.1, which had an export "
        "BUG. "
        "Do you want to apply the BUGFIX?\n\nIf you select 'No', the map may not be loaded, or the editor "
        "may "
        "crash.\nIf the map is loaded successfully, immediately re-save it to the relevant format!");
    const bool yes = s.askBugFix ? s.askBugFix(question) : askWithMessageBox(question);
    if (!yes) return;
    const QString shortcut = QKeySequence(QKeySequence::Save).toString(QKeySequence::NativeText);
    Sys_Warning("should the project be loaded correctly, please IMMEDIATELY save it (%s)!",
                shortcut.toUtf8().constData());
    s.bugFixAnswer = ZmfBugFix::Apply;
}
