// The welcome dialog shown at start-up when no map was named, unless SkipAdvertisement is 2: a
// picture linking to the kit's store page. Its check box stores 2 (do not show again) or 0 into the
// setting, however the dialog is left.
#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

namespace Ui {
class cAdvertisementDialog;
}

class cAdvertisementDialog : public QDialog {
    Q_OBJECT
public:
    // skipSetting: the SkipAdvertisement value the box starts from and writes back to.
    cAdvertisementDialog(QWidget* parent, int32_t* skipSetting);
    ~cAdvertisementDialog() override;

    void accept() override;
    void reject() override;

public slots:
    void exec_on_accept();
    void exec_on_close();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void storeChoice();

    std::unique_ptr<Ui::cAdvertisementDialog> ui;
    int32_t* m_skipSetting = nullptr;
};
