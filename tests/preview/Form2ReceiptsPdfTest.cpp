// Every PDF the preview makes holds the result workbook's page and then the report's receipts in
// row order, each captioned with its row: saved under a .pdf name and printed with Ctrl+P to a PDF
// file; judged by poppler and qpdf. A receipt that cannot be read leaves the target as it was.
#include "PreviewFixture.h"
#include "SampleResultWorkbook.h"
#include "PrintDialog.h"
#include "SaveDialog.h"
#include "receipts/HandInPdf.h"
#include "support/FileBytes.h"
#include "support/PdfTools.h"
#include "support/ReceiptFiles.h"

#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

namespace {

class Form2ReceiptsPdf : public PreviewFixture {
protected:
    void SetUp() override {
        PreviewFixture::SetUp();
        handOver(QuarteredPicture(40, 30), SaveSampleResultWorkbook(folder.path()));
        ExpenseReport report;
        report.rows[1].account = QStringLiteral("111017");
        report.rows[1].amounts = {"$118.74", "$0.00", "$0.00", "$52.89", "$48.75", "$14.99", "$15.49"};
        report.rows[1].receipts = {receipt(QStringLiteral("hotel.jpg"), JpegPhoto({400, 300})),
                                   receipt(QStringLiteral("dinner.pdf"),
                                           PdfWithPages({QStringLiteral("Dinner bill"), QStringLiteral("Tip")}))};
        report.rows[4].receipts = {receipt(QStringLiteral("fuel.png"), ImageIn("png", {120, 200}))};
        form->mReceipts = ReceiptsToHandIn(report);
    }
    void TearDown() override {
        SetSaveDialogHandler({});
        SetPrintDialogHandler({});
        PreviewFixture::TearDown();
    }

    ReceiptFile receipt(const QString& name, const QByteArray& bytes) {
        return {WriteReceipt(folder.filePath(name), bytes), name};
    }
    void save(const QString& path) {
        SetSaveDialogHandler([path](QWidget*, const QString&, const QString&) { return SaveDialogAnswer{path}; });
        QTest::mouseClick(form->PushButton6, Qt::LeftButton);
    }

    // The sample's page, then the hotel photo, the dinner bill's two pages and the fuel photo.
    static void expectHandIn(const QString& pdf) {
        EXPECT_EQ(PdfStructureProblems(pdf).toStdString(), "");
        ASSERT_EQ(PdfPageCount(pdf), 5);
        EXPECT_TRUE(PdfPageText(pdf, 1).contains(QStringLiteral("Peter Ashdown")));
        const QString hotel = PdfPageText(pdf, 2);
        EXPECT_TRUE(hotel.contains(QStringLiteral("111017"))) << hotel.toStdString();
        EXPECT_TRUE(hotel.contains(QStringLiteral("$250.86"))) << hotel.toStdString();
        EXPECT_TRUE(hotel.contains(QStringLiteral("receipt 1 of 2"))) << hotel.toStdString();
        EXPECT_TRUE(hotel.contains(QStringLiteral("hotel.jpg"))) << hotel.toStdString();
        const QString dinner = PdfPageText(pdf, 3);
        EXPECT_TRUE(dinner.contains(QStringLiteral("Dinner bill"))) << "the receipt's own text stays text";
        EXPECT_TRUE(dinner.contains(QStringLiteral("receipt 2 of 2"))) << dinner.toStdString();
        EXPECT_TRUE(PdfPageText(pdf, 4).contains(QStringLiteral("Tip")));
        EXPECT_TRUE(PdfPageText(pdf, 5).contains(QStringLiteral("fuel.png")));
        const std::vector<PdfImage> images = PdfImages(pdf);
        ASSERT_EQ(images.size(), 2u);
        EXPECT_EQ(images[0].page, 2);
        EXPECT_EQ(images[0].encoding, QStringLiteral("jpeg")) << "the photo is kept as it was";
        EXPECT_EQ(images[1].page, 5);
    }
};

TEST_F(Form2ReceiptsPdf, APdfSaveHoldsTheReportPageThenEveryReceiptInRowOrder) {
    SKIP_WITHOUT_PDF_TOOLS();
    const QString pdf = folder.filePath(QStringLiteral("hand-in.pdf"));
    save(pdf);
    EXPECT_EQ(errorBoxes(), 0);
    EXPECT_EQ(notices(), QStringList{QStringLiteral("Done.")});
    expectHandIn(pdf);

    const QString workbook = folder.filePath(QStringLiteral("copy.xls"));
    save(workbook);
    EXPECT_EQ(Contents(workbook), Contents(form->mExcelFile.path())) << "a workbook save is the workbook alone";
}

TEST_F(Form2ReceiptsPdf, CtrlPToAPdfFileHoldsTheReceiptsToo) {
    SKIP_WITHOUT_PDF_TOOLS();
    const QString pdf = folder.filePath(QStringLiteral("printed.pdf"));
    SetPrintDialogHandler([pdf](QWidget*, QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    });
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(errorBoxes(), 0);
    expectHandIn(pdf);
}

TEST_F(Form2ReceiptsPdf, AReceiptThatCannotBeReadLeavesTheTargetAsItWas) {
    const QString pdf = WriteReceipt(folder.filePath(QStringLiteral("old.pdf")), "the old file");
    ASSERT_TRUE(QFile::remove(form->mReceipts[2].file.path));
    save(pdf);
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_TRUE(notices().filter(QStringLiteral("Done.")).isEmpty()) << "a failed save is not reported as done";
    bool named = false;
    for (const MessageRequest& m : messages) named = named || m.text.contains(QStringLiteral("fuel.png"));
    EXPECT_TRUE(named) << "the box names the receipt";
    EXPECT_EQ(Contents(pdf), QByteArray("the old file"));
}

}  // namespace
