#include "dialogs/editing/TextureFitDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>
#include <algorithm>

#include "mainwindow/MainWindow.h"

cTextureFitDialog::cTextureFitDialog(float horizontal, float vertical, bool offerSkip, QWidget* parent)
    : QDialog(parent), m_offerSkip(offerSkip) {
    setWindowTitle(tr("Fit Texture"));
    setWindowModality(Qt::WindowModal);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    auto* group = new QGroupBox(tr("Repeat Texture"), this);
    auto* form = new QFormLayout(group);
    sbHorz = new QDoubleSpinBox(group);
    sbHorz->setObjectName(QStringLiteral("sbHorz"));
    sbVert = new QDoubleSpinBox(group);
    sbVert->setObjectName(QStringLiteral("sbVert"));
    for (QDoubleSpinBox* box : {sbHorz, sbVert})
        box->setMinimum(0.0);
    form->addRow(tr("&Horizontally:"), sbHorz);
    form->addRow(tr("&Vertically:"), sbVert);
    cbNoShow = new QCheckBox(tr("&Don't show this dialog again"), this);
    cbNoShow->setObjectName(QStringLiteral("cbNoShow"));
    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->setCenterButtons(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(cbNoShow);
    layout->addWidget(buttonBox);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    sbHorz->setValue(horizontal);
    sbVert->setValue(vertical);
    cbNoShow->setVisible(offerSkip);
    cbNoShow->setChecked(g_mainWindow && g_mainWindow->settings.SkipFitDialog);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &cTextureFitDialog::exec_on_accept);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void cTextureFitDialog::getCounts(float* horizontal, float* vertical) const {
    *horizontal = std::max(float(sbHorz->value()), 0.1f);
    *vertical = std::max(float(sbVert->value()), 0.1f);
}

void cTextureFitDialog::exec_on_accept() {
    if (!m_offerSkip || !g_mainWindow) return;
    if (cbNoShow->isChecked() && !g_mainWindow->settings.SkipFitDialog)
        QMessageBox::warning(
            parentWidget(), QStringLiteral("Z.A.R.V."),
            tr("You have chosen not to display the dialog later on clicking a \"Fit\" "
               "button.\nTo invoke it again, click the \"Fit\" button holding the SHIFT key."));
    g_mainWindow->settings.SkipFitDialog = cbNoShow->isChecked();
}

void cTextureFitDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
    sbHorz->selectAll();
    sbHorz->setFocus();
}
