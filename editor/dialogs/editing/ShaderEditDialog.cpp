#include "dialogs/editing/ShaderEditDialog.h"

#include <QGroupBox>
#include <QSplitter>
#include <QVBoxLayout>

cShaderEditDialog::cShaderEditDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("cShaderEditDialog"));
    setWindowTitle(tr("Edit Effects"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    splitter2 = new QSplitter(Qt::Horizontal, this);
    splitter2->setObjectName(QStringLiteral("splitter_2"));
    splitter2->setChildrenCollapsible(false);
    auto* effects = new QGroupBox(tr("Effects"), splitter2);
    effects->setObjectName(QStringLiteral("groupBox"));
    splitter = new QSplitter(Qt::Vertical, splitter2);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setChildrenCollapsible(false);
    auto* preview = new QGroupBox(tr("Preview"), splitter);
    preview->setObjectName(QStringLiteral("canvasBase2"));
    auto* script = new QGroupBox(tr("Script"), splitter);
    script->setObjectName(QStringLiteral("editBase2"));
    layout->addWidget(splitter2);
    auto* buttons = new QWidget(this);
    buttons->setObjectName(QStringLiteral("widget"));
    layout->addWidget(buttons);
    resize(768, 687);
}
