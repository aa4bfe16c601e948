// Saving the result workbook's printed page as a PDF from the preview window's save dialog: chosen
// by a ".pdf" name or by the PDF filter, with the workbook's own overwrite question, "Done." and
// all-or-nothing replace.
#include "SaveFixture.h"
#include "support/FileBytes.h"
#include "SampleResultWorkbook.h"
#include "SaveDialog.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString kPdfFilter = QStringLiteral("PDF Files (*.pdf)");
const QString kWorkbookFilter = QStringLiteral("Excel Files (*.xls)");

class Form2SavePdf : public SaveFixture {
protected:
    // The sample report's page: one Letter landscape page with its labels, values and totals.
    static void expectSamplePage(const QString& pdf) {
        ASSERT_TRUE(Contents(pdf).startsWith("%PDF-")) << pdf.toStdString();
        if (!PopplerInstalled())
            GTEST_SKIP() << "poppler-utils is not installed (./do test installs it): only the PDF header was checked";
        const QString info = PopplerOutput(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+792 x 612 pts"))))
            << info.toStdString();
        const QString text =
            PopplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
                .value_or(QString());
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Name\\s+Peter Ashdown")))) << text.toStdString();
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Subtotal\\s+\\$\\s+448\\.94"))))
            << text.toStdString();
    }

    QString errorText() const {
        for (const MessageRequest& m : messages)
            if (m.title == QStringLiteral("Application Error")) return m.text;
        return {};
    }
};

TEST_F(Form2SavePdf, APdfNameInAnyCaseWritesThePrintedPageAndAnXlsNameTheSameWorkbookAsBefore) {
    saveAs(out(QStringLiteral("report.PDF")), kWorkbookFilter);
    saveAs(out(QStringLiteral("report.xls")), kWorkbookFilter);
    EXPECT_EQ(
        requests,
        QStringList(2, QStringLiteral("Save File|Excel Files (*.xls);;PDF Files (*.pdf);;Excel Workbook (*.xlsx)")));
    EXPECT_EQ(notices(), (QStringList{QStringLiteral("Done."), QStringLiteral("Done.")}));
    EXPECT_EQ(errorBoxes(), 0);
    EXPECT_EQ(written(), (QStringList{QStringLiteral("report.PDF"), QStringLiteral("report.xls")}))
        << "no temporary file is left behind";
    EXPECT_EQ(Contents(out(QStringLiteral("report.xls"))), Contents(form->mExcelFile.path()));
    expectSamplePage(out(QStringLiteral("report.PDF")));
}

TEST_F(Form2SavePdf, AKnownExtensionDecidesAndAnyOtherNameGetsTheSelectedFiltersExtension) {
    saveAs(out(QStringLiteral("expenses")), kPdfFilter);
    saveAs(out(QStringLiteral("expenses.v2")), kPdfFilter);
    saveAs(out(QStringLiteral("plain")), kWorkbookFilter);
    saveAs(out(QStringLiteral("b.xls")), kPdfFilter);
    saveAs(out(QStringLiteral("dotted.")), kPdfFilter);
    EXPECT_EQ(written(),
              (QStringList{QStringLiteral("b.xls"), QStringLiteral("dotted.pdf"), QStringLiteral("expenses.pdf"),
                           QStringLiteral("expenses.v2.pdf"), QStringLiteral("plain.xls")}));
    EXPECT_EQ(Contents(out(QStringLiteral("plain.xls"))), Contents(form->mExcelFile.path()));
    EXPECT_EQ(Contents(out(QStringLiteral("b.xls"))), Contents(form->mExcelFile.path()))
        << "a workbook's name is a workbook whichever filter was selected";
    EXPECT_TRUE(Contents(out(QStringLiteral("expenses.v2.pdf"))).startsWith("%PDF-"));
    EXPECT_EQ(notices(), QStringList(5, QStringLiteral("Done.")));
    expectSamplePage(out(QStringLiteral("expenses.pdf")));
}

TEST_F(Form2SavePdf, TheOverwriteQuestionNamesThePdfThatWouldBeReplaced) {
    const QString old = out(QStringLiteral("old.pdf"));
    Write(old, "the old pdf");

    answer = kMsgNo;
    saveAs(out(QStringLiteral("old")), kPdfFilter);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text, QStringLiteral("Are you sure you wish to overwrite ") + old + QStringLiteral(" ?"));
    EXPECT_EQ(messages[1].text, QStringLiteral("Done."));
    EXPECT_EQ(Contents(old), QByteArray("the old pdf"));

    answer = kMsgYes;
    saveAs(old, kWorkbookFilter);
    EXPECT_EQ(errorBoxes(), 0);
    EXPECT_EQ(written(), QStringList{QStringLiteral("old.pdf")});
    expectSamplePage(old);
}

TEST_F(Form2SavePdf, AFailedPdfReportsTheStatementAndKeepsWhatWasThere) {
    const QString old = out(QStringLiteral("old.pdf"));
    Write(old, "the old pdf");
    // A result workbook that cannot be read has no page to print: nothing is touched.
    Write(form->mExcelFile.path(), "not a workbook");
    saveAs(old, kPdfFilter);
    EXPECT_EQ(errorBoxes(), 1);
    EXPECT_TRUE(errorText().contains(QStringLiteral("cannot be printed"))) << errorText().toStdString();
    EXPECT_TRUE(errorText().contains(QStringLiteral("at line 134"))) << errorText().toStdString();
    EXPECT_FALSE(notices().contains(QStringLiteral("Done.")));
    EXPECT_EQ(Contents(old), QByteArray("the old pdf"));
    EXPECT_EQ(written(), QStringList{QStringLiteral("old.pdf")});
    EXPECT_FALSE(form->mSaving);
}

TEST_F(Form2SavePdf, NonRegularTargetsAreRefusedAsForTheWorkbook) {
    const QString fifo = out(QStringLiteral("fifo.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(out(QStringLiteral("taken.pdf"))));
    saveAs(fifo, kPdfFilter);
    saveAs(out(QStringLiteral("taken")), kPdfFilter);
    EXPECT_EQ(errorBoxes(), 2);
    EXPECT_TRUE(errorText().contains(QStringLiteral("not a regular file"))) << errorText().toStdString();
    EXPECT_FALSE(notices().contains(QStringLiteral("Done.")));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_TRUE(QDir(out(QStringLiteral("taken.pdf"))).exists());
    EXPECT_EQ(written(), QStringList{QStringLiteral("fifo.pdf")});
}

}  // namespace
