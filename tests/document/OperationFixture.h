// A document (world, history, worldspawn) for tests of the undoable editing operations, with
// small builders and the dump oracle: after an operation, Undo gives the dump from before it and
// Redo the dump from after it.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "mainwindow/MainWindow.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPath.h"
#include "map/TextureInfo.h"

class OperationFixture : public ::testing::Test {
public:
    void SetUp() override {
        Project_Construct(&doc);
        history = doc.undo;
        w = doc.world;
        w->selectionMode = SelectionMode::WholeGroups;
        const float origin[3] = {0, 0, 0};
        worldspawn = Entity_Create(map(), "worldspawn", origin, EntityFlag::World);
        g_mainWindow->settings.CurrentGridSize = 16;
    }
    void TearDown() override { Project_Destroy(&doc); }

    MapHandle map() { return Map_Handle(w); }

    static TextureInfo texture(const char* name) {
        TextureInfo info{};
        info.sScale = info.tScale = 1.0f;
        std::strncpy(info.name, name, sizeof(info.name) - 1);
        return info;
    }

    // An axial box in the entity, built as importers build brushes: planes, then one update.
    BrushRecord* box(EntityRecord* owner, const float lo[3], const float hi[3],
                     const char* tex = "base/wall") {
        BrushRecord* b = Brush_Create(map(), owner);
        const TextureInfo info = texture(tex);
        const float planes[6][4] = {{0, 0, 1, hi[2]},   {0, 0, -1, -lo[2]}, {1, 0, 0, hi[0]},
                                    {-1, 0, 0, -lo[0]}, {0, 1, 0, hi[1]},   {0, -1, 0, -lo[1]}};
        for (const auto& p : planes) {
            FaceRecord* f = Face_Create(map(), b, &info, 0);
            std::memcpy(f->normal, p, sizeof(float) * 3);
            f->dist = p[3];
            f->axialType = Face_AxialType(f->normal);
            f->flags |= FaceFlags::ResetAxes;
        }
        owner->handle->update(0);
        return b;
    }
    // A 64 cube at x offset x.
    BrushRecord* cube(EntityRecord* owner, float x, const char* tex = "base/wall") {
        const float lo[3] = {x, 0, 0};
        const float hi[3] = {x + 64, 64, 64};
        return box(owner, lo, hi, tex);
    }
    // What a load leaves: keys, render and model data read.
    static void refresh(EntityRecord* e) {
        e->handle->update(EntityUpdate::ClassKeys | EntityUpdate::RenderKeys | EntityUpdate::ModelKeys |
                          EntityUpdate::RebuildModel);
    }
    EntityRecord* pointEntity(const char* classname, float x, const char* targetname = nullptr) {
        const float origin[3] = {x, 0, 0};
        EntityRecord* e = Entity_Create(map(), classname, origin, EntityFlag::Point);
        e->handle->appendKeyValue("classname", classname);
        if (targetname) e->handle->appendKeyValue("targetname", targetname);
        refresh(e);
        return e;
    }
    EntityRecord* brushEntity(const char* classname) {
        const float origin[3] = {0, 0, 0};
        EntityRecord* e = Entity_Create(map(), classname, origin, 0);
        e->handle->appendKeyValue("classname", classname);
        refresh(e);
        return e;
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
    static int brushCount(const EntityRecord* e) {
        int n = 0;
        for (const BrushRecord* b = e->firstBrush; b; b = b->next)
            ++n;
        return n;
    }
    static std::string key(const EntityRecord* e, const char* name) {
        const EPair* pair = e->handle->findKey(name);
        return pair && pair->value ? pair->value : "<none>";
    }

    // Node selection survives undo only for the path tool, so the oracle leaves it out.
    std::string dump() {
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
    std::string newestLevelName() const {
        const UndoLevel* level = Undo_NewestLevel(history);
        return level && level->name ? level->name : "";
    }
    // The operation was one level of that name; Undo gives before, Redo gives after.
    void expectUndoRedo(const char* levelName, const std::string& before) {
        const std::string after = dump();
        EXPECT_NE(before, after);
        EXPECT_EQ(newestLevelName(), levelName);
        EXPECT_TRUE(doc.modified);
        ASSERT_TRUE(Undo_StepUndo(history));
        EXPECT_EQ(dump(), before);
        ASSERT_TRUE(Undo_StepRedo(history));
        EXPECT_EQ(dump(), after);
    }

    cConsoleCapture console;
    MapDocument doc;
    UndoHistory* history = nullptr;
    MapWorld* w = nullptr;
    EntityRecord* worldspawn = nullptr;
};
