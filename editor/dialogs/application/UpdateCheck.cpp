#include "dialogs/application/UpdateCheck.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

#include "core/System.h"
#include "dialogs/application/AppAddresses.h"
#include "dialogs/application/AppVersion.h"

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

} // namespace

cUpdateChecker::cUpdateChecker(const QString& server)
    : timer(new QTimer), manager(new QNetworkAccessManager) {
    connect(timer, &QTimer::timeout, this, &cUpdateChecker::connectionTimeout);
    connect(manager, &QNetworkAccessManager::finished, this, &cUpdateChecker::fileDownloaded);
    const QUrl url = versionUrl(server);
    if (url.isEmpty()) {
        finish(server.trimmed().isEmpty() ? tr("no update server is set")
                                          : tr("\"%1\" is no http or https address").arg(server));
        return;
    }
    manager->setCookieJar(nullptr);
    timer->setSingleShot(true);
    timer->start(kUpdateTimeoutMs); // before the request, as the time-out counts from here
    QNetworkRequest request(url);
    // A redirect is no version text: the answer of the address asked is what counts.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply* reply = manager->get(request);
    // An answer longer than any version text is abandoned before it fills memory.
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64) {
        if (received > kUpdateReplyLimit && failure.isEmpty()) {
            failure = tr("the answer is too long for a version text");
            reply->abort();
        }
    });
}

cUpdateChecker::~cUpdateChecker() {
    delete manager; // with any request still running
    delete timer;
}

void cUpdateChecker::finish(const QString& why) {
    if (failure.isEmpty()) failure = why;
    if (!failure.isEmpty()) replyText.clear();
    done = true;
    timer->stop();
    emit finished();
}

void cUpdateChecker::connectionTimeout() {
    disconnect(manager, &QNetworkAccessManager::finished, this, &cUpdateChecker::fileDownloaded);
    Sys_Warning("Update server is down!");
    finish(tr("no answer within %1 seconds").arg(kUpdateTimeoutMs / 1000.0));
}

void cUpdateChecker::fileDownloaded(QNetworkReply* reply) {
    reply->deleteLater();
    if (done) return;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    QString why;
    if (status >= 300 && status < 400)
        why = tr("the server redirects the request (HTTP %1)").arg(status);
    else if (status != 0 && status != 200)
        why = tr("HTTP status %1").arg(status);
    else if (reply->error() != QNetworkReply::NoError)
        why = reply->errorString();
    else
        replyText = QString::fromLatin1(reply->read(kUpdateReplyLimit));
    finish(why);
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
