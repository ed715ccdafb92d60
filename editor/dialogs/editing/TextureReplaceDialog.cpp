#include "dialogs/editing/TextureReplaceDialog.h"

#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/Prompt.h"
#include "core/TextEncoding.h"
#include "gamedata/TextureLists.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/OperationSupport.h"
#include "document/SelectionSummary.h"
#include "document/UndoHistory.h"
#include "gamedata/GameConfig.h"
#include "gamedata/TextureRecords.h"
#include "views/TextureView.h"
#include "dialogs/application/DialogHost.h"
#include "map/MapBrush.h"
#include "map/MapEntity.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "tools/ToolSupport.h"
#include "ui_TextureReplaceDialog.h"

namespace {

// Case folding of Windows-1251 map text: Latin and Cyrillic letters, as the name index upper-cases.
struct FoldTable {
    unsigned char lower[256];
    FoldTable() {
        for (int c = 0; c < 256; ++c)
            lower[c] = static_cast<unsigned char>(c);
        for (int c = 'A'; c <= 'Z'; ++c)
            lower[c] = static_cast<unsigned char>(c + 32);
        for (int c = 0xC0; c <= 0xDF; ++c)
            lower[c] = static_cast<unsigned char>(c + 32);
        lower[0xA8] = 0xB8; // Yo
    }
};
const FoldTable kFold;

bool sameFolded(const char* a, const char* b, size_t length) {
    for (size_t i = 0; i < length; ++i)
        if (kFold.lower[static_cast<unsigned char>(a[i])] != kFold.lower[static_cast<unsigned char>(b[i])])
            return false;
    return true;
}

size_t nameLength(const char* name) {
    return strnlen(name, kTextureNameMax);
}

} // namespace

// One run of replaceTextures or markTextures.
struct cTextureReplaceDialog::Pass {
    MapWorld* world = nullptr;
    UndoHistory* history = nullptr;
    const char* levelName = nullptr;
    bool levelOpen = false;
    QByteArray find;        // Windows-1251
    QByteArray replacement; // Windows-1251; the replacement record's name when there is one
    int mode = ReplaceMode::Exact;
    int scope = 0;
    int hidden = kReplaceSkipHidden;
    float factor = 1.0f;
    int count = 0;

    bool matches(const char* name) const {
        const size_t length = nameLength(name), wanted = size_t(find.size());
        if (mode == ReplaceMode::Exact) return length == wanted && sameFolded(name, find.constData(), wanted);
        if (wanted == 0 || wanted > length) return false;
        for (size_t at = 0; at + wanted <= length; ++at)
            if (sameFolded(name + at, find.constData(), wanted)) return true;
        return false;
    }
    bool faceInScope(const FaceRecord* face) const {
        return scope != kReplaceScopeMarked || (face->flags & FaceFlags::Selected) ||
               (face->brush->flags & BrushFlags::Selected);
    }
    bool brushInScope(const BrushRecord* brush) const {
        return scope != kReplaceScopeMarked || (brush->flags & BrushFlags::Selected);
    }
    // The level opens with the first change, so a run that finds nothing keeps the redo chain.
    void openLevel() {
        if (levelOpen || !history) return;
        Undo_BeginLevel(history, levelName);
        levelOpen = true;
    }
    void saveFace(FaceRecord* face) {
        openLevel();
        if (history) Undo_SaveFace(history, face, UndoList::ChangedFaces);
    }
    // Rescaling moves patch control points and overlay corners: the snapshot keeps the geometry.
    void saveBrush(BrushRecord* brush) {
        openLevel();
        if (history) Undo_SaveBrush(history, brush, UndoList::ChangedBrushes, true);
    }
    // Visits every brush of every entity in list order, hidden ones only when asked.
    template <class Visit> void forEachBrush(Visit visit) const {
        for (EntityRecord* entity = world->entities; entity; entity = entity->next) {
            if ((hidden & kReplaceSkipHidden) && (entity->flags & EntityFlag::Hidden)) continue;
            for (BrushRecord* brush = entity->firstBrush; brush;) {
                BrushRecord* next = brush->next;
                if (!((hidden & kReplaceSkipHidden) && (brush->flags & BrushFlags::Hidden))) visit(brush);
                brush = next;
            }
        }
    }
    void finish() {
        if (levelOpen && history && history->recording) {
            Undo_EndLevel(history);
            Tool_UpdateActions(0x2);
        }
    }
};

