// Window and Help commands: another window on the map, exporting the console, the manual, the
// about box and the reply of commands that are not available yet.
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QTextEdit>
#include <QUrl>

#include "core/FileLookup.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

namespace {

// Where the desktop opens the manual; tests put their own in.
UrlOpener s_urlOpener = nullptr;

} // namespace

void App_SetUrlOpener(UrlOpener opener) {
    s_urlOpener = opener;
}

// The label is the sender's text without its "&" marks; no text, no box.
void cMainWindow::msgFeatureUnderDevelopment() {
    QString label;
    if (auto* action = qobject_cast<QAction*>(sender()))
        label = action->text();
    else if (auto* button = qobject_cast<QPushButton*>(sender()))
        label = button->text();
    if (label.isEmpty()) return;
    QString text = tr("We are sorry...\n\nThe command \"%1\" is still under development.\nPlease visit the "
                      "official web site for news and updates.")
                       .arg(label);
    text.remove(QLatin1Char('&'));
    Prompt_Message(App_DialogParent(this), PromptIcon::Warning, text);
}

void cMainWindow::cmdWindowNew() {
    cChildWindow* active = activeChildWindow();
    if (!active || !active->document || !mdiArea) return;
    const int layout = settings.IndependentWindows ? newWindowCounter++ % 3 + 1 : -1;
    QMdiSubWindow* activeFrame = mdiArea->activeSubWindow();
    const bool maximised = !activeFrame || activeFrame->isMaximized();
    cChildWindow* child = createChildWindow(active->document, layout);
    if (QWidget* frame = child->parentWidget()) {
        if (maximised)
            frame->showMaximized();
        else
            frame->showNormal();
        frame->raise();
    }
}

// Written whole or not at all; "\r\n" line ends for the tools that read such logs.
void cMainWindow::cmdWindowExportMessages() {
    QString text = consoleText ? consoleText->toPlainText() : QString();
    if (text.isEmpty()) return;
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    QString name = Prompt_GetSaveFileName(
        this, QString(), QFileInfo(resolveConfigFile(QStringLiteral("KDKSettings.ini"), true)).absolutePath(),
        tr("Text files (*.txt)"));
    if (name.isEmpty()) return;
    if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".txt");
    QSaveFile file(name);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text.toUtf8());
        if (file.commit()) {
            Sys_ForgetFoundFiles();
            printToConsole(QStringLiteral("Messages exported to \"%1\"").arg(name), false, false);
            return;
        }
    }
    Prompt_Message(App_DialogParent(this), PromptIcon::Warning,
                   tr("Failed to write: %1\n%2").arg(name, file.errorString()));
}

void cMainWindow::cmdHelpTopics() {
    const QString path = App_GetBaseDirectory() + QStringLiteral("/KDKManual.pdf");
    if (!QFileInfo::exists(path)) {
        Sys_Warning("help file \"%s\" doesn't exist!\n", path.toLocal8Bit().constData());
        return;
    }
    // A URL made from the file, not parsed from the path: spaces, "#" and "%" stay in the name.
    const QUrl url = QUrl::fromLocalFile(path);
    if (s_urlOpener ? s_urlOpener(url) : QDesktopServices::openUrl(url)) return;
    // The file is there (checked above): what is missing is a program the desktop opens it with.
    const QString native = QDir::toNativeSeparators(path);
    Sys_Warning("no PDF viewer is installed to show the manual \"%s\"\n", native.toLocal8Bit().constData());
    Prompt_Message(
        App_DialogParent(this), PromptIcon::Information,
        tr("No PDF viewer is installed, so the manual cannot be shown.\n\nInstall one (for example "
           "evince or okular), or open the manual with any PDF reader:\n%1")
            .arg(native));
}
