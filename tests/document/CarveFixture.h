// The document fixture with boxes given as a Box and measures of brushes, for the carve, merge,
// hollow and clip tests.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "core/Prompt.h"
#include "document/CarveMerge.h"
#include "document/HollowClip.h"
#include "map/MapPatch.h"
#include "map/ObjectRecords.h"

struct Box {
    float lo[3];
    float hi[3];
};

class CarveFixture : public DocumentFixture {
public:
    using DocumentFixture::box;
    using DocumentFixture::brushEntity;
    BrushRecord* box(EntityRecord* owner, const Box& x, const char* tex = "base/wall") {
        return box(owner, x.lo, x.hi, tex);
    }
    BrushRecord* box(const Box& x, const char* tex = "base/wall") { return box(worldspawn, x, tex); }
    EntityRecord* brushEntity() { return brushEntity("func_wall"); }
    void select(BrushRecord* b) { Map_SelectObject(w, b); }

    std::vector<BrushRecord*> selectedBrushes() const {
        std::vector<BrushRecord*> list;
        for (BrushRecord* b = w->selectedBrushes; b; b = b->selNext)
            list.push_back(b);
        return list;
    }
    static bool hasBounds(const BrushRecord* b, const Box& x) {
        for (int k = 0; k < 3; ++k)
            if (std::fabs(b->mins[k] - x.lo[k]) > 0.01f || std::fabs(b->maxs[k] - x.hi[k]) > 0.01f)
                return false;
        return true;
    }
    static int countWithBounds(const std::vector<BrushRecord*>& list, const Box& x) {
        int n = 0;
        for (const BrushRecord* b : list)
            n += hasBounds(b, x) ? 1 : 0;
        return n;
    }
    // Volume of a convex brush: tetrahedra from its first vertex to each face's fan.
    static double volume(const BrushRecord* b) {
        const float* o = b->firstFace->vertices[0].xyz;
        double v = 0;
        for (const FaceRecord* f = b->firstFace; f; f = f->next) {
            for (int i = 1; i + 1 < f->vertexCount; ++i) {
                const float* p = f->vertices[0].xyz;
                const float* q = f->vertices[i].xyz;
                const float* r = f->vertices[i + 1].xyz;
                const double a[3] = {p[0] - o[0], p[1] - o[1], p[2] - o[2]};
                const double c[3] = {q[0] - o[0], q[1] - o[1], q[2] - o[2]};
                const double d[3] = {r[0] - o[0], r[1] - o[1], r[2] - o[2]};
                v += (a[0] * (c[1] * d[2] - c[2] * d[1]) - a[1] * (c[0] * d[2] - c[2] * d[0]) +
                      a[2] * (c[0] * d[1] - c[1] * d[0])) /
                     6.0;
            }
        }
        return std::fabs(v);
    }
    static double totalVolume(const std::vector<BrushRecord*>& list) {
        double v = 0;
        for (const BrushRecord* b : list)
            v += volume(b);
        return v;
    }

    cPromptScript prompts;
};
