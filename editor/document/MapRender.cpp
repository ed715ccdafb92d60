#include "document/MapRender.h"

#include <GL/gl.h>

#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "views/ColorScheme.h"
#include "views/GLStateCache.h"
#include "views/RenderContext.h"
#include "views/ViewFrustum.h"

namespace {

// Box corner i: x from maxs with bit 0, y with bit 1, z with bit 2.
void boxCorners(const float mins[3], const float maxs[3], float out[8][3]) {
    for (int i = 0; i < 8; ++i) {
        out[i][0] = (i & 1) ? maxs[0] : mins[0];
        out[i][1] = (i & 2) ? maxs[1] : mins[1];
        out[i][2] = (i & 4) ? maxs[2] : mins[2];
    }
}

const GLubyte kEdges[24] = {0, 1, 1, 3, 3, 2, 2, 0, 4, 5, 5, 7, 7, 6, 6, 4, 0, 4, 1, 5, 2, 6, 3, 7};
const GLubyte kFaces[24] = {0, 2, 3, 1, 4, 5, 7, 6, 0, 1, 5, 4, 2, 6, 7, 3, 0, 4, 6, 2, 1, 3, 7, 5};

} // namespace

void Map_Render(MapWorld* world, RenderContext* context, RenderCounters* counters) {
    if (!world) return;
    GLStateCache* cache = context->stateCache;
    const bool picking = context->pickBase != 0;
    uint8_t rgba[4];
    for (EntityRecord* e = world->entities; e; e = e->next) {
        bool drawn = false;
        for (BrushRecord* b = e->firstBrush; b; b = b->next) {
            if (b->flags & BrushFlags::Hidden) continue;
            if (context->frustum && Render_CullBox(context->frustum, b->mins, b->maxs)) {
                ++counters->culls;
                continue;
            }
            float corners[8][3];
            boxCorners(b->mins, b->maxs, corners);
            Render_VertexPointer(cache, 0, corners);
            if (picking) {
                const int32_t id = b->handle ? b->handle->id : 0;
                Color_ToBytes(Object_PickColor(id), rgba);
                glColor4ubv(rgba);
                // Both windings of the faces count: culling off for the fill.
                const uint32_t word = cache->state;
                GL_State(cache, word | 0x100000);
                glDrawElements(GL_QUADS, 24, GL_UNSIGNED_BYTE, kFaces);
                GL_State(cache, word);
            } else {
                Color_FillRGBA(rgba,
                               (b->flags & BrushFlags::Selected) ? COLOR_SELECTED_LINE : COLOR_BRUSH_DEFAULT);
                glColor4ubv(rgba);
                glDrawElements(GL_LINES, 24, GL_UNSIGNED_BYTE, kEdges);
            }
            b->frameStamp = context->frameStamp;
            ++counters->brushes;
            drawn = true;
        }
        if (drawn) {
            e->frameStamp = context->frameStamp;
            ++counters->entities;
        }
    }
}

QList<MapTitle> Map_TitleList(MapWorld* world) {
    QList<MapTitle> titles;
    if (!world) return titles;
    for (EntityRecord* e = world->entities; e; e = e->next) {
        if ((e->flags & EntityFlag::World) || !e->classname || !*e->classname) continue;
        titles.append({e, Text_FromWindows1251(e->classname),
                       e->targetname ? Text_FromWindows1251(e->targetname) : QString()});
    }
    return titles;
}
