#include "dialogs/application/RunMapOutput.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QSaveFile>
#include <QTimer>
#include <cerrno>
#include <cstdio>

#include "core/FileLookup.h"
#include "core/Platform.h"
#include "core/Prompt.h"
#include "core/System.h"
#include "core/TextEncoding.h"
#include "dialogs/application/ProcessRunner.h"
#include "dialogs/application/RunMapDialog.h"
#include "ui_RunMapOutput.h"
#include "views/DialogParent.h"

static void initRunResources() {
    Q_INIT_RESOURCE(run);
}

namespace {

const QString kSystemName = QStringLiteral("Linux");

// A copy or rename source in double quotes names the file between them.
QString unquoted(const QString& path) {
    if (path.size() >= 2 && path.startsWith('"') && path.endsWith('"')) return path.mid(1, path.size() - 2);
    return path;
}

// Copies through a temporary file renamed over the destination, so a failed copy keeps it.
bool copyFile(const QString& source, const QString& destination, QString* error) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = in.errorString();
        return false;
    }
    QSaveFile out(destination);
    if (!out.open(QIODevice::WriteOnly)) {
        *error = out.errorString();
        return false;
    }
    QByteArray block(1 << 16, '\0');
    for (;;) {
        const qint64 count = in.read(block.data(), block.size());
        if (count < 0) {
            *error = in.errorString();
            return false;
        }
        if (count == 0) break;
        if (out.write(block.constData(), count) != count) {
            *error = out.errorString();
            return false;
        }
    }
    if (!out.flush() || !out.commit()) {
        *error = out.errorString();
        return false;
    }
    QFile::setPermissions(destination, in.permissions());
    return true;
}

// Replaces the destination in one step; across file systems a copy and a removal.
bool renameFile(const QString& source, const QString& destination) {
    if (!QFileInfo(source).isFile()) return false;
    if (std::rename(Path_ToNative(source).constData(), Path_ToNative(destination).constData()) == 0)
        return true;
    if (errno != EXDEV) return false;
    QString error;
    return copyFile(source, destination, &error) && QFile::remove(source);
}

} // namespace

cRunMapOutput::cRunMapOutput(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::cRunMapOutput>()) {
    initRunResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowMinimizeButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(661, 383);
    setModal(false);
    const QFontMetricsF metrics(ui->txtOutput->font());
    ui->txtOutput->setTabStopDistance(metrics.horizontalAdvance(QLatin1Char(' ')) * 8);
    m_specialNames.retranslate();
}

cRunMapOutput::~cRunMapOutput() = default;

QPlainTextEdit* cRunMapOutput::output() const {
    return ui->txtOutput;
}

void cRunMapOutput::retranslate() {
    ui->retranslateUi(this);
    m_specialNames.retranslate();
}

bool cRunMapOutput::executeCommand(const RunCommand& command) {
    QString header;
    if (command.Type == RUNCMD_COPY || command.Type == RUNCMD_RENAME)
        header = QStringLiteral("\n** Executing...\n** Command: %1\n** Source: %2\n** Destination: %3\n")
                     .arg(m_specialNames.of(command.Type), command.Prog, command.Args);
    else
        header = QStringLiteral("\n** Executing...\n** Command: %1\n** Parameters: %2\n")
                     .arg(command.Type == RUNCMD_CHANGE_DIR || command.Type == RUNCMD_DELETE
                              ? m_specialNames.of(command.Type)
                              : command.Prog,
                          command.Args);
    RunMap_AppendParagraph(ui->txtOutput, header);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    bool result = performCommand(command);

    if (result && !command.FileCheck.isEmpty() && !QFileInfo::exists(command.FileCheck)) {
        RunMap_AppendText(
            ui->txtOutput,
            QStringLiteral("* WARNING: File was not built!\n  \"%1\"\n").arg(command.FileCheck));
        const int32_t answer = Prompt_Question(
            App_DialogParent(this), PromptIcon::Warning,
            tr("The file \"%1\" was not built.\nDo you want to continue?").arg(command.FileCheck),
            PromptButton::Yes | PromptButton::No);
        if (answer != PromptButton::Yes) result = false;
    }
    return result;
}

