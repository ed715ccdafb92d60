// A main window's view state for view tests: settings restored, focus and tools cleared, colour
// tables at their defaults, frame timers kept from running.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "DocumentFixture.h"
#include "mainwindow/MainWindow.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"
#include "render/ColorScheme.h"
#include "render/GLFormat.h"

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
    // One view per map window and nothing drawn but the map: no camera marker, grids, cull tree
    // or multisampling, so pixels are the map's own.
    void plainMapViews() {
        settings().CanvasConfig = 0;
        settings().DrawCamera = false;
        settings().EnableGrid2D = false;
        settings().EnableGrid3D = false;
        settings().UseCullTree = false;
        settings().Antialiasing = false;
    }
    // A canvas that is never shown: its size is set by hand.
    std::unique_ptr<cCanvas> bareCanvas(int type, int w = 400, int h = 300) {
        auto canvas = std::make_unique<cCanvas>(type, -1, View_CanvasFormat(), nullptr, nullptr);
        canvas->viewWidth = w;
        canvas->viewHeight = h;
        return canvas;
    }
    // The map window of 808 x 608 over the document, shown, each view painted once, the 2D views
    // at zoom 1 about the origin.
    static cChildWindow* showMapWindow(MapDocument* doc) {
        g_mainWindow->documents.append(doc);
        auto* window = new cChildWindow(doc);
        window->buildLayout(-1);
        window->resize(808, 608);
        window->show();
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        for (cCanvas* view : window->views) {
            view->grabFramebuffer();
            if (!view->is3D()) {
                view->zoom = 1.0f;
                view->scrollX = view->scrollY = 0;
                view->needsFullRedraw = true;
            }
        }
        return window;
    }
    // Closes the map window as its document would, then frees the document.
    static void closeMapWindow(cChildWindow* window, MapDocument* doc) {
        if (window) {
            window->closedByDocument = true;
            delete window;
        }
        if (doc->world) Project_Destroy(doc);
    }
    std::unique_ptr<cMainWindow> ownWindow;
    MainSettings saved;
};
