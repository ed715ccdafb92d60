#include "dialogs/editing/FaceMapping.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "dialogs/editing/FacePropertiesDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QDoubleValidator>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <cstring>
#include <vector>

#include "core/System.h"
#include "core/TextEncoding.h"
#include "document/MapWorld.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/TextureManager.h"
#include "gamedata/TextureRecords.h"
#include "views/TextureView.h"
#include "dialogs/application/DialogHost.h"
#include "gamedata/GameDataHost.h"
#include "dialogs/application/QCustomAction.h"
#include "map/MapBrush.h"
#include "map/MapFace.h"
#include "map/MapOverlay.h"
#include "map/MapPatch.h"
#include "tools/ToolSupport.h"
#include "ui_FacePropertiesDialog.h"

namespace {

// Edit modes in menu order: entries 6 and 7 are the NULL modes, entry 8 aligns to the view.
constexpr int kMenuModes[9] = {0, 1, 2, 3, 4, 5, 7, 8, 6};

struct ModeText {
    const char* menu;
    const char* caption;
};
constexpr ModeText kModeTexts[9] = {
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Lift + Select"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: Li&ft+Select")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Lift"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: &Lift")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Select"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: &Select")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Apply (texture only)"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: Apply (&texture)")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Apply (texture + values)"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: &Apply (all)")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Apply (texture + axes + values)"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: Apply (all + copy a&xes)")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Align to View"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: Align To &View")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "NULL to Selected"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: NULL To &Selected")},
    {QT_TRANSLATE_NOOP("cFacePropertiesDialog", "NULL to Unselected"),
     QT_TRANSLATE_NOOP("cFacePropertiesDialog", "Mode: NULL To &Unselected")},
};

bool sameFloat(float a, float b) {
    return a == b;
}

// The profile's first flag bits come from plugins: only their low five bits name a bit.
int firstBit(int32_t value) {
    return value & 31;
}

} // namespace

cFacePropertiesDialog::cFacePropertiesDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui_cFacePropertiesDialog>()) {
    ui->setupUi(this);
    setFixedSize(308, height());
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    ui->tabWidget->setCurrentIndex(0);
    connectForm();
    createFlagBoxes();
    createModeMenu();
}

cFacePropertiesDialog::~cFacePropertiesDialog() = default;

QWidget* cFacePropertiesDialog::field(int page, int which) const {
    static constexpr const char* kNames[FieldCount] = {"sbScaleX", "sbScaleY", "sbShiftX", "sbShiftY",
                                                       "sbRotate", "sbValue",  "sbSsize"};
    if (page < 0 || page > 2 || which < 0 || which >= FieldCount || (page == 1 && which >= Value))
        return nullptr;
    QWidget*& found = m_fields[page][which];
    if (!found)
        found = findChild<QAbstractSpinBox*>(QLatin1String(kNames[which]) +
                                             (page ? QString::number(page + 1) : QString()));
    return found;
}

void cFacePropertiesDialog::setFieldNumber(int page, int which, double value) {
    QWidget* box = field(page, which);
    if (auto* d = qobject_cast<QDoubleSpinBox*>(box)) d->setValue(value);
    if (auto* i = qobject_cast<QSpinBox*>(box)) i->setValue(int(value));
}

void cFacePropertiesDialog::clearField(int page, int which) {
    if (auto* box = qobject_cast<QAbstractSpinBox*>(field(page, which))) box->clear();
}

void cFacePropertiesDialog::rememberFieldTexts() {
    for (int page = 0; page < 3; ++page)
        for (int which = 0; which < FieldCount; ++which)
            if (auto* box = qobject_cast<QAbstractSpinBox*>(field(page, which)))
                m_lastTexts[page][which] = box->text();
}

