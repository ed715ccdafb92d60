// The controls of the configuration list editors' form, found by their object names.
#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

struct EditCfgForm {
    explicit EditCfgForm(QDialog* dialog)
        : lstGameCfg(dialog->findChild<QListWidget*>(QStringLiteral("lstGameCfg"))),
          btnAdd(dialog->findChild<QPushButton*>(QStringLiteral("btnAdd"))),
          btnRemove(dialog->findChild<QPushButton*>(QStringLiteral("btnRemove"))),
          btnCopy(dialog->findChild<QPushButton*>(QStringLiteral("btnCopy"))),
          btnRename(dialog->findChild<QPushButton*>(QStringLiteral("btnRename"))) {}

    QListWidget* lstGameCfg;
    QPushButton* btnAdd;
    QPushButton* btnRemove;
    QPushButton* btnCopy;
    QPushButton* btnRename;
};
