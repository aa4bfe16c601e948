#include "workbook/model/AmountText.h"

#include "workbook/host/LocaleAdapter.h"
#include "xls/AmountInput.h"

#include <cmath>
#include <optional>
#include <utility>

namespace {

// The settings as the engine reads amounts under them. Describing the settings (their month and
// day names among them) costs far more than reading one amount, and the entry window reads a
// hundred amounts under the same settings, so the last description is kept, for each thread.
const xls::LocaleInfo& AmountSettings(const RegionalSettings& settings) {
    thread_local std::optional<std::pair<RegionalSettings, xls::LocaleInfo>> last;
    if (!last || !(last->first == settings)) last.emplace(settings, LocaleInfoFromQLocale(settings));
    return last->second;
}

std::optional<Amount> FromCents(std::optional<std::int64_t> cents) {
    return cents ? std::optional<Amount>(Amount{*cents}) : std::nullopt;
}

}  // namespace

std::optional<Amount> ParseAmount(const QString& text, const RegionalSettings& settings) {
    return FromCents(xls::parseAmountCents(text.toStdString(), AmountSettings(settings)));
}

std::optional<Amount> AmountOf(double value) {
    // The shortest text that reads back as the same double is the number as it was written.
    const QString shortest = QLocale::c().toString(value, 'g', QLocale::FloatingPointShortest);
    return FromCents(xls::parseAmountCents(shortest.toStdString(), xls::LocaleInfo{}));
}

QString CurrencyForm(Amount amount, const RegionalSettings& settings) {
    // Up to the largest amount the nearest double lies well within half a cent of the amount, so
    // its two decimals are the amount's own.
    const double value = double(amount.cents) / 100.0;
    const QLocale& money = settings.money;
    QString form = money.toCurrencyString(value, money.currencySymbol(), 2);
    if (settings.numbers == money) return form;
    // The money's form around the digits as the numbers write them.
    const double size = std::abs(value);
    return form.replace(money.toString(size, 'f', 2), settings.numbers.toString(size, 'f', 2));
}
