// The magnify tool: a left click doubles, a right click halves the zoom of a 2D view about the
// clicked point; with Ctrl every 2D view of the document takes the new zoom.
#pragma once

#include "views/AbstractTool.h"

class cMagnifyTool : public cAbstractTool {
public:
    bool setCursor(cCanvas* view) override;
    bool mousePress(cCanvas* view, int x, int y, int button, int modifiers) override;
};
