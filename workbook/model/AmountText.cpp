#include "workbook/model/AmountText.h"

#include "workbook/host/LocaleAdapter.h"
#include "xls/AmountInput.h"

namespace {

std::optional<Amount> FromCents(std::optional<std::int64_t> cents) {
    return cents ? std::optional<Amount>(Amount{*cents}) : std::nullopt;
}

}  // namespace

std::optional<Amount> ParseAmount(const QString& text, const QLocale& locale) {
    return FromCents(xls::parseAmountCents(text.toStdString(), LocaleInfoFromQLocale(locale)));
}

std::optional<Amount> AmountOf(double value) {
    // The shortest text that reads back as the same double is the number as it was written.
    const QString shortest = QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
    return FromCents(xls::parseAmountCents(shortest.toStdString(), xls::LocaleInfo{}));
}

QString CurrencyForm(Amount amount, const QLocale& locale) {
    // Up to the largest amount the nearest double lies well within half a cent of the amount, so
    // its two decimals are the amount's own.
    return locale.toCurrencyString(double(amount.cents) / 100.0, locale.currencySymbol(), 2);
}
