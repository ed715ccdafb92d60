// Immediate drawing for plugins (models drawn by kpRenderModel): colour, texture coordinate and
// normal state, vertices batched and drawn by the editor. The batch itself comes with the views'
// renderer; until then the drawing entries only say so, and the two formulas are complete.
#pragma once

#include <cstdint>

struct ShaderRecord;
struct TextureImage;

void Render_PointSize(float size);
void Render_LineWidth(float width);
void Render_BindShader(ShaderRecord* shader);
void Render_BindImage(TextureImage* image);
void Render_SetPrimitive(int32_t kind);
void Render_Flush();
// The packed colour (byte 0 red).
uint32_t Render_Color4ub(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void Render_ColorPacked(const uint32_t* rgba);
void Render_TexCoord2f(float s, float t);
void Render_TexCoord2fv(const float* st);
void Render_Normal3fv(const float* normal);
void Render_Vertex3fv(const float* point);
uint32_t Render_GetStateBits();
void Render_SetStateBits(uint32_t bits);
// Copies the view frame (origin, forward, right, up: 12 floats); null ignored.
void Render_GetContext(float* viewFrame);
// The alpha-test reference, MinAlphaValue (0..1).
float Render_GetMinAlpha();
// Fixed-light shade: min(0.8 + n · (0.13363062, 0.26726124, 0.40089184), 1); null gives 1.
float Render_ShadeForNormal(const float* normal);
