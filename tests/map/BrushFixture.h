// Brushes built the way importers build them: faces with no vertices and planes written in,
// then one update.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "DocumentFixture.h"
#include "TestWorld.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/TextureInfo.h"

struct TestPlane {
    float normal[3];
    float dist;
};

class BrushFixture : public ::testing::Test {
public:
    cTestWorld t;

protected:
    // Axial box from planes in the order +z, -z, +x, -x, +y, -y.
    BrushRecord* makeBox(const float mins[3], const float maxs[3], uint32_t updateFlags = 0) {
        const TestPlane planes[6] = {
            {{0, 0, 1}, maxs[2]},   {{0, 0, -1}, -mins[2]}, {{1, 0, 0}, maxs[0]},
            {{-1, 0, 0}, -mins[0]}, {{0, 1, 0}, maxs[1]},   {{0, -1, 0}, -mins[1]},
        };
        return makeBrush(planes, 6, updateFlags);
    }
    BrushRecord* makeCube(float lo, float hi) {
        const float mins[3] = {lo, lo, lo}, maxs[3] = {hi, hi, hi};
        return makeBox(mins, maxs);
    }
    BrushRecord* makeBrush(const TestPlane* planes, int count, uint32_t updateFlags = 0) {
        BrushRecord* brush = Brush_Create(t.handle(), &t.worldspawn);
        const TextureInfo info = Test_TextureInfo();
        for (int i = 0; i < count; ++i)
            addPlane(brush, planes[i], info);
        brush->handle->update(updateFlags);
        return brush;
    }
    FaceRecord* addPlane(BrushRecord* brush, const TestPlane& p, const TextureInfo& info) {
        FaceRecord* face = Face_Create(t.handle(), brush, &info, 0);
        std::memcpy(face->normal, p.normal, sizeof p.normal);
        face->dist = p.dist;
        face->axialType = Face_AxialType(p.normal);
        face->flags |= FaceFlags::ResetAxes;
        return face;
    }
    static int faceCount(const BrushRecord* brush) {
        int n = 0;
        for (const FaceRecord* f = brush->firstFace; f; f = f->next)
            ++n;
        return n;
    }
};
