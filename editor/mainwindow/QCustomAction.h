// The main window's actions: a QAction that keeps its untranslated texts, so that a language
// switch can translate them again, and the flags the action-state refresh reads.
#pragma once

#include <QAction>
#include <QString>

class QMenu;

class QCustomAction : public QAction {
    Q_OBJECT
public:
    // With a menu as parent the action adds itself to it.
    explicit QCustomAction(QMenu* menu);
    explicit QCustomAction(QObject* parent);
    QCustomAction(const QString& text, QObject* parent);

    // Text, status tip and tool tip from the untranslated texts (context "QCustomAction").
    void retranslate();
    // Sets the untranslated tool-tip text and the shortcut shown with it ("%1 [%2]").
    void setToolTipText(const QString& text, const QString& shortcut);

    bool hideWithoutMap = false;
    bool disableWithoutMap = false;
    bool hiddenFromCommandList = false;
    int32_t tag = 0;   // tool ids (bit n) in which the action is disabled
    int32_t index = 0; // plugin action, colour scheme or tool id its slot reads
    QString data;      // web address or the object name of the widget it toggles
    QString sourceText;
    QString statusText;
    QString statusArg;
    QString toolTipText;
    QString toolTipArg;
};

class QCustomSeparator : public QCustomAction {
    Q_OBJECT
public:
    explicit QCustomSeparator(QMenu* menu);
};

// The translation of a table text in the actions' context.
QString Action_Translate(const QString& source);
// "%1 [%2]" with the shortcut, or the text alone without one.
QString Action_ToolTip(const QString& text, const QString& shortcut);
