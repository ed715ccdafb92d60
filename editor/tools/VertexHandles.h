// Where the vertex tool's handles are: every vertex and edge midpoint of the selected brushes'
// faces, every control point of the selected patches (even row and column: vertex kind, else edge
// kind) and the corners and edge midpoints of the selected overlays, each with the flag word that
// holds its selection. The walks go in selection and list order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "document/MapWorld.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/OverlayRecord.h"
#include "map/PatchRecord.h"
#include "tools/VertexTool.h"

// The handles of one brush: fn (point, flag word, HandleKind) → whether to go on; false once fn
// stopped.
struct HandlesNoStep {
    void operator()() const {}
};

// step is called once a face.
template <class Fn, class Step = HandlesNoStep>
bool Handles_BrushVertices(BrushRecord* b, Fn&& fn, Step&& step = {}) {
    for (FaceRecord* f = b->firstFace; f; f = f->next, step())
        for (int32_t i = 0; i < f->vertexCount; ++i)
            if (!fn(f->vertices[i].xyz, &f->vertices[i].flags, HandleKind::Vertex)) return false;
    if (PatchRecord* p = b->patch)
        for (int32_t c = 0; c < p->columns; c += 2)
            for (int32_t r = 0; r < p->rows; r += 2)
                if (!fn(p->points[c][r].xyz, &p->points[c][r].flags, HandleKind::PatchPoint)) return false;
    if (OverlayRecord* o = b->overlay)
        for (int32_t i = 0; i < kOverlayCorners; ++i)
            if (!fn(o->corners[i].xyz, &o->handle->cornerFlags[i], HandleKind::Vertex)) return false;
    return true;
}

// Face and overlay edges report the flag word of their first point; patch edge-kind points their
// own.
template <class Fn, class Step = HandlesNoStep>
bool Handles_BrushEdges(BrushRecord* b, Fn&& fn, Step&& step = {}) {
    auto mid = [](const float a[3], const float b[3], float out[3]) {
        for (int k = 0; k < 3; ++k)
            out[k] = (a[k] + b[k]) * 0.5f;
    };
    float m[3];
    for (FaceRecord* f = b->firstFace; f; f = f->next, step())
        for (int32_t i = 0; i < f->vertexCount; ++i) {
            mid(f->vertices[i].xyz, f->vertices[i + 1 < f->vertexCount ? i + 1 : 0].xyz, m);
            if (!fn(m, &f->vertices[i].flags, HandleKind::Edge)) return false;
        }
    if (PatchRecord* p = b->patch)
        for (int32_t c = 0; c < p->columns; ++c)
            for (int32_t r = 0; r < p->rows; ++r)
                if (((c | r) & 1) && !fn(p->points[c][r].xyz, &p->points[c][r].flags, HandleKind::PatchEdge))
                    return false;
    if (OverlayRecord* o = b->overlay)
        for (int32_t i = 0; i < kOverlayCorners; ++i) {
            mid(o->corners[i].xyz, o->corners[(i + 1) % kOverlayCorners].xyz, m);
            if (!fn(m, &o->handle->cornerFlags[i], HandleKind::Edge)) return false;
        }
    return true;
}

template <class Fn> void Handles_ForEachVertex(MapWorld* world, Fn&& fn) {
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (!Handles_BrushVertices(b, fn)) return;
}

template <class Fn> void Handles_ForEachEdge(MapWorld* world, Fn&& fn) {
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (!Handles_BrushEdges(b, fn)) return;
}

// Reads the records of a brush's faces into the cache a step at a time, while another brush is
// worked on: a walk over many brushes otherwise waits on memory at every face.
class cHandlesReadAhead {
public:
    void start(BrushRecord* b) {
        m_brush = b;
        m_face = nullptr;
    }
    void operator()() {
        if (!m_brush) return;
        m_face = m_face ? m_face->next : m_brush->firstFace;
        if (!m_face) {
            m_brush = nullptr;
            return;
        }
        const char* record = reinterpret_cast<const char*>(m_face);
        __builtin_prefetch(record);
        __builtin_prefetch(record + offsetof(FaceRecord, vertexCount));
        if (const char* vertices = reinterpret_cast<const char*>(m_face->vertices)) {
            __builtin_prefetch(vertices);
            __builtin_prefetch(vertices + 64);
        }
    }

private:
    BrushRecord* m_brush = nullptr;
    FaceRecord* m_face = nullptr;
};

// Both kinds brush by brush (each brush's records are read once while at hand): the edges of a
// brush, then its vertices. Among handles of one kind the order is that of the walks above. fn must
// leave the brushes and faces as they are.
template <class Fn> void Handles_ForEachHandle(MapWorld* world, bool vertices, bool edges, Fn&& fn) {
    cHandlesReadAhead ahead;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        if (BrushRecord* next = b->selNext) {
            if (next->selNext) __builtin_prefetch(next->selNext);
            ahead.start(next);
        }
        if ((edges && !Handles_BrushEdges(b, fn, ahead)) ||
            (vertices && !Handles_BrushVertices(b, fn, ahead)))
            return;
    }
}

// The 3D view's outlines of the selection in the current colour: faces and overlays as line
// loops, patch meshes as quads.
void Handles_DrawOutlines(MapWorld* world);
