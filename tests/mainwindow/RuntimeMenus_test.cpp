#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QTimer>
#include <algorithm>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "dialogs/application/PluginDialog.h"
#include "document/MapDocument.h"
#include "mainwindow/MainWindow.h"
#include "dialogs/application/QCustomAction.h"
#include "tools/ToolSet.h"
#include "render/ColorScheme.h"
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
    EXPECT_EQ(window->mdiArea->currentSubWindow(),
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

    // Under the texture tool the commands marked for it are off, the properties among them; the
    // surface dialog it opens owns the texture, so "Apply Current Texture" waits until it closes.
    QAction* apply = Window_Action(*window, "ToolTex");
    ASSERT_NE(apply, nullptr);
    EXPECT_TRUE(apply->isEnabled());
    window->toolTextureApplication();
    ASSERT_TRUE(window->faceDialog.isVisible());
    for (QAction* a : window->actionList) {
        auto* custom = qobject_cast<QCustomAction*>(a);
        if (custom && (custom->hideWithoutMap || custom->disableWithoutMap) &&
            (custom->tag & (1 << ToolId::Texture))) {
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        }
    }
    for (const char* name : {"EditProps", "MapProps"})
        for (QAction* a : Window_Actions(*window, QLatin1String(name)))
            EXPECT_FALSE(a->isEnabled()) << name;
    EXPECT_FALSE(apply->isEnabled());
    window->faceDialog.close();
    EXPECT_TRUE(apply->isEnabled());
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
        if (QAction* a = Window_Action(*window, "EditSelH")) {
            EXPECT_EQ(a->isChecked(), c.delay == 5);
        }
    }
}

namespace {
void dispatchNothing(int32_t) {}
} // namespace

// Commands sorted as loading sorts them (sections first, by bytes; none last): a submenu per
// section, a separator before the commands without one; the flags hide or disable them without a map.
TEST_F(RuntimeMenusTest, PluginMenuHasASubmenuPerSectionAndFollowsTheFlags) {
    ASSERT_NE(window->pluginMenu, nullptr);
    ASSERT_TRUE(window->pluginMenu->actions().isEmpty());
    const PluginAction actions[] = {
        {"b1", "First of b", "b", "Ctrl+Alt+1", 0, 0, dispatchNothing},
        {"none", nullptr, nullptr, nullptr, PLUGIN_ACTION_HIDE_WITHOUT_MAP, 0, dispatchNothing},
        {"a", nullptr, "a", nullptr, PLUGIN_ACTION_DISABLE_WITHOUT_MAP, 0, dispatchNothing},
        {"b2", nullptr, "b", nullptr, 0, 0, dispatchNothing},
    };
    for (const PluginAction& a : actions)
        registerAction(&window->plugins, &a);
    std::stable_sort(window->plugins.actions.begin(), window->plugins.actions.end(), Plugin_CompareActions);
    window->fillPluginMenu();

    auto titles = [](const QMenu* menu) {
        QStringList texts;
        for (const QAction* a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    };
    EXPECT_EQ(titles(window->pluginMenu), (QStringList{"a", "b", "-", "none"}));
    const QList<QAction*> top = window->pluginMenu->actions();
    ASSERT_TRUE(top[0]->menu() && top[1]->menu());
    EXPECT_EQ(titles(top[0]->menu()), QStringList{"a"});
    EXPECT_EQ(titles(top[1]->menu()), (QStringList{"b1", "b2"}));
    EXPECT_TRUE(top[1]->menu()->isTearOffEnabled());

    QAction* b1 = top[1]->menu()->actions()[0];
    EXPECT_EQ(b1->statusTip(), "First of b");
    EXPECT_EQ(b1->toolTip(), "First of b [Ctrl+Alt+1]");
    EXPECT_EQ(b1->shortcut(), QKeySequence(QStringLiteral("Ctrl+Alt+1")));
    QAction* a = top[0]->menu()->actions()[0];
    QAction* none = top[3];
    EXPECT_EQ(a->statusTip(), "a") << "the title without a description";
    EXPECT_EQ(a->toolTip(), "a");

    window->updateDocumentActions();
    EXPECT_FALSE(none->isVisible());
    EXPECT_FALSE(a->isEnabled());
    EXPECT_TRUE(b1->isVisible() && b1->isEnabled());
    ASSERT_NE(window->openFile(kSampleMap), nullptr);
    window->updateDocumentActions();
    EXPECT_TRUE(none->isVisible());
    EXPECT_TRUE(a->isEnabled());
}

namespace {
// A plugin command that turns the wait cursor on twice and never off.
void pushWaitCursorTwice(int32_t) {
    App_BeginWaitCursor();
    App_BeginWaitCursor();
}
} // namespace

TEST_F(RuntimeMenusTest, APluginCommandLeavesNoWaitCursorBehind) {
    const PluginAction leaky{"leaky", nullptr, nullptr, nullptr, 0, 0, pushWaitCursorTwice};
    registerAction(&window->plugins, &leaky);
    window->fillPluginMenu();
    const int32_t before = App_WaitCursorCount();
    window->pluginMenu->actions().last()->trigger();
    EXPECT_EQ(App_WaitCursorCount(), before);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A coloured scheme replaces the application palette; the black one, and the window's end, bring
// back the palette the window started with.
TEST_F(RuntimeMenusTest, ABlackSchemeRestoresTheInitialPalette) {
    window.reset();
    writeFile("config/zarv/KDKSettings.ini", "[ColorScheme0]\nTitle=Black\nCOLOR_APPLICATION=0 0 0\n"
                                             "[ColorScheme1]\nTitle=Red\nCOLOR_APPLICATION=200 30 30\n");
    const QPalette initial = QApplication::palette();
    window = std::make_unique<cMainWindow>(WindowMode::Interactive);
    auto scheme = [this](const char* title) {
        for (QAction* a : window->colorSchemeMenu->actions())
            if (a->text() == QLatin1String(title)) return a;
        ADD_FAILURE() << title;
        return static_cast<QAction*>(nullptr);
    };
    ASSERT_NE(scheme("Red"), nullptr);
    ASSERT_NE(scheme("Black"), nullptr);
    EXPECT_EQ(QApplication::palette(), initial);
    scheme("Red")->trigger();
    EXPECT_EQ(window->settings.CurrentColorScheme, 1);
    EXPECT_EQ(QApplication::palette().color(QPalette::Button), QColor(200, 30, 30));
    scheme("Black")->trigger();
    EXPECT_EQ(window->settings.CurrentColorScheme, 0);
    EXPECT_EQ(QApplication::palette(), initial);
    scheme("Red")->trigger();
    window.reset();
    EXPECT_EQ(QApplication::palette(), initial);
    Color_ResetTables();
}
