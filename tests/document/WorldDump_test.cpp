#include "document/WorldDump.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "DocumentFixture.h"
#include "core/System.h"
#include "document/MapWorld.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"

namespace {

// A world of its own per instance, with a world entity.
class cDumpWorld {
public:
    cDumpWorld() {
        Map_InitWorld(&world, nullptr);
        const float origin[3] = {0, 0, 0};
        worldspawn = Entity_Create(map(), "worldspawn", origin, EntityFlag::World);
    }
    ~cDumpWorld() { Map_DestroyWorld(&world); }

    MapHandle map() { return Map_Handle(&world); }

    EntityRecord* light(float x, const char* value) {
        const float origin[3] = {x, 0, 0};
        EntityRecord* e = Entity_Create(map(), "light", origin, EntityFlag::Point);
        EPair_Append(&e->epairs, "light", value);
        return e;
    }

    BrushRecord* box(float lo, float hi, const char* texture) {
        const float mins[3] = {lo, lo, lo}, maxs[3] = {hi, hi, hi};
        BrushRecord* brush = Test_Box(map(), worldspawn, mins, maxs, texture);
        Brush_SetColor(brush, 10, 20, 30, 255); // base colours are random otherwise
        return brush;
    }

    MapWorld world;
    EntityRecord* worldspawn;
};

class WorldDumpTest : public ::testing::Test {
protected:
    cConsoleCapture console;
};

TEST_F(WorldDumpTest, IgnoresCreationOrderAndIds) {
    cDumpWorld a;
    a.light(8, "200");
    a.light(-8, "300");
    a.box(0, 64, "base/wall");
    a.box(64, 128, "base/floor");

    cDumpWorld b;
    Map_AllocId(&b.world); // shifts every id
    b.box(64, 128, "base/floor");
    b.light(-8, "300");
    b.box(0, 64, "base/wall");
    b.light(8, "200");

    EXPECT_EQ(Map_DumpWorld(&a.world).toStdString(), Map_DumpWorld(&b.world).toStdString());
    // Serials follow creation order, so the dump with serials tells the two apart.
    EXPECT_NE(Map_DumpWorld(&a.world, WorldDumpFlag::Serials),
              Map_DumpWorld(&b.world, WorldDumpFlag::Serials));
}

TEST_F(WorldDumpTest, CanLeaveTheSelectionOut) {
    cDumpWorld w;
    EntityRecord* light = w.light(8, "200");
    BrushRecord* box = w.box(0, 64, "base/wall");
    const QByteArray plain = Map_DumpWorld(&w.world, WorldDumpFlag::NoSelection);
    Map_SelectObject(&w.world, light);
    Map_SelectObject(&w.world, box);
    Map_SelectObject(&w.world, box->firstFace);
    EXPECT_EQ(Map_DumpWorld(&w.world, WorldDumpFlag::NoSelection), plain);
    EXPECT_NE(Map_DumpWorld(&w.world), Map_DumpWorld(&w.world, WorldDumpFlag::NoSelection));
}

struct Change {
    const char* name;
    std::function<void(cDumpWorld&)> apply;
};

TEST_F(WorldDumpTest, SeesEveryPersistentChange) {
    const Change changes[] = {
        {"texture name",
         [](cDumpWorld& w) { std::strcpy(w.worldspawn->firstBrush->firstFace->texInfo.name, "x"); }},
        {"texture shift", [](cDumpWorld& w) { w.worldspawn->firstBrush->lastFace->texInfo.tShift = 0.5f; }},
        {"vertex", [](cDumpWorld& w) { w.worldspawn->firstBrush->firstFace->vertices[1].xyz[2] += 1.0f; }},
        {"null value for empty",
         [](cDumpWorld& w) {
             EPair* pair = EPair_Find(w.worldspawn->epairs, "k");
             Sys_Free(pair->value);
             pair->value = nullptr;
         }},
        {"key order",
         [](cDumpWorld& w) {
             EntityRecord* e = w.worldspawn->next;
             EPair* first = e->epairs;
             EPair_Append(&e->epairs, "z", "1");
             e->epairs = first->next;
             first->next = nullptr;
             EPair* tail = e->epairs;
             while (tail->next)
                 tail = tail->next;
             tail->next = first;
         }},
        {"spawnflags", [](cDumpWorld& w) { w.worldspawn->next->spawnflags = 1; }},
        {"cordon", [](cDumpWorld& w) { w.world.cordonMaxs[0] = 1.0f; }},
    };
    cDumpWorld base;
    EPair_Append(&base.worldspawn->epairs, "k", "");
    base.light(8, "200");
    base.box(0, 64, "base/wall");
    const QByteArray before = Map_DumpWorld(&base.world);

    for (const Change& change : changes) {
        cDumpWorld w;
        EPair_Append(&w.worldspawn->epairs, "k", "");
        w.light(8, "200");
        w.box(0, 64, "base/wall");
        ASSERT_EQ(Map_DumpWorld(&w.world), before);
        change.apply(w);
        EXPECT_NE(Map_DumpWorld(&w.world), before) << change.name;
    }
}

} // namespace
