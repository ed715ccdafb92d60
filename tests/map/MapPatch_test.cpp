// Patch records, creation on a brush and the control-grid edits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "BrushFixture.h"
#include "ConsoleCapture.h"
#include "gamedata/TextureManager.h"
#include "map/MapPatch.h"

namespace {

// A patch whose point (c, r) lies at (c * 10, r * 100, 0) with s = c, t = r and flags = c * 32 + r,
// so every point tells where it came from.
cMapPatch* makeGridPatch(int columns, int rows) {
    cMapPatch* patch = Patch_Alloc(columns, rows)->handle;
    PatchRecord* r = patch->record;
    for (int c = 0; c < r->columns; ++c) {
        for (int row = 0; row < r->rows; ++row) {
            PatchPoint& p = r->points[c][row];
            p.xyz[0] = float(c * 10);
            p.xyz[1] = float(row * 100);
            p.s = float(c);
            p.t = float(row);
            p.flags = c * 32 + row;
        }
    }
    return patch;
}

void expectPointAt(const PatchPoint& p, float x, float y, float z) {
    EXPECT_NEAR(p.xyz[0], x, 1e-4f);
    EXPECT_NEAR(p.xyz[1], y, 1e-4f);
    EXPECT_NEAR(p.xyz[2], z, 1e-4f);
}

bool samePoint(const PatchPoint& a, const PatchPoint& b) {
    return std::memcmp(&a, &b, sizeof(PatchPoint)) == 0;
}

} // namespace

struct CountCase {
    int columns, rows;
    int expectColumns, expectRows;
};

class PatchCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(PatchCountTest, CountsBecomeOddWithinTheGrid) {
    const CountCase& c = GetParam();
    PatchRecord* rec = Patch_Alloc(c.columns, c.rows);
    EXPECT_EQ(rec->columns, c.expectColumns);
    EXPECT_EQ(rec->rows, c.expectRows);
    EXPECT_TRUE(rec->flags & PatchFlags::NeedsUpdate);
    EXPECT_EQ(rec->brush, nullptr);
    Patch_Delete(rec);
}

INSTANTIATE_TEST_SUITE_P(Table, PatchCountTest,
                         ::testing::Values(CountCase{4, 2, 5, 3}, CountCase{32, 30, 31, 31},
                                           CountCase{3, 31, 3, 31}, CountCase{0, 2, 3, 3},
                                           CountCase{1, 33, 3, 31}, CountCase{-7, 1001, 3, 31},
                                           CountCase{9, 17, 9, 17}));

TEST(PatchRecordTest, CountsWrittenOutOfRangeAreClampedWhenRead) {
    // A plugin writes the record directly; tessellating must neither overrun nor underrun the grid.
    cMapPatch* patch = Patch_Alloc(3, 3)->handle;
    patch->record->columns = 33;
    patch->record->rows = -1;
    patch->tessellate();
    EXPECT_EQ(patch->record->columns, 31);
    EXPECT_EQ(patch->record->rows, 3);
    EXPECT_EQ(patch->record->vertexCount, 15 * 36);
    delete patch;
}

class PatchOnBrushTest : public BrushFixture {};

TEST_F(PatchOnBrushTest, CreateAndDeleteTieThePatchToItsBrush) {
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
    const TextureInfo info = Test_TextureInfo("curves/pipe");
    PatchRecord* rec = Patch_Create(brush, &info, 4, 2);
    EXPECT_EQ(rec->columns, 5);
    EXPECT_EQ(rec->rows, 3);
    EXPECT_EQ(rec->brush, brush);
    EXPECT_EQ(brush->patch, rec);
    EXPECT_EQ(brush->kind, BrushKind::Patch);
    EXPECT_STREQ(rec->texInfo.name, "curves/pipe");
    ASSERT_NE(rec->texture, nullptr);
    const int32_t refs = rec->texture->refCount;

    ShaderRecord* texture = rec->texture;
    Patch_Delete(rec);
    EXPECT_EQ(brush->patch, nullptr);
    EXPECT_EQ(brush->kind, BrushKind::Solid);
    EXPECT_EQ(texture->refCount, refs - 1);
    // Without a brush nothing would own the patch.
    EXPECT_EQ(Patch_Create(nullptr, &info, 3, 3), nullptr);
}

TEST_F(PatchOnBrushTest, DestroyingTheBrushDestroysThePatch) {
    BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
    const TextureInfo info = Test_TextureInfo();
    PatchRecord* rec = Patch_Create(brush, &info, 3, 3);
    rec->handle->tessellate();
    Brush_Delete(t.handle(), brush); // the sanitizers check nothing leaks or dangles
}

struct LineLimitCase {
    bool add;
    bool rows;
    int start;
    int expect;
    const char* warning; // null: no warning
};

class PatchLineLimitTest : public ::testing::TestWithParam<LineLimitCase> {};

