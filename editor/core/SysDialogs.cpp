// The four file dialogs of the system layer. Symbolic links are shown as they are named.
#include <QFileDialog>

#include "core/System.h"

QString Sys_GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, directory, filter, nullptr,
                                        QFileDialog::DontResolveSymlinks);
}

QStringList Sys_GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter, QString* selectedFilter) {
    return QFileDialog::getOpenFileNames(parent, caption, directory, filter, selectedFilter,
                                         QFileDialog::DontResolveSymlinks);
}

QString Sys_GetExistingDirectory(QWidget* parent, const QString& caption, const QString& directory) {
    return QFileDialog::getExistingDirectory(parent, caption, directory,
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

QString Sys_GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter, QString* selectedFilter) {
    return QFileDialog::getSaveFileName(parent, caption, directory, filter, selectedFilter,
                                        QFileDialog::DontResolveSymlinks);
}
