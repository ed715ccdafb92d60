#include "dialogs/editing/ShaderEditHighlighter.h"

#include "dialogs/editing/ShaderEditScript.h"
#include "dialogs/editing/ShaderScriptFormat.h"
#include "gamedata/PluginInterface.h"
#include "render/ColorScheme.h"

cShaderEditSyntaxHighlighter::cShaderEditSyntaxHighlighter(cShaderEditScript* editor)
    : QSyntaxHighlighter(editor->document()), editor(editor) {
    updateFormats();
}

void cShaderEditSyntaxHighlighter::updateFormats() {
    static constexpr int32_t kKeys[FormatCount] = {COLOR_SHADEREDIT_COMMENT, COLOR_SHADEREDIT_STRING,
                                                   COLOR_SHADEREDIT_COMMAND, COLOR_SHADEREDIT_PARAMETER};
    for (int i = 0; i < FormatCount; ++i) {
        formats[i] = QTextCharFormat();
        formats[i].setForeground(Color_GetQColor(kKeys[i]));
    }
    formats[FormatCommand].setFontWeight(QFont::Bold);
    rehighlight();
}

void cShaderEditSyntaxHighlighter::highlightBlock(const QString& text) {
    int state = previousBlockState();
    if (state != StateBlockComment && state != StateString) state = StateNormal;
    auto* data = static_cast<BlockUserStruct*>(currentBlockUserData());
    if (!data) {
        editor->rebuildBlockData(false);
        data = static_cast<BlockUserStruct*>(currentBlockUserData());
    }
    const int depth = data ? data->depth : 0;
    if (data) {
        data->colouredDepth = depth;
        data->colouredCommand = data->command;
    }
    const ShaderKeywordLookup lookup = editor->funcs ? editor->funcs->LookupShaderKeyword : nullptr;
    QString firstWord;
    bool firstWordOpen = true; // until a word or a string is scanned
    const int n = static_cast<int>(text.size());
    int start = 0; // a comment or string carried from the line before starts at 0
    bool inWord = false;
    auto finishWord = [&](int from, int to) {
        const QString word = text.mid(from, to - from);
        if (firstWordOpen) {
            firstWord = word;
            firstWordOpen = false;
        }
        if (!lookup) return;
        const QByteArray w = word.toLocal8Bit();
        const QByteArray f = firstWord.toLocal8Bit();
        const int kind = lookup(w.constData(), f.constData(), depth, nullptr, 0);
        if (kind == 1) setFormat(from, to - from, formats[FormatCommand]);
        if (kind == 2) setFormat(from, to - from, formats[FormatParameter]);
    };
    int i = 0;
    while (i < n) {
        const QChar ch = text.at(i);
        if (state == StateBlockComment) {
            if (ch == u'*' && i + 1 < n && text.at(i + 1) == u'/') {
                setFormat(start, i + 2 - start, formats[FormatComment]);
                state = StateNormal;
                i += 2;
            } else {
                ++i;
            }
            continue;
        }
        if (state == StateString) {
            if (ch == u'"') {
                setFormat(start, i + 1 - start, formats[FormatString]);
                state = StateNormal;
            }
            ++i;
            continue;
        }
        if (inWord) {
            if (ShaderScript_IsWordChar(ch)) {
                ++i;
                continue;
            }
            finishWord(start, i);
            inWord = false; // the ending character is scanned again
        }
        const QChar next = i + 1 < n ? text.at(i + 1) : QChar();
        if (ch == u'/' && next == u'/') {
            setFormat(i, n - i, formats[FormatComment]);
            i = n;
            break;
        }
        if (ch == u'/' && next == u'*') {
            state = StateBlockComment;
            start = i;
            i += 2;
        } else if (ch == u'"') {
            state = StateString;
            start = i;
            firstWordOpen = false;
            ++i;
        } else if (ShaderScript_IsWordStart(ch)) {
            inWord = true;
            start = i;
            ++i;
        } else {
            ++i;
        }
    }
    if (inWord) finishWord(start, n);
    if (state == StateBlockComment) setFormat(start, n - start, formats[FormatComment]);
    setCurrentBlockState(state);
}
