#include "gamedata/GameConfig.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <algorithm>
#include <memory>

#include "core/FileLookup.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/Platform.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "core/WaitScope.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameData.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/GamePackages.h"
#include "gamedata/MapProfile.h"
#include "gamedata/ModelCache.h"
#include "gamedata/SkyManager.h"
#include "gamedata/TextureLists.h"
#include "gamedata/TexturePackage.h"

namespace {

ArchiveRegistry* archives() {
    return GameData_Archives();
}

bool settingOn(bool MainSettings::*setting) {
    return Sys_Settings().*setting;
}

// The file look-ups search the configuration for the scope's life.
class cLookupScope {
public:
    explicit cLookupScope(GameConfig* config) : m_saved(Sys_FileLookup().current) {
        Sys_FileLookup().current = config;
    }
    ~cLookupScope() { Sys_FileLookup().current = m_saved; }
    cLookupScope(const cLookupScope&) = delete;
    cLookupScope& operator=(const cLookupScope&) = delete;

private:
    GameFolders* const m_saved;
};

// Releases what the configuration named: its entity-definition files and texture packages, with
// the file look-ups searching it meanwhile (a file's release may reach the game folders).
void releaseResources(GameConfig* config) {
    {
        const cLookupScope scope(config);
        for (const QString& path : std::as_const(config->GameData))
            Fgd_Release(Fgd_Registry(), path);
        for (const QString& path : std::as_const(config->Parcel))
            Tex_ReleasePackage(path);
    }
    config->solidClassTree.children.clear();
    config->pointClassTree.children.clear();
    config->precachedGameData.clear();
}

// A package's kind depends on the game folders of the configuration naming it (a filtered folder
// of the game may exist only inside its archives), whichever configuration is current.
void acquireResources(GameConfig* config) {
    const cLookupScope scope(config);
    for (const QString& path : std::as_const(config->GameData))
        Fgd_Acquire(Fgd_Registry(), path);
    for (const QString& path : std::as_const(config->Parcel))
        Tex_AcquirePackage(path);
}

TextureLists* newTextureLists(const GameConfig* config) {
    auto* lists = new TextureLists;
    TexList_Rebuild(lists, config);
    TexList_AddUngrouped(lists);
    return lists;
}

bool ownsArchives(const ArchiveRegistry* registry, const GameConfig* config) {
    for (const ArchiveHandle* handle : registry->open)
        for (const ArchiveOwnerNode* node = handle->owners; node; node = node->next)
            if (node->owner == config) return true;
    return false;
}

// Nothing may reach a freed configuration through the file look-ups.
void forgetInFileLookup(const GameConfig* config) {
    FileLookupConfig& lookup = Sys_FileLookup();
    if (lookup.current == config) lookup.current = nullptr;
    if (lookup.previous == config) lookup.previous = nullptr;
}

// The folders an editor's package list is found in.
QString foundIn(const GameConfig& config) {
    return config.GameBasedir + QLatin1Char('\n') + config.GameModdir;
}

// ---- Class trees -------------------------------------------------------------------------------

bool isMember(const EntityClass* eclass) {
    return eclass->kind == EntityClassKind::Point || eclass->kind == EntityClassKind::Solid;
}

// The node under which the class goes: its group's node (made on the way), else the root.
ClassTreeNode* insertClass(ClassTreeNode* root, const EntityClass* eclass, int depth = 0) {
    ClassTreeNode* parent = root;
    // A group chain that loops back would never end: groups deeper than any real file are flat.
    if (eclass->group && eclass->group != eclass && depth < 64)
        parent = insertClass(root, eclass->group, depth + 1);
    if (isMember(eclass)) {
        for (const ClassTreeNode& node : parent->children)
            if (node.name.isEmpty() && node.eclass && node.eclass->name == eclass->name) return parent;
        ClassTreeNode leaf;
        leaf.eclass = const_cast<EntityClass*>(eclass);
        parent->children.push_back(std::move(leaf));
        return parent;
    }
    for (ClassTreeNode& node : parent->children)
        if (!node.name.isEmpty() && node.name == eclass->name) return &node;
    ClassTreeNode group;
    group.name = eclass->name;
    parent->children.push_back(std::move(group));
    return &parent->children.back();
}

// Group nodes first, then class leaves by class name; every level alike.
void sortTree(ClassTreeNode* node) {
    std::stable_sort(node->children.begin(), node->children.end(),
                     [](const ClassTreeNode& a, const ClassTreeNode& b) {
                         const bool aGroup = !a.name.isEmpty(), bGroup = !b.name.isEmpty();
                         if (aGroup != bGroup) return aGroup;
                         if (aGroup) return false; // groups keep their order of first use
                         return a.eclass->name < b.eclass->name;
                     });
    for (ClassTreeNode& child : node->children)
        sortTree(&child);
}

void enterFileClasses(GameConfig* config, const GameData* file) {
    for (const auto& entry : file->classes) {
        const EntityClass* eclass = entry.second.get();
        if (eclass->kind == EntityClassKind::Point)
            insertClass(&config->pointClassTree, eclass);
        else if (eclass->kind == EntityClassKind::Solid)
            insertClass(&config->solidClassTree, eclass);
    }
}

// Copies every configuration of the source, its title index and texture lists, and acquires
// what each one names (Assign steps 4 and 5).
bool copyConfigs(GameConfigManager* target, const GameConfigManager& source, bool precache,
                 std::unique_ptr<cWaitScope>* waitScope) {
    bool precached = false;
    const QString currentTitle = source.current ? source.current->Title : QString();
    for (const GameConfig* from : source.configs)
        target->configs.append(new GameConfig(*from));
    for (qsizetype i = 0; i < target->configs.size(); ++i) {
        GameConfig* config = target->configs[i];
        acquireResources(config);
        // The copy lists its original's skies before the originals may be released.
        Sky_CopyListForConfig(Sky_Manager(), source.configs[i], config);
        if (precache && config->inUseCount > 0 && GameCfg_NeedsPrecache(config)) {
            if (!g_waitScope && !*waitScope) {
                *waitScope = std::make_unique<cWaitScope>(
                    QCoreApplication::translate("GameConfig", "Precaching game configuration..."));
                if (QCoreApplication::instance())
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            }
            GameCfg_Precache(target, config);
            precached = true;
        } else {
            // Precached before: its trees are rebuilt from the files as they are now.
            if (!config->precachedGameData.isEmpty())
                GameCfg_BuildClassTrees(config);
            else {
                config->solidClassTree.children.clear();
                config->pointClassTree.children.clear();
            }
            // It owns the archives its original opened (shared handles, nothing is read again).
            if (archives() && ownsArchives(archives(), source.configs[i]))
                Archive_LoadForConfig(archives(), config);
        }
        TextureLists* lists = newTextureLists(config);
        delete target->textureListsByTitle.value(config->Title, nullptr);
        target->textureListsByTitle.insert(config->Title, lists);
        target->byTitle.insert(config->Title, config);
        if (!currentTitle.isNull() && config->Title == currentTitle) {
            target->current = config;
            target->currentTextureLists = lists;
        }
    }
    return precached;
}

} // namespace

