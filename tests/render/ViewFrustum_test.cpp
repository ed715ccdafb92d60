#include <gtest/gtest.h>

#include <random>

#include "kstdlib/kstdlib.h"
#include "render/ViewFrustum.h"

namespace {

// A top view (x/y) of 200 x 100 pixels at zoom 1, scrolled 0: x in [-100, 100], y in [-50, 50].
ViewFrustum topView() {
    ViewFrustum f{};
    const float scroll[2] = {0, 0};
    Render_SetupFrustum2D(&f, 0, 1, scroll, 1.0f, -100, 100, -50, 50);
    return f;
}

const float kIdentity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};

bool inside(const ViewFrustum& f, const float p[3]) {
    for (int i = 0; i < f.count; ++i) {
        const FrustumPlane& pl = f.planes[i];
        if (pl.normal[0] * p[0] + pl.normal[1] * p[1] + pl.normal[2] * p[2] <= pl.dist) return false;
    }
    return true;
}

TEST(ViewFrustum, TwoDimensionalPlanes) {
    const ViewFrustum f = topView();
    EXPECT_EQ(f.count, 4);
    EXPECT_EQ(f.planes[0].dist, -100.0f);
    EXPECT_EQ(f.planes[1].dist, -100.0f);
    EXPECT_EQ(f.planes[1].signbits, 1);
    EXPECT_EQ(f.planes[2].type, 1);
}

TEST(ViewFrustum, BoxTouchingTheLeftEdgeFromOutside) {
    const ViewFrustum f = topView();
    const float mins[3] = {-150, -10, -10}, maxs[3] = {-100, 10, 10};
    EXPECT_FALSE(Render_CullBox(&f, mins, maxs));
    const float origin[3] = {0, 0, 0};
    EXPECT_TRUE(Render_CullRotatedBox(&f, mins, maxs, origin, kIdentity));
    int mask = -1;
    EXPECT_EQ(Render_ClassifyBox(&f, mins, maxs, &mask), 0);
}

TEST(ViewFrustum, ClassifyInsideClearsTheMaskAndDepthIsUnbounded) {
    const ViewFrustum f = topView();
    const float mins[3] = {-10, -10, -100000}, maxs[3] = {10, 10, 100000};
    int mask = -1;
    EXPECT_EQ(Render_ClassifyBox(&f, mins, maxs, &mask), 1);
    EXPECT_EQ(mask, 0);
    EXPECT_FALSE(Render_CullBox(&f, mins, maxs));
    const float crossing[3] = {90, -10, 0}, crossingMax[3] = {110, 10, 0};
    mask = -1;
    EXPECT_EQ(Render_ClassifyBox(&f, crossing, crossingMax, &mask), 2);
    EXPECT_EQ(mask, 0x2); // only the right plane stays to test
}

TEST(ViewFrustum, FarPlaneAtTheGivenDistance) {
    ViewFrustum f{};
    const float eye[3] = {0, 0, 0}, fwd[3] = {1, 0, 0}, right[3] = {0, -1, 0}, up[3] = {0, 0, 1};
    Render_SetupFrustum3D(&f, eye, fwd, right, up, 90, 90, 500);
    EXPECT_EQ(f.count, 6);
    const float near[3] = {100, -1, -1}, nearMax[3] = {101, 1, 1};
    EXPECT_FALSE(Render_CullBox(&f, near, nearMax));
    const float far[3] = {501, -1, -1}, farMax[3] = {502, 1, 1};
    EXPECT_TRUE(Render_CullBox(&f, far, farMax));
    const float behind[3] = {-5, -1, -1}, behindMax[3] = {-2, 1, 1};
    EXPECT_TRUE(Render_CullBox(&f, behind, behindMax));
}

// Random frusta and boxes: a box with a sampled point strictly inside every plane is never called
// outside by any of the three tests.
TEST(ViewFrustum, NeverOutsideWhileASampledPointIsInside) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    for (int round = 0; round < 200; ++round) {
        ViewFrustum f{};
        if (round % 2) {
            const float angles[3] = {unit(rng) * 80, unit(rng) * 180, 0};
            vec3 fwd, right, up;
            K_AngleVectors(angles, fwd, right, up);
            const float eye[3] = {unit(rng) * 100, unit(rng) * 100, unit(rng) * 100};
            Render_SetupFrustum3D(&f, eye, fwd, right, up, 60 + 40 * unit(rng), 50 + 30 * unit(rng), 400);
        } else {
            const float scroll[2] = {unit(rng) * 200, unit(rng) * 200};
            Render_SetupFrustum2D(&f, round % 3, (round % 3 + 1) % 3, scroll, 0.5f + unit(rng) * 0.4f, -320,
                                  320, -240, 240);
        }
        for (int b = 0; b < 50; ++b) {
            float mins[3], maxs[3];
            for (int k = 0; k < 3; ++k) {
                const float c = unit(rng) * 600, h = 1 + (unit(rng) + 1) * 60;
                mins[k] = c - h;
                maxs[k] = c + h;
            }
            bool anyInside = false;
            for (int s = 0; s < 64 && !anyInside; ++s) {
                float p[3];
                for (int k = 0; k < 3; ++k)
                    p[k] = mins[k] + (maxs[k] - mins[k]) * (unit(rng) + 1) / 2;
                anyInside = inside(f, p);
            }
            if (!anyInside) continue;
            const float origin[3] = {0, 0, 0};
            int mask = -1;
            EXPECT_FALSE(Render_CullBox(&f, mins, maxs));
            EXPECT_FALSE(Render_CullRotatedBox(&f, mins, maxs, origin, kIdentity));
            EXPECT_NE(Render_ClassifyBox(&f, mins, maxs, &mask), 0);
        }
    }
}

} // namespace
