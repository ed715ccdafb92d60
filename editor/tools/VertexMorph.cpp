// The vertex tool's geometric operations: move, rotate and scale the selected handles, weld,
// split a face, split bent faces, and the clean-up that ends morph mode. A step works on the
// points it collected and keeps their earlier positions and the earlier planes of their faces, so
// a step the restrictions refuse leaves the geometry exactly as it was.
#include <QApplication>
#include <algorithm>
#include <cmath>

#include "core/SysHost.h"
#include "core/System.h"
#include "core/Winding.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "kstdlib/kmath.h"
#include "core/MainSettings.h"
#include "map/Decal.h"
#include "map/MapEntity.h"
#include "core/Vector.h"
#include "tools/ToolHost.h"
#include "tools/ToolSupport.h"
#include "tools/VertexHandles.h"
#include "tools/VertexTool.h"
#include "views/Canvas.h"

namespace {

constexpr float kCoincide = 0.02f;
constexpr float kPlaneSlack = 0.5f;

bool coincide(const float a[3], const float b[3]) {
    return std::fabs(a[0] - b[0]) < kCoincide && std::fabs(a[1] - b[1]) < kCoincide &&
           std::fabs(a[2] - b[2]) < kCoincide;
}

bool restricted() {
    return Sys_Settings().VertexToolRestrict;
}

int solidFaceCount(const BrushRecord* b) {
    int n = 0;
    for (const FaceRecord* f = b->firstFace; f; f = f->next)
        ++n;
    return n;
}

std::vector<FaceRecord*> facesOf(const BrushRecord* b) {
    std::vector<FaceRecord*> faces;
    for (FaceRecord* f = b->firstFace; f; f = f->next)
        faces.push_back(f);
    return faces;
}

// A new face of the brush with the texture of old and the given corners; vertex flags as given.
FaceRecord* makeFace(MapWorld* world, BrushRecord* brush, const FaceRecord* old,
                     const std::vector<FaceVertex>& corners) {
    FaceRecord* f = Face_Create(Map_Handle(world), brush, &old->texInfo, int32_t(corners.size()));
    for (size_t i = 0; i < corners.size(); ++i) {
        Vec_Copy(corners[i].xyz, f->vertices[i].xyz);
        f->vertices[i].flags = corners[i].flags;
    }
    Vec_Copy(old->normal, f->normal);
    f->dist = old->dist;
    f->handle->computePlane();
    f->flags |= FaceFlags::NeedsUpdate;
    return f;
}

void markMorphed(BrushRecord* b) {
    b->flags |= BrushFlags::NeedsUpdate | BrushFlags::Morphed;
}

} // namespace

bool cVertexTool::checkBrush(const BrushRecord* brush, bool ownPlane) {
    // Every vertex against every other face's plane: a test against later faces only lets
    // non-convex brushes pass.
    for (const FaceRecord* f = brush->firstFace; f; f = f->next) {
        if (!f->handle->isPlanar(nullptr)) return false;
        for (const FaceRecord* g = brush->firstFace; g; g = g->next)
            for (int32_t i = 0; i < g->vertexCount; ++i) {
                const float d = Vec_Dot(g->vertices[i].xyz, f->normal) - f->dist;
                if (g == f ? ownPlane && std::fabs(d) > kPlaneSlack : d > kPlaneSlack) return false;
            }
    }
    return true;
}

void cVertexTool::beginMorph(cCanvas* v) {
    if (morphing) return;
    MapDocument* doc = v ? v->document() : nullptr;
    if (!doc) return;
    morphing = true;
    Undo_BeginLevel(doc->undo, "Morphing");
    Undo_SaveSelectedBrushesChanged(doc->undo, true);
}

