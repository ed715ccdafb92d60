#include "dialogs/application/WaitDialog.h"

#include <QApplication>
#include <QLabel>
#include <QMovie>
#include <gtest/gtest.h>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "mainwindow/MainWindow.h"

namespace {

// What a probe on the event loop sees while the work runs.
struct Seen {
    int windows = 0;
    QString title, heading, status;
    QPoint centre;
    Qt::WindowFlags flags;
    bool animated = false;
};

Seen look() {
    Seen seen;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<cWaitDialog*>(w);
        if (!dialog || !dialog->isVisible()) continue;
        ++seen.windows;
        seen.title = dialog->windowTitle();
        seen.heading = dialog->findChild<QLabel*>("lblTitle")->text();
        seen.status = dialog->findChild<QLabel*>("lblText")->text();
        seen.centre = dialog->geometry().center();
        seen.flags = dialog->windowFlags();
        QMovie* movie = dialog->findChild<QLabel*>("lblDrums")->movie();
        seen.animated =
            movie && movie->isValid() && movie->frameCount() > 1 && movie->cacheMode() == QMovie::CacheAll;
    }
    return seen;
}

TEST(WaitDialog, ShownCentredWhileThePrecacheScopeLivesAndDropsVerboseLines) {
    cMainWindow window;
    cConsoleCapture console;
    window.setGeometry(100, 80, 900, 700);
    window.show();
    Seen during;
    {
        cWaitScope wait(QStringLiteral("Precaching game configuration..."));
        App_ShowSplashMessage(QStringLiteral("Loading textures from a rather long package name that wraps"));
        Sys_VerbosePrintf("dropped while waiting");
        QCoreApplication::processEvents();
        during = look();
        EXPECT_EQ(g_currentWaitDialog != nullptr, true);
    }
    EXPECT_EQ(during.windows, 1);
    EXPECT_EQ(during.title, QStringLiteral("Please wait"));
    EXPECT_EQ(during.heading, QStringLiteral("Precaching game configuration..."));
    EXPECT_EQ(during.status, QStringLiteral("Loading textures from a rather long package name that wraps"));
    EXPECT_EQ(during.flags,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    EXPECT_TRUE(during.animated);
    // Integer halves of the frame position and client size.
    const QPoint expected(window.pos().x() + window.width() / 2 - 240,
                          window.pos().y() + window.height() / 2 - 45);
    EXPECT_LE((during.centre - QPoint(expected.x() + 239, expected.y() + 45)).manhattanLength(), 2);
    EXPECT_FALSE(console.contains("dropped while waiting"));
    EXPECT_EQ(look().windows, 0);
    EXPECT_EQ(g_currentWaitDialog, nullptr);
}

TEST(WaitDialog, FormSizeAndLabels) {
    cWaitDialog dialog(QStringLiteral("Title"));
    EXPECT_EQ(dialog.size(), QSize(480, 91));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    auto* text = dialog.findChild<QLabel*>("lblText");
    EXPECT_TRUE(text->wordWrap());
    EXPECT_EQ(text->geometry(), QRect(110, 50, 361, 31));
    EXPECT_TRUE(dialog.findChild<QLabel*>("lblTitle")->font().bold());
}

} // namespace
