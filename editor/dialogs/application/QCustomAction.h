// The program's actions (menus, tool bars, dialogs): a QAction that keeps its untranslated texts,
// so that a language switch can translate them again, and the flags the action-state refresh reads.
#pragma once

#include <QAction>
#include <QString>

class QMenu;

// tr() translates in the context "QCustomAction", which every table text is looked up in.
class QCustomAction : public QAction {
    Q_OBJECT
public:
    // With a menu as parent the action adds itself to it.
    explicit QCustomAction(QMenu* menu);
    explicit QCustomAction(QObject* parent);
    QCustomAction(const QString& text, QObject* parent);

    // The text again from a non-empty sourceText (a text others set later stays), then both tips.
    void retranslate();
    // The status tip from statusText and statusArg: empty without a text, else the translation
    // with "%1" replaced by the argument when there is one.
    void updateStatusTip();
    // The tool tip from toolTipText and toolTipArg (the shortcut): empty without a text, else the
    // translation followed by " [shortcut]" when there is one.
    void updateToolTip();
    // Sets the untranslated tool-tip text and the shortcut shown with it, then the tool tip.
    void setToolTipText(const QString& text, const QString& shortcut);

    bool hideWithoutMap = false;
    bool disableWithoutMap = false;
    bool hiddenFromCommandList = false;
    int32_t tag = 0;          // tool ids (bit n) in which the action is disabled
    int32_t index = 0;        // plugin action, colour scheme or tool id its slot reads
    int32_t toolbarOrder = 0; // the table row's tool-bar position
    QString data;             // web address or the object name of the widget it toggles
    QString sourceText;
    QString statusText;
    QString statusArg; // put in place of "%1" in the translated status text
    QString toolTipText;
    QString toolTipArg; // the shortcut in native text
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
