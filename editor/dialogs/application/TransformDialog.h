// The Tools menu's exact transform: rotate by three angles, scale by three factors or move by an
// offset, turned into one matrix for the selection.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class cTransformDialog;
}

class cTransformDialog : public QDialog {
    Q_OBJECT
public:
    explicit cTransformDialog(QWidget* parent = nullptr);
    ~cTransformDialog() override;

    // The row-major 4×4 of the chosen mode: rotation of the angles (Z, Y, X) with the move as its
    // translation, the first three diagonal elements scaled by the factors (those ≤ 0 count 1).
    const float* getMatrix();
    bool rotates() const;
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::cTransformDialog> ui;
    float matrix[16] = {};
};
