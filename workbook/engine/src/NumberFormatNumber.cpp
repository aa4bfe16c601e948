#include "NumberFormatNumber.h"

#include "NumberFormatDecimal.h"
#include "NumberFormatGeneral.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace xls::numfmt {
namespace {

constexpr int kMaxPrintedDecimals = 30;
constexpr int kMaxDenominatorDigits = 4;

enum class Region { Integer, Fraction, Exponent, Numerator, Denominator };

// The digits a value puts into each group of placeholders.
struct Digits {
    std::string integer;   // no leading zeros: empty for values below one
    std::string fraction;  // as many as the fraction placeholders ask for
    std::string exponent;
    bool negativeExponent = false;
    std::string numerator, denominator;
    bool fractionBlank = false;  // a whole number under a fraction code: the fraction is left blank
};

struct Layout {
    std::vector<Region> regionOf;  // per token
    int count[5] = {0, 0, 0, 0, 0};
    bool hasExponent = false;
    bool hasFraction = false;
    int fixedDenominator = 0;

    int placeholders(Region region) const { return count[int(region)]; }
};

Layout layoutOf(const Section& section) {
    const std::vector<Token>& tokens = section.tokens;
    Layout layout;
    layout.regionOf.assign(tokens.size(), Region::Integer);
    const auto slash =
        std::find_if(tokens.begin(), tokens.end(), [](const Token& t) { return t.kind == TokenKind::FractionSlash; });
    if (slash != tokens.end()) {
        layout.hasFraction = true;
        const size_t at = size_t(slash - tokens.begin());
        size_t numeratorStart = at;
        while (numeratorStart > 0 && tokens[numeratorStart - 1].kind == TokenKind::Digit) --numeratorStart;
        for (size_t i = numeratorStart; i < at; ++i) layout.regionOf[i] = Region::Numerator;
        for (size_t i = at; i < tokens.size(); ++i) layout.regionOf[i] = Region::Denominator;
        if (at + 1 < tokens.size() && tokens[at + 1].kind == TokenKind::Literal)
            std::from_chars(tokens[at + 1].text.data(), tokens[at + 1].text.data() + tokens[at + 1].text.size(),
                            layout.fixedDenominator);
    } else {
        Region region = Region::Integer;
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == TokenKind::DecimalPoint && region == Region::Integer) region = Region::Fraction;
            if (tokens[i].kind == TokenKind::Exponent && !layout.hasExponent) {
                region = Region::Exponent;
                layout.hasExponent = true;
            }
            layout.regionOf[i] = region;
        }
    }
    for (size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i].kind == TokenKind::Digit) ++layout.count[int(layout.regionOf[i])];
    return layout;
}

std::string withoutLeadingZeros(std::string digits) {
    const size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? std::string() : digits.substr(first);
}

void splitAtPoint(const std::string& text, std::string& integer, std::string& fraction) {
    const size_t point = text.find('.');
    integer = withoutLeadingZeros(text.substr(0, point));
    fraction = point == std::string::npos ? std::string() : text.substr(point + 1);
}

int floorDivide(int value, int step) { return value >= 0 ? value / step : -((-value + step - 1) / step); }

// Mantissa and exponent with the exponent a multiple of the integer placeholders (engineering style).
void scientificDigits(double value, int integerPlaceholders, int decimals, Digits& digits) {
    const int step = std::max(1, integerPlaceholders);
    if (value == 0) {
        digits.fraction.assign(size_t(decimals), '0');
        digits.exponent.assign(1, '0');  // assigning "0" trips GCC 12's -Wrestrict at -O3
        return;
    }
    // Rounding the mantissa may carry into the next power of ten: settle the exponent first.
    int exponent = significantDigits(value).exponent;
    Decimal rounded;
    for (int attempt = 0; attempt < 2; ++attempt) {
        rounded = significantDigits(value, 1 + exponent - floorDivide(exponent, step) * step + decimals);
        if (rounded.exponent == exponent) break;
        exponent = rounded.exponent;
    }
    const int shift = exponent - floorDivide(exponent, step) * step;
    std::string significant = rounded.digits;
    significant.resize(size_t(1 + shift + decimals), '0');
    digits.integer = withoutLeadingZeros(significant.substr(0, size_t(shift) + 1));
    digits.fraction = significant.substr(size_t(shift) + 1);
    const int shown = exponent - shift;
    digits.negativeExponent = shown < 0;
    digits.exponent = std::to_string(std::abs(shown));
}

