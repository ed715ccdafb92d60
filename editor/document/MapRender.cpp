#include "document/MapRender.h"

#include <GL/gl.h>

#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "views/BoxCorners.h"
#include "views/ColorScheme.h"
#include "views/GLStateCache.h"
#include "views/RenderContext.h"
#include "views/ViewFrustum.h"

namespace {

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
            Box_Corners(b->mins, b->maxs, corners);
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
                glDrawElements(GL_LINES, 24, GL_UNSIGNED_BYTE, kBoxEdges);
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
