// The list editor of the run configurations: adds, removes, renames and copies entries of the
// run-map dialog's list in place. Titles read from the file need not be unique, so it acts on the
// entry at the selected row.
#pragma once

#include <QDialog>
#include <memory>

#include "dialogs/application/RunConfig.h"

class Ui_cEditGameCfgDialog;

class cEditRunCfgDialog : public QDialog {
    Q_OBJECT
public:
    cEditRunCfgDialog(int current, RunConfigList& configs, QWidget* parent = nullptr);
    ~cEditRunCfgDialog() override;

    // The row selected when the dialog closed; -1 with none.
    int currentRow() const;
    QString uniqueTitle(const QString& wanted) const;
    // The first configuration of that title; null with none.
    RunConfig* findConfig(const QString& title) const;

    std::unique_ptr<Ui_cEditGameCfgDialog> ui;

public slots:
    void exec_on_configAdd();
    void exec_on_configRemove();
    void exec_on_configRename();
    void exec_on_configCopy();

private:
    RunConfigList& m_configs;
    // The new last entry's item, made current.
    void appendItem(const QString& title);
};
