// The hand-in PDF as readers we did not write see it: the report's page, then each receipt in row
// order with its row's caption; photos on the report's paper at no more than 300 dpi, upright, a
// JPEG kept as it was where it can be; a PDF receipt's pages as they are, their text still text.
#include "receipts/HandInPdf.h"
#include "receipts/ReceiptError.h"
#include "support/FileBytes.h"
#include "support/PdfTools.h"
#include "support/ReceiptFiles.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The template's paper: Letter landscape, 0.75 in left and right, 0.5 in top, 1 in bottom.
const QPageLayout kPaper(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(54, 36, 54, 72),
                         QPageLayout::Point);
const QSizeF kLetterLandscape(792, 612);
const QSizeF kLetterPortrait(612, 792);

class HandIn : public ::testing::Test {
protected:
    void SetUp() override {
        reportPdf = PdfWithPages({QStringLiteral("EXPENSE REPORT")}, QPageSize(QPageSize::Letter));
        ExpenseRow& first = report.rows[0];
        first.date = QDate(2016, 11, 7);
        first.account = QStringLiteral("110797");
        first.description = QStringLiteral("Transport account");
        first.amounts = {"$0.00", "$112.57", "$44.58", "$22.58", "$18.35", "$0.00", "$0.00"};
    }

    ReceiptFile receipt(const QString& name, const QByteArray& bytes) {
        return {WriteReceipt(folder.filePath(name), bytes), name};
    }

    // The hand-in PDF written to a file for the tools.
    QString handIn() {
        const QString path = folder.filePath(QStringLiteral("hand-in.pdf"));
        Write(path, HandInPdf(reportPdf, kPaper, ReceiptsToHandIn(report)));
        return path;
    }

    QTemporaryDir folder;
    QByteArray reportPdf;
    ExpenseReport report;
};

TEST_F(HandIn, WithoutReceiptsItIsTheReportsPdf) {
    EXPECT_EQ(HandInPdf(reportPdf, kPaper, ReceiptsToHandIn(report)), reportPdf);
}

TEST_F(HandIn, TheReportComesFirstThenEveryReceiptInRowOrderEachCaptionedWithItsRow) {
    SKIP_WITHOUT_PDF_TOOLS();
    const QByteArray photo = JpegPhoto({800, 600});
    report.rows[0].receipts = {receipt(QStringLiteral("taxi.jpg"), photo),
                               receipt(QStringLiteral("parking.png"), ImageIn("png", {300, 450}))};
    report.rows[2].account = QStringLiteral("111017");
    report.rows[2].receipts = {
        receipt(QStringLiteral("hotel bill.pdf"),
                PdfWithPages({QStringLiteral("Harbour Hotel night one"), QStringLiteral("Harbour Hotel night two")}))};
    const QString pdf = handIn();

    EXPECT_EQ(PdfStructureProblems(pdf), QString());
    ASSERT_EQ(PdfPageCount(pdf), 5);
    const std::vector<QSizeF> sizes = PdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 5u);
    EXPECT_EQ(sizes[1], kLetterLandscape) << "a landscape photo on the report's paper, turned to suit it";
    EXPECT_EQ(sizes[2], kLetterPortrait);
    EXPECT_EQ(sizes[3], QSizeF(420, 595)) << "a PDF receipt's page keeps its own size";
    EXPECT_EQ(sizes[4], QSizeF(420, 595));

    EXPECT_TRUE(PdfPageText(pdf, 1).contains(QLatin1String("EXPENSE REPORT")));
    EXPECT_TRUE(PdfPageText(pdf, 2).contains(
        QStringLiteral("07-Nov-2016 \u00B7 110797 \u00B7 Transport account \u00B7 $198.08 \u00B7 receipt 1 of 2 "
                       "\u00B7 taxi.jpg")))
        << PdfPageText(pdf, 2).toStdString();
    EXPECT_TRUE(PdfPageText(pdf, 3).contains(QStringLiteral("receipt 2 of 2 \u00B7 parking.png")));
    for (int page : {4, 5}) {
        const QString text = PdfPageText(pdf, page);
        EXPECT_TRUE(text.contains(QStringLiteral("111017 \u00B7 $0.00 \u00B7 receipt 1 of 1 \u00B7 hotel bill.pdf")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(page == 4 ? QLatin1String("Harbour Hotel night one")
                                            : QLatin1String("Harbour Hotel night two")))
            << "the receipt's own text is still text";
    }

    const std::vector<PdfImage> images = PdfImages(pdf);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].page, 2);
    EXPECT_EQ(images[0].encoding, QStringLiteral("jpeg"));
    EXPECT_EQ(QSize(images[0].width, images[0].height), QSize(800, 600));
    EXPECT_EQ(images[1].page, 3);
    EXPECT_EQ(QSize(images[1].width, images[1].height), QSize(300, 450)) << "an image is never enlarged in pixels";

    // A photo that needs neither turning nor fewer pixels goes in byte for byte.
    const QString extracted = folder.filePath(QStringLiteral("extracted"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("pdfimages"), {"-j", "-f", "2", "-l", "2", pdf, extracted}), 0);
    EXPECT_EQ(Contents(extracted + QStringLiteral("-000.jpg")), photo);
}

