// The game-data layer without a main window: with no host its managers are absent and the plugin
// entries answer as a program without windows; a host of the test's own receives what a plugin
// announces and the dialog calls it makes.
#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdarg>
#include <cstdio>
#include <utility>

#include "core/FileLookup.h"
#include "core/SysHost.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/GameDataHost.h"
#include "document/GameDataServices.h"
#include "gamedata/MapProfile.h"
#include "gamedata/ModelCache.h"
#include "gamedata/PluginDialogs.h"
#include "gamedata/PluginInterface.h"
#include "document/EngineTable.h"
#include "gamedata/PluginManager.h"
#include "gamedata/SkyManager.h"
#include "gamedata/TextureManager.h"
#include "mainwindow/MainWindow.h"

namespace {

// The console and archives of a program without a window.
class cConsoleOnly final : public SysHost {
public:
    cConsoleOnly() : previous(Sys_Host()) { Sys_SetHost(this); }
    ~cConsoleOnly() override { Sys_SetHost(previous); }

    void printToConsole(const QString& html, bool) override { lines.append(html); }
    bool starting() const override { return false; }
    float vertexRoundEpsilon() const override { return 0.01f; }
    int32_t maxWorldSize() const override { return kDefaultMaxWorldSize; }
    ArchiveRegistry& archives() override { return registry; }
    FoundFiles& foundFiles() override { return found; }

    bool printed(const QString& text) const {
        for (const QString& line : lines)
            if (line.contains(text.toHtmlEscaped())) return true;
        return false;
    }

    QStringList lines;
    ArchiveRegistry registry;
    FoundFiles found;

private:
    SysHost* previous;
};

// What the dialog functions of the test's host were asked, in order.
QStringList& dialogCalls() {
    static QStringList calls;
    return calls;
}

const PluginDialogFuncs kRecordingDialogs = {
    [](const char* title, const char*, int32_t flags) {
        dialogCalls() << QStringLiteral("box %1 %2").arg(title).arg(flags);
        return int32_t(7);
    },
    [](const char*, const char*, const char* options, int32_t mask) {
        dialogCalls() << QStringLiteral("options %1 %2").arg(options).arg(mask);
        return int32_t(5);
    },
    [](const char* title) { dialogCalls() << QStringLiteral("begin %1").arg(title); },
    [](const char*, const char*) {},
    [](const char*, void (*)(void)) {},
    [](int32_t, int32_t) {},
    [](const char*, const char*, const char*, int32_t) {},
    [](const char*, const char*, bool, int32_t) {},
    [](const char*, const char*, bool, int32_t) {},
    [](const char*, const char*, int32_t, int32_t, int32_t, int32_t, int32_t) {},
    [](const char*, const char*, float, float, float, float, int32_t) {},
    [](const char*, const char*, int32_t, const char*, int32_t) {},
    [](const char*, const char*, const char*, const char*, int32_t) {},
    [](const char*, const char*, const char*, const char*, int32_t) {},
    [](const char*, const char*, const char*, int32_t) {},
    [](const char*, char*, int32_t) {},
    [](const char* name) {
        dialogCalls() << QStringLiteral("int %1").arg(name);
        return int32_t(42);
    },
    [](const char*) { return 0.0f; },
    [] { dialogCalls() << QStringLiteral("end"); },
    [](const char* format, va_list args) {
        char line[64];
        std::vsnprintf(line, sizeof line, format, args);
        dialogCalls() << QStringLiteral("print %1").arg(line);
    },
    [] { dialogCalls() << QStringLiteral("wait"); },
    [] { dialogCalls() << QStringLiteral("done"); },
};

// Managers of the test's own, and what reached the window's share of the host.
class cOwnGameData final : public cGameDataServices {
public:
    const PluginDialogFuncs* pluginDialogs() override { return &kRecordingDialogs; }
    void registerPrimitive(const PrimitiveEntry* entry) override {
        primitives << QString::fromUtf8(entry->name);
    }
    void setSurfaceFlagName(const char* profile, const char* flag, int32_t bit) override {
        flags << QStringLiteral("surface %1 %2 %3").arg(profile, flag).arg(bit);
    }
    void setContentFlagName(const char* profile, const char* flag, int32_t bit) override {
        flags << QStringLiteral("content %1 %2 %3").arg(profile, flag).arg(bit);
    }

