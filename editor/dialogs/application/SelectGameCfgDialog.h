// The game-configuration chooser: the enabled configurations of the live manager, one to pick for
// a map being created or opened.
#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

namespace Ui {
class cSelectGameCfgDialog;
}

class cSelectGameCfgDialog : public QDialog {
    Q_OBJECT
public:
    explicit cSelectGameCfgDialog(QWidget* parent = nullptr);
    ~cSelectGameCfgDialog() override;

    // The current item's title; empty when there is none.
    QString selectedTitle() const;

    std::unique_ptr<Ui::cSelectGameCfgDialog> form;

protected:
    void showEvent(QShowEvent* event) override;
};

// The main window's chooser for Prompt_ChooseGameConfig: the index of the chosen title, -1 when
// the dialog was abandoned.
int32_t App_ChooseGameConfig(const QStringList& titles);
