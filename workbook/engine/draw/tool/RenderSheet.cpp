// xlsdraw-render IN.xls OUT.png: draws the used range of the active sheet as the program's
// snapshot does, for looking at our drawing beside another spreadsheet program's.
#include "xls/Error.h"
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
        err << "usage: xlsdraw-render IN.xls OUT.png\n";
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
        const std::optional<xls::Range> used = sheet.usedRange();
        if (!used) throw xls::Error("the active sheet is empty");
        const QImage picture = xls::renderRange(book, sheet, *used, xls::LocaleInfo{});
        if (picture.isNull() || !picture.save(args[2], "PNG")) throw xls::Error("the picture could not be written");
    } catch (const std::exception& error) {
        err << args[1] << ": " << error.what() << "\n";
        return 1;
    }
    return 0;
}
