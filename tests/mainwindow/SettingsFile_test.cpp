#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cmath>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/SettingsFile.h"
#include "render/ColorScheme.h"

namespace {

// A main window whose settings folder and base directory are temporary folders.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8());
        QDir().mkpath(folder.filePath("base"));
        App_SetBaseDirectory(folder.filePath("base"));
        window = std::make_unique<cMainWindow>();
        console = std::make_unique<cConsoleCapture>();
    }
    void TearDown() override {
        console.reset();
        window.reset();
        App_SetBaseDirectory(QString());
        Color_ResetTables();
        if (previousConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", previousConfig);
    }

    QString userFile() const { return folder.filePath("config/zarv/KDKSettings.ini"); }
    void writeUserFile(const QByteArray& text) {
        QDir().mkpath(folder.filePath("config/zarv"));
        QFile file(userFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray readUserFile() const {
        QFile file(userFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString existingFile(const QString& name) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }
    // Reads the user file into the window as start-up does.
    void read(const QByteArray& text) {
        writeUserFile(text);
        window->setDefaultSettings();
        window->readSettings();
    }
    QAction* addAction(const char* name) {
        auto* action = new QAction(&actionOwner);
        action->setObjectName(QLatin1String(name));
        action->setCheckable(true);
        window->actionList.append(action);
        return action;
    }
    bool warned(const QString& part) const {
        for (const QString& line : console->lines)
            if (line.contains(part)) return true;
        return false;
    }

    QTemporaryDir folder;
    QByteArray previousConfig;
    std::unique_ptr<cMainWindow> window;
    std::unique_ptr<cConsoleCapture> console;
    QObject actionOwner;
};

// (group, key) pairs of an INI text in file order; "General" is the top level.
QList<QPair<QString, QString>> keysInOrder(const QByteArray& text) {
    QList<QPair<QString, QString>> keys;
    QString group;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('[')) {
            group = line.mid(1, line.size() - 2);
            if (group == QLatin1String("General")) group.clear();
        } else if (line.contains('=')) {
            keys.append({group, line.left(line.indexOf('='))});
        }
    }
    return keys;
}

QString lineOf(const QByteArray& text, const QString& group, const QString& key) {
    QString current;
    for (const QByteArray& raw : text.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith('['))
            current = line.mid(1, line.size() - 2);
        else if (current == group && line.startsWith(key + '='))
            return line.mid(key.size() + 1);
    }
    return QStringLiteral("<absent>");
}

} // namespace

TEST_F(SettingsFileTest, DefaultsAreWrittenInTheirTextFormsAndFileOrder) {
    window->setDefaultSettings();
    ASSERT_TRUE(window->writeSettings());
    const QByteArray text = readUserFile();
    struct Case {
        const char* group;
        const char* key;
        QString text;
    } cases[] = {
        {"General", "UndoLevels", "50"},
        {"General", "MapVertexRoundEps", "0.01000000"},
        {"General", "IndependentWindows", "false"},
        {"General", "CreateDefaultWindows", "true"},
        {"General", "CurrentColorScheme", "0"},
        {"View3D", "MinAlphaValue", "51"},
        {"View", "DistanceGridUV", "1024"},
        {"View2D", "GridDefaultSize", "32"},
        {"Autosave", "AutosaveDir", QDir::toNativeSeparators(QDir::homePath()) + "/Z.A.R.V.Autosave"},
        {"PasteSpecial", "NumCopies", "1"},
        {"EntityReport", "ClassFilter", ""},
        {"RecentFiles", "RecentFile1", "<absent>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lineOf(text, c.group, c.key), c.text) << c.group << "/" << c.key;
    EXPECT_EQ(QSettings(userFile(), QSettings::IniFormat).value("PasteSpecial/OffsetX").toFloat(), 0.0f);

    // Every key once, in the table's order (IgnoreMapExportInfo heads "Map").
    QList<QPair<QString, QString>> expected;
    for (const SettingKey& key : Settings_KeyTable())
        expected.append({QLatin1String(key.group), QLatin1String(key.key)});
    QList<QPair<QString, QString>> written = keysInOrder(text);
    written.removeIf([](const auto& k) { return k.first.startsWith("ColorScheme"); });
    EXPECT_EQ(written, expected);
}

TEST_F(SettingsFileTest, EveryKeyRoundTrips) {
    // Each member set away from its default survives a write and a read.
    MainSettings changed;
    int32_t n = 0;
    for (const SettingKey& key : Settings_KeyTable()) {
        ++n;
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(changed.*member)>;
                if constexpr (std::is_same_v<T, bool>)
                    changed.*member = !(changed.*member);
                else if constexpr (std::is_same_v<T, int32_t>)
                    changed.*member = 100 + n;
                else if constexpr (std::is_same_v<T, float>)
                    changed.*member = key.form == SettingForm::Byte        ? 128.0f / 255.0f
                                      : key.form == SettingForm::FixedText ? 0.25f
                                                                           : 100.0f + n;
                else
                    changed.*member = QStringLiteral("text, %1 = \"é\"").arg(n);
            },
            key.member);
    }
    window->settings = changed;
    ASSERT_TRUE(window->writeSettings());
    window->setDefaultSettings();
    window->readSettings();
    for (const SettingKey& key : Settings_KeyTable()) {
        std::visit(
            [&](auto member) {
                if (QLatin1String(key.key) == QLatin1String("TextureQuality")) return;
                EXPECT_EQ(window->settings.*member, changed.*member) << key.key;
            },
            key.member);
    }
}

