#include "gamedata/EntityClass.h"

#include <strings.h>

#include "core/System.h"
#include "gamedata/GameConfig.h"

const EntitySpecialKey EntitySpecialKeys[KEY_ROLE_COUNT] = {
    {"spawnflags", PropertyType::Flags},
    {"origin", PropertyType::Origin},
    {"angles", PropertyType::Angle},
    {"scale", PropertyType::Scale},
    {"targetname", PropertyType::TargetSource},
    {"target", PropertyType::TargetDestination},
    {"skyname", PropertyType::Sky},
    {"model", PropertyType::Studio},
    {"model", PropertyType::Sprite},
    {"texture", PropertyType::Texture},
    {"model", PropertyType::Particle},
    {"model", PropertyType::Instance},
    {"script", PropertyType::Script},
};

int32_t Fgd_KeyRoleOfType(PropertyType type) {
    for (int32_t role = 0; role < KEY_ROLE_COUNT; ++role)
        if (EntitySpecialKeys[role].type == type) return role;
    return -1;
}

void Fgd_SetSpecialKey(char* names[KEY_ROLE_COUNT], const EntityProperty& property) {
    const int32_t role = Fgd_KeyRoleOfType(property.type);
    if (role < 0 || property.name.isEmpty()) return;
    if (names[role] && property.name != EntitySpecialKeys[role].defaultName) return;
    Sys_Free(names[role]);
    names[role] = Sys_StrDup(property.name.constData());
}

void Fgd_FillDefaultSpecialKeys(char* names[KEY_ROLE_COUNT]) {
    for (int32_t role = 0; role < KEY_ROLE_COUNT; ++role)
        if (!names[role]) names[role] = Sys_StrDup(EntitySpecialKeys[role].defaultName);
}

EntityClass* GameData::addClass(const QByteArray& name, int32_t kind) {
    auto eclass = std::make_unique<EntityClass>();
    eclass->name = name;
    eclass->kind = kind;
    classes.push_back(std::move(eclass));
    return classes.back().get();
}

GameData* GameDataRegistry::find(const QString& path) const {
    auto it = m_files.find(path);
    return it == m_files.end() ? nullptr : it->get();
}

GameData* GameDataRegistry::open(const QString& path) {
    if (GameData* data = find(path)) return data;
    auto data = std::make_shared<GameData>();
    data->path = path;
    m_files.insert(path, data);
    return data.get();
}

void GameDataRegistry::remove(const QString& path) {
    m_files.remove(path);
}

GameDataRegistry& GameData_Registry() {
    static GameDataRegistry registry;
    return registry;
}

EntityClass* Fgd_FindClass(const GameData* data, const char* name, int32_t kind) {
    if (!data || !name) return nullptr;
    for (const auto& eclass : data->classes)
        if (eclass->kind == kind && strcasecmp(eclass->name.constData(), name) == 0) return eclass.get();
    return nullptr;
}

EntityClass* Fgd_FindClassInConfig(const GameConfig* config, const char* name, int32_t selector) {
    if (!config || !name) return nullptr;
    static const int32_t kinds[3] = {EntityClassKind::Solid, EntityClassKind::Point, EntityClassKind::World};
    if (selector < 0 || selector > 2) return nullptr;
    for (const QString& path : config->entityDefinitionFiles)
        if (EntityClass* eclass = Fgd_FindClass(GameData_Registry().find(path), name, kinds[selector]))
            return eclass;
    return nullptr;
}

EntityClass* Fgd_FindWorldClass(const GameConfig* config) {
    if (!config) return nullptr;
    for (const QString& path : config->entityDefinitionFiles)
        if (const GameData* data = GameData_Registry().find(path))
            for (const auto& eclass : data->classes)
                if (eclass->kind == EntityClassKind::World) return eclass.get();
    return nullptr;
}
