// The sky pass's GL side: the box faces with their images, then the cloud stages on the dome.
#include <GL/gl.h>
#include <memory>

#include "gamedata/EffectBatch.h"
#include "gamedata/SkyManager.h"
#include "gamedata/SkyMesh.h"
#include "gamedata/TextureManager.h"
#include "render/GLStateCache.h"
#include "render/RenderContext.h"

namespace {

// The blend the sky pass draws with: source times what the sky surfaces left (DST_COLOR, ZERO).
constexpr uint32_t kSkyBlend = 0x13;

void bindImage(GLStateCache* cache, const TextureImage* image, int32_t filter) {
    if (image) Render_BindTexture(cache, image->glName, filter, !(image->flags & IMAGE_NO_MIPMAPS));
}

void restoreWrap() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void drawBox(SkyMeshes* meshes, const ShaderRecord* sky, const RenderContext* context) {
    GLStateCache* cache = context->stateCache;
    Render_VertexPointer(cache, sizeof(SkyBoxVertex), meshes->box[0].xyz);
    Render_TexCoordPointer(cache, sizeof(SkyBoxVertex), meshes->box[0].st);
    GL_State(cache, kSkyBlend);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (int f = 0; f < 6; ++f) {
        const TextureImage* image = sky->box[f] ? sky->box[f] : Plugin_WhiteImage();
        bindImage(cache, image, context->textureFilter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        glDrawElements(GL_TRIANGLE_FAN, 4, GL_UNSIGNED_SHORT, meshes->boxIndices + 4 * f);
        restoreWrap();
    }
}

void drawClouds(SkyMeshes* meshes, ShaderRecord* sky, const RenderContext* context) {
    GLStateCache* cache = context->stateCache;
    EffectBatch& batch = meshes->batch;
    batch.shader = sky;
    batch.time = context->time;
    if (sky->cloudHeight != meshes->cloudHeight) {
        if (sky->cloudHeight != 0.0f)
            Sky_CloudCoords(meshes->dome, kSkyDomeVertices, sky->cloudHeight);
        else
            Sky_BuildDome(meshes->dome, meshes->domeIndices);
        meshes->cloudHeight = sky->cloudHeight;
    }
    glInterleavedArrays(GL_T2F_C4UB_V3F, sizeof(EffectVertex), meshes->dome);
    // The interleaved call replaced all three pointers behind the cache's back.
    cache->colorPointer = cache->texCoordPointer = cache->vertexPointer = nullptr;
    const bool animate = context->renderFlags & RenderBit::AnimateShaders;
    for (ShaderStage* stage = sky->stages; stage; stage = stage->next) {
        if (stage->skip) continue;
        batch.stage = stage;
        bindImage(cache, animate ? Shader_CurrentFrame(&batch) : stage->frames[0], context->textureFilter);
        if (stage->stageFlags & 0x2) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        if (stage->stageFlags & 0x4) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        uint32_t word = uint32_t(stage->stateBits);
        if (!(word & 0xff)) word |= kSkyBlend;
        GL_State(cache, word);
        if (animate) {
            Shader_ComputeColors(&batch);
            Shader_ComputeTexCoords(&batch);
        }
        glDrawElements(GL_TRIANGLES, kSkyDomeIndices, GL_UNSIGNED_SHORT, meshes->domeIndices);
        restoreWrap();
    }
    glDisableClientState(GL_COLOR_ARRAY);
}

} // namespace

void Sky_Draw(const SkyState* state, const RenderContext* context) {
    SkyManager* manager = Sky_Manager();
    if (!state || !state->sky || !context || !context->stateCache || !manager) return;
    if (!manager->meshes) {
        manager->meshes = std::make_unique<SkyMeshes>();
        Sky_BuildMeshes(manager->meshes.get());
    }
    SkyMeshes* meshes = manager->meshes.get();
    ShaderRecord* sky = state->sky;

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(context->origin[0], context->origin[1], context->origin[2]);
    // An axis of zero length has no turn (GL would fill the matrix with NaN).
    const float* axis = state->axis;
    if (state->speed != 0.0f && (axis[0] != 0.0f || axis[1] != 0.0f || axis[2] != 0.0f))
        glRotatef(state->speed * context->time, axis[0], axis[1], axis[2]);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnable(GL_TEXTURE_2D);

    if ((sky->category & EFFECT_SKY_BOX) && sky->box[0]) drawBox(meshes, sky, context);
    if (sky->category & EFFECT_SKY) drawClouds(meshes, sky, context);

    glDisable(GL_TEXTURE_2D);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
}
