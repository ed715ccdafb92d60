// The plugin's front door: kpMain, the registration exports with their format tables, the
// "kpQuake3" game profile and the per-format map exports. The process locale is the editor's:
// the plugin never changes it and writes and reads its numbers locale-independently.
#include <cstring>
#include <type_traits>

#include "Engine.h"
#include "MapSerializer.h"
#include "ModelFormats.h"
#include "PluginExport.h"
#include "ShaderPackage.h"
#include "ShaderParser.h"

namespace {

constexpr int32_t kInterfaceVersion = 10;
constexpr uint32_t kDetailContents = 0x08000000;
constexpr int32_t kDetailContentsBit = 27;

using ProfileCallback = void (*)(const void* profile, void* context);
using ContentFlagCallback = void (*)(const char* profileName, const char* flagName, int32_t bit,
                                     void* context);
using FormatCallback = int32_t (*)(int32_t id, const char* name, const char* extension, void* context);
using MapFormatFunc = int32_t (*)(const char* path, MapHandle map);

struct FormatRow {
    int32_t id;
    const char* name;
    const char* extension;
};

struct MapFormatRow {
    int32_t id;
    const char* name;
    const char* extension;
    MapFormatFunc function;
};

int32_t exportMap(const char* path, MapHandle map) {
    cMapSerializer serializer(path, map);
    return serializer.save();
}

int32_t importMap(const char* path, MapHandle map) {
    cMapSerializer serializer(path, map);
    return serializer.load();
}

constexpr MapFormatRow kExportFormats[] = {{1, "Quake III MAP", ".map", exportMap}};
constexpr MapFormatRow kImportFormats[] = {{1, "Quake III MAP", ".map", importMap}};
constexpr FormatRow kArchiveFormats[] = {{0, "PK3 Archive", ".pk3"}};
constexpr FormatRow kTextureFormats[] = {{0, "TGA", ".tga"}, {1, "JPG", ".jpg"}};
constexpr FormatRow kPackageFormats[] = {{0, "SHADER", ".shader"}};
constexpr FormatRow kModelFormats[] = {
    {0, "Quake III MD3", ".md3"}, {1, "ASCII Scene Export", ".ase"}, {2, "Lightwave Object", ".lwo"}};

constexpr ProfileFuncs kProfileFuncs = {KP_PROFILE_FUNCS_SIZE, ClassifyShaderPath, LoadShaderFromScript,
                                        WriteShaderScript,     BuildSourceCode,    LookupShaderKeyword,
                                        ListShaderKeywords};

const MapProfileRecord kProfile = {
    .owner = nullptr,
    .funcs = &kProfileFuncs,
    .capabilities = 0x49,
    .name = "kpQuake3",
    .title = "Quake III",
    .compiledExtension = ".bsp",
    .textureExtensions = ".tga;.jpg",
    .packageExtensions = ".shader",
    .archiveExtensions = ".pk3",
    .spriteExtensions = "",
    .modelExtensions = ".md3;.ase;.lwo",
    .soundExtensions = ".wav",
    .particleExtensions = "",
    .instanceExtensions = "",
    .scriptExtensions = "",
    .skyExtensions = "",
    .skySuffixes = "",
    .spriteFolder = "sprites",
    .modelFolder = "models",
    .soundFolder = "sound",
    .particleFolder = "",
    .prefabFolder = "",
    .scriptFolder = "",
    .textureFolder = "textures",
    .shaderFolder = "scripts",
    .skyFolder = "",
    .csgSwitch = "",
    .bspSwitch = "-onlyents",
    .visSwitch = "-fast",
    .lightSwitch = "-extra",
    .runSwitch = "+devmap",
    .playerStartClass = "info_player_deathmatch",
    .lightClass = "light",
    .decalClass = "",
    .defaultSky = "",
    .triggerTexture = "common/trigger",
    .nullTexture = "common/caulk",
    .wallTexture = "gothic_block/blocks11b",
    .ceilingTexture = "gothic_ceiling/woodceiling1a",
    .floorTexture = "gothic_floor/largerblock3b3dim",
    .targetPrefixes = "",
    .contentMask = kDetailContents,
    .firstSurfaceFlag = 0,
    .firstContentFlag = 0,
};

// One call per row: 1 when the editor took the single row.
template <size_t N> int32_t enumerateOne(const FormatRow (&rows)[N], FormatCallback cb, void* context) {
    if (!cb) return 0;
    return cb(rows[0].id, rows[0].name, rows[0].extension, context) ? 1 : 0;
}
int32_t enumerateOne(const MapFormatRow& row, FormatCallback cb, void* context) {
    if (!cb) return 0;
    return cb(row.id, row.name, row.extension, context) ? 1 : 0;
}
// Every row in order: the number the editor took.
template <size_t N> int32_t enumerateAll(const FormatRow (&rows)[N], FormatCallback cb, void* context) {
    int32_t taken = 0;
    if (cb)
        for (const FormatRow& row : rows)
            if (cb(row.id, row.name, row.extension, context)) ++taken;
    return taken;
}

template <size_t N>
int32_t runMapFormat(const MapFormatRow (&rows)[N], int32_t id, const char* path, MapHandle map) {
    if (!path || !map) return 0;
    for (const MapFormatRow& row : rows)
        if (row.id == id) return row.function(path, map);
    return 0;
}

} // namespace

