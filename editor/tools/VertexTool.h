// The vertex tool: handles on every vertex and edge of the selected brushes, on the control points
// of the selected patches and on the corners and edges of the selected overlays. Handles are
// picked, box-selected, dragged, nudged, rotated (right drag) and scaled (scale window), and
// welded or split with keys. Every geometric change while the tool is in use belongs to one undo
// level "Morphing" (morph mode), which the clean-up ends. The interaction is in VertexTool.cpp,
// the geometric operations in VertexMorph.cpp.
#pragma once

#include <cstdint>
#include <vector>

#include "views/AbstractTool.h"
#include "tools/BulletBatch.h"

struct BrushRecord;
struct FaceRecord;
struct MapWorld;
struct SelectionBox;

// Bits of a handle's flag word (face vertex, patch control point, overlay corner).
namespace HandleFlags {
constexpr int32_t Vertex = 0x1; // vertex handle selected (patch points: either kind)
constexpr int32_t Edge = 0x2;   // the edge from this point to the next selected
constexpr int32_t MovedFirst = 0x4;
constexpr int32_t MovedSecond = 0x8;
constexpr int32_t Rotated = 0x10;
constexpr int32_t Scaled = 0x20;
constexpr int32_t Touched = 0x40;
constexpr int32_t StepBits = 0x7c; // cleared at the end of every step
} // namespace HandleFlags

// Element modes (bits): which handles the tool shows and picks.
namespace VertexMode {
constexpr int Vertices = 1;
constexpr int Edges = 2;
constexpr int Both = 3;
} // namespace VertexMode

// Handle kinds, which decide the bullet colours.
namespace HandleKind {
constexpr int Edge = 0;       // face and overlay edges (midpoints)
constexpr int Vertex = 1;     // face vertices and overlay corners
constexpr int PatchEdge = 2;  // patch control points with an odd row or column
constexpr int PatchPoint = 3; // patch control points on even rows and columns
} // namespace HandleKind

class cVertexTool : public cAbstractTool {
public:
    bool contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) override;
    void drawOverlay(cCanvas* view, RenderContext* context) override;
    void refresh(cCanvas* view) override;
    bool nudgeDepth(cCanvas* view, int axis, int amount) override;
    bool nudge(cCanvas* view, int dx, int dy, int modifiers) override;
    double changeScale(int axisMask, double factor) override;
    void autoScroll(cCanvas* view, float seconds) override;
    void deactivate() override;
    void retrigger() override;
    void endScale() override;

    // ---- Interaction (VertexTool.cpp) ----
    // how: 0 query, 1 replace, 2 toggle. 0 nothing hit, 1 only unselected handles hit, 2 a handle
    // hit that is selected afterwards.
    int pickElements(cCanvas* view, int x, int y, int how);
    void selectInBox(cCanvas* view, bool add);
    bool hasSelection() const;
    void clearSelection();
    void updateScaleCentre(cCanvas* view);
    void setScaleMode(cCanvas* view, bool on);
    void snapToGrid(cCanvas* view);

    // ---- Morphing (VertexMorph.cpp) ----
    // Axis index kNoAxis leaves that coordinate alone. Bit 1: the move along axis1 stood, bit 2:
    // along axis2.
    static constexpr int kNoAxis = -1;
    int moveElements(cCanvas* view, int axis1, int axis2, float d1, float d2);
    int rotateElements(cCanvas* view, float angle);
    int scaleElements(cCanvas* view, int axisMask, float factor);
    void weldVertices(cCanvas* view);
    void splitFace(cCanvas* view);
    void fixNonPlanarFaces(cCanvas* view);
    // Splits a face that is not planar into planar pieces; whether it split.
    bool splitNonPlanarFace(FaceRecord* face);
    void cleanUpMorph(cCanvas* view, bool quiet);
    // Opens the "Morphing" level when not yet in morph mode.
    void beginMorph(cCanvas* view);
    // The convexity test of the restrictions; ownPlane adds that every vertex of a face lies within
    // 0.5 of the face's own plane.
    static bool checkBrush(const BrushRecord* brush, bool ownPlane);

    int mode = VertexMode::Both;
    bool scaleMode = false;
    bool objectPicked = false;
    bool boxDrag = false;
    bool handleDrag = false;
    bool rightDragArmed = false;
    bool rotating = false;
    bool repickOnRelease = false;
    bool morphing = false;
    bool centreDrag = false;
    bool menuArmed = false;
    int pressX = 0, pressY = 0;
    int lastX = 0, lastY = 0;
    float dragRef[3] = {};
    float hitPoint[3] = {};
    float pivot[3] = {};
    float scaleCentre[3] = {};
    float centreAtPress[3] = {};
    float cursorWorld[3] = {};
    float scaleFactor = 1.0f;
    float angleStart = 0.0f, angleNow = 0.0f;
    cCanvas* view = nullptr;

private:
    // One step: the points it changed with their positions before it, and the faces whose planes
    // it recomputed with their planes before it; a refused step puts both back exactly.
    struct StepPoint {
        float* xyz;
        int32_t* flags;
        float saved[3];
    };
    struct StepFace {
        FaceRecord* face;
        float normal[3];
        float dist;
        int32_t axialType;
    };
    struct Step {
        std::vector<StepPoint> points;
        std::vector<StepFace> faces;
        std::vector<BrushRecord*> brushes;
    };
    // The points the selection moves in one step: endpoints of selected edges with the brush's
    // coinciding vertices (edge mode), selected vertices (vertex mode). Marked Touched.
    void collectStep(MapWorld* world, Step& step);
    // New planes for the step's faces, then the restrictions' checks; false when refused.
    bool settleStep(Step& step, bool ownPlane);
    static void revertStep(Step& step);
    // Clears the step bits, flags the changed objects and refreshes their entities.
    static void finishStep(Step& step, bool changed);
    MapWorld* worldOf(cCanvas* v) const;
    SelectionBox* boxOf(cCanvas* v) const;
    void snappedPoint(cCanvas* v, int x, int y, float out[3]) const;

    cBulletBatch m_bullets; // kept for its arrays
};
