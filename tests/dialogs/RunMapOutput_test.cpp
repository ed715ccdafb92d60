#include "dialogs/application/RunMapOutput.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QClipboard>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "RunFixture.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "dialogs/application/ProcessRunner.h"

namespace {

// Stand-ins for the compilers: each prints on both channels and records how it was started.
const QByteArray kTool = "#!/bin/sh\n"
                         "# tool <name> <code>: three lines, each after the test has seen the one before\n"
                         "echo \"$0 $*\" >> \"$(dirname \"$0\")/args.txt\"\n"
                         "echo \"out 1 $1\"\n"
                         "i=1\n"
                         "for n in 2 3; do\n"
                         "  while [ ! -e \"$(dirname \"$0\")/ack$i\" ]; do sleep 0.02; done\n"
                         "  if [ $n = 2 ]; then echo \"err $n\" >&2; else echo \"out $n\"; fi\n"
                         "  i=$n\n"
                         "done\n"
                         "echo leak > \"$1.lin\"; echo bsp > \"$1.bsp\"\n"
                         "printf 'last line'\n"
                         "exit ${2:-0}\n";
const QByteArray kReadsInput = "#!/bin/sh\nread line\necho \"got [$line]\"\n";
const QByteArray kRunsOn =
    "#!/bin/sh\nsleep 30 &\necho $! > \"$(dirname \"$0\")/child.pid\"\necho started\nwait\n";

struct RunMapOutputTest : ::testing::Test {
    void SetUp() override {
        folder = dir.filePath("tool folder");
        QDir().mkpath(folder);
        for (auto [name, text] : {std::pair{"tool", kTool}, {"reads", kReadsInput}, {"runs", kRunsOn}})
            Run_WriteFile(folder + "/" + name, text, true);
        Run_WriteFile(folder + "/silent", "#!/bin/sh\nsleep 1\n", true);
        Run_WriteFile(folder + "/crash", "#!/bin/sh\nkill -SEGV $$\n", true);
        start = QDir::currentPath();
    }
    void TearDown() override { QDir::setCurrent(start); }
    QString pane() const { return window.output()->toPlainText(); }
    bool run(int type, const QString& prog, const QString& args, const QString& check = {}) {
        RunCommand command;
        command.Type = type;
        command.Prog = prog;
        command.Args = args;
        // A program's arguments as the builders hand them over.
        if (type == RUNCMD_RUN || type == RUNCMD_RUN_WAIT || type == RUNCMD_PROCESS_WINDOW)
            command.Arguments = Sys_SplitArguments(args, prog);
        command.FileCheck = check;
        return window.executeCommand(command);
    }
    void press(int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    }

