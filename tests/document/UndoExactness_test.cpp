// Undo must give back exactly the map from before an operation and Redo exactly the one after it,
// and what is saved must load as the same map: scenarios of the group chains that once changed
// the map silently.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "OperationFixture.h"
#include "UndoOracle.h"
#include "document/Grouping.h"
#include "document/MapSelection.h"
#include "document/SelectionOperations.h"
#include "document/CarveMerge.h"
#include "document/HollowClip.h"
#include "document/MapTransform.h"
#include "document/Primitives.h"
#include "document/VisGroup.h"
#include "map/FaceSource.h"
#include "map/KeptBrush.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "core/Vector.h"

namespace {

class UndoExactnessTest : public OperationFixture {
public:
    void SetUp() override {
        OperationFixture::SetUp();
        refresh(worldspawn); // its key names, as a load leaves them
    }
    static int32_t idOf(const void* record) { return Object_FromRecord(record)->id; }
    // Selects exactly the objects, each by its id (in whole-group mode an object, not its group).
    void selectByIds(std::initializer_list<const void*> records) {
        Map_SelectNone(w);
        for (const void* r : records)
            Map_SelectById(w, idOf(r), false);
    }
    GroupRecord* groupOfSelection() {
        EXPECT_TRUE(Map_CmdGroup(w));
        return w->selectedGroups;
    }
    // The face serials of every brush in list order, by brush serial: the dump sorts faces by
    // their text, so it cannot show a changed order.
    std::map<int32_t, std::vector<int32_t>> faceOrders() const {
        std::map<int32_t, std::vector<int32_t>> orders;
        for (const EntityRecord* e = w->entities; e; e = e->next)
            for (const BrushRecord* b = e->firstBrush; b; b = b->next)
                for (const FaceRecord* f = b->firstFace; f; f = f->next)
                    orders[b->serial].push_back(f->serial);
        return orders;
    }
};

struct ChainScenario {
    const char* name;
    const char* level;
    // Builds the map and the selection; returns the operation to check.
    std::function<std::function<bool()>(UndoExactnessTest&)> build;
};

TEST_F(UndoExactnessTest, GroupChainOperationsUndoAndRedoExactly) {
    const ChainScenario scenarios[] = {
        {"ungroup brings back members that were not selected", "Ungroup",
         [](UndoExactnessTest& t) -> std::function<bool()> {
             auto& a = t;
             BrushRecord* brush = a.cube(a.worldspawn, 0);
             EntityRecord* light = a.pointEntity("light", 300);
             a.selectByIds({brush, light});
             GroupRecord* g = a.groupOfSelection();
             Map_SelectById(a.w, idOf(light), true); // the light leaves the selection
             EXPECT_EQ(a.w->selectedGroups, g);
             EXPECT_EQ(light->flags & EntityFlag::Selected, 0u);
             return [w = a.w] { return Map_CmdUngroup(w); };
         }},
        {"redo of group keeps a child group whose top was not selected", "Group",
         [](UndoExactnessTest& t) -> std::function<bool()> {
             auto& a = t;
             BrushRecord* first = a.cube(a.worldspawn, 0);
             BrushRecord* second = a.cube(a.worldspawn, 128);
             a.selectByIds({first});
             a.groupOfSelection();
             a.selectByIds({first, second});
             return [w = a.w] { return Map_CmdGroup(w); };
         }},
        {"group wraps the unselected members of a selected object's group", "Group",
         [](UndoExactnessTest& t) -> std::function<bool()> {
             auto& a = t;
             BrushRecord* first = a.cube(a.worldspawn, 0);
             BrushRecord* kept = a.cube(a.worldspawn, 128);
             EntityRecord* light = a.pointEntity("light", 300);
             BrushRecord* other = a.cube(a.worldspawn, 512);
             a.selectByIds({first, kept, light});
             a.groupOfSelection();
             a.selectByIds({first, other});
             return [w = a.w] { return Map_CmdGroup(w); };
         }},
        {"ungroup of a nested group moves members to its parent", "Ungroup",
         [](UndoExactnessTest& t) -> std::function<bool()> {
             auto& a = t;
             BrushRecord* first = a.cube(a.worldspawn, 0);
             BrushRecord* second = a.cube(a.worldspawn, 128);
             BrushRecord* third = a.cube(a.worldspawn, 256);
             a.selectByIds({first, second});
             GroupRecord* inner = a.groupOfSelection();
             Map_SelectObject(a.w, third);
             a.groupOfSelection();
             Map_SelectNone(a.w);
             Map_SelectById(a.w, idOf(inner), false); // the inner group by its own id
             return [w = a.w] {
                 Map_UngroupSelection(w);
                 return true;
             };
         }},
        {"ungroup of a group holding a brush entity and a child group", "Ungroup",
         [](UndoExactnessTest& t) -> std::function<bool()> {
             auto& a = t;
             EntityRecord* door = a.brushEntity("func_door");
             a.cube(door, 0);
             a.cube(door, 64);
             BrushRecord* first = a.cube(a.worldspawn, 256);
             BrushRecord* second = a.cube(a.worldspawn, 384);
             a.selectByIds({first, second});
             a.groupOfSelection();
             Map_SelectObject(a.w, door);
             GroupRecord* outer = a.groupOfSelection();
             a.selectByIds({outer});
             return [w = a.w] { return Map_CmdUngroup(w); };
         }},
    };
    for (const ChainScenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        TearDown();
        SetUp();
        const std::function<bool()> operation = s.build(*this);
        const std::string before = dump();
        ASSERT_TRUE(operation());
        expectUndoRedo(s.level, before);
        Test_ExpectGroupCountsMatchLinks(w);
        Test_ExpectSameAfterSaveAndLoad(w);
    }
}

// Selecting by id reaches the world entity too; deleting such a selection takes its brushes,
// never the world entity, and Undo brings back one world entity, not a second.
TEST_F(UndoExactnessTest, WorldEntitySelectedByIdSurvivesDeleteAndUndo) {
    BrushRecord* first = cube(worldspawn, 0);
    BrushRecord* second = cube(worldspawn, 128);
    Map_SelectById(w, idOf(worldspawn), false);
    EXPECT_NE(worldspawn->flags & EntityFlag::Selected, 0u);
    EXPECT_NE(first->flags & BrushFlags::Selected, 0u);
    EXPECT_NE(second->flags & BrushFlags::Selected, 0u);
    Map_SelectById(w, idOf(worldspawn), true);
    EXPECT_EQ(worldspawn->flags & EntityFlag::Selected, 0u);
    EXPECT_EQ(w->selectedBrushes, nullptr);

    Map_SelectById(w, idOf(worldspawn), false);
    const std::string before = dump();
    ASSERT_TRUE(Map_CmdEditDelete(w, false));
    EXPECT_EQ(w->entities, worldspawn);
    EXPECT_EQ(worldspawn->firstBrush, nullptr);
    expectUndoRedo("Delete Selection", before);
    ASSERT_TRUE(Undo_StepUndo(history));
    int worldEntities = 0;
    for (const EntityRecord* e = w->entities; e; e = e->next)
        worldEntities += (e->flags & EntityFlag::World) ? 1 : 0;
    EXPECT_EQ(worldEntities, 1);
    EXPECT_EQ(dump(), before);
}

// Objects brought back by Undo rejoin the named sets they were in (the sets still there).
TEST_F(UndoExactnessTest, RestoredObjectsRejoinTheirVisGroups) {
    EntityRecord* door = brushEntity("func_door");
    cube(door, 0);
    BrushRecord* wall = cube(worldspawn, 128);
    EntityRecord* light = pointEntity("light", 300);
    VisGroup* kept = Map_CreateVisGroup(w, "kept");
    VisGroup* gone = Map_CreateVisGroup(w, "gone");
    Map_SelectGroup(w, nullptr);
    selectByIds({door, wall, light});
    Map_AssignSelectionToVisGroup(w, kept->id);
    Map_AssignSelectionToVisGroup(w, gone->id);
    const std::string before = dump();
    ASSERT_TRUE(Map_CmdEditDelete(w, false));
    EXPECT_EQ(kept->memberCount, 0);
    expectUndoRedo("Delete Selection", before);

    // A set deleted meanwhile is left out; the others are joined again.
    Map_DeleteVisGroup(w, gone);
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(kept->memberCount, 4); // the door, its brush, the wall, the light
    EXPECT_EQ(Map_FindVisGroup(w, 2), nullptr);
    Test_ExpectSameAfterSaveAndLoad(w);
}

// Planes made by clipping need not pass exactly through the corners kept of them: Undo and Redo
// bring back the planes themselves, not ones derived from the corners again.
TEST_F(UndoExactnessTest, BrushesComeBackWithTheirOwnPlanes) {
    PrimitiveParams p{};
    p.map = map();
    p.texInfo = texture("base/wall");
    p.count = 6;
    p.flags = PrimitiveFlag::Handedness;
    p.axes[1] = 1;
    p.axes[2] = 2;
    const float lo[3] = {128, 0, 0}, hi[3] = {192, 64, 64};
    std::memcpy(p.mins, lo, sizeof lo);
    std::memcpy(p.maxs, hi, sizeof hi);
    ASSERT_EQ(Prim_CreateCylinder(&p), 1);
    Map_SelectObject(w, worldspawn->firstBrush);
    ASSERT_TRUE(Map_RotateSelectionCommand(w, 2, 45.0f));
    struct Cut {
        const char* level;
        std::function<bool()> run;
    };
    const Cut cuts[] = {
        {"Make Hollow", [this] { return Map_MakeHollow(w, 8.0f); }},
        {"Clip Objects",
         [this] {
             const float normal[3] = {0, 1, 0};
             return Map_ClipObjects(w, normal, 20.0f, ClipKeep::Both);
         }},
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(cut.level);
        const std::string before = dump();
        ASSERT_TRUE(cut.run());
        expectUndoRedo(cut.level, before);
        ASSERT_TRUE(Undo_StepUndo(history));
        ASSERT_EQ(dump(), before);
    }
}

// Undo gives the faces of each brush back in the order they had before the operation and Redo
// in the order after it, also while one of the faces is selected.
TEST_F(UndoExactnessTest, FaceOrderComesBackWithUndoAndRedo) {
    struct Operation {
        const char* level;
        bool brushSelected; // besides the face
        std::function<bool(UndoExactnessTest&)> run;
    };
    const Operation operations[] = {
        {"Rotate", true, [](UndoExactnessTest& t) { return Map_RotateSelectionCommand(t.w, 2, 90.0f); }},
        {"Flip", true, [](UndoExactnessTest& t) { return Map_FlipSelectionCommand(t.w, 0); }},
        {"Apply Texture", true, [](UndoExactnessTest& t) { return Map_CmdApplyTexture(t.w, "base/floor"); }},
        {"Apply Texture", false, [](UndoExactnessTest& t) { return Map_CmdApplyTexture(t.w, "base/floor"); }},
        {"Make Hollow", true, [](UndoExactnessTest& t) { return Map_MakeHollow(t.w, 8.0f); }},
        {"Delete Selection", true, [](UndoExactnessTest& t) { return Map_CmdEditDelete(t.w, false); }},
    };
    for (const Operation& op : operations) {
        SCOPED_TRACE(op.level);
        SCOPED_TRACE(op.brushSelected ? "brush and face selected" : "face selected");
        TearDown();
        SetUp();
        BrushRecord* brush = cube(worldspawn, 0);
        cube(worldspawn, 128);
        if (op.brushSelected) Map_SelectObject(w, brush);
        Map_SelectObject(w, brush->firstFace->next);
        const auto before = faceOrders();
        // Faces stay selected only for the texture tool.
        auto dump = [this] { return Map_DumpWorld(w, WorldDumpFlag::Serials | WorldDumpFlag::NoSelection); };
        const QByteArray dumpBefore = dump();
        ASSERT_TRUE(op.run(*this));
        const auto after = faceOrders();
        const QByteArray dumpAfter = dump();
        ASSERT_TRUE(Undo_StepUndo(history));
        EXPECT_EQ(faceOrders(), before);
        EXPECT_EQ(dump(), dumpBefore);
        ASSERT_TRUE(Undo_StepRedo(history));
        EXPECT_EQ(faceOrders(), after);
        EXPECT_EQ(dump(), dumpAfter);
    }
}

// A face that bounds nothing (one a map file gave, touching its brush along an edge) is part of
// the brush: deleting the brush and undoing brings it back, with the points it was read with.
TEST_F(UndoExactnessTest, FacesThatBoundNothingComeBackWithTheirBrush) {
    BrushRecord* brush = cube(worldspawn, 0);
    const TextureInfo info = Test_TextureInfo("base/trim");
    FaceRecord* edge = Face_Create(map(), brush, &info, 0);
    const float slant = std::sqrt(0.5f);
    Vec_Set(edge->normal, slant, 0, slant);
    edge->dist = 128 * slant;
    edge->axialType = Face_AxialType(edge->normal);
    auto* source = static_cast<FaceSource*>(Sys_Alloc(sizeof(FaceSource)));
    const double points[3][3] = {{64, 0, 64}, {64, 64, 64}, {128, 0, 0}};
    std::memcpy(source->points, points, sizeof points);
    source->flags = FaceSourceFlags::Points;
    edge->source = source;
    brush->flags |= BrushFlags::NeedsUpdate;
    worldspawn->handle->update(0);
    ASSERT_NE(brush->keptFaces, nullptr);
    ASSERT_EQ(brush->keptFaces->next, nullptr);

    Map_SelectNone(w);
    Map_SelectObject(w, brush);
    const std::string before = dump();
    ASSERT_TRUE(Map_CmdEditDelete(w, false));
    ASSERT_EQ(worldspawn->firstBrush, nullptr);
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(dump(), before);
    const BrushRecord* back = worldspawn->firstBrush;
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->keptFaces, nullptr);
    ASSERT_NE(back->keptFaces->source, nullptr);
    EXPECT_EQ(std::memcmp(back->keptFaces->source->points, points, sizeof points), 0);
    EXPECT_STREQ(back->keptFaces->texInfo.name, "base/trim");
    Test_ExpectSameAfterSaveAndLoad(w);
}