// A finished edit whose text differs from the loaded one applies the field's value (also when it
// equals the box's value: a field emptied for a mixed selection applies what is typed into it).
void cFacePropertiesDialog::checkField(int page, int which) {
    auto* box = qobject_cast<QAbstractSpinBox*>(field(page, which));
    if (!box || box->text() == m_lastTexts[page][which]) return;
    double value = 0.0;
    if (auto* d = qobject_cast<QDoubleSpinBox*>(box)) value = d->value();
    if (auto* i = qobject_cast<QSpinBox*>(box)) value = i->value();
    using Setter = void (cFacePropertiesDialog::*)(double);
    using IntSetter = void (cFacePropertiesDialog::*)(int);
    static constexpr Setter kSetters[3][5] = {
        {&cFacePropertiesDialog::exec_on_setScaleX, &cFacePropertiesDialog::exec_on_setScaleY,
         &cFacePropertiesDialog::exec_on_setShiftX, &cFacePropertiesDialog::exec_on_setShiftY,
         &cFacePropertiesDialog::exec_on_setRotate},
        {&cFacePropertiesDialog::exec_on_setScaleX2, &cFacePropertiesDialog::exec_on_setScaleY2,
         &cFacePropertiesDialog::exec_on_setShiftX2, &cFacePropertiesDialog::exec_on_setShiftY2,
         &cFacePropertiesDialog::exec_on_setRotate2},
        {&cFacePropertiesDialog::exec_on_setScaleX3, &cFacePropertiesDialog::exec_on_setScaleY3,
         &cFacePropertiesDialog::exec_on_setShiftX3, &cFacePropertiesDialog::exec_on_setShiftY3,
         &cFacePropertiesDialog::exec_on_setRotate3}};
    static constexpr IntSetter kIntSetters[3][2] = {
        {&cFacePropertiesDialog::exec_on_setValue, &cFacePropertiesDialog::exec_on_setSsize},
        {nullptr, nullptr},
        {&cFacePropertiesDialog::exec_on_setValue3, &cFacePropertiesDialog::exec_on_setSsize3}};
    if (which < Value)
        (this->*kSetters[page][which])(value);
    else if (kIntSetters[page][which - Value])
        (this->*kIntSetters[page][which - Value])(int(value));
}