    QTemporaryDir dir;
    QString folder, start;
    cRunMapOutput window;
};

TEST_F(RunMapOutputTest, TheForm) {
    EXPECT_EQ(window.objectName(), "cRunMapOutput");
    EXPECT_EQ(window.windowTitle(), "Compile Process Window");
    EXPECT_EQ(window.minimumSize(), QSize(661, 383));
    EXPECT_EQ(window.maximumSize(), QSize(661, 383));
    EXPECT_FALSE(window.isModal());
    EXPECT_FALSE(window.windowIcon().isNull());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    QPlainTextEdit* text = window.findChild<QPlainTextEdit*>("txtOutput");
    ASSERT_EQ(text, window.output());
    EXPECT_EQ(text->geometry(), QRect(0, 0, 660, 360));
    EXPECT_EQ(text->font().family(), "Courier New");
    EXPECT_EQ(text->font().pointSize(), 10);
    EXPECT_EQ(text->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(text->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_FALSE(text->isUndoRedoEnabled());
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->textInteractionFlags(), Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    EXPECT_EQ(text->palette().color(QPalette::Base), QColor(224, 223, 227));
    EXPECT_EQ(text->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(text->palette().color(QPalette::ToolTipBase), QColor(255, 255, 220));
    EXPECT_DOUBLE_EQ(text->tabStopDistance(), QFontMetricsF(text->font()).horizontalAdvance(' ') * 8);
    QPushButton* copy = window.findChild<QPushButton*>("btnCopy");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->text(), "&Copy to Clipboard");
    EXPECT_TRUE(copy->font().bold());
    EXPECT_EQ(copy->width(), 661);
}

TEST_F(RunMapOutputTest, OutputReachesThePaneWhileTheToolRuns) {
    cConsoleCapture console;
    QDir::setCurrent(folder);
    // The tool prints its next line only once the test saw the last one in the pane; a GUI timer
    // ticks meanwhile.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (pane().contains("out 1 " + folder + "/dm1")) Run_WriteFile(folder + "/ack1", "");
        if (pane().contains("err 2")) Run_WriteFile(folder + "/ack2", "");
    });
    watcher.start(5);
    EXPECT_TRUE(run(RUNCMD_PROCESS_WINDOW, "tool", "\"" + folder + "/dm1\" 0"));
    EXPECT_GT(ticks, 0);
    const QString text = pane();
    EXPECT_TRUE(
        text.startsWith("\n** Executing...\n** Command: tool\n** Parameters: \"" + folder + "/dm1\" 0\n"))
        << text.toStdString();
    const qsizetype one = text.indexOf("out 1"), two = text.indexOf("err 2"), three = text.indexOf("out 3");
    EXPECT_TRUE(one > 0 && two > one && three > two) << text.toStdString();
    EXPECT_TRUE(text.endsWith("out 3\nlast line")) << text.toStdString();
    EXPECT_TRUE(QFile::exists(folder + "/dm1.bsp"));
    // Started directly, with the program resolved against the working folder.
    EXPECT_EQ(Run_ReadFile(folder + "/args.txt"), (folder + "/tool " + folder + "/dm1 0\n").toUtf8());
}

TEST_F(RunMapOutputTest, ExitCodesSignalsAndStartFailures) {
    Run_WriteFile(folder + "/ack1", "");
    Run_WriteFile(folder + "/ack2", "");
    EXPECT_FALSE(run(RUNCMD_PROCESS_WINDOW, folder + "/tool", dir.filePath("x 3")));
    EXPECT_TRUE(pane().endsWith("last line* The program exited with code 3\n")) << pane().toStdString();
    EXPECT_FALSE(run(RUNCMD_PROCESS_WINDOW, folder + "/crash", ""));
    EXPECT_TRUE(pane().endsWith("* The program was killed by signal 11\n")) << pane().toStdString();
    window.output()->clear();
    EXPECT_FALSE(run(RUNCMD_PROCESS_WINDOW, folder + "/missing", "-a b"));
    EXPECT_TRUE(
        pane().contains(QStringLiteral("* Could not execute the command:\n   \"%1/missing\" -a b\n"
                                       "* Linux gave the error message:\n   \"No such file or directory\"\n")
                            .arg(folder)))
        << pane().toStdString();
    window.output()->clear();
    EXPECT_FALSE(run(RUNCMD_PROCESS_WINDOW, "/nonexistent/missing", ""));
    EXPECT_TRUE(pane().contains("* Could not execute the command:\n   /nonexistent/missing \n"))
        << pane().toStdString();
    // Detached and waited runs fail alike when the program cannot start.
    window.output()->clear();
    EXPECT_FALSE(run(RUNCMD_RUN, folder + "/missing", ""));
    EXPECT_FALSE(run(RUNCMD_RUN_WAIT, folder + "/missing", ""));
    EXPECT_EQ(pane().count("* Could not execute the command:"), 2);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(run(RUNCMD_PROCESS_WINDOW, folder + "/silent", ""));
    EXPECT_GE(clock.elapsed(), 900);
}

TEST_F(RunMapOutputTest, DecodingKeepsZeroBytesAndCharactersSplitBetweenReads) {
    // One write: 13 bytes with a zero, 4081 letters and a two-byte character, so the first read
    // of 4095 bytes ends inside that character.
    Run_WriteFile(folder + "/bytes",
                  "#!/bin/sh\nx=$(printf '%4081s' '' | tr ' ' x)\n"
                  "printf 'before\\000after\\n%s\\303\\251 done\\n' \"$x\"\n",
                  true);
    EXPECT_TRUE(run(RUNCMD_PROCESS_WINDOW, folder + "/bytes", ""));
    EXPECT_TRUE(pane().contains("after\n")) << pane().toStdString();
    EXPECT_TRUE(pane().contains(QString(4081, 'x') + QString::fromUtf8("\xc3\xa9 done\n")));
}

TEST_F(RunMapOutputTest, PauseInterruptsTheToolAndItsChildren) {
    cConsoleCapture console;
    // Answered No: the tool goes on; then Yes ends it and the child it started.
    cPromptScript prompts;
    prompts.answerButton(PromptButton::No);
    prompts.answerButton(PromptButton::Yes);
    QTimer presser;
    int presses = 0;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        if (!pane().contains("started")) return;
        ++presses;
        press(Qt::Key_Pause);
        if (presses == 2) presser.stop();
    });
    presser.start(50);
    window.goOn = true;
    EXPECT_TRUE(run(RUNCMD_PROCESS_WINDOW, folder + "/runs", ""));
    EXPECT_EQ(presses, 2);
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].text, "Compile process is still running.\nWould you like to interrupt it?");
    EXPECT_EQ(prompts.asked[0].buttons, PromptButton::Yes | PromptButton::No);
    EXPECT_FALSE(window.goOn);
    EXPECT_TRUE(pane().endsWith("\n** WARNING: Compile process interrupted by user!\n"))
        << pane().toStdString();
    EXPECT_TRUE(console.contains("Compile process interrupted by user!"));
    const pid_t child = pid_t(Run_ReadFile(folder + "/child.pid").trimmed().toInt());
    ASSERT_GT(child, 0);
    // The child is gone (or a zombie waiting for its new parent).
    QElapsedTimer clock;
    clock.start();
    auto gone = [&] {
        const QByteArray stat = Run_ReadFile(QStringLiteral("/proc/%1/stat").arg(child));
        return stat.isEmpty() || stat.contains(") Z");
    };
    while (!gone() && clock.elapsed() < 3000)
        QThread::msleep(20);
    EXPECT_TRUE(gone());
}

