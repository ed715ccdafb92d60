#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <string.h>

#include <string>

#include "kstdlib/kstdlib.h"

TEST(Hash, WeightsLowerCaseCharactersByPosition) {
    EXPECT_EQ(K_Hash("", 16), 0u);
    EXPECT_EQ(K_Hash("A", 16), 7u); // 119 * 'a' = 11543
    EXPECT_EQ(K_Hash("ab", 1024), (119u * 'a' + 120u * 'b') & 1023u);
    EXPECT_EQ(K_Hash("Maps", 32), K_Hash("mAPS", 32));
    EXPECT_EQ(K_Hash(nullptr, 16), 0u);
}

TEST(Atoi, ParsesDecimalHexAndCharacterCodes) {
    const struct {
        const char* text;
        int value;
    } cases[] = {{"  -0x1F", -31},
                 {"'A", 65},
                 {"12ab", 12},
                 {"+5", 0},
                 {"\t\n42", 42},
                 {"0XfF", 255},
                 {"-'A", -65},
                 {"", 0},
                 {"-", 0},
                 {"0x", 0},
                 {"0xFFFFFFFF", -1},
                 {"-2147483648", INT_MIN},
                 {"2147483647", INT_MAX}};
    for (const auto& c : cases)
        EXPECT_EQ(K_Atoi(c.text), c.value) << c.text;
    EXPECT_EQ(K_Atoi(nullptr), 0);
}

