// xlsdraw-render IN.xls OUT.png|OUT.pdf: draws the used range of the active sheet as the program's
// snapshot does, or prints the sheet by its page setup to a PDF, for looking at our drawing beside
// another spreadsheet program's.
#include "xls/Error.h"
#include "xls/PdfExport.h"
#include "xls/SheetPainter.h"
#include "xls/WorkbookIo.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: xlsdraw-render IN.xls OUT.png|OUT.pdf\n";
        return 2;
    }
    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        err << "cannot read " << args[1] << ": " << in.errorString() << "\n";
        return 1;
    }
    const QByteArray bytes = in.readAll();
    try {
        const xls::Workbook book = xls::readWorkbook(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
        if (book.activeSheet >= book.sheets.size()) throw xls::Error("the workbook has no active sheet");
        const xls::Sheet& sheet = book.sheets[book.activeSheet];
        if (args[2].endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
            const QByteArray pdf = xls::renderPdf(book, sheet, xls::LocaleInfo{});
            QFile out(args[2]);
            if (!out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size() || !out.flush())
                throw xls::Error("the PDF could not be written");
            return 0;
        }
        const std::optional<xls::Range> used = sheet.usedRange();
        if (!used) throw xls::Error("the active sheet is empty");
        const QImage picture = xls::renderRange(book, sheet, *used, xls::LocaleInfo{});
        if (!picture.save(args[2], "PNG")) throw xls::Error("the picture could not be written");
    } catch (const std::exception& error) {
        err << args[1] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
