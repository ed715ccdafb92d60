#include "dialogs/application/PasteSpecialDialog.h"

#include "ui_PasteSpecialDialog.h"

cPasteSpecialDialog::cPasteSpecialDialog(QWidget* parent, const float mins_[3], const float maxs_[3])
    : QDialog(parent), ui(std::make_unique<Ui::cPasteSpecialDialog>()) {
    ui->setupUi(this);
    setFixedSize(390, 314);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    for (int i = 0; i < 3; ++i) {
        mins[i] = mins_[i];
        maxs[i] = maxs_[i];
    }
    for (QDoubleSpinBox* box : {ui->sbX, ui->sbY, ui->sbZ, ui->sbXr, ui->sbYr, ui->sbZr})
        box->setLocale(QLocale::c());
    connect(ui->btnX, &QPushButton::clicked, this, &cPasteSpecialDialog::exec_on_setOffsetX);
    connect(ui->btnY, &QPushButton::clicked, this, &cPasteSpecialDialog::exec_on_setOffsetY);
    connect(ui->btnZ, &QPushButton::clicked, this, &cPasteSpecialDialog::exec_on_setOffsetZ);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

cPasteSpecialDialog::~cPasteSpecialDialog() = default;

void cPasteSpecialDialog::setOptions(const PasteSpecialOptions& o) {
    ui->sbCopies->setValue(o.copies);
    ui->cbStartCenter->setChecked(o.flags & PASTE_AT_ORIGINAL_CENTER);
    ui->cbGroup->setChecked(o.flags & PASTE_GROUP_COPIES);
    ui->cbKeepIntConn->setChecked(o.flags & PASTE_KEEP_INTERNAL_CONNECTIONS);
    ui->groupOffset->setChecked(o.flags & PASTE_OFFSET);
    ui->groupRotation->setChecked(o.flags & PASTE_ROTATION);
    ui->sbX->setValue(o.offset[0]);
    ui->sbY->setValue(o.offset[1]);
    ui->sbZ->setValue(o.offset[2]);
    ui->sbXr->setValue(o.rotation[0]);
    ui->sbYr->setValue(o.rotation[1]);
    ui->sbZr->setValue(o.rotation[2]);
}

PasteSpecialOptions cPasteSpecialDialog::options() const {
    PasteSpecialOptions o;
    o.copies = ui->sbCopies->value();
    o.flags = (ui->cbStartCenter->isChecked() ? PASTE_AT_ORIGINAL_CENTER : 0) |
              (ui->cbGroup->isChecked() ? PASTE_GROUP_COPIES : 0) |
              (ui->cbKeepIntConn->isChecked() ? PASTE_KEEP_INTERNAL_CONNECTIONS : 0) |
              (ui->groupOffset->isChecked() ? PASTE_OFFSET : 0) |
              (ui->groupRotation->isChecked() ? PASTE_ROTATION : 0);
    const QDoubleSpinBox* offset[3] = {ui->sbX, ui->sbY, ui->sbZ};
    const QDoubleSpinBox* rotation[3] = {ui->sbXr, ui->sbYr, ui->sbZr};
    for (int i = 0; i < 3; ++i) {
        o.offset[i] = float(offset[i]->value());
        o.rotation[i] = float(rotation[i]->value());
    }
    return o;
}

// A second click on the same axis flips the step, laying the copies out the other way.
void cPasteSpecialDialog::setOffset(int axis) {
    QDoubleSpinBox* box[3] = {ui->sbX, ui->sbY, ui->sbZ};
    const float size = maxs[axis] - mins[axis];
    box[axis]->setValue(box[axis]->value() == double(size) ? -size : size);
}

void cPasteSpecialDialog::exec_on_setOffsetX() {
    setOffset(0);
}

void cPasteSpecialDialog::exec_on_setOffsetY() {
    setOffset(1);
}

void cPasteSpecialDialog::exec_on_setOffsetZ() {
    setOffset(2);
}
