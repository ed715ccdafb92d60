#include "map/MapDrawable.h"

#include <GL/gl.h>

#include "render/RenderContext.h"

void cMapDrawable::beginOutline(const RenderContext* context) {
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    if (!(context->renderFlags & RenderBit::NoPolyOffset)) glEnable(GL_POLYGON_OFFSET_LINE);
    if (context->renderFlags & RenderBit::SelOverlaySkipDepth) glDisable(GL_DEPTH_TEST);
}

void cMapDrawable::endOutline(const RenderContext* context) {
    if (context->renderFlags & RenderBit::SelOverlaySkipDepth) glEnable(GL_DEPTH_TEST);
    if (!(context->renderFlags & RenderBit::NoPolyOffset)) glDisable(GL_POLYGON_OFFSET_LINE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
}
