// Distinct corner normals: a vector matches a stored one when all three components lie within
// the tolerance, and the first stored match wins. The index answers the same as scanning the
// list from its start, in time independent of the list's length.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class cNormalIndex {
public:
    static constexpr float kTolerance = 1e-4f;

    // The first stored normal matching n, else -1.
    int32_t find(const float n[3]) const;
    // The first match, or n appended (its new index); -1 when full (limit reached).
    int32_t findOrAdd(const float n[3], int32_t limit);
    int32_t size() const { return int32_t(normals.size() / 3); }
    const float* data() const { return normals.data(); }
    void clear();

    // The plain linear scan the index must agree with.
    static int32_t linearFind(const float* normals, int32_t count, const float n[3]);

private:
    static int64_t cellKey(int64_t x, int64_t y, int64_t z);
    std::vector<float> normals;
    std::unordered_multimap<int64_t, int32_t> cells;
};