cTextureReplaceDialog::cTextureReplaceDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cTextureReplaceDialog>()) {
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    connect(ui->btnFind, &QPushButton::clicked, this, &cTextureReplaceDialog::exec_on_browseFindText);
    connect(ui->btnReplace, &QPushButton::clicked, this, &cTextureReplaceDialog::exec_on_browseReplaceText);
    connect(ui->txtFind, &QLineEdit::textEdited, this, &cTextureReplaceDialog::exec_on_changeFindText);
    connect(ui->txtReplace, &QLineEdit::textEdited, this, &cTextureReplaceDialog::exec_on_changeReplaceText);
    connect(ui->txtFind, &QLineEdit::textChanged, this, &cTextureReplaceDialog::exec_on_checkInput);
    connect(ui->txtReplace, &QLineEdit::textChanged, this, &cTextureReplaceDialog::exec_on_checkInput);
    connect(ui->cbMark, &QCheckBox::clicked, this, &cTextureReplaceDialog::exec_on_checkInput);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &cTextureReplaceDialog::exec_on_accept);
    // Marking needs no replacement; the factor only counts while its box is checked.
    connect(ui->cbMark, &QCheckBox::toggled, this, [this](bool mark) {
        ui->txtReplace->setEnabled(!mark);
        ui->wReplace->setEnabled(!mark);
        ui->btnReplace->setEnabled(!mark && !(browserDialog && browserDialog->isVisible()));
    });
    connect(ui->cbScale, &QCheckBox::toggled, ui->sbScale, &QWidget::setEnabled);
    exec_on_checkInput();
}

cTextureReplaceDialog::~cTextureReplaceDialog() = default;

void cTextureReplaceDialog::createPreviews() {
    if (m_findView) return;
    auto make = [](QWidget* holder) {
        auto* view = new cTextureView(holder);
        view->setGeometry(holder->rect());
        view->setEnabled(false);
        view->show();
        return view;
    };
    m_findView = make(ui->wFind);
    m_replaceView = make(ui->wReplace);
}

MapWorld* cTextureReplaceDialog::world() const {
    return Map_FromHandle(m_map);
}

ShaderRecord* cTextureReplaceDialog::lookUp(const QString& text, cTextureView* view, bool* known) {
    const TextureLists* lists = GameCfg_CurrentTextureLists();
    ShaderRecord* record = TexList_FindShader(lists, text);
    if (!record) record = TexList_FindShader(lists, text.toUpper());
    *known = record != nullptr;
    if (view) {
        view->setEnabled(*known);
        view->setShader(record);
        view->update();
    }
    return record;
}

void cTextureReplaceDialog::setFindTexture(const QString& name) {
    m_lastName = name;
    ui->txtFind->setText(name);
    lookUp(name, m_findView, &m_findKnown);
}

void cTextureReplaceDialog::setMarkedAvailable(bool available) {
    ui->rbInMarked->setEnabled(available);
    if (!available) ui->rbInAll->setChecked(true);
}

void cTextureReplaceDialog::exec_on_changeFindText() {
    lookUp(ui->txtFind->text(), m_findView, &m_findKnown);
}

void cTextureReplaceDialog::exec_on_changeReplaceText() {
    lookUp(ui->txtReplace->text(), m_replaceView, &m_replaceKnown);
}

