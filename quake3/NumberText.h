// Numbers in map text, independent of the process locale (the plugin never touches it):
// printf's "%g", "%f", "%.0f" and "%i" spellings and the shortest exact spelling through
// to_chars, and token parsing through from_chars.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>

namespace NumberText {

// printf "%g" of the float (promoted to double, six significant digits); a negative zero is
// written "0".
inline void AppendG(std::string& out, float value) {
    char buf[64];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, double(value) + 0.0, std::chars_format::general, 6);
    out.append(buf, result.ptr);
}

// The shortest text that reads back to the same float (in fixed or exponent form, whichever is
// shorter); a negative zero is written "0". Numbers written this way survive any number of
// save and load cycles unchanged.
inline void AppendShortest(std::string& out, float value) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value + 0.0f);
    out.append(buf, result.ptr);
}

// printf "%.<decimals>f".
inline void AppendFixed(std::string& out, float value, int decimals) {
    char buf[400];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, double(value), std::chars_format::fixed, decimals);
    out.append(buf, result.ptr);
}

// The shortest text that reads back to the same double: a number read as a double is written
// back as it was read (to its last digit, up to 15 significant digits), in fixed or exponent
// form, whichever is shorter; a negative zero is written "0".
inline void AppendShortest(std::string& out, double value) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value + 0.0);
    out.append(buf, result.ptr);
}

inline void AppendInt(std::string& out, int64_t value) {
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, result.ptr);
}

// The whole token as a float ("+" allowed in front, as strtod takes it). False for anything
// else, also for text after the number.
inline bool ParseFloat(const char* text, float* out) {
    const char* first = text;
    if (*first == '+') ++first;
    const char* last = first;
    while (*last)
        ++last;
    float value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || first == last) return false;
    *out = value;
    return true;
}

// The whole token as a double, as ParseFloat takes it.
inline bool ParseDouble(const char* text, double* out) {
    const char* first = text;
    if (*first == '+') ++first;
    const char* last = first;
    while (*last)
        ++last;
    double value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || first == last) return false;
    *out = value;
    return true;
}

// The whole token as an int32; a number with a fraction is taken by its whole part.
inline bool ParseInt(const char* text, int32_t* out) {
    const char* first = text;
    if (*first == '+') ++first;
    const char* last = first;
    while (*last)
        ++last;
    int32_t value = 0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc() && result.ptr == last && first != last) {
        *out = value;
        return true;
    }
    float real = 0;
    if (!ParseFloat(text, &real) || !(real > -2147483648.0f && real < 2147483648.0f)) return false;
    *out = int32_t(real);
    return true;
}

} // namespace NumberText