TEST_F(RunMapOutputTest, StandardInputIsOpenAndNeverWritten) {
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Yes);
    QTimer::singleShot(500, [&] { press(Qt::Key_Pause); });
    EXPECT_TRUE(run(RUNCMD_PROCESS_WINDOW, folder + "/reads", ""));
    EXPECT_FALSE(pane().contains("got [")) << pane().toStdString();
    EXPECT_EQ(prompts.asked.size(), 1);
}

TEST_F(RunMapOutputTest, FileCommands) {
    cConsoleCapture console;
    const QString a = dir.filePath("a.txt"), b = dir.filePath("b.txt");
    Run_WriteFile(a, "A");
    Run_WriteFile(b, "B");
    // Change directory, and its failure with the system's text.
    EXPECT_TRUE(run(RUNCMD_CHANGE_DIR, "", folder));
    EXPECT_EQ(QDir::currentPath(), QFileInfo(folder).canonicalFilePath());
    EXPECT_TRUE(pane().endsWith("** Command: Change Directory\n** Parameters: " + folder + "\n"));
    EXPECT_FALSE(run(RUNCMD_CHANGE_DIR, "", ""));
    EXPECT_TRUE(pane().endsWith("* Could not change the directory:\n   \n* Linux gave the error message:\n"
                                "   \"No such file or directory\"\n"));
    // Copy replaces; onto itself nothing happens; a quoted source names the file; a missing source
    // keeps the destination.
    EXPECT_TRUE(run(RUNCMD_COPY, a, b));
    EXPECT_EQ(Run_ReadFile(b), "A");
    EXPECT_TRUE(pane().endsWith("** Command: Copy File\n** Source: " + a + "\n** Destination: " + b + "\n"));
    EXPECT_TRUE(run(RUNCMD_COPY, a, dir.filePath("./a.txt")));
    Run_WriteFile(a, "A2");
    EXPECT_TRUE(run(RUNCMD_COPY, "\"" + a + "\"", dir.filePath("new.txt")));
    EXPECT_EQ(Run_ReadFile(dir.filePath("new.txt")), "A2");
    EXPECT_FALSE(run(RUNCMD_COPY, dir.filePath("none.txt"), b));
    EXPECT_EQ(Run_ReadFile(b), "A");
    EXPECT_TRUE(
        pane().endsWith(QStringLiteral("* Could not copy the file:\n   Source: %1\n   Destination: %2\n"
                                       "* Linux gave the error message:\n   \"No such file or directory\"\n")
                            .arg(dir.filePath("none.txt"), b)))
        << pane().toStdString();
    // Rename: the same text succeeds untouched; a missing source keeps the destination.
    EXPECT_TRUE(run(RUNCMD_RENAME, dir.filePath("none.txt"), dir.filePath("none.txt")));
    EXPECT_FALSE(run(RUNCMD_RENAME, dir.filePath("none.txt"), b));
    EXPECT_EQ(Run_ReadFile(b), "A");
    EXPECT_TRUE(run(RUNCMD_RENAME, "\"" + a + "\"", b));
    EXPECT_EQ(Run_ReadFile(b), "A2");
    EXPECT_FALSE(QFile::exists(a));
    // Delete: a missing file fails without a message.
    window.output()->clear();
    EXPECT_FALSE(run(RUNCMD_DELETE, "", a));
    EXPECT_TRUE(pane().endsWith("** Parameters: " + a + "\n"));
    EXPECT_TRUE(run(RUNCMD_DELETE, "", b));
    EXPECT_FALSE(QFile::exists(b));
    // A waited run ends before the call returns.
    EXPECT_TRUE(run(RUNCMD_RUN_WAIT, "/bin/sh", "-c \"echo x > '" + dir.filePath("waited") + "'\""));
    EXPECT_EQ(Run_ReadFile(dir.filePath("waited")), "x\n");
}

