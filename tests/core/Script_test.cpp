// The global script tokenizer: token rules, lines and comments, quoting, blocks, include stack,
// error reporting and number parsing under a comma locale.
#include "core/Script.h"
#include "HeadlessLog.h"
#include "MemoryArchive.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <clocale>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "core/System.h"
#include "gamedata/ArchiveRegistry.h"
#include "gamedata/GameConfig.h"
#include "document/GameDataServices.h"

namespace {

using Tokens = std::vector<std::string>;

class ScriptTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override { Script_Close(); }

    // Starts a memory script on text that lives as long as the test.
    void load(const std::string& text, int32_t flags = 0) {
        m_text = text;
        ASSERT_TRUE(Script_LoadMemory(m_text.data(), uint32_t(m_text.size()), flags));
    }

    // Every token up to the end of the script.
    Tokens readAll() {
        Tokens out;
        while (Script_GetToken(true))
            out.push_back(Script_Token());
        return out;
    }

    std::string writeFile(const QString& name, const std::string& content) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content.data(), qint64(content.size()));
        return QFile::encodeName(path).toStdString();
    }

    // Console lines (HTML as appended) holding the plain message.
    int logged(const QString& message) const {
        const QString html = message.toHtmlEscaped();
        int n = 0;
        for (const QString& line : m_console)
            n += line.contains(html);
        return n;
    }

    QStringList m_console;
    cHeadlessLog m_log{[this](const QString& line) { m_console << line; }};
    cGameDataServices m_gameData;
    QTemporaryDir m_dir;
    std::string m_text;
};

struct TokenCase {
    const char* text;
    int32_t flags;
    Tokens expected;
};

TEST_F(ScriptTest, TokenRules) {
    const TokenCase cases[] = {
        {"key=value", 0, {"key", "=", "value"}},
        {"key=value", SCRIPT_FLAG_NO_SINGLE_CHARS, {"key=value"}},
        {"@name", 0, {"@name"}},
        {"@name", SCRIPT_FLAG_AT_TOKEN, {"@", "name"}},
        {"a+b", 0, {"a+b"}},
        {"a+b", SCRIPT_FLAG_PLUS_TOKEN, {"a", "+", "b"}},
        {"a+b@c", SCRIPT_FLAG_AT_TOKEN | SCRIPT_FLAG_PLUS_TOKEN, {"a", "+", "b", "@", "c"}},
        {"(1,2)[x]{y}'q'a:b;c",
         0,
         {"(", "1", ",", "2", ")", "[", "x", "]", "{", "y", "}", "'", "q", "'", "a", ":", "b", ";", "c"}},
        {"\"quoted text\" \"\" word", 0, {"quoted text", "", "word"}},
        {"\"a=b{\"", 0, {"a=b{"}},
        {"\"two\nlines\"", 0, {"two\nlines"}},
        {"\"cut off", 0, {"cut off"}},
        {"a // comment\nb", 0, {"a", "b"}},
        {"a /* one\ntwo */ b", 0, {"a", "b"}},
        {"a /* never closed", 0, {"a"}},
        {"/path/file a/b /", 0, {"/path/file", "a/b", "/"}},
        {"a\r\n\tb\r\n", 0, {"a", "b"}},
        // Windows-1251 letters are word characters, not blanks.
        {"\xCF\xF0\xE8\xE2\xE5\xF2 x", 0, {"\xCF\xF0\xE8\xE2\xE5\xF2", "x"}},
        {"", 0, {}},
        {"  \n\n ", 0, {}},
    };
    for (const TokenCase& c : cases) {
        load(c.text, c.flags);
        EXPECT_EQ(readAll(), c.expected) << "text: " << c.text << " flags " << c.flags;
        EXPECT_FALSE(Script_HasError()) << c.text;
    }
}

