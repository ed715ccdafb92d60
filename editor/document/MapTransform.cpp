#include "document/MapTransform.h"

#include <cmath>

#include "core/SysHost.h"
#include "core/System.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/MapWorldEntities.h"
#include "document/UndoHistory.h"
#include "kstdlib/kstdlib.h"
#include "core/MainSettings.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "core/Vector.h"

namespace {

// Entity update bits of the refresh after a transform: face planes from the moved vertices, and
// patches tessellated again; ResetAxes when the texture axes must be derived anew.
constexpr uint32_t kRefreshBits = FaceUpdate::Plane | BrushUpdate::TessellatePatch;
constexpr uint32_t kRefreshResetAxes = kRefreshBits | FaceUpdate::ResetAxes;

// Whether each axis of a snap corner lies on the max side of the box.
constexpr bool kCornerMaxSide[8][3] = {
    {false, false, false}, {true, false, false}, {true, true, false}, {false, true, false},
    {false, false, true},  {true, false, true},  {true, true, true},  {false, true, true},
};

bool isWorldEntity(const MapWorld* world, const EntityRecord* entity) {
    return entity && (entity == world->entities || (entity->flags & EntityFlag::World));
}

void markBrush(BrushRecord* brush) {
    brush->flags |= BrushFlags::NeedsUpdate;
    if (brush->entity) brush->entity->flags |= EntityFlag::NeedsUpdate;
    for (FaceRecord* face = brush->firstFace; face; face = face->next)
        face->flags |= FaceFlags::NeedsUpdate;
    if (brush->patch) brush->patch->flags |= PatchFlags::NeedsUpdate;
    if (brush->overlay) brush->overlay->flags |= OverlayFlags::NeedsUpdate;
}

// Faces, patch and overlay of the brush marked; the brushes rebuilt through their owners (each
// owner once, since its update clears its mark); decals around them re-projected; the document
// marked modified.
void finish(MapWorld* world, BrushRecord* brushes, uint32_t bits) {
    for (BrushRecord* brush = brushes; brush; brush = brush->selNext) {
        EntityRecord* owner = brush->entity;
        if (owner && (owner->flags & EntityFlag::NeedsUpdate)) {
            if (cMapEntity* entity = cMapEntity::fromRecord(owner))
                entity->update(bits);
            else if (cMapBrush* handle = cMapBrush::fromRecord(brush))
                handle->update(bits); // a bare owner record (importer in progress)
        }
        Decal_InvalidateAroundBrush(brush);
    }
    Map_MarkModified(Map_Handle(world));
}

// After a point entity's origin or bounds moved: its attached drawable follows, else its place
// in the cull tree.
void refreshMovedEntity(MapWorld* world, EntityRecord* entity) {
    cMapEntity* handle = cMapEntity::fromRecord(entity);
    if (entity->modelKind != EntityModelKind::None) {
        if (handle) handle->updateModelBounds(true);
    } else if (!(entity->flags & EntityFlag::World)) {
        Map_CullUpdateEntity(world, entity);
    }
}

// The box a brush snaps by: its patch's, else its overlay's, else its own.
void snapBoundsOfBrush(const BrushRecord* brush, const float** mins, const float** maxs) {
    if (brush->patch) {
        *mins = brush->patch->mins;
        *maxs = brush->patch->maxs;
    } else if (brush->overlay) {
        *mins = brush->overlay->mins;
        *maxs = brush->overlay->maxs;
    } else {
        *mins = brush->mins;
        *maxs = brush->maxs;
    }
}

// The box around the entities' and the brushes' boxes, brushes by their snap box when asked;
// false when both chains are empty.
bool chainBounds(const EntityRecord* entities, const BrushRecord* brushes, bool snapBoxes, float mins[3],
                 float maxs[3]) {
    K_ClearBounds(mins, maxs);
    bool any = false;
    for (const EntityRecord* e = entities; e; e = e->selNext) {
        K_AddPointToBounds(e->mins, mins, maxs);
        K_AddPointToBounds(e->maxs, mins, maxs);
        any = true;
    }
    for (const BrushRecord* b = brushes; b; b = b->selNext) {
        const float *lo = b->mins, *hi = b->maxs;
        if (snapBoxes) snapBoundsOfBrush(b, &lo, &hi);
        K_AddPointToBounds(lo, mins, maxs);
        K_AddPointToBounds(hi, mins, maxs);
        any = true;
    }
    return any;
}

int32_t currentCorner(const MapWorld* world) {
    return ((world->snapCorner % 8) + 8) % 8;
}
void advanceCorner(MapWorld* world) {
    world->snapCorner = (currentCorner(world) + 1) % 8;
}

void cornerOffset(int32_t corner, float grid, const float mins[3], const float maxs[3], float d[3]) {
    for (int axis = 0; axis < 3; ++axis) {
        const bool maxSide = kCornerMaxSide[corner][axis];
        d[axis] = Map_SnapAxisOffset(maxSide ? maxs[axis] : mins[axis], grid, maxSide);
    }
}

// Texture lock for a plain move: the shifts follow so the texture stays on the moved face.
void followShift(FaceRecord* face, const float d[3]) {
    TextureInfo& ti = face->texInfo;
    ti.sShift -= Vec_Dot(ti.sAxis, d) / TexInfo_SafeScale(ti.sScale);
    ti.tShift -= Vec_Dot(ti.tAxis, d) / TexInfo_SafeScale(ti.tScale);
    if (face->handle) face->handle->wrapTextureShift();
}

void moveBrush(BrushRecord* brush, const float d[3], bool lock) {
    markBrush(brush);
    for (FaceRecord* face = brush->firstFace; face; face = face->next) {
        for (int32_t i = 0; i < face->vertexCount; ++i)
            for (int axis = 0; axis < 3; ++axis)
                face->vertices[i].xyz[axis] += d[axis];
        if (lock) followShift(face, d);
    }
    if (PatchRecord* patch = brush->patch) {
        patch->handle->clampCounts();
        for (int c = 0; c < patch->columns; ++c)
            for (int r = 0; r < patch->rows; ++r)
                for (int axis = 0; axis < 3; ++axis)
                    patch->points[c][r].xyz[axis] += d[axis];
    }
    if (OverlayRecord* overlay = brush->overlay)
        for (OverlayCorner& corner : overlay->corners)
            for (int axis = 0; axis < 3; ++axis)
                corner.xyz[axis] += d[axis];
}

void moveEntity(MapWorld* world, EntityRecord* entity, const float d[3]) {
    for (int axis = 0; axis < 3; ++axis) {
        entity->origin[axis] += d[axis];
        entity->mins[axis] += d[axis];
        entity->maxs[axis] += d[axis];
    }
    refreshMovedEntity(world, entity);
}

// One transform about a centre, with the keep rule: a coordinate lying more than tolerance to a
// kept side of the reference keeps its old value.
struct PointTransform {
    const float* centre;
    const float* matrix;
    uint8_t keepBits;

