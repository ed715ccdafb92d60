#include <gtest/gtest.h>

#include <QMenu>
#include <QStatusBar>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "gamedata/EntityClass.h"
#include "map/ObjectRecords.h"
#include "dialogs/application/QCustomAction.h"
#include "views/ChildWindow.h"

namespace {

struct FakeTool : cAbstractTool {
    explicit FakeTool(int32_t toolId) { id = toolId; }
};

// Every action of that name (menu entry and its copies) agrees.
struct State {
    QString text; // empty: not checked
    bool enabled;
    bool visible = true;
};

class ActionStateTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
    }
    static void expectState(const cMainWindow& window, const char* name, const State& state) {
        const QList<QAction*> copies = Window_Actions(window, QLatin1String(name));
        for (QAction* action : copies) {
            if (!state.text.isEmpty()) EXPECT_EQ(action->text(), state.text) << name;
            // A hidden action also reads as disabled.
            if (state.visible) EXPECT_EQ(action->isEnabled(), state.enabled) << name;
            EXPECT_EQ(action->isVisible(), state.visible) << name;
        }
        EXPECT_FALSE(copies.isEmpty()) << name;
    }
    cConsoleCapture console;
};

} // namespace

TEST_F(ActionStateTest, UndoSelectionProfileAndModelRows) {
    cMainWindow window(WindowMode::Interactive);
    window.show();
    // No map: nothing to undo, undo reads as switched off, every undo command disabled.
    window.updateActions(0xfff);
    // Without a map the menu entries of map commands are hidden; the copies still shown (tool
    // buttons) carry the state.
    auto expectShownCopies = [&window](const char* name, const State& state) {
        const QList<QAction*> copies = Window_Actions(window, QLatin1String(name));
        for (QAction* action : copies) {
            if (!state.text.isEmpty()) EXPECT_EQ(action->text(), state.text) << name;
            if (action->isVisible()) EXPECT_EQ(action->isEnabled(), state.enabled) << name;
        }
        EXPECT_FALSE(copies.isEmpty()) << name;
    };
    expectShownCopies("EditUndo", {"Can't undo", false});
    expectShownCopies("EditRedo", {"Can't redo", false});
    expectShownCopies("EditNoUndo", {"Enabl&e Undo/Redo", true});
    expectShownCopies("EditCut", {"", false});
    expectShownCopies("FileSaveIncr", {"", false});

    MapDocument* document = window.openFile(kSampleMap);
    ASSERT_NE(document, nullptr);
    ASSERT_NE(window.activeChildWindow(), nullptr);
    GameCfg_Select(&window.gameConfigs, document->gameConfig);
    ASSERT_NE(window.gameConfigs.current, nullptr);
    MapWorld* world = document->world;

    // A recorded level names the Undo command; the history's own refresh updates it.
    Undo_BeginLevel(document->undo, "Move");
    Undo_EndLevel(document->undo);
    expectState(window, "EditUndo", {"&Undo Move", true});
    expectState(window, "EditNoUndo", {"Disabl&e Undo/Redo", true});
    // Switched off, the recorded level cannot be undone.
    document->undo->enabled = false;
    window.updateActions(0x2);
    expectState(window, "EditUndo", {"Can't undo", false});
    expectState(window, "EditNoUndo", {"Enabl&e Undo/Redo", true});
    document->undo->enabled = true;

    // Selection: cut, group and transform follow it; the texture tool keeps group disabled.
    ASSERT_NE(world->entities, nullptr);
    BrushRecord* brush = world->entities->firstBrush;
    ASSERT_NE(brush, nullptr);
    Map_SelectObject(world, brush);
    window.updateActions(0x15);
    expectState(window, "EditCut", {"", true});
    expectState(window, "ToolsGroup", {"", true});
    expectState(window, "ToolsRotC", {"", true});
    expectState(window, "ToolsEntConn", {"", false});
    FakeTool texture(ToolId::Texture);
    cAbstractTool* before = window.activeTool;
    window.activeTool = &texture;
    window.updateActions(0x4);
    expectState(window, "ToolsGroup", {"", false});
    expectState(window, "ToolsUngroup", {"", false});
    window.activeTool = before;

    // A profile without curves hides the curve menu and commands; no content bits hide detail.
    ASSERT_NE(window.gameConfigs.currentProfile, nullptr);
    ASSERT_NE(window.curveMenu, nullptr);
    const MapProfileRecord* profile = window.gameConfigs.currentProfile;
    MapProfileRecord changed = *profile;
    changed.capabilities = (changed.capabilities & ~0x40u) | 0x4000u;
    changed.contentMask = 0;
    window.gameConfigs.currentProfile = &changed;
    window.updateActions(0x248);
    EXPECT_FALSE(window.curveMenu->menuAction()->isVisible());
    for (const char* name :
         {"CurveSelect", "ViewCurves", "ToolsMakeStruct", "ToolsMakeDetail", "ToolsMakeSep", "ViewDetail"})
        expectState(window, name, {"", true, false});
    expectState(window, "MapLoadHull", {"", true, true});
    changed.capabilities |= 0x40;
    changed.contentMask = 1;
    window.updateActions(0x48);
    EXPECT_TRUE(window.curveMenu->menuAction()->isVisible());
    expectState(window, "ViewDetail", {"", true, true});
    window.gameConfigs.currentProfile = profile;

    // One model entity with a viewer: view and reload; a second entity: reload only.
    std::vector<EntityRecord*> pointEntities;
    for (EntityRecord* e = world->entities; e; e = e->next)
        if (!e->firstBrush) pointEntities.push_back(e);
    ASSERT_GE(pointEntities.size(), 2u);
    const int32_t kind = pointEntities[0]->modelKind;
    pointEntities[0]->modelKind = EntityModelKind::Model;
    window.gameConfigs.current->ModelViewer = QStringLiteral(" viewer ");
    Map_SelectNone(world);
    Map_SelectObject(world, pointEntities[0]);
    window.updateActions(0x110);
    expectState(window, "ViewOpenModel", {"", true, true});
    expectState(window, "ViewReloadModel", {"", true, true});
    Map_SelectObject(world, pointEntities[1]);
    window.updateActions(0x110);
    expectState(window, "ViewOpenModel", {"", false, true});
    expectState(window, "ViewReloadModel", {"", true, true});
    expectState(window, "ToolsEntConn", {"", true});
    window.gameConfigs.current->ModelViewer = QStringLiteral("  ");
    window.updateActions(0x100);
    expectState(window, "ViewOpenModel", {"", false, false});
    pointEntities[0]->modelKind = kind;
    Map_SelectNone(world);
    window.close();
}

