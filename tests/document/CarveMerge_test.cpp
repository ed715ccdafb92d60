#include "CarveFixture.h"

#include "gamedata/TextureManager.h"
#include "map/TextureBinding.h"

namespace {

using CarveTest = CarveFixture;
using MergeTest = CarveFixture;

constexpr Box kWall = {{0, 0, 0}, {256, 16, 128}};

TEST_F(CarveTest, HoleThroughWallLeavesFourPiecesAroundUnchangedCutter) {
    BrushRecord* wall = box(kWall);
    BrushRecord* cutter = box({{96, -16, 32}, {160, 32, 96}}, "base/cutter");
    (void)wall;
    select(cutter);
    const std::string before = dump();

    Map_Carve(w);

    const std::vector<BrushRecord*> brushes = brushesOf(worldspawn);
    std::vector<BrushRecord*> pieces;
    for (BrushRecord* b : brushes)
        if (b != cutter) pieces.push_back(b);
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_NEAR(totalVolume(pieces), 256.0 * 16 * 128 - 64.0 * 16 * 64, 0.5);
    for (BrushRecord* piece : pieces) {
        EXPECT_FALSE(piece->handle->intersectsBrush(cutter));
        EXPECT_EQ(piece->flags & (BrushFlags::Selected | CarveFlags::Piece | CarveFlags::CutterPiece), 0u);
    }
    EXPECT_TRUE(hasBounds(cutter, {{96, -16, 32}, {160, 32, 96}}));
    EXPECT_EQ(selectedBrushes(), std::vector<BrushRecord*>{cutter});
    EXPECT_EQ(Undo_NewestLevel(doc.undo) ? std::string(Undo_NewestLevel(doc.undo)->name) : "", "Carve");
    EXPECT_TRUE(doc.modified);
    oracle(before, dump());
}

// A cutter over the seam of two wall brushes: the two pieces under it share a face and merge
// again, unless their textures differ on the planes they share.
TEST_F(CarveTest, PiecesMergeAgainWhereTexturesMatch) {
    struct Case {
        const char* rightTexture;
        size_t pieces;
    };
    for (const Case& c : {Case{"base/wall", 3}, Case{"base/other", 4}}) {
        SCOPED_TRACE(c.rightTexture);
        TearDown();
        SetUp();
        box({{0, 0, 0}, {128, 16, 128}});
        box({{128, 0, 0}, {256, 16, 128}}, c.rightTexture);
        BrushRecord* cutter = box({{96, -16, 64}, {160, 32, 144}}, "base/cutter");
        select(cutter);
        const std::string before = dump();

        Map_Carve(w);

        std::vector<BrushRecord*> pieces = brushesOf(worldspawn);
        pieces.erase(std::find(pieces.begin(), pieces.end(), cutter));
        EXPECT_EQ(pieces.size(), c.pieces);
        EXPECT_EQ(countWithBounds(pieces, {{96, 0, 0}, {160, 16, 64}}), c.pieces == 3 ? 1 : 0);
        EXPECT_NEAR(totalVolume(pieces), 256.0 * 16 * 128 - 64.0 * 16 * 64, 0.5);
        oracle(before, dump());
    }
}

// Cutters that meet the wall on a face or an edge, or miss it, leave it whole.
TEST_F(CarveTest, TouchingOnlyCuttersLeaveTargetsWhole) {
    const Box cutters[] = {
        {{96, 16, 32}, {160, 48, 96}},   // on the wall's +y face
        {{256, 16, 32}, {300, 48, 96}},  // along its +x/+y edge
        {{300, 100, 32}, {400, 200, 96}} // apart
    };
    for (const Box& c : cutters) {
        TearDown();
        SetUp();
        BrushRecord* wall = box(kWall);
        select(box(c, "base/cutter"));
        const std::string before = dump();
        Map_Carve(w);
        EXPECT_EQ(dump(), before);
        EXPECT_EQ(brushesOf(worldspawn).front(), wall);
    }
}

// Neither a no-carve texture, a hidden brush nor another selected brush is carved.
TEST_F(CarveTest, ProtectedBrushesAreNotCarved) {
    ShaderRecord noCarve;
    std::strcpy(noCarve.name, "base/nocarve");
    noCarve.category = EFFECT_NO_CARVE;
    for (int which = 0; which < 3; ++which) {
        SCOPED_TRACE(which);
        TearDown();
        SetUp();
        BrushRecord* wall = box(kWall);
        BrushRecord* cutter = box({{96, -16, 32}, {160, 32, 96}}, "base/cutter");
        if (which == 0) {
            Texture_Release(&wall->firstFace->texture);
            wall->firstFace->texture = &noCarve;
            ++noCarve.refCount;
        } else if (which == 1) {
            wall->flags |= BrushFlags::Hidden;
        } else {
            select(wall);
        }
        select(cutter);
        Map_Carve(w);
        EXPECT_EQ(brushesOf(worldspawn), (std::vector<BrushRecord*>{wall, cutter}));
        if (which == 0) {
            Texture_Release(&wall->firstFace->texture);
            wall->firstFace->handle->setTextureInfo(&wall->firstFace->texInfo);
        }
    }
}

// A diamond cutter swallowing a brush entity's only brush removes the entity with it.
TEST_F(CarveTest, BrushEntityCarvedAwayIsRemoved) {
    EntityRecord* door = brushEntity();
    box(door, {{-16, -16, 0}, {16, 16, 32}});
    BrushRecord* cutter = brush(
        worldspawn,
        {{1, 1, 0, 64}, {1, -1, 0, 64}, {-1, 1, 0, 64}, {-1, -1, 0, 64}, {0, 0, 1, 64}, {0, 0, -1, 32}});
    select(cutter);
    const std::string before = dump();

    Map_Carve(w);

    for (EntityRecord* e = w->entities; e; e = e->next)
        EXPECT_NE(e, door);
    oracle(before, dump());
}

// ---- Merge ------------------------------------------------------------------------------------------

FaceRecord* faceWithNormal(BrushRecord* b, float x, float y, float z) {
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        if (f->normal[0] == x && f->normal[1] == y && f->normal[2] == z) return f;
    return nullptr;
}

TEST_F(MergeTest, FaceSharingBoxesBecomeOneBoxWithTheOuterTextures) {
    select(box({{0, 0, 0}, {64, 64, 64}}, "base/left"));
    select(box({{64, 0, 0}, {128, 64, 64}}, "base/right"));
    const std::string before = dump();

    ASSERT_TRUE(Map_Merge(w));

    ASSERT_EQ(brushesOf(worldspawn).size(), 1u);
    BrushRecord* merged = worldspawn->firstBrush;
    EXPECT_TRUE(hasBounds(merged, {{0, 0, 0}, {128, 64, 64}}));
    EXPECT_EQ(selectedBrushes(), std::vector<BrushRecord*>{merged});
    int faces = 0;
    for (FaceRecord* f = merged->firstFace; f; f = f->next)
        ++faces;
    EXPECT_EQ(faces, 6);
    ASSERT_TRUE(faceWithNormal(merged, 1, 0, 0) && faceWithNormal(merged, -1, 0, 0));
    EXPECT_STREQ(faceWithNormal(merged, 1, 0, 0)->texInfo.name, "base/right");
    EXPECT_STREQ(faceWithNormal(merged, -1, 0, 0)->texInfo.name, "base/left");
    EXPECT_STREQ(Undo_NewestLevel(doc.undo)->name, "Merge");
    oracle(before, dump());
}

TEST_F(MergeTest, RefusalsChangeNothing) {
    struct Case {
        const char* name;
        const char* message;
        void (*build)(MergeTest* t);
    };
    const Case cases[] = {
        {"L shape", "can't add a set of brushes with a concave hull!",
         [](MergeTest* t) {
             t->select(t->box({{0, 0, 0}, {64, 64, 64}}));
             t->select(t->box({{64, 0, 0}, {128, 32, 64}}));
         }},
        {"edge only", "can't add a set of brushes with a concave hull!",
         [](MergeTest* t) {
             t->select(t->box({{0, 0, 0}, {64, 64, 64}}));
             t->select(t->box({{64, 64, 0}, {128, 128, 64}}));
         }},
        {"patch last", "can't merge patches!",
         [](MergeTest* t) {
             t->select(t->box({{0, 0, 0}, {64, 64, 64}}));
             BrushRecord* b = Brush_Create(t->map(), t->worldspawn);
             Patch_Create(b, nullptr, 3, 3);
             b->handle->update(BrushUpdate::TessellatePatch);
             t->select(b);
         }},
        {"patch first", "can't merge patches!",
         [](MergeTest* t) {
             BrushRecord* b = Brush_Create(t->map(), t->worldspawn);
             Patch_Create(b, nullptr, 3, 3);
             b->handle->update(BrushUpdate::TessellatePatch);
             t->select(b);
             t->select(t->box({{0, 0, 0}, {64, 64, 64}}));
             t->select(t->box({{64, 0, 0}, {128, 64, 64}}));
         }},
        {"two entities", "can't merge brushes from different entities!",
         [](MergeTest* t) {
             t->select(t->box({{0, 0, 0}, {64, 64, 64}}));
             t->select(t->box(t->brushEntity(), {{64, 0, 0}, {128, 64, 64}}));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        c.build(this);
        const std::string before = dump();
        console.clear();
        EXPECT_FALSE(Map_Merge(w));
        EXPECT_TRUE(console.contains(QString::fromLatin1(c.message)));
        EXPECT_EQ(dump(), before);
        EXPECT_EQ(Undo_NewestLevel(doc.undo), nullptr);
    }
}

TEST_F(MergeTest, CommandGuardsShowWarnings) {
    EXPECT_FALSE(Map_CmdMerge(w));
    select(box({{0, 0, 0}, {64, 64, 64}}));
    EXPECT_FALSE(Map_CmdMerge(w));
    Map_SelectNone(w);
    EXPECT_FALSE(Map_CmdCarve(w));
    ASSERT_EQ(prompts.asked.size(), 3);
    EXPECT_EQ(prompts.asked[0].text, "There are no eligible selected objects.");
    EXPECT_EQ(prompts.asked[1].text, "At least two brushes must be selected.");
    EXPECT_EQ(prompts.asked[2].text, "There are no eligible selected objects.");
    for (const PromptRequest& r : prompts.asked) {
        EXPECT_EQ(r.icon, PromptIcon::Warning);
        EXPECT_EQ(r.title, "Z.A.R.V.");
    }
}

// Opposite faces count only when they share area, not when they meet along an edge.
TEST_F(MergeTest, OppositeFacesMustShareArea) {
    BrushRecord* a = box({{0, 0, 0}, {64, 64, 64}});
    BrushRecord* side = box({{64, 16, 16}, {128, 48, 48}});
    BrushRecord* diagonal = box({{64, 64, 0}, {128, 128, 64}});
    FaceRecord* plusX = faceWithNormal(a, 1, 0, 0);
    EXPECT_TRUE(Map_FacesOpposite(plusX, faceWithNormal(side, -1, 0, 0)));
    EXPECT_FALSE(Map_FacesOpposite(plusX, faceWithNormal(diagonal, -1, 0, 0)));
    EXPECT_FALSE(Map_FacesOpposite(plusX, faceWithNormal(side, 1, 0, 0)));
}

} // namespace
