// Turning run configurations and the run dialog's choices into ready commands: the "$" variables
// of a configuration, the fields of the exported map they refer to, the commands of the normal
// mode, and the compilers' leak and portal files around a run. Headless.
#pragma once

#include <QString>
#include <cstdint>

#include "dialogs/application/RunConfig.h"

struct GameConfig;
struct MapProfileRecord;

// What the variables and builders read: the map's game configuration and profile (not owned) and
// the fields of the exported map file.
struct RunContext {
    const GameConfig* config = nullptr;
    const MapProfileRecord* profile = nullptr;
    QString mapDir;       // canonical folder of the exported map; empty when it does not exist
    QString mapExt;       // suffix after the last dot
    QString mapName;      // file name without its last suffix
    QString mapPathNoExt; // mapDir/mapName; the normal mode points it at the copy it makes
    QString bspDir;       // the mod (else game) folder + "/maps"; empty without either
};

// The choices of the normal mode for the four tools CSG, BSP, VIS, LIGHT.
enum class RunToolChoice : int32_t { No, Normal, Special };
struct RunNormalChoices {
    bool toolEnabled[4] = {}; // the configuration has a path for the tool
    RunToolChoice tool[4] = {RunToolChoice::Normal, RunToolChoice::Normal, RunToolChoice::Normal,
                             RunToolChoice::Normal};
    bool dontRunGame = false;
};

// Replaces $csg_exe, $bsp_exe, $vis_exe, $light_exe, $game_exe, $gamedir, $moddir, $exedir, $path,
// $file, $ext, $bspdir and $bspext, in this order and in any letter case. A name counts after
// anything but '$' and before anything but a letter, digit or '_'. Values go in as they are and
// are not scanned again for the same variable. Without a configuration or profile the text comes
// back unchanged, with an error.
QString expandVariables(const RunContext& context, const QString& text);
// The map-file fields from the path of the exported map.
void RunMap_SetMapFile(RunContext& context, const QString& path);
// The enabled commands of the configuration, expanded; commands without a program (but change
// directory and delete) and copies or renames of a file onto itself are left out.
RunCommandList RunMap_BuildExpertCommands(const RunContext& context, const RunConfig* config);
// Change to the game folder, copy the map into its maps folder when it lies elsewhere, the chosen
// tools in the process window, then change to the game's folder and start it.
RunCommandList RunMap_BuildNormalCommands(RunContext& context, const RunNormalChoices& choices);
// Deletes the map's old ".lin" and ".pts" files, and its ".prt" file with removePortal.
void RunMap_RemoveStaleFiles(const RunContext& context, bool removePortal);
// 1 with the ".lin" file, 2 with the ".pts" file (each only when not empty), else 0 and "".
int32_t RunMap_FindPointFile(const RunContext& context, QString* path);
bool RunMap_FindPortalFile(const RunContext& context, QString* path);
// Whether the two paths name one file on disk; a missing file is the same only as the same text.
bool RunMap_SameFile(const QString& a, const QString& b);
