#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <map>

#include "WindowFixture.h"
#include "document/MapDocument.h"
#include "dialogs/application/QCustomAction.h"

namespace {

using namespace ActionFlag;

QStringList keyTexts(const QAction* action) {
    QStringList texts;
    for (const QKeySequence& key : action->shortcuts())
        texts.append(key.toString(QKeySequence::PortableText));
    return texts;
}

// In a shown menu (a hidden menu's keys are off, as the curve menu's without patches) or not in a
// menu at all (the tools bar's).
bool reachable(const QAction* action) {
    bool inMenu = false;
    for (QObject* object : action->associatedObjects())
        if (auto* menu = qobject_cast<QMenu*>(object)) {
            inMenu = true;
            for (QMenu* m = menu; m; m = qobject_cast<QMenu*>(m->parentWidget()))
                if (!m->menuAction()->isVisible()) return false;
        }
    return inMenu || !action->associatedObjects().isEmpty();
}

class ActionTableTest : public cWindowFixture {};

} // namespace

TEST_F(ActionTableTest, TablesHaveEveryRowAndPassTheStartUpCheck) {
    const auto table = Action_Table();
    ASSERT_EQ(table.size(), 211u);
    QStringList tops;
    for (const ActionEntry& row : table)
        if ((row.flags & MenuBar) && !tops.contains(QLatin1String(row.menu)))
            tops.append(QLatin1String(row.menu));
    EXPECT_EQ(tops, QStringList({"&File", "E&dit", "&Map", "&View", "&Tools", "&Curve", "Pl&ugins", "&Window",
                                 "&Help"}));
    EXPECT_EQ(QLatin1String(table[29].name), QLatin1String("EditSelNone"));
    EXPECT_EQ(QLatin1String(table[29].shortcut), QLatin1String("Shift+Q|Ctrl+Q"));
    EXPECT_EQ(QLatin1String(table[172].slot), QLatin1String("1toolCordon()"));
    EXPECT_EQ(table[37].disabledInTools, 32);
    EXPECT_EQ(Action_ToolTable().size(), 16u);
    ASSERT_EQ(Action_WebLinks().size(), 9u);
    for (size_t i = 0; i < Action_WebLinks().size(); ++i)
        EXPECT_EQ(Action_WebLinks()[i].caption == nullptr, i == 3 || i == 7) << i;
    // Every row with text but no special submenu has a status tip.
    for (const ActionEntry& row : table) {
        if (row.text && !(row.flags & (ScreenElements | ColorSchemes | LanguageMenu))) {
            EXPECT_NE(row.statusTip, nullptr) << row.text;
        }
    }

    const std::vector<std::string> problems =
        Action_CheckTables(cMainWindow::staticMetaObject, Action_Table(), Action_ToolTable());
    EXPECT_TRUE(problems.empty()) << (problems.empty() ? "" : problems.front());
}

TEST_F(ActionTableTest, StartUpCheckFindsMissingSlotsAndSharedWindowKeys) {
    const ActionEntry rows[] = {
        {"&File", nullptr, "A", "A", nullptr, "Ctrl+Q", nullptr, "1cmdFileNew()", 0, MenuBar, 0, 0, 0},
        // Quit has no key of its own, so it shares none with A.
        {"&File", nullptr, "B", "B", nullptr, nullptr, nullptr, "1cmdFileExit()", QKeySequence::Quit, MenuBar,
         0, 0, 0},
        {"&File", nullptr, "C", "C", nullptr, nullptr, nullptr, "1noSuchSlot()", QKeySequence::Copy, MenuBar,
         0, 0, 0},
        {"&File", nullptr, "D", "D", nullptr, "Shift+X|Ctrl+C", nullptr, nullptr, 0, MenuBar, 0, 0, 0},
        // Context-menu rows act only in their menu.
        {"&File", nullptr, "E", "E", nullptr, "Ctrl+C", nullptr, nullptr, 0, VertexMenu, 0, 0, 0},
    };
    const std::vector<std::string> problems =
        Action_CheckTables(cMainWindow::staticMetaObject, rows, Action_ToolTable());
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0], "no slot noSuchSlot() for C");
    EXPECT_EQ(problems[1], "key Ctrl+C of D is also C's");
    EXPECT_EQ(problems[2], "key Shift+X of ToolC is also D's"); // the tool table counts too
}

TEST_F(ActionTableTest, StandardKeysAreTheSameOnEveryPlatform) {
    cMainWindow window(WindowMode::Interactive);
    const std::map<QString, QStringList> want = {
        {"FileNew", {"Ctrl+N"}},
        {"FileOpen", {"Ctrl+O"}},
        {"FileSave", {"Ctrl+S"}},
        {"EditUndo", {"Ctrl+Z"}},
        {"EditRedo", {"Ctrl+Y", "Ctrl+Shift+Z"}},
        {"EditCut", {"Ctrl+X"}},
        {"EditCopy", {"Ctrl+C"}},
        {"EditPaste", {"Ctrl+V"}},
        {"EditDelete", {"Del"}},
        {"WindowNext", {"Ctrl+Tab"}},
        {"WindowPrev", {"Ctrl+Shift+Tab"}},
        {"HelpTopics", {"F1"}},
        {"FileExit", {}},
        {"EditSelNone", {"Shift+Q", "Ctrl+Q"}},
    };
    for (const auto& [name, keys] : want) {
        const QList<QAction*> actions = Window_Actions(window, name);
        ASSERT_FALSE(actions.isEmpty()) << name.toStdString();
        EXPECT_EQ(keyTexts(actions.first()), keys) << name.toStdString();
    }
    window.close();
}

// With a map open, each key of each visible, enabled window-level action fires that action once
// and nothing else.
TEST_F(ActionTableTest, EveryWindowKeyFiresItsActionOnce) {
    writeQuake3Config();
    cMainWindow window(WindowMode::Interactive);
    window.show();
    ASSERT_NE(window.openFile(kSampleMap), nullptr);
    window.activateWindow();
    QElapsedTimer activation;
    activation.start();
    while (!window.isActiveWindow() && activation.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    if (!window.isActiveWindow()) GTEST_SKIP() << "the window was not activated";

    // Window-level actions: the menu bar's (first of their name in the list) and the tools bar's.
    QList<QAction*> level;
    for (const ActionEntry& row : Action_Table())
        if ((row.flags & MenuBar) && row.text && row.name &&
            !Window_Actions(window, QLatin1String(row.name)).isEmpty())
            level.append(Window_Actions(window, QLatin1String(row.name)).first());
    level += window.toolActions;
    std::map<QAction*, int> fired;
    for (QAction* action : std::as_const(window.actionList) + window.toolActions) {
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        QObject::connect(action, &QAction::triggered, [&fired, action] { ++fired[action]; });
    }
    int tried = 0;
    for (QAction* action : std::as_const(level)) {
        if (!action->isVisible() || !action->isEnabled() || !reachable(action)) continue;
        for (const QKeySequence& key : action->shortcuts()) {
            fired.clear();
            QTest::keyClick(&window, key[0].key(), key[0].keyboardModifiers());
            EXPECT_EQ(fired[action], 1)
                << action->objectName().toStdString() << " " << key.toString().toStdString();
            int total = 0;
            for (const auto& [a, n] : fired)
                total += n;
            EXPECT_EQ(total, 1) << key.toString().toStdString();
            ++tried;
        }
    }
    EXPECT_GT(tried, 40);
    window.documents.first()->modified = false;
    window.close();
}
