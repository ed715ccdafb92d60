// The draw queue of the object passes. Per-face draws cost llvmpipe a state validation each and,
// on every texture switch, a copy of its whole fragment state; so the camera view's solid faces
// are gathered per texture and drawn with one glMultiDrawArrays per texture, and the 2D views'
// faces (polygons in line mode) likewise. Every face stays its own primitive (same
// decomposition, same vertex values as its own draw), and colours go in a float array holding
// the values glColor4ubv would have set. The 2D views' handles (patch
// vertex points, centre marks) go in one array each, drawn after the queued faces: a draw of
// points or plain lines between polygons drawn in line mode changes llvmpipe's primitive state
// both ways, and each change stores its whole fragment state again.
#include <GL/gl.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "document/MapRender.h"
#include "document/MapWorld.h"
#include "gamedata/TextureRecords.h"
#include "map/MapFace.h"
#include "map/ObjectDraw.h"
#include "render/GLStateCache.h"
#include "render/OcclusionBuffer.h"
#include "render/RenderContext.h"

// GL 1.4, exported by the GL library; the precompiled GL header leaves out the prototypes.
extern "C" void glMultiDrawArrays(GLenum mode, const GLint* first, const GLsizei* count, GLsizei drawcount);

namespace {

constexpr uint32_t k2DState = GLS::Opaque | 0x100000; // the 2D views' objects: both sides

struct FaceRun {
    uint32_t glName = 0; // 0: untextured
    bool mipmaps = true;
    bool bothSides = false; // back sides as lines, nothing culled
    GLenum mode = GL_POLYGON;
    std::vector<float> xyz;
    std::vector<float> st;
    std::vector<float> rgba;
    std::vector<GLint> firsts;
    std::vector<GLsizei> counts;
};

struct HandleRun {
    GLenum mode;
    std::vector<float> xyz;
    std::vector<uint8_t> rgba;
    uint8_t lastColour[4] = {255, 255, 255, 255};
};

// Point entities' boxes in a row, one primitive mode, a colour per vertex.
struct BoxRun {
    GLenum mode = GL_LINES;
    RenderContext* context = nullptr; // the pass that queued them
    std::vector<float> xyz;
    std::vector<uint8_t> rgba;
};

struct DrawQueue {
    bool open = false; // between Map_BeginQueuedDraws and Map_EndQueuedDraws
    std::vector<FaceRun> runs;
    size_t used = 0; // runs in use this frame; the others keep their storage
    std::unordered_map<uint64_t, size_t> index;
    float lastColour[4] = {1, 1, 1, 1};
    // The 2D views' handles (vertex points, centre marks), drawn after the faces, points first.
    HandleRun points{GL_POINTS};
    HandleRun lines{GL_LINES};
    // Boxes queued after everything above went out; drawn before anything queued after them.
    BoxRun boxes;
    const OcclusionBuffer* occlusion = nullptr; // the camera view's normal pass only
};

DrawQueue* queueOf(MapWorld* world, bool create) {
    if (!world) return nullptr;
    if (!world->drawQueue && create) world->drawQueue = new DrawQueue;
    return static_cast<DrawQueue*>(world->drawQueue);
}

DrawQueue* openQueue(MapWorld* world) {
    DrawQueue* queue = queueOf(world, false);
    return queue && queue->open ? queue : nullptr;
}

void toFloats(const uint8_t colour[4], float out[4]) {
    for (int k = 0; k < 4; ++k)
        out[k] = float(colour[k]) / 255.0f; // GL's own conversion of glColor4ubv
}

void colourArray(GLStateCache* cache, const float* rgba) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, rgba);
    cache->colorPointer = nullptr; // not the cache's byte colours: the next setter must call GL
}

void drawRun(RenderContext* context, const FaceRun& run) {
    if (run.firsts.empty()) return; // only hidden faces
    GLStateCache* cache = context->stateCache;
    colourArray(cache, run.rgba.data());
    Render_VertexPointer(cache, 0, run.xyz.data());
    if (run.glName) {
        glEnable(GL_TEXTURE_2D);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        Render_BindTexture(cache, run.glName, context->textureFilter, run.mipmaps);
        Render_TexCoordPointer(cache, 0, run.st.data());
    }
    const uint32_t word = cache->state;
    if (run.bothSides) {
        glPolygonMode(GL_BACK, GL_LINE);
        GL_State(cache, (word & ~GLS::CullMask) | 0x100000);
    }
    glMultiDrawArrays(run.mode, run.firsts.data(), run.counts.data(), GLsizei(run.firsts.size()));
    if (run.bothSides) {
        GL_State(cache, word);
        glPolygonMode(GL_BACK, GL_FILL);
    }
    if (run.glName) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisable(GL_TEXTURE_2D);
    }
    glDisableClientState(GL_COLOR_ARRAY);
}

