// Help → About: the version, credits, licence note and a donation invitation whose link and
// picture open the donation page.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class cAboutDialog;
}

class cAboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit cAboutDialog(QWidget* parent = nullptr);
    ~cAboutDialog() override;

    QString donationUrl;

public slots:
    void gotoDonationUrl(const QString& link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::cAboutDialog> ui;
};
