#include "document/WorldDump.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "document/MapWorld.h"
#include "document/VisGroup.h"
#include "map/EPair.h"
#include "map/KeptBrush.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"

namespace {

// Flag bits that updates, drags and loads set on their own; they say nothing about the map.
constexpr uint32_t kEntityTransient = EntityFlag::NeedsUpdate | EntityFlag::Blended |
                                      EntityFlag::ItemOrWeapon | EntityFlag::PathLike |
                                      EntityFlag::ReprojectDecal | EntityFlag::RefreshAfterLoad;
constexpr uint32_t kBrushTransient = BrushFlags::NeedsUpdate | BrushFlags::Dragged;
constexpr uint32_t kFaceTransient =
    FaceFlags::NeedsUpdate | FaceFlags::Blended | FaceFlags::DecalRebuild | FaceFlags::ResetAxes;
constexpr uint32_t kPatchTransient = PatchFlags::NeedsUpdate | PatchFlags::Blended | PatchFlags::Dragged;
constexpr uint32_t kOverlayTransient =
    OverlayFlags::NeedsUpdate | OverlayFlags::Blended | OverlayFlags::Dragged;
constexpr uint32_t kGroupTransient = 0x200; // the project writer's "written" mark
constexpr uint32_t kPathTransient = PathFlag::NeedsUpdate;

class cDumpText {
public:
    std::string text;

    void printf(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        char buf[512];
        va_list args;
        va_start(args, format);
        const int n = std::vsnprintf(buf, sizeof buf, format, args);
        va_end(args);
        if (n > 0) text.append(buf, size_t(std::min(n, int(sizeof buf) - 1)));
    }
    void indent(int depth) { text.append(size_t(depth) * 2, ' '); }
    void number(float v) {
        if (v == 0.0f) v = 0.0f; // -0 prints as 0
        printf(" %.6g", double(v));
    }
    void numbers(const float* v, int n) {
        for (int i = 0; i < n; ++i)
            number(v[i]);
    }
    // Quoted with escapes; a null string is the bare word null.
    void string(const char* s) { bytes(s, s ? std::strlen(s) : 0, s == nullptr); }
    void bytes(const char* s, size_t n, bool null = false) {
        if (null) {
            text += " null";
            return;
        }
        text += " \"";
        for (size_t i = 0; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(s[i]);
            if (c == '"' || c == '\\')
                (text += '\\') += char(c);
            else if (c < 0x20 || c >= 0x7f)
                printf("\\x%02x", c);
            else
                text += char(c);
        }
        text += '"';
    }
    void hex(const void* data, size_t n) {
        text += ' ';
        for (size_t i = 0; i < n; ++i)
            printf("%02x", static_cast<const unsigned char*>(data)[i]);
    }
    void color(ObjectColor c) {
        uint8_t b[4];
        Color_ToBytes(c, b);
        printf(" %u,%u,%u,%u", b[0], b[1], b[2], b[3]);
    }
};

// The flag bits a dump shows: without the transient ones, and without the selected bit when asked.
uint32_t shownFlags(uint32_t flags, uint32_t transient, uint32_t dumpFlags) {
    if (dumpFlags & WorldDumpFlag::NoSelection) transient |= RecordFlag::Selected;
    return flags & ~transient;
}

void sortAndAppend(std::string& out, std::vector<std::string>& items) {
    std::sort(items.begin(), items.end());
    for (const std::string& item : items)
        out += item;
}

void dumpTexture(cDumpText& d, int depth, const TextureInfo& t) {
    d.indent(depth);
    d.text += "texture";
    const size_t nameLength = strnlen(t.name, sizeof t.name);
    d.bytes(t.name, nameLength);
    d.text += " s";
    d.numbers(t.sAxis, 3);
    d.number(t.sShift);
    d.text += " t";
    d.numbers(t.tAxis, 3);
    d.number(t.tShift);
    d.text += " scale";
    d.number(t.sScale);
    d.number(t.tScale);
    d.text += " rotate";
    d.number(t.rotation);
    d.printf(" align %d value %d sample %d surface %d contents %d\n", t.alignment, t.value, t.sampleSize,
             t.surfaceFlags, t.contents);
}

void dumpPairs(cDumpText& d, int depth, const EPair* pairs) {
    for (const EPair* p = pairs; p; p = p->next) {
        d.indent(depth);
        d.text += "key";
        d.string(p->key);
        d.string(p->value);
        d.text += '\n';
    }
}

void dumpVisGroupIds(cDumpText& d, const cVisGroupList& sets) {
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < sets.count(); ++i)
        ids.push_back(sets.idAt(i));
    std::sort(ids.begin(), ids.end());
    d.text += " visgroups";
    for (int32_t id : ids)
        d.printf(" %d", id);
}

int32_t groupSerial(const GroupRecord* g) {
    return g ? g->serial : 0;
}

