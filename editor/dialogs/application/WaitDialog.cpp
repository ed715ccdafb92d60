#include "dialogs/application/WaitDialog.h"

#include <QApplication>
#include <QMovie>

#include "dialogs/application/DialogHost.h"
#include "ui_WaitDialog.h"

cWaitDialog* g_currentWaitDialog = nullptr;

cWaitDialog::cWaitDialog(const QString& title) : form(new Ui::cWaitDialog) {
    form->setupUi(this);
    // The fixed-size hint does nothing on X11: the size itself is fixed.
    setFixedSize(size());
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    form->lblTitle->setText(title);
    form->lblText->setText(QString());
    auto* movie = new QMovie(QStringLiteral(":/qrc/drum.gif"), QByteArray(), this);
    movie->setCacheMode(QMovie::CacheAll);
    form->lblDrums->setMovie(movie);
    movie->start();
}

cWaitDialog::~cWaitDialog() {
    if (g_currentWaitDialog == this) g_currentWaitDialog = nullptr;
}

void cWaitDialog::setStatus(const QString& text) {
    form->lblText->setText(text);
    // A precache sets a line per file, thousands a second: painting each at once cost a tenth of
    // the precache. A few paints a second keep the line moving; the last one waits for the events.
    if (m_sincePaint.isValid() && m_sincePaint.elapsed() < 50) return;
    form->lblText->repaint();
    m_sincePaint.start();
}

void cWaitDialog::showEvent(QShowEvent* event) {
    if (const QWidget* window = Dialog_Window()) {
        const QPoint origin = window->pos();
        move(origin.x() + window->width() / 2 - width() / 2,
             origin.y() + window->height() / 2 - height() / 2);
    }
    raise();
    activateWindow();
    QDialog::showEvent(event);
}

std::unique_ptr<cWaitWindow> App_OpenWaitDialog(const QString& title) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
    auto dialog = std::make_unique<cWaitDialog>(title);
    g_currentWaitDialog = dialog.get();
    dialog->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return dialog;
}
