// The draw queue of a view's object passes, carried by the render context while a world draws:
// the per-frame lists of sky and blended surfaces drawn after the passes, and the batches of
// solid faces, handles and boxes gathered within a pass. Objects queue into the context's queue;
// with none (drawing outside a world's passes) nothing is queued and they draw themselves.
#pragma once

#include <cstddef>
#include <cstdint>

struct OcclusionBuffer;
struct RenderContext;

// One queued surface of the blended or the sky list. Nodes are recycled through the list's free
// list frame to frame and freed only with their owner.
struct DrawNode {
    DrawNode* next;
    float key; // blended list: distance from the eye
    int32_t kind;
    void* object;
};
static_assert(sizeof(DrawNode) == 24 && offsetof(DrawNode, key) == 8 && offsetof(DrawNode, object) == 16);

// DrawNode::kind of the blended list.
namespace BlendedKind {
constexpr int32_t Entity = 0; // sprite, decal or model
constexpr int32_t Face = 1;
constexpr int32_t Patch = 2;
constexpr int32_t Overlay = 3;
} // namespace BlendedKind
// DrawNode::kind of the sky list.
namespace SkyKind {
constexpr int32_t Face = 0;
constexpr int32_t Patch = 1;
constexpr int32_t Overlay = 2;
} // namespace SkyKind

// Where a node list and its free nodes live: fields of the list's owner (a world keeps both).
struct DrawListSlots {
    void** head;
    void** pool;
};

// A node pushed at the head of the list (the caller fills kind, key and object); null when no
// node could be had, and then nothing is queued.
DrawNode* DrawList_Push(DrawListSlots list);
// Every node of the list back to its free list (start of each frame).
void DrawList_Recycle(DrawListSlots list);
// Frees every node of the list and of its free list.
void DrawList_Free(DrawListSlots list);
// Stable merge sort by ascending key.
DrawNode* DrawList_Sort(DrawNode* list);
// Number of nodes in a list (tests and statistics).
int32_t DrawList_Length(const void* list);

struct DrawQueue;

// A queue whose sky and blended surfaces go to the owner's lists; null when memory ran out.
DrawQueue* DrawQueue_Create(DrawListSlots blended, DrawListSlots sky);
void DrawQueue_Destroy(DrawQueue* queue);

// The next node of the queue's blended or sky list; null without a queue or a node.
DrawNode* DrawQueue_Blended(DrawQueue* queue);
DrawNode* DrawQueue_Sky(DrawQueue* queue);

// The batches (open between begin and end; closed, nothing is queued). The camera view's solid
// faces are gathered per texture and primitive and drawn as one array each (the faces of one
// texture keep their order): a face is queued only where its own draw would be opaque,
// depth-tested and written to depth with nothing drawn after it, so only faces meeting at exactly
// equal depth can come out in another order. Anything else drawn in the passes flushes the queue
// first, but patches: their solid drawing is depth-tested and written too. In the 2D views every
// face (a polygon in line mode) is queued, patches flush the faces before them, and the handles
// (patch vertex points, then centre marks) are drawn after all the faces and patches up to the
// next full flush, so a handle may now lie over a neighbour's lines where they overlap.
void DrawQueue_Begin(DrawQueue* queue);
void DrawQueue_End(DrawQueue* queue, RenderContext* context);
// Whether the batches are open.
bool DrawQueue_IsOpen(const DrawQueue* queue);

// Vertices queued as one primitive into the batch of their texture.
struct QueuedVertices {
    const float* xyz; // with the stride, like st
    const float* st;  // null when untextured
    int32_t stride;
    const uint8_t* colours; // 4 bytes per vertex, packed; null: colour for all
    const uint8_t* colour;
    uint32_t glName; // 0: untextured
    bool mipmaps;
};
// A polygon of count vertices (in order) of the primitive mode; false when the batches are closed
// or it has fewer than 3 vertices (draw it yourself). A hidden polygon (behind the occluders) adds
// nothing but opens its batch where its own draw would have, so the order of the others stays.
bool DrawQueue_Polygon(DrawQueue* queue, const QueuedVertices& vertices, uint32_t primitive, int32_t count,
                       bool hidden);
// Indexed vertices as one primitive of the mode (GL_QUADS, GL_LINES); bothSides: quads drawn with
// their back sides as lines, nothing culled. False when the batches are closed.
bool DrawQueue_Vertices(DrawQueue* queue, const QueuedVertices& vertices, uint32_t primitive, bool bothSides,
                        const uint16_t* indices, int32_t count);
// 2D views: points or lines (GL_POINTS or GL_LINES, packed xyz, one colour) drawn by the next
// full flush after the queued faces, points before lines; false when the batches are closed.
bool DrawQueue_Handles(DrawQueue* queue, uint32_t primitive, const float* xyz, int32_t count,
                       const uint8_t colour[4]);
// Point entities' boxes and diamonds: count vertices (packed xyz, a colour each) of the mode
// (GL_LINES, GL_TRIANGLES, GL_QUADS), drawn together with the boxes queued next to them, in the
// order queued. Faces and handles queued before go out first, and the boxes go out before anything
// queued after them, so nothing changes places. False when the batches are closed.
bool DrawQueue_Box(DrawQueue* queue, RenderContext* context, uint32_t primitive, const float (*xyz)[3],
                   const uint8_t (*rgba)[4], int32_t count);
// Draws and empties the queued faces only (the handles and boxes stay queued).
void DrawQueue_FlushFaces(DrawQueue* queue, RenderContext* context);
// Draws and empties the batches.
void DrawQueue_Flush(DrawQueue* queue, RenderContext* context);

// The camera view's normal pass leaves out what lies wholly behind the buffer's occluders (faces
// the same pass draws opaque and depth-written), so no pixel changes. Set after the batches open;
// their end drops it. False while none is set.
void DrawQueue_SetOcclusion(DrawQueue* queue, const OcclusionBuffer* occlusion);
bool DrawQueue_Occluded(const DrawQueue* queue, const float mins[3], const float maxs[3],
                        float pixelMargin = 0.0f);

// Sets a context's queue for a scope, and puts the one it had back.
class cQueueScope {
public:
    cQueueScope(RenderContext* context, DrawQueue* queue);
    ~cQueueScope();
    cQueueScope(const cQueueScope&) = delete;
    cQueueScope& operator=(const cQueueScope&) = delete;

private:
    RenderContext* m_context;
    DrawQueue* m_previous;
};
