#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QLabel>
#include <QSpinBox>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/Grouping.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "document/SelectionBox.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "gamedata/EntityClass.h"
#include "gamedata/PluginInterface.h"
#include "map/MapBrush.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/PrimitiveRegistry.h"
#include "tools/EntityTool.h"
#include "tools/ToolSet.h"
#include "views/Canvas.h"
#include "views/ChildWindow.h"

namespace {

const QString kSampleDefinitions =
    QDir::cleanPath(QStringLiteral(ZARV_TEST_DATA_DIR "/../../../samples/quake3/q3entities.fgd"));

// Brushes, groups and visgroups get random display colours when they are made: masked.
QString dumpWithoutRandomColors(const MapWorld* world) {
    static const QRegularExpression randomColor(
        QStringLiteral("^(\\s*(?:brush|group|visgroup) .*color )\\d+,\\d+,\\d+,\\d+"),
        QRegularExpression::MultilineOption);
    return QString::fromUtf8(Map_DumpWorld(world)).replace(randomColor, QStringLiteral("\\1*"));
}

// Two definition files that both define "light" (once in another case), under one configuration.
class NewObjectsDockTest : public cWindowFixture {
protected:
    void open(bool withClasses) {
        writeFile("defs/a.fgd", "@PointClass = light : \"Light\" []\n"
                                "@PointClass = info_player_start : \"Start\" []\n"
                                "@SolidClass = func_group : \"Group\" []\n");
        writeFile("defs/b.fgd", "@PointClass = LIGHT : \"Light again\" []\n"
                                "@PointClass = ammo_bullets : \"Ammo\" []\n");
        openWith(withClasses ? QStringLiteral("GameData0=%1\nGameData1=%2\n")
                                   .arg(path("defs/a.fgd"), path("defs/b.fgd"))
                                   .toUtf8()
                             : QByteArray());
    }
    // The sample map under one configuration with these definition lines.
    void openWith(const QByteArray& gameData) {
        writeFile("base/KDKGameCfg.ini", "[Config0]\nTitle=Test\nEnabled=true\nMapProfile=kpQuake3\n"
                                         "DefaultPointClass=info_player_start\n" +
                                             gameData);
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        ASSERT_NE(window->openFile(kSampleMap), nullptr);
        // As the program does after an open: the map's configuration and profile become current.
        QApplication::setActiveWindow(window.get());
        window->checkActiveState(false, true);
        dock = &window->objectsDock;
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }
    // Chooses the item by text with the keyboard, as a user would.
    static void choose(QComboBox* combo, const QString& text) {
        const int target = combo->findText(text);
        ASSERT_GE(target, 0) << text.toStdString();
        key(combo, Qt::Key_Home);
        for (int i = 0; i < target; ++i)
            key(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentIndex(), target);
    }
    static void key(QWidget* to, int code, const QString& text = QString()) {
        QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, text);
        QApplication::sendEvent(to, &press);
        QApplication::sendEvent(to, &release);
    }
    void typeCount(const QString& digits) {
        dock->faces->selectAll();
        for (QChar ch : digits)
            key(dock->faces, ch.unicode(), QString(ch));
    }
    static QStringList items(const QComboBox* combo) {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemText(i);
        return list;
    }
    void switchTo(int id) {
        if (id == ToolId::Brush)
            window->toolBrush();
        else if (id == ToolId::Entity)
            window->toolEntity();
        else
            window->toolSelect();
        window->updateToolActions();
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    cMainWindow::ObjectsDock* dock = nullptr;
};

} // namespace

TEST_F(NewObjectsDockTest, CategoriesFollowToolAndProfileFlags) {
    open(true);
    switchTo(ToolId::Selection);
    EXPECT_EQ(items(dock->categories), QStringList{"(no category)"});
    EXPECT_FALSE(dock->categories->isEnabled());
    EXPECT_EQ(items(dock->objects), QStringList{"(nothing)"});

    switchTo(ToolId::Brush);
    ASSERT_NE(window->gameConfigs.currentProfile, nullptr);
    EXPECT_STREQ(window->gameConfigs.currentProfile->name, "kpQuake3");
    EXPECT_EQ(window->gameConfigs.currentProfile->capabilities, 0x49u);
    EXPECT_EQ(items(dock->categories), (QStringList{"(primitives)", "(curves)"}));
    EXPECT_EQ(dock->categories->itemData(1).toInt(), 3);
    EXPECT_TRUE(dock->categories->isEnabled());
    EXPECT_FALSE(dock->randomYaw->isVisible());

    MapProfileRecord flat = *window->gameConfigs.currentProfile;
    flat.capabilities = 0;
    const MapProfileRecord* previous = window->gameConfigs.currentProfile;
    window->gameConfigs.currentProfile = &flat;
    window->fillObjectCategories();
    EXPECT_EQ(items(dock->categories), QStringList{"(primitives)"});
    window->gameConfigs.currentProfile = previous;
}

