// The tool interface: every view hands its input and drawing to the active tool through these 22
// virtual operations, in this slot order. The base bodies do nothing and answer "not handled".
#pragma once

#include <QPoint>
#include <cstdint>

#include "core/ToolId.h"

class cCanvas;
struct RenderContext;
struct RenderCounters;

class cAbstractTool {
public:
    virtual ~cAbstractTool() = default;                                                    // 0
    virtual int32_t getId() const { return id; }                                           // 1
    virtual void setId(int32_t value) { id = value; }                                      // 2
    virtual bool setCursor(cCanvas* view) { return false; }                                // 3
    virtual bool contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) { // 4
        return false;
    }
    virtual bool keyPress(cCanvas* view, int key, int modifiers) { return false; }    // 5
    virtual bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) { // 6
        return false;
    }
    virtual bool mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) { // 7
        return false;
    }
    virtual bool mouseDoubleClick(cCanvas* view, int x, int y, int button, int modifiers) { // 8
        return false;
    }
    virtual bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) { // 9
        return false;
    }
    virtual void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) {} // 10
    virtual void drawOverlay(cCanvas* view, RenderContext* context) {}                    // 11
    virtual void createObject(cCanvas* view) {}                                           // 12
    virtual void refresh(cCanvas* view) {}                                                // 13
    virtual bool nudgeDepth(cCanvas* view, int axis, int amount) { return false; }        // 14
    virtual bool nudge(cCanvas* view, int dx, int dy, int modifiers) { return false; }    // 15
    virtual double changeScale(int axisMask, double factor) { return 0.0; }               // 16
    virtual void autoScroll(cCanvas* view, float seconds) {}                              // 17
    virtual void activate(cCanvas* focusView) {}                                          // 18
    virtual void deactivate() {}                                                          // 19
    virtual void retrigger() {}                                                           // 20
    virtual void endScale() {}                                                            // 21

    int32_t id = 0;
};

// The id of a tool through its id slot; -1 for none.
inline int32_t Tool_Id(const cAbstractTool* tool) {
    return tool ? tool->getId() : -1;
}
