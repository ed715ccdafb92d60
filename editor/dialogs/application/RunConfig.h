// Run configurations: named lists of commands that compile the map and start the game, and their
// file "KDKRunCfg.ini" (UTF-8, "Config%1" groups holding a "Commands" array in the settings
// class's form: "Commands\size", "Commands\1\Type", ...).
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "gamedata/GameConfigFile.h"

// What a command does.
enum RunCommandType : int32_t {
    RUNCMD_RUN = 0,            // start the program and go on
    RUNCMD_PROCESS_WINDOW = 1, // run it with its output in the process window and wait
    RUNCMD_CHANGE_DIR = 2,
    RUNCMD_COPY = 3,
    RUNCMD_RENAME = 4,
    RUNCMD_DELETE = 5,
    RUNCMD_RUN_WAIT = 6, // start the program and wait until it ends
};
inline constexpr int32_t kRunCommandTypeCount = 7;

// Bits of RunCommand::Flags; other bits are kept as they are.
inline constexpr int32_t RUNCMD_ENABLED = 1;
inline constexpr int32_t RUNCMD_CHECK_FILE = 2;

struct RunCommand {
    int32_t Type = RUNCMD_RUN;
    int32_t Flags = RUNCMD_ENABLED;
    QString Prog;      // program, or the source of a copy or rename
    QString Args;      // arguments, directory, destination or file
    QString FileCheck; // must exist afterwards when RUNCMD_CHECK_FILE is set
    // A built command that starts a program: its arguments one by one, whatever characters they
    // hold; Args then only shows them.
    QStringList Arguments;
};

struct RunConfig {
    QString Title;
    QList<std::shared_ptr<RunCommand>> Commands;
};

using RunConfigList = QList<std::shared_ptr<RunConfig>>;
using RunCommandList = QList<std::shared_ptr<RunCommand>>;

// The translated names that stand for the file-system types 2 to 5 ("Change Directory", "Copy
// File", "Rename File", "Delete File"); each user keeps its own copy and refreshes it when the
// language changes.
struct RunSpecialNames {
    QString names[4];

    // Re-translates the four names.
    void retranslate();
    // The name of a type from 2 to 5; empty for other types.
    QString of(int32_t type) const;
    // The type whose name the text is; -1 when it names none.
    int32_t typeOf(const QString& text) const;
};

// The configuration "Default": change to the game folder, the four tools in the process window,
// change to the game's folder, start the game.
std::shared_ptr<RunConfig> RunCfg_MakeDefault();

// Reads and writes "KDKRunCfg.ini". A file damaged anywhere is kept as "KDKRunCfg.ini.bak" by the
// first save after the load that reported it.
class cRunConfigFile : public cConfigGroupFile {
public:
    // Appends what the file holds; a missing file appends nothing. Types outside 0..6 read as 0.
    bool load(const QString& path, RunConfigList* configs);
    bool save(const QString& path, const RunConfigList& configs);
};

// The group of one configuration: "Title", "Commands\size", then each command's "Type" and
// "Flags" and its non-empty "Prog", "Args" and "FileCheck".
IniGroup RunCfgFile_WriteGroup(const RunConfig& config, int32_t index);
