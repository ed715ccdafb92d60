// Options behind Sys_GetOption / Sys_SetOption.
#include "mainwindow/PluginOptions.h"

#include "core/System.h"
#include "kstdlib/kutil.h"
#include "mainwindow/MainWindow.h"

namespace {

struct BoolOption {
    bool MainSettings::*member;
    const char* action;
    int viewMask; // 0 refreshes the snap/grid status instead
};

const BoolOption* boolOption(int32_t option) {
    static const BoolOption options[] = {
        {&MainSettings::SnapToGrid, "MapSnap", 0},       {&MainSettings::EnableGrid2D, "MapGrid", 1},
        {&MainSettings::EnableGrid3D, "MapGrid3D", 2},   {nullptr, nullptr, 1}, // grid size
        {&MainSettings::EnableCordon, "ToolsCordon", 3},
    };
    if (option < 0 || option > SYS_OPTION_CORDON || option == SYS_OPTION_GRID_SIZE) return nullptr;
    return &options[option];
}

// The smallest power of two not below n. A grid of 0 or less would divide by zero in
// snapping, so the result is at least 1; it stays within int range.
int32_t gridPowerOfTwo(int32_t n) {
    if (n < 1) return 1;
    if (n > (1 << 30)) return 1 << 30;
    return static_cast<int32_t>(K_NextPowerOf2(static_cast<unsigned>(n)));
}

} // namespace

int32_t App_GetOption(int32_t option) {
    if (!g_mainWindow) return 0;
    if (option == SYS_OPTION_GRID_SIZE) return g_mainWindow->settings.CurrentGridSize;
    if (const BoolOption* entry = boolOption(option)) return g_mainWindow->settings.*(entry->member) ? 1 : 0;
    Sys_Warning("Unknown option: %i", option);
    return 0;
}

void App_SetOption(int32_t option, int32_t value) {
    if (!g_mainWindow) return;
    if (option == SYS_OPTION_GRID_SIZE) {
        g_mainWindow->settings.CurrentGridSize = gridPowerOfTwo(value);
        g_mainWindow->updateSnapGridStatus();
        g_mainWindow->updateAllViews(1);
        return;
    }
    const BoolOption* entry = boolOption(option);
    if (!entry) {
        Sys_Warning("Unknown option: %i", option);
        return;
    }
    g_mainWindow->settings.*(entry->member) = value != 0;
    g_mainWindow->setActionChecked(QString::fromLatin1(entry->action), value != 0);
    if (entry->viewMask)
        g_mainWindow->updateAllViews(entry->viewMask);
    else
        g_mainWindow->updateSnapGridStatus();
}
