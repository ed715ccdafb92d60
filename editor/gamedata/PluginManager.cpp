// Loading and binding plugins, and their commands.
#include "gamedata/GameDataHost.h"
#include "gamedata/PluginManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <algorithm>
#include <cstring>

#include "core/BaseDirectory.h"
#include "core/FileLookup.h"
#include "core/System.h"
#include "core/TextEncoding.h"

namespace {

QString& folderOverride() {
    static QString folder;
    return folder;
}

// One registration export: its name, how it is called (with the editor's callback and the
// context it gets), and the count line it prints (null: none).
enum class Context { Library, Manager };
using EnumeratorCall = int32_t (*)(QFunctionPointer enumerator, void* context);
struct Enumerator {
    const char* exportName;
    EnumeratorCall call;
    Context context;
    const char* countMessage;
};

template <typename EnumeratorFn, auto callback> int32_t callWith(QFunctionPointer enumerator, void* context) {
    return reinterpret_cast<EnumeratorFn>(enumerator)(callback, context);
}

// The order in which a bound plugin is asked what it provides.
constexpr Enumerator kEnumerators[] = {
    {"kpEnumProfiles", callWith<kpEnumProfilesFn, Plugin_RegisterProfileCallback>, Context::Library, nullptr},
    {"kpEnumExportFormats", callWith<kpEnumFormatsFn, Plugin_RegisterExportFormat>, Context::Library,
     "%i map export format(s) registered"},
    {"kpEnumImportFormats", callWith<kpEnumFormatsFn, Plugin_RegisterImportFormat>, Context::Library,
     "%i map import format(s) registered"},
    {"kpEnumTextureFormats", callWith<kpEnumFormatsFn, Plugin_RegisterTextureFormat>, Context::Library,
     "%i texture format(s) registered"},
    {"kpEnumPackageFormats", callWith<kpEnumFormatsFn, Plugin_RegisterPackageFormat>, Context::Library,
     "%i package format(s) registered"},
    {"kpEnumSkyFormats", callWith<kpEnumFormatsFn, Plugin_RegisterSkyFormat>, Context::Library,
     "%i sky format(s) registered"},
    {"kpEnumSpriteFormats", callWith<kpEnumFormatsFn, Plugin_RegisterSpriteFormat>, Context::Library,
     "%i sprite format(s) registered"},
    {"kpEnumModelFormats", callWith<kpEnumFormatsFn, Plugin_RegisterModelFormat>, Context::Library,
     "%i model format(s) registered"},
    {"kpEnumArchiveFormats", callWith<kpEnumFormatsFn, Plugin_RegisterArchiveFormat>, Context::Library,
     "%i archive format(s) registered"},
    {"kpEnumActions", callWith<kpEnumActionsFn, Plugin_RegisterActionCallback>, Context::Manager, nullptr},
    {"kpEnumPrimitives", callWith<kpEnumPrimitivesFn, Plugin_RegisterPrimitiveCallback>, Context::Library,
     "%i primitive type(s) registered"},
    {"kpEnumSurfaceFlags", callWith<kpEnumFlagsFn, Plugin_RegisterSurfaceFlag>, Context::Library, nullptr},
    {"kpEnumContentFlags", callWith<kpEnumFlagsFn, Plugin_RegisterContentFlag>, Context::Library, nullptr},
};

} // namespace

PluginManager::PluginManager() = default;

EngineFuncs* Plugin_EngineFuncs() {
    static EngineFuncs table{};
    return &table;
}

PluginManager::~PluginManager() {
    Plugin_DestroyManager(this);
}

QString Plugin_Folder() {
    if (!folderOverride().isEmpty()) return folderOverride();
    return App_GetBaseDirectory() + QStringLiteral("/plugins");
}

void Plugin_SetFolder(const QString& folder) {
    folderOverride() = folder;
}

