// The solid-face queue of the camera view: per-face draws cost llvmpipe a state validation and,
// on every texture switch, a copy of its whole fragment state, so faces are gathered per texture
// and each texture drawn with one glMultiDrawArrays. Each face stays its own primitive (same
// decomposition, same vertex values as its own draw) and its colour goes in a float array with
// the value glColor4ubv would have set.
#include <GL/gl.h>

#include <unordered_map>
#include <vector>

#include "document/MapRender.h"
#include "document/MapWorld.h"
#include "gamedata/TextureRecords.h"
#include "map/MapFace.h"
#include "map/ObjectDraw.h"
#include "views/GLStateCache.h"
#include "views/RenderContext.h"

// GL 1.4, exported by the GL library; the precompiled GL header leaves out the prototypes.
extern "C" void glMultiDrawArrays(GLenum mode, const GLint* first, const GLsizei* count, GLsizei drawcount);

namespace {

struct FaceRun {
    uint32_t glName = 0; // 0: untextured
    bool mipmaps = true;
    GLenum mode = GL_POLYGON;
    std::vector<float> xyz;
    std::vector<float> st;
    std::vector<float> rgba;
    std::vector<GLint> firsts;
    std::vector<GLsizei> counts;
};

struct FaceBatch {
    std::vector<FaceRun> runs;
    size_t used = 0; // runs in use this frame; the others keep their storage
    std::unordered_map<uint64_t, size_t> index;
    float lastColour[4] = {1, 1, 1, 1};
};

FaceBatch* batchOf(MapWorld* world, bool create) {
    if (!world->faceBatch && create) world->faceBatch = new FaceBatch;
    return static_cast<FaceBatch*>(world->faceBatch);
}

float colourFloat(uint8_t c) {
    return float(c) / 255.0f; // GL's own conversion of glColor4ubv
}

void drawRun(RenderContext* context, FaceRun& run) {
    GLStateCache* cache = context->stateCache;
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, run.rgba.data());
    cache->colorPointer = nullptr; // not the cache's byte colours: the next setter must call GL
    Render_VertexPointer(cache, 0, run.xyz.data());
    if (run.glName) {
        glEnable(GL_TEXTURE_2D);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        Render_BindTexture(cache, run.glName, context->textureFilter, run.mipmaps);
        Render_TexCoordPointer(cache, 0, run.st.data());
    }
    glMultiDrawArrays(run.mode, run.firsts.data(), run.counts.data(), GLsizei(run.firsts.size()));
    if (run.glName) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
    }
    glDisableClientState(GL_COLOR_ARRAY);
}

} // namespace

bool Map_QueueSolidFace(MapWorld* world, RenderContext* context, const FaceRecord* face,
                        const uint8_t colour[4], bool textured, uint32_t primitive) {
    if (!world || face->vertexCount < 3) return false;
    FaceBatch* batch = batchOf(world, true);
    const TextureImage* image = textured ? face->texture->image : nullptr;
    const uint32_t glName = image ? image->glName : 0;
    const bool mipmaps = !image || !(image->flags & IMAGE_NO_MIPMAPS);
    const uint64_t key = (uint64_t(glName) << 32) | (uint64_t(mipmaps) << 16) | (primitive & 0xffff);
    auto [it, added] = batch->index.try_emplace(key, batch->used);
    if (added) {
        if (batch->used == batch->runs.size()) batch->runs.emplace_back();
        FaceRun& run = batch->runs[batch->used++];
        run.glName = glName;
        run.mipmaps = mipmaps;
        run.mode = GLenum(primitive);
    }
    FaceRun& run = batch->runs[it->second];
    const int32_t n = face->vertexCount;
    run.firsts.push_back(GLint(run.xyz.size() / 3));
    run.counts.push_back(n);
    const float rgba[4] = {colourFloat(colour[0]), colourFloat(colour[1]), colourFloat(colour[2]),
                           colourFloat(colour[3])};
    for (int32_t i = 0; i < n; ++i) {
        const FaceVertex& v = face->vertices[i];
        run.xyz.insert(run.xyz.end(), v.xyz, v.xyz + 3);
        run.st.push_back(v.s);
        run.st.push_back(v.t);
        run.rgba.insert(run.rgba.end(), rgba, rgba + 4);
    }
    std::copy(rgba, rgba + 4, batch->lastColour);
    return true;
}

void Map_FlushSolidFaces(MapWorld* world, RenderContext* context) {
    FaceBatch* batch = world ? batchOf(world, false) : nullptr;
    if (!batch || !batch->used) return;
    GL_State(context->stateCache, Draw_SolidState(context));
    for (size_t i = 0; i < batch->used; ++i) {
        FaceRun& run = batch->runs[i];
        drawRun(context, run);
        run.xyz.clear();
        run.st.clear();
        run.rgba.clear();
        run.firsts.clear();
        run.counts.clear();
    }
    batch->used = 0;
    batch->index.clear();
    // The current colour is undefined after a colour array: leave the last face's, as its own draw did.
    glColor4fv(batch->lastColour);
}

void Map_FreeFaceBatch(MapWorld* world) {
    if (!world) return;
    delete batchOf(world, false);
    world->faceBatch = nullptr;
}
