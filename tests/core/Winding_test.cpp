// Pooled windings: base squares, planes, clipping, splitting, clean-up, area and the capacity limit.
#include "core/Winding.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <type_traits>
#include <vector>

#include "HeadlessLog.h"
#include "core/MainSettings.h"

namespace {

using Point = std::array<double, 3>;

class WindingTest : public ::testing::Test {
protected:
    void TearDown() override { cWinding::FreePools(); }

    template <class W> static W* make(W* w, const std::vector<Point>& points) {
        w->count = int32_t(points.size());
        for (size_t i = 0; i < points.size(); ++i)
            for (int k = 0; k < 3; ++k)
                w->points[i][k] =
                    static_cast<std::remove_reference_t<decltype(w->points[0][0])>>(points[i][k]);
        return w;
    }
    static cWindingDouble* makeDouble(const std::vector<Point>& points) {
        return make(cWinding::AllocDouble(), points);
    }
    static cWinding* makeFloat(const std::vector<Point>& points) { return make(cWinding::Alloc(), points); }

    template <class W> static std::vector<Point> pointsOf(const W* w) {
        std::vector<Point> out;
        for (int32_t i = 0; w && i < w->count; ++i)
            out.push_back({double(w->points[i][0]), double(w->points[i][1]), double(w->points[i][2])});
        return out;
    }

    int warnings(const char* text) const {
        int n = 0;
        for (const QString& line : m_console)
            n += line.contains(QLatin1String("Warning:")) && line.contains(QLatin1String(text));
        return n;
    }

    QStringList m_console;
    cHeadlessLog m_log{[this](const QString& line) { m_console << line; }};
};

// Square 0..64 in x and y at z = 0, counter-clockwise seen from +z.
const std::vector<Point> kSquare = {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0, 64, 0}};

// Regular n-gon of radius r in the z = 0 plane.
std::vector<Point> polygon(int n, double r) {
    std::vector<Point> out;
    for (int i = 0; i < n; ++i) {
        const double a = 2.0 * M_PI * i / n;
        out.push_back({r * std::cos(a), r * std::sin(a), 0.0});
    }
    return out;
}

TEST_F(WindingTest, PoolsReuseRecords) {
    cWinding* a = cWinding::Alloc();
    a->count = 3;
    cWinding::Free(a);
    EXPECT_EQ(cWinding::PooledCount(), 1);
    cWinding* b = cWinding::Alloc();
    EXPECT_EQ(b, a);
    EXPECT_EQ(b->count, 0);
    EXPECT_EQ(b->next, nullptr);
    cWinding::Free(b);

    cWinding::FreeDouble(cWinding::AllocDouble());
    EXPECT_EQ(cWinding::PooledCountDouble(), 1);
    cWinding::FreePools();
    EXPECT_EQ(cWinding::PooledCount(), 0);
    EXPECT_EQ(cWinding::PooledCountDouble(), 0);
}

TEST_F(WindingTest, BaseSquareOfAxialPlane) {
    cWindingDouble* w = cWinding::AllocDouble();
    const float normal[3] = {0, 0, 1};
    cWinding::InitFromPlane(w, normal, 64.0f);
    const double h = 262144.0 * 1.732050807569;
    EXPECT_EQ(pointsOf(w), (std::vector<Point>{{h, h, 64}, {-h, h, 64}, {-h, -h, 64}, {h, -h, 64}}));
    cWinding::FreeDouble(w);
}

TEST_F(WindingTest, BaseSquareLiesInItsPlaneAndFacesItsNormal) {
    struct Case {
        float normal[3];
        float dist;
    } cases[] = {
        {{1, 0, 0}, -32},
        {{0, -1, 0}, 128},
        {{0, 0, -1}, 0},
        {{0.6f, 0.8f, 0}, 10},
        {{0.267261f, 0.534522f, 0.801784f}, -500},
    };
    for (const Case& c : cases) {
        cWindingDouble* w = cWinding::AllocDouble();
        cWinding::InitFromPlane(w, c.normal, c.dist);
        ASSERT_EQ(w->count, 4);
        float normal[3];
        float dist = 0;
        cWinding::GetPlane(w, normal, &dist);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(normal[k], c.normal[k], 1e-5f) << "counter-clockwise seen from the front";
        EXPECT_NEAR(dist, c.dist, 0.01f);
        cWinding::FreeDouble(w);
    }
}

TEST_F(WindingTest, BaseSquareFollowsLargerWorlds) {
    m_log.settings()->MaxWorldSize = 1 << 20;
    cWindingDouble* w = cWinding::AllocDouble();
    const float normal[3] = {0, 0, 1};
    cWinding::InitFromPlane(w, normal, 0.0f);
    EXPECT_DOUBLE_EQ(w->points[0][0], double(1 << 20) * 1.732050807569);
    cWinding::FreeDouble(w);
}

