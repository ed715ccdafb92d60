// The one main window, reached through g_mainWindow (null before it is built and after it is
// gone). This holds what the core services and the map document use: the settings, the game
// configurations, the archives and the console. Menus, docks and views come with the window.
#pragma once

#include <QString>

#include "dialogs/editing/FacePropertiesDialog.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/ModelCache.h"
#include "gamedata/PluginManager.h"
#include "gamedata/SkyManager.h"
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
    // Loads the plugins (the plugin menu comes with the window's menus).
    void loadPlugins();
    // Runs the plugin action at the index of the sorted list with its user value, file look-ups
    // searching the current game configuration; a wait cursor the plugin left pushed is popped.
    void runPluginAction(int index);

    MainSettings settings;
    // The managers, built in this order (the plugin manager first: it fills the engine table).
    PluginManager plugins;
    GameConfigManager gameConfigs;
    GameDataRegistry gameData;
    ArchiveRegistry archives;
    TextureManager textures;
    ModelCache models;
    SkyManager skies;
    cFacePropertiesDialog faceDialog;
    // The start-up splash screen while it is shown.
    QWidget* splashScreen = nullptr;
    // The last progress text shown (the splash screen and wait dialog come with the window).
    QString splashMessage;
};

extern cMainWindow* g_mainWindow;

// The program's folder, or its "/../sdk" when it runs from "system" or "system64".
QString App_GetBaseDirectory();
// Progress text of start-up and loading.
void App_ShowSplashMessage(const QString& text);
// The map handle of the active document; null without one. Until map windows exist the handle
// is the one set here (tests and tools).
MapWorld** App_GetActiveMap();
void App_SetActiveMap(MapWorld** map);