void cVertexTool::collectStep(MapWorld* world, Step& step) {
    auto addPoint = [&](float* xyz, int32_t* flags) {
        if (*flags & HandleFlags::Touched) return false;
        *flags |= HandleFlags::Touched;
        step.points.push_back({xyz, flags, {xyz[0], xyz[1], xyz[2]}});
        return true;
    };
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        const size_t pointsBefore = step.points.size();
        const size_t facesOfBrush = step.faces.size();
        auto addFaceVertex = [&](FaceRecord* f, int32_t i) {
            if (!addPoint(f->vertices[i].xyz, &f->vertices[i].flags)) return;
            for (size_t k = facesOfBrush; k < step.faces.size(); ++k)
                if (step.faces[k].face == f) return;
            StepFace saved{f, {f->normal[0], f->normal[1], f->normal[2]}, f->dist, f->axialType};
            step.faces.push_back(saved);
        };
        if (mode & VertexMode::Edges) {
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                for (int32_t i = 0; i < f->vertexCount; ++i) {
                    if (!(f->vertices[i].flags & HandleFlags::Edge)) continue;
                    const int32_t j = (i + 1) % f->vertexCount;
                    float ends[2][3];
                    Vec_Copy(f->vertices[i].xyz, ends[0]);
                    Vec_Copy(f->vertices[j].xyz, ends[1]);
                    addFaceVertex(f, i);
                    addFaceVertex(f, j);
                    for (FaceRecord* g = b->firstFace; g; g = g->next)
                        for (int32_t k = 0; g != f && k < g->vertexCount; ++k)
                            if (coincide(g->vertices[k].xyz, ends[0]) ||
                                coincide(g->vertices[k].xyz, ends[1]))
                                addFaceVertex(g, k);
                }
            if (PatchRecord* p = b->patch)
                for (int32_t c = 0; c < p->columns; ++c)
                    for (int32_t r = 0; r < p->rows; ++r)
                        if (((c | r) & 1) && (p->points[c][r].flags & HandleFlags::Vertex))
                            addPoint(p->points[c][r].xyz, &p->points[c][r].flags);
            if (OverlayRecord* o = b->overlay)
                for (int32_t i = 0; i < kOverlayCorners; ++i)
                    if (o->handle->cornerFlags[i] & HandleFlags::Edge) {
                        const int32_t j = (i + 1) % kOverlayCorners;
                        addPoint(o->corners[i].xyz, &o->handle->cornerFlags[i]);
                        addPoint(o->corners[j].xyz, &o->handle->cornerFlags[j]);
                    }
        }
        if (mode & VertexMode::Vertices) {
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                for (int32_t i = 0; i < f->vertexCount; ++i)
                    if (f->vertices[i].flags & HandleFlags::Vertex) addFaceVertex(f, i);
            if (PatchRecord* p = b->patch)
                for (int32_t c = 0; c < p->columns; c += 2)
                    for (int32_t r = 0; r < p->rows; r += 2)
                        if (p->points[c][r].flags & HandleFlags::Vertex)
                            addPoint(p->points[c][r].xyz, &p->points[c][r].flags);
            if (OverlayRecord* o = b->overlay)
                for (int32_t i = 0; i < kOverlayCorners; ++i)
                    if (o->handle->cornerFlags[i] & HandleFlags::Vertex)
                        addPoint(o->corners[i].xyz, &o->handle->cornerFlags[i]);
        }
        if (step.points.size() > pointsBefore) step.brushes.push_back(b);
    }
}

bool cVertexTool::settleStep(Step& step, bool ownPlane) {
    for (StepFace& s : step.faces)
        s.face->handle->computePlane();
    if (!restricted()) return true;
    for (const StepFace& s : step.faces)
        if (!s.face->handle->isPlanar(nullptr)) return false;
    for (const BrushRecord* b : step.brushes)
        if (b->kind == BrushKind::Solid && !checkBrush(b, ownPlane)) return false;
    return true;
}

void cVertexTool::revertStep(Step& step) {
    for (StepPoint& p : step.points)
        Vec_Copy(p.saved, p.xyz);
    for (StepFace& s : step.faces) {
        Vec_Copy(s.normal, s.face->normal);
        s.face->dist = s.dist;
        s.face->axialType = s.axialType;
    }
}

void cVertexTool::finishStep(Step& step, bool changed) {
    for (StepPoint& p : step.points)
        *p.flags &= ~HandleFlags::StepBits;
    if (!changed) return;
    for (StepFace& s : step.faces)
        s.face->flags |= FaceFlags::NeedsUpdate;
    std::vector<EntityRecord*> entities;
    for (BrushRecord* b : step.brushes) {
        markMorphed(b);
        if (b->patch) b->patch->flags |= PatchFlags::NeedsUpdate;
        if (b->overlay) b->overlay->flags |= OverlayFlags::NeedsUpdate;
        if (b->entity && std::find(entities.begin(), entities.end(), b->entity) == entities.end())
            entities.push_back(b->entity);
    }
    for (EntityRecord* e : entities)
        e->handle->update(0x802);
}