void cTextureReplaceDialog::browse(bool replacement) {
    QLineEdit* field = replacement ? ui->txtReplace : ui->txtFind;
    const bool known = replacement ? m_replaceKnown : m_findKnown;
    const QString chosen = browseTextures ? browseTextures(known ? field->text() : QString()) : QString();
    if (!chosen.isEmpty() && chosen != field->text()) {
        field->setText(chosen);
        if (replacement)
            exec_on_changeReplaceText();
        else
            exec_on_changeFindText();
    }
    if (DialogHost* host = Dialog_Host()) host->checkActiveState(false, false);
}

void cTextureReplaceDialog::exec_on_browseFindText() {
    browse(false);
}

void cTextureReplaceDialog::exec_on_browseReplaceText() {
    browse(true);
}

void cTextureReplaceDialog::exec_on_checkInput() {
    const QString find = ui->txtFind->text(), replacement = ui->txtReplace->text();
    const bool ok = !find.trimmed().isEmpty() &&
                    (ui->cbMark->isChecked() || (!replacement.trimmed().isEmpty() && replacement != find));
    if (QPushButton* button = ui->buttonBox->button(QDialogButtonBox::Ok)) button->setEnabled(ok);
}

void cTextureReplaceDialog::exec_on_accept() {
    const int scope = ui->rbInMarked->isChecked() ? kReplaceScopeMarked : 0;
    const int hidden = ui->cbInHidden->isChecked() ? 0 : kReplaceSkipHidden;
    const int mode = ui->rbActPartial->isChecked() ? ReplaceMode::Partial
                     : ui->rbActSubst->isChecked() ? ReplaceMode::Substitute
                                                   : ReplaceMode::Exact;
    float factor = ui->cbScale->isChecked() ? float(ui->sbScale->value()) : 1.0f;
    if (factor < 0.001f) factor = 1.0f;
    const QString find = ui->txtFind->text(), replacement = ui->txtReplace->text();
    int count = 0;
    QString none, some;
    if (ui->cbMark->isChecked()) {
        count = markTextures(find, mode, scope, hidden, factor);
        none = tr("No objects marked.");
        some = tr("%1 objects marked.");
    } else {
        count = replaceTextures(find, replacement, mode, scope, hidden, factor);
        none = tr("No textures replaced.");
        some = tr("%1 textures replaced.");
    }
    if (m_replaceKnown && !ui->cbMark->isChecked())
        m_lastName = replacement;
    else if (m_findKnown)
        m_lastName = find;
    QWidget* parent = m_messageParent ? m_messageParent : this;
    if (count > 0)
        Prompt_Message(parent, PromptIcon::Information, some.arg(count));
    else
        Prompt_Message(parent, PromptIcon::Warning, none);
    accept();
}

void cTextureReplaceDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (DialogHost* host = Dialog_Host()) host->updateTextureBar(false);
    const bool browsing = browserDialog && browserDialog->isVisible();
    ui->btnFind->setEnabled(!browsing);
    ui->btnReplace->setEnabled(!browsing && !ui->cbMark->isChecked());
}

// ---- Rescaling -----------------------------------------------------------------------------------

void cTextureReplaceDialog::rescale(FaceRecord* face, float factor) {
    TextureInfo& t = face->texInfo;
    t.sScale *= factor;
    t.tScale *= factor;
    t.sShift /= factor;
    t.tShift /= factor;
}

namespace {

// The ratio by which an axis's texture coordinates change when its scale becomes factor times as
// large; 1 (the axis left alone) when the old scale is 0 or not a number, which would give 0/0.
float axisRatio(float* scale, float factor) {
    const float old = *scale;
    if (!std::isfinite(old) || old == 0.0f) return 1.0f;
    *scale = old * factor;
    return old / *scale;
}

} // namespace