std::string dumpFace(const FaceRecord* f, uint32_t flags) {
    cDumpText d;
    d.indent(2);
    d.printf("face flags 0x%x", shownFlags(f->flags, kFaceTransient, flags));
    if (flags & WorldDumpFlag::Serials) d.printf(" serial %d", f->serial);
    d.text += " plane";
    d.numbers(f->normal, 3);
    d.number(f->dist);
    d.printf(" type %d\n", f->axialType);
    dumpTexture(d, 3, f->texInfo);
    // Polygons may start anywhere round the loop: begin at the smallest point.
    const int32_t n = f->vertices ? f->vertexCount : 0;
    int32_t first = 0;
    for (int32_t i = 1; i < n; ++i)
        if (std::lexicographical_compare(f->vertices[i].xyz, f->vertices[i].xyz + 3, f->vertices[first].xyz,
                                         f->vertices[first].xyz + 3))
            first = i;
    d.indent(3);
    d.printf("vertices %d", f->vertexCount);
    for (int32_t k = 0; k < n; ++k) {
        const FaceVertex& v = f->vertices[(first + k) % n];
        d.text += " (";
        d.numbers(v.xyz, 3);
        if (v.flags) d.printf(" flags %d", v.flags);
        d.text += " )";
    }
    d.text += '\n';
    return d.text;
}

void dumpPatch(cDumpText& d, const PatchRecord* p) {
    d.indent(2);
    d.printf("patch %d x %d flags 0x%x\n", p->columns, p->rows, p->flags & ~kPatchTransient);
    dumpTexture(d, 3, p->texInfo);
    const int columns = std::clamp(p->columns, 0, kPatchGridLines);
    const int rows = std::clamp(p->rows, 0, kPatchGridLines);
    for (int c = 0; c < columns; ++c) {
        d.indent(3);
        d.printf("column %d", c);
        for (int r = 0; r < rows; ++r) {
            const PatchPoint& pt = p->points[c][r];
            d.text += " (";
            d.numbers(pt.xyz, 3);
            d.number(pt.s);
            d.number(pt.t);
            d.text += " )";
        }
        d.text += '\n';
    }
}

void dumpOverlay(cDumpText& d, const OverlayRecord* o) {
    d.indent(2);
    d.printf("overlay flags 0x%x plane", o->flags & ~kOverlayTransient);
    d.numbers(o->normal, 3);
    d.number(o->dist);
    d.printf(" type %d\n", o->planeType);
    dumpTexture(d, 3, o->texInfo);
    d.indent(3);
    d.text += "corners";
    for (const OverlayCorner& c : o->corners) {
        d.text += " (";
        d.numbers(c.xyz, 3);
        d.number(c.s);
        d.number(c.t);
        d.number(c.reserved);
        d.text += " )";
    }
    d.text += '\n';
}

std::string dumpBrush(const BrushRecord* b, uint32_t flags) {
    cDumpText d;
    d.indent(1);
    d.printf("brush kind %d flags 0x%x groups %d %d", b->kind, shownFlags(b->flags, kBrushTransient, flags),
             groupSerial(b->group), groupSerial(b->outerGroup));
    if (flags & WorldDumpFlag::Serials) d.printf(" serial %d", b->serial);
    if (const cMapBrush* handle = b->handle) {
        d.text += " color";
        d.color(handle->baseColor);
        dumpVisGroupIds(d, handle->visGroups);
    }
    d.text += '\n';
    std::vector<std::string> faces;
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        faces.push_back(dumpFace(f, flags));
    sortAndAppend(d.text, faces);
    faces.clear();
    for (const FaceRecord* f = b->keptFaces; f; f = f->next)
        faces.push_back("  kept" + dumpFace(f, flags));
    sortAndAppend(d.text, faces);
    if (b->patch) dumpPatch(d, b->patch);
    if (b->overlay) dumpOverlay(d, b->overlay);
    return d.text;
}

// The place of a kept brush: the number (from 1) of the brush it follows in the entity's list, 0
// before all of them, -1 when that brush is no longer there.
int32_t keptPlace(const EntityRecord* e, int32_t after) {
    if (after == 0) return 0;
    int32_t number = 1;
    for (const BrushRecord* b = e->firstBrush; b; b = b->next, ++number)
        if (b->serial == after) return number;
    return -1;
}

void dumpKeptBrushes(cDumpText& d, const EntityRecord* e) {
    for (const KeptBrushRecord* k = e->keptBrushes; k; k = k->next) {
        d.indent(1);
        d.printf("kept brush after %d\n", keptPlace(e, k->after));
        for (int32_t i = 0; i < k->faceCount; ++i) {
            const KeptFaceLine& f = k->faces[i];
            d.indent(2);
            d.text += "points";
            for (const double* p : f.points)
                d.printf(" ( %.17g %.17g %.17g )", p[0], p[1], p[2]);
            d.text += '\n';
            dumpTexture(d, 3, f.texInfo);
        }
    }
}

