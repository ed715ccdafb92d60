// The 2D views' level of detail for patches (the drawing itself is checked by pixels in the view
// tests).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "map/MapPatch.h"

TEST(PatchWireStepTest, KeptLinesStayWithinAPixelAndLeaveOutAllTheyCan) {
    // A pixel or more apart, every line is drawn.
    for (float cell : {1.0f, 1.5f, 40.0f})
        EXPECT_EQ(Patch_WireStep(cell), 1) << cell;
    // Closer: the step leaves the kept lines within a pixel, and one more would not.
    for (float cell : {0.999f, 0.6f, 0.5f, 0.34f, 0.2f, 0.05f}) {
        const int32_t step = Patch_WireStep(cell);
        EXPECT_LE(float(step) * cell, 1.0f) << cell;
        EXPECT_GT(float(step + 1) * cell, 1.0f) << cell;
    }
    // A patch flat to the view or of no size keeps its outline only; a length that is not a
    // number draws everything.
    EXPECT_GE(Patch_WireStep(0.0f), 75);
    EXPECT_EQ(Patch_WireStep(std::numeric_limits<float>::quiet_NaN()), 1);
    EXPECT_EQ(Patch_WireStep(std::numeric_limits<float>::infinity()), 1);
}
