#include "gamedata/GameData.h"

#include <QFileInfo>
#include <cstring>
#include <vector>

#include "core/Script.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/FgdParser.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameDataHost.h"
#include "gamedata/ModelCache.h"
#include "gamedata/TexturePackage.h"

namespace {

using ClassList = std::vector<std::unique_ptr<EntityClass>>;

// Every sprite and model a class names, each once when not empty.
template <typename Visit> void forEachModelPath(const GameData* file, Visit visit) {
    for (const auto& entry : file->classes) {
        const EntityClass* eclass = entry.second.get();
        if (!eclass->iconSprite.isEmpty()) visit(eclass->iconSprite, true);
        if (!eclass->sprite.isEmpty()) visit(eclass->sprite, true);
        if (!eclass->model.isEmpty()) visit(eclass->model, false);
        if (!eclass->model2.isEmpty()) visit(eclass->model2, false);
    }
}

void releaseModels(GameData* file) {
    ModelCache* cache = Model_Cache();
    if (cache)
        forEachModelPath(file, [cache](const QByteArray& name, bool sprite) {
            const QString path = Text_FromWindows1251(name);
            sprite ? Model_ReleaseSprite(cache, path) : Model_ReleaseModel(cache, path);
        });
    file->modelsPrecached = false;
}

// Empties the file's class tables and hands the classes over, still alive, so that whoever points
// at them can re-bind before they are freed.
ClassList takeClasses(GameData* file) {
    if (file->modelsPrecached) releaseModels(file);
    ClassList taken;
    taken.reserve(file->classes.size());
    for (auto& entry : file->classes)
        taken.push_back(std::move(entry.second));
    file->classes.clear();
    file->pointClasses.clear();
    file->solidClasses.clear();
    file->modelsPrecached = false;
    file->hasGroupClasses = false;
    file->loadState = GameDataState::NotLoaded;
    return taken;
}

// Lets the class users re-bind (when classes went, or came with a load); the old classes die with
// the list afterwards.
void rebindAndFree(ClassList old, bool loaded = false) {
    if (old.empty() && !loaded) return;
    if (GameDataRegistry* registry = Fgd_Registry(); registry && registry->rebindClassUsers)
        registry->rebindClassUsers();
    // The class menus of precached configurations list the classes as they are now.
    GameCfg_RebuildAllClassTrees();
}

// Clears the tokenizer's error flag and reads up to and including the next "@"; false at the end.
bool skipToSection() {
    Script_ClearError();
    while (Script_TryGetToken(true))
        if (std::strcmp(Script_Token(), "@") == 0) return true;
    return false;
}

bool isMemberKind(int32_t kind) {
    return kind == EntityClassKind::Point || kind == EntityClassKind::Solid;
}

EntityClass* findOrMakeGroup(GameData* file, const QByteArray& name) {
    if (EntityClass* group = Fgd_FindClass(file, name.constData(), EntityClassKind::Group)) return group;
    auto group = std::make_unique<EntityClass>();
    Fgd_InitClass(group.get());
    group->kind = EntityClassKind::Group;
    group->name = name;
    EntityClass* made = group.get();
    file->classes.emplace(name, std::move(group));
    return made;
}

// A file without group classes groups its classes by name prefix: "light_spot" and "light_torch"
// go into a group "light", which a class named "light" then joins too.
void buildAutomaticGroups(GameData* file) {
    std::vector<EntityClass*> members;
    for (auto& entry : file->classes)
        if (isMemberKind(entry.second->kind)) members.push_back(entry.second.get());
    for (EntityClass* eclass : members) {
        const qsizetype underscore = eclass->name.indexOf('_');
        if (underscore < 1) continue;
        const QByteArray prefix = eclass->name.left(underscore);
        if (prefix.trimmed().isEmpty()) continue;
        eclass->group = findOrMakeGroup(file, prefix);
    }
    for (EntityClass* eclass : members)
        if (!eclass->group)
            eclass->group = Fgd_FindClass(file, eclass->name.constData(), EntityClassKind::Group);
}

// The configuration's files in look-up order: the last-listed first, so its classes win.
template <typename Visit> EntityClass* searchConfig(const GameConfig* config, Visit visit) {
    const GameDataRegistry* registry = Fgd_Registry();
    if (!config || !registry) return nullptr;
    for (const QString& path : config->precachedGameData) {
        const GameData* file = registry->files.value(path, nullptr);
        if (!file || file->loadState == GameDataState::NotLoaded) continue;
        if (EntityClass* found = visit(file)) return found;
    }
    return nullptr;
}

} // namespace

GameDataRegistry::~GameDataRegistry() {
    Fgd_FreeAll(this);
}

GameDataRegistry* Fgd_Registry() {
    GameDataHost* host = GameData_Host();
    return host ? &host->gameData() : nullptr;
}

GameData* Fgd_Acquire(GameDataRegistry* registry, const QString& path) {
    if (!registry) return nullptr;
    if (GameData* file = registry->files.value(path, nullptr)) {
        ++file->refCount;
        return file;
    }
    auto* file = new GameData;
    file->path = path;
    file->fileName = QFileInfo(path).fileName();
    registry->files.insert(path, file);
    return file;
}

