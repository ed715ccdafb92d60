// A document as a new map starts (world, undo history, world entity) for tests of undoable
// editing operations, with builders that leave brushes and entities as importers and loads leave
// them, and the dump oracle: after an operation, Undo gives the dump from before it and Redo the
// dump from after it. The free builders serve tests that keep more than one map.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "ConsoleCapture.h"
#include "core/MainSettings.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/TextureInfo.h"

inline TextureInfo Test_TextureInfo(const char* name = "base/wall") {
    TextureInfo info{};
    info.sScale = info.tScale = 1.0f;
    std::strncpy(info.name, name, sizeof(info.name) - 1);
    return info;
}

// Constructs the document and gives it its world entity; returns that entity.
inline EntityRecord* Test_NewDocument(MapDocument* doc) {
    Project_Construct(doc);
    const float origin[3] = {0, 0, 0};
    return Entity_Create(Map_Handle(doc->world), "worldspawn", origin, EntityFlag::World);
}

// A brush bounded by the planes (normal, dist; the normal need not be unit length), built as
// importers build brushes: faces with planes and no vertices, then one update of the owner. A bare
// owner record (no handle) updates the brush alone.
inline BrushRecord* Test_Brush(MapHandle map, EntityRecord* owner,
                               const std::vector<std::vector<float>>& planes, const char* tex = "base/wall") {
    BrushRecord* b = Brush_Create(map, owner);
    const TextureInfo info = Test_TextureInfo(tex);
    for (const auto& p : planes) {
        FaceRecord* f = Face_Create(map, b, &info, 0);
        const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
        for (int k = 0; k < 3; ++k)
            f->normal[k] = p[k] / length;
        f->dist = p[3] / length;
        f->axialType = Face_AxialType(f->normal);
        f->flags |= FaceFlags::ResetAxes;
    }
    if (owner->handle)
        owner->handle->update(0);
    else
        b->handle->update(0);
    return b;
}

// An axial box, planes in the order +z, -z, +x, -x, +y, -y.
inline BrushRecord* Test_Box(MapHandle map, EntityRecord* owner, const float lo[3], const float hi[3],
                             const char* tex = "base/wall") {
    return Test_Brush(map, owner,
                      {{0, 0, 1, hi[2]},
                       {0, 0, -1, -lo[2]},
                       {1, 0, 0, hi[0]},
                       {-1, 0, 0, -lo[0]},
                       {0, 1, 0, hi[1]},
                       {0, -1, 0, -lo[1]}},
                      tex);
}

// What a load leaves: keys, render and model data read.
inline void Test_RefreshEntity(EntityRecord* e) {
    e->handle->update(EntityUpdate::ClassKeys | EntityUpdate::RenderKeys | EntityUpdate::ModelKeys |
                      EntityUpdate::RebuildModel);
}

using TestKeys = std::initializer_list<std::pair<const char*, const char*>>;

// An entity with its classname and the keys, as a load leaves it.
inline EntityRecord* Test_Entity(MapHandle map, const char* classname, const float origin[3], uint32_t flags,
                                 TestKeys keys = {}) {
    EntityRecord* e = Entity_Create(map, classname, origin, flags);
    e->handle->appendKeyValue("classname", classname);
    for (const auto& [key, value] : keys)
        e->handle->appendKeyValue(key, value);
    Test_RefreshEntity(e);
    return e;
}

class DocumentFixture : public ::testing::Test {
public:
    void SetUp() override {
        worldspawn = Test_NewDocument(&doc);
        history = doc.undo;
        w = doc.world;
        saved = settings();
    }
    void TearDown() override {
        settings() = saved;
        Project_Destroy(&doc);
    }

    MapHandle map() { return Map_Handle(w); }
    MainSettings& settings() { return console.settings(); }
    virtual std::string dump() { return Map_DumpWorld(w, WorldDumpFlag::Serials).toStdString(); }

    static TextureInfo texture(const char* name) { return Test_TextureInfo(name); }
    BrushRecord* brush(EntityRecord* owner, const std::vector<std::vector<float>>& planes,
                       const char* tex = "base/wall") {
        return Test_Brush(map(), owner, planes, tex);
    }
    BrushRecord* box(EntityRecord* owner, const float lo[3], const float hi[3],
                     const char* tex = "base/wall") {
        return Test_Box(map(), owner, lo, hi, tex);
    }
    BrushRecord* box(const float lo[3], const float hi[3], const char* tex = "base/wall") {
        return box(worldspawn, lo, hi, tex);
    }
    static void refresh(EntityRecord* e) { Test_RefreshEntity(e); }
    EntityRecord* pointEntity(const char* classname, const float origin[3], TestKeys keys = {}) {
        return Test_Entity(map(), classname, origin, EntityFlag::Point, keys);
    }
    EntityRecord* brushEntity(const char* classname) {
        const float origin[3] = {0, 0, 0};
        return Test_Entity(map(), classname, origin, 0);
    }
    static std::vector<BrushRecord*> brushesOf(const EntityRecord* e) {
        std::vector<BrushRecord*> list;
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            list.push_back(b);
        return list;
    }

    std::string newestLevelName() const {
        const UndoLevel* level = Undo_NewestLevel(history);
        return level && level->name ? level->name : "";
    }
    // Undo restores the world as it was before the operation, Redo as it was after.
    void oracle(const std::string& before, const std::string& after) {
        ASSERT_TRUE(Undo_StepUndo(history));
        EXPECT_EQ(dump(), before);
        ASSERT_TRUE(Undo_StepRedo(history));
        EXPECT_EQ(dump(), after);
    }
    // The operation since `before` changed the world, marked the map modified and was one undo
    // level of that name; then the oracle.
    void expectUndoRedo(const char* levelName, const std::string& before) {
        const std::string after = dump();
        EXPECT_NE(before, after);
        EXPECT_EQ(newestLevelName(), levelName);
        EXPECT_TRUE(doc.modified);
        oracle(before, after);
    }

    cConsoleCapture console; // first: it provides the host (or main window) the document reads
    MapDocument doc;
    MainSettings saved;
    UndoHistory* history = nullptr;
    MapWorld* w = nullptr;
    EntityRecord* worldspawn = nullptr;
};
