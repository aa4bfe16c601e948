// Writes reports as workbooks (and pictures), reusing one host instance and the template's bytes.
#pragma once

#include "report/ExpenseReport.h"
#include "workbook/host/Application.h"

#include <QByteArray>
#include <QString>

#include <memory>

class ReportWriter {
public:
    ReportWriter();

    // Writes the report's workbook to xls ("-" for standard output) and, when picture is not
    // empty, its picture there, both or neither. Throws BatchFailure (could not write).
    void write(const ExpenseReport& report, const QString& xls, const QString& picture);

private:
    std::shared_ptr<host::Application> m_instance;
    QByteArray m_template;
};
