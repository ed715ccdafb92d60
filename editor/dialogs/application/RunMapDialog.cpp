#include "dialogs/application/RunMapDialog.h"

#include <QFileInfo>
#include <QIcon>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "dialogs/application/EditRunCfgDialog.h"
#include "gamedata/GameConfig.h"
#include "gamedata/PluginInterface.h"
#include "gamedata/GameDataHost.h"
#include "ui_RunMapDialog.h"
#include "views/DialogParent.h"

static void initRunMapResources() {
    Q_INIT_RESOURCE(run);
}

namespace {

const QSize kNormalSize(310, 342);
const QSize kExpertSize(630, 402);
constexpr int kMaxMenuEntries = 15;

// The three menus' entries; a null text is a separator. Entries naming a special name insert its
// translation (specialType 2..5).
struct MenuEntry {
    const char* text;
    const char* insert;
    int32_t mode;
    int32_t specialType;
};

const MenuEntry kCmdsMenu[] = {
    {"Executable...", "", RUNMENU_REPLACE | RUNMENU_BROWSE_PROGRAM, 0},
    {"Change Directory", "", RUNMENU_REPLACE, RUNCMD_CHANGE_DIR},
    {"Copy File", "", RUNMENU_REPLACE, RUNCMD_COPY},
    {"Delete File", "", RUNMENU_REPLACE, RUNCMD_DELETE},
    {"Rename File", "", RUNMENU_REPLACE, RUNCMD_RENAME},
    {nullptr, nullptr, 0, 0},
    {"CSG Program", "$csg_exe", RUNMENU_REPLACE, 0},
    {"BSP Program", "$bsp_exe", RUNMENU_REPLACE, 0},
    {"VIS Program", "$vis_exe", RUNMENU_REPLACE, 0},
    {"LIGHT Program", "$light_exe", RUNMENU_REPLACE, 0},
    {"Game Program", "$game_exe", RUNMENU_REPLACE, 0},
};
const MenuEntry kParmsMenu[] = {
    {"Map Filename (no extension)", "$file", 0, 0}, {"Map Filename (with extension)", "$file.$ext", 0, 0},
    {"Map Path (no filename)", "$path", 0, 0},      {nullptr, nullptr, 0, 0},
    {"Game Executable Directory", "$exedir", 0, 0}, {"Compiled Maps Directory", "$bspdir", 0, 0},
    {"Game Directory", "$gamedir", 0, 0},           {"Mod Directory", "$moddir", 0, 0},
};
const MenuEntry kFilesMenu[] = {
    {"Browse...", "", RUNMENU_REPLACE | RUNMENU_BROWSE_FILE, 0},
    {"Compiled Map", "$bspdir/$file.$bspext", RUNMENU_REPLACE, 0},
    {"Portal File", "$bspdir/$file.prt", RUNMENU_REPLACE, 0},
    {nullptr, nullptr, 0, 0},
    {"Map Filename (no extension)", "$file", 0, 0},
    {"Map Filename (with extension)", "$file.$ext", 0, 0},
    {"Map Path (no filename)", "$path", 0, 0},
    {nullptr, nullptr, 0, 0},
    {"Compiled Map Filename", "$file.$bspext", 0, 0},
    {"Compiled Map Path (no filename)", "$bspdir", 0, 0},
    {nullptr, nullptr, 0, 0},
    {"Game Executable Directory", "$exedir", 0, 0},
    {"Game Directory", "$gamedir", 0, 0},
    {"Mod Directory", "$moddir", 0, 0},
};

bool hasSwitch(const char* text) {
    return text[0] != '\0';
}

} // namespace