TEST_P(PatchLineLimitTest, CountsStayWithin3To31) {
    const LineLimitCase& c = GetParam();
    cMapPatch* patch = makeGridPatch(c.rows ? 5 : c.start, c.rows ? c.start : 5);
    cConsoleCapture console;
    const bool done = c.add ? patch->addLines(c.rows, true) : Patch_RemoveLines(patch->record, c.rows, false);
    EXPECT_EQ(done, c.warning == nullptr);
    EXPECT_EQ(c.rows ? patch->record->rows : patch->record->columns, c.expect);
    EXPECT_EQ(c.rows ? patch->record->columns : patch->record->rows, 5);
    if (c.warning)
        EXPECT_TRUE(console.contains(c.warning)) << console.lines.join('\n').toStdString();
    else
        EXPECT_TRUE(console.lines.isEmpty());
    delete patch;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PatchLineLimitTest,
    ::testing::Values(
        LineLimitCase{true, true, 29, 31, nullptr},
        LineLimitCase{true, true, 31, 31, "can't add more rows to the patch (maximum is 31)"},
        LineLimitCase{true, false, 31, 31, "can't add more columns to the patch (maximum is 31)"},
        LineLimitCase{false, true, 5, 3, nullptr},
        LineLimitCase{false, true, 3, 3, "can't remove rows from the patch (minimum is 3)"},
        LineLimitCase{false, false, 3, 3, "can't remove columns from the patch (minimum is 3)"}));

TEST(PatchGridTest, AppendingColumnsSplitsTheLastSegmentInThirds) {
    cMapPatch* patch = makeGridPatch(5, 3);
    PatchRecord* r = patch->record;
    const PatchPoint before = r->points[3][1];
    const PatchPoint end = r->points[4][1];
    ASSERT_TRUE(patch->addLines(false, true));
    ASSERT_EQ(r->columns, 7);
    for (int row = 0; row < 3; ++row) {
        expectPointAt(r->points[3][row], 30, row * 100.0f, 0);
        expectPointAt(r->points[4][row], 30 + 10 / 3.0f, row * 100.0f, 0);
        expectPointAt(r->points[5][row], 30 + 20 / 3.0f, row * 100.0f, 0);
        expectPointAt(r->points[6][row], 40, row * 100.0f, 0);
    }
    // The new points carry the other fields of the point before the split segment.
    EXPECT_EQ(r->points[4][1].flags, before.flags);
    EXPECT_EQ(r->points[5][1].s, before.s);
    EXPECT_TRUE(samePoint(r->points[6][1], end));
    delete patch;
}

TEST(PatchGridTest, PrependingRowsSplitsTheFirstSegmentInThirds) {
    cMapPatch* patch = makeGridPatch(3, 3);
    PatchRecord* r = patch->record;
    const PatchPoint first = r->points[2][0];
    const PatchPoint second = r->points[2][1];
    ASSERT_TRUE(patch->addLines(true, false));
    ASSERT_EQ(r->rows, 5);
    EXPECT_TRUE(samePoint(r->points[2][0], first));
    expectPointAt(r->points[2][1], 20, 100 / 3.0f, 0);
    EXPECT_EQ(r->points[2][1].flags, second.flags);
    expectPointAt(r->points[2][2], 20, 200 / 3.0f, 0);
    EXPECT_EQ(r->points[2][2].flags, first.flags);
    EXPECT_TRUE(samePoint(r->points[2][3], second));
    expectPointAt(r->points[2][4], 20, 200, 0);
    delete patch;
}

TEST(PatchGridTest, RemovingAtTheStartDropsTheFirstTwoLines) {
    cMapPatch* patch = makeGridPatch(7, 3);
    ASSERT_TRUE(Patch_RemoveLines(patch->record, false, true));
    EXPECT_EQ(patch->record->columns, 5);
    EXPECT_EQ(patch->record->points[0][1].flags, 2 * 32 + 1);
    EXPECT_EQ(patch->record->points[4][2].flags, 6 * 32 + 2);
    delete patch;
}

TEST(PatchGridTest, InvertSwapsRowsWithinEveryColumn) {
    cMapPatch* patch = makeGridPatch(3, 5);
    patch->invertMatrix();
    for (int c = 0; c < 3; ++c)
        for (int row = 0; row < 5; ++row)
            EXPECT_EQ(patch->record->points[c][row].flags, c * 32 + (4 - row));
    delete patch;
}

TEST(PatchGridTest, TransposeSwapsCountsAndTwiceMirrorsBothWays) {
    cMapPatch* patch = makeGridPatch(5, 3);
    PatchRecord* r = patch->record;
    patch->transposeMatrix();
    EXPECT_EQ(r->columns, 3);
    EXPECT_EQ(r->rows, 5);
    // New point (row as column, columns - 1 - c as row) is old (c, row).
    EXPECT_EQ(r->points[1][4 - 2].flags, 2 * 32 + 1);
    patch->transposeMatrix();
    EXPECT_EQ(r->columns, 5);
    EXPECT_EQ(r->rows, 3);
    for (int c = 0; c < 5; ++c)
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(r->points[4 - c][2 - row].flags, c * 32 + row);
    delete patch;
}

