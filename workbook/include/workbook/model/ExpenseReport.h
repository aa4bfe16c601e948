// The expense report as plain values: what the entry window holds, what the settings store keys
// name, and what the cell map writes into the workbook.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

inline constexpr int kGridRows = 15;
inline constexpr int kCategories = 7;

// Control-array names of the seven amount columns, in category order.
inline const std::array<QString, kCategories> kAmountNames{
    QStringLiteral("txtHotel"), QStringLiteral("txtTransport"), QStringLiteral("txtFuel"),
    QStringLiteral("txtMeals"), QStringLiteral("txtPhone"),     QStringLiteral("txtEntertainment"),
    QStringLiteral("txtMisc")};

inline const std::array<QString, kCategories> kDefaultHeadings{
    QStringLiteral("Hotel"), QStringLiteral("Transport"),     QStringLiteral("Fuel"), QStringLiteral("Meals"),
    QStringLiteral("Phone"), QStringLiteral("Entertainment"), QStringLiteral("Misc")};

// The twelve single text fields, in the order the load restores them (kTextFields keeps this order).
enum class TextField {
    Purpose,
    Statement,
    Name,
    Position,
    SSN,
    EmpID,
    Manager,
    Dept,
    Approved1,
    Approved2,
    Notes1,
    Notes2
};
inline constexpr size_t kTextFieldCount = 12;

// A receipt of a grid row: the file read when the report is handed in, and the name its caption shows.
struct ReceiptFile {
    QString path;
    QString name;
    bool operator==(const ReceiptFile&) const = default;
};

struct ExpenseRow {
    std::optional<QDate> date;
    QString account;
    QString description;
    std::array<QString, kCategories> amounts;  // text as entered
    QList<ReceiptFile> receipts;               // in the order they were attached

    bool operator==(const ExpenseRow&) const = default;
};

struct ExpenseReport {
    QString purpose, statement, name, position, ssn, empID, manager, dept, approved1, approved2, notes1, notes2;
    QDate payFrom;
    QDate payTo;
    std::array<QString, kCategories> headings = kDefaultHeadings;
    std::array<ExpenseRow, kGridRows> rows;

    QString& text(TextField field);
    const QString& text(TextField field) const;

    bool operator==(const ExpenseReport&) const = default;
};

// One text field: its control name (also its store key) and where the report holds it. The entry
// window, the store and the cell map all go through this table.
struct TextFieldEntry {
    TextField field;
    QString key;
    QString ExpenseReport::*member;
};

inline const std::array<TextFieldEntry, kTextFieldCount> kTextFields{{
    {TextField::Purpose, QStringLiteral("txtPurpose"), &ExpenseReport::purpose},
    {TextField::Statement, QStringLiteral("txtStatement"), &ExpenseReport::statement},
    {TextField::Name, QStringLiteral("txtName"), &ExpenseReport::name},
    {TextField::Position, QStringLiteral("txtPosition"), &ExpenseReport::position},
    {TextField::SSN, QStringLiteral("txtSSN"), &ExpenseReport::ssn},
    {TextField::EmpID, QStringLiteral("txtEmpID"), &ExpenseReport::empID},
    {TextField::Manager, QStringLiteral("txtManager"), &ExpenseReport::manager},
    {TextField::Dept, QStringLiteral("txtDept"), &ExpenseReport::dept},
    {TextField::Approved1, QStringLiteral("txtApproved1"), &ExpenseReport::approved1},
    {TextField::Approved2, QStringLiteral("txtApproved2"), &ExpenseReport::approved2},
    {TextField::Notes1, QStringLiteral("txtNotes1"), &ExpenseReport::notes1},
    {TextField::Notes2, QStringLiteral("txtNotes2"), &ExpenseReport::notes2},
}};

inline const TextFieldEntry& TextFieldOf(TextField field) { return kTextFields[size_t(field)]; }

// The 171 store keys of the report's fields.
QStringList AllReportKeys();

// The store key of a grid row's receipt list: "Receipts0" … "Receipts14".
QString ReceiptsKey(int row);

// The text a date is stored as (four-digit year, read back unchanged).
QString StoredDateText(const QDate& date);

// A stored date text: the stored form or the locale's short forms; nullopt when unreadable or empty.
std::optional<QDate> ParseStoredDate(const QString& text);

// Builds a report from stored values: lookup(key) returns the value, or nullopt when the key has
// no entry; missing keys take the load's defaults (today for the pay period, the initial headings,
// "0" amounts, no row dates). Amounts are returned as stored, not in currency form.
ExpenseReport ReportFromValues(const std::function<std::optional<QString>(const QString& key)>& lookup,
                               const QDate& today);
