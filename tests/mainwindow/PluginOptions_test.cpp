// The plugin options as the main window keeps them in its settings.
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "mainwindow/MainWindow.h"

TEST(PluginOptions, GridSizeRoundsUpToPowerOfTwo) {
    cConsoleCapture console;
    struct Case {
        int32_t value, expected;
    };
    // 0 and negatives would divide by zero in snapping: the grid stays at least 1.
    const Case cases[] = {{48, 64}, {64, 64}, {1, 1}, {3, 4}, {0, 1}, {-5, 1}};
    for (const Case& c : cases) {
        Sys_SetOption(SYS_OPTION_GRID_SIZE, c.value);
        EXPECT_EQ(Sys_GetOption(SYS_OPTION_GRID_SIZE), c.expected) << "value " << c.value;
    }
    EXPECT_TRUE(console.lines.isEmpty());
}

TEST(PluginOptions, SwitchesStoreNonZeroAsOn) {
    cConsoleCapture console;
    for (int32_t option :
         {SYS_OPTION_SNAP_TO_GRID, SYS_OPTION_GRID_2D, SYS_OPTION_GRID_3D, SYS_OPTION_CORDON}) {
        Sys_SetOption(option, 7);
        EXPECT_EQ(Sys_GetOption(option), 1) << "option " << option;
        Sys_SetOption(option, 0);
        EXPECT_EQ(Sys_GetOption(option), 0) << "option " << option;
    }
    EXPECT_FALSE(g_mainWindow->settings.EnableCordon);
}

TEST(PluginOptions, UnknownNumbersWarnAndChangeNothing) {
    cConsoleCapture console;
    const MainSettings before = g_mainWindow->settings;
    EXPECT_EQ(Sys_GetOption(7), 0);
    EXPECT_TRUE(console.contains("Unknown option: 7"));
    Sys_SetOption(-1, 1);
    EXPECT_TRUE(console.contains("Unknown option: -1"));
    EXPECT_EQ(g_mainWindow->settings.CurrentGridSize, before.CurrentGridSize);
    EXPECT_EQ(g_mainWindow->settings.SnapToGrid, before.SnapToGrid);
}
