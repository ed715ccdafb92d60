// A main window's view state for view tests: settings restored, focus and tools cleared, colour
// tables at their defaults, frame timers kept from running.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "DocumentFixture.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "views/ColorScheme.h"
#include "views/GLFormat.h"

class ViewSettingsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_mainWindow) ownWindow = std::make_unique<cMainWindow>();
        saved = g_mainWindow->settings;
        g_mainWindow->settings.EnergySavingMode = true; // no frame timers unless a test wants them
        Color_ResetTables();
    }
    void TearDown() override {
        g_mainWindow->settings = saved;
        g_mainWindow->focusView = g_mainWindow->previousFocusView = g_mainWindow->lastInputCanvas = nullptr;
        g_mainWindow->activeTool = g_mainWindow->secondaryTool = nullptr;
        g_mainWindow->heldKeys = 0;
        g_mainWindow->documents.clear();
        Color_ResetTables();
    }
    MainSettings& settings() { return g_mainWindow->settings; }
    // A canvas that is never shown: its size is set by hand.
    std::unique_ptr<cCanvas> bareCanvas(int type, int w = 400, int h = 300) {
        auto canvas = std::make_unique<cCanvas>(type, -1, View_CanvasFormat(), nullptr, nullptr);
        canvas->viewWidth = w;
        canvas->viewHeight = h;
        return canvas;
    }
    std::unique_ptr<cMainWindow> ownWindow;
    MainSettings saved;
};
