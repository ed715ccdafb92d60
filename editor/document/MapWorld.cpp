#include "document/MapWorld.h"

#include "document/MapRender.h"

#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <QByteArray>
#include <QFileInfo>

#include "core/Platform.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/CompilerOverlays.h"
#include "document/CullTree.h"
#include "document/MapRender.h"
#include "document/GroupChain.h"
#include "document/MapWorldEntities.h"
#include "document/UndoHistory.h"
#include "document/VisGroup.h"
#include "gamedata/GameConfig.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "document/DocumentHost.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "document/ObjectApi.h"

namespace {

bool idBit(const MapWorld* world, int32_t id) {
    const uint32_t bit = uint32_t(id - 1);
    return (world->idBitmap[bit >> 3] >> (bit & 7)) & 1;
}

// The lowest id in [from, to) whose bit is clear, else to; 64 ids per step. Bit (id - 1) lies
// in byte (id - 1) / 8, so a little-endian load of 8 bytes holds ids in order.
static_assert(std::endian::native == std::endian::little);
static_assert(kIdBitmapBytes % 8 == 0);
int32_t firstFreeId(const MapWorld* world, int32_t from, int32_t to) {
    const uint32_t end = uint32_t(to - 1);
    for (uint32_t bit = uint32_t(from - 1); bit < end; bit = (bit | 63u) + 1) {
        uint64_t word;
        std::memcpy(&word, world->idBitmap + (bit >> 6) * 8, sizeof word);
        const uint64_t freeBits = ~word & (~uint64_t(0) << (bit & 63u));
        if (freeBits) {
            const uint32_t found = (bit & ~63u) + uint32_t(std::countr_zero(freeBits));
            return found < end ? int32_t(found + 1) : to;
        }
    }
    return to;
}

void setIdBit(MapWorld* world, int32_t id, bool on) {
    const uint32_t bit = uint32_t(id - 1);
    const uint8_t mask = uint8_t(1u << (bit & 7));
    if (on)
        world->idBitmap[bit >> 3] |= mask;
    else
        world->idBitmap[bit >> 3] &= uint8_t(~mask);
}

// Drops an object's visgroup memberships (entities and brushes; other kinds have none).
void dropVisGroups(const void* record) {
    if (cVisGroupList* sets = Object_GetVisGroupList(record)) sets->clear();
}

void deleteBrushOfClearedWorld(MapWorld* world, BrushRecord* brush) {
    Map_DeselectObject(world, brush);
    for (FaceRecord* face = brush->firstFace; face; face = face->next) {
        Map_DeselectObject(world, face);
        Map_FreeObjectId(world, Object_FromRecord(face));
    }
    Map_FreeObjectId(world, Object_FromRecord(brush));
    dropVisGroups(brush);
    delete Object_FromRecord(brush);
}

} // namespace

// ---- Life cycle --------------------------------------------------------------------------------

void Map_InitWorld(MapWorld* world, MapDocument* document) {
    std::memset(static_cast<void*>(world), 0, sizeof(*world));
    world->hooks = Map_WorldHooks();
    world->owner = document;
    world->handle = world;
    world->highestId = 1;
    world->lowestFreeId = 1;
    world->idBitmap = static_cast<uint8_t*>(std::calloc(1, kIdBitmapBytes));
    if (!world->idBitmap) qFatal("out of memory allocating the object-id bitmap");
    world->visGroups = new std::map<int32_t, VisGroup*>;
    Map_UpdateSelectionMode(world);
}

bool Map_CordonSet(const MapWorld* world) {
    if (!world) return false;
    for (int k = 0; k < 3; ++k)
        if (!(world->cordonMaxs[k] > world->cordonMins[k])) return false;
    return true;
}

void Map_DestroyWorld(MapWorld* world) {
    if (!world || !world->idBitmap) return;
    Map_ClearWorld(world);
    Map_FreeCullTree(world);
    Map_FreeDrawQueue(world);
    std::free(world->idBitmap);
    world->idBitmap = nullptr;
    delete world->visGroups;
    world->visGroups = nullptr;
}

