// The Map menu's "go to brush" question: an entity number, a brush number within it and whether
// hidden brushes are skipped when counting.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class cGotoBrushDialog;
}

class cGotoBrushDialog : public QDialog {
    Q_OBJECT
public:
    explicit cGotoBrushDialog(QWidget* parent = nullptr);
    ~cGotoBrushDialog() override;

    int entityIndex() const;
    int brushIndex() const;
    bool visibleOnly() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::cGotoBrushDialog> ui;
};
