// The draw queue of the object passes. Per-face draws cost llvmpipe a state validation each and,
// on every texture switch, a copy of its whole fragment state; so the camera view's solid faces
// are gathered per texture and drawn with one glMultiDrawArrays per texture, and the 2D views'
// faces (polygons in line mode) likewise. Every face stays its own primitive (same
// decomposition, same vertex values as its own draw), and colours go in a float array holding
// the values glColor4ubv would have set. The 2D views' handles (patch
// vertex points, centre marks) go in one array each, drawn after the queued faces: a draw of
// points or plain lines between polygons drawn in line mode changes llvmpipe's primitive state
// both ways, and each change stores its whole fragment state again.
#include "render/DrawQueue.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <unordered_map>
#include <vector>

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

} // namespace

struct DrawQueue {
    DrawListSlots blended;
    DrawListSlots sky;
    bool open = false; // between DrawQueue_Begin and DrawQueue_End
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

namespace {

DrawQueue* openQueue(DrawQueue* queue) {
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

// ---- Node lists ---------------------------------------------------------------------------------

DrawNode* DrawList_Push(DrawListSlots list) {
    auto*& pool = reinterpret_cast<DrawNode*&>(*list.pool);
    DrawNode* node = pool;
    if (node) {
        pool = node->next;
        *node = DrawNode{};
    } else {
        node = static_cast<DrawNode*>(std::calloc(1, sizeof(DrawNode)));
        if (!node) return nullptr;
    }
    auto*& head = reinterpret_cast<DrawNode*&>(*list.head);
    node->next = head;
    head = node;
    return node;
}

void DrawList_Recycle(DrawListSlots list) {
    auto*& head = reinterpret_cast<DrawNode*&>(*list.head);
    auto*& pool = reinterpret_cast<DrawNode*&>(*list.pool);
    while (DrawNode* node = head) {
        head = node->next;
        node->next = pool;
        pool = node;
    }
}

namespace {

void freeNodes(void*& list) {
    auto*& head = reinterpret_cast<DrawNode*&>(list);
    while (DrawNode* node = head) {
        head = node->next;
        std::free(node);
    }
}

} // namespace

void DrawList_Free(DrawListSlots list) {
    freeNodes(*list.head);
    freeNodes(*list.pool);
}

int32_t DrawList_Length(const void* list) {
    int32_t n = 0;
    for (const DrawNode* node = static_cast<const DrawNode*>(list); node; node = node->next)
        ++n;
    return n;
}

DrawNode* DrawList_Sort(DrawNode* list) {
    if (!list || !list->next) return list;
    // Split after the middle node: the slow pointer takes one step for every two of the fast one.
    DrawNode* slow = list;
    for (DrawNode* fast = list->next; fast && fast->next; fast = fast->next->next)
        slow = slow->next;
    DrawNode* second = slow->next;
    slow->next = nullptr;
    DrawNode* a = DrawList_Sort(list);
    DrawNode* b = DrawList_Sort(second);
    DrawNode head{};
    DrawNode* tail = &head;
    while (a && b) {
        // The second half's node goes first only when strictly smaller: equal keys keep their order.
        if (b->key < a->key) {
            tail->next = b;
            b = b->next;
        } else {
            tail->next = a;
            a = a->next;
        }
        tail = tail->next;
    }
    tail->next = a ? a : b;
    return head.next;
}

// ---- The queue ----------------------------------------------------------------------------------

DrawQueue* DrawQueue_Create(DrawListSlots blended, DrawListSlots sky) {
    auto* queue = new (std::nothrow) DrawQueue;
    if (!queue) return nullptr;
    queue->blended = blended;
    queue->sky = sky;
    return queue;
}

void DrawQueue_Destroy(DrawQueue* queue) {
    delete queue;
}

DrawNode* DrawQueue_Blended(DrawQueue* queue) {
    return queue ? DrawList_Push(queue->blended) : nullptr;
}

DrawNode* DrawQueue_Sky(DrawQueue* queue) {
    return queue ? DrawList_Push(queue->sky) : nullptr;
}

void DrawQueue_Begin(DrawQueue* queue) {
    if (queue) queue->open = true;
}

void DrawQueue_End(DrawQueue* queue, RenderContext* context) {
    if (!queue) return;
    DrawQueue_Flush(queue, context);
    queue->open = false;
    queue->occlusion = nullptr;
}

bool DrawQueue_IsOpen(const DrawQueue* queue) {
    return queue && queue->open;
}

void DrawQueue_SetOcclusion(DrawQueue* queue, const OcclusionBuffer* occlusion) {
    if (openQueue(queue)) queue->occlusion = occlusion;
}

bool DrawQueue_Occluded(const DrawQueue* queue, const float mins[3], const float maxs[3], float pixelMargin) {
    return DrawQueue_IsOpen(queue) && queue->occlusion &&
           Occlusion_BoxHidden(queue->occlusion, mins, maxs, pixelMargin);
}

namespace {

// The queue's run for a texture (glName 0: none), primitive and sidedness.
FaceRun& runFor(DrawQueue* queue, uint32_t glName, bool mipmaps, uint32_t primitive, bool bothSides) {
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

const float* strided(const float* base, int32_t stride, size_t index) {
    return reinterpret_cast<const float*>(reinterpret_cast<const uint8_t*>(base) + size_t(stride) * index);
}

} // namespace

bool DrawQueue_Polygon(DrawQueue* queue, const QueuedVertices& vertices, uint32_t primitive, int32_t count,
                       bool hidden) {
    if (!openQueue(queue) || count < 3) return false;
    FaceRun& run = runFor(queue, vertices.glName, vertices.mipmaps, primitive, false);
    float rgba[4];
    toFloats(vertices.colour, rgba);
    if (hidden) {
        std::copy(rgba, rgba + 4, queue->lastColour);
        return true;
    }
    flushBoxes(queue);
    run.firsts.push_back(GLint(run.xyz.size() / 3));
    run.counts.push_back(count);
    for (int32_t i = 0; i < count; ++i) {
        const float* xyz = strided(vertices.xyz, vertices.stride, size_t(i));
        run.xyz.insert(run.xyz.end(), xyz, xyz + 3);
        if (vertices.st) {
            const float* st = strided(vertices.st, vertices.stride, size_t(i));
            run.st.insert(run.st.end(), st, st + 2);
        } else {
            run.st.insert(run.st.end(), 2, 0.0f);
        }
        run.rgba.insert(run.rgba.end(), rgba, rgba + 4);
    }
    std::copy(rgba, rgba + 4, queue->lastColour);
    return true;
}

bool DrawQueue_Vertices(DrawQueue* queue, const QueuedVertices& vertices, uint32_t primitive, bool bothSides,
                        const uint16_t* indices, int32_t count) {
    if (!openQueue(queue)) return false;
    if (count <= 0) return true;
    flushBoxes(queue);
    FaceRun& run = runFor(queue, vertices.glName, vertices.mipmaps, primitive, bothSides);
    run.firsts.push_back(GLint(run.xyz.size() / 3));
    run.counts.push_back(count);
    float rgba[4];
    if (!vertices.colours) toFloats(vertices.colour, rgba);
    for (int32_t k = 0; k < count; ++k) {
        const float* xyz = strided(vertices.xyz, vertices.stride, indices[k]);
        run.xyz.insert(run.xyz.end(), xyz, xyz + 3);
        if (vertices.st) {
            const float* st = strided(vertices.st, vertices.stride, indices[k]);
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

bool DrawQueue_Handles(DrawQueue* queue, uint32_t primitive, const float* xyz, int32_t count,
                       const uint8_t colour[4]) {
    if (!openQueue(queue) || (primitive != GL_POINTS && primitive != GL_LINES)) return false;
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

void DrawQueue_FlushFaces(DrawQueue* queue, RenderContext* context) {
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

bool DrawQueue_Box(DrawQueue* queue, RenderContext* context, uint32_t primitive, const float (*xyz)[3],
                   const uint8_t (*rgba)[4], int32_t count) {
    if (!openQueue(queue)) return false;
    if (count <= 0) return true;
    if (facesWaiting(queue)) DrawQueue_Flush(queue, context);
    BoxRun& run = queue->boxes;
    if (!run.xyz.empty() && (run.mode != GLenum(primitive) || run.context != context)) flushBoxes(queue);
    run.mode = GLenum(primitive);
    run.context = context;
    run.xyz.insert(run.xyz.end(), xyz[0], xyz[0] + 3 * size_t(count));
    run.rgba.insert(run.rgba.end(), rgba[0], rgba[0] + 4 * size_t(count));
    return true;
}

void DrawQueue_Flush(DrawQueue* queue, RenderContext* context) {
    if (!queue) return;
    DrawQueue_FlushFaces(queue, context);
    flushHandles(queue->points, context);
    flushHandles(queue->lines, context);
    flushBoxes(queue);
}

// ---- Scope --------------------------------------------------------------------------------------

cQueueScope::cQueueScope(RenderContext* context, DrawQueue* queue)
    : m_context(context), m_previous(context->queue) {
    context->queue = queue;
}

cQueueScope::~cQueueScope() {
    m_context->queue = m_previous;
}