TEST_F(ScriptTest, LinesAndComments) {
    load("a // comment\nb /* x\ny */ c\n\nd");
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_FALSE(Script_TokenAvailable()) << "a line comment ends the line";
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "b");
    EXPECT_EQ(Script_Line(), 2);
    EXPECT_FALSE(Script_TokenAvailable()) << "a block comment ends the line for same-line reads";
    EXPECT_FALSE(Script_TryGetToken(false));
    EXPECT_FALSE(Script_HasError());
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "c");
    EXPECT_EQ(Script_Line(), 3);
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "d");
    EXPECT_EQ(Script_Line(), 5);

    load("\"two\nlines\" e");
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "two\nlines");
    ASSERT_TRUE(Script_GetToken(false)) << "the quoted line end is behind the reader";
    EXPECT_STREQ(Script_Token(), "e");
    EXPECT_EQ(Script_Line(), 2);
}

// Scripts saved on other systems: "\r\n" and a bare "\r" end lines exactly as "\n" does, for
// same-line reads, comments, line numbers, skipped lines and blocks.
TEST_F(ScriptTest, EveryLineEndStyleEndsALine) {
    for (const std::string eol : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(eol == "\n" ? "LF" : eol == "\r" ? "CR" : "CRLF");
        load("a b // note" + eol + "c /* x" + eol + "y */ d" + eol + eol + "e f" + eol + "g");
        ASSERT_TRUE(Script_GetToken(true));
        ASSERT_TRUE(Script_GetToken(false));
        EXPECT_STREQ(Script_Token(), "b");
        EXPECT_FALSE(Script_TokenAvailable());
        EXPECT_FALSE(Script_TryGetToken(false));
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_STREQ(Script_Token(), "c");
        EXPECT_EQ(Script_Line(), 2);
        EXPECT_FALSE(Script_TokenAvailable()) << "the block comment runs over the line end";
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_STREQ(Script_Token(), "d");
        EXPECT_EQ(Script_Line(), 3);
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_STREQ(Script_Token(), "e");
        EXPECT_EQ(Script_Line(), 5);
        EXPECT_FALSE(Script_SkipRestOfLine());
        ASSERT_TRUE(Script_GetToken(true)) << "skipping the line leaves the next one";
        EXPECT_STREQ(Script_Token(), "g");
        EXPECT_EQ(Script_Line(), 6);
        EXPECT_FALSE(Script_HasError());

        load("\"q" + eol + "r\" s" + eol + "{" + eol + " t" + eol + "}" + eol + "next");
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_EQ(std::string(Script_Token()), "q" + eol + "r");
        ASSERT_TRUE(Script_GetToken(false));
        EXPECT_EQ(Script_Line(), 2);
        char* copy = Script_CopyBlock();
        ASSERT_NE(copy, nullptr);
        EXPECT_STREQ(copy, "{\n t\n}") << "the copied block ends its lines with \\n";
        Sys_Free(copy);
        Script_SkipBlock();
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_STREQ(Script_Token(), "next");
        EXPECT_EQ(Script_Line(), 6);
    }
}

TEST_F(ScriptTest, SameLineReads) {
    load("a b\nc");
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_TRUE(Script_TokenAvailable());
    EXPECT_TRUE(Script_TryGetToken(false));
    EXPECT_STREQ(Script_Token(), "b");
    EXPECT_FALSE(Script_TryGetToken(false)) << "optional read at the line end";
    EXPECT_FALSE(Script_HasError());
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "c");

    load("a\nb");
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_FALSE(Script_GetToken(false));
    EXPECT_TRUE(Script_HasError());
    EXPECT_EQ(logged("line 1 is incomplete"), 1);
}

// A block comment closed on its line sits between tokens of that line; one that runs over the
// line end, or a line comment, ends the line for same-line reads.
TEST_F(ScriptTest, CommentsBetweenTokensOfOneLine) {
    struct LineCase {
        const char* text;
        Tokens sameLine; // the tokens after the first that a same-line walk finds
    };
    const LineCase cases[] = {
        {"a /* note */ b c\nd", {"b", "c"}},
        {"a /**/ b /* x */ c\nd", {"b", "c"}},
        {"a b/* c */\nd", {"b/*", "c", "*/"}}, // a comment starts only where a token would
        {"a /* note */\nd", {}},
        {"a /* note */ // rest\nd", {}},
        {"a /* runs\nover */ d", {}},
        {"a // note /* x */ b\nd", {}},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.text);
        load(c.text);
        ASSERT_TRUE(Script_GetToken(true));
        Tokens seen;
        while (Script_TokenAvailable()) {
            ASSERT_TRUE(Script_GetToken(false));
            seen.push_back(Script_Token());
        }
        EXPECT_EQ(seen, c.sameLine);
        EXPECT_FALSE(Script_HasError());
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_STREQ(Script_Token(), "d");

        load(c.text);
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_FALSE(Script_SkipRestOfLine());
        EXPECT_FALSE(Script_HasError()) << "skipping the line reads only what is on it";
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_STREQ(Script_Token(), "d");
    }
}

