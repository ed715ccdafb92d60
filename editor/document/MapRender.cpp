#include "document/MapRender.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/SysHost.h"
#include "core/TextEncoding.h"
#include "document/CompilerOverlays.h"
#include "document/CullTree.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "gamedata/RenderApi.h"
#include "gamedata/SkyManager.h"
#include "gamedata/TextureDecoding.h"
#include "gamedata/TextureRecords.h"
#include "core/MainSettings.h"
#include "map/MapBrush.h"
#include "map/MapCamera.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapGroup.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "map/MapPath.h"
#include "map/ObjectDraw.h"
#include "render/BoxCorners.h"
#include "render/ColorScheme.h"
#include "render/GLStateCache.h"
#include "render/OcclusionBuffer.h"
#include "render/RenderContext.h"
#include "render/ViewFrustum.h"

namespace {

constexpr uint32_t kPassNormal = 1;
constexpr uint32_t kPassSelection = 10;
constexpr uint32_t kPassPicking = 3;
constexpr uint32_t kCullOff = 0x100000;

DrawListSlots listSlots(MapWorld* world, bool sky) {
    return sky ? DrawListSlots{&world->skyList, &world->skyNodePool}
               : DrawListSlots{&world->blendedList, &world->blendedNodePool};
}

DrawNode*& listHead(MapWorld* world, bool sky) {
    return reinterpret_cast<DrawNode*&>(sky ? world->skyList : world->blendedList);
}

bool isWorld(const EntityRecord* entity) {
    return entity->flags & EntityFlag::World;
}

bool anySelected(const MapWorld* world) {
    return world->selectedBrushes || world->selectedEntities;
}

void clearNodeStamps(CullNode* node) {
    if (!node) return;
    node->frameStamp = 0;
    if (!node->isLeaf())
        for (CullNode* child : node->children)
            clearNodeStamps(child);
}

// The counter of frame stamps started again: no object may keep a stamp from before, or it
// would be taken as drawn in the frame that reuses the number.
void clearFrameStamps(MapWorld* world) {
    for (EntityRecord* e = world->entities; e; e = e->next) {
        e->frameStamp = 0;
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            b->frameStamp = 0;
    }
    if (CullTree* tree = Cull_TreeOf(world)) clearNodeStamps(tree->root);
}

// ---- Occlusion ----------------------------------------------------------------------------------
// The camera view's normal pass leaves out objects wholly behind the nearest world faces. Those
// faces are drawn in the same pass, opaque and depth-written, so nothing left out would have shown.

// A face of a brush the pass draws, filled, opaque and depth-written, and facing the eye.
bool drawsOpaque(const RenderContext* context, const BrushRecord* brush, const FaceRecord* face) {
    if (!face->handle || !face->handle->isVisible(context) || (face->flags & FaceFlags::Selected))
        return false;
    if (Draw_QueuesSky(context, face->texture) ||
        Draw_IsBlended(context, brush, face->flags, face->texture) || Draw_UsesStages(context, face->texture))
        return false;
    float d = 0.0f;
    for (int k = 0; k < 3; ++k)
        d += face->normal[k] * context->origin[k];
    return d > face->dist + 1.0f;
}

float boxDistance2(const float eye[3], const float mins[3], const float maxs[3]) {
    float d2 = 0.0f;
    for (int k = 0; k < 3; ++k) {
        const float d = std::max({mins[k] - eye[k], 0.0f, eye[k] - maxs[k]});
        d2 += d * d;
    }
    return d2;
}

// One entity other than the world entity in one pass; entities draw themselves, with states of
// their own: the queued faces go out before, and the entity's own queued faces right after.
bool drawEntity(RenderContext* context, RenderCounters* counters, EntityRecord* entity, uint32_t passFlags) {
    cMapEntity* handle = entity->handle;
    if (!handle) return false;
    // A box the queue takes keeps its place there by itself.
    if (handle->drawsQueuedBox(context)) return handle->draw(context, counters, passFlags);
    DrawQueue_Flush(context->queue, context);
    const bool drawn = handle->draw(context, counters, passFlags);
    DrawQueue_Flush(context->queue, context);
    return drawn;
}

class cWorldVisitor : public cCullVisitor {
public:
    cWorldVisitor(MapWorld* w, RenderContext* c, RenderCounters* s) : world(w), context(c), counters(s) {}
    CullResult testBox(const float mins[3], const float maxs[3], int32_t* planeMask) override {
        if (!context->frustum) return CullResult::Inside;
        int mask = *planeMask;
        const int result = Render_ClassifyBox(context->frustum, mins, maxs, &mask);
        *planeMask = mask;
        if (result == 0) {
            ++counters->culls;
            return CullResult::Outside;
        }
        return result == 1 ? CullResult::Inside : CullResult::Partial;
    }
    bool drawEntity(EntityRecord* entity, uint32_t passFlags) override {
        return ::drawEntity(context, counters, entity, passFlags);
    }
    bool drawBrush(BrushRecord* brush, uint32_t passFlags) override {
        cMapBrush* handle = brush->handle;
        return handle && handle->isVisible(context, counters, 0) &&
               handle->draw(context, counters, passFlags);
    }
    void drawNodeBox(const CullNode* node) override {
        DrawQueue_Flush(context->queue, context);
        Cull_DrawNodeBox(node, context);
    }
    MapWorld* world;
    RenderContext* context;
    RenderCounters* counters;
};

bool useTree(const MapWorld* world, const RenderContext* context) {
    const CullTree* tree = Cull_TreeOf(world);
    return (context->renderFlags & RenderBit::UseCullTree) && tree && tree->root;
}

void walkTree(MapWorld* world, RenderContext* context, RenderCounters* counters, uint32_t passFlags) {
    CullTree* tree = Cull_TreeOf(world);
    Cull_BeginFrame(tree, context);
    cWorldVisitor visitor(world, context, counters);
    Cull_Draw(tree, tree->root, &visitor, passFlags, -1);
}

// The world brushes the normal pass will draw: the same walk, with a visitor that only collects.
class cCollectVisitor : public cWorldVisitor {
public:
    cCollectVisitor(MapWorld* w, RenderContext* c, RenderCounters* s) : cWorldVisitor(w, c, s) {}
    bool drawEntity(EntityRecord*, uint32_t) override { return false; }
    bool drawBrush(BrushRecord* brush, uint32_t) override {
        if (brush->handle && brush->handle->isVisible(context, counters, 0)) brushes.push_back(brush);
        return false;
    }
    void drawNodeBox(const CullNode*) override {}
    std::vector<BrushRecord*> brushes;
};

std::vector<BrushRecord*> drawnWorldBrushes(MapWorld* world, RenderContext* context) {
    RenderCounters scratch{};
    cCollectVisitor collect(world, context, &scratch);
    if (useTree(world, context)) {
        CullTree* tree = Cull_TreeOf(world);
        Cull_BeginFrame(tree, context);
        Cull_Draw(tree, tree->root, &collect, kPassNormal, -1);
        // A brush filed in several cells is met once per cell.
        std::sort(collect.brushes.begin(), collect.brushes.end());
        collect.brushes.erase(std::unique(collect.brushes.begin(), collect.brushes.end()),
                              collect.brushes.end());
        return std::move(collect.brushes);
    }
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (isWorld(e))
            for (BrushRecord* brush = e->firstBrush; brush; brush = brush->next)
                collect.drawBrush(brush, kPassNormal);
    return std::move(collect.brushes);
}

// The camera view's filled passes: the world brushes go to GL nearest first, so that llvmpipe's
// early depth test throws away the fragments of what lies behind before shading them. Only
// surfaces at exactly equal depth can come out otherwise than in the walk's order.
bool drawsNearToFar(const RenderContext* context) {
    return context->is3D && !Draw_Picking(context) && context->renderMode != 0 && context->backFaceCull;
}

// The world brushes the pass draws, nearest box first (equal distances in walk order).
std::vector<BrushRecord*> nearestFirst(MapWorld* world, RenderContext* context) {
    struct Candidate {
        float distance2;
        BrushRecord* brush;
    };
    std::vector<Candidate> candidates;
    for (BrushRecord* brush : drawnWorldBrushes(world, context))
        candidates.push_back({boxDistance2(context->origin, brush->mins, brush->maxs), brush});
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.distance2 < b.distance2; });
    std::vector<BrushRecord*> brushes;
    brushes.reserve(candidates.size());
    for (const Candidate& c : candidates)
        brushes.push_back(c.brush);
    return brushes;
}

