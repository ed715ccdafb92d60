#include "gamedata/MapProfile.h"

#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/GameConfig.h"

namespace {

// Every text field of the record as offset and size, in record order.
struct TextField {
    size_t offset;
    size_t size;
};
#define PROFILE_TEXT(field)                                                                                  \
    { offsetof(MapProfileRecord, field), sizeof(MapProfileRecord::field) }
constexpr TextField kTextFields[] = {
    PROFILE_TEXT(name),
    PROFILE_TEXT(title),
    PROFILE_TEXT(compiledExtension),
    PROFILE_TEXT(textureExtensions),
    PROFILE_TEXT(packageExtensions),
    PROFILE_TEXT(archiveExtensions),
    PROFILE_TEXT(spriteExtensions),
    PROFILE_TEXT(modelExtensions),
    PROFILE_TEXT(soundExtensions),
    PROFILE_TEXT(particleExtensions),
    PROFILE_TEXT(instanceExtensions),
    PROFILE_TEXT(scriptExtensions),
    PROFILE_TEXT(skyExtensions),
    PROFILE_TEXT(skySuffixes),
    PROFILE_TEXT(spriteFolder),
    PROFILE_TEXT(modelFolder),
    PROFILE_TEXT(soundFolder),
    PROFILE_TEXT(particleFolder),
    PROFILE_TEXT(prefabFolder),
    PROFILE_TEXT(scriptFolder),
    PROFILE_TEXT(textureFolder),
    PROFILE_TEXT(shaderFolder),
    PROFILE_TEXT(skyFolder),
    PROFILE_TEXT(csgSwitch),
    PROFILE_TEXT(bspSwitch),
    PROFILE_TEXT(visSwitch),
    PROFILE_TEXT(lightSwitch),
    PROFILE_TEXT(runSwitch),
    PROFILE_TEXT(playerStartClass),
    PROFILE_TEXT(lightClass),
    PROFILE_TEXT(decalClass),
    PROFILE_TEXT(defaultSky),
    PROFILE_TEXT(triggerTexture),
    PROFILE_TEXT(nullTexture),
    PROFILE_TEXT(wallTexture),
    PROFILE_TEXT(ceilingTexture),
    PROFILE_TEXT(floorTexture),
    PROFILE_TEXT(targetPrefixes),
};
#undef PROFILE_TEXT

const MapProfileRecord* lookUp(const GameConfigManager* manager) {
    if (!manager) manager = GameCfg_Manager();
    if (!manager || !manager->current) return nullptr;
    auto found = manager->profiles.find(Text_ToWindows1251(manager->current->MapProfile));
    return found != manager->profiles.end() ? &found->second : nullptr;
}

} // namespace

const MapProfileRecord* GameCfg_EmptyProfile() {
    static const MapProfileRecord empty = [] {
        MapProfileRecord record{};
        std::memcpy(record.name, "(null)", 7);
        std::memcpy(record.title, "???", 4);
        return record;
    }();
    return &empty;
}

void GameCfg_RegisterProfile(GameConfigManager* manager, void* owner, const MapProfileRecord* record) {
    if (!manager || !record) return;
    if (!std::memchr(record->name, 0, sizeof record->name)) {
        Sys_Warning("profile name is not terminated!");
        return;
    }
    const QByteArray name(record->name);
    if (name.isEmpty()) {
        Sys_Warning("empty profile name!");
        return;
    }
    if (manager->profiles.count(name)) {
        Sys_Warning("profile \"%s\" is already registered!", name.constData());
        return;
    }
    MapProfileRecord& copy = manager->profiles[name];
    std::memcpy(&copy, record, sizeof copy);
    copy.owner = owner;
    // Every later reader may take the fields as C strings.
    char* bytes = reinterpret_cast<char*>(&copy);
    for (const TextField& field : kTextFields) {
        if (std::memchr(bytes + field.offset, 0, field.size)) continue;
        Sys_Warning("profile \"%s\": text at offset %i is not terminated, cut to %i characters",
                    name.constData(), static_cast<int>(field.offset), static_cast<int>(field.size - 1));
        bytes[field.offset + field.size - 1] = '\0';
    }
}

MapProfileRecord* GameCfg_FindProfile(GameConfigManager* manager, const char* name) {
    if (!manager || !name) return nullptr;
    auto found = manager->profiles.find(QByteArray(name));
    return found != manager->profiles.end() ? &found->second : nullptr;
}

void GameCfg_FreeProfiles(GameConfigManager* manager) {
    if (manager) manager->profiles.clear();
}

const MapProfileRecord* GameCfg_CurrentProfile(const GameConfigManager* manager) {
    const MapProfileRecord* profile = lookUp(manager);
    return profile ? profile : GameCfg_EmptyProfile();
}

bool GameCfg_HasCurrentProfile(const GameConfigManager* manager) {
    return lookUp(manager) != nullptr;
}