TEST_F(SettingsFileTest, ReadingAppliesBoundsAndConversions) {
    read("[General]\nUndoLevels=2\nSelectionBulletSize=0\nVertexToolBulletSize=3\nMapVertexRoundEps=0.001\n"
         "[View2D]\nGridDefaultSize=64\n[View3D]\nMinAlphaValue=128\nCameraFOV=200\n[View]\nDistanceGridUV="
         "512\n"
         "[Autosave]\nAutosaveDelay=0\nAutosaveDir=\n");
    const MainSettings& s = window->settings;
    EXPECT_EQ(s.UndoLevels, 5);
    EXPECT_EQ(s.SelectionBulletSize, 4);
    EXPECT_EQ(s.VertexToolBulletSize, 4);
    EXPECT_EQ(s.GridDefaultSize, 64);
    EXPECT_EQ(s.CurrentGridSize, 64);
    EXPECT_NEAR(s.MinAlphaValue, 128.0f / 255.0f, 1e-6);
    EXPECT_EQ(s.CameraFOV, 200);
    EXPECT_EQ(s.DistanceGridUV, 512.0f);
    EXPECT_EQ(s.AutosaveDelay, 0);
    EXPECT_EQ(s.AutosaveDir, QString());
    EXPECT_EQ(s.MaxWorldSize, 8192);
    ASSERT_TRUE(window->writeSettings());
    EXPECT_EQ(lineOf(readUserFile(), "General", "MapVertexRoundEps"), "0.00100000");

    read("[General]\nUndoLevels=1000\n");
    EXPECT_EQ(window->settings.UndoLevels, 1000);
    EXPECT_EQ(window->settings.AutosaveDir, MainSettings().AutosaveDir);
}

TEST_F(SettingsFileTest, EveryAlphaValueIsWrittenBackUnchanged) {
    for (int32_t value = 0; value <= 255; ++value) {
        read(QStringLiteral("[View3D]\nMinAlphaValue=%1\n").arg(value).toUtf8());
        ASSERT_TRUE(window->writeSettings());
        ASSERT_EQ(lineOf(readUserFile(), "View3D", "MinAlphaValue"), QString::number(value));
    }
}

TEST_F(SettingsFileTest, TextureQualityFollowsPhysicalMemory) {
    read("");
    EXPECT_GE(window->settings.TextureQuality, 1);
    EXPECT_LE(window->settings.TextureQuality, 5);
    EXPECT_TRUE(warned(QStringLiteral("Physical RAM: %1 MB").arg(Sys_PhysicalMemoryMB())));
    const std::pair<uint64_t, int32_t> table[] = {{0, 1},   {127, 1}, {128, 2},  {255, 2},  {256, 3},
                                                  {511, 3}, {512, 4}, {1023, 4}, {1024, 5}, {65536, 5}};
    for (const auto& [mb, quality] : table)
        EXPECT_EQ(Settings_TextureQualityForMemory(mb), quality) << mb;
    read("[General]\nTextureQuality=3\n");
    EXPECT_EQ(window->settings.TextureQuality, 3);
}