// The faces of the first band of near-to-far drawing; each next band is twice as many.
constexpr int32_t kFirstBand = 64;

// Occluders: the faces of the nearest visible world brushes, up to a budget.
constexpr int32_t kOccluderFaces = 1500;

bool buildOcclusion(const std::vector<BrushRecord*>& nearest, RenderContext* context,
                    OcclusionBuffer* buffer) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    Occlusion_Begin(buffer, viewport[2], viewport[3]);
    int32_t faces = 0;
    for (BrushRecord* brush : nearest) {
        if (brush->kind != BrushKind::Solid || (brush->flags & BrushFlags::Selected)) continue;
        for (FaceRecord* face = brush->firstFace; face; face = face->next)
            if (drawsOpaque(context, brush, face)) {
                Occlusion_AddPolygon(buffer, face->vertices[0].xyz, int32_t(sizeof(FaceVertex)),
                                     face->vertexCount);
                ++faces;
            }
        if (faces >= kOccluderFaces) break;
    }
    return buffer->occluders > 0;
}

// The textures of the world faces this pass will show, decoded together before any of them draws
// (what waits for its first show would otherwise be decoded one texture at a time as it draws).
void realizeShownTextures(const RenderContext* context, const std::vector<BrushRecord*>& nearest,
                          bool occluding) {
    if (!Tex_AnyWaiting()) return;
    std::vector<const ShaderRecord*> textures;
    for (const BrushRecord* brush : nearest) {
        if (occluding && DrawQueue_Occluded(context->queue, brush->mins, brush->maxs)) continue;
        for (const FaceRecord* face = brush->firstFace; face; face = face->next)
            if (face->texture) textures.push_back(face->texture);
    }
    Draw_RealizeTogether(context, textures);
}

