// Drawing of entities in the views: boxes, sprites, decals and models, brush entities through
// their brushes, the blended second pass, target links, facing arrows and radius rings.
#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "gamedata/EntityClass.h"
#include "gamedata/ModelCache.h"
#include "gamedata/RenderApi.h"
#include "gamedata/TextureRecords.h"
#include "kstdlib/kmath.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapGroup.h"
#include "map/ObjectDraw.h"
#include "map/PointDraw.h"
#include "map/WorldHooks.h"
#include "render/ColorScheme.h"
#include "render/DrawQueue.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"
#include "render/ViewFrustum.h"

namespace {

constexpr uint32_t kPassUnselected = 0x1;
constexpr uint32_t kPassSelected = 0x2;
constexpr uint32_t kTestNoFrustum = 0x4;

bool selectedOf(const EntityRecord* e) {
    return e->flags & EntityFlag::Selected;
}

// Pass flag 1 admits unselected entities, 2 selected ones.
bool admitted(const EntityRecord* e, uint32_t passFlags) {
    return (passFlags & (selectedOf(e) ? kPassSelected : kPassUnselected)) != 0;
}

void countDrawn(EntityRecord* e, const RenderContext* context, RenderCounters* counters) {
    e->frameStamp = context->frameStamp;
    ++e->drawCount;
    if (counters) ++counters->entities;
}

// The camera view leaves out a box wholly behind the nearest world faces; the angle arrow
// reaches 5/4 of the box's width from its centre, in lines 4 pixels wide.
bool boxOccluded(const RenderContext* context, const EntityRecord* e, bool arrow) {
    if (!context->is3D || context->pickBase || !e->owner) return false;
    float mins[3], maxs[3];
    std::memcpy(mins, e->mins, sizeof mins);
    std::memcpy(maxs, e->maxs, sizeof maxs);
    if (arrow) {
        const float reach = 5.0f * std::fabs(e->maxs[0] - e->mins[0]) / 4.0f;
        for (int k = 0; k < 3; ++k) {
            const float c = (e->mins[k] + e->maxs[k]) * 0.5f;
            mins[k] = std::min(mins[k], c - reach);
            maxs[k] = std::max(maxs[k], c + reach);
        }
    }
    return DrawQueue_Occluded(context->queue, mins, maxs, 3.0f);
}

ObjectColor schemeColor(int32_t key) {
    uint8_t rgba[4];
    Color_FillRGBA(rgba, key);
    return Color_FromBytes(rgba[0], rgba[1], rgba[2], rgba[3]);
}

bool outlinesShown(const RenderContext* context) {
    return !(context->renderFlags & RenderBit::VertexTool);
}

// A plugin draws with GL state the views' cache does not see: everything it may touch is saved
// and restored around the call, and the cache is told to forget what it remembers.
class cPluginGuard {
public:
    explicit cPluginGuard(RenderContext* context) : m_context(context) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
        m_batch = Render_BeginBatch(context);
    }
    ~cPluginGuard() {
        if (m_batch) Render_EndBatch();
        glPopClientAttrib();
        glPopAttrib();
        if (m_context->stateCache) GL_ResyncStateCache(m_context->stateCache);
    }
    cPluginGuard(const cPluginGuard&) = delete;
    cPluginGuard& operator=(const cPluginGuard&) = delete;
    // False while another batch is open: the plugin must not draw then.
    bool open() const { return m_batch; }

private:
    RenderContext* m_context;
    bool m_batch = false;
};

void normalize(float v[3]) {
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f)
        for (int i = 0; i < 3; ++i)
            v[i] /= length;
}

// Shades of the box faces in the order of PointDraw_BoxFaces: -z, +z, -y, +y, -x, +x.
constexpr float kBoxShades[6] = {0.55f, 1.0f, 0.7f, 0.85f, 0.75f, 0.9f};

void drawShadedBox(const float mins[3], const float maxs[3], const uint8_t fill[4]) {
    static const uint8_t faces[24] = {0, 2, 3, 1, 4, 5, 7, 6, 0, 1, 5, 4, 2, 6, 7, 3, 0, 4, 6, 2, 1, 3, 7, 5};
    glBegin(GL_QUADS);
    for (int f = 0; f < 6; ++f) {
        const float s = kBoxShades[f];
        glColor4ub(GLubyte(fill[0] * s), GLubyte(fill[1] * s), GLubyte(fill[2] * s), fill[3]);
        for (int k = 0; k < 4; ++k) {
            const int i = faces[4 * f + k];
            glVertex3f((i & 1) ? maxs[0] : mins[0], (i & 2) ? maxs[1] : mins[1], (i & 4) ? maxs[2] : mins[2]);
        }
    }
    glEnd();
}

