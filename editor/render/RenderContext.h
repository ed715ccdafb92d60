// The per-view render parameters every view hands, with its frustum and state cache, to the world
// renderer, to object and tool drawing and to plugin drawing; and the frame statistics.
#pragma once

#include <cstddef>
#include <cstdint>

struct DrawQueue;
struct GLStateCache;
struct ViewFrustum;

// Bits of RenderContext::renderFlags.
namespace RenderBit {
constexpr int32_t DrawCamera = 0x1;
constexpr int32_t ShowConnections = 0x2;
constexpr int32_t Grid3D = 0x4;
constexpr int32_t GridUV = 0x8;
constexpr int32_t SelectByHandles = 0x10;
constexpr int32_t VertexTool = 0x20;
constexpr int32_t Transparency = 0x40;
constexpr int32_t TransparentSort = 0x80;
constexpr int32_t UseCullTree = 0x100;
constexpr int32_t DrawCullTree = 0x200;
constexpr int32_t DrawNoDraw = 0x400;
constexpr int32_t DrawHint = 0x800;
constexpr int32_t DrawClip = 0x1000;
constexpr int32_t DrawTrigger = 0x2000;
constexpr int32_t Curves = 0x4000;
constexpr int32_t Always8000 = 0x8000;
constexpr int32_t Models = 0x10000;
constexpr int32_t DrawSky = 0x20000;
constexpr int32_t AnimateModels = 0x40000;
constexpr int32_t AnimateShaders = 0x80000;
constexpr int32_t AnimateModels2 = 0x100000;
constexpr int32_t NoPolyOffset = 0x200000;
constexpr int32_t SelOverlaySkipDepth = 0x400000;
constexpr int32_t TextureTool = 0x800000;
constexpr int32_t CameraTool = 0x1000000;
constexpr int32_t PathTool = 0x2000000;
constexpr int32_t FastRedraw = 0x4000000;
} // namespace RenderBit

struct RenderContext {
    int32_t is3D;
    int32_t frameStamp;
    int32_t renderFlags; // RenderBit
    int32_t renderMode;
    int32_t pickBase; // non-zero only during a pick render
    int32_t pickArgument;
    int32_t textureFilter; // bit 0 linear, bit 1 anisotropic, bit 2 mipmaps
    int32_t hideMask;
    int32_t hAxis;
    int32_t vAxis;
    int32_t dAxis;
    int32_t depthSign;
    int32_t detailContentMask;
    float time;
    float frameTime;
    float sharedFrameTime; // at most 0.1
    float minAlpha;
    float invZoom;
    int32_t gridSize;
    int32_t majorGridStep; // grid * 16 within [64, 2048]
    int32_t distanceGridUV;
    int32_t modelRenderDistance;
    int32_t selectionBulletSize;
    int32_t vertexToolBulletSize;
    float origin[3];
    float forward[3];
    float right[3];
    float up[3];
    ViewFrustum* frustum;
    GLStateCache* stateCache;
    // Faces turned away from the eye are dropped: on in the camera view's modes 1 to 3 (solid
    // drawing), off in wireframe and in the 2D views, where both sides show.
    int32_t backFaceCull;
    int32_t reserved164;
    // The queue of the world drawing into the view (its object passes set it); null otherwise.
    DrawQueue* queue;
};
static_assert(offsetof(RenderContext, time) == 52);
static_assert(offsetof(RenderContext, origin) == 96);
static_assert(offsetof(RenderContext, frustum) == 144);
static_assert(offsetof(RenderContext, backFaceCull) == 160);
static_assert(offsetof(RenderContext, queue) == 168);
static_assert(sizeof(RenderContext) == 176);

// Bits of RenderContext::hideMask that drawing reads besides the display filters.
namespace HideBit {
// With the texture tool (RenderBit::TextureTool) the texture is being applied: selected surfaces
// show their texture untinted.
constexpr int32_t TextureApplication = 0x8;
} // namespace HideBit

// Counted by the world renderer (titles by the views); zeroed before every paint.
struct RenderCounters {
    int32_t entities;
    int32_t brushes;
    int32_t faces;
    int32_t patches;
    int32_t overlays;
    int32_t culls;
    int32_t titles;
    int32_t paths;
    int32_t nodes;
};
static_assert(sizeof(RenderCounters) == 36);

// Advanced by every pass setup; equal to the pass's context frame stamp while it draws.
extern int32_t g_renderFrameStamp;
// The next frame stamp; after the largest it starts again at 1 (the world renderer then clears
// the stamps objects kept, so none is taken as drawn already).
inline int32_t Render_NextFrameStamp() {
    g_renderFrameStamp =
        g_renderFrameStamp >= 0x7fffffff || g_renderFrameStamp < 0 ? 1 : g_renderFrameStamp + 1;
    return g_renderFrameStamp;
}
