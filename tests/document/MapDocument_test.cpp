#include "document/Autosave.h"
#include "document/MapDocument.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstring>
#include <memory>

#include "ConsoleCapture.h"
#include "core/Prompt.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapFormats.h"
#include "gamedata/MapProfile.h"
#include "mainwindow/MainWindow.h"
#include "map/MapCamera.h"
#include "views/ChildWindow.h"

namespace {

// A map window that records what the document told it.
class cRecordingWindow : public cChildWindow {
public:
    void redrawViews(int32_t mask) override { calls.append(QStringLiteral("redraw %1").arg(mask)); }
    void setZoom2D(float zoom) override { calls.append(QStringLiteral("zoom %1").arg(zoom)); }
    void setCameraOrigin(const float eye[3]) override {
        calls.append(QStringLiteral("eye %1 %2 %3").arg(eye[0]).arg(eye[1]).arg(eye[2]));
    }
    void setCameraAngles(const float angles[3]) override {
        calls.append(QStringLiteral("angles %1 %2").arg(qRound(angles[0])).arg(qRound(angles[1])));
    }
    void closeSubWindow() override { calls.append(QStringLiteral("close")); }
    QStringList calls;
};

// A plugin's map formats: each format writes or reads a marker and answers as told.
struct FakeFormats {
    static inline int importCalls = 0;
    static inline int exportCalls = 0;
    static inline QList<int32_t> calledIds;

    static int32_t exportOk(int32_t id, const char* path, MapHandle) {
        ++exportCalls;
        calledIds.append(id);
        QFile file(QFile::decodeName(path));
        return file.open(QIODevice::WriteOnly) && file.write("exported") == 8 ? 1 : 0;
    }
    // Leaves a half-written file behind and fails.
    static int32_t exportBroken(int32_t id, const char* path, MapHandle) {
        ++exportCalls;
        calledIds.append(id);
        QFile file(QFile::decodeName(path));
        if (file.open(QIODevice::WriteOnly)) file.write("half");
        return 0;
    }
    static int32_t importOk(int32_t id, const char*, MapHandle) {
        ++importCalls;
        calledIds.append(id);
        return 1;
    }
    static void reset() {
        importCalls = exportCalls = 0;
        calledIds.clear();
    }
};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

class MapDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        MapProfileRecord profile{};
        std::strcpy(profile.name, "TestProfile");
        GameCfg_RegisterProfile(&g_mainWindow->gameConfigs, &plugin, &profile);
        config.Title = QStringLiteral("Test Game");
        config.MapProfile = QStringLiteral("TestProfile");
        g_mainWindow->gameConfigs.configs = {&config};
        g_mainWindow->settings.SkipDefaultRoomDialog = true;
        FakeFormats::reset();
    }
    void TearDown() override {
        for (auto& document : documents)
            Project_Destroy(document.get());
        documents.clear();
        MapFormat_UnregisterPlugin(&plugin);
        MapFormat_UnregisterPlugin(&otherPlugin);
        GameCfg_FreeProfiles(&g_mainWindow->gameConfigs);
        g_mainWindow->gameConfigs.configs.clear();
        g_mainWindow->gameConfigs.makeCurrent(nullptr);
        g_mainWindow->settings = MainSettings();
    }

    MapDocument* newDocument() {
        documents.push_back(std::make_unique<MapDocument>());
        Project_Construct(documents.back().get());
        return documents.back().get();
    }
    MapDocument* newMap() {
        MapDocument* document = newDocument();
        EXPECT_TRUE(Project_New(document));
        return document;
    }
    void addFormat(MapFormatDirection direction, void* owner, int32_t id, const char* ext,
                   kpMapFormatFn function) {
        MapFormatEntry entry;
        entry.plugin = owner;
        entry.id = id;
        entry.name = QStringLiteral("format %1").arg(id);
        entry.extension = QString::fromLatin1(ext);
        entry.function = function;
        ASSERT_TRUE(MapFormat_Register(direction, entry));
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    cConsoleCapture console;
    cPromptScript prompts;
    QTemporaryDir dir;
    int plugin = 0;
    int otherPlugin = 0;
    GameConfig config;
    std::vector<std::unique_ptr<MapDocument>> documents;
};

