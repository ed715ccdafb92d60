// libFuzzer harness of the update check's answer: a server on 127.0.0.1 inside the harness answers the
// check's request with the input, a piece at a time, and then closes the connection. The check must
// end without a sanitizer report, never with both a version text and a reason.
//
// Input: byte 0 sets the piece size (1 to 256 bytes), the rest is the server's whole answer.
#include <QCoreApplication>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "dialogs/application/UpdateCheck.h"

namespace {

// Answers every connection with the answer given, piece by piece: one piece per turn of the event
// loop, so the check reads what has come in between.
class cPieceServer {
public:
    cPieceServer() {
        if (!m_server.listen(QHostAddress::LocalHost)) std::abort();
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    }
    QString address() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()); }
    void setAnswer(const QByteArray& answer, int pieceSize) {
        m_answer = answer;
        m_pieceSize = pieceSize;
    }

private:
    void accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            auto request = std::make_shared<QByteArray>();
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
                const bool started = request->contains("\r\n\r\n");
                *request += socket->readAll();
                if (!started && request->contains("\r\n\r\n")) send(socket, 0);
            });
        }
    }
    void send(QPointer<QTcpSocket> socket, qsizetype from) {
        if (!socket || socket->state() != QAbstractSocket::ConnectedState) return;
        if (from >= m_answer.size()) {
            socket->disconnectFromHost();
            return;
        }
        socket->write(m_answer.mid(from, m_pieceSize));
        socket->flush();
        QTimer::singleShot(0, socket, [this, socket, from] { send(socket, from + m_pieceSize); });
    }

    QTcpServer m_server;
    QByteArray m_answer;
    int m_pieceSize = 1;
};

cPieceServer* g_server = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static std::string program = "update_fuzz";
    static char* argv[] = {program.data(), nullptr};
    // Kept to the end of the process, like the other harnesses' application.
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    (void)app;
    std::setlocale(LC_NUMERIC, "C");
    g_server = new cPieceServer;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    g_server->setAnswer(QByteArray(reinterpret_cast<const char*>(data) + 1, qsizetype(size - 1)),
                        int(data[0]) + 1);
    const UpdateCheckResult result = Update_Check(g_server->address());
    if (result.busy || (!result.failure.isEmpty() && !result.version.isEmpty())) std::abort();
    // Let the server's side of the connection end before the next input.
    QCoreApplication::processEvents();
    return 0;
}