void cTextureReplaceDialog::rescale(PatchRecord* patch, float factor) {
    patch->handle->clampCounts();
    const float rs = axisRatio(&patch->texInfo.sScale, factor);
    const float rt = axisRatio(&patch->texInfo.tScale, factor);
    for (int c = 0; c < patch->columns; ++c)
        for (int r = 0; r < patch->rows; ++r) {
            patch->points[c][r].s *= rs;
            patch->points[c][r].t *= rt;
        }
    for (int v = 0; v < patch->vertexCount; ++v) {
        patch->vertices[v].s *= rs;
        patch->vertices[v].t *= rt;
    }
    patch->handle->update(0);
}

void cTextureReplaceDialog::rescale(OverlayRecord* overlay, float factor) {
    const float rs = axisRatio(&overlay->texInfo.sScale, factor);
    const float rt = axisRatio(&overlay->texInfo.tScale, factor);
    for (OverlayCorner& corner : overlay->corners) {
        corner.s *= rs;
        corner.t *= rt;
    }
    overlay->handle->update(0);
}

// ---- Replacing -----------------------------------------------------------------------------------

// Mode 2 substitutes every occurrence in one left-to-right pass, so a replacement holding the
// find text is never searched again.
const char* cTextureReplaceDialog::newName(const Pass& pass, const char* oldName, char* out) const {
    if (pass.mode != ReplaceMode::Substitute) return pass.replacement.constData();
    const size_t length = nameLength(oldName), wanted = size_t(pass.find.size());
    const size_t room = size_t(kTextureNameMax);
    size_t written = 0;
    auto put = [&](const char* text, size_t count) {
        count = std::min(count, room - written);
        std::memcpy(out + written, text, count);
        written += count;
    };
    for (size_t at = 0; at < length && written < room;) {
        if (wanted && at + wanted <= length && sameFolded(oldName + at, pass.find.constData(), wanted)) {
            put(pass.replacement.constData(), size_t(pass.replacement.size()));
            at += wanted;
        } else {
            put(oldName + at++, 1);
        }
    }
    out[written] = '\0';
    return out;
}

void cTextureReplaceDialog::replaceFaceTexture(const Pass& pass, FaceRecord* face) {
    char name[kTextureNameMax + 1];
    face->handle->setTextureName(newName(pass, face->texInfo.name, name));
}

void cTextureReplaceDialog::replacePatchTexture(const Pass& pass, PatchRecord* patch) {
    char name[kTextureNameMax + 1];
    patch->handle->setTexture(newName(pass, patch->texInfo.name, name));
}

void cTextureReplaceDialog::replaceOverlayTexture(const Pass& pass, OverlayRecord* overlay) {
    char name[kTextureNameMax + 1];
    overlay->handle->setTexture(newName(pass, overlay->texInfo.name, name));
}

int cTextureReplaceDialog::replaceTextures(const QString& find, const QString& replacement, int mode,
                                           int scope, int hidden, float factor) {
    Pass pass;
    pass.world = world();
    if (!pass.world || find.isEmpty()) return 0;
    pass.history = Map_OpHistory(pass.world);
    pass.levelName = "Replace Textures";
    pass.find = Text_ToWindows1251(find);
    // Looked up now, not kept from the last edit: the lists may have been rebuilt since.
    bool known = false;
    const ShaderRecord* record = lookUp(replacement, nullptr, &known);
    pass.replacement = record && mode != ReplaceMode::Substitute
                           ? QByteArray(record->name, qsizetype(nameLength(record->name)))
                           : Text_ToWindows1251(replacement);
    pass.mode = mode;
    pass.scope = scope;
    pass.hidden = hidden;
    // Shifts are divided by the factor: one too small counts as 1, as the dialog reads it.
    pass.factor = factor >= 0.001f ? factor : 1.0f;
    const bool scaled = pass.factor != 1.0f;
    pass.forEachBrush([&](BrushRecord* brush) {
        for (FaceRecord* face = brush->firstFace; face; face = face->next) {
            if (!pass.faceInScope(face) || !pass.matches(face->texInfo.name)) continue;
            pass.saveFace(face);
            replaceFaceTexture(pass, face);
            if (scaled) rescale(face, pass.factor);
            face->handle->update(FaceUpdate::TexCoords);
            ++pass.count;
        }
        if (!pass.brushInScope(brush)) return;
        if (PatchRecord* patch = brush->patch; patch && pass.matches(patch->texInfo.name)) {
            pass.saveBrush(brush);
            replacePatchTexture(pass, patch);
            if (scaled) rescale(patch, pass.factor);
            ++pass.count;
        }
        if (OverlayRecord* overlay = brush->overlay; overlay && pass.matches(overlay->texInfo.name)) {
            pass.saveBrush(brush);
            replaceOverlayTexture(pass, overlay);
            if (scaled) rescale(overlay, pass.factor);
            ++pass.count;
        }
    });
    pass.finish();
    if (pass.count) {
        Map_OpFinish(pass.world, false);
        Map_OpRedraw(pass.world, ViewMask::Views2D | ViewMask::View3D);
    }
    return pass.count;
}

