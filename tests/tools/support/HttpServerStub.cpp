#include "HttpServerStub.h"

#include <QTcpSocket>
#include <QTimer>

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

void cHttpServerStub::accept() {
    while (QTcpSocket* socket = nextPendingConnection()) {
        auto* received = new QByteArray;
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket, received] {
            received->append(socket->readAll());
            if (!received->contains("\r\n\r\n")) return;
            requests.append(*received);
            auto send = [socket, reply = response] {
                if (socket->state() != QAbstractSocket::ConnectedState) return;
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
