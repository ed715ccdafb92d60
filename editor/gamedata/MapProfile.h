// Map profiles: what a game's map format supports (render keys, sky keys, target prefixes,
// content masks). Profiles come from plugins; until the plugin host exists they are registered
// by name here, and the current one is the profile the current game configuration names.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class GameConfigManager;

// Bits of MapProfileRecord::flags.
namespace MapProfileFlag {
constexpr uint32_t RenderKeys = 0x100;    // "rendermode", "renderfx", "renderamt", "rendercolor"
constexpr uint32_t AlphaKey = 0x200;      // "alpha"
constexpr uint32_t NoLightColor = 0x2000; // no "_light"/"light" colour fallback
constexpr uint32_t SkyName = 0x8000;
constexpr uint32_t SkyAxis = 0x10000; // "skyaxis"/"skyrotate"
constexpr uint32_t ModelPitchInverted = 0x20000;
} // namespace MapProfileFlag

struct MapProfileRecord {
    QString name;
    void* plugin = nullptr; // owning plugin library
    uint32_t flags = 0;     // MapProfileFlag
    QByteArray defaultSky;
    QByteArray targetPrefixes; // a target starting with one of these links without it
    int32_t contentMask = 0;
    int32_t detailContentsMask = 0;
    uint32_t capabilities = 0;
};

// Registers a profile under its name (replacing one of the same name); null name ignored.
void MapProfile_Register(MapProfileRecord* profile);
void MapProfile_Unregister(MapProfileRecord* profile);
// The profile named by the manager's current configuration (the main window's when null), else
// the built-in empty profile; never null.
const MapProfileRecord* GameCfg_CurrentProfile(const GameConfigManager* manager = nullptr);
// Whether a real profile is current (not the built-in empty one).
bool GameCfg_HasCurrentProfile(const GameConfigManager* manager = nullptr);
