#include "workbook/model/ExpenseReport.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

// The field table names each field once, in the field's own place, and gives each its own member:
// a stored value under a key comes back only as that field.
TEST(TextFieldTable, EveryFieldReadsBackUnderItsOwnKey) {
    const ExpenseReport report =
        ReportFromValues([](const QString& key) -> std::optional<QString> { return key; }, QDate(2016, 11, 5));
    QSet<QString> keys;
    for (size_t i = 0; i < kTextFields.size(); ++i) {
        const TextFieldEntry& entry = kTextFields[i];
        EXPECT_EQ(size_t(entry.field), i) << qPrintable(entry.key);
        EXPECT_EQ(report.text(entry.field), entry.key);
        keys.insert(entry.key);
    }
    EXPECT_EQ(size_t(keys.size()), kTextFieldCount);
    for (const QString& key : keys) EXPECT_EQ(AllReportKeys().count(key), 1) << qPrintable(key);
}

}  // namespace
