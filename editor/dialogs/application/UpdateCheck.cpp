#include "dialogs/application/UpdateCheck.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

#include "core/System.h"
#include "dialogs/application/AppAddresses.h"
#include "core/AppVersion.h"

namespace {

// Only scheme, host and port of the setting: no user name, password, path or query reaches the
// request.
QUrl versionUrl(const QString& server) {
    const QUrl given(server.trimmed(), QUrl::TolerantMode);
    const QString scheme = given.scheme().toLower();
    if (!given.isValid() || given.host().isEmpty() || (scheme != "http" && scheme != "https")) return QUrl();
    QUrl url;
    url.setScheme(scheme);
    url.setHost(given.host());
    url.setPort(given.port());
    url.setPath(QLatin1String(AppAddress::kVersionPath));
    return url;
}

QString tr(const char* text) {
    return QCoreApplication::translate("cUpdateChecker", text);
}

QString tooLong() {
    return tr("the answer is too long for a version text");
}

// The body of a chunked answer; Incomplete until its last chunk is in.
enum class Chunks { Incomplete, Complete, Bad, TooLong };
Chunks decodeChunks(const QByteArray& raw, qsizetype pos, QByteArray* body) {
    body->clear();
    for (;;) {
        const qsizetype lineEnd = raw.indexOf("\r\n", pos);
        if (lineEnd < 0) return raw.size() - pos > 64 ? Chunks::Bad : Chunks::Incomplete;
        const QByteArray sizeText = raw.mid(pos, lineEnd - pos).split(';').first().trimmed();
        bool ok = false;
        const qlonglong size = sizeText.toLongLong(&ok, 16);
        if (!ok || size < 0) return Chunks::Bad;
        // Compared with the room left, never added first: the size may be anything up to 2^63 - 1.
        if (size > kUpdateReplyLimit - body->size()) return Chunks::TooLong;
        pos = lineEnd + 2;
        if (size == 0) return Chunks::Complete; // trailers are of no interest
        if (raw.size() - pos < size + 2) return Chunks::Incomplete;
        body->append(raw.mid(pos, size));
        pos += size + 2;
    }
}

} // namespace

cUpdateChecker::cUpdateChecker(const QString& server) : m_timer(new QTimer(this)) {
    connect(m_timer, &QTimer::timeout, this, &cUpdateChecker::connectionTimeout);
    const QUrl url = versionUrl(server);
    if (url.isEmpty()) {
        finish(server.trimmed().isEmpty() ? tr("no update server is set")
                                          : tr("\"%1\" is no http or https address").arg(server));
        return;
    }
    const bool secure = url.scheme() == QLatin1String("https");
    if (secure && !QSslSocket::supportsSsl()) {
        finish(tr("this system offers no TLS for https"));
        return;
    }
    m_timer->setSingleShot(true);
    m_timer->start(kUpdateTimeoutMs); // before the request, as the time-out counts from here
    // No cookies, credentials or compression: the path, the host and that the answer ends the
    // connection.
    m_request = "GET " + url.path(QUrl::FullyEncoded).toLatin1() +
                " HTTP/1.1\r\nHost: " + url.authority(QUrl::FullyEncoded).toLatin1() +
                "\r\nAccept: */*\r\nConnection: close\r\n\r\n";
    const quint16 port = quint16(url.port(secure ? 443 : 80));
    if (secure) {
        auto* socket = new QSslSocket(this);
        m_socket = socket;
        connect(socket, &QSslSocket::encrypted, this, &cUpdateChecker::sendRequest);
        connect(socket, &QSslSocket::sslErrors, this, &cUpdateChecker::socketFailed);
        socket->connectToHostEncrypted(url.host(), port);
    } else {
        m_socket = new QTcpSocket(this);
        connect(m_socket, &QTcpSocket::connected, this, &cUpdateChecker::sendRequest);
        m_socket->connectToHost(url.host(), port);
    }
    connect(m_socket, &QTcpSocket::readyRead, this, &cUpdateChecker::readAnswer);
    connect(m_socket, &QTcpSocket::disconnected, this, &cUpdateChecker::connectionClosed);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &cUpdateChecker::socketFailed);
}

cUpdateChecker::~cUpdateChecker() {
    dropSocket();
}

// Closing a socket of this thread never waits, whatever state the server left it in.
void cUpdateChecker::dropSocket() {
    if (!m_socket) return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
    m_socket = nullptr;
}

void cUpdateChecker::finish(const QString& why) {
    if (done) return;
    if (failure.isEmpty()) failure = why;
    if (!failure.isEmpty()) replyText.clear();
    done = true;
    m_timer->stop();
    dropSocket();
    emit finished();
}

void cUpdateChecker::connectionTimeout() {
    Sys_Warning("Update server is down!");
    finish(tr("no answer within %1 seconds").arg(kUpdateTimeoutMs / 1000.0));
}

void cUpdateChecker::sendRequest() {
    if (m_socket) m_socket->write(m_request);
}