    // True when any coordinate was kept.
    bool apply(float p[3], const float reference[3], float tolerance) const {
        const float rel[3] = {p[0] - centre[0], p[1] - centre[1], p[2] - centre[2]};
        float out[3];
        K_VectorTransform(rel, matrix, out);
        bool kept = false;
        for (int axis = 0; axis < 3; ++axis) {
            const float side = p[axis] - reference[axis];
            if (((keepBits & (TransformKeep::PlusX << axis)) && side > tolerance) ||
                ((keepBits & (TransformKeep::MinusX << axis)) && side < -tolerance)) {
                kept = true;
                continue;
            }
            p[axis] = out[axis] + centre[axis];
        }
        return kept;
    }
};

constexpr float kKeepTolerance = 0.001f;

void transformBrush(BrushRecord* brush, const PointTransform& xf, bool lock, bool lockScale) {
    float b[3];
    for (int axis = 0; axis < 3; ++axis)
        b[axis] = (brush->mins[axis] + brush->maxs[axis]) * 0.5f;
    markBrush(brush);
    for (FaceRecord* face = brush->firstFace; face; face = face->next) {
        bool kept = false;
        for (int32_t i = 0; i < face->vertexCount; ++i)
            kept |= xf.apply(face->vertices[i].xyz, b, kKeepTolerance);
        if (!face->handle) continue;
        if (lock && !kept) face->handle->transformTexture(xf.centre, xf.matrix, lockScale);
        face->handle->wrapTextureShift();
    }
    if (PatchRecord* patch = brush->patch) {
        patch->handle->clampCounts();
        for (int c = 0; c < patch->columns; ++c)
            for (int r = 0; r < patch->rows; ++r)
                xf.apply(patch->points[c][r].xyz, b, kKeepTolerance);
    }
    if (OverlayRecord* overlay = brush->overlay)
        for (OverlayCorner& corner : overlay->corners)
            xf.apply(corner.xyz, b, kKeepTolerance);
}

// Sides of a model entity's box that a box resize moves: those not kept.
uint32_t movedSides(uint8_t keepBits) {
    uint32_t sides = 0;
    for (int axis = 0; axis < 3; ++axis) {
        if (!(keepBits & (TransformKeep::MinusX << axis))) sides |= 1u << axis;
        if (!(keepBits & (TransformKeep::PlusX << axis))) sides |= 8u << axis;
    }
    return sides;
}

void transformPointEntity(MapWorld* world, EntityRecord* entity, const PointTransform& xf,
                          const TransformParams& params, bool turnAngles) {
    float origin[3], relMins[3], relMaxs[3];
    Vec_Copy(entity->origin, origin);
    Vec_Sub(entity->mins, origin, relMins);
    Vec_Sub(entity->maxs, origin, relMaxs);
    xf.apply(origin, xf.centre, 0.0f);
    for (int axis = 0; axis < 3; ++axis) {
        entity->origin[axis] = origin[axis];
        entity->mins[axis] = relMins[axis] + origin[axis];
        entity->maxs[axis] = relMaxs[axis] + origin[axis];
    }
    cMapEntity* handle = cMapEntity::fromRecord(entity);
    if (handle && turnAngles) {
        float rotation[9];
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col)
                rotation[row * 3 + col] = params.matrix[row * 4 + col];
        handle->rotateAngles(rotation);
    }
    if (handle && entity->modelKind == EntityModelKind::Model) {
        EntityBoxTransform box{};
        Vec_Copy(xf.centre, box.reference);
        for (int i = 0; i < 12; ++i)
            box.matrix[i] = params.matrix[i];
        box.sideFlags = movedSides(params.keepBits);
        box.axes[0] = params.viewAxisA;
        box.axes[1] = params.viewAxisB;
        box.enabled = params.scaleEnabled != 0;
        handle->applyScaleTransform(box);
    }
    refreshMovedEntity(world, entity);
}

