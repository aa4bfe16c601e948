#include "NumberFormatGeneral.h"

#include "Concat.h"
#include "NumberFormatDecimal.h"

#include <algorithm>
#include <cmath>

namespace xls::numfmt {
namespace {

constexpr int kSignificantDigits = 15;        // what a spreadsheet keeps of a double
constexpr int kSmallestDecimalExponent = -4;  // below 0.0001 General turns scientific

void stripTrailingZeros(std::string& number) {
    if (number.find('.') == std::string::npos) return;
    while (number.back() == '0') number.pop_back();
    if (number.back() == '.') number.pop_back();
}

std::string decimalForm(double magnitude, int exponent, int room) {
    const int integerDigits = std::max(1, exponent + 1);
    const int decimals = std::clamp(std::min(room - integerDigits - 1, kSignificantDigits - 1 - exponent), 0, 30);
    std::string text = fixedText(magnitude, decimals);
    stripTrailingZeros(text);
    return text;
}

std::string scientificForm(double magnitude, int exponent, int room) {
    const int exponentLength = std::abs(exponent) >= 100 ? 5 : 4;
    const int decimals = std::clamp(room - 2 - exponentLength, 0, kSignificantDigits - 1);
    const Decimal rounded = significantDigits(magnitude, decimals + 1);
    std::string text = rounded.digits.substr(0, 1);
    if (rounded.digits.size() > 1) text += concat({".", rounded.digits.substr(1)});
    const int shown = std::abs(rounded.exponent);
    return text + (rounded.exponent < 0 ? "E-" : "E+") + (shown < 10 ? "0" : "") + std::to_string(shown);
}

}  // namespace

std::string generalNumberText(double value, int maxChars, const LocaleInfo& locale) {
    if (value == 0) return "0";
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);
    const int room = std::max(1, maxChars - int(negative));
    const int exponent = int(std::floor(std::log10(magnitude)));

    std::string body;
    if (exponent >= kSmallestDecimalExponent && exponent + 1 <= room) {
        body = decimalForm(magnitude, exponent, room);
        // Rounding up may add a digit (99999999999.9) or leave nothing significant.
        if (int(body.size()) > room || body == "0") body.clear();
    }
    if (body.empty()) body = scientificForm(magnitude, exponent, room);

    if (const size_t point = body.find('.'); point != std::string::npos) body.replace(point, 1, locale.decimal);
    return negative ? "-" + body : body;
}

}  // namespace xls::numfmt
