// The message box, options box and wait cursor of the engine-function table.
#include <QApplication>
#include <QMessageBox>
#include <optional>

#include "core/System.h"
#include "dialogs/application/CheckOptionsDialog.h"
#include "dialogs/application/PluginDialog.h"
#include "gamedata/PluginInterface.h"
#include "dialogs/application/DialogHost.h"
#include "views/DialogParent.h"

namespace {

// Options past this many would share the sign bit with the Cancel answer.
constexpr int kMaxOptions = 31;

int32_t& waitCursorCount() {
    static int32_t count = 0;
    return count;
}

bool hasGui() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

// Takes one override level off while a box is up, so the box is answered under the normal
// cursor, and puts it back afterwards.
class cNormalCursor {
public:
    cNormalCursor() {
        if (const QCursor* cursor = QGuiApplication::overrideCursor()) {
            m_saved = *cursor;
            QGuiApplication::restoreOverrideCursor();
        }
    }
    ~cNormalCursor() {
        if (m_saved) QGuiApplication::setOverrideCursor(*m_saved);
    }
    cNormalCursor(const cNormalCursor&) = delete;
    cNormalCursor& operator=(const cNormalCursor&) = delete;

private:
    std::optional<QCursor> m_saved;
};

QString boxText(const char* context, const char* text, const QString& fallback) {
    return text ? QCoreApplication::translate(context, text) : fallback;
}

} // namespace

int32_t App_MessageBox(const char* title, const char* text, int32_t flags) {
    if (!hasGui()) return 0;
    cNormalCursor normal;
    const QString caption = boxText("cPluginDialog", title, QStringLiteral("Z.A.R.V."));
    const QString message = boxText("cPluginDialog", text, QString());
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton expected = QMessageBox::Ok;
    if (flags & MSGBOX_YESNO) {
        buttons = QMessageBox::Yes | QMessageBox::No;
        expected = QMessageBox::Yes;
    } else if (flags & MSGBOX_OKCANCEL) {
        buttons = QMessageBox::Ok | QMessageBox::Cancel;
    }
    using Box = QMessageBox::StandardButton (*)(QWidget*, const QString&, const QString&,
                                                QMessageBox::StandardButtons, QMessageBox::StandardButton);
    Box box = nullptr;
    if (flags & MSGBOX_CRITICAL)
        box = &QMessageBox::critical;
    else if (flags & MSGBOX_WARNING)
        box = &QMessageBox::warning;
    else if (flags & MSGBOX_INFORMATION)
        box = &QMessageBox::information;
    else if (flags & MSGBOX_QUESTION)
        box = &QMessageBox::question;
    int answer;
    if (box) {
        answer = box(App_DialogParent(Dialog_Window()), caption, message, buttons, QMessageBox::NoButton);
    } else {
        QMessageBox plain(QMessageBox::NoIcon, caption, message, buttons);
        plain.exec();
        answer = plain.standardButton(plain.clickedButton());
    }
    return answer == expected ? 1 : 0;
}

int32_t App_OptionsBox(const char* title, const char* text, const char* options, int32_t mask) {
    if (!hasGui()) return -1;
    cNormalCursor normal;
    QStringList names = options ? QString::fromUtf8(options).split(QLatin1Char('|'), Qt::SkipEmptyParts)
                                : QStringList{QStringLiteral("!!! NO OPTIONS !!!")};
    if (names.size() > kMaxOptions) {
        Sys_Error("%s", QStringLiteral("App_OptionsBox: %1 options, only %2 can be answered")
                            .arg(names.size())
                            .arg(kMaxOptions)
                            .toUtf8()
                            .constData());
        names = names.mid(0, kMaxOptions);
    }
    cCheckOptionsDialog dialog(boxText("cCheckOptionsDialog", title, QStringLiteral("Z.A.R.V.")),
                               boxText("cCheckOptionsDialog", text, QString()), names, mask, Dialog_Window());
    const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.rejected;
    return accepted ? dialog.checkedMask() : -1;
}

void App_BeginWaitCursor() {
    ++waitCursorCount();
    if (hasGui()) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

void App_EndWaitCursor() {
    if (waitCursorCount() <= 0) return;
    --waitCursorCount();
    if (hasGui()) QGuiApplication::restoreOverrideCursor();
}

int32_t App_WaitCursorCount() {
    return waitCursorCount();
}
