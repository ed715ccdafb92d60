#include "dialogs/application/RunCommands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "core/Platform.h"
#include "core/System.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginInterface.h"

namespace {

// The original tools took '\'-separated paths; here the platform's separator function decides.
QString nativeSeparators(const QString& text) {
    return Plat_PluginPath(text);
}

QString fixedText(const char* text, size_t size) {
    return QString::fromUtf8(text, qsizetype(strnlen(text, size)));
}

QString gameFolder(const GameConfig* config) {
    return config->GameModdir.trimmed().isEmpty() ? config->GameBasedir : config->GameModdir;
}

// The program part of a command line (the words before its switches).
QString programOf(const QString& line) {
    QString words, switches;
    Sys_SplitSwitches(line, words, switches);
    return words;
}

QString exeDir(const GameConfig* config) {
    return QFileInfo(programOf(config->GameExecutable)).canonicalPath();
}

// One variable, in one pass from the captures: a value holding "\1" or its own name goes in as it is.
QString replaceVariable(const QString& text, const QString& name, const QString& value) {
    const QRegularExpression re(QStringLiteral("(?<!\\$)\\$%1(?!\\w)").arg(QRegularExpression::escape(name)),
                                QRegularExpression::CaseInsensitiveOption |
                                    QRegularExpression::UseUnicodePropertiesOption);
    QString out;
    qsizetype last = 0;
    for (auto it = re.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        out += value;
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

QString mapsFolderFile(const RunContext& context, const char* suffix) {
    const QString dir = nativeSeparators(gameFolder(context.config) + QStringLiteral("/maps/"));
    return dir + context.mapName + QLatin1String(suffix);
}

bool nonEmptyFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
}

std::shared_ptr<RunCommand> makeCommand(int32_t type, const QString& prog, const QString& args) {
    auto command = std::make_shared<RunCommand>();
    command->Type = type;
    command->Prog = prog;
    command->Args = args;
    return command;
}

// A command that starts a program with these arguments, each as it is.
std::shared_ptr<RunCommand> programCommand(int32_t type, const QString& prog, const QStringList& arguments) {
    auto command = makeCommand(type, prog, RunMap_ShowArguments(arguments));
    command->Arguments = arguments;
    return command;
}

bool startsProgram(int32_t type) {
    return type == RUNCMD_RUN || type == RUNCMD_RUN_WAIT || type == RUNCMD_PROCESS_WINDOW;
}

} // namespace

QString expandVariables(const RunContext& context, const QString& text) {
    if (!context.config) {
        Sys_Error("expandVariables: NULL config");
        return text;
    }
    if (!context.profile) {
        Sys_Error("expandVariables: NULL profile");
        return text;
    }
    QString out = text;
    if (out.contains('$')) {
        const GameConfig* c = context.config;
        const QString extension =
            fixedText(context.profile->compiledExtension, sizeof context.profile->compiledExtension);
        const std::pair<const char*, QString> variables[] = {
            {"csg_exe", c->MapTool[0]},   {"bsp_exe", c->MapTool[1]},      {"vis_exe", c->MapTool[2]},
            {"light_exe", c->MapTool[3]}, {"game_exe", c->GameExecutable}, {"gamedir", c->GameBasedir},
            {"moddir", c->GameModdir},    {"exedir", exeDir(c)},           {"path", context.mapDir},
            {"file", context.mapName},    {"ext", context.mapExt},         {"bspdir", context.bspDir},
            {"bspext", extension.mid(1)},
        };
        for (const auto& [name, value] : variables)
            out = replaceVariable(out, QLatin1String(name), value);
    }
    return nativeSeparators(out);
}

QStringList RunMap_ExpandArguments(const RunContext& context, const QString& text) {
    QStringList out;
    for (const QString& word : Sys_SplitArguments(text, QString())) {
        const QString argument = expandVariables(context, word);
        if (!argument.isEmpty() || word.isEmpty()) out.append(argument);
    }
    return out;
}

QString RunMap_ShowArguments(const QStringList& arguments) {
    QStringList shown;
    for (QString argument : arguments) {
        if (argument.isEmpty() || argument.contains(QLatin1Char(' ')) || argument.contains(QLatin1Char('"')))
            argument = QLatin1Char('"') + argument.replace(QLatin1Char('"'), QLatin1String("\\\"")) +
                       QLatin1Char('"');
        shown.append(argument);
    }
    return shown.join(QLatin1Char(' '));
}

void RunMap_SetMapFile(RunContext& context, const QString& path) {
    const QFileInfo info(path);
    context.mapDir = nativeSeparators(info.exists() ? info.canonicalPath() : QString());
    context.mapExt = info.suffix();
    context.mapName = info.completeBaseName();
    context.mapPathNoExt = context.mapDir + nativeSeparators(QStringLiteral("/")) + context.mapName;
    context.bspDir.clear();
    if (context.config) {
        const QString folder = gameFolder(context.config);
        context.bspDir = folder.trimmed().isEmpty() ? folder : folder + QStringLiteral("/maps");
        context.bspDir = nativeSeparators(context.bspDir);
    }
}

bool RunMap_SameFile(const QString& a, const QString& b) {
    if (a == b) return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

RunCommandList RunMap_BuildExpertCommands(const RunContext& context, const RunConfig* config) {
    RunCommandList list;
    if (!config) return list;
    for (const auto& source : config->Commands) {
        if (!(source->Flags & RUNCMD_ENABLED)) continue;
        const QString expanded = expandVariables(context, source->Prog);
        if (expanded.trimmed().isEmpty() && source->Type != RUNCMD_CHANGE_DIR &&
            source->Type != RUNCMD_DELETE)
            continue;
        std::shared_ptr<RunCommand> command;
        if (startsProgram(source->Type)) {
            // The program words are expanded first (a tool's variable brings its own switches);
            // every switch and argument after them is expanded word by word.
            QString words, switches, program, toolSwitches;
            Sys_SplitSwitches(source->Prog, words, switches);
            Sys_SplitSwitches(expandVariables(context, words), program, toolSwitches);
            program = nativeSeparators(program.trimmed());
            QStringList arguments = Sys_SplitArguments(toolSwitches, program);
            arguments += RunMap_ExpandArguments(context, switches);
            arguments += RunMap_ExpandArguments(context, source->Args);
            command = programCommand(source->Type, program, arguments);
        } else {
            const QString path = nativeSeparators(expanded.trimmed());
            const QString other = nativeSeparators(expandVariables(context, source->Args).trimmed());
            if ((source->Type == RUNCMD_COPY || source->Type == RUNCMD_RENAME) &&
                RunMap_SameFile(path, other))
                continue;
            command = makeCommand(source->Type, path, other);
        }
        command->Flags = source->Flags;
        if (source->Flags & RUNCMD_CHECK_FILE)
            command->FileCheck = expandVariables(context, source->FileCheck);
        list.append(command);
    }
    return list;
}

RunCommandList RunMap_BuildNormalCommands(RunContext& context, const RunNormalChoices& choices) {
    RunCommandList list;
    if (!context.config) return list;
    const GameConfig* c = context.config;
    const MapProfileRecord* profile = context.profile;
    const QString folder = gameFolder(c);
    list.append(makeCommand(RUNCMD_CHANGE_DIR, QString(), folder));

    // A missing maps folder stays a path below the game folder, so the copy fails with a message
    // instead of going to the file-system root.
    const QString cleaned = QDir::cleanPath(folder + QStringLiteral("/maps"));
    const QString canonical = QFileInfo(cleaned).canonicalFilePath();
    const QString mapsDir = nativeSeparators(canonical.isEmpty() ? cleaned : canonical);
    // The tools' own switches may name folders and the map ("-fs_basepath $gamedir/.."); there
    // $path is the folder of the copy they compile.
    RunContext tools = context;
    if (!RunMap_SameFile(context.mapDir, mapsDir)) {
        list.append(makeCommand(
            RUNCMD_COPY, QStringLiteral("%1.%2").arg(context.mapPathNoExt, context.mapExt),
            nativeSeparators(QStringLiteral("%1/%2.%3")).arg(mapsDir, context.mapName, context.mapExt)));
        context.mapPathNoExt = nativeSeparators(QStringLiteral("%1/%2")).arg(mapsDir, context.mapName);
        tools.mapDir = mapsDir;
    }

    const char* const switches[4] = {profile ? profile->csgSwitch : "", profile ? profile->bspSwitch : "",
                                     profile ? profile->visSwitch : "", profile ? profile->lightSwitch : ""};
    for (int tool = 0; tool < 4; ++tool) {
        if (!choices.toolEnabled[tool] || choices.tool[tool] == RunToolChoice::No) continue;
        QString prog, toolSwitches;
        Sys_SplitSwitches(c->MapTool[tool], prog, toolSwitches);
        // Each word expanded alone, as in expert mode: a value reaches the tool as one argument.
        QStringList arguments =
            profile ? RunMap_ExpandArguments(tools, toolSwitches) : Sys_SplitArguments(toolSwitches, prog);
        if (profile) prog = expandVariables(tools, prog);
        if (choices.tool[tool] == RunToolChoice::Special)
            arguments +=
                Sys_SplitArguments(fixedText(switches[tool], profile ? sizeof profile->csgSwitch : 1), prog);
        arguments.append(context.mapPathNoExt);
        list.append(programCommand(RUNCMD_PROCESS_WINDOW, prog, arguments));
    }

    if (!c->GameExecutable.trimmed().isEmpty() && !choices.dontRunGame) {
        const QString dir = exeDir(c);
        list.append(makeCommand(RUNCMD_CHANGE_DIR, QString(), dir.isEmpty() ? c->GameBasedir : dir));
        QString prog, gameSwitches;
        Sys_SplitSwitches(c->GameExecutable, prog, gameSwitches);
        const QString runSwitch =
            profile ? fixedText(profile->runSwitch, sizeof profile->runSwitch) : QString();
        QStringList arguments = Sys_SplitArguments(gameSwitches, prog);
        arguments += Sys_SplitArguments(c->GameCommandLine, prog);
        arguments += Sys_SplitArguments(runSwitch, prog);
        arguments.append(context.mapName);
        list.append(programCommand(RUNCMD_RUN, prog, arguments));
    }
    return list;
}

void RunMap_RemoveStaleFiles(const RunContext& context, bool removePortal) {
    if (!context.config) return;
    QFile::remove(mapsFolderFile(context, ".lin"));
    QFile::remove(mapsFolderFile(context, ".pts"));
    if (removePortal) QFile::remove(mapsFolderFile(context, ".prt"));
}

int32_t RunMap_FindPointFile(const RunContext& context, QString* path) {
    path->clear();
    if (!context.config) return 0;
    int32_t kind = 1;
    for (const char* suffix : {".lin", ".pts"}) {
        const QString candidate = mapsFolderFile(context, suffix);
        if (nonEmptyFile(candidate)) {
            *path = candidate;
            return kind;
        }
        ++kind;
    }
    return 0;
}

bool RunMap_FindPortalFile(const RunContext& context, QString* path) {
    path->clear();
    if (!context.config) return false;
    const QString candidate = mapsFolderFile(context, ".prt");
    if (!nonEmptyFile(candidate)) return false;
    *path = candidate;
    return true;
}
