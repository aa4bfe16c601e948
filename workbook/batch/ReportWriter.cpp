#include "ReportWriter.h"

#include "app/OutputSet.h"
#include "workbook/Excel1.h"
#include "workbook/TemplateFill.h"
#include "workbook/batch/BatchExit.h"
#include "PngEncoding.h"
#include "receipts/HandInPdf.h"
#include "receipts/ReceiptError.h"
#include "workbook/template/TemplateBytes.h"
#include "xls/PdfExport.h"
#include "xls/PrintPlan.h"
#include "xls/Error.h"
#include "xls/SheetPainter.h"
#include "xlsx/XlsxWorkbook.h"

#include <QDir>
#include <QImage>

namespace {

// The Excel Workbook from the same filled model the .xls is saved from.
QByteArray xlsxOf(const xls::Workbook& model, const xls::LocaleInfo& locale) {
    try {
        const std::vector<uint8_t> bytes = xlsx::writeXlsx(model, locale);
        return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    } catch (const xls::Error& error) {
        throw CouldNotWrite(QStringLiteral("the Excel Workbook could not be made: ") + QString::fromUtf8(error.what()));
    }
}

QImage pictureOf(host::Workbook& book) {
    xls::Workbook& model = book.model();
    const host::CellRange used = book.ActiveSheet().UsedRange();
    try {
        return xls::renderRange(model, model.sheets.at(model.activeSheet), used.bounds(), book.localeInfo());
    } catch (const xls::Error&) {
        throw CouldNotWrite(QStringLiteral("the picture of the sheet could not be drawn"));
    }
}

// The sheet on paper by its own page setup, then every receipt of the report.
QByteArray pdfOf(host::Workbook& book, const ExpenseReport& report) {
    const xls::Workbook& model = book.model();
    const xls::Sheet& sheet = model.sheets.at(model.activeSheet);
    QByteArray pdf;
    try {
        pdf = xls::renderPdf(model, sheet, book.localeInfo());
    } catch (const xls::Error& error) {
        throw CouldNotWrite(QString::fromUtf8(error.what()));
    }
    try {
        return HandInPdf(pdf, xls::planPrint(model, sheet).layout, ReceiptsToHandIn(report));
    } catch (const ReceiptError& error) {
        const bool refused = error.cause() == ReceiptError::Cause::Refused;
        throw BatchFailure(refused ? kBatchBadInput : kBatchCouldNotWrite, QString::fromStdString(error.what()));
    }
}

// One output of the set, or none when its path is empty.
struct Output {
    QString path;
    QIODevice* device = nullptr;
    QByteArray bytes;

    void write() const {
        if (device) WriteToOutput(*device, bytes, path);
    }
};

Output join(OutputSet& outputs, const QString& path) {
    return {path, path.isEmpty() ? nullptr : &outputs.join(path), {}};
}

}  // namespace

ReportWriter::ReportWriter()
    : m_instance(host::CreateObject(QStringLiteral("Excel.Application"))), m_template(TemplateBytes()) {}

PreparedReport ReportWriter::prepare(const ExpenseReport& report, const ReportOutputs& targets) {
    try {
        PreparedReport prepared{targets, {}, {}, {}, {}, {}, {}};
        for (const ExpenseRow& row : report.rows)
            for (const ReceiptFile& receipt : row.receipts) prepared.receipts << receipt.path;
        const auto book = OpenFilledTemplate(*m_instance, {{}, m_template}, report);
        try {
            if (!targets.xls.isEmpty()) prepared.workbook = book->SaveToBytes(GetSaveFormat(m_instance));
            if (!targets.xlsx.isEmpty()) {
                prepared.xlsxModel = book->model();
                prepared.xlsxLocale = book->localeInfo();
            }
            if (!targets.picture.isEmpty()) prepared.picture = pictureOf(*book);
            if (!targets.pdf.isEmpty()) prepared.pdf = pdfOf(*book, report);
        } catch (...) {
            book->Close();
            throw;
        }
        book->Close();
        return prepared;
    } catch (const host::HostError& error) {
        throw CouldNotWrite(QString::fromStdString(error.what()));
    }
}

void WriteOutputs(const PreparedReport& prepared) {
    try {
        OutputSet outputs;
        const ReportOutputs& targets = prepared.targets;
        if (targets.input == QLatin1String("-"))
            outputs.readsFrom(QStringLiteral("/dev/stdin"), QStringLiteral("read from standard input"));
        else if (!targets.input.isEmpty())
            outputs.readsFrom(targets.input, QDir::toNativeSeparators(targets.input));
        for (const QString& receipt : prepared.receipts) outputs.readsFrom(receipt, QDir::toNativeSeparators(receipt));
        Output workbook = join(outputs, targets.xls);
        Output xlsxWorkbook = join(outputs, targets.xlsx);
        Output picture = join(outputs, targets.picture);
        Output pdf = join(outputs, targets.pdf);
        workbook.bytes = prepared.workbook;
        if (xlsxWorkbook.device) xlsxWorkbook.bytes = xlsxOf(*prepared.xlsxModel, prepared.xlsxLocale);
        pdf.bytes = prepared.pdf;
        if (picture.device) picture.bytes = EncodePng(prepared.picture);
        for (const Output* output : {&picture, &pdf, &workbook, &xlsxWorkbook}) output->write();
        outputs.commit();
    } catch (const AppError& error) {
        const bool misnamed = error.cause() == AppError::Cause::Misnamed;
        throw BatchFailure(misnamed ? kBatchBadInput : kBatchCouldNotWrite, QString::fromStdString(error.what()));
    }
}
