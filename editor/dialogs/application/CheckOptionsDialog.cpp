#include "dialogs/application/CheckOptionsDialog.h"

#include "ui_CheckOptionsDialog.h"

#include <QCheckBox>

namespace {
// Option i answers in bit i mod 32.
int optionBit(int i) {
    return int(1u << (unsigned(i) % 32u));
}
} // namespace

cCheckOptionsDialog::cCheckOptionsDialog(const QString& title, const QString& text,
                                         const QStringList& options, int mask, QWidget* parent)
    : QDialog(parent), form(new Ui::cCheckOptionsDialog), optionCount(int(options.size())),
      checkBoxes(new QCheckBox*[options.size()]) {
    form->setupUi(this);
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowTitle(title);
    QGroupBox* group = form->groupBox;
    for (int i = 0; i < optionCount; ++i) {
        auto* box = new QCheckBox(
            QCoreApplication::translate("cCheckOptionsDialog", options[i].toUtf8().constData()), group);
        QFont font = box->font();
        font.setPointSize(8);
        box->setFont(font);
        box->setGeometry(10, 10 + 23 * i, group->width() - 18, 22);
        box->setChecked(mask & optionBit(i));
        checkBoxes[i] = box;
    }
    if (optionCount > 0) group->resize(group->width(), 23 * optionCount + 20);
    if (!text.isEmpty()) {
        form->label->setText(text);
    } else {
        form->label->hide();
        group->move(group->x(), form->label->y());
    }
    form->buttonBox->move(form->buttonBox->x(), group->y() + group->height() + 8);
    setFixedSize(width(), form->buttonBox->y() + form->buttonBox->height() + 1);
    connect(form->buttonBox, &QDialogButtonBox::accepted, this, &cCheckOptionsDialog::exec_on_accept);
    connect(form->buttonBox, &QDialogButtonBox::rejected, this, &cCheckOptionsDialog::exec_on_reject);
}

int cCheckOptionsDialog::checkedMask() const {
    int mask = 0;
    for (int i = 0; i < optionCount; ++i)
        if (checkBoxes[i]->isChecked()) mask |= optionBit(i);
    return mask;
}

void cCheckOptionsDialog::exec_on_reject() {
    rejected = 1;
    reject();
}

void cCheckOptionsDialog::exec_on_accept() {
    rejected = 0;
    accept();
}

cCheckOptionsDialog::~cCheckOptionsDialog() = default;
