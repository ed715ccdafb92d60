// The editor's system layer: memory, timing, the console log, options, files and paths, file
// dialogs, command lines and process spawning, and the small snapping and rotation helpers that
// many parts share. Everything runs on the GUI thread. Functions that plugins reach through the
// engine-function table keep plain C types in their signatures.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "core/TempBuffer.h"
#include "kstdlib/kmath.h"

// Every log line is formatted into a buffer of this many bytes (one kept for the terminator).
inline constexpr int kSysLogBufferSize = 8192;

// ---- Memory and strings -------------------------------------------------------------------
// Blocks from Sys_Alloc, Sys_StrDup, Sys_QStringToCString and Sys_LoadFile are zero-filled and
// freed with Sys_Free, by the editor and by plugins alike.
void* Sys_Alloc(uint64_t size);
void Sys_Free(void* block);
char* Sys_StrDup(const char* text);
// Windows-1251 bytes of the text in a new block; an empty text gives null.
char* Sys_QStringToCString(const QString& text);
// Windows-1251 bytes of the text, cut at 259 characters, in a ring of 16 buffers: valid until
// 16 further calls.
const char* Sys_QStringToTemp(const QString& text);

// ---- Timing -------------------------------------------------------------------------------
// Seconds since the first call (which answers 0).
float Sys_Seconds();

// ---- Console log --------------------------------------------------------------------------
// printf-style; each cut at 8191 characters. All are silent while no main window exists.
void Sys_Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Dropped while the splash screen or the precache wait dialog is up.
void Sys_VerbosePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Views do not repaint while the line is appended.
void Sys_PrintfNoRedraw(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Debugger output (stderr) only.
void Sys_DebugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Sys_Warning(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Reports only: callers go on with their own failure path.
void Sys_Error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// ---- Plugin options -------------------------------------------------------------------------
// Option numbers of Sys_GetOption / Sys_SetOption.
enum SysOption : int32_t {
    SYS_OPTION_SNAP_TO_GRID = 0,
    SYS_OPTION_GRID_2D = 1,
    SYS_OPTION_GRID_3D = 2,
    SYS_OPTION_GRID_SIZE = 3,
    SYS_OPTION_CORDON = 4,
};

// The option from the installed host's settings: a switch reads 1 or 0, the grid size as set.
// 0 while no host keeps settings; an unknown number warns and reads 0.
int32_t Sys_GetOption(int32_t option);
// A switch takes any non-zero value as on; the grid size becomes the smallest power of two not
// below the value (at least 1). Ignored while no host keeps settings; an unknown number warns.
void Sys_SetOption(int32_t option, int32_t value);

// ---- Files and paths ----------------------------------------------------------------------
// Whole file in a new zero-terminated block (free with Sys_Free); falls back to the current
// game configuration's archives and to a case-insensitive match on disk. Null on failure, with
// a console error.
char* Sys_LoadFile(const char* path, uint32_t* length);
// A readable regular file on disk (case-insensitive fallback) or a file in a loaded archive.
bool Sys_FileExists(const char* path);
// Resolves a name against the mod folder, the game folder and the program's base folder; false
// (and the name copied unchanged) when none holds it. The buffer is always terminated.
bool Sys_FindFile(const char* name, char* buffer, uint32_t size);
// Creates every directory of the path up to its last '/'; refuses ".." and "::". The caller's
// text is never written to.
bool Sys_CreatePath(const char* path);
bool Sys_GetGameDir(char* buffer, uint32_t size);
// The mod folder, else the game folder.
bool Sys_GetModDir(char* buffer, uint32_t size);
// The path plugins open; returned unchanged on this platform.
const char* Sys_NativePath(const char* path);
// The path without the parent of the directory (or of the program's base folder) in front.
QString Sys_MakeRelativePath(const QString& directory, const QString& path);

// ---- Command lines and spawning -----------------------------------------------------------
// Appends the program part of a command line to words and the part from the first word that
// starts with '-' or '+' to switches.
void Sys_SplitSwitches(const QString& line, QString& words, QString& switches);
// Cuts an argument text into arguments: blanks separate them, double quotes group one. Text past
// kSysLogBufferSize - 1 bytes and arguments past the 126th are dropped with a warning.
QStringList Sys_SplitArguments(const QString& arguments, const QString& program);
// Starts the program (no shell) with each argument as it is. With wait the call returns when the
// program has ended. False when the program could not be started, with the system's reason in
// errorText when given.
bool Sys_Spawn(const QString& program, const QStringList& arguments, bool wait, QString* errorText = nullptr);
// The same with the arguments cut from a text by Sys_SplitArguments.
bool Sys_Spawn(const QString& program, const QString& arguments, bool wait, QString* errorText = nullptr);

// ---- Geometry -----------------------------------------------------------------------------
// Row-major 4×4 matrix of Rz(az)·Ry(ay)·Rx(ax) (degrees) with the origin as translation.
void Math_RotationMatrix(float az, float ay, float ax, const float origin[3], float out[16]);
// Each plane points at normal[3] followed by dist, as the kstdlib plane record and float[4]
// planes are laid out. With flip, B is negated first.
bool Math_PlanesEqual(const float* planeA, const float* planeB, bool flip);
bool Math_PlanesEqual(const KPlane* planeA, const KPlane* planeB, bool flip);
bool Math_VectorIsNearZero(const float v[3]);
// Components within 0.01 of a whole number become it.
void Math_SnapVector(float v[3]);
// Values within 1e-4 of a whole number become it.
void Math_SnapFloats(int32_t count, float* values);
// Snaps to the grid when snapping is on, else to whole units; returns the last component.
float Sys_SnapToGrid(float point[3]);
// The same rule for one component (0..2); returns it.
float Sys_SnapAxisToGrid(int32_t axis, float point[3]);
// Components within MapVertexRoundEps (0.01 without a main window) of a whole number become it.
void Sys_SnapVector(float v[3]);
// Turns texture axes from the source plane onto the target plane about their common line.
// Callers derive the new shifts as (S'·O) / sScale and (T'·O) / tScale.
void Math_WrapTextureAxes(const float normal1[3], float dist1, const float s[3], float sShift,
                          const float t[3], float tShift, float sScale, float tScale, const float normal2[3],
                          float dist2, float sOut[3], float tOut[3], float originOut[3]);
