// The page commands of the surface properties dialog: typed mapping values, steps, reset, align,
// justify and fit on faces; the patch and overlay pages; the texture tool's align-to-view,
// drag shift and NULL texture. Each is one named undo level.
#include <QApplication>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <cmath>
#include <cstring>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/System.h"
#include "dialogs/editing/FaceMapping.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "dialogs/editing/TextureFitDialog.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureRecords.h"
#include "map/Decal.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "tools/ToolSupport.h"
#include "ui_FacePropertiesDialog.h"
#include "views/Canvas.h"

namespace {

float safeScale(double value) {
    return std::fabs(value) < 0.001 ? 1.0f : float(value);
}

// Into [0, 360).
float wrapAngle(double degrees) {
    if (!std::isfinite(degrees)) return 0.0f;
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0) degrees += 360.0;
    return degrees >= 360.0 ? 0.0f : float(degrees);
}

float defaultScale() {
    const GameConfig* config = GameCfg_Current();
    return config ? config->DefaultTextureScale : 1.0f;
}

} // namespace

// The patch's mesh and bounds from its control points.
void Patch_RebuildMesh(PatchRecord* p) {
    p->flags |= PatchFlags::NeedsUpdate;
    p->handle->update(BrushUpdate::TessellatePatch);
}

// Overlay corner coordinates follow a typed scale or shift (the shift only with a texture).
void Overlay_SetTextureScale(OverlayRecord* o, int axis, float value) {
    float& scale = axis ? o->texInfo.tScale : o->texInfo.sScale;
    const float ratio = TexInfo_SafeScale(scale) / value;
    for (OverlayCorner& c : o->corners)
        (axis ? c.t : c.s) *= ratio;
    scale = value;
}

void Overlay_SetTextureShift(OverlayRecord* o, int axis, float value) {
    if (!o->texture) return;
    const int size = axis ? o->texture->height : o->texture->width;
    float& shift = axis ? o->texInfo.tShift : o->texInfo.sShift;
    if (size > 0) {
        const float scale = TexInfo_SafeScale(axis ? o->texInfo.tScale : o->texInfo.sScale);
        const float d = (value - shift) / (scale * float(size));
        if (std::isfinite(d))
            for (OverlayCorner& c : o->corners)
                (axis ? c.t : c.s) += d;
    }
    shift = value;
}

// ---- Frames ----

void cFacePropertiesDialog::beginLevel(const char* level, int snapshots) {
    UndoHistory* history = Map_OpHistory(targetWorld());
    if (!history) return;
    Undo_BeginLevel(history, level);
    if (snapshots & Faces) Undo_SaveSelectedFacesChanged(history);
    if (snapshots & Patches) Undo_SaveSelectedPatchesChanged(history, snapshots & PatchPoints);
    if (snapshots & Overlays) Undo_SaveSelectedOverlaysChanged(history, snapshots & OverlayData);
    if (history->recording) {
        Undo_EndLevel(history);
        Tool_UpdateActions(0x2);
    }
}

void cFacePropertiesDialog::rememberTypedText(int page, int which) {
    if (auto* box = qobject_cast<QAbstractSpinBox*>(field(page, which)))
        m_lastTexts[page][which] = box->text();
}

bool cFacePropertiesDialog::faceCommand(const char* level, int page, int which,
                                        const std::function<void(FaceRecord*)>& change) {
    MapWorld* world = targetWorld();
    if (!world || (which >= 0 && m_loading)) return false;
    if (which >= 0) rememberTypedText(page, which);
    beginLevel(level, Faces);
    for (FaceRecord* f = world->selectedFaces; f; f = f->selNext)
        change(f);
    Map_OpFinish(world, false);
    return true;
}

bool cFacePropertiesDialog::patchCommand(const char* level, int which,
                                         const std::function<void(PatchRecord*)>& change) {
    MapWorld* world = targetWorld();
    if (!world || (which >= 0 && m_loading)) return false;
    if (which >= 0) rememberTypedText(1, which);
    beginLevel(level, Patches | PatchPoints);
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (b->patch) {
            change(b->patch);
            Patch_RebuildMesh(b->patch);
            Decal_InvalidateAroundBrush(b);
        }
    if (which >= 0 && ui->patchCtrlGroup->isEnabled()) exec_on_patchSelectCtrl();
    Map_OpFinish(world, false);
    return true;
}

