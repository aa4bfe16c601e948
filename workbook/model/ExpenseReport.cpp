#include "workbook/model/ExpenseReport.h"

#include "workbook/host/RegionalSettings.h"

#include <QLocale>

QString& ExpenseReport::text(TextField field) { return this->*TextFieldOf(field).member; }

const QString& ExpenseReport::text(TextField field) const { return this->*TextFieldOf(field).member; }

QStringList AllReportKeys() {
    QStringList keys;
    for (const TextFieldEntry& entry : kTextFields) keys << entry.key;
    keys << QStringLiteral("dtpFrom") << QStringLiteral("dtpTo");
    for (int i = 0; i < kCategories; ++i) keys << QStringLiteral("txtHeading%1").arg(i);
    for (int r = 0; r < kGridRows; ++r) {
        keys << QStringLiteral("DTPicker2%1").arg(r) << QStringLiteral("txtAccount%1").arg(r)
             << QStringLiteral("txtDesc%1").arg(r);
        for (const QString& name : kAmountNames) keys << name + QString::number(r);
    }
    return keys;
}

QString ReceiptsKey(int row) { return QStringLiteral("Receipts%1").arg(row); }

QString StoredDateText(const QDate& date) { return date.toString(Qt::ISODate); }

std::optional<QDate> ParseStoredDate(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return std::nullopt;
    QDate date = QDate::fromString(trimmed, Qt::ISODate);
    if (date.isValid()) return date;
    const QLocale locale = CurrentRegionalSettings().dates;
    for (const QString& format : {locale.dateFormat(QLocale::ShortFormat), locale.dateFormat(QLocale::LongFormat)}) {
        date = locale.toDate(trimmed, format);
        if (date.isValid()) {
            // A two-digit year reads into 1900..1999; a stored short date means the nearer century.
            if (!format.contains(QLatin1String("yyyy")) && date.year() < 1950) date = date.addYears(100);
            return date;
        }
    }
    return std::nullopt;
}

ExpenseReport ReportFromValues(const std::function<std::optional<QString>(const QString& key)>& lookup,
                               const QDate& today) {
    const auto get = [&](const QString& key, const QString& fallback) { return lookup(key).value_or(fallback); };
    ExpenseReport report;
    for (const TextFieldEntry& entry : kTextFields) report.*entry.member = get(entry.key, {});
    report.payFrom = ParseStoredDate(get(QStringLiteral("dtpFrom"), {})).value_or(today);
    report.payTo = ParseStoredDate(get(QStringLiteral("dtpTo"), {})).value_or(today);
    for (int i = 0; i < kCategories; ++i)
        report.headings[size_t(i)] = get(QStringLiteral("txtHeading%1").arg(i), kDefaultHeadings[size_t(i)]);
    for (int r = 0; r < kGridRows; ++r) {
        ExpenseRow& row = report.rows[size_t(r)];
        row.date = ParseStoredDate(get(QStringLiteral("DTPicker2%1").arg(r), {}));
        row.account = get(QStringLiteral("txtAccount%1").arg(r), {});
        row.description = get(QStringLiteral("txtDesc%1").arg(r), {});
        for (int c = 0; c < kCategories; ++c)
            row.amounts[size_t(c)] = get(kAmountNames[size_t(c)] + QString::number(r), QStringLiteral("0"));
    }
    return report;
}