void Fgd_Release(GameDataRegistry* registry, const QString& path) {
    if (!registry) return;
    GameData* file = registry->files.value(path, nullptr);
    if (!file || --file->refCount > 0) return;
    registry->files.remove(path);
    rebindAndFree(takeClasses(file));
    delete file;
}

void Fgd_FreeAll(GameDataRegistry* registry) {
    if (!registry) return;
    for (GameData* file : std::as_const(registry->files))
        delete file;
    registry->files.clear();
}

bool Fgd_Load(GameData* file, bool headersOnly) {
    if (!file) return false;
    if (headersOnly ? file->loadState != GameDataState::NotLoaded : file->loadState == GameDataState::Loaded)
        return true;
    // A headers-only load is replaced by a full one; its classes live until users re-bound.
    ClassList old = takeClasses(file);

    // An absolute path gives the tokenizer the folder that "include" names are taken from.
    const QString absolute = QFileInfo(file->path).absoluteFilePath();
    if (!Script_LoadFile(Path_ToNative(absolute).constData(), kFgdScriptFlags)) {
        rebindAndFree(std::move(old));
        return false;
    }
    Script_SetErrorFileNames(true);
    Fgd_BeginFile(absolute);
    if (skipToSection())
        while (Script_TryGetToken(true)) {
            Fgd_ParseSection(file, headersOnly);
            if (!skipToSection()) break;
        }
    Script_Close();
    Script_SetErrorFileNames(false);

    if (!headersOnly && !file->hasGroupClasses) buildAutomaticGroups(file);
    file->loadState = headersOnly ? GameDataState::HeadersOnly : GameDataState::Loaded;
    // Entities left unbound by a clear find their classes again.
    rebindAndFree(std::move(old), true);
    return true;
}

void Fgd_ClearClasses(GameData* file) {
    if (file) rebindAndFree(takeClasses(file));
}

void Fgd_PrecacheModels(GameData* file, const QString& paletteName) {
    if (!file) return;
    // A second precache would hold every model twice, and one clear releases only once.
    if (file->modelsPrecached) return;
    ModelCache* cache = Model_Cache();
    if (!cache) return;
    const uint8_t* palette = paletteName.isEmpty() ? nullptr : Tex_FindPalette(paletteName);
    forEachModelPath(file, [cache, palette](const QByteArray& name, bool sprite) {
        const QString path = Text_FromWindows1251(name);
        sprite ? (void)Model_AcquireSprite(cache, path, palette)
               : (void)Model_AcquireModel(cache, path, palette);
    });
    file->modelsPrecached = true;
}

bool Fgd_RegisterClass(GameData* file, std::unique_ptr<EntityClass> eclass) {
    const auto range = file->classes.equal_range(eclass->name);
    for (auto it = range.first; it != range.second; ++it)
        if (it->second->kind == eclass->kind) {
            Fgd_Warning("class already defined: `%s'", eclass->name.constData());
            return false;
        }
    EntityClass* entered = eclass.get();
    file->classes.emplace_hint(range.second, eclass->name, std::move(eclass));
    switch (entered->kind) {
    case EntityClassKind::World:
    case EntityClassKind::Solid:
        file->solidClasses.insert(entered->name, entered);
        break;
    case EntityClassKind::Point:
        file->pointClasses.insert(entered->name, entered);
        break;
    case EntityClassKind::Group:
        file->hasGroupClasses = true;
        break;
    default:
        break;
    }
    return true;
}

EntityClass* Fgd_FindClass(const GameData* file, const char* name, int32_t kind) {
    if (!file || !name) return nullptr;
    const QByteArray key(name);
    switch (kind) {
    case EntityClassKind::World:
    case EntityClassKind::Solid:
        return file->solidClasses.value(key, nullptr);
    case EntityClassKind::Point:
        return file->pointClasses.value(key, nullptr);
    case EntityClassKind::Base:
    case EntityClassKind::Group: {
        const auto range = file->classes.equal_range(key);
        for (auto it = range.first; it != range.second; ++it)
            if (it->second->kind == kind) return it->second.get();
        return nullptr;
    }
    default:
        return nullptr;
    }
}

EntityClass* Fgd_FindClassByName(const GameData* file, const QByteArray& name) {
    if (!file) return nullptr;
    const auto it = file->classes.lower_bound(name); // the first of equal names
    return it == file->classes.end() || it->first != name ? nullptr : it->second.get();
}

EntityClass* Fgd_FindClassInConfig(const GameConfig* config, const char* name, int32_t selector) {
    if (!name) return nullptr;
    return searchConfig(config, [&](const GameData* file) {
        switch (selector) {
        case ClassSelector::Point:
            return Fgd_FindClass(file, name, EntityClassKind::Point);
        case ClassSelector::World:
            return Fgd_FindClass(file, name, EntityClassKind::World);
        case ClassSelector::Any:
            return Fgd_FindClassByName(file, QByteArray(name));
        default:
            return Fgd_FindClass(file, name, EntityClassKind::Solid);
        }
    });
}

EntityClass* Fgd_FindWorldClass(const GameConfig* config) {
    return searchConfig(config, [](const GameData* file) -> EntityClass* {
        for (const auto& entry : file->classes)
            if (entry.second->kind == EntityClassKind::World) return entry.second.get();
        return nullptr;
    });
}
