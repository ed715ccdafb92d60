// File → Run with the real Quake III map compiler: the run dialog's normal mode, set up as the
// manual says (the compiler's three stages in the BSP, VIS and LIGHT fields, the game folder given
// through $gamedir), compiles a small room from the program's window; the output window shows the
// compiler's own output and the compiled map lands in the game folder's maps folder, where the
// game's dedicated server loads it. The compiler is built from its sources beside the repository
// (ZARV_Q3MAP2_TOOLS); without them, or when they do not build, the test is skipped with a message.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/application/RunMapDialog.h"
#include "dialogs/application/RunMapOutput.h"
#include "document/CompilerOverlays.h"
#include "document/MapDocument.h"
#include "mainwindow/MainWindow.h"

namespace {

// A sealed room (floor, ceiling, four walls) with a light, a player start and an item.
QByteArray roomMap() {
    const int boxes[6][6] = {{-272, -272, -16, 272, 272, 0},  {-272, -272, 256, 272, 272, 272},
                             {-272, -272, 0, -256, 272, 256}, {256, -272, 0, 272, 272, 256},
                             {-256, -272, 0, 256, -256, 256}, {-256, 256, 0, 256, 272, 256}};
    QByteArray text = "{\n\"classname\" \"worldspawn\"\n";
    for (const auto& b : boxes) {
        const int x0 = b[0], y0 = b[1], z0 = b[2], x1 = b[3], y1 = b[4], z1 = b[5];
        const int faces[6][9] = {{x0, y0, z0, x0, y1, z0, x0, y0, z1}, {x1, y0, z0, x1, y0, z1, x1, y1, z0},
                                 {x0, y0, z0, x0, y0, z1, x1, y0, z0}, {x0, y1, z0, x1, y1, z0, x0, y1, z1},
                                 {x0, y0, z0, x1, y0, z0, x0, y1, z0}, {x0, y0, z1, x0, y1, z1, x1, y0, z1}};
        text += "{\n";
        for (const auto& f : faces)
            text += QString::asprintf(
                        "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) base_wall/basewall01 0 0 0 0.5 0.5 0 0 0\n",
                        f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8])
                        .toUtf8();
        text += "}\n";
    }
    return text + "}\n"
                  "{\n\"classname\" \"light\"\n\"origin\" \"0 0 192\"\n\"light\" \"300\"\n}\n"
                  "{\n\"classname\" \"info_player_deathmatch\"\n\"origin\" \"0 0 40\"\n}\n"
                  "{\n\"classname\" \"item_armor_shard\"\n\"origin\" \"96 0 24\"\n}\n";
}

// The length of a lump of a Quake III BSP (version 46); -1 when the file is not one.
int lumpLength(const QByteArray& bsp, int lump) {
    int32_t version = 0, length = 0;
    const qsizetype at = 8 + 8 * lump + 4;
    if (bsp.size() < at + 4 || !bsp.startsWith("IBSP")) return -1;
    std::memcpy(&version, bsp.constData() + 4, 4);
    std::memcpy(&length, bsp.constData() + at, 4);
    return version == 46 ? length : -1;
}
constexpr int kLightmapsLump = 14;
constexpr int kVisibilityLump = 16;

class RunMapCompilerTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        QString why;
        compiler = buildCompiler(&why);
        if (compiler.isEmpty()) GTEST_SKIP() << why.toStdString();
    }

    // Builds the compiler once per build folder (build.sh keeps a current build); its path, or
    // empty with the reason.
    static QString buildCompiler(QString* why) {
        const QString tools = qEnvironmentVariable("ZARV_Q3MAP2_TOOLS", QStringLiteral(ZARV_Q3MAP2_TOOLS));
        const QString script = tools + QStringLiteral("/build.sh");
        if (!QFileInfo::exists(script)) {
            *why = QStringLiteral("no map compiler sources (%1; set ZARV_Q3MAP2_TOOLS)").arg(script);
            return QString();
        }
        QProcess build;
        build.start(QStringLiteral("bash"), {script, QStringLiteral(ZARV_Q3MAP2_BUILD)});
        if (!build.waitForFinished(900000) || build.exitStatus() != QProcess::NormalExit ||
            build.exitCode() != 0) {
            *why = QStringLiteral("the map compiler could not be built: ") +
                   QString::fromLocal8Bit(build.readAllStandardError()).right(400);
            return QString();
        }
        const QString program =
            QString::fromLocal8Bit(build.readAllStandardOutput()).trimmed().section('\n', -1);
        if (!QFileInfo(program).isExecutable()) *why = QStringLiteral("build.sh gave no program: ") + program;
        return QFileInfo(program).isExecutable() ? program : QString();
    }

    QString compiler;
};

