// Random morphing of generated convex brushes (boxes, wedges, 3- to 12-sided cylinders, random
// plane hulls, all randomly turned): random handle selections and random move, rotate, scale,
// weld, split and fix steps. Checked after every step: nothing is NaN or infinite; with the
// restrictions on every face is planar and no vertex lies more than 0.5 in front of a face plane
// of its brush, and a refused step leaves the world bit-identical. After the clean-up no tiny
// face, no brush under four faces and no doubled points are left, and Undo / Redo of "Morphing"
// give the dumps from before and after. Fixed seeds here; more through ZARV_PROPERTY_SEEDS
// (e.g. "1-500") and ZARV_PROPERTY_STEPS. A failure prints its seed and the steps so far.
#include <cmath>
#include <cstdlib>
#include <random>
#include <sstream>

#include "ToolDriver.h"
#include "core/Winding.h"
#include "document/MapSelection.h"
#include "tools/VertexTool.h"

namespace {

using Planes = std::vector<std::vector<float>>;

// A random rotation (three angles) applied to the planes' normals.
void turn(Planes& planes, std::mt19937& rng) {
    std::uniform_real_distribution<float> angle(-3.14159f, 3.14159f);
    const float a = angle(rng), b = angle(rng), c = angle(rng);
    for (auto& p : planes) {
        float x = p[0], y = p[1], z = p[2];
        float t = x * std::cos(a) - y * std::sin(a);
        y = x * std::sin(a) + y * std::cos(a);
        x = t;
        t = y * std::cos(b) - z * std::sin(b);
        z = y * std::sin(b) + z * std::cos(b);
        y = t;
        t = x * std::cos(c) - z * std::sin(c);
        z = x * std::sin(c) + z * std::cos(c);
        x = t;
        p[0] = x;
        p[1] = y;
        p[2] = z;
    }
}

Planes generated(int kind, std::mt19937& rng) {
    std::uniform_real_distribution<float> size(16.0f, 96.0f);
    Planes planes;
    switch (kind) {
    case 0: // box
        for (int axis = 0; axis < 3; ++axis)
            for (float sign : {1.0f, -1.0f}) {
                std::vector<float> p = {0, 0, 0, size(rng)};
                p[axis] = sign;
                planes.push_back(p);
            }
        break;
    case 1: // wedge
        planes = {{0, 0, -1, 32}, {0, -1, 0, 32}, {-1, 0, 0, 32}, {1, 0, 0, 32}, {0, 0.7f, 0.7f, 10}};
        break;
    case 2: { // cylinder
        const int sides = 3 + int(rng() % 10);
        const float radius = size(rng), height = size(rng);
        for (int k = 0; k < sides; ++k) {
            const float a = 6.2831853f * float(k) / float(sides);
            planes.push_back({std::cos(a), std::sin(a), 0, radius});
        }
        planes.push_back({0, 0, 1, height});
        planes.push_back({0, 0, -1, height});
        break;
    }
    default: { // random hull inside a bounding cube
        std::normal_distribution<float> n(0.0f, 1.0f);
        for (int k = 0; k < 10; ++k) {
            float v[3] = {n(rng), n(rng), n(rng)};
            const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            if (l < 0.1f) continue;
            planes.push_back({v[0] / l, v[1] / l, v[2] / l, 48.0f});
        }
        for (int axis = 0; axis < 3; ++axis)
            for (float sign : {1.0f, -1.0f}) {
                std::vector<float> p = {0, 0, 0, 64.0f};
                p[axis] = sign;
                planes.push_back(p);
            }
        break;
    }
    }
    turn(planes, rng);
    return planes;
}

class VertexMorphTest : public ToolFixture {
public:
    void SetUp() override {
        ToolFixture::SetUp();
        g_mainWindow->toolVertexManipulation();
        vertex = tool<cVertexTool>(ToolId::Vertex);
        vertex->view = top;
    }