// The closest fraction whose denominator fits the placeholders (or the fixed denominator).
void fractionDigits(double value, const Layout& layout, Digits& digits) {
    const bool hasWhole = layout.placeholders(Region::Integer) > 0;
    double whole = hasWhole ? std::floor(value) : 0;
    const double part = value - whole;
    long long bestNumerator = 0;
    long long bestDenominator = 1;
    if (layout.fixedDenominator > 0) {
        bestDenominator = layout.fixedDenominator;
        bestNumerator = std::llround(part * double(bestDenominator));
    } else {
        const int denominatorDigits = std::clamp(layout.placeholders(Region::Denominator), 1, kMaxDenominatorDigits);
        const long long largest = (long long)std::pow(10, denominatorDigits) - 1;
        double bestError = 2;
        for (long long denominator = 1; denominator <= largest; ++denominator) {
            const long long numerator = std::llround(part * double(denominator));
            const double error = std::fabs(part - double(numerator) / double(denominator));
            if (error < bestError) bestError = error, bestNumerator = numerator, bestDenominator = denominator;
        }
    }
    if (hasWhole && bestNumerator == bestDenominator) whole += 1, bestNumerator = 0;
    digits.integer = withoutLeadingZeros(fixedText(whole, 0));
    digits.fractionBlank = bestNumerator == 0;
    if (digits.fractionBlank && digits.integer.empty()) digits.integer.assign(1, '0');
    digits.numerator = std::to_string(bestNumerator);
    digits.denominator = std::to_string(bestDenominator);
}

Digits digitsFor(double value, const Layout& layout) {
    Digits digits;
    const int decimals = std::min(layout.placeholders(Region::Fraction), kMaxPrintedDecimals);
    if (layout.hasFraction)
        fractionDigits(value, layout, digits);
    else if (layout.hasExponent)
        scientificDigits(value, layout.placeholders(Region::Integer), decimals, digits);
    else
        splitAtPoint(fixedText(value, decimals), digits.integer, digits.fraction);
    return digits;
}

class SectionWriter {
public:
    SectionWriter(const Section& section, const Layout& layout, const Digits& digits, const LocaleInfo& locale,
                  PieceWriter& out)
        : section_(section), layout_(layout), digits_(digits), locale_(locale), out_(out) {}

    void write(double magnitude, int maxGeneralChars) {
        const std::vector<Token>& tokens = section_.tokens;
        for (size_t i = 0; i < tokens.size(); ++i) {
            const Token& token = tokens[i];
            const Region region = layout_.regionOf[i];
            switch (token.kind) {
            case TokenKind::Literal: literal(token.text, region); break;
            case TokenKind::Pad: out_.pad(token.text); break;
            case TokenKind::Fill: out_.fill(token.text); break;
            case TokenKind::Percent: out_.text("%"); break;
            case TokenKind::General: out_.text(generalNumberText(magnitude, maxGeneralChars, locale_)); break;
            case TokenKind::DecimalPoint:
                if (layout_.placeholders(Region::Integer) == 0) allDigits(digits_.integer, section_.grouping);
                out_.text(locale_.decimal);
                break;
            case TokenKind::Exponent:
                out_.text(digits_.negativeExponent ? "E-" : token.text == "+" ? "E+" : "E");
                break;
            case TokenKind::FractionSlash: blankable("/"); break;
            case TokenKind::Digit: digit(token.digit, region); break;
            default: break;
            }
        }
    }

private:
    // A literal of the fraction part (a fixed denominator) disappears with a blank fraction.
    void literal(const std::string& text, Region region) {
        if (region == Region::Denominator && digits_.fractionBlank)
            out_.pad(text);
        else
            out_.text(text);
    }