// The six tips of the diamond spanning the bounds: -x, +x, -y, +y, bottom, top.
void diamondTips(const float mins[3], const float maxs[3], float tips[6][3]) {
    float c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = (mins[i] + maxs[i]) * 0.5f;
    for (int t = 0; t < 6; ++t) {
        std::memcpy(tips[t], c, sizeof c);
        const int axis = t / 2;
        tips[t][axis] = (t & 1) ? maxs[axis] : mins[axis];
    }
}

// Eight triangles: each of the four side pairs with the top and with the bottom.
constexpr int kDiamondRing[4] = {1, 3, 0, 2};

void drawDiamond(const float mins[3], const float maxs[3], const uint8_t fill[4], bool shaded, bool lines) {
    float tips[6][3];
    diamondTips(mins, maxs, tips);
    if (lines) {
        glBegin(GL_LINES);
        for (int k = 0; k < 4; ++k) {
            const int a = kDiamondRing[k], b = kDiamondRing[(k + 1) % 4];
            for (int pole : {4, 5}) {
                glVertex3fv(tips[a]);
                glVertex3fv(tips[pole]);
            }
            glVertex3fv(tips[a]);
            glVertex3fv(tips[b]);
        }
        glEnd();
        return;
    }
    glBegin(GL_TRIANGLES);
    for (int k = 0; k < 4; ++k) {
        const int a = kDiamondRing[k], b = kDiamondRing[(k + 1) % 4];
        for (int pole : {5, 4}) {
            if (shaded) {
                const float s = (pole == 5 ? 0.95f : 0.6f) - 0.08f * float(k);
                glColor4ub(GLubyte(fill[0] * s), GLubyte(fill[1] * s), GLubyte(fill[2] * s), fill[3]);
            }
            glVertex3fv(tips[a]);
            glVertex3fv(pole == 5 ? tips[b] : tips[pole]);
            glVertex3fv(pole == 5 ? tips[pole] : tips[b]);
        }
    }
    glEnd();
}

// A box or diamond as the vertices of one primitive with a colour each, in the order and colours
// the draws above give GL: what the pass's draw queue takes.
struct ShapeVertices {
    GLenum mode = GL_LINES;
    int32_t count = 0;
    float xyz[24][3];
    uint8_t rgba[24][4];
    void add(const float p[3], const uint8_t colour[4]) {
        std::memcpy(xyz[count], p, sizeof xyz[count]);
        std::memcpy(rgba[count], colour, sizeof rgba[count]);
        ++count;
    }
};

void boxEdgeVertices(const float mins[3], const float maxs[3], const uint8_t line[4], ShapeVertices* out) {
    float ends[24][3];
    PointDraw_BoxEdgeEnds(mins, maxs, ends);
    out->mode = GL_LINES;
    for (const float* end : ends)
        out->add(end, line);
}

void shadedBoxVertices(const float mins[3], const float maxs[3], const uint8_t fill[4], ShapeVertices* out) {
    static const uint8_t faces[24] = {0, 2, 3, 1, 4, 5, 7, 6, 0, 1, 5, 4, 2, 6, 7, 3, 0, 4, 6, 2, 1, 3, 7, 5};
    out->mode = GL_QUADS;
    for (int f = 0; f < 6; ++f) {
        const float s = kBoxShades[f];
        const uint8_t colour[4] = {GLubyte(fill[0] * s), GLubyte(fill[1] * s), GLubyte(fill[2] * s), fill[3]};
        for (int k = 0; k < 4; ++k) {
            const int i = faces[4 * f + k];
            const float p[3] = {(i & 1) ? maxs[0] : mins[0], (i & 2) ? maxs[1] : mins[1],
                                (i & 4) ? maxs[2] : mins[2]};
            out->add(p, colour);
        }
    }
}

void diamondVertices(const float mins[3], const float maxs[3], const uint8_t fill[4], bool lines,
                     ShapeVertices* out) {
    float tips[6][3];
    diamondTips(mins, maxs, tips);
    out->mode = lines ? GL_LINES : GL_TRIANGLES;
    for (int k = 0; k < 4; ++k) {
        const int a = kDiamondRing[k], b = kDiamondRing[(k + 1) % 4];
        if (lines) {
            for (int pole : {4, 5}) {
                out->add(tips[a], fill);
                out->add(tips[pole], fill);
            }
            out->add(tips[a], fill);
            out->add(tips[b], fill);
            continue;
        }
        for (int pole : {5, 4}) {
            const float s = (pole == 5 ? 0.95f : 0.6f) - 0.08f * float(k);
            const uint8_t colour[4] = {GLubyte(fill[0] * s), GLubyte(fill[1] * s), GLubyte(fill[2] * s),
                                       fill[3]};
            out->add(tips[a], colour);
            out->add(pole == 5 ? tips[b] : tips[pole], colour);
            out->add(pole == 5 ? tips[pole] : tips[b], colour);
        }
    }
}

} // namespace

