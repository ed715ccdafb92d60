#include <gtest/gtest.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include "SampleWindowFixture.h"
#include "UrlCapture.h"
#include "core/Prompt.h"
#include "dialogs/editing/EntityHelpDialog.h"
#include "dialogs/editing/EntityListDialog.h"
#include "dialogs/editing/ObjectPropertiesDialog.h"
#include "document/MapWorld.h"
#include "document/UndoHistory.h"
#include "document/WorldDump.h"
#include "map/MapBrush.h"
#include "map/ObjectRecords.h"
#include "ui_EntityHelpDialog.h"
#include "ui_EntityListDialog.h"

namespace {

class EntityChooserTest : public cSampleWindowFixture {
protected:
    void SetUp() override {
        cSampleWindowFixture::SetUp();
        ASSERT_NE(child->document->gameConfig, nullptr);
        child->document->gameConfig->DefaultSolidClass = QStringLiteral("func_group");
    }
    EntityRecord* entity(const char* classname) const {
        for (EntityRecord* e = world->entities; e; e = e->next)
            if (qstrcmp(e->classname, classname) == 0) return e;
        return nullptr;
    }
    // Selects the brushes of the entities (and nothing else) and runs "Tie to entity".
    cEntityListDialog* tie(std::initializer_list<EntityRecord*> owners) {
        // The selection list is newest first: the first owner's brushes are selected last.
        Map_SelectNone(world);
        const std::vector<EntityRecord*> list(owners);
        for (auto e = list.rbegin(); e != list.rend(); ++e)
            for (BrushRecord* b = (*e)->firstBrush; b; b = b->next)
                Map_SelectObject(world, b);
        selectedDump = Map_DumpWorld(world);
        QAction* command = Window_Action(*window, "ToolsToEntity");
        EXPECT_NE(command, nullptr);
        if (command) command->trigger();
        return window->entityListDialog;
    }
    // The map as the command found it.
    QByteArray selectedDump;
    QListWidget* rows() const { return window->entityListDialog->ui->lstEntities; }
    void clickRow(int row, bool twice = false) {
        QListWidget* list = rows();
        const QPoint at = list->visualItemRect(list->item(row)).center();
        if (!twice) {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
            return;
        }
        const QPoint global = list->viewport()->mapToGlobal(at);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, global, Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &event);
        }
    }
    int levels() const {
        int n = 0;
        for (const UndoLevel* l = child->document->undo->undoChain; l; l = l->next)
            ++n;
        return n;
    }
};

TEST_F(EntityChooserTest, BrushesOfTwoEntitiesOpenTheChooserBesideTheProperties) {
    EXPECT_EQ(Window_Action(*window, "ToolsToEntity")->shortcut(), QKeySequence("Ctrl+T"));
    EntityRecord* door = entity("func_door");
    EntityRecord* trigger = entity("trigger_multiple");
    cEntityListDialog* chooser = tie({door, trigger});
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_EQ(chooser->windowTitle(), "Select the Destination");
    EXPECT_EQ(chooser->size(), QSize(281, 173));
    ASSERT_EQ(rows()->count(), 2);
    EXPECT_EQ(rows()->item(0)->text(), "func_door");
    EXPECT_EQ(rows()->item(1)->text(), "trigger_multiple");
    EXPECT_EQ(rows()->currentRow(), 0);
    cObjectPropertiesDialog* properties = window->objectPropertiesDialog;
    EXPECT_TRUE(properties->isVisible());
    EXPECT_EQ(chooser->x(), properties->frameGeometry().x() + properties->width());
    // A second add of a listed entity adds nothing.
    chooser->addEntity("func_door", door);
    EXPECT_EQ(rows()->count(), 2);
    // The properties dialog follows the chosen row.
    clickRow(1);
    EXPECT_EQ(properties->head(), trigger);
    EXPECT_EQ(properties->pageMode(), 3);
    clickRow(0);
    EXPECT_EQ(properties->head(), door);
    // Cancel: the dialog shows the selection again (brushes whose entities are not selected).
    QTest::mouseClick(chooser->ui->buttonBox->button(QDialogButtonBox::Cancel), Qt::LeftButton);
    EXPECT_FALSE(chooser->isVisible());
    EXPECT_EQ(properties->pageMode(), 2);
    EXPECT_EQ(Undo_NewestLevel(child->document->undo), nullptr);
}

TEST_F(EntityChooserTest, DoubleClickKeepsTheEntityAsOkDoes) {
    EntityRecord* door = entity("func_door");
    EntityRecord* trigger = entity("trigger_multiple");
    const int levelsBefore = levels();
    QList<QByteArray> results;
    for (bool doubleClick : {false, true}) {
        ASSERT_NE(tie({door, trigger}), nullptr);
        const QByteArray before = selectedDump;
        if (doubleClick) {
            clickRow(1, true);
        } else {
            clickRow(1);
            QTest::mouseClick(window->entityListDialog->ui->buttonBox->button(QDialogButtonBox::Ok),
                              Qt::LeftButton);
        }
        EXPECT_FALSE(window->entityListDialog->isVisible()) << doubleClick;
        EXPECT_EQ(entity("func_door"), nullptr) << doubleClick; // left without brushes
        EXPECT_EQ(levels(), levelsBefore + 1) << doubleClick;
        for (BrushRecord* b = world->selectedBrushes; b; b = b->selNext)
            EXPECT_EQ(b->entity, trigger);
        results.append(Map_DumpWorld(world));
        window->cmdEditUndo();
        EXPECT_EQ(Map_DumpWorld(world).toStdString(), before.toStdString()) << doubleClick;
        door = entity("func_door");
        trigger = entity("trigger_multiple");
        ASSERT_NE(door, nullptr);
    }
    EXPECT_EQ(results[0], results[1]);
}

