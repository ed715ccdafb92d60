// The one main window, reached through g_mainWindow (null before it is built and after it is
// gone). This holds what the core services and the map document use: the settings, the game
// configurations, the archives and the console. Menus, docks and views come with the window.
#pragma once

#include <QString>

#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainSettings.h"

class QWidget;

class cMainWindow {
public:
    cMainWindow();
    ~cMainWindow();
    cMainWindow(const cMainWindow&) = delete;
    cMainWindow& operator=(const cMainWindow&) = delete;

    // Appends one line to the console: plain text has "<" escaped, bold wraps it in <b>.
    void printToConsole(const QString& text, bool asHtml, bool bold);
    // Repaints the views of every map window: 1 the 2D views, 2 the 3D views.
    void updateAllViews(int mask);
    // Sets a checkable action's state without running its slot.
    void setActionChecked(const QString& name, bool checked);
    // Refreshes the status bar's "Snap: %1 Grid: %2".
    void updateSnapGridStatus();

    MainSettings settings;
    GameConfigManager gameConfigs;
    ArchiveRegistry archives;
    TextureManager textures;
    // The start-up splash screen while it is shown.
    QWidget* splashScreen = nullptr;
};

extern cMainWindow* g_mainWindow;

// The program's folder, or its "/../sdk" when it runs from "system" or "system64".
QString App_GetBaseDirectory();
