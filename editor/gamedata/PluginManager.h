// The plugin host: finds the game plugins ("kp*x64.so" in the plugins folder), loads and binds
// each one with the engine-function table, asks it what it provides, and keeps the libraries,
// the plugin commands and the map import and export formats. One per program (the game-data host's).
#pragma once

#include <QList>
#include <QString>

#include "gamedata/PluginFormats.h"
#include "gamedata/PluginInterface.h"

class QLibrary;

class PluginManager {
public:
    // Fills the engine-function table (the same values every time).
    PluginManager();
    ~PluginManager();
    PluginManager(const PluginManager&) = delete;
    PluginManager& operator=(const PluginManager&) = delete;

    QList<QLibrary*> libraries;   // bound plugins in load order; owned
    QList<PluginAction*> actions; // owned copies; sorted once all plugins are loaded
    QList<MapFormatEntry> exportFormats;
    QList<MapFormatEntry> importFormats;
};

// ---- Loading and binding ----------------------------------------------------------------------
// Binds every "kp*x64.so" of the plugins folder in name order, then sorts the actions. File
// look-ups search no game configuration while plugins load.
void Plugin_LoadAll(PluginManager* manager);
// Loads and binds one plugin file; true when it was accepted and kept.
bool Plugin_Load(PluginManager* manager, const QString& path);
// Drops every library handle (the code stays loaded: handles never unload).
void Plugin_UnloadAll(PluginManager* manager);
void Plugin_FreeActions(PluginManager* manager);
void Plugin_DestroyManager(PluginManager* manager);

// The plugins folder: the base directory's "plugins" unless another folder was set (tests and
// tools); an empty folder restores the default.
QString Plugin_Folder();
void Plugin_SetFolder(const QString& folder);

// ---- The engine-function table ----------------------------------------------------------------
// The editor's one table, handed to every plugin; the game-data host fills it when installed
// (GameDataHost::fillEngineFuncs).
EngineFuncs* Plugin_EngineFuncs();

// ---- Registration callbacks (handed to the plugin's enumerators) -----------------------------
// context is the plugin's library handle (QLibrary*) for all but actions.
void Plugin_RegisterProfileCallback(const MapProfileRecord* profile, void* context);
int32_t Plugin_RegisterExportFormat(int32_t id, const char* name, const char* extension, void* context);
int32_t Plugin_RegisterImportFormat(int32_t id, const char* name, const char* extension, void* context);
int32_t Plugin_RegisterTextureFormat(int32_t id, const char* name, const char* extension, void* context);
int32_t Plugin_RegisterPackageFormat(int32_t id, const char* name, const char* extension, void* context);
int32_t Plugin_RegisterSkyFormat(int32_t id, const char* name, const char* extension, void* context);
int32_t Plugin_RegisterSpriteFormat(int32_t id, const char* name, const char* extension, void* context);
int32_t Plugin_RegisterModelFormat(int32_t id, const char* name, const char* extension, void* context);
int32_t Plugin_RegisterArchiveFormat(int32_t id, const char* name, const char* extension, void* context);
void Plugin_RegisterPrimitiveCallback(const PrimitiveEntry* primitive, void* context);
void Plugin_RegisterSurfaceFlag(const char* profile, const char* flag, int32_t bit, void* context);
void Plugin_RegisterContentFlag(const char* profile, const char* flag, int32_t bit, void* context);

// ---- Plugin actions ---------------------------------------------------------------------------
// context is the PluginManager.
void Plugin_RegisterActionCallback(const PluginAction* action, void* context);
// Validates and stores a copy of the record.
void registerAction(PluginManager* manager, const PluginAction* action);
// True when a sorts before b: actions with a category first, by unsigned byte order of the
// categories; actions without one last.
bool Plugin_CompareActions(const PluginAction* a, const PluginAction* b);