// A brush a map file gave whose planes enclose no space is kept by its entity as face lines:
// deleting the entity and undoing brings them back at their place, Redo takes them away again.
TEST_F(UndoExactnessTest, KeptBrushesComeBackWithTheirEntity) {
    EntityRecord* door = brushEntity("func_door");
    BrushRecord* first = cube(door, 0);
    BrushRecord* second = cube(door, 128);
    auto* kept = static_cast<KeptBrushRecord*>(Sys_Alloc(sizeof(KeptBrushRecord)));
    kept->faceCount = 2;
    kept->faces = static_cast<KeptFaceLine*>(Sys_Alloc(sizeof(KeptFaceLine) * 2));
    const double points[3][3] = {{0.0010070801, 0, 64}, {0, 64, 64}, {64, 0, 64}};
    for (KeptFaceLine& line : std::span(kept->faces, 2)) {
        std::memcpy(line.points, points, sizeof points);
        line.texInfo = Test_TextureInfo("common/clip");
        line.texInfo.contents = 65536;
    }
    kept->faces[1].points[2][2] = -8;
    kept->after = first->serial;
    door->keptBrushes = kept;
    refresh(door);

    selectByIds({first, second});
    const std::string before = dump();
    ASSERT_NE(before.find("kept brush after 1"), std::string::npos) << before;
    ASSERT_TRUE(Map_CmdEditDelete(w, false));
    const std::string after = dump();
    EXPECT_EQ(after.find("kept brush"), std::string::npos) << after;
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(dump(), before);
    const EntityRecord* back = worldspawn->next;
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->keptBrushes, nullptr);
    ASSERT_EQ(back->keptBrushes->faceCount, 2);
    EXPECT_EQ(back->keptBrushes->after, back->firstBrush->serial);
    EXPECT_EQ(std::memcmp(back->keptBrushes->faces[0].points, points, sizeof points), 0);
    EXPECT_EQ(back->keptBrushes->faces[1].points[2][2], -8);
    EXPECT_STREQ(back->keptBrushes->faces[1].texInfo.name, "common/clip");
    EXPECT_EQ(back->keptBrushes->faces[1].texInfo.contents, 65536);
    Test_ExpectSameAfterSaveAndLoad(w);
    ASSERT_TRUE(Undo_StepRedo(history));
    EXPECT_EQ(dump(), after);
}

} // namespace
