// Drawing of one map world into one view: the object passes (through the cull tree or the entity
// list), the picking pass, the queued sky and blended surfaces, paths, cameras, the cull-tree
// boxes, target links, the compiler overlays and the 3D eye in the 2D views. Each object draws
// itself; this decides the order. The views take their titles from the entities.
#pragma once

#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

struct EntityRecord;
struct FaceRecord;
struct MapWorld;
struct OcclusionBuffer;
struct RenderContext;
struct RenderCounters;
struct TextureImage;

// One queued surface of the blended or the sky list. Nodes are recycled through the list's free
// list frame to frame and freed only with the world.
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

void Map_Render(MapWorld* world, RenderContext* context, RenderCounters* counters);
// Pass flags 1 (unselected objects), or 10 for the selection pass (selected objects, cull-tree
// nodes found visible by the first pass).
void Map_DrawObjectsPass(MapWorld* world, RenderContext* context, RenderCounters* counters,
                         bool selectionPass);
// Picking: every shown object once, in its pick colour.
void Map_DrawObjectsSinglePass(MapWorld* world, RenderContext* context, RenderCounters* counters);
void Map_DrawPaths(MapWorld* world, RenderContext* context, RenderCounters* counters);
// The world's cameras, in 2D views with the camera tool (picking only with pick argument 0x4).
void Map_DrawCameras(MapWorld* world, RenderContext* context);
// A node pushed at the head of the list (the caller fills kind, key and object); null when no
// node could be had, and then nothing is queued.
DrawNode* Map_QueueBlended(MapWorld* world);
DrawNode* Map_QueueSky(MapWorld* world);
// Stable merge sort by ascending key.
DrawNode* Map_SortDrawList(DrawNode* list);
// Far to near (the sorted list walked from its tail), equal keys in queue order.
void Map_DrawBlended(MapWorld* world, RenderContext* context);
void Map_DrawSky(MapWorld* world, RenderContext* context);
// Every node of the list back to its free list (start of each frame).
void Map_RecycleDrawLists(MapWorld* world);
// Frees every node of the list and of its free list (world clear and destruction).
void Map_FreeBlendedList(MapWorld* world);
void Map_FreeSkyList(MapWorld* world);
// The draw queue of the object passes (open between begin and end; closed, nothing is queued).
// The camera view's solid faces are gathered per texture and primitive and drawn as one array
// each (the faces of one texture keep their order): a face is queued only where its own draw
// would be opaque, depth-tested and written to depth with nothing drawn after it, so only faces
// meeting at exactly equal depth can come out in another order. Anything else drawn in the
// passes flushes the queue first, but patches: their solid drawing is depth-tested and written
// too. In the 2D views every face (a polygon in line mode) is queued, patches flush the faces
// before them, and the handles (patch vertex points, then centre marks) are drawn after all the
// faces and patches up to the next full flush, so a handle may now lie over a neighbour's lines
// where they overlap.
void Map_BeginQueuedDraws(MapWorld* world);
void Map_EndQueuedDraws(MapWorld* world, RenderContext* context);
// False when the face was not queued (draw it yourself). A hidden face (behind the occluders)
// adds nothing but opens its batch where its own draw would have, so the order of the others
// stays.
bool Map_QueueSolidFace(MapWorld* world, const RenderContext* context, const FaceRecord* face,
                        const uint8_t colour[4], bool textured, uint32_t primitive, bool hidden = false);
// Vertices the camera view's normal pass queues by index (patch meshes).
struct QueuedVertices {
    const float* xyz; // with the stride, like st
    const float* st;  // null when untextured
    int32_t stride;
    const uint8_t* colours; // 4 bytes per vertex, packed; null: colour for all
    const uint8_t* colour;
    const TextureImage* image; // null: untextured
};
// Count indexed vertices as one primitive of the mode (GL_QUADS, GL_LINES) into the batch of
// their texture; bothSides: quads drawn with their back sides as lines, nothing culled. False
// when no queue is open (draw them yourself).
bool Map_QueueVertices(MapWorld* world, const QueuedVertices& vertices, uint32_t primitive, bool bothSides,
                       const uint16_t* indices, int32_t count);
// Whether a queue is open (between Map_BeginQueuedDraws and Map_EndQueuedDraws).
bool Map_QueueOpen(MapWorld* world);
// 2D views: points or lines (GL_POINTS or GL_LINES, packed xyz, one colour) drawn by the next
// full flush after the queued faces, points before lines; false when no queue is open (draw them
// yourself).
bool Map_QueueHandles(MapWorld* world, uint32_t primitive, const float* xyz, int32_t count,
                      const uint8_t colour[4]);
// Point entities' boxes and diamonds: count vertices (packed xyz, a colour each) of the mode
// (GL_LINES, GL_TRIANGLES, GL_QUADS), drawn together with the boxes queued next to them, in the
// order queued. Faces and handles queued before go out first, and the boxes go out before anything
// queued after them, so nothing changes places. False when no queue is open (draw them yourself).
bool Map_QueueBox(MapWorld* world, RenderContext* context, uint32_t primitive, const float (*xyz)[3],
                  const uint8_t (*rgba)[4], int32_t count);
// Draws and empties the queued faces only (the handles and boxes stay queued).
void Map_FlushQueuedFaces(MapWorld* world, RenderContext* context);
// Draws and empties the queue.
void Map_FlushQueuedDraws(MapWorld* world, RenderContext* context);
void Map_FreeDrawQueue(MapWorld* world);
// The camera view's normal pass leaves out what lies wholly behind the buffer's occluders (faces
// the same pass draws opaque and depth-written), so no pixel changes. Set after the queue opens;
// the queue's end drops it. False while none is set.
void Map_SetOcclusion(MapWorld* world, const OcclusionBuffer* occlusion);
bool Map_Occluded(MapWorld* world, const float mins[3], const float maxs[3], float pixelMargin = 0.0f);
bool Map_FaceOccluded(MapWorld* world, const FaceRecord* face);
// The camera view's eye in a 2D view: a diamond and the two field-of-view lines.
void Map_DrawViewCamera(MapWorld* world, RenderContext* context);
// Number of nodes in a list (tests and statistics).
int32_t Map_DrawListLength(const void* list);

// One entry of the world's title list.
struct MapTitle {
    EntityRecord* entity;
    QString name;
    QString label; // empty when there is none
};
// The objects that carry a title: every entity but the world entity that has a class name.
QList<MapTitle> Map_TitleList(MapWorld* world);
