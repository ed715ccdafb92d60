#include <gtest/gtest.h>

#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "DialogAnswer.h"
#include "SampleWindowFixture.h"
#include "core/Prompt.h"
#include "dialogs/editing/EditGroupsDialog.h"
#include "document/MapSelection.h"
#include "document/MapWorld.h"
#include "mainwindow/QVisGroupList.h"
#include "document/VisGroup.h"
#include "map/MapBrush.h"
#include "ui_EditGroupsDialog.h"

namespace {

class EditGroupsTest : public cSampleWindowFixture {
protected:
    QStringList rowTexts(const cEditGroupsDialog& dialog) const {
        QStringList texts;
        for (int i = 0; i < dialog.ui->lstVisGroups->count(); ++i)
            texts.append(dialog.ui->lstVisGroups->item(i)->text());
        return texts;
    }
    VisGroup* currentSet(const cEditGroupsDialog& dialog) const {
        QListWidgetItem* row = dialog.ui->lstVisGroups->currentItem();
        return row ? Map_FindVisGroup(world, row->data(Qt::UserRole).toInt()) : nullptr;
    }
    // Real key presses carrying the characters.
    static void typeText(QWidget* box, const QString& text) {
        for (QChar ch : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(box, &press);
            QApplication::sendEvent(box, &release);
        }
    }
};

TEST_F(EditGroupsTest, AddedSetsAreNewGroupsWithTheirOwnIds) {
    cEditGroupsDialog dialog(0, world, window.get());
    QTest::mouseClick(dialog.ui->btnNew, Qt::LeftButton);
    VisGroup* first = currentSet(dialog);
    QTest::mouseClick(dialog.ui->btnNew, Qt::LeftButton);
    VisGroup* second = currentSet(dialog);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->id, second->id);
    EXPECT_EQ(rowTexts(dialog), QStringList({"new group", "new group"}));
    EXPECT_EQ(dialog.ui->txtName->text(), "new group");
}

TEST_F(EditGroupsTest, RenameFollowsEachKeystrokeStoresWindows1251AndMarksTheMap) {
    VisGroup* alpha = Map_CreateVisGroup(world, "alpha");
    VisGroup* beta = Map_CreateVisGroup(world, "beta");
    child->document->modified = false;
    Project_UpdateTitles(child->document);
    ASSERT_FALSE(child->windowTitle().endsWith('*'));
    cEditGroupsDialog dialog(beta->id, world, window.get());
    EXPECT_EQ(currentSet(dialog), beta);
    EXPECT_EQ(rowTexts(dialog), QStringList({"alpha", "beta"}));
    dialog.ui->txtName->selectAll();
    typeText(dialog.ui->txtName, "a");
    EXPECT_STREQ(beta->name, "a");
    EXPECT_EQ(rowTexts(dialog), QStringList({"a", "alpha"})); // re-sorted at once
    EXPECT_EQ(currentSet(dialog), beta);
    EXPECT_TRUE(child->document->modified);
    EXPECT_TRUE(child->windowTitle().endsWith('*'));
    // Cyrillic text is stored as Windows-1251 bytes.
    dialog.ui->txtName->selectAll();
    typeText(dialog.ui->txtName, QString::fromUtf8("Дом"));
    EXPECT_EQ(QByteArray(beta->name), QByteArray("\xC4\xEE\xEC"));
    EXPECT_EQ(rowTexts(dialog).last(), QString::fromUtf8("Дом"));
    // A character Windows-1251 cannot hold is refused as typed: shown and stored names agree.
    typeText(dialog.ui->txtName, QString::fromUtf8("中"));
    EXPECT_EQ(dialog.ui->txtName->text(), QString::fromUtf8("Дом"));
    EXPECT_EQ(QByteArray(beta->name), QByteArray("\xC4\xEE\xEC"));
    EXPECT_STREQ(alpha->name, "alpha");
}