    // Marks every copy of a few random corners (and now and then the edges at them).
    void selectRandomHandles(std::mt19937& rng) {
        for (BrushRecord* b = w->selectedBrushes; b; b = b->selNext) {
            std::vector<const float*> corners;
            for (FaceRecord* f = b->firstFace; f; f = f->next)
                for (int i = 0; i < f->vertexCount; ++i)
                    corners.push_back(f->vertices[i].xyz);
            if (corners.empty()) continue;
            const int picks = 1 + int(rng() % 3);
            for (int k = 0; k < picks; ++k) {
                float p[3];
                const float* chosen = corners[rng() % corners.size()];
                std::copy(chosen, chosen + 3, p);
                const bool edge = rng() % 4 == 0;
                for (FaceRecord* f = b->firstFace; f; f = f->next)
                    for (int i = 0; i < f->vertexCount; ++i) {
                        const float* q = f->vertices[i].xyz;
                        if (std::fabs(q[0] - p[0]) < 0.02f && std::fabs(q[1] - p[1]) < 0.02f &&
                            std::fabs(q[2] - p[2]) < 0.02f)
                            f->vertices[i].flags |= edge ? HandleFlags::Edge : HandleFlags::Vertex;
                    }
            }
        }
    }

    static bool finite(const BrushRecord* b) {
        for (const FaceRecord* f = b->firstFace; f; f = f->next) {
            for (int k = 0; k < 3; ++k)
                if (!std::isfinite(f->normal[k])) return false;
            if (!std::isfinite(f->dist)) return false;
            for (int i = 0; i < f->vertexCount; ++i)
                for (int k = 0; k < 3; ++k)
                    if (!std::isfinite(f->vertices[i].xyz[k])) return false;
        }
        return true;
    }
    static bool planarAndConvex(const BrushRecord* b) {
        for (const FaceRecord* f = b->firstFace; f; f = f->next) {
            if (!f->handle->isPlanar(nullptr)) return false;
            for (const FaceRecord* g = b->firstFace; g; g = g->next)
                for (int i = 0; i < g->vertexCount; ++i) {
                    const float* p = g->vertices[i].xyz;
                    if (p[0] * f->normal[0] + p[1] * f->normal[1] + p[2] * f->normal[2] - f->dist > 0.5f)
                        return false;
                }
        }
        return true;
    }
    static bool cleanedUp(const BrushRecord* b) {
        int faces = 0;
        for (const FaceRecord* f = b->firstFace; f; f = f->next) {
            ++faces;
            cWinding wi{};
            wi.count = f->vertexCount;
            for (int i = 0; i < f->vertexCount; ++i) {
                std::copy(f->vertices[i].xyz, f->vertices[i].xyz + 3, wi.points[i]);
                const float* a = f->vertices[i].xyz;
                const float* c = f->vertices[(i + 1) % f->vertexCount].xyz;
                if (std::fabs(a[0] - c[0]) < 0.01f && std::fabs(a[1] - c[1]) < 0.01f &&
                    std::fabs(a[2] - c[2]) < 0.01f)
                    return false;
            }
            if (cWinding::Area(&wi) < 0.05f) return false;
        }
        return faces >= 4;
    }

    // One random step; its description goes to the log.
    std::string step(std::mt19937& rng, bool restrict_) {
        std::ostringstream text;
        const std::string before = dump();
        std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
        bool refused = false;
        switch (rng() % 7) {
        case 0:
        case 1: {
            const int a1 = int(rng() % 3), a2 = (a1 + 1 + int(rng() % 2)) % 3;
            const float d1 = std::round(unit(rng) * 32), d2 = std::round(unit(rng) * 32);
            const int stood = vertex->moveElements(top, a1, a2, d1, d2);
            text << "move " << a1 << "," << a2 << " by " << d1 << "," << d2 << " -> " << stood;
            refused = (d1 != 0 || d2 != 0) && stood == 0;
            break;
        }
        case 2: {
            const float angle = unit(rng) * 0.6f;
            for (int k = 0; k < 3; ++k)
                vertex->pivot[k] = unit(rng) * 64;
            const int stood = vertex->rotateElements(top, angle);
            text << "rotate " << angle << " -> " << stood;
            refused = std::fabs(angle) >= 0.001f && !stood;
            break;
        }
        case 3: {
            const int mask = 1 + int(rng() % 7);
            const float factor = 1.0f + unit(rng) * 0.5f;
            for (int k = 0; k < 3; ++k)
                vertex->scaleCentre[k] = unit(rng) * 64;
            const int stood = vertex->scaleElements(top, mask, factor);
            text << "scale " << mask << " by " << factor << " -> " << stood;
            refused = !stood;
            break;
        }
        case 4:
            vertex->weldVertices(top);
            text << "weld";
            break;
        case 5:
            vertex->splitFace(top);
            text << "split";
            break;
        default:
            vertex->fixNonPlanarFaces(top);
            text << "fix";
            break;
        }
        for (BrushRecord* b = w->selectedBrushes; b; b = b->selNext) {
            EXPECT_TRUE(finite(b)) << text.str();
            if (restrict_) {
                EXPECT_TRUE(planarAndConvex(b)) << text.str();
            }
        }
        if (refused && restrict_) {
            EXPECT_EQ(dump(), before) << text.str();
        }
        return text.str();
    }

