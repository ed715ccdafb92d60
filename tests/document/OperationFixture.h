// The document fixture with the settings of the editing-operation tests and helpers for paths,
// entities and keys. Its dump leaves node selection out.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "core/System.h"
#include "map/MapPath.h"

class OperationFixture : public DocumentFixture {
public:
    void SetUp() override {
        DocumentFixture::SetUp();
        w->selectionMode = SelectionMode::WholeGroups;
        settings().CurrentGridSize = 16;
    }

    // A 64 cube at x offset x.
    BrushRecord* cube(EntityRecord* owner, float x, const char* tex = "base/wall") {
        const float lo[3] = {x, 0, 0};
        const float hi[3] = {x + 64, 64, 64};
        return box(owner, lo, hi, tex);
    }
    EntityRecord* pointEntity(const char* classname, float x, const char* targetname = nullptr) {
        const float origin[3] = {x, 0, 0};
        if (targetname) return DocumentFixture::pointEntity(classname, origin, {{"targetname", targetname}});
        return DocumentFixture::pointEntity(classname, origin);
    }
    // A path of nodes 64 apart along x, starting at x0; names[i] names node i when given.
    PathRecord* path(const char* name, int nodes, int32_t type = PathType::OneWay, float x0 = 0,
                     const std::vector<const char*>& names = {}) {
        PathRecord* p = Path_Create(map());
        p->name = Sys_StrDup(name);
        p->className = Sys_StrDup("path_corner");
        p->type = type;
        for (int i = 0; i < nodes; ++i) {
            NodeRecord* n = Node_Append(map(), p);
            n->origin[0] = x0 + float(64 * i);
            if (i < int(names.size()) && names[i]) n->name = Sys_StrDup(names[i]);
        }
        p->handle->update();
        return p;
    }
    static NodeRecord* nodeAt(PathRecord* p, int index) {
        NodeRecord* n = p->firstNode;
        for (int i = 0; n && i < index; ++i)
            n = n->next;
        return n;
    }
    static int nodeCount(const PathRecord* p) { return p->handle->nodeCount(); }
    int pathCount() const {
        int n = 0;
        for (const PathRecord* p = w->paths; p; p = p->next)
            ++n;
        return n;
    }
    PathRecord* findPath(const char* name) const {
        for (PathRecord* p = w->paths; p; p = p->next)
            if (p->name && std::strcmp(p->name, name) == 0) return p;
        return nullptr;
    }
    // Entities other than the world entity, in list order.
    std::vector<EntityRecord*> entities() const {
        std::vector<EntityRecord*> list;
        for (EntityRecord* e = w->entities; e; e = e->next)
            if (!(e->flags & EntityFlag::World)) list.push_back(e);
        return list;
    }
    static int brushCount(const EntityRecord* e) { return int(brushesOf(e).size()); }
    static std::string key(const EntityRecord* e, const char* name) {
        const EPair* pair = e->handle->findKey(name);
        return pair && pair->value ? pair->value : "<none>";
    }

    // Node selection survives undo only for the path tool, so the oracle leaves it out.
    std::string dump() override {
        std::vector<NodeRecord*> selected;
        for (PathRecord* p = w->paths; p; p = p->next)
            for (NodeRecord* n = p->firstNode; n; n = n->next)
                if (n->flags & NodeFlag::Selected) {
                    selected.push_back(n);
                    n->flags &= ~NodeFlag::Selected;
                }
        std::string text = Map_DumpWorld(w, WorldDumpFlag::Serials).toStdString();
        for (NodeRecord* n : selected)
            n->flags |= NodeFlag::Selected;
        return text;
    }
};
