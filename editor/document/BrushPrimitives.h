// The brush primitives: block, wedge, cylinder, spike, sphere, rock and arch, each built in the
// world entity from the dragged box (PrimitiveParams, Primitives.h) and recorded as one undo level.
#pragma once

#include <cstdint>

struct PrimitiveParams;

int32_t Prim_CreateBlock(PrimitiveParams* params);
int32_t Prim_CreateWedge(PrimitiveParams* params);
int32_t Prim_CreateCylinder(PrimitiveParams* params);
int32_t Prim_CreateSpike(PrimitiveParams* params);
int32_t Prim_CreateSphere(PrimitiveParams* params);
int32_t Prim_CreateRock(PrimitiveParams* params);
// What the arch's dialog answers, in the order it asks.
struct ArchParameters {
    float wallWidth = 0.0f;
    int32_t sides = 0;
    float arc = 0.0f;        // degrees
    float startAngle = 0.0f; // degrees
    float addedHeight = 0.0f;
    bool fitSelection = false;
    bool groupParts = false;
    bool triangulate = false;
    bool smoothSlope = false; // only meaningful when addedHeight is not 0
};
// Asks for the arch's parameters first (DocumentHost::askArch).
int32_t Prim_CreateArch(PrimitiveParams* params);