bool hasSelection(const MapWorld* world) {
    return world && (world->selectedEntities || world->selectedBrushes);
}

// The calling pattern of the selection commands: a named level with the changed groups,
// entities and brushes (with geometry) recorded first.
bool beginSelectionLevel(MapWorld* world, const char* name) {
    if (!hasSelection(world)) return false;
    UndoHistory* history = Undo_HistoryOf(Map_Handle(world));
    Undo_BeginLevel(history, name);
    Undo_SaveSelectedGroupsChanged(history);
    Undo_SaveSelectedEntitiesChanged(history);
    Undo_SaveSelectedBrushesChanged(history, true);
    return true;
}

bool endSelectionLevel(MapWorld* world) {
    Undo_EndLevel(Undo_HistoryOf(Map_Handle(world)));
    if (MapDocument* document = Project_FromWorld(world))
        Project_RedrawViews(document, ViewMask::Views2D | ViewMask::View3D);
    return true;
}

} // namespace

float Map_SnapAxisOffset(float p, float grid, bool maxSide) {
    if (!(grid > 0.0f)) return 0.0f;
    const float n = maxSide ? std::floor(p / grid + 0.5f) : std::ceil(p / grid - 0.5f);
    return n * grid - p;
}

void Map_TransformSelection(MapWorld* world, EntityRecord* entities, BrushRecord* brushes,
                            const TransformParams* params) {
    if (!world || !params || !params->matrix) return;
    if (!entities) entities = world->selectedEntities;
    if (!brushes) brushes = world->selectedBrushes;

    const MainSettings& settings = Sys_Settings();
    const bool lock = params->noTextureLock == 0 && settings.TextureLock;
    const bool lockScale = lock && settings.TextureLockScale;
    const bool turnAngles = params->rotates != 0 && settings.TransformAngles;

    float centre[3] = {0, 0, 0};
    if (params->centre) {
        Vec_Copy(params->centre, centre);
    } else {
        float mins[3], maxs[3];
        if (chainBounds(entities, brushes, false, mins, maxs))
            for (int axis = 0; axis < 3; ++axis)
                centre[axis] = (mins[axis] + maxs[axis]) * 0.5f;
    }

    const PointTransform xf{centre, params->matrix, params->keepBits};
    for (EntityRecord* e = entities; e; e = e->selNext)
        if (e->flags & EntityFlag::Point) transformPointEntity(world, e, xf, *params, turnAngles);
    for (BrushRecord* b = brushes; b; b = b->selNext)
        transformBrush(b, xf, lock, lockScale);

    finish(world, brushes, (!lock && params->rotates) ? kRefreshResetAxes : kRefreshBits);
}

