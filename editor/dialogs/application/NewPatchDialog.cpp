// The new-patch dialog: the spin boxes step by two and an even value typed in moves up to the
// next odd one, since a patch grid has an odd number of lines.
#include "dialogs/application/NewPatchDialog.h"

#include <algorithm>

#include "ui_NewPatchDialog.h"

namespace {
void makeOdd(QSpinBox* box, int value) {
    if (value % 2 == 0) box->setValue(std::clamp(value + 1, 3, 31));
}
} // namespace

cNewPatchDialog::cNewPatchDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cNewPatchDialog>()) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(221, 141);
    ui->sbHorz->setLocale(QLocale::c());
    ui->sbVert->setLocale(QLocale::c());
}

cNewPatchDialog::~cNewPatchDialog() = default;

int cNewPatchDialog::patchWidth() const {
    return ui->sbHorz->value();
}

int cNewPatchDialog::patchHeight() const {
    return ui->sbVert->value();
}

void cNewPatchDialog::exec_on_changeWidth(int value) {
    makeOdd(ui->sbHorz, value);
}

void cNewPatchDialog::exec_on_changeHeight(int value) {
    makeOdd(ui->sbVert, value);
}