void Map_DeleteAllObjects(MapWorld* world) {
    for (EntityRecord* entity = world->entities; entity;) {
        EntityRecord* nextEntity = entity->next;
        for (BrushRecord* brush = entity->firstBrush; brush;) {
            BrushRecord* nextBrush = brush->next;
            deleteBrushOfClearedWorld(world, brush);
            brush = nextBrush;
        }
        entity->firstBrush = entity->lastBrush = nullptr;
        Map_DeselectObject(world, entity);
        entity->next = entity->prev = nullptr;
        if (cMapObject* handle = Object_FromRecord(entity)) {
            Map_FreeObjectId(world, handle);
            dropVisGroups(entity);
            delete handle;
        }
        entity = nextEntity;
    }
    world->entities = world->entitiesTail = nullptr;

    for (GroupRecord* group = world->groups; group;) {
        GroupRecord* nextGroup = group->next;
        Map_DeselectObject(world, group);
        group->next = group->prev = nullptr;
        if (cMapObject* handle = Object_FromRecord(group)) {
            Map_FreeObjectId(world, handle);
            delete handle;
        }
        group = nextGroup;
    }
    world->groups = nullptr;

    Selection_Clear(world->selectedGroups);
    Selection_Clear(world->selectedEntities);
    Selection_Clear(world->selectedBrushes);
    Selection_Clear(world->selectedFaces);
}

void Map_ClearWorld(MapWorld* world) {
    if (!world) return;
    world->flags |= WorldFlag::Clearing;
    Map_DeleteAllObjects(world);
    Map_DeleteAllVisGroups(world);

    while (CameraRecord* camera = world->cameras) {
        Map_UnlinkCamera(world, camera, Map_Handle(world));
        delete cMapCamera::fromRecord(camera);
    }
    // The node selection goes first: deleting a path frees its nodes.
    Selection_Clear(world->selectedNodes);
    for (PathRecord* path = world->paths; path;) {
        PathRecord* nextPath = path->next;
        path->next = path->prev = nullptr;
        if (cMapObject* handle = Object_FromRecord(path)) delete handle;
        path = nextPath;
    }
    Map_UnloadCompilerOverlays(world);
    if (CullTree* tree = Cull_TreeOf(world)) Cull_Clear(tree);
    Map_FreeDrawLists(world);

    // Everything from the handle field through the sky rotation starts afresh.
    const size_t from = offsetof(MapWorld, handle);
    const size_t to = offsetof(MapWorld, skyRotation) + sizeof(world->skyRotation);
    std::memset(reinterpret_cast<char*>(world) + from, 0, to - from);
    world->handle = world;
    std::memset(world->idBitmap, 0, kIdBitmapBytes);
}

// ---- Ids and serials ---------------------------------------------------------------------------

int32_t Map_AllocId(MapWorld* world) {
    if (!world || !world->idBitmap) return -1;
    int32_t& high = world->highestId;
    int32_t& low = world->lowestFreeId;
    if (low >= high) {
        if (!idBit(world, high)) {
            setIdBit(world, high, true);
            low = high;
            return high;
        }
        if (high >= kMaxObjectId) {
            Sys_Warning("too many objects");
            return -1;
        }
        high = low = high + 1;
        setIdBit(world, high, true);
        return high;
    }
    const int32_t id = low;
    setIdBit(world, id, true);
    low = firstFreeId(world, low + 1, high);
    return id;
}

void Map_FreeId(MapWorld* world, int32_t id) {
    if (!world || !world->idBitmap || id < 1 || id > kMaxObjectId || !idBit(world, id)) return;
    setIdBit(world, id, false);
    if (id == world->highestId && world->highestId > 1) --world->highestId;
    if (id < world->lowestFreeId) world->lowestFreeId = id;
    if (world->lowestFreeId > world->highestId) world->lowestFreeId = world->highestId;
    if (world->lowestFreeId < 1) world->lowestFreeId = 1;
}

bool Map_IsIdInUse(const MapWorld* world, int32_t id) {
    return world && world->idBitmap && id >= 1 && id <= kMaxObjectId && idBit(world, id);
}

void Map_FreeObjectId(MapWorld* world, cMapObject* handle) {
    if (!handle || handle->id == -1) return;
    Map_FreeId(world, handle->id);
    handle->id = -1;
}

int32_t Map_NextSerial(MapWorld* world, SerialKind kind) {
    int32_t& counter = world->serials[int(kind)];
    const int64_t next = int64_t(counter) + 1;
    counter = (next <= 0 || next > INT32_MAX) ? 1 : int32_t(next);
    return counter;
}

// ---- Linking -----------------------------------------------------------------------------------

void Map_LinkBrush(MapWorld* world, BrushRecord* brush, EntityRecord* entity) {
    Object_FromRecord(brush)->id = Map_AllocId(world);
    brush->entity = entity;
    List_Append(entity->firstBrush, entity->lastBrush, brush);
}

void Map_LinkBrush(MapWorld* world, FaceRecord* face, BrushRecord* brush) {
    Object_FromRecord(face)->id = Map_AllocId(world);
    face->brush = brush;
    List_Append(brush->firstFace, brush->lastFace, face);
}

