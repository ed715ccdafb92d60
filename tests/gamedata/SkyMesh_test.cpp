// The sky meshes without GL: the box's faces on the cube's sides, the dome's counts and winding,
// and cloud coordinates against a ray-sphere intersection found by bisection.
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <set>

#include "gamedata/SkyMesh.h"

namespace {

TEST(SkyMeshTest, BoxFacesLieOnTheCubeSides) {
    SkyBoxVertex box[kSkyBoxVertices];
    uint16_t indices[kSkyBoxVertices];
    Sky_BuildBoxMesh(box, indices);
    // Face f's plane: (axis, side).
    const int planes[6][2] = {{1, -1}, {1, 1}, {0, 1}, {0, -1}, {2, 1}, {2, -1}};
    const float lo = 1.0f / 512.0f, hi = 511.0f / 512.0f;
    for (int f = 0; f < 6; ++f) {
        std::set<std::pair<float, float>> corners, coords;
        for (int c = 0; c < 4; ++c) {
            const SkyBoxVertex& v = box[indices[4 * f + c]];
            EXPECT_EQ(indices[4 * f + c], 4 * f + c);
            EXPECT_FLOAT_EQ(v.xyz[planes[f][0]], 128.0f * planes[f][1]) << f;
            corners.insert({v.xyz[(planes[f][0] + 1) % 3], v.xyz[(planes[f][0] + 2) % 3]});
            EXPECT_TRUE(v.st[0] == lo || v.st[0] == hi);
            EXPECT_TRUE(v.st[1] == lo || v.st[1] == hi);
            coords.insert({v.st[0], v.st[1]});
            EXPECT_EQ(v.color, 0xFFFFFFFFu);
        }
        EXPECT_EQ(corners.size(), 4u) << f;
        EXPECT_EQ(coords.size(), 4u) << f;
    }
    EXPECT_FLOAT_EQ(box[0].xyz[0], -128.0f);
    EXPECT_FLOAT_EQ(box[0].xyz[1], -128.0f);
    EXPECT_FLOAT_EQ(box[0].xyz[2], -128.0f);
    EXPECT_FLOAT_EQ(box[0].st[0], hi);
    EXPECT_FLOAT_EQ(box[0].st[1], hi);
}

TEST(SkyMeshTest, DomeCountsFirstVertexAndInwardWinding) {
    auto meshes = std::make_unique<SkyMeshes>();
    Sky_BuildMeshes(meshes.get());
    EXPECT_EQ(meshes->batch.count, 486);
    EXPECT_EQ(meshes->batch.capacity, 486);
    EXPECT_EQ(meshes->batch.vertices, meshes->dome);
    EXPECT_EQ(meshes->batch.primitive, 4); // GL_TRIANGLES

    const EffectVertex& first = meshes->dome[0];
    EXPECT_FLOAT_EQ(first.xyz[0], -128.0f);
    EXPECT_FLOAT_EQ(first.xyz[1], 128.0f);
    EXPECT_FLOAT_EQ(first.xyz[2], 128.0f);
    EXPECT_FLOAT_EQ(first.normal[0], 1.0f);
    EXPECT_FLOAT_EQ(first.baseST[0], 0.0f);
    EXPECT_FLOAT_EQ(first.baseST[1], 0.0f);

    std::set<int> used;
    for (int i = 0; i < kSkyDomeIndices; i += 3) {
        const float* p[3];
        for (int j = 0; j < 3; ++j) {
            ASSERT_LT(meshes->domeIndices[i + j], kSkyDomeVertices);
            used.insert(meshes->domeIndices[i + j]);
            p[j] = meshes->dome[meshes->domeIndices[i + j]].xyz;
        }
        const float a[3] = {p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
        const float b[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
        const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
        // Every triangle turns the same way as seen from the eye at the centre.
        EXPECT_LT(n[0] * p[0][0] + n[1] * p[0][1] + n[2] * p[0][2], 0.0f) << i / 3;
    }
    EXPECT_EQ(used.size(), size_t(kSkyDomeVertices));
    for (const EffectVertex& v : meshes->dome) {
        EXPECT_FLOAT_EQ(v.st[0], v.baseST[0]);
        EXPECT_FLOAT_EQ(v.st[1], v.baseST[1]);
        EXPECT_GE(v.baseST[0], 0.0f);
        EXPECT_LE(v.baseST[0], 1.0f);
        // The normal points inwards along the face's axis.
        EXPECT_LT(v.normal[0] * v.xyz[0] + v.normal[1] * v.xyz[1] + v.normal[2] * v.xyz[2], 0.0f);
    }
}

// Where the ray from the eye through p leaves the sphere of radius R + h about (0, 0, -R), by
// bisection along the ray: the direction of that point from the sphere's centre.
void expectedCloud(const float* p, double h, double* s, double* t) {
    const double R = kSkyCloudRadius;
    const double len = std::sqrt(double(p[0]) * p[0] + double(p[1]) * p[1] + double(p[2]) * p[2]);
    const double dir[3] = {p[0] / len, p[1] / len, p[2] / len};
    double lo = 0.0, hi = 4.0 * (R + h);
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        const double q[3] = {dir[0] * mid, dir[1] * mid, dir[2] * mid + R};
        (q[0] * q[0] + q[1] * q[1] + q[2] * q[2] < (R + h) * (R + h) ? lo : hi) = mid;
    }
    const double q[3] = {dir[0] * lo, dir[1] * lo, dir[2] * lo + R};
    const double n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
    *s = std::acos(q[0] / n);
    *t = std::acos(q[1] / n);
}

TEST(SkyMeshTest, CloudCoordinatesFollowTheCloudSphere) {
    auto meshes = std::make_unique<SkyMeshes>();
    Sky_BuildMeshes(meshes.get());
    EffectVertex* dome = meshes->dome;
    for (const float h : {512.0f, 128.0f}) {
        Sky_BuildDome(dome, meshes->domeIndices);
        Sky_CloudCoords(dome, kSkyDomeVertices, h);
        for (int i = 0; i < kSkyDomeVertices; ++i) {
            const EffectVertex& v = dome[i];
            ASSERT_TRUE(std::isfinite(v.st[0]) && std::isfinite(v.st[1])) << i;
            EXPECT_EQ(v.st[0], v.baseST[0]);
            EXPECT_EQ(v.st[1], v.baseST[1]);
            double s, t;
            expectedCloud(v.xyz, h, &s, &t);
            EXPECT_NEAR(v.st[0], s, 2e-3) << "vertex " << i << " height " << h;
            EXPECT_NEAR(v.st[1], t, 2e-3) << "vertex " << i << " height " << h;
        }
        // The zenith (face 5, middle) looks straight up; x and y swap roles symmetrically.
        const EffectVertex& zenith = dome[81 * 5 + 9 * 4 + 4];
        EXPECT_FLOAT_EQ(zenith.xyz[2], 128.0f);
        EXPECT_NEAR(zenith.st[0], M_PI / 2, 1e-4);
        EXPECT_NEAR(zenith.st[1], M_PI / 2, 1e-4);
        for (int i = 0; i < kSkyDomeVertices; ++i)
            for (int j = 0; j < kSkyDomeVertices; ++j)
                if (dome[j].xyz[0] == dome[i].xyz[1] && dome[j].xyz[1] == dome[i].xyz[0] &&
                    dome[j].xyz[2] == dome[i].xyz[2]) {
                    EXPECT_NEAR(dome[j].st[0], dome[i].st[1], 1e-5);
                    EXPECT_NEAR(dome[j].st[1], dome[i].st[0], 1e-5);
                }
    }
}

} // namespace
