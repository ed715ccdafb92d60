#include "mainwindow/QCustomAction.h"

#include <QCoreApplication>
#include <QMenu>

QCustomAction::QCustomAction(QMenu* menu) : QAction(menu) {
    if (menu) menu->addAction(this);
}

QCustomAction::QCustomAction(QObject* parent) : QAction(parent) {}

QCustomAction::QCustomAction(const QString& text, QObject* parent) : QAction(text, parent) {
    sourceText = text;
}

QString Action_Translate(const QString& source) {
    return QCoreApplication::translate("QCustomAction", source.toUtf8().constData());
}

QString Action_ToolTip(const QString& text, const QString& shortcut) {
    return shortcut.isEmpty() ? text : QStringLiteral("%1 [%2]").arg(text, shortcut);
}

void QCustomAction::setToolTipText(const QString& text, const QString& shortcut) {
    toolTipText = text;
    toolTipArg = shortcut;
    setToolTip(Action_ToolTip(Action_Translate(text), shortcut));
}

void QCustomAction::retranslate() {
    if (!sourceText.isEmpty()) setText(Action_Translate(sourceText));
    if (!statusText.isEmpty()) {
        QString tip = Action_Translate(statusText);
        if (!statusArg.isEmpty()) tip = tip.arg(statusArg);
        setStatusTip(tip);
    }
    if (!toolTipText.isEmpty()) setToolTip(Action_ToolTip(Action_Translate(toolTipText), toolTipArg));
}

QCustomSeparator::QCustomSeparator(QMenu* menu) : QCustomAction(menu) {
    setSeparator(true);
}
