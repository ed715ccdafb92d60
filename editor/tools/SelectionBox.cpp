#include "tools/SelectionBox.h"

#include <algorithm>
#include <cmath>

#include "kstdlib/kmath.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"

namespace {

constexpr float kHalfDegree = 0.008726646f;
constexpr float kFullTurn = 6.2831855f;

bool validAxis(int32_t axis) {
    return axis >= 0 && axis <= 2;
}

bool usable(const SelectionBox* box, int32_t i, int32_t j) {
    return box && box->valid && validAxis(i) && validAxis(j);
}

int32_t gridSize() {
    return std::max(1, Sys_Settings().CurrentGridSize);
}

float clampToWorld(float value) {
    const float half = Select_HalfWorldSize();
    return std::clamp(value, -half, half);
}

bool inBand(float value, float low, float high) {
    return value > low && value < high;
}

// One edge of a handle drag: moved by d, snapped, kept a unit from the opposite edge. The
// correction (not the snap) is taken off d.
void moveEdge(SelectionBox* box, int32_t axis, bool isMax, float& d, bool noSnap) {
    float& edge = isMax ? box->maxs[axis] : box->mins[axis];
    edge += d;
    if (!noSnap) edge = Select_FloorToGrid(edge);
    const float before = edge;
    if (!isMax && edge >= box->maxs[axis])
        edge = box->maxs[axis] - 1.0f;
    else if (isMax && edge <= box->mins[axis])
        edge = box->mins[axis] + 1.0f;
    d += edge - before;
}

void clampEdge(float& edge, float& d) {
    const float before = edge;
    edge = clampToWorld(edge);
    d += edge - before;
}

// The shift that carries the reference onto the next grid line in the direction of d.
float snapShift(float d, float reference, float step) {
    if (d > 0.0f) return std::ceil(reference / step) * step - reference;
    if (d < 0.0f) return std::floor(reference / step) * step - reference;
    return 0.0f;
}

// Status numbers keep two decimals, rounded down, in the shortest form.
QString statusNumber(float n) {
    return QString::number(double(std::floor(n * 100.0f) * 0.01f + 0.0f), 'g', 6);
}

} // namespace

float Select_HalfWorldSize() {
    return float(Sys_Settings().MaxWorldSize) * 0.5f;
}

void Select_BoxFromPoint(SelectionBox* box, const float point[3]) {
    if (!box || !point) return;
    box->valid = 1;
    box->angle = box->shear = 0.0f;
    for (int k = 0; k < 3; ++k)
        box->mins[k] = box->maxs[k] = clampToWorld(point[k]);
}

void Select_BoxFromPoints(SelectionBox* box, const float a[3], const float b[3]) {
    if (!box || !a || !b) return;
    box->valid = 1;
    box->angle = box->shear = 0.0f;
    K_ClearBounds(box->mins, box->maxs);
    K_AddPointToBounds(a, box->mins, box->maxs);
    K_AddPointToBounds(b, box->mins, box->maxs);
    for (int k = 0; k < 3; ++k) {
        box->mins[k] = clampToWorld(box->mins[k]);
        box->maxs[k] = clampToWorld(box->maxs[k]);
    }
}

bool Select_BoxContainsPoint(const SelectionBox* box, const float point[3]) {
    if (!box || !point) return false;
    for (int k = 0; k < 3; ++k)
        if (point[k] < box->mins[k] - 0.5f || point[k] > box->maxs[k] + 0.5f) return false;
    return true;
}

int32_t Select_BoxHitHandle(const SelectionBox* box, int32_t i, int32_t j, float size, float marginI,
                            float marginJ, const float point[3]) {
    if (!usable(box, i, j) || !point) return BoxHandle::None;
    const float ci = (box->mins[i] + box->maxs[i]) * 0.5f;
    const float cj = (box->mins[j] + box->maxs[j]) * 0.5f;
    const float half = size * 0.5f, hi = marginI * 0.5f, hj = marginJ * 0.5f;
    const float pi = point[i], pj = point[j];
    const bool minJBand = inBand(pj, box->mins[j] - hj - size, box->mins[j] - hj);
    const bool maxJBand = inBand(pj, box->maxs[j] + hj, box->maxs[j] + hj + size);
    const bool centreJBand = inBand(pj, cj - half, cj + half);

    if (pi < ci - half) {
        if (!inBand(pi, box->mins[i] - hi - size, box->mins[i] - hi)) return BoxHandle::None;
        if (minJBand) return BoxHandle::MinIMinJ;
        if (maxJBand) return BoxHandle::MinIMaxJ;
        if (centreJBand) return BoxHandle::MinI;
        return BoxHandle::None;
    }
    if (pi > ci + half) {
        if (!inBand(pi, box->maxs[i] + hi, box->maxs[i] + hi + size)) return BoxHandle::None;
        if (minJBand) return BoxHandle::MaxIMinJ;
        if (maxJBand) return BoxHandle::MaxIMaxJ;
        if (centreJBand) return BoxHandle::MaxI;
        return BoxHandle::None;
    }
    if (minJBand) return BoxHandle::MinJ;
    if (maxJBand) return BoxHandle::MaxJ;
    return BoxHandle::None;
}

float* Select_BoxHandlePoint(const SelectionBox* box, float out[3], int32_t i, int32_t j, int32_t handle) {
    out[0] = out[1] = out[2] = 0.0f;
    if (!usable(box, i, j) || handle < 1 || handle > 8) return out;
    const float ci = (box->mins[i] + box->maxs[i]) * 0.5f;
    const float cj = (box->mins[j] + box->maxs[j]) * 0.5f;
    // Indexed by handle - 1: the i and j coordinates.
    const float points[8][2] = {
        {box->mins[i], box->mins[j]}, {box->maxs[i], box->mins[j]}, {box->mins[i], box->maxs[j]},
        {box->maxs[i], box->maxs[j]}, {box->mins[i], cj},           {box->maxs[i], cj},
        {ci, box->mins[j]},           {ci, box->maxs[j]},
    };
    out[i] = points[handle - 1][0];
    out[j] = points[handle - 1][1];
    return out;
}

