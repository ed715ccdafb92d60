// Which game configuration the file look-ups of the system layer search (Sys_FindFile,
// Sys_FileExists, Sys_LoadFile, the game and mod folders). Making a configuration current in the
// main window's manager sets it; code about to run plugin code moves the current one into the
// previous slot first and sets its own.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>

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

// Answers of Sys_FindFile remembered per configuration, for callers that resolve the same names
// over and over (the model cache's keys). An answer holds while the configuration's mod and game
// folders, the program folder, the working folder and the archives stay as they were, and until
// the editor writes files or the user asks for a reload (Sys_ForgetFoundFiles). Misses are never
// remembered, so a file added later is found by the next look-up. Main thread only.
struct FoundFiles {
    // What an answer depends on besides the disk.
    struct Folders {
        QString mod;
        QString game;
        QString program;
        QString working;
        uint64_t archives = 0; // the registry's generation
        bool operator==(const Folders&) const = default;
    };
    struct Answers {
        Folders folders;
        QHash<QByteArray, QByteArray> found; // name as asked -> resolved path
    };
    QHash<const GameConfig*, Answers> byConfig; // null: no configuration current
};

// Sys_FindFile's answer with the full resolved path (no buffer limit), remembered in the main
// window's FoundFiles; without a main window nothing is remembered.
bool Sys_FindFileRemembered(const QByteArray& name, QByteArray* resolved);
// Drops every remembered answer: files were written, moved or removed by the editor or a program
// it ran, or the user asked to load again.
void Sys_ForgetFoundFiles();
