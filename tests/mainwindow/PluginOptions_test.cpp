// The plugin options as the main window keeps them in its settings, and as every program without
// a window keeps them in its own.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>

#include "ConsoleCapture.h"
#include "HeadlessLog.h"
#include "core/SysHost.h"
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

// A plugin sets the grid and snapping through the options and snaps a point: every host answers
// as the window does.
TEST(PluginOptions, EveryHostAnswersAsTheWindow) {
    cConsoleCapture console; // installs the window as the host
    struct Host {
        const char* name;
        std::function<std::unique_ptr<SysHost>()> install; // null keeps the window's
    };
    const Host hosts[] = {
        {"window", nullptr},
        {"headless", [] { return std::make_unique<cHeadlessLog>(); }},
    };
    const int32_t savedGrid = Sys_GetOption(SYS_OPTION_GRID_SIZE);
    const int32_t savedSnap = Sys_GetOption(SYS_OPTION_SNAP_TO_GRID);
    std::array<float, 3> windowPoint{};
    for (const Host& host : hosts) {
        SCOPED_TRACE(host.name);
        const std::unique_ptr<SysHost> installed = host.install ? host.install() : nullptr;
        Sys_SetOption(SYS_OPTION_GRID_SIZE, 48);
        EXPECT_EQ(Sys_GetOption(SYS_OPTION_GRID_SIZE), 64);

        Sys_SetOption(SYS_OPTION_SNAP_TO_GRID, 0);
        float whole[3] = {7.4f, 8.0f, -9.6f};
        Sys_SnapToGrid(whole);
        EXPECT_EQ(whole[0], 7.0f);
        EXPECT_EQ(whole[2], -10.0f);

        Sys_SetOption(SYS_OPTION_GRID_SIZE, 16);
        Sys_SetOption(SYS_OPTION_SNAP_TO_GRID, 1);
        EXPECT_EQ(Sys_GetOption(SYS_OPTION_SNAP_TO_GRID), 1);
        std::array<float, 3> point = {7, 8, -9};
        EXPECT_EQ(Sys_SnapToGrid(point.data()), -16.0f);
        if (!host.install) windowPoint = point;
        EXPECT_EQ(point, windowPoint);
        EXPECT_EQ(point, (std::array<float, 3>{0, 16, -16}));
    }
    Sys_SetOption(SYS_OPTION_GRID_SIZE, savedGrid);
    Sys_SetOption(SYS_OPTION_SNAP_TO_GRID, savedSnap);
}
