#include "dialogs/application/GotoCoordsDialog.h"

#include <QLocale>
#include <cmath>

#include "ui_GotoCoordsDialog.h"

cGotoCoordsDialog::cGotoCoordsDialog(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cGotoCoordsDialog>()) {
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(352, 92);
}

cGotoCoordsDialog::~cGotoCoordsDialog() = default;

int cGotoCoordsDialog::getCoords(float& x, float& y, float& z, QString* refused) const {
    x = y = z = 0.0f;
    const QString text = ui->txtCoords->text();
    if (text.isEmpty()) return 0;
    QStringList parts = text.split(QStringLiteral(", "));
    if (parts.size() != 3) parts = text.split(QLatin1Char(' ')).mid(0, 3);
    float values[3] = {0, 0, 0};
    for (int i = 0; i < parts.size(); ++i) {
        if (parts[i].isEmpty()) continue; // two blanks in a row: this coordinate stays 0
        bool ok = false;
        const float v = QLocale::c().toFloat(parts[i], &ok);
        // A typo or "nan"/"inf" would send every camera where the views cannot come back from.
        if (!ok || !std::isfinite(v)) {
            if (refused) *refused = parts[i];
            return -1;
        }
        values[i] = v;
    }
    x = values[0];
    y = values[1];
    z = values[2];
    return int(parts.size());
}

void cGotoCoordsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui->txtCoords->selectAll();
    ui->txtCoords->setFocus();
}
