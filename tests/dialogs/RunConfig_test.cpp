#include "dialogs/application/RunConfig.h"

#include <QFile>
#include <csignal>
#include <sys/resource.h>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "RunFixture.h"
#include "dialogs/application/RunMapDialog.h"

namespace {

RunConfigList loadText(const QByteArray& text, cRunConfigFile* file = nullptr) {
    QTemporaryDir dir;
    const QString path = dir.filePath("KDKRunCfg.ini");
    Run_WriteFile(path, text);
    cRunConfigFile own;
    RunConfigList list;
    EXPECT_TRUE((file ? file : &own)->load(path, &list));
    return list;
}

QByteArray saveText(const RunConfigList& list) {
    QTemporaryDir dir;
    const QString path = dir.filePath("KDKRunCfg.ini");
    cRunConfigFile file;
    EXPECT_TRUE(file.save(path, list));
    return Run_ReadFile(path);
}

std::shared_ptr<RunConfig> config(const QString& title, QList<RunCommand> commands) {
    auto c = std::make_shared<RunConfig>();
    c->Title = title;
    for (const RunCommand& command : commands)
        c->Commands.append(std::make_shared<RunCommand>(command));
    return c;
}

TEST(RunConfigFile, WritesTheSettingsArrayFormInTheFixedKeyOrder) {
    const QByteArray text =
        saveText({config("Full", {{3, 3, "a b.map", "c=d", "$bspdir/x.bsp"}, {5, 1, "", "", ""}}),
                  config("None", {})});
    EXPECT_EQ(text, "[Config0]\n"
                    "Title=Full\n"
                    "Commands\\size=2\n"
                    "Commands\\1\\Type=3\n"
                    "Commands\\1\\Flags=3\n"
                    "Commands\\1\\Prog=a b.map\n"
                    "Commands\\1\\Args=\"c=d\"\n"
                    "Commands\\1\\FileCheck=$bspdir/x.bsp\n"
                    "Commands\\2\\Type=5\n"
                    "Commands\\2\\Flags=1\n"
                    "\n"
                    "[Config1]\n"
                    "Title=None\n"
                    "Commands\\size=0\n");
    const RunConfigList back = loadText(text);
    ASSERT_EQ(back.size(), 2);
    ASSERT_EQ(back[0]->Commands.size(), 2);
    const RunCommand& c = *back[0]->Commands[0];
    EXPECT_EQ(c.Type, 3);
    EXPECT_EQ(c.Flags, 3);
    EXPECT_EQ(c.Prog, "a b.map");
    EXPECT_EQ(c.Args, "c=d");
    EXPECT_EQ(c.FileCheck, "$bspdir/x.bsp");
    const RunCommand& empty = *back[0]->Commands[1];
    EXPECT_TRUE(empty.Prog.isEmpty() && empty.Args.isEmpty() && empty.FileCheck.isEmpty());
    EXPECT_TRUE(back[1]->Commands.isEmpty());
    EXPECT_EQ(back[1]->Title, "None");
    EXPECT_EQ(saveText({}), QByteArray()); // an emptied list is an empty file
}

struct ReadCase {
    const char* name;
    QByteArray text;
    int configs;
    int type; // of the first command, -1 without one
    int flags;
    bool reported; // a warning and a backup at the next save
};

class RunConfigRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(RunConfigRead, ReadsWhatTheRulesSay) {
    const ReadCase& c = GetParam();
    cConsoleCapture console;
    cRunConfigFile file;
    const RunConfigList list = loadText(c.text, &file);
    ASSERT_EQ(list.size(), c.configs) << console.lines.join('\n').toStdString();
    if (c.type >= 0) {
        ASSERT_FALSE(list[0]->Commands.isEmpty());
        EXPECT_EQ(list[0]->Commands[0]->Type, c.type);
        EXPECT_EQ(list[0]->Commands[0]->Flags, c.flags);
    }
    EXPECT_EQ(file.needsBackup(), c.reported) << console.lines.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunConfigRead,
    ::testing::Values(
        ReadCase{"StartsAtConfig1", "[Config1]\nTitle=A\nCommands\\size=0\n", 0, -1, 0, true},
        ReadCase{"TypeSeven",
                 "[Config0]\nTitle=A\nCommands\\size=1\nCommands\\1\\Type=7\nCommands\\1\\Flags=1\n", 1, 0, 1,
                 false},
        ReadCase{"TypeMinusOne",
                 "[Config0]\nTitle=A\nCommands\\size=1\nCommands\\1\\Type=-1\nCommands\\1\\Flags=1\n", 1, 0,
                 1, false},
        ReadCase{"TypeText",
                 "[Config0]\nTitle=A\nCommands\\size=1\nCommands\\1\\Type=x\nCommands\\1\\Flags=1\n", 1, 0, 1,
                 true},
        ReadCase{"OtherFlagBitsKept",
                 "[Config0]\nTitle=A\nCommands\\size=1\nCommands\\1\\Type=6\nCommands\\1\\Flags=6\n", 1, 6, 6,
                 false},
        ReadCase{"MissingFlagsAreZero", "[Config0]\nTitle=A\nCommands\\size=1\nCommands\\1\\Type=2\n", 1, 2,
                 0, false},
        ReadCase{"GapEndsTheList", "[Config0]\nTitle=A\n[Config1]\nX=1\n[Config2]\nTitle=C\n", 1, -1, 0,
                 true},
        ReadCase{"DamagedLine", "[Config0]\nTitle=A\ngarbage\nCommands\\size=0\n", 1, -1, 0, true},
        ReadCase{"SizePastTheElements",
                 "[Config0]\nTitle=A\nCommands\\size=2000000000\nCommands\\1\\Type=1\nCommands\\1\\Flags=1\n",
                 1, 1, 1, true},
        ReadCase{"NegativeSize", "[Config0]\nTitle=A\nCommands\\size=-4\n", 1, -1, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Groups that were not read hold the user's text: the file is kept as written, and a damaged line
// alone leaves a copy before the first save.
TEST(RunConfigFile, ADamagedFileIsKeptBeforeTheFirstSave) {
    cConsoleCapture console;
    QTemporaryDir dir;
    const QString path = dir.filePath("KDKRunCfg.ini");
    const QByteArray unread = "[Config0]\nTitle=A\nCommands\\size=0\n[Config1]\n[Config2]\nTitle=Lost\n";
    Run_WriteFile(path, unread);
    cRunConfigFile file;
    RunConfigList list;
    ASSERT_TRUE(file.load(path, &list));
    EXPECT_TRUE(
        console.contains("KDKRunCfg.ini, line 5: group Config2 not read (the configurations end at the "
                         "first group without a Title)"));
    ASSERT_TRUE(file.save(path, list));
    EXPECT_EQ(Run_ReadFile(path), unread);
    EXPECT_FALSE(QFile::exists(path + ".bak"));
    EXPECT_TRUE(console.contains(
        "KDKRunCfg.ini not saved: groups Config1, Config2 were not read, so the file is kept as written"));

    const QByteArray damaged = "[Config0]\nTitle=A\ngarbage\nCommands\\size=0\n";
    Run_WriteFile(path, damaged);
    ASSERT_TRUE(file.load(path, &list));
    ASSERT_TRUE(file.save(path, list));
    EXPECT_EQ(Run_ReadFile(path + ".bak"), damaged);
    EXPECT_NE(Run_ReadFile(path), damaged);
    EXPECT_FALSE(file.needsBackup());
}

TEST(RunConfigFile, AnUnwritableFolderIsReportedAndTheOldFileKept) {
    cConsoleCapture console;
    QTemporaryDir dir;
    const QString path = dir.filePath("ro/KDKRunCfg.ini");
    const QByteArray old = "[Config0]\nTitle=Old\nCommands\\size=0\n";
    Run_WriteFile(path, old);
    QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
    // An administrator writes anyway: a file-size limit makes the write fail instead.
    const bool writable = QFile(dir.filePath("ro/probe")).open(QIODevice::WriteOnly);
    QFile::remove(dir.filePath("ro/probe"));
    rlimit saved{};
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    if (writable) {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    cRunConfigFile file;
    const bool ok = file.save(path, {config("A much longer new title", {})});
    if (writable) setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(console.contains(QStringLiteral("can't save KDKRunCfg.ini (\"%1\"").arg(path)))
        << console.lines.join('\n').toStdString();
    EXPECT_EQ(Run_ReadFile(path), old);
}

TEST(RunConfigFile, TheDialogReadsAtConstructionAndWritesWhenDestroyed) {
    cConsoleCapture console;
    cRunSettingsFolder folders;
    // No file anywhere: "Default" with its seven commands, written when the dialog goes.
    {
        cRunMapDialog dialog;
        ASSERT_EQ(dialog.configurations().size(), 1);
        EXPECT_EQ(dialog.configurations()[0]->Title, "Default");
        EXPECT_EQ(dialog.configurations()[0]->Commands.size(), 7);
    }
    const QByteArray written = Run_ReadFile(folders.userFile("KDKRunCfg.ini"));
    EXPECT_TRUE(written.startsWith("[Config0]\nTitle=Default\nCommands\\size=7\nCommands\\1\\Type=2\n"
                                   "Commands\\1\\Flags=1\nCommands\\1\\Args=$gamedir\n"))
        << written.constData();
    EXPECT_TRUE(written.contains("Commands\\7\\Type=0\nCommands\\7\\Flags=1\nCommands\\7\\Prog=$game_exe\n"
                                 "Commands\\7\\Args=-console -dev +map $file\n"));

    // The program folder's file is read while the user has none; the save goes to the user's.
    QFile::remove(folders.userFile("KDKRunCfg.ini"));
    Run_WriteFile(folders.baseFile("KDKRunCfg.ini"),
                  "[Config0]\nTitle=A\nCommands\\size=0\n[Config1]\nTitle=B\nCommands\\size=0\n"
                  "[Config2]\nTitle=C\nCommands\\size=0\n");
    {
        cRunMapDialog dialog;
        ASSERT_EQ(dialog.configurations().size(), 3);
        dialog.configurations().removeAt(1);
    }
    EXPECT_EQ(Run_ReadFile(folders.userFile("KDKRunCfg.ini")),
              "[Config0]\nTitle=A\nCommands\\size=0\n\n[Config1]\nTitle=C\nCommands\\size=0\n");
    {
        cRunMapDialog dialog;
        ASSERT_EQ(dialog.configurations().size(), 2);
        dialog.configurations().clear();
    }
    EXPECT_EQ(Run_ReadFile(folders.userFile("KDKRunCfg.ini")), QByteArray());
    cRunMapDialog again;
    ASSERT_EQ(again.configurations().size(), 1);
    EXPECT_EQ(again.configurations()[0]->Title, "Default");
}

} // namespace
