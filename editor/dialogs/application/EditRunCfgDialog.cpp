#include "dialogs/application/EditRunCfgDialog.h"

#include "core/Prompt.h"
#include "dialogs/application/EditGameCfgDialog.h"
#include "ui_EditGameCfgDialog.h"

cEditRunCfgDialog::cEditRunCfgDialog(int current, RunConfigList& configs, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui_cEditGameCfgDialog>()), m_configs(configs) {
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    for (const auto& config : std::as_const(m_configs))
        ui->lstGameCfg->addItem(config->Title);
    if (current >= 0 && current < ui->lstGameCfg->count()) ui->lstGameCfg->setCurrentRow(current);
    cEditGameCfgDialog::updateButtons(ui.get());
    connect(ui->btnAdd, &QPushButton::clicked, this, &cEditRunCfgDialog::exec_on_configAdd);
    connect(ui->btnRemove, &QPushButton::clicked, this, &cEditRunCfgDialog::exec_on_configRemove);
    connect(ui->btnRename, &QPushButton::clicked, this, &cEditRunCfgDialog::exec_on_configRename);
    connect(ui->btnCopy, &QPushButton::clicked, this, &cEditRunCfgDialog::exec_on_configCopy);
}

cEditRunCfgDialog::~cEditRunCfgDialog() = default;

int cEditRunCfgDialog::currentRow() const {
    return ui->lstGameCfg->currentRow();
}

RunConfig* cEditRunCfgDialog::findConfig(const QString& title) const {
    for (const auto& config : m_configs)
        if (config->Title == title) return config.get();
    return nullptr;
}

QString cEditRunCfgDialog::uniqueTitle(const QString& wanted) const {
    return EditCfg_UniqueTitle(wanted, [this](const QString& t) { return findConfig(t) != nullptr; });
}

void cEditRunCfgDialog::appendItem(const QString& title) {
    ui->lstGameCfg->addItem(title);
    ui->lstGameCfg->setCurrentRow(ui->lstGameCfg->count() - 1);
    cEditGameCfgDialog::updateButtons(ui.get());
}

void cEditRunCfgDialog::exec_on_configAdd() {
    const QString answer =
        Prompt_GetText(this, tr("New Configuration"), tr("Name:"), tr("New Configuration"));
    if (answer.isEmpty()) return;
    auto config = std::make_shared<RunConfig>();
    config->Title = uniqueTitle(answer);
    m_configs.append(config);
    appendItem(config->Title);
}

void cEditRunCfgDialog::exec_on_configRemove() {
    QListWidgetItem* item = ui->lstGameCfg->currentItem();
    if (!item) return;
    if (Prompt_Question(this, PromptIcon::Warning,
                        tr("Are you sure to remove configuration \"%1\"?").arg(item->text()),
                        PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    const int row = ui->lstGameCfg->currentRow();
    if (row >= 0 && row < m_configs.size()) m_configs.removeAt(row);
    delete item;
    cEditGameCfgDialog::updateButtons(ui.get());
}

void cEditRunCfgDialog::exec_on_configRename() {
    QListWidgetItem* item = ui->lstGameCfg->currentItem();
    const int row = ui->lstGameCfg->currentRow();
    if (!item || row < 0 || row >= m_configs.size()) return;
    const QString answer =
        Prompt_GetText(this, tr("Rename Configuration"), tr("Enter new configuration's name:"), item->text());
    if (answer.isEmpty() || answer == item->text()) return;
    m_configs[row]->Title = uniqueTitle(answer);
    item->setText(m_configs[row]->Title);
}

void cEditRunCfgDialog::exec_on_configCopy() {
    const QListWidgetItem* item = ui->lstGameCfg->currentItem();
    const int row = ui->lstGameCfg->currentRow();
    if (!item || row < 0 || row >= m_configs.size()) return;
    auto copy = std::make_shared<RunConfig>();
    copy->Title = uniqueTitle(tr("%1 Copy").arg(item->text()));
    // Deep: the copy's commands are its own.
    for (const auto& command : std::as_const(m_configs[row]->Commands))
        copy->Commands.append(std::make_shared<RunCommand>(*command));
    m_configs.append(copy);
    appendItem(copy->Title);
}
