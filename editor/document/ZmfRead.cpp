// Reading a project file. The records go into a world of their own; only a file read to its end
// replaces the target world's objects, so a bad file leaves the open map as it was.
#include <QFile>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "document/WorldRefresh.h"
#include "document/ZmfFile.h"
#include "map/MapCamera.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapGroup.h"

namespace {

// Moves the object store of a fully read world into the target, which is emptied first. The
// target keeps its document, cull tree, flags and view state; what held the source's map
// handle is pointed at the target's.
void moveObjects(MapWorld* from, MapWorld* to) {
    Map_ClearWorld(to);
    std::swap(from->groups, to->groups);
    std::swap(from->entities, to->entities);
    std::swap(from->entitiesTail, to->entitiesTail);
    std::swap(from->paths, to->paths);
    std::swap(from->pathsTail, to->pathsTail);
    std::swap(from->cameras, to->cameras);
    std::swap(from->camerasTail, to->camerasTail);
    std::swap(from->currentCamera, to->currentCamera);
    std::swap(from->selectedGroups, to->selectedGroups);
    std::swap(from->selectedEntities, to->selectedEntities);
    std::swap(from->selectedBrushes, to->selectedBrushes);
    std::swap(from->selectedFaces, to->selectedFaces);
    std::swap(from->selectedNodes, to->selectedNodes);
    std::memcpy(to->cordonMins, from->cordonMins, sizeof to->cordonMins);
    std::memcpy(to->cordonMaxs, from->cordonMaxs, sizeof to->cordonMaxs);
    std::swap(from->idBitmap, to->idBitmap);
    std::swap(from->highestId, to->highestId);
    std::swap(from->lowestFreeId, to->lowestFreeId);
    std::swap(from->serials, to->serials);
    std::swap(from->visGroupIdCounter, to->visGroupIdCounter);
    std::swap(from->visGroups, to->visGroups);

    const MapHandle handle = Map_Handle(to);
    for (GroupRecord* g = to->groups; g; g = g->next)
        g->owner = handle;
    for (EntityRecord* e = to->entities; e; e = e->next)
        e->owner = handle;
    for (PathRecord* p = to->paths; p; p = p->next)
        p->owner = handle;
    for (CameraRecord* c = to->cameras; c; c = c->next)
        c->owner = handle;
}

// Group links as the file gave them may disagree with its member counts: a count too low frees
// a group while objects still name it, one too high keeps a dead group. The counts are made
// from the links read, and each object's outermost group from its chain.
void repairGroupCounts(ProjectSerializer& s) {
    MapWorld* world = s.world;
    std::unordered_map<const GroupRecord*, int32_t> counts;
    for (GroupRecord* g = world->groups; g; g = g->next)
        if (g->parent) ++counts[g->parent];
    auto count = [&counts](auto* object) {
        if (object->group) ++counts[object->group];
        object->outerGroup = object->group ? Group_Outermost(object->group) : nullptr;
    };
    for (EntityRecord* e = world->entities; e; e = e->next) {
        // The world entity is never a group member.
        if (!(e->flags & EntityFlag::World)) count(e);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            count(b);
    }
    for (GroupRecord* g = world->groups; g; g = g->next) {
        const int32_t members = counts[g];
        if (g->memberCount != members)
            Sys_Warning("%s: group %i: member count %i corrected to %i",
                        Text_ToWindows1251(s.path).constData(), g->serial, g->memberCount, members);
        g->memberCount = members;
    }
}

bool readBody(ProjectSerializer& s) {
    MapWorld* world = s.world;
    if (s.version >= 114) {
        int32_t hasExport = 0;
        if (!Project_SerializeInt(s, hasExport)) return false;
        if (hasExport) {
            char* path = nullptr;
            if (!Project_ReadString(s, &path)) return false;
            s.exportPath = path ? QFile::decodeName(path) : QString();
            s.exportInfoRead = !s.exportPath.isEmpty();
            Sys_Free(path);
        }
    }
    s.bugFixAnswer = ZmfBugFix::NotAsked;
    s.highestGroupSerial = 0;

    // Counts of the sections, each checked against the smallest record the rest could hold.
    auto readCount = [&s](int32_t* count, qsizetype minBytes, const char* what) {
        if (!Project_SerializeInt(s, *count)) return false;
        if (*count < 0 || qsizetype(*count) * minBytes > s.buffer.size() - s.pos) {
            Sys_Error("bad %s count %i", what, *count);
            return false;
        }
        return true;
    };

    int32_t count = 0;
    if (!readCount(&count, 20, "group")) return false;
    for (int32_t i = 0; i < count; ++i) {
        GroupRecord* group = nullptr;
        if (!Project_SerializeGroup(s, group)) return false;
    }
    if (!readCount(&count, 13, "visgroup")) return false;
    for (int32_t i = 0; i < count; ++i) {
        VisGroup* set = nullptr;
        if (!Project_SerializeVisGroup(s, set)) return false;
    }
    if (!Project_SerializeFloats(s, world->cordonMins, 3) ||
        !Project_SerializeFloats(s, world->cordonMaxs, 3))
        return false;
    if (!readCount(&count, 32, "camera")) return false;
    for (int32_t i = 0; i < count; ++i) {
        CameraRecord* camera = nullptr;
        if (!Project_SerializeCamera(s, camera)) return false;
    }
    if (!readCount(&count, 24, "path")) return false;
    for (int32_t i = 0; i < count; ++i) {
        PathRecord* path = nullptr;
        if (!Project_SerializePath(s, path)) return false;
    }
    // Entities run to the end of the file: ending exactly between two records is the only
    // clean end; a record cut short is a damaged file.
    while (s.pos < s.buffer.size()) {
        EntityRecord* entity = nullptr;
        if (!Project_SerializeEntity(s, entity)) return false;
    }

    repairGroupCounts(s);
    world->serials[int(SerialKind::Group)] = s.highestGroupSerial;
    Map_RenumberVisGroups(world);
    Map_RecenterFaceUVs(world);
    return true;
}

} // namespace

bool Project_ReadFile(ProjectSerializer& s) {
    MapWorld* target = Map_FromHandle(s.map);
    if (!target) return false;
    Sys_Printf("Loading: \"%s\"", Text_ToWindows1251(s.path).constData()); // the console's code page
    s.writing = 0;
    s.shortRead = false;
    s.exportPath.clear();
    s.exportInfoRead = false;
    s.groupsBySerial.clear();
    if (!Project_OpenFile(s)) return false;

    MapWorld scratch;
    Map_InitWorld(&scratch, target->owner);
    scratch.selectionMode = target->selectionMode;
    s.world = &scratch;

    bool ok = Project_SerializeHeader(s);
    if (ok) {
        ok = readBody(s);
        if (ok && !scratch.entities) ok = false;
        if (!ok) Sys_Error("the file is corrupt");
    }
    if (ok) moveObjects(&scratch, target);
    s.world = ok ? target : nullptr;
    Map_DestroyWorld(&scratch);
    s.groupsBySerial.clear();
    s.buffer = QByteArray();
    return ok;
}

bool Project_ReadWorld(MapWorld* world, const QString& path, std::function<bool(const QString&)> askBugFix) {
    ProjectSerializer s;
    s.map = Map_Handle(world);
    s.document = world ? world->owner : nullptr;
    s.path = path;
    s.askBugFix = std::move(askBugFix);
    return Project_ReadFile(s);
}
