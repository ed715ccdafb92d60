#include "core/AppVersion.h"
#include "document/EngineTable.h"
#include "gamedata/PluginManager.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <cstring>

#include "PluginFixture.h"
#include "core/FileLookup.h"
#include "dialogs/application/PluginDialog.h"
#include "gamedata/TextureManager.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/RenderApi.h"

namespace {

// ---- Loading and binding ------------------------------------------------------------------

struct LoadCase {
    const char* label;
    const char* variant; // null: a text file
    const char* fileName;
    QStringList expected; // "%1" is the file's path
    const char* reason;   // text the loader's reason line holds; null: no reason line
    int kept;             // libraries bound
};

const LoadCase kLoadCases[] = {
    {"TextFile", nullptr, "kpJunkx64.so", {"Error: Couldn't load \"%1\""}, "", 0},
    {"MissingLibrary",
     "kpTestNeedsLibx64",
     "kpTestNeedsLibx64.so",
     {"Error: Couldn't load \"%1\""},
     "libkpTestAbsentLibrary.so",
     0},
    {"NoMain",
     "kpTestNoMainx64",
     "kpTestNoMainx64.so",
     {"Error: Couldn't find \"kpMain\" export in \"%1\""},
     nullptr,
     0},
    {"MainRefuses",
     "kpTestRefusex64",
     "kpTestRefusex64.so",
     {"Error: Couldn't initialize \"%1\""},
     nullptr,
     0},
    {"MainAnswersTen",
     "kpTestVersionx64",
     "kpTestVersionx64.so",
     {"Error: Plugin \"%1\" has wrong version number (10 should be 10)"},
     nullptr,
     0},
    {"OnlyMain", "kpTestOnlyMainx64", "kpTestOnlyMainx64.so", {"Adding: \"%1\""}, nullptr, 1},
    {"EnumeratorAnswersZero", "kpTestZeroCountx64", "kpTestZeroCountx64.so", {"Adding: \"%1\""}, nullptr, 1},
    {"NoX64Suffix", "kpTestx64", "kpTest.so", {}, nullptr, 0},
    {"WindowsName", "kpTestx64", "kpTestx64.dll", {}, nullptr, 0},
};

class PluginLoadTest : public PluginFixture, public ::testing::WithParamInterface<int> {};

TEST_P(PluginLoadTest, GivesExactlyItsLines) {
    const LoadCase& c = kLoadCases[GetParam()];
    QString path = folder.filePath(QLatin1String(c.fileName));
    if (c.variant) {
        install(c.variant, QLatin1String(c.fileName));
    } else {
        QFile junk(path);
        ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
        junk.write("not a library\n");
    }
    Plugin_LoadAll(&window.plugins);

    QStringList lines = plainLines();
    if (c.reason) {
        ASSERT_EQ(lines.size(), c.expected.size() + 1) << lines.join('\n').toStdString();
        EXPECT_TRUE(lines.last().contains(QLatin1String(c.reason))) << lines.last().toStdString();
        EXPECT_FALSE(lines.last().isEmpty());
        lines.removeLast();
    }
    QStringList expected;
    for (const QString& line : c.expected)
        expected.append(line.arg(path));
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(window.plugins.libraries.size(), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Files, PluginLoadTest, ::testing::Range(0, int(std::size(kLoadCases))),
                         [](const auto& info) { return std::string(kLoadCases[info.param].label); });

TEST_F(PluginFixture, EnumeratorAnsweringZeroStillRegisters) {
    install("kpTestZeroCountx64", QStringLiteral("kpTestZeroCountx64.so"));
    Plugin_LoadAll(&window.plugins);
    ASSERT_EQ(window.textures.textureFormats.size(), 1);
    EXPECT_EQ(window.textures.textureFormats[0].extension, QStringLiteral(".zero"));
}

TEST_F(PluginFixture, BoundPluginIsAskedInOrderAndCountsArePrinted) {
    const QString path = install("kpTestx64", QStringLiteral("kpTestx64.so"));
    Plugin_LoadAll(&window.plugins);
    ASSERT_EQ(window.plugins.libraries.size(), 1);
    EXPECT_EQ(window.splashMessage, QStringLiteral("Loading plugins: kpTestx64.so"));
    const QStringList expected = {
        QStringLiteral("Adding: \"%1\"").arg(path),
        QStringLiteral("1 map export format(s) registered"),
        QStringLiteral("1 map import format(s) registered"),
        QStringLiteral("1 texture format(s) registered"),
        QStringLiteral("1 package format(s) registered"),
        QStringLiteral("1 sky format(s) registered"),
        QStringLiteral("1 sprite format(s) registered"),
        QStringLiteral("1 model format(s) registered"),
        QStringLiteral("1 archive format(s) registered"),
        QStringLiteral("1 primitive type(s) registered"),
    };
    EXPECT_EQ(plainLines(), expected);
    TestPluginState* state = stateOf(0);
    ASSERT_NE(state, nullptr);
    EXPECT_STREQ(state->enumerators,
                 "kpEnumProfiles kpEnumExportFormats kpEnumImportFormats kpEnumTextureFormats "
                 "kpEnumPackageFormats kpEnumSkyFormats kpEnumSpriteFormats kpEnumModelFormats "
                 "kpEnumArchiveFormats kpEnumActions kpEnumPrimitives kpEnumSurfaceFlags kpEnumContentFlags");
}

// Engine slot 512 hands every caller the same buffer, formatted once.
TEST_F(PluginFixture, VersionSlotAnswersOneBufferWithTheBuildNumber) {
    install("kpTestx64", QStringLiteral("kpTestx64.so"));
    Plugin_LoadAll(&window.plugins);
    TestPluginState* state = stateOf(0);
    ASSERT_NE(state, nullptr);
    ASSERT_NE(state->versionFirst, nullptr);
    EXPECT_EQ(state->versionFirst, state->versionSecond);
    EXPECT_EQ(QString::fromLatin1(state->versionFirst),
              QStringLiteral("Z.A.R.V. 1.1.%1").arg(App_GetBuildNumber()));
}

// Plugins load in name order ("kpTestBx64.so" before "kpTestx64.so"), and every registry lists
// the first one's entries before the second's.
TEST_F(PluginFixture, SecondPluginFollowsTheFirstEverywhere) {
    install("kpTestx64", QStringLiteral("kpTestx64.so"));
    install("kpTestBx64", QStringLiteral("kpTestBx64.so"));
    Plugin_LoadAll(&window.plugins);
    ASSERT_EQ(window.plugins.libraries.size(), 2);
    QLibrary* first = window.plugins.libraries[0];
    QLibrary* second = window.plugins.libraries[1];
    EXPECT_TRUE(first->fileName().endsWith(QLatin1String("kpTestBx64.so")));

    auto expectOrder = [&](const char* what, const QList<QLibrary*>& owners) {
        EXPECT_EQ(owners, (QList<QLibrary*>{first, second})) << what;
    };
    auto owners = [](const auto& list) {
        QList<QLibrary*> result;
        for (const auto& entry : list)
            result.append(entry.library);
        return result;
    };
    auto mapOwners = [](const QList<MapFormatEntry>& list) {
        QList<QLibrary*> result;
        for (const MapFormatEntry& entry : list)
            result.append(static_cast<QLibrary*>(entry.plugin));
        return result;
    };
    expectOrder("import", mapOwners(window.plugins.importFormats));
    expectOrder("export", mapOwners(window.plugins.exportFormats));
    expectOrder("texture", owners(window.textures.textureFormats));
    expectOrder("package", owners(window.textures.packageFormats));
    expectOrder("sky", owners(window.skies.formats));
    // Records without a library handle: told apart by the plugin's entry points.
    auto sameAs = [](QLibrary* library, const char* name, auto fn) {
        return reinterpret_cast<void*>(fn) == reinterpret_cast<void*>(library->resolve(name));
    };
    ASSERT_EQ(window.models.modelFormats.size(), 2);
    EXPECT_TRUE(sameAs(first, "kpLoadModel", window.models.modelFormats[0].loadModel));
    EXPECT_TRUE(sameAs(second, "kpLoadModel", window.models.modelFormats[1].loadModel));
    ASSERT_EQ(window.models.spriteFormats.size(), 2);
    EXPECT_TRUE(sameAs(first, "kpLoadSprite", window.models.spriteFormats[0].loadSprite));
    ASSERT_EQ(window.archives.formats.size(), 2);
    EXPECT_TRUE(sameAs(first, "kpLoadArchive", window.archives.formats[0].load));
    EXPECT_TRUE(sameAs(second, "kpLoadArchive", window.archives.formats[1].load));

    const auto& primitives = App_Primitives();
    ASSERT_GE(primitives.size(), 2u);
    EXPECT_STREQ(primitives[primitives.size() - 2].name, "kpTestB Block");
    EXPECT_STREQ(primitives.back().name, "kpTest Block");
    EXPECT_EQ(GameCfg_FindProfile(&window.gameConfigs, "kpTestB")->owner, first);
    EXPECT_EQ(GameCfg_FindProfile(&window.gameConfigs, "kpTest")->owner, second);

    // Both copies of the table hold the editor's bytes.
    for (QLibrary* library : {first, second}) {
        auto table = reinterpret_cast<const EngineFuncs* (*)()>(library->resolve("kpTestTable"));
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(std::memcmp(table(), Plugin_EngineFuncs(), KP_ENGINE_FUNCS_SIZE), 0);
    }
}

TEST_F(PluginFixture, EmptyOrMissingFolderLoadsNothingSilently) {
    Plugin_SetFolder(folder.filePath(QStringLiteral("absent")));
    Plugin_LoadAll(&window.plugins);
    EXPECT_TRUE(window.plugins.libraries.isEmpty());
    EXPECT_TRUE(console.lines.isEmpty());
}

TEST_F(PluginFixture, LoadingForgetsTheCurrentLookupConfiguration) {
    GameConfig config;
    window.gameConfigs.makeCurrent(&config);
    EXPECT_EQ(Sys_FileLookup().current, &config);
    Plugin_LoadAll(&window.plugins);
    EXPECT_EQ(Sys_FileLookup().current, nullptr);
    EXPECT_EQ(Sys_FileLookup().previous, &config);
    window.gameConfigs.makeCurrent(nullptr);
}

TEST_F(PluginFixture, DestroyingTheManagerDropsHandlesActionsAndFormats) {
    install("kpTestx64", QStringLiteral("kpTestx64.so"));
    Plugin_LoadAll(&window.plugins);
    ASSERT_FALSE(window.plugins.actions.isEmpty());
    Plugin_DestroyManager(&window.plugins);
    EXPECT_TRUE(window.plugins.libraries.isEmpty());
    EXPECT_TRUE(window.plugins.actions.isEmpty());
    EXPECT_TRUE(window.plugins.importFormats.isEmpty());
    EXPECT_TRUE(window.plugins.exportFormats.isEmpty());
}

// ---- The engine-function table ------------------------------------------------------------

TEST(EngineTable, EverySlotIsFilledAndSharedSlotsAgree) {
    EngineFuncs table{};
    Plugin_FillEngineFuncs(&table);
    EXPECT_EQ(table.size, 1440u);
    EXPECT_EQ(offsetof(EngineFuncs, App_EndWaitCursor), 1432u);
    void* entries[179];
    static_assert(sizeof entries == KP_ENGINE_FUNCS_SIZE - 8);
    std::memcpy(entries, reinterpret_cast<const char*>(&table) + 8, sizeof entries);
    for (int i = 0; i < 179; ++i)
        EXPECT_NE(entries[i], nullptr) << "slot at " << 8 + 8 * i;
    auto at = [&](int offset) { return entries[(offset - 8) / 8]; };
    EXPECT_EQ(at(576), at(664));
    EXPECT_EQ(at(584), at(672));
    EXPECT_EQ(at(592), at(680));
    EXPECT_EQ(at(600), at(688));
    EXPECT_EQ(at(656), at(856));
    EXPECT_EQ(at(656), at(888));
    // Filling again writes the same values.
    EngineFuncs again{};
    Plugin_FillEngineFuncs(&again);
    EXPECT_EQ(std::memcmp(&table, &again, sizeof table), 0);
}

TEST(EngineTable, ShadeForNormalIsTheFixedLight) {
    struct Case {
        float normal[3];
        float shade;
    };
    const Case cases[] = {
        {{0, 0, 1}, 1.0f},                // capped
        {{0, 0, -1}, 0.8f - 0.40089184f}, // facing away
        {{-1, 0, 0}, 0.8f - 0.13363062f}, // x weighs least
        {{0, -1, 0}, 0.8f - 0.26726124f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(Render_ShadeForNormal(c.normal), c.shade);
    EXPECT_FLOAT_EQ(Render_ShadeForNormal(nullptr), 1.0f);
}

TEST_F(PluginFixture, MinAlphaIsTheSetting) {
    window.settings.MinAlphaValue = 51.0f / 255.0f;
    EXPECT_FLOAT_EQ(Plugin_EngineFuncs()->Render_GetMinAlpha(), 0.2f);
}

// Entries used without what they work on answer as an empty request would.
TEST_F(PluginFixture, UnbuiltEntriesAnswerHarmlessly) {
    const EngineFuncs* engine = Plugin_EngineFuncs();
    // Without a plugin dialog the queries leave the buffer alone and answer 0.
    char buffer[8] = "junk";
    engine->Dialog_QueryArgument("a", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "junk");
    EXPECT_EQ(engine->Dialog_QueryArgumentInt("a"), 0);
    EXPECT_EQ(engine->Dialog_QueryArgumentFloat("a"), 0.0f);
    // A name no package defines: a placeholder of that name, shared by later look-ups.
    ShaderRecord* shader = engine->Tex_AcquireShaderByName("any/name");
    ASSERT_NE(shader, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(shader), "any/name"); // the name leads the record
    EXPECT_EQ(engine->Tex_AcquireShaderByName("ANY/NAME"), shader);
    engine->Plugin_ReleaseShader(shader);
    engine->Plugin_ReleaseShader(shader);
    // The texture manager's own slots: a record and an image without pixels, given back.
    ShaderRecord* created = engine->Tex_FindOrCreateShader("k", "n", 0);
    ASSERT_NE(created, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(created), "n");
    engine->Plugin_ReleaseShader(created);
    TextureImage* image = engine->Plugin_UploadImage(nullptr, "i", 0, 0, 4, 1, 1, false, nullptr);
    ASSERT_NE(image, nullptr);
    engine->Plugin_FreeImage(image);
    EXPECT_EQ(engine->Plugin_FindImage("i"), nullptr);
    EXPECT_EQ(QByteArray(engine->App_GetVersionString()),
              "Z.A.R.V. 1.1." + QByteArray::number(App_GetBuildNumber()));

    MapWorld* world = nullptr;
    App_SetActiveMap(&world);
    EXPECT_EQ(engine->App_GetActiveMap(), &world);
    App_SetActiveMap(nullptr);
    EXPECT_EQ(engine->App_GetActiveMap(), nullptr);

    // The wait cursor nests: each push is popped once.
    const int32_t before = App_WaitCursorCount();
    engine->App_BeginWaitCursor();
    engine->App_BeginWaitCursor();
    EXPECT_EQ(App_WaitCursorCount(), before + 2);
    engine->App_EndWaitCursor();
    engine->App_EndWaitCursor();
    engine->App_EndWaitCursor(); // one too many: ignored
    EXPECT_EQ(App_WaitCursorCount(), before);
}

// ---- Exports of the plugin ----------------------------------------------------------------

TEST(TestPluginExports, OnlyKpNamesAreExported) {
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty()) GTEST_SKIP() << "nm is not installed";
    QProcess process;
    process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                       QStringLiteral(ZARV_TEST_PLUGIN_DIR "/kpTestx64.so")});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0);
    const QStringList lines =
        QString::fromLocal8Bit(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    for (const QString& line : lines) {
        const QString symbol = line.section(' ', -1);
        EXPECT_TRUE(symbol.startsWith(QLatin1String("kp"))) << line.toStdString();
    }
}

} // namespace