const ShaderRecord* textureOf(const DrawNode* node) {
    switch (node->kind) {
    case SkyKind::Face:
        return static_cast<const FaceRecord*>(node->object)->texture;
    case SkyKind::Patch:
        return static_cast<const PatchRecord*>(node->object)->texture;
    default:
        return static_cast<const OverlayRecord*>(node->object)->texture;
    }
}

} // namespace

// ---- Queues -------------------------------------------------------------------------------------

DrawQueue* Map_DrawQueue(MapWorld* world) {
    if (!world) return nullptr;
    if (!world->drawQueue)
        world->drawQueue = DrawQueue_Create(listSlots(world, false), listSlots(world, true));
    return static_cast<DrawQueue*>(world->drawQueue);
}

void Map_RecycleDrawLists(MapWorld* world) {
    DrawList_Recycle(listSlots(world, false));
    DrawList_Recycle(listSlots(world, true));
}

void Map_FreeDrawLists(MapWorld* world) {
    if (!world) return;
    DrawList_Free(listSlots(world, false));
    DrawList_Free(listSlots(world, true));
}

void Map_FreeDrawQueue(MapWorld* world) {
    if (!world) return;
    DrawQueue_Destroy(static_cast<DrawQueue*>(world->drawQueue));
    world->drawQueue = nullptr;
}

void Map_DrawBlended(MapWorld* world, RenderContext* context) {
    DrawNode*& head = listHead(world, false);
    if ((context->renderFlags & RenderBit::TransparentSort) && head && head->next) head = DrawList_Sort(head);
    // The sorted list runs near to far; translucent surfaces must be laid far to near, so the walk
    // goes through the list reversed in place (equal keys are reversed back below).
    DrawNode* reversed = nullptr;
    while (DrawNode* node = head) {
        head = node->next;
        node->next = reversed;
        reversed = node;
    }
    // Runs of equal keys go back into queue order.
    DrawNode* ordered = nullptr;
    DrawNode** tail = &ordered;
    while (reversed) {
        DrawNode* run = reversed;
        DrawNode* end = run;
        while (end->next && end->next->key == run->key)
            end = end->next;
        reversed = end->next;
        end->next = nullptr;
        DrawNode* back = nullptr;
        while (DrawNode* node = run) {
            run = node->next;
            node->next = back;
            back = node;
        }
        *tail = back;
        while (*tail)
            tail = &(*tail)->next;
    }
    head = ordered;

    GL_State(context->stateCache, 0x40000);
    for (DrawNode* node = head; node; node = node->next) {
        switch (node->kind) {
        case BlendedKind::Face:
            if (cMapFace* face = static_cast<FaceRecord*>(node->object)->handle) face->drawDeferred(context);
            break;
        case BlendedKind::Patch:
            if (cMapPatch* patch = static_cast<PatchRecord*>(node->object)->handle)
                patch->drawBlended(context);
            break;
        case BlendedKind::Overlay:
            if (cMapOverlay* overlay = static_cast<OverlayRecord*>(node->object)->handle)
                overlay->drawBlended(context);
            break;
        default:
            if (cMapEntity* entity = static_cast<EntityRecord*>(node->object)->handle)
                entity->drawBlended(context);
            break;
        }
    }
    GL_State(context->stateCache, GLS::Opaque);
}

