#include "dialogs/application/RandomPatchDialog.h"

#include "map/PatchRecord.h"
#include "ui_RandomPatchDialog.h"

cRandomPatchDialog::cRandomPatchDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cRandomPatchDialog>()) {
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(380, 250);
    ui->sbOffset->setLocale(QLocale::c());
}

cRandomPatchDialog::~cRandomPatchDialog() = default;

float cRandomPatchDialog::offset() const {
    return float(ui->sbOffset->value());
}

bool cRandomPatchDialog::getOptions(PatchRandomParams* options) const {
    if (!options) return false;
    int32_t flags = 0;
    if (ui->rbAxisF->isChecked()) {
        if (ui->cbX->isChecked()) flags |= PatchRandomFlags::AlongX;
        if (ui->cbY->isChecked()) flags |= PatchRandomFlags::AlongY;
        if (ui->cbZ->isChecked()) flags |= PatchRandomFlags::AlongZ;
        if (!flags) return false;
    }
    if (ui->cbLockExt->isChecked() && ui->cbLockInt->isChecked()) return false;
    if (ui->cbLockExt->isChecked()) flags |= PatchRandomFlags::OnlyOddLines;
    if (ui->cbLockInt->isChecked()) flags |= PatchRandomFlags::SkipOddLines;
    if (ui->cbLockBorder->isChecked()) flags |= PatchRandomFlags::KeepBorder;
    if (ui->cbSnap->isChecked()) flags |= PatchRandomFlags::SnapToUnits;
    if (ui->rbGaussian->isChecked()) flags |= PatchRandomFlags::Gaussian;
    options->flags = flags;
    return true;
}