    void run(unsigned seed, int steps, bool restrict_) {
        std::mt19937 rng(seed);
        settings().VertexToolRestrict = restrict_;
        std::vector<BrushRecord*> brushes;
        for (int k = 0; k < 3; ++k) {
            Planes planes = generated(int(rng() % 4), rng);
            brushes.push_back(brush(worldspawn, planes));
        }
        for (BrushRecord* b : brushes)
            Map_SelectObject(w, b);
        const std::string start = dump();
        std::string log;
        for (int n = 0; n < steps && !HasFailure(); ++n) {
            if (n % 5 == 0) selectRandomHandles(rng);
            log += step(rng, restrict_) + "\n";
        }
        const bool morphed = vertex->morphing;
        vertex->cleanUpMorph(top, true);
        for (BrushRecord* b = w->selectedBrushes; b; b = b->selNext) {
            EXPECT_TRUE(finite(b));
            if (restrict_) {
                EXPECT_TRUE(cleanedUp(b));
            }
        }
        if (morphed) {
            // Handle selections are the tool's state, not the level's: the oracle compares without.
            vertex->clearSelection();
            const std::string after = dump();
            ASSERT_TRUE(Undo_StepUndo(history));
            EXPECT_EQ(dump(), start);
            ASSERT_TRUE(Undo_StepRedo(history));
            EXPECT_EQ(dump(), after);
        }
        if (HasFailure())
            ADD_FAILURE() << "seed " << seed << (restrict_ ? " restricted" : " free") << "\n" << log;
    }

    cVertexTool* vertex = nullptr;
};

std::vector<unsigned> seeds() {
    std::vector<unsigned> list = {1, 2, 3, 4, 5, 6};
    if (const char* range = std::getenv("ZARV_PROPERTY_SEEDS")) {
        unsigned a = 0, b = 0;
        if (std::sscanf(range, "%u-%u", &a, &b) == 2 && a <= b) {
            list.clear();
            for (unsigned s = a; s <= b; ++s)
                list.push_back(s);
        }
    }
    return list;
}

int stepCount() {
    const char* steps = std::getenv("ZARV_PROPERTY_STEPS");
    return steps ? std::max(1, std::atoi(steps)) : 25;
}

TEST_F(VertexMorphTest, RandomStepsKeepBrushesValidWithRestrictions) {
    for (unsigned seed : seeds()) {
        SCOPED_TRACE(seed);
        run(seed, stepCount(), true);
        if (HasFailure()) return;
        // A fresh world for the next seed.
        Map_SelectNone(w);
        while (worldspawn->firstBrush)
            Map_DeleteBrush(w, worldspawn->firstBrush, false);
    }
}

TEST_F(VertexMorphTest, RandomStepsWithoutRestrictionsStayFinite) {
    for (unsigned seed : seeds()) {
        SCOPED_TRACE(seed);
        run(seed + 1000, stepCount(), false);
        if (HasFailure()) return;
        Map_SelectNone(w);
        while (worldspawn->firstBrush)
            Map_DeleteBrush(w, worldspawn->firstBrush, false);
    }
}

} // namespace
