#include "FileReplace.h"

#include "app/OutputSet.h"
#include "PreviewError.h"
#include "WorkbookFile.h"
#include "WorkbookPrint.h"
#include "workbook/host/LocaleAdapter.h"
#include "xls/Error.h"
#include "xlsx/XlsxWorkbook.h"

#include <QFile>

#include <functional>
#include <vector>

namespace {

[[noreturn]] void Fail(const QString& reason) { throw PreviewError(reason); }

void WriteAll(QIODevice& output, const QByteArray& bytes) {
    if (output.write(bytes) != bytes.size()) Fail(QStringLiteral("Device I/O error: ") + output.errorString());
}

// The content goes to a temporary file beside the target and replaces it only when complete;
// anything that fails before then leaves the target untouched.
void Replace(const QString& target, const std::function<void(QIODevice&)>& writeContent) {
    OutputSet outputs;
    QIODevice* output = nullptr;
    try {
        output = &outputs.join(target);
    } catch (const AppError& error) {
        Fail(QStringLiteral("Path/File access error: ") + QString::fromStdString(error.what()));
    }
    writeContent(*output);
    try {
        outputs.commit();
    } catch (const AppError& error) {
        Fail(QStringLiteral("Path/File access error: ") + QString::fromStdString(error.what()));
    }
}

}  // namespace

void ReplaceWithCopy(const QString& source, const QString& target) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) Fail(QStringLiteral("File not found: ") + source);
    Replace(target, [&input](QIODevice& output) {
        constexpr qint64 kChunk = 1 << 16;
        while (!input.atEnd()) {
            const QByteArray chunk = input.read(kChunk);
            if (input.error() != QFileDevice::NoError) Fail(QStringLiteral("Device I/O error: ") + input.errorString());
            WriteAll(output, chunk);
        }
    });
}

void ReplaceWithPdf(const QString& workbook, const std::vector<HandInReceipt>& receipts, const QString& target) {
    // Made whole before the target is touched: a workbook that cannot be printed, or a receipt
    // that cannot be read, leaves it as it was.
    const QByteArray pdf = WorkbookFilePdf(workbook, receipts);
    Replace(target, [&pdf](QIODevice& output) { WriteAll(output, pdf); });
}

void ReplaceWithXlsx(const QString& workbook, const QString& target) {
    // Made in memory before the target is touched, as the PDF is.
    const QString failure = QStringLiteral("cannot be saved as an Excel Workbook");
    const xls::Workbook model = ReadWorkbookFile(workbook, failure);
    std::vector<uint8_t> bytes;
    try {
        bytes = xlsx::writeXlsx(model, LocaleInfoFromQLocale(CurrentRegionalSettings()));
    } catch (const xls::Error& error) {
        Fail(QStringLiteral("%1 %2: %3").arg(workbook, failure, QString::fromUtf8(error.what())));
    }
    const QByteArray xlsx(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    Replace(target, [&xlsx](QIODevice& output) { WriteAll(output, xlsx); });
}
