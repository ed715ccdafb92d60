// The "Game &Profiles" page of the options dialog: every control writes into the working copy's
// current configuration as it changes; Apply and OK hand the copy to the main window.
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include "core/BaseDirectory.h"
#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "core/FileLookup.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "dialogs/application/EditGameCfgDialog.h"
#include "dialogs/application/PreferencesDialog.h"
#include "document/MapDocument.h"
#include "gamedata/GameConfig.h"
#include "gamedata/GameData.h"
#include "gamedata/MapProfile.h"
#include "dialogs/application/DialogHost.h"
#include "views/ViewState.h"

namespace {

// Wait cursor for the life of the scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// View drawing suspended for the life of the scope.
struct SuspendDrawing {
    uint8_t saved = View_NoRedraw;
    SuspendDrawing() { View_NoRedraw = 1; }
    ~SuspendDrawing() { View_NoRedraw = saved; }
};

bool hasPalette(const MapProfileRecord* profile) {
    return profile && (profile->capabilities & MAP_PROFILE_PALETTE);
}

} // namespace

GameConfig* cPreferencesDialog::config() const {
    return workingConfigs ? workingConfigs->current : nullptr;
}

void cPreferencesDialog::loadGameData(QListWidgetItem* item, const QString& path, bool reload) {
    GameConfig* cfg = config();
    GameDataRegistry* registry = Fgd_Registry();
    GameData* file = registry ? registry->files.value(path, nullptr) : nullptr;
    bool loaded = false;
    if (file) {
        GameFolders* previous = Sys_FileLookup().current;
        Sys_SwitchFileLookup(cfg);
        if (reload && file->loadState != GameDataState::NotLoaded) {
            Fgd_ClearClasses(file);
        }
        loaded = Fgd_Load(file, false);
        const bool onDemand = cfg && cfg->inUseCount == 0 && Sys_Settings().NoPrecache;
        if (loaded && !onDemand) Fgd_PrecacheModels(file, cfg ? cfg->PaletteFile : QString());
        Sys_SwitchFileLookup(previous);
    }
    if (item) item->setForeground(loaded ? QApplication::palette().text() : QBrush(Qt::red));
}

void cPreferencesDialog::exec_on_configChanged() {
    GameCfg_SelectByTitle(workingConfigs.get(), cbConfig->currentText());
    lstFgd->clear();
    fillingClassLists = true;
    cbDefaultPoint->clear();
    cbDefaultSolid->clear();
    fillingClassLists = false;
    if (GameConfig* cfg = config()) {
        WaitCursor wait;
        for (const QString& path : std::as_const(cfg->GameData)) {
            auto* item = new QListWidgetItem(path, lstFgd);
            item->setToolTip(path);
            loadGameData(item, path, false);
        }
        fillDefaultClasses();
        fillTextureTable();
        fillMapTypes();
        const bool palette = hasPalette(workingConfigs->currentProfile);
        for (QWidget* w : {static_cast<QWidget*>(lblPalette), static_cast<QWidget*>(txtPalette),
                           static_cast<QWidget*>(btnPalette)})
            w->setEnabled(palette);
        txtGameExe->setText(cfg->GameExecutable);
        txtGameBasedir->setText(cfg->GameBasedir);
        txtGameModdir->setText(cfg->GameModdir);
        txtMapSrcDir->setText(cfg->MapSourceFileDirectory);
        txtModelViewer->setText(cfg->ModelViewer);
        QLineEdit* tools[] = {txtMaptoolCSG, txtMaptoolBSP, txtMaptoolVIS, txtMaptoolLIGHT};
        for (int i = 0; i < 4; ++i)
            tools[i]->setText(cfg->MapTool[i]);
        slTextureBrightness->setValue(int(cfg->TextureBrightness / 5));
        sTexScale->setValue(cfg->DefaultTextureScale);
        txtPalette->setText(palette ? cfg->PaletteFile : QString());
    }
    btnFgdEdit->setEnabled(lstFgd->count() > 0);
    btnFgdRemove->setEnabled(lstFgd->count() > 0);
}