KP_EXPORT int32_t kpMain(const EngineFuncs* table, int32_t version) {
    uint64_t size = 0;
    if (table) std::memcpy(&size, table, sizeof size);
    if (!table || size < Engine::kTableSize) return -1;
    if (version != kInterfaceVersion) return kInterfaceVersion;
    Engine::Install(table);
    return 0;
}

KP_EXPORT int32_t kpEnumProfiles(kpProfileCallback cb, void* context) {
    if (cb) cb(&kProfile, context);
    return 1;
}

KP_EXPORT int32_t kpEnumContentFlags(kpFlagCallback cb, void* context) {
    if (cb) cb(kProfile.name, "Detail", kDetailContentsBit, context);
    return 1;
}

KP_EXPORT int32_t kpEnumExportFormats(FormatCallback cb, void* context) {
    return enumerateOne(kExportFormats[0], cb, context);
}

KP_EXPORT int32_t kpEnumImportFormats(FormatCallback cb, void* context) {
    return enumerateOne(kImportFormats[0], cb, context);
}

// Archive and texture rows name the exports of Pk3Archive.cpp and Images.cpp.
KP_EXPORT int32_t kpEnumArchiveFormats(FormatCallback cb, void* context) {
    return enumerateOne(kArchiveFormats, cb, context);
}

KP_EXPORT int32_t kpEnumTextureFormats(FormatCallback cb, void* context) {
    return enumerateAll(kTextureFormats, cb, context);
}

KP_EXPORT int32_t kpEnumPackageFormats(FormatCallback cb, void* context) {
    return enumerateOne(kPackageFormats, cb, context);
}

KP_EXPORT int32_t kpEnumModelFormats(FormatCallback cb, void* context) {
    return enumerateAll(kModelFormats, cb, context);
}

KP_EXPORT int32_t kpExport(int32_t id, const char* path, MapWorld** map) {
    return runMapFormat(kExportFormats, id, path, map);
}

KP_EXPORT int32_t kpImport(int32_t id, const char* path, MapWorld** map) {
    return runMapFormat(kImportFormats, id, path, map);
}

// ---- Effect scripts ---------------------------------------------------------------------------

KP_EXPORT int32_t kpGetPackageInfo(int32_t id, const char* path, int32_t* info) {
    return ShaderPackage_GetInfo(id, path, info);
}

KP_EXPORT int32_t kpLoadPackage(int32_t id, const char* path) {
    return ShaderPackage_Load(id, path);
}

// The model exports serve the three model rows above (ModelFormats.cpp).
KP_EXPORT int32_t kpLoadModel(int32_t id, const char* path, const uint8_t* data, uint32_t size,
                              ModelCacheEntry* entry) {
    return Model_Load(id, path, data, size, entry);
}

KP_EXPORT int32_t kpUnloadModel(int32_t id, ModelCacheEntry* entry) {
    return Model_Unload(id, entry);
}

KP_EXPORT int32_t kpRenderModel(int32_t id, int32_t flags, ModelCacheEntry* entry, EntityRecord* entity) {
    return Model_Render(id, flags, entry, entity);
}

KP_EXPORT int32_t kpGetModelBounds(int32_t id, float* mins, float* maxs, int32_t flags,
                                   ModelCacheEntry* entry, EntityRecord* entity) {
    return Model_Bounds(id, mins, maxs, flags, entry, entity);
}

// The archive and texture exports (kpLoadArchive, kpUnloadArchive, kpFindArchiveFile,
// kpLoadArchiveFile, kpListArchiveFiles, kpLoadTexture) are Pk3Archive.cpp's and Images.cpp's;
// they serve the "PK3 Archive", "TGA" and "JPG" rows above.

// The exports' types are the interface header's.
static_assert(std::is_same_v<decltype(&kpMain), kpMainFn>);
static_assert(std::is_same_v<decltype(&kpEnumProfiles), kpEnumProfilesFn>);
static_assert(std::is_same_v<decltype(&kpEnumContentFlags), kpEnumContentFlagsFn>);
static_assert(std::is_same_v<decltype(&kpEnumModelFormats), kpEnumFormatsFn>);
static_assert(std::is_same_v<decltype(&kpImport), kpImportFn>);
static_assert(std::is_same_v<decltype(&kpExport), kpExportFn>);
static_assert(std::is_same_v<decltype(&kpGetPackageInfo), kpGetPackageInfoFn>);
static_assert(std::is_same_v<decltype(&kpLoadPackage), kpLoadPackageFn>);
static_assert(std::is_same_v<decltype(&kpLoadModel), kpLoadModelFn>);
static_assert(std::is_same_v<decltype(&kpUnloadModel), kpUnloadModelFn>);
static_assert(std::is_same_v<decltype(&kpRenderModel), kpRenderModelFn>);
static_assert(std::is_same_v<decltype(&kpGetModelBounds), kpGetModelBoundsFn>);
