// The order of a brush's faces in map and project files. The editor keeps its face list in an
// order of its own (cMapBrush::sortFaces); files keep the order the faces were read or made in,
// which the game's compiler goes by (a brush's first face decides its contents).
#pragma once

#include <algorithm>
#include <vector>

#include "map/MapBrush.h"
#include "map/MapFace.h"

// The brush's faces, kept ones included, by FaceRecord::fileOrder (faces without a place first,
// in list order).
inline std::vector<FaceRecord*> Brush_FacesInFileOrder(const BrushRecord* brush) {
    std::vector<FaceRecord*> faces;
    for (FaceRecord* f = brush->firstFace; f; f = f->next)
        faces.push_back(f);
    for (FaceRecord* f = brush->keptFaces; f; f = f->next)
        faces.push_back(f);
    std::stable_sort(faces.begin(), faces.end(),
                     [](const FaceRecord* a, const FaceRecord* b) { return a->fileOrder < b->fileOrder; });
    return faces;
}

// The place after every face of the brush, kept ones included.
inline int32_t Brush_NextFileOrder(const BrushRecord* brush) {
    int32_t last = 0;
    for (const FaceRecord* f = brush->firstFace; f; f = f->next)
        last = std::max(last, f->fileOrder);
    for (const FaceRecord* f = brush->keptFaces; f; f = f->next)
        last = std::max(last, f->fileOrder);
    return last + 1;
}
