// Writes reports as workbooks (with pictures and PDFs), reusing one host instance and the
// template's bytes.
#pragma once

#include "workbook/model/ExpenseReport.h"
#include "workbook/host/Application.h"

#include <QByteArray>
#include <QString>

#include <memory>

// Where a report's outputs go; "-" is standard output, an empty picture or pdf is not written.
struct ReportOutputs {
    QString xls;
    QString picture;
    QString pdf;
};

class ReportWriter {
public:
    ReportWriter();

    // Writes the report's workbook and the asked-for picture and PDF, all or none. Throws
    // BatchFailure (could not write).
    void write(const ExpenseReport& report, const ReportOutputs& targets);

private:
    std::shared_ptr<host::Application> m_instance;
    QByteArray m_template;
};