void cFacePropertiesDialog::connectForm() {
    using D = cFacePropertiesDialog;
    connect(ui->lstTextureGroup, &QComboBox::activated, this, &D::exec_on_editTextureGroup);
    connect(ui->lstTexture, &QComboBox::activated, this, &D::exec_on_editTexture);
    connect(ui->btnBrowse, &QPushButton::clicked, this, &D::exec_on_browseTexture);
    connect(ui->btnReplace, &QPushButton::clicked, this, &D::exec_on_replaceTexture);
    connect(ui->btnApply, &QPushButton::clicked, this, qOverload<>(&D::exec_on_applyTexture));
    connect(ui->btnHideMask, &QPushButton::clicked, this, &D::exec_on_setHideMask);
    connect(ui->btnMode, &QPushButton::clicked, this, &D::exec_on_execModeMenu);
    // Numeric fields: the value slot and the check slot of every page.
    using Setter = void (D::*)(double);
    const struct {
        QDoubleSpinBox* box;
        Setter set;
        int page, which;
    } doubles[] = {
        {ui->sbScaleX, &D::exec_on_setScaleX, 0, ScaleX},
        {ui->sbScaleY, &D::exec_on_setScaleY, 0, ScaleY},
        {ui->sbShiftX, &D::exec_on_setShiftX, 0, ShiftX},
        {ui->sbShiftY, &D::exec_on_setShiftY, 0, ShiftY},
        {ui->sbRotate, &D::exec_on_setRotate, 0, Rotate},
        {ui->sbScaleX2, &D::exec_on_setScaleX2, 1, ScaleX},
        {ui->sbScaleY2, &D::exec_on_setScaleY2, 1, ScaleY},
        {ui->sbShiftX2, &D::exec_on_setShiftX2, 1, ShiftX},
        {ui->sbShiftY2, &D::exec_on_setShiftY2, 1, ShiftY},
        {ui->sbRotate2, &D::exec_on_setRotate2, 1, Rotate},
        {ui->sbScaleX3, &D::exec_on_setScaleX3, 2, ScaleX},
        {ui->sbScaleY3, &D::exec_on_setScaleY3, 2, ScaleY},
        {ui->sbShiftX3, &D::exec_on_setShiftX3, 2, ShiftX},
        {ui->sbShiftY3, &D::exec_on_setShiftY3, 2, ShiftY},
        {ui->sbRotate3, &D::exec_on_setRotate3, 2, Rotate},
    };
    for (const auto& d : doubles) {
        d.box->installEventFilter(this);
        connect(d.box, &QDoubleSpinBox::valueChanged, this, d.set);
        connect(d.box, &QAbstractSpinBox::editingFinished, this,
                [this, page = d.page, which = d.which] { checkField(page, which); });
    }
    using IntSetter = void (D::*)(int);
    const struct {
        QSpinBox* box;
        IntSetter set;
        int page, which;
    } ints[] = {{ui->sbValue, &D::exec_on_setValue, 0, Value},
                {ui->sbSsize, &D::exec_on_setSsize, 0, Ssize},
                {ui->sbValue3, &D::exec_on_setValue3, 2, Value},
                {ui->sbSsize3, &D::exec_on_setSsize3, 2, Ssize}};
    for (const auto& i : ints) {
        i.box->installEventFilter(this);
        connect(i.box, &QSpinBox::valueChanged, this, i.set);
        connect(i.box, &QAbstractSpinBox::editingFinished, this,
                [this, page = i.page, which = i.which] { checkField(page, which); });
    }
    const struct {
        QAbstractButton* button;
        void (D::*slot)();
    } buttons[] = {
        {ui->btnReset, &D::exec_on_reset},
        {ui->btnRot1, &D::exec_on_rotate1},
        {ui->btnRot2, &D::exec_on_rotate2},
        {ui->btnRot3, &D::exec_on_rotate3},
        {ui->cbAlignWorld, &D::exec_on_setWorldAlign},
        {ui->cbAlignFace, &D::exec_on_setFaceAlign},
        {ui->btnT, &D::exec_on_justifyT},
        {ui->btnB, &D::exec_on_justifyB},
        {ui->btnL, &D::exec_on_justifyL},
        {ui->btnR, &D::exec_on_justifyR},
        {ui->btnC, &D::exec_on_justifyC},
        {ui->btnFit, &D::exec_on_justifyF},
        {ui->btnReset2, &D::exec_on_reset2},
        {ui->btnPatchCap, &D::exec_on_patchCap},
        {ui->btnPatchSet, &D::exec_on_patchSet},
        {ui->btnPatchNat, &D::exec_on_patchNatural},
        {ui->btnPatchFit, &D::exec_on_patchFit},
        {ui->btnReset3, &D::exec_on_reset3},
        {ui->btnOverlayFit, &D::exec_on_overlayFit},
    };
    for (const auto& b : buttons) {
        connect(b.button, &QAbstractButton::clicked, this, b.slot);
        b.button->installEventFilter(this);
    }
    // Control points: numbers in the C locale whatever the user's locale.
    const struct {
        QLineEdit* edit;
        void (D::*slot)();
    } points[] = {{ui->txtPatchX, &D::exec_on_patchSetCtrlX},
                  {ui->txtPatchY, &D::exec_on_patchSetCtrlY},
                  {ui->txtPatchZ, &D::exec_on_patchSetCtrlZ},
                  {ui->txtPatchU, &D::exec_on_patchSetCtrlU},
                  {ui->txtPatchV, &D::exec_on_patchSetCtrlV}};
    for (const auto& p : points) {
        auto* validator = new QDoubleValidator(this);
        validator->setLocale(QLocale::c());
        p.edit->setValidator(validator);
        p.edit->installEventFilter(this);
        connect(p.edit, &QLineEdit::editingFinished, this, p.slot);
    }
    connect(ui->cbPatchRow, &QComboBox::activated, this, &D::exec_on_patchSelectCtrl);
    connect(ui->cbPatchColumn, &QComboBox::activated, this, &D::exec_on_patchSelectCtrl);
}

void cFacePropertiesDialog::createModeMenu() {
    m_modeMenu = new QMenu(this);
    m_modeMenu->setWhatsThis(QStringLiteral("FaceEditMode"));
    for (int k = 0; k < 9; ++k) {
        auto* action = new QCustomAction(this);
        action->index = kMenuModes[k];
        action->setShortcut(QKeySequence(QStringLiteral("Shift+F%1").arg(k + 1)));
        // The keys reach the dialog through handleModeKey; the menu only shows them.
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, this, &cFacePropertiesDialog::exec_on_setEditMode);
        m_modeMenu->addAction(action);
        if (k == 2 || k == 5 || k == 7) m_modeMenu->addSeparator();
        if (k == 6 || k == 7) m_nullModeActions.append(action);
    }
}

