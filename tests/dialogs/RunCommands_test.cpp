#include "dialogs/application/RunCommands.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "RunFixture.h"
#include "core/System.h"
#include "dialogs/application/ProcessRunner.h"

namespace {

struct RunCommandsTest : ::testing::Test {
    void SetUp() override {
        base = QDir(dir.path()).filePath("q 3/baseq3");
        maps = base + "/maps";
        QDir().mkpath(maps);
        game = dir.filePath("q 3/quake3");
        Run_WriteFile(game, "#!/bin/sh\n", true);
        config.MapTool[0] = "/opt/tools/csg";
        config.MapTool[1] = "/opt/my tools/q3map2 -meta";
        config.MapTool[2] = "/opt/tools/vis";
        config.MapTool[3] = "/opt/tools/light";
        config.GameExecutable = game + " +set fs_game x";
        config.GameCommandLine = "+set developer 1";
        config.GameBasedir = base;
        context.config = &config;
        context.profile = &profile;
    }
    QString exportAt(const QString& path) {
        Run_WriteFile(path, "// map\n");
        RunMap_SetMapFile(context, path);
        return path;
    }
    static QStringList texts(const RunCommandList& list) {
        QStringList out;
        for (const auto& c : list)
            out << QStringLiteral("%1|%2|%3|%4").arg(c->Type).arg(c->Prog, c->Args, c->FileCheck);
        return out;
    }

