#include <gtest/gtest.h>

#include <locale.h>
#include <string.h>

#include <string>

#include "kstdlib/kstdlib.h"

namespace {

// Switches the process to a locale with a decimal comma for one test, if the machine has it.
class GermanLocale {
public:
    GermanLocale() : saved_(setlocale(LC_ALL, nullptr)) {
        active_ = setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~GermanLocale() { setlocale(LC_ALL, saved_.c_str()); }
    bool active() const { return active_; }

private:
    std::string saved_;
    bool active_ = false;
};

} // namespace

TEST(Va, FormatsIntoEightRotatingBuffers) {
    const char* first = va("%d-%s", 7, "x");
    EXPECT_STREQ(first, "7-x");
    for (int i = 1; i < 8; ++i)
        EXPECT_NE(va("%d", i), first);
    const char* ninth = va("ninth");
    EXPECT_EQ(ninth, first);
    EXPECT_STREQ(first, "ninth");
}

TEST(Va, SecondSetIsIndependentAndNullFormatIsEmpty) {
    const char* a = va("a");
    for (int i = 0; i < 8; ++i)
        va2("b%d", i);
    EXPECT_STREQ(a, "a");
    EXPECT_STREQ(va(nullptr), "");
    EXPECT_STREQ(va2(nullptr), "");
}

TEST(Va, CutsLongResultsAt2047Characters) {
    const std::string big(5000, 'q');
    EXPECT_EQ(strlen(va("%s", big.c_str())), 2047u);
}

TEST(Sprintf, TruncatesToTheBufferAndTerminates) {
    char dst[6];
    EXPECT_EQ(K_Sprintf(dst, sizeof(dst), "%s-%d", "abc", 1234), 0);
    EXPECT_STREQ(dst, "abc-1");
}

TEST(Sprintf, CapsOutputAt32767Characters) {
    const std::string big(40000, 'z');
    std::string dst(40000, '\0');
    K_Sprintf(dst.data(), dst.size(), "%s", big.c_str());
    EXPECT_EQ(strlen(dst.c_str()), 32767u);
}

TEST(Sprintf, ZeroOrNegativeSizeWritesNothing) {
    char dst[4] = "old";
    K_Sprintf(dst, 0, "new text");
    EXPECT_STREQ(dst, "old");
    K_Sprintf(dst, static_cast<size_t>(-1), "new text");
    EXPECT_STREQ(dst, "old");
}

TEST(Sprintf, NullFormatThrowsKException) {
    char dst[8];
    try {
        K_Sprintf(dst, sizeof(dst), nullptr);
        FAIL() << "no exception";
    } catch (const KException& e) {
        EXPECT_STREQ(e.message, "K_Sprintf: null fmt");
        EXPECT_STREQ(e.function, "K_Sprintf");
        EXPECT_NE(strstr(e.file, "Format.cpp"), nullptr);
        EXPECT_GT(e.line, 0);
    }
}

TEST(KExceptionRecord, TruncatesFileAndFunctionNames) {
    const std::string longName(300, 'f');
    KException e(longName.c_str(), 12, longName.c_str(), "%d items", 3);
    EXPECT_EQ(strlen(e.file), 127u);
    EXPECT_EQ(strlen(e.function), 127u);
    EXPECT_STREQ(e.message, "3 items");
    EXPECT_EQ(e.line, 12);
}

TEST(Formatting, NumbersIgnoreTheProcessLocale) {
    GermanLocale german;
    if (!german.active()) GTEST_SKIP() << "de_DE.UTF-8 not installed";
    EXPECT_STREQ(va("%.2f", 1.5), "1.50");
    EXPECT_STREQ(va2("%g", 0.25), "0.25");
    char dst[16];
    K_Sprintf(dst, sizeof(dst), "%.1f", 2.5);
    EXPECT_STREQ(dst, "2.5");
    EXPECT_FLOAT_EQ(K_Atof("3.25"), 3.25f);
}

struct SizeCase {
    size_t bytes;
    const char* text;
};

TEST(FormatSizeString, PicksTheUnitByMagnitude) {
    const SizeCase cases[] = {
        {0, "0 B"},
        {1024, "1024 B"},
        {1025, "1 kB"},
        {1536, "1 kB"},
        {1048576, "1024 kB"},
        {1572864, "1.50 MB"},
        {1073741824, "1024.00 MB"},
        {1073741825, "1.00 GB"},
        {3221225472u, "3.00 GB"},
    };
    for (const SizeCase& c : cases) {
        char dst[32];
        EXPECT_GE(K_FormatSizeString(dst, sizeof(dst), c.bytes), 0);
        EXPECT_STREQ(dst, c.text) << c.bytes;
    }
}

TEST(FormatSizeString, ReturnsTheLastStepCountOrMinusOneWhenTooSmall) {
    char dst[32];
    EXPECT_EQ(K_FormatSizeString(dst, sizeof(dst), 100), 5);     // "100 B"
    EXPECT_EQ(K_FormatSizeString(dst, sizeof(dst), 1572864), 6); // ".50 MB" after "1"
    char small[4];
    EXPECT_EQ(K_FormatSizeString(small, sizeof(small), 100), -1);
    EXPECT_STREQ(small, "100");
    EXPECT_EQ(K_FormatSizeString(small, sizeof(small), 1572864), -1);
    EXPECT_EQ(strlen(small), 3u);
    char untouched[4] = "abc";
    EXPECT_EQ(K_FormatSizeString(untouched, 0, 100), -1);
    EXPECT_STREQ(untouched, "abc");
}

TEST(FormatTimeString, PicksTheUnitsByDuration) {
    const struct {
        int ms;
        const char* text;
    } cases[] = {{0, "0 sec"},           {59999, "59 sec"},         {60000, "60 sec"},
                 {61000, "1 min 1 sec"}, {3600000, "60 min 0 sec"}, {3661000, "1 hr 1 min"},
                 {7325000, "2 hr 2 min"}};
    for (const auto& c : cases) {
        char dst[32];
        EXPECT_EQ(K_FormatTimeString(dst, sizeof(dst), c.ms), static_cast<int>(strlen(c.text)));
        EXPECT_STREQ(dst, c.text) << c.ms;
    }
    char small[3];
    EXPECT_EQ(K_FormatTimeString(small, sizeof(small), 61000), -1);
    EXPECT_STREQ(small, "1 ");
}

TEST(SetLocale, RussianWordsAreWindows1251) {
    char dst[32];
    K_SetLocale("RuS");
    K_FormatSizeString(dst, sizeof(dst), 2048);
    EXPECT_STREQ(dst, "2 \xEA\xE1");
    K_FormatTimeString(dst, sizeof(dst), 3661000);
    EXPECT_STREQ(dst, "1 \xF7 1 \xEC\xE8\xED");
    K_SetLocale("int");
    K_FormatSizeString(dst, sizeof(dst), 2048);
    EXPECT_STREQ(dst, "2 kB");
    K_SetLocale("rus");
    K_SetLocale(nullptr);
    K_FormatTimeString(dst, sizeof(dst), 5000);
    EXPECT_STREQ(dst, "5 sec");
}
