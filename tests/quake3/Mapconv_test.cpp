// mapconv through the real host: map → project → map gives what map → map gives, and each exit
// code with its message.
#include <QDir>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "Quake3Fixture.h"
#include "document/MapDocument.h"

namespace {

QString tool(const char* name) {
    return QStringLiteral(ZARV_BIN_DIR "/../tests/") + QLatin1String(name);
}

struct ToolRun {
    int exitCode = -1;
    QByteArray out, err;
};

ToolRun run(const char* name, const QStringList& arguments) {
    QProcess process;
    // The tools need no display; on the offscreen platform they start no D-Bus thread, whose
    // start-up leak would fail a short run now and then.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(tool(name), arguments);
    ToolRun r;
    if (!process.waitForFinished(60000)) return r;
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

// Map text with the face lines of every brush sorted (the project format may keep faces in
// another order) and the generator line left out.
QByteArray facesSorted(const QByteArray& text) {
    QList<QByteArray> out, faces;
    for (const QByteArray& line : text.split('\n')) {
        if (line.startsWith("( ")) {
            faces << line;
            continue;
        }
        std::sort(faces.begin(), faces.end());
        out << faces;
        faces.clear();
        if (!line.startsWith("\"_generator\"")) out << line;
    }
    return out.join('\n');
}

class MapconvTest : public ::testing::Test {
protected:
    cQuake3Files files;
};

TEST_F(MapconvTest, ThroughTheProjectFormatGivesTheSameMap) {
    for (const char* fixture : {"classic.map", "v220.map", "writer_input.map"}) {
        SCOPED_TRACE(fixture);
        const QString a = files.write(QStringLiteral("a.map"), Quake3_Fixture(fixture));
        const ToolRun toProject = run("mapconv", {a, files.path(QStringLiteral("a.zmf"))});
        ASSERT_EQ(toProject.exitCode, 0) << toProject.err.toStdString();
        const ToolRun dump = run("zmfdump", {files.path(QStringLiteral("a.zmf"))});
        EXPECT_EQ(dump.exitCode, 0);
        EXPECT_TRUE(dump.out.contains("entity")) << dump.out.toStdString();

        const ToolRun back =
            run("mapconv", {files.path(QStringLiteral("a.zmf")), files.path(QStringLiteral("b.map"))});
        ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
        const ToolRun direct = run("mapconv", {a, files.path(QStringLiteral("c.map"))});
        ASSERT_EQ(direct.exitCode, 0) << direct.err.toStdString();
        EXPECT_EQ(facesSorted(files.read(QStringLiteral("b.map"))),
                  facesSorted(files.read(QStringLiteral("c.map"))));
    }
}

TEST_F(MapconvTest, ExitCodesWithTheirMessages) {
    const QString good = files.write(QStringLiteral("good.map"), Quake3_Fixture("classic.map"));
    QByteArray truncated = Quake3_Fixture("classic.map");
    truncated.truncate(truncated.indexOf("// entity 1"));
    truncated.chop(3); // inside the world entity's last brush
    const QString damaged = files.write(QStringLiteral("damaged.map"), truncated);
    QByteArray dropping = Quake3_Fixture("classic.map");
    dropping.replace("( 0 0 64 ) ( 0 0 0 ) ( 0 64 0 )", "( 0 0 64 ) ( 0 0 0 ) ( 0 0 32 )");
    const QString dropped = files.write(QStringLiteral("dropped.map"), dropping);
    files.write(QStringLiteral("file"), "x");
    files.write(QStringLiteral("kept.map"), "old");
    const QString config = files.write(QStringLiteral("games.ini"),
                                       "[Config0]\nTitle=Arena\nMapProfile=kpQuake3\nGameBasedir=/tmp\n");
    QDir().mkpath(files.path(QStringLiteral("empty")));

    struct Case {
        const char* name;
        QStringList arguments;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {"no arguments", {}, 64, "usage: mapconv"},
        {"unknown option",
         {QStringLiteral("--fast"), good, files.path(QStringLiteral("o.map"))},
         64,
         "usage: mapconv"},
        {"missing IN",
         {files.path(QStringLiteral("missing.map")), files.path(QStringLiteral("o.map"))},
         1,
         "can't read"},
        {"damaged IN",
         {damaged, files.path(QStringLiteral("o.map"))},
         1,
         "unexpected end of file: block opened at line 2 is not closed"},
        {"unknown extension", {good, files.path(QStringLiteral("o.xyz"))}, 3, "no export format"},
        {"unknown game",
         {QStringLiteral("--game"), QStringLiteral("Doom"), good, files.path(QStringLiteral("o.map"))},
         3,
         "map profile \"Doom\""},
        {"no plugins",
         {QStringLiteral("--plugins"), files.path(QStringLiteral("empty")), good,
          files.path(QStringLiteral("o.map"))},
         3,
         "no plugin"},
        {"OUT folder not writable", {good, files.path(QStringLiteral("file/o.map"))}, 2, "Unable to write"},
        {"dropped solids", {dropped, files.path(QStringLiteral("o.map"))}, 4, "1 solids were not loaded"},
        {"configuration by title",
         {QStringLiteral("--config"), config, QStringLiteral("--game"), QStringLiteral("Arena"), good,
          files.path(QStringLiteral("o.map"))},
         0,
         "Loaded project with game configuration \"Arena\""},
        // The configuration names no textures: the load says how many faces have none.
        {"faces without a texture counted",
         {QStringLiteral("--config"), config, good, files.path(QStringLiteral("o.map"))},
         0,
         "18 faces of the map have no texture"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ToolRun r = run("mapconv", c.arguments);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    const ToolRun help = run("mapconv", {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("Exit codes"));
}

// Any plugin: the host's test plugin and its ".kpt" text, there and back through a project file.
TEST_F(MapconvTest, TestPluginTextComesBack) {
    QDir().mkpath(files.path(QStringLiteral("plugins")));
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZARV_TEST_PLUGIN_DIR "/kpTestx64.so"),
                            files.path(QStringLiteral("plugins/kpTestx64.so"))));
    QFile fixture(QStringLiteral(ZARV_GAMEDATA_DATA_DIR "/fixture.kpt"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    const QString a = files.write(QStringLiteral("a.kpt"), fixture.readAll());
    const QStringList options = {QStringLiteral("--plugins"), files.path(QStringLiteral("plugins")),
                                 QStringLiteral("--game"), QStringLiteral("kpTest")};
    const ToolRun toProject = run("mapconv", options + QStringList{a, files.path(QStringLiteral("a.zmf"))});
    ASSERT_EQ(toProject.exitCode, 0) << toProject.err.toStdString();
    const ToolRun back = run("mapconv", options + QStringList{files.path(QStringLiteral("a.zmf")),
                                                              files.path(QStringLiteral("b.kpt"))});
    ASSERT_EQ(back.exitCode, 0) << back.err.toStdString();
    const ToolRun direct = run("mapconv", options + QStringList{a, files.path(QStringLiteral("c.kpt"))});
    ASSERT_EQ(direct.exitCode, 0) << direct.err.toStdString();
    // A project file numbers visgroups afresh: ids are compared by order of appearance.
    auto renumbered = [](QByteArray text) {
        QMap<QByteArray, QByteArray> ids;
        const QRegularExpression visgroup(QStringLiteral("visgroup (\\d+)"));
        QString result = QString::fromLatin1(text);
        QRegularExpressionMatchIterator it = visgroup.globalMatch(result);
        while (it.hasNext()) {
            const QByteArray id = it.next().captured(1).toLatin1();
            if (!ids.contains(id)) ids.insert(id, "#" + QByteArray::number(ids.size() + 1));
        }
        for (auto i = ids.cbegin(); i != ids.cend(); ++i)
            result.replace(QRegularExpression(QStringLiteral("visgroup %1\\b").arg(QLatin1String(i.key()))),
                           QStringLiteral("visgroup ") + QLatin1String(i.value()));
        return result;
    };
    EXPECT_FALSE(files.read(QStringLiteral("b.kpt")).isEmpty());
    EXPECT_EQ(renumbered(files.read(QStringLiteral("b.kpt"))),
              renumbered(files.read(QStringLiteral("c.kpt"))));
    // Without the Quake III plugin there is no ".map" format.
    const ToolRun noMap = run("mapconv", options + QStringList{a, files.path(QStringLiteral("d.map"))});
    EXPECT_EQ(noMap.exitCode, 3);
}

// An export that fails keeps the file that was there: here no file may grow at all.
TEST_F(MapconvTest, FailedExportKeepsTheOldFile) {
    const QString in = files.write(QStringLiteral("in.map"), Quake3_Fixture("classic.map"));
    const QString out = files.write(QStringLiteral("kept.map"), "old");
    // The shell ignores the file-size signal, so the write fails with an error the tool sees.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 0; exec \"$0\" \"$@\""),
                   tool("mapconv"), in, out});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QByteArray err = process.readAllStandardError();
    EXPECT_EQ(process.exitCode(), 2) << err.toStdString();
    EXPECT_TRUE(err.contains("File too large")) << err.toStdString();
    EXPECT_EQ(files.read(QStringLiteral("kept.map")), QByteArray("old"));
}

} // namespace
