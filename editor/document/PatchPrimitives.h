// The curve primitives: one Bezier patch on a new brush of the world entity, shaped from the
// dragged box (PrimitiveParams, Primitives.h), and the flat plane whose size the new-patch dialog
// asks.
#pragma once

#include <cstdint>

struct BrushRecord;
struct PatchRecord;
struct PrimitiveParams;

int32_t Prim_CreateCurveBlock(PrimitiveParams* params);
int32_t Prim_CreateCurveCone(PrimitiveParams* params);
int32_t Prim_CreateExactCone(PrimitiveParams* params);
int32_t Prim_CreateCurveCylinder3(PrimitiveParams* params);
int32_t Prim_CreateCurveCylinder7(PrimitiveParams* params);
int32_t Prim_CreateCurveCylinder11(PrimitiveParams* params);
int32_t Prim_CreateExactCylinder(PrimitiveParams* params);
int32_t Prim_CreateCurveSphere(PrimitiveParams* params);
int32_t Prim_CreateExactSphere(PrimitiveParams* params);
int32_t Prim_CreateBevel(PrimitiveParams* params);
int32_t Prim_CreateEndcap(PrimitiveParams* params);
int32_t Prim_CreateSquareBevel(PrimitiveParams* params);
int32_t Prim_CreateSquareEndcap(PrimitiveParams* params);
// Asks for the grid size first (DocumentHost::askPatchSize).
int32_t Prim_CreatePlane(PrimitiveParams* params);

// The 9 × 3 round tube inscribed in the box that several curve rows start from, made on the
// brush. lo and hi (optional) receive the snapped box. Null when the patch cannot be made.
PatchRecord* Prim_BuildCylinderPatch(const PrimitiveParams* params, BrushRecord* brush, float lo[3],
                                     float hi[3]);
