// The batch without its output module (libbrindlemoor-outputs.so, which carries the PDF library and
// libxlsxwriter): the .xls, the picture and a PDF without receipts are still made, while an Excel
// Workbook or a PDF receipt fails the run with one line naming the module, and nothing is written.
#include "BatchProcess.h"

#include "support/ReceiptFiles.h"

#include <QDir>
#include <QFile>

namespace {

class BatchWithoutOutputModule : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        // A copy of the program alone in a folder: neither beside it nor where the package would put it.
        QDir(folder.path()).mkdir(QStringLiteral("alone"));
        executable = path(QStringLiteral("alone/brindlemoor-batch"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch"), executable));
        environment.remove(QStringLiteral("QT_PLUGIN_PATH"));
        report = writeFile(QStringLiteral("r.json"), R"({"txtHotel0": "$10.25"})");
    }

    BatchResult write(const QStringList& outputs) {
        return run(
            QStringList{QStringLiteral("--locale"), QStringLiteral("en_US"), QStringLiteral("--report"), report} +
            outputs);
    }

    void expectFailureNamingTheModule(const BatchResult& result) {
        EXPECT_EQ(result.exitCode, 1) << result.standardError.toStdString();
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(QStringLiteral("libbrindlemoor-outputs.so is missing")))
            << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(path(QStringLiteral("alone"))))
            << "names where it was looked for: " << result.standardError.toStdString();
    }

    QString report;
};

TEST_F(BatchWithoutOutputModule, TheWorkbookPictureAndPlainPdfNeedNoModule) {
    const BatchResult made =
        write({QStringLiteral("--xls"), path(QStringLiteral("o.xls")), QStringLiteral("--picture"),
               path(QStringLiteral("o.png")), QStringLiteral("--pdf"), path(QStringLiteral("o.pdf"))});
    ASSERT_EQ(made.exitCode, 0) << made.standardError.toStdString();
    EXPECT_EQ(totalsByXlrd(path(QStringLiteral("o.xls"))).section(QLatin1Char(' '), 0, 0), QStringLiteral("10.25"));
    EXPECT_TRUE(Contents(path(QStringLiteral("o.pdf"))).startsWith("%PDF-"));
}

TEST_F(BatchWithoutOutputModule, AnExcelWorkbookFailsNamingTheModuleAndNothingIsWritten) {
    const QStringList before = files();
    expectFailureNamingTheModule(write({QStringLiteral("--xls"), path(QStringLiteral("o.xls")),
                                        QStringLiteral("--xlsx"), path(QStringLiteral("o.xlsx"))}));
    EXPECT_EQ(files(), before);
}

TEST_F(BatchWithoutOutputModule, APdfReceiptFailsNamingTheModuleAndNothingIsWritten) {
    WriteReceipt(path(QStringLiteral("bill.pdf")), PdfWithPages({QStringLiteral("Harbour Hotel")}));
    report = writeFile(QStringLiteral("r.json"), R"({"txtHotel0": "$10.25", "Receipts0": ["bill.pdf"]})");
    const QStringList before = files();
    expectFailureNamingTheModule(write({QStringLiteral("--xls"), path(QStringLiteral("o.xls"))}));
    EXPECT_EQ(files(), before);
}

}  // namespace
