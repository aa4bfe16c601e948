#include "WorkbookFile.h"

#include "PreviewError.h"
#include "xls/WorkbookIo.h"

#include <QFile>

namespace {

[[noreturn]] void fail(const QString& path, const QString& failure, const QString& reason) {
    throw PreviewError(QStringLiteral("%1 %2: %3").arg(path, failure, reason));
}

}  // namespace

xls::Workbook ReadWorkbookFile(const QString& path, const QString& failure) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) fail(path, failure, file.errorString());
    const QByteArray bytes = file.readAll();
    xls::Workbook book;
    try {
        book = xls::readWorkbook({reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())});
    } catch (const std::exception& error) {
        fail(path, failure, QString::fromUtf8(error.what()));
    }
    if (book.activeSheet >= book.sheets.size()) fail(path, failure, QStringLiteral("the workbook has no active sheet"));
    return book;
}
