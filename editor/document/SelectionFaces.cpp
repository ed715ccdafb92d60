#include "document/SelectionFaces.h"

#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"

namespace {

// Whether any face of a selected brush would change its contents.
bool detailWouldChange(const MapWorld* world, uint32_t bits, bool detail) {
    for (const BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        for (const FaceRecord* f = b->firstFace; f; f = f->next) {
            const bool has = (uint32_t(f->texInfo.contents) & bits) == bits;
            const bool hasAny = (uint32_t(f->texInfo.contents) & bits) != 0;
            if (detail ? !has : hasAny) return true;
        }
    return false;
}

float dot(const float* a, const float* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

void alignFace(FaceRecord* face, const float eye[3], const float right[3], const float up[3]) {
    TextureInfo& t = face->texInfo;
    t.sScale = TexInfo_SafeScale(t.sScale);
    t.tScale = TexInfo_SafeScale(t.tScale);
    for (int i = 0; i < 3; ++i) {
        t.sAxis[i] = right[i];
        t.tAxis[i] = up[i];
    }
    t.sShift = t.sScale * dot(eye, right);
    t.tShift = t.tScale * dot(eye, up);
    t.rotation = 0.0f;
    face->handle->wrapTextureShift(); // keeps the shifts of textures that ask for it
    face->flags |= FaceFlags::NeedsUpdate;
}

} // namespace

bool Map_SetDetailCommand(MapWorld* world, uint32_t detailBits, bool detail) {
    if (!world || !detailBits || !world->selectedBrushes) return false;
    if (!detailWouldChange(world, detailBits, detail)) return false;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, detail ? "Make Detail" : "Make Structural");
    Undo_SaveSelectedBrushesChanged(history, false);
    Undo_EndLevel(history);
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            f->texInfo.contents = int32_t(detail ? uint32_t(f->texInfo.contents) | detailBits
                                                 : uint32_t(f->texInfo.contents) & ~detailBits);
    Map_OpFinish(world, false);
    return true;
}

bool Map_AlignToViewCommand(MapWorld* world, const float eye[3], const float right[3], const float up[3]) {
    if (!world || !eye || !right || !up || (!world->selectedBrushes && !world->selectedFaces)) return false;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Align to View");
    Undo_SaveSelectedBrushesChanged(history, false);
    Undo_SaveSelectedFacesChanged(history);
    Undo_EndLevel(history);
    for (FaceRecord* f = world->selectedFaces; f; f = f->selNext) {
        alignFace(f, eye, right, up);
        f->handle->update(FaceUpdate::TexCoords);
        if (f->brush) Decal_InvalidateAroundBrush(f->brush);
    }
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
        for (FaceRecord* f = b->firstFace; f; f = f->next)
            alignFace(f, eye, right, up);
        b->handle->update(FaceUpdate::TexCoords);
        Decal_InvalidateAroundBrush(b);
    }
    Map_OpFinish(world, false);
    return true;
}
