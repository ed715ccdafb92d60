#include <gtest/gtest.h>

#include "core/TextEncoding.h"

TEST(TextEncoding, Windows1251RoundTrip) {
    const QByteArray bytes("\xCF\xF0\xE8\xE2\xE5\xF2");
    const QString text = QString::fromUtf8("Привет");
    EXPECT_EQ(Text_ToWindows1251(text), bytes);
    EXPECT_EQ(Text_FromWindows1251(bytes), text);
    EXPECT_EQ(Text_FromWindows1251(bytes.constData()), text);
    EXPECT_EQ(Text_FromWindows1251(bytes.constData(), 3), QString::fromUtf8("При"));
    EXPECT_TRUE(Text_FromWindows1251(nullptr).isEmpty());
}

TEST(TextEncoding, EveryByteSurvivesTheRoundTrip) {
    // Map text is stored as raw bytes; all bytes the code page defines must come back unchanged.
    QByteArray all;
    for (int b = 1; b < 256; ++b) {
        if (b != 0x98) // the one byte Windows-1251 leaves undefined
            all.append(static_cast<char>(b));
    }
    EXPECT_EQ(Text_ToWindows1251(Text_FromWindows1251(all)), all);
}

TEST(TextEncoding, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(Text_ToWindows1251(QString::fromUtf8("a\u4e2db")), QByteArray("a?b"));
}

TEST(TextEncoding, PathsAreUtf8) {
    const QString path = QString::fromUtf8("/карты/map.zmf");
    EXPECT_EQ(Path_ToNative(path), path.toUtf8());
    EXPECT_EQ(Path_FromNative(path.toUtf8().constData()), path);
    EXPECT_TRUE(Path_FromNative(nullptr).isEmpty());
}
