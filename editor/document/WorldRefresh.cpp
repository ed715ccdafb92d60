#include "document/WorldRefresh.h"

#include <cmath>

#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "gamedata/EntityClass.h"
#include "gamedata/GameData.h"
#include "gamedata/TextureManager.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "map/MapBrush.h"
#include "map/FaceSource.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/TextureMatrix.h"

namespace {

template <class Fn> void forEachFace(MapWorld* world, Fn&& fn) {
    for (EntityRecord* e = world->entities; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                fn(f);
}

bool transparent(const ShaderRecord* texture) {
    return texture && (texture->flags & SHADER_TRANSPARENT);
}

void setBit(uint32_t& flags, uint32_t bit, bool on) {
    flags = on ? (flags | bit) : (flags & ~bit);
}

// A zero scale would divide by zero; such a face maps as if unscaled.
float safeScale(float scale) {
    return scale != 0.0f ? scale : 1.0f;
}

// A brush-primitive face read while its texture was unknown was converted with a placeholder
// size; with the texture loaded it is converted again with the real one.
void reconvertTextureMatrix(FaceRecord* f) {
    FaceSource* source = f->source;
    const ShaderRecord* texture = f->texture;
    if (!source || (source->flags & (FaceSourceFlags::Matrix | FaceSourceFlags::PlaceholderSize)) !=
                       (FaceSourceFlags::Matrix | FaceSourceFlags::PlaceholderSize))
        return;
    if (!texture || (texture->flags & SHADER_PLACEHOLDER) || texture->width <= 0 || texture->height <= 0 ||
        texture == Tex_CreateNoTexture())
        return;
    // The matrix belongs to the plane it was read with: a face turned since then keeps its mapping.
    const double(*p)[3] = source->points;
    double a[3], b[3];
    for (int i = 0; i < 3; ++i) {
        a[i] = p[0][i] - p[1][i];
        b[i] = p[2][i] - p[1][i];
    }
    double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int i = 0; i < 3; ++i)
        if (!(length > 0.0) || std::fabs(n[i] / length - f->normal[i]) > 1e-5) return;
    TexMatrix_ToTextureInfo(f->normal, source->matrix, texture->width, texture->height, &f->texInfo);
    source->width = texture->width;
    source->height = texture->height;
    source->flags &= ~FaceSourceFlags::PlaceholderSize;
}

} // namespace

void Map_RefreshTexturedFaces(MapWorld* world) {
    if (!world) return;
    forEachFace(world, [](FaceRecord* f) {
        cMapFace* face = f->handle;
        if (!face || !f->texture || !(f->texture->flags & SHADER_RELOADED)) return;
        setBit(f->flags, FaceFlags::Blended, transparent(f->texture));
        reconvertTextureMatrix(f);
        const bool reset = f->flags & FaceFlags::ResetAxes;
        if (reset) {
            f->flags &= ~FaceFlags::ResetAxes;
            face->resetTextureAxes();
        }
        face->refresh(reset);
    });
}

void Map_UpdateTextureTransparency(MapWorld* world) {
    if (!world) return;
    const bool on = Sys_Settings().TextureTransparency;
    for (EntityRecord* e = world->entities; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                setBit(f->flags, FaceFlags::Blended, on && transparent(f->texture));
            if (b->patch) setBit(b->patch->flags, PatchFlags::Blended, on && transparent(b->patch->texture));
            if (b->overlay)
                setBit(b->overlay->flags, OverlayFlags::Blended, on && transparent(b->overlay->texture));
        }
}

void Map_UpdateEntityBlend(EntityRecord* entity, bool transparency) {
    if (!entity) return;
    setBit(entity->flags, EntityFlag::Blended, transparency && (entity->blendState & 0x700FFu));
}

void Map_UpdateEntityTransparency(MapWorld* world) {
    if (!world) return;
    const bool on = Sys_Settings().EntityTransparency;
    for (EntityRecord* e = world->entities; e; e = e->next)
        Map_UpdateEntityBlend(e, on);
}

void Map_RefreshObjectColours(MapWorld* world) {
    if (!world) return;
    for (GroupRecord* g = world->groups; g; g = g->next)
        if (cMapGroup* group = g->handle) {
            group->baseColor = Object_RandomBaseColor();
            group->updateRandomColor();
        }
    for (EntityRecord* e = world->entities; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            cMapBrush* brush = b->handle;
            if (!brush) continue;
            brush->baseColor = Object_RandomBaseColor();
            brush->updateRandomColor();
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                if (f->handle) f->handle->displayColor = brush->displayColor;
        }
}

void Map_RecenterFaceUVs(MapWorld* world) {
    if (!world) return;
    forEachFace(world, [](FaceRecord* f) {
        if (!f->handle || f->vertexCount <= 0 || !f->vertices) return;
        int32_t width, height;
        f->handle->textureSize(&width, &height);
        const TextureInfo& t = f->texInfo;
        TexCoordRange range;
        for (int32_t i = 0; i < f->vertexCount; ++i) {
            FaceVertex& v = f->vertices[i];
            const float* p = v.xyz;
            const float sDot = t.sAxis[0] * p[0] + t.sAxis[1] * p[1] + t.sAxis[2] * p[2];
            const float tDot = t.tAxis[0] * p[0] + t.tAxis[1] * p[1] + t.tAxis[2] * p[2];
            v.s = (sDot / safeScale(t.sScale) + t.sShift) / float(width);
            v.t = (tDot / safeScale(t.tScale) + t.tShift) / float(height);
            range.add(v.s, v.t);
        }
        const float sMid = range.wholeS();
        const float tMid = range.wholeT();
        for (int32_t i = 0; i < f->vertexCount; ++i) {
            f->vertices[i].s -= sMid;
            f->vertices[i].t -= tMid;
        }
    });
}

void Map_RebindEntityClasses(MapWorld* world) {
    if (!world) return;
    const GameConfig* config = Map_GameConfig(world);
    for (EntityRecord* e = world->entities; e; e = e->next) {
        cMapEntity* entity = e->handle;
        if (!entity) continue;
        EntityClass* eclass = nullptr;
        if (e->classname) {
            if (e->flags & EntityFlag::World) {
                eclass = Fgd_FindClassInConfig(config, e->classname, ClassSelector::World);
            } else if (e->flags & EntityFlag::Point) {
                eclass = Fgd_FindClassInConfig(config, e->classname, ClassSelector::Point);
            } else {
                eclass = Fgd_FindClassInConfig(config, e->classname, ClassSelector::Solid);
                if (!eclass) eclass = Fgd_FindClassInConfig(config, e->classname, ClassSelector::Point);
            }
        }
        // Set first, so that setClass sees no change of class and leaves the key/values alone:
        // a reloaded file must not edit the map.
        entity->entityClass = eclass;
        entity->setClass(eclass);
        entity->refreshKeyNames(false);
        entity->rebuildModel(false);
    }
}

void Map_UpdateSky(MapWorld* world) {
    if (!world) return;
    EntityRecord* worldEntity = world->entities;
    while (worldEntity && !(worldEntity->flags & EntityFlag::World))
        worldEntity = worldEntity->next;
    if (!worldEntity || !worldEntity->handle) {
        world->sky = nullptr;
        world->skyAxis[0] = world->skyAxis[1] = world->skyAxis[2] = 0.0f;
        world->skyRotation = 0.0f;
        return;
    }
    worldEntity->handle->readSkyKeys();
}
