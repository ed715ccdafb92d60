#include "dialogs/application/AppVersion.h"

#include <cstdio>

namespace {
constexpr int kBuildNumber = 0;
}

const char* App_GetVersionString() {
    static char text[32] = {};
    if (!text[0]) std::snprintf(text, sizeof text, "Z.A.R.V. 1.1.%i", kBuildNumber);
    return text;
}
