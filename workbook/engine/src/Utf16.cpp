#include "Utf16.h"

#include <cstdint>

namespace xls::biff {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(char16_t(cp));
        return;
    }
    cp -= 0x10000;
    out.push_back(char16_t(0xD800 + (cp >> 10)));
    out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | cp >> 6));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | cp >> 12));
        out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | cp >> 18));
        out.push_back(char(0x80 | (cp >> 12 & 0x3F)));
        out.push_back(char(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

// Decodes one code point at text[i], advancing i; malformed input yields U+FFFD.
char32_t decodeUtf8(std::string_view text, size_t& i) {
    const uint8_t lead = uint8_t(text[i++]);
    if (lead < 0x80) return lead;
    int extra;
    char32_t cp;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (uint8_t(text[i]) & 0xC0) != 0x80) return kReplacement;
        cp = cp << 6 | (uint8_t(text[i++]) & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

}  // namespace

std::u16string toUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) appendUtf16(out, decodeUtf8(utf8, i));
    return out;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (isHighSurrogate(unit) && i + 1 < utf16.size() && isLowSurrogate(utf16[i + 1])) {
            appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(utf16[i + 1]) - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace xls::biff