// ---- Construction and new maps -----------------------------------------------------------------

TEST_F(MapDocumentTest, ConstructionGivesAnEmptyNewDocumentWithHistory) {
    g_mainWindow->settings.UndoLevels = 7;
    MapDocument* document = newDocument();
    EXPECT_TRUE(document->isNew);
    EXPECT_FALSE(document->modified);
    ASSERT_NE(document->world, nullptr);
    EXPECT_EQ(document->world->owner, document);
    EXPECT_EQ(Project_FromHandle(Map_Handle(document->world)), document);
    ASSERT_NE(document->undo, nullptr);
    EXPECT_EQ(document->undo->levelCount, 7);
    EXPECT_TRUE(document->undo->enabled);
    for (const SelectionBox& box : document->selectionBoxes) {
        EXPECT_EQ(box.valid, 0u);
        EXPECT_GT(box.mins[0], box.maxs[0]);
    }
}

TEST_F(MapDocumentTest, UndoLevelsBelowTwoAreClampedSoTheRingHolds) {
    g_mainWindow->settings.UndoLevels = 1;
    EXPECT_EQ(newDocument()->undo->levelCount, 2);
    g_mainWindow->settings.UndoLevels = 0;
    EXPECT_EQ(Project_UndoLevelCount(), 2);
}

TEST_F(MapDocumentTest, UndoSwitchedOffGivesADisabledHistory) {
    g_mainWindow->settings.UndoEnabled = false;
    EXPECT_FALSE(newDocument()->undo->enabled);
}

TEST_F(MapDocumentTest, NewMapsAreNumberedInCreationOrder) {
    const int32_t first = Project_NextMapNumber();
    MapDocument* a = newMap();
    Project_Destroy(a);
    MapDocument* b = newMap();
    MapDocument* c = newMap();
    EXPECT_EQ(a->title, QStringLiteral("Map%1").arg(first));
    EXPECT_EQ(b->title, QStringLiteral("Map%1").arg(first + 1));
    EXPECT_EQ(c->title, QStringLiteral("Map%1").arg(first + 2));
    EXPECT_TRUE(
        console.contains(QStringLiteral("Created new project with game configuration \"Test Game\"")));
}

TEST_F(MapDocumentTest, NewMapHasTheWorldEntityAndIsBoundToItsConfiguration) {
    MapDocument* document = newMap();
    ASSERT_NE(document->world->entities, nullptr);
    EXPECT_STREQ(document->world->entities->classname, "worldspawn");
    EXPECT_TRUE(document->world->entities->flags & EntityFlag::World);
    EXPECT_EQ(document->gameConfig, &config);
    EXPECT_EQ(config.inUseCount, 1);
    EXPECT_EQ(g_mainWindow->gameConfigs.current, &config);
    EXPECT_TRUE(document->isNew);
    EXPECT_TRUE(document->filePath.isEmpty());
    Project_Destroy(document);
    EXPECT_EQ(config.inUseCount, 0);
}

// ---- Choosing the game configuration ----------------------------------------------------------

TEST_F(MapDocumentTest, WithoutConfigurationsNothingIsCreated) {
    g_mainWindow->gameConfigs.configs.clear();
    const int32_t next = Project_NextMapNumber();
    EXPECT_FALSE(Project_New(newDocument()));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(
        prompts.asked[0].text.startsWith(QStringLiteral("No game configurations are available. You must")));
    EXPECT_EQ(Project_NextMapNumber(), next);
}

TEST_F(MapDocumentTest, WithOnlyDisabledConfigurationsNothingIsCreated) {
    config.Enabled = false;
    EXPECT_FALSE(Project_New(newDocument()));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].text.contains(QStringLiteral("but they are disabled")));
}

