#include "dialogs/application/UpdateCheckDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "dialogs/application/AppAddresses.h"
#include "core/AppVersion.h"
#include "dialogs/application/DialogHost.h"
#include "ui_UpdateCheckDialog.h"

cUpdateCheckDialog::cUpdateCheckDialog(bool startup, const QString& version, QWidget* parent, bool* setting)
    : QDialog(parent), shownAtStartup(startup), ui(std::make_unique<Ui::cUpdateCheckDialog>()),
      autoUpdateCheck(setting) {
    ui->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint);
    // Not hidden behind the splash screen at start-up.
    if (DialogHost* host = Dialog_Host()) host->finishSplash();
    QApplication::processEvents();

    ui->lblOld->setText(QStringLiteral("1.1.%1").arg(App_GetBuildNumber()));
    ui->lblNew->setText(version);
    if (shownAtStartup) {
        setFixedSize(size());
    } else {
        // From the Help menu there is no check box: the buttons move up into its place.
        ui->buttonBox->move(ui->buttonBox->x(), ui->buttonBox->y() - 30);
        setFixedSize(width(), height() - 30);
    }
    ui->cbNoShow->setVisible(shownAtStartup);
    ui->cbNoShow->setChecked(autoUpdateCheck && !*autoUpdateCheck);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &cUpdateCheckDialog::exec_on_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &cUpdateCheckDialog::exec_on_reject);
}

cUpdateCheckDialog::~cUpdateCheckDialog() = default;

void cUpdateCheckDialog::storeChoice() {
    if (shownAtStartup && autoUpdateCheck) *autoUpdateCheck = !ui->cbNoShow->isChecked();
}

void cUpdateCheckDialog::exec_on_accept() {
    storeChoice();
    QDesktopServices::openUrl(QUrl(QLatin1String(AppAddress::kDownloadPage)));
}

void cUpdateCheckDialog::exec_on_reject() {
    storeChoice();
    reject();
}
