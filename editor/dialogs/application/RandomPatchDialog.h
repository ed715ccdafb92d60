// Parameters of "Randomize Matrix", passed unchanged to the patch.
#pragma once

#include <cstdint>

struct PatchRandomParams {
    float amount = 0.0f;
    int32_t flags = 0;
};
