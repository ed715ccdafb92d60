#include "CarveFixture.h"

#include <optional>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "map/MapGroup.h"

namespace {

using HollowTest = CarveFixture;
using ClipTest = CarveFixture;

constexpr Box kCube = {{0, 0, 0}, {128, 128, 128}};

bool inside(const BrushRecord* b, const Box& x) {
    for (int k = 0; k < 3; ++k)
        if (b->mins[k] < x.lo[k] - 0.01f || b->maxs[k] > x.hi[k] + 0.01f) return false;
    return true;
}

// Inward walls stay inside the cube; outward walls surround a room of the cube's size.
TEST_F(HollowTest, CubeBecomesSixWallsInsideOrOutside) {
    struct Case {
        float thickness;
        Box outline;
        double wallVolume;
    };
    const Case cases[] = {
        {16, kCube, 128.0 * 128 * 128 - 96.0 * 96 * 96},
        {-16, {{-16, -16, -16}, {144, 144, 144}}, 160.0 * 160 * 160 - 128.0 * 128 * 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.thickness);
        TearDown();
        SetUp();
        select(box(kCube));
        const std::string before = dump();

        ASSERT_TRUE(Map_MakeHollow(w, c.thickness));

        const std::vector<BrushRecord*> walls = brushesOf(worldspawn);
        ASSERT_EQ(walls.size(), 6u);
        EXPECT_NEAR(totalVolume(walls), c.wallVolume, 1.0);
        ASSERT_NE(walls.front()->group, nullptr);
        for (const BrushRecord* wall : walls) {
            EXPECT_TRUE(inside(wall, c.outline));
            EXPECT_TRUE(wall->flags & BrushFlags::Selected);
            EXPECT_EQ(wall->group, walls.front()->group);
            for (int k = 0; k < 3; ++k)
                EXPECT_TRUE(wall->maxs[k] - wall->mins[k] == 16.0f || wall->maxs[k] - wall->mins[k] >= 96.0f);
        }
        EXPECT_EQ(w->selectedGroups, walls.front()->group);
        EXPECT_STREQ(Undo_NewestLevel(doc.undo)->name, "Make Hollow");
        oracle(before, dump());
    }
}

TEST_F(HollowTest, BrushEntityWallsAreNotGrouped) {
    EntityRecord* door = brushEntity();
    select(box(door, kCube));
    const std::string before = dump();
    ASSERT_TRUE(Map_MakeHollow(w, 16));
    ASSERT_EQ(brushesOf(door).size(), 6u);
    for (const BrushRecord* wall : brushesOf(door))
        EXPECT_EQ(wall->group, nullptr);
    EXPECT_EQ(w->groups, nullptr);
    oracle(before, dump());
}

// Twice the thickness must leave room inside every selected brush.
TEST_F(HollowTest, WallsTooThickAreRefused) {
    select(box(kCube));
    select(box({{200, 0, 0}, {232, 128, 128}}));
    const std::string before = dump();
    EXPECT_FALSE(Map_MakeHollow(w, 16));
    EXPECT_FALSE(Map_MakeHollow(w, 0));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(Undo_NewestLevel(doc.undo), nullptr);
    EXPECT_TRUE(Map_MakeHollow(w, 15));
}

TEST_F(HollowTest, CommandAsksAndChecksTheThickness) {
    struct Case {
        const char* name;
        int brushes;
        int32_t answer;                   // to the several-brushes question
        std::optional<int32_t> thickness; // none: the input is cancelled
        bool done;
        const char* lastMessage; // null: the last request was the input
    };
    const Case cases[] = {
        {"no brush", 0, 0, std::nullopt, false, "There are no eligible selected objects."},
        {"several, No", 2, PromptButton::No, std::nullopt, false,
         "Do you want to turn each of the selected solids\ninto a hollow room?"},
        {"cancelled", 1, 0, std::nullopt, false, nullptr},
        {"zero", 1, 0, 0, false, "The width of the walls must be non-zero."},
        {"too thick", 1, 0, 64, false,
         "The walls are too thick: twice the thickness must fit inside every selected solid."},
        {"several, Yes", 2, PromptButton::Yes, 8, true, nullptr},
        {"outward", 1, 0, -8, true, nullptr},
    };
    const MainSettings& settings = Sys_Settings();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        cPromptScript script;
        for (int i = 0; i < c.brushes; ++i)
            select(box({{float(200 * i), 0, 0}, {float(200 * i + 128), 128, 128}}));
        if (c.answer) script.answerButton(c.answer);
        if (c.thickness) script.answerInteger(*c.thickness);

        EXPECT_EQ(Map_CmdMakeHollow(w), c.done);
        EXPECT_EQ(brushesOf(worldspawn).size(), size_t(c.done ? 6 * c.brushes : c.brushes));
        ASSERT_FALSE(script.asked.isEmpty());
        const PromptRequest& last = script.asked.last();
        if (c.lastMessage) {
            EXPECT_EQ(last.text, QString::fromLatin1(c.lastMessage));
            EXPECT_EQ(last.icon, PromptIcon::Warning);
        } else {
            EXPECT_EQ(last.kind, PromptKind::Integer);
            EXPECT_EQ(last.title, "Make Hollow");
            EXPECT_EQ(last.text,
                      "How thick do you want the walls?\nUse a negative number to hollow outward.");
            EXPECT_EQ(last.value, settings.CurrentGridSize);
            EXPECT_EQ(last.minimum, -settings.MaxWorldSize);
            EXPECT_EQ(last.maximum, settings.MaxWorldSize);
            EXPECT_EQ(last.step, 1);
        }
    }
}

