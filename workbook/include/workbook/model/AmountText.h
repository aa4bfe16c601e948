// Amount text of the entry window: the numeric test and the currency form, both under the
// settings. Amounts are kept in whole cents, read and rounded in decimal. An amount is written and
// read as the sheet shows a currency cell: the money's symbol in the money's place and form, the
// digits with the numbers' separators.
#pragma once

#include "workbook/host/RegionalSettings.h"

#include <QString>
#include <QtGlobal>

#include <optional>

// An amount of money to the cent, exactly.
struct Amount {
    qint64 cents = 0;
    friend bool operator==(const Amount&, const Amount&) = default;
};

// The amount of numeric text: digits with the numbers' decimal separator and their grouping
// separators between groups of their sizes, optionally the money's currency symbol, a sign before or after,
// parentheses for a negative value, an exponent and surrounding blanks; rounded half away from
// zero to the cent. nullopt for anything else, and beyond the largest amount a cell holds to the
// cent (9,999,999,999,999.99). The cells' own typed-input rule, so what passes here is a number
// in the workbook.
std::optional<Amount> ParseAmount(const QString& text, const RegionalSettings& settings = CurrentRegionalSettings());

// A number as an amount, by its shortest decimal form: 2.675 is 2.68, as written. nullopt when it
// is not finite or beyond the largest amount.
std::optional<Amount> AmountOf(double value);

// The amount as currency with two decimals in the settings' form ($1,234.57, 12,50 €).
QString CurrencyForm(Amount amount, const RegionalSettings& settings = CurrentRegionalSettings());
