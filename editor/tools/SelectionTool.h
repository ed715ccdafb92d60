// The selection tool: picks objects and transforms the selection by dragging its box (move,
// scale, rotate, shear, stretch, clone), drags an entity's radius ring and selects by a
// rubber-band box. It works on the document's first selection box.
#pragma once

#include <cstdint>

#include "views/AbstractTool.h"

class MapDocument;
struct SelectionBox;
struct MapWorld;

// Handle modes of the selection tool.
namespace SelectMode {
constexpr int Scale = 0;
constexpr int Rotate = 1;
constexpr int Shear = 2;
constexpr int Stretch = 3;
} // namespace SelectMode

// Kinds of updateMatrix.
namespace MatrixKind {
constexpr int Scale = 0;
constexpr int Rotate = 1;
constexpr int Shear = 2;
constexpr int Stretch = 3;
constexpr int Move = 4;
} // namespace MatrixKind

class cSelectionTool : public cAbstractTool {
public:
    cSelectionTool();

    bool setCursor(cCanvas* view) override;
    bool contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseDoubleClick(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) override;
    void drawOverlay(cCanvas* view, RenderContext* context) override;
    void refresh(cCanvas* view) override;
    bool nudgeDepth(cCanvas* view, int axis, int amount) override;
    bool nudge(cCanvas* view, int dx, int dy, int modifiers) override;
    void autoScroll(cCanvas* view, float seconds) override;

    void pickAt(cCanvas* view, int x, int y, bool replace, bool toggle);
    void updateMatrix(cCanvas* view, int kind);
    bool stretchKeepsThickness(cCanvas* view, int axis);
    void applyTransformation(cCanvas* view, bool clone);

    bool justPicked = false;
    bool dragging = false;
    bool inside = false;
    bool keepMode = false;
    bool moved = false;
    bool preview = false;
    bool rubberBand = false;
    bool noSizing = true;
    int pressX = 0, pressY = 0;
    int count = 0;
    int hoverHandle = 0;
    int mode = SelectMode::Scale;
    int dragAxis = -1, otherAxis = -1;
    int sideMask = 0;
    int radiusHover = 0;
    uint32_t snapPending = 3;
    float dragStart[3] = {0, 0, 0};
    float rawStart[3] = {0, 0, 0};
    float dragOrigin[3] = {0, 0, 0};
    float centre[3] = {0, 0, 0};
    float size[3] = {0, 0, 0};
    float newCentre[3] = {0, 0, 0};
    float originOffset[3] = {0, 0, 0};
    float lastDragPoint[3] = {0, 0, 0};
    float radiusGrab;
    float matrix[16];
    int rotating = 0, shearing = 0;
    int lastModifiers = 0;
    bool radiusDrag = false; // the running drag is the radius ring's

private:
    SelectionBox* boxOf(cCanvas* view) const;
    bool hoverAt(cCanvas* view, int x, int y);
    void markDragged(MapWorld* world, bool on);
    void moveDrag(cCanvas* view, SelectionBox* box, const float p[3]);
    void handleDrag(cCanvas* view, SelectionBox* box, const float p[3], int modifiers);
    void snapReference(cCanvas* view, const SelectionBox* box, float out[3]) const;
    void cloneSelection(MapWorld* world, void* newGroups);
    void moveBox(cCanvas* view, int dx, int dy, int dz);
};

// Sign of each box handle's place on the view's i and j axes (BoxHandle numbers).
inline constexpr int kBoxHandleSide[9][2] = {{0, 0},  {-1, 1}, {1, 1}, {-1, -1}, {1, -1},
                                             {-1, 0}, {1, 0},  {0, 1}, {0, -1}};

// Box drawing shared with the block and cordon tools (BoxDecorations.cpp): handles first..last (BoxHandle
// numbers), the width and height guides, and the size labels in pixel space.
void Tool_DrawBoxHandles(cCanvas* view, const SelectionBox* box, int first, int last, int hover,
                         int colourEntry, bool round);
void Tool_DrawSizingGuides(cCanvas* view, const SelectionBox* box, int colourEntry);
void Tool_DrawSizingLabels(cCanvas* view, const SelectionBox* box, int colourEntry);

// The remembered bounds of the document's world := the box.
void Tool_RememberBounds(MapDocument* document, const SelectionBox* box);
