// "Fit Texture": how many times a texture repeats across a face or patch when it is fitted.
// Optionally offers to skip itself next time (the SkipFitDialog setting).
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class cTextureFitDialog;
}

class cTextureFitDialog : public QDialog {
    Q_OBJECT
public:
    // Without the check box the buttons move up and the dialog is this much shorter.
    static constexpr int kNoCheckBoxLift = 30;

    cTextureFitDialog(float horizontal, float vertical, bool offerSkip, QWidget* parent);
    ~cTextureFitDialog() override;

    // Each count at least 0.1.
    void getCounts(float* horizontal, float* vertical) const;

public slots:
    void exec_on_accept();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::cTextureFitDialog> ui;
    bool m_offerSkip;
};
