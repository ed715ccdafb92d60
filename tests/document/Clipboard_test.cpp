// The internal clipboard: cut, copy and paste of brushes, point and brush entities and groups,
// paste special with copies, offsets and rotations, renaming of internal links, and what
// happens to a pending cut. Every operation that changes a map is checked against the dump
// oracle: undo gives the dump from before, redo the dump from after.
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "DocumentFixture.h"
#include "TestWorld.h"
#include "document/Clipboard.h"
#include "document/GroupChain.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"
#include "map/Decal.h"
#include "map/EPair.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/TextureInfo.h"

namespace {

using Vec3 = std::array<float, 3>;

BrushRecord* makeBox(MapHandle map, EntityRecord* owner, const Vec3& lo, const Vec3& hi) {
    return Test_Box(map, owner, lo.data(), hi.data());
}

const char* keyValue(const EntityRecord* e, const char* key) {
    const EPair* pair = e->handle->findKey(key);
    return pair && pair->value ? pair->value : "";
}

// One open map with its history.
struct TestDocument {
    TestDocument() { worldspawn = Test_NewDocument(&doc); }
    ~TestDocument() { Project_Destroy(&doc); }
    TestDocument(const TestDocument&) = delete;
    TestDocument& operator=(const TestDocument&) = delete;

    MapHandle map() { return Map_Handle(doc.world); }
    MapWorld* world() { return doc.world; }
    UndoHistory* undo() { return doc.undo; }
    std::string dump(uint32_t flags = WorldDumpFlag::Serials) {
        return Map_DumpWorld(doc.world, flags).toStdString();
    }
    // Serials aside and brush colours (random for every new brush) set alike: what two maps
    // holding the same objects share.
    std::string plainDump() {
        for (EntityRecord* e = doc.world->entities; e; e = e->next)
            for (BrushRecord* b = e->firstBrush; b; b = b->next)
                b->handle->baseColor = b->handle->displayColor = kObjectColorBlack;
        return dump(0);
    }

    MapDocument doc;
    EntityRecord* worldspawn = nullptr;
};

class ClipboardTest : public ::testing::Test {
protected:
    void TearDown() override { Clip_Clear(&clip); }

    MapHandle map() { return a.map(); }
    MapWorld* w() { return a.world(); }

    BrushRecord* box(const Vec3& lo, const Vec3& hi, EntityRecord* owner = nullptr) {
        return makeBox(map(), owner ? owner : a.worldspawn, lo, hi);
    }
    EntityRecord* pointEntity(const char* classname, const Vec3& origin) {
        return Test_Entity(map(), classname, origin.data(), EntityFlag::Point);
    }
    EntityRecord* brushEntity(const char* classname, const Vec3& lo, const Vec3& hi) {
        const float origin[3] = {0, 0, 0};
        EntityRecord* e = Entity_Create(map(), classname, origin, 0);
        e->handle->appendKeyValue("classname", classname);
        makeBox(map(), e, lo, hi);
        Test_RefreshEntity(e);
        return e;
    }
    void select(EntityRecord* e) {
        Map_SelectObject(w(), e);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            Map_SelectObject(w(), b);
    }
    void select(BrushRecord* b) { Map_SelectObject(w(), b); }
    // A world brush, a door and a light, all selected.
    struct Kinds {
        BrushRecord* brush;
        EntityRecord* door;
        EntityRecord* light;
    };
    Kinds selectOneOfEachKind() {
        const Kinds k{box({0, 0, 0}, {64, 64, 64}), brushEntity("func_door", {128, 0, 0}, {192, 64, 64}),
                      pointEntity("light", {-64, 0, 0})};
        select(k.brush);
        select(k.door);
        select(k.light);
        return k;
    }

    // Runs the operation, then checks undo against the dump from before and redo against the
    // dump from after; leaves the map in its state after the operation.
    void expectUndoOracle(const std::function<void()>& operation, const char* levelName) {
        const std::string before = a.dump();
        operation();
        const std::string after = a.dump();
        ASSERT_NE(Undo_NewestLevel(a.undo()), nullptr);
        EXPECT_STREQ(Undo_NewestLevel(a.undo())->name, levelName);
        ASSERT_TRUE(Undo_StepUndo(a.undo()));
        EXPECT_EQ(a.dump(), before);
        ASSERT_TRUE(Undo_StepRedo(a.undo()));
        EXPECT_EQ(a.dump(), after);
    }

