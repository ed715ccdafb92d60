// The cordon tool: its box (the document's box slot 5) is the world's cordon.
#pragma once

#include "tools/BoxTool.h"

class cCordonTool : public cBoxTool {
public:
    cCordonTool() : cBoxTool(5) {}

    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
    void activate(cCanvas* focusView) override;
    bool keyPress(cCanvas* view, int key, int modifiers) override;

protected:
    void newBox(cCanvas* view, SelectionBox* box, float p[3]) override;
    void boxChanged(cCanvas* view, SelectionBox* box) override;
    int outlineColour() const override;
    int bulletColour() const override;
};
