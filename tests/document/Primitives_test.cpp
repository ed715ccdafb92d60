#include "document/Primitives.h"

#include <QDialog>
#include <cctype>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "DocumentFixture.h"
#include "dialogs/application/ArchDialog.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "kstdlib/kstdlib.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapPatch.h"

namespace {

// A document with a world entity, the way a new map starts.
class cPrimitiveMap {
public:
    cPrimitiveMap() { worldspawn = Test_NewDocument(&document); }
    ~cPrimitiveMap() { Project_Destroy(&document); }
    cPrimitiveMap(const cPrimitiveMap&) = delete;
    cPrimitiveMap& operator=(const cPrimitiveMap&) = delete;

    MapHandle map() { return Map_Handle(document.world); }
    UndoHistory* history() { return document.undo; }
    std::vector<BrushRecord*> brushes() const {
        std::vector<BrushRecord*> out;
        for (BrushRecord* b = worldspawn->firstBrush; b; b = b->next)
            out.push_back(b);
        return out;
    }

    cConsoleCapture console; // first: it provides the main window the document reads
    MapDocument document;
    EntityRecord* worldspawn = nullptr;
};

struct ViewCase {
    const char* name;
    int32_t axes[3];
    bool handed;
};
// Top (x/y) and front (y/z) are even permutations; the side view (x/z) is odd.
constexpr ViewCase kViews[] = {
    {"top", {0, 1, 2}, true}, {"front", {1, 2, 0}, true}, {"side", {0, 2, 1}, false}};

// Different extents on every axis, so a mixed-up axis shows.
constexpr float kMins[3] = {16, -48, 8};
constexpr float kMaxs[3] = {144, 48, 72};

PrimitiveParams makeParams(MapHandle map, const ViewCase& view, int32_t count, int32_t extraFlags = 0,
                           const float* mins = kMins, const float* maxs = kMaxs) {
    PrimitiveParams p;
    std::memset(&p, 0, sizeof p);
    p.map = map;
    p.texInfo.sScale = p.texInfo.tScale = 1.0f;
    p.texInfo.alignment = 1;
    std::strcpy(p.texInfo.name, "notexture");
    p.count = count;
    p.flags = (view.handed ? PrimitiveFlag::Handedness : 0) | extraFlags;
    std::memcpy(p.axes, view.axes, sizeof p.axes);
    std::memcpy(p.mins, mins, sizeof p.mins);
    std::memcpy(p.maxs, maxs, sizeof p.maxs);
    return p;
}

int faceCount(const BrushRecord* brush) {
    int n = 0;
    for (const FaceRecord* f = brush->firstFace; f; f = f->next)
        ++n;
    return n;
}

int uniquePointCount(const BrushRecord* brush) {
    std::vector<const float*> seen;
    for (const FaceRecord* f = brush->firstFace; f; f = f->next) {
        for (int i = 0; i < f->vertexCount; ++i) {
            const float* v = f->vertices[i].xyz;
            bool known = false;
            for (const float* s : seen)
                known |= std::fabs(s[0] - v[0]) < 1e-3f && std::fabs(s[1] - v[1]) < 1e-3f &&
                         std::fabs(s[2] - v[2]) < 1e-3f;
            if (!known) seen.push_back(v);
        }
    }
    return int(seen.size());
}

// Every face plane has the whole solid behind it: an inward face would have it in front.
void expectOutward(const BrushRecord* brush) {
    ASSERT_GE(faceCount(brush), 4);
    for (const FaceRecord* f = brush->firstFace; f; f = f->next) {
        ASSERT_GE(f->vertexCount, 3);
        bool strictlyBehind = false;
        for (const FaceRecord* g = brush->firstFace; g; g = g->next) {
            for (int i = 0; i < g->vertexCount; ++i) {
                const float* v = g->vertices[i].xyz;
                const float side = f->normal[0] * v[0] + f->normal[1] * v[1] + f->normal[2] * v[2] - f->dist;
                EXPECT_LE(side, 0.05f) << "face normal (" << f->normal[0] << ", " << f->normal[1] << ", "
                                       << f->normal[2] << ") points into the solid";
                strictlyBehind |= side < -0.5f;
            }
        }
        EXPECT_TRUE(strictlyBehind);
    }
}

// A control point in view terms (H, V, D).
struct HVD {
    float h, v, d;
};

struct ViewBox {
    HVD lo, hi, c;
};

ViewBox viewBox(const ViewCase& view, const float* mins = kMins, const float* maxs = kMaxs) {
    auto pick = [&](const float* a) { return HVD{a[view.axes[0]], a[view.axes[1]], a[view.axes[2]]}; };
    ViewBox b{pick(mins), pick(maxs), {}};
    b.c = {(b.lo.h + b.hi.h) / 2, (b.lo.v + b.hi.v) / 2, (b.lo.d + b.hi.d) / 2};
    return b;
}

HVD point(const PatchRecord* patch, const ViewCase& view, int col, int row) {
    const float* p = patch->points[col][row].xyz;
    return {p[view.axes[0]], p[view.axes[1]], p[view.axes[2]]};
}

void expectNear(const HVD& got, const HVD& want, const char* what, int col, int row, float tol = 1e-3f) {
    EXPECT_NEAR(got.h, want.h, tol) << what << " column " << col << " row " << row << " (H)";
    EXPECT_NEAR(got.v, want.v, tol) << what << " column " << col << " row " << row << " (V)";
    EXPECT_NEAR(got.d, want.d, tol) << what << " column " << col << " row " << row << " (D)";
}

// Corners of the H/V rectangle counter-clockwise from (lo, lo).
HVD corner(const ViewBox& b, int k, float d) {
    const float h[4] = {b.lo.h, b.hi.h, b.hi.h, b.lo.h};
    const float v[4] = {b.lo.v, b.lo.v, b.hi.v, b.hi.v};
    return {h[k % 4], v[k % 4], d};
}

// The round tube of the 9-column shapes: odd columns on the corners, even ones between them.
void expectTubeRing(const PatchRecord* patch, const ViewCase& view, const ViewBox& b, int row, float d) {
    for (int k = 0; k < 4; ++k) {
        const int col = view.handed ? 1 + 2 * k : 7 - 2 * k;
        expectNear(point(patch, view, col, row), corner(b, k, d), "corner", col, row);
    }
    for (int col = 0; col <= 8; col += 2) {
        const HVD a = point(patch, view, col == 0 ? 7 : col - 1, row);
        const HVD z = point(patch, view, col == 8 ? 1 : col + 1, row);
        expectNear(point(patch, view, col, row), {(a.h + z.h) / 2, (a.v + z.v) / 2, d}, "side midpoint", col,
                   row);
    }
}

// The exact ring: columns 30° apart from angle 0 at (hi[H], c[V]); odd ones pushed out.
void expectExactRing(const PatchRecord* patch, const ViewCase& view, const ViewBox& b, int row, float scale,
                     float d) {
    const float rh = (b.hi.h - b.lo.h) / 2, rv = (b.hi.v - b.lo.v) / 2;
    const float push = 1.0f / std::cos(3.1415927f / 6);
    for (int col = 0; col < 13; ++col) {
        const int i = view.handed ? col : 12 - col;
        const float f = (i % 2 ? push : 1.0f) * scale;
        const float theta = float(i) * 3.1415927f / 6;
        expectNear(point(patch, view, col, row),
                   {b.c.h + f * rh * std::cos(theta), b.c.v + f * rv * std::sin(theta), d}, "exact ring", col,
                   row, 2e-3f);
    }
}

struct ProfileCorner {
    int h, v; // 0 lo, 1 mid, 2 hi
};

void expectProfile(const PatchRecord* patch, const ViewCase& view, const ViewBox& b,
                   std::initializer_list<ProfileCorner> columns) {
    auto value = [](float lo, float mid, float hi, int which) {
        return which == 0 ? lo : which == 1 ? mid : hi;
    };
    const int n = int(columns.size());
    ASSERT_EQ(patch->columns, n);
    int i = 0;
    for (const ProfileCorner& pc : columns) {
        const int col = view.handed ? i : n - 1 - i;
        const float depths[3] = {b.lo.d, b.c.d, b.hi.d};
        for (int row = 0; row < 3; ++row)
            expectNear(point(patch, view, col, row),
                       {value(b.lo.h, b.c.h, b.hi.h, pc.h), value(b.lo.v, b.c.v, b.hi.v, pc.v), depths[row]},
                       "profile", col, row);
        ++i;
    }
}

// ---- The table: every row, in every view, at its lowest, default and highest count ----------

struct TableCase {
    int row;
    int view;
    int32_t count;
};

std::vector<TableCase> tableCases() {
    std::vector<TableCase> cases;
    for (int row = 0; row < kBuiltinPrimitiveCount; ++row) {
        const PrimitiveEntry& e = kBuiltinPrimitives[row];
        std::vector<int32_t> counts = {e.count};
        if (e.maximum > 0) counts = {e.minimum, e.count, e.maximum};
        for (int view = 0; view < 3; ++view)
            for (int32_t count : counts)
                cases.push_back({row, view, count});
    }
    return cases;
}

std::string tableCaseName(const ::testing::TestParamInfo<TableCase>& info) {
    const PrimitiveEntry& e = kBuiltinPrimitives[info.param.row];
    std::string name = std::string(e.category[1] == 'c' ? "curve_" : "") + e.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name + "_" + kViews[info.param.view].name + "_" + std::to_string(info.param.count);
}

constexpr const char* kUndoNames[kBuiltinPrimitiveCount] = {
    "Create Block",    "Create Wedge",          "Create Cylinder",     "Create Spike",
    "Create Sphere",   "Create Rock",           "Create Arch",         "Create Block",
    "Create Cone",     "Create Exact Cone",     "Create Cylinder",     "Create Cylinder",
    "Create Cylinder", "Create Exact Cylinder", "Create Sphere",       "Create Exact Sphere",
    "Create Bevel",    "Create Endcap",         "Create Square Bevel", "Create Square Endcap",
    "Create Plane",
};

class PrimitiveTable : public ::testing::TestWithParam<TableCase> {
protected:
    void checkBrushes(const std::vector<BrushRecord*>& brushes, const TableCase& c, const ViewBox& b) {
        const int n = c.count;
        for (const BrushRecord* brush : brushes)
            expectOutward(brush);
        if (c.row == 6) {
            // The arch dialog's defaults: 8 sides over 180°, walls thinner than the radius.
            EXPECT_EQ(brushes.size(), 8u);
            for (const BrushRecord* brush : brushes)
                EXPECT_EQ(faceCount(brush), 6);
            return;
        }
        ASSERT_EQ(brushes.size(), 1u);
        const BrushRecord* brush = brushes[0];
        struct Counts {
            int faces, points;
        };
        const Counts expected[] = {{6, 8}, {5, 6}, {n + 2, 2 * n}, {n + 1, n + 1}, {n * n, n * (n - 1) + 2}};
        if (c.row < 5) {
            EXPECT_EQ(faceCount(brush), expected[c.row].faces);
            EXPECT_EQ(uniquePointCount(brush), expected[c.row].points);
        }
        if (c.row == 5) {
            EXPECT_GE(faceCount(brush), 4);
            EXPECT_LE(faceCount(brush), n);
        }
        if (c.row == 3) {
            // The apex over the box centre at the top.
            bool apex = false;
            for (const FaceRecord* f = brush->firstFace; f; f = f->next)
                for (int i = 0; i < f->vertexCount; ++i) {
                    const float* v = f->vertices[i].xyz;
                    const ViewCase& view = kViews[c.view];
                    apex |= v[view.axes[0]] == b.c.h && v[view.axes[1]] == b.c.v && v[view.axes[2]] == b.hi.d;
                }
            EXPECT_TRUE(apex);
        }
        if (c.row == 0 || c.row == 1 || c.row == 5) {
            // Block and wedge reach the box on every axis; the rock is scaled onto it exactly.
            for (int a = 0; a < 3; ++a) {
                EXPECT_NEAR(brush->mins[a], kMins[a], 1e-3f) << "axis " << a;
                EXPECT_NEAR(brush->maxs[a], kMaxs[a], 1e-3f) << "axis " << a;
            }
        }
    }

