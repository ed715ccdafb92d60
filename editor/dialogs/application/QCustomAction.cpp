#include "dialogs/application/QCustomAction.h"

#include <QCoreApplication>
#include <QMenu>

QCustomAction::QCustomAction(QMenu* menu) : QAction(menu) {
    if (menu) menu->addAction(this);
}

QCustomAction::QCustomAction(QObject* parent) : QAction(parent) {
    if (auto* menu = qobject_cast<QMenu*>(parent)) menu->addAction(this);
}

QCustomAction::QCustomAction(const QString& text, QObject* parent) : QAction(text, parent) {
    sourceText = text;
    if (auto* menu = qobject_cast<QMenu*>(parent)) menu->addAction(this);
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
    updateToolTip();
}

void QCustomAction::updateStatusTip() {
    if (statusText.isEmpty())
        setStatusTip(QString());
    else if (!statusArg.isEmpty())
        setStatusTip(Action_Translate(statusText).arg(statusArg));
    else
        setStatusTip(Action_Translate(statusText));
}

void QCustomAction::updateToolTip() {
    setToolTip(toolTipText.isEmpty() ? QString() : Action_ToolTip(Action_Translate(toolTipText), toolTipArg));
}

void QCustomAction::retranslate() {
    if (!sourceText.isEmpty()) setText(Action_Translate(sourceText));
    updateStatusTip();
    updateToolTip();
}

QCustomSeparator::QCustomSeparator(QMenu* menu) : QCustomAction(menu) {
    setSeparator(true);
}
