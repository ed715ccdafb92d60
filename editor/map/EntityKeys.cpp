// Entity key/values, class binding and the update that re-reads what the keys say.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameConfig.h"
#include "gamedata/MapProfile.h"
#include "gamedata/SkyManager.h"
#include "kstdlib/kmath.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/WorldHooks.h"

namespace {

bool startsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool isEmpty(const char* text) {
    return !text || !*text;
}

// Colour and amount bytes come from unclamped numbers in the keys.
uint8_t toByte(float value) {
    if (!(value > 0.0f)) return 0;
    return value >= 255.0f ? 255 : static_cast<uint8_t>(value);
}

uint8_t toByte(int32_t value) {
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// sscanf "%f %f %f" into the vector; a missing key leaves it unchanged.
void readVector(const EPair* pair, float out[3]) {
    if (pair && pair->value) Key_ParseFloats(pair->value, out, 3);
}

} // namespace

// ---- Key/values --------------------------------------------------------------------------------------

EPair* cMapEntity::findKey(const char* key) const {
    return EPair_Find(record->epairs, key);
}

EPair* cMapEntity::setKeyValue(const char* key, const char* value) {
    EPair* pair = findKey(key);
    if (!pair) return nullptr;
    if (pair->value && value && std::strcmp(pair->value, value) == 0) return pair;
    if (!pair->value && !value) return pair;
    markModified();
    EPair_SetValue(pair, value);
    return pair;
}

EPair* cMapEntity::appendKeyValue(const char* key, const char* value) {
    markModified();
    return EPair_Append(&record->epairs, key, value);
}

EPair* cMapEntity::prependKeyValue(const char* key, const char* value) {
    markModified();
    return EPair_Prepend(&record->epairs, key, value);
}

void cMapEntity::removeKey(const char* key) {
    if (EPair_RemoveKey(&record->epairs, key) > 0) markModified();
}

void cMapEntity::removeEPair(EPair* target) {
    for (EPair** link = &record->epairs; *link; link = &(*link)->next)
        if (*link == target) {
            markModified();
            *link = target->next;
            EPair_Free(target);
            return;
        }
}

const char* cMapEntity::keyName(int32_t role) const {
    if (role < 0 || role >= kEntityKeyRoles) return "";
    return record->keyNames[role] ? record->keyNames[role] : EntitySpecialKeys[role].defaultName;
}

// ---- Class binding -------------------------------------------------------------------------------------

void cMapEntity::setClass(EntityClass* eclass) {
    if (!Sys_Settings().KeepDefaultEpairs && entityClass && eclass && eclass != entityClass) {
        for (const EntityProperty& property : entityClass->properties) {
            if (property.defaultValue.isEmpty()) continue;
            EPair* pair = findKey(property.name.constData());
            if (pair && pair->value && property.defaultValue == pair->value) removeEPair(pair);
        }
    }
    entityClass = eclass;

    record->flags &= ~(EntityFlag::ItemOrWeapon | EntityFlag::PathLike);
    if (const char* name = record->classname) {
        if (startsWith(name, "item_") || startsWith(name, "Item") || startsWith(name, "weapon_") ||
            startsWith(name, "Weapon"))
            record->flags |= EntityFlag::ItemOrWeapon;
        if (startsWith(name, "path_") || std::strstr(name, "Path")) record->flags |= EntityFlag::PathLike;
    }
    if (eclass && (eclass->helpers & EntityClassHelper::Path)) record->flags |= EntityFlag::PathLike;

    if (!eclass) {
        resetBounds();
        return;
    }
    if (eclass->kind == EntityClassKind::Point) {
        record->flags |= EntityFlag::Point;
        for (int i = 0; i < 3; ++i) {
            record->mins[i] = record->origin[i] + eclass->mins[i];
            record->maxs[i] = record->origin[i] + eclass->maxs[i];
        }
    } else {
        record->flags &= ~EntityFlag::Point;
    }
    if (record->flags & EntityFlag::World) {
        displayColor = kEntityWorldColor;
    } else {
        const uint8_t* rgba = eclass->color;
        displayColor = Color_FromBytes(rgba[0], rgba[1], rgba[2], rgba[3]);
    }
}

void cMapEntity::nameKeysFromClass() {
    if (entityClass)
        for (const EntityProperty& property : entityClass->properties)
            Fgd_SetSpecialKey(record->keyNames, property);
    Fgd_FillDefaultSpecialKeys(record->keyNames);
}

void cMapEntity::refreshKeyNames(bool keep) {
    if (!keep) freeKeyNames();
    nameKeysFromClass();
}

void cMapEntity::applyClassKeys(bool reset) {
    if (reset) freeKeyNames();
    if (!entityClass) {
        Fgd_FillDefaultSpecialKeys(record->keyNames);
        updateTargets();
        rebuildModel(false);
        return;
    }

    EPair* fresh = nullptr;
    for (const EntityProperty& property : entityClass->properties) {
        Fgd_SetSpecialKey(record->keyNames, property);
        if (!reset || property.defaultValue.isEmpty()) continue;
        const char* key = property.name.constData();
        EPair* pair;
        if (EPair* old = findKey(key)) {
            if (property.type == PropertyType::Flags) {
                char text[16];
                std::snprintf(text, sizeof text, "%i",
                              Key_ToInt(old->value) | Key_ToInt(property.defaultValue.constData()));
                pair = EPair_Prepend(&fresh, key, text);
            } else {
                pair = EPair_Prepend(&fresh, key, old->value);
            }
            EPair_SetValue(old, "");
        } else {
            pair = EPair_Prepend(&fresh, key, property.defaultValue.constData());
        }
        if (property.type == PropertyType::Flags) record->spawnflags = Key_ToInt(pair->value);
    }
    Fgd_FillDefaultSpecialKeys(record->keyNames);

    for (int32_t role : {KEY_STUDIO_MODEL, KEY_TEXTURE}) {
        const char* key = keyName(role);
        if (EPair_Find(fresh, key)) continue;
        if (EPair* old = findKey(key)) {
            EPair_Prepend(&fresh, old->key, old->value);
            EPair_SetValue(old, "");
        }
    }

    EPair** tail = &fresh;
    while (*tail)
        tail = &(*tail)->next;
    for (EPair* old = record->epairs; old; old = old->next)
        if (!isEmpty(old->key) && !isEmpty(old->value)) {
            EPair_Append(tail, old->key, old->value);
            tail = &(*tail)->next;
        }
    EPair_FreeList(&record->epairs);
    record->epairs = fresh;

    updateTargets();
    readRenderKeys();
    readModelKeys();
    rebuildModel(false);
}

void cMapEntity::update(uint32_t bits) {
    if (bits & EntityUpdate::KeysChanged) {
        if (!entityClass) {
            if (record->firstBrush)
                record->flags &= ~EntityFlag::Point;
            else
                record->flags |= EntityFlag::Point;
        }
        record->flags |= EntityFlag::RefreshAfterLoad;
        if (entityClass)
            nameKeysFromClass();
        else
            Fgd_FillDefaultSpecialKeys(record->keyNames);
        readVector(findKey(keyName(KEY_ORIGIN)), record->origin);
        readVector(findKey(keyName(KEY_ANGLES)), record->angles);
        if (const EPair* pair = findKey(keyName(KEY_SPAWNFLAGS))) record->spawnflags = Key_ToInt(pair->value);
        bits |= EntityUpdate::Implied;
    }

    if (!(record->flags & EntityFlag::Point)) {
        if (record->firstBrush) {
            K_ClearBounds(record->mins, record->maxs);
            for (BrushRecord* brush = record->firstBrush; brush; brush = brush->next) {
                if (brush->flags & BrushFlags::NeedsUpdate) brush->handle->update(bits);
                K_AddPointToBounds(brush->mins, record->mins, record->maxs);
                K_AddPointToBounds(brush->maxs, record->mins, record->maxs);
            }
        } else {
            std::memset(record->mins, 0, sizeof record->mins);
            std::memset(record->maxs, 0, sizeof record->maxs);
        }
    }

    if (bits & EntityUpdate::ClassKeys) {
        if (!(bits & EntityUpdate::KeysChanged)) applyClassKeys(bits & EntityUpdate::ResetClassKeys);
        updateTargets();
    }
    if (bits & EntityUpdate::RenderKeys) readRenderKeys();
    if (bits & EntityUpdate::ModelKeys) readModelKeys();
    if ((bits & EntityUpdate::SkyKeys) && (record->flags & EntityFlag::World)) readSkyKeys();

    if (!(record->flags & EntityFlag::RefreshAfterLoad)) {
        if (bits & EntityUpdate::RebuildModel)
            rebuildModel(false);
        else if (record->modelKind == EntityModelKind::Sprite || record->modelKind == EntityModelKind::Model)
            updateModelBounds(false);
        if (!(record->flags & EntityFlag::World)) World_CullUpdate(record->owner, record);
    }
    record->flags &= ~EntityFlag::NeedsUpdate;
}

void cMapEntity::updateTargets() {
    const EPair* named = findKey(keyName(KEY_TARGETNAME));
    if (named && !isEmpty(named->value)) {
        if (!record->targetname || std::strcmp(record->targetname, named->value) != 0) {
            Sys_Free(record->targetname);
            record->targetname = Sys_StrDup(named->value);
        }
    } else {
        Sys_Free(record->targetname);
        record->targetname = nullptr;
    }

    targets.clear();
    const MapProfileRecord* profile = GameCfg_CurrentProfile();
    const bool hasProfile = GameCfg_HasCurrentProfile();
    auto add = [&](EPair* pair) {
        const char* name = pair->value;
        if (hasProfile && *name && std::strchr(profile->targetPrefixes, *name)) ++name;
        targets.push_back({name, pair});
    };
    const char* targetKey = keyName(KEY_TARGET);
    if (entityClass)
        for (const EntityProperty& property : entityClass->properties) {
            if (property.type != PropertyType::TargetDestination ||
                strcasecmp(property.name.constData(), targetKey) == 0)
                continue;
            EPair* pair = findKey(property.name.constData());
            if (pair && !isEmpty(pair->value)) add(pair);
        }
    EPair* pair = findKey(targetKey);
    if (pair && !isEmpty(pair->value)) add(pair);
}

void cMapEntity::readRenderKeys() {
    record->blendState = 0;
    std::memset(record->renderColor, 0, 3);
    record->renderMode = 0;
    record->renderFx = 0;
    record->renderColor[3] = 255;
    record->flags &= ~EntityFlag::Blended;

    const uint32_t profileFlags = GameCfg_CurrentProfile()->capabilities;
    const EPair *mode = nullptr, *fx = nullptr, *amount = nullptr, *color = nullptr, *alpha = nullptr;
    if (profileFlags & MAP_PROFILE_RENDER_KEYS) {
        mode = findKey("rendermode");
        fx = findKey("renderfx");
        amount = findKey("renderamt");
        color = findKey("rendercolor");
    }
    if (profileFlags & MAP_PROFILE_ALPHA_KEY) alpha = findKey("alpha");
    if (!color) color = findKey("color");
    if (!color) color = findKey("_color");
    if (!color) color = findKey((profileFlags & MAP_PROFILE_NO_LIGHT_COLOR) ? "light" : "_light");

    if (mode) record->renderMode = Key_ToInt(mode->value);
    if (fx) record->renderFx = Key_ToInt(fx->value);
    if (amount) record->renderColor[3] = toByte(Key_ToInt(amount->value));

    if (color) {
        float rgb[3] = {0, 0, 0};
        Key_ParseFloats(color->value, rgb, 3);
        if (std::max({rgb[0], rgb[1], rgb[2]}) < 1.001f)
            for (float& c : rgb)
                c *= 255.0f;
        for (int i = 0; i < 3; ++i)
            record->renderColor[i] = toByte(rgb[i]);
    }
    if (!record->renderColor[0] && !record->renderColor[1] && !record->renderColor[2])
        std::memset(record->renderColor, 255, 3);

    if (alpha) {
        record->renderColor[3] = toByte(Key_ToFloat(alpha->value) * 255.0f);
        if (record->renderColor[3] != 0 && record->renderColor[3] != 255) record->renderMode = 5;
    }
    if (amount && record->renderMode == 0 && entityClass &&
        (entityClass->helpers & EntityClassHelper::Alpha) && record->renderColor[3] != 0 &&
        record->renderColor[3] != 255)
        record->renderMode = 5;

    switch (record->renderMode) {
    case 1:
    case 2:
        record->blendState = EntityBlendState::Additive;
        break;
    case 3:
    case 5:
        record->blendState = EntityBlendState::Alpha;
        break;
    case 4:
        record->blendState = EntityBlendState::AlphaTest;
        if (record->renderColor[3]) record->renderColor[3] = 255;
        break;
    default:
        record->blendState = EntityBlendState::Opaque;
        break;
    }
    if (Sys_Settings().EntityTransparency && (record->blendState & 0x400FFu))
        record->flags |= EntityFlag::Blended;
}

void cMapEntity::readModelKeys() {
    const int32_t oldSequence = record->sequence;
    std::memset(&record->body, 0, 48);
    record->framerate = 10.0f;
    record->scale = 1.0f;
    if (entityClass) {
        record->body = entityClass->body;
        record->skin = entityClass->skin;
        record->sequence = entityClass->sequence;
    }
    if (const EPair* p = findKey("body")) record->body = int16_t(Key_ToInt(p->value));
    if (const EPair* p = findKey("skin")) record->skin = int16_t(Key_ToInt(p->value));
    if (const EPair* p = findKey("sequence")) record->sequence = Key_ToInt(p->value);
    if (const EPair* p = findKey("framerate")) record->framerate = Key_ToFloat(p->value);
    if (const EPair* p = findKey("radius")) record->radius = Key_ToFloat(p->value);
    const EPair* scale = findKey(keyName(KEY_SCALE));
    if (scale) record->scale = Key_ToFloat(scale->value);

    if (scale &&
        (record->modelKind == EntityModelKind::Sprite || record->modelKind == EntityModelKind::Model))
        updateModelBounds(true);
    if (record->modelKind == EntityModelKind::Model && record->sequence != oldSequence)
        updateModelBounds(false);
}

void cMapEntity::readSkyKeys() {
    if (!World_Hooks(record->owner) || !(record->flags & EntityFlag::World)) return;
    const MapProfileRecord* profile = GameCfg_CurrentProfile();
    void* sky = nullptr;
    if (profile->capabilities & MAP_PROFILE_SKY_NAME) {
        const SkyManager* skies = Sky_Manager();
        const GameConfig* config = GameCfg_Current();
        if (skies && config) {
            // A missing or empty sky name asks for the profile's default sky.
            const EPair* p = findKey(keyName(KEY_SKYNAME));
            const QString name = p && p->value && *p->value
                                     ? Text_FromWindows1251(p->value)
                                     : Text_FromWindows1251(profile->defaultSky,
                                                            qsizetype(strnlen(profile->defaultSky,
                                                                              sizeof profile->defaultSky)));
            if (const SkyEntry* entry = Sky_FindForConfig(skies, config, name)) sky = entry->shader;
        }
    }
    float axis[3] = {0, 0, 0};
    float rotation = 0.0f;
    if (profile->capabilities & MAP_PROFILE_SKY_AXIS) {
        readVector(findKey("skyaxis"), axis);
        if (axis[0] != 0.0f || axis[1] != 0.0f || axis[2] != 0.0f)
            if (const EPair* p = findKey("skyrotate")) rotation = Key_ToFloat(p->value);
    }
    World_SetSky(record->owner, sky, axis, rotation);
}

// ---- Angles and scale ----------------------------------------------------------------------------------

void cMapEntity::setAngles(const float angles[3]) {
    float rounded[3];
    for (int i = 0; i < 3; ++i) {
        const float a = angles[i];
        float r = a > 0.0f ? std::floor(a + 0.5f) : a < 0.0f ? std::ceil(a - 0.5f) : 0.0f;
        if (r == 0.0f || std::isnan(r)) r = 0.0f; // never "-0"
        rounded[i] = r;
    }
    char text[80];
    char parts[3][24];
    for (int i = 0; i < 3; ++i)
        Key_FormatFloat(parts[i], sizeof parts[i], rounded[i]);
    std::snprintf(text, sizeof text, "%s %s %s", parts[0], parts[1], parts[2]);
    std::memcpy(record->angles, rounded, sizeof rounded);

    const char* key = keyName(KEY_ANGLES);
    if (EPair* pair = findKey(key)) {
        EPair_SetValue(pair, text);
    } else if (rounded[0] != 0.0f || rounded[1] != 0.0f || rounded[2] != 0.0f) {
        markModified();
        EPair_Prepend(&record->epairs, key, text);
    }
}

namespace {

void anglesFromVectors(const float forward[3], const float right[3], const float up[3], float out[3]) {
    constexpr float kToDegrees = 180.0f / 3.1415927f;
    if (forward[2] > 0.998f) {
        out[0] = -90.0f;
        out[1] = std::atan2(up[1], up[0]) * kToDegrees;
        out[2] = 0.0f;
    } else if (forward[2] < -0.998f) {
        out[0] = 90.0f;
        out[1] = -std::atan2(up[1], up[0]) * kToDegrees;
        out[2] = 0.0f;
    } else {
        out[0] = -std::asin(forward[2]) * kToDegrees;
        out[1] = std::atan2(forward[1], forward[0]) * kToDegrees;
        out[2] = -std::atan2(right[2], up[2]) * kToDegrees;
    }
}

} // namespace

void cMapEntity::flipAngles(int32_t axis) {
    if (axis < 0 || axis > 2) return;
    float forward[3], right[3], up[3];
    K_AngleVectors(record->angles, forward, right, up);
    forward[axis] = -forward[axis];
    right[axis] = -right[axis];
    up[axis] = -up[axis];
    float angles[3];
    anglesFromVectors(forward, right, up, angles);
    setAngles(angles);
}

void cMapEntity::rotateAngles(const float m[9]) {
    const bool invertPitch = record->modelKind == EntityModelKind::Model &&
                             (GameCfg_CurrentProfile()->capabilities & MAP_PROFILE_MODEL_PITCH_INVERTED);
    float start[3] = {record->angles[0], record->angles[1], record->angles[2]};
    if (invertPitch) start[0] = -start[0];
    float v[3][3];
    K_AngleVectors(start, v[0], v[1], v[2]);
    for (auto& vec : v) {
        const float x = vec[0], y = vec[1], z = vec[2];
        for (int r = 0; r < 3; ++r)
            vec[r] = m[3 * r] * x + m[3 * r + 1] * y + m[3 * r + 2] * z;
        K_VectorNormalize(vec);
    }
    float angles[3];
    anglesFromVectors(v[0], v[1], v[2], angles);
    if (invertPitch) angles[0] = -angles[0];
    setAngles(angles);
}

void cMapEntity::applyScaleTransform(const EntityBoxTransform& t) {
    if (record->modelKind != EntityModelKind::Model || !record->model || !t.enabled) return;
    for (int32_t axis : t.axes)
        if (axis < 0 || axis > 2) return;
    const EntityModel* model = record->model;
    float oldMins[3], oldMaxs[3], newMins[3], newMaxs[3];
    for (int i = 0; i < 3; ++i) {
        oldMins[i] = record->origin[i] + model->mins[i] * record->scale;
        oldMaxs[i] = record->origin[i] + model->maxs[i] * record->scale;
    }
    // Only the moved sides follow the matrix; the others stay where they are.
    for (int i = 0; i < 3; ++i) {
        float lo[3] = {oldMins[0], oldMins[1], oldMins[2]};
        float hi[3] = {oldMaxs[0], oldMaxs[1], oldMaxs[2]};
        const float* m = t.matrix;
        auto move = [&](const float p[3]) {
            return m[4 * i] * (p[0] - t.reference[0]) + m[4 * i + 1] * (p[1] - t.reference[1]) +
                   m[4 * i + 2] * (p[2] - t.reference[2]) + t.reference[i] + m[4 * i + 3];
        };
        newMins[i] = (t.sideFlags & (1u << i)) ? move(lo) : oldMins[i];
        newMaxs[i] = (t.sideFlags & (8u << i)) ? move(hi) : oldMaxs[i];
        if (newMins[i] > newMaxs[i]) std::swap(newMins[i], newMaxs[i]);
    }
    float ratio = 0.0f;
    bool first = true;
    for (int32_t axis : t.axes) {
        const float extent = oldMaxs[axis] - oldMins[axis];
        if (!(std::fabs(extent) > 1e-6f)) continue;
        const float r = (newMaxs[axis] - newMins[axis]) / extent;
        ratio = first ? r : std::min(ratio, r);
        first = false;
    }
    if (first || !std::isfinite(ratio)) return;
    record->scale *= ratio;
    char text[32];
    Key_FormatFloat(text, sizeof text, record->scale, 3);
    const char* key = keyName(KEY_SCALE);
    if (findKey(key)) {
        setKeyValue(key, text);
    } else {
        markModified();
        EPair_Append(&record->epairs, key, text);
    }
}

// ---- Box tests -------------------------------------------------------------------------------------------

bool cMapEntity::touchesBox(const float mins[3], const float maxs[3]) const {
    for (int i = 0; i < 3; ++i)
        if (record->mins[i] > maxs[i] + 0.001f || record->maxs[i] < mins[i] - 0.001f) return false;
    return true;
}

bool cMapEntity::insideBox(const float mins[3], const float maxs[3]) const {
    for (int i = 0; i < 3; ++i)
        if (!(record->mins[i] > mins[i] - 0.001f && record->maxs[i] < maxs[i] + 0.001f)) return false;
    return true;
}

bool cMapEntity::centerInBox(const float mins[3], const float maxs[3]) const {
    for (int i = 0; i < 3; ++i) {
        const float c = record->firstBrush ? (record->mins[i] + record->maxs[i]) * 0.5f : record->origin[i];
        if (!(c > mins[i] - 0.001f && c < maxs[i] + 0.001f)) return false;
    }
    return true;
}