    void checkPatch(const PatchRecord* patch, const TableCase& c, const ViewBox& b) {
        const ViewCase& view = kViews[c.view];
        struct Grid {
            int columns, rows;
        };
        const Grid grids[] = {{9, 3}, {9, 3},  {13, 3}, {9, 3}, {9, 7}, {9, 11}, {13, 3},
                              {9, 5}, {13, 7}, {3, 3},  {5, 3}, {5, 3}, {7, 3},  {3, 3}};
        const Grid grid = grids[c.row - 7];
        ASSERT_EQ(patch->columns, grid.columns);
        ASSERT_EQ(patch->rows, grid.rows);
        const HVD centreLo{b.c.h, b.c.v, b.lo.d};
        const HVD centreHi{b.c.h, b.c.v, b.hi.d};
        switch (c.row) {
        case 7: // curve block: even columns on the corners, odd ones on the side midpoints
            for (int row = 0; row < 3; ++row) {
                const float d = row == 0 ? b.lo.d : row == 1 ? b.c.d : b.hi.d;
                for (int m = 0; m <= 4; ++m) {
                    const int k = view.handed ? m % 4 : 3 - m % 4;
                    expectNear(point(patch, view, 2 * m, row), corner(b, k, d), "block corner", 2 * m, row);
                }
                for (int col = 1; col < 9; col += 2) {
                    const HVD a = point(patch, view, col - 1, row), z = point(patch, view, col + 1, row);
                    expectNear(point(patch, view, col, row), {(a.h + z.h) / 2, (a.v + z.v) / 2, d},
                               "block side", col, row);
                }
            }
            break;
        case 8: // cone: the ring at the bottom and mid height, the apex at the top centre
            expectTubeRing(patch, view, b, 0, b.lo.d);
            expectTubeRing(patch, view, b, 1, b.c.d);
            for (int col = 0; col < 9; ++col)
                expectNear(point(patch, view, col, 2), centreHi, "apex", col, 2);
            break;
        case 9: // exact cone
            for (int row = 0; row < 3; ++row)
                expectExactRing(patch, view, b, row, 1.0f - row / 2.0f, b.lo.d + row * (b.hi.d - b.lo.d) / 2);
            break;
        case 10:
            for (int row = 0; row < 3; ++row)
                expectTubeRing(patch, view, b, row, b.lo.d + row * (b.hi.d - b.lo.d) / 2);
            break;
        case 11:
            expectTubeRing(patch, view, b, 0, b.lo.d);
            expectTubeRing(patch, view, b, 6, b.hi.d);
            break;
        case 12: // rows evenly spaced
            for (int row = 0; row < 11; ++row)
                expectTubeRing(patch, view, b, row, b.lo.d + row * (b.hi.d - b.lo.d) / 10);
            break;
        case 13:
            for (int row = 0; row < 3; ++row)
                expectExactRing(patch, view, b, row, 1.0f, b.lo.d + row * (b.hi.d - b.lo.d) / 2);
            break;
        case 14: // curve sphere: poles on the centre line, rows 1 and 3 on the box's bottom and top
            for (int col = 0; col < 9; ++col) {
                expectNear(point(patch, view, col, 0), centreLo, "bottom pole", col, 0);
                expectNear(point(patch, view, col, 4), centreHi, "top pole", col, 4);
            }
            expectTubeRing(patch, view, b, 1, b.lo.d);
            expectTubeRing(patch, view, b, 2, b.c.d);
            expectTubeRing(patch, view, b, 3, b.hi.d);
            break;
        case 15: // exact sphere: poles at lo and hi depth, first and last columns together
            for (int col = 0; col < 13; ++col) {
                expectNear(point(patch, view, col, 0), centreLo, "bottom pole", col, 0);
                expectNear(point(patch, view, col, 6), centreHi, "top pole", col, 6);
            }
            for (int row = 0; row < 7; ++row)
                expectNear(point(patch, view, 0, row), point(patch, view, 12, row), "seam", 0, row);
            // 90° round from angle 0 lies toward +V, or toward -V with the columns reversed.
            EXPECT_EQ(point(patch, view, 3, 3).v > b.c.v, view.handed);
            // The equator row is a control row, pushed out like the odd columns.
            expectNear(point(patch, view, 0, 3),
                       {b.c.h + (b.hi.h - b.c.h) / std::cos(3.1415927f / 6), b.c.v, b.c.d}, "equator", 0, 3);
            break;
        case 16:
            expectProfile(patch, view, b, {{0, 0}, {2, 0}, {2, 2}});
            break;
        case 17:
            expectProfile(patch, view, b, {{0, 0}, {0, 2}, {1, 2}, {2, 2}, {2, 0}});
            break;
        case 18:
            expectProfile(patch, view, b, {{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}});
            break;
        case 19:
            expectProfile(patch, view, b, {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}, {2, 0}});
            break;
        case 20: // plane: a flat grid at mid depth, whatever the handedness
            for (int col = 0; col < 3; ++col)
                for (int row = 0; row < 3; ++row)
                    expectNear(
                        point(patch, view, col, row),
                        {b.lo.h + col * (b.hi.h - b.lo.h) / 2, b.lo.v + row * (b.hi.v - b.lo.v) / 2, b.c.d},
                        "plane", col, row);
            break;
        default:
            FAIL() << "no expectation for row " << c.row;
        }
    }
};

