// Writes reports as workbooks (with pictures and PDFs), reusing one host instance and the
// template's bytes.
#pragma once

#include "workbook/model/ExpenseReport.h"
#include "workbook/host/Application.h"
#include "xls/Model.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// Where a report's outputs go; "-" is standard output, an empty path is not written.
// No output may replace the report's input: its file, "-" for standard input, empty for none.
struct ReportOutputs {
    QString xls;
    QString xlsx;
    QString picture;
    QString pdf;
    QString input;
};

// A report filled in and drawn, its outputs not yet written.
struct PreparedReport {
    ReportOutputs targets;
    QStringList receipts;                    // the report's receipt files, which no output may replace
    QByteArray workbook;                     // empty when no .xls is asked for
    std::optional<xls::Workbook> xlsxModel;  // the filled workbook, when an .xlsx is asked for
    xls::LocaleInfo xlsxLocale;              // the settings it was filled under
    QImage picture;                          // null when none is asked for
    QByteArray pdf;                          // the printed page, then the receipts
};

// Encodes the picture and the Excel Workbook and writes every output of a prepared report, all or
// none. It uses neither fonts nor the host, so it may run on a thread of its own. Throws BatchFailure.
void WriteOutputs(const PreparedReport& prepared);

class ReportWriter {
public:
    ReportWriter();

    // Writes the report's asked-for workbooks, picture and PDF, all or none. Throws
    // BatchFailure (could not write).
    void write(const ExpenseReport& report, const ReportOutputs& targets) { WriteOutputs(prepare(report, targets)); }

    // Fills the template, saves the workbook and draws what is asked for. Throws BatchFailure.
    PreparedReport prepare(const ExpenseReport& report, const ReportOutputs& targets);

private:
    std::shared_ptr<host::Application> m_instance;
    QByteArray m_template;
};
