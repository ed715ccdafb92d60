// The plugin's front door: kpMain's table and version checks, the registration exports and
// their rows, the profile record byte for byte, and the module's exported symbols.
#include <QProcess>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "Quake3Fixture.h"

namespace {

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new cQuake3Environment);

template <typename Fn> Fn symbol(const char* name) {
    return reinterpret_cast<Fn>(Quake3().resolve(name));
}

struct FormatRow {
    int32_t id;
    std::string name;
    std::string extension;
    bool operator==(const FormatRow&) const = default;
};

struct Collected {
    std::vector<FormatRow> rows;
    int refuseIndex = -1; // this call answers 0
};

int32_t collect(int32_t id, const char* name, const char* extension, void* context) {
    auto* c = static_cast<Collected*>(context);
    c->rows.push_back({id, name, extension});
    return int(c->rows.size()) - 1 == c->refuseIndex ? 0 : 1;
}

class Quake3PluginTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Quake3().loaded); }
    cConsoleCapture console;
};

// The host takes the module with its profile, content flag and every row whose exports the
// module has, without a warning.
TEST_F(Quake3PluginTest, HostLoadsTheModuleWithoutWarnings) {
    const QStringList& lines = Quake3().loadLines;
    EXPECT_TRUE(lines.filter(QStringLiteral("Adding: ")).size() == 1) << lines.join('\n').toStdString();
    // Archive and texture rows need the archive and image exports beside the entry.
    const bool archives = Quake3().resolve("kpLoadArchive") != nullptr;
    const bool textures = Quake3().resolve("kpLoadTexture") != nullptr;
    for (const QString& line : lines) {
        if (!line.contains(QStringLiteral("WARNING")) && !line.contains(QStringLiteral("ERROR"))) continue;
        if (!archives && line.contains(QStringLiteral("archive format"))) continue;
        if (!textures && line.contains(QStringLiteral("texture format"))) continue;
        ADD_FAILURE() << line.toStdString();
    }
    ASSERT_NE(g_mainWindow, nullptr);
    EXPECT_NE(Quake3().import, nullptr);
    EXPECT_NE(Quake3().exportMap, nullptr);
    const auto profile = g_mainWindow->gameConfigs.profiles.find(QByteArray("kpQuake3"));
    ASSERT_NE(profile, g_mainWindow->gameConfigs.profiles.end());
    EXPECT_EQ(profile->second.owner, Quake3().library);
    EXPECT_EQ(profile->second.contentMask, 0x08000000u);
}

TEST_F(Quake3PluginTest, EveryFormatRowInOrder) {
    struct Case {
        const char* exportName;
        std::vector<FormatRow> rows;
    };
    const Case cases[] = {
        {"kpEnumExportFormats", {{1, "Quake III MAP", ".map"}}},
        {"kpEnumImportFormats", {{1, "Quake III MAP", ".map"}}},
        {"kpEnumArchiveFormats", {{0, "PK3 Archive", ".pk3"}}},
        {"kpEnumTextureFormats", {{0, "TGA", ".tga"}, {1, "JPG", ".jpg"}}},
        {"kpEnumPackageFormats", {{0, "SHADER", ".shader"}}},
        {"kpEnumModelFormats",
         {{0, "Quake III MD3", ".md3"}, {1, "ASCII Scene Export", ".ase"}, {2, "Lightwave Object", ".lwo"}}},
    };
    size_t total = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exportName);
        auto enumerate = symbol<kpEnumFormatsFn>(c.exportName);
        ASSERT_NE(enumerate, nullptr);
        Collected collected;
        EXPECT_EQ(enumerate(collect, &collected), int32_t(c.rows.size()));
        EXPECT_EQ(collected.rows, c.rows);
        total += collected.rows.size();

        // A refused row is not counted: 0 for the single-row tables, one less for the others.
        Collected refused;
        refused.refuseIndex = int(c.rows.size()) - 1;
        EXPECT_EQ(enumerate(collect, &refused), int32_t(c.rows.size()) - 1);
        EXPECT_EQ(enumerate(nullptr, nullptr), 0);
    }
    EXPECT_EQ(total, 9u);
}

