// The expense report as plain values: what the entry window holds, what the settings store keys
// name, and what the cell map writes into the workbook.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

inline constexpr int kGridRows = 15;
inline constexpr int kCategories = 7;

// Control-array names of the seven amount columns, in category order.
inline const std::array<QString, kCategories> kAmountNames{
    QStringLiteral("txtHotel"), QStringLiteral("txtTransport"), QStringLiteral("txtFuel"), QStringLiteral("txtMeals"),
    QStringLiteral("txtPhone"), QStringLiteral("txtEntertainment"), QStringLiteral("txtMisc")};

inline const std::array<QString, kCategories> kDefaultHeadings{
    QStringLiteral("Hotel"), QStringLiteral("Transport"), QStringLiteral("Fuel"), QStringLiteral("Meals"),
    QStringLiteral("Phone"), QStringLiteral("Entertainment"), QStringLiteral("Misc")};

// The twelve single text fields, in the order the load restores them.
inline const std::array<QString, 12> kTextFieldNames{
    QStringLiteral("txtPurpose"), QStringLiteral("txtStatement"), QStringLiteral("txtName"), QStringLiteral("txtPosition"),
    QStringLiteral("txtSSN"), QStringLiteral("txtEmpID"), QStringLiteral("txtManager"), QStringLiteral("txtDept"),
    QStringLiteral("txtApproved1"), QStringLiteral("txtApproved2"), QStringLiteral("txtNotes1"), QStringLiteral("txtNotes2")};

struct ExpenseRow {
    std::optional<QDate> date;
    QString account;
    QString description;
    std::array<QString, kCategories> amounts;  // text as entered
};

struct ExpenseReport {
    // Single text fields by control name (kTextFieldNames).
    std::array<QString, 12> texts;
    QDate payFrom;
    QDate payTo;
    std::array<QString, kCategories> headings = kDefaultHeadings;
    std::array<ExpenseRow, kGridRows> rows;

    QString text(const QString& controlName) const;
};

// The 171 store keys.
QStringList AllReportKeys();

// The text a date is stored as (four-digit year, read back unchanged).
QString StoredDateText(const QDate& date);

// A stored date text: the stored form or the locale's short forms; nullopt when unreadable or empty.
std::optional<QDate> ParseStoredDate(const QString& text);

// Builds a report from stored values: lookup(key) returns the value, or nullopt when the key has
// no entry; missing keys take the load's defaults (today for the pay period, the initial headings,
// "0" amounts, no row dates). Amounts are returned as stored, not in currency form.
ExpenseReport ReportFromValues(const std::function<std::optional<QString>(const QString& key)>& lookup,
                               const QDate& today);
