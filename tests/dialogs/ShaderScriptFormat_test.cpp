#include <gtest/gtest.h>

#include <cstring>
#include <strings.h>

#include "dialogs/editing/ShaderScriptFormat.h"

namespace {

// "cull" is a command, "none" its parameter; the canonical forms differ in case from the input.
int32_t lookup(const char* word, const char* firstWord, int32_t, char* out, int32_t size) {
    const char* canonical = nullptr;
    int32_t kind = 0;
    if (strcasecmp(word, "cull") == 0 && strcmp(word, firstWord) == 0) {
        canonical = "cull";
        kind = 1;
    } else if (strcasecmp(word, "none") == 0 && strcasecmp(firstWord, "cull") == 0) {
        canonical = "none";
        kind = 2;
    } else if (strcasecmp(word, "longname") == 0) {
        canonical = "longerName";
        kind = 1;
    }
    if (canonical && out) snprintf(out, size, "%s", canonical);
    return kind;
}

} // namespace

TEST(ShaderScriptFormat, Reformat) {
    struct Case {
        const char* name;
        QString text;
        int cursor;
        QString expected;
        int expectedCursor;
    } cases[] = {
        {"blanks fold, leading blanks go", QStringLiteral("a  \t b\n   c"), 5, QStringLiteral("a b\nc"), 2},
        {"empty lines and the final line feed go", QStringLiteral("a\n\n\nb\n"), 5, QStringLiteral("a\nb"),
         3},
        {"depth indents, a closing brace stands out", QStringLiteral("x\n{\ny\n{\nz\n}\n}"), 11,
         QStringLiteral("x\n{\n\ty\n\t{\n\t\tz\n\t}\n}"), 16},
        {"cursor at a closing brace stays before it", QStringLiteral("{\na\n}"), 4,
         QStringLiteral("{\n\ta\n}"), 5},
        {"keywords take their canonical form", QStringLiteral("{\nCULL NONE\n}"), 0,
         QStringLiteral("{\n\tcull none\n}"), 0},
        {"a longer canonical form moves the cursor on", QStringLiteral("longname x"), 10,
         QStringLiteral("longerName x"), 12},
        {"not the first word: no command", QStringLiteral("x CULL"), 6, QStringLiteral("x CULL"), 6},
        {"strings untouched", QStringLiteral("a \"  CULL {\n  \" b"), 0,
         QStringLiteral("a \"  CULL {\n  \" b"), 0},
        {"comments untouched", QStringLiteral("// CULL  {\n/* x\n\n  }  */ a"), 0,
         QStringLiteral("// CULL  {\n/* x\n\n  }  */ a"), 0},
        {"\"/*/\" does not close a comment", QStringLiteral("/*/ {\n*/x"), 0, QStringLiteral("/*/ {\n*/x"),
         0},
        {"text ending in a line comment", QStringLiteral("{\n// a  "), 8, QStringLiteral("{\n\t// a  "), 9},
        {"text ending in a block comment", QStringLiteral("a /* b\n"), 7, QStringLiteral("a /* b\n"), 7},
        {"text ending in a string", QStringLiteral("a \"b  "), 6, QStringLiteral("a \"b  "), 6},
        {"nothing at all", QString(), 0, QString(), 0},
    };
    for (const Case& c : cases) {
        int cursor = c.cursor;
        const QString result = ShaderScript_Reformat(c.text, &cursor, lookup);
        EXPECT_EQ(result, c.expected) << c.name;
        EXPECT_EQ(cursor, c.expectedCursor) << c.name;
        // A second pass changes nothing.
        int again = cursor;
        EXPECT_EQ(ShaderScript_Reformat(result, &again, lookup), result) << c.name;
        EXPECT_EQ(again, cursor) << c.name;
    }
}

TEST(ShaderScriptFormat, WithoutLookupWordsStayAsTyped) {
    int cursor = 0;
    EXPECT_EQ(ShaderScript_Reformat(QStringLiteral("{\n  CULL  NONE\n}"), &cursor, nullptr),
              QStringLiteral("{\n\tCULL NONE\n}"));
}