TEST_F(ScriptTest, LastLineWithoutNewline) {
    const std::string path = writeFile("last.txt", "first 1\nsecond 2");
    ASSERT_TRUE(Script_LoadFile(path.c_str(), 0));
    Tokens seen;
    // A line-by-line parser: first word crossing lines, the rest optional on the same line.
    while (Script_GetToken(true)) {
        seen.push_back(Script_Token());
        while (Script_TryGetToken(false))
            seen.push_back(Script_Token());
    }
    EXPECT_EQ(seen, (Tokens{"first", "1", "second", "2"}));
    EXPECT_FALSE(Script_HasError());

    // A token that must follow on the line is still missing at the end of the text.
    load("key");
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_FALSE(Script_GetToken(false));
    EXPECT_TRUE(Script_HasError());
    EXPECT_EQ(logged("line 1 is incomplete"), 1);
}

TEST_F(ScriptTest, TokenLengthLimit) {
    struct Case {
        bool quoted;
        int length;
        bool accepted;
    } cases[] = {{true, 2047, true}, {true, 2048, false}, {false, 2047, true}, {false, 2048, false}};
    for (const Case& c : cases) {
        m_console.clear();
        const std::string body(size_t(c.length), 'x');
        load(c.quoted ? "\"" + body + "\" next" : body + " next");
        EXPECT_EQ(Script_GetToken(true), c.accepted) << c.length << (c.quoted ? " quoted" : " word");
        EXPECT_EQ(Script_HasError(), !c.accepted);
        EXPECT_EQ(logged("token too large on line 1"), c.accepted ? 0 : 1);
        if (c.accepted) {
            EXPECT_EQ(std::strlen(Script_Token()), size_t(c.length));
            EXPECT_TRUE(Script_GetToken(true));
            EXPECT_STREQ(Script_Token(), "next");
        } else {
            EXPECT_FALSE(Script_GetToken(true)) << "the error silences reads";
        }
    }
}

TEST_F(ScriptTest, ErrorFlagSilencesReadsUntilCleared) {
    load("a b c");
    Script_Error("bad thing %i", 7);
    EXPECT_EQ(logged("parse error at line 1: bad thing 7"), 1);
    EXPECT_TRUE(Script_HasError());
    EXPECT_FALSE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "");
    EXPECT_FALSE(Script_TokenAvailable());
    Script_ClearError();
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "a");
}

TEST_F(ScriptTest, UngetMatchAndCheck) {
    load("{ key value } x y");
    ASSERT_TRUE(Script_GetToken(true));
    Script_UngetToken();
    EXPECT_NE(Script_MatchToken("{"), nullptr);
    EXPECT_TRUE(Script_CheckToken("key", true));
    EXPECT_FALSE(Script_CheckToken("other", false)) << "consumes 'value'";
    EXPECT_FALSE(Script_HasError());
    EXPECT_NE(Script_MatchToken("}"), nullptr);

    EXPECT_EQ(Script_MatchToken("z"), nullptr);
    EXPECT_TRUE(Script_HasError());
    EXPECT_EQ(logged("bad token `x' at line 1 (expected `z')"), 1);
    Script_ClearError();
    Script_SkipRestOfLine();
    EXPECT_FALSE(Script_GetToken(true)) << "the rest of the line (y) was dropped";
    EXPECT_FALSE(Script_HasError());
}

