#include "dialogs/editing/ShaderEditShapes.h"

#include <cmath>
#include <cstring>

const PreviewShapeInfo PreviewShapes[kPreviewShapeCount] = {
    {"plane", 81, 384, 0.0f},      {"box", 486, 2304, 32.0f},     {"cylinder", 363, 1728, 32.0f},
    {"sphere", 1089, 6144, 12.8f}, {"teapot", 1418, 7392, 38.4f},
};

namespace {

constexpr float kPi = 3.14159265358979f;

struct cMeshWriter {
    EffectVertex* vertices;
    uint16_t* indices;
    int vertexCount = 0;
    int indexCount = 0;

    int add(float x, float y, float z, float nx, float ny, float nz, float s, float t) {
        EffectVertex& v = vertices[vertexCount];
        std::memset(&v, 0, sizeof v);
        v.xyz[0] = x, v.xyz[1] = y, v.xyz[2] = z;
        v.normal[0] = nx, v.normal[1] = ny, v.normal[2] = nz;
        v.baseST[0] = v.st[0] = s;
        v.baseST[1] = v.st[1] = t;
        std::memset(v.vertexColor, 255, 4);
        std::memset(v.color, 255, 4);
        return vertexCount++;
    }
    void triangle(int a, int b, int c) {
        indices[indexCount++] = uint16_t(a);
        indices[indexCount++] = uint16_t(b);
        indices[indexCount++] = uint16_t(c);
    }
    // Two triangles of the quad a, b, c, d (counter-clockwise from its front).
    void quad(int a, int b, int c, int d) {
        triangle(a, b, c);
        triangle(a, c, d);
    }
};

// A 9 x 9 grid on the cube face with outward normal n; v x u = n, so the plane's triangle
// pattern faces outward. offset 0 and n = -x is the plane itself.
void gridFace(cMeshWriter& m, const float n[3], const float u[3], const float v[3], float offset) {
    const int o0 = m.vertexCount;
    for (int r = 0; r <= 8; ++r)
        for (int c = 0; c <= 8; ++c) {
            const float a = -32.0f + 8.0f * float(c), b = -32.0f + 8.0f * float(r);
            float p[3];
            for (int k = 0; k < 3; ++k)
                p[k] = n[k] * offset + u[k] * a + v[k] * b;
            m.add(p[0], p[1], p[2], n[0], n[1], n[2], 1.0f - float(c) / 8.0f, 1.0f - float(r) / 8.0f);
        }
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) {
            const int o = o0 + 9 * r + c;
            m.triangle(o, o + 9, o + 1);
            m.triangle(o + 1, o + 9, o + 10);
        }
}

void buildPlane(cMeshWriter& m) {
    const float n[3] = {-1, 0, 0}, u[3] = {0, 1, 0}, v[3] = {0, 0, 1};
    gridFace(m, n, u, v, 0.0f);
}

