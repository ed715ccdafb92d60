// The effect editor's script text editor: line-number margin with error and build marks, brace
// depth per line, keyword colouring, completion and re-formatting through the profile's keyword
// functions (none without a profile).
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTextBlockUserData>
#include <QVector>

class QCompleter;
class QStringListModel;
class cShaderEditSyntaxHighlighter;
class cShaderEditScript;
struct ProfileFuncs;

struct ScriptError {
    int line = 0; // 1-based
    QString message;
};

// Per line: the brace depth after it and its first word.
struct BlockUserStruct : QTextBlockUserData {
    int depth = 0;
    int commandEnd = -1;
    QString command;
};

class cShaderEditLineNumbers : public QWidget {
public:
    explicit cShaderEditLineNumbers(cShaderEditScript* editor);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    cShaderEditScript* editor;
};

class cShaderEditScript : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit cShaderEditScript(QWidget* parent = nullptr);
    ~cShaderEditScript() override;

    int lineNumbersWidth() const;
    void paintLineNumbers(QPaintEvent* event);
    void clearExtraSelections();
    QString textUnderCursor() const;
    void reformat();
    // The highlighter's on-demand build: no colouring again from inside its pass.
    void rebuildBlockData(bool rehighlight);
    QCompleter* completerWidget() const { return completer; }

    cShaderEditLineNumbers* lineNumbers = nullptr;
    cShaderEditSyntaxHighlighter* highlighter = nullptr;
    QCompleter* completer = nullptr;
    QStringListModel* completionModel = nullptr;
    bool autoIndent = true;
    bool autoComplete = true;
    bool suggestionsValid = false;
    bool buildMarks = false;
    const ProfileFuncs* funcs = nullptr;
    QVector<ScriptError> errors;

public slots:
    void updateBlockData();
    void updateHighlights();
    void updateLineNumbersWidth(int);
    void updateLineNumbers(const QRect& rect, int dy);
    void insertCompletion(const QString& completion);
    void fillCompleteSuggestions();
    void invalidateCompleteSuggestions();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool autoIndentLine();
    QVector<int> staleHighlights;
    bool showErrorTip(QObject* watched, QEvent* event);
};