int cVertexTool::moveElements(cCanvas* v, int axis1, int axis2, float d1, float d2) {
    MapWorld* world = worldOf(v);
    if (!world || (d1 == 0.0f && d2 == 0.0f)) return 0;
    const int axes[2] = {axis1, axis2};
    const float deltas[2] = {d1, d2};
    int stood = 0;
    for (int n = 0; n < 2; ++n) {
        if (axes[n] == kNoAxis || deltas[n] == 0.0f) {
            stood |= 1 << n;
            continue;
        }
        Step step;
        collectStep(world, step);
        if (step.points.empty()) {
            stood |= 1 << n;
            continue;
        }
        beginMorph(v);
        for (StepPoint& p : step.points)
            p.xyz[axes[n]] += deltas[n];
        const bool ok = settleStep(step, false);
        if (ok)
            stood |= 1 << n;
        else
            revertStep(step);
        finishStep(step, ok);
    }
    return stood;
}

int cVertexTool::rotateElements(cCanvas* v, float angle) {
    MapWorld* world = worldOf(v);
    if (!world || std::fabs(angle) < 0.001f) return 0;
    Step step;
    collectStep(world, step);
    if (step.points.empty()) return 1;
    beginMorph(v);
    float s, c;
    K_SinCosPrecise(angle, &s, &c);
    const int a1 = v->hAxis, a2 = v->vAxis;
    for (StepPoint& p : step.points) {
        const float q1 = p.xyz[a1] - pivot[a1], q2 = p.xyz[a2] - pivot[a2];
        p.xyz[a1] = q1 * c + q2 * s + pivot[a1];
        p.xyz[a2] = q2 * c - q1 * s + pivot[a2];
    }
    const bool ok = settleStep(step, false);
    if (!ok) revertStep(step);
    finishStep(step, ok);
    return ok ? 1 : 0;
}

int cVertexTool::scaleElements(cCanvas* v, int axisMask, float factor) {
    MapWorld* world = worldOf(v);
    if (!world || std::fabs(factor) < 0.001f) return 0;
    Step step;
    collectStep(world, step);
    if (step.points.empty()) return 1;
    beginMorph(v);
    for (StepPoint& p : step.points)
        for (int k = 0; k < 3; ++k)
            if (axisMask & (1 << k)) p.xyz[k] = scaleCentre[k] + (p.xyz[k] - scaleCentre[k]) * factor;
    const bool ok = settleStep(step, true);
    if (!ok) revertStep(step);
    finishStep(step, ok);
    return ok ? 1 : 0;
}

void cVertexTool::weldVertices(cCanvas* v) {
    MapWorld* world = worldOf(v);
    if (!world || !(mode & VertexMode::Vertices)) return;
    double sum[3] = {0, 0, 0};
    int count = 0;
    auto add = [&](const float p[3], int32_t flags) {
        if (!(flags & HandleFlags::Vertex)) return;
        for (int k = 0; k < 3; ++k)
            sum[k] += p[k];
        ++count;
    };
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            for (int32_t i = 0; i < f->vertexCount; ++i)
                add(f->vertices[i].xyz, f->vertices[i].flags);
        if (PatchRecord* p = b->patch)
            for (int32_t c = 0; c < p->columns; ++c)
                for (int32_t r = 0; r < p->rows; ++r)
                    add(p->points[c][r].xyz, p->points[c][r].flags);
    }
    if (count < 2) return;
    float target[3];
    for (int k = 0; k < 3; ++k)
        target[k] = std::floor(float(sum[k] / count) + 0.5f);
    beginMorph(v);
    bool axes[3] = {true, true, true};
    if (!v->is3D()) axes[v->dAxis] = false;
    auto weld = [&](float* p) {
        for (int k = 0; k < 3; ++k)
            if (axes[k]) p[k] = target[k];
    };
    int failed = 0;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        if (b->kind != BrushKind::Solid) continue;
        Step step;
        for (FaceRecord* f = b->firstFace; f; f = f->next) {
            bool faceSaved = false;
            for (int32_t i = 0; i < f->vertexCount; ++i) {
                FaceVertex& fv = f->vertices[i];
                if (!(fv.flags & HandleFlags::Vertex)) continue;
                step.points.push_back({fv.xyz, &fv.flags, {fv.xyz[0], fv.xyz[1], fv.xyz[2]}});
                if (!faceSaved)
                    step.faces.push_back(
                        {f, {f->normal[0], f->normal[1], f->normal[2]}, f->dist, f->axialType});
                faceSaved = true;
                weld(fv.xyz);
            }
        }
        if (step.points.empty()) continue;
        step.brushes.push_back(b);
        for (StepFace& s : step.faces)
            s.face->handle->computePlane();
        if (restricted() && !checkBrush(b, true)) {
            revertStep(step);
            ++failed;
            continue;
        }
        for (StepFace& s : step.faces)
            s.face->flags |= FaceFlags::NeedsUpdate;
        markMorphed(b);
        b->handle->update(0x402);
    }
    if (failed) {
        Sys_Error("can't weld vertices in %i brushes - resulting solids will be invalid", failed);
        QApplication::beep();
        return;
    }
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        PatchRecord* p = b->patch;
        if (!p) continue;
        bool changed = false;
        for (int32_t c = 0; c < p->columns; ++c)
            for (int32_t r = 0; r < p->rows; ++r)
                if (p->points[c][r].flags & HandleFlags::Vertex) {
                    weld(p->points[c][r].xyz);
                    changed = true;
                }
        if (!changed) continue;
        p->flags |= PatchFlags::NeedsUpdate;
        b->flags |= BrushFlags::NeedsUpdate;
        b->handle->update(BrushUpdate::TessellatePatch);
    }
}

