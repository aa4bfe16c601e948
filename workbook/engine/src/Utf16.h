// Text conversion between the model's UTF-8 and the file's UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace xls::biff {

// Invalid UTF-8 sequences become U+FFFD.
std::u16string toUtf16(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::u16string_view utf16);

inline bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace xls::biff
