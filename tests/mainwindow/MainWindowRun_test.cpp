// File → Run in the program's window: the sample map compiled by stand-in tools (shell scripts in a
// folder with a blank) and the game script started, in both modes of the run dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/RunMapDialog.h"
#include "dialogs/application/RunMapOutput.h"
#include "document/CompilerOverlays.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/PluginManager.h"
#include "mainwindow/MainWindow.h"

namespace {

// Each tool records its arguments; the BSP tool writes the compiled map and a leak trace.
const QByteArray kTool = "#!/bin/sh\n"
                         "echo \"$(basename \"$0\") $*\" >> \"$(dirname \"$0\")/calls.txt\"\n"
                         "echo \"$(basename \"$0\") working on $1\"\n"
                         "echo \"$(basename \"$0\") warning\" >&2\n"
                         "for a in \"$@\"; do last=\"$a\"; done\n"
                         "if [ \"$(basename \"$0\")\" = bsp ]; then echo bsp > \"$last.bsp\";\n"
                         "  printf '0 0 0\\n64 0 0\\n64 64 0\\n' > \"$last.lin\"; fi\n";
const QByteArray kGame = "#!/bin/sh\n"
                         "{ echo \"$*\"; pwd; } > \"$(dirname \"$0\")/game.txt\"\n";

class MainWindowRunTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        tools = folder.filePath("tool folder");
        // The default configuration passes "$bspdir/$file" unquoted: the game folder has no blank.
        gameDir = folder.filePath("game/baseq3");
        QDir().mkpath(gameDir + "/maps");
        QDir().mkpath(tools);
        for (const char* name : {"csg", "bsp", "vis", "light"})
            write(tools + "/" + name, kTool, true);
        write(tools + "/game", kGame, true);
        write(folder.filePath("base/KDKGameCfg.ini"),
              QStringLiteral("[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n"
                             "GameExecutable=%1/game\nGameCommandLine=+set sv_pure 0\nGameBasedir=%2\n"
                             "MapTool0=%1/csg\nMapTool1=%1/bsp -meta\nMapTool2=%1/vis\nMapTool3=%1/light\n")
                  .arg(tools, gameDir)
                  .toUtf8());
        map = folder.filePath("work/sample.map");
        QDir().mkpath(folder.filePath("work"));
        QFile::copy(kSampleMap, map);
    }
    static void write(const QString& path, const QByteArray& text, bool executable = false) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        if (executable) file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    static QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The detached game writes its record a moment after the run returned.
    QByteArray gameRecord() {
        QElapsedTimer clock;
        clock.start();
        while (read(tools + "/game.txt").count('\n') < 2 && clock.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return read(tools + "/game.txt");
    }
    void runAccepted(cMainWindow& window) {
        cDialogAnswer accept;
        window.cmdFileRun();
        ASSERT_TRUE(accept.answered);
    }

    // Shows the window with the sample map open in it.
    MapDocument* showWithMap(cMainWindow& window) const {
        window.show();
        return window.openFile(map);
    }

    QString tools, gameDir, map;
    // Run saves first, and a ".map" file saves through Save As: cancelled here, the run goes on.
    cPromptScript cancelSaveAs;
};

TEST_F(MainWindowRunTest, NormalModeCompilesTheExportedCopyAndStartsTheGame) {
    cConsoleCapture console;
    cMainWindow window(WindowMode::Interactive);
    MapDocument* document = showWithMap(window);
    ASSERT_NE(document, nullptr);
    ASSERT_NE(window.runMapDialog, nullptr);
    runAccepted(window);

    const QString maps = QFileInfo(gameDir + "/maps").canonicalFilePath();
    EXPECT_EQ(read(maps + "/sample.bsp"), "bsp\n");
    EXPECT_EQ(read(tools + "/calls.txt"), QStringLiteral("csg %1/sample\nbsp -meta %1/sample\nvis %1/sample\n"
                                                         "light %1/sample\n")
                                              .arg(maps)
                                              .toUtf8());
    const QString pane = window.runMapOutput->output()->toPlainText();
    EXPECT_TRUE(window.runMapOutput->isVisible());
    EXPECT_TRUE(pane.contains("** Command: Change Directory\n** Parameters: " + gameDir + "\n"))
        << pane.toStdString();
    EXPECT_TRUE(pane.contains("** Command: Copy File\n** Source: " + QFileInfo(map).canonicalFilePath()));
    for (const char* tool : {"csg", "bsp", "vis", "light"}) {
        EXPECT_TRUE(pane.contains(QStringLiteral("** Command: %1/%2\n").arg(tools, tool))) << tool;
        EXPECT_TRUE(pane.contains(QStringLiteral("%1 warning").arg(tool))) << tool;
    }
    EXPECT_EQ(gameRecord(), QStringLiteral("+set sv_pure 0 +devmap sample\n%1\n").arg(tools).toUtf8());
    // The leak trace was loaded over the map; the working folder is back.
    EXPECT_EQ(Map_PointfileCount(document->world), 3);
    EXPECT_TRUE(console.contains(QStringLiteral("Loading: \"%1/sample.lin\"").arg(maps)));
    window.runMapOutput->close();
    document->modified = false;
    EXPECT_TRUE(window.close());
}

