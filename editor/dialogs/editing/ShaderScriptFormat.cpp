#include "dialogs/editing/ShaderScriptFormat.h"

#include <QByteArray>

namespace {
// Canonical forms of keywords fit this buffer.
constexpr int kKeywordBufferSize = 2048;
} // namespace

QString ShaderScript_LookupKeyword(ShaderKeywordLookup lookup, const QString& word, const QString& firstWord,
                                   int depth, int* kind) {
    *kind = 0;
    if (!lookup) return QString();
    char buffer[kKeywordBufferSize] = {};
    const QByteArray w = word.toLocal8Bit();
    const QByteArray f = firstWord.toLocal8Bit();
    *kind = lookup(w.constData(), f.constData(), depth, buffer, kKeywordBufferSize);
    buffer[kKeywordBufferSize - 1] = '\0';
    if (*kind != 1 && *kind != 2) {
        *kind = 0;
        return QString();
    }
    return QString::fromLocal8Bit(buffer);
}

QString ShaderScript_Reformat(const QString& text, int* cursor, ShaderKeywordLookup lookup) {
    enum class State { Normal, Word, String, LineComment, BlockComment };
    const int n = static_cast<int>(text.size());
    const int source = cursor ? *cursor : -1;
    int c = source;
    QString out;
    out.reserve(n + n / 4);
    State state = State::Normal;
    int depth = 0;
    QChar p; // previous source character; none at the start
    bool firstWordFlag = true;
    QString firstWord;
    int wordStart = 0;    // index of the word's first character in out
    int commentStart = 0; // index of "/*" in text, so "/*/" does not close it
    for (int i = 0; i <= n; ++i) {
        const bool end = i == n;
        const QChar ch = end ? QChar() : text.at(i);
        const bool before = i < source;
        if (state == State::String) {
            if (end) break;
            out += ch;
            if (ch == u'"') state = State::Normal;
            if (ch == u'\n') firstWordFlag = true;
            p = ch;
            continue;
        }
        if (state == State::BlockComment) {
            if (end) break;
            out += ch;
            if (ch == u'/' && i >= commentStart + 3 && text.at(i - 1) == u'*') state = State::Normal;
            p = ch;
            continue;
        }
        if (state == State::LineComment) {
            if (end) break;
            if (ch != u'\n') {
                out += ch;
                p = ch;
                continue;
            }
            state = State::Normal;
        }
        if (state == State::Word) {
            if (!end && ShaderScript_IsWordChar(ch)) {
                out += ch;
                p = ch;
                continue;
            }
            const QString word = out.mid(wordStart);
            if (firstWordFlag) {
                firstWord = word;
                firstWordFlag = false;
            }
            int kind = 0;
            const QString canonical = ShaderScript_LookupKeyword(lookup, word, firstWord, depth, &kind);
            if (kind) {
                out.replace(wordStart, word.size(), canonical);
                if (before) c += static_cast<int>(canonical.size() - word.size());
            }
            state = State::Normal;
        }
        if (end) break;
        // Normal state.
        const QChar next = i + 1 < n ? text.at(i + 1) : QChar();
        if (ch == u'/' && next == u'/') {
            state = State::LineComment;
            firstWordFlag = false;
        } else if (ch == u'/' && next == u'*') {
            state = State::BlockComment;
            commentStart = i;
        } else if (ch == u'"') {
            state = State::String;
            firstWordFlag = false;
        } else if (ShaderScript_IsWordStart(ch)) {
            state = State::Word;
            wordStart = static_cast<int>(out.size());
        } else if (ch == u'{') {
            ++depth;
        } else if (ch == u'}') {
            --depth;
        }
        if (ch == u' ' || ch == u'\t') {
            if (p.unicode() > u' ') {
                out += u' ';
            } else if (before) {
                --c;
            }
        } else if (ch == u'\n') {
            firstWordFlag = true;
            if (p != u'\n' && p != u'\r' && i != n - 1) {
                out += ch;
                if (depth > 0) {
                    out += QString(depth, u'\t');
                    if (before) c += depth;
                }
            } else if (before) {
                --c;
            }
        } else if (ch == u'\r') {
            if (p != u'\n') {
                out += ch;
            } else if (before) {
                --c;
            }
        } else {
            // The tab just before a closing brace sits before the cursor when the cursor is at
            // the brace.
            if (ch == u'}' && out.endsWith(u'\t')) {
                out.chop(1);
                if (i <= source) --c;
            }
            out += ch;
        }
        p = ch;
    }
    if (cursor) *cursor = qBound(0, c, static_cast<int>(out.size()));
    return out;
}