TEST(PatchGridTest, SmoothColumnsPutsEvenColumnsBetweenTheirNeighbours) {
    cMapPatch* patch = makeGridPatch(5, 3);
    PatchRecord* r = patch->record;
    patch->smoothColumns();
    // Column 0 and the last column sit between column 3 and column 1 (the seam wraps).
    expectPointAt(r->points[0][1], 20, 100, 0);
    expectPointAt(r->points[2][1], 20, 100, 0);
    expectPointAt(r->points[4][1], 20, 100, 0);
    expectPointAt(r->points[1][1], 10, 100, 0);
    delete patch;
}

TEST(PatchGridTest, RedisperseSpacesPointsEvenlyAndLeavesClosedLinesAlone) {
    cMapPatch* patch = makeGridPatch(3, 5);
    PatchRecord* r = patch->record;
    r->points[0][1].xyz[1] = 7.0f; // uneven column 0
    r->points[1][4].xyz[1] = 0.0f; // column 1 begins and ends at the same place
    r->points[1][2].xyz[2] = 55.0f;
    patch->redisperse(true);
    for (int row = 0; row < 5; ++row)
        EXPECT_NEAR(r->points[0][row].xyz[1], row * 100.0f, 1e-3f);
    EXPECT_EQ(r->points[1][2].xyz[2], 55.0f);
    EXPECT_EQ(r->points[1][2].xyz[1], 200.0f);
    delete patch;
}

struct ClosedCase {
    float gap;
    bool closed;
};

class PatchClosedTest : public ::testing::TestWithParam<ClosedCase> {};

TEST_P(PatchClosedTest, EndPointsWithinOneUnitCoincide) {
    const ClosedCase& c = GetParam();
    cMapPatch* patch = makeGridPatch(3, 3);
    PatchRecord* r = patch->record;
    // Close both ways, with the given gap between the end lines.
    for (int i = 0; i < 3; ++i) {
        r->points[2][i].xyz[0] = r->points[0][i].xyz[0] + c.gap;
        r->points[2][i].xyz[1] = r->points[0][i].xyz[1];
    }
    for (int i = 0; i < 3; ++i) {
        r->points[i][2] = r->points[i][0];
        r->points[i][2].xyz[2] += c.gap;
    }
    bool acrossColumns = !c.closed, acrossRows = !c.closed;
    patch->checkClosed(&acrossColumns, &acrossRows);
    EXPECT_EQ(acrossColumns, c.closed);
    EXPECT_EQ(acrossRows, c.closed);
    delete patch;
}

INSTANTIATE_TEST_SUITE_P(Table, PatchClosedTest,
                         ::testing::Values(ClosedCase{0.0f, true}, ClosedCase{0.9f, true},
                                           ClosedCase{1.1f, false}));

TEST(PatchRandomizeTest, ClosedSeamStaysClosed) {
    cMapPatch* patch = makeGridPatch(5, 3);
    PatchRecord* r = patch->record;
    for (int row = 0; row < 3; ++row)
        r->points[4][row].xyz[0] = r->points[0][row].xyz[0];
    const PatchRandomParams params{8.0f, PatchRandomFlags::AlongX | PatchRandomFlags::AlongZ};
    patch->randomize(&params);
    for (int row = 0; row < 3; ++row)
        for (int a = 0; a < 3; ++a)
            EXPECT_EQ(r->points[4][row].xyz[a], r->points[0][row].xyz[a]);
    delete patch;
}

TEST(PatchRandomizeTest, FlagsChooseThePointsAndSnapping) {
    cMapPatch* patch = makeGridPatch(5, 5);
    PatchRecord* r = patch->record;
    PatchRecord before = *r;
    const PatchRandomParams params{20.0f, PatchRandomFlags::AlongZ | PatchRandomFlags::KeepBorder |
                                              PatchRandomFlags::SnapToUnits};
    patch->randomize(&params);
    for (int c = 0; c < 5; ++c) {
        for (int row = 0; row < 5; ++row) {
            const PatchPoint& p = r->points[c][row];
            const bool border = c == 0 || c == 4 || row == 0 || row == 4;
            if (border) {
                EXPECT_TRUE(samePoint(p, before.points[c][row]));
            }
            EXPECT_EQ(p.xyz[0], before.points[c][row].xyz[0]);
            EXPECT_EQ(p.xyz[2], std::floor(p.xyz[2]));
            EXPECT_LE(std::fabs(p.xyz[2]), 20.0f);
        }
    }
    delete patch;
}