bool Entity_DrawBrush(BrushRecord* brush, RenderContext* context, RenderCounters* counters,
                      uint32_t passFlags) {
    cMapBrush* handle = brush ? brush->handle : nullptr;
    return handle && handle->isVisible(context, counters, 0) && handle->draw(context, counters, passFlags);
}

// ---- Colours ----------------------------------------------------------------------------------

void cMapEntity::applyDrawColor(int alpha) const {
    uint8_t rgba[4];
    if (record && selectedOf(record))
        Color_FillRGBA(rgba, COLOR_SELECTED_FILL);
    else if (record && entityClass && (entityClass->helpers & EntityClassHelper::Light))
        std::memcpy(rgba, record->renderColor, 3);
    else
        Color_ToBytes(displayColor, rgba);
    glColor4ub(rgba[0], rgba[1], rgba[2], GLubyte(std::clamp(alpha, 0, 255)));
}

ObjectColor cMapEntity::drawColor(const RenderContext* context) const {
    if (entityClass && (entityClass->helpers & EntityClassHelper::Light))
        return Color_FromBytes(record->renderColor[0], record->renderColor[1], record->renderColor[2], 255);
    const bool bySets = context->is3D || Sys_Settings().UseVisgroupColors;
    if (bySets) {
        if (const VisGroup* set = visGroups.at(0))
            return Color_FromBytes(set->color[0], set->color[1], set->color[2], 255);
        if (const cMapGroup* group = cMapGroup::fromRecord(record->group)) return group->displayColor;
    }
    return displayColor;
}

int32_t cMapEntity::pickId(const RenderContext* context) const {
    if (context->pickBase == 1)
        if (const cMapGroup* outer = cMapGroup::fromRecord(record->outerGroup)) return outer->id;
    return id;
}

// ---- Visibility -------------------------------------------------------------------------------

bool cMapEntity::isVisible(const RenderContext* context, RenderCounters* counters, uint32_t testFlags) const {
    if (!isVisible(context->hideMask)) return false;
    if (testFlags & kTestNoFrustum) return true;
    if (counters) ++counters->culls;
    if (!context->frustum) return true;
    const EntityModel* decal = record->modelKind == EntityModelKind::Decal ? record->model : nullptr;
    if (context->is3D && decal) return !Render_CullBox(context->frustum, decal->mins, decal->maxs);
    return !Render_CullBox(context->frustum, record->mins, record->maxs);
}

bool cMapEntity::isVisibleTransformed(const RenderContext* context, RenderCounters* counters,
                                      const TransformPreview* preview) const {
    if (!isVisible(context->hideMask)) return false;
    if (counters) ++counters->culls;
    if (!context->frustum) return true;
    if (!preview) return !Render_CullBox(context->frustum, record->mins, record->maxs);
    float matrix[3][4];
    std::memcpy(matrix, preview->matrix, sizeof matrix);
    return !Render_CullRotatedBox(context->frustum, record->mins, record->maxs, preview->origin, matrix);
}

bool cMapEntity::showsAttachedModel(const RenderContext* context) {
    return showsAttachedModel(context->is3D != 0, uint32_t(context->renderFlags), context->origin,
                              float(context->modelRenderDistance));
}

bool cMapEntity::needsBlending() const {
    if (record->flags & EntityFlag::Blended) return true;
    const EntityModel* model = record->model;
    if (!model) return false;
    switch (record->modelKind) {
    case EntityModelKind::Sprite:
        return model->icon != 0;
    case EntityModelKind::Model:
        return model->entry && static_cast<const ModelCacheEntry*>(model->entry)->blended;
    case EntityModelKind::Decal: {
        const ShaderRecord* texture = static_cast<const ShaderRecord*>(model->entry);
        return texture && texture->opacity < 1.0f;
    }
    default:
        return false;
    }
}

// ---- Drawing ----------------------------------------------------------------------------------

