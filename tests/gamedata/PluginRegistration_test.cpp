// The registration callbacks, called as a plugin's enumerator would call them, with the library
// handle of a built test plugin as context.
#include <cstring>

#include "PluginFixture.h"
#include "gamedata/MapProfile.h"

namespace {

using FormatCallback = int32_t (*)(int32_t, const char*, const char*, void*);

struct FormatCase {
    const char* label;
    FormatCallback callback;
    const char* variant; // whose library is the context
    const char* name;
    const char* extension;
    int32_t result;
    const char* warning; // "%1" is the library's file name; null: no line
};

const char* const kFull = "kpTestx64";
const char* const kBare = "kpTestOnlyMainx64"; // exports kpMain alone

const FormatCase kFormatCases[] = {
    {"TextureWithoutLoader", Plugin_RegisterTextureFormat, kBare, "T", ".t", 0,
     "Warning: Plugin \"%1\" defines texture format \"T\" (.t), but doesn't export \"kpLoadTexture\" "
     "function!"},
    {"TextureWithLoader", Plugin_RegisterTextureFormat, kFull, "T", ".t", 1, nullptr},
    {"PackageWithoutInfo", Plugin_RegisterPackageFormat, kBare, "P", ".p", 0,
     "Warning: Plugin \"%1\" defines package format \"P\" (.p), but doesn't export \"kpGetPackageInfo\" "
     "function!"},
    {"SpriteWithoutLoader", Plugin_RegisterSpriteFormat, kBare, "S", ".s", 0,
     "Warning: Plugin \"%1\" defines sprite format \"S\" (.s), but doesn't export \"kpLoadSprite\" "
     "function!"},
    {"ModelMissingBoth", Plugin_RegisterModelFormat, kBare, "M", ".m", 0,
     "Warning: Plugin \"%1\" defines model format \"M\" (.m), but doesn't export \"kpLoadModel\" function!"},
    {"ArchiveMissingAll", Plugin_RegisterArchiveFormat, kBare, "A", ".a", 0,
     "Warning: Plugin \"%1\" defines archive format \"A\" (.a), but doesn't export \"kpLoadArchive\" "
     "function!"},
    {"SkyWithoutLoader", Plugin_RegisterSkyFormat, kBare, "K", ".k", 0,
     "Warning: Plugin \"%1\" defines sky format \"K\" (.k), but doesn't export \"kpLoadSky\" function!"},
    {"ExportWithoutExport", Plugin_RegisterExportFormat, kBare, "E", ".e", 0,
     "Warning: Plugin \"%1\" defines map export format \"E\" (.e), but doesn't export \"kpExport\" "
     "function!"},
    {"ImportWithoutImport", Plugin_RegisterImportFormat, kBare, "I", ".i", 0,
     "Warning: Plugin \"%1\" defines map import format \"I\" (.i), but doesn't export \"kpImport\" "
     "function!"},
    {"ExportWithExport", Plugin_RegisterExportFormat, kFull, "E", ".e", 1, nullptr},
    {"NullExtension", Plugin_RegisterTextureFormat, kFull, "T", nullptr, 0,
     "Warning: Plugin \"%1\" defines texture format \"T\" ((null)) without a name or extension!"},
    {"NullName", Plugin_RegisterModelFormat, kFull, nullptr, ".m", 0,
     "Warning: Plugin \"%1\" defines model format \"(null)\" (.m) without a name or extension!"},
};

class FormatRegistrationTest : public PluginFixture, public ::testing::WithParamInterface<int> {};

TEST_P(FormatRegistrationTest, AnswersAndWarnsExactly) {
    const FormatCase& c = kFormatCases[GetParam()];
    QLibrary library(built(c.variant));
    ASSERT_TRUE(library.load()) << library.errorString().toStdString();
    EXPECT_EQ(c.callback(3, c.name, c.extension, &library), c.result);
    QStringList expected;
    if (c.warning) expected.append(QString::fromLatin1(c.warning).arg(library.fileName()));
    EXPECT_EQ(plainLines(), expected);
}

INSTANTIATE_TEST_SUITE_P(Kinds, FormatRegistrationTest, ::testing::Range(0, int(std::size(kFormatCases))),
                         [](const auto& info) { return std::string(kFormatCases[info.param].label); });

TEST_F(PluginFixture, NullContextIsRefusedSilently) {
    EXPECT_EQ(Plugin_RegisterTextureFormat(0, "T", ".t", nullptr), 0);
    EXPECT_TRUE(console.lines.isEmpty());
}

TEST_F(PluginFixture, TextureFormatKeepsOptionalExportsNull) {
    QLibrary library(built(kFull));
    ASSERT_TRUE(library.load());
    ASSERT_EQ(Plugin_RegisterTextureFormat(4, "Image", ".IMG", &library), 1);
    ASSERT_EQ(window.textures.textureFormats.size(), 1);
    const TextureFormatEntry& entry = window.textures.textureFormats[0];
    EXPECT_EQ(entry.id, 4);
    EXPECT_EQ(entry.name, QStringLiteral("Image"));
    EXPECT_EQ(entry.extension, QStringLiteral(".IMG"));
    EXPECT_EQ(entry.library, &library);
    EXPECT_EQ(entry.palette, nullptr);
    EXPECT_EQ(entry.setPalette, nullptr);
    EXPECT_EQ(entry.filterTextureName, nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(entry.loadTexture),
              reinterpret_cast<void*>(library.resolve("kpLoadTexture")));
}

// The names are copies: the plugin may reuse its buffers after the call.
TEST_F(PluginFixture, NamesAreCopied) {
    QLibrary library(built(kFull));
    ASSERT_TRUE(library.load());
    char name[16] = "Scene", extension[8] = ".kpm";
    ASSERT_EQ(Plugin_RegisterModelFormat(2, name, extension, &library), 1);
    std::strcpy(name, "changed");
    std::strcpy(extension, ".xxx");
    EXPECT_EQ(window.models.modelFormats[0].name, QStringLiteral("Scene"));
    EXPECT_EQ(window.models.modelFormats[0].extension, QStringLiteral(".kpm"));
}

TEST_F(PluginFixture, SecondFormatOfAnExtensionIsKeptWithAWarning) {
    QLibrary library(built(kFull));
    ASSERT_TRUE(library.load());
    ASSERT_EQ(Plugin_RegisterTextureFormat(0, "First", ".tga", &library), 1);
    ASSERT_EQ(Plugin_RegisterTextureFormat(1, "Second", ".TGA", &library), 1);
    ASSERT_EQ(window.textures.textureFormats.size(), 2);
    EXPECT_EQ(window.textures.textureFormats[1].name, QStringLiteral("Second"));
    const QStringList expected = {
        QStringLiteral(
            "Warning: Plugin \"%1\" defines texture format \"Second\" (.TGA), but \"First\" already "
            "reads that extension; it is tried first")
            .arg(library.fileName())};
    EXPECT_EQ(plainLines(), expected);
}

TEST_F(PluginFixture, FlagNamesKeepTheirRanges) {
    install("kpTestx64", QStringLiteral("kpTestx64.so"));
    Plugin_LoadAll(&window.plugins);
    const cFacePropertiesDialog::FlagNames* names = window.faceDialog.flagNames("kpTest");
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->surface[0], QByteArray("Slick"));
    for (int bit = 1; bit < cFacePropertiesDialog::kSurfaceFlagCount; ++bit)
        EXPECT_TRUE(names->surface[bit].isEmpty()) << bit; // "Beyond" at 20 is dropped
    EXPECT_EQ(names->content[5], QByteArray("Water"));
    EXPECT_EQ(names->content[31], QByteArray("Detail"));
    EXPECT_EQ(window.faceDialog.flagNames("Nobody"), nullptr);
    // A null name clears the bit.
    window.faceDialog.setContentFlagName("kpTest", nullptr, 5);
    EXPECT_TRUE(window.faceDialog.flagNames("kpTest")->content[5].isEmpty());

