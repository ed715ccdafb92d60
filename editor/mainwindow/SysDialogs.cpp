// The four file dialogs. Symbolic links are shown as they are named.
//
// The file requests use Qt's own dialog, not the desktop's: its list matches the patterns without
// regard to case ("X.MAP" under "*.map", as maps copied from other systems are often named), and it
// shows and reports the filter texts exactly as given. The desktop dialogs of Linux match patterns
// case-sensitively.
#include "mainwindow/SysDialogs.h"

#include <QFileDialog>

namespace {

QStringList runFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                          const QString& filter, QString* selectedFilter, QFileDialog::FileMode mode,
                          QFileDialog::AcceptMode accept) {
    QFileDialog dialog(parent, caption, directory, filter);
    dialog.setOptions(QFileDialog::DontResolveSymlinks | QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(accept);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (selectedFilter && !selectedFilter->isEmpty()) dialog.selectNameFilter(*selectedFilter);
    if (dialog.exec() != QDialog::Accepted) return {};
    if (selectedFilter) *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles();
}

} // namespace

QString Sys_GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) {
    return runFileDialog(parent, caption, directory, filter, nullptr, QFileDialog::ExistingFile,
                         QFileDialog::AcceptOpen)
        .value(0);
}

QStringList Sys_GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter, QString* selectedFilter) {
    return runFileDialog(parent, caption, directory, filter, selectedFilter, QFileDialog::ExistingFiles,
                         QFileDialog::AcceptOpen);
}

QString Sys_GetExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
    return QFileDialog::getExistingDirectory(parent, caption, directory,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

QString Sys_GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter, QString* selectedFilter) {
    return runFileDialog(parent, caption, directory, filter, selectedFilter, QFileDialog::AnyFile,
                         QFileDialog::AcceptSave)
        .value(0);
}
