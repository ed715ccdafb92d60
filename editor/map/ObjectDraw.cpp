#include "map/ObjectDraw.h"

#include <GL/gl.h>
#include <QList>
#include <QSet>

#include <cmath>
#include <cstring>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/MapProfile.h"
#include "gamedata/TextureDecoding.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureUpload.h"
#include "gamedata/TextureRecords.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "render/ColorScheme.h"
#include "render/DrawQueue.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

int32_t handleId(const void* record) {
    // Every record starts with its handle.
    const cMapObject* handle = *static_cast<cMapObject* const*>(record);
    return handle ? handle->id : 0;
}

bool isWorldBrush(const BrushRecord* brush) {
    return !brush->entity || (brush->entity->flags & EntityFlag::World);
}

} // namespace

void Draw_ClearPreviewBounds(TransformPreview* preview) {
    for (int k = 0; k < 3; ++k) {
        preview->mins[k] = 1e30f;
        preview->maxs[k] = -1e30f;
    }
}

void Draw_PreviewPoint(TransformPreview* preview, const float in[3], float out[3]) {
    const float* m = preview->matrix;
    float d[3];
    for (int k = 0; k < 3; ++k)
        d[k] = in[k] - preview->origin[k];
    for (int k = 0; k < 3; ++k) {
        out[k] =
            m[4 * k] * d[0] + m[4 * k + 1] * d[1] + m[4 * k + 2] * d[2] + m[4 * k + 3] + preview->origin[k];
        const bool plusKept = (preview->keepBits & (1u << k)) && d[k] > 0.001f;
        const bool minusKept = (preview->keepBits & (8u << k)) && d[k] < -0.001f;
        if (plusKept || minusKept) out[k] = in[k];
        preview->mins[k] = std::fmin(preview->mins[k], out[k]);
        preview->maxs[k] = std::fmax(preview->maxs[k], out[k]);
    }
}

void Draw_PreviewNormal(const TransformPreview* preview, const float in[3], float out[3]) {
    if (preview->keepOrientation) {
        std::memcpy(out, in, 3 * sizeof(float));
        return;
    }
    const float* m = preview->matrix;
    float length = 0.0f;
    for (int k = 0; k < 3; ++k) {
        out[k] = m[4 * k] * in[0] + m[4 * k + 1] * in[1] + m[4 * k + 2] * in[2];
        length += out[k] * out[k];
    }
    length = std::sqrt(length);
    if (length > 1e-6f)
        for (int k = 0; k < 3; ++k)
            out[k] /= length;
}

bool Draw_Picking(const RenderContext* context) {
    return context->pickBase != 0;
}

int32_t Draw_PickId(const RenderContext* context, const BrushRecord* brush) {
    const bool world = isWorldBrush(brush);
    if (context->pickBase != 1) return handleId(brush);
    const GroupRecord* group = world ? brush->outerGroup : brush->entity->outerGroup;
    if (group) return handleId(group);
    return world ? handleId(brush) : handleId(brush->entity);
}

void Draw_SetPickColor(int32_t id) {
    glColor4ub(GLubyte(id), GLubyte(id >> 8), GLubyte(id >> 16), 255);
}

void Draw_SurfaceColors(const RenderContext* context, const BrushRecord* brush, bool selected, bool textured,
                        uint8_t fill[4], uint8_t outline[4]) {
    const bool applying =
        (context->renderFlags & RenderBit::TextureTool) && (context->hideMask & HideBit::TextureApplication);
    const bool world = isWorldBrush(brush);
    const cMapEntity* entity = brush->entity ? cMapEntity::fromRecord(brush->entity) : nullptr;
    ObjectColor colour = kEntityWorldColor;
    if (selected && !applying) {
        Color_FillRGBA(fill, COLOR_SELECTED_FILL);
    } else if (context->is3D || Sys_Settings().UseVisgroupColors) {
        const cMapBrush* handle = brush->handle;
        const GroupRecord* group =
            brush->group ? brush->group : (brush->entity ? brush->entity->group : nullptr);
        if (textured) {
            colour = 0xffffffffu;
        } else if (handle && handle->visGroups.count() > 0) {
            std::memcpy(&colour, handle->visGroups.at(0)->color, 4);
        } else if (group && group->handle) {
            colour = group->handle->displayColor;
        } else if (world) {
            colour = handle ? handle->displayColor : kEntityWorldColor;
        } else if (entity) {
            colour = entity->displayColor;
        }
        Color_ToBytes(colour, fill);
        fill[3] = 255;
    } else if (world) {
        Color_FillRGBA(fill, COLOR_BRUSH_DEFAULT);
    } else {
        Color_ToBytes(entity ? entity->displayColor : kEntityNoClassColor, fill);
        fill[3] = 255;
    }
    if ((brush->flags & BrushFlags::Selected) && !applying)
        Color_FillRGBA(outline, COLOR_SELECTED_LINE);
    else
        std::memcpy(outline, fill, 4);
}

