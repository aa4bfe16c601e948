#include "xls/PdfExport.h"

#include "xls/PagePainter.h"

#include <QBuffer>
#include <QPdfWriter>

namespace xls {

QByteArray renderPdf(const Workbook& workbook, const Sheet& sheet, const LocaleInfo& locale) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Brindlemoor"));
    writer.setTitle(QString::fromStdString(sheet.name));
    printSheet(writer, workbook, sheet, locale);
    return bytes;
}

}  // namespace xls
