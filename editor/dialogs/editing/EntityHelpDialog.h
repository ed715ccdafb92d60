// The help text of an entity class, beside the object-properties dialog. Links open with the
// desktop's handler, never inside the window.
#pragma once

#include <QDialog>

class QUrl;

namespace Ui {
class cEntityHelpDialog;
} // namespace Ui

class cEntityHelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit cEntityHelpDialog(QWidget* parent);
    ~cEntityHelpDialog() override;

    void setHelpText(const QString& html);
    void retranslate();

    Ui::cEntityHelpDialog* ui;

public slots:
    void exec_on_anchorClicked(const QUrl& url);
};
