// The block tool: a box dragged in a 2D view becomes new geometry through the creation primitive
// chosen in the New Objects dock. Its box is the document's box slot 1.
#pragma once

#include <QByteArray>

#include "tools/BoxTool.h"

struct PrimitiveParams;
struct ShaderRecord;

class cBrushTool : public cBoxTool {
public:
    cBrushTool() : cBoxTool(1) {}

    bool keyPress(cCanvas* view, int key, int modifiers) override;
    bool contextMenu(cCanvas* view, int x, int y, QPoint global, bool onRelease) override;
    void drawOverlay(cCanvas* view, RenderContext* context) override;
    void createObject(cCanvas* view) override;

    // The creation record for the box in the view, as the primitive receives it.
    void fillParams(cCanvas* view, const SelectionBox* box, PrimitiveParams* params) const;

protected:
    void newBox(cCanvas* view, SelectionBox* box, float p[3]) override;
    void nudged(cCanvas* view, SelectionBox* box) override;
    int outlineColour() const override;
    int bulletColour() const override;
    bool ownCursor(cCanvas* view) override;
};

// The texture new geometry, decals and overlays take: the main window's current texture, the one
// the Textures dock and the surface properties dialog show. The record is null when the name is
// not listed; the name is empty when there is no current texture.
struct ToolTexture {
    QByteArray name;
    const ShaderRecord* record = nullptr;
};
ToolTexture Tool_CurrentTexture();
