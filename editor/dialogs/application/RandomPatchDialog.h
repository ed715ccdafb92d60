// "Randomize Matrix": the dialog that asks for the parameters passed unchanged to the patch (one
// per run, so its choices stay from one use to the next).
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "map/PatchRecord.h"

namespace Ui {
class cRandomPatchDialog;
}

class cRandomPatchDialog : public QDialog {
    Q_OBJECT
public:
    explicit cRandomPatchDialog(QWidget* parent = nullptr);
    ~cRandomPatchDialog() override;

    // Fills options->flags; false when the choices make no sense (Fixed without an axis, or both
    // exterior and interior points locked). The caller fills the amount.
    bool getOptions(PatchRandomParams* options) const;
    float offset() const;

private:
    std::unique_ptr<Ui::cRandomPatchDialog> ui;
};