void cVertexTool::splitFace(cCanvas* v) {
    MapWorld* world = worldOf(v);
    if (!world) return;
    auto fail = [](const char* text) {
        Sys_Error("%s", text);
        QApplication::beep();
    };
    FaceRecord* face = nullptr;
    int cut[2] = {0, 0};
    bool byEdges = false;
    // Counts the face's points with the bit, the first two in cut order.
    auto countSelected = [](const FaceRecord* f, int32_t bit, int out[2]) {
        int n = 0;
        for (int32_t i = 0; i < f->vertexCount; ++i)
            if (f->vertices[i].flags & bit) {
                if (n < 2) out[n] = i;
                ++n;
            }
        return n;
    };
    if (mode & VertexMode::Vertices)
        for (BrushRecord* b = world->selectedBrushes; b && !face; b = b->selNext)
            for (FaceRecord* f = b->firstFace; f && !face; f = f->next) {
                int pair[2];
                const int n = countSelected(f, HandleFlags::Vertex, pair);
                if (n >= 3) return fail("can't split, more than 2 vertices selected on a face");
                const int distance = pair[1] - pair[0];
                if (n == 2 && distance != 1 && distance != f->vertexCount - 1) {
                    face = f;
                    cut[0] = pair[0];
                    cut[1] = pair[1];
                }
            }
    if (!face && (mode & VertexMode::Edges))
        for (BrushRecord* b = world->selectedBrushes; b && !face; b = b->selNext)
            for (FaceRecord* f = b->firstFace; f && !face; f = f->next) {
                int pair[2];
                const int n = countSelected(f, HandleFlags::Edge, pair);
                if (n >= 3) return fail("can't split, more than 2 edges selected on a face");
                if (n == 2) {
                    face = f;
                    byEdges = true;
                    cut[0] = pair[0];
                    cut[1] = pair[1];
                }
            }
    if (!face) return fail("can't split, you must have 2 non-adjacent vertices or edges selected on a face");

    beginMorph(v);
    BrushRecord* brush = face->brush;
    const int32_t n = face->vertexCount;
    auto corner = [&](int32_t i, int32_t flags) {
        FaceVertex c{};
        Vec_Copy(face->vertices[i % n].xyz, c.xyz);
        c.flags = flags;
        return c;
    };
    std::vector<FaceVertex> first, second;
    if (!byEdges) {
        // The diagonal between the two vertices: both belong to both pieces.
        for (int32_t i = cut[0]; i <= cut[1]; ++i)
            first.push_back(corner(i, (i == cut[0] || i == cut[1]) ? HandleFlags::Vertex : 0));
        for (int32_t i = cut[1]; i <= cut[0] + n; ++i)
            second.push_back(corner(i, (i == cut[1] || i == cut[0] + n) ? HandleFlags::Vertex : 0));
    } else {
        float mids[2][3];
        for (int e = 0; e < 2; ++e)
            for (int k = 0; k < 3; ++k)
                mids[e][k] = (face->vertices[cut[e]].xyz[k] + face->vertices[(cut[e] + 1) % n].xyz[k]) * 0.5f;
        FaceVertex m[2] = {};
        for (int e = 0; e < 2; ++e) {
            Vec_Copy(mids[e], m[e].xyz);
            m[e].flags = HandleFlags::Vertex;
        }
        first.push_back(m[0]);
        for (int32_t i = cut[0] + 1; i <= cut[1]; ++i)
            first.push_back(corner(i, 0));
        first.push_back(m[1]);
        second.push_back(m[1]);
        for (int32_t i = cut[1] + 1; i <= cut[0] + n; ++i)
            second.push_back(corner(i, 0));
        second.push_back(m[0]);
        // The neighbours across the cut edges get the midpoints too, selected, so the brush stays
        // closed when they move.
        for (int e = 0; e < 2; ++e) {
            const float* start = face->vertices[cut[e]].xyz;
            const float* end = face->vertices[(cut[e] + 1) % n].xyz;
            for (FaceRecord* g = brush->firstFace; g; g = g->next) {
                if (g == face) continue;
                for (int32_t i = 0; i < g->vertexCount; ++i)
                    if (coincide(g->vertices[i].xyz, end) &&
                        coincide(g->vertices[(i + 1) % g->vertexCount].xyz, start)) {
                        g->handle->insertVertex(i, mids[e]);
                        g->vertices[i + 1].flags = HandleFlags::Vertex;
                        break;
                    }
            }
        }
    }
    makeFace(world, brush, face, first);
    makeFace(world, brush, face, second);
    face->handle->removeSelf();
    if (byEdges)
        Handles_ForEachEdge(world, [](const float*, int32_t* flags, int kind) {
            if (kind == HandleKind::Edge) *flags &= ~HandleFlags::Edge;
            return true;
        });
    markMorphed(brush);
    brush->handle->update(FaceUpdate::Plane);
}