TEST_F(NewObjectsDockTest, EachPrimitiveKeepsItsCountAndSameNamesStayApart) {
    open(true);
    switchTo(ToolId::Brush);
    choose(dock->categories, "(primitives)");
    choose(dock->objects, "cylinder");
    EXPECT_EQ(dock->faces->minimum(), 3);
    EXPECT_EQ(dock->faces->maximum(), 128);
    EXPECT_EQ(dock->faces->value(), 8);
    EXPECT_TRUE(dock->faces->isEnabled());
    typeCount("12");
    EXPECT_EQ(App_CurrentPrimitive()->count, 12);

    choose(dock->objects, "block");
    EXPECT_FALSE(dock->faces->isEnabled());
    EXPECT_FALSE(dock->facesLabel->isEnabled());
    EXPECT_STREQ(App_CurrentPrimitive()->name, "block");
    choose(dock->objects, "cylinder");
    EXPECT_EQ(dock->faces->value(), 12);

    // "sphere" is in both categories: the count follows the row, not the name.
    choose(dock->categories, "(curves)");
    choose(dock->objects, "sphere");
    EXPECT_FALSE(dock->faces->isEnabled());
    EXPECT_EQ(App_CurrentPrimitive()->capabilityMask, 0x40);
    choose(dock->categories, "(primitives)");
    choose(dock->objects, "sphere");
    EXPECT_TRUE(dock->faces->isEnabled());
    EXPECT_EQ(dock->faces->minimum(), 3);
    EXPECT_EQ(dock->faces->maximum(), 24);
    EXPECT_EQ(dock->faces->value(), 8);
    EXPECT_EQ(App_CurrentPrimitive()->maximum, 24);

    // Leaving for another tool and back keeps the category and the primitive.
    switchTo(ToolId::Selection);
    EXPECT_EQ(App_CurrentPrimitive(), nullptr);
    switchTo(ToolId::Brush);
    EXPECT_EQ(dock->categories->currentText(), QStringLiteral("(primitives)"));
    EXPECT_EQ(dock->objects->currentText(), QStringLiteral("sphere"));
    EXPECT_EQ(App_CurrentPrimitive()->maximum, 24);
}

TEST_F(NewObjectsDockTest, EntityClassesListedOnceSortedAndFeedTheEntityTool) {
    open(true);
    switchTo(ToolId::Entity);
    EXPECT_EQ(items(dock->categories), QStringList{"(entities)"});
    EXPECT_EQ(items(dock->objects), (QStringList{"ammo_bullets", "info_player_start", "light"}));
    // The configuration's default point class is current at first.
    EXPECT_EQ(dock->objects->currentText(), QStringLiteral("info_player_start"));
    EXPECT_TRUE(dock->randomYaw->isVisible());
    EXPECT_FALSE(dock->faces->isVisible());

    choose(dock->objects, "ammo_bullets");
    ASSERT_NE(window->currentObjectClass(), nullptr);
    EXPECT_EQ(window->currentObjectClass()->name, QByteArray("ammo_bullets"));
    EXPECT_EQ(Tool_CurrentObjectClass(), window->currentObjectClass());
    dock->randomYaw->click();
    EXPECT_TRUE(Tool_RandomYaw());
    dock->randomYaw->click();
    EXPECT_FALSE(Tool_RandomYaw());

    // The remembered class comes back after another tool.
    switchTo(ToolId::Brush);
    switchTo(ToolId::Entity);
    EXPECT_EQ(dock->objects->currentText(), QStringLiteral("ammo_bullets"));
}

TEST_F(NewObjectsDockTest, NoPointClassesWarnsAndSwitchesToTheBrushTool) {
    open(false);
    cPromptScript prompts;
    switchTo(ToolId::Entity);
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(
        prompts.asked[0].text,
        QStringLiteral("There are no point entities in current game data!\nEntity Tool is not available."));
    EXPECT_EQ(Tool_Id(window->activeTool), ToolId::Brush);
    EXPECT_EQ(items(dock->categories).first(), QStringLiteral("(primitives)"));
}

