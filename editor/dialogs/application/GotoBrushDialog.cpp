#include "dialogs/application/GotoBrushDialog.h"

#include "ui_GotoBrushDialog.h"

cGotoBrushDialog::cGotoBrushDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cGotoBrushDialog>()) {
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(271, 101);
}

cGotoBrushDialog::~cGotoBrushDialog() = default;

int cGotoBrushDialog::entityIndex() const {
    return ui->sbEntity->value();
}

int cGotoBrushDialog::brushIndex() const {
    return ui->sbBrush->value();
}

bool cGotoBrushDialog::visibleOnly() const {
    return ui->cbVisOnly->isChecked();
}

void cGotoBrushDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->sbEntity->selectAll();
    ui->sbEntity->setFocus();
}