// "Save visible objects only" leaves the hidden entity out of the run's copy for that run only.
TEST_F(MainWindowRunTest, VisibleOnlyLeavesHiddenObjectsOutOfThatRunsCopy) {
    cConsoleCapture console;
    cMainWindow window(WindowMode::Interactive);
    MapDocument* document = showWithMap(window);
    ASSERT_NE(document, nullptr);
    MapWorld* world = document->world;
    EntityRecord* shotgun = world->entities;
    while (shotgun && !(shotgun->classname && std::strcmp(shotgun->classname, "weapon_shotgun") == 0))
        shotgun = shotgun->next;
    ASSERT_NE(shotgun, nullptr);
    Map_SelectObject(world, shotgun);
    window.cmdViewHideSelection();
    ASSERT_TRUE(shotgun->flags & RecordFlag::Hidden);
    const uint32_t flagsBefore = world->flags;

    for (const bool visibleOnly : {true, false}) {
        SCOPED_TRACE(visibleOnly);
        {
            cDialogAnswer accept([&](QDialog* dialog) {
                auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("cbVisibleOnly"));
                ASSERT_NE(box, nullptr);
                box->setChecked(visibleOnly);
            });
            window.cmdFileRun();
            ASSERT_TRUE(accept.answered);
        }
        const QByteArray copy = read(document->exportPath);
        ASSERT_TRUE(copy.contains("\"classname\" \"ammo_rockets\"")) << document->exportPath.toStdString();
        EXPECT_EQ(copy.contains("\"classname\" \"weapon_shotgun\""), !visibleOnly);
        EXPECT_EQ(world->flags, flagsBefore);
        window.runMapOutput->close();
    }
    document->modified = false;
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowRunTest, ExpertModeRunsTheDefaultConfigurationAndIsRememberedAtTheNextStart) {
    cConsoleCapture console;
    {
        cMainWindow window(WindowMode::Interactive);
        MapDocument* document = showWithMap(window);
        ASSERT_NE(document, nullptr);
        window.settings.ExpertMode = true;
        // The map lies in the maps folder: the default commands compile it where it is.
        document->exportPath = gameDir + "/maps/sample.map";
        runAccepted(window);
        EXPECT_TRUE(window.runMapDialog->expertMode());
        const QString maps = gameDir + "/maps";
        EXPECT_EQ(read(tools + "/calls.txt"),
                  QStringLiteral("csg %1/sample\nbsp -meta %1/sample\nvis %1/sample\nlight %1/sample\n")
                      .arg(maps)
                      .toUtf8())
            << window.runMapOutput->output()->toPlainText().toStdString();
        EXPECT_EQ(gameRecord(), QStringLiteral("-console -dev +map sample\n%1\n").arg(tools).toUtf8());
        auto mine = std::make_shared<RunConfig>();
        mine->Title = "Mine";
        window.runMapDialog->configurations().append(mine);
        window.runMapOutput->close();
        document->modified = false;
        EXPECT_TRUE(window.close());
    }
    EXPECT_TRUE(read(folder.filePath("config/zarv/KDKRunCfg.ini")).contains("[Config1]\nTitle=Mine\n"));
    QSettings settings(folder.filePath("config/zarv/KDKSettings.ini"), QSettings::IniFormat);
    EXPECT_TRUE(settings.value("Compiler/ExpertMode").toBool());

    cMainWindow again(WindowMode::Interactive);
    EXPECT_TRUE(again.settings.ExpertMode);
    ASSERT_EQ(again.runMapDialog->configurations().size(), 2);
    EXPECT_EQ(again.runMapDialog->configurations()[1]->Title, "Mine");
}

TEST_F(MainWindowRunTest, ARunWhileOneGoesOnWaitsAndClosingTheMapIsSafe) {
    cConsoleCapture console;
    write(tools + "/csg", "#!/bin/sh\necho started\nsleep 30\n", true);
    cMainWindow window(WindowMode::Interactive);
    MapDocument* document = showWithMap(window);
    ASSERT_NE(document, nullptr);
    cPromptScript prompts;
    prompts.answerButton(PromptButton::Yes); // interrupt, from the second Run
    bool secondAsked = false;
    QTimer again;
    QObject::connect(&again, &QTimer::timeout, [&] {
        if (!window.runMapOutput->output()->toPlainText().contains("started")) return;
        again.stop();
        window.cmdFileRun();                     // asks to interrupt and waits for the run
        secondAsked = prompts.asked.size() == 2; // the first run's Save As, then this question
        // The map goes while its run is interrupted.
        document->modified = false;
        window.closeDocument(document);
    });
    again.start(20);
    {
        cDialogAnswer accept;
        window.cmdFileRun();
    }
    EXPECT_TRUE(secondAsked);
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].kind, PromptKind::SaveFileName);
    EXPECT_EQ(prompts.asked[1].text, "Compile process is still running.\nWould you like to interrupt it?");
    // The queued run finds no map and does nothing.
    QApplication::processEvents();
    EXPECT_TRUE(window.documents.isEmpty());
    window.runMapOutput->close();
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowRunTest, ClosingTheWindowDuringARunAsksAndClosesAfterIt) {
    cConsoleCapture console;
    write(tools + "/csg", "#!/bin/sh\necho started\nsleep 30\n", true);
    cMainWindow window(WindowMode::Interactive);
    MapDocument* document = showWithMap(window);
    ASSERT_NE(document, nullptr);
    document->modified = false;
    cPromptScript prompts;
    prompts.answerButton(PromptButton::No);  // go on
    prompts.answerButton(PromptButton::Yes); // interrupt
    bool stayedOpen = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (!window.runMapOutput->output()->toPlainText().contains("started")) return;
        closer.stop();
        EXPECT_FALSE(window.close());
        EXPECT_FALSE(window.close());
        stayedOpen = window.isVisible();
    });
    closer.start(20);
    {
        cDialogAnswer accept;
        window.cmdFileRun();
    }
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompts.asked.size(), 3); // Save As, go on, interrupt
    EXPECT_TRUE(window.isVisible());    // the run has returned; the close follows
    QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(window.documents.isEmpty());
}

} // namespace