// ---- The manager ---------------------------------------------------------------------------------

GameConfigManager::GameConfigManager(const GameConfigManager& source) {
    GameCfg_Assign(this, source, false);
}

GameConfigManager::~GameConfigManager() {
    GameCfg_DestroyManager(this);
}

void GameConfigManager::makeCurrent(GameConfig* config) {
    current = config;
    currentTextureLists = config ? textureListsByTitle.value(config->Title, nullptr) : nullptr;
    // The program's current configuration (the host's) is the one file look-ups search.
    if (this == GameCfg_Manager()) Sys_FileLookup().current = config;
}

GameConfigManager* GameCfg_Manager() {
    GameDataHost* host = GameData_Host();
    return host ? &host->gameConfigs() : nullptr;
}

GameConfig* GameCfg_Current() {
    const GameConfigManager* manager = GameCfg_Manager();
    return manager ? manager->current : nullptr;
}

float Sys_GetTextureGamma() {
    const GameConfig* config = GameCfg_Current();
    return config ? static_cast<float>(config->TextureBrightness) * 0.015f + 0.5f : 1.0f;
}

TextureLists* GameCfg_CurrentTextureLists() {
    const GameConfigManager* manager = GameCfg_Manager();
    return manager && manager->current ? manager->currentTextureLists : nullptr;
}

