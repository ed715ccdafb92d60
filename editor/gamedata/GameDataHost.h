// What the game-data layer asks of the running program: the managers it keeps for the program's
// life (game configurations, textures, models, skies, plugins, entity definitions), where its
// settings files live, and the window's share of what plugins announce. The main window installs
// its host for its lifetime; without one the managers are absent, the functions that reach them
// do nothing, and the announcements go nowhere. Tests and tools may install a host of their own.
#pragma once

#include <QString>
#include <cstdint>

class ArchiveRegistry;
class GameConfigManager;
class GameDataRegistry;
class ModelCache;
class PluginManager;
class SkyManager;
class TextureManager;
struct EngineFuncs;
struct MapWorld;
struct PluginDialogFuncs;
struct PrimitiveEntry;

class GameDataHost {
public:
    virtual ~GameDataHost() = default;

    virtual GameConfigManager& gameConfigs() = 0;
    virtual TextureManager& textures() = 0;
    virtual ModelCache& models() = 0;
    virtual SkyManager& skies() = 0;
    virtual PluginManager& plugins() = 0;
    virtual GameDataRegistry& gameData() = 0;

    // A settings file by name: for writing the one the user keeps (made on first use); for
    // reading that one when it exists, else the program's. Empty where the host keeps no files.
    virtual QString configFile(const QString& name, bool forWriting) const {
        (void)name;
        (void)forWriting;
        return {};
    }
    // Fills the plugin function table with the program's functions, when the host is installed
    // (before any plugin loads). A host without them leaves the table as it stands.
    virtual void fillEngineFuncs(EngineFuncs* table) { (void)table; }
    // The map plugin commands work on (the active view's), or null.
    virtual MapWorld** activeMap() { return nullptr; }
    // A progress line of start-up and loading (on the splash screen or the wait dialog).
    virtual void showProgress(const QString& text) { (void)text; }
    // Holds the views' painting (on) or lets it go on again; answers whether it was held before.
    virtual bool holdDrawing(bool hold) {
        (void)hold;
        return false;
    }
    // The texture-filter word the views share (-1 until rebuilt from the settings), or null where
    // the host keeps none.
    virtual int32_t* textureFilterWord() { return nullptr; }
    // The configurations' skies were replaced: the open maps look theirs up again.
    virtual void refreshDocumentSkies() {}
    // The message boxes, command dialog and wait cursor plugins use; null where none can be shown.
    virtual const PluginDialogFuncs* pluginDialogs() { return nullptr; }
    // A plugin's row for the New Objects list (the host copies it).
    virtual void registerPrimitive(const PrimitiveEntry* entry) { (void)entry; }
    // A plugin's names for the surface and content flag bits of a map profile.
    virtual void setSurfaceFlagName(const char* profile, const char* flag, int32_t bit) {
        (void)profile, (void)flag, (void)bit;
    }
    virtual void setContentFlagName(const char* profile, const char* flag, int32_t bit) {
        (void)profile, (void)flag, (void)bit;
    }
};

// The installed host, or null. The host outlives its installation. Installing a host has it fill
// the plugin function table.
GameDataHost* GameData_Host();
void GameData_SetHost(GameDataHost* host);

// The installed host's managers, else null.
TextureManager* GameData_Textures();
PluginManager* GameData_Plugins();
// The installed host's active map, else null.
MapWorld** GameData_ActiveMap();
// Shows the progress line through the installed host; nothing without one.
void GameData_ShowProgress(const QString& text);
// The program's archives (the system host's), else null.
ArchiveRegistry* GameData_Archives();
