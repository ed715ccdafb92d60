#include "dialogs/application/MessageDialog.h"

#include "ui_MessageDialog.h"

cMessageDialog::cMessageDialog(const QString& title, const QString& html, QWidget* parent)
    : QDialog(parent), form(new Ui::cMessageDialog) {
    form->setupUi(this);
    setFixedSize(size());
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    QPalette palette = form->textEdit->palette();
    palette.setColor(QPalette::All, QPalette::Base, QColor(224, 223, 227));
    form->textEdit->setPalette(palette);
    setWindowTitle(title);
    form->textEdit->setHtml(html);
    connect(form->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

cMessageDialog::~cMessageDialog() = default;
