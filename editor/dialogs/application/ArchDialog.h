// Parameters of the arch primitive, in the order the arch dialog fills them.
#pragma once

#include <cstdint>

struct ArchParameters {
    float wallWidth = 0.0f;
    int32_t sides = 0;
    float arc = 0.0f;        // degrees
    float startAngle = 0.0f; // degrees
    float addedHeight = 0.0f;
    bool fitSelection = false;
    bool groupParts = false;
    bool triangulate = false;
    bool smoothSlope = false; // only meaningful when addedHeight is not 0
};