bool cFacePropertiesDialog::overlayCommand(const char* level, int which, bool withData,
                                           const std::function<void(OverlayRecord*)>& change) {
    MapWorld* world = targetWorld();
    if (!world || (which >= 0 && m_loading)) return false;
    if (which >= 0) rememberTypedText(2, which);
    beginLevel(level, Overlays | (withData ? OverlayData : 0));
    for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        if (b->overlay) {
            change(b->overlay);
            Decal_InvalidateAroundBrush(b);
        }
    Map_OpFinish(world, false);
    return true;
}

// ---- Face page ----

void cFacePropertiesDialog::exec_on_setScaleX(double value) {
    faceCommand("Scale Texture", 0, ScaleX, [v = safeScale(value)](FaceRecord* f) {
        f->texInfo.sScale = v;
        f->handle->computeTexCoords();
        Decal_InvalidateAroundBrush(f->brush);
    });
}

void cFacePropertiesDialog::exec_on_setScaleY(double value) {
    faceCommand("Scale Texture", 0, ScaleY, [v = safeScale(value)](FaceRecord* f) {
        f->texInfo.tScale = v;
        f->handle->computeTexCoords();
        Decal_InvalidateAroundBrush(f->brush);
    });
}

void cFacePropertiesDialog::exec_on_setShiftX(double value) {
    faceCommand("Shift Texture", 0, ShiftX, [value](FaceRecord* f) {
        f->texInfo.sShift = float(value);
        f->handle->computeTexCoords();
    });
}

void cFacePropertiesDialog::exec_on_setShiftY(double value) {
    faceCommand("Shift Texture", 0, ShiftY, [value](FaceRecord* f) {
        f->texInfo.tShift = float(value);
        f->handle->computeTexCoords();
    });
}

void cFacePropertiesDialog::exec_on_setRotate(double value) {
    faceCommand("Rotate Texture", 0, Rotate, [angle = wrapAngle(value)](FaceRecord* f) {
        const float turn = f->texInfo.rotation - angle;
        if (turn != 0.0f) f->handle->rotateTextureAxes(turn);
        f->texInfo.rotation = angle;
        f->handle->computeTexCoords();
        Decal_InvalidateAroundBrush(f->brush);
    });
}

void cFacePropertiesDialog::exec_on_setValue(int value) {
    faceCommand("Change Texture Value", 0, Value, [value](FaceRecord* f) { f->texInfo.value = value; });
}

void cFacePropertiesDialog::exec_on_setSsize(int value) {
    faceCommand("Change Sample Size", 0, Ssize, [value](FaceRecord* f) { f->texInfo.sampleSize = value; });
}

void cFacePropertiesDialog::exec_on_reset() {
    const float scale = defaultScale();
    if (faceCommand("Reset Texture", 0, -1, [scale](FaceRecord* f) {
            f->texInfo.sScale = f->texInfo.tScale = scale;
            f->texInfo.sShift = f->texInfo.tShift = f->texInfo.rotation = 0.0f;
            f->handle->resetTextureAxes();
            f->handle->computeTexCoords();
            Decal_InvalidateAroundBrush(f->brush);
        }))
        refreshFromSelection(false);
}

// A step follows the typed rule: the stored rotation gains the step and the axes turn by the old
// angle minus the new one, so a later reset or reload shows the same mapping.
void cFacePropertiesDialog::rotateTextureStep(float degrees) {
    if (shiftHeld()) degrees = -degrees;
    if (faceCommand("Rotate Texture", 0, -1, [degrees](FaceRecord* f) {
            const float old = f->texInfo.rotation;
            const float angle = wrapAngle(double(old) + double(degrees));
            f->handle->rotateTextureAxes(old - angle);
            f->texInfo.rotation = angle;
            f->handle->computeTexCoords();
            Decal_InvalidateAroundBrush(f->brush);
        }))
        refreshFromSelection(false);
}

void cFacePropertiesDialog::exec_on_rotate1() {
    rotateTextureStep(45.0f);
}
void cFacePropertiesDialog::exec_on_rotate2() {
    rotateTextureStep(60.0f);
}
void cFacePropertiesDialog::exec_on_rotate3() {
    rotateTextureStep(90.0f);
}