cRunMapDialog::cRunMapDialog(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::cRunMapDialog>()) {
    initRunMapResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    m_specialNames.retranslate();
    QPushButton* ok = ui->buttonBox->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    ok->setAutoDefault(true);
    ui->buttonBox->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    buildContextMenus();
    // The main window may be gone when the dialog is destroyed with it.
    m_savePath = configFile(true);
    loadConfigurations();
    if (m_configs.isEmpty()) addDefaultConfiguration();
    ui->wRunMapExpert->hide();

    connect(ui->btnEditConfigs, &QPushButton::clicked, this, &cRunMapDialog::exec_on_editConfigs);
    connect(ui->cbConfigs, &QComboBox::currentIndexChanged, this, &cRunMapDialog::exec_on_selectConfig);
    connect(ui->lstCmd, &QListWidget::itemChanged, this, &cRunMapDialog::exec_on_modifyCommand);
    connect(ui->lstCmd, &QListWidget::currentRowChanged, this, &cRunMapDialog::exec_on_selectCommand);
    connect(ui->cbEnsurePost, &QCheckBox::clicked, this, &cRunMapDialog::exec_on_checkFile);
    connect(ui->cbProcWnd, &QCheckBox::clicked, this, &cRunMapDialog::exec_on_useProcWnd);
    connect(ui->cbWait, &QCheckBox::clicked, this, &cRunMapDialog::exec_on_waitTermination);
    connect(ui->txtCmds, &QLineEdit::textChanged, this, &cRunMapDialog::exec_on_changeCmds);
    connect(ui->txtParms, &QLineEdit::textChanged, this, &cRunMapDialog::exec_on_changeParms);
    connect(ui->txtFiles, &QLineEdit::textChanged, this, &cRunMapDialog::exec_on_changeFiles);
    connect(ui->btnCmds, &QPushButton::clicked, this, &cRunMapDialog::exec_on_cmds);
    connect(ui->btnParms, &QPushButton::clicked, this, &cRunMapDialog::exec_on_parms);
    connect(ui->btnFiles, &QPushButton::clicked, this, &cRunMapDialog::exec_on_files);
    connect(ui->btnNewCmd, &QPushButton::clicked, this, &cRunMapDialog::exec_on_newCommand);
    connect(ui->btnRemoveCmd, &QPushButton::clicked, this, &cRunMapDialog::exec_on_removeCommand);
    connect(ui->btnUpCmd, &QPushButton::clicked, this, &cRunMapDialog::exec_on_upCommand);
    connect(ui->btnDownCmd, &QPushButton::clicked, this, &cRunMapDialog::exec_on_downCommand);
    connect(ui->btnExpert, &QPushButton::clicked, this, &cRunMapDialog::exec_on_toggleExpert);
    connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &cRunMapDialog::exec_on_accept);
    connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &cRunMapDialog::reject);

    fillConfigurations(0);
    applyMode();
}

cRunMapDialog::~cRunMapDialog() {
    saveConfigurations();
}

// ---- Configurations ----------------------------------------------------------------------------

QString cRunMapDialog::configFile(bool forWriting) const {
    const GameDataHost* host = GameData_Host();
    return host ? host->configFile(QStringLiteral("KDKRunCfg.ini"), forWriting) : QString();
}

void cRunMapDialog::loadConfigurations() {
    const QString path = configFile(false);
    if (!path.isEmpty()) m_file.load(path, &m_configs);
}

void cRunMapDialog::addDefaultConfiguration() {
    m_configs.append(RunCfg_MakeDefault());
}

bool cRunMapDialog::saveConfigurations() {
    return !m_savePath.isEmpty() && m_file.save(m_savePath, m_configs);
}

// ---- Mode, configuration and profile ------------------------------------------------------------

void cRunMapDialog::setExpertMode(bool expert) {
    if (expert == m_expert) return;
    m_expert = expert;
    applyMode();
    centerOnMainWindow();
}