void cPreferencesDialog::fillConfigList() {
    // Clearing the box selects nothing in the working copy: take the title first.
    const QString currentTitle = config() ? config()->Title : QString();
    cbConfig->clear();
    for (const GameConfig* cfg : std::as_const(workingConfigs->configs)) {
        cbConfig->addItem(cfg->Title);
        if (cfg->Title == currentTitle) cbConfig->setCurrentIndex(cbConfig->count() - 1);
    }
    gameCfgGroupBox->setEnabled(cbConfig->count() > 0);
}

void cPreferencesDialog::fillMapTypes() {
    loadingConfig = true;
    cbTexFmt->setCurrentIndex(2);
    cbMapType->clear();
    GameConfig* cfg = config();
    if (cfg) {
        for (const auto& entry : workingConfigs->profiles)
            cbMapType->addItem(QString::fromUtf8(Profile_Text(entry.second.title)),
                               QString::fromUtf8(entry.first));
        cbMapType->model()->sort(0);
        cbMapType->setCurrentIndex(0);
        const int profile = cbMapType->findData(cfg->MapProfile);
        if (profile >= 0) cbMapType->setCurrentIndex(profile);
        const int format = cbTexFmt->findData(cfg->TextureFormat);
        if (format >= 0) cbTexFmt->setCurrentIndex(format);
        btnTexAddDir->setEnabled(cfg->TextureFormat & 2);
        cbCfgEnable->setChecked(cfg->Enabled);
    }
    loadingConfig = false;
    // A configuration without them takes the boxes' defaults: the page's choice, not a change the
    // user made, so nothing is refused or warned about.
    if (cfg && cfg->MapProfile.isEmpty()) setMapProfile(cbMapType->currentData().toString());
    if (cfg && cfg->TextureFormat == 0) setTextureFormat(cbTexFmt->currentData().toInt());
}

void cPreferencesDialog::fillDefaultClasses() {
    fillingClassLists = true;
    cbDefaultPoint->clear();
    cbDefaultSolid->clear();
    GameConfig* cfg = config();
    if (cfg) {
        const QString point = cfg->DefaultPointClass;
        const QString solid = cfg->DefaultSolidClass;
        GameDataRegistry* registry = Fgd_Registry();
        QSet<QString> seenPoint, seenSolid;
        for (const QString& path : std::as_const(cfg->GameData)) {
            const GameData* file = registry ? registry->files.value(path, nullptr) : nullptr;
            if (!file || file->loadState != GameDataState::Loaded) continue;
            for (const auto& entry : file->classes) {
                const EntityClass* eclass = entry.second.get();
                QComboBox* box = eclass->kind == EntityClassKind::Solid   ? cbDefaultSolid
                                 : eclass->kind == EntityClassKind::Point ? cbDefaultPoint
                                                                          : nullptr;
                if (!box) continue;
                QSet<QString>& seen = box == cbDefaultSolid ? seenSolid : seenPoint;
                const QString name = QString::fromLatin1(eclass->name);
                if (!seen.contains(name.toLower())) box->addItem(name);
                seen.insert(name.toLower());
            }
        }
        for (QComboBox* box : {cbDefaultPoint, cbDefaultSolid}) {
            box->model()->sort(0);
            const QString& wanted = box == cbDefaultPoint ? point : solid;
            const int index = box->findText(wanted, Qt::MatchExactly | Qt::MatchCaseSensitive);
            box->setCurrentIndex(index >= 0 ? index : 0);
        }
        if (point.isEmpty()) cfg->DefaultPointClass = cbDefaultPoint->currentText();
        if (solid.isEmpty()) cfg->DefaultSolidClass = cbDefaultSolid->currentText();
    }
    fillingClassLists = false;
}

void cPreferencesDialog::exec_on_defaultPointChanged() {
    if (!fillingClassLists && config()) config()->DefaultPointClass = cbDefaultPoint->currentText();
}

void cPreferencesDialog::exec_on_defaultSolidChanged() {
    if (!fillingClassLists && config()) config()->DefaultSolidClass = cbDefaultSolid->currentText();
}

void cPreferencesDialog::exec_on_enableChanged(bool enabled) {
    if (!loadingConfig && config()) config()->Enabled = enabled;
}