TEST_F(MapDocumentTest, SeveralEnabledConfigurationsAreChosenFromTheEnabledOnes) {
    GameConfig disabled, second;
    disabled.Title = QStringLiteral("Off");
    disabled.Enabled = false;
    second.Title = QStringLiteral("Second");
    g_mainWindow->gameConfigs.configs = {&config, &disabled, &second};

    prompts.answerChoice(1);
    MapDocument* document = newMap();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].items, (QStringList{QStringLiteral("Test Game"), QStringLiteral("Second")}));
    EXPECT_EQ(document->gameConfig, &second);
    EXPECT_EQ(document->gameConfigName, QStringLiteral("Second"));
    EXPECT_EQ(second.inUseCount, 1);

    // Rejecting the chooser creates nothing.
    EXPECT_FALSE(Project_New(newDocument()));
    Project_Destroy(document);
    EXPECT_EQ(second.inUseCount, 0);
}

TEST_F(MapDocumentTest, RebindFollowsTheConfigurationByTitleAndResizesTheHistory) {
    MapDocument* document = newMap();
    GameConfig rebuilt;
    rebuilt.Title = config.Title;
    g_mainWindow->gameConfigs.configs = {&rebuilt};
    g_mainWindow->settings.UndoLevels = 9;
    Project_RebindGameConfig(document);
    EXPECT_EQ(document->gameConfig, &rebuilt);
    EXPECT_EQ(rebuilt.inUseCount, 1);
    EXPECT_EQ(document->undo->levelCount, 9);

    g_mainWindow->gameConfigs.configs.clear();
    Project_RebindGameConfig(document);
    EXPECT_EQ(document->gameConfig, nullptr);
}

// ---- Titles and windows ------------------------------------------------------------------------

TEST_F(MapDocumentTest, TitlesCarryTheWindowNumberAndTheModifiedMark) {
    MapDocument* document = newMap();
    cRecordingWindow one, two;
    Project_AddWindow(document, &one);
    Project_UpdateTitles(document);
    EXPECT_EQ(one.windowTitle(), document->title);

    Project_AddWindow(document, &two);
    Project_SetModified(Map_Handle(document->world));
    EXPECT_TRUE(document->modified);
    EXPECT_EQ(one.windowTitle(), document->title + QStringLiteral(":1*"));
    EXPECT_EQ(two.windowTitle(), document->title + QStringLiteral(":2*"));

    // Not the last window: closes without a question and the other is renumbered.
    EXPECT_TRUE(two.requestClose());
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(one.windowTitle(), document->title + QStringLiteral("*"));
    EXPECT_FALSE(document->saveAsked);
}

TEST_F(MapDocumentTest, ClosingTheLastWindowAsksOnlyWhenModified) {
    MapDocument* document = newMap();
    cRecordingWindow window;
    Project_AddWindow(document, &window);
    EXPECT_TRUE(window.requestClose());
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_TRUE(document->saveAsked);
    EXPECT_TRUE(document->windows.isEmpty());
}

TEST_F(MapDocumentTest, CancelOnTheLastWindowKeepsItOpen) {
    MapDocument* document = newMap();
    cRecordingWindow window;
    Project_AddWindow(document, &window);
    Project_SetModified(document);
    prompts.answerButton(PromptButton::Cancel);
    EXPECT_FALSE(window.requestClose());
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, QStringLiteral("Save changes to %1?").arg(document->title));
    EXPECT_EQ(prompts.asked[0].title, QStringLiteral("Z.A.R.V."));
    EXPECT_EQ(document->windows.size(), 1);

    prompts.answerButton(PromptButton::No);
    EXPECT_TRUE(window.requestClose());
    EXPECT_TRUE(document->saveAsked);
}

