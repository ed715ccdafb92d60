// The texture choice of the surface properties dialog (group and texture combos with the recent
// textures on top, browse, replace, size label, preview) and the patch control-point editor.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "core/NumberText.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/editing/FaceMapping.h"
#include "dialogs/editing/FacePropertiesDialog.h"
#include "dialogs/editing/TextureListFill.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/UndoHistory.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureRecords.h"
#include "views/TextureView.h"
#include "dialogs/application/DialogHost.h"
#include "map/MapBrush.h"
#include "map/MapPatch.h"
#include "document/SelectionBox.h"
#include "tools/ToolSupport.h"
#include "ui_FacePropertiesDialog.h"

namespace {

const QString kAllTextures = QStringLiteral("(All Textures)");

// Selects the item whose text matches the name, ignoring case; none: no current item.
void selectName(QComboBox* combo, const QString& name) {
    combo->setCurrentIndex(combo->findText(name, Qt::MatchFixedString));
}

} // namespace

void cFacePropertiesDialog::exec_on_editTexture() {
    if (m_recentGuard) return;
    // A combo without a current item (no lists, or a name they do not hold) keeps the name.
    const QString name =
        m_loading || ui->lstTexture->currentIndex() < 0 ? m_textureName : ui->lstTexture->currentText();
    TextureLists* lists = GameCfg_CurrentTextureLists();
    ShaderRecord* record = TexList_FindShader(lists, name);
    const QString group = lists ? TexList_FindGroup(lists, name) : QString();
    const bool missing = group == QLatin1String(kMissingTexturesGroup);
    if (record) {
        m_recentGuard = true;
        if (TexList_AddRecent(lists, name)) TexList_FillRecentTextures(lists, ui->lstTexture, name);
        m_recentGuard = false;
    }
    if (m_loading) {
        const QString shown = ui->lstTextureGroup->currentText();
        if (shown != kAllTextures && shown != group) {
            m_textureGroup = missing ? kAllTextures : group;
            selectName(ui->lstTextureGroup, m_textureGroup);
            m_recentGuard = true;
            ui->lstTexture->clear();
            if (lists) {
                TexList_FillRecentTextures(lists, ui->lstTexture, name);
                TexList_FillGroupTextures(lists, m_textureGroup, ui->lstTexture, name, false);
                // A name the lists do not hold leaves the combo without a current item.
                if (ui->lstTexture->currentText().compare(name, Qt::CaseInsensitive) != 0)
                    selectName(ui->lstTexture, name);
            }
            m_recentGuard = false;
        } else {
            selectName(ui->lstTexture, name);
        }
    } else {
        m_textureName = m_loadedName = name;
    }
    if (record && record == Tex_CreateNoTexture())
        ui->lblTexSize->setText(tr("(not found: %1)").arg(Text_FromWindows1251(record->name)));
    else if (m_sizesDiffer)
        ui->lblTexSize->setText(tr("(different)"));
    else if (record)
        ui->lblTexSize->setText(tr("%1 x %2").arg(record->width).arg(record->height));
    else
        ui->lblTexSize->clear();
    if (m_texturesDiffer) {
        if (m_preview) {
            m_preview->setEnabled(false);
            m_preview->setShader(nullptr);
        }
        ui->lstTexture->setCurrentIndex(-1);
    } else if (m_preview) {
        m_preview->setEnabled(true);
        m_preview->setShader(record);
    }
}

void cFacePropertiesDialog::exec_on_editTextureGroup() {
    m_recentGuard = true;
    ui->lstTexture->clear();
    if (TextureLists* lists = GameCfg_CurrentTextureLists()) {
        TexList_FillRecentTextures(lists, ui->lstTexture, m_textureName);
        TexList_FillGroupTextures(lists, ui->lstTextureGroup->currentText(), ui->lstTexture, m_textureName,
                                  true);
        selectName(ui->lstTexture, m_textureName);
    }
    m_recentGuard = false;
    m_textureGroup = ui->lstTextureGroup->currentText();
    exec_on_editTexture();
}

void cFacePropertiesDialog::exec_on_browseTexture() {
    if (!browseTextures) return;
    QString group = m_textureGroup;
    const QString chosen = browseTextures(m_textureName, &group);
    const bool changed = !chosen.isEmpty() && chosen != m_textureName;
    if (!chosen.isEmpty() && (changed || m_texturesDiffer)) {
        m_texturesDiffer = m_sizesDiffer = false;
        m_textureName = chosen;
    }
    if (group != m_textureGroup) {
        selectName(ui->lstTextureGroup, group);
        exec_on_editTextureGroup();
    } else if (changed) {
        selectName(ui->lstTexture, chosen);
        exec_on_editTexture();
    }
}

void cFacePropertiesDialog::exec_on_replaceTexture() {
    if (replaceTextures && !replaceTextures(m_textureName).isEmpty()) refreshFromSelection(false);
    exec_on_editTextureGroup();
}