void cUpdateChecker::socketFailed() {
    if (done || !m_socket) return;
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError) {
        connectionClosed();
        return;
    }
    finish(m_socket->errorString());
}

void cUpdateChecker::connectionClosed() {
    if (done || !m_socket) return;
    readAnswer();
    if (done) return;
    if (m_bodyStart < 0) {
        finish(tr("the server closed the connection without an answer"));
        return;
    }
    if (!bodyComplete(true)) finish(tr("the answer was cut short"));
}

void cUpdateChecker::readAnswer() {
    if (done || !m_socket) return;
    // Never more than a header and a version text (chunked, with room for its framing) is kept.
    const qint64 room = kUpdateHeaderLimit + 2 * kUpdateReplyLimit + 256 - m_received.size();
    m_received += m_socket->read(room + 1);
    if (m_bodyStart < 0) {
        const qsizetype end = m_received.indexOf("\r\n\r\n");
        if (end < 0) {
            if (m_received.size() > kUpdateHeaderLimit) finish(tr("the server's header is too long"));
            return;
        }
        m_bodyStart = end + 4;
        if (!readHeader()) return;
    }
    if (m_received.size() - m_bodyStart > 2 * kUpdateReplyLimit + 128) {
        finish(tooLong());
        return;
    }
    bodyComplete(false);
}

bool cUpdateChecker::readHeader() {
    const QList<QByteArray> lines = m_received.left(m_bodyStart - 4).split('\n');
    const QList<QByteArray> statusLine = lines.first().trimmed().split(' ');
    bool number = false;
    const int status =
        statusLine.size() >= 2 && statusLine[0].startsWith("HTTP/1.") ? statusLine[1].toInt(&number) : 0;
    if (!number) {
        finish(tr("the server's answer is no HTTP"));
        return false;
    }
    if (status >= 300 && status < 400) {
        finish(tr("the server redirects the request (HTTP %1)").arg(status));
        return false;
    }
    if (status != 200) {
        finish(tr("HTTP status %1").arg(status));
        return false;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon < 0) continue;
        const QByteArray name = lines[i].left(colon).trimmed().toLower();
        const QByteArray value = lines[i].mid(colon + 1).trimmed();
        if (name == "content-length") {
            bool ok = false;
            m_contentLength = value.toLongLong(&ok);
            if (!ok || m_contentLength < 0) {
                finish(tr("the server's answer is no HTTP"));
                return false;
            }
        } else if (name == "transfer-encoding") {
            m_chunked = value.toLower().contains("chunked");
        }
    }
    if (!m_chunked && m_contentLength > kUpdateReplyLimit) {
        finish(tooLong());
        return false;
    }
    return true;
}

bool cUpdateChecker::bodyComplete(bool closed) {
    QByteArray body;
    if (m_chunked) {
        switch (decodeChunks(m_received, m_bodyStart, &body)) {
        case Chunks::Incomplete:
            return false;
        case Chunks::Bad:
            finish(tr("the server's answer is no HTTP"));
            return true;
        case Chunks::TooLong:
            finish(tooLong());
            return true;
        case Chunks::Complete:
            break;
        }
    } else {
        body = m_received.mid(m_bodyStart);
        if (body.size() > kUpdateReplyLimit) {
            finish(tooLong());
            return true;
        }
        // Without a length the answer ends with the connection.
        if (m_contentLength >= 0 ? body.size() < m_contentLength : !closed) return false;
        body.truncate(qsizetype(m_contentLength >= 0 ? m_contentLength : body.size()));
    }
    replyText = QString::fromLatin1(body);
    finish(QString());
    return true;
}

QString Update_CompareVersion(const QString& reply, unsigned int ownBuild, QString* failure) {
    QStringList parts;
    for (const QString& part : reply.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty()) parts.append(trimmed);
    }
    bool number = false;
    const qlonglong build = parts.size() == 3 ? parts[2].toLongLong(&number) : 0;
    if (!number) {
        if (failure) *failure = tr("the server's answer is no version text");
        return QString();
    }
    return build > qlonglong(ownBuild) ? reply.trimmed() : QString();
}

UpdateCheckResult Update_Check(const QString& server) {
    static bool waiting = false;
    UpdateCheckResult result;
    if (waiting) {
        result.busy = true;
        return result;
    }
    cUpdateChecker checker(server);
    if (!checker.done) {
        // The event loop runs while the check waits: other windows and timers are served.
        waiting = true;
        QEventLoop loop;
        QObject::connect(&checker, &cUpdateChecker::finished, &loop, &QEventLoop::quit);
        loop.exec();
        waiting = false;
    }
    if (!checker.failure.isEmpty()) {
        result.failure = checker.failure;
        return result;
    }
    result.version = Update_CompareVersion(checker.replyText, App_GetBuildNumber(), &result.failure);
    return result;
}

QString Update_CheckForNewVersion(const QString& server) {
    return Update_Check(server).version;
}
