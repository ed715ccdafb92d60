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
class QTextBlock;
class QTimer;
class cShaderEditSyntaxHighlighter;
class cShaderEditScript;
struct ProfileFuncs;

struct ScriptError {
    int line = 0; // 1-based
    QString message;
};

// Per line: the brace depth after it and its first word, and the depth and word it was last
// coloured with (the keyword look-up depends on both).
struct BlockUserStruct : QTextBlockUserData {
    int depth = 0;
    int commandEnd = -1;
    QString command;
    int colouredDepth = 0;
    QString colouredCommand;
    bool stale() const { return colouredDepth != depth || colouredCommand != command; }
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
    // Lines out of view wait to be coloured again after a change of depth; they are coloured in
    // slices while events run.
    bool recolourPending() const;

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
    // Colours the stale lines among count lines from block on; returns the block after them.
    QTextBlock recolour(QTextBlock block, int count);
    void recolourSlice();
    QTimer* recolourTimer = nullptr;
    int recolourFrom = 0; // no stale line above it
    bool recolouring = false;
    bool showErrorTip(QObject* watched, QEvent* event);
};
