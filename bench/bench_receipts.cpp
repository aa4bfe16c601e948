// The hand-in PDF of a report with ten receipts (five 12-megapixel photos, five one-page PDFs),
// its printed page included, in process: under 1 s, peak memory under 300 MB. A report without
// receipts must cost what its printed page alone costs (bench_snapshot's BM_PrintTemplateToPdf).
#include "receipts/HandInPdf.h"
#include "support/ReceiptFiles.h"
#include "workbook/template/ExpenseTemplate.h"
#include "xls/PdfExport.h"
#include "xls/PrintPlan.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// A camera's 4000 x 3000 photo: light that changes across it, and the sensor's grain, which is
// what makes a photo's JPEG data as large (and as slow to decode) as a real one's.
QByteArray CameraPhoto(quint32 seed) {
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator grain(seed);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(grain.bounded(24u)) - 12;
            line[x] = qRgb(qBound(0, x / 16 + noise, 255), qBound(0, y / 12 + noise, 255),
                           qBound(0, 128 + noise + (x + y) % 64, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

std::vector<HandInReceipt> MakeReceipts(const QString& folder, bool withReceipts) {
    if (!withReceipts) return {};
    ExpenseReport expenses;
    for (int i = 0; i < 5; ++i) {
        ExpenseRow& row = expenses.rows[size_t(i)];
        row.date = QDate(2016, 11, 7 + i);
        row.account = QStringLiteral("1107%1").arg(i);
        row.description = QStringLiteral("Taxi and dinner with the client");
        row.receipts = {{WriteReceipt(QStringLiteral("%1/photo%2.jpg").arg(folder).arg(i), CameraPhoto(quint32(i))),
                         QStringLiteral("photo%1.jpg").arg(i)},
                        {WriteReceipt(QStringLiteral("%1/bill%2.pdf").arg(folder).arg(i),
                                      PdfWithPages({QStringLiteral("Harbour Hotel, night %1").arg(i + 1)})),
                         QStringLiteral("bill%1.pdf").arg(i)}};
    }
    return ReceiptsToHandIn(expenses);
}

void handIn(benchmark::State& state, bool withReceipts) {
    const QTemporaryDir folder;
    const std::vector<HandInReceipt> receipts = MakeReceipts(folder.path(), withReceipts);
    const xls::Workbook book = BuildExpenseTemplate();
    const xls::Sheet& sheet = book.sheets.front();
    size_t bytes = 0;
    for (auto _ : state)
        bytes = size_t(HandInPdf(xls::renderPdf(book, sheet, {}), xls::planPrint(book, sheet).layout, receipts).size());
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["pdf_MB"] = double(bytes) / 1e6;
    state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024;
}

void BM_HandInTenReceipts(benchmark::State& state) { handIn(state, true); }
void BM_HandInWithoutReceipts(benchmark::State& state) { handIn(state, false); }

BENCHMARK(BM_HandInWithoutReceipts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_HandInTenReceipts)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
