// The visgroup editor "Object Groups": adds, removes, renames and colours the object sets of one
// map. Each change goes to the map at once; there is no undo step and no cancel.
#pragma once

#include <QDialog>

class QListWidgetItem;
struct MapWorld;
struct VisGroup;

namespace Ui {
class cEditGroupsDialog;
} // namespace Ui

class cEditGroupsDialog : public QDialog {
    Q_OBJECT
public:
    // preselectId 0 preselects nothing.
    cEditGroupsDialog(int preselectId, MapWorld* world, QWidget* parent);
    ~cEditGroupsDialog() override;

    void retranslate();

    Ui::cEditGroupsDialog* ui;

public slots:
    void exec_on_addVisGroup();
    void exec_on_removeVisGroup();
    void exec_on_selectVisGroup(QListWidgetItem* row);
    void exec_on_pickVisGroupColor();
    void exec_on_changeVisGroupName();

private:
    void fill();
    // The set of the current row; null without a row or when the set is gone.
    VisGroup* currentSet() const;
    void showColor(const VisGroup* set);
    MapWorld* m_world;
};
