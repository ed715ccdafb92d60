#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "kstdlib/kstdlib.h"

namespace {

std::string Hex(const uint8_t digest[16]) {
    char text[33];
    for (int i = 0; i < 16; ++i)
        snprintf(text + 2 * i, 3, "%02x", digest[i]);
    return text;
}

// Digest of message fed in pieces of the given sizes, cycling through them.
std::string Digest(const std::string& message, const std::vector<int>& pieces) {
    KMD5Context context;
    K_MD5_Init(&context);
    const auto* data = reinterpret_cast<const uint8_t*>(message.data());
    size_t offset = 0;
    for (size_t i = 0; offset < message.size(); ++i) {
        const int piece = std::min<int>(pieces[i % pieces.size()], static_cast<int>(message.size() - offset));
        K_MD5_Append(&context, data + offset, piece);
        offset += piece;
    }
    uint8_t digest[16];
    K_MD5_Finish(&context, digest);
    return Hex(digest);
}

} // namespace

TEST(Md5, Rfc1321TestSuite) {
    const struct {
        const char* message;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Digest(c.message, {1 << 20}), c.digest) << c.message;
}

TEST(Md5, UnevenPiecesGiveTheSameDigest) {
    std::string message;
    for (int i = 0; i < 1000; ++i)
        message += static_cast<char>('a' + i * 7 % 26);
    const std::string whole = Digest(message, {1 << 20});
    EXPECT_EQ(Digest(message, {1, 63, 65}), whole);
    EXPECT_EQ(Digest(message, {64}), whole);
    EXPECT_EQ(Digest(message, {55, 1, 8, 120}), whole);
    // Paddings that spill into an extra block: 56 to 63 bytes left over.
    EXPECT_EQ(Digest(std::string(56, 'x'), {3, 50}), Digest(std::string(56, 'x'), {56}));
}

TEST(Md5, NonPositiveLengthsAppendNothing) {
    KMD5Context context;
    K_MD5_Init(&context);
    const uint8_t data[4] = {1, 2, 3, 4};
    K_MD5_Append(&context, data, 0);
    K_MD5_Append(&context, data, -5);
    EXPECT_EQ(context.bitCount[0], 0u);
    uint8_t digest[16];
    K_MD5_Finish(&context, digest);
    EXPECT_EQ(Hex(digest), "d41d8cd98f00b204e9800998ecf8427e");
}
