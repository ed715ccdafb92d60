#include "dialogs/application/TransformDialog.h"

#include <cmath>

#include "core/Prompt.h"
#include "core/System.h"
#include "document/SelectionBox.h"
#include "ui_TransformDialog.h"

cTransformDialog::cTransformDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cTransformDialog>()) {
    ui->setupUi(this);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(280, 170);
    for (QDoubleSpinBox* box : {ui->sbX, ui->sbY, ui->sbZ})
        box->setLocale(QLocale::c());
}

cTransformDialog::~cTransformDialog() = default;

bool cTransformDialog::rotates() const {
    return ui->rbRotate->isChecked();
}

const float* cTransformDialog::getMatrix() {
    const float v[3] = {float(ui->sbX->value()), float(ui->sbY->value()), float(ui->sbZ->value())};
    const bool rotate = ui->rbRotate->isChecked(), scale = ui->rbScale->isChecked(),
               move = ui->rbMove->isChecked();
    const float zero[3] = {0, 0, 0};
    Math_RotationMatrix(rotate ? v[2] : 0.0f, rotate ? v[1] : 0.0f, rotate ? v[0] : 0.0f, move ? v : zero,
                        matrix);
    for (int k = 0; k < 3; ++k) {
        const float factor = scale ? v[k] : 0.0f;
        if (factor > 0.0f) matrix[k * 5] *= factor;
    }
    return matrix;
}

// A move longer than the world is wide carries every object out of it: refused, the dialog stays.
void cTransformDialog::accept() {
    const double across = 2.0 * double(Select_HalfWorldSize());
    if (ui->rbMove->isChecked()) {
        for (const QDoubleSpinBox* box : {ui->sbX, ui->sbY, ui->sbZ})
            if (std::fabs(box->value()) > across) {
                Prompt_Message(this, PromptIcon::Warning,
                               tr("A move of %1 takes the selection out of the world (%2 units across).")
                                   .arg(box->value())
                                   .arg(across));
                return;
            }
    }
    QDialog::accept();
}

void cTransformDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->sbX->selectAll();
    ui->sbX->setFocus();
}