ShaderRecord* GameCfg_FindShader(const QString& name) {
    return TexList_FindShader(GameCfg_CurrentTextureLists(), name);
}

ShaderRecord* GameCfg_CreateMissingShader(const QString& name) {
    return TexList_CreateMissing(GameCfg_CurrentTextureLists(), name);
}

GameConfig* GameCfg_FindConfig(const GameConfigManager* manager, const QString& title) {
    return manager ? manager->byTitle.value(title, nullptr) : nullptr;
}

GameConfig* GameCfg_AddConfig(GameConfigManager* manager, const QString& title) {
    if (!manager) return nullptr;
    auto* config = new GameConfig;
    config->Title = title;
    config->Enabled = true;
    config->TextureFormat = 1;
    manager->configs.append(config);
    manager->byTitle.insert(title, config);
    delete manager->textureListsByTitle.value(title, nullptr);
    manager->textureListsByTitle.insert(title, new TextureLists);
    return config;
}

GameConfig* GameCfg_DuplicateConfig(GameConfigManager* manager, const QString& title,
                                    const QString& newTitle) {
    if (!manager) return nullptr;
    const GameConfig* source = manager->byTitle.value(title, nullptr);
    if (!source) {
        Sys_Warning("no such config: %s", Path_ToNative(title).constData());
        return nullptr;
    }
    auto* copy = new GameConfig(*source);
    copy->Title = newTitle;
    copy->inUseCount = 0;
    copy->solidClassTree.children.clear();
    copy->pointClassTree.children.clear();
    copy->precachedGameData.clear();
    acquireResources(copy);
    manager->configs.append(copy);
    manager->byTitle.insert(newTitle, copy);
    delete manager->textureListsByTitle.value(newTitle, nullptr);
    manager->textureListsByTitle.insert(newTitle, new TextureLists);
    return copy;
}

void GameCfg_RenameConfig(GameConfigManager* manager, const QString& title, const QString& newTitle) {
    if (!manager) return;
    GameConfig* config = manager->byTitle.value(title, nullptr);
    if (!config) {
        Sys_Warning("no such config: %s", Path_ToNative(title).constData());
        return;
    }
    if (title == newTitle) return;
    config->Title = newTitle;
    manager->byTitle.remove(title);
    manager->byTitle.insert(newTitle, config);
    TextureLists* lists = manager->textureListsByTitle.take(title);
    delete manager->textureListsByTitle.value(newTitle, nullptr);
    manager->textureListsByTitle.insert(newTitle, lists);
}

void GameCfg_RemoveConfig(GameConfigManager* manager, const QString& title) {
    if (!manager) return;
    GameConfig* config = manager->byTitle.value(title, nullptr);
    if (!config) {
        Sys_Warning("no such config: %s", Path_ToNative(title).constData());
        return;
    }
    if (config->inUseCount > 0) {
        Sys_Warning("tried to remove in-use config: %s", Path_ToNative(title).constData());
        return;
    }
    manager->byTitle.remove(title);
    // An earlier configuration of the same title becomes reachable again.
    for (GameConfig* other : std::as_const(manager->configs))
        if (other != config && other->Title == title) manager->byTitle.insert(title, other);
    TextureLists* lists = manager->textureListsByTitle.take(title);
    if (manager->currentTextureLists == lists) manager->currentTextureLists = nullptr;
    delete lists;
    releaseResources(config);
    if (archives()) Archive_ReleaseByOwner(archives(), config);
    Sky_ReleaseForConfig(Sky_Manager(), config);
    forgetInFileLookup(config);
    if (manager->current == config) manager->current = nullptr;
    manager->configs.removeOne(config);
    delete config;
}

