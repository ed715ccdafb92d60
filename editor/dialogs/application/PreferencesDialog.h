// The options dialog: the user settings of the main window on four pages and the game
// configurations on "Game &Profiles". The configuration pages edit a working copy of the manager,
// which OK and Apply commit; the other pages are stored from their controls on OK and Apply.
#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <QTableWidgetItem>
#include <memory>

#include "ui_PreferencesDialog.h"

class GameConfigManager;
struct GameConfig;
class QAbstractButton;
class QListWidgetItem;

// A cell of the texture table that carries the package entry its row stands for.
class QCustomTableWidgetItem : public QTableWidgetItem {
public:
    explicit QCustomTableWidgetItem(const QString& text = QString(), const QString& key = QString())
        : QTableWidgetItem(text), key(key) {}
    ~QCustomTableWidgetItem() override;

    QString key;
};

class cPreferencesDialog : public QDialog, public Ui_cPreferencesDialog {
    Q_OBJECT
public:
    // page: the index of the first page shown (0..4).
    cPreferencesDialog(int page, QWidget* parent);
    ~cPreferencesDialog() override;

    void loadSettings();
    // True when some change takes effect only after a restart.
    bool commitSettings();
    // A path under the game root (the parent of the base directory) made relative to it.
    QString relativeGamePath(const QString& path) const;
    // A relative path put under the game root.
    QString absoluteGamePath(const QString& path) const;
    // The same for a base directory of one's own.
    static QString absoluteGamePathIn(const QString& basedir, const QString& path);
    // Checks the palettes and replaces the main window's configurations by the working copy;
    // false when the user chose to correct something first.
    bool applyGameConfigs();
    void fillConfigList();
    void fillMapTypes();
    // Sets the configuration's map profile or texture format: the user's change after its checks,
    // or the page's default for a configuration without one.
    void setMapProfile(const QString& profile);
    void setTextureFormat(int format);
    void fillDefaultClasses();
    void fillTextureTable();

    std::unique_ptr<GameConfigManager> workingConfigs;
    bool fillingClassLists = false;
    bool loadingConfig = false;
    bool restartRequired = false;
    QString lastGameDataFolder;
    QString lastToolFolder;

public slots:
    void exec_on_buttonClick(QAbstractButton* button);
    void exec_on_worldSizeChange(int value);
    void exec_on_timeToTopSpeedChange(int value);
    void exec_on_configChanged();
    void exec_on_editConfig();
    void exec_on_addFGD();
    void exec_on_editFGD();
    void exec_on_removeFGD();
    void exec_on_enableChanged(bool enabled);
    void exec_on_textureFormatChanged(int index);
    void exec_on_mapProfileChanged(int index);
    void exec_on_defaultPointChanged();
    void exec_on_defaultSolidChanged();
    void exec_on_gameExecutableChanged();
    void exec_on_gameBasedirChanged();
    void exec_on_gameModdirChanged();
    void exec_on_mapSrcDirChanged();
    void exec_on_browseForModelViewer();
    void exec_on_modelViewerChanged();
    void exec_on_toolCSGChanged();
    void exec_on_toolBSPChanged();
    void exec_on_toolVISChanged();
    void exec_on_toolLIGHTChanged();
    void exec_on_browseForGameExecutable();
    void exec_on_browseForGameBasedir();
    void exec_on_browseForGameModdir();
    void exec_on_browseForMapSrcDir();
    void exec_on_browseForToolCSG();
    void exec_on_browseForToolBSP();
    void exec_on_browseForToolVIS();
    void exec_on_browseForToolLIGHT();
    void exec_on_textureAddFiles();
    void exec_on_textureAddDirectory();
    void exec_on_textureRemove();
    void exec_on_paletteChanged();
    void exec_on_browseForPalette();
    void exec_on_textureMoveUp();
    void exec_on_textureMoveDown();
    void exec_on_textureBrightnessChanged();
    void exec_on_textureDefaultScaleChanged(double value);
    void exec_on_browseForAutosaveDir();

private:
    // The title each working configuration had in the main window's manager, so that renames in
    // the list editor reach the maps bound to the old title.
    QHash<GameConfig*, QString> m_liveTitles;

    GameConfig* config() const;
    // Loads an entity-definition file of the configuration and paints its item.
    void loadGameData(QListWidgetItem* item, const QString& path, bool reload);
    // The text field's slot, shared by the path fields: stores the text into the field.
    void storePath(QLineEdit* edit, QString GameConfig::*field);
    void storeTool(QLineEdit* edit, int tool);
    // A browse result with "/" separators into the edit; false when cancelled.
    bool browseFile(QLineEdit* edit, const QString& start, bool directory);
    void browseTool(QLineEdit* edit, int tool);
    void appendTextureRow(const QString& key, const QString& toolTip, const QString& defaultIcon);
    void moveTextureRow(int delta);
    // Maps bound to configurations renamed in the working copy take the new titles.
    void rebindRenamedConfigs();
};