// The chooser is modeless: entities may go while it is open. Rows are looked up on use, so a gone
// entity's row is dropped and no freed record is read (AddressSanitizer watches).
TEST_F(EntityChooserTest, AnEntityGoneWhileOpenDropsItsRow) {
    EntityRecord* trigger = entity("trigger_multiple");
    // A new entity for one world brush, one undo level.
    Map_SelectNone(world);
    Map_SelectObject(world, world->entities->firstBrush);
    window->tieClassName = QStringLiteral("func_group");
    window->tieToEntity(nullptr, false);
    EntityRecord* made = world->entitiesTail;
    ASSERT_NE(made, trigger);
    ASSERT_NE(made->firstBrush, nullptr);
    ASSERT_NE(tie({made, trigger}), nullptr);
    ASSERT_EQ(rows()->count(), 2);
    window->cmdEditUndo(); // frees the new entity
    clickRow(1);
    clickRow(0);
    EXPECT_EQ(rows()->count(), 1);
    EXPECT_EQ(rows()->item(0)->text(), "trigger_multiple");
    EXPECT_EQ(window->entityListDialog->entityAt(0), trigger);
    // The chooser goes with its document.
    cPromptScript script;
    script.answerButton(PromptButton::No);
    EXPECT_TRUE(window->closeDocument(child->document));
    EXPECT_EQ(window->entityListDialog, nullptr);
}

TEST_F(EntityChooserTest, OneOwningEntityAsksAndAPointEntityIsLeftOut) {
    EntityRecord* door = entity("func_door");
    EntityRecord* light = entity("light");
    cPromptScript script;
    script.answerButton(PromptButton::Yes); // deselect the point entity
    script.answerButton(PromptButton::Cancel);
    Map_SelectNone(world);
    Map_SelectObject(world, light);
    for (BrushRecord* b = door->firstBrush; b; b = b->next)
        Map_SelectObject(world, b);
    Window_Action(*window, "ToolsToEntity")->trigger();
    ASSERT_EQ(script.asked.size(), 2);
    EXPECT_TRUE(script.asked[0].text.startsWith("There are 1 point entities selected."));
    EXPECT_TRUE(script.asked[1].text.startsWith("You have selected an existing entity (a 'func_door')."));
    EXPECT_FALSE(light->flags & EntityFlag::Selected);
    EXPECT_EQ(window->entityListDialog, nullptr);
    EXPECT_TRUE(window->tieClassName.isEmpty());
    // Nothing selected, then no class to make.
    Map_SelectNone(world);
    Window_Action(*window, "ToolsToEntity")->trigger();
    ASSERT_EQ(script.asked.size(), 3);
    EXPECT_EQ(script.asked[2].text, "There are no eligible selected objects.");
    child->document->gameConfig->DefaultSolidClass.clear();
    Window_Action(*window, "ToolsToEntity")->trigger();
    ASSERT_EQ(script.asked.size(), 4);
    EXPECT_EQ(script.asked[3].text,
              "There are no solid entities in current game data!\nTieToEntity function is not available.");
}

TEST_F(EntityChooserTest, HelpWindowOpensLinksOutsideAndKeepsItsFirstPlace) {
    cUrlCapture urls;
    App_ShowEntityHelp(
        QStringLiteral("<h1>light</h1><p>See <a href=\"https://example.org/light\">the page</a>.</p>"));
    cEntityHelpDialog* help = window->entityHelpDialog;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->windowTitle(), "Entity Help");
    EXPECT_EQ(help->size(), QSize(361, 381));
    EXPECT_EQ(help->pos(),
              QPoint(window->geometry().left(), window->geometry().top() + 2 * window->menuBar()->height()));
    QTextBrowser* text = help->ui->txtHelp;
    QTest::qWaitForWindowExposed(help);
    QTextCursor link = text->document()->find(QStringLiteral("the page"));
    ASSERT_FALSE(link.isNull());
    link.setPosition(link.selectionStart() + 2);
    const QPoint at = text->cursorRect(link).center();
    QTest::mouseClick(text->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_EQ(urls.opened.size(), 1);
    EXPECT_EQ(urls.opened[0], QUrl("https://example.org/light"));
    EXPECT_TRUE(text->toPlainText().startsWith("light")); // the browser did not follow the link
    // Moved by the user, it stays there for the next text.
    help->move(help->pos() + QPoint(40, 30));
    const QPoint moved = help->pos();
    App_ShowEntityHelp(QStringLiteral("<h1>door</h1>"));
    EXPECT_EQ(help->pos(), moved);
    EXPECT_EQ(window->entityHelpDialog, help);
    EXPECT_TRUE(text->toPlainText().startsWith("door"));
}

} // namespace
