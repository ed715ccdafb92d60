// Writing a project file: the whole world is serialized into memory and handed to a temporary
// file beside the target, which replaces the target only once it is complete and closed.
#include <QFile>
#include <QSaveFile>
#include <vector>

#include "core/System.h"
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

void writeBody(ProjectSerializer& s, int32_t* skippedGroups) {
    MapWorld* world = s.world;
    Project_SerializeHeader(s);

    const QByteArray exportPath = QFile::encodeName(s.exportPath);
    int32_t hasExport = exportPath.isEmpty() ? 0 : 1;
    Project_SerializeInt(s, hasExport);
    if (hasExport) Project_WriteString(s, exportPath.constData());

    const std::vector<GroupRecord*> groups = groupWriteOrder(world, skippedGroups);
    int32_t count = int32_t(groups.size());
    Project_SerializeInt(s, count);
    for (GroupRecord* g : groups)
        Project_SerializeGroup(s, g);

    Map_RenumberVisGroups(world);
    count = int32_t(world->visGroups->size());
    Project_SerializeInt(s, count);
    for (auto& [id, set] : *world->visGroups)
        Project_SerializeVisGroup(s, set);

    Project_SerializeFloats(s, world->cordonMins, 3);
    Project_SerializeFloats(s, world->cordonMaxs, 3);

    count = 0;
    for (CameraRecord* c = world->cameras; c; c = c->next)
        ++count;
    Project_SerializeInt(s, count);
    for (CameraRecord* c = world->cameras; c; c = c->next)
        Project_SerializeCamera(s, c);

    // A path the reader would refuse (no class name) would make the whole file unreadable.
    count = 0;
    for (PathRecord* p = world->paths; p; p = p->next)
        if (writeable(p))
            ++count;
        else if (p->firstNode)
            Sys_Warning("path \"%s\" without a class name not saved", p->name ? p->name : "");
    Project_SerializeInt(s, count);
    for (PathRecord* p = world->paths; p; p = p->next)
        if (writeable(p)) Project_SerializePath(s, p);

    for (EntityRecord* e = world->entities; e; e = e->next)
        if (writeable(e))
            Project_SerializeEntity(s, e);
        else
            Sys_Warning("entity without a classname not saved");
}

} // namespace

bool Project_WriteFile(ProjectSerializer& s) {
    MapWorld* world = Map_FromHandle(s.map);
    if (!world) return false;
    const QByteArray native = QFile::encodeName(s.path);
    Sys_Printf("Saving: \"%s\"", native.constData());
    s.writing = 1;
    s.version = kZmfVersion;
    s.world = world;
    if (!Project_OpenFile(s)) return false;

    // A refused write stops nothing here: the records after it are not flushed, and the
    // temporary file is dropped below.
    s.writeFailed = false;
    int32_t skippedGroups = 0;
    writeBody(s, &skippedGroups);
    if (skippedGroups > 0) Sys_Printf("%i empty group(s) ignored", skippedGroups);

    QSaveFile& file = *s.target;
    const bool written = Project_FlushWrite(s);
    const bool ok = written && file.commit();
    if (!ok) {
        Sys_Error("can't %s \"%s\" (%s)", "write", native.constData(),
                  file.errorString().toUtf8().constData());
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