TEST_F(SettingsFileTest, RecentFilesCloseGapsAndDropStaleKeys) {
    const QString a = existingFile("a.map");
    const QString c = existingFile("c.map");
    read(QStringLiteral("[RecentFiles]\nRecentFile1=%1\nRecentFile2=\nRecentFile3=%2\n"
                        "RecentFile4=%3\n")
             .arg(a, c, folder.filePath("gone.map"))
             .toUtf8());
    EXPECT_EQ(window->recentFiles, (QStringList{a, c}));
    ASSERT_TRUE(window->writeSettings());
    const QByteArray text = readUserFile();
    EXPECT_EQ(lineOf(text, "RecentFiles", "RecentFile3"), "<absent>");
    window->readSettings();
    EXPECT_EQ(window->recentFiles, (QStringList{a, c}));

    // Ten entries: eight are kept.
    window->recentFiles.clear();
    for (int32_t i = 0; i < 10; ++i)
        window->recentFiles.append(existingFile(QStringLiteral("m%1.map").arg(i)));
    ASSERT_TRUE(window->writeSettings());
    EXPECT_EQ(lineOf(readUserFile(), "RecentFiles", "RecentFile8"), window->recentFiles[7]);
    EXPECT_EQ(lineOf(readUserFile(), "RecentFiles", "RecentFile9"), "<absent>");
}

TEST_F(SettingsFileTest, CheckedActionsFollowTheSettings) {
    for (const SettingAction& action : Settings_ActionTable())
        addAction(action.name);
    read("[View]\nHideMask=33\n[Tools]\nVertexToolRestrict=true\n");
    auto checked = [&](const char* name) {
        const QAction* action = Window_Action(*window, name);
        return action && action->isChecked();
    };
    EXPECT_TRUE(checked("ViewItems"));
    EXPECT_TRUE(checked("ViewCurves"));
    for (const char* name : {"ViewPaths", "ViewDetail", "ViewEntNames", "ViewUnknown"})
        EXPECT_FALSE(checked(name)) << name;
    EXPECT_FALSE(checked("ToolsVertexRes"));
    EXPECT_TRUE(checked("ToolsVertexCM")); // coplanar merge on by default, checked as its label says
    EXPECT_FALSE(checked("CurveSelect"));
    EXPECT_TRUE(checked("MapSnap"));
}

TEST_F(SettingsFileTest, MalformedInputKeepsDefaultsWithWarnings) {
    struct Case {
        QByteArray text;
        QString warning;
    } cases[] = {
        {"[View2D]\nGridHighlightStep=abc\n", "[View2D] GridHighlightStep = \"abc\" is not a valid value"},
        {"[View2D]\nGridHighlightStep=0\n", "[View2D] GridHighlightStep = \"0\" must be above 0"},
        {"[View2D]\nFixedDegreeRotation=0\n", "FixedDegreeRotation = \"0\" must be above 0"},
        {"[View2D]\nGridDefaultSize=-8\n", "GridDefaultSize = \"-8\" must be above 0"},
        {"[General]\nMaxWorldSize=0\n", "MaxWorldSize = \"0\" must be above 0"},
        {"[General]\nUndoEnabled=perhaps\n", "UndoEnabled = \"perhaps\" is not a valid value"},
        {"[View3D]\nMinAlphaValue=x\n", "MinAlphaValue = \"x\" is not a valid value"},
        {"[General]\nUndoLevels=70\njust some words\n", "KDKSettings.ini:3: malformed line ignored"},
    };
    for (const Case& c : cases) {
        console->clear();
        read(c.text);
        EXPECT_TRUE(warned(c.warning.toHtmlEscaped()))
            << c.text.constData() << console->lines.join("\n").toStdString();
        const MainSettings defaults;
        EXPECT_EQ(window->settings.GridHighlightStep, defaults.GridHighlightStep);
        EXPECT_EQ(window->settings.FixedDegreeRotation, defaults.FixedDegreeRotation);
        EXPECT_EQ(window->settings.GridDefaultSize, defaults.GridDefaultSize);
        EXPECT_EQ(window->settings.MaxWorldSize, defaults.MaxWorldSize);
        EXPECT_TRUE(window->settings.UndoEnabled);
        EXPECT_FLOAT_EQ(window->settings.MinAlphaValue, defaults.MinAlphaValue);
    }
    EXPECT_EQ(window->settings.UndoLevels, 70);
}

