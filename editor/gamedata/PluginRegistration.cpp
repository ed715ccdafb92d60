// The registration callbacks a bound plugin calls from its enumerators: each checks the
// description, resolves the plugin's per-format functions by name and appends a record to the
// registry that uses it.
#include <QLibrary>
#include <initializer_list>
#include <optional>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/MapProfile.h"
#include "gamedata/ModelCache.h"
#include "gamedata/PluginManager.h"
#include "gamedata/SkyManager.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TexturePackage.h"

namespace {

template <typename Fn> Fn resolve(QLibrary* library, const char* name) {
    return reinterpret_cast<Fn>(library->resolve(name));
}

// For console lines, which carry 8-bit map text.
QByteArray fileName(QLibrary* library) {
    return Text_ToWindows1251(library->fileName());
}

// What one format callback was given, with the plugin it came from.
struct Registration {
    QLibrary* library;
    int32_t id;
    const char* name;
    const char* extension;
    const char* kind; // "texture", "map export" ...
};

// Null arguments refuse the format. A missing context cannot be named; the others are reported
// so that the plugin's author sees why the format is absent.
bool argumentsValid(const Registration& r) {
    if (!r.library) return false;
    if (r.name && r.extension) return true;
    Sys_Warning("Plugin \"%s\" defines %s format \"%s\" (%s) without a name or extension!",
                fileName(r.library).constData(), r.kind, r.name ? r.name : "(null)",
                r.extension ? r.extension : "(null)");
    return false;
}

// The first mandatory export the library lacks, in check order, is named in a warning.
bool hasMandatory(const Registration& r, std::initializer_list<const char*> exports) {
    for (const char* name : exports) {
        if (r.library->resolve(name)) continue;
        Sys_Warning("Plugin \"%s\" defines %s format \"%s\" (%s), but doesn't export \"%s\" function!",
                    fileName(r.library).constData(), r.kind, r.name, r.extension, name);
        return false;
    }
    return true;
}

// Appends the entry; a second format of the kind with the same extension is kept too (the
// registry tries them in order) but the plugin's author is told.
template <typename Entry> int32_t append(QList<Entry>& list, Entry entry, const Registration& r) {
    for (const Entry& other : list) {
        if (other.extension.compare(entry.extension, Qt::CaseInsensitive) != 0) continue;
        Sys_Warning("Plugin \"%s\" defines %s format \"%s\" (%s), but \"%s\" already reads that "
                    "extension; it is tried first",
                    fileName(r.library).constData(), r.kind, r.name, r.extension,
                    Text_ToWindows1251(other.name).constData());
        break;
    }
    list.append(std::move(entry));
    return 1;
}

template <typename Entry> Entry named(const Registration& r) {
    Entry entry;
    entry.id = r.id;
    entry.name = Text_FromWindows1251(r.name);
    entry.extension = Text_FromWindows1251(r.extension);
    return entry;
}

// The checks every format callback starts with; the entry carries the format's id, name and
// extension.
template <typename Entry>
std::optional<Entry> accepted(const Registration& r, std::initializer_list<const char*> mandatory) {
    if (!GameData_Host() || !argumentsValid(r) || !hasMandatory(r, mandatory)) return std::nullopt;
    return named<Entry>(r);
}

int32_t registerMapFormat(const Registration& r, bool import) {
    const char* exportName = import ? "kpImport" : "kpExport";
    auto entry = accepted<MapFormatEntry>(r, {exportName});
    if (!entry) return 0;
    entry->plugin = r.library;
    entry->function = resolve<kpMapFormatFn>(r.library, exportName);
    PluginManager& plugins = GameData_Host()->plugins();
    return append(import ? plugins.importFormats : plugins.exportFormats, std::move(*entry), r);
}

} // namespace

void Plugin_RegisterProfileCallback(const MapProfileRecord* profile, void* context) {
    if (GameConfigManager* configs = GameCfg_Manager(); profile && configs)
        GameCfg_RegisterProfile(configs, context, profile);
}

int32_t Plugin_RegisterExportFormat(int32_t id, const char* name, const char* extension, void* context) {
    return registerMapFormat({static_cast<QLibrary*>(context), id, name, extension, "map export"}, false);
}

int32_t Plugin_RegisterImportFormat(int32_t id, const char* name, const char* extension, void* context) {
    return registerMapFormat({static_cast<QLibrary*>(context), id, name, extension, "map import"}, true);
}

int32_t Plugin_RegisterTextureFormat(int32_t id, const char* name, const char* extension, void* context) {
    const Registration r{static_cast<QLibrary*>(context), id, name, extension, "texture"};
    auto entry = accepted<TextureFormatEntry>(r, {"kpLoadTexture"});
    if (!entry) return 0;
    entry->library = r.library;
    entry->setPalette = resolve<kpSetPaletteFn>(r.library, "kpSetPalette");
    entry->filterTextureName = resolve<kpFilterTextureNameFn>(r.library, "kpFilterTextureName");
    entry->loadTexture = resolve<kpLoadTextureFn>(r.library, "kpLoadTexture");
    // A plugin that can decode on request loads package files with sizes only.
    entry->decodeTexture = resolve<kpDecodeTextureFn>(r.library, "kpDecodeTexture");
    entry->deferDecoding = resolve<kpDeferTextureDecodingFn>(r.library, "kpDeferTextureDecoding");
    if (!entry->deferDecoding) entry->decodeTexture = nullptr;
    if (entry->decodeTexture)
        entry->decodeJob = resolve<kpDecodeTextureJobFn>(r.library, "kpDecodeTextureJob");
    if (auto setReader = resolve<kpSetFileHeadReaderFn>(r.library, "kpSetFileHeadReader"))
        setReader(&Tex_LoadFileHead);
    return append(GameData_Host()->textures().textureFormats, std::move(*entry), r);
}

