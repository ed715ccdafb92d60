#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/editing/EntityReportDialog.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/ObjectRecords.h"
#include "ui_EntityReportDialog.h"
#include "views/Canvas.h"

namespace {

class EntityReportTest : public cSampleWindowFixture {
protected:
    EntityRecord* entity(const char* classname, int nth = 0) const {
        for (EntityRecord* e = world->entities; e; e = e->next)
            if (qstrcmp(e->classname, classname) == 0 && nth-- == 0) return e;
        return nullptr;
    }
    static QStringList rows(const cEntityReportDialog& dialog) {
        QStringList texts;
        for (int row = 0; row < dialog.ui->lstEntities->rowCount(); ++row)
            texts.append(dialog.ui->lstEntities->item(row, 0)->text());
        return texts;
    }
    static int rowOf(const cEntityReportDialog& dialog, const EntityRecord* e) {
        for (int row = 0; row < dialog.ui->lstEntities->rowCount(); ++row)
            if (dialog.entityAt(row) == e) return row;
        return -1;
    }
    static void clickRow(cEntityReportDialog& dialog, int row,
                         Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTableWidget* table = dialog.ui->lstEntities;
        table->scrollToItem(table->item(row, 0));
        const QPoint at = table->visualItemRect(table->item(row, 0)).center();
        QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, at);
    }
    // Runs the Map menu's command; the test acts in the open dialog, which is then closed.
    void runReport(const std::function<void(cEntityReportDialog&)>& act) {
        bool reached = false;
        cDialogAnswer answer(
            [&](QDialog* d) {
                auto* dialog = qobject_cast<cEntityReportDialog*>(d);
                ASSERT_NE(dialog, nullptr);
                reached = true;
                act(*dialog);
            },
            false);
        window->cmdMapEntityReport();
        EXPECT_TRUE(reached);
    }
    const char* newestLevel() const {
        const UndoHistory* h = child->document->undo;
        return h && h->undoChain && h->undoChain->name ? h->undoChain->name : "";
    }
};

TEST_F(EntityReportTest, FiltersListTheMatchingEntities) {
    entity("light", 8)->flags |= EntityFlag::Hidden;
    const QStringList lights(9, QStringLiteral("light"));
    struct Case {
        const char* what;
        EntityReportSettings settings;
        int count;
        QStringList exactly;
    };
    const Case cases[] = {
        {"everything shown", {}, 14, {}},
        {"with hidden", {0, true}, 15, {}},
        {"brush entities", {1}, 2, {"func_door", "trigger_multiple"}},
        {"point entities", {2}, 12, {}},
        {"class", {0, true, false, true, false, "light"}, 9, lights},
        {"class ignores case when restored", {0, true, false, true, false, "LIGHT"}, 9, lights},
        {"stale class filter is inactive", {0, true, false, true, false, "no_such_class"}, 15, {}},
        {"key ignores case, exact value",
         {0, false, true, false, true, "", "TargetName", "door1"},
         1,
         {"func_door"}},
        {"exact value is case-sensitive", {0, false, true, false, true, "", "targetname", "DOOR1"}, 0, {}},
        {"contained value", {0, false, true, false, false, "", "target", "oor"}, 1, {"trigger_multiple"}},
        {"contained value is case-sensitive", {0, false, true, false, false, "", "target", "OOR"}, 0, {}},
        {"empty value matches any value of the key", {0, false, true, false, false, "", "light", ""}, 8, {}},
        {"key filter off", {0, false, false, false, true, "", "light", "nothing"}, 14, {}},
    };
    for (const Case& c : cases) {
        cEntityReportDialog dialog(child->document, window.get());
        dialog.setSettings(c.settings);
        const QStringList listed = rows(dialog);
        EXPECT_EQ(listed.size(), c.count) << c.what;
        if (!c.exactly.isEmpty()) EXPECT_EQ(listed, c.exactly) << c.what;
        EXPECT_FALSE(listed.contains("worldspawn")) << c.what;
        QStringList sorted = listed;
        sorted.sort();
        EXPECT_EQ(listed, sorted) << c.what;
    }
    // The class list: sorted, unique, no world entity.
    cEntityReportDialog dialog(child->document, window.get());
    QStringList classes;
    for (int i = 0; i < dialog.ui->lbClass->count(); ++i)
        classes.append(dialog.ui->lbClass->itemText(i));
    EXPECT_EQ(classes, QStringList({"ammo_rockets", "func_door", "info_player_deathmatch", "item_armor_shard",
                                    "light", "trigger_multiple", "weapon_shotgun"}));
    // Hidden rows are in italics.
    EntityReportSettings hidden;
    hidden.hidden = true;
    dialog.setSettings(hidden);
    const int row = rowOf(dialog, entity("light", 8));
    ASSERT_GE(row, 0);
    EXPECT_TRUE(dialog.ui->lstEntities->item(row, 1)->font().italic());
    EXPECT_FALSE(dialog.ui->lstEntities->item(rowOf(dialog, entity("light", 0)), 0)->font().italic());
    EXPECT_EQ(dialog.ui->lstEntities->item(rowOf(dialog, entity("func_door")), 1)->text(), "door1");
    EXPECT_EQ(dialog.ui->lstEntities->item(rowOf(dialog, entity("trigger_multiple")), 2)->text(), "door1");
}

