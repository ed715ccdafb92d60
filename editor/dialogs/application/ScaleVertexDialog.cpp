#include "dialogs/application/ScaleVertexDialog.h"

#include "views/AbstractTool.h"
#include "ui_ScaleVertexDialog.h"

cScaleVertexDialog::cScaleVertexDialog(ToolLookup tool, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cScaleVertexDialog>()), m_tool(std::move(tool)) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(250, 64);
    ui->sbScale->setLocale(QLocale::c());
    connect(ui->sbScale, &QDoubleSpinBox::valueChanged, this, &cScaleVertexDialog::changeScale);
}

cScaleVertexDialog::~cScaleVertexDialog() = default;

void cScaleVertexDialog::setFactor(double factor) {
    m_writing = true;
    ui->sbScale->setValue(factor);
    m_writing = false;
}

void cScaleVertexDialog::changeScale(double factor) {
    cAbstractTool* tool = m_tool ? m_tool() : nullptr;
    if (m_writing || !tool) return;
    int mask = 0;
    if (!ui->cbX->isChecked()) mask |= 1;
    if (!ui->cbY->isChecked()) mask |= 2;
    if (!ui->cbZ->isChecked()) mask |= 4;
    const double answer = tool->changeScale(mask, factor);
    if (answer != factor) setFactor(answer);
}

void cScaleVertexDialog::reject() {
    if (cAbstractTool* tool = m_tool ? m_tool() : nullptr)
        tool->endScale();
    else
        hide();
}
