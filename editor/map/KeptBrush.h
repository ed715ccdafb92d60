// Brushes read from a map file whose planes enclose no space (typical of decompiled maps): there
// is nothing to draw, select or edit, but the game's compiler still reads their planes, so the
// entity keeps their face lines (the points as read and the texture block) and map writers put
// them back where they stood among its brushes. Plain records: plugins and project files read them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "map/TextureInfo.h"

struct KeptFaceLine {
    double points[3][3]; // as read, to the last digit
    TextureInfo texInfo;
};
static_assert(sizeof(KeptFaceLine) == 200);
static_assert(offsetof(KeptFaceLine, texInfo) == 72);

struct KeptBrushRecord {
    KeptBrushRecord* next;
    KeptFaceLine* faces; // faceCount lines in file order (Sys_Alloc)
    int32_t faceCount;
    // Serial of the entity's brush it was read after; 0 when it came before all of them.
    int32_t after;
};
static_assert(sizeof(KeptBrushRecord) == 24);
static_assert(offsetof(KeptBrushRecord, faces) == 8 && offsetof(KeptBrushRecord, faceCount) == 16);
static_assert(offsetof(KeptBrushRecord, after) == 20);

// A copy of the whole list (null when it is empty or memory ran out part way, nothing leaked).
KeptBrushRecord* KeptBrush_CopyList(const KeptBrushRecord* list);
void KeptBrush_FreeList(KeptBrushRecord*& list);