void cRunMapDialog::applyMode() {
    const QSize size = m_expert ? kExpertSize : kNormalSize;
    setWindowTitle(m_expert ? tr("Run Map [Advanced]") : tr("Run Map"));
    ui->btnExpert->setText(m_expert ? tr("&Normal") : tr("&Expert"));
    setFixedSize(size);
    ui->wRunMapNormal->setVisible(!m_expert);
    ui->wRunMapExpert->setVisible(m_expert);
    // The bottom row: mode button at the lower left, buttons at the lower right, the visible-objects
    // box above them.
    const int bottom = size.height() - 32;
    ui->btnExpert->move(10, bottom);
    ui->buttonBox->move(size.width() - ui->buttonBox->width() - 10, bottom);
    ui->cbVisibleOnly->move(10, bottom - 28);
    updateOkButton();
}

void cRunMapDialog::centerOnMainWindow() {
    QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main || !main->isVisible()) return;
    const QRect area = main->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

void cRunMapDialog::showEvent(QShowEvent* event) {
    centerOnMainWindow();
    QDialog::showEvent(event);
}

void cRunMapDialog::retranslate() {
    m_specialNames.retranslate();
    for (QRunMapContextMenuAction* action : m_specialActions)
        action->insertText = m_specialNames.of(action->data().toInt());
    ui->retranslateUi(this);
    setWindowTitle(m_expert ? tr("Run Map [Advanced]") : tr("Run Map"));
    ui->btnExpert->setText(m_expert ? tr("&Normal") : tr("&Expert"));
}

void cRunMapDialog::setGameConfig(GameConfig* config) {
    m_gameConfig = config;
    m_context.config = config;
    ui->txtCmdLine->setText(config ? config->GameCommandLine : QString());
    ui->txtCmdLine->selectAll();
    QGroupBox* groups[4] = {ui->cmdCSG, ui->cmdBSP, ui->cmdVIS, ui->cmdLIGHT};
    for (int i = 0; i < 4; ++i)
        groups[i]->setEnabled(config && !config->MapTool[i].isEmpty());
}

void cRunMapDialog::setProfile(const MapProfileRecord* profile) {
    m_context.profile = profile;
    const bool csg = profile && hasSwitch(profile->csgSwitch);
    const bool bsp = profile && hasSwitch(profile->bspSwitch);
    ui->rbCSGOnlyents->setEnabled(csg);
    ui->rbCSGOnlyents->setVisible(csg);
    ui->rbBSPOnlyents->setEnabled(bsp);
    ui->rbBSPOnlyents->setVisible(bsp);
    ui->rbVISFast->setEnabled(profile && hasSwitch(profile->visSwitch));
    ui->rbLIGHTExtra->setEnabled(profile && hasSwitch(profile->lightSwitch));
}

bool cRunMapDialog::visibleOnly() const {
    return ui->cbVisibleOnly->isChecked();
}

// ---- Building ---------------------------------------------------------------------------------------

void cRunMapDialog::setMapFile(const QString& path) {
    RunMap_SetMapFile(m_context, path);
}

const RunCommandList& cRunMapDialog::buildCommands() {
    m_built.clear();
    if (m_expert) {
        m_built = RunMap_BuildExpertCommands(m_context, currentConfig());
        return m_built;
    }
    RunNormalChoices choices;
    const struct {
        QGroupBox* group;
        QRadioButton* no;
        QRadioButton* special;
    } tools[4] = {{ui->cmdCSG, ui->rbCSGNo, ui->rbCSGOnlyents},
                  {ui->cmdBSP, ui->rbBSPNo, ui->rbBSPOnlyents},
                  {ui->cmdVIS, ui->rbVISNo, ui->rbVISFast},
                  {ui->cmdLIGHT, ui->rbLIGHTNo, ui->rbLIGHTExtra}};
    for (int i = 0; i < 4; ++i) {
        choices.toolEnabled[i] = tools[i].group->isEnabled();
        // A special choice the profile has no switch for runs the tool normally.
        choices.tool[i] = tools[i].no->isChecked() ? RunToolChoice::No
                          : tools[i].special->isChecked() && tools[i].special->isEnabled()
                              ? RunToolChoice::Special
                              : RunToolChoice::Normal;
    }
    choices.dontRunGame = ui->cbDontRunGame->isChecked();
    m_built = RunMap_BuildNormalCommands(m_context, choices);
    return m_built;
}

