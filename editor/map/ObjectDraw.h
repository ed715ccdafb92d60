// What the drawing of brushes, faces, patches and overlays shares: pick ids, the colour rules,
// texture binding, the texture-category and display filters and the selection tool's transform preview.
#pragma once

#include <cstdint>
#include <vector>

struct BrushRecord;
struct EntityRecord;
struct MapWorld;
struct QueuedVertices;
struct ShaderStage;
struct RenderContext;
struct ShaderRecord;
struct TextureImage;

// Display filters: bits of the HideMask setting that hide brushes (the entity bits are in
// MapEntity.h).
namespace BrushHideMask {
constexpr int32_t Detail = 0x4; // first face's contents share a bit with the profile's detail mask
constexpr int32_t Patches = 0x20;
} // namespace BrushHideMask

// True when the display filters of hideMask leave the object shown (a zero mask passes all).
bool Map_EntityPassesFilters(const EntityRecord* entity, int32_t hideMask);
bool Map_BrushPassesFilters(const BrushRecord* brush, int32_t hideMask);

// The selection tool's preview of a transform: every point p is drawn at M (p - origin) + origin,
// except coordinates the keep bits (TransformKeep) hold; the moved points grow the bounds.
struct TransformPreview {
    float origin[3];
    float matrix[12];     // row-major 3x4; the translation column is added after the rotation
    uint8_t keepBits;     // TransformKeep
    bool keepOrientation; // normals are not turned (moves only)
    float mins[3];
    float maxs[3];
};

// Moves one point by the preview and grows its bounds.
void Draw_PreviewPoint(TransformPreview* preview, const float in[3], float out[3]);
// Turns a normal by the preview's rotation (unchanged when it keeps orientations).
void Draw_PreviewNormal(const TransformPreview* preview, const float in[3], float out[3]);
// Empty bounds before a preview is drawn.
void Draw_ClearPreviewBounds(TransformPreview* preview);

// A pick pass is running (RenderContext::pickBase 1 groups, 2 objects, 3 faces).
bool Draw_Picking(const RenderContext* context);
// The id a brush's surfaces carry in a pick pass: base 1 the outermost group of a grouped brush
// (for another entity's brush, the entity's group), else the entity for a brush of an entity
// other than the world, else the brush; bases 2 and 3 the brush (faces give their own id under 3).
int32_t Draw_PickId(const RenderContext* context, const BrushRecord* brush);
// glColor of an id's pick colour (red bits 0-7, green 8-15, blue 16-23).
void Draw_SetPickColor(int32_t id);

// Fill and outline colours of a brush's surfaces: the selected colours, else (3D views, and 2D
// views with UseVisgroupColors) white when textured, the first visgroup's colour, the group's,
// the brush's own (world brushes) or the entity's; else (2D) COLOR_BRUSH_DEFAULT for world
// brushes and the entity's colour for others.
void Draw_SurfaceColors(const RenderContext* context, const BrushRecord* brush, bool selected, bool textured,
                        uint8_t fill[4], uint8_t outline[4]);
// Whether the view draws this texture's image: 3D, render mode 2 or more, with an uploaded image
// (decoded and uploaded here when it waits for its first show, unless the caller knows the surface
// is hidden this frame).
bool Draw_Textured(const RenderContext* context, const ShaderRecord* texture, bool shown = true);
// Decodes together, on the worker pool, the images of those textures that still wait for their
// first show: what a frame is about to draw, so that its draws find them uploaded.
void Draw_RealizeTogether(const RenderContext* context, const std::vector<const ShaderRecord*>& textures);
// Binds the texture's image through the state cache (GL_TEXTURE_2D must be enabled by the caller).
void Draw_BindTexture(const RenderContext* context, const ShaderRecord* texture);
// Hidden by the view's texture-category filters (bits 1, 4, 2, 8 need view bits 0x400, 0x800,
// 0x1000, 0x2000).
bool Draw_HiddenByCategory(const RenderContext* context, const ShaderRecord* texture);
// Texture flags 0x600: a sky surface.
bool Draw_IsSky(const ShaderRecord* texture);
// Sky surfaces and blended surfaces go to the world's queues only in drawing passes of a 3D view.
bool Draw_QueuesSky(const RenderContext* context, const ShaderRecord* texture);
// Squared distance from the view origin to a point, for the blended queue's key.
float Draw_EyeDistance(const RenderContext* context, const float point[3]);
// Queues a surface on the context's blended list with its eye distance, or on the sky list; false
// when nothing was queued (no queue, or no node could be had).
bool Draw_QueueBlended(const RenderContext* context, int32_t kind, void* object, const float centre[3]);
bool Draw_QueueSky(const RenderContext* context, int32_t kind, void* object);
// The draw queue's batch texture of an image (none for null).
void Draw_SetQueuedTexture(QueuedVertices& vertices, const TextureImage* image);
// Whether the view would put this surface into the blended pass: blending allowed (0x40), not
// picking, and the surface or its entity blended, or with effects on an effect whose first stage
// blends.
bool Draw_IsBlended(const RenderContext* context, const BrushRecord* brush, uint32_t surfaceFlags,
                    const ShaderRecord* texture);
// With effects on, the texture's stages are drawn one by one.
bool Draw_UsesStages(const RenderContext* context, const ShaderRecord* texture);
// Alpha of a surface in the blended pass: the texture's opacity, times the render amount of a
// non-world entity, at least the view's minimum.
float Draw_BlendedAlpha(const RenderContext* context, const BrushRecord* brush, const ShaderRecord* texture);
// Vertices of the effect batch (the largest patch has 8100).
inline constexpr int32_t kEffectBatchVertices = 9216;
// A surface's vertices as the effect batch takes them: positions, base texture coordinates and
// normals with their strides (a normal stride of 0 repeats one normal).
struct SurfaceVertices {
    int32_t count;
    const float* xyz;
    const float* st;
    const float* normal;
    int32_t stride;
    int32_t normalStride;
};
// The texture's stages over the shared effect batch: the vertices copied in (nothing past its
// capacity), the effect's deforms applied, then Face_DrawEffectStage per stage. With indices the
// batch is drawn by index (GL_QUADS of a patch).
void Draw_EffectStages(const RenderContext* context, const ShaderRecord* texture, uint32_t mode,
                       const SurfaceVertices& vertices, const uint16_t* indices, int32_t indexCount,
                       const uint8_t colour[4]);
