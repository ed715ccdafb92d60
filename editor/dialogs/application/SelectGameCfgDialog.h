// The game-configuration chooser: a modal list of the enabled configurations. The window comes
// with the application dialogs; until then the choice goes through the prompt interface.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

class cSelectGameCfgDialog {
public:
    explicit cSelectGameCfgDialog(const QStringList& enabledTitles, QWidget* parent = nullptr)
        : titles(enabledTitles), parent(parent) {}

    // 0 when rejected, 1 when a configuration was chosen.
    int exec();
    // The chosen title; empty when none.
    QString selectedTitle() const { return chosen; }

private:
    QStringList titles;
    QWidget* parent;
    QString chosen;
};
