#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QImage>
#include <QPushButton>
#include <QSplashScreen>
#include <QSplitter>
#include <QTemporaryDir>

#include "ConsoleCapture.h"
#include "DialogAnswer.h"
#include "core/System.h"
#include "dialogs/application/AdvertisementDialog.h"
#include "UrlCapture.h"
#include "core/WaitScope.h"
#include "dialogs/editing/ShaderEditDialog.h"
#include "mainwindow/MainWindow.h"

TEST(MainWindowStartup, OnlyALastArgumentWithADotNamesTheFile) {
    const QString here = QDir::currentPath();
    struct Case {
        QStringList arguments;
        QString expected;
    } cases[] = {
        {{"zarv"}, ""},
        {{"zarv", "maps/a.map"}, here + "/maps/a.map"},
        {{"zarv", "/abs/b.map"}, "/abs/b.map"},
        {{"zarv", "a.map", "word"}, ""},
        {{"zarv", "first.map", "/x/second.map"}, "/x/second.map"},
        {{"zarv", "/dir with space/c.map"}, "/dir with space/c.map"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(App_StartupFileArgument(c.arguments), c.expected) << c.arguments.join(' ').toStdString();
}

TEST(MainWindowStartup, WelcomeDialogStoresTheDontShowChoice) {
    cMainWindow window;
    struct Case {
        int32_t before;
        bool tick;
        bool accept;
        int32_t after;
    } cases[] = {{0, true, false, 2}, {0, false, true, 0}, {2, false, false, 0}, {1, true, true, 2}};
    for (const Case& c : cases) {
        window.settings.SkipAdvertisement = c.before;
        bool startedChecked = false;
        cDialogAnswer answer(
            [&](QDialog* dialog) {
                auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("cbNoShow"));
                ASSERT_NE(box, nullptr);
                startedChecked = box->isChecked();
                box->setChecked(c.tick);
            },
            c.accept);
        // No file named: the dialog is the start-up's last step (unless the setting says 2).
        App_OpenStartupFile(&window, {QStringLiteral("zarv")});
        EXPECT_EQ(answer.answered, c.before != 2);
        if (c.before == 2) continue;
        EXPECT_EQ(startedChecked, c.before != 0);
        EXPECT_EQ(window.settings.SkipAdvertisement, c.after) << c.before << c.tick << c.accept;
    }
    // Closed by the title bar's button.
    window.settings.SkipAdvertisement = 0;
    cAdvertisementDialog dialog(nullptr, &window.settings.SkipAdvertisement);
    dialog.findChild<QCheckBox*>(QStringLiteral("cbNoShow"))->setChecked(true);
    dialog.show();
    dialog.close();
    EXPECT_EQ(window.settings.SkipAdvertisement, 2);
    EXPECT_EQ(dialog.size(), QSize(380, 355));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Kelvane Development Kit"));

    // OK opens the store page and accepts.
    cUrlCapture pages;
    cAdvertisementDialog store(nullptr, &window.settings.SkipAdvertisement);
    store.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(pages.opened.size(), 1);
    EXPECT_EQ(pages.opened[0], QUrl(QStringLiteral("https://zarv.invalid/store")));
    EXPECT_EQ(store.result(), QDialog::Accepted);
}

TEST(MainWindowStartup, CursorsAndPicturesComeFromTheResources) {
    WindowCursors cursors;
    Cursors_Load(cursors);
    EXPECT_EQ(Cursors_Table().size(), 9u);
    for (const WindowCursorRow& row : Cursors_Table()) {
        if (row.pixmap) {
            EXPECT_FALSE((cursors.*row.pixmap).isNull()) << row.resource;
            continue;
        }
        const QCursor& cursor = cursors.*row.cursor;
        EXPECT_FALSE(cursor.pixmap().isNull()) << row.resource;
        EXPECT_EQ(cursor.hotSpot(), QPoint(row.hotX, row.hotY)) << row.resource;
        // The hot spot is on the drawing, not on a transparent corner (the texture arrow's tip is
        // its first pixel).
        const QImage image = cursor.pixmap().toImage();
        EXPECT_GT(qAlpha(image.pixel(row.hotX, row.hotY)), 0) << row.resource;
    }
    EXPECT_EQ(cursors.cross.hotSpot(), QPoint(16, 15));
    EXPECT_EQ(cursors.rotate.hotSpot(), QPoint(15, 15));
    EXPECT_FALSE(QImage(QStringLiteral(":/qrc/splash.png")).isNull());
    EXPECT_FALSE(QImage(QStringLiteral(":/qrc/zarv32.png")).isNull());
}

TEST(MainWindowStartup, ProgressGoesToTheSplashThenTheWaitDialog) {
    cConsoleCapture console;
    cMainWindow window;
    App_CreateSplash();
    ASSERT_NE(g_splashScreen, nullptr);
    EXPECT_EQ(g_splashScreen->message(), QStringLiteral("Initializing..."));
    EXPECT_TRUE(g_splashScreen->windowFlags() & Qt::WindowStaysOnTopHint);
    App_ShowSplashMessage(QStringLiteral("Loading plugins..."));
    EXPECT_EQ(g_splashScreen->message(), QStringLiteral("Loading plugins..."));
    EXPECT_EQ(window.splashMessage, QStringLiteral("Loading plugins..."));
    // Per-item lines stay off the console while the splash screen is up.
    Sys_VerbosePrintf("one item\n");
    EXPECT_FALSE(console.lines.join("").contains("one item"));
    App_FinishSplash(&window);
    EXPECT_EQ(g_splashScreen, nullptr);
    App_FinishSplash(&window);

    {
        cWaitScope wait(QStringLiteral("Precaching game configuration..."));
        App_ShowSplashMessage(QStringLiteral("Precaching: a.pk3"));
        EXPECT_EQ(wait.text, QStringLiteral("Precaching: a.pk3"));
    }
    App_ShowSplashMessage(QStringLiteral("after"));
    EXPECT_EQ(window.splashMessage, QStringLiteral("after"));
}

TEST(MainWindowStartup, EffectEditorKeepsItsTwoSplitters) {
    cShaderEditDialog dialog(nullptr);
    auto* across = dialog.findChild<QSplitter*>(QStringLiteral("splitter_2"));
    auto* down = dialog.findChild<QSplitter*>(QStringLiteral("splitter"));
    ASSERT_NE(across, nullptr);
    ASSERT_NE(down, nullptr);
    EXPECT_EQ(across->orientation(), Qt::Horizontal);
    EXPECT_EQ(down->orientation(), Qt::Vertical);
    EXPECT_EQ(down->parentWidget(), across);
    EXPECT_FALSE(across->childrenCollapsible());
}
