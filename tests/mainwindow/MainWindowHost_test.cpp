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
        EXPECT_EQ(Sys_Host()->snapGrid(), 32);
        window.settings.SnapToGrid = false;
        EXPECT_EQ(Sys_Host()->snapGrid(), 0);
        EXPECT_EQ(&Sys_Host()->archives(), &window.archives);
        EXPECT_EQ(&Sys_Host()->foundFiles(), &window.foundFiles);
    }
    EXPECT_EQ(Sys_Host(), nullptr);
}

// Each preference the map objects read, beside the setting it comes from: without a window it
// holds the setting's default, with one it follows the setting at once.
TEST(MainWindowHost, MapPreferencesFollowTheWindowSettings) {
    struct Pair {
        const char* name;
        bool MainSettings::*setting;
        bool MapPreferences::*preference;
    };
    const Pair pairs[] = {
        {"KeepDefaultEpairs", &MainSettings::KeepDefaultEpairs, &MapPreferences::keepDefaultEpairs},
        {"EntityTransparency", &MainSettings::EntityTransparency, &MapPreferences::entityTransparency},
        {"KeepCloneVisGroup", &MainSettings::KeepCloneVisGroup, &MapPreferences::keepCloneVisGroup},
        {"UseVisgroupColors", &MainSettings::UseVisgroupColors, &MapPreferences::useVisgroupColors},
        {"TransformAngles", &MainSettings::TransformAngles, &MapPreferences::transformAngles},
        {"TextureLockUV", &MainSettings::TextureLockUV, &MapPreferences::textureLockUV},
        {"TextureTransparency", &MainSettings::TextureTransparency, &MapPreferences::textureTransparency},
        {"DrawVertices", &MainSettings::DrawVertices, &MapPreferences::drawVertices},
    };
    const MainSettings defaults;
    ASSERT_EQ(Sys_Host(), nullptr);
    EXPECT_EQ(Sys_MaxWorldSize(), defaults.MaxWorldSize);
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.name);
        EXPECT_EQ(Sys_MapPreferences().*pair.preference, defaults.*pair.setting);
        cMainWindow window;
        window.settings.*pair.setting = !(defaults.*pair.setting);
        EXPECT_EQ(Sys_MapPreferences().*pair.preference, window.settings.*pair.setting);
        window.settings.*pair.setting = defaults.*pair.setting;
        EXPECT_EQ(Sys_MapPreferences().*pair.preference, defaults.*pair.setting);
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
