#include "gamedata/RenderApi.h"

#include <algorithm>
#include <cstring>

#include "core/NotAvailable.h"
#include "gamedata/EffectBatch.h"
#include "mainwindow/MainWindow.h"

namespace {

// What the entries that need no GL keep between calls.
struct RenderState {
    uint32_t color = 0;
    uint32_t stateBits = 0;
};

RenderState& state() {
    static RenderState s;
    return s;
}

} // namespace

void Render_PointSize(float) {
    Sys_ReportNotAvailable("Render_PointSize");
}

void Render_LineWidth(float) {
    Sys_ReportNotAvailable("Render_LineWidth");
}

void Render_BindShader(ShaderRecord*) {
    Sys_ReportNotAvailable("Render_BindShader");
}

void Render_BindImage(TextureImage*) {
    Sys_ReportNotAvailable("Render_BindImage");
}

void Render_SetPrimitive(int32_t) {
    Sys_ReportNotAvailable("Render_SetPrimitive");
}

void Render_Flush(void) {
    Sys_ReportNotAvailable("Render_Flush");
}

uint32_t Render_Color4ub(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    Sys_ReportNotAvailable("Render_Color4ub");
    const uint8_t bytes[4] = {r, g, b, a};
    std::memcpy(&state().color, bytes, sizeof bytes);
    return state().color;
}

void Render_ColorPacked(const uint32_t* rgba) {
    Sys_ReportNotAvailable("Render_ColorPacked");
    if (rgba) state().color = *rgba;
}

void Render_TexCoord2f(float, float) {
    Sys_ReportNotAvailable("Render_TexCoord2f");
}

void Render_TexCoord2fv(const float*) {
    Sys_ReportNotAvailable("Render_TexCoord2fv");
}

void Render_Normal3fv(const float*) {
    Sys_ReportNotAvailable("Render_Normal3fv");
}

void Render_Vertex3fv(const float*) {
    Sys_ReportNotAvailable("Render_Vertex3fv");
}

uint32_t Render_GetStateBits() {
    Sys_ReportNotAvailable("Render_GetStateBits");
    return state().stateBits;
}

void Render_SetStateBits(uint32_t bits) {
    Sys_ReportNotAvailable("Render_SetStateBits");
    state().stateBits = bits;
}

void Render_GetContext(float* viewFrame) {
    Sys_ReportNotAvailable("Render_GetContext");
    if (viewFrame) std::fill(viewFrame, viewFrame + 12, 0.0f);
}

float Render_GetMinAlpha() {
    return g_mainWindow ? g_mainWindow->settings.MinAlphaValue : MainSettings().MinAlphaValue;
}

float Render_ShadeForNormal(const float* normal) {
    if (!normal) return 1.0f;
    const float shade = 0.8f + 0.13363062f * normal[0] + 0.26726124f * normal[1] + 0.40089184f * normal[2];
    return std::min(shade, 1.0f);
}

bool Render_BeginBatch(const RenderContext*) {
    return false;
}
void Render_EndBatch() {}
void Render_FlushBatch() {}
void Render_DrawBatchStage(EffectBatch*, GLStateCache*, int32_t) {}
void Render_BatchPointers(GLStateCache*, const EffectVertex*, bool) {}
bool Render_BatchActive() {
    return false;
}
const EffectBatch* Render_Batch() {
    static EffectBatch batch{};
    return &batch;
}
