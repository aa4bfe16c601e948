// Receipts in the batch: "Receipts0" .. "Receipts14" name files relative to the report's folder, or
// come from the store with --from-store; the PDF holds the printed page, then every receipt
// captioned; a bad receipt stops the run naming the key and the file, every output as it was.
#include "BatchProcess.h"

#include "app/SettingsStore.h"
#include "receipts/ReceiptLibrary.h"
#include "support/PdfTools.h"
#include "support/ReceiptFiles.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

class BatchReceipts : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        QDir(folder.path()).mkpath(QStringLiteral("trip/photos"));
        taxi = WriteReceipt(path(QStringLiteral("trip/photos/taxi.jpg")), JpegPhoto({640, 480}));
        bill = WriteReceipt(path(QStringLiteral("bill.pdf")),
                            PdfWithPages({QStringLiteral("Harbour Hotel night one"), QStringLiteral("night two")}));
    }

    QString report(const QByteArray& receipts) {
        return writeFile(QStringLiteral("trip/r.json"), R"({"DTPicker23": "2016-11-07", "txtAccount3": "110797",
                                                           "txtHotel3": "$118.74", )" +
                                                            receipts + "}");
    }

    BatchResult write(const QString& json) {
        return run({QStringLiteral("--report"), json, QStringLiteral("--xls"), path(QStringLiteral("o.xls")),
                    QStringLiteral("--pdf"), path(QStringLiteral("o.pdf"))});
    }

    QString taxi;
    QString bill;
};

TEST_F(BatchReceipts, ThePdfHoldsTheReportThenTheReceiptsFoundFromTheReportsFolder) {
    SKIP_WITHOUT_PDF_TOOLS();
    const BatchResult result = write(report(R"("receipts3": ["photos/taxi.jpg", "../bill.pdf"])"));
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    const QString pdf = path(QStringLiteral("o.pdf"));
    EXPECT_EQ(PdfStructureProblems(pdf), QString());
    ASSERT_EQ(PdfPageCount(pdf), 4);
    EXPECT_TRUE(PdfPageText(pdf, 1).contains(QLatin1String("118.74")));
    EXPECT_TRUE(PdfPageText(pdf, 2).contains(
        QStringLiteral("07-Nov-2016 \u00B7 110797 \u00B7 $118.74 \u00B7 receipt 1 of 2 \u00B7 taxi.jpg")));
    EXPECT_TRUE(PdfPageText(pdf, 3).contains(QStringLiteral("receipt 2 of 2 \u00B7 bill.pdf")));
    EXPECT_TRUE(PdfPageText(pdf, 3).contains(QLatin1String("Harbour Hotel night one")));
    EXPECT_TRUE(PdfPageText(pdf, 4).contains(QLatin1String("night two")));
}

