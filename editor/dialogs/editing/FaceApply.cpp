// Applying the dialog's texture: the name alone (mode 3), with the typed mapping values and flags
// (mode 4), and with the first selected face's axes (mode 5), onto one picked face, patch or
// overlay or onto the selection, as one "Apply Texture" level.
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QSpinBox>
#include <cmath>

#include "core/TextEncoding.h"
#include "dialogs/editing/FaceMapping.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "gamedata/PluginInterface.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "tools/ToolSupport.h"
#include "ui_FacePropertiesDialog.h"

namespace {

constexpr float kNoFloat = 1.0e8f;
constexpr int kNoInt = -1000000;

// What modes 4 and 5 write; markers where a field was not given.
struct Values {
    float scale[2] = {0, 0};
    float shift[2] = {kNoFloat, kNoFloat};
    float rotation = kNoFloat;
    int value = kNoInt;
    int sampleSize = kNoInt;
};

struct Flags {
    int32_t surfaceBits = 0, surfaceMask = 0;
    int32_t contentBits = 0, contentMask = 0;
    int32_t apply(int32_t old, bool content) const {
        const int32_t mask = content ? contentMask : surfaceMask;
        const int32_t bits = content ? contentBits : surfaceBits;
        return mask ? ((old & ~mask) | bits) : old;
    }
};

// The face, or the patch or overlay of the brush, that a pick id names.
void pickObject(MapWorld* world, int32_t id, FaceRecord** face, PatchRecord** patch,
                OverlayRecord** overlay) {
    *face = Map_FindFaceById(world, id);
    *patch = nullptr;
    *overlay = nullptr;
    if (*face) return;
    for (EntityRecord* e = world ? world->entities : nullptr; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            if (b->handle && b->handle->id == id) {
                *patch = b->patch;
                *overlay = b->overlay;
                return;
            }
}

void copyAxes(TextureInfo& to, const TextureInfo& from) {
    std::copy(from.sAxis, from.sAxis + 3, to.sAxis);
    std::copy(from.tAxis, from.tAxis + 3, to.tAxis);
    to.sShift = from.sShift;
    to.tShift = from.tShift;
}

} // namespace

void cFacePropertiesDialog::exec_on_applyTexture() {
    applyTexture(nullptr, nullptr, nullptr, 3, false);
}

void cFacePropertiesDialog::exec_on_applyTexture(MapWorld* world, int32_t id, int32_t mode, bool wrap) {
    FaceRecord* face;
    PatchRecord* patch;
    OverlayRecord* overlay;
    pickObject(world, id, &face, &patch, &overlay);
    if (!face && !patch && !overlay) return;
    if (targetWorld() != world) setTarget(Map_Handle(world));
    applyTexture(face, patch, overlay, mode, wrap);
}

void cFacePropertiesDialog::alignToView(MapWorld* world, int32_t id, cCanvas* view) {
    if (targetWorld() != world) setTarget(Map_Handle(world));
    alignToView(Map_FindFaceById(world, id), view);
}

void cFacePropertiesDialog::assignNullTexture(MapWorld* world, int32_t id, int32_t mode) {
    if (targetWorld() != world) setTarget(Map_Handle(world));
    assignNullTexture(Map_FindFaceById(world, id), mode);
}

void cFacePropertiesDialog::applyTexture(FaceRecord* face, PatchRecord* patch, OverlayRecord* overlay,
                                         int mode, bool wrap) {
    MapWorld* world = targetWorld();
    if (m_textureName.isEmpty() || !world || mode < 3 || mode > 5) return;
    if (face) patch = nullptr, overlay = nullptr;
    if (patch) overlay = nullptr;
    const QByteArray name = Text_ToWindows1251(m_textureName).left(kTextureNameMax);
    FaceRecord* F = world->selectedFaces;
    // Wrapping rewrites control points and corners even in mode 3, so the snapshot keeps them
    // whenever it may happen.
    const bool withData = mode != 3 || wrap;
    if (UndoHistory* history = Map_OpHistory(world)) {
        Undo_BeginLevel(history, "Apply Texture");
        if (face)
            Undo_SaveFace(history, face, UndoList::ChangedFaces);
        else if (patch || overlay)
            Undo_SaveBrush(history, patch ? patch->brush : overlay->brush, UndoList::ChangedBrushes,
                           withData);
        else {
            Undo_SaveSelectedFacesChanged(history);
            Undo_SaveSelectedPatchesChanged(history, withData);
            Undo_SaveSelectedOverlaysChanged(history, withData);
        }
        if (history->recording) {
            Undo_EndLevel(history);
            Tool_UpdateActions(0x2);
        }
    }

    Values faceValues, patchValues, overlayValues;
    Flags flags;
    if (mode != 3) {
        const MapProfileRecord* profile = Face_CurrentProfile();
        auto collectFlags = [](QCheckBox* const* boxes, int count, int32_t first, int32_t& bits,
                               int32_t& mask) {
            mask = int32_t((1u << (uint32_t(first) & 31u)) - 1u);
            bits = 0;
            for (int i = 0; i < count; ++i) {
                const int32_t bit = int32_t(1u << ((uint32_t(first) + uint32_t(i)) & 31u));
                if (boxes[i]->checkState() == Qt::Checked) {
                    bits |= bit;
                    mask |= bit;
                } else if (boxes[i]->checkState() == Qt::Unchecked) {
                    mask |= bit;
                }
            }
        };
        if (ui->groupFlags->isVisibleTo(this))
            collectFlags(m_surfaceBoxes.data(), kSurfaceFlagCount, profile ? profile->firstSurfaceFlag : 0,
                         flags.surfaceBits, flags.surfaceMask);
        if (ui->groupFlags2->isVisibleTo(this))
            collectFlags(m_contentBoxes.data(), kContentFlagCount, profile ? profile->firstContentFlag : 0,
                         flags.contentBits, flags.contentMask);
        if (profile && profile->contentMask) {
            flags.contentBits &= ~int32_t(profile->contentMask);
            flags.contentMask &= ~int32_t(profile->contentMask);
        }
        auto collect = [this](int page, Values& v) {
            auto given = [this, page](int which) {
                auto* box = qobject_cast<QAbstractSpinBox*>(field(page, which));
                return box && box->isEnabled() && !box->text().isEmpty() ? box : nullptr;
            };
            auto number = [](QAbstractSpinBox* box) {
                if (auto* d = qobject_cast<QDoubleSpinBox*>(box)) return d->value();
                return double(static_cast<QSpinBox*>(box)->value());
            };
            for (int axis = 0; axis < 2; ++axis) {
                if (auto* box = given(ScaleX + axis)) {
                    const double s = number(box);
                    v.scale[axis] = std::fabs(s) < 0.001 ? 1.0f : float(s);
                }
                if (auto* box = given(ShiftX + axis)) v.shift[axis] = float(number(box));
            }
            if (auto* box = given(Rotate)) v.rotation = float(number(box));
            if (page == 1) return;
            if (auto* box = given(Value)) v.value = int(number(box));
            if (auto* box = given(Ssize)) v.sampleSize = int(number(box));
        };
        collect(0, faceValues);
        collect(1, patchValues);
        collect(2, overlayValues);
    }

    auto applyFace = [&](FaceRecord* f, bool single) {
        const int32_t oldSurface = f->texInfo.surfaceFlags, oldContents = f->texInfo.contents;
        f->handle->setTextureName(name.constData());
        if (wrap && F && f != F) f->handle->wrapTextureFrom(F);
        if (mode != 3) {
            TextureInfo& t = f->texInfo;
            const Values& v = faceValues;
            if (!wrap) {
                if (v.scale[0] != 0) t.sScale = v.scale[0];
                if (v.scale[1] != 0) t.tScale = v.scale[1];
                if (v.shift[0] != kNoFloat) t.sShift = v.shift[0];
                if (v.shift[1] != kNoFloat) t.tShift = v.shift[1];
                if (v.rotation != kNoFloat) {
                    if (t.rotation != v.rotation) f->handle->rotateTextureAxes(t.rotation - v.rotation);
                    t.rotation = v.rotation;
                }
            }
            if (single && mode == 5 && F) copyAxes(t, F->texInfo);
            if (v.value != kNoInt) t.value = v.value;
            if (v.sampleSize != kNoInt) t.sampleSize = v.sampleSize;
            t.surfaceFlags = flags.apply(oldSurface, false);
            t.contents = flags.apply(oldContents, true);
        }
        f->handle->update(FaceUpdate::TexCoords);
        Decal_InvalidateAroundBrush(f->brush);
    };
    auto applyPatch = [&](PatchRecord* p, bool single) {
        const int32_t oldSurface = p->texInfo.surfaceFlags, oldContents = p->texInfo.contents;
        p->handle->setTexture(name.constData());
        if (wrap && F) {
            p->handle->applyFaceTexture(F);
            Patch_RebuildMesh(p);
        }
        if (mode != 3) {
            const Values& v = patchValues;
            if (!wrap) {
                for (int axis = 0; axis < 2; ++axis) {
                    if (v.scale[axis] != 0) p->handle->setTextureScale(axis, v.scale[axis]);
                    if (v.shift[axis] != kNoFloat) p->handle->setTextureShift(axis, v.shift[axis]);
                }
                if (v.rotation != kNoFloat && v.rotation != 0) p->handle->setTextureRotation(v.rotation);
                Patch_RebuildMesh(p);
                if (single && ui->patchCtrlGroup->isEnabled()) exec_on_patchSelectCtrl();
            }
            p->texInfo.surfaceFlags = flags.apply(oldSurface, false);
            p->texInfo.contents = flags.apply(oldContents, true);
        }
        Decal_InvalidateAroundBrush(p->brush);
    };
    auto applyOverlay = [&](OverlayRecord* o, bool single) {
        const int32_t oldSurface = o->texInfo.surfaceFlags, oldContents = o->texInfo.contents;
        o->handle->setTexture(name.constData());
        if (wrap && F) {
            o->handle->applyFaceTexture(F);
            o->handle->update(0);
        }
        if (mode != 3) {
            const Values& v = overlayValues;
            if (!wrap) {
                for (int axis = 0; axis < 2; ++axis) {
                    if (v.scale[axis] != 0) Overlay_SetTextureScale(o, axis, v.scale[axis]);
                    if (v.shift[axis] != kNoFloat) Overlay_SetTextureShift(o, axis, v.shift[axis]);
                }
                if (v.rotation != kNoFloat && v.rotation != 0) o->handle->setTextureRotation(v.rotation);
            }
            if (single && mode == 5 && F) copyAxes(o->texInfo, F->texInfo);
            if (v.value != kNoInt) o->texInfo.value = v.value;
            if (v.sampleSize != kNoInt) o->texInfo.sampleSize = v.sampleSize;
            o->texInfo.surfaceFlags = flags.apply(oldSurface, false);
            o->texInfo.contents = flags.apply(oldContents, true);
        }
        Decal_InvalidateAroundBrush(o->brush);
    };

    bool reload = true;
    if (face) {
        applyFace(face, true);
        reload = !(face->flags & FaceFlags::Selected);
    } else if (patch) {
        applyPatch(patch, true);
        reload = !(patch->brush && (patch->brush->flags & BrushFlags::Selected));
    } else if (overlay) {
        applyOverlay(overlay, true);
        reload = !(overlay->flags & 0x2);
    } else {
        for (FaceRecord* f = world->selectedFaces; f; f = f->selNext)
            applyFace(f, false);
        for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext) {
            if (b->patch) applyPatch(b->patch, false);
            if (b->overlay) applyOverlay(b->overlay, false);
        }
    }
    if (reload) refreshFromSelection(false);
    Map_OpFinish(world, false);
}
