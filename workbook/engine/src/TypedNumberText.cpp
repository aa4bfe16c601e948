#include "TypedNumberText.h"

#include "TypedInputText.h"
#include "xls/AsciiText.h"

#include <algorithm>
#include <vector>

namespace xls::typed {
namespace {

bool consumePrefix(std::string_view& text, std::string_view prefix) {
    if (prefix.empty() || !text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    text = trimBlanks(text);
    return true;
}

bool consumeSuffix(std::string_view& text, std::string_view suffix) {
    if (suffix.empty() || !text.ends_with(suffix)) return false;
    text.remove_suffix(suffix.size());
    text = trimBlanks(text);
    return true;
}

bool consumeMinus(std::string_view& text, const LocaleInfo& locale, bool before) {
    const auto consume = before ? consumePrefix : consumeSuffix;
    return consume(text, "-") || (locale.minusSign != "-" && consume(text, locale.minusSign));
}

bool isBlank(std::string_view text) { return text == " " || text == "\xC2\xA0" || text == "\xE2\x80\xAF"; }

// People type an ordinary space where the settings group with a no-break one, and the other way round.
std::vector<std::string_view> groupSeparators(const LocaleInfo& locale) {
    if (isBlank(locale.group)) return {" ", "\xC2\xA0", "\xE2\x80\xAF"};
    return {locale.group};
}

// The length of a grouping separator at the start of text that a digit follows, or 0.
size_t groupSeparatorAt(std::string_view text, const LocaleInfo& locale) {
    if (locale.groupSize <= 0) return 0;
    for (std::string_view group : groupSeparators(locale))
        if (!group.empty() && group != locale.decimal && text.starts_with(group) && text.size() > group.size() &&
            isAsciiDigit(text[group.size()]))
            return group.size();
    return 0;
}

// Digits grouped as the locale groups them: "4,500" and "1,234,567" (or "12,34,567" under Indian
// settings), but not "45,00", "1,23" or "1234,567".
bool readInteger(std::string_view& text, const LocaleInfo& locale, DecimalDigits& digits) {
    std::vector<size_t> groups{0};
    while (!text.empty()) {
        if (isAsciiDigit(text.front())) {
            digits.integer += text.front();
            ++groups.back();
            text.remove_prefix(1);
        } else if (const size_t separator = groupSeparatorAt(text, locale)) {
            text.remove_prefix(separator);
            groups.push_back(0);
        } else {
            break;
        }
    }
    if (groups.size() == 1) return true;
    digits.grouped = true;
    const auto last = size_t(locale.groupSize);
    const auto inner = size_t(locale.secondaryGroupSize > 0 ? locale.secondaryGroupSize : locale.groupSize);
    if (groups.back() != last) return false;
    if (!std::all_of(groups.begin() + 1, groups.end() - 1, [inner](size_t size) { return size == inner; }))
        return false;
    return groups.front() >= 1 && groups.front() <= (groups.size() > 2 ? inner : last);
}

}  // namespace

std::string_view readDigits(std::string_view& text) {
    size_t end = 0;
    while (end < text.size() && isAsciiDigit(text[end])) ++end;
    const std::string_view digits = text.substr(0, end);
    text.remove_prefix(end);
    return digits;
}

std::optional<Decorated> stripDecorations(std::string_view text, const LocaleInfo& locale) {
    text = trimBlanks(text);
    Decorated decorated;
    bool open = false, close = false;
    std::optional<bool> negative;
    for (int decoration = 0; decoration < 3; ++decoration) {
        if (!open && consumePrefix(text, "("))
            open = true;
        else if (!negative.has_value() && consumeMinus(text, locale, true))
            negative = true;
        else if (!negative.has_value() && consumePrefix(text, "+"))
            negative = false;
        else if (!decorated.currency && consumePrefix(text, locale.currencySymbol))
            decorated.currency = true;
        else
            break;
    }
    for (int decoration = 0; decoration < 4; ++decoration) {
        if (open && !close && consumeSuffix(text, ")"))
            close = true;
        else if (!negative.has_value() && consumeMinus(text, locale, false))
            negative = true;
        else if (!negative.has_value() && consumeSuffix(text, "+"))
            negative = false;
        else if (!decorated.percent && consumeSuffix(text, "%"))
            decorated.percent = true;
        else if (!decorated.currency && consumeSuffix(text, locale.currencySymbol))
            decorated.currency = true;
        else
            break;
    }
    if (open != close || (open && negative.has_value()) || (decorated.percent && decorated.currency))
        return std::nullopt;
    decorated.number = text;
    decorated.negative = open || negative.value_or(false);
    return decorated;
}

std::optional<DecimalDigits> readDecimalDigits(std::string_view text, const LocaleInfo& locale) {
    DecimalDigits digits;
    if (!readInteger(text, locale, digits)) return std::nullopt;
    if (!locale.decimal.empty() && text.starts_with(locale.decimal)) {
        text.remove_prefix(locale.decimal.size());
        digits.fraction = std::string(readDigits(text));
        digits.decimals = true;
    }
    if (digits.integer.empty() && digits.fraction.empty()) return std::nullopt;
    if (!text.empty() && (text.front() == 'E' || text.front() == 'e')) {
        text.remove_prefix(1);
        const bool negativeExponent = text.starts_with('-');
        if (negativeExponent || text.starts_with('+')) text.remove_prefix(1);
        const std::string_view exponent = readDigits(text);
        if (exponent.empty()) return std::nullopt;
        for (const char digit : exponent)
            digits.exponent = std::min(digits.exponent * 10 + (digit - '0'), kExponentBound);
        if (negativeExponent) digits.exponent = -digits.exponent;
        digits.exponentWritten = true;
    }
    if (!text.empty()) return std::nullopt;
    return digits;
}

}  // namespace xls::typed