void cFacePropertiesDialog::exec_on_setWorldAlign() {
    if (faceCommand("Align Texture", 0, -1, [](FaceRecord* f) {
            f->texInfo.alignment = TexAlign::World;
            f->handle->update(FaceUpdate::ResetAxes);
            Decal_InvalidateAroundBrush(f->brush);
        }))
        refreshFromSelection(false);
}

void cFacePropertiesDialog::exec_on_setFaceAlign() {
    if (faceCommand("Align Texture", 0, -1, [](FaceRecord* f) {
            f->texInfo.alignment = TexAlign::Face;
            f->handle->update(FaceUpdate::ResetAxes);
            Decal_InvalidateAroundBrush(f->brush);
        }))
        refreshFromSelection(false);
}

void cFacePropertiesDialog::justifyTexture(int mode) {
    static constexpr const char* kLevels[6] = {"Justify Top",   "Justify Bottom", "Justify Left",
                                               "Justify Right", "Justify Center", "Fit Texture"};
    MapWorld* world = targetWorld();
    if (!world || !world->selectedFaces || mode < 0 || mode > 5) return;
    float extremes[6][3] = {};
    const bool asOne = ui->cbTreatAsOne->isChecked() && world->selectedFaces->selNext;
    if (asOne) {
        FaceRecord* first = world->selectedFaces;
        if (first->vertexCount > 0) first->handle->getExtremeVertices(extremes);
        for (FaceRecord* f = first->selNext; f; f = f->selNext) {
            if (f->vertexCount <= 0) continue;
            float own[6][3];
            f->handle->getExtremeVertices(own);
            for (int axis = 0; axis < 3; ++axis) {
                if (own[2 * axis][axis] < extremes[2 * axis][axis])
                    std::copy(own[2 * axis], own[2 * axis] + 3, extremes[2 * axis]);
                if (own[2 * axis + 1][axis] > extremes[2 * axis + 1][axis])
                    std::copy(own[2 * axis + 1], own[2 * axis + 1] + 3, extremes[2 * axis + 1]);
            }
        }
    }
    faceCommand(kLevels[mode], 0, -1, [&](FaceRecord* f) {
        if (!asOne && f->vertexCount > 0) f->handle->getExtremeVertices(extremes);
        f->handle->alignTexture(mode, extremes, fitCountS, fitCountT);
        f->handle->computeTexCoords();
    });
    refreshFromSelection(false);
}

void cFacePropertiesDialog::exec_on_justifyT() {
    justifyTexture(TexAlignMode::Top);
}
void cFacePropertiesDialog::exec_on_justifyB() {
    justifyTexture(TexAlignMode::Bottom);
}
void cFacePropertiesDialog::exec_on_justifyL() {
    justifyTexture(TexAlignMode::Left);
}
void cFacePropertiesDialog::exec_on_justifyR() {
    justifyTexture(TexAlignMode::Right);
}
void cFacePropertiesDialog::exec_on_justifyC() {
    justifyTexture(TexAlignMode::Center);
}

void cFacePropertiesDialog::exec_on_justifyF() {
    const bool skip = Sys_Settings().SkipFitDialog;
    if (!skip || shiftHeld()) {
        cTextureFitDialog dialog(fitCountS, fitCountT, true, this);
        if (dialog.exec() != QDialog::Accepted) return;
        dialog.getCounts(&fitCountS, &fitCountT);
    } else {
        fitCountS = fitCountT = 1.0f;
    }
    justifyTexture(TexAlignMode::Fit);
}

// ---- The texture tool's face commands ----

void cFacePropertiesDialog::alignToView(FaceRecord* face, cCanvas* view) {
    MapWorld* world = targetWorld();
    if (!world || !face || !view || !view->is3D()) return;
    const float sScale = safeScale(ui->sbScaleX->value()), tScale = safeScale(ui->sbScaleY->value());
    if (UndoHistory* history = Map_OpHistory(world)) {
        Undo_BeginLevel(history, "Align to View");
        Undo_SaveFace(history, face, UndoList::ChangedFaces);
        if (history->recording) {
            Undo_EndLevel(history);
            Tool_UpdateActions(0x2);
        }
    }
    TextureInfo& t = face->texInfo;
    std::copy(view->right, view->right + 3, t.sAxis);
    std::copy(view->up, view->up + 3, t.tAxis);
    t.sScale = sScale;
    t.tScale = tScale;
    t.rotation = 0.0f;
    const float* eye = view->eye;
    t.sShift = sScale * (t.sAxis[0] * eye[0] + t.sAxis[1] * eye[1] + t.sAxis[2] * eye[2]);
    t.tShift = tScale * (t.tAxis[0] * eye[0] + t.tAxis[1] * eye[1] + t.tAxis[2] * eye[2]);
    face->handle->wrapTextureShift();
    face->handle->computeTexCoords();
    if (face->flags & FaceFlags::Selected) refreshFromSelection(false);
    Map_OpFinish(world, false);
}

