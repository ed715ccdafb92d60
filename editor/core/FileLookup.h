// Which game configuration the file look-ups of the system layer search (Sys_FindFile,
// Sys_FileExists, Sys_LoadFile, the game and mod folders). Making a configuration current in the
// main window's manager sets it; code about to run plugin code moves the current one into the
// previous slot first and sets its own.
#pragma once

struct GameConfig;

struct FileLookupConfig {
    GameConfig* current = nullptr;
    GameConfig* previous = nullptr;
};

// The system layer's one pair.
FileLookupConfig& Sys_FileLookup();
// Moves the current configuration into the previous slot and makes this one current.
void Sys_SwitchFileLookup(GameConfig* config);
// The configuration look-ups search now: the current one while a main window exists, else none.
const GameConfig* Sys_FileLookupConfig();