TEST_F(ActionStateTest, ColorSchemeMenuListsNamedSchemesThenCustom) {
    struct Case {
        QByteArray file;
        QByteArray shipped; // the base directory's copy
        QStringList texts;  // "-" a separator
        int checked;
    } cases[] = {
        {"[ColorScheme0]\nOther=1\n[ColorScheme1]\nTitle=Ignored\n", "", {"&Custom..."}, -1},
        {"[General]\nCurrentColorScheme=1\n[ColorScheme0]\nTitle=Dark\n[ColorScheme1]\nTitle=Light\n",
         "[ColorScheme0]\nTitle=Shipped\n",
         {"Dark", "Light", "-", "&Custom..."},
         1},
        {"[General]\nCurrentColorScheme=-1\n[ColorScheme0]\nTitle=Dark\n",
         "",
         {"Dark", "-", "&Custom..."},
         2},
        // The user's file has no schemes (they are never written there): the shipped ones show.
        {"[General]\nCurrentColorScheme=0\n",
         "[ColorScheme0]\nTitle=Shipped\n",
         {"Shipped", "-", "&Custom..."},
         0},
    };
    for (const Case& c : cases) {
        writeFile("config/zarv/KDKSettings.ini", c.file);
        writeFile("base/KDKSettings.ini", c.shipped);
        cMainWindow window(WindowMode::Interactive);
        ASSERT_NE(window.colorSchemeMenu, nullptr);
        QStringList texts;
        int checked = -1, i = 0;
        for (QAction* action : window.colorSchemeMenu->actions()) {
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
            if (action->isChecked()) checked = i;
            ++i;
        }
        EXPECT_EQ(texts, c.texts) << c.file.constData();
        EXPECT_EQ(checked, c.checked) << c.file.constData();
        auto* custom = qobject_cast<QCustomAction*>(window.colorSchemeMenu->actions().last());
        ASSERT_NE(custom, nullptr);
        EXPECT_EQ(custom->index, -1);
        EXPECT_TRUE(window.actionList.contains(custom));
    }
}