int32_t Plugin_RegisterPackageFormat(int32_t id, const char* name, const char* extension, void* context) {
    const Registration r{static_cast<QLibrary*>(context), id, name, extension, "package"};
    auto entry = accepted<PackageFormatEntry>(r, {"kpGetPackageInfo", "kpLoadPackage"});
    if (!entry) return 0;
    entry->library = r.library;
    entry->setPalette = resolve<kpSetPaletteFn>(r.library, "kpSetPalette");
    entry->getPackageInfo = resolve<kpGetPackageInfoFn>(r.library, "kpGetPackageInfo");
    entry->loadPackage = resolve<kpLoadPackageFn>(r.library, "kpLoadPackage");
    return append(GameData_Host()->textures().packageFormats, std::move(*entry), r);
}

int32_t Plugin_RegisterSkyFormat(int32_t id, const char* name, const char* extension, void* context) {
    const Registration r{static_cast<QLibrary*>(context), id, name, extension, "sky"};
    auto entry = accepted<SkyFormatEntry>(r, {"kpLoadSky"});
    if (!entry) return 0;
    entry->library = r.library;
    entry->loadSky = resolve<kpLoadSkyFn>(r.library, "kpLoadSky");
    return append(GameData_Host()->skies().formats, std::move(*entry), r);
}

int32_t Plugin_RegisterSpriteFormat(int32_t id, const char* name, const char* extension, void* context) {
    const Registration r{static_cast<QLibrary*>(context), id, name, extension, "sprite"};
    auto entry = accepted<ModelFormatEntry>(r, {"kpLoadSprite"});
    if (!entry) return 0;
    entry->setPalette = resolve<kpSetPaletteFn>(r.library, "kpSetPalette");
    entry->loadSprite = resolve<kpLoadSpriteFn>(r.library, "kpLoadSprite");
    entry->unloadSprite = resolve<kpUnloadSpriteFn>(r.library, "kpUnloadSprite");
    return append(GameData_Host()->models().spriteFormats, std::move(*entry), r);
}

int32_t Plugin_RegisterModelFormat(int32_t id, const char* name, const char* extension, void* context) {
    const Registration r{static_cast<QLibrary*>(context), id, name, extension, "model"};
    auto entry = accepted<ModelFormatEntry>(r, {"kpLoadModel", "kpRenderModel"});
    if (!entry) return 0;
    entry->setPalette = resolve<kpSetPaletteFn>(r.library, "kpSetPalette");
    entry->getBounds = resolve<kpGetModelBoundsFn>(r.library, "kpGetModelBounds");
    entry->render = resolve<kpRenderModelFn>(r.library, "kpRenderModel");
    entry->loadModel = resolve<kpLoadModelFn>(r.library, "kpLoadModel");
    entry->unloadModel = resolve<kpUnloadModelFn>(r.library, "kpUnloadModel");
    return append(GameData_Host()->models().modelFormats, std::move(*entry), r);
}

int32_t Plugin_RegisterArchiveFormat(int32_t id, const char* name, const char* extension, void* context) {
    const Registration r{static_cast<QLibrary*>(context), id, name, extension, "archive"};
    auto entry =
        accepted<ArchiveFormatEntry>(r, {"kpLoadArchive", "kpFindArchiveFile", "kpListArchiveFiles"});
    ArchiveRegistry* archives = GameData_Archives();
    if (!entry || !archives) return 0;
    entry->findFile = resolve<kpFindArchiveFileFn>(r.library, "kpFindArchiveFile");
    entry->loadFile = resolve<kpLoadArchiveFileFn>(r.library, "kpLoadArchiveFile");
    entry->load = resolve<kpLoadArchiveFn>(r.library, "kpLoadArchive");
    entry->unload = resolve<kpUnloadArchiveFn>(r.library, "kpUnloadArchive");
    entry->listFiles = resolve<kpListArchiveFilesFn>(r.library, "kpListArchiveFiles");
    entry->loadFileHead = resolve<kpLoadArchiveFileHeadFn>(r.library, "kpLoadArchiveFileHead");
    entry->fileSize = resolve<kpGetArchiveFileSizeFn>(r.library, "kpGetArchiveFileSize");
    return append(archives->formats, std::move(*entry), r);
}

void Plugin_RegisterPrimitiveCallback(const PrimitiveEntry* primitive, void*) {
    if (GameDataHost* host = GameData_Host()) host->registerPrimitive(primitive);
}

void Plugin_RegisterSurfaceFlag(const char* profile, const char* flag, int32_t bit, void*) {
    if (GameDataHost* host = GameData_Host(); profile && host) host->setSurfaceFlagName(profile, flag, bit);
}

void Plugin_RegisterContentFlag(const char* profile, const char* flag, int32_t bit, void*) {
    if (GameDataHost* host = GameData_Host(); profile && host) host->setContentFlagName(profile, flag, bit);
}
