#include "TypedInputText.h"

#include "xls/Model.h"

#include <array>
#include <cstdint>

namespace xls::typed {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
constexpr std::array<std::string_view, 3> kBlanks{" ", "\xC2\xA0", "\xE2\x80\xAF"};

// Length of a well-formed sequence at `at`, or 0.
size_t wellFormedLength(std::string_view text, size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return 1;
    size_t length = 0;
    uint32_t codePoint = 0;
    uint32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    else
        return 0;
    if (text.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < smallest || surrogate || codePoint > 0x10FFFF ? 0 : length;
}

}  // namespace

std::string validUtf8(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const size_t length = wellFormedLength(text, at);
        if (length == 0) {
            result += kReplacement;
            ++at;
        } else {
            result.append(text.substr(at, length));
            at += length;
        }
    }
    return result;
}

std::string cutToCellLimit(std::string text) {
    size_t units = 0;
    size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const size_t needed = length == 4 ? 2 : 1;
        if (units + needed > kMaxTextLength) break;
        units += needed;
        at += length;
    }
    text.resize(at);
    return text;
}

std::string_view trimBlanks(std::string_view text) {
    for (bool trimmed = true; trimmed && !text.empty();) {
        trimmed = false;
        for (std::string_view blank : kBlanks) {
            if (text.starts_with(blank)) text.remove_prefix(blank.size()), trimmed = true;
            if (text.ends_with(blank)) text.remove_suffix(blank.size()), trimmed = true;
        }
    }
    return text;
}

}  // namespace xls::typed
