// The run-map dialog of the File menu's run command. Normal mode ("Run Map") builds the commands
// from a few choices per compile tool; expert mode ("Run Map [Advanced]") runs a run
// configuration whose commands are edited in place. Lives as long as the main window and owns the
// run configurations, which it reads at construction and writes when destroyed.
#pragma once

#include <QAction>
#include <QDialog>
#include <QString>
#include <memory>

#include "dialogs/application/RunCommands.h"
#include "dialogs/application/RunConfig.h"

namespace Ui {
class cRunMapDialog;
}
class QLineEdit;
class QListWidgetItem;
class QMenu;
struct GameConfig;
struct MapProfileRecord;

// Bits of QRunMapContextMenuAction::mode.
inline constexpr int32_t RUNMENU_REPLACE = 0x1;        // else appended
inline constexpr int32_t RUNMENU_BROWSE_PROGRAM = 0x2; // browse for a program first
inline constexpr int32_t RUNMENU_BROWSE_FILE = 0x4;    // browse for any file first

// One entry of the Cmds, Parms and Files menus: what it puts into which field.
class QRunMapContextMenuAction : public QAction {
    Q_OBJECT
public:
    QRunMapContextMenuAction(const QString& text, QObject* parent) : QAction(text, parent) {}

    int32_t mode = 0;
    QString insertText;
    QLineEdit* target = nullptr; // not owned
};

class cRunMapDialog : public QDialog {
    Q_OBJECT
public:
    explicit cRunMapDialog(QWidget* parent = nullptr);
    ~cRunMapDialog() override;

    void setExpertMode(bool expert);
    bool expertMode() const { return m_expert; }
    void setGameConfig(GameConfig* config);
    void setProfile(const MapProfileRecord* profile);
    void retranslate();

    // The run context and the commands built from it.
    void setMapFile(const QString& path);
    const RunCommandList& buildCommands();
    void removeStaleFiles();
    int32_t findPointFile(QString* path) const { return RunMap_FindPointFile(m_context, path); }
    bool findPortalFile(QString* path) const { return RunMap_FindPortalFile(m_context, path); }
    const RunContext& context() const { return m_context; }
    const RunCommandList& builtCommands() const { return m_built; }
    bool visibleOnly() const;

    // The run configurations and their file.
    RunConfigList& configurations() { return m_configs; }
    void loadConfigurations();
    void addDefaultConfiguration();
    bool saveConfigurations();
    // Source and destination of a copy or rename typed into one field.
    static void parseSourceDestination(const QString& text, QString* source, QString* destination);

public slots:
    void exec_on_toggleExpert();
    void exec_on_accept();
    void exec_on_contextMenuAction();
    void exec_on_parms();
    void exec_on_cmds();
    void exec_on_files();
    void exec_on_editConfigs();
    void exec_on_selectConfig(int index);
    void exec_on_selectCommand(int row);
    void exec_on_newCommand();
    void exec_on_removeCommand();
    void exec_on_upCommand();
    void exec_on_downCommand();
    void exec_on_checkFile();
    void exec_on_useProcWnd();
    void exec_on_waitTermination();
    void exec_on_changeCmds();
    void exec_on_changeParms();
    void exec_on_changeFiles();
    void exec_on_modifyCommand(QListWidgetItem* item);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applyMode();
    void centerOnMainWindow();
    void buildContextMenus();
    void fillConfigurations(int index);
    void updateOkButton();
    RunConfig* currentConfig() const;
    RunCommand* currentCommand() const;
    QString commandTitle(const RunCommand& command) const;
    QString commandLabel(const RunCommand& command) const;
    QString commandParameters(const RunCommand& command) const;
    QString rowText(const RunCommand& command) const;
    void refreshRow();
    void setRunBoxes(int32_t type);
    void popUp(QMenu* menu, QWidget* button);
    QString configFile(bool forWriting) const;

    std::unique_ptr<Ui::cRunMapDialog> ui;
    GameConfig* m_gameConfig = nullptr; // OK stores the game parameters into it; not owned
    RunContext m_context;               // game configuration, profile and map fields
    RunConfigList m_configs;
    bool m_expert = false;
    RunCommandList m_built;
    QString m_lastBrowseDirectory;
    QMenu* m_menus[3] = {}; // Cmds, Parms, Files
    bool m_filling = false;
    RunSpecialNames m_specialNames;
    QList<QRunMapContextMenuAction*> m_specialActions; // insert the translated special names
    cRunConfigFile m_file;
    QString m_savePath;
};