std::string dumpEntity(const EntityRecord* e, uint32_t flags) {
    cDumpText d;
    d.text += "entity";
    d.string(e->classname);
    d.printf(" flags 0x%x groups %d %d", shownFlags(e->flags, kEntityTransient, flags), groupSerial(e->group),
             groupSerial(e->outerGroup));
    if (flags & WorldDumpFlag::Serials) d.printf(" serial %d", e->serial);
    if (const cMapEntity* handle = e->handle) {
        d.text += " color";
        d.color(handle->displayColor);
        dumpVisGroupIds(d, handle->visGroups);
    }
    d.text += "\n  origin";
    d.numbers(e->origin, 3);
    d.text += " angles";
    d.numbers(e->angles, 3);
    d.printf(" spawnflags %d\n", e->spawnflags);
    d.indent(1);
    d.printf("render 0x%x %u,%u,%u,%u mode %d fx %d\n", e->blendState, e->renderColor[0], e->renderColor[1],
             e->renderColor[2], e->renderColor[3], e->renderMode, e->renderFx);
    d.indent(1);
    d.printf("model body %d skin %d sequence %d framerate", e->body, e->skin, e->sequence);
    d.number(e->framerate);
    d.text += " scale";
    d.number(e->scale);
    d.text += " radius";
    d.number(e->radius);
    d.text += " reserved";
    d.hex(e->reserved, sizeof e->reserved);
    d.text += "\n  keynames";
    for (const char* name : e->keyNames)
        d.string(name);
    d.text += '\n';
    dumpPairs(d, 1, e->epairs);
    std::vector<std::string> brushes;
    for (const BrushRecord* b = e->firstBrush; b; b = b->next)
        brushes.push_back(dumpBrush(b, flags));
    sortAndAppend(d.text, brushes);
    dumpKeptBrushes(d, e);
    return d.text;
}

std::string dumpPath(const PathRecord* p, uint32_t flags) {
    cDumpText d;
    d.text += "path";
    d.string(p->className);
    d.string(p->name);
    d.printf(" type %d flags 0x%x", p->type, shownFlags(p->flags, kPathTransient, flags));
    if (flags & WorldDumpFlag::Serials) d.printf(" serial %d", p->serial);
    d.text += '\n';
    for (const NodeRecord* n = p->firstNode; n; n = n->next) {
        d.indent(1);
        d.printf("node %d flags 0x%x", n->number, shownFlags(n->flags, 0, flags));
        if (flags & WorldDumpFlag::Serials) d.printf(" serial %d", n->serial);
        d.string(n->name);
        d.string(n->message);
        d.text += " origin";
        d.numbers(n->origin, 3);
        d.text += " angles";
        d.numbers(n->angles, 3);
        d.text += '\n';
        dumpPairs(d, 2, n->epairs);
    }
    return d.text;
}

std::string dumpCamera(const MapWorld* world, const CameraRecord* c, uint32_t flags) {
    cDumpText d;
    d.printf("camera flags 0x%x", c->flags);
    if (flags & WorldDumpFlag::Serials) d.printf(" serial %d", c->serial);
    if (world->currentCamera == c) d.text += " current";
    if (c->handle) {
        d.text += " color";
        d.color(c->handle->baseColor);
    }
    d.text += " eye";
    d.numbers(c->eye, 3);
    d.text += " target";
    d.numbers(c->target, 3);
    d.text += '\n';
    return d.text;
}

} // namespace

QByteArray Map_DumpWorld(const MapWorld* world, uint32_t flags) {
    if (!world) return QByteArray("null world\n");
    cDumpText d;
    d.text += "cordon";
    d.numbers(world->cordonMins, 3);
    d.text += " to";
    d.numbers(world->cordonMaxs, 3);
    d.text += '\n';

    if (world->visGroups)
        for (const auto& [id, set] : *world->visGroups) {
            d.printf("visgroup %d", id);
            d.string(set->name);
            d.printf(" color %u,%u,%u,%u visible %d members %d\n", set->color[0], set->color[1],
                     set->color[2], set->color[3], set->visible, set->memberCount);
        }

    std::vector<std::string> items;
    for (const GroupRecord* g = world->groups; g; g = g->next) {
        cDumpText gd;
        gd.printf("group %010d parent %d flags 0x%x members %d", g->serial, groupSerial(g->parent),
                  shownFlags(g->flags, kGroupTransient, flags), g->memberCount);
        if (g->handle) {
            gd.text += " color";
            gd.color(g->handle->baseColor);
        }
        gd.text += '\n';
        items.push_back(gd.text);
    }
    sortAndAppend(d.text, items);

    items.clear();
    for (const CameraRecord* c = world->cameras; c; c = c->next)
        items.push_back(dumpCamera(world, c, flags));
    sortAndAppend(d.text, items);

    items.clear();
    for (const PathRecord* p = world->paths; p; p = p->next)
        items.push_back(dumpPath(p, flags));
    sortAndAppend(d.text, items);

    // The world entity leads; the rest in text order.
    items.clear();
    std::vector<std::string> worldEntities;
    for (const EntityRecord* e = world->entities; e; e = e->next)
        ((e->flags & EntityFlag::World) ? worldEntities : items).push_back(dumpEntity(e, flags));
    sortAndAppend(d.text, worldEntities);
    sortAndAppend(d.text, items);

    return QByteArray(d.text.data(), qsizetype(d.text.size()));
}
