#include "dialogs/editing/FacePropertiesDialog.h"

#include <cstring>

#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "document/MapWorld.h"

namespace {

template <size_t N> void setName(std::array<QByteArray, N>& names, const char* flag, int32_t bit) {
    if (bit < 0 || bit >= static_cast<int32_t>(N)) return;
    names[static_cast<size_t>(bit)] = flag ? QByteArray(flag) : QByteArray();
}

} // namespace

void cFacePropertiesDialog::setSurfaceFlagName(const char* profile, const char* flag, int32_t bit) {
    if (!profile || bit < 0 || bit >= kSurfaceFlagCount) return;
    setName(m_flagNames[QByteArray(profile)].surface, flag, bit);
}

void cFacePropertiesDialog::setContentFlagName(const char* profile, const char* flag, int32_t bit) {
    if (!profile || bit < 0 || bit >= kContentFlagCount) return;
    setName(m_flagNames[QByteArray(profile)].content, flag, bit);
}

const cFacePropertiesDialog::FlagNames* cFacePropertiesDialog::flagNames(const QByteArray& profile) const {
    auto found = m_flagNames.constFind(profile);
    return found != m_flagNames.constEnd() ? &found.value() : nullptr;
}

bool cFacePropertiesDialog::handleModeKey(const QKeyEvent* event) {
    if (!shown || event->modifiers() != Qt::ShiftModifier) return false;
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F6) {
        applicationMode = key - Qt::Key_F1;
    } else if (key == Qt::Key_F9) {
        applicationMode = 6;
    } else if (key == Qt::Key_F7 || key == Qt::Key_F8) {
        if (nullModesAvailable) applicationMode = key == Qt::Key_F7 ? 7 : 8;
    } else {
        return false;
    }
    return true;
}

void cFacePropertiesDialog::setTarget(MapWorld** map) {
    target = map;
}

bool cFacePropertiesDialog::liftFromObject(MapWorld* world, int32_t id) {
    const FaceRecord* face = Map_FindFaceById(world, id);
    if (!face) return false;
    texInfo = face->texInfo;
    return true;
}

void cFacePropertiesDialog::exec_on_applyTexture(MapWorld* world, int32_t id, int32_t mode, bool allFaces) {
    FaceRecord* picked = Map_FindFaceById(world, id);
    if (!picked || !picked->brush || mode < 3 || mode > 5) return;
    FaceRecord* first = allFaces ? picked->brush->firstFace : picked;
    UndoHistory* history = Map_OpHistory(world);
    Undo_BeginLevel(history, "Apply Texture");
    for (FaceRecord* f = first; f; f = allFaces ? f->next : nullptr)
        Undo_SaveFace(history, f, UndoList::ChangedFaces);
    Undo_EndLevel(history);
    for (FaceRecord* f = first; f; f = allFaces ? f->next : nullptr) {
        TextureInfo info = f->texInfo;
        if (mode == 5) {
            info = texInfo;
        } else if (mode == 4) {
            info.sShift = texInfo.sShift;
            info.tShift = texInfo.tShift;
            info.sScale = texInfo.sScale;
            info.tScale = texInfo.tScale;
            info.rotation = texInfo.rotation;
        }
        std::memcpy(info.name, texInfo.name, sizeof info.name);
        f->handle->setTextureInfo(&info);
        f->flags |= FaceFlags::NeedsUpdate;
    }
    picked->brush->handle->update(0);
    Map_OpFinish(world, false);
}

void cFacePropertiesDialog::dragShiftTexture(int dx, int dy, cCanvas*) {
    MapWorld* world = target ? *target : nullptr;
    if (!world || (dx == 0 && dy == 0)) return;
    for (FaceRecord* f = world->selectedFaces; f; f = f->selNext) {
        f->texInfo.sShift += float(dx);
        f->texInfo.tShift += float(dy);
        f->flags |= FaceFlags::NeedsUpdate;
        if (f->brush) f->brush->handle->update(0);
    }
    Map_OpFinish(world, false);
}

void cFacePropertiesDialog::alignToView(MapWorld*, int32_t id, cCanvas*) {
    calls.append(QStringLiteral("alignToView %1").arg(id));
}

void cFacePropertiesDialog::assignNullTexture(MapWorld*, int32_t id, int32_t mode) {
    calls.append(QStringLiteral("assignNullTexture %1 %2").arg(id).arg(mode));
}
