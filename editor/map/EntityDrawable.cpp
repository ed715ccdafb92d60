// The drawable attached to a point entity (sprite, decal or model): which one the class and keys
// ask for, its bounds, and the rules that decide whether a view shows the entity.
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/editing/TextureLists.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureManager.h"
#include "map/Decal.h"
#include "map/MapEntity.h"

namespace {

constexpr uint32_t kShowModels = 0x10000; // render flag: views show models

void setBoundsAround(EntityRecord* e, float half) {
    for (int i = 0; i < 3; ++i) {
        e->mins[i] = e->origin[i] - half;
        e->maxs[i] = e->origin[i] + half;
    }
}

void setBoundsFromBox(EntityRecord* e, const float mins[3], const float maxs[3], float scale) {
    for (int i = 0; i < 3; ++i) {
        e->mins[i] = e->origin[i] + mins[i] * scale;
        e->maxs[i] = e->origin[i] + maxs[i] * scale;
    }
}

} // namespace

int32_t cMapEntity::chooseModel(const char** name, bool* icon) const {
    *name = nullptr;
    *icon = false;
    const EntityClass* ec = entityClass;
    if (!ec) return EntityModelKind::None;
    auto pick = [&](const QByteArray& fromClass, int32_t role) {
        if (!fromClass.isEmpty()) return fromClass.constData();
        const EPair* pair = findKey(keyName(role));
        return pair ? static_cast<const char*>(pair->value) : nullptr;
    };
    int32_t kind = EntityModelKind::None;
    if (ec->helpers & EntityClassHelper::Decal) {
        kind = EntityModelKind::Decal;
        *name = pick(ec->decal, KEY_TEXTURE);
    } else if (ec->helpers & EntityClassHelper::Sprite) {
        kind = EntityModelKind::Sprite;
        *name = pick(ec->sprite, KEY_SPRITE_MODEL);
    } else if (ec->helpers & EntityClassHelper::Studio) {
        kind = EntityModelKind::Model;
        *name = pick(ec->model, KEY_STUDIO_MODEL);
    } else if (!ec->iconSprite.isEmpty()) {
        kind = EntityModelKind::Sprite;
        *name = ec->iconSprite.constData();
        *icon = true;
    }
    if (!*name || !**name) return EntityModelKind::None;
    return kind;
}

void cMapEntity::rebuildModel(bool reload) {
    record->flags |= EntityFlag::NeedsUpdate;
    // Reloading from file belongs to the model cache, which keeps the entry across a reload.
    releaseModel();
    if (!(record->flags & EntityFlag::Point) || record->firstBrush) {
        record->flags &= ~EntityFlag::NeedsUpdate;
        return;
    }
    if (!entityClass) {
        setBoundsAround(record, 8.0f);
        record->flags &= ~EntityFlag::NeedsUpdate;
        return;
    }
    setBoundsFromBox(record, entityClass->mins, entityClass->maxs, 1.0f);

    const char* name;
    bool icon;
    const int32_t kind = chooseModel(&name, &icon);
    void* entry = nullptr;
    if (kind == EntityModelKind::Decal) {
        if (ShaderRecord* texture =
                TexList_FindShader(GameCfg_CurrentTextureLists(), Text_FromWindows1251(name))) {
            ++texture->refCount;
            entry = texture;
        }
    }
    // Sprites and models are acquired from the model cache, which is not part of the editor
    // yet: nothing loads, so they get no drawable.
    if (entry) {
        EntityModel* model = static_cast<EntityModel*>(Sys_Alloc(sizeof(EntityModel)));
        model->entry = entry;
        model->icon = model->iconFlag2 = icon;
        if (entityClass->helpers & EntityClassHelper::BobParms)
            std::memcpy(model->offsets, entityClass->bobParms, sizeof model->offsets);
        record->model = model;
        record->modelKind = kind;
        updateModelBounds(false);
    }
    record->flags &= ~EntityFlag::NeedsUpdate;
}