void Map_SnapSelectionCorner(MapWorld* world, float grid, const float mins[3], const float maxs[3]) {
    if (!world || !mins || !maxs) return;
    float d[3];
    cornerOffset(currentCorner(world), grid, mins, maxs, d);
    const bool lock = Sys_Settings().TextureLock;
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        moveBrush(b, d, lock);
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext)
        moveEntity(world, e, d);
    finish(world, world->selectedBrushes, kRefreshBits);
    advanceCorner(world);
}

void Map_SnapSelectionToGrid(MapWorld* world, float grid, bool eachObject) {
    if (!world) return;
    if (!eachObject) {
        float mins[3], maxs[3];
        chainBounds(world->selectedEntities, world->selectedBrushes, true, mins, maxs);
        Map_SnapSelectionCorner(world, grid, mins, maxs);
        return;
    }

    const int32_t corner = currentCorner(world);
    const bool lock = Sys_Settings().TextureLock;
    float d[3];
    // Brushes first: those of an entity move by the entity's box, which must not have moved yet.
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        const float *lo, *hi;
        if (!b->entity || isWorldEntity(world, b->entity)) {
            snapBoundsOfBrush(b, &lo, &hi);
        } else {
            lo = b->entity->mins;
            hi = b->entity->maxs;
        }
        cornerOffset(corner, grid, lo, hi, d);
        moveBrush(b, d, lock);
    }
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
        if (e->firstBrush)
            cornerOffset(corner, grid, e->mins, e->maxs, d);
        else
            cornerOffset(corner, grid, e->origin, e->origin, d);
        moveEntity(world, e, d);
    }
    finish(world, world->selectedBrushes, kRefreshBits);
    advanceCorner(world);
}

void Map_AlignSelection(MapWorld* world, int32_t axis, int32_t side) {
    if (!world || axis < 0 || axis > 2) return;
    float mins[3], maxs[3];
    chainBounds(world->selectedEntities, world->selectedBrushes, false, mins, maxs);
    const bool toMax = side != 0;
    const float target = toMax ? maxs[axis] : mins[axis];
    const bool lock = Sys_Settings().TextureLock;

    // Brushes first: those of an entity move by the entity's box, which must not have moved yet.
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        const EntityRecord* owner = b->entity;
        const bool own = !owner || isWorldEntity(world, owner);
        const float reference =
            own ? (toMax ? b->maxs[axis] : b->mins[axis]) : (toMax ? owner->maxs[axis] : owner->mins[axis]);
        float d[3] = {0, 0, 0};
        d[axis] = target - reference;
        moveBrush(b, d, lock);
    }
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
        float d[3] = {0, 0, 0};
        d[axis] = target - (toMax ? e->maxs[axis] : e->mins[axis]);
        moveEntity(world, e, d);
    }
    finish(world, world->selectedBrushes, kRefreshBits);
}