TEST_F(RunMapOutputTest, TheFileCheckAsks) {
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Yes);
    prompts.answerButton(PromptButton::No);
    const QString missing = dir.filePath("dm1.bsp");
    EXPECT_TRUE(run(RUNCMD_CHANGE_DIR, "", folder, missing));
    EXPECT_TRUE(pane().endsWith("* WARNING: File was not built!\n  \"" + missing + "\"\n"));
    EXPECT_FALSE(run(RUNCMD_CHANGE_DIR, "", folder, missing));
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].text, "The file \"" + missing + "\" was not built.\nDo you want to continue?");
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    EXPECT_EQ(prompts.asked[0].buttons, PromptButton::Yes | PromptButton::No);
    EXPECT_TRUE(run(RUNCMD_CHANGE_DIR, "", folder, folder)); // present: nothing asked
    EXPECT_EQ(prompts.asked.size(), 2);
}

TEST_F(RunMapOutputTest, AListStopsAtTheFirstFailureAndRestoresTheFolder) {
    auto command = [](int type, const QString& args) {
        auto c = std::make_shared<RunCommand>();
        c->Type = type;
        c->Args = args;
        return c;
    };
    const QString marker = dir.filePath("third");
    Run_WriteFile(marker, "x");
    const RunCommandList list = {command(RUNCMD_CHANGE_DIR, folder),
                                 command(RUNCMD_DELETE, dir.filePath("none")),
                                 command(RUNCMD_DELETE, marker)};
    EXPECT_FALSE(window.runCommands(list, true));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(QFile::exists(marker));
    EXPECT_EQ(QDir::currentPath(), start);
    EXPECT_EQ(pane().count("** Executing..."), 2);
    EXPECT_TRUE(window.runCommands({command(RUNCMD_DELETE, marker)}, false));
    EXPECT_EQ(pane().count("** Executing..."), 1); // each run starts with an empty pane
}

TEST_F(RunMapOutputTest, KeysAndClipboard) {
    cPromptScript prompts;
    window.show();
    // F9 before any run asks; Yes has nothing to run again.
    prompts.answerButton(PromptButton::Yes);
    press(Qt::Key_F9);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, "Do you want to execute the same compile commands?");
    EXPECT_TRUE(window.isVisible());
    // No closes the window and starts the run command again.
    int started = 0;
    window.runCommandAgain = [&] { ++started; };
    prompts.answerButton(PromptButton::No);
    press(Qt::Key_F9);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(started, 1);
    // Pause with nothing running asks nothing; Escape does not close.
    window.show();
    press(Qt::Key_Pause);
    press(Qt::Key_Escape);
    EXPECT_EQ(prompts.asked.size(), 2);
    EXPECT_TRUE(window.isVisible());

    RunMap_AppendText(window.output(), "\n** Executing...\nline\ttab");
    QPushButton* copy = window.findChild<QPushButton*>("btnCopy");
    copy->click();
    EXPECT_EQ(QApplication::clipboard()->text(), window.output()->toPlainText());
    EXPECT_TRUE(QApplication::clipboard()->text().contains("** Executing...\nline\ttab"));
}

TEST_F(RunMapOutputTest, F9DuringARunWaitsForItToReturn) {
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Yes); // interrupt
    prompts.answerButton(PromptButton::Yes); // the same commands
    auto tool = std::make_shared<RunCommand>();
    tool->Type = RUNCMD_PROCESS_WINDOW;
    tool->Prog = folder + "/runs";
    auto after = std::make_shared<RunCommand>();
    after->Type = RUNCMD_CHANGE_DIR;
    after->Args = folder;
    bool returned = false;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        if (!pane().contains("started")) return;
        presser.stop();
        press(Qt::Key_F9);
        // The second question waits until the first run has returned.
        EXPECT_EQ(prompts.asked.size(), 1);
    });
    presser.start(20);
    EXPECT_FALSE(window.runCommands({tool, after}, true));
    returned = true;
    EXPECT_EQ(pane().count("** Executing..."), 1); // interrupted: the second command never ran
    EXPECT_EQ(prompts.asked.size(), 1);
    QElapsedTimer clock;
    clock.start();
    while (prompts.asked.size() < 2 && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_TRUE(returned);
    EXPECT_EQ(prompts.asked[1].text, "Do you want to execute the same compile commands?");
}

} // namespace
