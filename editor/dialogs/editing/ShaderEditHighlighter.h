// Colours an effect script by line: comments, strings, and the profile's command and parameter
// keywords. Block state: -1 normal, 0 inside a block comment, 2 inside a string.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class cShaderEditScript;

class cShaderEditSyntaxHighlighter : public QSyntaxHighlighter {
public:
    enum { FormatComment, FormatString, FormatCommand, FormatParameter, FormatCount };
    enum { StateNormal = -1, StateBlockComment = 0, StateString = 2 };

    explicit cShaderEditSyntaxHighlighter(cShaderEditScript* editor);

    // Takes the colours of the current scheme.
    void updateFormats();

protected:
    void highlightBlock(const QString& text) override;

private:
    cShaderEditScript* editor;
    QTextCharFormat formats[FormatCount];
};
