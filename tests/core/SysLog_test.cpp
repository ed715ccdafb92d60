#include <gtest/gtest.h>

#include <string>

#include "ConsoleCapture.h"
#include "core/System.h"
#include "core/WaitScope.h"

TEST(SysLog, LevelsUseTheirTemplates) {
    cConsoleCapture console;
    Sys_Printf("plain %d", 1);
    Sys_Warning("careful %s", "now");
    Sys_Error("broken %i", 3);
    Sys_DebugPrintf("debugger only");
    ASSERT_EQ(console.lines.size(), 3);
    EXPECT_EQ(console.lines[0], "plain 1");
    EXPECT_EQ(console.lines[1], "<font color=\"#FF6000\"><b>Warning:</b></font> careful now");
    EXPECT_EQ(console.lines[2], "<font color=\"red\"><b>Error:</b></font> broken 3");
}

TEST(SysLog, LongMessageIsCutAt8191Characters) {
    cConsoleCapture console;
    const std::string longText(10000, 'x');
    Sys_Printf("%s", longText.c_str());
    ASSERT_EQ(console.lines.size(), 1);
    EXPECT_EQ(console.lines[0].size(), 8191);
}

TEST(SysLog, MarkupInMessagesIsShownLiterally) {
    cConsoleCapture console;
    Sys_Warning("texture \"<none>\" & more");
    ASSERT_EQ(console.lines.size(), 1);
    EXPECT_TRUE(console.lines[0].endsWith("texture &quot;&lt;none&gt;&quot; &amp; more"))
        << console.lines[0].toStdString();
}

TEST(SysLog, Windows1251TextReachesTheConsole) {
    cConsoleCapture console;
    Sys_Printf("%s", "\xCF\xF0\xE8\xE2\xE5\xF2");
    ASSERT_EQ(console.lines.size(), 1);
    EXPECT_EQ(console.lines[0], QString::fromUtf8("Привет"));
}

TEST(SysLog, VerboseLinesWaitForSplashAndWaitDialog) {
    cConsoleCapture console;
    {
        cWaitScope wait("Precaching game configuration...");
        Sys_VerbosePrintf("progress");
    }
    Sys_VerbosePrintf("shown");
    ASSERT_EQ(console.lines.size(), 1);
    EXPECT_EQ(console.lines[0], "shown");
}

TEST(SysMemory, StringCopies) {
    EXPECT_EQ(Sys_StrDup(nullptr), nullptr);
    char* copy = Sys_StrDup("abc");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "abc");
    Sys_Free(copy);
    Sys_Free(nullptr);

    EXPECT_EQ(Sys_QStringToCString(QString()), nullptr);
    char* text = Sys_QStringToCString(QString::fromUtf8("Привет"));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "\xCF\xF0\xE8\xE2\xE5\xF2");
    Sys_Free(text);
}

TEST(SysMemory, TempStringsRingOfSixteen) {
    const char* first = Sys_QStringToTemp("first");
    for (int i = 0; i < 15; ++i)
        Sys_QStringToTemp(QString::number(i));
    const char* seventeenth = Sys_QStringToTemp("again");
    EXPECT_EQ(seventeenth, first);
    EXPECT_STREQ(first, "again");

    const char* cut = Sys_QStringToTemp(QString(300, 'y'));
    EXPECT_EQ(std::strlen(cut), 259u);
}

TEST(SysMemory, SecondsNeverGoBack) {
    const float first = Sys_Seconds();
    const float later = Sys_Seconds();
    EXPECT_GE(first, 0.0f);
    EXPECT_GE(later, first);
}
