#include <QStringList>
#include <algorithm>

#include "PluginFixture.h"
#include "core/FileLookup.h"
#include "dialogs/application/PluginDialog.h"
#include "gamedata/GameConfig.h"

namespace {

void dispatchNothing(int32_t) {}

PluginAction actionIn(const char* category, const char* title = "t") {
    return PluginAction{title, nullptr, category, nullptr, 0, 0, dispatchNothing};
}

// The titles after registering the categories in order and sorting as loading does.
QStringList sortedTitles(PluginManager& manager, const std::vector<PluginAction>& actions) {
    for (const PluginAction& action : actions)
        registerAction(&manager, &action);
    std::stable_sort(manager.actions.begin(), manager.actions.end(), Plugin_CompareActions);
    QStringList titles;
    for (const PluginAction* action : manager.actions)
        titles.append(QLatin1String(action->title));
    Plugin_FreeActions(&manager);
    return titles;
}

TEST_F(PluginFixture, ActionsSortByCategoryStably) {
    struct Case {
        const char* label;
        std::vector<PluginAction> actions;
        QStringList titles;
    };
    const Case cases[] = {
        {"uncategorised last, equal ones in order",
         {actionIn("b", "b1"), actionIn(nullptr, "none"), actionIn("a", "a"), actionIn("b", "b2")},
         {"a", "b1", "b2", "none"}},
        {"a prefix sorts first", {actionIn("Mapping", "long"), actionIn("Map", "short")}, {"short", "long"}},
        {"bytes from 0x80 after ASCII",
         {actionIn("\x80"
                   "x",
                   "high"),
          actionIn("z", "ascii")},
         {"ascii", "high"}},
        {"empty category before any other", {actionIn("a", "a"), actionIn("", "empty")}, {"empty", "a"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sortedTitles(window.plugins, c.actions), c.titles) << c.label;
}

TEST_F(PluginFixture, ActionsNeedATitleAndADispatchFunction) {
    PluginAction noTitle = actionIn("c", nullptr);
    PluginAction noDispatch = actionIn("c", "Lonely");
    noDispatch.dispatch = nullptr;
    registerAction(&window.plugins, &noTitle);
    registerAction(&window.plugins, &noDispatch);
    Plugin_RegisterActionCallback(nullptr, &window.plugins);
    EXPECT_TRUE(window.plugins.actions.isEmpty());
    const QStringList expected = {
        QStringLiteral("Error: registerAction: action title is NULL!"),
        QStringLiteral("Error: registerAction: dispatch function for \"Lonely\" is NULL!")};
    EXPECT_EQ(plainLines(), expected);
}

TEST_F(PluginFixture, RunningAnActionPassesItsValueAndPopsTheCursorItLeft) {
    install("kpTestx64", QStringLiteral("kpTestx64.so"));
    Plugin_LoadAll(&window.plugins);
    ASSERT_EQ(window.plugins.actions.size(), 2);
    // Sorted: the categorised action first, "Push Wait Cursor" (no category) last.
    EXPECT_STREQ(window.plugins.actions[1]->title, "Push Wait Cursor");
    EXPECT_STREQ(window.plugins.actions[1]->shortcut, "Ctrl+Alt+K");
    EXPECT_EQ(window.plugins.actions[1]->flags, PLUGIN_ACTION_DISABLE_WITHOUT_MAP);

    GameConfig config;
    window.gameConfigs.makeCurrent(&config);
    Sys_SwitchFileLookup(nullptr); // as while plugins load
    const int32_t before = App_WaitCursorCount();
    window.runPluginAction(1);
    TestPluginState* state = stateOf(0);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->lastUserValue, 22);
    EXPECT_EQ(App_WaitCursorCount(), before);
    EXPECT_EQ(Sys_FileLookup().current, &config); // look-ups search the current configuration
    window.runPluginAction(5);                    // no such entry: nothing
    EXPECT_EQ(state->actionCalls, 1);
    window.gameConfigs.makeCurrent(nullptr);
}

// Each slot whose subsystem is not built yet says so once per run, however often it is called;
// the drawing slots, called outside a render batch, say so once for all of them.
TEST_F(PluginFixture, UnbuiltSlotsReportOnceAndDoNoHarm) {
    install("kpTestx64", QStringLiteral("kpTestx64.so"));
    Plugin_LoadAll(&window.plugins);
    ASSERT_STREQ(window.plugins.actions[0]->title, "Call Unbuilt Slots");
    console.clear();
    window.runPluginAction(0);
    window.runPluginAction(0);
    ASSERT_EQ(stateOf(0)->actionCalls, 2);
    EXPECT_EQ(stateOf(0)->lastUserValue, 11);

    // The first GL upload of the run names the GL extensions it uses; those lines are not warnings.
    QStringList lines = plainLines();
    lines.removeIf([](const QString& l) { return l.startsWith(QLatin1String("Using extension: ")); });
    EXPECT_EQ(lines, QStringList{QStringLiteral(
                         "Warning: Render_PointSize: called outside a render batch, ignored")});
}

} // namespace
