// Edit > Paste Special's questions: how many copies, where they start, and the offset and rotation
// each copy adds to the previous one. The flag bits are the document's (document/PasteSpecial.h).
#pragma once

#include <QDialog>
#include <memory>

#include "document/PasteSpecial.h"

namespace Ui {
class cPasteSpecialDialog;
}

class cPasteSpecialDialog : public QDialog {
    Q_OBJECT
public:
    // mins and maxs: the clipboard's bounds, which the "<" buttons offer as the step.
    cPasteSpecialDialog(QWidget* parent, const float mins[3], const float maxs[3]);
    ~cPasteSpecialDialog() override;

    void setOptions(const PasteSpecialOptions& options);
    // The controls as they stand; offset and rotation as shown, whatever their groups say.
    PasteSpecialOptions options() const;

public slots:
    void exec_on_setOffsetX();
    void exec_on_setOffsetY();
    void exec_on_setOffsetZ();

private:
    void setOffset(int axis);

    std::unique_ptr<Ui::cPasteSpecialDialog> ui;
    float mins[3];
    float maxs[3];
};
