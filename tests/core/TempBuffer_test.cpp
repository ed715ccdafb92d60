#include <gtest/gtest.h>

#include <cstring>

#include "ConsoleCapture.h"
#include "core/System.h"

TEST(TempBuffer, RefusesBadIndexAndZeroSize) {
    cConsoleCapture console;
    EXPECT_EQ(TempBuffer_GetSpace(6, 100), nullptr);
    EXPECT_TRUE(console.contains("TempBuffer_GetSpace: invalid buffer index 6"));
    EXPECT_EQ(TempBuffer_GetSpace(0, 0), nullptr);
    EXPECT_TRUE(console.contains("TempBuffer_GetSpace: invalid size 0"));
    EXPECT_EQ(TempBuffer_GetInternalSpace(6, 0), nullptr);
    EXPECT_TRUE(console.contains("TempBuffer_GetInternalSpace: invalid size 0"));
    EXPECT_EQ(TempBuffer_GetInternalSpace(5, 16), nullptr);
}

TEST(TempBuffer, GrowsOnlyWhenAskedForMore) {
    auto* first = static_cast<unsigned char*>(TempBuffer_GetSpace(2, 100));
    ASSERT_NE(first, nullptr);
    std::memset(first, 0xAB, 100);
    // A smaller request hands back the same block with what the last user left.
    EXPECT_EQ(TempBuffer_GetSpace(2, 50), first);
    EXPECT_EQ(first[49], 0xAB);

    auto* grown = static_cast<unsigned char*>(TempBuffer_GetSpace(2, 200));
    ASSERT_NE(grown, nullptr);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(grown[i], 0) << "byte " << i;
}

TEST(TempBuffer, InternalSlotsAreSeparateFromPublicOnes) {
    void* publicBlock = TempBuffer_GetSpace(5, 64);
    void* internal6 = TempBuffer_GetInternalSpace(6, 64);
    void* internal7 = TempBuffer_GetInternalSpace(7, 64);
    ASSERT_NE(internal6, nullptr);
    ASSERT_NE(internal7, nullptr);
    EXPECT_NE(internal6, publicBlock);
    EXPECT_NE(internal6, internal7);
    EXPECT_EQ(TempBuffer_GetInternalSpace(6, 32), internal6);
}