    QStringList primitives;
    QStringList flags;
};

EngineFuncs filledTable() {
    EngineFuncs table{};
    Plugin_FillEngineFuncs(&table);
    return table;
}

TEST(GameDataHost, WithoutOneTheManagersAreAbsentAndDialogsAnswerUnasked) {
    ASSERT_EQ(g_mainWindow, nullptr);
    ASSERT_EQ(GameData_Host(), nullptr);
    cConsoleOnly console;
    EXPECT_EQ(GameCfg_Manager(), nullptr);
    EXPECT_EQ(GameCfg_Current(), nullptr);
    EXPECT_EQ(Sky_Manager(), nullptr);
    EXPECT_EQ(Model_Cache(), nullptr);
    EXPECT_EQ(Fgd_Registry(), nullptr);
    EXPECT_EQ(GameData_Textures(), nullptr);
    EXPECT_EQ(GameData_ActiveMap(), nullptr);
    EXPECT_EQ(GameData_Archives(), &console.registry);
    // No file to read the configurations from, and none to write them to.
    GameConfigManager manager;
    EXPECT_FALSE(GameCfg_LoadConfigurations(&manager));
    EXPECT_FALSE(GameCfg_SaveConfigurations(&manager));

    const EngineFuncs table = filledTable();
    EXPECT_EQ(table.App_MessageBox("Title", "Text", MSGBOX_YESNO), 0);
    EXPECT_EQ(table.App_OptionsBox("Title", "Text", "a|b", 3), -1);
    table.App_BeginWaitCursor();
    table.App_EndWaitCursor();
    table.Dialog_Printf("%d lines", 3);
    EXPECT_TRUE(console.lines.isEmpty());
    // A dialog cannot be built: each step is refused by name, and queries read nothing.
    table.Dialog_Begin("Build");
    table.Dialog_AddCheckBox("check", "Check", true, 0);
    EXPECT_EQ(table.Dialog_QueryArgumentInt("check"), 0);
    char buffer[8] = "unset";
    table.Dialog_QueryArgument("check", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "unset");
    table.Dialog_End();
    for (const char* entry : {"Dialog_Begin", "Dialog_AddCheckBox", "Dialog_QueryArgumentInt", "Dialog_End"})
        EXPECT_TRUE(
            console.printed(QStringLiteral("%1 called without a window to show dialogs in").arg(entry)))
            << entry;
}

TEST(GameDataHost, DialogCallsReachTheHostsFunctionsWithTheirArguments) {
    ASSERT_EQ(g_mainWindow, nullptr);
    cConsoleOnly console;
    cOwnGameData host;
    dialogCalls().clear();
    const EngineFuncs table = filledTable();
    EXPECT_EQ(table.App_MessageBox("Title", "Text", MSGBOX_YESNO), 7);
    EXPECT_EQ(table.App_OptionsBox("Title", "Text", "a|b", 3), 5);
    table.Dialog_Begin("Build");
    EXPECT_EQ(table.Dialog_QueryArgumentInt("count"), 42);
    table.Dialog_Printf("%d of %s", 3, "four");
    table.Dialog_End();
    table.App_BeginWaitCursor();
    table.App_EndWaitCursor();
    EXPECT_EQ(dialogCalls(), (QStringList{"box Title 2", "options a|b 3", "begin Build", "int count",
                                          "print 3 of four", "end", "wait", "done"}));
    EXPECT_TRUE(console.lines.isEmpty());
}

TEST(GameDataHost, ServicesAreTheHostForTheirLifetimeAndGiveTheOuterOneBack) {
    ASSERT_EQ(GameData_Host(), nullptr);
    {
        cGameDataServices outer;
        EXPECT_EQ(GameCfg_Manager(), &outer.configs);
        EXPECT_EQ(Sky_Manager(), &outer.skyManager);
        EXPECT_EQ(Model_Cache(), &outer.modelCache);
        EXPECT_EQ(Fgd_Registry(), &outer.registry);
        EXPECT_EQ(GameData_Textures(), &outer.textureManager);
        {
            cGameDataServices inner;
            EXPECT_EQ(GameCfg_Manager(), &inner.configs);
        }
        EXPECT_EQ(GameData_Host(), &outer);
    }
    EXPECT_EQ(GameData_Host(), nullptr);
}

// The test plugin, loaded with no window: its formats, profile, primitive and flag names land in
// the managers and host the test installed.
TEST(GameDataHost, APluginLoadsIntoTheInstalledHostsManagers) {
    ASSERT_EQ(g_mainWindow, nullptr);
    cConsoleOnly console;
    cOwnGameData host;
    ASSERT_TRUE(Plugin_Load(&host.pluginManager, QStringLiteral(ZARV_TEST_PLUGIN_DIR "/kpTestx64.so")));
    ASSERT_EQ(host.pluginManager.libraries.size(), 1);
    EXPECT_EQ(host.textureManager.textureFormats.size(), 1);
    EXPECT_EQ(host.textureManager.packageFormats.size(), 1);
    EXPECT_EQ(host.skyManager.formats.size(), 1);
    EXPECT_EQ(host.modelCache.modelFormats.size(), 1);
    EXPECT_EQ(host.modelCache.spriteFormats.size(), 1);
    EXPECT_EQ(console.registry.formats.size(), 1);
    EXPECT_EQ(host.pluginManager.importFormats.size(), 1);
    EXPECT_EQ(host.pluginManager.exportFormats.size(), 1);
    EXPECT_NE(GameCfg_FindProfile(&host.configs, "kpTest"), nullptr);
    EXPECT_EQ(host.primitives, QStringList{"kpTest Block"});
    EXPECT_TRUE(host.flags.contains("surface kpTest Slick 0"));
    EXPECT_TRUE(host.flags.contains("content kpTest Water 5"));
    // A flag named for no profile reaches nobody.
    for (const QString& flag : std::as_const(host.flags))
        EXPECT_FALSE(flag.contains("Nobody")) << flag.toStdString();
}

} // namespace
