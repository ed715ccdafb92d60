// The common part of the block and cordon tools: an axis-aligned box drawn, moved, resized by
// its handles and nudged in the 2D views, kept in one of the document's box slots.
#pragma once

#include <cstdint>

#include "views/AbstractTool.h"

class MapDocument;
struct SelectionBox;

class cBoxTool : public cAbstractTool {
public:
    explicit cBoxTool(int slot) : boxSlot(slot) {}

    bool setCursor(cCanvas* view) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) override;
    bool nudgeDepth(cCanvas* view, int axis, int amount) override;
    bool nudge(cCanvas* view, int dx, int dy, int modifiers) override;
    void autoScroll(cCanvas* view, float seconds) override;

    SelectionBox* boxOf(cCanvas* view) const;

    const int boxSlot;
    bool dragging = false;
    bool inside = false;
    int pressX = 0, pressY = 0;
    int hoverHandle = 0;
    uint32_t snapPending = 3;
    float dragStart[3] = {0, 0, 0};
    float rawStart[3] = {0, 0, 0};
    float lastDragPoint[3] = {0, 0, 0};

protected:
    // A new box from dragStart to p through Tool_SpanBox (the tools differ in its depth).
    virtual void newBox(cCanvas* view, SelectionBox* box, float p[3]) = 0;
    // The box changed by a release, nudge or Escape.
    virtual void boxChanged(cCanvas* view, SelectionBox* box) {}
    // After a nudge: the block tool shows the box's position.
    virtual void nudged(cCanvas* view, SelectionBox* box) {}
    virtual int outlineColour() const = 0;
    virtual int bulletColour() const = 0;
    virtual bool ownCursor(cCanvas* view) { return false; }
    void clearBox(cCanvas* view, SelectionBox* box);
    void moveBy(cCanvas* view, int di, int dj, int dz);
};