void GameCfg_Select(GameConfigManager* manager, GameConfig* config) {
    if (!manager) return;
    manager->makeCurrent(config);
    manager->currentProfile = GameCfg_CurrentProfile(manager);
}

void GameCfg_SelectByTitle(GameConfigManager* manager, const QString& title) {
    if (manager) GameCfg_Select(manager, manager->byTitle.value(title, nullptr));
}

bool GameCfg_NeedsPrecache(const GameConfig* config) {
    if (!config) return false;
    const GameDataRegistry* registry = Fgd_Registry();
    for (const QString& path : config->GameData) {
        const GameData* file = registry ? registry->files.value(path, nullptr) : nullptr;
        if (!file || file->loadState != GameDataState::Loaded) return true;
    }
    for (const QString& path : config->Parcel) {
        const TexturePackage* package = Tex_FindPackage(path);
        if (!package || !package->loaded) return true;
    }
    if (!config->ParcelEdited && !config->GameBasedir.isEmpty() && config->parcelFoundIn != foundIn(*config))
        return true;
    return config->precachedGameData.size() != config->GameData.size();
}

void GameCfg_BuildClassTrees(GameConfig* config) {
    if (!config) return;
    config->solidClassTree.children.clear();
    config->pointClassTree.children.clear();
    const GameDataRegistry* registry = Fgd_Registry();
    if (!registry) return;
    for (const QString& path : std::as_const(config->GameData))
        if (const GameData* file = registry->files.value(path, nullptr))
            if (file->loadState == GameDataState::Loaded) enterFileClasses(config, file);
    sortTree(&config->solidClassTree);
    sortTree(&config->pointClassTree);
}

void GameCfg_RebuildAllClassTrees(GameConfigManager* manager) {
    if (!manager) manager = GameCfg_Manager();
    if (!manager) return;
    for (GameConfig* config : std::as_const(manager->configs))
        if (!config->precachedGameData.isEmpty()) GameCfg_BuildClassTrees(config);
}

void GameCfg_Precache(GameConfigManager* manager, GameConfig* config) {
    if (!config) return;
    // Loading the configuration again sees the folders as they are now.
    Sys_ForgetFoundFiles();
    const bool wasBusy = manager ? manager->busy : false;
    if (manager) manager->busy = true;
    config->solidClassTree.children.clear();
    config->pointClassTree.children.clear();
    if (!config->PaletteFile.isEmpty()) Tex_LoadPalette(config->GameBasedir, config->PaletteFile);
    const MapProfileRecord* profile =
        manager ? GameCfg_FindProfile(manager, Text_ToWindows1251(config->MapProfile).constData()) : nullptr;
    Sys_SwitchFileLookup(config);
    // The game folders are searched for thousands of names (images of effects, models and their
    // skins), most of them missing on disk: each folder is listed once.
    const cLookupPass lookupPass;
    if (ModelCache* cache = Model_Cache()) cache->displayBase = config->GameBasedir;
    if (settingOn(&MainSettings::LoadFromArchives) && archives()) Archive_LoadForConfig(archives(), config);
    // The editor's package list is what the game folders hold now, listed as the configuration's
    // own so that the Game Profiles page shows it; an edit there makes it the user's.
    if (!config->ParcelEdited && !config->GameBasedir.isEmpty()) {
        const QStringList found = GameCfg_FindTexturePackages(config);
        // Packages found again stay loaded: the new references come before the old go.
        for (const QString& path : found)
            Tex_AcquirePackage(path);
        for (const QString& path : std::as_const(config->Parcel))
            Tex_ReleasePackage(path);
        config->Parcel = found;
        config->parcelFoundIn = foundIn(*config);
        if (!config->Parcel.isEmpty())
            Sys_Printf("Found %i texture packages in the game folders", int(config->Parcel.size()));
    }
    for (const QString& path : std::as_const(config->Parcel))
        if (TexturePackage* package = Tex_FindPackage(path))
            Tex_LoadPackage(package, profile, config->GameBasedir, config->PaletteFile);
    GameDataRegistry* registry = Fgd_Registry();
    for (const QString& path : std::as_const(config->GameData)) {
        GameData* file = registry ? registry->files.value(path, nullptr) : nullptr;
        if (!file) continue;
        Fgd_Load(file, false);
        Fgd_PrecacheModels(file, config->PaletteFile);
        if (file->loadState == GameDataState::Loaded) enterFileClasses(config, file);
    }
    Sky_LoadForConfig(Sky_Manager(), config);
    config->precachedGameData = config->GameData;
    std::reverse(config->precachedGameData.begin(), config->precachedGameData.end());
    sortTree(&config->solidClassTree);
    sortTree(&config->pointClassTree);
    if (manager)
        if (TextureLists* lists = manager->textureListsByTitle.value(config->Title, nullptr)) {
            TexList_RemoveUngrouped(lists);
            TexList_Rebuild(lists, config);
            TexList_AddUngrouped(lists);
        }
    Tex_LinkNewShaders();
    if (manager) manager->busy = wasBusy;
}

