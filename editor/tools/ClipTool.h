// The clip tool: two points placed in one 2D view define a plane through the view's depth axis;
// the selected brushes are previewed cut by it and Return applies the cut.
#pragma once

#include <QPointer>
#include <vector>

#include "views/AbstractTool.h"
#include "views/Canvas.h"

class MapDocument;
struct cWinding;

class cClipTool : public cAbstractTool {
public:
    cClipTool() = default;
    ~cClipTool() override;

    bool setCursor(cCanvas* view) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    bool mouseMove(cCanvas* view, int x, int y, int buttons, int modifiers) override;
    void draw(cCanvas* view, RenderContext* context, RenderCounters* counters) override;
    void drawOverlay(cCanvas* view, RenderContext* context) override;
    void refresh(cCanvas* view) override;
    void autoScroll(cCanvas* view, float seconds) override;
    void retrigger() override;

    void updatePreview();
    void applyClip(int mode);
    // Whether the cut in the mode would keep something (and the plane exists).
    bool resultValid(int mode) const;
    // The clip view and document while both still exist; pending points are dropped otherwise.
    cCanvas* liveClipView();

    int keepSide = 0;
    int pointCount = 0;
    int dragPoint = -1;
    float points[2][3] = {};
    float lastPoint[3] = {};
    float planeNormal[3] = {};
    float planeDist = 0.0f;
    bool planeValid = false;
    QPointer<cCanvas> clipView;
    MapDocument* clipDocument = nullptr;
    std::vector<cWinding*> frontPieces, backPieces;
    float scrollPoint[3] = {};

private:
    void clearPoints();
    void releasePieces();
};