void cPreferencesDialog::exec_on_addFGD() {
    GameConfig* cfg = config();
    if (!cfg) return;
    const QString start = lastGameDataFolder.isEmpty() ? App_GetBaseDirectory() : lastGameDataFolder;
    const QString path = Prompt_GetOpenFileName(this, QString(), start, tr("Game Data Files (*.fgd)"));
    if (path.isEmpty()) return;
    {
        WaitCursor wait;
        SuspendDrawing suspend;
        lastGameDataFolder = QFileInfo(path).absolutePath();
        QListWidgetItem* listed = nullptr;
        for (int i = 0; i < lstFgd->count() && !listed; ++i)
            if (lstFgd->item(i)->text().compare(path, Qt::CaseInsensitive) == 0) listed = lstFgd->item(i);
        if (!listed) {
            auto* item = new QListWidgetItem(path, lstFgd);
            item->setToolTip(path);
            cfg->GameData.append(path);
            Fgd_Acquire(Fgd_Registry(), path);
            loadGameData(item, path, false);
        } else {
            loadGameData(listed, listed->text(), true);
        }
        fillDefaultClasses();
        if (DialogHost* host = Dialog_Host()) host->rebindEntityClasses();
    }
    btnFgdEdit->setEnabled(lstFgd->count() > 0);
    btnFgdRemove->setEnabled(lstFgd->count() > 0);
}

void cPreferencesDialog::exec_on_editFGD() {
    GameConfig* cfg = config();
    QListWidgetItem* item = lstFgd->currentItem();
    if (!cfg || !item) return;
    if (cfg->inUseCount > 0) {
        Prompt_Message(this, PromptIcon::Warning,
                       tr("Cannot edit FGD that might be in use by some loaded projects.\nPlease first close "
                          "all projects that use the profile \"%1\".")
                           .arg(cfg->Title));
        return;
    }
    // The desktop's editor cannot be waited for: the user says when the file is saved.
    QDesktopServices::openUrl(QUrl::fromLocalFile(item->text()));
    Prompt_Message(this, PromptIcon::Information,
                   tr("Edit \"%1\", save it and press OK to reload it.").arg(item->text()));
    {
        WaitCursor wait;
        SuspendDrawing suspend;
        loadGameData(item, item->text(), true);
        fillDefaultClasses();
        if (DialogHost* host = Dialog_Host()) host->rebindEntityClasses();
    }
    btnFgdEdit->setEnabled(lstFgd->count() > 0);
    btnFgdRemove->setEnabled(lstFgd->count() > 0);
}

void cPreferencesDialog::exec_on_removeFGD() {
    GameConfig* cfg = config();
    QListWidgetItem* item = lstFgd->currentItem();
    if (!cfg || !item) return;
    if (cfg->inUseCount > 0) {
        Prompt_Message(
            this, PromptIcon::Warning,
            tr("Cannot remove FGD that might be in use by some loaded projects.\nPlease first close "
               "all projects that use the profile \"%1\".")
                .arg(cfg->Title));
        return;
    }
    {
        SuspendDrawing suspend;
        const QString path = item->text();
        Fgd_Release(Fgd_Registry(), path);
        cfg->GameData.removeAll(path);
        delete item;
        fillDefaultClasses();
        if (DialogHost* host = Dialog_Host()) host->rebindEntityClasses();
    }
    btnFgdEdit->setEnabled(lstFgd->count() > 0);
    btnFgdRemove->setEnabled(lstFgd->count() > 0);
}

void cPreferencesDialog::exec_on_textureFormatChanged(int index) {
    GameConfig* cfg = config();
    if (loadingConfig || !cfg) return;
    const int format = cbTexFmt->itemData(index).toInt();
    if (lstTextures->rowCount() == 0 || format == cfg->TextureFormat) {
        setTextureFormat(format);
        return;
    }
    Prompt_Message(
        this, PromptIcon::Warning,
        tr("Cannot change texture format while some textures are loaded!\nPlease clear the texture "
           "list before modifying the texture format."));
    loadingConfig = true;
    cbTexFmt->setCurrentIndex(cbTexFmt->findData(cfg->TextureFormat));
    loadingConfig = false;
}