void cRunMapDialog::removeStaleFiles() {
    RunMap_RemoveStaleFiles(m_context, ui->cmdBSP->isEnabled() && ui->rbBSPNormal->isChecked());
}

// ---- Slots ------------------------------------------------------------------------------------------

void cRunMapDialog::exec_on_toggleExpert() {
    bool expert = !m_expert;
    if (MainSettings* settings = Sys_MutableSettings()) {
        settings->ExpertMode = !settings->ExpertMode;
        expert = settings->ExpertMode;
    }
    setExpertMode(expert);
}

void cRunMapDialog::exec_on_accept() {
    if (m_gameConfig) m_gameConfig->GameCommandLine = ui->txtCmdLine->text();
    accept();
}

void cRunMapDialog::buildContextMenus() {
    const struct {
        const MenuEntry* entries;
        size_t count;
        QPushButton* button;
        QLineEdit* target;
    } menus[3] = {{kCmdsMenu, std::size(kCmdsMenu), ui->btnCmds, ui->txtCmds},
                  {kParmsMenu, std::size(kParmsMenu), ui->btnParms, ui->txtParms},
                  {kFilesMenu, std::size(kFilesMenu), ui->btnFiles, ui->txtFiles}};
    static const char* const kWhatsThis[3] = {"Cmds", "Parms", "Files"};
    for (int m = 0; m < 3; ++m) {
        QMenu* menu = new QMenu(this);
        menu->setWhatsThis(QString::fromLatin1(kWhatsThis[m]));
        for (size_t i = 0; i < menus[m].count && i < size_t(kMaxMenuEntries); ++i) {
            const MenuEntry& entry = menus[m].entries[i];
            if (!entry.text) {
                menu->addSeparator();
                continue;
            }
            auto* action = new QRunMapContextMenuAction(QString::fromLatin1(entry.text), menu);
            action->mode = entry.mode;
            action->target = menus[m].target;
            action->insertText = QString::fromLatin1(entry.insert);
            if (entry.specialType) {
                action->setData(entry.specialType);
                action->insertText = m_specialNames.of(entry.specialType);
                m_specialActions.append(action);
            }
            menu->addAction(action);
            connect(action, &QAction::triggered, this, &cRunMapDialog::exec_on_contextMenuAction);
        }
        m_menus[m] = menu;
    }
}

void cRunMapDialog::exec_on_contextMenuAction() {
    auto* action = qobject_cast<QRunMapContextMenuAction*>(sender());
    if (!action || !action->target) return;
    QString text = action->insertText;
    if (action->mode & (RUNMENU_BROWSE_PROGRAM | RUNMENU_BROWSE_FILE)) {
        // "*.*" would hide names without a dot, which most programs here have.
        const QString filter =
            (action->mode & RUNMENU_BROWSE_PROGRAM) ? tr("Executables (*)") : tr("All Files (*)");
        text = Prompt_GetOpenFileName(this, QString(), m_lastBrowseDirectory, filter);
        if (text.isEmpty()) return;
        m_lastBrowseDirectory = QFileInfo(text).canonicalPath();
    }
    if (action->mode & RUNMENU_REPLACE)
        action->target->setText(text);
    else
        action->target->setText(action->target->text() + text);
}

