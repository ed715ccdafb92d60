// Vector, plane and matrix hot paths of kstdlib beside plain inline C++ doing the same work.
// The kstdlib calls cross the shared-library boundary (and, for the table routines, one indirect
// jump); the plain versions can be inlined and vectorised by the compiler.
#include <cmath>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "kstdlib/kmath.h"

namespace {

constexpr int kCount = 1024;

struct Box {
    vec3 mins, maxs;
};

struct Data {
    std::vector<Box> boxes;
    std::vector<KPlane> planes;
    std::vector<vec3> points;
    float matrix[12];

    Data() : boxes(kCount), planes(kCount), points(kCount) {
        std::mt19937 rng(1234);
        std::uniform_real_distribution<float> coord(-1000, 1000), size(1, 200);
        for (int i = 0; i < kCount; ++i) {
            for (int a = 0; a < 3; ++a) {
                boxes[i].mins[a] = coord(rng);
                boxes[i].maxs[a] = boxes[i].mins[a] + size(rng);
                points[i][a] = coord(rng);
            }
            KPlane& p = planes[i];
            // Every fourth plane axial, as in brush geometry.
            if (i % 4 == 0) {
                const int axis = (i / 4) % 3;
                p.normal[0] = p.normal[1] = p.normal[2] = 0;
                p.normal[axis] = (i & 8) ? -1.0f : 1.0f;
                p.type = uint8_t(axis);
            } else {
                for (float& n : p.normal)
                    n = coord(rng);
                K_VectorNormalize(p.normal);
                p.type = K_PLANE_ANY;
            }
            p.dist = coord(rng);
            K_SetPlaneSignbits(&p);
        }
        const float origin[3] = {10, -20, 30};
        K_BuildTransformStudioMatrix(30, -15, 5, origin, 1, matrix);
    }
};

const Data& TestData() {
    static const Data data;
    return data;
}

inline int PlainBoxOnPlaneSide(const float* mins, const float* maxs, const KPlane& p) {
    if (p.type < 3) {
        const float w = p.normal[p.type] * p.dist;
        const bool flipped = p.signbits & (1 << p.type);
        if (mins[p.type] >= w) return flipped ? 2 : 1;
        if (w >= maxs[p.type]) return flipped ? 1 : 2;
        return 3;
    }
    float d1 = 0, d2 = 0;
    for (int i = 0; i < 3; ++i) {
        const bool negative = p.signbits & (1 << i);
        d1 += p.normal[i] * (negative ? mins[i] : maxs[i]);
        d2 += p.normal[i] * (negative ? maxs[i] : mins[i]);
    }
    return (d1 >= p.dist ? 1 : 0) | (d2 < p.dist ? 2 : 0);
}

inline float PlainNormalize(float* v) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) return 0.0f;
    const float scale = 1.0f / length;
    v[0] *= scale, v[1] *= scale, v[2] *= scale;
    return length;
}

inline void PlainTransform(const float* in, const float* m, float* out) {
    const float x = in[0], y = in[1], z = in[2];
    out[0] = m[0] * x + m[1] * y + m[2] * z + m[3];
    out[1] = m[4] * x + m[5] * y + m[6] * z + m[7];
    out[2] = m[8] * x + m[9] * y + m[10] * z + m[11];
}

template <bool Library> void BoxOnPlaneSide(benchmark::State& state) {
    const Data& d = TestData();
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < kCount; ++i) {
            const Box& b = d.boxes[i];
            sum += Library ? K_BoxOnPlaneSide(b.mins, b.maxs, &d.planes[i])
                           : PlainBoxOnPlaneSide(b.mins, b.maxs, d.planes[i]);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

template <bool Library> void Normalize(benchmark::State& state) {
    const Data& d = TestData();
    // Re-normalising unit vectors costs the same as the first pass, so the work stays in place.
    std::vector<vec3> work(kCount);
    for (int i = 0; i < kCount; ++i)
        for (int a = 0; a < 3; ++a)
            work[i][a] = d.points[i][a];
    for (auto _ : state) {
        float sum = 0;
        for (int i = 0; i < kCount; ++i)
            sum += Library ? K_VectorNormalize(work[i]) : PlainNormalize(work[i]);
        benchmark::DoNotOptimize(sum);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

template <bool Library> void Transform(benchmark::State& state) {
    const Data& d = TestData();
    std::vector<vec3> out(kCount);
    for (auto _ : state) {
        for (int i = 0; i < kCount; ++i) {
            if (Library)
                K_VectorTransform(d.points[i], d.matrix, out[i]);
            else
                PlainTransform(d.points[i], d.matrix, out[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

template <bool Library> void TransformMulti(benchmark::State& state) {
    const Data& d = TestData();
    std::vector<vec3> out(kCount);
    for (auto _ : state) {
        if (Library) {
            K_VectorTransformMulti(kCount, d.points.data(), d.matrix, out.data());
        } else {
            for (int i = 0; i < kCount; ++i)
                PlainTransform(d.points[i], d.matrix, out[i]);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

void BM_BoxOnPlaneSide_Kstdlib(benchmark::State& s) {
    BoxOnPlaneSide<true>(s);
}
void BM_BoxOnPlaneSide_Plain(benchmark::State& s) {
    BoxOnPlaneSide<false>(s);
}
void BM_VectorNormalize_Kstdlib(benchmark::State& s) {
    Normalize<true>(s);
}
void BM_VectorNormalize_Plain(benchmark::State& s) {
    Normalize<false>(s);
}
void BM_VectorTransform_Kstdlib(benchmark::State& s) {
    Transform<true>(s);
}
void BM_VectorTransform_Plain(benchmark::State& s) {
    Transform<false>(s);
}
void BM_VectorTransformMulti_Kstdlib(benchmark::State& s) {
    TransformMulti<true>(s);
}
void BM_VectorTransformMulti_Plain(benchmark::State& s) {
    TransformMulti<false>(s);
}

} // namespace

BENCHMARK(BM_BoxOnPlaneSide_Kstdlib);
BENCHMARK(BM_BoxOnPlaneSide_Plain);
BENCHMARK(BM_VectorNormalize_Kstdlib);
BENCHMARK(BM_VectorNormalize_Plain);
BENCHMARK(BM_VectorTransform_Kstdlib);
BENCHMARK(BM_VectorTransform_Plain);
BENCHMARK(BM_VectorTransformMulti_Kstdlib);
BENCHMARK(BM_VectorTransformMulti_Plain);
