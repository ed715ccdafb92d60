// Asks the update server for the newest released version: one HTTP GET of "/pub/version.info",
// waited for (with the event loop running) until it answers or 2.5 seconds pass. The request is a
// socket of the GUI thread read a piece at a time, never more than a few kilobytes: whatever the
// server sends, or fails to send, the window keeps being served and the check ends at its limit.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QTcpSocket;
class QTimer;

// What one check found: the server's version text when it names a newer build, else empty; a
// failure says why no version could be read (empty when the server answered a version).
struct UpdateCheckResult {
    QString version;
    QString failure;
    bool busy = false; // another check was waiting: nothing was asked
};

class cUpdateChecker : public QObject {
    Q_OBJECT
public:
    // Starts the request at once; an empty or unusable server address asks nothing.
    explicit cUpdateChecker(const QString& server);
    ~cUpdateChecker() override;

    bool done = false;
    QString replyText;
    QString failure; // why replyText holds no answer

signals:
    void finished();

private:
    void connectionTimeout();
    void sendRequest();
    void readAnswer();
    void connectionClosed();
    void socketFailed();
    // Whether the status line and headers are in and say nothing against the body; sets the
    // failure otherwise.
    bool readHeader();
    // Whether the whole body is in (with closed: the server ended the connection).
    bool bodyComplete(bool closed);
    void finish(const QString& why);
    void dropSocket();

    QTimer* m_timer = nullptr;
    QTcpSocket* m_socket = nullptr;
    QByteArray m_request;
    QByteArray m_received;
    qsizetype m_bodyStart = -1; // after the header's blank line, once it was read
    qint64 m_contentLength = -1;
    bool m_chunked = false;
};

// The time the server has to answer.
constexpr int kUpdateTimeoutMs = 2500;
// A longer answer is no version text: reading stops there.
constexpr qint64 kUpdateReplyLimit = 1024;
// Status line and headers longer than this are no answer of an update server.
constexpr qint64 kUpdateHeaderLimit = 8192;

// Compares a reply with this build: the reply's text when its third field names a newer build, empty
// when it names this one or an older one; `failure` set when the reply is no "a.b.n" version text.
QString Update_CompareVersion(const QString& reply, unsigned int ownBuild, QString* failure);

// Runs one check against the server ("http://host:port"; only scheme, host and port are used).
UpdateCheckResult Update_Check(const QString& server);
// The newer version's text, or empty (also when the check failed).
QString Update_CheckForNewVersion(const QString& server);
