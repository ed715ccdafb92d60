// Runs one external program with its standard output and error merged into the text pane, while the
// editor's event loop keeps turning; returns when the program has ended.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class QPlainTextEdit;
class QProcess;

class cProcessRunner {
public:
    // The pane may be null; the output is then read and dropped.
    cProcessRunner(const QString& program, const QString& arguments, QPlainTextEdit* output);
    // The arguments given one by one (a value may hold blanks or quotes); the text is only shown.
    cProcessRunner(const QString& program, const QStringList& argumentList, const QString& arguments,
                   QPlainTextEdit* output);
    ~cProcessRunner();
    cProcessRunner(const cProcessRunner&) = delete;
    cProcessRunner& operator=(const cProcessRunner&) = delete;

    // Starts the program directly (no shell) in its own process group at the lowest priority and
    // turns a local event loop until it has ended. False when it could not be started (with a
    // message in the pane), or when it ended with a non-zero code or a signal other than an
    // interrupt's (with a line saying so).
    bool run();
    // Ends the program and everything it started (its process group). The run then returns true.
    void interrupt();
    // Whether the program is running now.
    bool hasProcess() const { return m_process != nullptr; }

private:
    void readOutput();
    void append(const QString& text);

    QPlainTextEdit* m_output;
    QString m_program;
    QString m_arguments;
    QStringList m_argumentList;
    bool m_hasList = false;
    QProcess* m_process = nullptr;
    int64_t m_pid = 0;
    bool m_interrupted = false;
};

// The message for a program that could not be started; its command line is "\"%1\" %2" when the
// program has a blank, else "%1 %2".
QString RunMap_StartFailureText(const QString& program, const QString& arguments, const QString& reason);
// Appends text at the pane's end as a run's message or output does; nothing without a pane.
void RunMap_AppendText(QPlainTextEdit* pane, const QString& text);
// Appends text as a new paragraph of the pane.
void RunMap_AppendParagraph(QPlainTextEdit* pane, const QString& text);
