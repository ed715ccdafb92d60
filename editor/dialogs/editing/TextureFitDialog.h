// "Fit Texture": how many times a texture repeats across a face or patch when it is fitted.
// Optionally offers to skip itself next time (the SkipFitDialog setting).
#pragma once

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QDoubleSpinBox;

class cTextureFitDialog : public QDialog {
    Q_OBJECT
public:
    cTextureFitDialog(float horizontal, float vertical, bool offerSkip, QWidget* parent);

    // Each count at least 0.1.
    void getCounts(float* horizontal, float* vertical) const;

public slots:
    void exec_on_accept();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QDoubleSpinBox* sbHorz;
    QDoubleSpinBox* sbVert;
    QCheckBox* cbNoShow;
    QDialogButtonBox* buttonBox;
    bool m_offerSkip;
};