bool cMapEntity::draw(RenderContext* context, RenderCounters* counters, uint32_t passFlags) {
    if (!isVisible(context, counters, 0)) return false;
    const bool shows = showsAttachedModel(context);
    if (context->pickBase) {
        // Pick passes show drawables only when point entities are asked for and faces are not.
        if (shows && (context->pickArgument & 0x2) && context->pickBase != 3)
            return drawAttachedModel(context, counters, passFlags);
        if (hasBrushes()) return drawBrushes(context, counters, passFlags);
        if (!entityClass || isPoint()) return drawBox(context, counters, passFlags);
        return false;
    }
    if (shows) return drawAttachedModel(context, counters, passFlags);
    if (hasBrushes()) return drawBrushes(context, counters, passFlags);
    if (!entityClass || isPoint()) {
        const bool arrow = entityClass && (entityClass->helpers & EntityClassHelper::Angle);
        if (boxOccluded(context, record, arrow)) return false;
        return drawBox(context, counters, passFlags);
    }
    return false;
}

bool cMapEntity::drawAttachedModel(RenderContext* context, RenderCounters* counters, uint32_t passFlags) {
    if (!context->pickBase && !admitted(record, passFlags)) return false;
    countDrawn(record, context, counters);
    if (context->is3D && !context->pickBase && (context->renderFlags & RenderBit::Transparency) &&
        needsBlending()) {
        const float key = (context->renderFlags & RenderBit::TransparentSort)
                              ? Draw_EyeDistance(context, record->origin)
                              : 0.0f;
        if (queueBlended(context, key)) return true;
    }
    drawModelKind(context, false);
    return true;
}

void cMapEntity::drawBlended(RenderContext* context) {
    drawModelKind(context, true);
}

// The sprite, decal or model of the entity; the radius and angle arrow are no part of a pick.
void cMapEntity::drawModelKind(RenderContext* context, bool blendedPass) {
    const bool extras = blendedPass || !context->pickBase;
    switch (record->modelKind) {
    case EntityModelKind::Sprite:
        drawSprite(context, blendedPass);
        if (extras) {
            drawRadius(context);
            drawAngleArrow(context);
        }
        break;
    case EntityModelKind::Decal:
        drawDecal(context);
        break;
    case EntityModelKind::Model:
        if (!drawModel(context, nullptr, blendedPass)) drawBoxShape(context);
        if (extras) drawRadius(context);
        break;
    default:
        break;
    }
}

bool cMapEntity::drawBrushes(RenderContext* context, RenderCounters* counters, uint32_t passFlags) {
    if (context->pickBase == 1) PointDraw_Color(Object_PickColor(pickId(context)));
    bool any = false;
    for (BrushRecord* brush = record->firstBrush; brush; brush = brush->next)
        if (Entity_DrawBrush(brush, context, counters, passFlags)) any = true;
    if (any && record->frameStamp != context->frameStamp) {
        record->frameStamp = context->frameStamp;
        ++record->drawCount;
        if (counters) ++counters->entities;
    }
    return any;
}

bool cMapEntity::drawsQueuedBox(const RenderContext* context) {
    if (context->pickBase || selectedOf(record) || hasBrushes() || (entityClass && !isPoint())) return false;
    if (entityClass && (entityClass->helpers & EntityClassHelper::Angle)) return false;
    return !showsAttachedModel(context);
}

bool cMapEntity::queueBoxShape(RenderContext* context) const {
    const bool light = entityClass && (entityClass->helpers & EntityClassHelper::Light);
    uint8_t colour[4];
    Color_ToBytes(drawColor(context), colour);
    ShapeVertices shape;
    if (context->is3D && light)
        diamondVertices(record->mins, record->maxs, colour, context->renderMode == 0, &shape);
    else if (context->is3D && context->renderMode != 0)
        shadedBoxVertices(record->mins, record->maxs, colour, &shape);
    else
        boxEdgeVertices(record->mins, record->maxs, colour, &shape);
    return DrawQueue_Box(context->queue, context, shape.mode, shape.xyz, shape.rgba, shape.count);
}

bool cMapEntity::drawBox(RenderContext* context, RenderCounters* counters, uint32_t passFlags) {
    if (!context->pickBase && !admitted(record, passFlags)) return false;
    countDrawn(record, context, counters);
    // Unselected boxes go out together (llvmpipe validates its state and copies the arrays on
    // every draw); the queue keeps their order among everything else.
    if (drawsQueuedBox(context) && queueBoxShape(context)) return true;
    drawBoxShape(context);
    if (!context->pickBase) {
        drawRadius(context);
        drawAngleArrow(context);
    }
    return true;
}

