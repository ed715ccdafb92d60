#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <sys/wait.h>

#include "ConsoleCapture.h"
#include "core/System.h"

namespace {

// No child of this process may be left behind, running or as a zombie.
bool noChildrenLeft() {
    return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// A shell script that writes its argument count and arguments, one per line, to a file.
class SysSpawn : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QFile script(dir.filePath("argdump.sh"));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("printf '%s\\n' \"$#\" \"$@\" > \"$(dirname \"$0\")/args.txt\"\n");
    }

    QStringList dumpedArguments() const {
        QFile out(dir.filePath("args.txt"));
        if (!out.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(out.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    cConsoleCapture console;
    QTemporaryDir dir;
};

} // namespace

TEST_F(SysSpawn, QuotesGroupOneArgument) {
    const QString arguments = '"' + dir.filePath("argdump.sh") + "\" -a \"b c\" d";
    ASSERT_TRUE(Sys_Spawn("sh", arguments, true));
    EXPECT_EQ(dumpedArguments(), (QStringList{"3", "-a", "b c", "d"}));
    EXPECT_TRUE(noChildrenLeft());
}

TEST_F(SysSpawn, DetachedProgramLeavesNoZombie) {
    ASSERT_TRUE(Sys_Spawn("sh", dir.filePath("argdump.sh") + "  x", false));
    EXPECT_TRUE(noChildrenLeft());
}

TEST_F(SysSpawn, MissingProgramReportsFailure) {
    for (bool wait : {true, false}) {
        console.clear();
        EXPECT_FALSE(Sys_Spawn("zarv-no-such-program", "-a", wait)) << "wait " << wait;
        EXPECT_TRUE(
            console.contains("Sys_Spawn: can't start \"zarv-no-such-program\" (No such file or directory)"));
        EXPECT_TRUE(noChildrenLeft());
    }
    EXPECT_FALSE(Sys_Spawn(QString(), "-a", true));
}

TEST(SysSplitSwitches, ProgramWordsThenSwitches) {
    struct Case {
        const char *line, *words, *switches;
    };
    const Case cases[] = {
        {"-w1 w2 +w3 w4", "-w1 w2", "+w3 w4 "},
        {"/opt/viewer/bin  view  -model", "/opt/viewer/bin view", "-model "},
        {"viewer", "viewer", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        QString words, switches;
        Sys_SplitSwitches(c.line, words, switches);
        EXPECT_EQ(words, QString(c.words)) << c.line;
        EXPECT_EQ(switches, QString(c.switches)) << c.line;
    }
}
