// The axis-aligned box a tool shows and drags in the 2D views; each document keeps one per tool
// box slot. With it its maths: building it, its eight handles, dragging a handle or the whole box
// on the grid, turning a drag into a snapped angle, and the status-bar text of the drag. The tools
// keep the drag state and pass the view's two world axes (i, j: two of 0 = x, 1 = y, 2 = z).
// Functions do nothing (or answer zero) on an invalid box unless said otherwise.
#pragma once

#include <QString>
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

// Handle numbers of the hit test and the handle drag, in the view's axes.
namespace BoxHandle {
constexpr int32_t None = 0;
constexpr int32_t MinIMaxJ = 1; // corner
constexpr int32_t MaxIMaxJ = 2;
constexpr int32_t MinIMinJ = 3;
constexpr int32_t MaxIMinJ = 4;
constexpr int32_t MinI = 5; // edge middles
constexpr int32_t MaxI = 6;
constexpr int32_t MaxJ = 7;
constexpr int32_t MinJ = 8;
} // namespace BoxHandle

// Bits of the pending-axis word of a snapped move.
namespace BoxPending {
constexpr uint32_t I = 0x1;
constexpr uint32_t J = 0x2;
} // namespace BoxPending

// Modes of the status text.
namespace BoxStatus {
constexpr int32_t Centre = 1; // "%1x %2y %3z"
constexpr int32_t Size = 2;   // "%1 x %2" along i and j
constexpr int32_t None = 3;
constexpr int32_t Angle = 4; // degrees with the degree sign
constexpr int32_t Shear = 5;
// Any other mode: "%1w %2l %3h @(%4 %5 %6)".
} // namespace BoxStatus

// Half the MaxWorldSize setting: the box stays within plus or minus this on every axis.
float Select_HalfWorldSize();

// Valid, no angle or shear, mins = maxs = the point clamped into the world.
void Select_BoxFromPoint(SelectionBox* box, const float point[3]);
// Valid, no angle or shear, the bounds of the two points clamped into the world.
void Select_BoxFromPoints(SelectionBox* box, const float a[3], const float b[3]);
// Within half a unit of the box on every axis (the valid flag is not consulted).
bool Select_BoxContainsPoint(const SelectionBox* box, const float point[3]);
// The handle (BoxHandle) under the point, 0 for none. Handles sit just outside the box, the
// margins away from its edges, each `size` units wide.
int32_t Select_BoxHitHandle(const SelectionBox* box, int32_t i, int32_t j, float size, float marginI,
                            float marginJ, const float point[3]);
// A point of the box by its own numbering: 1 (min i, min j), 2 (max i, min j), 3 (min i, max j),
// 4 (max i, max j), 5 (min i, centre j), 6 (max i, centre j), 7 (centre i, min j),
// 8 (centre i, max j); zero for any other number and for an invalid box. Returns out.
float* Select_BoxHandlePoint(const SelectionBox* box, float out[3], int32_t i, int32_t j, int32_t handle);
// On i and j the nearer edge to the point (a tie takes the max side); zero elsewhere and for an
// invalid box. Returns out.
float* Select_BoxNearestCorner(const SelectionBox* box, float out[3], int32_t i, int32_t j,
                               const float point[3]);
// Moves the handle's edges by delta (read on i and j), snapped unless noSnap, kept one unit apart
// and inside the world; adds the movement really made to applied on i and j.
void Select_BoxDragHandle(SelectionBox* box, const float delta[3], int32_t i, int32_t j, int32_t handle,
                          bool noSnap, float applied[3]);
// Moves the box on each pending axis (BoxPending bits) so that the reference passes onto the next
// grid line in the direction of the pending movement; clears the bit of each axis moved.
void Select_BoxSnapMove(SelectionBox* box, const float pending[3], int32_t i, int32_t j,
                        const float reference[3], bool noSnap, uint32_t* pendingFlags);
// floor(value / grid) * grid while snapping to the grid is on; value otherwise.
float Select_FloorToGrid(float value);
// The box's angle from a drag about its centre from start to current, in steps of the
// FixedDegreeRotation setting when snap is set, else of half a degree; in [0, 2pi).
void Select_BoxRotationAngle(SelectionBox* box, const float current[3], const float start[3], int32_t i,
                             int32_t j, bool snap);
// The status-bar text of the drag in the mode (BoxStatus); empty for an invalid box.
QString Select_BoxStatusText(const SelectionBox* box, int32_t i, int32_t j, int32_t mode);
