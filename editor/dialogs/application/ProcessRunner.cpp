#include "dialogs/application/ProcessRunner.h"

#include <QDir>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStringDecoder>
#include <QTextCursor>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

#include "core/System.h"

namespace {
// Reads go no further than this, so the pane grows in steps while a tool writes a lot.
constexpr qint64 kReadChunk = 4095;
} // namespace

void RunMap_AppendParagraph(QPlainTextEdit* pane, const QString& text) {
    if (pane) pane->appendPlainText(text);
}

void RunMap_AppendText(QPlainTextEdit* pane, const QString& text) {
    if (!pane || text.isEmpty()) return;
    // Inserted through a cursor of the document, so the pane lays out and scrolls once, when its
    // own cursor moves to the end afterwards.
    QTextCursor cursor(pane->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    pane->moveCursor(QTextCursor::End);
}

cProcessRunner::cProcessRunner(const QString& program, const QString& arguments, QPlainTextEdit* output)
    : m_output(output), m_program(program), m_arguments(arguments) {}

cProcessRunner::cProcessRunner(const QString& program, const QStringList& argumentList,
                               const QString& arguments, QPlainTextEdit* output)
    : m_output(output), m_program(program), m_arguments(arguments), m_argumentList(argumentList),
      m_hasList(true) {}

cProcessRunner::~cProcessRunner() {
    interrupt();
}

QString RunMap_StartFailureText(const QString& program, const QString& arguments, const QString& reason) {
    const QString line = (program.contains(' ') ? QStringLiteral("\"%1\" %2") : QStringLiteral("%1 %2"))
                             .arg(program, arguments);
    return QStringLiteral(
               "* Could not execute the command:\n   %1\n* %2 gave the error message:\n   \"%3\"\n")
        .arg(line, QStringLiteral("Linux"), reason);
}

void cProcessRunner::append(const QString& text) {
    RunMap_AppendText(m_output, text);
}

void cProcessRunner::interrupt() {
    if (!m_process || m_pid <= 0) return;
    m_interrupted = true;
    // The child made itself a group leader before exec, so the group takes its children along.
    ::kill(pid_t(-m_pid), SIGKILL);
    ::kill(pid_t(m_pid), SIGKILL);
}

bool cProcessRunner::run() {
    // A program without '/' is a file of the working directory, as the run's change-directory
    // commands expect; the process class would search the PATH instead.
    const QString program = m_program.contains('/') ? m_program : QDir::current().absoluteFilePath(m_program);
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProgram(program);
    process.setArguments(m_hasList ? m_argumentList : Sys_SplitArguments(m_arguments, m_program));
    process.setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::setpriority(PRIO_PROCESS, 0, 19);
    });

    QStringDecoder decoder(QStringDecoder::Utf8);
    QEventLoop loop;
    bool startFailed = false;
    QByteArray buffer(kReadChunk, '\0');
    // Everything that arrived together goes into the pane in one insertion.
    auto drain = [&] {
        QString text;
        for (;;) {
            const qint64 count = process.read(buffer.data(), kReadChunk);
            if (count <= 0) break;
            text += decoder.decode(QByteArrayView(buffer.constData(), count));
        }
        append(text);
    };
    QObject::connect(&process, &QProcess::readyRead, &loop, drain);
    QObject::connect(&process, &QProcess::finished, &loop, [&] { loop.quit(); });
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        startFailed = true;
        loop.quit();
    });

    m_interrupted = false;
    process.start(QIODevice::ReadWrite);
    if (!startFailed && process.state() != QProcess::NotRunning) {
        m_process = &process;
        m_pid = process.processId();
        if (process.state() != QProcess::NotRunning) loop.exec();
    }
    m_process = nullptr;
    m_pid = 0;

    if (startFailed || process.error() == QProcess::FailedToStart) {
        QString reason = process.errorString();
        const qsizetype colon = reason.lastIndexOf(QStringLiteral(": "));
        if (colon >= 0) reason = reason.mid(colon + 2); // the system's text without Qt's context
        RunMap_AppendParagraph(m_output, RunMap_StartFailureText(m_program, m_arguments, reason));
        return false;
    }
    drain();
    if (m_interrupted) return true;
    if (process.exitStatus() == QProcess::CrashExit) {
        append(QStringLiteral("* The program was killed by signal %1\n").arg(process.exitCode()));
        return false;
    }
    if (process.exitCode() != 0) {
        append(QStringLiteral("* The program exited with code %1\n").arg(process.exitCode()));
        return false;
    }
    return true;
}