void cPreferencesDialog::exec_on_mapProfileChanged(int index) {
    GameConfig* cfg = config();
    if (loadingConfig || !cfg) return;
    const QString profile = cbMapType->itemData(index).toString();
    if (lstTextures->rowCount() > 0 && profile != cfg->MapProfile) {
        Prompt_Message(
            this, PromptIcon::Warning,
            tr("Cannot change map type while some textures are loaded!\nPlease clear the texture list "
               "before modifying the map type."));
        loadingConfig = true;
        cbMapType->setCurrentIndex(cbMapType->findData(cfg->MapProfile));
        loadingConfig = false;
        return;
    }
    setMapProfile(profile);
}

void cPreferencesDialog::setMapProfile(const QString& profile) {
    GameConfig* cfg = config();
    if (!cfg) return;
    cfg->MapProfile = profile;
    workingConfigs->currentProfile = GameCfg_CurrentProfile(workingConfigs.get());
    const bool palette = hasPalette(workingConfigs->currentProfile);
    lblPalette->setEnabled(palette);
    txtPalette->setEnabled(palette);
    btnPalette->setEnabled(palette);
}

void cPreferencesDialog::setTextureFormat(int format) {
    if (GameConfig* cfg = config()) cfg->TextureFormat = format;
    btnTexAddDir->setEnabled(format & 2);
}

void cPreferencesDialog::storePath(QLineEdit* edit, QString GameConfig::*field) {
    if (GameConfig* cfg = config()) cfg->*field = edit->text();
}

void cPreferencesDialog::storeTool(QLineEdit* edit, int tool) {
    if (GameConfig* cfg = config()) cfg->MapTool[tool] = edit->text();
}

void cPreferencesDialog::exec_on_gameExecutableChanged() {
    storePath(txtGameExe, &GameConfig::GameExecutable);
}
void cPreferencesDialog::exec_on_gameBasedirChanged() {
    storePath(txtGameBasedir, &GameConfig::GameBasedir);
    fillTextureTable();
}
void cPreferencesDialog::exec_on_gameModdirChanged() {
    storePath(txtGameModdir, &GameConfig::GameModdir);
}
void cPreferencesDialog::exec_on_mapSrcDirChanged() {
    storePath(txtMapSrcDir, &GameConfig::MapSourceFileDirectory);
}
void cPreferencesDialog::exec_on_modelViewerChanged() {
    storePath(txtModelViewer, &GameConfig::ModelViewer);
}
void cPreferencesDialog::exec_on_toolCSGChanged() {
    storeTool(txtMaptoolCSG, 0);
}
void cPreferencesDialog::exec_on_toolBSPChanged() {
    storeTool(txtMaptoolBSP, 1);
}
void cPreferencesDialog::exec_on_toolVISChanged() {
    storeTool(txtMaptoolVIS, 2);
}
void cPreferencesDialog::exec_on_toolLIGHTChanged() {
    storeTool(txtMaptoolLIGHT, 3);
}

bool cPreferencesDialog::browseFile(QLineEdit* edit, const QString& start, bool directory) {
    QString chosen = directory ? Prompt_GetExistingDirectory(this, QString(), start)
                               : Prompt_GetOpenFileName(this, QString(), start, tr("Executables (*)"));
    if (chosen.isEmpty()) return false;
    chosen.replace(QLatin1Char('\\'), QLatin1Char('/'));
    edit->setText(chosen);
    return true;
}

void cPreferencesDialog::exec_on_browseForGameExecutable() {
    if (browseFile(txtGameExe, txtGameExe->text(), false)) exec_on_gameExecutableChanged();
}
void cPreferencesDialog::exec_on_browseForGameBasedir() {
    if (browseFile(txtGameBasedir, txtGameBasedir->text(), true)) exec_on_gameBasedirChanged();
}
void cPreferencesDialog::exec_on_browseForGameModdir() {
    const QString start = txtGameModdir->text().isEmpty() ? txtGameBasedir->text() : txtGameModdir->text();
    if (browseFile(txtGameModdir, start, true)) exec_on_gameModdirChanged();
}
void cPreferencesDialog::exec_on_browseForMapSrcDir() {
    const QString start = txtMapSrcDir->text().isEmpty() ? txtGameBasedir->text() : txtMapSrcDir->text();
    if (browseFile(txtMapSrcDir, start, true)) exec_on_mapSrcDirChanged();
}
void cPreferencesDialog::exec_on_browseForModelViewer() {
    if (browseFile(txtModelViewer, txtModelViewer->text(), false)) exec_on_modelViewerChanged();
}