// The boxes in the GL state they were queued in (nothing drew between them), as one primitive
// given vertex by vertex as each box's own draw gave it: llvmpipe takes the vertices into the
// buffer it keeps for that, where a client array of this size would be copied into a new buffer
// at every draw.
void flushBoxes(DrawQueue* queue) {
    BoxRun& run = queue->boxes;
    if (run.xyz.empty()) return;
    const size_t count = run.xyz.size() / 3;
    glBegin(run.mode);
    for (size_t i = 0; i < count; ++i) {
        glColor4ubv(&run.rgba[4 * i]);
        glVertex3fv(&run.xyz[3 * i]);
    }
    glEnd();
    run.xyz.clear();
    run.rgba.clear();
}

bool facesWaiting(const DrawQueue* queue) {
    return queue->used || !queue->points.xyz.empty() || !queue->lines.xyz.empty();
}

} // namespace

void Map_BeginQueuedDraws(MapWorld* world) {
    if (DrawQueue* queue = queueOf(world, true)) queue->open = true;
}

void Map_EndQueuedDraws(MapWorld* world, RenderContext* context) {
    Map_FlushQueuedDraws(world, context);
    if (DrawQueue* queue = queueOf(world, false)) {
        queue->open = false;
        queue->occlusion = nullptr;
    }
}

void Map_SetOcclusion(MapWorld* world, const OcclusionBuffer* occlusion) {
    if (DrawQueue* queue = openQueue(world)) queue->occlusion = occlusion;
}

bool Map_Occluded(MapWorld* world, const float mins[3], const float maxs[3], float pixelMargin) {
    const DrawQueue* queue = openQueue(world);
    return queue && queue->occlusion && Occlusion_BoxHidden(queue->occlusion, mins, maxs, pixelMargin);
}

bool Map_FaceOccluded(MapWorld* world, const FaceRecord* face) {
    const DrawQueue* queue = openQueue(world);
    if (!queue || !queue->occlusion || face->vertexCount < 1) return false;
    float mins[3], maxs[3];
    for (int k = 0; k < 3; ++k)
        mins[k] = maxs[k] = face->vertices[0].xyz[k];
    for (int32_t i = 1; i < face->vertexCount; ++i)
        for (int k = 0; k < 3; ++k) {
            mins[k] = std::min(mins[k], face->vertices[i].xyz[k]);
            maxs[k] = std::max(maxs[k], face->vertices[i].xyz[k]);
        }
    return Occlusion_BoxHidden(queue->occlusion, mins, maxs);
}

namespace {

// The queue's run for a texture (none without an image), primitive and sidedness.
FaceRun& runFor(DrawQueue* queue, const TextureImage* image, uint32_t primitive, bool bothSides) {
    const uint32_t glName = image ? image->glName : 0;
    const bool mipmaps = !image || !(image->flags & IMAGE_NO_MIPMAPS);
    const uint64_t key = (uint64_t(glName) << 32) | (uint64_t(bothSides) << 17) | (uint64_t(mipmaps) << 16) |
                         (primitive & 0xffff);
    auto [it, added] = queue->index.try_emplace(key, queue->used);
    if (added) {
        if (queue->used == queue->runs.size()) queue->runs.emplace_back();
        FaceRun& run = queue->runs[queue->used++];
        run.glName = glName;
        run.mipmaps = mipmaps;
        run.bothSides = bothSides;
        run.mode = GLenum(primitive);
    }
    return queue->runs[it->second];
}

} // namespace

bool Map_QueueSolidFace(MapWorld* world, const RenderContext* context, const FaceRecord* face,
                        const uint8_t colour[4], bool textured, uint32_t primitive, bool hidden) {
    DrawQueue* queue = openQueue(world);
    if (!queue || face->vertexCount < 3) return false;
    FaceRun& run = runFor(queue, textured ? face->texture->image : nullptr, primitive, false);
    float rgba[4];
    toFloats(colour, rgba);
    if (hidden) {
        std::copy(rgba, rgba + 4, queue->lastColour);
        return true;
    }
    flushBoxes(queue);
    const int32_t n = face->vertexCount;
    run.firsts.push_back(GLint(run.xyz.size() / 3));
    run.counts.push_back(n);
    for (int32_t i = 0; i < n; ++i) {
        const FaceVertex& v = face->vertices[i];
        run.xyz.insert(run.xyz.end(), v.xyz, v.xyz + 3);
        run.st.push_back(v.s);
        run.st.push_back(v.t);
        run.rgba.insert(run.rgba.end(), rgba, rgba + 4);
    }
    std::copy(rgba, rgba + 4, queue->lastColour);
    return true;
}

bool Map_QueueOpen(MapWorld* world) {
    return openQueue(world) != nullptr;
}

