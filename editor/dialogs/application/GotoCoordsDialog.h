// The Map menu's "go to coordinates" question: a point typed as "x y z" (or "x, y, z").
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class cGotoCoordsDialog;
}

class cGotoCoordsDialog : public QDialog {
    Q_OBJECT
public:
    explicit cGotoCoordsDialog(QWidget* parent = nullptr);
    ~cGotoCoordsDialog() override;

    // The point typed: x = y = z = 0, then the parts in order (", " when that splits into three,
    // else single blanks; empty parts read 0; at most three). Returns how many parts it read, or -1
    // when a non-empty part is no finite number, which then is in *refused (may be null).
    int getCoords(float& x, float& y, float& z, QString* refused = nullptr) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::cGotoCoordsDialog> ui;
};
