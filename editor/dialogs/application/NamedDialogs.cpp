#include "dialogs/application/NamedDialogs.h"

#include <QLabel>
#include <QVBoxLayout>

cNamedDialog::cNamedDialog(QWidget* parent, const char* objectName, const QString& title) : QDialog(parent) {
    setObjectName(QLatin1String(objectName));
    setWindowTitle(title);
}

cUpdateCheckDialog::cUpdateCheckDialog(bool automatic, const QString& version, QWidget* parent)
    : cNamedDialog(parent, "cUpdateCheckDialog", tr("New update available!")), shownAtStartup(automatic) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Version %1 is available.").arg(version), this));
}
