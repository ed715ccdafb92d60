// A one-answer HTTP server on 127.0.0.1 for tests: every request gets the same status, headers and
// body (optionally after a delay), and the request bytes are kept.
#pragma once

#include <QByteArray>
#include <QList>
#include <QTcpServer>

class cHttpServerStub : public QTcpServer {
    Q_OBJECT
public:
    cHttpServerStub();

    // The whole answer, status line and headers included; sent once the request's headers are in.
    QByteArray response;
    int delayMs = 0;
    QList<QByteArray> requests;

    QString address() const;
    static QByteArray answer(int status, const QByteArray& body, const QByteArray& extraHeaders = {});

private slots:
    void accept();
};
