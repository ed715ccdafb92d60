// The platform file dialogs (empty results when cancelled; symbolic links are not resolved). The
// lower floors ask for file names through core/Prompt.h, which reaches these through the window.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

QString Sys_GetOpenFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter);
QStringList Sys_GetOpenFileNames(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter, QString* selectedFilter = nullptr);
QString Sys_GetExistingDirectory(QWidget* parent, const QString& caption, const QString& directory);
QString Sys_GetSaveFileName(QWidget* parent, const QString& caption, const QString& directory,
                            const QString& filter, QString* selectedFilter = nullptr);
