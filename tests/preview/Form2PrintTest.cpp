// Ctrl+P in the preview window: the print dialog, the result workbook's page on the printer, and
// nothing printed when the dialog is cancelled.
#include "PreviewFixture.h"
#include "SampleResultWorkbook.h"
#include "PrintDialog.h"
#include "WorkbookPrint.h"
#include "xls/WorkbookIo.h"

#include <QApplication>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

class Form2Print : public PreviewFixture {
protected:
    void TearDown() override {
        SetPrintDialogHandler({});
        PreviewFixture::TearDown();
    }
    QString pdfPath() const { return folder.filePath(QStringLiteral("printed.pdf")); }
    // The dialog is answered by printing to a PDF file, the printer a test has.
    void answerPrintDialog(bool accept) {
        SetPrintDialogHandler([this, accept](QWidget* parent, QPrinter& printer) {
            dialogParents.push_back(parent);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath());
            return accept;
        });
    }
    void pressCtrlP() { QTest::keyClick(form.get(), Qt::Key_P, Qt::ControlModifier); }

    std::vector<QWidget*> dialogParents;
};

TEST_F(Form2Print, CtrlPPrintsTheResultWorkbooksPageByItsPageSetup) {
    if (!PopplerInstalled()) GTEST_SKIP() << "poppler-utils is not installed (./do test installs it)";
    handOver(QuarteredPicture(40, 30), SaveSampleResultWorkbook(folder.path()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    answerPrintDialog(true);
    pressCtrlP();

    ASSERT_EQ(dialogParents.size(), 1u);
    EXPECT_EQ(dialogParents[0], form.get());
    EXPECT_EQ(errorBoxes(), 0);
    const QString info = PopplerOutput(QStringLiteral("pdfinfo"), {pdfPath()}).value_or(QString());
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+792 x 612 pts")))) << info.toStdString();
    const QString text =
        PopplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdfPath(), QStringLiteral("-")})
            .value_or(QString());
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Name\\s+Peter Ashdown")))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Subtotal\\s+\\$\\s+448\\.94")))) << text.toStdString();
    EXPECT_TRUE(notices().isEmpty());
    EXPECT_TRUE(form->isVisible());

    // The PDF the save path writes carries the same page.
    const QString saved = folder.filePath(QStringLiteral("saved.pdf"));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(WorkbookFilePdf(form->mExcelFile.path()));
    file.close();
    EXPECT_EQ(PopplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), saved, QStringLiteral("-")}),
              text);
}

TEST_F(Form2Print, CancellingPrintsNothingAndSaysNothing) {
    handOver(QuarteredPicture(40, 30), SaveSampleResultWorkbook(folder.path()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    answerPrintDialog(false);
    pressCtrlP();
    EXPECT_EQ(dialogParents.size(), 1u);
    EXPECT_FALSE(QFile::exists(pdfPath()));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Form2Print, TheSystemPrintDialogOpensAndCancellingItPrintsNothing) {
    handOver(QuarteredPicture(40, 30), SaveSampleResultWorkbook(folder.path()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        shown = dialog != nullptr;
        if (dialog) dialog->reject();
    });
    pressCtrlP();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(messages.empty());
}

TEST_F(Form2Print, AMissingOrUnreadableWorkbookIsReportedAndNothingIsPrinted) {
    const QString broken = folder.filePath(QStringLiteral("broken.xls"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a workbook");
    file.close();
    for (const QString& workbook : {folder.filePath(QStringLiteral("gone.xls")), broken}) {
        messages.clear();
        handOver(QuarteredPicture(40, 30), workbook);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        answerPrintDialog(true);
        pressCtrlP();
        ASSERT_EQ(errorBoxes(), 1) << workbook.toStdString();
        EXPECT_TRUE(messages.back().text.contains(QStringLiteral("Form2.PrintPage at line 102")));
        EXPECT_TRUE(messages.back().text.contains(workbook));
        EXPECT_FALSE(QFile::exists(pdfPath()));
    }
}

TEST(WorkbookFilePdf, AWorkbookWithNothingToPrintIsAFailureNamingTheFile) {
    QTemporaryDir folder;
    xls::Workbook book;
    book.sheets.emplace_back().name = "Empty";
    const std::vector<uint8_t> bytes = xls::writeWorkbook(book);
    const QString path = folder.filePath(QStringLiteral("empty.xls"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    file.close();
    try {
        WorkbookFilePdf(path);
        ADD_FAILURE() << "an empty sheet gave a PDF";
    } catch (const std::runtime_error& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(path));
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QStringLiteral("nothing to print")));
    }
}

}  // namespace
