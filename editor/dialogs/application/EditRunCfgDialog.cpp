#include "dialogs/application/EditRunCfgDialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

cEditRunCfgDialog::cEditRunCfgDialog(RunConfigList& configs, int current, QWidget* parent)
    : QDialog(parent), m_configs(configs) {
    setObjectName(QStringLiteral("cEditRunCfgDialog"));
    setWindowTitle(tr("Run Configurations"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstConfigs"));
    for (const auto& config : m_configs)
        m_list->addItem(config->Title);
    m_list->setCurrentRow(current);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
}

int cEditRunCfgDialog::currentRow() const {
    return m_list->currentRow();
}