    // The second profile names every box and starts both groups at bit 4.
    const MapProfileRecord* flags = GameCfg_FindProfile(&window.gameConfigs, "kpTestFlags");
    ASSERT_NE(flags, nullptr);
    EXPECT_EQ(flags->capabilities, MAP_PROFILE_SURFACE_FLAGS | MAP_PROFILE_CONTENT_FLAGS |
                                       MAP_PROFILE_SURFACE_VALUE | MAP_PROFILE_SAMPLE_SIZE);
    EXPECT_EQ(flags->firstSurfaceFlag, 4);
    EXPECT_EQ(flags->firstContentFlag, 4);
    EXPECT_STREQ(flags->nullTexture, "common/unloadednull");
    const cFacePropertiesDialog::FlagNames* all = window.faceDialog.flagNames("kpTestFlags");
    ASSERT_NE(all, nullptr);
    for (int box = 0; box < cFacePropertiesDialog::kSurfaceFlagCount; ++box)
        EXPECT_EQ(all->surface[size_t(box)], QByteArray("Surface ") + QByteArray::number(box));
    for (int box = 0; box < cFacePropertiesDialog::kContentFlagCount; ++box)
        EXPECT_EQ(all->content[size_t(box)], QByteArray("Content ") + QByteArray::number(box));
}