void Map_DrawSky(MapWorld* world, RenderContext* context) {
    DrawNode* head = listHead(world, true);
    if (!head) return;
    GL_State(context->stateCache, GLS::Opaque);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_REPLACE);
    const ShaderRecord* surfaceSky = nullptr; // the first queued surface's texture
    for (DrawNode* node = head; node; node = node->next) {
        switch (node->kind) {
        case SkyKind::Face:
            static_cast<FaceRecord*>(node->object)->handle->drawSky(context);
            break;
        case SkyKind::Patch:
            static_cast<PatchRecord*>(node->object)->handle->drawSky(context);
            break;
        default:
            static_cast<OverlayRecord*>(node->object)->handle->drawSky(context);
            break;
        }
        surfaceSky = textureOf(node); // nodes are pushed at the head: the last one came first
    }
    glStencilFunc(GL_EQUAL, 1, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDisable(GL_DEPTH_TEST);
    SkyState state{};
    state.sky = world->sky ? static_cast<ShaderRecord*>(world->sky) : const_cast<ShaderRecord*>(surfaceSky);
    std::memcpy(state.axis, world->skyAxis, sizeof state.axis);
    state.speed = world->skyRotation;
    // The sky draws from client arrays of its own: fenced like plugin drawing, and the state cache
    // told afterwards that GL changed behind it.
    // The eye sits inside the box: both windings show, whatever the sky's state words ask.
    GLStateCache* cache = context->stateCache;
    const uint8_t cacheFlags = cache->flags;
    cache->flags |= GLCacheFlag::KeepCulling;
    glDisable(GL_CULL_FACE);
    if (Render_BeginBatch(context)) {
        Sky_Draw(&state, context);
        Render_EndBatch();
    }
    cache->flags = cacheFlags;
    GL_ResyncStateCache(cache);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    GL_State(context->stateCache, GLS::Opaque);
}

// ---- Passes -------------------------------------------------------------------------------------

// Every object of the pass: through the cull tree when it is in use, else the world's brushes and
// then the other entities in list order.
static void drawObjects(MapWorld* world, RenderContext* context, RenderCounters* counters,
                        uint32_t passFlags) {
    if (useTree(world, context)) {
        walkTree(world, context, counters, passFlags);
        return;
    }
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if (!isWorld(e)) continue;
        for (BrushRecord* brush = e->firstBrush; brush; brush = brush->next) {
            cMapBrush* handle = brush->handle;
            if (handle && handle->isVisible(context, counters, 0)) handle->draw(context, counters, passFlags);
        }
    }
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (!isWorld(e)) drawEntity(context, counters, e, passFlags);
}

void Map_DrawObjectsPass(MapWorld* world, RenderContext* context, RenderCounters* counters,
                         bool selectionPass) {
    const uint32_t passFlags = selectionPass ? kPassSelection : kPassNormal;
    std::vector<BrushRecord*> nearest;
    if (!selectionPass && drawsNearToFar(context)) nearest = nearestFirst(world, context);
    OcclusionBuffer occlusion;
    const bool occluding = !nearest.empty() && buildOcclusion(nearest, context, &occlusion);
    DrawQueue* queue = Map_DrawQueue(world);
    const cQueueScope scope(context, queue);
    DrawQueue_Begin(queue);
    if (occluding) DrawQueue_SetOcclusion(queue, &occlusion);
    if (context->renderMode >= 2) realizeShownTextures(context, nearest, occluding);
    // The world brushes first, nearest first; the walk then meets them drawn (stamped) and
    // draws the rest. The queued faces go out in bands growing with the distance: within a band
    // they are batched per texture, and each band lies in the depth buffer before the next is
    // shaded (patches draw at once: a band's faces must be out before farther patches come).
    int32_t queued = 0, band = kFirstBand;
    for (BrushRecord* brush : nearest) {
        brush->handle->draw(context, counters, passFlags);
        for (const FaceRecord* face = brush->firstFace; face; face = face->next)
            ++queued;
        if (queued >= band) {
            DrawQueue_Flush(queue, context);
            queued = 0;
            band *= 2;
        }
    }
    drawObjects(world, context, counters, passFlags);
    DrawQueue_End(queue, context);
}

void Map_DrawObjectsSinglePass(MapWorld* world, RenderContext* context, RenderCounters* counters) {
    drawObjects(world, context, counters, kPassPicking);
}

void Map_DrawPaths(MapWorld* world, RenderContext* context, RenderCounters* counters) {
    const bool forced = context->renderFlags & RenderBit::PathTool;
    if (Draw_Picking(context)) {
        if (!forced || !(context->pickArgument & 0x8)) return;
    } else if (!forced && (context->hideMask & EntityHideMask::PathLike)) {
        return;
    }
    for (PathRecord* path = world->paths; path; path = path->next)
        if (cMapPath* handle = path->handle) handle->draw(context, counters);
}