TEST_F(WindingTest, BaseSquareWithoutMajorAxis) {
    cWindingDouble* w = makeDouble(kSquare);
    const float normal[3] = {NAN, NAN, NAN};
    cWinding::InitFromPlane(w, normal, 0.0f);
    EXPECT_EQ(pointsOf(w), kSquare);
    int errors = 0;
    for (const QString& line : m_console)
        errors += line.contains(QLatin1String("cWinding :: InitFromPlane: no major axis"));
    EXPECT_EQ(errors, 1);
    cWinding::FreeDouble(w);
}

TEST_F(WindingTest, GetPlaneEdges) {
    float normal[3] = {9, 9, 9};
    float dist = 9;
    cWindingDouble* w = makeDouble({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}});
    cWinding::GetPlane(w, normal, &dist);
    EXPECT_EQ(normal[0], 9.0f) << "collinear points leave the outputs";
    EXPECT_EQ(dist, 9.0f);
    w->count = 2;
    cWinding::GetPlane(w, normal, &dist);
    EXPECT_EQ(normal[2], 0.0f);
    EXPECT_EQ(dist, 0.0f);
    cWinding::FreeDouble(w);
}

struct ClipCase {
    const char* what;
    float normal[3];
    float dist;
    enum { Same, Null, New } result;
    std::vector<Point> expected; // for New
};

TEST_F(WindingTest, ClipTable) {
    const float d = float(M_SQRT1_2);
    const ClipCase cases[] = {
        {"everything in front", {1, 0, 0}, -10, ClipCase::Same, {}},
        {"everything behind", {1, 0, 0}, 100, ClipCase::Null, {}},
        {"lying in the plane", {0, 0, 1}, 0, ClipCase::Null, {}},
        {"cut in half; axial crossings are exact",
         {1, 0, 0},
         32.5f,
         ClipCase::New,
         {{32.5, 0, 0}, {64, 0, 0}, {64, 64, 0}, {32.5, 64, 0}}},
        {"through two corners: no duplicates",
         {d, -d, 0},
         0,
         ClipCase::New,
         {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}}},
        {"negative axial normal",
         {-1, 0, 0},
         -16,
         ClipCase::New,
         {{0, 0, 0}, {16, 0, 0}, {16, 64, 0}, {0, 64, 0}}},
    };
    for (const ClipCase& c : cases) {
        cWindingDouble* w = makeDouble(kSquare);
        const int32_t pooled = cWinding::PooledCountDouble();
        cWindingDouble* out = cWinding::Clip(w, c.normal, c.dist);
        switch (c.result) {
        case ClipCase::Same:
            EXPECT_EQ(out, w) << c.what;
            break;
        case ClipCase::Null:
            EXPECT_EQ(out, nullptr) << c.what;
            EXPECT_EQ(cWinding::PooledCountDouble(), pooled + 1) << c.what << ": input goes back to the pool";
            break;
        case ClipCase::New:
            ASSERT_NE(out, nullptr) << c.what;
            const std::vector<Point> got = pointsOf(out);
            ASSERT_EQ(got.size(), c.expected.size()) << c.what;
            for (size_t i = 0; i < got.size(); ++i)
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(got[i][k], c.expected[i][k], 1e-9) << c.what << " point " << i;
            break;
        }
        cWinding::FreeDouble(out);
    }
}

TEST_F(WindingTest, SplitTable) {
    struct Case {
        const char* what;
        float normal[3];
        float dist;
        bool result;
        int frontCount, backCount; // -1: null
    } cases[] = {
        {"both sides", {0, 1, 0}, 16, true, 4, 4},
        {"diagonal: triangles", {float(M_SQRT1_2), float(-M_SQRT1_2), 0}, 0, true, 3, 3},
        {"only front", {0, 1, 0}, -1, true, 4, -1},
        {"only back", {0, 1, 0}, 65, true, -1, 4},
        {"lying in the plane", {0, 0, 1}, 0, false, -1, -1},
    };
    for (const Case& c : cases) {
        cWinding* front = reinterpret_cast<cWinding*>(1);
        cWinding* back = reinterpret_cast<cWinding*>(1);
        cWinding* w = makeFloat(kSquare);
        EXPECT_EQ(cWinding::Split(w, c.normal, c.dist, &front, &back), c.result) << c.what;
        EXPECT_EQ(front ? front->count : -1, c.frontCount) << c.what;
        EXPECT_EQ(back ? back->count : -1, c.backCount) << c.what;
        if (c.frontCount > 0 && c.backCount > 0) {
            EXPECT_NEAR(cWinding::Area(front) + cWinding::Area(back), 64.0f * 64.0f, 0.01f) << c.what;
        }
        cWinding::Free(front);
        cWinding::Free(back);
    }
}

