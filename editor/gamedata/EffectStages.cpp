// Per-stage colours, texture coordinates and animation frames of an effect batch.
#include "gamedata/EffectBatch.h"

void Shader_ComputeColors(EffectBatch*) {}
void Shader_ColorWave(EffectBatch*) {}
void Shader_ColorLighting(EffectBatch*) {}
void Shader_AlphaSpecular(EffectBatch*) {}
void Shader_AlphaPortal(EffectBatch*) {}
void Shader_ComputeTexCoords(EffectBatch*) {}
void Shader_TexGenEnvironment(EffectBatch*) {}
TextureImage* Shader_CurrentFrame(const EffectBatch* batch) {
    return batch && batch->stage ? batch->stage->frames[0] : nullptr;
}