TEST_P(PrimitiveTable, BuildsTheShapeAndOneUndoRemovesIt) {
    const TableCase c = GetParam();
    const PrimitiveEntry& entry = kBuiltinPrimitives[c.row];
    cPrimitiveMap m;
    PrimitiveParams p = makeParams(m.map(), kViews[c.view], c.count);
    K_SRand(4711); // the rock
    int32_t made = 0;
    {
        // The arch and the plane ask their dialogs; their defaults answer.
        cDialogAnswer answer([](QDialog* dialog) {
            if (auto* arch = qobject_cast<cArchDialog*>(dialog)) {
                ArchParameters a;
                a.wallWidth = 16;
                a.sides = 8;
                a.arc = 180;
                arch->setParameters(a);
            }
        });
        made = entry.create(&p);
    }
    ASSERT_EQ(made, 1);
    const std::vector<BrushRecord*> brushes = m.brushes();
    ASSERT_FALSE(brushes.empty());
    ASSERT_NE(Undo_NewestLevel(m.history()), nullptr);
    EXPECT_STREQ(Undo_NewestLevel(m.history())->name, kUndoNames[c.row]);
    EXPECT_FALSE(m.history()->recording);

    const ViewBox b = viewBox(kViews[c.view]);
    if (c.row < 7) {
        checkBrushes(brushes, c, b);
    } else {
        ASSERT_EQ(brushes.size(), 1u);
        ASSERT_NE(brushes[0]->patch, nullptr);
        EXPECT_EQ(brushes[0]->kind, BrushKind::Patch);
        EXPECT_GT(brushes[0]->patch->vertexCount, 0); // tessellated by the world entity's refresh
        checkPatch(brushes[0]->patch, c, b);
    }

    ASSERT_TRUE(Undo_StepUndo(m.history()));
    EXPECT_EQ(m.worldspawn->firstBrush, nullptr);
    EXPECT_EQ(m.document.world->groups, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, PrimitiveTable, ::testing::ValuesIn(tableCases()), tableCaseName);

TEST(PrimitiveTableLayout, TwentyOneRowsBrushesFirstCurvesOffered) {
    int curves = 0;
    for (const PrimitiveEntry& e : kBuiltinPrimitives) {
        ASSERT_NE(e.create, nullptr) << e.name;
        if (std::strcmp(e.category, "(curves)") == 0) {
            ++curves;
            EXPECT_EQ(e.capabilityMask, kPrimitiveCurveCapability) << e.name;
        } else {
            EXPECT_EQ(e.capabilityMask, 0) << e.name;
        }
    }
    EXPECT_EQ(curves, 14);
}

// ---- Arches ---------------------------------------------------------------------------------

struct ArchCase {
    const char* name;
    ArchParameters params;
    int32_t extraFlags;
    size_t brushes;
    int facesEach; // 0: not checked
};

ArchParameters arch(float width, int sides, float arc, float height = 0, bool fit = false, bool group = false,
                    bool triangulate = false, bool slope = false) {
    ArchParameters a;
    a.wallWidth = width;
    a.sides = sides;
    a.arc = arc;
    a.startAngle = 0;
    a.addedHeight = height;
    a.fitSelection = fit;
    a.groupParts = group;
    a.triangulate = triangulate;
    a.smoothSlope = slope;
    return a;
}

const ArchCase kArchCases[] = {
    {"Plain", arch(16, 8, 180), 0, 8, 6},
    // A wall wider than the radius ends at the centre: triangles, no inner wall.
    {"WallWiderThanRadius", arch(1000, 8, 180), 0, 8, 5},
    {"Stretched", arch(16, 6, 360), PrimitiveFlag::StretchArches, 6, 6},
    {"TriangulatedRamp", arch(16, 4, 90, 8, false, false, true, true), 0, 8, 5},
    {"GroupedFittedStairs", arch(16, 6, 180, 16, true, true), 0, 6, 6},
    {"BackwardsArc", arch(16, 8, -180), 0, 8, 6},
};

class ArchPrimitive : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(ArchPrimitive, SegmentsFaceOutwardAndUndoInOneStep) {
    const ArchCase& c = kArchCases[std::get<0>(GetParam())];
    const ViewCase& view = kViews[std::get<1>(GetParam())];
    cPrimitiveMap m;
    PrimitiveParams p = makeParams(m.map(), view, 0, c.extraFlags);
    int32_t made = 0;
    {
        cDialogAnswer answer([&c](QDialog* dialog) {
            auto* archDialog = qobject_cast<cArchDialog*>(dialog);
            ASSERT_NE(archDialog, nullptr);
            archDialog->setParameters(c.params);
        });
        made = Prim_CreateArch(&p);
    }
    ASSERT_EQ(made, 1);
    const std::vector<BrushRecord*> brushes = m.brushes();
    EXPECT_EQ(brushes.size(), c.brushes);
    const ViewBox b = viewBox(view);
    float lowest = 1e9f;
    float mins[3], maxs[3];
    K_ClearBounds(mins, maxs);
    for (const BrushRecord* brush : brushes) {
        K_AddPointToBounds(brush->mins, mins, maxs);
        K_AddPointToBounds(brush->maxs, mins, maxs);
        expectOutward(brush);
        if (c.facesEach) {
            EXPECT_EQ(faceCount(brush), c.facesEach);
        }
        lowest = std::min(lowest, brush->mins[view.axes[2]]);
        EXPECT_EQ(brush->group != nullptr, c.params.groupParts);
    }
    EXPECT_FLOAT_EQ(lowest, b.lo.d); // fitted or not, the arch starts at the box's bottom
    if (c.params.fitSelection) {
        // Fitted, the arch fills the box across the view.
        for (int i = 0; i < 2; ++i) {
            const int axis = view.axes[i];
            EXPECT_NEAR(mins[axis], kMins[axis], 0.05f) << "axis " << axis;
            EXPECT_NEAR(maxs[axis], kMaxs[axis], 0.05f) << "axis " << axis;
        }
    }
    EXPECT_EQ(m.document.world->groups != nullptr, c.params.groupParts);

    ASSERT_TRUE(Undo_StepUndo(m.history()));
    EXPECT_EQ(m.worldspawn->firstBrush, nullptr);
    EXPECT_EQ(m.document.world->groups, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ArchPrimitive,
                         ::testing::Combine(::testing::Range(0, int(std::size(kArchCases))),
                                            ::testing::Values(0, 2)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                             return std::string(kArchCases[std::get<0>(info.param)].name) + "_" +
                                    kViews[std::get<1>(info.param)].name;
                         });

TEST(ArchPrimitive, CancelledDialogMakesNothing) {
    cPrimitiveMap m;
    PrimitiveParams p = makeParams(m.map(), kViews[0], 0);
    int32_t made = 1;
    {
        cDialogAnswer answer({}, false);
        made = Prim_CreateArch(&p);
    }
    EXPECT_EQ(made, 0);
    EXPECT_EQ(m.worldspawn->firstBrush, nullptr);
    EXPECT_EQ(Undo_NewestLevel(m.history()), nullptr);
}

// ---- Refusals -------------------------------------------------------------------------------

struct RefusalCase {
    const char* name;
    PrimitiveCreateFn create;
    float mins[3], maxs[3];
    int32_t count;
    int32_t axes[3];
    int32_t flags;
    const char* message; // null: refused silently
};

const RefusalCase kRefusals[] = {
    {"FlatBlock",
     Prim_CreateBlock,
     {0, 0, 0},
     {64, 64, 0},
     0,
     {0, 1, 2},
     1,
     "Prim_CreateBlock: the box is flat or empty"},
    {"InvertedSphere",
     Prim_CreateSphere,
     {64, 0, 0},
     {0, 64, 64},
     8,
     {0, 1, 2},
     1,
     "Prim_CreateSphere: the box is flat or empty"},
    // 0.2 to 0.4 snaps to 0 to 0.
    {"SnappedFlatCylinder",
     Prim_CreateCylinder,
     {0, 0, 0.2f},
     {64, 64, 0.4f},
     8,
     {0, 1, 2},
     3,
     "Prim_CreateCylinder: the box is flat or empty"},
    {"FlatRock",
     Prim_CreateRock,
     {0, 0, 0},
     {64, 0, 64},
     10,
     {0, 1, 2},
     1,
     "Prim_CreateRock: the box is flat or empty"},
    {"FlatBevel",
     Prim_CreateBevel,
     {0, 0, 0},
     {64, 64, 0},
     0,
     {0, 1, 2},
     1,
     "Prim_CreateBevel: the box is flat or empty"},
    {"BadAxes",
     Prim_CreateWedge,
     {0, 0, 0},
     {64, 64, 64},
     0,
     {0, 0, 2},
     1,
     "Prim_CreateWedge: invalid view axes (0, 0, 2)"},
    // A handedness bit against the axes would turn every face inward.
    {"HandednessClearForAnEvenView",
     Prim_CreateCylinder,
     {0, 0, 0},
     {64, 64, 64},
     8,
     {0, 1, 2},
     0,
     "Prim_CreateCylinder: the handedness flag does not match the view axes (0, 1, 2)"},
    {"HandednessSetForAnOddView",
     Prim_CreateCurveCylinder3,
     {0, 0, 0},
     {64, 64, 64},
     0,
     {0, 2, 1},
     1,
     "Prim_CreateCurveCylinder3: the handedness flag does not match the view axes (0, 2, 1)"},
    {"CylinderBelowThree", Prim_CreateCylinder, {0, 0, 0}, {64, 64, 64}, 2, {0, 1, 2}, 1, nullptr},
    {"CylinderAboveFaceCapacity",
     Prim_CreateCylinder,
     {0, 0, 0},
     {64, 64, 64},
     129,
     {0, 1, 2},
     1,
     "Prim_CreateCylinder: count 129 is above 128"},
    {"RockBelowEight", Prim_CreateRock, {0, 0, 0}, {64, 64, 64}, 7, {0, 1, 2}, 1, nullptr},
};

// The case's name, not its bytes: those hold pointers, which would change the test names
// between runs.
void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.name;
}

class PrimitiveRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(PrimitiveRefusal, NothingMadeNothingRecorded) {
    const RefusalCase& c = GetParam();
    cPrimitiveMap m;
    PrimitiveParams p = makeParams(m.map(), kViews[0], c.count, 0, c.mins, c.maxs);
    std::memcpy(p.axes, c.axes, sizeof p.axes);
    p.flags = c.flags;
    m.console.clear();
    EXPECT_EQ(c.create(&p), 0);
    EXPECT_EQ(m.worldspawn->firstBrush, nullptr);
    EXPECT_EQ(Undo_NewestLevel(m.history()), nullptr);
    if (c.message) {
        EXPECT_TRUE(m.console.contains(c.message)) << m.console.lines.join('\n').toStdString();
    } else {
        EXPECT_TRUE(m.console.lines.isEmpty()) << m.console.lines.join('\n').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(BadInput, PrimitiveRefusal, ::testing::ValuesIn(kRefusals),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(PrimitiveRefusal, NoWorldEntityMakesNothing) {
    cPrimitiveMap m;
    MapWorld empty{};
    Map_InitWorld(&empty, nullptr);
    for (const PrimitiveEntry& e : kBuiltinPrimitives) {
        PrimitiveParams p = makeParams(Map_Handle(&empty), kViews[0], e.count);
        EXPECT_EQ(e.create(&p), 0) << e.name; // the dialogs are never shown
    }
    Map_DestroyWorld(&empty);
}

// ---- Snapping -------------------------------------------------------------------------------

TEST(PrimitiveSnapping, BlockCornersRoundWithTheFlagAndNearWholeOnesAlways) {
    const float mins[3] = {0.3f, 16.004f, -7.6f};
    const float maxs[3] = {63.7f, 80.5f, 32.009f};
    struct {
        int32_t flags;
        float mins[3], maxs[3];
    } const cases[] = {
        {PrimitiveFlag::Handedness | PrimitiveFlag::SnapPoints, {0, 16, -8}, {64, 81, 32}},
        {PrimitiveFlag::Handedness, {0.3f, 16, -7.6f}, {63.7f, 80.5f, 32}},
    };
    for (const auto& c : cases) {
        cPrimitiveMap m;
        PrimitiveParams p = makeParams(m.map(), kViews[0], 0, 0, mins, maxs);
        p.flags = c.flags;
        ASSERT_EQ(Prim_CreateBlock(&p), 1);
        const BrushRecord* brush = m.worldspawn->firstBrush;
        ASSERT_NE(brush, nullptr);
        for (int a = 0; a < 3; ++a) {
            EXPECT_FLOAT_EQ(brush->mins[a], c.mins[a]) << "flags " << c.flags << " axis " << a;
            EXPECT_FLOAT_EQ(brush->maxs[a], c.maxs[a]) << "flags " << c.flags << " axis " << a;
        }
    }
}

} // namespace