void Plugin_LoadAll(PluginManager* manager) {
    if (!manager) return;
    // No configuration is loaded while plugins start.
    Sys_SwitchFileLookup(nullptr);
    const QFileInfoList files =
        QDir(Plugin_Folder())
            .entryInfoList({QStringLiteral("kp*x64.so")}, QDir::Files | QDir::CaseSensitive, QDir::Name);
    Plugin_UnloadAll(manager);
    for (const QFileInfo& file : files) {
        GameData_ShowProgress(
            QCoreApplication::translate("cMainWindow", "Loading plugins: %1").arg(file.fileName()));
        Plugin_Load(manager, file.absoluteFilePath());
    }
    std::stable_sort(manager->actions.begin(), manager->actions.end(), Plugin_CompareActions);
}

bool Plugin_Load(PluginManager* manager, const QString& path) {
    if (!manager) return false;
    // Console text is 8-bit map text: the path is converted for display.
    const QByteArray name = Text_ToWindows1251(path);
    auto* library = new QLibrary(path);
    // Resolve everything at load time, locally: never global, never deep binding.
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library->load()) {
        Sys_Error("Couldn't load \"%s\"", name.constData());
        Sys_Printf("%s", Text_ToWindows1251(library->errorString()).constData());
        delete library;
        return false;
    }
    auto kpMain = reinterpret_cast<kpMainFn>(library->resolve("kpMain"));
    if (!kpMain) {
        Sys_Error("Couldn't find \"kpMain\" export in \"%s\"", name.constData());
        delete library;
        return false;
    }
    const int32_t answer = kpMain(Plugin_EngineFuncs(), KP_INTERFACE_VERSION);
    if (answer != 0) {
        if (answer < 0)
            Sys_Error("Couldn't initialize \"%s\"", name.constData());
        else
            Sys_Error("Plugin \"%s\" has wrong version number (%i should be %i)", name.constData(), answer,
                      KP_INTERFACE_VERSION);
        delete library;
        return false;
    }

    Sys_Printf("Adding: \"%s\"", name.constData());
    for (const Enumerator& e : kEnumerators) {
        const QFunctionPointer enumerator = library->resolve(e.exportName);
        if (!enumerator) continue;
        void* context = e.context == Context::Manager ? static_cast<void*>(manager) : library;
        const int32_t registered = e.call(enumerator, context);
        if (e.countMessage && registered != 0) Sys_Printf(e.countMessage, registered);
    }
    manager->libraries.append(library);
    return true;
}

void Plugin_UnloadAll(PluginManager* manager) {
    if (!manager) return;
    // Deleting a handle leaves the library mapped: registries still hold its functions.
    qDeleteAll(manager->libraries);
    manager->libraries.clear();
}

void Plugin_FreeActions(PluginManager* manager) {
    if (!manager) return;
    qDeleteAll(manager->actions);
    manager->actions.clear();
}

void Plugin_DestroyManager(PluginManager* manager) {
    if (!manager) return;
    Plugin_FreeActions(manager);
    Plugin_UnloadAll(manager);
    manager->importFormats.clear();
    manager->exportFormats.clear();
}

// ---- Actions ----------------------------------------------------------------------------------

void Plugin_RegisterActionCallback(const PluginAction* action, void* context) {
    if (action && context) registerAction(static_cast<PluginManager*>(context), action);
}

void registerAction(PluginManager* manager, const PluginAction* action) {
    if (!manager || !action) return;
    if (!action->title) {
        Sys_Error("registerAction: action title is NULL!");
        return;
    }
    if (!action->dispatch) {
        Sys_Error("registerAction: dispatch function for \"%s\" is NULL!", action->title);
        return;
    }
    manager->actions.append(new PluginAction(*action));
}

bool Plugin_CompareActions(const PluginAction* a, const PluginAction* b) {
    if (!a->category) return false;
    if (!b->category) return true;
    // strcmp compares as unsigned bytes, and a proper prefix is smaller.
    return std::strcmp(a->category, b->category) < 0;
}
