// The plugin options of the system layer. The options live in the installed
// host's settings, so a plugin sees the same answers in the window and in a program without one.
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "kstdlib/kutil.h"

namespace {

// The switches among the options, by number; the grid size has no switch.
bool MainSettings::*switchMember(int32_t option) {
    static bool MainSettings::*const members[] = {
        &MainSettings::SnapToGrid,
        &MainSettings::EnableGrid2D,
        &MainSettings::EnableGrid3D,
        nullptr, // grid size
        &MainSettings::EnableCordon,
    };
    if (option < 0 || option > SYS_OPTION_CORDON) return nullptr;
    return members[option];
}

bool knownOption(int32_t option) {
    if (option == SYS_OPTION_GRID_SIZE || switchMember(option)) return true;
    Sys_Warning("Unknown option: %i", option);
    return false;
}

// The smallest power of two not below n. A grid of 0 or less would divide by zero in
// snapping, so the result is at least 1; it stays within int range.
int32_t gridPowerOfTwo(int32_t n) {
    if (n < 1) return 1;
    if (n > (1 << 30)) return 1 << 30;
    return static_cast<int32_t>(K_NextPowerOf2(static_cast<unsigned>(n)));
}

} // namespace

int32_t Sys_GetOption(int32_t option) {
    const MainSettings* settings = Sys_MutableSettings();
    if (!settings || !knownOption(option)) return 0;
    if (option == SYS_OPTION_GRID_SIZE) return settings->CurrentGridSize;
    return settings->*switchMember(option) ? 1 : 0;
}

void Sys_SetOption(int32_t option, int32_t value) {
    MainSettings* settings = Sys_MutableSettings();
    if (!settings || !knownOption(option)) return;
    if (option == SYS_OPTION_GRID_SIZE)
        settings->CurrentGridSize = gridPowerOfTwo(value);
    else
        settings->*switchMember(option) = value != 0;
    Sys_Host()->optionChanged(option);
}