TEST_F(EntityReportTest, TheFilterComesBackOnTheNextRunAndInTheSettingsFile) {
    runReport([](cEntityReportDialog& dialog) {
        QTest::mouseClick(dialog.ui->cbClass, Qt::LeftButton);
        dialog.ui->lbClass->setCurrentIndex(dialog.ui->lbClass->findText("trigger_multiple"));
        QTest::mouseClick(dialog.ui->rbBrush, Qt::LeftButton);
        EXPECT_EQ(rows(dialog), QStringList({"trigger_multiple"}));
    });
    EXPECT_TRUE(window->settings.bClass);
    EXPECT_EQ(window->settings.Type, 1);
    EXPECT_EQ(window->settings.ClassFilter, "trigger_multiple");
    runReport([](cEntityReportDialog& dialog) {
        EXPECT_TRUE(dialog.ui->rbBrush->isChecked());
        EXPECT_TRUE(dialog.ui->lbClass->isEnabled());
        EXPECT_EQ(dialog.ui->lbClass->currentText(), "trigger_multiple");
        EXPECT_EQ(rows(dialog), QStringList({"trigger_multiple"}));
    });
    ASSERT_TRUE(window->writeSettings());
    QSettings file(window->resolveConfigFile(QStringLiteral("KDKSettings.ini"), false), QSettings::IniFormat);
    EXPECT_EQ(file.value("EntityReport/ClassFilter").toString(), "trigger_multiple");
    EXPECT_EQ(file.value("EntityReport/Type").toInt(), 1);
}

TEST_F(EntityReportTest, DeleteAsksWithTheClassOrTheCountAndIsOneUndoLevel) {
    const QByteArray before = Map_DumpWorld(world);
    cPromptScript script;
    script.answerButton(PromptButton::No);
    script.answerButton(PromptButton::Yes);
    script.answerButton(PromptButton::No);
    script.answerButton(PromptButton::Yes);
    runReport([&](cEntityReportDialog& dialog) {
        clickRow(dialog, rowOf(dialog, entity("func_door")));
        QTest::mouseClick(dialog.ui->btnDelete, Qt::LeftButton);
        EXPECT_EQ(Map_DumpWorld(world), before); // No
        QTest::mouseClick(dialog.ui->btnDelete, Qt::LeftButton);
        EXPECT_EQ(entity("func_door"), nullptr);
        EXPECT_EQ(rows(dialog).size(), 14);
        clickRow(dialog, 0);
        clickRow(dialog, 1, Qt::ControlModifier);
        clickRow(dialog, 2, Qt::ControlModifier);
        QTest::mouseClick(dialog.ui->btnDelete, Qt::LeftButton);
        EXPECT_EQ(rows(dialog).size(), 14);
        QTest::mouseClick(dialog.ui->btnDelete, Qt::LeftButton);
        EXPECT_EQ(rows(dialog).size(), 11);
    });
    ASSERT_EQ(script.asked.size(), 4);
    EXPECT_EQ(script.asked[0].text, "Are you sure to delete func_door?");
    EXPECT_EQ(script.asked[0].buttons, PromptButton::Yes | PromptButton::No);
    EXPECT_EQ(script.asked[2].text, "Are you sure to delete 3 entities?");
    EXPECT_STREQ(newestLevel(), "Delete Entities");
    EXPECT_TRUE(child->document->modified);
    window->cmdEditUndo();
    EXPECT_STREQ(newestLevel(), "Delete Entities");
    window->cmdEditUndo();
    EXPECT_EQ(Map_DumpWorld(world), before);
}

