// Asks the update server for the newest released version: one HTTP GET of "/pub/version.info",
// waited for (with the event loop running) until it answers or 2.5 seconds pass.
#pragma once

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
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
    QTimer* timer = nullptr;
    QNetworkAccessManager* manager = nullptr;
    QString replyText;
    QString failure; // why replyText holds no answer

signals:
    void finished();

public slots:
    void connectionTimeout();
    void fileDownloaded(QNetworkReply* reply);

private:
    void finish(const QString& why);
};

// The time the server has to answer.
constexpr int kUpdateTimeoutMs = 2500;
// A longer answer is no version text: reading stops there.
constexpr qint64 kUpdateReplyLimit = 1024;

// Compares a reply with this build: the reply's text when its third field names a newer build, empty
// when it names this one or an older one; `failure` set when the reply is no "a.b.n" version text.
QString Update_CompareVersion(const QString& reply, unsigned int ownBuild, QString* failure);

// Runs one check against the server ("http://host:port"; only scheme, host and port are used).
UpdateCheckResult Update_Check(const QString& server);
// The newer version's text, or empty (also when the check failed).
QString Update_CheckForNewVersion(const QString& server);