void Map_UnlinkBrush(MapWorld* world, BrushRecord* brush, EntityRecord* entity) {
    Cull_RemoveFromWorld(world, brush);
    Map_FreeObjectId(world, Object_FromRecord(brush));
    if (entity) List_Remove(entity->firstBrush, &entity->lastBrush, brush);
}

void Map_LinkCamera(MapWorld* world, CameraRecord* camera, MapHandle handle) {
    camera->handle->id = Map_AllocId(world);
    camera->owner = handle;
    List_Append(world->cameras, world->camerasTail, camera);
}

void Map_UnlinkCamera(MapWorld* world, CameraRecord* camera, MapHandle) {
    Map_FreeObjectId(world, camera->handle);
    List_Remove(world->cameras, &world->camerasTail, camera);
    if (world->currentCamera == camera) world->currentCamera = nullptr;
    camera->owner = nullptr;
}

void Map_LinkGroup(MapWorld* world, GroupRecord* group) {
    if (cMapObject* handle = Object_FromRecord(group)) handle->id = Map_AllocId(world);
    group->owner = Map_Handle(world);
    List_Prepend(world->groups, static_cast<GroupRecord**>(nullptr), group);
}

void Map_UnlinkGroup(MapWorld* world, GroupRecord* group) {
    Map_DeselectObject(world, group);
    Map_FreeObjectId(world, Object_FromRecord(group));
    List_Remove(world->groups, static_cast<GroupRecord**>(nullptr), group);
}

// ---- Selection ---------------------------------------------------------------------------------

void Map_SelectObject(MapWorld* world, EntityRecord* rec) {
    if (world && rec) Selection_Link(world->selectedEntities, rec);
}
void Map_SelectObject(MapWorld* world, BrushRecord* rec) {
    if (world && rec) Selection_Link(world->selectedBrushes, rec);
}
void Map_SelectObject(MapWorld* world, FaceRecord* rec) {
    if (world && rec) Selection_Link(world->selectedFaces, rec);
}
void Map_SelectObject(MapWorld* world, GroupRecord* rec) {
    if (world && rec) Selection_Link(world->selectedGroups, rec);
}
void Map_SelectObject(MapWorld* world, NodeRecord* rec) {
    if (world && rec) Selection_Link(world->selectedNodes, rec);
}
void Map_SelectObject(MapWorld*, CameraRecord* rec) {
    if (rec) rec->flags |= CameraFlag::Selected;
}

void Map_DeselectObject(MapWorld* world, EntityRecord* rec) {
    if (world && rec) Selection_Unlink(world->selectedEntities, rec);
}
void Map_DeselectObject(MapWorld* world, BrushRecord* rec) {
    if (world && rec) Selection_Unlink(world->selectedBrushes, rec);
}
void Map_DeselectObject(MapWorld* world, FaceRecord* rec) {
    if (world && rec) Selection_Unlink(world->selectedFaces, rec);
}
void Map_DeselectObject(MapWorld* world, GroupRecord* rec) {
    if (world && rec) Selection_Unlink(world->selectedGroups, rec);
}
void Map_DeselectObject(MapWorld* world, NodeRecord* rec) {
    if (world && rec) Selection_Unlink(world->selectedNodes, rec);
}
void Map_DeselectObject(MapWorld*, CameraRecord* rec) {
    if (rec) rec->flags &= ~CameraFlag::Selected;
}

void Map_SelectNone(MapWorld* world) {
    if (!world) return;
    Selection_Clear(world->selectedGroups);
    Selection_Clear(world->selectedEntities);
    Selection_Clear(world->selectedBrushes);
    Selection_Clear(world->selectedFaces);
    Selection_Clear(world->selectedNodes);
}

// ---- Look-ups and deletion ---------------------------------------------------------------------

FaceRecord* Map_FindFaceById(MapWorld* world, int32_t id) {
    if (!world || id == -1) return nullptr;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next)
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            for (FaceRecord* face = brush->firstFace; face; face = face->next)
                if (face->handle && face->handle->id == id) return face;
    return nullptr;
}

namespace {
template <class R> R* findCarried(MapWorld* world, int32_t brushId, R* BrushRecord::*member) {
    if (!world || brushId == -1) return nullptr;
    for (EntityRecord* entity = world->entities; entity; entity = entity->next)
        for (BrushRecord* brush = entity->firstBrush; brush; brush = brush->next)
            if (brush->handle && brush->handle->id == brushId) return brush->*member;
    return nullptr;
}
} // namespace

PatchRecord* Map_FindPatchById(MapWorld* world, int32_t brushId) {
    return findCarried(world, brushId, &BrushRecord::patch);
}

OverlayRecord* Map_FindOverlayById(MapWorld* world, int32_t brushId) {
    return findCarried(world, brushId, &BrushRecord::overlay);
}

