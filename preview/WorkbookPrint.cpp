#include "preview/WorkbookPrint.h"

#include "workbook/host/LocaleAdapter.h"
#include "xls/PagePainter.h"
#include "xls/WorkbookIo.h"

#include <QFile>
#include <QLocale>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& path, const QString& reason) {
    throw std::runtime_error(QStringLiteral("%1 cannot be printed: %2").arg(path, reason).toStdString());
}

}  // namespace

void PrintWorkbookFile(const QString& path, QPagedPaintDevice& device) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail(path, file.errorString());
    const QByteArray bytes = file.readAll();
    xls::Workbook book;
    try {
        book = xls::readWorkbook({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
    } catch (const std::exception& error) {
        fail(path, QString::fromUtf8(error.what()));
    }
    if (book.activeSheet >= book.sheets.size()) fail(path, QStringLiteral("the workbook has no active sheet"));
    if (!xls::printSheet(device, book, book.sheets[book.activeSheet], LocaleInfoFromQLocale(QLocale())))
        fail(path, QStringLiteral("the sheet has nothing to print"));
}