void cFacePropertiesDialog::setTextureSelection(bool enable, bool repaintPreview, const QString& group,
                                                const QString& name) {
    MapWorld* world = targetWorld();
    if (m_loadedName.isEmpty() && world && world->selectedFaces) return;
    if (!group.isEmpty()) m_textureGroup = group;
    if (!name.isEmpty()) m_textureName = name;
    for (QWidget* w : {static_cast<QWidget*>(ui->lstTextureGroup), static_cast<QWidget*>(ui->lstTexture),
                       static_cast<QWidget*>(ui->lblTexSize)})
        w->setEnabled(enable);
    ui->lstTextureGroup->clear();
    if (enable) {
        if (TextureLists* lists = GameCfg_CurrentTextureLists())
            TexList_FillGroupCombo(lists, ui->lstTextureGroup, m_textureGroup);
        exec_on_editTextureGroup();
    } else {
        ui->lstTexture->clear();
        ui->lblTexSize->clear();
        if (m_preview) m_preview->setShader(nullptr);
    }
    if (m_preview) {
        m_preview->setEnabled(enable);
        if (repaintPreview) m_preview->repaint();
    }
    ui->btnBrowse->setEnabled(enable);
    ui->btnReplace->setEnabled(enable);
}

void cFacePropertiesDialog::createPreview() {
    if (m_preview) return;
    m_preview = new cTextureView(ui->frame);
    m_preview->setGeometry(ui->frame->rect().adjusted(6, 6, -6, -6));
    m_preview->setEnabled(false);
    m_preview->show();
}

// ---- Control points ----

void cFacePropertiesDialog::fillPatchCombos(const PatchRecord* patch, int column, int row) {
    for (int i = 1; i <= patch->columns; ++i)
        ui->cbPatchColumn->addItem(QString::number(i));
    for (int i = 1; i <= patch->rows; ++i)
        ui->cbPatchRow->addItem(QString::number(i));
    ui->cbPatchColumn->setCurrentIndex(std::clamp(column, 0, int(patch->columns) - 1));
    ui->cbPatchRow->setCurrentIndex(std::clamp(row, 0, int(patch->rows) - 1));
    exec_on_patchSelectCtrl();
}

namespace {

PatchRecord* firstPatch(MapWorld* world) {
    for (BrushRecord* b = world ? world->selectedBrushes : nullptr; b; b = b->selNext)
        if (b->patch) return b->patch;
    return nullptr;
}

float* coordinate(PatchPoint& point, int which) {
    return which < 3 ? &point.xyz[which] : which == 3 ? &point.s : &point.t;
}

} // namespace

void cFacePropertiesDialog::exec_on_patchSelectCtrl() {
    const int column = ui->cbPatchColumn->currentIndex(), row = ui->cbPatchRow->currentIndex();
    PatchRecord* patch = firstPatch(targetWorld());
    if (!patch || column < 0 || row < 0 || column >= patch->columns || row >= patch->rows) return;
    PatchPoint& point = patch->points[column][row];
    QLineEdit* edits[5] = {ui->txtPatchX, ui->txtPatchY, ui->txtPatchZ, ui->txtPatchU, ui->txtPatchV};
    for (int i = 0; i < 5; ++i)
        edits[i]->setText(QString::number(*coordinate(point, i), 'g', 6));
}

// A typed coordinate: within the world for X, Y and Z, within the texture limit for U and V. Any
// other text is refused with a message and the field shows the point's value again.
void cFacePropertiesDialog::setControlPointText(int which, QLineEdit* edit) {
    const double limit = which < 3 ? double(Select_HalfWorldSize()) : kNumberTextureLimit;
    float value = 0.0f;
    if (Number_Read(edit->text(), -limit, limit, &value)) {
        setControlPointValue(which, value);
        return;
    }
    const QString refused = edit->text();
    if (ui->patchCtrlGroup->isEnabled()) exec_on_patchSelectCtrl();
    Prompt_Message(this, PromptIcon::Warning, Number_RefusalText(refused, -limit, limit));
}

void cFacePropertiesDialog::setControlPointValue(int which, float value) {
    MapWorld* world = targetWorld();
    const int column = ui->cbPatchColumn->currentIndex(), row = ui->cbPatchRow->currentIndex();
    PatchRecord* patch = firstPatch(world);
    if (!patch || which < 0 || which > 4 || column < 0 || row < 0 || column >= patch->columns ||
        row >= patch->rows || !std::isfinite(value))
        return;
    if (UndoHistory* history = Map_OpHistory(world)) {
        Undo_BeginLevel(history, "Modify Control Point");
        Undo_SaveBrush(history, patch->brush, UndoList::ChangedBrushes, true);
        if (history->recording) {
            Undo_EndLevel(history);
            Tool_UpdateActions(0x2);
        }
    }
    *coordinate(patch->points[column][row], which) = value;
    Patch_RebuildMesh(patch);
    Map_OpFinish(world, false);
    if (DialogHost* host = Dialog_Host()) host->updateAllViews(3);
}

void cFacePropertiesDialog::exec_on_patchSetCtrlX() {
    setControlPointText(0, ui->txtPatchX);
}
void cFacePropertiesDialog::exec_on_patchSetCtrlY() {
    setControlPointText(1, ui->txtPatchY);
}
void cFacePropertiesDialog::exec_on_patchSetCtrlZ() {
    setControlPointText(2, ui->txtPatchZ);
}
void cFacePropertiesDialog::exec_on_patchSetCtrlU() {
    setControlPointText(3, ui->txtPatchU);
}
void cFacePropertiesDialog::exec_on_patchSetCtrlV() {
    setControlPointText(4, ui->txtPatchV);
}
