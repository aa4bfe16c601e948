// Opening the template and filling it with a report: the sequence the generation run and the
// batch front end share.
#pragma once

#include "workbook/CellMap.h"
#include "workbook/host/Application.h"
#include "workbook/model/ExpenseReport.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Where the template is opened from: a copy on disk, or (when path is empty) its bytes in memory.
struct TemplateSource {
    QString path;
    QByteArray bytes;
};

// Opens the template read-only in the instance (statement 110), writes the report into it (118 to
// 180) and selects C4, where the user starts (184). Returns the workbook, or null when it could not
// be opened; the runner has then reported why and nothing was written.
std::shared_ptr<host::Workbook> OpenFilledTemplate(host::Application& instance, const TemplateSource& source,
                                                   const ExpenseReport& report,
                                                   const StatementRunner& run = RunStatement);
