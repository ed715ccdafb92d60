// The process-wide add-with-carry + linear congruential generator, its Gaussian draws and the
// repeatable "shared" draws that work on a private copy.
#include <math.h>
#include <stdint.h>
#include <string.h>
#include <time.h>

#include "kstdlib/kmath.h"
#include "kstdlib/krandom.h"

namespace {

struct RandomState {
    uint32_t s0;    // newer word of the add-with-carry pair
    uint32_t s1;    // older word
    uint32_t carry; // 0 or 1
    uint32_t lcg;
};

struct GaussianCache {
    bool valid;
    float value;
};

RandomState g_state = {16163801u, 362436069u, 1u, 0x436CBAE9u};
GaussianCache g_gaussian = {false, 0.0f};

constexpr float kInv2Pow32 = 2.3283064e-10f;
constexpr float kInv2Pow31 = 4.6566129e-10f;

void Seed(RandomState& state, uint32_t n) {
    if (n == 0) n = static_cast<uint32_t>(time(nullptr));
    state.lcg = n & 0x7FFFFFFFu;
    state.s0 = n * 69069u + 16163801u;
    state.s1 = n * 69069u + 362436069u;
    state.carry = state.s0 <= state.s1 ? 1u : 0u;
}

uint32_t Step(RandomState& state) {
    const uint32_t t = state.s1 + state.s0 + state.carry;
    state.carry = t <= state.s0 ? 1u : 0u;
    state.s1 = state.s0;
    state.s0 = t;
    state.lcg = state.lcg * 69069u + 1013904243u;
    return t + state.lcg;
}

float RandomFloat(RandomState& state, float lo, float hi) {
    if (hi - lo <= 0.0f) return lo;
    return static_cast<float>(Step(state)) * kInv2Pow32 * (hi - lo) + lo;
}

int RandomLong(RandomState& state, int lo, int hi) {
    // lo > hi is an empty range: answer lo, as the float draw does.
    if (lo >= hi) return lo;
    const uint32_t range = static_cast<uint32_t>(hi) - static_cast<uint32_t>(lo) + 1u;
    // range 0 is the full 32-bit span: every output is a fair draw.
    if (range == 0) return static_cast<int>(static_cast<uint32_t>(lo) + Step(state));
    const uint32_t limit = 0xFFFFFFFEu - (0xFFFFFFFFu % range);
    uint32_t output;
    do {
        output = Step(state);
    } while (output > limit);
    return static_cast<int>(static_cast<uint32_t>(lo) + output % range);
}

uint32_t FloatBits(float f) {
    uint32_t bits;
    memcpy(&bits, &f, sizeof(bits));
    return bits;
}

} // namespace

void K_SRand(int seed) {
    Seed(g_state, static_cast<uint32_t>(seed));
    // A reseeded sequence must repeat, so no pair half of the old sequence may survive.
    g_gaussian.valid = false;
}

float K_RandomFloat(float lo, float hi) {
    return RandomFloat(g_state, lo, hi);
}

int K_RandomLong(int lo, int hi) {
    return RandomLong(g_state, lo, hi);
}

float K_RandomGaussianFloat(float mean, float deviation) {
    if (g_gaussian.valid) {
        g_gaussian.valid = false;
        return g_gaussian.value * deviation + mean;
    }
    float u1, u2, s;
    do {
        u1 = static_cast<float>(Step(g_state)) * kInv2Pow31 - 1.0f;
        u2 = static_cast<float>(Step(g_state)) * kInv2Pow31 - 1.0f;
        s = u1 * u1 + u2 * u2;
    } while (!(s > 0.0f && s <= 1.0f));
    const float f = K_Sqrt(-2.0f * logf(s) / s);
    g_gaussian.value = u1 * f;
    g_gaussian.valid = true;
    return u2 * f * deviation + mean;
}

float K_SharedRandomFloat(int seed, float lo, float hi) {
    if (hi - lo <= 0.0f) return lo;
    RandomState state;
    Seed(state, static_cast<uint32_t>(seed) + FloatBits(lo) + FloatBits(hi));
    return RandomFloat(state, lo, hi);
}

int K_SharedRandomLong(int seed, int lo, int hi) {
    RandomState state;
    Seed(state, static_cast<uint32_t>(seed) + static_cast<uint32_t>(lo) + static_cast<uint32_t>(hi));
    return RandomLong(state, lo, hi);
}
