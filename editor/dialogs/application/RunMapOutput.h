// The process output window ("Compile Process Window"): runs a built command list command by
// command, shows each command's header and the tools' output, lets the user copy the text,
// interrupt the running tool (Pause) and run the same commands again (F9). One run at a time.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

#include "dialogs/application/RunConfig.h"

namespace Ui {
class cRunMapOutput;
}
class QPlainTextEdit;
class cProcessRunner;
class cRunMapDialog;

class cRunMapOutput : public QDialog {
    Q_OBJECT
public:
    explicit cRunMapOutput(QWidget* parent = nullptr);
    ~cRunMapOutput() override;

    // Performs one command after its header; false when the run must stop.
    bool executeCommand(const RunCommand& command);
    // Runs the list: clears the pane, saves the working directory, executes while the go-on flag
    // stays set and each command succeeds, restores the directory. A fresh run shows the window
    // first. False when a command failed or the run was interrupted; false at once (nothing run)
    // while another run goes on.
    bool runCommands(const RunCommandList& commands, bool fresh);
    // Runs the list built for the last run again, after removing the stale leak and portal
    // files; nothing before the first run.
    void rerunCommands();
    // True when nothing runs or the user agreed to interrupt the running tool.
    bool askInterrupt();
    bool isRunning() const { return m_running; }
    // Runs the action once the current run has returned (at once when none runs).
    void afterRun(std::function<void()> action);
    void retranslate();

    QPlainTextEdit* output() const;
    // The dialog whose built list F9 runs again (not owned; may be null).
    void setRunMapDialog(cRunMapDialog* dialog) { m_dialog = dialog; }
    // What F9 answered No starts: the File menu's run command.
    std::function<void()> runCommandAgain;

    // Cleared by an interrupt: the run stops before its next command.
    bool goOn = true;

public slots:
    void reject() override;
    void exec_on_copyOutput();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // F9 with nothing running: the same commands again, or the run dialog.
    void askRerun();
    bool performCommand(const RunCommand& command);

    std::unique_ptr<Ui::cRunMapOutput> ui;
    cProcessRunner* m_runner = nullptr; // the process-window command now running; not owned
    QString m_savedDirectory;
    RunSpecialNames m_specialNames;
    cRunMapDialog* m_dialog = nullptr;
    bool m_running = false;
    QList<std::function<void()>> m_afterRun;
};