bool cRunMapOutput::performCommand(const RunCommand& command) {
    QPlainTextEdit* pane = ui->txtOutput;
    switch (command.Type) {
    case RUNCMD_PROCESS_WINDOW: {
        cProcessRunner runner(command.Prog, command.Arguments, command.Args, pane);
        m_runner = &runner;
        const bool ok = runner.run();
        m_runner = nullptr;
        return ok;
    }
    case RUNCMD_CHANGE_DIR: {
        if (QDir::setCurrent(command.Args)) return true;
        const int error = command.Args.isEmpty() ? ENOENT : errno;
        RunMap_AppendText(pane,
                          QStringLiteral("* Could not change the directory:\n   %1\n* %2 gave the error "
                                         "message:\n   \"%3\"\n")
                              .arg(command.Args, kSystemName, QString::fromUtf8(Plat_ErrorText(error))));
        return false;
    }
    case RUNCMD_COPY: {
        const QString sourceText = unquoted(command.Prog);
        const QString destinationText = unquoted(command.Args);
        const QString source = QFileInfo(sourceText).canonicalFilePath();
        const QString existing = QFileInfo(destinationText).canonicalFilePath();
        const QString destination = existing.isEmpty() ? destinationText : existing;
        if (!source.isEmpty() && source == destination) return true;
        QString error;
        if (copyFile(source.isEmpty() ? sourceText : source, destination, &error)) return true;
        error = error.section('\r', 0, 0);
        RunMap_AppendText(
            pane, QStringLiteral("* Could not copy the file:\n   Source: %1\n   Destination: %2\n* %3 "
                                 "gave the error message:\n   \"%4\"\n")
                      .arg(command.Prog, command.Args, kSystemName, error));
        return false;
    }
    case RUNCMD_RENAME: {
        if (command.Prog == command.Args) return true;
        return renameFile(unquoted(command.Prog), unquoted(command.Args));
    }
    case RUNCMD_DELETE:
        return QFileInfo(command.Args).isFile() && QFile::remove(command.Args);
    case RUNCMD_RUN:
    case RUNCMD_RUN_WAIT: {
        QString reason;
        if (Sys_Spawn(command.Prog, command.Arguments, command.Type == RUNCMD_RUN_WAIT, &reason)) return true;
        RunMap_AppendParagraph(pane, RunMap_StartFailureText(command.Prog, command.Args, reason));
        return false;
    }
    default:
        return false;
    }
}

bool cRunMapOutput::runCommands(const RunCommandList& commands, bool fresh) {
    if (m_running) return false;
    m_running = true;
    ui->txtOutput->clear();
    goOn = true;
    m_runner = nullptr;
    if (fresh) show();
    m_savedDirectory = QDir::currentPath();
    // The list is the caller's; a copy keeps the commands alive whatever happens meanwhile.
    const RunCommandList list = commands;
    bool ok = true;
    for (const auto& command : list) {
        if (!goOn) {
            ok = false;
            break;
        }
        // The tools write, copy and remove files in the game folders.
        const bool done = executeCommand(*command);
        Sys_ForgetFoundFiles();
        if (!done) {
            ok = false;
            break;
        }
    }
    ok = ok && goOn;
    QDir::setCurrent(m_savedDirectory);
    m_running = false;
    if (!m_afterRun.isEmpty()) {
        const auto actions = std::exchange(m_afterRun, {});
        QPointer<cRunMapOutput> self(this);
        QTimer::singleShot(0, this, [self, actions] {
            for (const auto& action : actions)
                if (self) action();
        });
    }
    return ok;
}

void cRunMapOutput::rerunCommands() {
    if (!m_dialog || m_dialog->context().mapPathNoExt.isEmpty()) return;
    m_dialog->removeStaleFiles();
    runCommands(m_dialog->builtCommands(), false);
}

void cRunMapOutput::afterRun(std::function<void()> action) {
    if (!m_running) {
        action();
        return;
    }
    m_afterRun.append(std::move(action));
}

bool cRunMapOutput::askInterrupt() {
    if (!m_runner) return true;
    const int32_t answer =
        Prompt_Question(App_DialogParent(this), PromptIcon::Warning,
                        tr("Compile process is still running.\nWould you like to interrupt it?"),
                        PromptButton::Yes | PromptButton::No);
    if (answer != PromptButton::Yes) return false;
    // The runner may have finished while the question was open.
    if (m_runner) m_runner->interrupt();
    goOn = false;
    RunMap_AppendText(ui->txtOutput, QStringLiteral("\n** WARNING: Compile process interrupted by user!\n"));
    Sys_Warning("Compile process interrupted by user!");
    return true;
}

void cRunMapOutput::askRerun() {
    const int32_t answer = Prompt_Question(App_DialogParent(this), PromptIcon::Warning,
                                           tr("Do you want to execute the same compile commands?"),
                                           PromptButton::Yes | PromptButton::No);
    if (answer == PromptButton::Yes) {
        rerunCommands();
        return;
    }
    reject();
    if (runCommandAgain) runCommandAgain();
}

void cRunMapOutput::reject() {
    if (askInterrupt()) QDialog::reject();
}

void cRunMapOutput::exec_on_copyOutput() {
    QApplication::clipboard()->setText(ui->txtOutput->toPlainText());
}

void cRunMapOutput::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Pause:
        askInterrupt();
        break;
    case Qt::Key_F9:
        // A second run waits until the first has returned.
        if (askInterrupt()) afterRun([this] { askRerun(); });
        break;
    default:
        break;
    }
    event->accept();
}