TEST_F(RunMapCompilerTest, NormalModeCompilesTheMapIntoTheGameFolder) {
    cConsoleCapture console;
    const QString game = path("game/baseoa");
    QDir().mkpath(game + "/maps");
    // As the manual sets it up: the stages in the three fields, the game folder through $gamedir.
    const QString stage = compiler + " -fs_basepath $gamedir/.. -fs_game baseoa ";
    writeFile("base/KDKGameCfg.ini",
              QStringLiteral("[Config0]\nTitle=OpenArena\nEnabled=true\nMapProfile=kpQuake3\n"
                             "GameBasedir=%1\nMapTool1=%2-meta\nMapTool2=%2-vis\n"
                             "MapTool3=%2-light -fast\n")
                  .arg(game, stage)
                  .toUtf8());
    writeFile("work/room.map", roomMap());

    cMainWindow window(WindowMode::Interactive);
    window.show();
    MapDocument* document = window.openFile(path("work/room.map"));
    ASSERT_NE(document, nullptr);
    cPromptScript cancelSaveAs; // the run goes on with the map's own file

    QPixmap dialogPicture;
    {
        cDialogAnswer run([&](QDialog* dialog) {
            auto* fast = dialog->findChild<QRadioButton*>(QStringLiteral("rbVISFast"));
            ASSERT_NE(fast, nullptr);
            ASSERT_TRUE(fast->isEnabled());
            // On the button's circle: the box is wider than its text.
            QTest::mouseClick(fast, Qt::LeftButton, {}, QPoint(6, fast->height() / 2));
            EXPECT_TRUE(fast->isChecked());
            dialogPicture = dialog->grab();
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            ASSERT_NE(buttons, nullptr);
            QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        window.cmdFileRun();
        ASSERT_TRUE(run.answered);
    }

    // The three stages ran in the output window, each with its own output.
    const QString pane = window.runMapOutput->output()->toPlainText();
    const QString maps = QFileInfo(game + "/maps").canonicalFilePath();
    EXPECT_EQ(pane.count("** Command: " + compiler + "\n"), 3) << pane.toStdString();
    for (const char* text : {"--- BSP ---", "--- Vis ---", "--- Light ---", "-vis -fast"})
        EXPECT_TRUE(pane.contains(QLatin1String(text))) << text << "\n" << pane.toStdString();
    EXPECT_TRUE(pane.contains("** Parameters: -fs_basepath " + game + "/.. -fs_game baseoa -meta " + maps +
                              "/room\n"))
        << pane.toStdString();
    EXPECT_TRUE(pane.contains("Writing " + maps + "/room.bsp")) << pane.toStdString();
    EXPECT_FALSE(pane.contains("leaked")) << pane.toStdString();

    // The compiled map, with visibility and light, beside the copy in the game's maps folder.
    QFile bsp(maps + "/room.bsp");
    ASSERT_TRUE(bsp.open(QIODevice::ReadOnly));
    const QByteArray bytes = bsp.readAll();
    EXPECT_GT(lumpLength(bytes, kVisibilityLump), 0);
    EXPECT_GT(lumpLength(bytes, kLightmapsLump), 0);
    EXPECT_EQ(Map_PointfileCount(document->world), 0);

    // Pictures for the manual, when asked for.
    const QString pictures = qEnvironmentVariable("ZARV_PICTURES");
    if (!pictures.isEmpty()) {
        QDir().mkpath(pictures);
        EXPECT_TRUE(dialogPicture.save(pictures + "/run-map-dialog.png"));
        QApplication::processEvents();
        EXPECT_TRUE(window.runMapOutput->grab().save(pictures + "/run-map-output.png"));
    }
    window.runMapOutput->close();
    document->modified = false;
    EXPECT_TRUE(window.close());

    // The game's dedicated server finds the map by name in the game folder.
    const QString server = QStringLiteral("/usr/lib/ioquake3/ioq3ded");
    const QString serverBase = QStringLiteral("/usr/lib/openarena-server");
    if (!QFileInfo(server).isExecutable() || !QFileInfo::exists(serverBase + "/baseoa")) {
        std::printf("no OpenArena dedicated server: the load in the game is not checked\n");
        return;
    }
    QProcess load;
    load.setProcessChannelMode(QProcess::MergedChannels);
    load.start(server, {"+set", "com_basegame", "baseoa",     "+set", "fs_basepath", serverBase,
                        "+set", "fs_homepath",  path("game"), "+set", "dedicated",   "1",
                        "+set", "sv_pure",      "0",          "+set", "net_enabled", "0",
                        "+map", "room",         "+quit"});
    ASSERT_TRUE(load.waitForFinished(120000));
    const QString log = QString::fromLocal8Bit(load.readAll());
    EXPECT_TRUE(log.contains("Server: room")) << log.toStdString();
    EXPECT_TRUE(log.contains("items registered")) << log.toStdString();
    EXPECT_FALSE(log.contains("startsolid")) << log.toStdString();
}

} // namespace
