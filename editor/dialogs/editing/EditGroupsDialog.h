// The visgroup editor "Object Groups": adds, removes and renames the object sets of one map. Each
// change goes to the map at once; there is no undo step and no cancel.
#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
struct MapWorld;

class cEditGroupsDialog : public QDialog {
    Q_OBJECT
public:
    // preselectId 0 preselects nothing.
    cEditGroupsDialog(int preselectId, MapWorld* world, QWidget* parent);

    QListWidget* lstVisGroups = nullptr;
    QLineEdit* txtName = nullptr;

public slots:
    void exec_on_addVisGroup();
    void exec_on_removeVisGroup();
    void exec_on_selectVisGroup(QListWidgetItem* row);
    void exec_on_changeVisGroupName();

private:
    void fill();
    MapWorld* m_world;
    bool m_loading = false;
};