TEST_F(ScriptTest, VectorsAndMatrices) {
    load("( 1.5 -2 3e2 )\n( ( 1 2 ) ( 3 4 ) )\n( ( ( 5 ) ) ( ( 6 ) ) )");
    float v[3] = {};
    Script_ParseVector(3, v);
    EXPECT_FLOAT_EQ(v[0], 1.5f);
    EXPECT_FLOAT_EQ(v[1], -2.0f);
    EXPECT_FLOAT_EQ(v[2], 300.0f);
    float m[4] = {};
    Script_ParseMatrix(2, 2, m);
    EXPECT_EQ(std::vector<float>(m, m + 4), (std::vector<float>{1, 2, 3, 4}));
    float a[2] = {};
    Script_ParseMatrixArray(2, 1, 1, a);
    EXPECT_EQ(std::vector<float>(a, a + 2), (std::vector<float>{5, 6}));
    EXPECT_FALSE(Script_HasError());

    // Numbers must stay on the line of the opening parenthesis.
    load("( 1\n2 3 )");
    Script_ParseVector(3, v);
    EXPECT_TRUE(Script_HasError());
    EXPECT_EQ(logged("line 1 is incomplete"), 1);
    // Parsing goes on after the error, and the missing ")" is reported too.
    EXPECT_EQ(logged("bad token `' at line 1 (expected `)')"), 1);
}

// Switches the whole process to a comma locale for one scope.
class CommaLocale {
public:
    CommaLocale() : m_saved(std::setlocale(LC_ALL, nullptr)) {
        m_active = std::setlocale(LC_ALL, "de_DE.UTF-8") && std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_saved.c_str()); }
    bool active() const { return m_active; }

private:
    std::string m_saved;
    bool m_active = false;
};

TEST_F(ScriptTest, NumbersIgnoreTheProcessLocale) {
    float v[3] = {};
    {
        CommaLocale locale;
        ASSERT_TRUE(locale.active()) << "de_DE.UTF-8 is not installed";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
        load("( 1.5 2 3 )");
        Script_ParseVector(3, v);
    }
    EXPECT_FLOAT_EQ(v[0], 1.5f);
    EXPECT_FLOAT_EQ(v[1], 2.0f);
    EXPECT_FLOAT_EQ(v[2], 3.0f);
    EXPECT_FALSE(Script_HasError());
    EXPECT_STREQ(std::localeconv()->decimal_point, ".") << "the locale is restored";
}

TEST_F(ScriptTest, FlagsOfTheCurrentFrame) {
    Script_Close();
    load("a+b a+b", SCRIPT_FLAG_AT_TOKEN);
    EXPECT_EQ(Script_GetFlags(), SCRIPT_FLAG_AT_TOKEN);
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "a+b");
    Script_SetFlags(SCRIPT_FLAG_PLUS_TOKEN);
    EXPECT_EQ(Script_GetFlags(), SCRIPT_FLAG_PLUS_TOKEN);
    EXPECT_EQ(readAll(), (Tokens{"a", "+", "b"}));
}

TEST_F(ScriptTest, BlocksAgreeAboutQuotedBraces) {
    const std::string block = "{ \"key\" \"}\" { inner } }";
    load("  " + block + " tail");
    EXPECT_EQ(Script_BlockLength(), int32_t(block.size()));
    char* copy = Script_CopyBlock();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::string(copy), block);
    Sys_Free(copy);
    Script_SkipBlock();
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "tail");
}

TEST_F(ScriptTest, SkipBlockCases) {
    struct Case {
        const char* what;
        const char* text;
        int tokensBefore; // read before skipping
        bool pushBack;
        const char* next;
        int line;
    } cases[] = {
        {"pushed-back opening brace", "{ a { b } c } next", 1, true, "next", 1},
        {"from inside the block", "{ a b } next", 1, false, "next", 1},
        {"from before the block", "{ a { b } c } next", 0, false, "next", 1},
        {"newlines are counted", "{\n a\n}\nnext", 0, false, "next", 4},
    };
    for (const Case& c : cases) {
        load(c.text);
        for (int i = 0; i < c.tokensBefore; ++i)
            ASSERT_TRUE(Script_GetToken(true));
        if (c.pushBack) Script_UngetToken();
        Script_SkipBlock();
        ASSERT_TRUE(Script_GetToken(true)) << c.what;
        EXPECT_STREQ(Script_Token(), c.next) << c.what;
        EXPECT_EQ(Script_Line(), c.line) << c.what;
    }
}

