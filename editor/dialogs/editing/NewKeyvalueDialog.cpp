#include "dialogs/editing/NewKeyvalueDialog.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QSignalBlocker>

#include "ui_NewKeyvalueDialog.h"

cNewKeyvalueDialog::cNewKeyvalueDialog(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      ui(new Ui::cNewKeyvalueDialog) {
    ui->setupUi(this);
    setFixedSize(size());
    connect(ui->txtKey, &QLineEdit::textChanged, this, &cNewKeyvalueDialog::exec_on_checkInput);
    connect(ui->txtValue, &QPlainTextEdit::textChanged, this, &cNewKeyvalueDialog::exec_on_limitValue);
    ui->txtKey->installEventFilter(this);
    ui->txtValue->installEventFilter(this);
}

cNewKeyvalueDialog::~cNewKeyvalueDialog() {
    delete ui;
}

void cNewKeyvalueDialog::retranslate() {
    ui->retranslateUi(this);
}

void cNewKeyvalueDialog::prepare() {
    ui->txtKey->setText(QStringLiteral("newkey%1").arg(counter));
    ui->txtValue->setPlainText(QStringLiteral("value"));
    ++counter;
}

QString cNewKeyvalueDialog::key() const {
    return ui->txtKey->text();
}

QString cNewKeyvalueDialog::value() const {
    return ui->txtValue->toPlainText();
}

void cNewKeyvalueDialog::exec_on_checkInput() {
    if (QPushButton* ok = ui->buttonBox->button(QDialogButtonBox::Ok))
        ok->setEnabled(!ui->txtKey->text().trimmed().isEmpty());
}

// The value is one line of at most 512 characters: cut in one step (a big paste would otherwise
// take one change per extra character) and turn pasted line breaks into blanks.
void cNewKeyvalueDialog::exec_on_limitValue() {
    QString text = ui->txtValue->toPlainText();
    QString cleaned = text;
    cleaned.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (cleaned.size() > kNewValueLimit) cleaned.truncate(kNewValueLimit);
    if (cleaned == text) return;
    const QSignalBlocker blocker(ui->txtValue);
    ui->txtValue->setPlainText(cleaned);
    QTextCursor cursor = ui->txtValue->textCursor();
    cursor.movePosition(QTextCursor::End);
    ui->txtValue->setTextCursor(cursor);
}

void cNewKeyvalueDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    raise();
    activateWindow();
    ui->txtKey->selectAll();
    ui->txtKey->setFocus();
    exec_on_checkInput();
}

bool cNewKeyvalueDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == ui->txtKey) ui->txtKey->selectAll();
        if (watched == ui->txtValue) ui->txtValue->selectAll();
    } else if (event->type() == QEvent::KeyPress && watched == ui->txtValue) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Accepted so that it does not travel on to the dialog, which would close.
            event->accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
