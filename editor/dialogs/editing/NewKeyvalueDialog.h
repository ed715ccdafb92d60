// The small modal dialog the properties window's "add" runs for the key and value of a new pair.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

namespace Ui {
class cNewKeyvalueDialog;
} // namespace Ui

// Asks for the key and value of a new keyvalue.
class cNewKeyvalueDialog : public QDialog {
    Q_OBJECT
public:
    explicit cNewKeyvalueDialog(QWidget* parent);
    ~cNewKeyvalueDialog() override;

    // Proposes "newkey<counter>" and "value"; the counter goes up.
    void prepare();
    QString key() const;
    QString value() const;
    void retranslate();

    int32_t counter = 1;
    Ui::cNewKeyvalueDialog* ui;

public slots:
    void exec_on_checkInput();
    void exec_on_limitValue();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The longest value the new-keyvalue dialog takes.
inline constexpr int kNewValueLimit = 512;