// A reader that looked at the "{" and pushed it back still copies the whole block.
TEST_F(ScriptTest, CopyBlockAfterAPushedBackBrace) {
    load("name\n{\n\tcull none\n\t{\n\t\tmap a\n\t}\n}\nnext");
    ASSERT_TRUE(Script_GetToken(true));
    ASSERT_TRUE(Script_GetToken(true));
    Script_UngetToken();
    const std::string block = "{\n\tcull none\n\t{\n\t\tmap a\n\t}\n}";
    EXPECT_EQ(Script_BlockLength(), int32_t(block.size()));
    char* copy = Script_CopyBlock();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::string(copy), block);
    Sys_Free(copy);
    Script_SkipBlock();
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "next");
}

// A brace in a comment is no brace: the copied block (an effect's text) runs to the real end.
TEST_F(ScriptTest, BracesInCommentsDoNotEndTheBlock) {
    const std::string block = "{\n\tmap \"a\" // }\n\t/* } { */ cull none\n}";
    load(block + "\nnext");
    EXPECT_EQ(Script_BlockLength(), int32_t(block.size()));
    char* copy = Script_CopyBlock();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::string(copy), block);
    Sys_Free(copy);
    Script_SkipBlock();
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "next");
}

TEST_F(ScriptTest, BlockEdges) {
    load("{\r\n a\r\n}");
    char* copy = Script_CopyBlock();
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "{\n a\n}") << "carriage returns are left out";
    Sys_Free(copy);
    EXPECT_EQ(Script_BlockLength(), 8) << "the length counts them";

    load("{ never closed");
    EXPECT_EQ(Script_BlockLength(), 14);

    load("   \n ");
    EXPECT_EQ(Script_BlockLength(), 0);
    EXPECT_EQ(Script_CopyBlock(), nullptr);
    Script_SkipBlock();
    EXPECT_FALSE(Script_GetToken(true));
}

TEST_F(ScriptTest, NeedsQuotesMakesTextsReadBack) {
    struct Case {
        const char* text;
        int32_t flags;
        bool needs;
    } cases[] = {
        {"plain", 0, false},
        {"", 0, true},
        {"two words", 0, true},
        {"tab\there", 0, true},
        {"a=b", 0, true},
        {"a=b", SCRIPT_FLAG_NO_SINGLE_CHARS, false},
        {"with blank", SCRIPT_FLAG_NO_SINGLE_CHARS, true},
        {"@x", 0, false},
        {"@x", SCRIPT_FLAG_AT_TOKEN, true},
        {"1+2", SCRIPT_FLAG_PLUS_TOKEN, true},
        {"//x", 0, true},
        {"/*x", 0, true},
        {"a/b", 0, false},
        {"textures/base/floor", 0, false},
    };
    for (const Case& c : cases) {
        load("", c.flags);
        EXPECT_EQ(Script_NeedsQuotes(c.text), c.needs) << '"' << c.text << "\" flags " << c.flags;
        // What a writer produces from the answer reads back as the same single token.
        const std::string written = c.needs ? "\"" + std::string(c.text) + "\"" : std::string(c.text);
        load(written + "\n", c.flags);
        EXPECT_EQ(readAll(), Tokens{c.text}) << '"' << c.text << '"';
    }
    EXPECT_FALSE(Script_NeedsQuotes(nullptr));
}

TEST_F(ScriptTest, IncludeStackHoldsThirtyOneFiles) {
    // file N: "headN" include-point "tailN"; the chain uses names relative to the first file's folder.
    for (int i = 1; i <= 32; ++i)
        writeFile(QStringLiteral("inc%1.txt").arg(i),
                  "head" + std::to_string(i) + "\ntail" + std::to_string(i));
    const std::string first = QFile::encodeName(m_dir.filePath("inc1.txt")).toStdString();
    ASSERT_TRUE(Script_LoadFile(first.c_str(), 0));
    for (int i = 1; i <= 31; ++i) {
        ASSERT_TRUE(Script_GetToken(true));
        EXPECT_EQ(Script_Token(), "head" + std::to_string(i));
        if (i < 31) {
            ASSERT_TRUE(Script_IncludeFile(("inc" + std::to_string(i + 1) + ".txt").c_str(), 0)) << i;
        }
    }
    EXPECT_EQ(logged("Entering: "), 31);
    EXPECT_EQ(logged(QStringLiteral("Entering: \"%1\"").arg(m_dir.filePath("inc31.txt"))), 1);

    EXPECT_FALSE(Script_IncludeFile("inc32.txt", 0));
    EXPECT_EQ(logged("script file exceeded MAX_INCLUDES"), 1);
    EXPECT_TRUE(Script_HasError());
    Script_ClearError();

    // The stack is unchanged: the tails come back from the deepest file outward.
    for (int i = 31; i >= 1; --i) {
        ASSERT_TRUE(Script_GetToken(true)) << i;
        EXPECT_EQ(Script_Token(), "tail" + std::to_string(i));
    }
    EXPECT_FALSE(Script_GetToken(true));
    EXPECT_EQ(logged("Returning to "), 30);
    EXPECT_FALSE(Script_HasError());
}

