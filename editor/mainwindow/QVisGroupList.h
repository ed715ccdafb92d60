// The list of the VisGroups dock. Dropping one set's item onto another asks whether to combine
// them; the main window merges the sets on mergeItems.
#pragma once

#include <QListWidget>

class QVisGroupList : public QListWidget {
    Q_OBJECT

public:
    explicit QVisGroupList(QWidget* parent = nullptr);

signals:
    // The dragged item, then the item it was dropped on.
    void mergeItems(QListWidgetItem* dragged, QListWidgetItem* target);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QListWidgetItem* m_dragged = nullptr;
};