// ---- Clip ------------------------------------------------------------------------------------------------

constexpr Box kStraddling = {{0, 0, 0}, {128, 64, 64}};
constexpr Box kFront = {{200, 0, 0}, {264, 64, 64}};
constexpr Box kBack = {{-100, 0, 0}, {-36, 64, 64}};
constexpr Box kFrontPiece = {{64, 0, 0}, {128, 64, 64}};
constexpr Box kBackPiece = {{0, 0, 0}, {64, 64, 64}};

// The plane x = 64 through one brush, with one brush wholly on each side.
TEST_F(ClipTest, KeepFrontBackOrBoth) {
    struct Case {
        int32_t toolMode;
        std::vector<Box> selected;
    };
    const Case cases[] = {
        {0, {kFront, kFrontPiece}},
        {1, {kBack, kBackPiece}},
        {2, {kFront, kBack, kFrontPiece, kBackPiece}},
    };
    const float normal[3] = {1, 0, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toolMode);
        TearDown();
        SetUp();
        for (const Box& b : {kStraddling, kFront, kBack})
            select(box(b));
        const std::string before = dump();

        ASSERT_TRUE(Map_CmdClipObjects(w, normal, 64, c.toolMode));

        const std::vector<BrushRecord*> selected = selectedBrushes();
        EXPECT_EQ(brushesOf(worldspawn).size(), c.selected.size());
        ASSERT_EQ(selected.size(), c.selected.size());
        for (const Box& b : c.selected)
            EXPECT_EQ(countWithBounds(selected, b), 1);
        EXPECT_STREQ(Undo_NewestLevel(doc.undo)->name, "Clip Objects");
        oracle(before, dump());
    }
}

// A brush entity whose only brush is clipped away goes with it, also when only the brush's bounds
// crossed the plane and the split left nothing on the kept side.
TEST_F(ClipTest, BrushEntityClippedAwayIsRemoved) {
    struct Case {
        const char* name;
        float normal[3];
        float distance;
    };
    const float d = 64.0f / std::sqrt(2.0f) + 4.0f; // just outside the diamond's face
    const Case cases[] = {
        {"wholly behind", {1, 0, 0}, 100},
        {"bounds only", {float(M_SQRT1_2), float(M_SQRT1_2), 0}, d},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        EntityRecord* door = brushEntity();
        select(brush(
            door,
            {{1, 1, 0, 64}, {1, -1, 0, 64}, {-1, 1, 0, 64}, {-1, -1, 0, 64}, {0, 0, 1, 64}, {0, 0, -1, 0}}));
        const std::string before = dump();

        ASSERT_TRUE(Map_ClipObjects(w, c.normal, c.distance, ClipKeep::Front));

        for (EntityRecord* e = w->entities; e; e = e->next)
            EXPECT_NE(e, door);
        EXPECT_EQ(w->selectedBrushes, nullptr);
        oracle(before, dump());
    }
}

TEST_F(ClipTest, BadKeepMaskOrPlaneIsRefused) {
    select(box(kStraddling));
    const std::string before = dump();
    const float normal[3] = {1, 0, 0};
    const float zero[3] = {0, 0, 0};
    EXPECT_FALSE(Map_ClipObjects(w, normal, 64, 0));
    EXPECT_FALSE(Map_ClipObjects(w, normal, 64, 4));
    EXPECT_FALSE(Map_ClipObjects(w, zero, 64, ClipKeep::Both));
    EXPECT_FALSE(Map_CmdClipObjects(w, normal, 64, 3));
    EXPECT_EQ(dump(), before);
    EXPECT_EQ(Undo_NewestLevel(doc.undo), nullptr);
}

} // namespace
