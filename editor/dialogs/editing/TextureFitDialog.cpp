#include "dialogs/editing/TextureFitDialog.h"

#include <algorithm>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/Prompt.h"
#include "ui_TextureFitDialog.h"

cTextureFitDialog::cTextureFitDialog(float horizontal, float vertical, bool offerSkip, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::cTextureFitDialog>()), m_offerSkip(offerSkip) {
    ui->setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    ui->sbHorz->setValue(horizontal);
    ui->sbVert->setValue(vertical);
    ui->cbNoShow->setVisible(offerSkip);
    ui->cbNoShow->setChecked(Sys_Settings().SkipFitDialog);
    QSize size = this->size();
    if (!offerSkip) {
        ui->buttonBox->move(ui->buttonBox->pos() - QPoint(0, kNoCheckBoxLift));
        size.rheight() -= kNoCheckBoxLift;
    }
    setFixedSize(size);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &cTextureFitDialog::exec_on_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

cTextureFitDialog::~cTextureFitDialog() = default;

void cTextureFitDialog::getCounts(float* horizontal, float* vertical) const {
    *horizontal = std::max(float(ui->sbHorz->value()), 0.1f);
    *vertical = std::max(float(ui->sbVert->value()), 0.1f);
}

void cTextureFitDialog::exec_on_accept() {
    MainSettings* settings = Sys_MutableSettings();
    if (!m_offerSkip || !settings) return;
    if (ui->cbNoShow->isChecked() && !settings->SkipFitDialog)
        Prompt_Message(parentWidget(), PromptIcon::Warning,
                       tr("You have chosen not to display the dialog later on clicking a \"Fit\" "
                          "button.\nTo invoke it again, click the \"Fit\" button holding the SHIFT key."));
    settings->SkipFitDialog = ui->cbNoShow->isChecked();
}

void cTextureFitDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
    ui->sbHorz->selectAll();
    ui->sbHorz->setFocus();
}
