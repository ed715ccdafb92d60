#include "gamedata/SkyMesh.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "kstdlib/kmath.h"

namespace {

constexpr float kLo = 1.0f / 512.0f;
constexpr float kHi = 511.0f / 512.0f;

// Per face: its four corners as signs of (x, y, z), each with its (s, t).
struct BoxCorner {
    int8_t sign[3];
    float s, t;
};
const BoxCorner kBoxFaces[6][4] = {
    {{{-1, -1, -1}, kHi, kHi}, {{-1, -1, 1}, kHi, kLo}, {{1, -1, 1}, kLo, kLo}, {{1, -1, -1}, kLo, kHi}},
    {{{-1, 1, -1}, kLo, kHi}, {{1, 1, -1}, kHi, kHi}, {{1, 1, 1}, kHi, kLo}, {{-1, 1, 1}, kLo, kLo}},
    {{{1, -1, -1}, kHi, kHi}, {{1, -1, 1}, kHi, kLo}, {{1, 1, 1}, kLo, kLo}, {{1, 1, -1}, kLo, kHi}},
    {{{-1, -1, -1}, kLo, kHi}, {{-1, 1, -1}, kHi, kHi}, {{-1, 1, 1}, kHi, kLo}, {{-1, -1, 1}, kLo, kLo}},
    {{{-1, -1, 1}, kHi, kLo}, {{-1, 1, 1}, kLo, kLo}, {{1, 1, 1}, kLo, kHi}, {{1, -1, 1}, kHi, kHi}},
    {{{-1, -1, -1}, kHi, kHi}, {{1, -1, -1}, kHi, kLo}, {{1, 1, -1}, kLo, kLo}, {{-1, 1, -1}, kLo, kHi}},
};

// The dome face's axis triple: the plane's axis, then the row and column axes.
const int kDomeAxes[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 2, 0}, {1, 0, 2}, {2, 0, 1}, {2, 1, 0}};

} // namespace

void Sky_BuildBoxMesh(SkyBoxVertex* vertices, uint16_t* indices) {
    for (int f = 0; f < 6; ++f) {
        for (int c = 0; c < 4; ++c) {
            const BoxCorner& corner = kBoxFaces[f][c];
            SkyBoxVertex& v = vertices[4 * f + c];
            for (int a = 0; a < 3; ++a)
                v.xyz[a] = 128.0f * corner.sign[a];
            v.st[0] = corner.s;
            v.st[1] = corner.t;
            v.color = 0xFFFFFFFFu;
            indices[4 * f + c] = uint16_t(4 * f + c);
        }
    }
}

void Sky_BuildDome(EffectVertex* vertices, uint16_t* indices) {
    std::memset(vertices, 0, sizeof(EffectVertex) * kSkyDomeVertices);
    for (int i = 0; i < 6; ++i) {
        const float c = (i & 1) ? 1.0f : -1.0f;
        const int* axis = kDomeAxes[i];
        const bool swapST = i == 1 || i == 2 || i == 4;
        const bool flipS = i == 2 || i == 3 || i == 5;
        const bool flipT = i == 1 || i == 3 || i == 4 || i == 5;
        for (int r = 0; r < kSkyDomeSide; ++r) {
            for (int k = 0; k < kSkyDomeSide; ++k) {
                EffectVertex& v = vertices[81 * i + 9 * r + k];
                v.xyz[axis[0]] = 128.0f * c;
                v.xyz[axis[1]] = (-128.0f + 32.0f * float(r)) * c;
                v.xyz[axis[2]] = (-128.0f + 32.0f * float(k)) * c;
                v.normal[axis[0]] = -c;
                std::memset(v.vertexColor, 0xFF, 4);
                std::memset(v.color, 0xFF, 4);
                const float a = float(k) / 8.0f;
                const float b = float(r) / 8.0f;
                float s = swapST ? b : a;
                float t = swapST ? a : b;
                if (flipS) s = 1.0f - s;
                if (flipT) t = 1.0f - t;
                v.baseST[0] = v.st[0] = s;
                v.baseST[1] = v.st[1] = t;
            }
        }
        for (int r = 0; r < 8; ++r) {
            for (int k = 0; k < 8; ++k) {
                const uint16_t n = uint16_t(81 * i + 9 * r + k);
                uint16_t* cell = indices + 6 * (64 * i + 8 * r + k);
                const uint16_t quad[6] = {
                    n, uint16_t(n + 9), uint16_t(n + 1), uint16_t(n + 1), uint16_t(n + 9), uint16_t(n + 10)};
                std::memcpy(cell, quad, sizeof quad);
            }
        }
    }
}

void Sky_CloudCoords(EffectVertex* vertices, int32_t count, float height) {
    const double R = kSkyCloudRadius;
    const double h = height;
    for (int32_t i = 0; i < count; ++i) {
        EffectVertex& v = vertices[i];
        const double x = v.xyz[0], y = v.xyz[1], z = v.xyz[2];
        const double len2 = x * x + y * y + z * z;
        // The eye itself has no direction: it looks straight up.
        double d[3] = {0.0, 0.0, 1.0};
        if (len2 > 0.0) {
            // Ray from the eye along (x, y, z) against the sphere of radius R + h about (0, 0, -R).
            const double q = z * z * R * R + len2 * (2.0 * R * h + h * h);
            const double p = (std::sqrt(std::max(q, 0.0)) - z * R) / len2;
            const double point[3] = {x * p, y * p, z * p + R};
            const double len = std::sqrt(point[0] * point[0] + point[1] * point[1] + point[2] * point[2]);
            if (len > 0.0)
                for (int a = 0; a < 3; ++a)
                    d[a] = point[a] / len;
        }
        const float s = K_Acos(float(d[0]));
        const float t = K_Acos(float(d[1]));
        v.st[0] = v.baseST[0] = s;
        v.st[1] = v.baseST[1] = t;
    }
}

void Sky_BuildMeshes(SkyMeshes* meshes) {
    Sky_BuildBoxMesh(meshes->box, meshes->boxIndices);
    Sky_BuildDome(meshes->dome, meshes->domeIndices);
    std::memset(&meshes->batch, 0, sizeof meshes->batch);
    meshes->batch.vertices = meshes->dome;
    meshes->batch.count = meshes->batch.capacity = kSkyDomeVertices;
    meshes->batch.primitive = GL_TRIANGLES;
    meshes->cloudHeight = 0.0f;
}
