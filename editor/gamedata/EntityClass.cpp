#include "gamedata/EntityClass.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

#include "core/System.h"

namespace {

struct TypeKeyword {
    const char* keyword;
    PropertyType type;
};

constexpr TypeKeyword kTypeKeywords[] = {
    {"string", PropertyType::String},
    {"integer", PropertyType::Integer},
    {"float", PropertyType::Float},
    {"origin", PropertyType::Origin},
    {"angle", PropertyType::Angle},
    {"vector", PropertyType::Vector},
    {"flags", PropertyType::Flags},
    {"choices", PropertyType::Choices},
    {"color1", PropertyType::Color1},
    {"color255", PropertyType::Color255},
    {"target_source", PropertyType::TargetSource},
    {"target_destination", PropertyType::TargetDestination},
    {"scale", PropertyType::Scale},
    {"sprite", PropertyType::Sprite},
    {"studio", PropertyType::Studio},
    {"sound", PropertyType::Sound},
    {"decal", PropertyType::Decal},
    {"shader", PropertyType::Shader},
    {"effect", PropertyType::Shader},
    {"texture", PropertyType::Texture},
    {"particle", PropertyType::Particle},
    {"instance", PropertyType::Instance},
    {"sky", PropertyType::Sky},
    {"script", PropertyType::Script},
};

} // namespace

bool Fgd_PropertyTypeFromKeyword(const char* keyword, PropertyType* type) {
    for (const TypeKeyword& entry : kTypeKeywords)
        if (keyword && strcasecmp(keyword, entry.keyword) == 0) {
            *type = entry.type;
            return true;
        }
    *type = PropertyType::String;
    return false;
}

// ---- Classes -------------------------------------------------------------------------------------

void Fgd_InitClass(EntityClass* eclass) {
    *eclass = EntityClass{};
    for (int i = 0; i < 3; ++i)
        eclass->mins[i] = eclass->maxs[i] = 0.0f;
    eclass->color[0] = eclass->color[1] = eclass->color[2] = 0;
    eclass->color[3] = 255;
}

bool Fgd_InheritBase(EntityClass* eclass, const EntityClass* base) {
    if (eclass->kind == EntityClassKind::Group) {
        eclass->group = const_cast<EntityClass*>(base);
        return true;
    }
    const uint32_t own = eclass->helpers;
    if (!(own & EntityClassHelper::Color)) std::memcpy(eclass->color, base->color, sizeof eclass->color);
    if (!(own & EntityClassHelper::Size)) {
        std::memcpy(eclass->mins, base->mins, sizeof eclass->mins);
        std::memcpy(eclass->maxs, base->maxs, sizeof eclass->maxs);
    }
    if (!(own & EntityClassHelper::Offset)) std::memcpy(eclass->offset, base->offset, sizeof eclass->offset);
    if (!(own & EntityClassHelper::Body)) eclass->body = base->body;
    if (!(own & EntityClassHelper::Skin)) eclass->skin = base->skin;
    if (!(own & EntityClassHelper::Sequence)) eclass->sequence = base->sequence;
    if (!(own & EntityClassHelper::BobParms))
        std::memcpy(eclass->bobParms, base->bobParms, sizeof eclass->bobParms);
    eclass->helpers |= base->helpers;

    for (auto path : {&EntityClass::iconSprite, &EntityClass::sprite, &EntityClass::particle,
                      &EntityClass::instance, &EntityClass::decal})
        if ((eclass->*path).isEmpty()) eclass->*path = base->*path;
    if (eclass->model.isEmpty()) {
        eclass->model = base->model;
        eclass->model2 = base->model2;
    }
    const size_t room = kMaxClassKeys - std::min(kMaxClassKeys, eclass->properties.size());
    const size_t taken = std::min(room, base->properties.size());
    eclass->properties.insert(eclass->properties.end(), base->properties.begin(),
                              base->properties.begin() + std::ptrdiff_t(taken));
    return taken == base->properties.size();
}

EntityProperty* Fgd_FindProperty(EntityClass* eclass, const QByteArray& name) {
    for (EntityProperty& property : eclass->properties)
        if (property.name == name) return &property;
    return nullptr;
}

// ---- Special key roles ---------------------------------------------------------------------------

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

void Fgd_SetSpecialKey(char* keys[KEY_ROLE_COUNT], const EntityProperty& property) {
    const int32_t role = Fgd_KeyRoleOfType(property.type);
    if (role < 0) return;
    if (keys[role] && strcasecmp(property.name.constData(), EntitySpecialKeys[role].defaultName) != 0) return;
    Sys_Free(keys[role]);
    keys[role] = Sys_StrDup(property.name.constData());
}

void Fgd_FillDefaultSpecialKeys(char* keys[KEY_ROLE_COUNT]) {
    for (int32_t role = 0; role < KEY_ROLE_COUNT; ++role)
        if (!keys[role]) keys[role] = Sys_StrDup(EntitySpecialKeys[role].defaultName);
}

void Fgd_CopySpecialKeys(char* keys[KEY_ROLE_COUNT], char* const sourceKeys[KEY_ROLE_COUNT]) {
    for (int32_t role = 0; role < KEY_ROLE_COUNT; ++role) {
        char* copy = Sys_StrDup(sourceKeys[role]);
        Sys_Free(keys[role]);
        keys[role] = copy;
    }
}
