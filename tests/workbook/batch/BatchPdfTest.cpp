// --pdf: the sheet's printed page beside the workbook, joining its all-or-nothing outputs, to a
// file, to standard output, and per report with --out-dir.
#include "BatchProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

class BatchPdf : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        report = writeFile(QStringLiteral("r.json"),
                           R"({"txtPurpose": "Client visit", "txtName": "Ada Quill", "txtHotel0": "$120.00",
                               "txtMeals1": "$12.50"})");
    }

    BatchResult write(const QString& xls, const QString& pdf) {
        return run({QStringLiteral("--report"), report, QStringLiteral("--xls"), xls, QStringLiteral("--pdf"), pdf});
    }

    // The poppler tool's standard output; empty when it fails.
    static QString poppler(const QString& tool, const QStringList& arguments) {
        QProcess process;
        process.start(tool, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    // One Letter landscape page whose text holds the report's values and computed totals.
    static void expectPrintedPage(const QString& pdf) {
        ASSERT_TRUE(Contents(pdf).startsWith("%PDF-"));
        for (const char* tool : {"pdfinfo", "pdftotext"})
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                GTEST_SKIP()
                    << "poppler-utils is not installed (./do test installs it): only the PDF header was checked";
        const QString info = poppler(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+792 x 612 pts"))))
            << info.toStdString();
        const QString text =
            poppler(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        // The column totals row shows Hotel and Meals apart; Subtotal and Total add them up.
        for (const char* expected : {"PURPOSE:\\s+Client visit", "Name\\s+Ada Quill",
                                     "\\$\\s+120\\.00(\\s+\\$\\s+-){2}\\s+\\$\\s+12\\.50(\\s+\\$\\s+-){3}\\n",
                                     "Subtotal\\s+\\$\\s+132\\.50", "\\n\\s*Total\\s+\\$\\s+132\\.50"})
            EXPECT_TRUE(text.contains(QRegularExpression(QLatin1String(expected)))) << expected << "\n"
                                                                                    << text.toStdString();
    }

    QString report;
};

TEST_F(BatchPdf, ThePdfIsTheSheetsPrintedPageBesideTheSameWorkbook) {
    const QString xls = path(QStringLiteral("o.xls"));
    const QString pdf = path(QStringLiteral("o.pdf"));
    const BatchResult result = write(xls, pdf);
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_TRUE(result.standardError.isEmpty()) << result.standardError.toStdString();
    expectPrintedPage(pdf);

    ASSERT_EQ(
        run({QStringLiteral("--report"), report, QStringLiteral("--xls"), path(QStringLiteral("alone.xls"))}).exitCode,
        0);
    EXPECT_EQ(Contents(xls), Contents(path(QStringLiteral("alone.xls")))) << "the PDF changes nothing in the workbook";
}

TEST_F(BatchPdf, DashWritesThePdfToStandardOutputButOnlyOneOutputMayGoThere) {
    const BatchResult result = write(path(QStringLiteral("o.xls")), QStringLiteral("-"));
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    const QString pdf = writeFile(QStringLiteral("piped.pdf"), result.standardOutput);
    expectPrintedPage(pdf);

    for (const QStringList& both :
         {QStringList{QStringLiteral("--xls"), QStringLiteral("-"), QStringLiteral("--pdf"), QStringLiteral("-")},
          QStringList{QStringLiteral("--xls"), path(QStringLiteral("n.xls")), QStringLiteral("--picture"),
                      QStringLiteral("-"), QStringLiteral("--pdf"), QStringLiteral("-")}}) {
        const BatchResult refused = run(QStringList{QStringLiteral("--report"), report} + both);
        EXPECT_EQ(refused.exitCode, 2);
        EXPECT_TRUE(refused.standardError.contains(QStringLiteral("only one output can go to standard output")))
            << refused.standardError.toStdString();
        EXPECT_TRUE(refused.standardOutput.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("n.xls"))));
}

TEST_F(BatchPdf, AFailedPdfLeavesTheExistingWorkbookAndPdfExactlyAsTheyWere) {
    const QString xls = writeFile(QStringLiteral("old.xls"), "the old workbook");
    const QString pdf = writeFile(QStringLiteral("old.pdf"), "the old pdf");
    QDir(folder.path()).mkdir(QStringLiteral("a folder.pdf"));
    const QString fifo = path(QStringLiteral("fifo.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QStringList before = files();

    const auto expectCouldNotWrite = [](const BatchResult& result, const QString& expected) {
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(expected)) << result.standardError.toStdString();
    };
    expectCouldNotWrite(write(xls, path(QStringLiteral("missing-folder/p.pdf"))), QStringLiteral("p.pdf"));
    expectCouldNotWrite(write(xls, path(QStringLiteral("a folder.pdf"))), QStringLiteral("is a folder"));
    expectCouldNotWrite(write(xls, fifo), QStringLiteral("not a regular file"));
    EXPECT_EQ(write(xls, xls).exitCode, 2) << "one output named twice is a bad option";
    expectCouldNotWrite(write(path(QStringLiteral("missing-folder/o.xls")), pdf), QStringLiteral("o.xls"));
    EXPECT_EQ(Contents(xls), QByteArray("the old workbook"));
    EXPECT_EQ(Contents(pdf), QByteArray("the old pdf"));
    EXPECT_EQ(files(), before) << "no temporary file is left behind";

    ASSERT_EQ(write(xls, pdf).exitCode, 0);
    EXPECT_EQ(cellByXlrd(xls, 3, 2), QStringLiteral("Client visit"));
    expectPrintedPage(pdf);
}

TEST_F(BatchPdf, WithOutDirThePdfFlagWritesOnePdfPerReport) {
    QDir(folder.path()).mkdir(QStringLiteral("out"));
    const QString second = writeFile(QStringLiteral("second.json"), R"({"txtPurpose": "Other"})");
    const BatchResult result =
        run({QStringLiteral("--out-dir"), path(QStringLiteral("out")), QStringLiteral("--pdf"), report, second});
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral("r.pdf"), QStringLiteral("r.xls"), QStringLiteral("second.pdf"),
                           QStringLiteral("second.xls")}));
    expectPrintedPage(path(QStringLiteral("out/r.pdf")));

    const BatchResult valued =
        run({QStringLiteral("--out-dir"), path(QStringLiteral("out")), QStringLiteral("--pdf=x.pdf"), report});
    EXPECT_EQ(valued.exitCode, 2);
    EXPECT_TRUE(valued.standardError.contains(QStringLiteral("--pdf takes no value")))
        << valued.standardError.toStdString();
}

TEST_F(BatchPdf, HelpAndManualPageDocumentIt) {
    const QString help = QString::fromUtf8(run({QStringLiteral("--help")}).standardOutput);
    EXPECT_TRUE(help.contains(QStringLiteral("--pdf FILE"))) << help.toStdString();
    EXPECT_TRUE(help.contains(QStringLiteral("DIR/NAME.pdf"))) << help.toStdString();
    EXPECT_TRUE(Contents(QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch.1")).contains("\\-\\-pdf"));
}

}  // namespace
