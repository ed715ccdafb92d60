#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "ConsoleCapture.h"
#include "WindowFixture.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapDocument.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "mainwindow/QVisGroupList.h"
#include "document/VisGroup.h"
#include "map/MapBrush.h"
#include "map/ObjectRecords.h"
#include "mainwindow/MainWindow.h"
#include "views/ChildWindow.h"

namespace {

class VisGroupsDockTest : public cWindowFixture {
protected:
    void SetUp() override {
        cWindowFixture::SetUp();
        writeQuake3Config();
        window = std::make_unique<cMainWindow>(WindowMode::Interactive);
        window->show();
        list = window->visGroupsDock.list;
    }
    void TearDown() override {
        window.reset();
        cWindowFixture::TearDown();
    }
    MapWorld* openSample() {
        MapDocument* document = window->openFile(kSampleMap);
        return document ? document->world : nullptr;
    }
    // Selects the first n brushes of the world entity.
    static void selectBrushes(MapWorld* world, int n) {
        Map_ClearSelectionFlags(world);
        for (BrushRecord* b = world->entities->firstBrush; b && n > 0; b = b->next, --n)
            Map_SelectObject(world, b);
    }
    QListWidgetItem* rowOf(int id) const {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toInt() == id) return list->item(i);
        return nullptr;
    }
    void doubleClick(QListWidgetItem* row) {
        const QPoint at = list->visualItemRect(row).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QMouseEvent twice(QEvent::MouseButtonDblClick, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &press);
        QApplication::sendEvent(list->viewport(), &release);
        QApplication::sendEvent(list->viewport(), &twice);
        QApplication::sendEvent(list->viewport(), &release);
    }

    cConsoleCapture console;
    std::unique_ptr<cMainWindow> window;
    QVisGroupList* list = nullptr;
};

} // namespace

TEST_F(VisGroupsDockTest, WithoutAMapEverythingIsDisabledAndEmpty) {
    window->updateVisGroupList();
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(list->isEnabled());
    EXPECT_FALSE(window->visGroupsDock.assign->isEnabled());
    EXPECT_FALSE(window->visGroupsDock.purge->isEnabled());
    EXPECT_EQ(window->visGroupsDock.dock->windowTitle(), QStringLiteral("Filter Control"));
}

TEST_F(VisGroupsDockTest, RowTextsFollowTheMemberCount) {
    MapWorld* world = openSample();
    ASSERT_NE(world, nullptr);
    const VisGroup* walls = Map_CreateVisGroup(world, "Walls");
    const struct {
        int members;
        const char* text;
    } cases[] = {{0, "Walls"}, {1, "Walls (1 object)"}, {5, "Walls (5 objects)"}};
    for (const auto& c : cases) {
        selectBrushes(world, c.members);
        window->updateVisGroupList();
        window->currentVisGroup = uint32_t(walls->id);
        window->updateVisGroupList();
        ASSERT_EQ(list->currentItem(), rowOf(walls->id));
        // Assign adds only the brushes not in the set yet.
        window->assignVisGroup();
        EXPECT_EQ(walls->memberCount, c.members);
        EXPECT_EQ(rowOf(walls->id)->text(), QLatin1String(c.text));
    }
    EXPECT_TRUE(window->visGroupsDock.assign->isEnabled());
}

TEST_F(VisGroupsDockTest, DoubleClickHidesAndDeselectsMembersAndBack) {
    MapWorld* world = openSample();
    ASSERT_NE(world, nullptr);
    const VisGroup* set = Map_CreateVisGroup(world, "Set");
    selectBrushes(world, 2);
    Map_AssignSelectionToVisGroup(world, set->id);
    window->updateVisGroupList();
    const QImage on = QIcon(QStringLiteral(":/qrc/vg_on.png")).pixmap(16).toImage();
    const QImage off = QIcon(QStringLiteral(":/qrc/vg_off.png")).pixmap(16).toImage();
    ASSERT_FALSE(on.isNull());
    ASSERT_NE(on, off);
    EXPECT_EQ(rowOf(set->id)->icon().pixmap(16).toImage(), on);

    doubleClick(rowOf(set->id));
    EXPECT_EQ(set->visible, 0);
    EXPECT_EQ(world->selectedBrushes, nullptr);
    EXPECT_EQ(rowOf(set->id)->icon().pixmap(16).toImage(), off);

    doubleClick(rowOf(set->id));
    EXPECT_EQ(set->visible, 1);
    EXPECT_EQ(rowOf(set->id)->icon().pixmap(16).toImage(), on);
}

TEST_F(VisGroupsDockTest, CurrentRowSurvivesRebuildAndMergeSumsCounts) {
    MapWorld* world = openSample();
    ASSERT_NE(world, nullptr);
    const int a = Map_CreateVisGroup(world, "A")->id;
    const int b = Map_CreateVisGroup(world, "B")->id;
    selectBrushes(world, 2);
    Map_AssignSelectionToVisGroup(world, a);
    Map_ClearSelectionFlags(world);
    Map_SelectObject(world, world->entities->firstBrush->next->next);
    Map_AssignSelectionToVisGroup(world, b);
    window->updateVisGroupList();
    list->setCurrentItem(rowOf(b));
    window->updateVisGroupList();
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->data(Qt::UserRole).toInt(), b);

    emit list->mergeItems(rowOf(a), rowOf(b));
    EXPECT_EQ(list->count(), 1);
    EXPECT_EQ(rowOf(b)->text(), QStringLiteral("B (3 objects)"));
    EXPECT_EQ(Map_FindVisGroup(world, a), nullptr);
}

// Mark selects the set's members in place of the selection; purge drops the empty sets, which
// renumbers the others, and the properties dialog's visgroup page follows the new numbers.
TEST_F(VisGroupsDockTest, MarkSelectsTheMembersAndPurgeRenumbersEverywhere) {
    MapWorld* world = openSample();
    ASSERT_NE(world, nullptr);
    Map_CreateVisGroup(world, "Empty");
    const int a = Map_CreateVisGroup(world, "A")->id;
    selectBrushes(world, 2);
    const BrushRecord* first = world->entities->firstBrush;
    Map_AssignSelectionToVisGroup(world, a);
    Map_ClearSelectionFlags(world);
    Map_SelectObject(world, first->next->next);
    window->updateVisGroupList();
    list->setCurrentItem(rowOf(a));
    window->visGroupsDock.mark->click();
    QList<const BrushRecord*> selected;
    for (const BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
        selected << b;
    EXPECT_EQ(selected.size(), 2);
    EXPECT_TRUE(selected.contains(first) && selected.contains(first->next));

    window->cmdEditProperties();
    ASSERT_TRUE(window->objectPropertiesDialog->isVisible());
    auto* page = window->objectPropertiesDialog->findChild<QListWidget*>(QStringLiteral("lstVisGroups"));
    ASSERT_NE(page, nullptr);
    window->objectPropertiesDialog->refreshVisGroups();
    ASSERT_EQ(page->count(), 3);

    window->visGroupsDock.purge->click();
    ASSERT_EQ(list->count(), 1);
    const int renumbered = list->item(0)->data(Qt::UserRole).toInt();
    ASSERT_NE(Map_FindVisGroup(world, renumbered), nullptr);
    EXPECT_STREQ(Map_FindVisGroup(world, renumbered)->name, "A");
    ASSERT_EQ(page->count(), 2);
    EXPECT_EQ(page->item(1)->text(), QStringLiteral("A"));
    EXPECT_EQ(page->item(1)->data(Qt::UserRole).toInt(), renumbered);
}
