// Turning run configurations and the run dialog's choices into ready commands: the "$" variables
// of a configuration, the fields of the exported map they refer to, the commands of the normal
// mode, and the compilers' leak and portal files around a run. Headless.
#pragma once

#include <QString>
#include <QStringList>
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
// The arguments of a command text: blanks separate them and double quotes group one (the quotes
// go). Each is then expanded alone, so a value reaches the program as part of exactly one
// argument whatever it holds; a word that expands to nothing (not a quoted "") is left out.
QStringList RunMap_ExpandArguments(const RunContext& context, const QString& text);
// Arguments as a command line shows them: one holding a blank or a quote, or empty, in double
// quotes (a quote inside as \"). For the eye only: nothing splits this text again.
QString RunMap_ShowArguments(const QStringList& arguments);
// The map-file fields from the path of the exported map.
void RunMap_SetMapFile(RunContext& context, const QString& path);
// The enabled commands of the configuration, expanded; commands without a program (but change
// directory and delete) and copies or renames of a file onto itself are left out. A program's
// command is the program part of its expanded Prog (the words before the first switch), then the
// switches that follow it there, then the arguments of Args, each as RunMap_ExpandArguments makes
// them. File commands take Prog and Args expanded whole, as one path each.
RunCommandList RunMap_BuildExpertCommands(const RunContext& context, const RunConfig* config);
// Change to the game folder, copy the map into its maps folder when it lies elsewhere, the chosen
// tools in the process window, then change to the game's folder and start it. Each tool gets its
// switches (with a profile, their variables expanded word by word as RunMap_ExpandArguments does,
// $path naming the folder the tools compile in) and the map's path as one argument; the game its
// switches, the command line, the run switch and the map's name as one argument.
RunCommandList RunMap_BuildNormalCommands(RunContext& context, const RunNormalChoices& choices);
// Deletes the map's old ".lin" and ".pts" files, and its ".prt" file with removePortal.
void RunMap_RemoveStaleFiles(const RunContext& context, bool removePortal);
// 1 with the ".lin" file, 2 with the ".pts" file (each only when not empty), else 0 and "".
int32_t RunMap_FindPointFile(const RunContext& context, QString* path);
bool RunMap_FindPortalFile(const RunContext& context, QString* path);
// Whether the two paths name one file on disk; a missing file is the same only as the same text.
bool RunMap_SameFile(const QString& a, const QString& b);
