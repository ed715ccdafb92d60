// The axis-aligned box a tool shows and drags in the 2D views. Each document keeps one per tool
// box slot. The drag, hit-test and status functions come with the tools that call them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct SelectionBox {
    uint32_t valid; // the box exists
    float mins[3];
    float maxs[3];
    float angle; // radians, [0, 2pi), of a rotation drag
    float shear; // amount of a shear drag
};
static_assert(std::is_standard_layout_v<SelectionBox>);
static_assert(sizeof(SelectionBox) == 36);
static_assert(offsetof(SelectionBox, mins) == 4);
static_assert(offsetof(SelectionBox, maxs) == 16);
static_assert(offsetof(SelectionBox, angle) == 28);

// Invalid, with cleared bounds (mins 999999, maxs -999999) and no angle or shear.
inline void Select_ClearBox(SelectionBox* box) {
    box->valid = 0;
    for (int i = 0; i < 3; ++i) {
        box->mins[i] = 999999.0f;
        box->maxs[i] = -999999.0f;
    }
    box->angle = 0.0f;
    box->shear = 0.0f;
}