TEST(Atoi, LongDigitRunsSaturateInsteadOfOverflowing) {
    EXPECT_EQ(K_Atoi("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(K_Atoi("-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(K_Atoi("2147483648"), INT_MAX);
    EXPECT_EQ(K_Atoi("0x123456789ABCDEF0123"), static_cast<int>(0xCDEF0123u)); // hex keeps the low bits
}

TEST(Atof, ParsesDigitsWithTheLastPointAsDecimalPoint) {
    const struct {
        const char* text;
        float value;
    } cases[] = {{"3.25", 3.25f}, {"1.2.5", 12.5f}, {"-.5", -0.5f}, {"  7", 7.0f}, {"0x10", 16.0f},
                 {"'a", 97.0f},   {"1e5", 1.0f},    {"12.", 12.0f}, {"x", 0.0f}};
    for (const auto& c : cases)
        EXPECT_FLOAT_EQ(K_Atof(c.text), c.value) << c.text;
    EXPECT_EQ(K_Atof(nullptr), 0.0f);
}

TEST(Atof, LongDigitRunsStayFinite) {
    const std::string manyOnes = "0." + std::string(400, '1');
    EXPECT_FLOAT_EQ(K_Atof(manyOnes.c_str()), 0.11111111f);
    const std::string big = std::string(30, '9') + ".5";
    EXPECT_FLOAT_EQ(K_Atof(big.c_str()), 1e30f);
    const std::string huge(500, '9');
    EXPECT_TRUE(isinf(K_Atof(huge.c_str())));
}

TEST(CaseMapping, ChangesOnlyAsciiLettersInPlace) {
    char text[] = "Abc-\xC0\xE0z";
    EXPECT_EQ(K_Strupr(text), text);
    EXPECT_STREQ(text, "ABC-\xC0\xE0Z");
    K_Strlwr(text);
    EXPECT_STREQ(text, "abc-\xC0\xE0z");
    EXPECT_EQ(K_Strlwr(nullptr), nullptr);
}

TEST(Stristr, FindsIgnoringCase) {
    const char* text = "Textures/Base_Wall";
    EXPECT_EQ(K_Stristr(text, "base"), text + 9);
    EXPECT_EQ(K_Stristr(text, ""), text);
    EXPECT_EQ(K_Stristr(text, "walls"), nullptr);
    EXPECT_EQ(K_Stristr("", ""), nullptr);
    EXPECT_EQ(K_Stristr(nullptr, "a"), nullptr);
    EXPECT_EQ(K_Stristr(text, nullptr), nullptr);
}

TEST(Pathstr, TreatsBothSeparatorsAsEqual) {
    const char* text = "models\\players/Visor";
    EXPECT_EQ(K_Pathstr(text, "models/players\\"), text);
    EXPECT_EQ(K_Pathstr(text, "/Visor"), text + 14);
    EXPECT_EQ(K_Pathstr(text, "visor"), nullptr);
    EXPECT_EQ(K_Pathstr("", ""), nullptr);
}

TEST(Pathcmp, FoldsCaseAndSeparators) {
    EXPECT_EQ(K_Pathcmp("Maps\\Room", "maps/room"), 0);
    EXPECT_EQ(K_Pathcmp("c:x", "C/X"), 0);
    EXPECT_EQ(K_Pathcmp("\xE0\xE1", "\xC0\xC1"), 0); // Windows-1251 lower and upper case
    EXPECT_EQ(K_Pathcmp("abc", "abd"), -1);
    EXPECT_EQ(K_Pathcmp("abd", "abc"), 1);
    EXPECT_EQ(K_Pathcmp("ab", "abc"), -1);
    EXPECT_EQ(K_Pathcmp("\xC0", "A"), -1); // bytes above 0x7F are negative
}

TEST(Strfilter, MatchesWildcards) {
    const struct {
        const char* pattern;
        const char* text;
        int caseSensitive;
        int result;
    } cases[] = {
        {"*.tga", "foo.TGA", 0, 1},
        {"*.tga", "foo.TGA", 1, 0},
        {"abc", "abcdef", 0, 1},
        {"abc", "ab", 0, 0},
        {"a?c", "abc", 1, 1},
        {"abc?", "abc", 0, 0},
        {"*", "anything", 1, 1},
        {"**x", "abx", 1, 1},
        {"t[a-c]x", "tbx", 1, 1},
        {"t[a-c]x", "tdx", 1, 0},
        {"t[A-C]x", "tbx", 0, 1},
        {"t[xyz]", "ty", 1, 1},
        {"[]]]x", "]x", 1, 1},
        {"[a-]", "-", 1, 1},
        {"[]", "a", 1, 0},
        {"ab[", "abc", 1, 0},
        {"[[ab]x", "bx", 1, 1},
        {"[[ab]x", "[ab]x", 1, 0},
        {"*/*.map", "maps/a.map", 1, 1},
        {"*b*", "aaa", 1, 0},
        {"*a?", "xab", 1, 1},
        {"[ab]", "", 1, 0},
        {"", "text", 1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(K_Strfilter(c.pattern, c.text, c.caseSensitive), c.result)
            << c.pattern << " / " << c.text << " / " << c.caseSensitive;
    EXPECT_EQ(K_Strfilter(nullptr, "a", 0), 0);
}

TEST(Strfilter, LiteralRunsLongerThan1023CharactersMatchInFull) {
    const std::string run(1500, 'r');
    const std::string pattern = "*" + run + "x";
    EXPECT_EQ(K_Strfilter(pattern.c_str(), ("ab" + run + "x").c_str(), 1), 1);
    EXPECT_EQ(K_Strfilter(pattern.c_str(), ("ab" + run.substr(1) + "x").c_str(), 1), 0);
}

TEST(MemFgets, ReadsLinesUntilTheBufferEnds) {
    const char buffer[] = "one\ntwo\nthree";
    const int length = static_cast<int>(strlen(buffer));
    int position = 0;
    char dst[16];
    EXPECT_STREQ(K_MemFgets(buffer, length, &position, dst, sizeof(dst)), "one\n");
    EXPECT_STREQ(K_MemFgets(buffer, length, &position, dst, sizeof(dst)), "two\n");
    EXPECT_STREQ(K_MemFgets(buffer, length, &position, dst, sizeof(dst)), "three");
    EXPECT_EQ(position, length);
    EXPECT_EQ(K_MemFgets(buffer, length, &position, dst, sizeof(dst)), nullptr);
}

TEST(MemFgets, SplitsLongLinesAndRefusesBadArguments) {
    const char buffer[] = "abcdef\n";
    int position = 0;
    char dst[4];
    EXPECT_STREQ(K_MemFgets(buffer, 7, &position, dst, sizeof(dst)), "abc");
    EXPECT_EQ(position, 3);
    EXPECT_EQ(K_MemFgets(buffer, 7, &position, dst, 0), nullptr);
    EXPECT_EQ(K_MemFgets(buffer, 7, &position, dst, static_cast<size_t>(-1)), nullptr);
    EXPECT_EQ(K_MemFgets(nullptr, 7, &position, dst, sizeof(dst)), nullptr);
    EXPECT_EQ(K_MemFgets(buffer, 7, nullptr, dst, sizeof(dst)), nullptr);
    int negative = -1;
    EXPECT_EQ(K_MemFgets(buffer, 7, &negative, dst, sizeof(dst)), nullptr);
    EXPECT_EQ(position, 3);
}

TEST(StripQuotes, RemovesOneQuoteAtEachEnd) {
    const struct {
        const char* in;
        const char* out;
        int removed;
    } cases[] = {{"\"abc\"", "abc", 2}, {"'", "", 1},      {"'abc", "abc", 1}, {"abc\"", "abc", 1},
                 {"\"'x'\"", "'x'", 2}, {"abc", "abc", 0}, {"", "", 0}};
    for (const auto& c : cases) {
        char text[16];
        strcpy(text, c.in);
        EXPECT_EQ(K_StripQuotes(text), c.removed) << c.in;
        EXPECT_STREQ(text, c.out) << c.in;
    }
    EXPECT_EQ(K_StripQuotes(nullptr), 0);
}
