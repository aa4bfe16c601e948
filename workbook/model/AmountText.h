// Amount text of the entry window: the numeric test and the currency form, both under a locale.
#pragma once

#include <QLocale>
#include <QString>

#include <optional>

// The largest magnitude a currency amount may have.
inline constexpr double kCurrencyLimit = 922337203685477.58;

// The value of numeric text: digits with the locale's decimal and grouping separators, optionally
// its currency symbol, a sign before or after, parentheses for a negative value, an exponent and
// surrounding blanks. nullopt for anything else, and for values that are not finite or lie beyond
// the currency limit.
std::optional<double> ParseAmount(const QString& text, const QLocale& locale = QLocale());

// The value as currency with two decimals in the locale's form ($1,234.57, 12,50 €).
QString CurrencyForm(double value, const QLocale& locale = QLocale());
