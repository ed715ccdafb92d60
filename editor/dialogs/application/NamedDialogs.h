// The main window's long-lived dialogs, as empty windows under their names until each gets its
// controls: the window creates, hides, shows and deletes them in the specified orders.
#pragma once

#include <QDialog>
#include <QString>

#include "dialogs/application/ScaleVertexDialog.h"
#include "dialogs/editing/EntityHelpDialog.h"
#include "dialogs/editing/EntityListDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "dialogs/editing/TextureReplaceDialog.h"

class cNamedDialog : public QDialog {
public:
    cNamedDialog(QWidget* parent, const char* objectName, const QString& title);
};