namespace {

// Whether an image the effect draws with has no GL texture yet. Effects share editor images while
// their stages differ, so every image counts.
bool lacksTexture(const ShaderRecord* texture) {
    const auto lacks = [](const TextureImage* image) { return image && !image->glName; };
    if (lacks(texture->image)) return true;
    for (const TextureImage* face : texture->box)
        if (lacks(face)) return true;
    for (const ShaderStage* stage = texture->stages; stage; stage = stage->next) {
        for (const TextureImage* frame : stage->frames)
            if (lacks(frame)) return true;
        const TextureImage* head = stage->frameChain;
        if (lacks(head)) return true;
        for (const TextureImage* frame = head ? head->next : nullptr; frame && frame != head;
             frame = frame->next)
            if (lacks(frame)) return true;
    }
    return false;
}

// Uploads bind their own textures: the view's record of GL's binding is stale after them.
void resyncAfterUploads(const RenderContext* context, int32_t createdBefore) {
    if (Tex_CreatedTextureCount() != createdBefore && context->stateCache)
        GL_ResyncStateCache(context->stateCache);
}

// A texture's pixels are decoded and uploaded the first time a view draws it: a map's first frame
// pays for the textures it shows, not for every texture the map binds.
void realizeForDraw(const RenderContext* context, const ShaderRecord* texture) {
    if (!texture || !Tex_AnyWaiting() || !lacksTexture(texture)) return;
    const int32_t created = Tex_CreatedTextureCount();
    Tex_RealizeShader(const_cast<ShaderRecord*>(texture));
    resyncAfterUploads(context, created);
}

} // namespace

void Draw_RealizeTogether(const RenderContext* context, const std::vector<const ShaderRecord*>& textures) {
    QList<ShaderRecord*> waiting;
    QSet<const ShaderRecord*> seen;
    for (const ShaderRecord* texture : textures)
        if (texture && !seen.contains(texture) && lacksTexture(texture)) {
            seen.insert(texture);
            waiting.append(const_cast<ShaderRecord*>(texture));
        }
    if (waiting.isEmpty()) return;
    const int32_t created = Tex_CreatedTextureCount();
    Tex_RealizeShaders(waiting);
    resyncAfterUploads(context, created);
}

bool Draw_Textured(const RenderContext* context, const ShaderRecord* texture, bool shown) {
    if (!context->is3D || context->renderMode < 2 || !texture || !texture->image) return false;
    if (shown) realizeForDraw(context, texture);
    return texture->image->glName != 0;
}

void Draw_BindTexture(const RenderContext* context, const ShaderRecord* texture) {
    const TextureImage* image = texture->image;
    Render_BindTexture(context->stateCache, image->glName, context->textureFilter,
                       !(image->flags & IMAGE_NO_MIPMAPS));
}

bool Draw_HiddenByCategory(const RenderContext* context, const ShaderRecord* texture) {
    if (!texture) return false;
    static const int32_t kPairs[4][2] = {{0x1, RenderBit::DrawNoDraw},
                                         {0x4, RenderBit::DrawHint},
                                         {0x2, RenderBit::DrawClip},
                                         {0x8, RenderBit::DrawTrigger}};
    for (const auto& pair : kPairs)
        if ((texture->category & pair[0]) && !(context->renderFlags & pair[1])) return true;
    return false;
}

bool Draw_IsSky(const ShaderRecord* texture) {
    return texture && (texture->category & (EFFECT_SKY | EFFECT_SKY_BOX));
}

bool Draw_QueuesSky(const RenderContext* context, const ShaderRecord* texture) {
    if (!context->is3D || Draw_Picking(context) || !(context->renderFlags & RenderBit::DrawSky) ||
        !Draw_IsSky(texture))
        return false;
    // The sky pass draws the effect's box and cloud images.
    realizeForDraw(context, texture);
    return true;
}

float Draw_EyeDistance(const RenderContext* context, const float point[3]) {
    float d2 = 0.0f;
    for (int k = 0; k < 3; ++k)
        d2 += (point[k] - context->origin[k]) * (point[k] - context->origin[k]);
    return float(int64_t(std::sqrt(d2)));
}

bool Draw_QueueBlended(const RenderContext* context, int32_t kind, void* object, const float centre[3]) {
    DrawNode* node = DrawQueue_Blended(context->queue);
    if (!node) return false;
    node->kind = kind;
    node->object = object;
    node->key =
        (context->renderFlags & RenderBit::TransparentSort) ? Draw_EyeDistance(context, centre) : 0.0f;
    return true;
}

