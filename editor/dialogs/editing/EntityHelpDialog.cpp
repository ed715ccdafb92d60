#include "dialogs/editing/EntityHelpDialog.h"

#include <QDesktopServices>
#include <QUrl>

#include "ui_EntityHelpDialog.h"

cEntityHelpDialog::cEntityHelpDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint |
                          Qt::CustomizeWindowHint),
      ui(new Ui::cEntityHelpDialog) {
    ui->setupUi(this);
    setFixedSize(361, 381);
    QPalette palette = ui->txtHelp->palette();
    palette.setColor(QPalette::All, QPalette::Base, QColor(224, 223, 227));
    ui->txtHelp->setPalette(palette);
    ui->txtHelp->document()->setDefaultStyleSheet(QStringLiteral("h1 { font-size: x-large }"));
    connect(ui->txtHelp, &QTextBrowser::anchorClicked, this, &cEntityHelpDialog::exec_on_anchorClicked);
}

cEntityHelpDialog::~cEntityHelpDialog() {
    delete ui;
}

void cEntityHelpDialog::setHelpText(const QString& html) {
    ui->txtHelp->setHtml(html);
}

void cEntityHelpDialog::retranslate() {
    ui->retranslateUi(this);
}

void cEntityHelpDialog::exec_on_anchorClicked(const QUrl& url) {
    QDesktopServices::openUrl(url);
}