void cMapEntity::drawBoxShape(const RenderContext* context) const {
    const float* mins = record->mins;
    const float* maxs = record->maxs;
    const bool light = entityClass && (entityClass->helpers & EntityClassHelper::Light);
    if (context->pickBase) {
        PointDraw_Color(Object_PickColor(pickId(context)));
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
        const GLboolean culling = glIsEnabled(GL_CULL_FACE);
        glDisable(GL_CULL_FACE);
        if (light && context->is3D) {
            const uint8_t none[4] = {0, 0, 0, 255};
            drawDiamond(mins, maxs, none, false, false);
        } else {
            PointDraw_BoxFaces(mins, maxs);
        }
        if (culling) glEnable(GL_CULL_FACE);
        return;
    }
    const bool selected = selectedOf(record);
    uint8_t fill[4], line[4];
    Color_ToBytes(drawColor(context), fill);
    std::memcpy(line, fill, 4);
    if (selected) {
        if (!(light && context->is3D)) Color_FillRGBA(fill, COLOR_SELECTED_FILL);
        Color_FillRGBA(line, COLOR_SELECTED_LINE);
    }
    if (!context->is3D) {
        glColor4ubv(line);
        PointDraw_BoxEdges(mins, maxs);
        return;
    }
    if (context->renderMode == 0) {
        glColor4ubv(line);
        if (light)
            drawDiamond(mins, maxs, line, false, true);
        else
            PointDraw_BoxEdges(mins, maxs);
        return;
    }
    if (light)
        drawDiamond(mins, maxs, fill, true, false);
    else
        drawShadedBox(mins, maxs, fill);
    if (selected && outlinesShown(context)) {
        cMapDrawable::beginOutline(context);
        glColor4ubv(line);
        if (light)
            drawDiamond(mins, maxs, line, false, true);
        else
            PointDraw_BoxEdges(mins, maxs);
        cMapDrawable::endOutline(context);
    }
}

// ---- Sprites ----------------------------------------------------------------------------------

