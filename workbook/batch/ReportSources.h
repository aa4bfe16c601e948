// Where reports come from: JSON files, standard input, the user's settings store.
#pragma once

#include "workbook/model/ExpenseReport.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

// The text standard input is called in messages.
inline const QString kStandardInputName = QStringLiteral("standard input");

// The one JSON object in the file at path ("-" for standard input). Throws BatchFailure.
QJsonObject ReadReportObject(const QString& path);

// The reports of a JSON array: each element, and the first key each gives twice (see
// FirstRepeatedKeys), which makes that report bad input.
struct ReportArray {
    QJsonArray reports;
    std::vector<std::optional<QString>> repeatedKeys;
};

// The JSON array of reports on standard input. Throws BatchFailure.
ReportArray ReadReportArrayFromStandardInput();

// The report the entry window last held, and the receipts it keeps for its rows, read from the
// user's settings store without writing it, under the same rules as a JSON report. Throws
// BatchFailure.
ExpenseReport ReportFromStore();
