// A one-answer HTTP server on 127.0.0.1 for tests: every request gets the same status, headers and
// body (optionally after a delay, or a few bytes at a time), and the request bytes are kept.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSemaphore>
#include <QTcpServer>
#include <QThread>
#include <functional>

class cHttpServerStub : public QTcpServer {
    Q_OBJECT
public:
    cHttpServerStub();

    // The whole answer, status line and headers included; sent once the request's headers are in.
    QByteArray response;
    int delayMs = 0;
    // With trickleMs the answer goes out trickleBytes at a time, one piece every trickleMs; then
    // `endless` (when set) follows piece after piece and the connection stays open until the client
    // goes or 10 seconds have passed.
    int trickleMs = 0;
    int trickleBytes = 1;
    QByteArray endless;
    QList<QByteArray> requests;

    QString address() const;
    static QByteArray answer(int status, const QByteArray& body, const QByteArray& extraHeaders = {});

private slots:
    void accept();
};

// The same server on a thread of its own, set up there by the function given: it goes on sending
// while the test's thread is busy or blocked. Ends with the object (at most the stub's 10 seconds
// of trickling later).
class cHttpServerThread : public QThread {
public:
    explicit cHttpServerThread(std::function<void(cHttpServerStub&)> setUp);
    ~cHttpServerThread() override;
    QString address() const { return m_address; }

protected:
    void run() override;

private:
    std::function<void(cHttpServerStub&)> m_setUp;
    QSemaphore m_ready;
    QString m_address;
};