    void blankable(std::string_view text) {
        if (digits_.fractionBlank)
            out_.pad(text);
        else
            out_.text(text);
    }

    void blank(char placeholder) {
        if (placeholder == '0')
            out_.text("0");
        else if (placeholder == '?')
            out_.pad("0");
    }

    void digit(char placeholder, Region region) {
        int& ordinal = seen_[int(region)];
        const int total = layout_.placeholders(region);
        const int rightIndex = total - 1 - ordinal;
        ++ordinal;
        switch (region) {
        case Region::Integer: return aligned(digits_.integer, placeholder, rightIndex, ordinal == 1, section_.grouping);
        case Region::Exponent: return aligned(digits_.exponent, placeholder, rightIndex, ordinal == 1, false);
        case Region::Numerator:
            if (digits_.fractionBlank) return blank(placeholder == '0' ? '?' : placeholder);
            return aligned(digits_.numerator, placeholder, rightIndex, ordinal == 1, false);
        case Region::Denominator: {
            // Denominators are left-aligned.
            const size_t index = size_t(ordinal - 1);
            if (digits_.fractionBlank) return blank(placeholder == '0' ? '?' : placeholder);
            if (index < digits_.denominator.size()) {
                out_.text(ordinal == total ? std::string_view(digits_.denominator).substr(index)
                                           : std::string_view(digits_.denominator).substr(index, 1));
                return;
            }
            return blank(placeholder);
        }
        case Region::Fraction: {
            const size_t index = size_t(ordinal - 1);
            const size_t significant = digits_.fraction.find_last_not_of('0');
            if (index < digits_.fraction.size() && significant != std::string::npos && index <= significant)
                out_.text(std::string_view(digits_.fraction).substr(index, 1));
            else
                blank(placeholder);
            return;
        }
        }
    }

    // Right-aligned digits: the first placeholder takes every digit that has no placeholder of its own.
    void aligned(const std::string& digits, char placeholder, int rightIndex, bool first, bool grouping) {
        const int length = int(digits.size());
        if (first)
            for (int index = length - 1; index > rightIndex; --index) digitAt(digits, index, grouping);
        if (rightIndex < length)
            digitAt(digits, rightIndex, grouping);
        else {
            blank(placeholder);
            if (placeholder == '0' && grouping && rightIndex > 0 && rightIndex % 3 == 0) out_.text(locale_.group);
        }
    }

    void allDigits(const std::string& digits, bool grouping) {
        for (int index = int(digits.size()) - 1; index >= 0; --index) digitAt(digits, index, grouping);
    }

    // rightIndex counts from the last digit (0 = units).
    void digitAt(const std::string& digits, int rightIndex, bool grouping) {
        out_.text(std::string_view(digits).substr(digits.size() - 1 - size_t(rightIndex), 1));
        if (grouping && rightIndex > 0 && rightIndex % 3 == 0) out_.text(locale_.group);
    }

    const Section& section_;
    const Layout& layout_;
    const Digits& digits_;
    const LocaleInfo& locale_;
    PieceWriter& out_;
    int seen_[5] = {0, 0, 0, 0, 0};
};

}  // namespace

void writeNumberSection(const Section& section, double magnitude, bool showMinus, const LocaleInfo& locale,
                        int maxGeneralChars, PieceWriter& out) {
    double scaled = magnitude * std::pow(100.0, section.percentCount) / std::pow(1000.0, section.thousandsScale);
    if (!std::isfinite(scaled)) scaled = magnitude;
    const Layout layout = layoutOf(section);
    const Digits digits = digitsFor(scaled, layout);
    if (showMinus) out.text("-");
    SectionWriter(section, layout, digits, locale, out).write(magnitude, maxGeneralChars);
}

}  // namespace xls::numfmt
