// Letter and digit classes of format codes, references and function names: ASCII only. The C
// library's versions follow the process's locale, under which a Windows-1252 "Ä" counts as a letter
// and a UTF-8 lead byte lowers to another character's.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace xls {

constexpr bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool isAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool isAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool isAsciiLetter(char c) { return isAsciiUpper(c) || isAsciiLower(c); }
constexpr bool isAsciiLetterOrDigit(char c) { return isAsciiLetter(c) || isAsciiDigit(c); }
constexpr char asciiUpper(char c) { return isAsciiLower(c) ? char(c - 'a' + 'A') : c; }
constexpr char asciiLower(char c) { return isAsciiUpper(c) ? char(c - 'A' + 'a') : c; }

inline std::string asciiLowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), asciiLower);
    return lowered;
}

// Equal but for the case of ASCII letters; every other byte must match exactly.
constexpr bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

}  // namespace xls
