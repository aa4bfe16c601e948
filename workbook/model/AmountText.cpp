#include "workbook/model/AmountText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

struct Signed {
    QString rest;
    bool negative = false;
};

// Removes one sign, currency symbol or pair of parentheses at a time from either end.
std::optional<Signed> StripDecorations(QString text, const QLocale& locale) {
    const QString symbol = locale.currencySymbol();
    bool sign = false;
    bool negative = false;
    bool currency = false;
    bool parentheses = false;
    for (bool changed = true; changed;) {
        changed = false;
        text = text.trimmed();
        if (text.isEmpty()) break;
        if (!parentheses && !sign && text.startsWith(u'(') && text.endsWith(u')') && text.size() > 1) {
            text = text.mid(1, text.size() - 2);
            parentheses = negative = changed = true;
            continue;
        }
        const QChar first = text.front();
        const QChar last = text.back();
        const auto isSign = [&](QChar c) {
            return c == u'+' || c == u'-' || c == locale.negativeSign() || c == locale.positiveSign();
        };
        if (!sign && !parentheses && (isSign(first) || isSign(last))) {
            const QChar c = isSign(first) ? first : last;
            negative = c == u'-' || c == locale.negativeSign();
            text = isSign(first) ? text.mid(1) : text.chopped(1);
            sign = changed = true;
            continue;
        }
        if (!currency && !symbol.isEmpty() && (text.startsWith(symbol) || text.endsWith(symbol))) {
            text = text.startsWith(symbol) ? text.mid(symbol.size()) : text.chopped(symbol.size());
            currency = changed = true;
        }
    }
    if (parentheses && sign) return std::nullopt;
    return Signed{text, negative};
}

// Digits with grouping separators in the whole part, one decimal separator, an optional exponent;
// returned in the C form, or empty when the text is not such a number.
std::string PlainNumber(const QString& text, const QLocale& locale) {
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    std::string plain;
    bool digits = false;
    bool fraction = false;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain += char(c.unicode());
            digits = true;
            ++i;
        } else if (!fraction && text.mid(i).startsWith(decimal)) {
            plain += '.';
            fraction = true;
            i += decimal.size();
        } else if (!fraction && digits && !group.isEmpty() && text.mid(i).startsWith(group)) {
            i += group.size();
        } else {
            break;
        }
    }
    if (!digits) return {};
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        plain += 'e';
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) plain += char(text[i++].unicode());
        bool exponentDigits = false;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 128) {
            plain += char(text[i++].unicode());
            exponentDigits = true;
        }
        if (!exponentDigits) return {};
    }
    return i == text.size() ? plain : std::string{};
}

}  // namespace

std::optional<double> ParseAmount(const QString& text, const QLocale& locale) {
    const std::optional<Signed> stripped = StripDecorations(text, locale);
    if (!stripped) return std::nullopt;
    const std::string plain = PlainNumber(stripped->rest, locale);
    if (plain.empty()) return std::nullopt;
    // from_chars reads the C form whatever the process locale is, and reports overflow.
    double magnitude = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), magnitude);
    if (error != std::errc{} || end != plain.data() + plain.size()) return std::nullopt;
    if (!std::isfinite(magnitude) || magnitude > kCurrencyLimit) return std::nullopt;
    return stripped->negative ? -magnitude : magnitude;
}

QString CurrencyForm(double value, const QLocale& locale) {
    // Below half a cent the amount shows as zero, never as a negative zero.
    if (std::abs(value) < 0.005) value = 0.0;
    return locale.toCurrencyString(value, locale.currencySymbol(), 2);
}
