// The main window's long-lived dialogs, as empty windows under their names until each gets its
// controls: the window creates, hides, shows and deletes them in the specified orders.
#pragma once

#include <QDialog>
#include <QString>

#include "dialogs/application/ScaleVertexDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "dialogs/editing/TextureReplaceDialog.h"

class cNamedDialog : public QDialog {
public:
    cNamedDialog(QWidget* parent, const char* objectName, const QString& title);
};

class cTextureBrowserDialog : public cNamedDialog {
public:
    explicit cTextureBrowserDialog(QWidget* parent)
        : cNamedDialog(parent, "cTextureBrowserDialog", tr("Texture Browser")) {}
};

class cEntityListDialog : public cNamedDialog {
public:
    explicit cEntityListDialog(QWidget* parent)
        : cNamedDialog(parent, "cEntityListDialog", tr("Entity List")) {}
};

class cEntityHelpDialog : public cNamedDialog {
public:
    explicit cEntityHelpDialog(QWidget* parent)
        : cNamedDialog(parent, "cEntityHelpDialog", tr("Entity Help")) {}
};


