#include "TypedInputNumber.h"

#include "TypedInputText.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace xls::typed {
namespace {

constexpr size_t kSignificantDigits = 15;
constexpr size_t kMaxFractionDigits = 3;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

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

// Group separators the user may type: the locale's, and a plain space where the locale groups with a no-break space.
std::vector<std::string_view> groupSeparators(const LocaleInfo& locale) {
    std::vector<std::string_view> separators{locale.group};
    if (locale.group == "\xC2\xA0" || locale.group == "\xE2\x80\xAF") separators.push_back(" ");
    return separators;
}

// Digits with grouping only at thousands: "4,500" and "1,234,567" but not "45,00" or "1,2345".
bool readInteger(std::string_view& text, const LocaleInfo& locale, std::string& digits, bool& grouped) {
    size_t groupLength = 0;
    bool inGroups = false;
    while (!text.empty()) {
        if (isDigit(text.front())) {
            digits += text.front();
            ++groupLength;
            text.remove_prefix(1);
            continue;
        }
        bool separator = false;
        for (std::string_view group : groupSeparators(locale)) {
            if (!group.empty() && group != locale.decimal && text.starts_with(group) && text.size() > group.size() &&
                isDigit(text[group.size()])) {
                if (groupLength == 0 || (inGroups ? groupLength != 3 : groupLength > 3)) return false;
                text.remove_prefix(group.size());
                inGroups = grouped = separator = true;
                groupLength = 0;
                break;
            }
        }
        if (!separator) break;
    }
    return !inGroups || groupLength == 3;
}

std::optional<double> toDouble(const std::string& ascii) {
    double value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc() || end != ascii.data() + ascii.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

// A spreadsheet keeps 15 significant digits of what is typed: the digits after them become zeros.
void keepSignificantDigits(std::string& integer, std::string& fraction) {
    size_t significant = 0;
    for (std::string* digits : {&integer, &fraction})
        for (char& digit : *digits) {
            if (significant == kSignificantDigits)
                digit = '0';
            else if (significant > 0 || digit != '0')
                ++significant;
        }
}

std::string_view readDigits(std::string_view& text) {
    size_t end = 0;
    while (end < text.size() && isDigit(text[end])) ++end;
    const std::string_view digits = text.substr(0, end);
    text.remove_prefix(end);
    return digits;
}

// A whole number and a proper or improper fraction: "1 1/2", "0 3/16". A bare "1/2" is a date.
std::optional<double> parseFraction(std::string_view text, TypedNumber& number) {
    std::string whole(readDigits(text)), fraction;
    const size_t blanks = text.size();
    text = trimBlanks(text);
    if (whole.empty() || blanks == text.size()) return std::nullopt;
    const std::string_view numerator = readDigits(text);
    if (numerator.empty() || numerator.size() > kMaxFractionDigits || !text.starts_with('/')) return std::nullopt;
    text.remove_prefix(1);
    const std::string_view denominator = readDigits(text);
    if (!text.empty() || denominator.empty() || denominator.size() > kMaxFractionDigits) return std::nullopt;
    const int over = std::stoi(std::string(denominator));
    if (over == 0) return std::nullopt;
    keepSignificantDigits(whole, fraction);
    const std::optional<double> wholeValue = toDouble(whole);
    if (!wholeValue) return std::nullopt;
    number.fractionDigits = int(denominator.size());
    return *wholeValue + std::stoi(std::string(numerator)) / double(over);
}

// The bare number: [digits][decimal digits][E[sign]digits], nothing else.
std::optional<double> parseCore(std::string_view text, const LocaleInfo& locale, TypedNumber& number) {
    std::string integer, fraction, exponent;
    if (!readInteger(text, locale, integer, number.grouped)) return std::nullopt;
    if (!locale.decimal.empty() && text.starts_with(locale.decimal)) {
        text.remove_prefix(locale.decimal.size());
        while (!text.empty() && isDigit(text.front())) fraction += text.front(), text.remove_prefix(1);
        number.decimals = true;
    }
    if (integer.empty() && fraction.empty()) return std::nullopt;
    if (!text.empty() && (text.front() == 'E' || text.front() == 'e')) {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            exponent += text.front(), text.remove_prefix(1);
        const size_t signLength = exponent.size();
        while (!text.empty() && isDigit(text.front())) exponent += text.front(), text.remove_prefix(1);
        if (exponent.size() == signLength) return std::nullopt;
        number.exponent = true;
    }
    if (!text.empty()) return std::nullopt;
    keepSignificantDigits(integer, fraction);
    std::string ascii = (integer.empty() ? "0" : integer) + (fraction.empty() ? "" : "." + fraction);
    if (number.exponent) ascii += "e" + exponent;
    return toDouble(ascii);
}

std::string currencyFormat(const LocaleInfo& locale, bool decimals) {
    const std::string number = decimals ? "#,##0.00" : "#,##0";
    const std::string symbol = "\"" + locale.currencySymbol + "\"";
    const std::string space = locale.currencySpaced ? " " : "";
    const std::string positive = locale.currencyBefore ? symbol + space + number : number + space + symbol;
    if (locale.negativeParentheses) return positive + "_);(" + positive + ")";
    return positive + ";-" + positive;
}

}  // namespace

std::optional<TypedNumber> parseTypedNumber(std::string_view text, const LocaleInfo& locale) {
    text = trimBlanks(text);
    TypedNumber number;
    bool open = false, close = false;
    std::optional<bool> negative;
    // Each decoration appears at most once, before or after the number.
    for (int decoration = 0; decoration < 3; ++decoration) {
        if (!open && consumePrefix(text, "("))
            open = true;
        else if (!negative.has_value() && consumePrefix(text, "-"))
            negative = true;
        else if (!negative.has_value() && consumePrefix(text, "+"))
            negative = false;
        else if (!number.currency && consumePrefix(text, locale.currencySymbol))
            number.currency = true;
        else
            break;
    }
    for (int decoration = 0; decoration < 4; ++decoration) {
        if (open && !close && consumeSuffix(text, ")"))
            close = true;
        else if (!negative.has_value() && consumeSuffix(text, "-"))
            negative = true;
        else if (!negative.has_value() && consumeSuffix(text, "+"))
            negative = false;
        else if (!number.percent && consumeSuffix(text, "%"))
            number.percent = true;
        else if (!number.currency && consumeSuffix(text, locale.currencySymbol))
            number.currency = true;
        else
            break;
    }
    if (open != close || (open && negative.has_value()) || (number.percent && number.currency)) return std::nullopt;
    std::optional<double> value = parseCore(text, locale, number);
    if (!value && !number.percent && !number.currency) value = parseFraction(text, number);
    if (!value) return std::nullopt;
    number.value = *value;
    if (open || negative.value_or(false)) number.value = -number.value;
    if (number.percent) number.value /= 100;
    if (number.value == 0) number.value = 0;  // "-0" is zero
    return number;
}

std::optional<std::string> formatForTypedNumber(const TypedNumber& number, const LocaleInfo& locale) {
    if (number.fractionDigits > 0) {
        const std::string places(size_t(number.fractionDigits), '?');
        return "# " + places + "/" + places;
    }
    if (number.percent) return number.decimals ? "0.00%" : "0%";
    if (number.currency) return currencyFormat(locale, number.decimals);
    if (number.exponent) return "0.00E+00";
    if (number.grouped) return number.decimals ? "#,##0.00" : "#,##0";
    return std::nullopt;
}

}  // namespace xls::typed
