#include "MeshModel.h"

#include <algorithm>
#include <cstring>

#include "kstdlib/kmath.h"

void Mesh_Free(MeshModel* model) {
    if (!model) return;
    for (int32_t i = 0; model->surfaces && i < model->surfaceCount; ++i) {
        Model::ReleaseEffect(model->surfaces[i].effect);
        Model::Free(model->surfaces[i].corners);
    }
    Model::Free(model->surfaces);
    Model::Free(model->positions);
    Model::Free(model->normals);
    Model::Free(model);
}

void Mesh_Bounds(const MeshModel* model, int32_t flags, const EntityRecord* entity, float mins[3],
                 float maxs[3]) {
    Model::Bounds(model->mins, model->maxs, flags, Model::ReadContext(entity), model->withOrigin, mins, maxs);
}

void Mesh_Render(const MeshModel* model, int32_t flags, const ModelCacheEntry* entry,
                 const EntityRecord* entity) {
    const Model::Context c = Model::ReadContext(entity);
    float matrix[12];
    Model::DrawMatrix(c, flags, entry, matrix);
    float centre[2];
    Model::CentreOffset(model->mins, model->maxs, flags, centre);
    if (!Model::ReserveScratch(std::max(model->pointCount, model->normalCount))) return;
    float(*points)[3] = Model::ScratchPositions();
    for (int32_t i = 0; i < model->pointCount; ++i) {
        const float p[3] = {model->positions[i][0] - centre[0], model->positions[i][1] - centre[1],
                            model->positions[i][2]};
        K_VectorTransform(p, matrix, points[i]);
    }
    if (flags & Model::kWireFrame) {
        for (int32_t s = 0; s < model->surfaceCount; ++s) {
            Model::SetPrimitive(Model::kTriangles);
            for (int32_t k = 0; k < model->surfaces[s].cornerCount; ++k)
                Model::Vertex(points[model->surfaces[s].corners[k].position]);
            Model::Flush();
        }
        return;
    }
    const uint8_t alpha = Model::DrawAlpha(c);
    const float scale = c.present && !(flags & Model::kIgnoreScale) ? c.scale : 1.0f;
    const float inverse = scale == 0.0f ? 1.0f : 1.0f / scale;
    float(*normals)[3] = Model::ScratchNormals();
    float* shades = Model::ScratchShades();
    for (int32_t i = 0; i < model->normalCount; ++i) {
        K_VectorRotate(model->normals[i], matrix, normals[i]);
        if (inverse != 1.0f)
            for (float& v : normals[i])
                v *= inverse;
        if (!(flags & Model::kNoShading)) shades[i] = Model::Shade(normals[i]) * 255.0f;
    }
    for (int32_t s = 0; s < model->surfaceCount; ++s) {
        const MeshSurface& surface = model->surfaces[s];
        uint32_t saved = 0;
        const bool changed = Model::BindEffect(surface.effect, &saved);
        Model::SetPrimitive(Model::kTriangles);
        for (int32_t k = 0; k < surface.cornerCount; ++k) {
            const MeshCorner& corner = surface.corners[k];
            if (!(flags & Model::kNoShading)) {
                const uint8_t shade = Model::ShadeByte(shades[corner.normal]);
                Model::Color(shade, shade, shade, alpha);
            }
            Model::TexCoord(corner.st);
            Model::Normal(normals[corner.normal]);
            Model::Vertex(points[corner.position]);
        }
        Model::Flush();
        Model::RestoreState(changed, saved);
    }
}

bool Mesh_PointFaces(const int32_t* triangles, int32_t triangleCount, int32_t pointCount,
                     MeshPointFaces* out) {
    out->start = static_cast<int32_t*>(Model::Alloc(sizeof(int32_t) * (uint64_t(pointCount) + 1)));
    out->faces = static_cast<int32_t*>(Model::Alloc(sizeof(int32_t) * (uint64_t(triangleCount) * 3 + 1)));
    if (!out->start || !out->faces) {
        Mesh_FreePointFaces(out);
        return false;
    }
    for (int64_t k = 0; k < int64_t(triangleCount) * 3; ++k)
        ++out->start[triangles[k] + 1];
    for (int32_t p = 0; p < pointCount; ++p)
        out->start[p + 1] += out->start[p];
    int32_t* fill = static_cast<int32_t*>(Model::Alloc(sizeof(int32_t) * (uint64_t(pointCount) + 1)));
    if (!fill) {
        Mesh_FreePointFaces(out);
        return false;
    }
    std::memcpy(fill, out->start, sizeof(int32_t) * (size_t(pointCount) + 1));
    for (int32_t t = 0; t < triangleCount; ++t)
        for (int j = 0; j < 3; ++j) {
            const int32_t p = triangles[3 * t + j];
            // A triangle naming a point twice is listed once for it.
            if (j > 0 && triangles[3 * t] == p) continue;
            if (j > 1 && triangles[3 * t + 1] == p) continue;
            out->faces[fill[p]++] = t;
        }
    Model::Free(out->ends);
    out->ends = fill;
    return true;
}

void Mesh_FreePointFaces(MeshPointFaces* lists) {
    Model::Free(lists->start);
    Model::Free(lists->faces);
    Model::Free(lists->ends);
    lists->start = lists->faces = lists->ends = nullptr;
}