TEST_F(BatchReceipts, ABadReceiptStopsTheRunNamingKeyAndFileAndEveryOutputStaysAsItWas) {
    const QString xls = writeFile(QStringLiteral("o.xls"), "the old workbook");
    const QString pdf = writeFile(QStringLiteral("o.pdf"), "the old PDF");
    const QByteArray photo = JpegPhoto({640, 480});
    WriteReceipt(path(QStringLiteral("trip/cut.jpg")), photo.left(photo.size() / 2));
    const struct {
        QByteArray receipts;
        QString says;
    } cases[] = {
        {R"("Receipts3": ["photos/taxi.jpg", "cut.jpg"])", QStringLiteral("r.json: Receipts3: ") +
                                                               path(QStringLiteral("trip/cut.jpg")) +
                                                               QStringLiteral(" is a truncated or damaged JPEG image")},
        {R"("Receipts3": ["gone.pdf"])", QStringLiteral("r.json: Receipts3: ") + path(QStringLiteral("trip/gone.pdf")) +
                                             QStringLiteral(" does not exist")},
        {R"("Receipts3": "photos/taxi.jpg")",
         QStringLiteral("r.json: Receipts3: \"photos/taxi.jpg\" is not a list of receipt files")},
    };
    for (const auto& bad : cases) {
        const BatchResult result = write(report(bad.receipts));
        EXPECT_EQ(result.exitCode, 2) << bad.receipts.toStdString();
        EXPECT_EQ(result.errorLines(), 1);
        EXPECT_TRUE(result.standardError.contains(bad.says)) << result.standardError.toStdString();
        EXPECT_EQ(Contents(xls), QByteArray("the old workbook"));
        EXPECT_EQ(Contents(pdf), QByteArray("the old PDF"));
    }

    // A receipt is an input of the report: no output may replace it.
    const BatchResult onto = run({QStringLiteral("--report"), report(R"("Receipts3": ["../bill.pdf"])"),
                                  QStringLiteral("--xls"), xls, QStringLiteral("--pdf"), bill});
    EXPECT_EQ(onto.exitCode, 2) << onto.standardError.toStdString();
    EXPECT_TRUE(onto.standardError.contains(QLatin1String("bill.pdf"))) << onto.standardError.toStdString();
    EXPECT_TRUE(Contents(bill).startsWith("%PDF-"));
    EXPECT_EQ(Contents(xls), QByteArray("the old workbook"));
}

TEST_F(BatchReceipts, AReceiptTheUserMayNotReadIsNamed) {
    runAs = TestUser();
    if (!runAs) GTEST_SKIP() << "needs an ordinary test user";
    for (const QString& open : {folder.path(), path(QStringLiteral("trip")), path(QStringLiteral("trip/photos"))})
        ::chmod(QFile::encodeName(open).constData(), 0755);
    const QString json = report(R"("Receipts3": ["photos/taxi.jpg"])");
    ::chmod(QFile::encodeName(json).constData(), 0644);
    ::chmod(QFile::encodeName(taxi).constData(), 0600);  // root's, and private
    const BatchResult result = run({QStringLiteral("--report"), json, QStringLiteral("--xls"), QStringLiteral("-")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.standardError.contains(taxi + QStringLiteral(" cannot be read: Permission denied")))
        << result.standardError.toStdString();
    EXPECT_TRUE(result.standardOutput.isEmpty());
}

TEST_F(BatchReceipts, FromStoreTakesTheReceiptsTheEntryWindowKeeps) {
    SKIP_WITHOUT_PDF_TOOLS();
    const QString data = path(QStringLiteral("data"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(path(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
    ReloadSettingsLocation();
    const StoredReceipt stored = AddToLibrary(bill);
    SaveSetting(kSettingsApp, kSettingsSection, QStringLiteral("txtDesc0"), QStringLiteral("Hotel account"));
    SaveSetting(kSettingsApp, kSettingsSection, QStringLiteral("Receipts0"), StoredReceiptsText({stored}));
    const QStringList arguments{QStringLiteral("--from-store"), QStringLiteral("--xls"), path(QStringLiteral("o.xls")),
                                QStringLiteral("--pdf"), path(QStringLiteral("o.pdf"))};

    const BatchResult result = run(arguments);
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    const QString pdf = path(QStringLiteral("o.pdf"));
    ASSERT_EQ(PdfPageCount(pdf), 3);
    EXPECT_TRUE(PdfPageText(pdf, 2).contains(
        QStringLiteral("Hotel account \u00B7 $0.00 \u00B7 receipt 1 of 1 \u00B7 bill.pdf")));

    ASSERT_TRUE(QFile::remove(ReceiptCopyPath(stored.copy)));
    const BatchResult gone = run(arguments);
    EXPECT_EQ(gone.exitCode, 2);
    EXPECT_TRUE(gone.standardError.contains(QStringLiteral("Tarrowell.ini: Receipts0: ") +
                                            ReceiptCopyPath(stored.copy) + QStringLiteral(" does not exist")))
        << gone.standardError.toStdString();

    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
    ReloadSettingsLocation();
}

}  // namespace
