#include "dialogs/application/AboutDialog.h"

#include <QDesktopServices>
#include <QEvent>
#include <QUrl>

#include "dialogs/application/AppAddresses.h"
#include "core/AppVersion.h"
#include "ui_AboutDialog.h"

cAboutDialog::cAboutDialog(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::cAboutDialog>()) {
    ui->setupUi(this);
    setFixedSize(size());
    // The fixed-size drawer of the original platform: here a plain dialog with title and close button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    QPalette banner = ui->label_6->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        banner.setColor(group, QPalette::WindowText, Qt::white);
    banner.setColor(QPalette::Disabled, QPalette::WindowText, QColor(112, 111, 113));
    ui->label_6->setPalette(banner);

    ui->label_2->setText(tr("Z.A.R.V. 1.1.%1 (64-bit)").arg(App_GetBuildNumber()));
    size_t size = 0;
    if (char* decoded = About_DecodeBase64(AppAddress::kDonationPage64, &size)) {
        donationUrl = QString::fromLatin1(decoded);
        delete[] decoded;
    }
    QString text = ui->lblDonateText->text();
    text.replace(QStringLiteral("href=\"DONATION_URL\""), QStringLiteral("href=\"%1\"").arg(donationUrl),
                 Qt::CaseSensitive);
    ui->lblDonateText->setText(text);
    connect(ui->lblDonateText, &QLabel::linkActivated, this, &cAboutDialog::gotoDonationUrl);
    connect(ui->buttonBox, &QDialogButtonBox::clicked, this, &QDialog::reject);
    ui->lblDonate->installEventFilter(this);
    setFocus();
}

cAboutDialog::~cAboutDialog() = default;

void cAboutDialog::gotoDonationUrl(const QString& link) {
    QDesktopServices::openUrl(QUrl::fromUserInput(link));
}

bool cAboutDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->lblDonate && event->type() == QEvent::MouseButtonPress) {
        gotoDonationUrl(donationUrl);
        return false;
    }
    return QDialog::eventFilter(watched, event);
}