// A broken section header costs that line only: the keys after it keep their values, are written
// back as read, and no junk section stays in the file.
TEST_F(SettingsFileTest, ABrokenSectionLineCostsThatLineOnly) {
    const struct {
        QByteArray text;
        int lineReported;
    } cases[] = {
        {"[General]\nUndoLevels=20\n[Broken\nSkipAdvertisement=2\n", 3},
        {"[General]\r\nUndoLevels=20\r\n[Broken] trailing\r\nSkipAdvertisement=2\r\n", 3},
        {"[General]\nUndoLevels=20\n[\nSkipAdvertisement=2\n", 3},
        // A value continued on the next line is no malformed line.
        {"[General]\nUndoLevels=20\nNote=a \\\n  b\n[Broken\nSkipAdvertisement=2\n", 5},
    };
    for (const auto& c : cases) {
        console->clear();
        read(c.text);
        EXPECT_TRUE(warned(QStringLiteral("KDKSettings.ini:%1: malformed line ignored").arg(c.lineReported)))
            << c.text.constData();
        EXPECT_EQ(window->settings.UndoLevels, 20) << c.text.constData();
        EXPECT_EQ(window->settings.SkipAdvertisement, 2) << c.text.constData();
        ASSERT_TRUE(window->writeSettings());
        const QByteArray written = readUserFile();
        EXPECT_FALSE(written.contains("Broken")) << written.constData();
        EXPECT_FALSE(written.contains("\n[\n")) << written.constData();
        // Read again, the file gives the same values without a warning.
        console->clear();
        window->setDefaultSettings();
        window->readSettings();
        EXPECT_FALSE(warned(QStringLiteral("malformed"))) << written.constData();
        EXPECT_EQ(window->settings.UndoLevels, 20);
        EXPECT_EQ(window->settings.SkipAdvertisement, 2);
    }
}

TEST_F(SettingsFileTest, BinaryGarbageGivesDefaultsAndLeavesGameConfigurations) {
    const QByteArray gameCfg = "[Config1]\nTitle=Kept\n";
    QDir().mkpath(folder.filePath("config/zarv"));
    {
        QFile file(folder.filePath("config/zarv/KDKGameCfg.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(gameCfg);
    }
    QByteArray garbage;
    uint32_t seed = 12345;
    for (int32_t i = 0; i < 4096; ++i) {
        seed = seed * 1664525u + 1013904223u;
        garbage += static_cast<char>(seed >> 24);
    }
    read(garbage);
    const MainSettings defaults;
    EXPECT_EQ(window->settings.UndoLevels, defaults.UndoLevels);
    EXPECT_EQ(window->settings.GridDefaultSize, defaults.GridDefaultSize);
    EXPECT_TRUE(warned("malformed line ignored"));
    QFile file(folder.filePath("config/zarv/KDKGameCfg.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), gameCfg);
}

TEST_F(SettingsFileTest, UnwritableFileWarnsAndStillSavesGameConfigurations) {
    QDir().mkpath(folder.filePath("config/zarv"));
    // A folder in place of the file: nothing can write it, whoever runs the test.
    QDir().mkpath(userFile());
    EXPECT_FALSE(window->writeSettings());
    EXPECT_TRUE(warned("Could not write the settings file"));
    EXPECT_TRUE(warned(userFile()));
    EXPECT_TRUE(QFile::exists(folder.filePath("config/zarv/KDKGameCfg.ini")));
}

TEST_F(SettingsFileTest, NamedSchemesComeFromTheShippedCopyWhenTheUserFileHasNone) {
    const QByteArray scheme = "[ColorScheme1]\nTitle=Dark\n";
    {
        QFile shipped(folder.filePath("base/KDKSettings.ini"));
        ASSERT_TRUE(shipped.open(QIODevice::WriteOnly));
        shipped.write("[General]\nCurrentColorScheme=1\n" + scheme);
    }
    window->setDefaultSettings();
    window->readSettings();
    EXPECT_EQ(window->settings.CurrentColorScheme, 1);
    ASSERT_TRUE(window->writeSettings());
    // Second start: the user's file exists now but holds no named schemes.
    EXPECT_EQ(window->colorSchemeFile(), folder.filePath("base/KDKSettings.ini"));
    writeUserFile(readUserFile() + "\n" + scheme);
    EXPECT_EQ(window->colorSchemeFile(), userFile());
}

TEST(SettingsAutosave, IntervalIsAtLeastAMinuteAndDoesNotOverflow) {
    const std::pair<int32_t, int32_t> table[] = {{0, 60000},        {-5, 60000},         {1, 60000},
                                                 {5, 300000},       {35791, 2147460000}, {35792, INT_MAX},
                                                 {INT_MAX, INT_MAX}};
    for (const auto& [minutes, ms] : table)
        EXPECT_EQ(Settings_AutosaveIntervalMs(minutes), ms) << minutes;
}
