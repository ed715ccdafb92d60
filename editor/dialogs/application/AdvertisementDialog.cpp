// The welcome text and its don't-show-again box.
#include "dialogs/application/AdvertisementDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

cAdvertisementDialog::cAdvertisementDialog(QWidget* parent, int32_t* skipSetting)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_skipSetting(skipSetting) {
    setObjectName(QStringLiteral("cAdvertisementDialog"));
    setWindowTitle(tr("Welcome to Z.A.R.V."));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("label"));
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setText(tr("<p><img src=\":/qrc/zarv32.png\"> <b>Z.A.R.V.</b>, a level editor for Quake-family "
                      "games.</p>"
                      "<p>Open a map with <i>File, Open</i> or name one on the command line. The game "
                      "configurations (where each game's files are) live in KDKGameCfg.ini in the "
                      "settings folder.</p>"));
    layout->addWidget(label);
    m_noShow = new QCheckBox(tr("&Don't show this advertisement again"), this);
    m_noShow->setObjectName(QStringLiteral("cbNoShow"));
    m_noShow->setChecked(m_skipSetting && *m_skipSetting != 0);
    layout->addWidget(m_noShow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Close, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(380, 355);
}

void cAdvertisementDialog::storeChoice() {
    if (m_skipSetting) *m_skipSetting = m_noShow->isChecked() ? 2 : 0;
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
