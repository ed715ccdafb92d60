// The map check: lists the problems a run of the check table found in one map, describes the
// current one, takes the user to its object and repairs one, all of one kind or all of them. Every
// repair of one dialog's life goes into one undo step, "Fix Problems", ended when it closes.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "document/MapCheck.h"

class MapDocument;
class QListWidgetItem;

namespace Ui {
class cMapCheckDialog;
} // namespace Ui

class cMapCheckDialog : public QDialog {
    Q_OBJECT
public:
    cMapCheckDialog(MapDocument* document, QWidget* parent);
    ~cMapCheckDialog() override;

    // Fills the problem list (before the dialog is shown).
    void runChecks();
    // Rebuilds the list from the problems; the current row stays when it still exists, else row 0.
    void refreshList();

    const std::vector<std::unique_ptr<MapProblem>>& problems() const { return problemList; }

    Ui::cMapCheckDialog* ui;
    MapDocument* document;
    std::vector<std::unique_ptr<MapProblem>> problemList;
    bool undoOpened = false;
    int32_t current = 0; // -1: no row current
    // The command overrode the cursor for the run; the first show restores it.
    bool restoreCursorOnShow = false;

public slots:
    void exec_on_errorList_itemClicked(QListWidgetItem* item);
    void exec_on_gotoError();
    void exec_on_fixError();
    void exec_on_fixErrors();
    void exec_on_fixAllErrors();
    // Close, Escape and the window's close button all end here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    MapProblem* currentProblem() const;
    // The shared frame of the three fix slots: the undo step, the repairs of the problems the
    // filter takes (in list order), then the views, the list and the modified mark.
    void repair(const std::function<bool(const MapProblem&)>& take);
    // Ends the undo step this dialog opened (once).
    void finishUndoStep();

    cMapProblemIndex m_index;
};