void cMapEntity::releaseModel() {
    EntityModel* model = record->model;
    if (model && record->modelKind == EntityModelKind::Decal) Decal_FreeFragments(model);
    if (model && record->modelKind == EntityModelKind::Decal && model->entry) {
        ShaderRecord* texture = static_cast<ShaderRecord*>(model->entry);
        if (texture->refCount > 0) --texture->refCount;
    }
    Sys_Free(model);
    record->model = nullptr;
    record->modelKind = EntityModelKind::None;
}

void cMapEntity::updateModelBounds(bool keepAnimation) {
    EntityModel* model = record->model;
    if (!model) return;
    const EntityClass* ec = entityClass;
    const uint32_t classFlags = ec ? ec->helpers : 0;
    switch (record->modelKind) {
    case EntityModelKind::Sprite: {
        float c = float(model->size);
        if (!model->icon) {
            if (classFlags & EntityClassHelper::Flare)
                c = std::min(c * record->scale, 128.0f) / 2.0f;
            else if (!(classFlags & EntityClassHelper::NoScale))
                c *= record->scale;
        }
        setBoundsAround(record, std::max(c, 1.0f));
        break;
    }
    case EntityModelKind::Decal: {
        const ShaderRecord* texture = static_cast<const ShaderRecord*>(model->entry);
        const float half = texture ? std::max(texture->width, texture->height) * 0.5f : 0.0f;
        for (int i = 0; i < 3; ++i) {
            model->mins[i] = record->origin[i] - half;
            model->maxs[i] = record->origin[i] + half;
        }
        Decal_Project(record, model);
        break;
    }
    case EntityModelKind::Model: {
        bool sized = false;
        for (int i = 0; i < 3; ++i)
            sized |= std::fabs(model->mins[i]) >= 0.001f || std::fabs(model->maxs[i]) >= 0.001f;
        if (sized) {
            const float scale = (classFlags & EntityClassHelper::NoScale) ? 1.0f : record->scale;
            setBoundsFromBox(record, model->mins, model->maxs, scale);
        } else if (ec) {
            std::memcpy(model->mins, ec->mins, sizeof model->mins);
            std::memcpy(model->maxs, ec->maxs, sizeof model->maxs);
            setBoundsFromBox(record, ec->mins, ec->maxs, 1.0f);
        } else {
            setBoundsAround(record, 8.0f);
        }
        break;
    }
    default:
        break;
    }
    if (!keepAnimation) {
        model->animTime = 0.0f;
        model->frame = 0;
    }
    if (!(record->flags & EntityFlag::World)) Map_CullUpdateEntity(Map_FromHandle(record->owner), record);
}

bool cMapEntity::filteredBy(int32_t hideMask) const {
    if ((hideMask & EntityHideMask::NoClass) && !entityClass) return true;
    if ((hideMask & EntityHideMask::ItemsAndWeapons) && (record->flags & EntityFlag::ItemOrWeapon))
        return true;
    if ((hideMask & EntityHideMask::PathLike) && (record->flags & EntityFlag::PathLike)) return true;
    return false;
}

bool cMapEntity::isVisible(int32_t hideMask) const {
    if (record->flags & (EntityFlag::NeedsUpdate | EntityFlag::Hidden)) return false;
    return !filteredBy(hideMask);
}

bool cMapEntity::showsAttachedModel(bool view3D, uint32_t renderFlags, const float camera[3],
                                    float modelDistance) {
    switch (record->modelKind) {
    case EntityModelKind::Sprite:
        return view3D;
    case EntityModelKind::Decal:
        if (record->flags & EntityFlag::ReprojectDecal) {
            record->flags &= ~EntityFlag::ReprojectDecal;
            updateModelBounds(true);
        }
        return view3D && record->model && record->model->fragments;
    case EntityModelKind::Model: {
        if (!(renderFlags & kShowModels)) return false;
        if (!view3D) return true;
        if (!camera) return false;
        float d2 = 0.0f;
        for (int i = 0; i < 3; ++i)
            d2 += (camera[i] - record->origin[i]) * (camera[i] - record->origin[i]);
        return std::sqrt(d2) <= modelDistance;
    }
    default:
        return false;
    }
}

bool cMapEntity::hasRadiusHandle() const {
    return entityClass && (entityClass->helpers & EntityClassHelper::Radius) && record->radius >= 1.0f;
}
