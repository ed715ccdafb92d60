// The path tool: Shift+click adds a node (to the path of the selected nodes, or to a new path
// described in the path dialog); nodes are picked by their bullets in the 2D views, selected by
// clicks and by a box (the document's box slot 4), dragged and nudged, each gesture one undo
// level "Move Nodes".
#pragma once

#include "views/AbstractTool.h"

struct NodeRecord;
struct SelectionBox;

class cPathTool : public cAbstractTool {
public:
    bool contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseRelease(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseDoubleClick(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) override;
    void createObject(cCanvas* view) override;
    bool nudgeDepth(cCanvas* view, int axis, int amount) override;
    bool nudge(cCanvas* view, int dx, int dy, int modifiers) override;
    void autoScroll(cCanvas* view, float seconds) override;

    // The first node (selected ones only, or all in path and node order) whose bullet covers the
    // window point; its position goes to grabbedPoint.
    NodeRecord* pickNode(cCanvas* view, int x, int y, bool selectedOnly);
    void selectNodesInBox(cCanvas* view, bool add);
    int pickObject(cCanvas* view, int x, int y, bool clear, bool toggle);
    void moveNodes(cCanvas* view, float d1, float d2, bool alt);
    void moveNodesDepth(cCanvas* view, int axis, float amount, bool alt);

    bool boxDrag = false;
    bool nodeDrag = false;
    bool createPending = false;
    bool moveOpen = false;
    int pressX = 0, pressY = 0;
    float dragRef[3] = {};
    float grabbedPoint[3] = {};
    float newPoint[3] = {};
    float lastPoint[3] = {};
    float cursorWorld[3] = {};
    cCanvas* view = nullptr;
    NodeRecord* menuNode = nullptr;

private:
    static SelectionBox* boxOf(cCanvas* view);
    // Moves the selected nodes by delta (per axis), snapping the moved axes.
    void moveBy(cCanvas* view, const float delta[3], bool alt);
    // Whether the click passes the context-menu test; stores the node when asked.
    bool onSelection(cCanvas* view, int x, int y, bool storeNode);
};