TEST_F(MapDocumentTest, CloseAllWindowsAsksOnceAndClosesEveryWindow) {
    MapDocument* document = newMap();
    cRecordingWindow one, two;
    Project_AddWindow(document, &one);
    Project_AddWindow(document, &two);
    Project_SetModified(document);

    prompts.answerButton(PromptButton::Cancel);
    EXPECT_FALSE(Project_CloseAllWindows(document));
    EXPECT_EQ(document->windows.size(), 2);

    prompts.answerButton(PromptButton::No);
    EXPECT_TRUE(Project_CloseAllWindows(document));
    EXPECT_TRUE(document->windows.isEmpty());
    for (cRecordingWindow* window : {&one, &two}) {
        EXPECT_TRUE(window->closedByDocument);
        EXPECT_EQ(window->calls, QStringList{QStringLiteral("close")});
        EXPECT_TRUE(window->requestClose()); // the handler accepts without asking again
    }
    EXPECT_EQ(prompts.asked.size(), 2);
}

TEST_F(MapDocumentTest, BroadcastsReachEveryWindowInOrder) {
    MapDocument* document = newMap();
    cRecordingWindow one, two;
    Project_AddWindow(document, &one);
    Project_AddWindow(document, &two);
    Project_RedrawViews(document, ViewMask::Views2D | ViewMask::View3D);
    Project_SetZoom(document, 2.0f);
    const QStringList expected{QStringLiteral("redraw 3"), QStringLiteral("zoom 2")};
    EXPECT_EQ(one.calls, expected);
    EXPECT_EQ(two.calls, expected);
    EXPECT_EQ(Project_FindCanvas(document, 1), nullptr);
}

TEST_F(MapDocumentTest, CurrentCameraIsTheOnlySelectedOneAndAimsThe3DViews) {
    MapDocument* document = newMap();
    cRecordingWindow window;
    Project_AddWindow(document, &window);
    CameraRecord* first = Camera_Create(Map_Handle(document->world));
    CameraRecord* second = Camera_Create(Map_Handle(document->world));
    const float eye[3] = {1, 2, 3}, target[3] = {1, 12, 3};
    Camera_SetEyeAndTarget(second, eye, target);
    first->flags |= CameraFlag::Selected;

    Project_SetCurrentCamera(document, second);
    EXPECT_EQ(document->world->currentCamera, second);
    EXPECT_FALSE(first->flags & CameraFlag::Selected);
    EXPECT_TRUE(second->flags & CameraFlag::Selected);
    EXPECT_EQ(window.calls, (QStringList{QStringLiteral("eye 1 2 3"), QStringLiteral("angles 0 90")}));
}

// ---- Save, backup and export ---------------------------------------------------------------------

