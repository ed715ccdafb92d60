#include "dialogs/application/AdvertisementDialog.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QUrl>

#include "dialogs/application/AppAddresses.h"
#include "ui_AdvertisementDialog.h"

cAdvertisementDialog::cAdvertisementDialog(QWidget* parent, int32_t* skipSetting)
    : QDialog(parent), ui(std::make_unique<Ui::cAdvertisementDialog>()), m_skipSetting(skipSetting) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    ui->label->setText(QStringLiteral("<a href=\"%1\"><img src=\":/qrc/adv.png\"></a>")
                           .arg(QLatin1String(AppAddress::kStorePage)));
    ui->cbNoShow->setChecked(m_skipSetting && *m_skipSetting != 0);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &cAdvertisementDialog::exec_on_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &cAdvertisementDialog::exec_on_close);
}

cAdvertisementDialog::~cAdvertisementDialog() = default;

void cAdvertisementDialog::storeChoice() {
    if (m_skipSetting) *m_skipSetting = ui->cbNoShow->isChecked() ? 2 : 0;
}

void cAdvertisementDialog::exec_on_accept() {
    QDesktopServices::openUrl(QUrl::fromUserInput(QLatin1String(AppAddress::kStorePage)));
    accept();
}

void cAdvertisementDialog::exec_on_close() {
    reject();
}

void cAdvertisementDialog::accept() {
    storeChoice();
    QDialog::accept();
}

void cAdvertisementDialog::reject() {
    storeChoice();
    QDialog::reject();
}

void cAdvertisementDialog::closeEvent(QCloseEvent* event) {
    storeChoice();
    event->accept();
    QDialog::closeEvent(event);
}