    QTemporaryDir dir;
    QString base, maps, game;
    GameConfig config;
    MapProfileRecord profile = Run_Quake3Profile();
    RunContext context;
};

TEST_F(RunCommandsTest, ExpandsEachVariableOnceInAnyCase) {
    exportAt(maps + "/dm1.map");
    config.GameModdir = "mod$moddir";
    config.MapTool[3] = "\\1 \\\\ ";
    const struct {
        const char* text;
        QString expected;
    } cases[] = {
        {"$bspdir/$file.$bspext", maps + "/dm1.bsp"},
        {"$$file", "$$file"},
        {"$filename $file_2", "$filename $file_2"},
        {"$FILE", "dm1"},
        {"$file $file", "dm1 dm1"},
        {"$file$file", "dm1dm1"},
        {"no/variables", "no/variables"},
        {"$path|$ext|$gamedir", maps + "|map|" + base},
        {"$exedir", QFileInfo(game).canonicalPath()},
        {"$game_exe", config.GameExecutable},
        {"[$light_exe]", "[\\1 \\\\ ]"}, // inserted as it is: no back-references, blanks kept
        {"$moddir", "mod$moddir"},       // a value holding its own name goes in once
        {"$csg_exe$bsp_exe", "/opt/tools/csg/opt/my tools/q3map2 -meta"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(expandVariables(context, c.text), c.expected) << c.text;
    EXPECT_EQ(context.mapName, "dm1");
    EXPECT_EQ(context.mapPathNoExt, maps + "/dm1");
}

TEST_F(RunCommandsTest, WithoutConfigurationOrProfileTheTextStays) {
    cConsoleCapture console;
    RunContext none;
    EXPECT_EQ(expandVariables(none, "$file/x"), "$file/x");
    EXPECT_TRUE(console.contains("expandVariables: NULL config"));
    none.config = &config;
    EXPECT_EQ(expandVariables(none, "$file"), "$file");
    EXPECT_TRUE(console.contains("expandVariables: NULL profile"));
}

TEST_F(RunCommandsTest, NormalModeCopiesAMapFromElsewhereIntoTheMapsFolder) {
    const QString source = exportAt(dir.filePath("src/dm1.map"));
    RunNormalChoices choices;
    for (bool& on : choices.toolEnabled)
        on = true;
    choices.tool[1] = RunToolChoice::Special;
    choices.tool[2] = RunToolChoice::No;
    const QString exeDir = QFileInfo(game).canonicalPath();
    const QString canonicalMaps = QFileInfo(maps).canonicalFilePath();
    EXPECT_EQ(
        texts(RunMap_BuildNormalCommands(context, choices)),
        QStringList(
            {"2||" + base + "|",
             QStringLiteral("3|%1|%2/dm1.map|").arg(QFileInfo(source).canonicalFilePath(), canonicalMaps),
             "1|/opt/tools/csg|\"" + canonicalMaps + "/dm1\"|",
             "1|/opt/my tools/q3map2|-meta -onlyents \"" + canonicalMaps + "/dm1\"|",
             "1|/opt/tools/light|\"" + canonicalMaps + "/dm1\"|", "2||" + exeDir + "|",
             "0|" + game + "|+set fs_game x +set developer 1 +devmap dm1|"}));
}

TEST_F(RunCommandsTest, NormalModeChoices) {
    RunNormalChoices all;
    for (bool& on : all.toolEnabled)
        on = true;
    // A map in the maps folder is compiled where it is.
    exportAt(maps + "/dm1.map");
    RunCommandList list = RunMap_BuildNormalCommands(context, all);
    ASSERT_EQ(list.size(), 7);
    EXPECT_EQ(list[1]->Args, "\"" + QFileInfo(maps).canonicalFilePath() + "/dm1\"");

    // No VIS path, no game run, an empty command line.
    RunNormalChoices noVis = all;
    noVis.toolEnabled[2] = false;
    noVis.dontRunGame = true;
    exportAt(maps + "/dm1.map");
    list = RunMap_BuildNormalCommands(context, noVis);
    ASSERT_EQ(list.size(), 4);
    for (const auto& c : list)
        EXPECT_NE(c->Prog, "/opt/tools/vis");
    config.GameCommandLine.clear();
    config.GameExecutable = game;
    exportAt(maps + "/dm1.map");
    list = RunMap_BuildNormalCommands(context, all);
    EXPECT_EQ(list.last()->Args, "+devmap dm1");

    // Letter case names another folder here: the map is copied.
    QDir().mkpath(dir.filePath("q 3/BASEQ3/maps"));
    exportAt(dir.filePath("q 3/BASEQ3/maps/dm1.map"));
    list = RunMap_BuildNormalCommands(context, all);
    EXPECT_EQ(list[1]->Type, RUNCMD_COPY);

    // Without a maps folder the copy goes below the game folder (and fails there), never to "/".
    QDir(maps).removeRecursively();
    exportAt(dir.filePath("src/dm1.map"));
    list = RunMap_BuildNormalCommands(context, all);
    ASSERT_EQ(list[1]->Type, RUNCMD_COPY);
    EXPECT_EQ(list[1]->Args, maps + "/dm1.map");
    EXPECT_EQ(context.mapPathNoExt, maps + "/dm1");

    // Without a profile the switches are empty.
    context.profile = nullptr;
    RunNormalChoices special = all;
    special.tool[3] = RunToolChoice::Special;
    list = RunMap_BuildNormalCommands(context, special);
    EXPECT_EQ(list[5]->Args, "\"" + maps + "/dm1\"");
}

// The tools' switches name the game folder and the map through variables, each one argument
// however many blanks it holds; $path is the maps folder the copy is compiled in.
TEST_F(RunCommandsTest, NormalModeExpandsTheToolsSwitches) {
    exportAt(dir.filePath("src/dm1.map"));
    config.MapTool[1] = "/opt/my tools/q3map2 -fs_basepath $gamedir/.. -fs_game baseoa -meta";
    config.MapTool[3] = "/opt/tools/light -srf $path/$file.srf -light";
    RunNormalChoices all;
    for (bool& on : all.toolEnabled)
        on = true;
    all.dontRunGame = true;
    const QString canonicalMaps = QFileInfo(maps).canonicalFilePath();
    const RunCommandList list = RunMap_BuildNormalCommands(context, all);
    ASSERT_EQ(list.size(), 6);
    EXPECT_EQ(list[3]->Prog, "/opt/my tools/q3map2");
    EXPECT_EQ(list[3]->Arguments, QStringList({"-fs_basepath", base + "/..", "-fs_game", "baseoa", "-meta",
                                               canonicalMaps + "/dm1"}));
    EXPECT_EQ(list[5]->Arguments,
              QStringList({"-srf", canonicalMaps + "/dm1.srf", "-light", canonicalMaps + "/dm1"}));
}

TEST_F(RunCommandsTest, ExpertModeExpandsTheEnabledCommands) {
    exportAt(maps + "/dm1.map");
    const std::shared_ptr<RunConfig> defaults = RunCfg_MakeDefault();
    const QString exeDir = QFileInfo(game).canonicalPath();
    EXPECT_EQ(
        texts(RunMap_BuildExpertCommands(context, defaults.get())),
        QStringList({"2||" + base + "|", "1|/opt/tools/csg|\"" + maps + "/dm1\"|",
                     "1|/opt/my tools/q3map2|-meta \"" + maps + "/dm1\"|",
                     "1|/opt/tools/vis|\"" + maps + "/dm1\"|", "1|/opt/tools/light|\"" + maps + "/dm1\"|",
                     "2||" + exeDir + "|", "0|" + game + "|+set fs_game x -console -dev +map dm1|"}));

    Run_WriteFile(maps + "/Dm1.bsp", "x");
    Run_WriteFile(maps + "/dm1.bsp", "x");
    RunConfig mixed;
    for (const RunCommand& c : std::initializer_list<RunCommand>{
             {RUNCMD_RUN, RUNCMD_ENABLED, "", "-x", ""},             // no program: left out
             {RUNCMD_CHANGE_DIR, RUNCMD_ENABLED, "", "$moddir", ""}, // stays, empty
             {RUNCMD_RUN, 0, "/bin/true", "", ""},                   // disabled
             {RUNCMD_COPY, RUNCMD_ENABLED, "$bspdir/$file.bsp", "$bspdir/./dm1.bsp", ""}, // same file
             {RUNCMD_RENAME, RUNCMD_ENABLED, "$bspdir/Dm1.bsp", "$bspdir/dm1.bsp", ""},   // two files here
             {RUNCMD_RUN_WAIT, RUNCMD_ENABLED | 4, "/bin/true", "", "$file"},             // no check: no file
             {RUNCMD_DELETE, RUNCMD_ENABLED | RUNCMD_CHECK_FILE, "", "$file.prt", "$bspdir/$file.$bspext"}})
        mixed.Commands.append(std::make_shared<RunCommand>(c));
    EXPECT_EQ(texts(RunMap_BuildExpertCommands(context, &mixed)),
              QStringList({"2|||", "4|" + maps + "/Dm1.bsp|" + maps + "/dm1.bsp|", "6|/bin/true||",
                           "5||dm1.prt|" + maps + "/dm1.bsp"}));
    EXPECT_EQ(RunMap_BuildExpertCommands(context, &mixed)[2]->Flags, RUNCMD_ENABLED | 4);
    EXPECT_TRUE(RunMap_BuildExpertCommands(context, nullptr).isEmpty());
}

// Map names and values holding quotes, blanks, shell and game syntax: each reaches the tools and
// the game as exactly one argument, in normal and in expert mode, through the real start paths.
TEST_F(RunCommandsTest, NamesAndValuesReachTheProgramsAsSingleArguments) {
    const QString dump = dir.filePath("q 3/dump");
    Run_WriteFile(dump, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n", true);
    auto dumped = [&] {
        const QStringList lines = QString::fromUtf8(Run_ReadFile(dump + ".args")).split('\n');
        QFile::remove(dump + ".args");
        return lines.mid(0, lines.size() - 1);
    };
    config.MapTool[1] = dump + " -meta";
    config.GameExecutable = dump + " +set fs_game x";
    RunNormalChoices all;
    for (bool& on : all.toolEnabled)
        on = true;
    const QString canonicalMaps = QFileInfo(maps).canonicalFilePath();
    const QStringList gameFront = {"+set", "fs_game", "x", "+set", "developer", "1", "+devmap"};
    for (const char* name : {"inj\" \"-bogus", "odd name's (1)", "dm1 +exec x", "-bogus", "+exec x",
                             "a;b$c`d`", "$file", "back\\slash"}) {
        SCOPED_TRACE(name);
        exportAt(maps + "/" + name + ".map");
        const RunCommandList normal = RunMap_BuildNormalCommands(context, all);
        ASSERT_EQ(normal.size(), 7);
        EXPECT_EQ(normal[2]->Arguments, QStringList({"-meta", canonicalMaps + "/" + name}));
        EXPECT_EQ(normal[6]->Arguments, gameFront + QStringList{name});
        // Started as the run starts them: the tool in the process runner, the game spawned.
        EXPECT_TRUE(cProcessRunner(normal[2]->Prog, normal[2]->Arguments, normal[2]->Args, nullptr).run());
        EXPECT_EQ(dumped(), QStringList({"-meta", canonicalMaps + "/" + name}));
        ASSERT_TRUE(Sys_Spawn(normal[6]->Prog, normal[6]->Arguments, true));
        EXPECT_EQ(dumped(), gameFront + QStringList{name});

        exportAt(maps + "/" + name + ".map");
        const RunCommandList expert = RunMap_BuildExpertCommands(context, RunCfg_MakeDefault().get());
        ASSERT_EQ(expert.size(), 7);
        for (int tool = 1; tool <= 4; ++tool)
            EXPECT_EQ(expert[tool]->Arguments.last(), maps + "/" + name) << tool;
        EXPECT_EQ(expert[6]->Arguments,
                  QStringList({"+set", "fs_game", "x", "-console", "-dev", "+map", QString(name)}));
    }

    // Variables never split, in switches or arguments, quoted or not; a quoted "" stays an argument,
    // a variable that expands to nothing goes.
    exportAt(maps + "/dm1.map");
    config.GameModdir = "mod \"x\" -y";
    RunConfig custom;
    custom.Commands.append(
        std::make_shared<RunCommand>(RunCommand{RUNCMD_RUN_WAIT, RUNCMD_ENABLED, "$bsp_exe -fs $moddir",
                                                "\"$path/$file.map\" $ext \"\" -v$ext", ""}));
    const RunCommandList built = RunMap_BuildExpertCommands(context, &custom);
    ASSERT_EQ(built.size(), 1);
    EXPECT_EQ(built[0]->Prog, dump);
    const QStringList expected = {"-meta", "-fs", "mod \"x\" -y", maps + "/dm1.map", "map", "", "-vmap"};
    EXPECT_EQ(built[0]->Arguments, expected);
    EXPECT_EQ(built[0]->Args, "-meta -fs \"mod \\\"x\\\" -y\" \"" + maps + "/dm1.map\" map \"\" -vmap");
    ASSERT_TRUE(Sys_Spawn(built[0]->Prog, built[0]->Arguments, true));
    EXPECT_EQ(dumped(), expected);
    config.GameModdir.clear();
    custom.Commands[0]->Args = "$moddir x";
    EXPECT_EQ(RunMap_BuildExpertCommands(context, &custom)[0]->Arguments, QStringList({"-meta", "-fs", "x"}));
}

TEST_F(RunCommandsTest, LeakAndPortalFilesAroundARun) {
    exportAt(maps + "/dm1.map");
    QString path;
    EXPECT_EQ(RunMap_FindPointFile(context, &path), 0);
    EXPECT_TRUE(path.isEmpty());
    Run_WriteFile(maps + "/dm1.lin", "");
    Run_WriteFile(maps + "/dm1.pts", "1 2 3\n");
    Run_WriteFile(maps + "/dm1.prt", "PRT1\n");
    EXPECT_EQ(RunMap_FindPointFile(context, &path), 2); // an empty ".lin" does not count
    EXPECT_EQ(path, maps + "/dm1.pts");
    Run_WriteFile(maps + "/dm1.lin", "1 2 3\n");
    EXPECT_EQ(RunMap_FindPointFile(context, &path), 1);
    EXPECT_EQ(path, maps + "/dm1.lin");
    EXPECT_TRUE(RunMap_FindPortalFile(context, &path));
    EXPECT_EQ(path, maps + "/dm1.prt");

    RunMap_RemoveStaleFiles(context, false);
    EXPECT_FALSE(QFile::exists(maps + "/dm1.lin") || QFile::exists(maps + "/dm1.pts"));
    EXPECT_TRUE(QFile::exists(maps + "/dm1.prt"));
    RunMap_RemoveStaleFiles(context, true);
    EXPECT_FALSE(RunMap_FindPortalFile(context, &path));
    EXPECT_TRUE(path.isEmpty());
}

} // namespace
