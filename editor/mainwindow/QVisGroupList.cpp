#include "mainwindow/QVisGroupList.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMessageBox>

QVisGroupList::QVisGroupList(QWidget* parent) : QListWidget(parent) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    // A move would make the item view remove the dragged row once the drop is done.
    setDefaultDropAction(Qt::CopyAction);
}

void QVisGroupList::dragEnterEvent(QDragEnterEvent* event) {
    m_dragged = currentItem();
    event->acceptProposedAction();
}

void QVisGroupList::dragMoveEvent(QDragMoveEvent* event) {
    QListWidgetItem* under = itemAt(event->position().toPoint());
    if (!under || under == currentItem()) return;
    setCurrentItem(under);
    event->acceptProposedAction();
}

void QVisGroupList::dropEvent(QDropEvent* event) {
    QListWidgetItem* dragged = m_dragged;
    // Forgotten on every drop, so a later drag never sees an item of an earlier one.
    m_dragged = nullptr;
    if (!dragged || currentItem() == dragged) return;
    const QMessageBox::StandardButton answer =
        QMessageBox::question(parentWidget(), QStringLiteral("Z.A.R.V."), tr("Combine groups?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer == QMessageBox::Yes)
        emit mergeItems(dragged, currentItem());
    else
        setCurrentItem(dragged);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