bool Map_QueueVertices(MapWorld* world, const QueuedVertices& vertices, uint32_t primitive, bool bothSides,
                       const uint16_t* indices, int32_t count) {
    DrawQueue* queue = openQueue(world);
    if (!queue) return false;
    if (count <= 0) return true;
    flushBoxes(queue);
    FaceRun& run = runFor(queue, vertices.image, primitive, bothSides);
    run.firsts.push_back(GLint(run.xyz.size() / 3));
    run.counts.push_back(count);
    float rgba[4];
    if (!vertices.colours) toFloats(vertices.colour, rgba);
    for (int32_t k = 0; k < count; ++k) {
        const size_t offset = size_t(vertices.stride) * indices[k];
        const float* xyz =
            reinterpret_cast<const float*>(reinterpret_cast<const uint8_t*>(vertices.xyz) + offset);
        run.xyz.insert(run.xyz.end(), xyz, xyz + 3);
        if (vertices.st) {
            const float* st =
                reinterpret_cast<const float*>(reinterpret_cast<const uint8_t*>(vertices.st) + offset);
            run.st.insert(run.st.end(), st, st + 2);
        } else {
            run.st.insert(run.st.end(), 2, 0.0f);
        }
        if (vertices.colours) toFloats(vertices.colours + 4 * size_t(indices[k]), rgba);
        run.rgba.insert(run.rgba.end(), rgba, rgba + 4);
    }
    std::copy(rgba, rgba + 4, queue->lastColour);
    return true;
}

bool Map_QueueHandles(MapWorld* world, uint32_t primitive, const float* xyz, int32_t count,
                      const uint8_t colour[4]) {
    DrawQueue* queue = openQueue(world);
    if (!queue || (primitive != GL_POINTS && primitive != GL_LINES)) return false;
    flushBoxes(queue);
    HandleRun& run = primitive == GL_POINTS ? queue->points : queue->lines;
    run.xyz.insert(run.xyz.end(), xyz, xyz + 3 * size_t(count));
    for (int32_t i = 0; i < count; ++i)
        run.rgba.insert(run.rgba.end(), colour, colour + 4);
    std::copy(colour, colour + 4, run.lastColour);
    return true;
}

namespace {

void flushHandles(HandleRun& run, RenderContext* context) {
    if (run.xyz.empty()) return;
    GLStateCache* cache = context->stateCache;
    GL_State(cache, k2DState);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, run.rgba.data());
    cache->colorPointer = nullptr; // not a pointer the cache set: the next setter must call GL
    Render_VertexPointer(cache, 0, run.xyz.data());
    glDrawArrays(run.mode, 0, GLsizei(run.xyz.size() / 3));
    glDisableClientState(GL_COLOR_ARRAY);
    glColor4ubv(run.lastColour); // the colour the last one's own draw left
    run.xyz.clear();
    run.rgba.clear();
}

} // namespace

void Map_FlushQueuedFaces(MapWorld* world, RenderContext* context) {
    DrawQueue* queue = queueOf(world, false);
    if (!queue || !queue->used) return;
    GL_State(context->stateCache, context->is3D ? Draw_SolidState(context) : k2DState);
    for (size_t i = 0; i < queue->used; ++i) {
        FaceRun& run = queue->runs[i];
        drawRun(context, run);
        run.xyz.clear();
        run.st.clear();
        run.rgba.clear();
        run.firsts.clear();
        run.counts.clear();
    }
    queue->used = 0;
    queue->index.clear();
    // The current colour is undefined after a colour array: leave the last queued one, as its own
    // draw did.
    glColor4fv(queue->lastColour);
}

bool Map_QueueBox(MapWorld* world, RenderContext* context, uint32_t primitive, const float (*xyz)[3],
                  const uint8_t (*rgba)[4], int32_t count) {
    DrawQueue* queue = openQueue(world);
    if (!queue) return false;
    if (count <= 0) return true;
    if (facesWaiting(queue)) Map_FlushQueuedDraws(world, context);
    BoxRun& run = queue->boxes;
    if (!run.xyz.empty() && (run.mode != GLenum(primitive) || run.context != context)) flushBoxes(queue);
    run.mode = GLenum(primitive);
    run.context = context;
    run.xyz.insert(run.xyz.end(), xyz[0], xyz[0] + 3 * size_t(count));
    run.rgba.insert(run.rgba.end(), rgba[0], rgba[0] + 4 * size_t(count));
    return true;
}

void Map_FlushQueuedDraws(MapWorld* world, RenderContext* context) {
    Map_FlushQueuedFaces(world, context);
    if (DrawQueue* queue = queueOf(world, false)) {
        flushHandles(queue->points, context);
        flushHandles(queue->lines, context);
        flushBoxes(queue);
    }
}

void Map_FreeDrawQueue(MapWorld* world) {
    if (!world) return;
    delete queueOf(world, false);
    world->drawQueue = nullptr;
}
