#include "dialogs/application/NamedDialogs.h"

#include <QLabel>
#include <QVBoxLayout>

cNamedDialog::cNamedDialog(QWidget* parent, const char* objectName, const QString& title) : QDialog(parent) {
    setObjectName(QLatin1String(objectName));
    setWindowTitle(title);
}

