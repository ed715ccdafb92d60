// Drawing through the cull tree: the walk of CullTree.cpp with a visitor that tests cells against
// the view's frustum and draws entities and brushes into the view.
#include <GL/gl.h>

#include "document/CullTree.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "render/BoxCorners.h"
#include "render/RenderContext.h"
#include "render/ViewFrustum.h"

namespace {

class cCullDrawVisitor : public cCullVisitor {
public:
    cCullDrawVisitor(RenderContext* context, RenderCounters* counters)
        : m_context(context), m_counters(counters) {}

    CullResult testBox(const float mins[3], const float maxs[3], int32_t* planeMask) override {
        if (m_counters) ++m_counters->culls;
        if (!m_context->frustum) return CullResult::Inside;
        int mask = *planeMask;
        const int result = Render_ClassifyBox(m_context->frustum, mins, maxs, &mask);
        *planeMask = mask;
        if (result == 0) return CullResult::Outside;
        return result == 1 ? CullResult::Inside : CullResult::Partial;
    }
    bool drawEntity(EntityRecord* entity, uint32_t passFlags) override {
        return entity->handle && entity->handle->draw(m_context, m_counters, passFlags);
    }
    bool drawBrush(BrushRecord* brush, uint32_t passFlags) override {
        return Entity_DrawBrush(brush, m_context, m_counters, passFlags);
    }
    void drawNodeBox(const CullNode* node) override { Cull_DrawNodeBox(node, m_context); }

private:
    RenderContext* m_context;
    RenderCounters* m_counters;
};

} // namespace

void Cull_BeginFrame(CullTree* tree, const RenderContext* context) {
    if (!tree || !context) return;
    const uint32_t frame = uint32_t(context->frameStamp);
    if (frame < tree->frame) Cull_ClearStamps(tree);
    tree->frame = frame;
}

void Cull_Draw(CullTree* tree, CullNode* node, RenderContext* context, RenderCounters* counters,
               uint32_t passFlags, int32_t planeMask) {
    if (!tree || !node || !context) return;
    cCullDrawVisitor visitor(context, counters);
    Cull_Draw(tree, node, &visitor, passFlags, planeMask);
}

void Cull_DrawLeaf(CullTree* tree, CullNode* node, RenderContext* context, RenderCounters* counters,
                   uint32_t passFlags) {
    if (!tree || !node || !context) return;
    cCullDrawVisitor visitor(context, counters);
    Cull_DrawLeaf(tree, node, &visitor, passFlags);
}

void Cull_DrawBoxes(CullTree* tree, CullNode* node, RenderContext* context) {
    if (!tree || !node || !context) return;
    cCullDrawVisitor visitor(context, nullptr);
    Cull_DrawBoxes(tree, node, &visitor);
}

void Cull_DrawNodeBox(const CullNode* node, RenderContext*) {
    if (!node) return;
    float corners[8][3];
    Box_Corners(node->mins, node->maxs, corners);
    glBegin(GL_LINES);
    for (uint8_t index : kBoxEdges)
        glVertex3fv(corners[index]);
    glEnd();
}
