// A document with a world entity, an undo history and helpers to build brushes from planes, for
// the carve, merge, hollow and clip tests. oracle() checks that Undo gives back the dump taken
// before the operation and Redo the dump taken after it.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "core/Prompt.h"
#include "document/CarveMerge.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"
#include "map/ObjectRecords.h"

struct Box {
    float lo[3];
    float hi[3];
};

class CarveFixture : public ::testing::Test {
public:
    void SetUp() override {
        Project_Construct(&doc);
        w = doc.world;
        const float origin[3] = {0, 0, 0};
        world = Entity_Create(map(), "worldspawn", origin, EntityFlag::World);
    }
    void TearDown() override { Project_Destroy(&doc); }

    MapHandle map() { return Map_Handle(w); }
    std::string dump() { return Map_DumpWorld(w, WorldDumpFlag::Serials).toStdString(); }

    static TextureInfo texture(const char* name) {
        TextureInfo info{};
        info.sScale = info.tScale = 1.0f;
        std::strncpy(info.name, name, sizeof(info.name) - 1);
        return info;
    }

    // A brush bounded by the planes (normal, dist), built as importers build brushes.
    BrushRecord* brush(EntityRecord* owner, const std::vector<std::vector<float>>& planes,
                       const char* tex = "base/wall") {
        BrushRecord* b = Brush_Create(map(), owner);
        const TextureInfo info = texture(tex);
        for (const auto& p : planes) {
            FaceRecord* f = Face_Create(map(), b, &info, 0);
            const float length = std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
            for (int k = 0; k < 3; ++k)
                f->normal[k] = p[k] / length;
            f->dist = p[3] / length;
            f->axialType = Face_AxialType(f->normal);
            f->flags |= FaceFlags::ResetAxes;
        }
        owner->handle->update(0);
        return b;
    }
    BrushRecord* box(EntityRecord* owner, const Box& x, const char* tex = "base/wall") {
        return brush(owner,
                     {{0, 0, 1, x.hi[2]},
                      {0, 0, -1, -x.lo[2]},
                      {1, 0, 0, x.hi[0]},
                      {-1, 0, 0, -x.lo[0]},
                      {0, 1, 0, x.hi[1]},
                      {0, -1, 0, -x.lo[1]}},
                     tex);
    }
    BrushRecord* box(const Box& x, const char* tex = "base/wall") { return box(world, x, tex); }
    EntityRecord* brushEntity() {
        const float origin[3] = {0, 0, 0};
        EntityRecord* e = Entity_Create(map(), "func_wall", origin, 0);
        e->handle->appendKeyValue("classname", "func_wall");
        // What a load leaves, as undo re-creates the entity the same way.
        e->handle->update(EntityUpdate::ClassKeys | EntityUpdate::RenderKeys | EntityUpdate::ModelKeys |
                          EntityUpdate::RebuildModel);
        return e;
    }
    void select(BrushRecord* b) { Map_SelectObject(w, b); }

    static std::vector<BrushRecord*> brushesOf(const EntityRecord* e) {
        std::vector<BrushRecord*> list;
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            list.push_back(b);
        return list;
    }
    std::vector<BrushRecord*> selectedBrushes() const {
        std::vector<BrushRecord*> list;
        for (BrushRecord* b = w->selectedBrushes; b; b = b->selNext)
            list.push_back(b);
        return list;
    }
    static bool hasBounds(const BrushRecord* b, const Box& x) {
        for (int k = 0; k < 3; ++k)
            if (std::fabs(b->mins[k] - x.lo[k]) > 0.01f || std::fabs(b->maxs[k] - x.hi[k]) > 0.01f)
                return false;
        return true;
    }
    static int countWithBounds(const std::vector<BrushRecord*>& list, const Box& x) {
        int n = 0;
        for (const BrushRecord* b : list)
            n += hasBounds(b, x) ? 1 : 0;
        return n;
    }
    // Volume of a convex brush: tetrahedra from its first vertex to each face's fan.
    static double volume(const BrushRecord* b) {
        const float* o = b->firstFace->vertices[0].xyz;
        double v = 0;
        for (const FaceRecord* f = b->firstFace; f; f = f->next) {
            for (int i = 1; i + 1 < f->vertexCount; ++i) {
                const float* p = f->vertices[0].xyz;
                const float* q = f->vertices[i].xyz;
                const float* r = f->vertices[i + 1].xyz;
                const double a[3] = {p[0] - o[0], p[1] - o[1], p[2] - o[2]};
                const double c[3] = {q[0] - o[0], q[1] - o[1], q[2] - o[2]};
                const double d[3] = {r[0] - o[0], r[1] - o[1], r[2] - o[2]};
                v += (a[0] * (c[1] * d[2] - c[2] * d[1]) - a[1] * (c[0] * d[2] - c[2] * d[0]) +
                      a[2] * (c[0] * d[1] - c[1] * d[0])) /
                     6.0;
            }
        }
        return std::fabs(v);
    }
    static double totalVolume(const std::vector<BrushRecord*>& list) {
        double v = 0;
        for (const BrushRecord* b : list)
            v += volume(b);
        return v;
    }

    // Undo restores the world as it was before the operation, Redo as it was after.
    void oracle(const std::string& before, const std::string& after) {
        ASSERT_TRUE(Undo_StepUndo(doc.undo));
        EXPECT_EQ(dump(), before);
        ASSERT_TRUE(Undo_StepRedo(doc.undo));
        EXPECT_EQ(dump(), after);
    }

    cConsoleCapture console;
    cPromptScript prompts;
    MapDocument doc;
    MapWorld* w = nullptr;
    EntityRecord* world = nullptr;
};