TEST_F(ScriptTest, MissingFiles) {
    const std::string missing = QFile::encodeName(m_dir.filePath("missing.def")).toStdString();
    EXPECT_FALSE(Script_LoadFile(missing.c_str(), 0));
    EXPECT_EQ(logged(QStringLiteral("can't open \"%1\"").arg(QString::fromStdString(missing))), 1);
    EXPECT_FALSE(Script_GetToken(true));

    const std::string main = writeFile("main.def", "a b");
    ASSERT_TRUE(Script_LoadFile(main.c_str(), 0));
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_FALSE(Script_IncludeFile("missing.def", 0));
    EXPECT_TRUE(Script_HasError());
    Script_ClearError();
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "b") << "the including file goes on";
}

TEST_F(ScriptTest, FilesComeFromDiskOnly) {
    GameConfig config;
    cMemoryArchives memory(&m_log.archives());
    memory.add(m_dir.filePath("pak0.zmem"), {{"scripts/packed.shader", "a {\n}\n"}});
    memory.open(m_dir.filePath("pak0.zmem"), &config);
    config.GameBasedir = m_dir.path();
    m_gameData.configs.makeCurrent(&config);
    EXPECT_FALSE(Script_LoadFile("scripts/packed.shader", 1)) << "archives are not searched";
    EXPECT_EQ(logged("can't open \"scripts/packed.shader\""), 1);

    // Game files on disk match without regard to case.
    writeFile("Mixed.DEF", "token");
    const std::string lower = QFile::encodeName(m_dir.filePath("mixed.def")).toStdString();
    ASSERT_TRUE(Script_LoadFile(lower.c_str(), 0));
    EXPECT_EQ(readAll(), Tokens{"token"});
    m_gameData.configs.makeCurrent(nullptr);
}

// Buffers released at the end of a frame are not released again, and an unclosed script is
// released by the next start (the sanitizers check both).
TEST_F(ScriptTest, FrameBuffersAreReleasedExactlyOnce) {
    const std::string outer = writeFile("outer.txt", "{ a }\nafter");
    writeFile("inner.txt", "{ skipped");

    // Read to the end, then close.
    ASSERT_TRUE(Script_LoadFile(outer.c_str(), 0));
    EXPECT_EQ(readAll(), (Tokens{"{", "a", "}", "after"}));
    Script_Close();
    Script_Close();

    // SkipBlock at the end of an included file pops it; closing later frees only the outer text.
    ASSERT_TRUE(Script_LoadFile(outer.c_str(), 0));
    ASSERT_TRUE(Script_IncludeFile("inner.txt", 0));
    ASSERT_TRUE(Script_GetToken(true));
    Script_SkipBlock(); // runs to the end of inner.txt
    Script_SkipBlock(); // at its end: back to outer.txt
    EXPECT_EQ(logged("Returning to "), 1);
    ASSERT_TRUE(Script_GetToken(true));
    EXPECT_STREQ(Script_Token(), "{");
    Script_Close();

    // Starting over without closing: a file script, then another, then a memory block.
    ASSERT_TRUE(Script_LoadFile(outer.c_str(), 0));
    ASSERT_TRUE(Script_IncludeFile("inner.txt", 0));
    ASSERT_TRUE(Script_LoadFile(outer.c_str(), 0));
    load("memory");
    EXPECT_EQ(readAll(), Tokens{"memory"});
    Script_Close();
    EXPECT_FALSE(Script_GetToken(true));
}

} // namespace