TEST_F(EditGroupsTest, ColourIsChosenOrKeptWhenCancelled) {
    VisGroup* set = Map_CreateVisGroup(world, "walls");
    const uint8_t start[4] = {1, 2, 3, 4};
    std::copy(start, start + 4, set->color);
    child->document->modified = false;
    cEditGroupsDialog dialog(set->id, world, window.get());
    dialog.show();
    {
        QString title;
        cDialogAnswer answer(
            [&](QDialog* d) {
                title = d->windowTitle();
                auto* colours = qobject_cast<QColorDialog*>(d);
                ASSERT_NE(colours, nullptr);
                EXPECT_EQ(colours->currentColor().rgb(), QColor(1, 2, 3).rgb());
                colours->setCurrentColor(QColor(200, 100, 50));
            },
            false);
        QTest::mouseClick(dialog.ui->btnColor, Qt::LeftButton);
        EXPECT_TRUE(answer.answered);
        EXPECT_EQ(title, "Choose Color");
    }
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(set->color), 4), QByteArray("\x01\x02\x03\x04", 4));
    EXPECT_FALSE(child->document->modified);
    {
        cDialogAnswer answer(
            [](QDialog* d) { qobject_cast<QColorDialog*>(d)->setCurrentColor(QColor(200, 100, 50)); });
        QTest::mouseClick(dialog.ui->btnColor, Qt::LeftButton);
        EXPECT_TRUE(answer.answered);
    }
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(set->color), 4), QByteArray("\xC8\x64\x32\xFF", 4));
    EXPECT_EQ(dialog.ui->lblColor->palette().color(QPalette::Window), QColor(200, 100, 50));
    EXPECT_TRUE(child->document->modified);
}

TEST_F(EditGroupsTest, RemovalAsksOnlyForASetWithMembers) {
    VisGroup* empty = Map_CreateVisGroup(world, "empty");
    VisGroup* used = Map_CreateVisGroup(world, "used");
    const int32_t usedId = used->id;
    Map_SelectNone(world);
    Map_SelectObject(world, world->entities->firstBrush);
    Map_AssignSelectionToVisGroup(world, usedId);
    cPromptScript script;
    script.answerButton(PromptButton::No);
    script.answerButton(PromptButton::Yes);
    cEditGroupsDialog dialog(empty->id, world, window.get());
    QTest::mouseClick(dialog.ui->btnRemove, Qt::LeftButton);
    EXPECT_TRUE(script.asked.isEmpty());
    EXPECT_EQ(rowTexts(dialog), QStringList({"used"}));
    dialog.ui->lstVisGroups->setCurrentRow(0);
    QTest::mouseClick(dialog.ui->btnRemove, Qt::LeftButton);
    ASSERT_EQ(script.asked.size(), 1);
    EXPECT_EQ(script.asked[0].text, "Are you sure to remove visgroup \"used\" containing 1 objects?");
    EXPECT_EQ(script.asked[0].buttons, PromptButton::Yes | PromptButton::No);
    EXPECT_NE(Map_FindVisGroup(world, usedId), nullptr);
    QTest::mouseClick(dialog.ui->btnRemove, Qt::LeftButton);
    EXPECT_EQ(Map_FindVisGroup(world, usedId), nullptr);
    EXPECT_EQ(dialog.ui->lstVisGroups->count(), 0);
}

TEST_F(EditGroupsTest, TheDockOpensItOnItsCurrentSetAndRefillsAfterwards) {
    Map_CreateVisGroup(world, "a");
    VisGroup* b = Map_CreateVisGroup(world, "b");
    window->updateVisGroupList();
    QVisGroupList* list = window->visGroupsDock.list;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->data(Qt::UserRole).toInt() == b->id) list->setCurrentRow(i);
    QString preselected;
    cDialogAnswer answer([&](QDialog* d) {
        auto* dialog = qobject_cast<cEditGroupsDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        preselected = dialog->ui->txtName->text();
        typeText(dialog->ui->txtName, "x");
    });
    QTest::mouseClick(window->visGroupsDock.edit, Qt::LeftButton);
    EXPECT_TRUE(answer.answered);
    EXPECT_EQ(preselected, "b");
    EXPECT_STREQ(b->name, "bx");
    bool listed = false;
    for (int i = 0; i < list->count(); ++i)
        listed = listed || list->item(i)->text().startsWith("bx");
    EXPECT_TRUE(listed);
}

} // namespace