TEST_F(Quake3PluginTest, ModelRowsCountWhatTheEditorTook) {
    Collected collected;
    collected.refuseIndex = 1;
    EXPECT_EQ(symbol<kpEnumFormatsFn>("kpEnumModelFormats")(collect, &collected), 2);
    EXPECT_EQ(collected.rows.size(), 3u);
}

TEST_F(Quake3PluginTest, ContentFlagIsDetailBit27) {
    struct Flag {
        std::string profile, name;
        int32_t bit;
    };
    std::vector<Flag> flags;
    auto enumerate = symbol<kpEnumContentFlagsFn>("kpEnumContentFlags");
    ASSERT_NE(enumerate, nullptr);
    EXPECT_EQ(enumerate(
                  [](const char* profile, const char* flag, int32_t bit, void* context) {
                      static_cast<std::vector<Flag>*>(context)->push_back({profile, flag, bit});
                  },
                  &flags),
              1);
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(flags[0].profile, "kpQuake3");
    EXPECT_EQ(flags[0].name, "Detail");
    EXPECT_EQ(flags[0].bit, 27);
}

// The record the plugin registers against one built here from the table of its fields.
TEST_F(Quake3PluginTest, ProfileEqualsItsTableByteForByte) {
    std::vector<const MapProfileRecord*> seen;
    auto enumerate = symbol<kpEnumProfilesFn>("kpEnumProfiles");
    ASSERT_NE(enumerate, nullptr);
    EXPECT_EQ(
        enumerate([](const MapProfileRecord* p, void* c) { static_cast<decltype(seen)*>(c)->push_back(p); },
                  &seen),
        1);
    EXPECT_EQ(enumerate(nullptr, nullptr), 1);
    ASSERT_EQ(seen.size(), 1u);

    struct Text {
        int offset;
        const char* text;
    };
    const Text texts[] = {
        {20, "kpQuake3"},
        {84, "Quake III"},
        {148, ".bsp"},
        {164, ".tga;.jpg"},
        {292, ".shader"},
        {420, ".pk3"},
        {676, ".md3;.ase;.lwo"},
        {804, ".wav"},
        {1508, "sprites"},
        {1572, "models"},
        {1636, "sound"},
        {1892, "textures"},
        {1956, "scripts"},
        {2116, "-onlyents"},
        {2148, "-fast"},
        {2180, "-extra"},
        {2212, "+devmap"},
        {2244, "info_player_deathmatch"},
        {2308, "light"},
        {2500, "common/trigger"},
        {2564, "common/caulk"},
        {2628, "gothic_block/blocks11b"},
        {2692, "gothic_ceiling/woodceiling1a"},
        {2756, "gothic_floor/largerblock3b3dim"},
    };
    unsigned char expected[2896] = {};
    const uint32_t capabilities = 0x49, detail = 0x08000000;
    std::memcpy(expected + 16, &capabilities, 4);
    std::memcpy(expected + 2884, &detail, 4);
    for (const Text& t : texts)
        std::memcpy(expected + t.offset, t.text, std::strlen(t.text));

    const auto* actual = reinterpret_cast<const unsigned char*>(seen[0]);
    // The functions pointer is the plugin's own; every other byte is the table's.
    unsigned char copy[2896];
    std::memcpy(copy, actual, sizeof copy);
    std::memset(copy + 8, 0, 8);
    for (int i = 0; i < 2896; ++i)
        ASSERT_EQ(copy[i], expected[i]) << "byte " << i;

    const ProfileFuncs* funcs = seen[0]->funcs;
    ASSERT_NE(funcs, nullptr);
    EXPECT_EQ(funcs->size, 56u);
    for (const void* fn : {(const void*)funcs->ClassifyShaderPath, (const void*)funcs->LoadShaderFromScript,
                           (const void*)funcs->WriteShaderScript, (const void*)funcs->BuildSourceCode,
                           (const void*)funcs->LookupShaderKeyword, (const void*)funcs->ListShaderKeywords})
        EXPECT_NE(fn, nullptr);
}

int g_printed = 0;
void countingPrintf(const char*, ...) {
    ++g_printed;
}

