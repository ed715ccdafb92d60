// The drawable attached to a point entity (sprite, decal or model): which one the class and keys
// ask for, its bounds, and the rules that decide whether a view shows the entity.
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/ModelCache.h"
#include "gamedata/TexturePackage.h"
#include "gamedata/TextureManager.h"
#include "map/Decal.h"
#include "map/MapEntity.h"
#include "map/WorldHooks.h"

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

// The palette of the entity's game configuration, which formats that take one load with.
const uint8_t* paletteOf(const EntityRecord* e) {
    const GameConfig* config = World_GameConfig(e->owner);
    if (!config) config = GameCfg_Current();
    return config && !config->PaletteFile.isEmpty() ? Tex_FindPalette(config->PaletteFile) : nullptr;
}

// Half the larger side of a sprite's frame. A plugin sprite's frame is the plugin's own, so one
// without a texture counts as 16 units across.
int32_t spriteHalfSize(const SpriteCacheEntry* sprite) {
    if (sprite->texture) return std::max(sprite->texture->width, sprite->texture->height) / 2;
    return 8;
}

bool offsetsSet(const float* offsets) {
    return offsets[0] != 0.0f || offsets[1] != 0.0f || offsets[2] != 0.0f;
}

// The box of one model: its format's answer, else the box the load stored.
void modelBox(ModelCacheEntry* entry, uint32_t flags, EntityRecord* e, float mins[3], float maxs[3]) {
    if (entry->bounds && entry->bounds(entry->formatId, mins, maxs, int32_t(flags), entry, e)) return;
    std::memcpy(mins, entry->mins, sizeof entry->mins);
    std::memcpy(maxs, entry->maxs, sizeof entry->maxs);
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
    if (reload && record->model)
        if (ModelCache* cache = Model_Cache()) {
            // The cache keeps the entry across the reload; every entity showing it sees the new file.
            if (record->modelKind == EntityModelKind::Sprite)
                Model_ReloadSprite(cache, static_cast<SpriteCacheEntry*>(record->model->entry),
                                   paletteOf(record));
            else if (record->modelKind == EntityModelKind::Model)
                Model_ReloadModel(cache, static_cast<ModelCacheEntry*>(record->model->entry),
                                  paletteOf(record));
        }
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
    ModelCache* cache = Model_Cache();
    void* entry = nullptr;
    void* entry2 = nullptr;
    int32_t size = 0;
    if (kind == EntityModelKind::Decal) {
        if (ShaderRecord* texture = GameCfg_FindShader(Text_FromWindows1251(name))) {
            ++texture->refCount;
            entry = texture;
        }
    } else if (kind == EntityModelKind::Sprite && cache) {
        SpriteCacheEntry* sprite = Model_AcquireSprite(cache, Text_FromWindows1251(name), paletteOf(record));
        if (sprite->loaded && (sprite->texture || sprite->data)) {
            entry = sprite;
            size = icon ? 8 : spriteHalfSize(sprite);
        } else {
            Model_ReleaseSpriteEntry(cache, sprite);
        }
    } else if (kind == EntityModelKind::Model && cache) {
        ModelCacheEntry* model = Model_AcquireModel(cache, Text_FromWindows1251(name), paletteOf(record));
        if (model->loaded) {
            entry = model;
            if (!entityClass->model2.isEmpty() && (entityClass->helpers & EntityClassHelper::Studio)) {
                ModelCacheEntry* second =
                    Model_AcquireModel(cache, Text_FromWindows1251(entityClass->model2), paletteOf(record));
                if (second->loaded)
                    entry2 = second;
                else
                    Model_ReleaseModelEntry(cache, second);
            }
        } else {
            Model_ReleaseModelEntry(cache, model);
        }
    }
    if (entry) {
        EntityModel* model = static_cast<EntityModel*>(Sys_Alloc(sizeof(EntityModel)));
        model->entry = entry;
        model->entry2 = entry2;
        model->size = size;
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
    if (model) {
        ModelCache* cache = Model_Cache();
        switch (record->modelKind) {
        case EntityModelKind::Decal:
            Decal_FreeFragments(model);
            if (ShaderRecord* texture = static_cast<ShaderRecord*>(model->entry);
                texture && texture->refCount > 0)
                --texture->refCount;
            break;
        case EntityModelKind::Sprite:
            Model_ReleaseSpriteEntry(cache, static_cast<SpriteCacheEntry*>(model->entry));
            break;
        case EntityModelKind::Model:
            Model_ReleaseModelEntry(cache, static_cast<ModelCacheEntry*>(model->entry));
            Model_ReleaseModelEntry(cache, static_cast<ModelCacheEntry*>(model->entry2));
            break;
        default:
            break;
        }
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
        float box[2][3];
        const uint32_t extra = (classFlags & EntityClassHelper::EccentricFix) ? MODEL_CENTERED : 0;
        modelBox(static_cast<ModelCacheEntry*>(model->entry),
                 extra | (offsetsSet(model->offsets) ? MODEL_ITEM_MOTION : 0), record, box[0], box[1]);
        if (auto* second = static_cast<ModelCacheEntry*>(model->entry2)) {
            float more[2][3];
            modelBox(second, extra | (offsetsSet(model->offsets + 3) ? MODEL_ITEM_MOTION : 0), record,
                     more[0], more[1]);
            for (int i = 0; i < 3; ++i) {
                box[0][i] = std::min(box[0][i], more[0][i]);
                box[1][i] = std::max(box[1][i], more[1][i]);
            }
        }
        bool sized = false;
        for (int i = 0; i < 3; ++i)
            sized |= std::fabs(box[0][i]) >= 0.001f || std::fabs(box[1][i]) >= 0.001f;
        if (sized) {
            std::memcpy(model->mins, box[0], sizeof model->mins);
            std::memcpy(model->maxs, box[1], sizeof model->maxs);
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
    if (!(record->flags & EntityFlag::World)) World_CullUpdate(record->owner, record);
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