void Map_DeleteBrush(MapWorld* world, BrushRecord* brush, bool snapshot) {
    if (!world || !brush) return;
    if (snapshot) Undo_SaveBrush(Undo_HistoryOf(Map_Handle(world)), brush, UndoList::DeletedBrushes, true);
    Map_DeselectObject(world, brush);
    for (FaceRecord* face = brush->firstFace; face; face = face->next) {
        Map_DeselectObject(world, face);
        Map_FreeObjectId(world, Object_FromRecord(face));
    }
    Map_UnlinkBrush(world, brush, brush->entity);
    Map_ReleaseBrushGroups(world, brush);
    dropVisGroups(brush);
    delete Object_FromRecord(brush);
}

void Map_RemoveEntity(MapWorld* world, EntityRecord* entity, bool snapshot) {
    if (!world || !entity) return;
    if (snapshot) Undo_SaveEntity(Undo_HistoryOf(Map_Handle(world)), entity, UndoList::DeletedEntities);
    Map_DeselectObject(world, entity);
    // Brushes left in the entity would otherwise keep their ids and selection links after the
    // entity's destructor freed them.
    while (BrushRecord* brush = entity->firstBrush)
        Map_DeleteBrush(world, brush, false);
    Map_ReleaseEntityGroups(world, entity, snapshot);
    dropVisGroups(entity);
    Map_UnlinkEntity(world, entity);
    delete Object_FromRecord(entity);
}

void Map_DeleteEntity(MapWorld* world, EntityRecord* entity) {
    if (!world || !entity || (entity->flags & EntityFlag::World)) return;
    while (BrushRecord* brush = entity->firstBrush)
        Map_DeleteBrush(world, brush, true);
    Map_RemoveEntity(world, entity, true);
}

void Map_DeleteSelectedCameras(MapWorld* world) {
    if (!world) return;
    bool deleted = false;
    for (CameraRecord* camera = world->cameras; camera;) {
        CameraRecord* next = camera->next;
        if (camera->flags & CameraFlag::Selected) {
            Map_UnlinkCamera(world, camera, Map_Handle(world));
            delete cMapCamera::fromRecord(camera);
            deleted = true;
        }
        camera = next;
    }
    if (deleted) Map_MarkModified(Map_Handle(world));
}

// ---- Selection mode ----------------------------------------------------------------------------

uint32_t Map_SelectionModeFor(int32_t toolId, bool ignoreGroups) {
    if (toolId == kTextureToolId) return SelectionMode::Faces;
    return ignoreGroups ? SelectionMode::IgnoreGroups : SelectionMode::WholeGroups;
}

uint32_t Map_UpdateSelectionMode(MapWorld* world) {
    if (!world) return SelectionMode::WholeGroups;
    world->selectionMode = Map_SelectionModeFor(Document_Host().activeTool(), Sys_Settings().IgnoreGroups);
    return world->selectionMode;
}

// ---- Engine-function table ---------------------------------------------------------------------

int32_t Map_ApiGetTexturePackageList(void* handle, char** out, int32_t separator, int32_t strip) {
    MapWorld* world = Map_FromHandle(handle);
    if (!world || !out) return 0;
    // Freeing a pointer this function never returned would corrupt the heap.
    if (*out && *out != world->pluginPackageList) {
        Sys_Warning("Map_ApiGetTexturePackageList: *out holds a string this function did not return");
        return 0;
    }
    const GameConfig* config = Map_GameConfig(world);
    if (!config) return 0;

    QByteArray text;
    bool first = true;
    for (const QString& package : config->Parcel) {
        // Package files are the WAD archives; folders and effect scripts are other kinds.
        if (QFileInfo(package).suffix().compare(QLatin1String("wad"), Qt::CaseInsensitive) != 0) continue;
        QString path = package;
        if (strip && path.size() > 1 && path.at(1) == QLatin1Char(':')) path.remove(0, 2);
        if (!first) text.append(char(separator));
        text.append(Path_ToNative(Plat_PluginPath(path)));
        first = false;
    }
    char* result = Sys_StrDup(text.constData());
    if (*out) Sys_Free(*out);
    *out = result;
    world->pluginPackageList = result;
    return 1;
}

// ---- Owner chains ------------------------------------------------------------------------------

MapWorld* Map_WorldOfEntity(const EntityRecord* entity) {
    return entity ? Map_FromHandle(entity->owner) : nullptr;
}

MapWorld* Map_WorldOfBrush(const BrushRecord* brush) {
    return brush ? Map_WorldOfEntity(brush->entity) : nullptr;
}

MapWorld* Map_WorldOfFace(const FaceRecord* face) {
    return face ? Map_WorldOfBrush(face->brush) : nullptr;
}
