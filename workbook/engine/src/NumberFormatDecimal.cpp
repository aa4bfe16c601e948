#include "NumberFormatDecimal.h"

#include "Concat.h"

#include <algorithm>
#include <charconv>

namespace xls::numfmt {
namespace {

constexpr int kSignificant = 15;

// Rounds digits (a whole number written in decimal) to `count` digits, half up; a carry lengthens it.
void roundDigits(Decimal& decimal, int count) {
    if (int(decimal.digits.size()) <= count) return;
    const bool up = decimal.digits[size_t(count)] >= '5';
    decimal.digits.resize(size_t(count));
    if (!up) return;
    int index = count - 1;
    while (index >= 0 && decimal.digits[size_t(index)] == '9') decimal.digits[size_t(index--)] = '0';
    if (index >= 0) {
        ++decimal.digits[size_t(index)];
    } else {
        decimal.digits.insert(decimal.digits.begin(), '1');
        decimal.digits.pop_back();
        ++decimal.exponent;
    }
}

}  // namespace

Decimal significantDigits(double magnitude, int count) {
    if (magnitude == 0) return Decimal{"0", 0};
    // to_chars writes the C form whatever the process's locale: "1.10797000000000e+05".
    char text[40];
    const char* end =
        std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific, kSignificant - 1).ptr;
    Decimal decimal;
    const char* c = text;
    for (; c != end && *c != 'e'; ++c)
        if (*c != '.') decimal.digits += *c;
    if (c != end && *++c == '+') ++c;
    std::from_chars(c, end, decimal.exponent);
    roundDigits(decimal, std::clamp(count, 1, kSignificant));
    while (decimal.digits.size() > 1 && decimal.digits.back() == '0') decimal.digits.pop_back();
    return decimal;
}

std::string fixedText(double magnitude, int decimals) {
    const std::string zero = decimals > 0 ? concat({"0.", std::string(size_t(decimals), '0')}) : "0";
    if (magnitude == 0) return zero;
    Decimal decimal = significantDigits(magnitude);
    const int kept = decimal.exponent + 1 + decimals;  // digits from the first significant one down to the last decimal
    if (kept < 0) return zero;
    if (kept == 0) {
        if (decimal.digits[0] < '5') return zero;
        decimal = Decimal{"1", -decimals};
    } else {
        roundDigits(decimal, kept);
    }
    const int length = decimal.exponent + 1 + decimals;
    std::string digits = decimal.digits;
    digits.resize(size_t(std::max(length, 0)), '0');
    std::string integer, fraction;
    if (decimal.exponent >= 0) {
        integer = digits.substr(0, size_t(decimal.exponent) + 1);
        fraction = digits.substr(size_t(decimal.exponent) + 1);
    } else {
        integer = "0";
        fraction = std::string(size_t(-decimal.exponent - 1), '0') + digits;
    }
    return decimals > 0 ? integer + "." + fraction : integer;
}

}  // namespace xls::numfmt
