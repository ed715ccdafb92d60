// The update check against an HTTP server the test runs on 127.0.0.1: what each answer gives, what
// the server is sent, and the dialogs and boxes of the Help menu and of start-up.
#include "dialogs/application/UpdateCheck.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "../mainwindow/WindowFixture.h"
#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "HttpServerStub.h"
#include "UrlCapture.h"
#include "core/Prompt.h"
#include "core/AppVersion.h"
#include "dialogs/application/UpdateCheckDialog.h"

namespace {

QByteArray build(int offset) {
    return QByteArray::number(static_cast<int>(App_GetBuildNumber()) + offset);
}

TEST(UpdateCheck, EachAnswerGivesANewerVersionNothingOrAReason) {
    const QByteArray newer = "1.1." + build(1);
    const struct {
        const char* name;
        QByteArray response;
        QString version;     // expected
        const char* failure; // part of the reason; null: none
    } cases[] = {
        {"newer", cHttpServerStub::answer(200, newer), newer, nullptr},
        {"newer, line end", cHttpServerStub::answer(200, newer + "\r\n"), newer, nullptr},
        {"same", cHttpServerStub::answer(200, "1.1." + build(0)), "", nullptr},
        {"older", cHttpServerStub::answer(200, "1.1." + build(-1)), "", nullptr},
        {"higher first, lower third", cHttpServerStub::answer(200, "2.0." + build(-1)), "", nullptr},
        {"empty field", cHttpServerStub::answer(200, "1.1.." + build(1)), "1.1.." + build(1), nullptr},
        {"html", cHttpServerStub::answer(200, "<html><body>Not here.</body></html>"), "", "no version text"},
        {"no number", cHttpServerStub::answer(200, "1.1.abc"), "", "no version text"},
        {"empty body", cHttpServerStub::answer(200, ""), "", "no version text"},
        {"404 with a newer body", cHttpServerStub::answer(404, newer), "", "404"},
        {"redirect", cHttpServerStub::answer(302, newer, "Location: http://127.0.0.1:1/pub/version.info\r\n"),
         "", "redirects"},
        {"2 MB", cHttpServerStub::answer(200, QByteArray(2 << 20, '7')), "", "too long"},
        // Found by fuzzing: the size was added to what the body held and overflowed.
        {"chunk size 2^63 - 1 after a chunk",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nA\r\n7fffffffffffffff\r\n", "",
         "too long"},
        {"chunk size 2^63 - 1 first",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n7fffffffffffffff\r\n", "", "too long"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cHttpServerStub server;
        server.response = c.response;
        const UpdateCheckResult result = Update_Check(server.address());
        EXPECT_EQ(result.version, c.version);
        if (c.failure)
            EXPECT_TRUE(result.failure.contains(QLatin1String(c.failure))) << result.failure.toStdString();
        else
            EXPECT_EQ(result.failure, QString());
        ASSERT_EQ(server.requests.size(), 1);
    }
}

// The longest time the GUI thread went without serving a 5 ms timer during one check, and the
// check's whole time.
struct Stalls {
    qint64 longestGapMs = 0;
    qint64 totalMs = 0;
};
UpdateCheckResult checkMeasured(const QString& server, Stalls* stalls) {
    QElapsedTimer total, sinceTick;
    total.start();
    sinceTick.start();
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { stalls->longestGapMs = std::max(stalls->longestGapMs, sinceTick.restart()); });
    ticker.start(5);
    const UpdateCheckResult result = Update_Check(server);
    stalls->longestGapMs = std::max(stalls->longestGapMs, sinceTick.elapsed());
    stalls->totalMs = total.elapsed();
    return result;
}

TEST(UpdateCheck, WhateverTheServerSendsTheWindowIsServedAndTheCheckEndsInTime) {
    cConsoleCapture console;
    const QByteArray newer = "1.1." + build(1);
    const QByteArray openHeader = "HTTP/1.1 200 OK\r\nX-Pad: ";
    const struct {
        const char* name;
        QByteArray response;
        int trickleMs, trickleBytes;
        QByteArray endless;
        QString version;
        const char* failure;
    } cases[] = {
        {"good answer", cHttpServerStub::answer(200, newer), 0, 1, {}, newer, nullptr},
        {"slow trickle within the limit", cHttpServerStub::answer(200, newer), 10, 1, {}, newer, nullptr},
        {"header line without end", openHeader, 5, 64, QByteArray(64, 'a'), "", "too long"},
        {"header line without end, flooding", openHeader, 1, 1 << 16, QByteArray(1 << 16, 'a'), "",
         "too long"},
        {"header line without end, slowly", openHeader, 50, 8, QByteArray(8, 'a'), "", "no answer"},
        {"2 MB header", openHeader + QByteArray(2 << 20, 'a') + "\r\n\r\n" + newer, 0, 1, {}, "", "too long"},
        {"body that never ends", "HTTP/1.1 200 OK\r\n\r\n1.1.", 5, 64, QByteArray(64, '7'), "", "too long"},
        {"trickle past the limit", cHttpServerStub::answer(200, newer), 200, 1, {}, "", "no answer"},
        {"404", cHttpServerStub::answer(404, newer), 0, 1, {}, "", "404"},
        {"redirect",
         cHttpServerStub::answer(301, newer, "Location: http://127.0.0.1:1/\r\n"),
         0,
         1,
         {},
         "",
         "redirects"},
        {"chunked",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\n1.1.\r\n" +
             QByteArray::number(build(1).size(), 16) + "\r\n" + build(1) + "\r\n0\r\n\r\n",
         0,
         1,
         {},
         newer,
         nullptr},
        {"no length, ends with the connection", "HTTP/1.0 200 OK\r\n\r\n" + newer, 0, 1, {}, newer, nullptr},
        {"cut short", "HTTP/1.1 200 OK\r\nContent-Length: 40\r\n\r\n" + newer, 0, 1, {}, "", "cut short"},
        {"no HTTP", "SSH-2.0-x\r\n\r\n", 0, 1, {}, "", "no HTTP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // On its own thread the server goes on sending while the check's thread is held up.
        cHttpServerThread server([&c](cHttpServerStub& stub) {
            stub.response = c.response;
            stub.trickleMs = c.trickleMs;
            stub.trickleBytes = c.trickleBytes;
            stub.endless = c.endless;
        });
        Stalls stalls;
        const UpdateCheckResult result = checkMeasured(server.address(), &stalls);
        EXPECT_EQ(result.version, c.version);
        if (c.failure)
            EXPECT_TRUE(result.failure.contains(QLatin1String(c.failure))) << result.failure.toStdString();
        else
            EXPECT_EQ(result.failure, QString());
        // Bounds far above a sound run and far below the seconds a blocked thread takes.
        EXPECT_LT(stalls.longestGapMs, 1000);
        EXPECT_LT(stalls.totalMs, kUpdateTimeoutMs + 1500);
    }
}

TEST(UpdateCheck, NoServerAClosedPortAndALateAnswer) {
    cConsoleCapture console;
    EXPECT_EQ(Update_Check(QString()).failure, QStringLiteral("no update server is set"));
    EXPECT_FALSE(Update_Check(QStringLiteral("ftp://127.0.0.1")).failure.isEmpty());

    QTcpServer closed; // a port nobody listens on any more
    closed.listen(QHostAddress::LocalHost);
    const quint16 port = closed.serverPort();
    closed.close();
    const UpdateCheckResult refused = Update_Check(QStringLiteral("http://127.0.0.1:%1").arg(port));
    EXPECT_EQ(refused.version, QString());
    EXPECT_FALSE(refused.failure.isEmpty());

    cHttpServerStub server;
    server.response = cHttpServerStub::answer(200, "1.1." + build(1));
    server.delayMs = 3000;
    const UpdateCheckResult late = Update_Check(server.address());
    EXPECT_EQ(late.version, QString());
    EXPECT_TRUE(late.failure.contains("no answer")) << late.failure.toStdString();
    EXPECT_TRUE(console.contains("Update server is down!"));
    // The late answer arrives with nobody waiting for it.
    QTimer wait;
    wait.start(700);
    QEventLoop loop;
    QObject::connect(&wait, &QTimer::timeout, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(UpdateCheck, TheServerIsAskedForThePathAloneWithoutCredentials) {
    cHttpServerStub server;
    server.response = cHttpServerStub::answer(200, "1.1.0");
    Update_Check(QStringLiteral("http://u:p@127.0.0.1:%1/x?y").arg(server.serverPort()));
    ASSERT_EQ(server.requests.size(), 1);
    const QByteArray request = server.requests[0];
    EXPECT_TRUE(request.startsWith("GET /pub/version.info HTTP/1.1\r\n")) << request.toStdString();
    EXPECT_TRUE(request.endsWith("\r\n\r\n")); // no body
    for (const char* header : {"authorization:", "cookie:", "content-length:"})
        EXPECT_FALSE(request.toLower().contains(header)) << header;
}

class UpdateCheckWindowTest : public cWindowFixture {
protected:
    void writeSettings(const QString& server, bool automatic) {
        writeFile("config/zarv/KDKSettings.ini", QStringLiteral("[Updates]\nAutoUpdateCheck=%1\nServer=%2\n")
                                                     .arg(automatic ? "true" : "false", server)
                                                     .toUtf8());
    }
    cHttpServerStub server;
    cUrlCapture pages;
};

TEST_F(UpdateCheckWindowTest, HelpMenuShowsTheNewVersionOrSaysWhy) {
    writeSettings(server.address(), false);
    cMainWindow window(WindowMode::Interactive);
    EXPECT_TRUE(server.requests.isEmpty()); // start-up check off

    // A newer version: the dialog without its check box, 30 pixels shorter; OK opens the download page.
    server.response = cHttpServerStub::answer(200, "1.1." + build(5));
    QSize size;
    bool boxVisible = true;
    QString shownNew;
    {
        cDialogAnswer answer([&](QDialog* dialog) {
            size = dialog->size();
            boxVisible = dialog->findChild<QCheckBox*>("cbNoShow")->isVisible();
            shownNew = dialog->findChild<QLabel*>("lblNew")->text();
            qobject_cast<cUpdateCheckDialog*>(dialog)->exec_on_accept();
        });
        window.cmdHelpUpdateCheck();
        EXPECT_TRUE(answer.answered);
    }
    EXPECT_EQ(size, QSize(381, 215));
    EXPECT_FALSE(boxVisible);
    EXPECT_EQ(shownNew, QString::fromLatin1("1.1." + build(5)));
    ASSERT_EQ(pages.opened.size(), 1);
    EXPECT_EQ(pages.opened[0].host(), QStringLiteral("zarv.invalid"));
    EXPECT_FALSE(window.settings.AutoUpdateCheck); // only the start-up dialog changes it

    const struct {
        QByteArray response;
        PromptIcon icon;
        const char* text;
    } boxes[] = {
        {cHttpServerStub::answer(200, "1.1." + build(0)), PromptIcon::Information,
         "You have the most recent version of Z.A.R.V. installed."},
        {cHttpServerStub::answer(500, "1.1." + build(5)), PromptIcon::Warning,
         "Could not check for updates: "},
    };
    for (const auto& c : boxes) {
        cPromptScript script;
        server.response = c.response;
        window.cmdHelpUpdateCheck();
        ASSERT_EQ(script.asked.size(), 1);
        EXPECT_EQ(script.asked[0].icon, c.icon);
        EXPECT_TRUE(script.asked[0].text.startsWith(QLatin1String(c.text)))
            << script.asked[0].text.toStdString();
    }
    window.close();
}

TEST_F(UpdateCheckWindowTest, ASecondCheckWhileOneWaitsAsksNothing) {
    writeSettings(server.address(), false);
    cMainWindow window(WindowMode::Interactive);
    server.response = cHttpServerStub::answer(200, "1.1." + build(0));
    server.delayMs = 600;
    bool fired = false;
    cPromptScript script;
    QTimer::singleShot(100, &window, [&] {
        fired = true; // timers are served while the check waits
        window.cmdHelpUpdateCheck();
    });
    window.cmdHelpUpdateCheck();
    EXPECT_TRUE(fired);
    EXPECT_EQ(server.requests.size(), 1);
    EXPECT_EQ(script.asked.size(), 1);
    window.close();
}

TEST_F(UpdateCheckWindowTest, StartUpOffersToStopChecking) {
    writeSettings(server.address(), true);
    server.response = cHttpServerStub::answer(200, "1.1." + build(1));
    bool boxVisible = false;
    QSize size;
    {
        cDialogAnswer answer(
            [&](QDialog* dialog) {
                size = dialog->size();
                auto* box = dialog->findChild<QCheckBox*>("cbNoShow");
                boxVisible = box->isVisible();
                box->click();
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
            },
            false);
        cMainWindow window(WindowMode::Interactive);
        EXPECT_TRUE(answer.answered);
        EXPECT_FALSE(window.settings.AutoUpdateCheck);
        window.close();
    }
    EXPECT_TRUE(boxVisible);
    EXPECT_EQ(size, QSize(381, 245));
    EXPECT_EQ(server.requests.size(), 1);
    EXPECT_TRUE(pages.opened.isEmpty());
    // Not asked at the next start.
    cMainWindow again(WindowMode::Interactive);
    EXPECT_EQ(server.requests.size(), 1);
    again.close();
}

} // namespace