TEST_F(ActionStateTest, ClassMenusFollowTheConfigurationTrees) {
    cMainWindow window(WindowMode::Interactive);
    ASSERT_FALSE(window.gameConfigs.configs.isEmpty());
    GameConfig* config = window.gameConfigs.configs[0];
    window.gameConfigs.makeCurrent(config);
    EntityClass light, rocket, door;
    light.name = "light";
    rocket.name = "weapon_rocket";
    door.name = "func_door";
    ClassTreeNode points;
    points.children.push_back({QByteArray(), &light, {}});
    points.children.push_back({"weapons", nullptr, {{QByteArray(), &rocket, {}}}});
    ClassTreeNode solids;
    solids.children.push_back({QByteArray(), &door, {}});
    std::swap(config->pointClassTree, points);
    std::swap(config->solidClassTree, solids);
    config->DefaultSolidClass = QStringLiteral("func_group");

    window.updateCreateActions(QString(), 0x6);
    ASSERT_EQ(window.createEntries.size(), 3); // light, the weapons submenu, weapon_rocket
    ASSERT_EQ(window.createSubmenus.size(), 1);
    EXPECT_EQ(window.createSubmenus[0]->title(), QLatin1String("weapons"));
    EXPECT_EQ(window.createSubmenus[0]->actions()[0]->text(), QLatin1String("weapon_rocket"));
    EXPECT_EQ(window.tieEntries.size(), 1);
    EXPECT_TRUE(window.tieMenuBuilt);
    // The entries stand in the menu of the placeholder.
    ASSERT_NE(window.createPlaceholder, nullptr);
    QMenu* create = nullptr;
    for (QObject* o : window.createPlaceholder->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o)) create = m;
    ASSERT_NE(create, nullptr);
    EXPECT_TRUE(create->actions().contains(window.createEntries[0]));
    for (QAction* action : Window_Actions(window, QStringLiteral("ToolsToEntityContext")))
        EXPECT_EQ(action->text(), QLatin1String("&Tie to func_group"));
    for (QAction* action : Window_Actions(window, QStringLiteral("EditCreate")))
        EXPECT_EQ(action->text(), QLatin1String("Create &Object"));
    // Hidden and shown again; the create command names the class.
    window.updateCreateActions(QStringLiteral("light"), 0x1);
    for (QAction* entry : window.createEntries)
        EXPECT_FALSE(entry->isVisible());
    EXPECT_FALSE(window.createPlaceholder->isVisible());
    window.updateCreateActions(QStringLiteral("light"), 0);
    for (QAction* entry : window.createEntries)
        EXPECT_TRUE(entry->isVisible());
    for (QAction* action : Window_Actions(window, QStringLiteral("EditCreate")))
        EXPECT_EQ(action->text(), QLatin1String("Create light"));
    // The same configuration again rebuilds nothing; the entries are the same objects.
    const QList<QAction*> entries = window.createEntries;
    window.updateCreateActions(QStringLiteral("light"), 0x2);
    EXPECT_EQ(window.createEntries, entries);
    // A rebuild replaces them.
    window.fillCreateObjectMenu();
    EXPECT_EQ(window.createEntries.size(), 3);
    std::swap(config->pointClassTree, points);
    std::swap(config->solidClassTree, solids);
}