void cVertexTool::fixNonPlanarFaces(cCanvas* v) {
    MapWorld* world = worldOf(v);
    if (!world || !world->selectedBrushes) return;
    beginMorph(v);
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        bool split = false;
        for (FaceRecord* f : facesOf(b))
            if (!f->handle->isPlanar(nullptr)) split = splitNonPlanarFace(f) || split;
        if (!split) continue;
        markMorphed(b);
        b->handle->update(FaceUpdate::Plane);
    }
}

bool cVertexTool::splitNonPlanarFace(FaceRecord* face) {
    const int32_t n = face->vertexCount;
    if (n <= 3) return false;
    const FaceVertex* v = face->vertices;
    // The cut runs from b to d, the far end of the last triangle of the fan that still lies in the
    // plane. Pieces are cut by these real indices, and only when both are smaller than the face,
    // so the recursion ends. A bend that only shows the other way round is the fallback.
    int cutB = -1, cutD = -1, fallbackB = -1, fallbackD = -1;
    for (int32_t b = 0; b < n && cutB < 0; ++b) {
        int32_t d = (b + 1) % n, previousD = -1;
        float previous[3] = {0, 0, 0};
        bool havePrevious = false;
        for (int32_t j = 2; j < n; ++j) {
            const int32_t t = (b + j) % n;
            float e1[3], e2[3];
            Vec_Sub(v[d].xyz, v[b].xyz, e1);
            Vec_Sub(v[t].xyz, v[b].xyz, e2);
            if (Vec_Dot(e1, e1) < 0.001f || Vec_Dot(e2, e2) < 0.001f) continue;
            float u1[3], u2[3];
            Vec_Copy(e1, u1);
            Vec_Copy(e2, u2);
            Vec_Normalize(u1);
            Vec_Normalize(u2);
            if (Vec_Dot(u1, u2) > 0.9995f) continue;
            float normal[3];
            Vec_Cross(e1, e2, normal);
            Vec_Normalize(normal);
            if (havePrevious && Vec_Dot(normal, previous) <= 0.9995f) {
                const int first = (d - b + n) % n + 1, second = n - first + 2;
                if (first >= 3 && second >= 3 && first < n && second < n) {
                    const float side = Vec_Dot(normal, v[previousD].xyz) - Vec_Dot(normal, v[b].xyz);
                    if (side < 0.0f) {
                        cutB = b;
                        cutD = d;
                        break;
                    }
                    if (fallbackB < 0) {
                        fallbackB = b;
                        fallbackD = d;
                    }
                }
            }
            Vec_Copy(normal, previous);
            havePrevious = true;
            previousD = d;
            d = t;
        }
    }
    if (cutB < 0) {
        cutB = fallbackB;
        cutD = fallbackD;
    }
    if (cutB < 0) return false;
    std::vector<FaceVertex> first, second;
    for (int32_t i = cutB;; i = (i + 1) % n) {
        first.push_back(v[i]);
        if (i == cutD) break;
    }
    for (int32_t i = cutD;; i = (i + 1) % n) {
        second.push_back(v[i]);
        if (i == cutB) break;
    }
    for (auto* piece : {&first, &second})
        for (FaceVertex& c : *piece)
            c.flags &= HandleFlags::Vertex;
    MapWorld* world = Map_WorldOfFace(face);
    BrushRecord* brush = face->brush;
    FaceRecord* a = makeFace(world, brush, face, first);
    FaceRecord* b = makeFace(world, brush, face, second);
    face->handle->removeSelf();
    for (FaceRecord* piece : {a, b})
        if (piece->vertexCount > 3 && !piece->handle->isPlanar(nullptr)) splitNonPlanarFace(piece);
    return true;
}