// The window's tie gives the world the document operation gives, as one undo level, and shows the
// new entity in the properties dialog.
TEST_F(NewObjectsDockTest, TieToEntityMovesTheSelectionIntoNewEntitiesAsOneUndoLevel) {
    open(true);
    MapWorld* world = window->activeChildWindow()->document->world;
    UndoHistory* undo = window->activeChildWindow()->document->undo;
    cObjectPropertiesDialog* properties = window->objectPropertiesDialog;
    ASSERT_NE(properties, nullptr);
    // Two world brushes, the same ones again after an undo (which keeps serials, not list order).
    QList<int32_t> serials;
    for (BrushRecord* b = world->entities->firstBrush; b && serials.size() < 2; b = b->next)
        serials << b->serial;
    auto selectTwoBrushes = [world, &serials] {
        Map_ClearSelectionFlags(world);
        QList<BrushRecord*> brushes;
        for (int32_t serial : serials)
            for (BrushRecord* b = world->entities->firstBrush; b; b = b->next)
                if (b->serial == serial) brushes << b;
        for (BrushRecord* b : brushes)
            Map_SelectObject(world, b);
        return brushes;
    };
    for (bool each : {false, true}) {
        SCOPED_TRACE(each);
        properties->hide();
        QList<BrushRecord*> brushes = selectTwoBrushes();
        ASSERT_EQ(brushes.size(), 2);
        const QString before = dumpWithoutRandomColors(world);
        window->tieClassName = QStringLiteral("func_group");
        window->tieToEntity(nullptr, each);
        EXPECT_TRUE(window->tieClassName.isEmpty());
        ASSERT_NE(brushes[0]->entity, world->entities);
        ASSERT_NE(brushes[1]->entity, world->entities);
        EXPECT_STREQ(brushes[0]->entity->classname, "func_group");
        EXPECT_EQ(brushes[0]->entity == brushes[1]->entity, !each);
        // The dialog opened on the entity just made, not on what it held before.
        EXPECT_TRUE(properties->isVisible());
        EXPECT_EQ(properties->pageMode(), 3);
        ASSERT_NE(properties->head(), nullptr);
        EXPECT_STREQ(properties->head()->classname, "func_group");
        const QString tied = dumpWithoutRandomColors(world);
        ASSERT_TRUE(Undo_StepUndo(undo));
        EXPECT_EQ(dumpWithoutRandomColors(world), before);

        ASSERT_EQ(selectTwoBrushes().size(), 2);
        EntityRecord* made = nullptr;
        ASSERT_TRUE(each ? Map_TieEachToEntity(world, "func_group", &made)
                         : Map_TieToEntity(world, "func_group", &made));
        EXPECT_EQ(dumpWithoutRandomColors(world), tied);
        ASSERT_TRUE(Undo_StepUndo(undo));
    }
}

// The sample game's definitions through the window: the entity list offers the point classes
// only, a class chosen there is made at the tool's point with its own box, and a brush class from
// the "Tie to" list needs a brush selection, which it then owns.
TEST_F(NewObjectsDockTest, SampleGameClassesAreMadeFromTheEntityListsByTheirKind) {
    openWith(QStringLiteral("GameData0=%1\n").arg(kSampleDefinitions).toUtf8());
    switchTo(ToolId::Entity);
    const QStringList listed = items(dock->objects);
    for (const char* name : {"team_CTF_redflag", "info_player_intermission", "holdable_medkit", "weapon_bfg",
                             "ammo_belt", "item_haste", "target_location", "func_timer"})
        EXPECT_TRUE(listed.contains(QLatin1String(name))) << name;
    for (const char* name : {"trigger_teleport", "func_train", "func_bobbing", "func_static", "worldspawn"})
        EXPECT_FALSE(listed.contains(QLatin1String(name))) << name;

    choose(dock->objects, "team_CTF_redflag");
    const EntityClass* flagClass = window->currentObjectClass();
    ASSERT_NE(flagClass, nullptr);
    EXPECT_EQ(std::vector<float>(flagClass->mins, flagClass->mins + 3), (std::vector<float>{-16, -16, -16}));
    EXPECT_EQ(std::vector<float>(flagClass->maxs, flagClass->maxs + 3), (std::vector<float>{16, 16, 16}));
    MapDocument* document = window->activeChildWindow()->document;
    MapWorld* world = document->world;
    for (cCanvas* view : window->activeChildWindow()->views)
        if (view->viewType == ViewType::Top) window->setActiveCanvas(view);
    ASSERT_NE(window->focusView, nullptr);
    const float at[3] = {64, 32, 16};
    Select_BoxFromPoint(&document->selectionBoxes[2], at);
    Window_Action(*window, "EditCreate")->trigger();
    EntityRecord* flag = world->entities;
    while (flag->next)
        flag = flag->next;
    ASSERT_STREQ(flag->classname, "team_CTF_redflag");
    EXPECT_TRUE(flag->flags & EntityFlag::Point);
    EXPECT_EQ(flag->firstBrush, nullptr);
    EXPECT_EQ(std::vector<float>(flag->origin, flag->origin + 3), (std::vector<float>{64, 32, 16}));

    switchTo(ToolId::Selection);
    window->fillTieToEntityMenu();
    QAction* teleport = nullptr;
    for (QAction* entry : std::as_const(window->tieEntries))
        if (entry->text() == QLatin1String("trigger_teleport")) teleport = entry;
    ASSERT_NE(teleport, nullptr);
    for (QAction* entry : std::as_const(window->tieEntries))
        EXPECT_NE(entry->text(), QLatin1String("team_CTF_redflag"));
    // Without brushes nothing is made.
    Map_SelectNone(world);
    {
        cPromptScript prompts;
        teleport->trigger();
        ASSERT_EQ(prompts.asked.size(), 1);
        EXPECT_EQ(prompts.asked[0].text, QStringLiteral("There are no eligible selected objects."));
    }
    for (const EntityRecord* e = world->entities; e; e = e->next)
        EXPECT_STRNE(e->classname, "trigger_teleport");
    BrushRecord* brush = world->entities->firstBrush;
    ASSERT_NE(brush, nullptr);
    Map_SelectObject(world, brush);
    teleport->trigger();
    ASSERT_NE(brush->entity, world->entities);
    EXPECT_STREQ(brush->entity->classname, "trigger_teleport");
    EXPECT_FALSE(brush->entity->flags & EntityFlag::Point);
}
