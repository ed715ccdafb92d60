// Which game folders the file look-ups of the system layer search (Sys_FindFile, Sys_FileExists,
// Sys_LoadFile, the game and mod folders). A game configuration is such a pair of folders: making
// one current in the main window's manager sets it; code about to run plugin code moves the current
// one into the previous slot first and sets its own.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>

// The folders of one game; either may be empty.
struct GameFolders {
    QString GameBasedir;
    QString GameModdir;
};

struct FileLookupConfig {
    GameFolders* current = nullptr;
    GameFolders* previous = nullptr;
};

// The system layer's one pair.
FileLookupConfig& Sys_FileLookup();
// Moves the current folders into the previous slot and makes these current.
void Sys_SwitchFileLookup(GameFolders* folders);
// The folders look-ups search now: the current ones while a main window exists, else none.
const GameFolders* Sys_FileLookupConfig();

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
    QHash<const GameFolders*, Answers> byConfig; // null: no folders current
};

// Sys_FindFile's answer with the full resolved path (no buffer limit), remembered in the main
// window's FoundFiles; without a main window nothing is remembered.
bool Sys_FindFileRemembered(const QByteArray& name, QByteArray* resolved);
// Drops every remembered answer: files were written, moved or removed by the editor or a program
// it ran, or the user asked to load again.
void Sys_ForgetFoundFiles();
