#include "views/ViewArcs.h"

#include <algorithm>
#include <cmath>

int View_StippledCirclePoints(float radius) {
    if (!std::isfinite(radius)) return 16;
    return int(std::clamp(std::trunc(radius / 10.0f), 16.0f, 64.0f));
}

int View_ArcAngles(float start, float end, float out[kArcMaxPoints]) {
    constexpr float kTurn = 6.2831853f;
    constexpr float kStep = 0.17453294f;
    if (!std::isfinite(start) || !std::isfinite(end)) return 0;
    // Whole turns added to end until it is at least start, computed at once: a huge span would
    // never leave a loop of additions.
    if (end < start) {
        const double rest = std::fmod(double(start) - double(end), double(kTurn));
        end = float(double(start) + (rest == 0.0 ? 0.0 : double(kTurn) - rest));
    }
    end = std::min(end, start + kTurn);
    int n = 0;
    while (n < kArcMaxPoints) {
        const float a = end - float(n) * kStep;
        // A point within a hair of start is start (the steps do not add up exactly).
        if (a <= start + 1e-4f) {
            out[n++] = start;
            break;
        }
        out[n++] = a;
    }
    return n;
}
