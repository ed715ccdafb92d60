#include "NormalIndex.h"

#include <cmath>

namespace {

// Cells twice the tolerance wide: two matching components lie in the same or a neighbouring cell.
constexpr float kCell = 2.0f * cNormalIndex::kTolerance;

bool matches(const float* a, const float* b) {
    return std::fabs(a[0] - b[0]) <= cNormalIndex::kTolerance &&
           std::fabs(a[1] - b[1]) <= cNormalIndex::kTolerance &&
           std::fabs(a[2] - b[2]) <= cNormalIndex::kTolerance;
}

int64_t cellOf(float v) {
    if (!std::isfinite(v)) return INT32_MIN;
    const float c = std::floor(v / kCell);
    return c < -1e9f ? -1000000000 : c > 1e9f ? 1000000000 : int64_t(c);
}

} // namespace

int64_t cNormalIndex::cellKey(int64_t x, int64_t y, int64_t z) {
    return (x * 73856093) ^ (y * 19349663) ^ (z * 83492791);
}

int32_t cNormalIndex::linearFind(const float* normals, int32_t count, const float n[3]) {
    for (int32_t i = 0; i < count; ++i)
        if (matches(normals + 3 * i, n)) return i;
    return -1;
}

int32_t cNormalIndex::find(const float n[3]) const {
    const int64_t cx = cellOf(n[0]), cy = cellOf(n[1]), cz = cellOf(n[2]);
    if (cx == INT32_MIN || cy == INT32_MIN || cz == INT32_MIN) return linearFind(normals.data(), size(), n);
    int32_t best = -1;
    for (int64_t dx = -1; dx <= 1; ++dx)
        for (int64_t dy = -1; dy <= 1; ++dy)
            for (int64_t dz = -1; dz <= 1; ++dz) {
                auto range = cells.equal_range(cellKey(cx + dx, cy + dy, cz + dz));
                for (auto it = range.first; it != range.second; ++it)
                    if ((best < 0 || it->second < best) && matches(normals.data() + 3 * it->second, n))
                        best = it->second;
            }
    return best;
}

int32_t cNormalIndex::findOrAdd(const float n[3], int32_t limit) {
    const int32_t found = find(n);
    if (found >= 0) return found;
    if (size() >= limit) return -1;
    const int32_t index = size();
    normals.insert(normals.end(), n, n + 3);
    cells.emplace(cellKey(cellOf(n[0]), cellOf(n[1]), cellOf(n[2])), index);
    return index;
}

void cNormalIndex::clear() {
    normals.clear();
    cells.clear();
}
