// The input rules of a report: which keys it may have and what each value must be.
#pragma once

#include "workbook/batch/BatchExit.h"
#include "workbook/model/ExpenseReport.h"

#include <QDir>
#include <QJsonObject>
#include <QString>

// The report a JSON object describes, read under the default locale's settings. Keys are the
// store's keys in any case; amounts are JSON numbers or amount texts, dates ISO or the settings'
// short date, texts strings of at most 32,767 characters, a row's receipts ("Receipts0" ..
// "Receipts14") an array of file paths, relative ones from folder. name (a file name) starts every
// message. Throws BatchFailure (bad input) naming the key and the value that breaks a rule; the
// receipt files themselves are not read here.
ExpenseReport ReportFromJson(const QJsonObject& object, const QString& name, const QDir& folder);

// The refusal of a report (name) that gives key twice, in the same or another letter case.
BatchFailure KeyGivenTwice(const QString& name, const QString& key);
