#include "core/AppVersion.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "kstdlib/kstring.h"

namespace {
const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The build number of 20 August 2013.
constexpr int32_t kEpoch = 41140;
} // namespace

int32_t App_BuildNumberFromDate(const char* date) {
    if (!date || std::strlen(date) < 11) return 0;
    int32_t days = 0;
    // Months before the build's; when none of January to November matches, the sum of all eleven
    // stands, which is December's.
    for (int m = 0; m < 11; ++m) {
        if (strncasecmp(date, kMonthNames[m], 3) == 0) break;
        days += kMonthDays[m];
    }
    const int day = std::atoi(date + 4);
    const int year = std::atoi(date + 7);
    const auto years = static_cast<int32_t>(-std::trunc((year - 1901) * -365.25));
    return days + day + years - kEpoch;
}

unsigned int App_GetBuildNumber() {
    static unsigned int number = 0;
    if (number == 0) number = static_cast<unsigned int>(App_BuildNumberFromDate(App_BuildDate()));
    return number;
}

const char* App_GetVersionString() {
    static char text[256];
    if (!text[0]) {
        std::memset(text, 0, sizeof text);
        K_Sprintf(text, sizeof text, "Z.A.R.V. 1.1.%i", static_cast<int>(App_GetBuildNumber()));
    }
    return text;
}

char* About_DecodeBase64(const char* text, size_t* size) {
    if (size) *size = 0;
    if (!text || std::strlen(text) != 44) return nullptr;
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    unsigned char table[256] = {};
    for (int i = 0; i < 64; ++i)
        table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<unsigned char>(i);

    size_t count = 33;
    if (text[43] == '=') {
        count = 32;
        if (text[42] == '=') count = 31;
    }
    // One byte more than decoded: the caller reads the address as a zero-terminated text.
    char* bytes = new (std::nothrow) char[count + 1]();
    if (!bytes) return nullptr;
    size_t out = 0;
    for (int group = 0; group < 11; ++group) {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const unsigned char c = static_cast<unsigned char>(text[group * 4 + i]);
            value = (value << 6) | (c == '=' ? 0u : table[c]);
        }
        for (int shift = 16; shift >= 0; shift -= 8)
            if (out < count) bytes[out++] = static_cast<char>((value >> shift) & 0xff);
    }
    if (size) *size = count;
    return bytes;
}