void GameCfg_FreeConfigs(GameConfigManager* manager) {
    if (!manager) return;
    for (GameConfig* config : std::as_const(manager->configs))
        releaseResources(config);
    manager->profiles.clear();
    qDeleteAll(manager->textureListsByTitle);
    manager->textureListsByTitle.clear();
    manager->currentTextureLists = nullptr;
}

void GameCfg_Assign(GameConfigManager* target, const GameConfigManager& source, bool precache) {
    if (!target || target == &source) return;
    target->busy = true;
    target->current = nullptr;
    target->currentTextureLists = nullptr;
    target->currentProfile = GameCfg_EmptyProfile();
    // The old configurations stay alive until every user has moved to the new ones.
    const QList<GameConfig*> old = target->configs;
    GameCfg_FreeConfigs(target);
    target->byTitle.clear();
    target->configs.clear();
    for (const auto& entry : source.profiles)
        target->profiles[entry.first] = entry.second;

    std::unique_ptr<cWaitScope> waitScope;
    const bool precached = copyConfigs(target, source, precache, &waitScope);
    waitScope.reset();

    const bool isMain = target && target == GameCfg_Manager();
    if (GameData_ActiveMap() && *GameData_ActiveMap()) {
        target->currentProfile = GameCfg_CurrentProfile(target);
    } else {
        target->current = nullptr;
        target->currentTextureLists = nullptr;
    }
    if (isMain) Sys_FileLookup().current = target->current;
    // Files loaded above re-bound their users while no configuration was current: once more now.
    if (isMain && precached)
        if (GameDataRegistry* registry = Fgd_Registry(); registry && registry->rebindClassUsers)
            registry->rebindClassUsers();

    // Documents bind again by title; the copied counts give way to theirs.
    if (target->rebindConfigUsers) {
        for (GameConfig* config : std::as_const(target->configs))
            config->inUseCount = 0;
        target->rebindConfigUsers();
    }
    for (GameConfig* config : old) {
        if (archives()) Archive_ReleaseByOwner(archives(), config);
        Sky_ReleaseForConfig(Sky_Manager(), config);
        forgetInFileLookup(config);
        delete config;
    }

    Tex_LinkNewShaders();
    Tex_ClearChangedMarks();
    target->busy = false;
    // The skies of the old configurations are gone: the documents look theirs up again.
    if (isMain) GameData_Host()->refreshDocumentSkies();
}

void GameCfg_DestroyManager(GameConfigManager* manager) {
    if (!manager) return;
    GameCfg_FreeConfigs(manager);
    for (GameConfig* config : std::as_const(manager->configs)) {
        if (archives()) Archive_ReleaseByOwner(archives(), config);
        Sky_ReleaseForConfig(Sky_Manager(), config);
        forgetInFileLookup(config);
        delete config;
    }
    manager->configs.clear();
    manager->byTitle.clear();
    manager->current = nullptr;
    manager->currentProfile = nullptr;
}