void cRunMapDialog::popUp(QMenu* menu, QWidget* button) {
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void cRunMapDialog::exec_on_parms() {
    popUp(m_menus[1], ui->btnParms);
}

void cRunMapDialog::exec_on_cmds() {
    popUp(m_menus[0], ui->btnCmds);
}

void cRunMapDialog::exec_on_files() {
    popUp(m_menus[2], ui->btnFiles);
}

void cRunMapDialog::exec_on_editConfigs() {
    cEditRunCfgDialog editor(ui->cbConfigs->currentIndex(), m_configs, this);
    editor.exec();
    const int row = editor.currentRow();
    fillConfigurations(row >= 0 ? row : 0);
}

void cRunMapDialog::fillConfigurations(int index) {
    ui->cbConfigs->clear();
    ui->groupBox->setEnabled(false);
    ui->groupBox2->setEnabled(false);
    const QIcon icon(QStringLiteral(":/qrc/runcfg.png"));
    for (const auto& config : m_configs)
        ui->cbConfigs->addItem(icon, config->Title);
    ui->cbConfigs->setCurrentIndex(index < ui->cbConfigs->count() ? index : -1);
}

RunConfig* cRunMapDialog::currentConfig() const {
    const int index = ui->cbConfigs->currentIndex();
    return index >= 0 && index < m_configs.size() ? m_configs[index].get() : nullptr;
}

RunCommand* cRunMapDialog::currentCommand() const {
    RunConfig* config = currentConfig();
    const int row = ui->lstCmd->currentRow();
    return config && row >= 0 && row < config->Commands.size() ? config->Commands[row].get() : nullptr;
}

QString cRunMapDialog::commandTitle(const RunCommand& c) const {
    return c.Type >= RUNCMD_CHANGE_DIR && c.Type <= RUNCMD_DELETE ? m_specialNames.of(c.Type) : c.Prog;
}

QString cRunMapDialog::commandLabel(const RunCommand& c) const {
    return QStringLiteral("%1:").arg(commandTitle(c));
}

QString cRunMapDialog::commandParameters(const RunCommand& c) const {
    return c.Type == RUNCMD_COPY || c.Type == RUNCMD_RENAME ? QStringLiteral("%1 %2").arg(c.Prog, c.Args)
                                                            : c.Args;
}

QString cRunMapDialog::rowText(const RunCommand& c) const {
    return QStringLiteral("%1 %2").arg(commandLabel(c), commandParameters(c));
}

void cRunMapDialog::refreshRow() {
    RunCommand* command = currentCommand();
    if (QListWidgetItem* item = ui->lstCmd->currentItem(); item && command) item->setText(rowText(*command));
}

void cRunMapDialog::updateOkButton() {
    const RunConfig* config = currentConfig();
    ui->buttonBox->button(QDialogButtonBox::Ok)
        ->setEnabled(!m_expert || (config && !config->Commands.isEmpty()));
}

void cRunMapDialog::exec_on_selectConfig(int index) {
    ui->lstCmd->clear();
    RunConfig* config = index >= 0 && index < m_configs.size() ? m_configs[index].get() : nullptr;
    if (!config) {
        ui->groupBox2->setEnabled(false);
        exec_on_selectCommand(-1);
        updateOkButton();
        return;
    }
    for (const auto& command : config->Commands) {
        auto* item = new QListWidgetItem(rowText(*command));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState((command->Flags & RUNCMD_ENABLED) ? Qt::Checked : Qt::Unchecked);
        ui->lstCmd->addItem(item);
    }
    ui->lstCmd->setCurrentRow(0);
    if (config->Commands.isEmpty()) exec_on_selectCommand(-1);
    ui->groupBox2->setEnabled(true);
    updateOkButton();
}

void cRunMapDialog::setRunBoxes(int32_t type) {
    const bool window = type == RUNCMD_PROCESS_WINDOW;
    const bool file = type >= RUNCMD_CHANGE_DIR && type <= RUNCMD_DELETE;
    ui->cbProcWnd->setChecked(window);
    ui->cbProcWnd->setEnabled(!file);
    ui->cbWait->setChecked(window || type == RUNCMD_RUN_WAIT);
    ui->cbWait->setEnabled(!file && !window);
}

void cRunMapDialog::exec_on_selectCommand(int row) {
    m_filling = true;
    ui->txtCmds->clear();
    ui->txtParms->clear();
    ui->txtFiles->clear();
    ui->cbEnsurePost->setChecked(false);
    ui->cbProcWnd->setChecked(false);
    RunConfig* config = currentConfig();
    const RunCommand* command =
        config && row >= 0 && row < config->Commands.size() ? config->Commands[row].get() : nullptr;
    if (command) {
        ui->groupBox->setEnabled(true);
        ui->txtCmds->setText(commandTitle(*command));
        ui->txtParms->setText(commandParameters(*command));
        ui->txtFiles->setText(command->FileCheck);
        ui->cbEnsurePost->setChecked(command->Flags & RUNCMD_CHECK_FILE);
        setRunBoxes(command->Type);
        ui->btnUpCmd->setEnabled(row > 0);
        ui->btnDownCmd->setEnabled(row < config->Commands.size() - 1);
    } else {
        ui->groupBox->setEnabled(false);
        ui->btnUpCmd->setEnabled(false);
        ui->btnDownCmd->setEnabled(false);
    }
    updateOkButton();
    m_filling = false;
}

void cRunMapDialog::exec_on_changeCmds() {
    RunCommand* command = currentCommand();
    if (!command || m_filling) return;
    const QString text = ui->txtCmds->text();
    const int32_t special = m_specialNames.typeOf(text);
    if (special >= 0) {
        command->Type = special;
        if (special == RUNCMD_COPY || special == RUNCMD_RENAME) {
            parseSourceDestination(ui->txtParms->text(), &command->Prog, &command->Args);
        } else {
            command->Prog.clear();
            command->Args = ui->txtParms->text();
        }
        ui->cbProcWnd->setEnabled(false);
        ui->cbWait->setEnabled(false);
    } else {
        if (command->Type >= RUNCMD_CHANGE_DIR && command->Type <= RUNCMD_DELETE) {
            command->Type = ui->cbProcWnd->isChecked() ? RUNCMD_PROCESS_WINDOW
                            : ui->cbWait->isChecked()  ? RUNCMD_RUN_WAIT
                                                       : RUNCMD_RUN;
            command->Prog.clear();
            command->Args = ui->txtParms->text();
            ui->cbProcWnd->setEnabled(true);
            m_filling = true;
            ui->txtCmds->clear();
            m_filling = false;
        } else {
            command->Prog = text;
        }
        ui->cbWait->setEnabled(command->Type != RUNCMD_PROCESS_WINDOW);
    }
    refreshRow();
}

void cRunMapDialog::parseSourceDestination(const QString& text, QString* source, QString* destination) {
    static const QRegularExpression re(QStringLiteral("^[\\s]*(\\\"[^\\\"]*\\\"|[^\\s\\\"]*)[\\s\\\"](.*)$"));
    const QRegularExpressionMatch m = re.match(text);
    if (m.hasMatch()) {
        *source = m.captured(1);
        *destination = m.captured(2);
    } else {
        *source = text;
        destination->clear();
    }
}

void cRunMapDialog::exec_on_changeParms() {
    RunCommand* command = currentCommand();
    if (!command || m_filling) return;
    if (command->Type == RUNCMD_COPY || command->Type == RUNCMD_RENAME)
        parseSourceDestination(ui->txtParms->text(), &command->Prog, &command->Args);
    else
        command->Args = ui->txtParms->text();
    refreshRow();
}

void cRunMapDialog::exec_on_changeFiles() {
    RunCommand* command = currentCommand();
    if (!command || m_filling) return;
    command->FileCheck = ui->txtFiles->text();
}

void cRunMapDialog::exec_on_checkFile() {
    RunCommand* command = currentCommand();
    if (!command || m_filling) return;
    command->Flags = ui->cbEnsurePost->isChecked() ? command->Flags | RUNCMD_CHECK_FILE
                                                   : command->Flags & ~RUNCMD_CHECK_FILE;
}

void cRunMapDialog::exec_on_useProcWnd() {
    RunCommand* command = currentCommand();
    if (!command || m_filling) return;
    const bool window = ui->cbProcWnd->isChecked();
    if ((command->Type == RUNCMD_RUN || command->Type == RUNCMD_RUN_WAIT) && window) {
        command->Type = RUNCMD_PROCESS_WINDOW;
        ui->cbWait->setEnabled(false);
    } else if (command->Type == RUNCMD_PROCESS_WINDOW && !window) {
        command->Type = ui->cbWait->isChecked() ? RUNCMD_RUN_WAIT : RUNCMD_RUN;
        ui->cbWait->setEnabled(true);
    }
}

void cRunMapDialog::exec_on_waitTermination() {
    RunCommand* command = currentCommand();
    if (!command || m_filling) return;
    const bool wait = ui->cbWait->isChecked();
    if (command->Type == RUNCMD_RUN && wait)
        command->Type = RUNCMD_RUN_WAIT;
    else if (command->Type == RUNCMD_RUN_WAIT && !wait)
        command->Type = RUNCMD_RUN;
}

void cRunMapDialog::exec_on_modifyCommand(QListWidgetItem* item) {
    RunConfig* config = currentConfig();
    const int row = item ? ui->lstCmd->row(item) : -1;
    if (!config || row < 0 || row >= config->Commands.size()) return;
    RunCommand& command = *config->Commands[row];
    command.Flags =
        item->checkState() == Qt::Checked ? command.Flags | RUNCMD_ENABLED : command.Flags & ~RUNCMD_ENABLED;
}

void cRunMapDialog::exec_on_newCommand() {
    RunConfig* config = currentConfig();
    if (!config) return;
    config->Commands.append(std::make_shared<RunCommand>());
    auto* item = new QListWidgetItem;
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    ui->lstCmd->addItem(item);
    ui->lstCmd->setCurrentRow(ui->lstCmd->count() - 1);
}

void cRunMapDialog::exec_on_removeCommand() {
    RunConfig* config = currentConfig();
    RunCommand* command = currentCommand();
    if (!config || !command) return;
    const int row = ui->lstCmd->currentRow();
    const QString text = tr("Are you sure to remove the command #%1?\n\n%2 %3")
                             .arg(row + 1)
                             .arg(commandLabel(*command), commandParameters(*command));
    if (Prompt_Question(App_DialogParent(this), PromptIcon::Warning, text,
                        PromptButton::Yes | PromptButton::No) != PromptButton::Yes)
        return;
    config->Commands.removeAt(row);
    delete ui->lstCmd->takeItem(row);
    ui->lstCmd->setCurrentRow(row > 0 ? row - 1 : (ui->lstCmd->count() ? 0 : -1));
    exec_on_selectCommand(ui->lstCmd->currentRow());
}

void cRunMapDialog::exec_on_upCommand() {
    RunConfig* config = currentConfig();
    const int row = ui->lstCmd->currentRow();
    if (!config || !currentCommand() || row <= 0) return;
    config->Commands.swapItemsAt(row, row - 1);
    QListWidgetItem* item = ui->lstCmd->takeItem(row);
    ui->lstCmd->insertItem(row - 1, item);
    ui->lstCmd->setCurrentRow(row - 1);
}

void cRunMapDialog::exec_on_downCommand() {
    RunConfig* config = currentConfig();
    const int row = ui->lstCmd->currentRow();
    if (!config || !currentCommand() || row >= config->Commands.size() - 1) return;
    config->Commands.swapItemsAt(row, row + 1);
    QListWidgetItem* item = ui->lstCmd->takeItem(row);
    ui->lstCmd->insertItem(row + 1, item);
    ui->lstCmd->setCurrentRow(row + 1);
}