void cVertexTool::cleanUpMorph(cCanvas* v, bool quiet) {
    if (!morphing) {
        if (!quiet && Tool_Host()) Tool_Host()->notifySelectionChanged(v);
        return;
    }
    MapDocument* doc = v ? v->document() : nullptr;
    MapWorld* world = doc ? doc->world : nullptr;
    if (!world) {
        morphing = false;
        return;
    }
    int tinyFaces = 0, tinyBrushes = 0, welded = 0, merged = 0;
    // A brush needs four faces to enclose anything.
    constexpr int kMinFaces = 4;
    cWinding* w = cWinding::Alloc();
    for (EntityRecord* e = world->entities; e;) {
        EntityRecord* nextEntity = e->next;
        if (!e->firstBrush) {
            e = nextEntity;
            continue;
        }
        for (BrushRecord* b = e->firstBrush; b;) {
            BrushRecord* nextBrush = b->next;
            if (b->kind != BrushKind::Solid || !(b->flags & BrushFlags::Morphed)) {
                b = nextBrush;
                continue;
            }
            for (FaceRecord* f : facesOf(b)) {
                w->count = std::min(f->vertexCount, cWinding::MaxPoints);
                for (int32_t i = 0; i < w->count; ++i) {
                    Vec_Copy(f->vertices[i].xyz, w->points[i]);
                    f->vertices[i].flags = 0;
                }
                const int32_t before = w->count;
                cWinding::RemoveDuplicatePoints(w);
                if (cWinding::Area(w) < 0.05f) {
                    f->handle->removeSelf();
                    ++tinyFaces;
                } else if (w->count < before) {
                    f->handle->setVertexCount(w->count);
                    for (int32_t i = 0; i < w->count; ++i)
                        Vec_Copy(w->points[i], f->vertices[i].xyz);
                    welded += before - w->count;
                    f->flags |= FaceFlags::NeedsUpdate;
                }
            }
            bool gone = solidFaceCount(b) < kMinFaces;
            if (!gone && Sys_Settings().VertexToolCoplanarMerge) {
                const int32_t m = b->handle->removeDuplicatePlanes();
                if (m > 0) {
                    merged += m;
                    for (FaceRecord* f = b->firstFace; f; f = f->next) {
                        f->handle->setVertexCount(0);
                        f->flags |= FaceFlags::NeedsUpdate;
                    }
                    b->handle->update(FaceUpdate::Polygon);
                    gone = solidFaceCount(b) < kMinFaces;
                }
            }
            if (gone) {
                Map_DeleteBrush(world, b, true);
                ++tinyBrushes;
            } else {
                Decal_InvalidateAroundBrush(b);
                b->flags = (b->flags & ~BrushFlags::Morphed) | BrushFlags::NeedsUpdate;
            }
            b = nextBrush;
        }
        if (e->firstBrush || (e->flags & EntityFlag::World)) {
            e->handle->update(0);
        } else {
            Sys_Printf("removing the whole entity: %s", e->classname ? e->classname : "");
            Map_RemoveEntity(world, e, true);
        }
        e = nextEntity;
    }
    cWinding::Free(w);
    Sys_Printf("Morphing complete: %i tiny faces removed, %i tiny brushes removed, %i vertices welded, %i "
               "coplanar faces merged",
               tinyFaces, tinyBrushes, welded, merged);
    if (doc->undo && doc->undo->recording) {
        Undo_EndLevel(doc->undo);
        Tool_UpdateActions(0x2);
    }
    Tool_MarkModified(doc);
    // Off before the tools hear of it: a second pass would only print an empty report.
    morphing = false;
    if (!quiet && Tool_Host()) Tool_Host()->notifySelectionChanged(v);
}
