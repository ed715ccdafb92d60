#include "dialogs/application/SelectGameCfgDialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include "DialogAnswer.h"
#include "document/MapDocument.h"
#include "gamedata/GameConfig.h"
#include "mainwindow/MainWindow.h"

namespace {

// Three configurations, the first disabled.
class SelectGameCfgTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* title : {"First", "Second", "Third"}) {
            auto* config = new GameConfig;
            config->Title = QString::fromLatin1(title);
            config->Enabled = qstrcmp(title, "First") != 0;
            window.gameConfigs.configs.append(config);
        }
    }
    void TearDown() override {
        if (document.gameConfig) --document.gameConfig->inUseCount;
        document.gameConfig = nullptr;
        window.gameConfigs.makeCurrent(nullptr);
        qDeleteAll(window.gameConfigs.configs);
        window.gameConfigs.configs.clear();
    }

    cMainWindow window;
    MapDocument document;
};

QListWidget* list(QDialog* d) {
    return d->findChild<QListWidget*>(QStringLiteral("lstGameCfg"));
}

TEST_F(SelectGameCfgTest, ListsTheEnabledOnesAndBindsTheChoice) {
    QStringList shown;
    QString current, title;
    cDialogAnswer answer([&](QDialog* d) {
        title = d->windowTitle();
        for (int i = 0; i < list(d)->count(); ++i)
            shown.append(list(d)->item(i)->text());
        current = list(d)->currentItem()->text();
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(d, &enter);
    });
    ASSERT_TRUE(Project_ChooseGameConfig(&document));
    EXPECT_EQ(title, QStringLiteral("Select a game"));
    EXPECT_EQ(shown, (QStringList{"Second", "Third"}));
    EXPECT_EQ(current, QStringLiteral("Second"));
    ASSERT_NE(document.gameConfig, nullptr);
    EXPECT_EQ(document.gameConfig->Title, QStringLiteral("Second"));
}

TEST_F(SelectGameCfgTest, DoubleClickChoosesAndEscapeAbandons) {
    {
        cDialogAnswer answer([](QDialog* d) {
            QListWidget* l = list(d);
            const QRect r = l->visualItemRect(l->item(1));
            QWidget* port = l->viewport();
            QMouseEvent press(QEvent::MouseButtonPress, r.center(), port->mapToGlobal(r.center()),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, r.center(), port->mapToGlobal(r.center()),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QMouseEvent dbl(QEvent::MouseButtonDblClick, r.center(), port->mapToGlobal(r.center()),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(port, &press);
            QApplication::sendEvent(port, &release);
            QApplication::sendEvent(port, &dbl);
            QApplication::sendEvent(port, &release);
            // Closed by the double click already.
            EXPECT_FALSE(d->isVisible());
        });
        ASSERT_TRUE(Project_ChooseGameConfig(&document));
        ASSERT_NE(document.gameConfig, nullptr);
        EXPECT_EQ(document.gameConfig->Title, QStringLiteral("Third"));
    }
    --document.gameConfig->inUseCount;
    document.gameConfig = nullptr;
    cDialogAnswer escape(
        [](QDialog* d) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(d, &esc);
        },
        false);
    EXPECT_FALSE(Project_ChooseGameConfig(&document));
    EXPECT_TRUE(escape.answered);
    EXPECT_EQ(document.gameConfig, nullptr);

    // One enabled: taken without asking.
    window.gameConfigs.configs[2]->Enabled = false;
    EXPECT_TRUE(Project_ChooseGameConfig(&document));
    EXPECT_EQ(document.gameConfig->Title, QStringLiteral("Second"));
}

} // namespace