void cPreferencesDialog::browseTool(QLineEdit* edit, int tool) {
    QString start = edit->text();
    if (start.isEmpty()) start = lastToolFolder;
    if (start.isEmpty()) start = txtGameBasedir->text();
    if (!browseFile(edit, start, false)) return;
    lastToolFolder = QFileInfo(edit->text()).absolutePath();
    storeTool(edit, tool);
}

void cPreferencesDialog::exec_on_browseForToolCSG() {
    browseTool(txtMaptoolCSG, 0);
}
void cPreferencesDialog::exec_on_browseForToolBSP() {
    browseTool(txtMaptoolBSP, 1);
}
void cPreferencesDialog::exec_on_browseForToolVIS() {
    browseTool(txtMaptoolVIS, 2);
}
void cPreferencesDialog::exec_on_browseForToolLIGHT() {
    browseTool(txtMaptoolLIGHT, 3);
}

void cPreferencesDialog::exec_on_editConfig() {
    cEditGameCfgDialog editor(workingConfigs.get(), this);
    editor.exec();
    const QString title = editor.selectedTitle();
    if (!title.isEmpty()) GameCfg_SelectByTitle(workingConfigs.get(), title);
    fillConfigList();
}

void cPreferencesDialog::rebindRenamedConfigs() {
    // Maps bound to a configuration renamed in the list editor follow it to its new title.
    const DialogHost* host = Dialog_Host();
    const QList<MapDocument*> documents = host ? host->documents() : QList<MapDocument*>();
    for (auto it = m_liveTitles.begin(); it != m_liveTitles.end(); ++it) {
        if (!workingConfigs->configs.contains(it.key()) || it.key()->Title == it.value()) continue;
        for (MapDocument* document : documents)
            if (document->gameConfigName == it.value()) document->gameConfigName = it.key()->Title;
    }
    m_liveTitles.clear();
    for (GameConfig* cfg : std::as_const(workingConfigs->configs))
        m_liveTitles.insert(cfg, cfg->Title);
}

bool cPreferencesDialog::applyGameConfigs() {
    for (GameConfig* cfg : std::as_const(workingConfigs->configs)) {
        const MapProfileRecord* profile =
            GameCfg_FindProfile(workingConfigs.get(), cfg->MapProfile.toUtf8().constData());
        if (!hasPalette(profile)) continue;
        for (;;) {
            int32_t answer;
            if (cfg->PaletteFile.isEmpty()) {
                answer = Prompt_Question(
                    this, PromptIcon::Warning,
                    tr("Palette file for the game configuration \"%1\" was not specified.\nThis may lead to "
                       "incorrect loading of textures and other game resources.\nIt is recommended to browse "
                       "for a palette file before applying the settings.")
                        .arg(cfg->Title),
                    PromptButton::Abort | PromptButton::Ignore);
            } else {
                if (QFileInfo::exists(absoluteGamePathIn(cfg->GameBasedir, cfg->PaletteFile))) break;
                answer = Prompt_Question(
                    this, PromptIcon::Warning,
                    tr("Palette file for the game configuration \"%1\" doesn't exist.\nThis may lead to "
                       "incorrect loading of textures and other game resources.\nIt is recommended to "
                       "specify "
                       "an existing palette file before applying the settings.")
                        .arg(cfg->Title),
                    PromptButton::Abort | PromptButton::Retry | PromptButton::Ignore);
            }
            if (answer == PromptButton::Ignore) break;
            if (answer == PromptButton::Retry) continue;
            GameCfg_Select(workingConfigs.get(), cfg);
            fillConfigList();
            tabWidget->setCurrentWidget(tabcfg);
            tabWidget2->setCurrentIndex(2);
            txtPalette->selectAll();
            txtPalette->setFocus();
            return false;
        }
    }
    rebindRenamedConfigs();
    if (GameConfigManager* live = GameCfg_Manager()) GameCfg_Assign(live, *workingConfigs, true);
    return true;
}
