// The arch dialog's plain form: the values the arch primitive reads, with OK and Cancel.
#include "dialogs/application/ArchDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QDoubleSpinBox* makeValueBox(QWidget* parent, double minimum, double maximum, double value) {
    auto* box = new QDoubleSpinBox(parent);
    box->setLocale(QLocale::c());
    box->setRange(minimum, maximum);
    box->setDecimals(2);
    box->setValue(value);
    return box;
}
} // namespace

cArchDialog::cArchDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cArchDialog"));
    setWindowTitle(tr("Arch"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_wallWidth = makeValueBox(this, 1.0, 8192.0, 16.0);
    m_sides = new QSpinBox(this);
    m_sides->setRange(1, 128);
    m_sides->setValue(8);
    m_arc = makeValueBox(this, -360.0, 360.0, 180.0);
    m_startAngle = makeValueBox(this, -360.0, 360.0, 0.0);
    m_addedHeight = makeValueBox(this, -8192.0, 8192.0, 0.0);
    m_fitSelection = new QCheckBox(tr("&Fit selection"), this);
    m_groupParts = new QCheckBox(tr("&Group parts"), this);
    m_triangulate = new QCheckBox(tr("&Triangulate"), this);
    m_smoothSlope = new QCheckBox(tr("&Smooth slope"), this);
    m_smoothSlope->setEnabled(false);

    auto* form = new QFormLayout;
    form->addRow(tr("Wall width:"), m_wallWidth);
    form->addRow(tr("Sides:"), m_sides);
    form->addRow(tr("Arc:"), m_arc);
    form->addRow(tr("Start angle:"), m_startAngle);
    form->addRow(tr("Add height:"), m_addedHeight);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    for (QCheckBox* box : {m_fitSelection, m_groupParts, m_triangulate, m_smoothSlope})
        layout->addWidget(box);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_addedHeight, &QDoubleSpinBox::valueChanged, this, &cArchDialog::exec_on_changeHeight);
}

void cArchDialog::setupPreview(const PrimitiveParams* params) {
    // The preview of the designer form draws the arch into the box; this form has none.
    (void)params;
}

void cArchDialog::getParameters(ArchParameters* out) const {
    if (!out) return;
    out->wallWidth = float(m_wallWidth->value());
    out->sides = m_sides->value();
    out->arc = float(m_arc->value());
    out->startAngle = float(m_startAngle->value());
    out->addedHeight = float(m_addedHeight->value());
    out->fitSelection = m_fitSelection->isChecked();
    out->groupParts = m_groupParts->isChecked();
    out->triangulate = m_triangulate->isChecked();
    out->smoothSlope = m_smoothSlope->isEnabled() && m_smoothSlope->isChecked();
}

void cArchDialog::setParameters(const ArchParameters& values) {
    m_wallWidth->setValue(values.wallWidth);
    m_sides->setValue(values.sides);
    m_arc->setValue(values.arc);
    m_startAngle->setValue(values.startAngle);
    m_addedHeight->setValue(values.addedHeight);
    m_fitSelection->setChecked(values.fitSelection);
    m_groupParts->setChecked(values.groupParts);
    m_triangulate->setChecked(values.triangulate);
    m_smoothSlope->setChecked(values.smoothSlope);
}

void cArchDialog::exec_on_changeHeight(double value) {
    m_smoothSlope->setEnabled(value != 0.0);
}
