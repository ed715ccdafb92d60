// The small Linux layer behind the system functions: clock, debugger output, directories,
// error texts, regular-file checks, case-insensitive look-up of game files and spawning.
#pragma once

#include <QString>
#include <cstdint>

// Milliseconds of a monotonic clock (wraps like a 32-bit tick counter).
uint32_t Plat_Milliseconds();
// The debugger output of this platform: stderr.
void Plat_DebugOutput(const char* text);
// Creates one directory; 0 on success or when it already exists as a directory, else errno.
int Plat_MakeDirectory(const char* path);
// The system's text for an error number.
const char* Plat_ErrorText(int error);
bool Plat_IsRegularFile(const char* path);
// The path as it is on disk when it names a regular file, matching each component without
// regard to case where the exact name is missing; empty when there is no such file.
// Folder listings are cached and checked against the folder's modification time at each use.
QString Plat_FindFileNoCase(const QString& path);
// Between these (nested calls count), each folder is checked once: a batch of look-ups such as a
// package load sees the folders as they were at their first use in it.
void Plat_BeginLookupPass();
void Plat_EndLookupPass();
// A look-up pass for the scope's lifetime.
class cLookupPass {
public:
    cLookupPass() { Plat_BeginLookupPass(); }
    ~cLookupPass() { Plat_EndLookupPass(); }
    cLookupPass(const cLookupPass&) = delete;
    cLookupPass& operator=(const cLookupPass&) = delete;
};
// Runs file (searched in PATH) with argv (argv[0] first, null-terminated). With wait the call
// returns after the program ended; without it the program runs on its own and is reaped by the
// system. False, with errorOut set, when the program could not be started.
bool Plat_Spawn(const char* file, char* const argv[], bool wait, int* errorOut);
// Plugins of the original platform got '\'-separated paths; here the path stays as it is.
QString Plat_PluginPath(const QString& path);

// Keeps every shared library loaded so far mapped until the process ends. Sanitizer builds call it
// before the application object goes: the leak check at exit then still finds the GL driver the
// shared context loaded, so its own allocations are told apart from ours (and suppressed).
void Plat_KeepLoadedLibraries();
