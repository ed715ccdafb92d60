// Writing a project file: the whole world is serialized into memory and handed to a temporary
// file beside the target, which replaces the target only once it is complete and closed.
#include <QFile>
#include <QSaveFile>
#include <vector>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "document/ZmfFile.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapPath.h"

namespace {

// Groups in the order they are written: each group with members in world order, its parent
// chain first, every group once. A corrupt parent chain (a cycle) is cut at its length.
std::vector<GroupRecord*> groupWriteOrder(const MapWorld* world, int32_t* skipped) {
    std::vector<GroupRecord*> order;
    std::unordered_set<const GroupRecord*> placed;
    int32_t total = 0;
    *skipped = 0;
    for (GroupRecord* g = world->groups; g; g = g->next)
        ++total;
    for (GroupRecord* g = world->groups; g; g = g->next) {
        if (g->memberCount <= 0) {
            ++*skipped;
            continue;
        }
        std::vector<GroupRecord*> chain;
        for (GroupRecord* p = g; p && !placed.count(p) && int32_t(chain.size()) <= total; p = p->parent)
            chain.push_back(p);
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            if (placed.insert(*it).second) order.push_back(*it);
    }
    // A memberless group written as some member's parent was not skipped after all.
    for (const GroupRecord* g : order)
        if (g->memberCount <= 0) --*skipped;
    return order;
}

bool writeable(const EntityRecord* e) {
    return e->classname && *e->classname;
}

bool writeable(const PathRecord* p) {
    return p->firstNode && p->className && *p->className;
}

// Stops at the first record that cannot be written (the file stays as far as it got).
bool writeBody(ProjectSerializer& s, int32_t* skippedGroups) {
    MapWorld* world = s.world;
    if (!Project_SerializeHeader(s)) {
        Sys_Error("can't write file header");
        return false;
    }

    const QByteArray exportPath = QFile::encodeName(s.exportPath);
    int32_t hasExport = exportPath.isEmpty() ? 0 : 1;
    if (!Project_SerializeInt(s, hasExport) ||
        (hasExport && !Project_WriteString(s, exportPath.constData()))) {
        Sys_Error("can't write export info");
        return false;
    }

    const std::vector<GroupRecord*> groups = groupWriteOrder(world, skippedGroups);
    int32_t count = int32_t(groups.size());
    if (!Project_SerializeInt(s, count)) return false;
    for (GroupRecord* g : groups)
        if (!Project_SerializeGroup(s, g)) return false;

    Map_RenumberVisGroups(world);
    count = int32_t(world->visGroups->size());
    if (!Project_SerializeInt(s, count)) return false;
    for (auto& [id, set] : *world->visGroups)
        if (!Project_SerializeVisGroup(s, set)) return false;

    if (!Project_SerializeFloats(s, world->cordonMins, 3) ||
        !Project_SerializeFloats(s, world->cordonMaxs, 3))
        return false;

    count = 0;
    for (CameraRecord* c = world->cameras; c; c = c->next)
        ++count;
    if (!Project_SerializeInt(s, count)) return false;
    for (CameraRecord* c = world->cameras; c; c = c->next)
        if (!Project_SerializeCamera(s, c)) return false;

    // A path the reader would refuse (no class name) would make the whole file unreadable.
    count = 0;
    for (PathRecord* p = world->paths; p; p = p->next)
        if (writeable(p))
            ++count;
        else if (p->firstNode)
            Sys_Warning("path \"%s\" without a class name not saved", p->name ? p->name : "");
    if (!Project_SerializeInt(s, count)) return false;
    for (PathRecord* p = world->paths; p; p = p->next)
        if (writeable(p) && !Project_SerializePath(s, p)) return false;

    for (EntityRecord* e = world->entities; e; e = e->next) {
        if (!writeable(e)) {
            Sys_Warning("entity without a classname not saved");
            continue;
        }
        if (!Project_SerializeEntity(s, e)) return false;
    }
    return true;
}

} // namespace

bool Project_WriteFile(ProjectSerializer& s) {
    MapWorld* world = Map_FromHandle(s.map);
    if (!world) return false;
    const QByteArray shown = Text_ToWindows1251(s.path); // the console's code page
    Sys_Printf("Saving: \"%s\"", shown.constData());
    s.writing = 1;
    s.version = kZmfVersion;
    s.world = world;
    if (!Project_OpenFile(s)) return false;

    // A refused write stops the pass; the temporary file is then dropped below, so the
    // previous file stays.
    s.writeFailed = false;
    int32_t skippedGroups = 0;
    const bool complete = writeBody(s, &skippedGroups);
    if (complete && skippedGroups > 0) Sys_Printf("%i empty group(s) ignored", skippedGroups);

    QSaveFile& file = *s.target;
    const bool written = complete && Project_FlushWrite(s);
    const bool ok = written && file.commit();
    if (!ok) {
        Sys_Error("can't %s \"%s\" (%s)", "write", shown.constData(),
                  Text_ToWindows1251(file.errorString()).constData());
        if (!written) file.cancelWriting();
    }
    s.target.reset();
    s.buffer = QByteArray();
    return ok;
}

bool Project_WriteWorld(MapWorld* world, const QString& path, const QString& exportPath) {
    ProjectSerializer s;
    s.map = Map_Handle(world);
    s.document = world ? world->owner : nullptr;
    s.path = path;
    s.exportPath = exportPath;
    return Project_WriteFile(s);
}
