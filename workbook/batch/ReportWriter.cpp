#include "workbook/batch/ReportWriter.h"

#include "app/OutputSet.h"
#include "workbook/Excel1.h"
#include "workbook/TemplateFill.h"
#include "workbook/batch/BatchExit.h"
#include "workbook/batch/PngEncoding.h"
#include "workbook/template/TemplateBytes.h"
#include "xls/SheetPainter.h"

#include <QImage>

namespace {

BatchFailure couldNotWrite(const QString& message) {
    return BatchFailure(kBatchCouldNotWrite, message);
}

QImage pictureOf(host::Workbook& book) {
    xls::Workbook& model = book.model();
    const host::CellRange used = book.ActiveSheet().UsedRange();
    QImage picture = xls::renderRange(model, model.sheets.at(model.activeSheet), used.bounds(), book.localeInfo());
    if (picture.isNull()) throw couldNotWrite(QStringLiteral("the picture of the sheet could not be drawn"));
    return picture;
}

}  // namespace

ReportWriter::ReportWriter()
    : m_instance(host::CreateObject(QStringLiteral("Excel.Application"))), m_template(TemplateBytes()) {}

void ReportWriter::write(const ExpenseReport& report, const QString& xls, const QString& picture) {
    try {
        OutputSet outputs;
        QIODevice& workbookOutput = outputs.join(xls);
        QIODevice* pictureOutput = picture.isEmpty() ? nullptr : &outputs.join(picture);

        const auto book = OpenFilledTemplate(*m_instance, {{}, m_template}, report);
        QByteArray bytes;
        QByteArray image;
        try {
            // Saving brings the formula results up to date, so the picture shows the totals.
            bytes = book->SaveToBytes(GetSaveFormat(m_instance));
            if (pictureOutput && (image = EncodePng(pictureOf(*book))).isEmpty())
                throw couldNotWrite(QStringLiteral("the picture of the sheet could not be encoded"));
        } catch (...) {
            book->Close();
            throw;
        }
        book->Close();
        if (pictureOutput && pictureOutput->write(image) != image.size())
            throw couldNotWrite(QStringLiteral("%1 could not be written: %2").arg(picture, pictureOutput->errorString()));
        if (workbookOutput.write(bytes) != bytes.size())
            throw couldNotWrite(QStringLiteral("%1 could not be written: %2").arg(xls, workbookOutput.errorString()));
        outputs.commit();
    } catch (const OutputError& error) {
        throw couldNotWrite(QString::fromStdString(error.what()));
    } catch (const host::HostError& error) {
        throw couldNotWrite(QString::fromStdString(error.what()));
    }
}
