// Map profiles: a game plugin's fixed description of one game (extensions, folders, compiler
// switches, default classes and textures, special content bits). The game-configuration manager
// keeps its own copy of every registered record, keyed by name; the configuration's MapProfile
// names the one in use.
#pragma once

#include <QByteArray>
#include <cstdint>

#include "gamedata/PluginInterface.h"

class GameConfigManager;

// Copies the 2896-byte record with owner stored in its first field, under the record's name.
// Refused with a warning: an empty name, a name without terminator, a name already registered
// (the first stays). Text fields without a terminator are cut to their size with a warning.
void GameCfg_RegisterProfile(GameConfigManager* manager, void* owner, const MapProfileRecord* record);
// The manager's copy registered under the name; null when none.
MapProfileRecord* GameCfg_FindProfile(GameConfigManager* manager, const char* name);
// Frees every copy of the manager.
void GameCfg_FreeProfiles(GameConfigManager* manager);
// The profile named by the manager's current configuration (the installed host's when null), else
// the built-in empty profile "(null)"; never null.
const MapProfileRecord* GameCfg_CurrentProfile(const GameConfigManager* manager = nullptr);
// Whether a registered profile is current (not the built-in empty one).
bool GameCfg_HasCurrentProfile(const GameConfigManager* manager = nullptr);
// The built-in empty profile: name "(null)", title "???", everything else zero.
const MapProfileRecord* GameCfg_EmptyProfile();

// A text field of a record, read within its array.
template <size_t N> QByteArray Profile_Text(const char (&field)[N]) {
    size_t length = 0;
    while (length < N && field[length])
        ++length;
    return QByteArray(field, static_cast<qsizetype>(length));
}