// A refused table or version leaves the copy the plugin started with: its calls still reach
// the editor's functions, not the refused table's.
TEST_F(Quake3PluginTest, MainRefusesShortTablesAndOtherVersions) {
    auto main = symbol<kpMainFn>("kpMain");
    ASSERT_NE(main, nullptr);
    EngineFuncs other = *Plugin_EngineFuncs();
    other.Sys_Printf = countingPrintf;
    for (int32_t version : {9, 11})
        EXPECT_EQ(main(&other, version), 10);
    other.size = 1439;
    for (int32_t version : {9, 10, 11})
        EXPECT_EQ(main(&other, version), -1);
    EXPECT_EQ(main(nullptr, 10), -1);

    g_printed = 0;
    cQuake3Files files;
    cImportedWorld world;
    Quake3_Import(files.write(QStringLiteral("a.map"), "{\n\"classname\" \"worldspawn\"\n}\n"), &world.world);
    EXPECT_EQ(g_printed, 0);
    EXPECT_TRUE(console.contains(QStringLiteral("Loading: \"%1\"").arg(files.path(QStringLiteral("a.map")))));

    // A larger table is taken; exactly its first 1440 bytes are kept.
    struct Larger {
        EngineFuncs table;
        unsigned char tail[64];
    } larger{*Plugin_EngineFuncs(), {}};
    larger.table.size = sizeof larger;
    std::memset(larger.tail, 0xff, sizeof larger.tail);
    EXPECT_EQ(main(&larger.table, 10), 0);
    EXPECT_EQ(Quake3_Import(files.path(QStringLiteral("a.map")), &world.world), 1);
}

TEST_F(Quake3PluginTest, UnknownMapFormatIdsAnswerZero) {
    cQuake3Files files;
    cImportedWorld world;
    const QByteArray path =
        QFile::encodeName(files.write(QStringLiteral("a.map"), "{\n\"classname\" \"worldspawn\"\n}\n"));
    for (int32_t id : {0, 2}) {
        EXPECT_EQ(Quake3().import(id, path.constData(), world.handle()), 0);
        EXPECT_EQ(Quake3().exportMap(id, path.constData(), world.handle()), 0);
    }
    EXPECT_EQ(Quake3().import(1, nullptr, world.handle()), 0);
    EXPECT_EQ(Quake3().import(1, path.constData(), nullptr), 0);
    EXPECT_EQ(Quake3().exportMap(1, path.constData(), nullptr), 0);
    EXPECT_EQ(world.world.entities, nullptr);
}

TEST_F(Quake3PluginTest, LaterFormatsAnswerNotHandled) {
    int32_t count = 5;
    EXPECT_EQ(symbol<kpGetPackageInfoFn>("kpGetPackageInfo")(0, "x.shader", &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(symbol<kpLoadPackageFn>("kpLoadPackage")(0, "x.shader"), 0);
    EXPECT_EQ(symbol<kpLoadModelFn>("kpLoadModel")(0, "x.md3", nullptr, 0, nullptr), 0);
    EXPECT_EQ(symbol<kpUnloadModelFn>("kpUnloadModel")(0, nullptr), 0);
    EXPECT_EQ(symbol<kpRenderModelFn>("kpRenderModel")(0, 0, nullptr, nullptr), 0);
    float mins[3], maxs[3];
    EXPECT_EQ(symbol<kpGetModelBoundsFn>("kpGetModelBounds")(0, mins, maxs, 0, nullptr, nullptr), 0);
}

TEST(Quake3Module, ExportsOnlyItsEntryPoints) {
    QProcess nm;
    nm.start(QStringLiteral("nm"),
             {QStringLiteral("-D"), QStringLiteral("--defined-only"), Quake3_ModulePath()});
    ASSERT_TRUE(nm.waitForFinished(30000));
    ASSERT_EQ(nm.exitCode(), 0);
    const QList<QByteArray> lines = nm.readAllStandardOutput().trimmed().split('\n');
    QStringList names;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        names << QString::fromLatin1(fields.last());
    }
    EXPECT_TRUE(names.contains(QStringLiteral("kpMain")));
    for (const QString& name : names)
        EXPECT_TRUE(name.startsWith(QStringLiteral("kp"))) << name.toStdString();
}

} // namespace