void cFacePropertiesDialog::setEditMode(int mode) {
    if ((mode == 7 || mode == 8) && !m_nullModes) return;
    m_mode = mode;
    ui->btnMode->setText(mode >= 0 && mode <= 8 ? tr(kModeTexts[mode].caption) : QString());
}

void cFacePropertiesDialog::exec_on_setEditMode() {
    if (auto* action = qobject_cast<QCustomAction*>(sender())) setEditMode(action->index);
}

void cFacePropertiesDialog::exec_on_execModeMenu() {
    m_modeMenu->exec(ui->btnMode->mapToGlobal(QPoint(0, ui->btnMode->height())));
}

bool cFacePropertiesDialog::handleModeKey(const QKeyEvent* event) {
    if (!isVisible() || event->modifiers() != Qt::ShiftModifier) return false;
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F6)
        setEditMode(key - Qt::Key_F1);
    else if (key == Qt::Key_F9)
        setEditMode(6);
    else if (key == Qt::Key_F7 || key == Qt::Key_F8)
        setEditMode(key == Qt::Key_F7 ? 7 : 8);
    else
        return false;
    return true;
}

void cFacePropertiesDialog::updateNullModes() {
    const MapProfileRecord* profile = Face_CurrentProfile();
    TextureManager* textures = GameData_Textures();
    m_nullModes = profile && profile->nullTexture[0] && textures &&
                  Tex_FindShader(textures, profile->nullTexture) != nullptr;
    for (QAction* action : std::as_const(m_nullModeActions))
        action->setVisible(m_nullModes);
    if (!m_nullModes && (m_mode == 7 || m_mode == 8)) setEditMode(0);
}

void cFacePropertiesDialog::retranslate() {
    ui->retranslateUi(this);
    const QList<QAction*> actions = m_modeMenu->actions();
    int k = 0;
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        action->setText(tr(kModeTexts[kMenuModes[k++]].menu));
    }
    setEditMode(m_mode);
    const struct {
        QWidget* page;
        const char* title;
    } pages[] = {{ui->tabFace, QT_TR_NOOP("&Face")},
                 {ui->tabPatch, QT_TR_NOOP("&Patch")},
                 {ui->tabOverlay, QT_TR_NOOP("&Overlay")}};
    for (const auto& p : pages) {
        const int index = ui->tabWidget->indexOf(p.page);
        if (index >= 0) ui->tabWidget->setTabText(index, tr(p.title));
    }
}

void cFacePropertiesDialog::exec_on_setHideMask() {
    MainSettings* settings = Sys_MutableSettings();
    if (!settings) return;
    if (ui->btnHideMask->isChecked())
        settings->HideMask |= 0x8;
    else
        settings->HideMask &= ~0x8;
}

void cFacePropertiesDialog::exec_on_patchCap() {
    Sys_Warning("Not implemented!");
}