TEST(ProjectBackupPath, SuffixRule) {
    const struct {
        const char* file;
        const char* backup;
    } cases[] = {
        {"/m/a.zmf", "/m/a.zmx"},  {"/m/a.map", "/m/a.max"},     {"/m/a.zmx", "/m/a.zmxx"},
        {"/m/a.ZMX", "/m/a.ZMXX"}, {"/m/a.b.map", "/m/a.b.max"}, {"/m/noext", "/m/noext.x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Project_BackupPath(QFileInfo(QString::fromLatin1(c.file))), QString::fromLatin1(c.backup))
            << c.file;
}

TEST_F(MapDocumentTest, BackupReplacesAnOlderBackup) {
    writeFile(path("a.zmf"), "new");
    writeFile(path("a.zmx"), "stale");
    EXPECT_TRUE(Project_Backup(QFileInfo(path("a.zmf"))));
    EXPECT_EQ(readAll(path("a.zmx")), "new");
    EXPECT_TRUE(console.contains(QStringLiteral("Backup: \"%1\"").arg(path("a.zmx"))));
}

TEST_F(MapDocumentTest, SaveThroughThePluginBacksUpAndTakesTheIdentity) {
    addFormat(MapFormatDirection::Export, &plugin, 4, ".MAP", FakeFormats::exportOk);
    MapDocument* document = newMap();
    Project_SetModified(document);
    writeFile(path("a.map"), "old");

    ASSERT_TRUE(Project_Save(document, path("a.map"), true, false));
    EXPECT_EQ(readAll(path("a.map")), "exported");
    EXPECT_EQ(readAll(path("a.max")), "old");
    EXPECT_FALSE(document->isNew);
    EXPECT_FALSE(document->modified);
    EXPECT_TRUE(document->confirmExportPath);
    EXPECT_EQ(document->filePath, path("a.map"));
    EXPECT_EQ(document->title, QStringLiteral("a.map"));
    EXPECT_EQ(files(), (QStringList{QStringLiteral("a.map"), QStringLiteral("a.max")}));
}

TEST_F(MapDocumentTest, PluginFormatsStopAtTheFirstSuccess) {
    addFormat(MapFormatDirection::Export, &otherPlugin, 1, ".map", FakeFormats::exportBroken);
    addFormat(MapFormatDirection::Export, &plugin, 2, ".map", FakeFormats::exportOk);
    addFormat(MapFormatDirection::Export, &plugin, 3, ".map", FakeFormats::exportOk);
    MapDocument* document = newMap();
    ASSERT_TRUE(Project_Export(document, path("out.map"), false));
    EXPECT_EQ(FakeFormats::calledIds, QList<int32_t>{2});
    EXPECT_EQ(document->exportPath, path("out.map"));
    EXPECT_TRUE(document->exported);
    EXPECT_FALSE(document->confirmExportPath);
}

TEST_F(MapDocumentTest, FailedWriteKeepsThePreviousFileAndTheIdentity) {
    addFormat(MapFormatDirection::Export, &plugin, 1, ".map", FakeFormats::exportBroken);
    MapDocument* document = newMap();
    Project_SetModified(document);
    writeFile(path("a.map"), "old");
    const QString title = document->title;

    EXPECT_FALSE(Project_Save(document, path("a.map"), false, false));
    EXPECT_FALSE(Project_Export(document, path("a.map"), false));
    EXPECT_EQ(readAll(path("a.map")), "old");
    EXPECT_EQ(files(), QStringList{QStringLiteral("a.map")}); // no temporary file left
    EXPECT_EQ(document->title, title);
    EXPECT_TRUE(document->modified);
    EXPECT_TRUE(document->filePath.isEmpty());
    EXPECT_FALSE(document->exported);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // the wait cursor is gone again
}

TEST_F(MapDocumentTest, UnsupportedFormatsAreReported) {
    MapDocument* document = newMap();
    EXPECT_FALSE(Project_Save(document, path("a.xyz"), false, false));
    EXPECT_TRUE(
        console.contains(QStringLiteral("map format is not supported (please save the project as either "
                                        "ZMF or any format supported by TestProfile plugin)")));
    EXPECT_FALSE(Project_Export(document, path("a.map"), false));
    EXPECT_TRUE(console.contains(QStringLiteral("map format is not supported")));
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(MapDocumentTest, ImportFallsBackToOtherPluginsWithAWarning) {
    addFormat(MapFormatDirection::Import, &otherPlugin, 7, ".map", FakeFormats::importOk);
    addFormat(MapFormatDirection::Import, &otherPlugin, 8, ".map", FakeFormats::importOk);
    writeFile(path("in.map"), "x");
    MapDocument* document = newDocument();
    ASSERT_TRUE(Project_Load(document, path("in.map"), &config));
    EXPECT_EQ(FakeFormats::calledIds, QList<int32_t>{7});
    EXPECT_TRUE(
        console.contains(QStringLiteral("map format is not native for \"TestProfile\", loading anyway...")));
    EXPECT_FALSE(document->isNew);
    EXPECT_EQ(document->title, QStringLiteral("in.map"));

    EXPECT_FALSE(Project_Load(document, path("in.obj"), &config));
    EXPECT_TRUE(console.contains(QStringLiteral("map format is not supported")));
}

// ---- Autosave --------------------------------------------------------------------------------------

TEST(ProjectAutosaveName, OnlyTheExactTimeStampPattern) {
    const struct {
        const char* name;
        bool matches;
    } cases[] = {
        {"level-2024-01-02-03-04-05.zmf", true},    {"level-final.zmf", false},
        {"level-2024-01-02-03-04.zmf", false},      {"level-2024-01-02-03-04-05.map", false},
        {"level.x-2024-01-02-03-04-05.zmf", false}, {"level-2024-01-02-03-04-05.zmf.bak", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Project_IsAutosaveName(QString::fromLatin1(c.name), QStringLiteral("level"),
                                         QStringLiteral("zmf")),
                  c.matches)
            << c.name;
}

TEST_F(MapDocumentTest, AutosaveKeepsTheLimitAndNeverTouchesOtherFiles) {
    addFormat(MapFormatDirection::Export, &plugin, 1, ".map", FakeFormats::exportOk);
    g_mainWindow->settings.AutosaveLimit = 3;
    MapDocument* document = newMap();
    document->exportPath = path("level.map");
    Project_SetModified(document);

    const QString oldest = QStringLiteral("level-2020-01-01-00-00-00.map");
    const QStringList older{oldest, QStringLiteral("level-2020-01-02-00-00-00.map"),
                            QStringLiteral("level-2020-01-03-00-00-00.map")};
    const QStringList mine{QStringLiteral("level.map"), QStringLiteral("level-final.map")};
    QDateTime stamp = QDateTime::currentDateTime().addDays(-10);
    for (const QString& name : older + mine) {
        writeFile(path(name), "user");
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(stamp = stamp.addSecs(60), QFileDevice::FileModificationTime);
    }

    ASSERT_TRUE(Project_Autosave(document, path("level.map")));
    const QStringList left = files();
    EXPECT_FALSE(left.contains(oldest));
    EXPECT_EQ(left.filter(QStringLiteral("level-20")).size(), 3);
    for (const QString& name : mine)
        EXPECT_EQ(readAll(path(name)), "user") << name.toStdString();
    // A copy: the export path, the modified state and the identity stay.
    EXPECT_EQ(document->exportPath, path("level.map"));
    EXPECT_TRUE(document->modified);
    EXPECT_TRUE(document->isNew);
}

TEST_F(MapDocumentTest, AutosaveIntoAFolderThatCannotBeMadeFails) {
    writeFile(path("file"), "x");
    g_mainWindow->settings.AutosaveToCurrentDir = false;
    g_mainWindow->settings.AutosaveDir = path("file/sub");
    EXPECT_FALSE(Project_Autosave(newMap(), path("level.zmf")));
    EXPECT_TRUE(console.contains(QStringLiteral("Failed to create path: \"%1\"").arg(path("file/sub"))));
}

// ---- ZMF projects ------------------------------------------------------------------------------------

TEST_F(MapDocumentTest, ZmfSaveAndLoadRoundTrip) {
    MapDocument* document = newMap();
    document->exportPath = path("level.map");
    Project_SetModified(document);
    ASSERT_TRUE(Project_Save(document, path("a.zmf"), true, false));
    EXPECT_EQ(document->title, QStringLiteral("a.zmf"));
    EXPECT_FALSE(document->modified);

    // Saving again backs the first file up.
    ASSERT_TRUE(Project_Save(document, path("a.zmf"), true, false));
    EXPECT_EQ(readAll(path("a.zmx")), readAll(path("a.zmf")));

    MapDocument* loaded = newDocument();
    ASSERT_TRUE(Project_Load(loaded, path("a.zmf"), &config));
    EXPECT_EQ(Map_DumpWorld(loaded->world), Map_DumpWorld(document->world));
    EXPECT_EQ(loaded->exportPath, path("level.map"));
    EXPECT_TRUE(loaded->confirmExportPath);
    EXPECT_FALSE(loaded->isNew);
    EXPECT_FALSE(loaded->modified);
    EXPECT_EQ(loaded->filePath, path("a.zmf"));
    EXPECT_TRUE(console.contains(QStringLiteral("Loaded project with game configuration \"Test Game\"")));
}

TEST_F(MapDocumentTest, ZmfSaveToAnUnwritableFolderFailsAndKeepsTheOldFile) {
    MapDocument* document = newMap();
    ASSERT_TRUE(Project_Save(document, path("a.zmf"), false, false));
    const QByteArray saved = readAll(path("a.zmf"));
    Project_SetModified(document);
    writeFile(path("file"), "x");

    // A folder below a regular file cannot be written, not even by root.
    EXPECT_FALSE(Project_Save(document, path("file/b.zmf"), false, false));
    EXPECT_EQ(readAll(path("a.zmf")), saved);
    EXPECT_EQ(document->filePath, path("a.zmf"));
    EXPECT_TRUE(document->modified);
}

TEST_F(MapDocumentTest, ZmfAutosaveIsACopy) {
    MapDocument* document = newMap();
    ASSERT_TRUE(Project_Save(document, path("level.zmf"), false, false));
    Project_SetModified(document);
    document->confirmExportPath = false;
    ASSERT_TRUE(Project_Autosave(document, path("level.zmf")));
    EXPECT_EQ(files().filter(QStringLiteral("level-20")).size(), 1);
    EXPECT_EQ(document->filePath, path("level.zmf"));
    EXPECT_TRUE(document->modified);
    // Written under another name: the export path is to be confirmed before it is reused.
    EXPECT_TRUE(document->confirmExportPath);
}

TEST_F(MapDocumentTest, SaveQuestionAsksForANameAndAddsTheSuffix) {
    MapDocument* document = newMap();
    Project_SetModified(document);
    config.MapSourceFileDirectory = dir.path();
    prompts.answerButton(PromptButton::Yes);
    prompts.answerText(path("named"));
    ASSERT_TRUE(Project_AskSaveChanges(document));
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[1].kind, PromptKind::SaveFileName);
    EXPECT_EQ(prompts.asked[1].directory, dir.path());
    EXPECT_EQ(prompts.asked[1].filter, QStringLiteral("Map Projects (*.zmf)"));
    EXPECT_EQ(document->filePath, path("named.zmf"));
    EXPECT_TRUE(QFileInfo::exists(path("named.zmf")));

    // Cancelling the file dialog cancels the close.
    Project_SetModified(document);
    document->filePath.clear();
    prompts.answerButton(PromptButton::Yes);
    EXPECT_FALSE(Project_AskSaveChanges(document));
}

TEST_F(MapDocumentTest, FailedZmfLoadReportsFailure) {
    writeFile(path("bad.zmf"), "not a project");
    EXPECT_FALSE(Project_Load(newDocument(), path("bad.zmf"), &config));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The file is read into a fresh world: a failed open keeps the open map, its world and its
// export path exactly as they were; a good one replaces the world as a whole.
TEST_F(MapDocumentTest, FailedLoadLeavesTheOpenMapAsItWas) {
    MapDocument* saved = newMap();
    ASSERT_TRUE(Project_Save(saved, path("a.zmf"), false, false));

    MapDocument* document = newDocument();
    ASSERT_TRUE(Project_Load(document, path("a.zmf"), &config));
    document->exportPath = path("level.map");
    MapWorld* world = document->world;
    const QString dump = Map_DumpWorld(world);
    ASSERT_NE(world->entities, nullptr);

    writeFile(path("bad.zmf"), "not a project");
    for (const char* name : {"bad.zmf", "missing.zmf"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(Project_Load(document, path(name), &config));
        EXPECT_EQ(document->world, world);
        EXPECT_EQ(Map_DumpWorld(document->world), dump);
        EXPECT_EQ(document->exportPath, path("level.map"));
        EXPECT_EQ(document->filePath, path("a.zmf"));
    }

    ASSERT_TRUE(Project_Load(document, path("a.zmf"), &config));
    EXPECT_EQ(Map_DumpWorld(document->world), dump);
    EXPECT_EQ(Map_FromHandle(document->undo->world), document->world);
}

} // namespace