void Map_FlipSelection(MapWorld* world, int32_t axis) {
    if (!world || axis < 0 || axis > 2) return;
    const MainSettings& settings = Sys_Settings();
    float lo = float(settings.MaxWorldSize), hi = -float(settings.MaxWorldSize);
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
        lo = std::fmin(lo, e->mins[axis]);
        hi = std::fmax(hi, e->maxs[axis]);
    }
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        lo = std::fmin(lo, b->mins[axis]);
        hi = std::fmax(hi, b->maxs[axis]);
    }
    const float f = lo + hi;
    const bool lock = settings.TextureLock;

    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        markBrush(b);
        for (FaceRecord* face = b->firstFace; face; face = face->next) {
            for (int32_t i = 0; i < face->vertexCount; ++i)
                face->vertices[i].xyz[axis] = f - face->vertices[i].xyz[axis];
            if (!face->handle) continue;
            face->handle->reverseVertices(); // the mirror turned the winding inside out
            if (lock) {
                TextureInfo& ti = face->texInfo;
                ti.sAxis[axis] = -ti.sAxis[axis];
                ti.tAxis[axis] = -ti.tAxis[axis];
                ti.sShift -= ti.sAxis[axis] * f / TexInfo_SafeScale(ti.sScale);
                ti.tShift -= ti.tAxis[axis] * f / TexInfo_SafeScale(ti.tScale);
                face->handle->wrapTextureShift();
            }
        }
        if (PatchRecord* patch = b->patch) {
            patch->handle->clampCounts();
            for (int c = 0; c < patch->columns; ++c)
                for (int r = 0; r < patch->rows; ++r)
                    patch->points[c][r].xyz[axis] = f - patch->points[c][r].xyz[axis];
            patch->handle->invertMatrix(); // keeps the facing
        }
        if (OverlayRecord* overlay = b->overlay) {
            for (OverlayCorner& corner : overlay->corners)
                corner.xyz[axis] = f - corner.xyz[axis];
            overlay->handle->flipCorners();
        }
    }
    for (EntityRecord* e = world->selectedEntities; e; e = e->selNext) {
        e->origin[axis] = f - e->origin[axis];
        const float oldMin = e->mins[axis];
        e->mins[axis] = f - e->maxs[axis];
        e->maxs[axis] = f - oldMin;
        if (settings.TransformAngles)
            if (cMapEntity* handle = cMapEntity::fromRecord(e)) handle->flipAngles(axis);
        refreshMovedEntity(world, e);
    }
    finish(world, world->selectedBrushes, kRefreshBits);
}

// ---- Commands ----------------------------------------------------------------------------------

bool Map_RotateSelectionCommand(MapWorld* world, int32_t axis, float degrees) {
    if (axis < 0 || axis > 2 || !beginSelectionLevel(world, "Rotate Selection")) return false;
    float angles[3] = {0, 0, 0}; // x, y, z
    angles[axis] = degrees;
    const float origin[3] = {0, 0, 0};
    float m[16];
    Math_RotationMatrix(angles[2], angles[1], angles[0], origin, m);
    // The first three rows of the row-major 4x4 are the 3x4 transform.
    TransformParams params{nullptr, m, 1, 0, 0, -1, -1, 0};
    Map_TransformSelection(world, nullptr, nullptr, &params);
    return endSelectionLevel(world);
}

bool Map_TransformSelectionCommand(MapWorld* world, const float matrix[16], bool rotates) {
    if (!matrix || !beginSelectionLevel(world, "Transformation")) return false;
    TransformParams params{nullptr, matrix, rotates ? 1 : 0, 0, 0, -1, -1, 0};
    Map_TransformSelection(world, nullptr, nullptr, &params);
    return endSelectionLevel(world);
}

bool Map_AlignSelectionCommand(MapWorld* world, int32_t axis, int32_t side) {
    if (axis < 0 || axis > 2 || !beginSelectionLevel(world, "Align Selection")) return false;
    Map_AlignSelection(world, axis, side);
    return endSelectionLevel(world);
}

bool Map_FlipSelectionCommand(MapWorld* world, int32_t axis) {
    if (axis < 0 || axis > 2 || !beginSelectionLevel(world, "Flip Selection")) return false;
    Map_FlipSelection(world, axis);
    return endSelectionLevel(world);
}

bool Map_SnapToGridCommand(MapWorld* world, bool eachObject) {
    if (!beginSelectionLevel(world, "Snap to Grid")) return false;
    Map_SnapSelectionToGrid(world, float(Sys_Settings().CurrentGridSize), eachObject);
    return endSelectionLevel(world);
}
