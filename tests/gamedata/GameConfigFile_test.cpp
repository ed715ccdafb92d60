#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "ConsoleCapture.h"
#include "gamedata/GameConfigFile.h"

namespace {

class GameConfigFileTest : public ::testing::Test {
protected:
    QString path() const { return folder.filePath("KDKGameCfg.ini"); }
    void writeText(const QByteArray& text) {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QByteArray readText(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QList<GameConfigValues> load(const QByteArray& text) {
        writeText(text);
        QList<GameConfigValues> configs;
        EXPECT_TRUE(file.load(path(), &configs));
        return configs;
    }

    cConsoleCapture console;
    QTemporaryDir folder;
    cGameConfigFile file;
};

// ---- Reading ---------------------------------------------------------------------------------------

struct LoadCase {
    const char* name;
    const char* text;
    std::function<void(const QList<GameConfigValues>&)> check;
    bool needsBackup;
};

const LoadCase kLoadCases[] = {
    {"GroupsAfterAGapAreIgnored", "[Config0]\nTitle=A\n\n[Config2]\nTitle=C\n",
     [](const auto& c) {
         ASSERT_EQ(c.size(), 1);
         EXPECT_EQ(c[0].Title, "A");
     },
     true},
    {"GroupWithoutTitleEndsLoading", "[Config0]\nTitle=A\n[Config1]\nEnabled=true\n[Config2]\nTitle=C\n",
     [](const auto& c) { EXPECT_EQ(c.size(), 1); }, true},
    {"ListWithAGapKeepsTheFirstEntries",
     "[Config0]\nTitle=A\nGameData0=a.fgd\nGameData2=c.fgd\nParcel0=p.pk3\n",
     [](const auto& c) {
         ASSERT_EQ(c.size(), 1);
         EXPECT_EQ(c[0].GameData, QStringList{"a.fgd"});
         EXPECT_EQ(c[0].Parcel, QStringList{"p.pk3"});
     },
     true},
    {"ScaleBelowATenthIsOne",
     "[Config0]\nTitle=A\nDefaultTextureScale=0.05\n[Config1]\nTitle=B\n[Config2]\nTitle=C\n"
     "DefaultTextureScale=0.1\n",
     [](const auto& c) {
         ASSERT_EQ(c.size(), 3);
         EXPECT_EQ(c[0].DefaultTextureScale, 1.0f);
         EXPECT_EQ(c[1].DefaultTextureScale, 1.0f);
         EXPECT_EQ(c[2].DefaultTextureScale, 0.1f);
     },
     false},
    {"DuplicateTitlesBothLoad", "[Config0]\nTitle=Q3\nGameModdir=a\n[Config1]\nTitle=Q3\nGameModdir=b\n",
     [](const auto& c) {
         ASSERT_EQ(c.size(), 2);
         EXPECT_EQ(c[1].GameModdir, "b");
     },
     false},
    {"DefaultsOfAbsentKeys", "[Config0]\nTitle=A\n",
     [](const auto& c) {
         EXPECT_FALSE(c[0].Enabled);
         EXPECT_EQ(c[0].TextureFormat, 0);
         EXPECT_EQ(c[0].TextureBrightness, 50u);
         EXPECT_TRUE(c[0].GameData.isEmpty());
         EXPECT_FALSE(c[0].ParcelEdited); // the editor finds the packages
     },
     false},
    // The user's package list is marked; an unmarked one (an older file, text written by hand) is
    // the editor's when it is what the game-folder search writes, scripts and texture folders.
    {"MarkedPackageListIsTheUsers",
     "[Config0]\nTitle=A\nGameBasedir=/g\nParcelEdited=true\nParcel0=/g/scripts::*.shader\n"
     "Parcel1=/g/textures/a::*.tga;*.jpg\n",
     [](const auto& c) {
         EXPECT_TRUE(c[0].ParcelEdited);
         EXPECT_EQ(c[0].Parcel.size(), 2);
     },
     false},
    {"UnmarkedSearchResultIsTheEditors",
     "[Config0]\nTitle=A\nGameBasedir=/g/\nGameModdir=/m\nParcel0=/m/scripts::*.shader\n"
     "Parcel1=/g/scripts/b.shader\nParcel2=/g/scripts/a.shader\nParcel3=\"/g/textures/a::*.tga;*.jpg\"\n",
     [](const auto& c) {
         EXPECT_FALSE(c[0].ParcelEdited);
         EXPECT_TRUE(c[0].Parcel.isEmpty());
     },
     false},
    {"UnmarkedChoiceIsTheUsers",
     "[Config0]\nTitle=A\nGameBasedir=/g\nParcel0=/g/scripts/sample.shader\n"
     "[Config1]\nTitle=B\nGameBasedir=/g\nParcel0=/g/scripts::*.shader\nParcel1=/g/textures/a::*.tga\n"
     "[Config2]\nTitle=C\nGameBasedir=/g\nParcel0=/g/scripts::*.shader\nParcel1=/else/x.wad\n",
     [](const auto& c) {
         ASSERT_EQ(c.size(), 3);
         for (const auto& config : c) {
             EXPECT_TRUE(config.ParcelEdited) << config.Title.toStdString();
             EXPECT_FALSE(config.Parcel.isEmpty());
         }
     },
     false},
    {"ValuesThatDoNotConvertReadAsZero",
     "[Config0]\nTitle=A\nEnabled=yes\nTextureFormat=two\nTextureBrightness=-3\nDefaultTextureScale=1,5\n",
     [](const auto& c) {
         EXPECT_TRUE(c[0].Enabled); // as the settings class reads text
         EXPECT_EQ(c[0].TextureFormat, 0);
         EXPECT_EQ(c[0].TextureBrightness, 0u);
         EXPECT_EQ(c[0].DefaultTextureScale, 1.0f);
     },
     true},
    {"UnquotedCommaIsText", "[Config0]\nTitle=A, B\nGameCommandLine=+set a 1; comment\n",
     [](const auto& c) {
         EXPECT_EQ(c[0].Title, "A, B");
         EXPECT_EQ(c[0].GameCommandLine, "+set a 1");
     },
     false},
    {"TenthListEntryFollowsTheNinth",
     "[Config0]\nTitle=A\nGameData0=0\nGameData1=1\nGameData2=2\nGameData3=3\nGameData4=4\nGameData5=5\n"
     "GameData6=6\nGameData7=7\nGameData8=8\nGameData9=9\nGameData10=10\n",
     [](const auto& c) {
         ASSERT_EQ(c[0].GameData.size(), 11);
         EXPECT_EQ(c[0].GameData[10], "10");
     },
     false},
};

class GameConfigLoadTest : public GameConfigFileTest, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(GameConfigLoadTest, ReadsAsTheTableSays) {
    GetParam().check(load(GetParam().text));
    EXPECT_EQ(file.needsBackup(), GetParam().needsBackup) << console.lines.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, GameConfigLoadTest, ::testing::ValuesIn(kLoadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GameConfigFileTest, MissingFileGivesNothingAndNoMessage) {
    QList<GameConfigValues> configs{GameConfigValues{}};
    EXPECT_TRUE(file.load(folder.filePath("none.ini"), &configs));
    EXPECT_TRUE(configs.isEmpty());
    EXPECT_TRUE(console.lines.isEmpty());
    EXPECT_FALSE(file.needsBackup());
}

TEST_F(GameConfigFileTest, BadLinesAreReportedByNumberAndSkipped) {
    const auto configs = load("; settings\n[Config0]\nTitle=A\n\nGameBasedir=/games/q3\n  \n"
                              "this line is damaged\nGameModdir=baseq3\n[Config1\nTitle=B\n");
    ASSERT_EQ(configs.size(), 1);
    EXPECT_EQ(configs[0].GameModdir, "baseq3");
    EXPECT_TRUE(console.contains("KDKGameCfg.ini, line 7: not a key=value line, skipped"));
    EXPECT_TRUE(console.contains("KDKGameCfg.ini, line 9: not a key=value line, skipped"));
    // The keys under the damaged header stay out of Config0.
    EXPECT_EQ(configs[0].Title, "A");
    EXPECT_TRUE(console.contains("KDKGameCfg.ini, line 9: group [Config1 not read"));
    EXPECT_TRUE(file.needsBackup());
}

// ---- Writing ---------------------------------------------------------------------------------------

GameConfigValues awkward() {
    GameConfigValues c;
    c.Title = QString::fromUtf8("Quake III \"Arena\" — Тест");
    c.Enabled = true;
    c.TextureFormat = 2;
    c.MapProfile = "@quake3";
    c.DefaultPointClass = "  outer blanks  ";
    c.GameExecutable = "C:\\Games\\quake3.exe";
    c.GameCommandLine = "+set fs_game mod; +map $map, +devmap=1";
    c.GameBasedir = "\ttab\nline\rreturn\x01"
                    "1ctl";
    c.MapSourceFileDirectory = "@@double";
    c.ModelViewer = "=starts with equals";
    c.TextureBrightness = 75;
    c.DefaultTextureScale = 0.5f;
    c.MapTool[1] = "q3map2 -bsp";
    c.GameData = {"a.fgd", "b, c.fgd", QString::fromUtf8("д.fgd")};
    c.Parcel = {"pak0.pk3::*.tga;*.jpg"};
    c.ParcelEdited = true;
    return c;
}

void expectSame(const GameConfigValues& a, const GameConfigValues& b) {
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.Enabled, b.Enabled);
    EXPECT_EQ(a.TextureFormat, b.TextureFormat);
    EXPECT_EQ(a.MapProfile, b.MapProfile);
    EXPECT_EQ(a.DefaultPointClass, b.DefaultPointClass);
    EXPECT_EQ(a.GameExecutable, b.GameExecutable);
    EXPECT_EQ(a.GameCommandLine, b.GameCommandLine);
    EXPECT_EQ(a.GameBasedir, b.GameBasedir);
    EXPECT_EQ(a.MapSourceFileDirectory, b.MapSourceFileDirectory);
    EXPECT_EQ(a.ModelViewer, b.ModelViewer);
    EXPECT_EQ(a.TextureBrightness, b.TextureBrightness);
    EXPECT_EQ(a.DefaultTextureScale, b.DefaultTextureScale);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a.MapTool[i], b.MapTool[i]);
    EXPECT_EQ(a.GameData, b.GameData);
    EXPECT_EQ(a.Parcel, b.Parcel);
    EXPECT_EQ(a.ParcelEdited, b.ParcelEdited);
}

TEST_F(GameConfigFileTest, AwkwardValuesSurviveAndASecondSaveIsIdentical) {
    GameConfigValues plain;
    plain.Title = "Plain";
    ASSERT_TRUE(file.save(path(), {awkward(), plain}));
    const QByteArray first = readText(path());
    EXPECT_TRUE(first.contains("\nDefaultTextureScale=0.500\n"));
    EXPECT_TRUE(first.contains("[Config1]\nTitle=Plain\nEnabled=false\n"));
    EXPECT_TRUE(first.contains("\nTextureBrightness=50\nDefaultTextureScale=1.000\nPaletteFile=\n"));
    EXPECT_TRUE(first.contains("\nMapTool3=\nGameData0="));

    QList<GameConfigValues> loaded;
    ASSERT_TRUE(file.load(path(), &loaded));
    ASSERT_EQ(loaded.size(), 2);
    expectSame(loaded[0], awkward());
    EXPECT_EQ(loaded[1].DefaultTextureScale, 1.0f);
    ASSERT_TRUE(file.save(path(), loaded));
    EXPECT_EQ(readText(path()), first);
    EXPECT_FALSE(QFile::exists(path() + ".bak"));
    EXPECT_TRUE(console.lines.isEmpty()) << console.lines.join('\n').toStdString();
}

// The editor's own package list is found again at every precache: it is not written.
TEST_F(GameConfigFileTest, OnlyTheUsersPackageListIsWritten) {
    GameConfigValues found;
    found.Title = "Found";
    found.GameBasedir = "/g";
    found.Parcel = {"/g/scripts::*.shader"};
    GameConfigValues edited = found;
    edited.Title = "Edited";
    edited.ParcelEdited = true;
    ASSERT_TRUE(file.save(path(), {found, edited}));
    const QByteArray text = readText(path());
    EXPECT_TRUE(text.contains("\nMapTool3=\n\n[Config1]\nTitle=Edited\n")) << text.constData();
    EXPECT_TRUE(text.endsWith("\nMapTool3=\nParcelEdited=true\nParcel0=/g/scripts::*.shader\n"))
        << text.constData();
    EXPECT_EQ(text.count("Parcel"), 2) << text.constData();
    QList<GameConfigValues> loaded;
    ASSERT_TRUE(file.load(path(), &loaded));
    ASSERT_EQ(loaded.size(), 2);
    EXPECT_FALSE(loaded[0].ParcelEdited);
    EXPECT_TRUE(loaded[0].Parcel.isEmpty());
    EXPECT_TRUE(loaded[1].ParcelEdited);
    EXPECT_EQ(loaded[1].Parcel, edited.Parcel);
}

// The toolkit's settings class reads our file and we read its file: the same strings both ways.
TEST_F(GameConfigFileTest, SettingsClassReadsOurValuesAndWeReadItsValues) {
    const GameConfigValues c = awkward();
    ASSERT_TRUE(file.save(path(), {c}));
    {
        QSettings settings(path(), QSettings::IniFormat);
        settings.beginGroup("Config0");
        EXPECT_EQ(settings.value("Title").toString(), c.Title);
        EXPECT_EQ(settings.value("MapProfile").toString(), c.MapProfile);
        EXPECT_EQ(settings.value("DefaultPointClass").toString(), c.DefaultPointClass);
        EXPECT_EQ(settings.value("GameExecutable").toString(), c.GameExecutable);
        EXPECT_EQ(settings.value("GameCommandLine").toString(), c.GameCommandLine);
        EXPECT_EQ(settings.value("GameBasedir").toString(), c.GameBasedir);
        EXPECT_EQ(settings.value("MapSourceFileDirectory").toString(), c.MapSourceFileDirectory);
        EXPECT_EQ(settings.value("ModelViewer").toString(), c.ModelViewer);
        EXPECT_EQ(settings.value("GameData1").toString(), c.GameData[1]);
        EXPECT_EQ(settings.value("Parcel0").toString(), c.Parcel[0]);
        EXPECT_EQ(settings.value("DefaultTextureScale").toString(), "0.500");
        EXPECT_TRUE(settings.value("Enabled").toBool());
        EXPECT_EQ(settings.status(), QSettings::NoError);
    }
    const QString theirs = folder.filePath("theirs.ini");
    {
        QSettings settings(theirs, QSettings::IniFormat);
        settings.beginGroup("Config0");
        settings.setValue("Title", c.Title);
        settings.setValue("MapProfile", c.MapProfile);
        settings.setValue("DefaultPointClass", c.DefaultPointClass);
        settings.setValue("GameExecutable", c.GameExecutable);
        settings.setValue("GameCommandLine", c.GameCommandLine);
        settings.setValue("GameBasedir", c.GameBasedir);
        settings.setValue("MapSourceFileDirectory", c.MapSourceFileDirectory);
        settings.setValue("ModelViewer", c.ModelViewer);
        settings.setValue("Enabled", true);
        settings.setValue("TextureFormat", 2);
        settings.setValue("TextureBrightness", 75);
        settings.setValue("DefaultTextureScale", "0.500");
        settings.setValue("MapTool1", c.MapTool[1]);
        for (int i = 0; i < c.GameData.size(); ++i)
            settings.setValue(QString("GameData%1").arg(i), c.GameData[i]);
        settings.setValue("Parcel0", c.Parcel[0]);
    }
    QList<GameConfigValues> loaded;
    ASSERT_TRUE(file.load(theirs, &loaded));
    ASSERT_EQ(loaded.size(), 1);
    expectSame(loaded[0], c);
}

// Groups that were not read hold the user's text: saving never writes over them (a file written
// by hand, starting at "[Config1]", lost everything to the save at exit).
TEST_F(GameConfigFileTest, UnreadGroupsKeepTheUsersFile) {
    GameConfigValues fresh;
    fresh.Title = "New";
    for (const QByteArray& original :
         {QByteArray("[Config0]\nTitle \"Quake III\"\nGameBasedir=/q3\n[Config1]\nTitle=Other\n"),
          QByteArray("[Config1]\nTitle=OpenArena\nEnabled=true\nGameBasedir=/oa\n")}) {
        SCOPED_TRACE(original.constData());
        console.clear();
        EXPECT_TRUE(load(original).isEmpty());
        EXPECT_TRUE(console.contains(QString("KDKGameCfg.ini, line 1: group Config%1 not read")
                                         .arg(original.startsWith("[Config0]") ? 0 : 1)));
        ASSERT_TRUE(file.save(path(), {fresh}));
        ASSERT_TRUE(file.save(path(), {fresh, fresh}));
        EXPECT_EQ(readText(path()), original);
        EXPECT_FALSE(QFile::exists(path() + ".bak"));
        const QString kept =
            original.startsWith("[Config0]") ? "groups Config0, Config1 were" : "group Config1 was";
        EXPECT_EQ(console.lines.filter("not saved").size(), 1) << console.lines.join('\n').toStdString();
        EXPECT_TRUE(console.contains(
            QString("KDKGameCfg.ini not saved: %1 not read, so the file is kept as written").arg(kept)))
            << console.lines.join('\n').toStdString();
    }
    // Another file is written as usual.
    ASSERT_TRUE(file.save(folder.filePath("other.ini"), {fresh}));
    EXPECT_TRUE(readText(folder.filePath("other.ini")).contains("Title=New"));
}

// Everything else that could not be read (a bad line, an unknown key) is kept as a copy before the
// first save.
TEST_F(GameConfigFileTest, DamagedFileLeavesABackupBeforeTheFirstSave) {
    const QByteArray original = "[Config0]\nTitle=Kept\nbroken line\nBogus=1\n";
    EXPECT_EQ(load(original).size(), 1);
    EXPECT_TRUE(file.needsBackup());
    EXPECT_TRUE(console.contains("KDKGameCfg.ini, line 3: not a key=value line, skipped"));
    EXPECT_TRUE(console.contains("KDKGameCfg.ini, line 4: key Bogus of group Config0 not read"));

    GameConfigValues fresh;
    fresh.Title = "New";
    ASSERT_TRUE(file.save(path(), {fresh}));
    EXPECT_EQ(readText(path() + ".bak"), original);
    EXPECT_TRUE(readText(path()).contains("Title=New"));
    EXPECT_TRUE(console.contains(
        "KDKGameCfg.ini could not be read whole: the old file is kept as KDKGameCfg.ini.bak"));
    // Only the first save keeps a copy: the next one must not overwrite it with our own file.
    ASSERT_TRUE(file.save(path(), {fresh, fresh}));
    EXPECT_EQ(readText(path() + ".bak"), original);
}

TEST_F(GameConfigFileTest, FailedSaveKeepsTheOldFileAndSaysSo) {
    const QByteArray original = "[Config0]\nTitle=Kept\n";
    writeText(original);
    GameConfigValues c = awkward();
    ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    // An administrator may write anyway: then a file-size limit makes the write fail instead.
    const bool folderWritable = QFile(folder.filePath("probe")).open(QIODevice::WriteOnly);
    QFile::remove(folder.filePath("probe"));
    rlimit saved{};
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    if (folderWritable) {
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    const bool saved_ok = file.save(path(), {c});
    if (folderWritable) setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(readText(path()), original);
    bool reported = false;
    for (const QString& line : console.lines)
        reported = reported || line.contains("can't save KDKGameCfg.ini");
    EXPECT_TRUE(reported) << console.lines.join('\n').toStdString();
}

TEST_F(GameConfigFileTest, EscapesLikeTheSettingsClass) {
    const struct {
        const char* value;
        const char* written;
    } cases[] = {
        {"plain", "plain"},
        {"a;b", "\"a;b\""},
        {"a,b", "\"a,b\""},
        {" lead", "\" lead\""},
        {"q\"uote\\", "q\\\"uote\\\\"},
        {"@at", "@@at"},
        {"\x01"
         "2",
         "\\x1\\x32"},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Ini_EscapeValue(QString::fromUtf8(c.value)), QByteArray(c.written));
        EXPECT_EQ(Ini_UnescapeValue(c.written), QString::fromUtf8(c.value));
    }
    EXPECT_EQ(Ini_UnescapeValue("  \"in quotes\"  "), "in quotes");
    EXPECT_EQ(Ini_UnescapeValue("trailing \t"), "trailing");
    EXPECT_EQ(Ini_UnescapeValue("@Invalid()"), "");
    EXPECT_EQ(Ini_UnescapeValue("\\101\\x42\\x"), "AB");
    // A byte-order mark after an escape stays a character (found by the run-configuration harness).
    const QString mark = QStringLiteral("a") + QChar(0) + QChar(0xfeff) + QStringLiteral("b");
    EXPECT_EQ(Ini_UnescapeValue(Ini_EscapeValue(mark)), mark);
    EXPECT_EQ(Ini_UnescapeValue("a\\0\xef\xbb\xbf"
                                "b"),
              mark);
}

// An escape can name half of a surrogate pair, which has no UTF-8 form: it is written back as the
// same escape, so the value and the user's file survive a save (found by the game-configuration
// harness). Whole pairs, escaped or not, are written as UTF-8.
TEST_F(GameConfigFileTest, KeepsEscapedLoneSurrogates) {
    const QChar high(char16_t(0xd800)), low(char16_t(0xdc00));
    const struct {
        const char* written; // as found in the file
        QString value;
        const char* rewritten;
    } cases[] = {
        {"a\\xd800", QStringLiteral("a") + high, "a\\xd800"},
        {"\\xdc00z", QString(low) + QStringLiteral("z"), "\\xdc00z"},
        {"\\xd800\\x31", QString(high) + QStringLiteral("1"), "\\xd800\\x31"},
        {"\\xdc00\\xd800", QString(low) + high, "\\xdc00\\xd800"},
        {"\\xd800\\xdc00", QString(high) + low, "\xf0\x90\x80\x80"},
        {"\xf0\x90\x80\x80", QString(high) + low, "\xf0\x90\x80\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        EXPECT_EQ(Ini_UnescapeValue(c.written), c.value);
        EXPECT_EQ(Ini_EscapeValue(c.value), QByteArray(c.rewritten));
        EXPECT_EQ(Ini_UnescapeValue(Ini_EscapeValue(c.value)), c.value);
    }
}

} // namespace
