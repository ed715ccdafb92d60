#include "render/ViewFrustum.h"

#include <cstring>

#include "kstdlib/kstdlib.h"
#include "render/BoxCorners.h"

namespace {

float dot(const float a[3], const float b[3]) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void setAxial(FrustumPlane& p, int axis, float sign, float dist) {
    std::memset(&p, 0, sizeof p);
    p.normal[axis] = sign;
    p.dist = dist;
    p.type = axis;
    p.signbits = sign < 0 ? 1 << axis : 0;
}

void finishPlane(FrustumPlane& p, const float eye[3]) {
    p.dist = dot(eye, p.normal);
    p.type = 3;
    p.signbits = (p.normal[0] < 0 ? 1 : 0) | (p.normal[1] < 0 ? 2 : 0) | (p.normal[2] < 0 ? 4 : 0);
}

} // namespace

void Render_SetupFrustum2D(ViewFrustum* f, int hAxis, int vAxis, const float scroll[2], float zoom,
                           float left, float right, float bottom, float top) {
    setAxial(f->planes[0], hAxis, 1.0f, (left + scroll[0]) / zoom);
    setAxial(f->planes[1], hAxis, -1.0f, -((right + scroll[0]) / zoom));
    setAxial(f->planes[2], vAxis, -1.0f, (bottom + scroll[1]) / zoom);
    setAxial(f->planes[3], vAxis, 1.0f, -((top + scroll[1]) / zoom));
    f->count = 4;
}

void Render_SetupFrustum3D(ViewFrustum* f, const float eye[3], const float forward[3], const float right[3],
                           const float up[3], float fovH, float fovV, float farDistance) {
    std::memset(f->planes, 0, sizeof f->planes);
    vec3 fwd = {forward[0], forward[1], forward[2]};
    vec3 u = {up[0], up[1], up[2]};
    vec3 r = {right[0], right[1], right[2]};
    K_RotatePointAroundVector(f->planes[0].normal, u, fwd, -(90.0f - fovH / 2));
    K_RotatePointAroundVector(f->planes[1].normal, u, fwd, 90.0f - fovH / 2);
    K_RotatePointAroundVector(f->planes[2].normal, r, fwd, 90.0f - fovV / 2);
    K_RotatePointAroundVector(f->planes[3].normal, r, fwd, -(90.0f - fovV / 2));
    for (int k = 0; k < 3; ++k)
        f->planes[4].normal[k] = forward[k];
    for (int i = 0; i < 5; ++i)
        finishPlane(f->planes[i], eye);
    float farPoint[3];
    for (int k = 0; k < 3; ++k) {
        f->planes[5].normal[k] = -forward[k];
        farPoint[k] = eye[k] + forward[k] * farDistance;
    }
    finishPlane(f->planes[5], farPoint);
    f->count = 6;
}

bool Render_CullBox(const ViewFrustum* f, const float mins[3], const float maxs[3]) {
    for (int i = 0; i < f->count; ++i) {
        const FrustumPlane& p = f->planes[i];
        if (p.signbits > 7 || p.signbits < 0) return false;
        const float c[3] = {(p.signbits & 1) ? mins[0] : maxs[0], (p.signbits & 2) ? mins[1] : maxs[1],
                            (p.signbits & 4) ? mins[2] : maxs[2]};
        if (p.dist > dot(p.normal, c)) return true;
    }
    return false;
}

bool Render_CullRotatedBox(const ViewFrustum* f, const float mins[3], const float maxs[3],
                           const float origin[3], const float matrix[3][4]) {
    float corners[8][3];
    for (int i = 0; i < 8; ++i) {
        float c[3], local[3];
        Box_Corner(mins, maxs, i, c);
        for (int k = 0; k < 3; ++k)
            local[k] = c[k] - origin[k];
        K_VectorTransform(local, &matrix[0][0], corners[i]);
        for (int k = 0; k < 3; ++k)
            corners[i][k] += origin[k];
    }
    for (int i = 0; i < f->count; ++i) {
        const FrustumPlane& p = f->planes[i];
        bool anyInFront = false;
        for (int c = 0; c < 8 && !anyInFront; ++c)
            anyInFront = dot(p.normal, corners[c]) > p.dist;
        if (!anyInFront) return true;
    }
    return false;
}

int Render_ClassifyBox(const ViewFrustum* f, const float mins[3], const float maxs[3], int* mask) {
    if (*mask < 0) *mask = (1 << f->count) - 1;
    if (f->count == 0) return 1;
    bool crossed = false;
    for (int i = 0; i < f->count; ++i) {
        if (!(*mask & (1 << i))) continue;
        const FrustumPlane& p = f->planes[i];
        int inFront = 0;
        for (int c = 0; c < 8; ++c) {
            float pt[3];
            Box_Corner(mins, maxs, c, pt);
            if (dot(p.normal, pt) > p.dist) ++inFront;
        }
        if (inFront == 0) return 0;
        if (inFront == 8)
            *mask &= ~(1 << i);
        else
            crossed = true;
    }
    return crossed ? 2 : 1;
}