void cFacePropertiesDialog::dragShiftTexture(int dx, int dy, cCanvas* view) {
    MapWorld* world = targetWorld();
    if (!world || !view || !view->is3D()) return;
    const float* R = view->right;
    const float* U = view->up;
    auto dot = [](const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    for (FaceRecord* f = world->selectedFaces; f; f = f->selNext) {
        TextureInfo& t = f->texInfo;
        t.sShift += float(dx) * dot(R, t.sAxis) + float(dy) * dot(U, t.sAxis);
        t.tShift += float(dx) * dot(R, t.tAxis) + float(dy) * dot(U, t.tAxis);
        if (f->texture && !(f->texture->flags & 1)) {
            if (f->texture->width) t.sShift = std::fmod(t.sShift, float(f->texture->width));
            if (f->texture->height) t.tShift = std::fmod(t.tShift, float(f->texture->height));
        }
        f->handle->computeTexCoords();
    }
    refreshFromSelection(true);
    Map_OpFinish(world, false);
}

void cFacePropertiesDialog::assignNullTexture(FaceRecord* face, int mode) {
    MapWorld* world = targetWorld();
    const MapProfileRecord* profile = Face_CurrentProfile();
    if (!world || !face || !profile) return;
    const char* name = profile->nullTexture;
    UndoHistory* history = Map_OpHistory(world);
    auto end = [&] {
        if (history && history->recording) {
            Undo_EndLevel(history);
            Tool_UpdateActions(0x2);
        }
    };
    auto rename = [&](FaceRecord* f) {
        if (history) Undo_SaveFace(history, f, UndoList::ChangedFaces);
        f->handle->setTextureName(name);
        f->handle->update(FaceUpdate::TexCoords);
    };
    if (mode == 7) {
        if (history) Undo_BeginLevel(history, "NULL to Selected");
        rename(face);
        end();
        Decal_InvalidateAroundBrush(face->brush);
    } else if (mode == 8 && face->brush) {
        int count = 0;
        for (FaceRecord* f = face->brush->firstFace; f; f = f->next)
            count += f != face && std::strncmp(f->texInfo.name, name, sizeof f->texInfo.name) != 0;
        if (count) {
            if (history) Undo_BeginLevel(history, "NULL to Unselected");
            for (FaceRecord* f = face->brush->firstFace; f; f = f->next)
                if (f != face && std::strncmp(f->texInfo.name, name, sizeof f->texInfo.name) != 0) rename(f);
            end();
            Decal_InvalidateAroundBrush(face->brush);
            Sys_Printf("Assigned \"%s\" to %i faces\n", name, count);
        }
    }
    Map_OpFinish(world, false);
}

// ---- Patch page ----

void cFacePropertiesDialog::exec_on_setScaleX2(double value) {
    patchCommand("Scale Texture", ScaleX,
                 [v = safeScale(value)](PatchRecord* p) { p->handle->setTextureScale(0, v); });
}
void cFacePropertiesDialog::exec_on_setScaleY2(double value) {
    patchCommand("Scale Texture", ScaleY,
                 [v = safeScale(value)](PatchRecord* p) { p->handle->setTextureScale(1, v); });
}
void cFacePropertiesDialog::exec_on_setShiftX2(double value) {
    patchCommand("Shift Texture", ShiftX,
                 [value](PatchRecord* p) { p->handle->setTextureShift(0, float(value)); });
}
void cFacePropertiesDialog::exec_on_setShiftY2(double value) {
    patchCommand("Shift Texture", ShiftY,
                 [value](PatchRecord* p) { p->handle->setTextureShift(1, float(value)); });
}
void cFacePropertiesDialog::exec_on_setRotate2(double value) {
    patchCommand("Rotate Texture", Rotate,
                 [a = wrapAngle(value)](PatchRecord* p) { p->handle->setTextureRotation(a); });
}

void cFacePropertiesDialog::exec_on_reset2() {
    const float scale = defaultScale();
    if (patchCommand("Reset Texture", -1, [scale](PatchRecord* p) {
            for (int axis = 0; axis < 2; ++axis) {
                p->handle->setTextureScale(axis, scale);
                p->handle->setTextureShift(axis, 0.0f);
            }
            p->handle->setTextureRotation(0.0f);
        }))
        refreshFromSelection(false);
}

void cFacePropertiesDialog::exec_on_patchNatural() {
    if (patchCommand("Naturalize Patch Texture", -1, [](PatchRecord* p) { p->handle->naturalizeTexture(); }))
        refreshFromSelection(false);
}

void cFacePropertiesDialog::exec_on_patchFit() {
    if (patchCommand("Fit Patch Texture", -1, [](PatchRecord* p) { p->handle->fitTexture(1.0f, 1.0f); }))
        refreshFromSelection(false);
}

// The counts are asked before the level opens: a cancelled dialog leaves the history (and its
// redo chain) as it was.
void cFacePropertiesDialog::exec_on_patchSet() {
    if (!targetWorld()) return;
    cTextureFitDialog dialog(fitCountS, fitCountT, false, this);
    if (dialog.exec() != QDialog::Accepted) return;
    dialog.getCounts(&fitCountS, &fitCountT);
    if (patchCommand("Set Patch Texture", -1,
                     [this](PatchRecord* p) { p->handle->fitTexture(fitCountS, fitCountT); }))
        refreshFromSelection(false);
}

// ---- Overlay page ----

void cFacePropertiesDialog::exec_on_setScaleX3(double value) {
    overlayCommand("Scale Texture", ScaleX, true,
                   [v = safeScale(value)](OverlayRecord* o) { Overlay_SetTextureScale(o, 0, v); });
}
void cFacePropertiesDialog::exec_on_setScaleY3(double value) {
    overlayCommand("Scale Texture", ScaleY, true,
                   [v = safeScale(value)](OverlayRecord* o) { Overlay_SetTextureScale(o, 1, v); });
}
void cFacePropertiesDialog::exec_on_setShiftX3(double value) {
    overlayCommand("Shift Texture", ShiftX, true,
                   [value](OverlayRecord* o) { Overlay_SetTextureShift(o, 0, float(value)); });
}
void cFacePropertiesDialog::exec_on_setShiftY3(double value) {
    overlayCommand("Shift Texture", ShiftY, true,
                   [value](OverlayRecord* o) { Overlay_SetTextureShift(o, 1, float(value)); });
}
void cFacePropertiesDialog::exec_on_setRotate3(double value) {
    overlayCommand("Rotate Texture", Rotate, true,
                   [a = wrapAngle(value)](OverlayRecord* o) { o->handle->setTextureRotation(a); });
}
void cFacePropertiesDialog::exec_on_setValue3(int value) {
    overlayCommand("Change Texture Value", Value, false,
                   [value](OverlayRecord* o) { o->texInfo.value = value; });
}
void cFacePropertiesDialog::exec_on_setSsize3(int value) {
    overlayCommand("Change Sample Size", Ssize, false,
                   [value](OverlayRecord* o) { o->texInfo.sampleSize = value; });
}

void cFacePropertiesDialog::exec_on_reset3() {
    if (overlayCommand("Reset Texture", -1, true, [](OverlayRecord* o) {
            Overlay_SetTextureScale(o, 0, 1.0f);
            Overlay_SetTextureScale(o, 1, 1.0f);
            Overlay_SetTextureShift(o, 0, 0.0f);
            Overlay_SetTextureShift(o, 1, 0.0f);
            o->handle->setTextureRotation(0.0f);
        }))
        refreshFromSelection(false);
}

void cFacePropertiesDialog::exec_on_overlayFit() {
    if (overlayCommand("Fit Overlay Texture", -1, true, [](OverlayRecord* o) {
            static constexpr float kUnit[kOverlayCorners][2] = {{1, 0}, {0, 0}, {0, 1}, {1, 1}};
            for (int i = 0; i < kOverlayCorners; ++i) {
                o->corners[i].s = kUnit[i][0];
                o->corners[i].t = kUnit[i][1];
            }
            o->texInfo.sShift = o->texInfo.tShift = o->texInfo.rotation = 0.0f;
            o->texInfo.sScale = o->texInfo.tScale = 1.0f;
            o->handle->update(0);
        }))
        refreshFromSelection(false);
}
