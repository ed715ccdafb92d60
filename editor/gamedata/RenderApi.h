// Immediate drawing for plugins (models drawn by kpRenderModel): colour, texture coordinate and
// normal state, vertices batched into one program-wide EffectBatch and drawn by the editor,
// through the bound effect's stages when effect animation is on.
//
// The slots are called only between Render_BeginBatch and Render_EndBatch, which the entity
// renderer puts around a plugin's model drawing during a view's paint (GUI thread, the view's
// context current). Outside a batch the slots that touch GL do nothing; Render_GetMinAlpha and
// Render_ShadeForNormal work at any time.
#pragma once

#include <cstdint>

struct EffectBatch;
struct EffectVertex;
struct GLStateCache;
struct RenderContext;
struct ShaderRecord;
struct ShaderStage;
struct TextureImage;

// Capacity of the program-wide batch; a full batch is drawn at once.
inline constexpr int32_t kRenderBatchSize = 12288;

// Render_SetPrimitive kinds (any other value: points, which are never drawn).
namespace RenderPrimitive {
constexpr int32_t Points = 0;
constexpr int32_t Lines = 1;
constexpr int32_t Triangles = 2;
constexpr int32_t Polygon = 3;
constexpr int32_t TriangleStrip = 4;
constexpr int32_t TriangleFan = 5;
} // namespace RenderPrimitive

// The engine-table slots (offsets 96..224).
extern "C" {
void Render_PointSize(float size);
void Render_LineWidth(float width);
void Render_BindShader(ShaderRecord* shader);
void Render_BindImage(TextureImage* image);
void Render_SetPrimitive(int32_t kind);
void Render_Flush(void);
// The packed colour (byte 0 red).
uint32_t Render_Color4ub(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void Render_ColorPacked(const uint32_t* rgba);
void Render_TexCoord2f(float s, float t);
void Render_TexCoord2fv(const float* st);
void Render_Normal3fv(const float* normal);
void Render_Vertex3fv(const float* point);
uint32_t Render_GetStateBits(void);
void Render_SetStateBits(uint32_t bits);
// Copies the view frame (origin, forward, right, up: 12 floats); null ignored.
void Render_GetContext(float* viewFrame);
// The alpha-test reference, MinAlphaValue (0..1).
float Render_GetMinAlpha(void);
// Fixed-light shade: min(0.8 + n · (0.13363062, 0.26726124, 0.40089184), 1); null gives 1.
float Render_ShadeForNormal(const float* normal);
}

// Host side. Opens the program-wide batch for a view's paint (its context current, its state
// cache in use); false, with a warning, while a batch is already open.
bool Render_BeginBatch(const RenderContext* context);
// Restores what the slots changed and closes the batch. Does not flush: a plugin flushes.
void Render_EndBatch();
// Draws the program-wide batch (deforms and stages with an effect bound) and empties it.
void Render_FlushBatch();
// Draws the batch's current stage: its frame image bound with the filter word, clamping, state
// word, stage colours and coordinates, one glDrawArrays. The caller has pointed the client
// arrays at the batch's vertices (Render_BatchPointers with stage fields).
void Render_DrawBatchStage(EffectBatch* batch, GLStateCache* cache, int32_t filterWord);
// Points the colour, texture-coordinate and vertex arrays at a vertex buffer (stride 56): the
// stage fields (offsets 0 and 8) or the supplied ones (36 and 52). Only what differs is set.
void Render_BatchPointers(GLStateCache* cache, const EffectVertex* vertices, bool stageFields);
// True between Render_BeginBatch and Render_EndBatch.
bool Render_BatchActive();
// The program-wide batch (for inspection; drawn only through the functions above).
const EffectBatch* Render_Batch();