    std::vector<BrushRecord*> worldBrushes() {
        std::vector<BrushRecord*> out;
        for (BrushRecord* b = a.worldspawn->firstBrush; b; b = b->next)
            out.push_back(b);
        return out;
    }
    std::vector<EntityRecord*> entities(const char* classname) {
        std::vector<EntityRecord*> out;
        for (EntityRecord* e = w()->entities; e; e = e->next)
            if (e->classname && std::strcmp(e->classname, classname) == 0) out.push_back(e);
        return out;
    }
    int groupCount() {
        int n = 0;
        for (const GroupRecord* g = w()->groups; g; g = g->next)
            ++n;
        return n;
    }
    static Vec3 centre(const BrushRecord* b) {
        return {(b->mins[0] + b->maxs[0]) / 2, (b->mins[1] + b->maxs[1]) / 2, (b->mins[2] + b->maxs[2]) / 2};
    }
    static Vec3 size(const BrushRecord* b) {
        return {b->maxs[0] - b->mins[0], b->maxs[1] - b->mins[1], b->maxs[2] - b->mins[2]};
    }

    cConsoleCapture console;
    TestDocument a;
    Clipboard clip;
};

// ---- Copy and paste ---------------------------------------------------------------------------

TEST_F(ClipboardTest, CopyTakesTheSelectionWithoutChangingTheMap) {
    selectOneOfEachKind();
    Map_SelectObject(w(), a.worldspawn); // the world entity itself is never taken
    const std::string before = a.dump();

    Clip_Copy(&clip, map(), true);

    EXPECT_EQ(a.dump(), before);
    EXPECT_EQ(Undo_NewestLevel(a.undo()), nullptr);
    EXPECT_EQ(clip.mode, ClipMode::Copy);
    EXPECT_EQ(clip.source, map());
    int entries = 0;
    for (const EntityRecord* e = clip.entities; e; e = e->next, ++entries)
        EXPECT_EQ(e->handle, nullptr); // detached copies
    EXPECT_EQ(entries, 2);
    // The door's brush comes with the door, not a second time as a world brush.
    ASSERT_NE(clip.worldBrushes, nullptr);
    EXPECT_EQ(clip.worldBrushes->next, nullptr);
    EXPECT_FLOAT_EQ(clip.mins[0], -72.0f); // the light's box
    EXPECT_FLOAT_EQ(clip.maxs[0], 192.0f);
}

TEST_F(ClipboardTest, PasteInPlaceDuplicatesEveryKind) {
    const EntityRecord* door = selectOneOfEachKind().door;
    Clip_Copy(&clip, map(), true);
    Map_SelectNone(w()); // the selection before a paste is not part of its undo level

    expectUndoOracle(
        [&] {
            EXPECT_TRUE(Clip_Paste(&clip, map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste"));
        },
        "Paste");

    EXPECT_EQ(worldBrushes().size(), 2u);
    ASSERT_EQ(entities("func_door").size(), 2u);
    ASSERT_EQ(entities("light").size(), 2u);
    EntityRecord* doorCopy = entities("func_door")[1];
    ASSERT_NE(doorCopy->firstBrush, nullptr);
    EXPECT_EQ(doorCopy->firstBrush->next, nullptr);
    EXPECT_FLOAT_EQ(doorCopy->firstBrush->mins[0], 128.0f);
    EXPECT_NE(doorCopy->serial, door->serial);
    EXPECT_NE(doorCopy->handle->id, door->handle->id);
    EXPECT_TRUE(doorCopy->flags & EntityFlag::Selected);
    EXPECT_FLOAT_EQ(entities("light")[1]->origin[0], -64.0f);
    EXPECT_EQ(clip.mode, ClipMode::Pasted);
    // The content stays for further pastes.
    EXPECT_TRUE(Clip_HasContent(&clip));
}

TEST_F(ClipboardTest, PasteAtAPositionMovesTheCentreThere) {
    box({0, 0, 0}, {64, 64, 64});
    EntityRecord* light = pointEntity("light", {32, 32, 96});
    select(worldBrushes()[0]);
    select(light);
    Clip_Copy(&clip, map(), true);
    float c[3];
    Clip_GetCenter(&clip, c);
    // Bounds 0..64 in x and y, 0..104 in z: centre (32, 32, 52), rounded to the 32 grid.
    EXPECT_EQ(Vec3({c[0], c[1], c[2]}), Vec3({32, 32, 64}));
    Map_SelectNone(w());

    const float position[3] = {256, 32, 64};
    expectUndoOracle(
        [&] { Clip_Paste(&clip, map(), 1, position, nullptr, nullptr, true, false, false, "Paste"); },
        "Paste");

    ASSERT_EQ(worldBrushes().size(), 2u);
    EXPECT_EQ(centre(worldBrushes()[1]), Vec3({256, 32, 32}));
    EXPECT_FLOAT_EQ(entities("light")[1]->origin[0], 256.0f);
}

TEST_F(ClipboardTest, PasteSpecialAccumulatesOffsetAndRotation) {
    // A long bar through the centre and a cube off to +x: the cube shows where each turn went.
    box({-64, -16, -64}, {64, 16, 64});
    box({32, -16, -16}, {64, 16, 16});
    struct Case {
        const char* name;
        int copies;
        Vec3 offset;
        Vec3 rotation;
        std::vector<Vec3> cubeCentres; // of copy 1, 2, ... in any order
    };
    const Case cases[] = {
        {"3 copies offset 64", 3, {64, 0, 0}, {0, 0, 0}, {{112, 0, 0}, {176, 0, 0}, {240, 0, 0}}},
        // About y: +x turns to -z at 90 degrees.
        {"rotation 90 about y x 4",
         4,
         {0, 0, 0},
         {0, 90, 0},
         {{0, 0, -48}, {-48, 0, 0}, {0, 0, 48}, {48, 0, 0}}},
        {"rotation 90 about z with offset", 2, {0, 0, 32}, {0, 0, 90}, {{0, 48, 32}, {-48, 0, 64}}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        for (BrushRecord* b : worldBrushes())
            select(b);
        Clip_Copy(&clip, map(), true);
        Map_SelectNone(w());

        expectUndoOracle(
            [&] {
                Clip_Paste(&clip, map(), tc.copies, nullptr, tc.offset.data(),
                           tc.rotation[0] || tc.rotation[1] || tc.rotation[2] ? tc.rotation.data() : nullptr,
                           true, false, false, "Paste Special");
            },
            "Paste Special");

        const std::vector<BrushRecord*> all = worldBrushes();
        ASSERT_EQ(all.size(), size_t(2 + 2 * tc.copies));
        std::vector<Vec3> cubes;
        for (size_t i = 2; i < all.size(); ++i)
            if (size(all[i]) == Vec3({32, 32, 32})) cubes.push_back(centre(all[i]));
        std::vector<Vec3> expected = tc.cubeCentres;
        std::sort(cubes.begin(), cubes.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(cubes, expected);
        ASSERT_TRUE(Undo_StepUndo(a.undo())); // back to the two originals for the next case
    }
}

TEST_F(ClipboardTest, RotatedPointEntityTurnsItsAngles) {
    EntityRecord* light = pointEntity("info_player_start", {64, 0, 0});
    box({-64, -64, -64}, {64, 64, 64});
    select(light);
    select(worldBrushes()[0]);
    Clip_Copy(&clip, map(), true);
    Map_SelectNone(w());
    const float rotation[3] = {0, 0, 90};

    Clip_Paste(&clip, map(), 1, nullptr, nullptr, rotation, true, false, false, "Paste Special");

    EntityRecord* copy = entities("info_player_start")[1];
    EXPECT_NEAR(copy->origin[0], 0.0f, 1e-4f);
    EXPECT_NEAR(copy->origin[1], 64.0f, 1e-4f);
    EXPECT_NEAR(copy->angles[1], 90.0f, 1e-3f);
}

// The texture coordinate a face's mapping gives a point (before division by the texture size).
Vec3 texelAt(const FaceRecord* f, const Vec3& p) {
    const TextureInfo& ti = f->texInfo;
    float s = ti.sShift, t = ti.tShift;
    for (int i = 0; i < 3; ++i) {
        s += p[i] * ti.sAxis[i] / ti.sScale;
        t += p[i] * ti.tAxis[i] / ti.tScale;
    }
    return {s, t, 0};
}

TEST_F(ClipboardTest, TextureLockKeepsTheTextureOnMovedFaces) {
    for (const bool lock : {true, false}) {
        SCOPED_TRACE(lock ? "lock on" : "lock off");
        cMainWindow window;
        window.settings.TextureLock = lock;
        Clipboard local;
        BrushRecord* b = box({0, 0, 0}, {64, 64, 64});
        select(b);
        Clip_Copy(&local, map(), true);
        Map_SelectNone(w());
        const float position[3] = {32 + 40, 32 + 8, 32}; // 40 along x and 8 along y from the centre

        Clip_Paste(&local, map(), 1, position, nullptr, nullptr, false, false, false, "Paste");

        BrushRecord* copy = worldBrushes().back();
        for (FaceRecord* f = copy->firstFace; f; f = f->next) {
            const FaceRecord* o = b->firstFace; // the original face with the same normal
            while (o &&
                   o->normal[0] * f->normal[0] + o->normal[1] * f->normal[1] + o->normal[2] * f->normal[2] <
                       0.999f)
                o = o->next;
            ASSERT_NE(o, nullptr);
            const Vec3 moved = {f->vertices[0].xyz[0], f->vertices[0].xyz[1], f->vertices[0].xyz[2]};
            const Vec3 home = {moved[0] - 40, moved[1] - 8, moved[2]};
            if (lock) { // the moved point shows the texel its original showed (shifts wrap)
                int32_t width, height;
                f->handle->textureSize(&width, &height);
                EXPECT_NEAR(std::remainder(texelAt(f, moved)[0] - texelAt(o, home)[0], float(width)), 0.0f,
                            1e-3f);
                EXPECT_NEAR(std::remainder(texelAt(f, moved)[1] - texelAt(o, home)[1], float(height)), 0.0f,
                            1e-3f);
            } else {
                EXPECT_EQ(f->texInfo.sShift, o->texInfo.sShift);
                EXPECT_EQ(f->texInfo.tShift, o->texInfo.tShift);
            }
        }
        Clip_Clear(&local);
        Undo_StepUndo(a.undo());
        Map_DeleteBrush(w(), b, false);
    }
}

TEST_F(ClipboardTest, PasteOfAnEmptyClipboardOrNoCopiesDoesNothing) {
    EXPECT_FALSE(Clip_Paste(&clip, map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste"));
    select(box({0, 0, 0}, {64, 64, 64}));
    Clip_Copy(&clip, map(), true);
    EXPECT_FALSE(Clip_Paste(&clip, map(), 0, nullptr, nullptr, nullptr, true, false, false, "Paste"));
    EXPECT_FALSE(Clip_Paste(nullptr, map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste"));
    EXPECT_FALSE(Clip_Paste(&clip, nullptr, 1, nullptr, nullptr, nullptr, true, false, false, "Paste"));
    EXPECT_EQ(Undo_NewestLevel(a.undo()), nullptr);
    EXPECT_EQ(worldBrushes().size(), 1u);
}

TEST_F(ClipboardTest, PasteIntoAnotherMapAndAfterTheSourceCloses) {
    select(box({0, 0, 0}, {64, 64, 64}));
    Clip_Copy(&clip, map(), true);
    TestDocument other;
    Clip_Paste(&clip, other.map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste");
    Clip_ForgetMap(&clip, map());
    EXPECT_EQ(clip.source, nullptr);
    Clip_Paste(&clip, other.map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste");

    int brushes = 0;
    for (const BrushRecord* b = other.worldspawn->firstBrush; b; b = b->next)
        ++brushes;
    EXPECT_EQ(brushes, 2);
    EXPECT_EQ(worldBrushes().size(), 1u);
}

// ---- Renaming ---------------------------------------------------------------------------------

TEST_F(ClipboardTest, KeepConnectionsRenamesLinksInsideEachCopy) {
    EntityRecord* button = pointEntity("func_button", {0, 0, 0});
    button->handle->appendKeyValue("target", "door1");
    Test_RefreshEntity(button);
    EntityRecord* door = pointEntity("func_door", {64, 0, 0});
    door->handle->appendKeyValue("targetname", "door1");
    Test_RefreshEntity(door);

    struct Case {
        const char* name;
        bool both;
        bool keep;
        bool renamed;
    };
    const Case cases[] = {
        {"two entities, keep", true, true, true},
        {"two entities, no keep", true, false, false},
        {"one entity, keep", false, true, false},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        select(door);
        if (tc.both) select(button);
        Clip_Copy(&clip, map(), true);
        Map_SelectNone(w());

        expectUndoOracle(
            [&] { Clip_Paste(&clip, map(), 2, nullptr, nullptr, nullptr, true, false, tc.keep, "Paste"); },
            "Paste");

        const std::vector<EntityRecord*> doors = entities("func_door");
        ASSERT_EQ(doors.size(), 3u);
        EXPECT_STREQ(keyValue(door, "targetname"), "door1");
        EXPECT_STREQ(keyValue(button, "target"), "door1");
        for (size_t i = 1; i < doors.size(); ++i)
            EXPECT_EQ(std::string(keyValue(doors[i], "targetname")) != "door1", tc.renamed);
        if (tc.renamed) {
            const std::vector<EntityRecord*> buttons = entities("func_button");
            ASSERT_EQ(buttons.size(), 3u);
            EXPECT_STRNE(keyValue(doors[1], "targetname"), keyValue(doors[2], "targetname"));
            for (size_t i = 1; i < 3; ++i) // each copy's button opens that copy's door
                EXPECT_STREQ(keyValue(buttons[i], "target"), keyValue(doors[i], "targetname"));
        }
        ASSERT_TRUE(Undo_StepUndo(a.undo()));
    }
}

// ---- Groups -----------------------------------------------------------------------------------

class ClipboardGroupTest : public ClipboardTest {
protected:
    void SetUp() override {
        // outer holds inner and b2; inner holds b1.
        b1 = box({0, 0, 0}, {64, 64, 64});
        b2 = box({128, 0, 0}, {192, 64, 64});
        inner = Group_Create(map());
        outer = Group_Create(map());
        Map_AddBrushToGroupChain(b1, inner);
        Map_AddBrushToGroupChain(b1, outer);
        Map_AddBrushToGroupChain(b2, outer);
        select(b1);
        select(b2);
        Map_SelectObject(w(), outer);
    }
    GroupRecord* newestGroup() { return w()->groups; }

    BrushRecord* b1 = nullptr;
    BrushRecord* b2 = nullptr;
    GroupRecord* inner = nullptr;
    GroupRecord* outer = nullptr;
};

TEST_F(ClipboardGroupTest, WholeGroupModePastesACopyOfTheHierarchy) {
    w()->selectionMode = SelectionMode::WholeGroups;
    Clip_Copy(&clip, map(), true);
    Map_SelectNone(w());

    expectUndoOracle(
        [&] { Clip_Paste(&clip, map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste"); },
        "Paste");

    ASSERT_EQ(groupCount(), 4);
    const std::vector<BrushRecord*> all = worldBrushes();
    BrushRecord* c1 = all[2]->mins[0] == 0 ? all[2] : all[3];
    BrushRecord* c2 = c1 == all[2] ? all[3] : all[2];
    ASSERT_NE(c1->group, nullptr);
    EXPECT_NE(c1->group, inner);
    EXPECT_NE(c1->group->parent, nullptr);
    EXPECT_EQ(c1->group->parent, c2->group);
    EXPECT_EQ(c1->outerGroup, c2->group);
    EXPECT_EQ(c1->group->memberCount, 1);
    EXPECT_EQ(c2->group->memberCount, 2);
    // Only the top group of the copy is selected.
    EXPECT_TRUE(c2->group->flags & GroupFlag::Selected);
    EXPECT_FALSE(c1->group->flags & GroupFlag::Selected);
}

TEST_F(ClipboardGroupTest, IgnoreGroupsModePastesUngrouped) {
    w()->selectionMode = SelectionMode::IgnoreGroups;
    Clip_Copy(&clip, map(), true);
    Map_SelectNone(w());

    Clip_Paste(&clip, map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste");

    EXPECT_EQ(groupCount(), 2);
    const std::vector<BrushRecord*> all = worldBrushes();
    EXPECT_EQ(all[2]->group, nullptr);
    EXPECT_EQ(all[3]->group, nullptr);
}

TEST_F(ClipboardGroupTest, GroupCopiesPutsEachCopyInItsOwnGroup) {
    w()->selectionMode = SelectionMode::WholeGroups;
    EntityRecord* light = pointEntity("light", {32, 32, 128});
    select(light);
    Clip_Copy(&clip, map(), true);
    Map_SelectNone(w());

    const float offset[3] = {0, 256, 0};
    expectUndoOracle(
        [&] { Clip_Paste(&clip, map(), 2, nullptr, offset, nullptr, true, true, false, "Paste Special"); },
        "Paste Special");

    // Per copy: the copied pair of groups and G.
    ASSERT_EQ(groupCount(), 2 + 2 * 3);
    std::vector<GroupRecord*> tops;
    for (GroupRecord* g = w()->groups; g; g = g->next)
        if (!g->parent && g != outer) tops.push_back(g);
    ASSERT_EQ(tops.size(), 2u);
    for (const GroupRecord* g : tops) {
        EXPECT_EQ(g->memberCount, 2); // the light and the copy of outer
        EXPECT_TRUE(g->flags & GroupFlag::Selected);
    }
    const std::vector<EntityRecord*> lights = entities("light");
    ASSERT_EQ(lights.size(), 3u);
    EXPECT_NE(lights[1]->group, lights[2]->group);
    EXPECT_TRUE(lights[1]->group == tops[0] || lights[1]->group == tops[1]);
    std::vector<float> ys = {lights[1]->origin[1], lights[2]->origin[1]};
    std::sort(ys.begin(), ys.end());
    EXPECT_EQ(ys, std::vector<float>({32.0f + 256.0f, 32.0f + 512.0f}));
}

// ---- Cut --------------------------------------------------------------------------------------

TEST_F(ClipboardTest, CutMovesTheSelectionIntoTheClipboard) {
    const EntityRecord* door = selectOneOfEachKind().door;
    box({512, 0, 0}, {576, 64, 64}); // stays
    const int32_t doorId = door->handle->id;
    a.doc.modified = false;
    const std::string before = a.dump();

    Clip_Cut(&clip, map(), true);

    EXPECT_TRUE(a.doc.modified);
    EXPECT_STREQ(Undo_NewestLevel(a.undo())->name, "Cut");
    EXPECT_EQ(worldBrushes().size(), 1u);
    EXPECT_TRUE(entities("func_door").empty());
    EXPECT_TRUE(entities("light").empty());
    EXPECT_EQ(w()->selectedBrushes, nullptr);
    EXPECT_EQ(w()->selectedEntities, nullptr);
    EXPECT_FALSE(Map_IsIdInUse(w(), doorId));
    // The cut records themselves, detached.
    EXPECT_EQ(clip.mode, ClipMode::Cut);
    ASSERT_NE(clip.entities, nullptr);
    EXPECT_EQ(clip.entities->owner, nullptr);
    ASSERT_NE(clip.worldBrushes, nullptr);
    EXPECT_EQ(clip.worldBrushes->entity, nullptr);
    EXPECT_EQ(clip.worldBrushes->handle->id, -1);

    const std::string after = a.dump();
    ASSERT_TRUE(Undo_StepUndo(a.undo()));
    EXPECT_EQ(a.dump(), before);
    ASSERT_TRUE(Undo_StepRedo(a.undo()));
    EXPECT_EQ(a.dump(), after);

    // Pasting the cut elsewhere ends the pending state.
    Map_SelectNone(w());
    const float position[3] = {0, 512, 0};
    expectUndoOracle(
        [&] { Clip_Paste(&clip, map(), 1, position, nullptr, nullptr, true, false, false, "Paste"); },
        "Paste");
    EXPECT_EQ(entities("func_door").size(), 1u);
    EXPECT_EQ(clip.mode, ClipMode::Pasted);
}

TEST_F(ClipboardTest, CutGroupedBrushesRemovesTheirEmptyGroups) {
    BrushRecord* b = box({0, 0, 0}, {64, 64, 64});
    GroupRecord* g = Group_Create(map());
    Map_AddBrushToGroupChain(b, g);
    select(b);
    Map_SelectObject(w(), g);

    expectUndoOracle([&] { Clip_Cut(&clip, map(), true); }, "Cut");

    EXPECT_EQ(groupCount(), 0);
    ASSERT_NE(clip.worldBrushes, nullptr);
    ASSERT_NE(clip.worldBrushes->group, nullptr); // a group copy
    EXPECT_EQ(clip.worldBrushes->group->handle, nullptr);

    Map_SelectNone(w());
    Clip_Paste(&clip, map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste");
    EXPECT_EQ(groupCount(), 1);
    EXPECT_EQ(worldBrushes()[0]->group, w()->groups);
}

TEST_F(ClipboardTest, PendingCutIsRestoredBeforeTheNextCopyOrCut) {
    BrushRecord* b = box({0, 0, 0}, {64, 64, 64});
    EntityRecord* light = pointEntity("light", {-64, 0, 0});
    const std::string reference = a.plainDump(); // unselected
    select(b);
    select(light);
    Clip_Cut(&clip, map(), true);

    Clip_Copy(&clip, map(), true);

    EXPECT_STREQ(Undo_NewestLevel(a.undo())->name, "Restore Cut");
    EXPECT_EQ(a.plainDump(), reference);
    EXPECT_EQ(clip.mode, ClipMode::Copy);
    EXPECT_EQ(clip.entities, nullptr); // nothing was selected to copy

    // Restoring is itself an undo level.
    const std::string restored = a.plainDump();
    ASSERT_TRUE(Undo_StepUndo(a.undo()));
    EXPECT_TRUE(worldBrushes().empty());
    ASSERT_TRUE(Undo_StepRedo(a.undo()));
    EXPECT_EQ(a.plainDump(), restored);
}

TEST_F(ClipboardTest, PendingCutIsNotRestoredWhenSwitchedOffOrTheMapClosed) {
    struct Case {
        const char* name;
        bool restore;
        bool close;
    };
    for (const Case& tc : {Case{"restore off", false, false}, Case{"source closed", true, true}}) {
        SCOPED_TRACE(tc.name);
        select(box({0, 0, 0}, {64, 64, 64}));
        Clip_Cut(&clip, map(), true);
        if (tc.close) Clip_ForgetMap(&clip, map());
        const std::string before = a.dump();

        Clip_Copy(&clip, map(), tc.restore);

        EXPECT_EQ(a.dump(), before);
        EXPECT_TRUE(worldBrushes().empty());
        EXPECT_STREQ(Undo_NewestLevel(a.undo())->name, "Cut");
    }
}

TEST_F(ClipboardTest, UndoingTheCutClearsThePendingCut) {
    select(box({0, 0, 0}, {64, 64, 64}));
    EntityRecord* light = pointEntity("light", {-64, 0, 0});
    select(light);
    Clip_Cut(&clip, map(), true);
    ASSERT_TRUE(Undo_StepUndo(a.undo()));
    EXPECT_EQ(clip.mode, ClipMode::Pasted);
    Map_SelectNone(w());
    const std::string before = a.dump();

    for (const bool cut : {false, true}) {
        SCOPED_TRACE(cut ? "then Cut" : "then Copy");
        Map_SelectNone(w());
        if (cut)
            Clip_Cut(&clip, map(), true);
        else
            Clip_Copy(&clip, map(), true);
        // The objects are in the map once: undo already brought them back.
        EXPECT_EQ(worldBrushes().size(), 1u);
        EXPECT_EQ(entities("light").size(), 1u);
    }
    EXPECT_EQ(a.dump(), before);
}

TEST_F(ClipboardTest, UndoingAnotherLevelKeepsThePendingCut) {
    select(box({0, 0, 0}, {64, 64, 64}));
    Clip_Cut(&clip, map(), true);
    BrushRecord* other = box({256, 0, 0}, {320, 64, 64});
    Undo_BeginStep(map(), "Create Block");
    Undo_SaveBrush(a.undo(), other, UndoList::CreatedBrushes, true);
    Undo_EndStep(map());
    ASSERT_TRUE(Undo_StepUndo(a.undo()));
    EXPECT_EQ(clip.mode, ClipMode::Cut);

    Clip_Copy(&clip, map(), true);

    EXPECT_STREQ(Undo_NewestLevel(a.undo())->name, "Restore Cut");
    EXPECT_EQ(worldBrushes().size(), 1u);
}

TEST_F(ClipboardTest, CutLeavesTheWorldEntityInTheMap) {
    BrushRecord* b = box({0, 0, 0}, {64, 64, 64});
    select(b);
    Map_SelectObject(w(), a.worldspawn);

    Clip_Cut(&clip, map(), true);

    ASSERT_EQ(w()->entities, a.worldspawn);
    EXPECT_EQ(a.worldspawn->owner, map());
    EXPECT_EQ(clip.entities, nullptr);
    ASSERT_NE(clip.worldBrushes, nullptr);
}

// A bare decal entity lies on the brush of a brush entity; cutting the entity takes the brush
// out of the map, so its fragments must leave it.
TEST(ClipboardDecalTest, CutBrushesOfASelectedEntityLeaveTheirDecalFragments) {
    cTestWorld t;
    ShaderRecord texture;
    texture.width = texture.height = 64;
    EntityModel model{};
    model.entry = &texture;
    EntityRecord decal{};
    decal.flags = EntityFlag::Point;
    decal.modelKind = EntityModelKind::Decal;
    decal.model = &model;
    decal.owner = t.handle();
    List_Append(t.world.entities, t.world.entitiesTail, &decal);
    const float origin[3] = {0, 0, 0};
    EntityRecord* door = Entity_Create(t.handle(), "func_door", origin, 0);
    BrushRecord* brush = makeBox(t.handle(), door, {-64, -64, -64}, {64, 64, 64});
    for (int i = 0; i < 3; ++i) {
        model.mins[i] = (i == 2 ? 64.0f : 0.0f) - 32.0f;
        model.maxs[i] = (i == 2 ? 64.0f : 0.0f) + 32.0f;
    }
    decal.origin[2] = 64.0f;
    Decal_Project(&decal, &model);
    ASSERT_NE(brush->decalFragments, nullptr);
    Map_SelectObject(&t.world, door);
    Map_SelectObject(&t.world, brush);
    decal.flags &= ~EntityFlag::ReprojectDecal;

    Clipboard clip;
    Clip_Cut(&clip, t.handle(), true);

    EXPECT_EQ(brush->decalFragments, nullptr);
    for (auto* f = static_cast<DecalFragment*>(model.fragments); f; f = f->next)
        EXPECT_EQ(f->brush, nullptr);
    EXPECT_TRUE(decal.flags & EntityFlag::ReprojectDecal);
    Clip_Clear(&clip);
    Decal_FreeFragments(&model);
    List_Remove(t.world.entities, &t.world.entitiesTail, &decal);
}

} // namespace

namespace {

// Closing the map the clipboard was filled from must not leave the clipboard pointing into the
// freed world: the next paste and the program's exit read the source's undo history.
TEST(ClipboardSource, ClosingTheSourceMapKeepsLaterPastesSafe) {
    std::unique_ptr<cMainWindow> own;
    if (!g_mainWindow) own = std::make_unique<cMainWindow>();
    Clipboard& clip = g_mainWindow->clipboard;
    auto source = std::make_unique<TestDocument>();
    Map_SelectObject(source->world(), makeBox(source->map(), source->worldspawn, {0, 0, 0}, {64, 64, 64}));
    Clip_Cut(&clip, source->map(), false); // a pending cut listens to the source's history
    ASSERT_EQ(clip.source, source->map());
    source.reset();
    EXPECT_EQ(clip.source, nullptr);
    TestDocument target;
    EXPECT_TRUE(Clip_Paste(&clip, target.map(), 1, nullptr, nullptr, nullptr, true, false, false, "Paste"));
    EXPECT_NE(target.worldspawn->firstBrush, nullptr);
    Clip_Clear(&clip);
}

} // namespace
