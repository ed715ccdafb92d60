#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "mainwindow/QVisGroupList.h"

namespace {

// A list of three sets in a parent window. Drags are delivered as the window system delivers
// them: enter, moves, drop, all to the viewport. The merge question is answered by a timer that
// presses the chosen button of the modal box once it is shown.
class QVisGroupListTest : public ::testing::Test {
protected:
    QVisGroupListTest() {
        list = new QVisGroupList(&parent);
        for (const char* name : {"walls", "lights", "doors"})
            list->addItem(QString::fromLatin1(name));
        parent.resize(200, 200);
        list->resize(200, 200);
        parent.show();
        QObject::connect(list, &QVisGroupList::mergeItems,
                         [this](QListWidgetItem* from, QListWidgetItem* to) {
                             merges.push_back({from, to});
                         });
    }

    QPoint centreOf(int row) const { return list->visualItemRect(list->item(row)).center(); }

    void dragFromTo(int fromRow, int toRow) {
        list->setCurrentRow(fromRow);
        QDragEnterEvent enter(centreOf(fromRow), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDragMoveEvent move(centreOf(toRow), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                            Qt::NoModifier);
        move.setAccepted(false);
        QApplication::sendEvent(list->viewport(), &move);
        EXPECT_EQ(move.isAccepted(), fromRow != toRow);
        drop = std::make_unique<QDropEvent>(QPointF(centreOf(toRow)), Qt::CopyAction | Qt::MoveAction, &mime,
                                            Qt::LeftButton, Qt::NoModifier);
        drop->setAccepted(false);
        QApplication::sendEvent(list->viewport(), drop.get());
    }

    // Answers the next question box with the button; records its title and text.
    void answerWith(QMessageBox::StandardButton button) {
        auto* timer = new QTimer(&parent);
        QObject::connect(timer, &QTimer::timeout, [this, timer, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            timer->stop();
            askedTitle = box->windowTitle();
            askedText = box->text();
            askedParent = box->parentWidget();
            box->button(button)->click();
        });
        timer->start(10);
    }

    QWidget parent;
    QVisGroupList* list = nullptr;
    QMimeData mime;
    std::unique_ptr<QDropEvent> drop;
    std::vector<std::pair<QListWidgetItem*, QListWidgetItem*>> merges;
    QString askedTitle, askedText;
    QPointer<QWidget> askedParent;
};

TEST_F(QVisGroupListTest, YesMergesTheDraggedItemIntoTheTarget) {
    answerWith(QMessageBox::Yes);
    dragFromTo(0, 2);
    EXPECT_EQ(askedTitle, QStringLiteral("Z.A.R.V."));
    EXPECT_EQ(askedText, QStringLiteral("Combine groups?"));
    EXPECT_EQ(askedParent, &parent);
    ASSERT_EQ(merges.size(), 1u);
    EXPECT_EQ(merges[0].first, list->item(0));
    EXPECT_EQ(merges[0].second, list->item(2));
    EXPECT_TRUE(drop->isAccepted());
    // Accepted as a copy, so the view never removes the dragged row itself.
    EXPECT_EQ(drop->dropAction(), Qt::CopyAction);
    EXPECT_EQ(list->count(), 3);
}

TEST_F(QVisGroupListTest, NoKeepsBothAndMakesTheDraggedItemCurrentAgain) {
    answerWith(QMessageBox::No);
    dragFromTo(1, 0);
    EXPECT_EQ(askedText, QStringLiteral("Combine groups?"));
    EXPECT_TRUE(merges.empty());
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->count(), 3);
}

TEST_F(QVisGroupListTest, DroppingAnItemOntoItselfAsksNothing) {
    answerWith(QMessageBox::Yes); // would answer a question that must not come
    dragFromTo(2, 2);
    EXPECT_TRUE(askedText.isEmpty());
    EXPECT_TRUE(merges.empty());
    EXPECT_EQ(list->currentRow(), 2);
}

TEST_F(QVisGroupListTest, ADropWithoutAnEnterAsksNothing) {
    answerWith(QMessageBox::Yes);
    list->setCurrentRow(0);
    QDropEvent lone(QPointF(centreOf(1)), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &lone);
    EXPECT_TRUE(askedText.isEmpty());
    EXPECT_TRUE(merges.empty());
    EXPECT_EQ(list->currentRow(), 0);
}

} // namespace
