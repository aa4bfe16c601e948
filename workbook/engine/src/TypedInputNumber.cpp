#include "TypedInputNumber.h"

#include "TypedInputText.h"
#include "TypedNumberText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace xls::typed {
namespace {

constexpr size_t kSignificantDigits = 15;
constexpr size_t kMaxFractionDigits = 3;

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

// The decimal digits as the nearest double, after the 15 significant digits a spreadsheet keeps.
std::optional<double> toNumber(DecimalDigits digits) {
    keepSignificantDigits(digits.integer, digits.fraction);
    std::string ascii =
        (digits.integer.empty() ? "0" : digits.integer) + (digits.fraction.empty() ? "" : "." + digits.fraction);
    if (digits.exponentWritten) {
        std::array<char, 24> exponent{};
        const auto written = std::to_chars(exponent.data(), exponent.data() + exponent.size(), digits.exponent);
        ascii += "e" + std::string(exponent.data(), written.ptr);
    }
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
    const std::optional<Decorated> decorated = stripDecorations(text, locale);
    if (!decorated) return std::nullopt;
    TypedNumber number;
    number.percent = decorated->percent;
    number.currency = decorated->currency;
    std::optional<double> value;
    if (const std::optional<DecimalDigits> digits = readDecimalDigits(decorated->number, locale)) {
        number.grouped = digits->grouped;
        number.decimals = digits->decimals;
        number.exponent = digits->exponentWritten;
        value = toNumber(*digits);
    }
    if (!value && !number.percent && !number.currency) value = parseFraction(decorated->number, number);
    if (!value) return std::nullopt;
    number.value = *value;
    if (decorated->negative) number.value = -number.value;
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
