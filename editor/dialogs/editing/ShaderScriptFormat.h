// The word rule and the re-formatter of effect script text, shared by the script editor's
// block data, highlighter and re-format command.
#pragma once

#include <QString>

#include <cstdint>

// The profile's keyword look-up (1 command, 2 parameter, 0 none; the canonical form into out).
using ShaderKeywordLookup = int32_t (*)(const char* word, const char* firstWord, int32_t level, char* out,
                                        int32_t size);

inline bool ShaderScript_IsWordStart(QChar ch) {
    const char16_t c = ch.unicode();
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
}
inline bool ShaderScript_IsWordChar(QChar ch) {
    return ShaderScript_IsWordStart(ch) || (ch.unicode() >= '0' && ch.unicode() <= '9');
}

// Canonical form of word (or an empty string when it is no keyword); kind gets the look-up result.
QString ShaderScript_LookupKeyword(ShaderKeywordLookup lookup, const QString& word, const QString& firstWord,
                                   int depth, int* kind);

// Indents by brace depth, drops leading blanks, empty lines and the final line feed, folds runs
// of blanks and gives keywords their canonical spelling; strings and comments stay as they are.
// cursor follows the text.
QString ShaderScript_Reformat(const QString& text, int* cursor, ShaderKeywordLookup lookup);