bool Draw_QueueSky(const RenderContext* context, int32_t kind, void* object) {
    DrawNode* node = DrawQueue_Sky(context->queue);
    if (!node) return false;
    node->kind = kind;
    node->object = object;
    node->key = 0.0f;
    return true;
}

void Draw_SetQueuedTexture(QueuedVertices& vertices, const TextureImage* image) {
    vertices.glName = image ? image->glName : 0;
    vertices.mipmaps = !image || !(image->flags & IMAGE_NO_MIPMAPS);
}

bool Draw_UsesStages(const RenderContext* context, const ShaderRecord* texture) {
    return (context->renderFlags & RenderBit::AnimateShaders) && texture && texture->stages;
}

bool Draw_IsBlended(const RenderContext* context, const BrushRecord* brush, uint32_t surfaceFlags,
                    const ShaderRecord* texture) {
    if (!context->is3D || Draw_Picking(context) || !(context->renderFlags & RenderBit::Transparency))
        return false;
    if (surfaceFlags & RecordFlag::Blended) return true;
    if (brush->entity && (brush->entity->flags & EntityFlag::Blended)) return true;
    return Draw_UsesStages(context, texture) && (texture->stages->stateBits & GLS::BlendMask);
}

float Draw_BlendedAlpha(const RenderContext* context, const BrushRecord* brush, const ShaderRecord* texture) {
    float alpha = texture ? texture->opacity : 1.0f;
    if (brush->entity && !(brush->entity->flags & EntityFlag::World))
        alpha *= brush->entity->renderColor[3] / 255.0f;
    return std::fmax(alpha, context->minAlpha);
}

void Draw_EffectStages(const RenderContext* context, const ShaderRecord* texture, uint32_t mode,
                       const SurfaceVertices& in, const uint16_t* indices, int32_t indexCount,
                       const uint8_t colour[4]) {
    static EffectVertex buffer[kEffectBatchVertices]; // shared by every surface, never reallocated
    if (in.count <= 0 || in.count > kEffectBatchVertices) return;
    auto at = [](const float* base, int32_t stride, int32_t i) {
        return reinterpret_cast<const float*>(reinterpret_cast<const uint8_t*>(base) + size_t(stride) * i);
    };
    for (int32_t i = 0; i < in.count; ++i) {
        EffectVertex& v = buffer[i];
        std::memcpy(v.xyz, at(in.xyz, in.stride, i), sizeof v.xyz);
        std::memcpy(v.normal, at(in.normal, in.normalStride, i), sizeof v.normal);
        std::memcpy(v.baseST, at(in.st, in.stride, i), sizeof v.baseST);
        std::memcpy(v.st, v.baseST, sizeof v.st);
        v.lightmapST[0] = v.lightmapST[1] = 0.0f;
        std::memcpy(v.vertexColor, colour, 4);
        std::memcpy(v.color, colour, 4);
    }
    EffectBatch batch{};
    batch.shader = const_cast<ShaderRecord*>(texture);
    batch.vertices = buffer;
    batch.count = in.count;
    batch.capacity = kEffectBatchVertices;
    batch.stateBits = int32_t(GLS::Opaque);
    batch.primitive = int32_t(mode);
    for (int k = 0; k < 3; ++k) {
        batch.origin[k] = context->origin[k];
        batch.forward[k] = context->forward[k];
        batch.right[k] = context->right[k];
        batch.up[k] = context->up[k];
    }
    batch.time = context->time;
    Shader_ApplyDeforms(&batch);
    bool first = true;
    for (ShaderStage* stage = texture->stages; stage; stage = stage->next) {
        batch.stage = stage;
        Face_DrawEffectStage(context, &batch, first, indices, indexCount);
        first = false;
    }
}

// ---- Display filters -----------------------------------------------------------------------

bool Map_EntityPassesFilters(const EntityRecord* entity, int32_t hideMask) {
    const cMapEntity* handle = cMapEntity::fromRecord(entity);
    return !hideMask || !handle || !handle->filteredBy(hideMask);
}

bool Map_BrushPassesFilters(const BrushRecord* brush, int32_t hideMask) {
    if (!hideMask || !brush) return true;
    if ((hideMask & BrushHideMask::Patches) && brush->patch) return false;
    if ((hideMask & BrushHideMask::Detail) && brush->firstFace) {
        const int32_t detail = GameCfg_CurrentProfile()->contentMask;
        if (detail && (brush->firstFace->texInfo.contents & detail)) return false;
    }
    return true;
}
