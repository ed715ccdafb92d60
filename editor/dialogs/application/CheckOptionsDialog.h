// The options box plugins open: one check box per named option, answered as a bit mask.
#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

class QCheckBox;

namespace Ui {
class cCheckOptionsDialog;
}

class cCheckOptionsDialog : public QDialog {
    Q_OBJECT
public:
    cCheckOptionsDialog(const QString& title, const QString& text, const QStringList& options, int mask,
                        QWidget* parent = nullptr);

    ~cCheckOptionsDialog() override;

    std::unique_ptr<Ui::cCheckOptionsDialog> form;
    int rejected = 0;
    int optionCount = 0;
    std::unique_ptr<QCheckBox*[]> checkBoxes;

    // Bit i mod 32 for every ticked option i.
    int checkedMask() const;

public slots:
    void exec_on_reject();
    void exec_on_accept();
};
