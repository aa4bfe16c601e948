#include "workbook/model/AmountText.h"

#include "workbook/host/LocaleAdapter.h"
#include "xls/AmountInput.h"

#include <optional>
#include <utility>

namespace {

// The settings as the engine reads amounts under them. Describing the settings (their month and
// day names among them) costs far more than reading one amount, and the entry window reads a
// hundred amounts under the same settings, so the last description is kept, for each thread.
const xls::LocaleInfo& AmountSettings(const QLocale& locale) {
    thread_local std::optional<std::pair<QLocale, xls::LocaleInfo>> last;
    if (!last || last->first != locale) last.emplace(locale, LocaleInfoFromQLocale(locale));
    return last->second;
}

std::optional<Amount> FromCents(std::optional<std::int64_t> cents) {
    return cents ? std::optional<Amount>(Amount{*cents}) : std::nullopt;
}

}  // namespace

std::optional<Amount> ParseAmount(const QString& text, const QLocale& locale) {
    return FromCents(xls::parseAmountCents(text.toStdString(), AmountSettings(locale)));
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