// ---- Marking -------------------------------------------------------------------------------------

int cTextureReplaceDialog::markTextures(const QString& find, int mode, int scope, int hidden, float factor) {
    Pass pass;
    pass.world = world();
    if (!pass.world || find.isEmpty()) return 0;
    pass.history = Map_OpHistory(pass.world);
    pass.levelName = "Rescale Textures";
    pass.find = Text_ToWindows1251(find);
    pass.mode = mode;
    pass.scope = scope;
    pass.hidden = hidden;
    // Shifts are divided by the factor: one too small counts as 1, as the dialog reads it.
    pass.factor = factor >= 0.001f ? factor : 1.0f;
    const bool scaled = pass.factor != 1.0f;
    const bool faceMode = pass.world->selectionMode == SelectionMode::Faces;
    std::vector<FaceRecord*> faces;
    std::vector<BrushRecord*> brushes;
    pass.forEachBrush([&](BrushRecord* brush) {
        bool collected = false;
        for (FaceRecord* face = brush->firstFace; face; face = face->next) {
            if (!pass.faceInScope(face) || !pass.matches(face->texInfo.name)) continue;
            if (scaled) {
                pass.saveFace(face);
                rescale(face, pass.factor);
                face->handle->update(FaceUpdate::TexCoords);
            }
            if (faceMode) {
                faces.push_back(face);
            } else if (!collected) {
                brushes.push_back(brush);
                collected = true;
                // Without a factor the brush is marked: its other faces need no look.
                if (!scaled) break;
            }
        }
        if (!pass.brushInScope(brush)) return;
        for (int kind = 0; kind < 2; ++kind) {
            const char* name = kind == 0 ? (brush->patch ? brush->patch->texInfo.name : nullptr)
                                         : (brush->overlay ? brush->overlay->texInfo.name : nullptr);
            if (!name || !pass.matches(name)) continue;
            if (scaled) {
                pass.saveBrush(brush);
                if (kind == 0)
                    rescale(brush->patch, pass.factor);
                else
                    rescale(brush->overlay, pass.factor);
            }
            if (!collected) brushes.push_back(brush);
            collected = true;
        }
    });
    Map_ClearSelectionFlags(pass.world);
    for (FaceRecord* face : faces)
        Map_SelectObject(pass.world, face);
    for (BrushRecord* brush : brushes)
        Map_SelectObject(pass.world, brush);
    pass.count = int(faces.size() + brushes.size());
    if (scaled) {
        pass.finish();
        if (pass.count) Map_OpFinish(pass.world, false);
    }
    Map_UpdateSelectionSummary(pass.world);
    if (DialogHost* host = Dialog_Host())
        host->notifySelectionChanged();
    else
        Tool_UpdateActions(0x115);
    Map_OpRedraw(pass.world, ViewMask::Views2D | ViewMask::View3D);
    return pass.count;
}