TEST_F(PluginFixture, PrimitivesGoToTheNewObjectsList) {
    install("kpTestx64", QStringLiteral("kpTestx64.so"));
    Plugin_LoadAll(&window.plugins);
    ASSERT_FALSE(App_Primitives().empty());
    const PrimitiveEntry& row = App_Primitives().back();
    EXPECT_STREQ(row.name, "kpTest Block");
    EXPECT_STREQ(row.category, "kpTest");
    EXPECT_EQ(row.count, 4);
    EXPECT_NE(row.create, nullptr);
}

// ---- Profiles -----------------------------------------------------------------------------

MapProfileRecord profileNamed(const char* name, const char* title) {
    MapProfileRecord record{};
    std::strncpy(record.name, name, sizeof record.name - 1);
    std::strncpy(record.title, title, sizeof record.title - 1);
    return record;
}

TEST_F(PluginFixture, DuplicateProfileWarnsAndTheFirstStays) {
    int first = 0, second = 0;
    MapProfileRecord a = profileNamed("Dup", "first");
    a.owner = &second; // whatever the plugin wrote, the editor stores the library
    MapProfileRecord b = profileNamed("Dup", "second");
    Plugin_RegisterProfileCallback(&a, &first);
    Plugin_RegisterProfileCallback(&b, &second);
    const MapProfileRecord* kept = GameCfg_FindProfile(&window.gameConfigs, "Dup");
    ASSERT_NE(kept, nullptr);
    EXPECT_STREQ(kept->title, "first");
    EXPECT_EQ(kept->owner, &first);
    EXPECT_EQ(plainLines(), QStringList{QStringLiteral("Warning: profile \"Dup\" is already registered!")});
    Plugin_RegisterProfileCallback(nullptr, &first);
    EXPECT_EQ(console.lines.size(), 1);
}

TEST_F(PluginFixture, ProfileNamesAndTextsAreReadWithinTheirArrays) {
    MapProfileRecord empty = profileNamed("", "none");
    GameCfg_RegisterProfile(&window.gameConfigs, nullptr, &empty);
    MapProfileRecord unterminated = profileNamed("", "long");
    std::memset(unterminated.name, 'x', sizeof unterminated.name);
    GameCfg_RegisterProfile(&window.gameConfigs, nullptr, &unterminated);
    EXPECT_TRUE(window.gameConfigs.profiles.empty());

    MapProfileRecord longTitle = profileNamed("Long", "");
    std::memset(longTitle.title, 'y', sizeof longTitle.title);
    GameCfg_RegisterProfile(&window.gameConfigs, nullptr, &longTitle);
    const MapProfileRecord* kept = GameCfg_FindProfile(&window.gameConfigs, "Long");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(std::strlen(kept->title), sizeof kept->title - 1);
    const QStringList expected = {
        QStringLiteral("Warning: empty profile name!"),
        QStringLiteral("Warning: profile name is not terminated!"),
        QStringLiteral(
            "Warning: profile \"Long\": text at offset 84 is not terminated, cut to 63 characters"),
    };
    EXPECT_EQ(plainLines(), expected);
}

} // namespace
