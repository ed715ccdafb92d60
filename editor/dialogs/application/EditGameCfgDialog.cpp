#include "dialogs/application/EditGameCfgDialog.h"

#include "core/Prompt.h"
#include "gamedata/GameConfig.h"
#include "ui_EditGameCfgDialog.h"

cEditGameCfgDialog::cEditGameCfgDialog(GameConfigManager* manager, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui_cEditGameCfgDialog>()), m_manager(manager) {
    ui->setupUi(this);
    setFixedSize(size());
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const QString current = m_manager->current ? m_manager->current->Title : QString();
    for (const GameConfig* config : std::as_const(m_manager->configs)) {
        ui->lstGameCfg->addItem(config->Title);
        if (m_manager->current && config->Title == current)
            ui->lstGameCfg->setCurrentRow(ui->lstGameCfg->count() - 1);
    }
    updateButtons(ui.get());
    connect(ui->btnAdd, &QPushButton::clicked, this, &cEditGameCfgDialog::exec_on_configAdd);
    connect(ui->btnRemove, &QPushButton::clicked, this, &cEditGameCfgDialog::exec_on_configRemove);
    connect(ui->btnRename, &QPushButton::clicked, this, &cEditGameCfgDialog::exec_on_configRename);
    connect(ui->btnCopy, &QPushButton::clicked, this, &cEditGameCfgDialog::exec_on_configCopy);
}

cEditGameCfgDialog::~cEditGameCfgDialog() = default;

void cEditGameCfgDialog::updateButtons(Ui_cEditGameCfgDialog* form) {
    const bool any = form->lstGameCfg->count() > 0;
    form->btnAdd->setEnabled(true);
    form->btnRemove->setEnabled(any);
    form->btnRename->setEnabled(any);
    form->btnCopy->setEnabled(any);
}

QString cEditGameCfgDialog::selectedTitle() const {
    const QListWidgetItem* item = ui->lstGameCfg->currentItem();
    const GameConfig* config = item ? GameCfg_FindConfig(m_manager, item->text()) : nullptr;
    return config ? config->Title : QString();
}

QString cEditGameCfgDialog::uniqueTitle(const QString& wanted) const {
    return EditCfg_UniqueTitle(wanted, [this](const QString& t) { return m_manager->byTitle.contains(t); });
}

void cEditGameCfgDialog::exec_on_configAdd() {
    const QString answer =
        Prompt_GetText(this, tr("Add a game"), tr("Enter the game's name:"), tr("New Game"));
    if (answer.isEmpty()) return;
    const QString title = uniqueTitle(answer);
    GameCfg_AddConfig(m_manager, title);
    ui->lstGameCfg->addItem(title);
    ui->lstGameCfg->setCurrentRow(ui->lstGameCfg->count() - 1);
    updateButtons(ui.get());
}

void cEditGameCfgDialog::exec_on_configRemove() {
    QListWidgetItem* item = ui->lstGameCfg->currentItem();
    if (!item) return;
    GameConfig* config = GameCfg_FindConfig(m_manager, item->text());
    if (!config) return;
    if (config->inUseCount > 0) {
        Prompt_Message(
            this, PromptIcon::Warning,
            tr("Game configuration \"%1\" is currently in use.\nPlease close %2 projects using the "
               "configuration before you can remove it.")
                .arg(config->Title)
                .arg(config->inUseCount));
        return;
    }
    if (Prompt_Question(this, PromptIcon::Warning,
                        tr("Are you sure to remove game configuration \"%1\"?").arg(config->Title),
                        PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    if (m_manager->current == config) GameCfg_SelectByTitle(m_manager, QString());
    GameCfg_RemoveConfig(m_manager, config->Title);
    delete item;
    updateButtons(ui.get());
}

void cEditGameCfgDialog::exec_on_configRename() {
    QListWidgetItem* item = ui->lstGameCfg->currentItem();
    if (!item) return;
    const QString answer =
        Prompt_GetText(this, tr("Rename the game"), tr("Enter new game's name:"), item->text());
    if (answer.isEmpty() || answer == item->text()) return;
    const QString title = uniqueTitle(answer);
    GameCfg_RenameConfig(m_manager, item->text(), title);
    item->setText(title);
}

void cEditGameCfgDialog::exec_on_configCopy() {
    const QListWidgetItem* item = ui->lstGameCfg->currentItem();
    if (!item) return;
    const QString title = uniqueTitle(tr("%1 Copy").arg(item->text()));
    if (!GameCfg_DuplicateConfig(m_manager, item->text(), title)) return;
    ui->lstGameCfg->addItem(title);
    ui->lstGameCfg->setCurrentRow(ui->lstGameCfg->count() - 1);
    updateButtons(ui.get());
}
