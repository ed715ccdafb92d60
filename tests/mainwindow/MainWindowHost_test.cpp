// The main window as the system layer's host: its settings, archives and console, for its
// lifetime only.
#include <gtest/gtest.h>

#include <vector>

#include "ConsoleCapture.h"
#include "core/FileLookup.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "mainwindow/ConsoleSink.h"
#include "mainwindow/MainWindow.h"
#include "views/ViewState.h"

TEST(MainWindowHost, TheMainWindowIsTheHostWhileItLives) {
    {
        cMainWindow window;
        ASSERT_NE(Sys_Host(), nullptr);
        window.settings.SnapToGrid = true;
        window.settings.CurrentGridSize = 32;
        EXPECT_EQ(Sys_SnapGrid(), 32);
        window.settings.SnapToGrid = false;
        EXPECT_EQ(Sys_SnapGrid(), 0);
        EXPECT_EQ(&Sys_Host()->archives(), &window.archives);
        EXPECT_EQ(&Sys_Host()->foundFiles(), &window.foundFiles);
    }
    EXPECT_EQ(Sys_Host(), nullptr);
}

// Each setting the map objects read: without a window it holds its default, with one it follows
// the window's settings at once.
TEST(MainWindowHost, MapObjectSettingsFollowTheWindowSettings) {
    struct Setting {
        const char* name;
        bool MainSettings::*member;
    };
    const Setting settings[] = {
        {"KeepDefaultEpairs", &MainSettings::KeepDefaultEpairs},
        {"EntityTransparency", &MainSettings::EntityTransparency},
        {"KeepCloneVisGroup", &MainSettings::KeepCloneVisGroup},
        {"UseVisgroupColors", &MainSettings::UseVisgroupColors},
        {"TransformAngles", &MainSettings::TransformAngles},
        {"TextureLockUV", &MainSettings::TextureLockUV},
        {"TextureTransparency", &MainSettings::TextureTransparency},
        {"DrawVertices", &MainSettings::DrawVertices},
    };
    const MainSettings defaults;
    ASSERT_EQ(Sys_Host(), nullptr);
    EXPECT_EQ(Sys_MaxWorldSize(), defaults.MaxWorldSize);
    for (const Setting& setting : settings) {
        SCOPED_TRACE(setting.name);
        EXPECT_EQ(Sys_Settings().*setting.member, defaults.*setting.member);
        cMainWindow window;
        window.settings.*setting.member = !(defaults.*setting.member);
        EXPECT_EQ(Sys_Settings().*setting.member, window.settings.*setting.member);
        window.settings.*setting.member = defaults.*setting.member;
        EXPECT_EQ(Sys_Settings().*setting.member, defaults.*setting.member);
    }
    cMainWindow window;
    window.settings.MaxWorldSize = 16384;
    EXPECT_EQ(Sys_MaxWorldSize(), 16384);
}

TEST(MainWindowHost, SilentWithoutMainWindowOrFormat) {
    std::vector<QString> seen;
    ConsoleSink previous = Console_SetSink([&](const QString& line) { seen.push_back(line); });
    ASSERT_EQ(g_mainWindow, nullptr);
    Sys_Printf("dropped");
    Sys_Error("dropped");
    {
        cMainWindow window;
        Sys_Printf(nullptr);
    }
    Console_SetSink(std::move(previous));
    EXPECT_TRUE(seen.empty());
}

TEST(MainWindowHost, NoRedrawFlagIsRaisedOnlyDuringTheAppend) {
    cConsoleCapture console;
    uint8_t duringAppend = 0;
    ConsoleSink capture = Console_SetSink([&](const QString&) { duringAppend = View_NoRedraw; });
    View_NoRedraw = 0;
    Sys_PrintfNoRedraw("quiet");
    EXPECT_EQ(duringAppend, 1);
    EXPECT_EQ(View_NoRedraw, 0);
    Console_SetSink(std::move(capture));
}
