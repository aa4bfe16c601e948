// Amount text of the entry window: the numeric test and the currency form, both under a locale.
// Amounts are kept in whole cents, read and rounded in decimal.
#pragma once

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <optional>

// An amount of money to the cent, exactly.
struct Amount {
    qint64 cents = 0;
    friend bool operator==(const Amount&, const Amount&) = default;
};

// The amount of numeric text: digits with the locale's decimal separator and its grouping
// separators between groups of its sizes, optionally its currency symbol, a sign before or after,
// parentheses for a negative value, an exponent and surrounding blanks; rounded half away from
// zero to the cent. nullopt for anything else, and beyond the largest amount a cell holds to the
// cent (9,999,999,999,999.99). The cells' own typed-input rule, so what passes here is a number
// in the workbook.
std::optional<Amount> ParseAmount(const QString& text, const QLocale& locale = QLocale());

// A number as an amount, by its shortest decimal form: 2.675 is 2.68, as written. nullopt when it
// is not finite or beyond the largest amount.
std::optional<Amount> AmountOf(double value);

// The amount as currency with two decimals in the locale's form ($1,234.57, 12,50 €).
QString CurrencyForm(Amount amount, const QLocale& locale = QLocale());