TEST_F(EntityReportTest, HideChangesFlagsOnceAndRefillsOnce) {
    const int levels = [&] {
        int n = 0;
        for (const UndoLevel* l = child->document->undo->undoChain; l; l = l->next)
            ++n;
        return n;
    }();
    EntityRecord* door = entity("func_door");
    runReport([&](cEntityReportDialog& dialog) {
        QTest::mouseClick(dialog.ui->cbHidden, Qt::LeftButton);
        clickRow(dialog, rowOf(dialog, door));
        QSignalSpy refills(dialog.ui->lstEntities->model(), &QAbstractItemModel::rowsInserted);
        QTest::mouseClick(dialog.ui->btnHide, Qt::LeftButton);
        EXPECT_TRUE(door->flags & EntityFlag::Hidden);
        for (BrushRecord* b = door->firstBrush; b; b = b->next)
            EXPECT_TRUE(b->flags & RecordFlag::Hidden);
        EXPECT_EQ(refills.size(), 1);
        // Still chosen, now in italics; a second hide changes nothing and does not refill.
        EXPECT_EQ(dialog.rememberedEntity(), door);
        EXPECT_TRUE(dialog.ui->lstEntities->item(rowOf(dialog, door), 0)->font().italic());
        QTest::mouseClick(dialog.ui->btnHide, Qt::LeftButton);
        EXPECT_EQ(refills.size(), 1);
        QTest::mouseClick(dialog.ui->btnUnhide, Qt::LeftButton);
        EXPECT_FALSE(door->flags & EntityFlag::Hidden);
        EXPECT_EQ(refills.size(), 2);
    });
    EXPECT_FALSE(child->document->modified);
    int after = 0;
    for (const UndoLevel* l = child->document->undo->undoChain; l; l = l->next)
        ++after;
    EXPECT_EQ(after, levels);
}

TEST_F(EntityReportTest, TheChosenRowSurvivesRefillsElseRowZero) {
    cEntityReportDialog dialog(child->document, window.get());
    dialog.show();
    EntityRecord* trigger = entity("trigger_multiple");
    clickRow(dialog, rowOf(dialog, trigger));
    EXPECT_EQ(dialog.rememberedEntity(), trigger);
    QTest::mouseClick(dialog.ui->rbBrush, Qt::LeftButton);
    QList<QTableWidgetItem*> chosen = dialog.ui->lstEntities->selectedItems();
    ASSERT_EQ(chosen.size(), 3);
    EXPECT_EQ(dialog.entityAt(chosen.first()->row()), trigger);
    QTest::mouseClick(dialog.ui->rbPoint, Qt::LeftButton);
    chosen = dialog.ui->lstEntities->selectedItems();
    ASSERT_EQ(chosen.size(), 3);
    EXPECT_EQ(chosen.first()->row(), 0);
    EXPECT_EQ(dialog.rememberedEntity(), dialog.entityAt(0));
}

TEST_F(EntityReportTest, MarkAndGoToSelectTheEntitiesAndCentreEveryView) {
    EntityRecord* door = entity("func_door");
    EntityRecord* shotgun = entity("weapon_shotgun");
    runReport([&](cEntityReportDialog& dialog) {
        clickRow(dialog, rowOf(dialog, door));
        clickRow(dialog, rowOf(dialog, shotgun), Qt::ControlModifier);
        QTest::mouseClick(dialog.ui->btnMark, Qt::LeftButton);
        EXPECT_TRUE(door->flags & EntityFlag::Selected);
        EXPECT_TRUE(shotgun->flags & EntityFlag::Selected);
        for (BrushRecord* b = door->firstBrush; b; b = b->next)
            EXPECT_TRUE(b->flags & RecordFlag::Selected);
        QTest::mouseClick(dialog.ui->btnGoto, Qt::LeftButton);
    });
    float middle[3];
    for (int i = 0; i < 3; ++i) {
        const float a = (door->mins[i] + door->maxs[i]) / 2, b = (shotgun->mins[i] + shotgun->maxs[i]) / 2;
        middle[i] = (std::min(a, b) + std::max(a, b)) / 2;
    }
    // Every view of the map's window is centred on the middle of the two centres.
    ASSERT_FALSE(child->views.isEmpty());
    for (cCanvas* view : child->views) {
        if (view->is3D()) {
            for (int k = 0; k < 3; ++k)
                EXPECT_NEAR(view->eye[k] + view->forward[k] * 64.0f, middle[k], 0.01f) << k;
        } else {
            EXPECT_NEAR(view->scrollX, view->zoom * middle[view->hAxis], 1.0f) << view->viewType;
            EXPECT_NEAR(-view->scrollY, view->zoom * middle[view->vAxis], 1.0f) << view->viewType;
        }
    }
}

} // namespace
