#include <gtest/gtest.h>

#include <string>

#include "OperationFixture.h"
#include "document/MapSelection.h"
#include "document/SelectionOperations.h"
#include "map/MapGroup.h"
#include "map/MapPatch.h"
#include "map/PatchRecord.h"

namespace {

class SelectionOperationsTest : public OperationFixture {
protected:
    void selectWithBrushes(EntityRecord* e) {
        Map_SelectObject(w, e);
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            Map_SelectObject(w, b);
    }
};

// ---- Delete -----------------------------------------------------------------------------------------

TEST_F(SelectionOperationsTest, DeletingAllBrushesOfAnEntityDeletesIt) {
    EntityRecord* door = brushEntity("func_door");
    cube(door, 0);
    cube(door, 128);
    BrushRecord* keep = cube(worldspawn, 512);
    BrushRecord* gone = cube(worldspawn, 256);
    EntityRecord* light = pointEntity("light", 64);
    selectWithBrushes(door);
    Map_SelectObject(w, gone);
    Map_SelectObject(w, light);
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdEditDelete(w, false));

    EXPECT_TRUE(entities().empty());
    EXPECT_EQ(worldspawn->firstBrush, keep);
    EXPECT_EQ(worldspawn->lastBrush, keep);
    EXPECT_EQ(w->selectedBrushes, nullptr);
    EXPECT_EQ(w->selectedEntities, nullptr);
    expectUndoRedo("Delete Selection", before);
}

// Undo puts deleted entities back between the ones that stayed, in their old order, and redo
// takes the same ones out again.
TEST_F(SelectionOperationsTest, UndoRestoresDeletedEntitiesAtTheirPlaces) {
    std::vector<EntityRecord*> all;
    for (int i = 0; i < 5; ++i)
        all.push_back(pointEntity("light", 64.0f * float(i), ("e" + std::to_string(i)).c_str()));
    Map_SelectObject(w, all[3]);
    Map_SelectObject(w, all[0]);
    Map_SelectObject(w, all[2]);
    auto names = [&] {
        std::string list;
        for (EntityRecord* e : entities())
            list += key(e, "targetname") + " ";
        return list;
    };
    const std::string before = dump();
    Map_DeleteSelection(w);
    EXPECT_EQ(names(), "e1 e4 ");
    ASSERT_TRUE(Undo_StepUndo(history));
    EXPECT_EQ(names(), "e0 e1 e2 e3 e4 ");
    EXPECT_EQ(dump(), before);
    ASSERT_TRUE(Undo_StepRedo(history));
    EXPECT_EQ(names(), "e1 e4 ");
}

TEST_F(SelectionOperationsTest, DeletingSomeBrushesKeepsTheEntityDeselected) {
    EntityRecord* door = brushEntity("func_door");
    BrushRecord* stays = cube(door, 0);
    BrushRecord* goes = cube(door, 128);
    Map_SelectObject(w, goes);
    const std::string before = dump();
    Map_DeleteSelection(w);
    ASSERT_EQ(entities().size(), 1u);
    EXPECT_EQ(door->firstBrush, stays);
    EXPECT_EQ(door->lastBrush, stays);
    EXPECT_EQ(door->flags & EntityFlag::Selected, 0u);
    expectUndoRedo("Delete Selection", before);
}

TEST_F(SelectionOperationsTest, DeletingTheLastMembersRemovesTheirGroup) {
    BrushRecord* a = cube(worldspawn, 0);
    BrushRecord* b = cube(worldspawn, 128);
    GroupRecord* g = Group_Create(map());
    Group_AddBrush(g, a);
    Group_AddBrush(g, b);
    Map_SelectGroup(w, g);
    const std::string before = dump();
    Map_DeleteSelection(w);
    EXPECT_EQ(w->groups, nullptr);
    EXPECT_EQ(w->selectedGroups, nullptr);
    expectUndoRedo("Delete Selection", before);
}

TEST_F(SelectionOperationsTest, DeleteCommandPrefersNodesInPathMode) {
    PathRecord* p = path("track", 3);
    BrushRecord* b = cube(worldspawn, 0);
    Map_SelectObject(w, p->firstNode);
    Map_SelectObject(w, b);
    ASSERT_TRUE(Map_CmdEditDelete(w, true));
    EXPECT_EQ(nodeCount(p), 2);
    EXPECT_EQ(worldspawn->firstBrush, b);
    ASSERT_TRUE(Map_CmdEditDelete(w, true));
    EXPECT_EQ(worldspawn->firstBrush, nullptr);
    EXPECT_FALSE(Map_CmdEditDelete(w, true));
}

// ---- Apply texture ----------------------------------------------------------------------------------

TEST_F(SelectionOperationsTest, ApplyTextureToBrushesChangesOnlyDifferingNames) {
    BrushRecord* mixed = cube(worldspawn, 0, "base/wall");
    mixed->firstFace->handle->setTextureName("base/floor");
    BrushRecord* other = cube(worldspawn, 128, "base/wall");
    Map_SelectObject(w, mixed);
    for (FaceRecord* f = mixed->firstFace; f; f = f->next)
        f->flags &= ~FaceFlags::NeedsUpdate;
    const std::string before = dump();

    ASSERT_TRUE(Map_CmdApplyTexture(w, "base/floor"));

    for (FaceRecord* f = mixed->firstFace; f; f = f->next)
        EXPECT_STREQ(f->texInfo.name, "base/floor");
    EXPECT_STREQ(other->firstFace->texInfo.name, "base/wall");
    expectUndoRedo("Apply Texture", before);
}

TEST_F(SelectionOperationsTest, ApplyTextureToFacesLeavesMatchingFacesUnmarked) {
    BrushRecord* b = cube(worldspawn, 0, "base/wall");
    FaceRecord* same = b->firstFace;
    FaceRecord* differing = b->lastFace;
    same->handle->setTextureName("base/floor");
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        f->flags &= ~FaceFlags::NeedsUpdate;
    Map_SelectObject(w, same);
    Map_SelectObject(w, differing);

    Map_ApplyTexture(w, "base/floor");

    EXPECT_STREQ(differing->texInfo.name, "base/floor");
    EXPECT_EQ(same->flags & FaceFlags::NeedsUpdate, 0u);
    EXPECT_STREQ(b->firstFace->next->texInfo.name, "base/wall");
    EXPECT_EQ(newestLevelName(), "Apply Texture");
    EXPECT_TRUE(doc.modified);
}

TEST_F(SelectionOperationsTest, ApplyTextureReachesPatches) {
    BrushRecord* carrier = Brush_Create(map(), worldspawn);
    const TextureInfo info = texture("base/wall");
    Patch_Create(carrier, &info, 3, 3);
    worldspawn->handle->update(0);
    Map_SelectObject(w, carrier);
    const std::string before = dump();
    Map_ApplyTexture(w, "base/floor");
    EXPECT_STREQ(carrier->patch->texInfo.name, "base/floor");
    expectUndoRedo("Apply Texture", before);
}

} // namespace