void Map_DrawCameras(MapWorld* world, RenderContext* context) {
    if (context->is3D || !(context->renderFlags & RenderBit::CameraTool)) return;
    if (Draw_Picking(context) && !(context->pickArgument & 0x4)) return;
    for (CameraRecord* camera = world->cameras; camera; camera = camera->next)
        if (cMapCamera* handle = camera->handle) handle->draw(context);
}

void Map_DrawViewCamera(MapWorld* world, RenderContext* context) {
    if (!world || !world->owner || context->is3D) return;
    float eye[3], angles[3];
    if (!Project_ViewCamera(world->owner, eye, angles)) return;
    const float s = context->invZoom;
    const int h = context->hAxis, v = context->vAxis;
    const float angle = angles[context->dAxis == 2 ? 1 : 0];
    auto point = [&](float dh, float dv, float out[3]) {
        for (int k = 0; k < 3; ++k)
            out[k] = eye[k];
        out[h] += dh;
        out[v] += dv;
    };
    float strip[9][3];
    point(-16 * s, 0, strip[0]);
    point(0, 8 * s, strip[1]);
    point(16 * s, 0, strip[2]);
    point(0, -8 * s, strip[3]);
    for (int k = 0; k < 3; ++k) {
        strip[4][k] = strip[0][k];
        strip[5][k] = strip[2][k];
    }
    const float half = float(Sys_Settings().CameraFOV) * 0.5f;
    for (int side = 0; side < 2; ++side) {
        const float a = (angle + (side == 0 ? -half : half)) * 3.14159265f / 180.0f;
        point(48 * s * std::cos(a), 48 * s * std::sin(a), strip[side == 0 ? 6 : 8]);
    }
    point(0, 0, strip[7]);
    uint8_t colour[4];
    glColor4ubv(Color_FillRGBA(colour, COLOR_2D_CAMERA));
    Render_VertexPointer(context->stateCache, 0, strip);
    glDrawArrays(GL_LINE_STRIP, 0, 6);
    glDrawArrays(GL_LINE_STRIP, 6, 3);
}

void Map_Render(MapWorld* world, RenderContext* context, RenderCounters* counters) {
    if (!world) return;
    EntityRecord* worldspawn = world->entities;
    // The world entity is never drawn as an entity: its stamp keeps the last frame of this world.
    if (worldspawn) {
        if (context->frameStamp < worldspawn->frameStamp) clearFrameStamps(world);
        worldspawn->frameStamp = context->frameStamp;
    }
    if (Draw_Picking(context)) {
        Map_DrawObjectsSinglePass(world, context, counters);
        Map_DrawCameras(world, context);
        Map_DrawPaths(world, context, counters);
        return;
    }
    if (!context->is3D) glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    Map_RecycleDrawLists(world);
    Map_DrawObjectsPass(world, context, counters, false);
    if (anySelected(world)) Map_DrawObjectsPass(world, context, counters, true);
    if (world->skyList) Map_DrawSky(world, context);
    Map_DrawPaths(world, context, counters);
    Map_DrawCameras(world, context);
    if (world->blendedList) Map_DrawBlended(world, context);
    if ((context->renderFlags & RenderBit::DrawCullTree) && Cull_TreeOf(world) && Cull_TreeOf(world)->root) {
        CullTree* tree = Cull_TreeOf(world);
        glColor4ub(0, 255, 200, 255);
        GL_State(context->stateCache, context->stateCache->state & ~GLS::DepthWrite);
        Cull_DrawBoxes(tree, tree->root, context);
        GL_State(context->stateCache, context->stateCache->state | GLS::DepthWrite);
    }
    if (context->renderFlags & RenderBit::ShowConnections)
        for (EntityRecord* e = world->entities; e; e = e->next)
            if (!isWorld(e) && e->handle) e->handle->drawTargetLinks(context);
    if (Map_PointfileCount(world) > 0) Map_DrawPointfile(world, context);
    if (context->is3D && Map_Portals(world)) Map_DrawPortals(world, context);
    if (Map_Hulls(world)) Map_DrawHulls(world, context);
    if (!context->is3D) {
        if (context->renderFlags & RenderBit::DrawCamera) Map_DrawViewCamera(world, context);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
}

QList<MapTitle> Map_TitleList(MapWorld* world) {
    QList<MapTitle> titles;
    if (!world) return titles;
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if ((e->flags & EntityFlag::World) || !e->classname || !*e->classname) continue;
        titles.append({e, Text_FromWindows1251(e->classname),
                       e->targetname ? Text_FromWindows1251(e->targetname) : QString()});
    }
    return titles;
}