void buildBox(cMeshWriter& m) {
    static const float faces[6][3][3] = {
        {{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}},  {{1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
        {{0, -1, 0}, {-1, 0, 0}, {0, 0, 1}}, {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}},
    };
    for (const auto& face : faces)
        gridFace(m, face[0], face[1], face[2], 32.0f);
}

void buildCylinder(cMeshWriter& m) {
    for (int r = 0; r <= 8; ++r)
        for (int k = 0; k <= 32; ++k) {
            const float a = float(k) * kPi / 16.0f, c = std::cos(a), s = std::sin(a);
            m.add(32 * c, 32 * s, -32.0f + 8.0f * float(r), c, s, 0, float(k) / 32.0f,
                  1.0f - float(r) / 8.0f);
        }
    for (int side = 0; side < 2; ++side) {
        const float z = side ? 32.0f : -32.0f, sign = side ? -1.0f : 1.0f;
        m.add(0, 0, z, 0, 0, side ? 1.0f : -1.0f, 0.5f, 0.5f);
        for (int k = 0; k < 32; ++k) {
            const float a = float(k) * kPi / 16.0f, c = std::cos(a), s = std::sin(a);
            m.add(32 * c, 32 * s, z, 0, 0, side ? 1.0f : -1.0f, 0.5f - 0.5f * s, 0.5f + sign * 0.5f * c);
        }
    }
    for (int r = 0; r < 8; ++r)
        for (int k = 0; k < 32; ++k) {
            const int o = 33 * r + k;
            m.triangle(o, o + 1, o + 33);
            m.triangle(o + 33, o + 1, o + 34);
        }
    for (int h = 0; h < 32; ++h)
        m.triangle(297, 298 + (h + 1) % 32, 298 + h);
    for (int h = 0; h < 32; ++h)
        m.triangle(330, 331 + h, 331 + (h + 1) % 32);
}

void buildSphere(cMeshWriter& m) {
    for (int j = 0; j <= 32; ++j)
        for (int g = 0; g <= 32; ++g) {
            const float pol = float(j) * kPi / 32.0f, az = float(g) * kPi / 16.0f;
            const float n[3] = {std::cos(az) * std::sin(pol), std::sin(az) * std::sin(pol), std::cos(pol)};
            m.add(32 * n[0], 32 * n[1], 32 * n[2], n[0], n[1], n[2], float(g) / 32.0f, float(j) / 32.0f);
        }
    for (int j = 0; j < 32; ++j)
        for (int g = 0; g < 32; ++g) {
            const int o = 33 * j + g;
            m.triangle(o + 1, o, o + 33);
            m.triangle(o + 1, o + 33, o + 34);
        }
}

// ---- Teapot: a turned body and lid, a bottom and a knob top, and a spout and a handle swept
// along curves. Ring counts are chosen so the mesh has 1418 vertices and 2464 triangles.

struct ProfilePoint {
    float r, z;
};

// The point at parameter u (0..1) of a polyline, by length.
ProfilePoint profileAt(const ProfilePoint* points, int count, float u) {
    float total = 0.0f;
    for (int i = 1; i < count; ++i)
        total += std::hypot(points[i].r - points[i - 1].r, points[i].z - points[i - 1].z);
    float want = u * total;
    for (int i = 1; i < count; ++i) {
        const float len = std::hypot(points[i].r - points[i - 1].r, points[i].z - points[i - 1].z);
        if (want <= len || i == count - 1) {
            const float f = len > 0 ? std::fmin(want / len, 1.0f) : 0.0f;
            return {points[i - 1].r + f * (points[i].r - points[i - 1].r),
                    points[i - 1].z + f * (points[i].z - points[i - 1].z)};
        }
        want -= len;
    }
    return points[count - 1];
}

// Rings of a turned surface, bottom to top; tStart/tStep give the rings' t.
void turnedSurface(cMeshWriter& m, const ProfilePoint* points, int count, int rings, float tStart,
                   float tStep) {
    const int o0 = m.vertexCount;
    for (int j = 0; j < rings; ++j) {
        const float u = float(j) / float(rings - 1), du = 0.01f;
        const ProfilePoint p = profileAt(points, count, u);
        const ProfilePoint a = profileAt(points, count, std::fmax(u - du, 0.0f));
        const ProfilePoint b = profileAt(points, count, std::fmin(u + du, 1.0f));
        // Outward normal of the profile's direction (dr, dz): (dz, -dr).
        float nr = b.z - a.z, nz = -(b.r - a.r);
        const float len = std::hypot(nr, nz);
        nr /= len, nz /= len;
        for (int g = 0; g <= 32; ++g) {
            const float az = float(g) * kPi / 16.0f, c = std::cos(az), s = std::sin(az);
            m.add(p.r * c, p.r * s, p.z, nr * c, nr * s, nz, float(g) / 16.0f - 1.0f,
                  tStart + tStep * float(j));
        }
    }
    for (int j = 0; j + 1 < rings; ++j)
        for (int g = 0; g < 32; ++g) {
            const int a = o0 + 33 * j + g;
            m.quad(a, a + 1, a + 34, a + 33);
        }
}

// A flat disc of 32 rim points at radius r and height z closing a turned surface.
void disc(cMeshWriter& m, float r, float z, bool up) {
    const float nz = up ? 1.0f : -1.0f;
    const int centre = m.add(0, 0, z, 0, 0, nz, 0.0f, up ? 1.0f : 0.0f);
    for (int g = 0; g < 32; ++g) {
        const float az = float(g) * kPi / 8.0f / 2.0f;
        m.add(r * std::cos(az), r * std::sin(az), z, 0, 0, nz, float(g) / 16.0f - 1.0f, up ? 1.0f : 0.0f);
    }
    for (int g = 0; g < 32; ++g) {
        const int a = centre + 1 + g, b = centre + 1 + (g + 1) % 32;
        if (up)
            m.triangle(centre, a, b);
        else
            m.triangle(centre, b, a);
    }
}

// A cubic Bezier curve in the plane x = 0 (points as y, z).
void bezier(const float p[4][2], float u, float out[2], float tangent[2]) {
    const float v = 1.0f - u;
    for (int k = 0; k < 2; ++k) {
        out[k] =
            v * v * v * p[0][k] + 3 * v * v * u * p[1][k] + 3 * v * u * u * p[2][k] + u * u * u * p[3][k];
        tangent[k] = 3 * v * v * (p[1][k] - p[0][k]) + 6 * v * u * (p[2][k] - p[1][k]) +
                     3 * u * u * (p[3][k] - p[2][k]);
    }
}

// A tube of the given rings and segments along a curve in the plane x = 0; radius from r0 to r1.
void tube(cMeshWriter& m, const float curve[4][2], int rings, int segments, float r0, float r1) {
    const int o0 = m.vertexCount;
    for (int i = 0; i < rings; ++i) {
        const float u = float(i) / float(rings - 1);
        float c[2], d[2];
        bezier(curve, u, c, d);
        const float len = std::hypot(d[0], d[1]);
        const float t[3] = {0, d[0] / len, d[1] / len};
        // N = +x; B = T x N.
        const float b[3] = {0, t[2], -t[1]};
        const float radius = r0 + (r1 - r0) * u;
        for (int k = 0; k <= segments; ++k) {
            const float a = float(k) * 2.0f * kPi / float(segments), ca = std::cos(a), sa = std::sin(a);
            const float n[3] = {ca, sa * b[1], sa * b[2]};
            m.add(radius * n[0], c[0] + radius * n[1], c[1] + radius * n[2], n[0], n[1], n[2],
                  2.0f * float(k) / float(segments) - 1.0f, u);
        }
    }
    for (int i = 0; i + 1 < rings; ++i)
        for (int k = 0; k < segments; ++k) {
            const int a = o0 + (segments + 1) * i + k;
            m.quad(a, a + 1, a + segments + 2, a + segments + 1);
        }
}

void buildTeapot(cMeshWriter& m) {
    static const ProfilePoint body[] = {{26, -31}, {33, -29.5f}, {38, -24}, {39.9f, -16}, {39.9f, -6},
                                        {38, 4},   {34, 12},     {30, 17},  {28, 20}};
    static const ProfilePoint lid[] = {{29, 20},   {27, 22}, {22, 24},   {14, 25.5f},   {7, 26.5f},
                                       {4, 27.5f}, {5, 29},  {6, 30.5f}, {4.5f, 31.5f}, {2, 31.7f}};
    static const float spout[4][2] = {{-32, -12}, {-52, -14}, {-58, 4}, {-64.5f, 22}};
    static const float handle[4][2] = {{33, 14}, {62, 22}, {62, -16}, {33, -18}};
    disc(m, 26, -31, false);
    turnedSurface(m, body, 9, 14, 0.0f, 0.04f);
    turnedSurface(m, lid, 10, 11, 0.6f, 0.04f);
    disc(m, 2, 31.7f, true);
    tube(m, spout, 15, 16, 8.0f, 3.8f);
    tube(m, handle, 16, 16, 3.5f, 3.5f);
}

} // namespace

bool Preview_BuildShape(int n, EffectVertex* vertices, uint16_t* indices) {
    if (n < 0 || n >= kPreviewShapeCount) return false;
    cMeshWriter m{vertices, indices};
    static void (*const builders[kPreviewShapeCount])(cMeshWriter&) = {buildPlane, buildBox, buildCylinder,
                                                                       buildSphere, buildTeapot};
    builders[n](m);
    return m.vertexCount == PreviewShapes[n].vertexCount && m.indexCount == PreviewShapes[n].indexCount;
}