TEST_F(HandIn, PhotosAreTurnedUprightAndCarryAtMost300DotsPerInch) {
    SKIP_WITHOUT_PDF_TOOLS();
    report.rows[0].receipts = {receipt(QStringLiteral("big.jpg"), JpegPhoto({4000, 3000})),
                               receipt(QStringLiteral("turned.jpg"), JpegPhoto({1200, 800}, 6))};
    const QString pdf = handIn();
    EXPECT_EQ(PdfStructureProblems(pdf), QString());
    const std::vector<QSizeF> sizes = PdfPageSizes(pdf);
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_EQ(sizes[1], kLetterLandscape);
    EXPECT_EQ(sizes[2], kLetterPortrait) << "stored landscape, shown portrait";
    const std::vector<PdfImage> images = PdfImages(pdf);
    ASSERT_EQ(images.size(), 2u);
    EXPECT_LT(images[0].width, 4000);
    EXPECT_LE(images[0].xPpi, 300);
    EXPECT_GE(images[0].xPpi, 290) << "no more detail given away than the limit asks";
    EXPECT_EQ(images[0].xPpi, images[0].yPpi);
    EXPECT_EQ(QSize(images[1].width, images[1].height), QSize(800, 1200));
    EXPECT_EQ(images[1].encoding, QStringLiteral("jpeg"));
}

TEST_F(HandIn, AHundredMegapixelPhotoIsNeverDecodedAtItsFullSize) {
    SKIP_WITHOUT_PDF_TOOLS();
    report.rows[0].receipts = {receipt(QStringLiteral("huge.jpg"), JpegPhoto({12000, 8400}, 1, 50))};
    // A whole decoded picture of it takes 403 MB; one at 300 dpi on the page about 23 MB.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(64);
    const QString pdf = handIn();
    QImageReader::setAllocationLimit(limit);
    const std::vector<PdfImage> images = PdfImages(pdf);
    ASSERT_EQ(images.size(), 1u);
    EXPECT_LE(images[0].xPpi, 300);
    EXPECT_GE(images[0].width, 2500);
}

TEST_F(HandIn, A500PagePdfReceiptFollowsWhole) {
    SKIP_WITHOUT_PDF_TOOLS();
    QStringList pages;
    for (int page = 1; page <= 500; ++page) pages << QStringLiteral("Statement page %1").arg(page);
    report.rows[14].receipts = {receipt(QStringLiteral("statement.pdf"), PdfWithPages(pages))};
    const QString pdf = handIn();
    EXPECT_EQ(PdfStructureProblems(pdf), QString());
    ASSERT_EQ(PdfPageCount(pdf), 501);
    const QString last = PdfPageText(pdf, 501);
    EXPECT_TRUE(last.contains(QLatin1String("Statement page 500")));
    EXPECT_TRUE(last.contains(QStringLiteral("receipt 1 of 1 \u00B7 statement.pdf")));
}

TEST_F(HandIn, AReceiptThatCannotBeReadIsNamed) {
    report.rows[3].receipts = {receipt(QStringLiteral("fine.png"), ImageIn("png", {20, 20})),
                               {folder.filePath(QStringLiteral("gone.jpg")), QStringLiteral("lunch.jpg")}};
    try {
        HandInPdf(reportPdf, kPaper, ReceiptsToHandIn(report));
        FAIL() << "a missing receipt was left out";
    } catch (const ReceiptError& refused) {
        EXPECT_EQ(refused.file(), QStringLiteral("lunch.jpg"));
        EXPECT_EQ(refused.reason(), QStringLiteral("does not exist"));
    }
}

TEST(ReceiptCaptionTest, ALongDescriptionGivesWayFirst) {
    ExpenseRow row;
    row.date = QDate(2016, 11, 10);
    row.account = QStringLiteral("111017");
    row.description = QString(500, QLatin1Char('d'));
    row.amounts = {"$118.74", "$0.00", "$0.00", "$52.89", "$48.75", "$14.99", "$15.49"};
    row.receipts = {{QStringLiteral("/a"), QStringLiteral("a.pdf")}, {QStringLiteral("/b"), QStringLiteral("b.pdf")}};
    const QFontMetricsF metrics{QFont()};
    const ReceiptCaption caption = CaptionOf(row, 1);
    const QString fitted = caption.fitted(metrics, 400);
    EXPECT_LE(metrics.horizontalAdvance(fitted), 400);
    EXPECT_TRUE(fitted.startsWith(QStringLiteral("10-Nov-2016 \u00B7 111017 \u00B7 ddd")));
    EXPECT_TRUE(fitted.endsWith(QStringLiteral("\u2026 \u00B7 $250.86 \u00B7 receipt 2 of 2 \u00B7 b.pdf")))
        << fitted.toStdString();
}

}  // namespace
