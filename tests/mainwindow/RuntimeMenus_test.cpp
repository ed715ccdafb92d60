#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "document/MapDocument.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/QCustomAction.h"
#include "tools/ToolSet.h"
#include "views/ChildWindow.h"

namespace {

class RuntimeMenusTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }
    QMenu* windowMenu() const {
        for (QMenu* menu : window->menus)
            if (menu->actions().contains(window->windowListSeparator)) return menu;
        return nullptr;
    }
    QStringList windowEntries() const {
        QMenu* menu = windowMenu();
        if (!menu) return {};
        window->updateWindowList();
        const QList<QAction*> actions = menu->actions();
        QStringList texts;
        for (QAction* action : actions.mid(actions.indexOf(window->windowListSeparator) + 1))
            texts << action->text();
        return texts;
    }
    QCustomAction* action(const char* name) const {
        for (QAction* a : window->actionList)
            if (a->objectName() == QLatin1String(name)) return qobject_cast<QCustomAction*>(a);
        return nullptr;
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
};

} // namespace

TEST_F(RuntimeMenusTest, TwelveWindowsCarryAcceleratorsOnOneToNineOnly) {
    MapDocument* document = window->openFile(kSampleMap);
    ASSERT_NE(document, nullptr);
    for (int i = 1; i < 12; ++i)
        window->createChildWindow(document);
    const QStringList entries = windowEntries();
    ASSERT_EQ(entries.size(), 12);
    for (int i = 0; i < 12; ++i) {
        const QString number = QString::number(i + 1) + QLatin1Char(' ');
        if (i < 9)
            EXPECT_TRUE(entries[i].startsWith(QLatin1Char('&') + number)) << entries[i].toStdString();
        else
            EXPECT_TRUE(entries[i].startsWith(number)) << entries[i].toStdString();
    }
    EXPECT_TRUE(window->windowListSeparator->isVisible());
    // Choosing an entry activates its window.
    QMenu* menu = windowMenu();
    menu->actions().last()->trigger();
    EXPECT_EQ(window->mdiArea->activeSubWindow(),
              window->mdiArea->subWindowList(QMdiArea::CreationOrder).last());
    windowEntries();
    EXPECT_TRUE(menu->actions().last()->isChecked());
    EXPECT_FALSE(menu->actions().at(menu->actions().size() - 12)->isChecked());
}

TEST_F(RuntimeMenusTest, DocumentAndToolActionsFollowTheMapAndTheTool) {
    window->updateDocumentActions();
    int hidden = 0;
    for (QAction* a : window->actionList)
        if (auto* custom = qobject_cast<QCustomAction*>(a); custom && custom->hideWithoutMap) {
            EXPECT_FALSE(a->isVisible()) << a->objectName().toStdString();
            ++hidden;
        }
    EXPECT_GT(hidden, 0);
    for (QAction* a : window->toolActions)
        EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();

    ASSERT_NE(window->openFile(kSampleMap), nullptr);
    window->updateDocumentActions();
    window->updateToolActions();
    // With a map they show (unless the profile's own rules hide them).
    int shown = 0;
    for (QAction* a : window->actionList)
        if (auto* custom = qobject_cast<QCustomAction*>(a);
            custom && custom->hideWithoutMap && a->isVisible())
            ++shown;
    EXPECT_GT(shown, hidden / 2);
    for (QAction* a : window->toolActions)
        if (a->isCheckable()) {
            EXPECT_EQ(a->isChecked(), qobject_cast<QCustomAction*>(a)->index == ToolId::Selection)
                << a->objectName().toStdString();
        }

    // Under the texture tool the commands marked for it are off.
    window->toolTextureApplication();
    window->updateToolActions();
    for (QAction* a : window->actionList) {
        auto* custom = qobject_cast<QCustomAction*>(a);
        if (custom && (custom->hideWithoutMap || custom->disableWithoutMap) &&
            (custom->tag & (1 << ToolId::Texture))) {
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        }
    }
}

TEST_F(RuntimeMenusTest, EditPreferencesRestartOrStopTheAutosaveTimer) {
    const struct {
        bool enable;
        int delay;
        int interval; // 0: stopped
    } cases[] = {{true, 0, 60000}, {true, 1, 60000}, {true, 5, 300000}, {false, 5, 0}};
    for (const auto& c : cases) {
        window->settings.AutosaveEnable = c.enable;
        window->settings.AutosaveDelay = c.delay;
        window->settings.SelectByHandles = c.delay == 5;
        App_ApplyEditPreferences(window.get());
        EXPECT_EQ(window->autosaveTimer->isActive(), c.interval != 0) << c.delay;
        if (c.interval) {
            EXPECT_EQ(window->autosaveTimer->interval(), c.interval) << c.delay;
        }
        if (QAction* a = action("EditSelH")) {
            EXPECT_EQ(a->isChecked(), c.delay == 5);
        }
    }
}
