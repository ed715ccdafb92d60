// A scrollable rich-text message with a Close button (the command list).
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class cMessageDialog;
}

class cMessageDialog : public QDialog {
    Q_OBJECT
public:
    cMessageDialog(const QString& title, const QString& html, QWidget* parent);

    ~cMessageDialog() override;

    std::unique_ptr<Ui::cMessageDialog> form;
};
