// The list editor of the run configurations. This plain form shows the titles and lets the user
// pick one; adding, renaming, copying and removing come with the configuration list editors.
#pragma once

#include <QDialog>

#include "dialogs/application/RunConfig.h"

class QListWidget;

class cEditRunCfgDialog : public QDialog {
    Q_OBJECT
public:
    cEditRunCfgDialog(RunConfigList& configs, int current, QWidget* parent = nullptr);
    // The row selected when the dialog closed; -1 with none.
    int currentRow() const;

private:
    RunConfigList& m_configs;
    QListWidget* m_list;
};
