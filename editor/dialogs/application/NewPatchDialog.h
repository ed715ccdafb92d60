// The plane primitive's question for the patch size: odd widths and heights from 3 to 31.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class cNewPatchDialog;
}

class cNewPatchDialog : public QDialog {
    Q_OBJECT
public:
    explicit cNewPatchDialog(QWidget* parent = nullptr);
    ~cNewPatchDialog() override;

    // The values of "sbHorz" (columns) and "sbVert" (rows).
    int patchWidth() const;
    int patchHeight() const;

public slots:
    void exec_on_changeWidth(int value);
    void exec_on_changeHeight(int value);

private:
    std::unique_ptr<Ui::cNewPatchDialog> ui;
};
