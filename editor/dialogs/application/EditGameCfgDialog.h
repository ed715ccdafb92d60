// The list editor of the game configurations: adds, removes, renames and copies configurations of
// a manager (the options dialog's working copy). Titles are unique keys.
#pragma once

#include <QDialog>
#include <memory>

class GameConfigManager;
class Ui_cEditGameCfgDialog;

class cEditGameCfgDialog : public QDialog {
    Q_OBJECT
public:
    cEditGameCfgDialog(GameConfigManager* manager, QWidget* parent = nullptr);
    ~cEditGameCfgDialog() override;

    // The title of the configuration the current item names; empty with none.
    QString selectedTitle() const;
    // The wanted title, else the first free "title (n)" from 2 on.
    QString uniqueTitle(const QString& wanted) const;
    // Enables Remove, Rename and Copy exactly while the list has items.
    static void updateButtons(Ui_cEditGameCfgDialog* ui);

    std::unique_ptr<Ui_cEditGameCfgDialog> ui;

public slots:
    void exec_on_configAdd();
    void exec_on_configRemove();
    void exec_on_configRename();
    void exec_on_configCopy();

private:
    GameConfigManager* m_manager;
};

// The first free title of the form "wanted", "wanted (2)", "wanted (3)" ... by the test.
template <typename Taken> QString EditCfg_UniqueTitle(const QString& wanted, Taken taken) {
    if (!taken(wanted)) return wanted;
    for (int n = 2;; ++n) {
        const QString title = QStringLiteral("%1 (%2)").arg(wanted).arg(n);
        if (!taken(title)) return title;
    }
}
