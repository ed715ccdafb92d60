// The custom colours dialog: the colour table's rows by name, the chosen row's swatch, and the
// picker. Edits stay in a working list until Apply or OK copy it into the custom table and the
// colour table.
#pragma once

#include <QColor>
#include <QDialog>
#include <QList>
#include <memory>

class QAbstractButton;
class QListWidget;
class QListWidgetItem;
namespace Ui {
class cCustomColorsDialog;
}

class cCustomColorsDialog : public QDialog {
    Q_OBJECT
public:
    explicit cCustomColorsDialog(QWidget* parent);
    ~cCustomColorsDialog() override;

    // The caption of the picker.
    static QString chooseColorTitle();

    std::unique_ptr<Ui::cCustomColorsDialog> ui;
    // Indexed by colour-table row.
    QList<QColor> working;

public slots:
    void exec_on_colorList_itemClicked(QListWidgetItem* item);
    void exec_on_colorList_itemDblClicked(QListWidgetItem* item);
    void exec_on_colorChangeButton_click();
    void exec_on_buttonClick(QAbstractButton* button);

private:
    static int rowOf(const QListWidgetItem* item);
    void showRow(int row);
    void pick(int row);
    void apply();
};

// Clears the list and adds one item per colour-table row: display name, row index under
// Qt::UserRole.
void Color_FillListWidget(QListWidget* list);