TEST_F(WindingTest, SplitPoolsPartsNobodyAskedFor) {
    const float normal[3] = {0, 1, 0};
    cWinding* front = nullptr;
    ASSERT_TRUE(cWinding::Split(makeFloat(kSquare), normal, 16, &front, nullptr));
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(cWinding::PooledCount(), 1) << "the input; no back part was built";
    cWinding::Free(front);

    // Double precision: the only-back input is pooled when back is not wanted.
    cWindingDouble* dfront = nullptr;
    EXPECT_TRUE(cWinding::SplitDouble(makeDouble(kSquare), normal, 100, &dfront, nullptr));
    EXPECT_EQ(dfront, nullptr);
    EXPECT_EQ(cWinding::PooledCountDouble(), 1);
}

TEST_F(WindingTest, CapacityIsNeverExceeded) {
    // Cutting one corner off a convex polygon adds a point: 127 corners fit afterwards, 128 do not.
    const float normal[3] = {-1, 0, 0};
    const float nearCorner = -99.9f; // keeps all but the corner at x = 100
    cWindingDouble* fits =
        cWinding::Clip(make(cWinding::AllocDouble(), polygon(127, 100)), normal, nearCorner);
    ASSERT_NE(fits, nullptr);
    EXPECT_EQ(fits->count, 128);
    cWinding::FreeDouble(fits);
    EXPECT_EQ(warnings("128 points"), 0);

    EXPECT_EQ(cWinding::Clip(make(cWinding::AllocDouble(), polygon(128, 100)), normal, nearCorner), nullptr);
    EXPECT_EQ(warnings("cWinding :: Clip: result exceeds 128 points, winding dropped"), 1);

    // A zig-zag (non-convex, as a corrupt file may hold) crosses the plane on every edge.
    std::vector<Point> zigzag;
    for (int i = 0; i < 128; ++i)
        zigzag.push_back({i % 2 ? 1.0 : -1.0, double(i), 0.0});
    cWinding* front = nullptr;
    cWinding* back = nullptr;
    const float xPlane[3] = {1, 0, 0};
    EXPECT_FALSE(cWinding::Split(makeFloat(zigzag), xPlane, 0, &front, &back));
    EXPECT_EQ(front, nullptr);
    EXPECT_EQ(back, nullptr);
    EXPECT_EQ(warnings("cWinding :: Split: result exceeds 128 points, winding dropped"), 1);

    // A count that does not fit the record is refused before anything is read.
    cWinding* corrupt = makeFloat(kSquare);
    corrupt->count = 129;
    EXPECT_FALSE(cWinding::Split(corrupt, xPlane, 0, &front, &back));
    EXPECT_EQ(warnings("cWinding :: Split: winding has 129 points (at most 128)"), 1);

    // Every record made here (inputs and partial results) is back in its pool.
    EXPECT_EQ(cWinding::PooledCount(), 3);
    EXPECT_EQ(cWinding::PooledCountDouble(), 2);
}

TEST_F(WindingTest, RemoveDuplicatePointsTable) {
    struct Case {
        const char* what;
        std::vector<Point> in;
        bool removed;
        std::vector<Point> out;
    } cases[] = {
        {"nothing to remove", kSquare, false, kSquare},
        {"last equals first",
         {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}, {0.005, 0, 0}},
         true,
         {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}}},
        {"runs of repeats",
         {{0, 0, 0}, {0, 0, 0}, {0, 0.004, 0}, {64, 0, 0}, {64, 0, 0}, {64, 64, 0}},
         true,
         {{0, 0, 0}, {64, 0, 0}, {64, 64, 0}}},
        {"just outside the tolerance",
         {{0, 0, 0}, {0.02, 0, 0}, {64, 64, 0}},
         false,
         {{0, 0, 0}, {0.02, 0, 0}, {64, 64, 0}}},
    };
    for (const Case& c : cases) {
        cWinding* w = makeFloat(c.in);
        EXPECT_EQ(cWinding::RemoveDuplicatePoints(w), c.removed) << c.what;
        const std::vector<Point> got = pointsOf(w);
        ASSERT_EQ(got.size(), c.out.size()) << c.what;
        for (size_t i = 0; i < got.size(); ++i)
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(got[i][k], c.out[i][k], 1e-6) << c.what;
        cWinding::Free(w);
    }
}

TEST_F(WindingTest, AreaTable) {
    struct Case {
        std::vector<Point> points;
        float area;
    } cases[] = {
        {{{0, 0, 0}, {2, 0, 0}, {2, 3, 0}, {0, 3, 0}}, 6.0f},
        {{{0, 0, 0}, {0, 0, 4}, {0, 3, 0}}, 6.0f},
        {{{0, 0, 0}, {2, 0, 0}}, 0.0f},
        {{}, 0.0f},
    };
    for (const Case& c : cases) {
        cWinding* w = makeFloat(c.points);
        EXPECT_FLOAT_EQ(cWinding::Area(w), c.area);
        cWinding::Free(w);
    }
}

} // namespace