bool cFacePropertiesDialog::eventFilter(QObject* watched, QEvent* event) {
    // Enter in a field ends the edit there: it must not also press the default button, which
    // would apply the texture as a second undo level.
    if (event->type() == QEvent::KeyPress &&
        (qobject_cast<QAbstractSpinBox*>(watched) || qobject_cast<QLineEdit*>(watched))) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            watched->event(event);
            event->accept();
            return true;
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        m_buttonModifiers = static_cast<QInputEvent*>(event)->modifiers();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

bool cFacePropertiesDialog::shiftHeld() const {
    return (m_buttonModifiers | QApplication::keyboardModifiers()) & Qt::ShiftModifier;
}

void cFacePropertiesDialog::showEvent(QShowEvent* event) {
    if (!m_savedGeometry.isEmpty()) restoreGeometry(m_savedGeometry);
    QDialog::showEvent(event);
}

void cFacePropertiesDialog::closeEvent(QCloseEvent* event) {
    m_savedGeometry = saveGeometry();
    hide();
    // The texture chosen here becomes the window's current one.
    if (DialogHost* host = Dialog_Host()) {
        host->setCurrentTexture(m_textureName, m_textureGroup);
        host->exitTextureApplication();
        host->applySettings();
        host->updateAllViews(3);
        host->updateToolActions();
        host->updateTextureBar(false);
    }
    event->ignore();
}

// ---- Binding and loading ----

MapWorld* cFacePropertiesDialog::targetWorld() const {
    return m_target ? *m_target : nullptr;
}

void cFacePropertiesDialog::dropTarget(const MapWorld* world) {
    if (world && targetWorld() == world) setTarget(nullptr);
}

void cFacePropertiesDialog::setTarget(MapHandle map) {
    m_target = map;
    layoutFlagBoxes();
    if (width() != m_wideWidth) setFixedSize(m_wideWidth, height());
    updateNullModes();
    const MapProfileRecord* profile = Face_CurrentProfile();
    const uint32_t caps = profile ? profile->capabilities : 0;
    for (QWidget* w : {static_cast<QWidget*>(ui->sbValue), static_cast<QWidget*>(ui->lblValue),
                       static_cast<QWidget*>(ui->sbValue3), static_cast<QWidget*>(ui->lblValue3)})
        w->setVisible(caps & 0x10);
    for (QWidget* w : {static_cast<QWidget*>(ui->sbSsize), static_cast<QWidget*>(ui->lblSsize),
                       static_cast<QWidget*>(ui->sbSsize3), static_cast<QWidget*>(ui->lblSsize3)})
        w->setVisible(caps & 0x40000);
    MapWorld* world = targetWorld();
    const bool faces = world && world->selectedFaces;
    int patches = 0, overlays = 0;
    for (BrushRecord* b = world ? world->selectedBrushes : nullptr; b; b = b->selNext) {
        patches += b->patch != nullptr;
        overlays += b->overlay != nullptr;
    }
    const int tab = ui->tabWidget->currentIndex();
    ui->tabWidget->clear();
    for (QWidget* w : {static_cast<QWidget*>(ui->sbScaleX), static_cast<QWidget*>(ui->sbScaleY),
                       static_cast<QWidget*>(ui->sbShiftX), static_cast<QWidget*>(ui->sbShiftY),
                       static_cast<QWidget*>(ui->sbRotate), static_cast<QWidget*>(ui->sbValue),
                       static_cast<QWidget*>(ui->sbSsize), static_cast<QWidget*>(ui->btnFit),
                       static_cast<QWidget*>(ui->btnT), static_cast<QWidget*>(ui->btnB),
                       static_cast<QWidget*>(ui->btnL), static_cast<QWidget*>(ui->btnR),
                       static_cast<QWidget*>(ui->btnC), static_cast<QWidget*>(ui->btnRot1),
                       static_cast<QWidget*>(ui->btnRot2), static_cast<QWidget*>(ui->btnRot3),
                       static_cast<QWidget*>(ui->cbAlignWorld), static_cast<QWidget*>(ui->cbAlignFace)})
        w->setEnabled(faces);
    if (faces || (!patches && !overlays)) ui->tabWidget->addTab(ui->tabFace, tr("&Face"));
    for (QWidget* w : {ui->sbScaleX2, ui->sbScaleY2, ui->sbShiftX2, ui->sbShiftY2, ui->sbRotate2})
        w->setEnabled(patches > 0);
    ui->patchCtrlGroup->setEnabled(patches == 1);
    if (patches) ui->tabWidget->addTab(ui->tabPatch, tr("&Patch"));
    for (QWidget* w : {static_cast<QWidget*>(ui->sbScaleX3), static_cast<QWidget*>(ui->sbScaleY3),
                       static_cast<QWidget*>(ui->sbShiftX3), static_cast<QWidget*>(ui->sbShiftY3),
                       static_cast<QWidget*>(ui->sbRotate3), static_cast<QWidget*>(ui->sbValue3),
                       static_cast<QWidget*>(ui->sbSsize3)})
        w->setEnabled(overlays > 0);
    if (overlays) ui->tabWidget->addTab(ui->tabOverlay, tr("&Overlay"));
    ui->tabWidget->setCurrentIndex(std::min(tab, ui->tabWidget->count() - 1));
    ui->lblTexSize->clear();
    const bool any = faces || patches || overlays;
    ui->groupFlags->setEnabled(any);
    ui->groupFlags2->setEnabled(any);
    refreshFromSelection(false);
}

void cFacePropertiesDialog::refreshFromSelection(bool shiftsOnly) {
    MapWorld* world = targetWorld();
    if (!world) return;
    m_loading = true;
    FaceRecord* F = world->selectedFaces;
    PatchRecord* P = nullptr;
    OverlayRecord* O = nullptr;
    for (BrushRecord* b = world->selectedBrushes; b && !(P && O); b = b->selNext) {
        if (!P && b->patch) P = b->patch;
        if (!O && b->overlay) O = b->overlay;
    }
    const int column = ui->cbPatchColumn->currentIndex(), row = ui->cbPatchRow->currentIndex();
    if (!shiftsOnly) {
        ui->cbAlignWorld->setTristate(false);
        ui->cbAlignFace->setTristate(false);
        ui->btnHideMask->setChecked(Sys_Settings().HideMask & 0x8);
        ui->cbTreatAsOne->setEnabled(F && F->selNext);
        ui->cbPatchColumn->clear();
        ui->cbPatchRow->clear();
        for (QLineEdit* e : {ui->txtPatchX, ui->txtPatchY, ui->txtPatchZ, ui->txtPatchU, ui->txtPatchV})
            e->clear();
        m_texturesDiffer = m_sizesDiffer = false;
        resetFlagBoxes();
    }
    const TextureInfo* R = nullptr;
    const ShaderRecord* T = nullptr;
    // Compares one object with the reference texture (names and sizes) and feeds its flags.
    auto compareTexture = [&](const TextureInfo& info, const ShaderRecord* texture) {
        if (std::strncmp(info.name, R->name, sizeof info.name) != 0) m_texturesDiffer = true;
        const int w = texture ? texture->width : 0, h = texture ? texture->height : 0;
        if (w != (T ? T->width : 0) || h != (T ? T->height : 0)) m_sizesDiffer = true;
        feedFlags(info.surfaceFlags, info.contents);
    };
    // The page's fields from one object, then cleared where a further object differs.
    auto loadPage = [&](int page, int count, const TextureInfo* first,
                        const std::function<const TextureInfo*(int)>& other) {
        const auto values = [](const TextureInfo& t) {
            return std::array<double, FieldCount>{
                t.sScale, t.tScale, t.sShift, t.tShift, t.rotation, double(t.value), double(t.sampleSize)};
        };
        for (int which = 0; which < count; ++which) {
            const bool shift = which == ShiftX || which == ShiftY;
            if (shiftsOnly && !shift) continue;
            if (!first) {
                clearField(page, which);
                continue;
            }
            setFieldNumber(page, which, values(*first)[which]);
        }
        if (!first) return;
        for (int n = 0; const TextureInfo* e = other(n); ++n)
            for (int which = 0; which < count; ++which) {
                const bool shift = which == ShiftX || which == ShiftY;
                if ((shiftsOnly && !shift)) continue;
                if (!sameFloat(float(values(*e)[which]), float(values(*first)[which])))
                    clearField(page, which);
            }
    };
    // Face page.
    std::vector<const FaceRecord*> faces;
    for (FaceRecord* f = F ? F->selNext : nullptr; f; f = f->selNext)
        faces.push_back(f);
    loadPage(0, FieldCount, F ? &F->texInfo : nullptr,
             [&](int n) { return n < int(faces.size()) ? &faces[size_t(n)]->texInfo : nullptr; });
    if (F && !shiftsOnly) {
        ui->cbAlignWorld->setChecked(F->texInfo.alignment & 1);
        ui->cbAlignFace->setChecked(F->texInfo.alignment & 2);
        feedFlags(F->texInfo.surfaceFlags, F->texInfo.contents);
        R = &F->texInfo;
        T = F->texture;
        for (const FaceRecord* e : faces) {
            compareTexture(e->texInfo, e->texture);
            for (int bit = 1; bit <= 2; bit <<= 1) {
                QCheckBox* box = bit == 1 ? ui->cbAlignWorld : ui->cbAlignFace;
                if ((e->texInfo.alignment & bit) != (F->texInfo.alignment & bit) && !box->isTristate()) {
                    box->setTristate(true);
                    box->setCheckState(Qt::PartiallyChecked);
                }
            }
        }
    } else if (!F && !shiftsOnly) {
        ui->cbAlignWorld->setChecked(false);
        ui->cbAlignFace->setChecked(false);
    }
    // Patch and overlay pages: the first carrier's object against the later ones.
    auto loadCarried = [&](int page, int count, auto pick, auto* first) {
        std::vector<decltype(first)> others;
        bool after = false;
        for (BrushRecord* b = world->selectedBrushes; first && b; b = b->selNext) {
            if (pick(b) == first)
                after = true;
            else if (after && pick(b))
                others.push_back(pick(b));
        }
        loadPage(page, count, first ? &first->texInfo : nullptr,
                 [&](int n) { return n < int(others.size()) ? &others[size_t(n)]->texInfo : nullptr; });
        if (!first || shiftsOnly) return;
        if (!R) {
            R = &first->texInfo;
            T = first->texture;
        } else {
            compareTexture(first->texInfo, first->texture);
        }
        if (R == &first->texInfo) feedFlags(first->texInfo.surfaceFlags, first->texInfo.contents);
        for (auto* q : others)
            compareTexture(q->texInfo, q->texture);
    };
    loadCarried(
        1, Rotate + 1, [](BrushRecord* b) { return b->patch; }, P);
    if (P && !shiftsOnly && ui->patchCtrlGroup->isEnabled()) fillPatchCombos(P, column, row);
    loadCarried(
        2, FieldCount, [](BrushRecord* b) { return b->overlay; }, O);
    if (!shiftsOnly && !F && !P && !O) resetFlagBoxes();
    if (!shiftsOnly && R) {
        m_loadedName = Text_FromWindows1251(R->name, qsizetype(strnlen(R->name, sizeof R->name)));
        m_textureName = m_loadedName;
        exec_on_editTexture();
        if (m_sizesDiffer) ui->lblTexSize->setText(tr("(different)"));
        if (m_texturesDiffer) {
            if (m_preview) m_preview->setShader(nullptr);
            ui->lstTexture->setCurrentIndex(-1);
            m_loadedName.clear();
        } else if (T && T == Tex_CreateNoTexture()) {
            ui->lblTexSize->setText(tr("(not found: %1)").arg(QString::fromLatin1(T->name)));
        }
    }
    rememberFieldTexts();
    m_loading = false;
}

void cFacePropertiesDialog::liftFromObject(FaceRecord* face, PatchRecord* patch, OverlayRecord* overlay) {
    m_loading = true;
    ui->cbAlignWorld->setTristate(false);
    ui->cbAlignFace->setTristate(false);
    ui->btnHideMask->setChecked(Sys_Settings().HideMask & 0x8);
    ui->cbTreatAsOne->setEnabled(false);
    const TextureInfo* pages[3] = {face ? &face->texInfo : nullptr, patch ? &patch->texInfo : nullptr,
                                   overlay ? &overlay->texInfo : nullptr};
    const TextureInfo* last = nullptr;
    for (int page = 0; page < 3; ++page) {
        const TextureInfo* t = pages[page];
        const int count = page == 1 ? Rotate + 1 : FieldCount;
        const double values[FieldCount] = {t ? t->sScale : 0,
                                           t ? t->tScale : 0,
                                           t ? t->sShift : 0,
                                           t ? t->tShift : 0,
                                           t ? t->rotation : 0,
                                           t ? double(t->value) : 0,
                                           t ? double(t->sampleSize) : 0};
        for (int which = 0; which < count; ++which)
            t ? setFieldNumber(page, which, values[which]) : clearField(page, which);
        if (page == 0) {
            ui->cbAlignWorld->setChecked(t && (t->alignment & 1));
            ui->cbAlignFace->setChecked(t && (t->alignment & 2));
        }
        if (!t) continue;
        last = t;
        setFlagBoxes(t->surfaceFlags, t->contents);
        m_loadedName = Text_FromWindows1251(t->name, qsizetype(strnlen(t->name, sizeof t->name)));
        m_textureName = m_loadedName;
        exec_on_editTexture();
    }
    if (!last) resetFlagBoxes();
    rememberFieldTexts();
    m_loading = false;
}

void cFacePropertiesDialog::liftFromObject(MapWorld* world, int32_t id) {
    if (FaceRecord* face = Map_FindFaceById(world, id)) {
        liftFromObject(face, nullptr, nullptr);
        return;
    }
    for (EntityRecord* e = world ? world->entities : nullptr; e; e = e->next)
        for (BrushRecord* b = e->firstBrush; b; b = b->next)
            if (b->handle && b->handle->id == id && (b->patch || b->overlay)) {
                liftFromObject(nullptr, b->patch, b->overlay);
                return;
            }
}