bool cMapEntity::drawSprite(RenderContext* context, bool blendedPass) {
    const EntityModel* model = record->model;
    const SpriteCacheEntry* sprite = model ? static_cast<const SpriteCacheEntry*>(model->entry) : nullptr;
    if (!sprite) return false;
    const ShaderRecord* texture = sprite->texture;
    const float frameW = texture && texture->width > 0 ? float(texture->width) : float(2 * model->size);
    const float frameH = texture && texture->height > 0 ? float(texture->height) : float(2 * model->size);
    const float fit = float(model->size) / std::max({frameW, frameH, 1.0f});
    float half[2] = {frameW * fit, frameH * fit};
    const uint32_t classFlags = entityClass ? entityClass->helpers : 0;
    if (!model->icon) {
        for (float& h : half) {
            if (classFlags & EntityClassHelper::Flare)
                h = std::min(h * record->scale, 128.0f) / 2.0f;
            else if (!(classFlags & EntityClassHelper::NoScale))
                h *= record->scale;
        }
    }
    for (float& h : half)
        h = std::max(h, 1.0f);

    // Orientation: the quad spans side and up around the origin.
    float side[3], up[3];
    float toSprite[3];
    for (int i = 0; i < 3; ++i)
        toSprite[i] = record->origin[i] - context->origin[i];
    normalize(toSprite);
    float view[3];
    PointDraw_ViewDirection(context, view);
    const int32_t type = sprite->type;
    auto aboutVertical = [&](const float dir[3]) {
        if (std::fabs(dir[2]) > 0.999848f) return false;
        side[0] = dir[1];
        side[1] = -dir[0];
        side[2] = 0.0f;
        normalize(side);
        up[0] = up[1] = 0.0f;
        up[2] = 1.0f;
        return true;
    };
    if (type == 1) {
        float forward[3];
        K_AngleVectors(record->angles, forward, side, up);
    } else if (type == 2) {
        if (!aboutVertical(toSprite)) return false;
    } else if (type == 3) {
        if (!aboutVertical(view)) return false;
    } else if (context->is3D) {
        float sine, cosine;
        K_SinCos(type == 4 ? record->angles[2] * float(M_PI) / 180.0f : 0.0f, &sine, &cosine);
        for (int i = 0; i < 3; ++i) {
            side[i] = cosine * context->right[i] + sine * context->up[i];
            up[i] = -sine * context->right[i] + cosine * context->up[i];
        }
    } else {
        for (int i = 0; i < 3; ++i)
            side[i] = up[i] = 0.0f;
        side[context->hAxis] = 1.0f;
        up[context->vAxis] = 1.0f;
    }

    const bool picking = context->pickBase != 0;
    GLStateCache* cache = context->stateCache;
    const uint32_t word = cache ? cache->state : GLS::Opaque;
    const TextureImage* image = texture ? texture->image : nullptr;
    const bool textured = !picking && image && image->glName;
    if (picking) {
        PointDraw_Color(Object_PickColor(pickId(context)));
    } else {
        float alpha = record->renderColor[3] / 255.0f;
        if (blendedPass) {
            float g = 1.0f;
            if (classFlags & EntityClassHelper::Flare) {
                const float c = toSprite[0] * view[0] + toSprite[1] * view[1] + toSprite[2] * view[2];
                g = c * c;
            }
            alpha = g;
            if (record->flags & EntityFlag::Blended)
                alpha *= std::max(context->minAlpha, record->renderColor[3] / 255.0f);
            if (cache) GL_State(cache, model->icon ? 0x40165u : record->blendState);
        }
        const uint8_t* rgb = record->renderColor;
        const bool noColour = !rgb[0] && !rgb[1] && !rgb[2];
        glColor4ub(noColour ? 255 : rgb[0], noColour ? 255 : rgb[1], noColour ? 255 : rgb[2],
                   GLubyte(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
    }
    if (textured) {
        if (cache)
            Render_BindTexture(cache, image->glName, context->textureFilter);
        else
            glBindTexture(GL_TEXTURE_2D, image->glName);
        glEnable(GL_TEXTURE_2D);
    }
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBegin(GL_QUADS);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
        glTexCoord2f((c[0] + 1.0f) * 0.5f, (1.0f - c[1]) * 0.5f);
        glVertex3f(record->origin[0] + c[0] * half[0] * side[0] + c[1] * half[1] * up[0],
                   record->origin[1] + c[0] * half[0] * side[1] + c[1] * half[1] * up[1],
                   record->origin[2] + c[0] * half[0] * side[2] + c[1] * half[1] * up[2]);
    }
    glEnd();
    if (culling) glEnable(GL_CULL_FACE);
    if (textured) glDisable(GL_TEXTURE_2D);
    if (blendedPass && cache) GL_State(cache, word);
    if (!picking && selectedOf(record)) {
        const bool throughWalls = context->renderFlags & RenderBit::SelOverlaySkipDepth;
        if (throughWalls) glDisable(GL_DEPTH_TEST);
        PointDraw_SchemeColor(COLOR_SELECTED_LINE);
        PointDraw_BoxEdges(record->mins, record->maxs);
        if (throughWalls) glEnable(GL_DEPTH_TEST);
    }
    if (!context->is3D) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    return true;
}

// ---- Decals -----------------------------------------------------------------------------------

void cMapEntity::drawDecal(RenderContext* context) {
    EntityModel* model = record->model;
    if (!model || !model->fragments) return;
    const ShaderRecord* texture = static_cast<const ShaderRecord*>(model->entry);
    const bool picking = context->pickBase != 0;
    const bool selected = selectedOf(record);
    const int mode = picking ? 0 : context->renderMode;
    const TextureImage* image = texture ? texture->image : nullptr;
    const bool textured = !picking && mode >= 2 && image && image->glName;
    GLStateCache* cache = context->stateCache;

    auto drawFragments = [&](GLenum fill, bool texcoords) {
        for (auto* f = static_cast<const DecalFragment*>(model->fragments); f; f = f->next) {
            const int32_t count = std::clamp(f->vertexCount, 0, kDecalMaxVertices);
            glBegin(fill == GL_LINE_LOOP ? GL_LINE_LOOP : GLenum(GL_POLYGON));
            for (int32_t k = 0; k < count; ++k) {
                if (texcoords) glTexCoord2f(f->vertices[k].s, f->vertices[k].t);
                glVertex3fv(f->vertices[k].xyz);
            }
            glEnd();
        }
    };
    // Fragments lie on faces turned either way towards the eye: both sides show.
    struct CullingBack {
        GLboolean on;
        ~CullingBack() {
            if (on) glEnable(GL_CULL_FACE);
        }
    } cullingBack{glIsEnabled(GL_CULL_FACE)};
    glDisable(GL_CULL_FACE);
    if (picking) {
        PointDraw_Color(Object_PickColor(pickId(context)));
        drawFragments(GL_POLYGON, false);
        return;
    }
    const ObjectColor own = drawColor(context);
    if (mode == 0) {
        if (selected)
            PointDraw_SchemeColor(COLOR_SELECTED_LINE);
        else
            PointDraw_Color(own);
        drawFragments(GL_LINE_LOOP, false);
        return;
    }
    if (textured) {
        if (selected)
            PointDraw_SchemeColor(COLOR_SELECTED_FILL);
        else
            glColor4ub(255, 255, 255, 255);
        if (cache)
            Render_BindTexture(cache, image->glName, context->textureFilter);
        else
            glBindTexture(GL_TEXTURE_2D, image->glName);
        glEnable(GL_TEXTURE_2D);
        if (Draw_UsesStages(context, texture)) {
            // Each stage with its own image, clamping and state, as faces draw theirs.
            uint8_t colour[4] = {255, 255, 255, 255};
            if (selected) Color_FillRGBA(colour, COLOR_SELECTED_FILL);
            const uint32_t word = cache ? cache->state : GLS::Opaque;
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            for (auto* f = static_cast<const DecalFragment*>(model->fragments); f; f = f->next) {
                const int32_t count = std::clamp(f->vertexCount, 0, kDecalMaxVertices);
                const SurfaceVertices vertices{count,     f->vertices[0].xyz,           &f->vertices[0].s,
                                               f->normal, int32_t(sizeof(DecalVertex)), 0};
                Draw_EffectStages(context, texture, GL_POLYGON, vertices, nullptr, 0, colour);
            }
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            if (cache) GL_State(cache, word);
        } else {
            drawFragments(GL_POLYGON, true);
        }
        glDisable(GL_TEXTURE_2D);
    } else {
        PointDraw_Color(selected ? schemeColor(COLOR_SELECTED_FILL) : own);
        drawFragments(GL_POLYGON, false);
    }
    if (selected && outlinesShown(context)) {
        cMapDrawable::beginOutline(context);
        PointDraw_SchemeColor(COLOR_SELECTED_LINE);
        drawFragments(GL_LINE_LOOP, false);
        cMapDrawable::endOutline(context);
    }
}

// ---- Models -----------------------------------------------------------------------------------

bool cMapEntity::drawModel(RenderContext* context, const TransformPreview* preview, bool blendedPass) {
    EntityModel* model = record->model;
    ModelCacheEntry* entry = model ? static_cast<ModelCacheEntry*>(model->entry) : nullptr;
    if (!entry || !entry->render) return false;
    const uint32_t classFlags = entityClass ? entityClass->helpers : 0;
    const bool picking = context->pickBase != 0;
    int32_t mode = 0;
    if (classFlags & EntityClassHelper::EccentricFix) mode |= MODEL_CENTERED;
    if (classFlags & EntityClassHelper::NoScale) mode |= MODEL_IGNORE_SCALE;
    if (picking || context->renderMode == 0 || !context->is3D)
        mode |= 3;
    else if (context->renderMode == 1)
        mode |= 1;
    else
        mode |= 2;
    if (context->renderFlags & RenderBit::AnimateModels) mode |= 0x4;

    // Animation: the camera view's frames advance it (a model draws once per frame); the 2D
    // views show the same pose rather than adding their own frame times.
    if ((context->renderFlags & RenderBit::AnimateModels2) && context->is3D && !picking &&
        record->framerate > 0.0f)
        model->animTime += context->frameTime * record->framerate * 0.1f;

    const bool selected = selectedOf(record);
    int32_t answer = 0;
    {
        cPluginGuard guard(context);
        if (picking) {
            PointDraw_Color(Object_PickColor(pickId(context)));
        } else if (!context->is3D) {
            const ObjectColor colour = selected ? schemeColor(COLOR_SELECTED_FILL) : drawColor(context);
            glDisable(GL_CULL_FACE);
            if ((record->flags & 0x100) && !preview) {
                PointDraw_ColorScaled(colour, 0.75f, 255);
                glEnable(GL_LINE_STIPPLE);
            } else {
                PointDraw_Color(colour);
            }
        } else if (context->renderMode == 0) {
            PointDraw_Color(selected ? schemeColor(COLOR_SELECTED_LINE) : drawColor(context));
            glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        } else if (context->renderMode == 1) {
            PointDraw_Color(selected ? schemeColor(COLOR_SELECTED_FILL) : drawColor(context));
        } else {
            glColor4ub(255, 255, 255, 255);
        }
        if (blendedPass && context->stateCache) GL_State(context->stateCache, record->blendState);
        if (preview) {
            const float* m = preview->matrix;
            const float* centre = preview->origin;
            const bool turns = !preview->keepOrientation && Sys_Settings().TransformAngles;
            glPushMatrix();
            if (turns) {
                const GLfloat gl[16] = {m[0],
                                        m[4],
                                        m[8],
                                        0,
                                        m[1],
                                        m[5],
                                        m[9],
                                        0,
                                        m[2],
                                        m[6],
                                        m[10],
                                        0,
                                        centre[0] + m[3],
                                        centre[1] + m[7],
                                        centre[2] + m[11],
                                        1};
                glMultMatrixf(gl);
                glTranslatef(-centre[0], -centre[1], -centre[2]);
            } else {
                float moved[3];
                for (int r = 0; r < 3; ++r)
                    moved[r] = m[4 * r] * (record->origin[0] - centre[0]) +
                               m[4 * r + 1] * (record->origin[1] - centre[1]) +
                               m[4 * r + 2] * (record->origin[2] - centre[2]) + m[4 * r + 3] + centre[r];
                glTranslatef(moved[0] - record->origin[0], moved[1] - record->origin[1],
                             moved[2] - record->origin[2]);
            }
        }
        if (guard.open()) {
            answer = entry->render(entry->formatId, mode, entry, record);
            if (auto* second = static_cast<ModelCacheEntry*>(model->entry2);
                second && second->render && answer)
                second->render(second->formatId, mode, second, record);
        }
        if (preview) glPopMatrix();
    }
    if (!answer) return false;
    if (!picking && selected && context->is3D) {
        PointDraw_SchemeColor(COLOR_SELECTED_LINE);
        PointDraw_BoxEdges(record->mins, record->maxs);
    }
    return true;
}

// ---- Links, arrows and rings ------------------------------------------------------------------

void cMapEntity::linkPoint(float out[3]) const {
    for (int i = 0; i < 3; ++i)
        out[i] = hasBrushes() ? (record->mins[i] + record->maxs[i]) * 0.5f : record->origin[i];
}

void cMapEntity::drawTargetLinks(RenderContext* context) {
    if (targets.empty() || !isVisible(context->hideMask)) return;
    const EntityRecord* worldEntity = World_Entities(record->owner);
    if (!worldEntity) return;
    float from[3];
    linkPoint(from);
    for (EntityRecord* other = worldEntity->next; other; other = other->next) {
        const cMapEntity* target = other->handle;
        if (!target || !other->targetname || !target->isVisible(context->hideMask)) continue;
        bool named = false;
        for (const EntityTarget& t : targets)
            if (t.name && std::strcmp(t.name, other->targetname) == 0) {
                named = true;
                break;
            }
        if (!named) continue;
        float to[3];
        target->linkPoint(to);
        PointDraw_Color(target->displayColor);
        glBegin(GL_LINES);
        glVertex3fv(from);
        glVertex3fv(to);
        glEnd();
        PointDraw_LinkArrows(context, from, to, 256.0f, 1, false);
    }
}

void cMapEntity::drawAngleArrow(RenderContext*) {
    if (!entityClass || !(entityClass->helpers & EntityClassHelper::Angle)) return;
    const float d = (record->maxs[0] - record->mins[0]) / 4.0f;
    float forward[3], right[3], up[3], c[3], tip[3];
    K_AngleVectors(record->angles, forward, right, up);
    for (int i = 0; i < 3; ++i) {
        c[i] = (record->mins[i] + record->maxs[i]) * 0.5f;
        tip[i] = c[i] + 5.0f * d * forward[i];
    }
    glColor4ub(255, 255, 255, 255);
    glLineWidth(4.0f);
    glBegin(GL_LINES);
    glVertex3fv(c);
    glVertex3fv(tip);
    for (float sign : {-1.0f, 1.0f}) {
        glVertex3fv(tip);
        glVertex3f(tip[0] - d * forward[0] + sign * d * up[0], tip[1] - d * forward[1] + sign * d * up[1],
                   tip[2] - d * forward[2] + sign * d * up[2]);
    }
    glEnd();
    glLineWidth(1.0f);
}

int32_t Entity_RadiusPoints(float radius) {
    if (!(radius >= 0.0f)) return 16;
    return int32_t(std::clamp(std::trunc(radius / 10.0f), 16.0f, 64.0f));
}

void cMapEntity::drawRadius(RenderContext* context) {
    if (context->is3D || !selectedOf(record) || !hasRadiusHandle()) return;
    const int32_t n = Entity_RadiusPoints(record->radius);
    const float h = record->origin[context->hAxis], v = record->origin[context->vAxis];
    glEnable(GL_LINE_STIPPLE);
    glBegin(GL_LINE_LOOP);
    for (int32_t k = 0; k < n; ++k) {
        float sine, cosine;
        K_SinCos(float(k) * 2.0f * float(M_PI) / float(n), &sine, &cosine);
        float p[3];
        std::memcpy(p, record->origin, sizeof p);
        p[context->hAxis] = h + record->radius * cosine;
        p[context->vAxis] = v + record->radius * sine;
        glVertex3fv(p);
    }
    glEnd();
    glDisable(GL_LINE_STIPPLE);
}

// ---- Blended queue ----------------------------------------------------------------------------

bool cMapEntity::queueBlended(const RenderContext* context, float key) {
    DrawNode* node = DrawQueue_Blended(context->queue);
    if (!node) return false;
    node->kind = BlendedKind::Entity;
    node->key = key;
    node->object = record;
    return true;
}
