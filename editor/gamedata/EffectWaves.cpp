// Wave tables, wave and noise evaluation, and the vertex deforms of an effect batch.
#include "gamedata/EffectBatch.h"

void Shader_InitTables() {}
bool Shader_TablesBuilt() {
    return false;
}
const float* Shader_WaveTable(int32_t) {
    static float zero[kWaveTableSize] = {};
    return zero;
}
const float* Shader_NoiseFloats() {
    static float zero[kNoiseSize] = {};
    return zero;
}
const int32_t* Shader_NoisePermutation() {
    static int32_t zero[kNoiseSize] = {};
    return zero;
}
float Shader_EvalWave(const WaveForm*, float) {
    return 0.0f;
}
float Shader_Noise(float, float, float, float) {
    return 0.0f;
}
void Shader_ApplyDeforms(EffectBatch*) {}
void Shader_BuildSpriteQuad(EffectVertex*, const float*, const float*, const float*, const float*) {}
