#include "dialogs/application/SelectGameCfgDialog.h"

#include <QApplication>

#include "core/Prompt.h"
#include "gamedata/GameConfig.h"
#include "dialogs/application/DialogHost.h"
#include "ui_SelectGameCfgDialog.h"

cSelectGameCfgDialog::cSelectGameCfgDialog(QWidget* parent)
    : QDialog(parent), form(new Ui::cSelectGameCfgDialog) {
    form->setupUi(this);
    setFixedSize(size());
    setWindowFlags((windowFlags() & ~Qt::WindowContextHelpButtonHint) | Qt::MSWindowsFixedSizeDialogHint);
    if (const GameConfigManager* configs = GameCfg_Manager()) {
        for (const GameConfig* config : configs->configs)
            if (config->Enabled) form->lstGameCfg->addItem(config->Title);
    }
    if (form->lstGameCfg->count() > 0) form->lstGameCfg->setCurrentRow(0);
    connect(form->lstGameCfg, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

cSelectGameCfgDialog::~cSelectGameCfgDialog() = default;

QString cSelectGameCfgDialog::selectedTitle() const {
    const QListWidgetItem* item = form->lstGameCfg->currentItem();
    return item ? item->text() : QString();
}

void cSelectGameCfgDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    form->lstGameCfg->setFocus();
}

int32_t App_ChooseGameConfig(const QStringList& titles) {
    // Tools without widgets keep the plain prompt.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return Prompt_Choose(nullptr, QStringLiteral("Select game configuration:"), titles);
    cSelectGameCfgDialog dialog(Dialog_Window());
    if (dialog.exec() != QDialog::Accepted) return -1;
    return int32_t(titles.indexOf(dialog.selectedTitle()));
}
