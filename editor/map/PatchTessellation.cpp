// Patch mesh: Bezier pieces evaluated into 6 × 6 vertex grids, control-point normals, shades,
// bounds and centre.
#include "map/MapPatch.h"

#include <cmath>
#include <cstring>

#include "core/System.h"
#include "kstdlib/kmath.h"
#include "map/MapFace.h"
#include "core/Vector.h"

namespace {

// Quadratic Bezier in the form the mesh has always used: P0 + 2 (P1 - P0) x + (P0 - 2 P1 + P2) x².
inline float bezier(float p0, float p1, float p2, float x) {
    return p0 + 2.0f * (p1 - p0) * x + (p0 - 2.0f * p1 + p2) * x * x;
}

// The eight interpolated floats of a point: position, normal, s, t (not the flags).
constexpr int kLerpFloats = 8;
static_assert(offsetof(PatchPoint, t) == (kLerpFloats - 1) * sizeof(float));
static_assert(offsetof(PatchMeshVertex, t) == (kLerpFloats - 1) * sizeof(float));

void loadFloats(const PatchPoint& p, float out[kLerpFloats]) {
    std::memcpy(out, &p, sizeof(float) * kLerpFloats);
}

// Neighbour directions (delta column, delta row), in the order their cross products pair up.
constexpr int kNormalDirs[8][2] = {{0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}, {-1, 1}};

// A neighbour index in a closed direction wraps without counting the seam line twice; -1 when
// the index lies outside the grid.
int wrapIndex(int index, int count, bool closed) {
    if (closed) {
        if (index < 0)
            index += count - 1;
        else if (index >= count)
            index += 1 - count;
    }
    return (index >= 0 && index < count) ? index : -1;
}

} // namespace

namespace {

// Step one of the evaluation: each of the piece's three rows combined across its columns at u.
void combineAcross(const PatchPoint points[3][3], float u, float across[3][kLerpFloats]) {
    for (int k = 0; k < 3; ++k) {
        float p0[kLerpFloats], p1[kLerpFloats], p2[kLerpFloats];
        loadFloats(points[0][k], p0);
        loadFloats(points[1][k], p1);
        loadFloats(points[2][k], p2);
        for (int f = 0; f < kLerpFloats; ++f)
            across[k][f] = bezier(p0[f], p1[f], p2[f], u);
    }
}

// Step two: the three combined rows at w.
void combineAlong(const float across[3][kLerpFloats], float w, PatchMeshVertex* out) {
    float result[kLerpFloats];
    for (int f = 0; f < kLerpFloats; ++f)
        result[f] = bezier(across[0][f], across[1][f], across[2][f], w);
    std::memcpy(out, result, sizeof(result));
}

} // namespace

void Patch_EvaluatePiece(PatchMeshVertex* out, float u, float w, const PatchPoint points[3][3]) {
    float across[3][kLerpFloats];
    combineAcross(points, u, across);
    combineAlong(across, w, out);
}

void Patch_TessellatePiece(PatchMeshVertex* vertices, uint16_t* indices, int firstVertex,
                           const PatchPoint points[3][3]) {
    // Same values as Patch_EvaluatePiece per vertex; the first step is shared by a whole row of
    // six vertices.
    for (int i = 0; i < 6; ++i) {
        float across[3][kLerpFloats];
        combineAcross(points, i / 5.0f, across);
        for (int j = 0; j < 6; ++j)
            combineAlong(across, j / 5.0f, &vertices[i * 6 + j]);
    }
    uint16_t* out = indices;
    for (int k = 0; k < 5; ++k) {
        for (int m = 0; m < 5; ++m) {
            const int b = firstVertex + 6 * k + m;
            *out++ = uint16_t(b);
            *out++ = uint16_t(b + 6);
            *out++ = uint16_t(b + 7);
            *out++ = uint16_t(b + 1);
        }
    }
}

void cMapPatch::freeMesh() {
    PatchRecord* r = record;
    Sys_Free(r->vertices);
    Sys_Free(r->indices);
    Sys_Free(r->shades);
    Sys_Free(r->colors);
    r->vertices = nullptr;
    r->indices = nullptr;
    r->shades = nullptr;
    r->colors = nullptr;
}

