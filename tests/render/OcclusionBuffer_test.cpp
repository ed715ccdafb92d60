// The camera view's occlusion: the coarse buffer on its own (no GL).
#include <gtest/gtest.h>

#include <utility>

#include "render/OcclusionBuffer.h"

namespace {

// 1024 x 768, 90 degrees high, near 4, far 8192; the eye at the origin looking along -z.
constexpr float kNear = 4.0f, kFar = 8192.0f;

OcclusionBuffer emptyBuffer() {
    float projection[16] = {}, modelview[16] = {};
    projection[0] = 768.0f / 1024.0f;
    projection[5] = 1.0f;
    projection[10] = (kFar + kNear) / (kNear - kFar);
    projection[11] = -1.0f;
    projection[14] = 2.0f * kFar * kNear / (kNear - kFar);
    for (int i = 0; i < 4; ++i)
        modelview[i * 5] = 1.0f;
    OcclusionBuffer buffer;
    Occlusion_BeginWith(&buffer, 1024, 768, projection, modelview);
    return buffer;
}

// A square across the view at depth d, counter-clockwise as the eye sees it (its front side), or
// clockwise (its back).
bool addWall(OcclusionBuffer* buffer, float d, float half, bool front = true) {
    float points[4][3] = {{-half, -half, -d}, {half, -half, -d}, {half, half, -d}, {-half, half, -d}};
    if (!front) std::swap(points[1], points[3]);
    return Occlusion_AddPolygon(buffer, points[0], int32_t(sizeof points[0]), 4);
}

struct BoxCase {
    const char* name;
    float mins[3], maxs[3];
    bool hidden;
};

TEST(OcclusionBuffer, BoxesBehindAWallAreHiddenOnlyWhereNothingCanShow) {
    OcclusionBuffer buffer = emptyBuffer();
    ASSERT_TRUE(addWall(&buffer, 100, 100)); // x from -0.75 to 0.75 of the view, the whole height
    const BoxCase cases[] = {
        {"wholly behind", {-20, -20, -300}, {20, 20, -250}, true},
        {"behind, reaching past the wall's side", {60, -20, -300}, {400, 20, -250}, false},
        {"in front of the wall", {-20, -20, -80}, {20, 20, -50}, false},
        {"touching the wall's back", {-20, -20, -120}, {20, 20, -100}, false},
        {"reaching behind the eye", {-20, -20, -300}, {20, 20, 10}, false},
        {"out of the view's side", {1000, -20, -300}, {1100, 20, -250}, false},
    };
    for (const BoxCase& c : cases)
        EXPECT_EQ(Occlusion_BoxHidden(&buffer, c.mins, c.maxs), c.hidden) << c.name;
    // Wide lines at a box's edges widen its rectangle: its right edge 26 pixels inside the wall's.
    const float mins[3] = {220, -20, -300}, maxs[3] = {233, 20, -250};
    EXPECT_TRUE(Occlusion_BoxHidden(&buffer, mins, maxs));
    EXPECT_FALSE(Occlusion_BoxHidden(&buffer, mins, maxs, 40.0f));
}

TEST(OcclusionBuffer, OnlyPolygonsGLFillsOccludeAndNeverBeyondTheirCover) {
    const float behind[2][3] = {{-20, -20, -300}, {20, 20, -250}};
    struct Case {
        const char* name;
        float depth, half;
        bool front;
    } cases[] = {
        {"back side (culled by GL)", 100, 100, false},
        {"beyond the far plane", 9000, 9000, true},
        {"smaller than a cell", 100, 0.5f, true},
    };
    for (const Case& c : cases) {
        OcclusionBuffer buffer = emptyBuffer();
        EXPECT_FALSE(addWall(&buffer, c.depth, c.half, c.front)) << c.name;
        EXPECT_FALSE(Occlusion_BoxHidden(&buffer, behind[0], behind[1])) << c.name;
    }
    // A wall covering a box only partly (to 0.15 of the half width; the box reaches 0.18).
    OcclusionBuffer buffer = emptyBuffer();
    ASSERT_TRUE(addWall(&buffer, 100, 20));
    const float wideMins[3] = {-60, -20, -300}, wideMaxs[3] = {60, 20, -250};
    EXPECT_FALSE(Occlusion_BoxHidden(&buffer, wideMins, wideMaxs));
    EXPECT_TRUE(Occlusion_BoxHidden(&buffer, behind[0], behind[1]));
}

TEST(OcclusionBuffer, FloorReachingBehindTheEyeIsCutAtTheNearPlane) {
    OcclusionBuffer buffer = emptyBuffer();
    // Below the eye, from behind it to 500 ahead, its top side up (counter-clockwise on screen).
    const float floor[4][3] = {{100, -10, 50}, {100, -10, -500}, {-100, -10, -500}, {-100, -10, 50}};
    ASSERT_TRUE(Occlusion_AddPolygon(&buffer, floor[0], int32_t(sizeof floor[0]), 4));
    const float underMins[3] = {-20, -60, -220}, underMaxs[3] = {20, -20, -180};
    EXPECT_TRUE(Occlusion_BoxHidden(&buffer, underMins, underMaxs));
    const float onMins[3] = {-20, -9, -220}, onMaxs[3] = {20, 10, -180};
    EXPECT_FALSE(Occlusion_BoxHidden(&buffer, onMins, onMaxs));
}

} // namespace
