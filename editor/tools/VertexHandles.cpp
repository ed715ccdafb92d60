#include "tools/VertexHandles.h"

#include <QOpenGLFunctions>

void Handles_DrawOutlines(MapWorld* world) {
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        for (FaceRecord* f = b->firstFace; f; f = f->next) {
            glBegin(GL_LINE_LOOP);
            for (int32_t i = 0; i < f->vertexCount; ++i)
                glVertex3fv(f->vertices[i].xyz);
            glEnd();
        }
        if (PatchRecord* p = b->patch; p && p->vertices && p->indices) {
            glEnableClientState(GL_VERTEX_ARRAY);
            glVertexPointer(3, GL_FLOAT, sizeof(PatchMeshVertex), p->vertices[0].xyz);
            glDrawElements(GL_QUADS, p->indexCount, GL_UNSIGNED_SHORT, p->indices);
            glDisableClientState(GL_VERTEX_ARRAY);
        }
        if (OverlayRecord* o = b->overlay) {
            glBegin(GL_LINE_LOOP);
            for (const OverlayCorner& c : o->corners)
                glVertex3fv(c.xyz);
            glEnd();
        }
    }
}
