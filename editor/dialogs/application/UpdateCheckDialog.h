// The dialog that announces a newer version: both versions, and OK to open the download page. At
// start-up it also offers not to check again.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class cUpdateCheckDialog;
}

class cUpdateCheckDialog : public QDialog {
    Q_OBJECT
public:
    // `autoUpdateCheck` is the setting the start-up dialog's check box changes (null: none).
    cUpdateCheckDialog(bool shownAtStartup, const QString& version, QWidget* parent,
                       bool* autoUpdateCheck = nullptr);
    ~cUpdateCheckDialog() override;

    bool shownAtStartup = false;

public slots:
    void exec_on_accept();
    void exec_on_reject();

private:
    void storeChoice();

    std::unique_ptr<Ui::cUpdateCheckDialog> ui;
    bool* autoUpdateCheck = nullptr;
};