float* Select_BoxNearestCorner(const SelectionBox* box, float out[3], int32_t i, int32_t j,
                               const float point[3]) {
    out[0] = out[1] = out[2] = 0.0f;
    if (!usable(box, i, j) || !point) return out;
    for (const int32_t axis : {i, j}) {
        const float toMin = std::fabs(point[axis] - box->mins[axis]);
        const float toMax = std::fabs(point[axis] - box->maxs[axis]);
        out[axis] = toMin < toMax ? box->mins[axis] : box->maxs[axis];
    }
    return out;
}

void Select_BoxDragHandle(SelectionBox* box, const float delta[3], int32_t i, int32_t j, int32_t handle,
                          bool noSnap, float applied[3]) {
    if (!usable(box, i, j) || !delta || !applied || handle < 1 || handle > 8) return;
    float a = delta[i], b = delta[j];
    if (a == 0.0f && b == 0.0f) return;

    // Per handle: which i edge and which j edge it moves (-1 none, 0 min, 1 max).
    struct Edges {
        int8_t i, j;
    };
    static constexpr Edges kEdges[8] = {{0, 1}, {1, 1}, {0, 0}, {1, 0}, {0, -1}, {1, -1}, {-1, 1}, {-1, 0}};
    const Edges edges = kEdges[handle - 1];
    if (edges.i >= 0) moveEdge(box, i, edges.i == 1, a, noSnap);
    if (edges.j >= 0) moveEdge(box, j, edges.j == 1, b, noSnap);

    clampEdge(box->mins[i], a);
    clampEdge(box->mins[j], b);
    clampEdge(box->maxs[i], a);
    clampEdge(box->maxs[j], b);
    applied[i] += a;
    applied[j] += b;
}

void Select_BoxSnapMove(SelectionBox* box, const float pending[3], int32_t i, int32_t j,
                        const float reference[3], bool noSnap, uint32_t* pendingFlags) {
    if (!box || !box->valid || !pending || !reference || !pendingFlags) return;
    if (!(*pendingFlags & (BoxPending::I | BoxPending::J))) return;
    const float step = noSnap ? 1.0f : float(gridSize());
    const struct {
        int32_t axis;
        uint32_t flag;
    } axes[2] = {{i, BoxPending::I}, {j, BoxPending::J}};
    for (const auto& [axis, flag] : axes) {
        if (!validAxis(axis) || !(*pendingFlags & flag)) continue;
        const float d = pending[axis];
        if (d == 0.0f) continue;
        const float shift = snapShift(d, reference[axis], step);
        box->mins[axis] += shift;
        box->maxs[axis] += shift;
        *pendingFlags &= ~flag;
    }
}

float Select_FloorToGrid(float value) {
    // Only the program's own settings snap (the defaults would).
    const MainSettings* settings = Sys_MutableSettings();
    if (!settings || !settings->SnapToGrid) return value;
    const float grid = float(gridSize());
    return std::floor(value / grid) * grid;
}

void Select_BoxRotationAngle(SelectionBox* box, const float current[3], const float start[3], int32_t i,
                             int32_t j, bool snap) {
    if (!usable(box, i, j) || !current || !start) return;
    const float ci = (box->mins[i] + box->maxs[i]) * 0.5f;
    const float cj = (box->mins[j] + box->maxs[j]) * 0.5f;
    float theta = std::atan2(cj - current[j], ci - current[i]) - std::atan2(cj - start[j], ci - start[i]);
    const int32_t degrees = Sys_Settings().FixedDegreeRotation;
    // A fixed rotation of 0 degrees would make every angle undefined: keep the half degree then.
    const float step = (snap && degrees > 0) ? float(degrees) * float(M_PI) / 180.0f : kHalfDegree;
    theta -= std::fmod(theta, step);
    if (theta < 0.0f) theta += kFullTurn;
    box->angle = theta;
}

QString Select_BoxStatusText(const SelectionBox* box, int32_t i, int32_t j, int32_t mode) {
    if (!box || !box->valid) return QString();
    float centre[3], size[3];
    for (int k = 0; k < 3; ++k) {
        centre[k] = (box->mins[k] + box->maxs[k]) * 0.5f;
        size[k] = box->maxs[k] - box->mins[k];
    }
    switch (mode) {
    case BoxStatus::Centre:
        return QStringLiteral("%1x %2y %3z")
            .arg(statusNumber(centre[0]), statusNumber(centre[1]), statusNumber(centre[2]));
    case BoxStatus::Size:
        if (!validAxis(i) || !validAxis(j)) return QString();
        return QStringLiteral("%1 x %2").arg(statusNumber(size[i]), statusNumber(size[j]));
    case BoxStatus::None:
        return QString();
    case BoxStatus::Angle: {
        const float degrees = std::floor(box->angle * 180.0f / float(M_PI) * 100.0f) * 0.01f;
        return QString::number(double(degrees), 'f', 1) + QChar(0x00B0);
    }
    case BoxStatus::Shear:
        return QStringLiteral("shear: %1").arg(QString::number(double(box->shear), 'g', 6));
    default:
        return QStringLiteral("%1w %2l %3h @(%4 %5 %6)")
            .arg(statusNumber(size[0]), statusNumber(size[1]), statusNumber(size[2]), statusNumber(centre[0]),
                 statusNumber(centre[1]), statusNumber(centre[2]));
    }
}