void cMapPatch::computeNormals() {
    clampCounts();
    PatchRecord* r = record;
    const int columns = r->columns;
    const int rows = r->rows;
    bool closedColumns = false, closedRows = false;
    checkClosed(&closedColumns, &closedRows);

    float total[3] = {0, 0, 0};
    bool anyPending = false;
    for (int c = 0; c < columns; ++c) {
        for (int row = 0; row < rows; ++row) {
            PatchPoint& p = r->points[c][row];
            float dirs[8][3];
            bool found[8] = {};
            for (int k = 0; k < 8; ++k) {
                for (int step = 1; step <= 3; ++step) {
                    const int nc = wrapIndex(c + step * kNormalDirs[k][0], columns, closedColumns);
                    const int nr = wrapIndex(row + step * kNormalDirs[k][1], rows, closedRows);
                    if (nc < 0 || nr < 0) break;
                    float d[3];
                    Vec_Sub(r->points[nc][nr].xyz, p.xyz, d);
                    if (Vec_Normalize(d) != 0.0f) {
                        Vec_Copy(d, dirs[k]);
                        found[k] = true;
                        break;
                    }
                }
            }
            float sum[3] = {0, 0, 0};
            int count = 0;
            for (int k = 0; k < 8; ++k) {
                const int next = (k + 1) & 7;
                if (!found[k] || !found[next]) continue;
                float cross[3];
                Vec_Cross(dirs[next], dirs[k], cross);
                Vec_Normalize(cross);
                for (int a = 0; a < 3; ++a)
                    sum[a] += cross[a];
                ++count;
            }
            if (count > 0) {
                Vec_Normalize(sum);
                Vec_Copy(sum, p.normal);
                for (int a = 0; a < 3; ++a)
                    total[a] += sum[a];
            } else {
                p.flags |= PatchPointFlags::NormalPending;
                anyPending = true;
            }
        }
    }
    if (!anyPending) return;
    Vec_Normalize(total);
    for (int c = 0; c < columns; ++c) {
        for (int row = 0; row < rows; ++row) {
            PatchPoint& p = r->points[c][row];
            if (!(p.flags & PatchPointFlags::NormalPending)) continue;
            Vec_Copy(total, p.normal);
            p.flags &= ~PatchPointFlags::NormalPending;
        }
    }
}

void cMapPatch::tessellate() {
    clampCounts();
    PatchRecord* r = record;
    const int pieces = (r->rows / 2) * (r->columns / 2);
    const int vertexCount = pieces * kPatchPieceVertices;
    if (vertexCount != r->vertexCount || !r->vertices) {
        freeMesh();
        r->vertexCount = vertexCount;
        r->indexCount = pieces * kPatchPieceIndices;
        r->vertices =
            static_cast<PatchMeshVertex*>(Sys_Alloc(uint64_t(vertexCount) * sizeof(PatchMeshVertex)));
        r->indices = static_cast<uint16_t*>(Sys_Alloc(uint64_t(r->indexCount) * sizeof(uint16_t)));
        r->shades = static_cast<uint8_t*>(Sys_Alloc(uint64_t(vertexCount)));
        r->colors = static_cast<uint8_t*>(Sys_Alloc(uint64_t(vertexCount) * 4));
        if (!r->vertices || !r->indices || !r->shades || !r->colors) {
            freeMesh();
            r->vertexCount = 0;
            r->indexCount = 0;
            return;
        }
    }

    computeNormals();

    int piece = 0;
    for (int c = 0; c < r->columns - 2; c += 2) {
        for (int row = 0; row < r->rows - 2; row += 2) {
            PatchPoint block[3][3];
            for (int i = 0; i < 3; ++i)
                for (int k = 0; k < 3; ++k)
                    block[i][k] = r->points[c + i][row + k];
            const int first = piece * kPatchPieceVertices;
            Patch_TessellatePiece(r->vertices + first, r->indices + piece * kPatchPieceIndices, first, block);
            ++piece;
        }
    }

    float sum[3] = {0, 0, 0};
    for (int v = 0; v < r->vertexCount; ++v) {
        const PatchMeshVertex& mv = r->vertices[v];
        // Interpolated normals are not unit length; keep the byte conversion defined.
        const float shade = Mesh_ShadeForNormal(mv.normal);
        r->shades[v] = uint8_t(shade > 0.0f ? shade * 255.0f : 0.0f);
        for (int a = 0; a < 3; ++a)
            sum[a] += mv.xyz[a];
    }
    for (int a = 0; a < 3; ++a)
        centre[a] = sum[a] / float(r->vertexCount);
}

void cMapPatch::update(uint32_t flags) {
    if (flags & BrushUpdate::TessellatePatch) tessellate();
    PatchRecord* r = record;
    K_ClearBounds(r->mins, r->maxs);
    for (int v = 0; v < r->vertexCount; ++v)
        K_AddPointToBounds(r->vertices[v].xyz, r->mins, r->maxs);
    r->flags &= ~PatchFlags::NeedsUpdate;
}
