#include "HttpServerStub.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

namespace {

// Sends the answer piece by piece on a timer owned by the socket, so it stops with the connection.
void trickle(QTcpSocket* socket, const QByteArray& reply, const QByteArray& endless, int bytes, int ms) {
    auto* timer = new QTimer(socket);
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::destroyed, [clock] { delete clock; });
    QObject::connect(timer, &QTimer::timeout, socket, [=, sent = qsizetype(0)]() mutable {
        if (socket->state() != QAbstractSocket::ConnectedState || clock->elapsed() > 10000) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        if (sent < reply.size()) {
            socket->write(reply.mid(sent, bytes));
            sent += bytes;
        } else if (!endless.isEmpty()) {
            socket->write(endless);
        } else {
            timer->stop();
            socket->disconnectFromHost();
        }
    });
    timer->start(ms);
}

} // namespace

cHttpServerStub::cHttpServerStub() {
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, &cHttpServerStub::accept);
}

QString cHttpServerStub::address() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(serverPort());
}

QByteArray cHttpServerStub::answer(int status, const QByteArray& body, const QByteArray& extraHeaders) {
    return "HTTP/1.1 " + QByteArray::number(status) +
           " X\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" +
           extraHeaders + "\r\n" + body;
}

cHttpServerThread::cHttpServerThread(std::function<void(cHttpServerStub&)> setUp)
    : m_setUp(std::move(setUp)) {
    start();
    m_ready.acquire();
}

cHttpServerThread::~cHttpServerThread() {
    quit();
    wait();
}

void cHttpServerThread::run() {
    cHttpServerStub server;
    m_setUp(server);
    m_address = server.address();
    m_ready.release();
    exec();
}

void cHttpServerStub::accept() {
    while (QTcpSocket* socket = nextPendingConnection()) {
        auto* received = new QByteArray;
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            received->append(socket->readAll());
            if (!received->contains("\r\n\r\n")) return;
            requests.append(*received);
            auto send = [socket, reply = response, endless = endless, ms = trickleMs, bytes = trickleBytes] {
                if (socket->state() != QAbstractSocket::ConnectedState) return;
                if (ms > 0) {
                    trickle(socket, reply, endless, bytes, ms);
                    return;
                }
                socket->write(reply);
                socket->disconnectFromHost();
            };
            if (delayMs > 0)
                QTimer::singleShot(delayMs, socket, send);
            else
                send();
        });
        connect(socket, &QTcpSocket::disconnected, socket, [socket, received] {
            delete received;
            socket->deleteLater();
        });
    }
}
