// The welcome dialog shown at start-up when no map was named, unless SkipAdvertisement is 2. Its
// check box stores 2 (do not show again) or 0 into the setting, however the dialog is left.
#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;

class cAdvertisementDialog : public QDialog {
public:
    // skipSetting: the SkipAdvertisement value the box starts from and writes back to.
    cAdvertisementDialog(QWidget* parent, int32_t* skipSetting);

    void accept() override;
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void storeChoice();

    QCheckBox* m_noShow = nullptr;
    int32_t* m_skipSetting = nullptr;
};