// ---- The configuration file ------------------------------------------------------------------------

namespace {

GameConfigValues toValues(const GameConfig& c) {
    GameConfigValues v;
    v.Title = c.Title;
    v.Enabled = c.Enabled;
    v.TextureFormat = c.TextureFormat;
    v.MapProfile = c.MapProfile;
    v.DefaultPointClass = c.DefaultPointClass;
    v.DefaultSolidClass = c.DefaultSolidClass;
    v.GameExecutable = c.GameExecutable;
    v.GameCommandLine = c.GameCommandLine;
    v.GameBasedir = c.GameBasedir;
    v.GameModdir = c.GameModdir;
    v.MapSourceFileDirectory = c.MapSourceFileDirectory;
    v.ModelViewer = c.ModelViewer;
    v.TextureBrightness = c.TextureBrightness;
    v.DefaultTextureScale = c.DefaultTextureScale;
    v.PaletteFile = c.PaletteFile;
    for (int i = 0; i < 4; ++i)
        v.MapTool[i] = c.MapTool[i];
    v.GameData = c.GameData;
    v.Parcel = c.Parcel;
    v.ParcelEdited = c.ParcelEdited;
    return v;
}

GameConfig* fromValues(const GameConfigValues& v) {
    auto* c = new GameConfig;
    c->Title = v.Title;
    c->Enabled = v.Enabled;
    c->TextureFormat = v.TextureFormat;
    c->MapProfile = v.MapProfile;
    c->DefaultPointClass = v.DefaultPointClass;
    c->DefaultSolidClass = v.DefaultSolidClass;
    c->GameExecutable = v.GameExecutable;
    c->GameCommandLine = v.GameCommandLine;
    c->GameBasedir = v.GameBasedir;
    c->GameModdir = v.GameModdir;
    c->MapSourceFileDirectory = v.MapSourceFileDirectory;
    c->ModelViewer = v.ModelViewer;
    c->TextureBrightness = v.TextureBrightness;
    c->DefaultTextureScale = v.DefaultTextureScale < 0.1f ? 1.0f : v.DefaultTextureScale;
    c->PaletteFile = v.PaletteFile;
    for (int i = 0; i < 4; ++i)
        c->MapTool[i] = v.MapTool[i];
    c->GameData = v.GameData;
    c->Parcel = v.Parcel;
    c->ParcelEdited = v.ParcelEdited;
    return c;
}

} // namespace

bool GameCfg_LoadConfigurationsFrom(GameConfigManager* manager, const QString& path) {
    if (!manager) return false;
    QList<GameConfigValues> values;
    const bool read = manager->file.load(path, &values);
    for (const GameConfigValues& value : std::as_const(values)) {
        GameConfig* config = fromValues(value);
        manager->configs.append(config);
        manager->byTitle.insert(config->Title, config);
        delete manager->textureListsByTitle.value(config->Title, nullptr);
        manager->textureListsByTitle.insert(config->Title, new TextureLists);
        acquireResources(config);
        if (!settingOn(&MainSettings::NoPrecache)) GameCfg_Precache(manager, config);
    }
    return read;
}

bool GameCfg_SaveConfigurationsTo(GameConfigManager* manager, const QString& path) {
    if (!manager) return false;
    QList<GameConfigValues> values;
    for (const GameConfig* config : std::as_const(manager->configs))
        values.append(toValues(*config));
    return manager->file.save(path, values);
}

bool GameCfg_LoadConfigurations(GameConfigManager* manager) {
    const GameDataHost* host = GameData_Host();
    if (!host) return false;
    return GameCfg_LoadConfigurationsFrom(manager, host->configFile(QStringLiteral("KDKGameCfg.ini"), false));
}

bool GameCfg_SaveConfigurations(GameConfigManager* manager) {
    const GameDataHost* host = GameData_Host();
    if (!host) return false;
    return GameCfg_SaveConfigurationsTo(manager, host->configFile(QStringLiteral("KDKGameCfg.ini"), true));
}
