// Paths: ordered chains of nodes (points with angles and key/values) that export as chains of
// point entities linked by targetname and target. Nodes are numbered 1..n along the chain after
// every change.
#pragma once

#include <cstdint>

#include "map/EPair.h"
#include "map/MapDrawable.h"
#include "map/ObjectRecords.h"

struct RenderContext;
struct RenderCounters;

inline constexpr ObjectColor kPathDefaultColor = 0xffdc1edcu; // 220, 30, 220, 255

class cMapPath : public cMapObject {
public:
    cMapPath();
    // Frees the names and destroys every node (ids are the world's business: see Path_Delete).
    ~cMapPath() override;
    cMapPath(const cMapPath&) = delete;
    cMapPath& operator=(const cMapPath&) = delete;

    static cMapPath* fromRecord(const PathRecord* p) { return p ? p->handle : nullptr; }

    PathRecord* record;

    // Colour from the point class of the path's class name, bounds from the nodes.
    void update();
    // One-way and ping-pong: the whole chain turns round; circular: the first node stays.
    void reverse();
    // Numbers the nodes 1, 2, 3 ... and marks the path needs-update.
    void renumber();
    int32_t nodeCount() const;

    // Updates first when needed; false when the bounds lie outside the frustum. Draws the nodes,
    // then, outside pick passes and when the view shows links, the links with their arrow heads.
    bool draw(const RenderContext* context, RenderCounters* counters);
    // The link from one node to the next, number `segment` along the path, with its heads.
    void drawLink(const RenderContext* context, const float from[3], const float to[3],
                  int32_t segment) const;
};

class cMapNode : public cMapDrawable {
public:
    cMapNode();
    ~cMapNode() override;
    cMapNode(const cMapNode&) = delete;
    cMapNode& operator=(const cMapNode&) = delete;

    static cMapNode* fromRecord(const NodeRecord* n) { return n ? n->handle : nullptr; }

    NodeRecord* record;

    // The same rules as the entity's; the document marked is the one owning the node's path.
    EPair* setKeyValue(const char* key, const char* value);
    EPair* appendKeyValue(const char* key, const char* value);
    void removeKey(const char* key);

    // Not culled by the planes (normal, dist) when the origin is no further than 8 behind each.
    bool isVisible(const float (*planes)[4], int32_t planeCount) const;
    // The same against the view's frustum; counts the test.
    bool isVisible(const RenderContext* context, RenderCounters* counters) const;
    // 2D: a circle of 24 points (filled in the pick colour when picking); 3D: the node sphere.
    // Then, outside pick passes, the angle arrow.
    bool draw(const RenderContext* context, RenderCounters* counters);
    // Nothing when all three angles are 0; else a 20-unit arrow along the angles, white.
    void drawAngleArrow(const RenderContext* context) const;

private:
    void markModified() const;
};

// Undo snapshots, as the create-from-snapshot functions read them.
struct PathSnapshot {
    PathSnapshot* next;
    char* className;
    char* name;
    int32_t type;
    uint32_t flags;
    int32_t serial;
};

struct NodeSnapshot {
    NodeSnapshot* next;
    EPair* epairs;
    char* name;
    char* message;
    float origin[3];
    float angles[3];
    uint32_t flags;
    int32_t number;
    int32_t serial;
    int32_t pathSerial;
};

// One arrow head along a link: its distance from the segment's start and whether it points
// forward (towards the segment's end).
struct PathArrow {
    float distance;
    bool forward;
};

// The sphere every node is drawn as in 3D views: radius 8 around the origin, 13 x 13 points
// (index 13 i + j at 15 i degrees from the pole and 30 j degrees around it) with a light shade
// each, and 12 x 12 quads.
struct NodeSphereMesh {
    static constexpr int32_t kPoints = 169;
    static constexpr int32_t kQuads = 144;
    float points[kPoints][3];
    float shades[kPoints];
    uint16_t quads[kQuads][4];
};

// ---- Plain API (engine-function table signatures) ----
PathRecord* Path_Create(MapHandle map);
// Removes and destroys the path with its nodes, returning the nodes' ids.
void Path_Delete(PathRecord* path);
NodeRecord* Node_Append(MapHandle map, PathRecord* path);
// The new node goes in front of the given one.
NodeRecord* Node_InsertBefore(MapHandle map, NodeRecord* node);
void Node_Delete(NodeRecord* node);

// ---- Editor side ----
PathRecord* Path_Alloc();
NodeRecord* Node_Alloc();
PathRecord* Path_CreateFromSnapshot(const PathSnapshot* snapshot);
NodeRecord* Node_CreateFromSnapshot(const NodeSnapshot* snapshot);
// The link pair a node chain runs through: its path's list or the world's selection list.
enum class NodeLinks { Path, Selection };
// Merge sort of a node chain through the chosen links; previous links rebuilt, the head's
// cleared. secondFirst(a, b) says whether b, at the head of the later half, goes before a, at
// the head of the earlier half.
NodeRecord* Node_SortChain(NodeRecord* first, NodeLinks links,
                           bool (*secondFirst)(const NodeRecord* a, const NodeRecord* b));
// Merge sort of a chain by number (ties: the second half's node first); previous links rebuilt.
NodeRecord* Path_SortNodes(NodeRecord* first);
// The arrow heads of link segment number segment (0-based) of length L on a path of the type:
// n = trunc(L / s) + 1 heads (s = 128 ping-pong, else 256) at (2k + 1) L / 2n. Writes at most
// capacity heads; returns n.
// The shared node sphere, built on first use.
const NodeSphereMesh& Node_BuildSphereMesh();
int32_t Path_SegmentArrows(float length, int32_t type, int32_t segment, PathArrow* out, int32_t capacity);
