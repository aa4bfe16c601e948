// The report as an Excel Workbook from the batch: --xlsx FILE or standard output beside or
// instead of --xls, --xlsx with --out-dir, the same values and totals as the .xls, and every
// output of a report put in place together or not at all.
#include "BatchProcess.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <sys/stat.h>

namespace {

const QByteArray kReport = R"json({"txtPurpose": "=SUM(M11:M25)", "txtHotel0": "$10.25", "txtMeals3": "12.5",
                               "txtMisc14": "$0.01", "txtEmpID": "00123", "txtName": "Zoë 山田 עדי 🧾"})json";

class BatchXlsx : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        report = writeFile(QStringLiteral("r.json"), kReport);
    }

    BatchResult write(const QStringList& outputs) {
        return run(
            QStringList{QStringLiteral("--locale"), QStringLiteral("en_US"), QStringLiteral("--report"), report} +
            outputs);
    }

    QString report;
};

TEST_F(BatchXlsx, TheXlsxAloneOrBesideTheXlsHoldsTheSameValuesAndTotals) {
    const QString xlsx = path(QStringLiteral("alone.xlsx"));
    const BatchResult alone = write({QStringLiteral("--xlsx"), xlsx});
    ASSERT_EQ(alone.exitCode, 0) << alone.standardError.toStdString();
    EXPECT_TRUE(alone.standardError.isEmpty());
    EXPECT_EQ(files(), (QStringList{QStringLiteral("alone.xlsx"), QStringLiteral("r.json")}));

    const QString xls = path(QStringLiteral("both.xls"));
    const QString beside = path(QStringLiteral("both.xlsx"));
    ASSERT_EQ(write({QStringLiteral("--xls"), xls, QStringLiteral("--xlsx"), beside}).exitCode, 0);
    const QString totals = QStringLiteral("10.25 0.00 22.76 22.76 10.25 0.00 0.00 12.50 0.00 0.00 0.01");
    EXPECT_EQ(totalsByXlrd(xls), totals);
    EXPECT_EQ(totalsByOpenpyxl(xlsx), totals);
    EXPECT_EQ(totalsByOpenpyxl(beside), totals);

    EXPECT_EQ(cellByOpenpyxl(xlsx, QStringLiteral("C4")), QStringLiteral("=SUM(M11:M25)|s"))
        << "a formula-looking text stays text";
    EXPECT_EQ(cellByOpenpyxl(xlsx, QStringLiteral("L8")), QStringLiteral("00123|s"));
    EXPECT_EQ(cellByOpenpyxl(xlsx, QStringLiteral("C7")), QStringLiteral("Zoë 山田 עדי 🧾|s"));
    EXPECT_EQ(cellByOpenpyxl(xlsx, QStringLiteral("E11")), QStringLiteral("10.25|n"));
    EXPECT_EQ(cellByOpenpyxl(xlsx, QStringLiteral("active")), QStringLiteral("C4"));
}

TEST_F(BatchXlsx, DashWritesTheXlsxToStandardOutputAndNoScratchFileAppears) {
    const BatchResult toStdout =
        write({QStringLiteral("--xlsx"), QStringLiteral("-"), QStringLiteral("--xls"), path(QStringLiteral("o.xls"))});
    ASSERT_EQ(toStdout.exitCode, 0) << toStdout.standardError.toStdString();
    EXPECT_TRUE(toStdout.standardOutput.startsWith("PK\x03\x04"));
    const QString saved = writeFile(QStringLiteral("from-stdout.xlsx"), toStdout.standardOutput);
    EXPECT_EQ(totalsByOpenpyxl(saved), totalsByXlrd(path(QStringLiteral("o.xls"))));
    QDirIterator scratch(path(QStringLiteral("tmp")), QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    EXPECT_FALSE(scratch.hasNext()) << scratch.next().toStdString();

    const BatchResult twice =
        write({QStringLiteral("--xlsx"), QStringLiteral("-"), QStringLiteral("--xls"), QStringLiteral("-")});
    EXPECT_EQ(twice.exitCode, 2);
    EXPECT_TRUE(twice.standardError.contains(QStringLiteral("only one output can go to standard output")));
}

TEST_F(BatchXlsx, WithoutEitherWorkbookOptionTheRunIsRefused) {
    const BatchResult none = write({QStringLiteral("--picture"), path(QStringLiteral("p.png"))});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.standardError.contains(QStringLiteral("--xls or --xlsx is missing")))
        << none.standardError.toStdString();
    const BatchResult nameless = write({QStringLiteral("--xlsx")});
    EXPECT_EQ(nameless.exitCode, 2);
    EXPECT_TRUE(nameless.standardError.contains(QStringLiteral("--xlsx needs a value")));
    EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")});
}

TEST_F(BatchXlsx, AFailedOutputLeavesTheExistingWorkbooksExactlyAsTheyWere) {
    const QString xls = writeFile(QStringLiteral("old.xls"), "the old workbook");
    const QString xlsx = writeFile(QStringLiteral("old.xlsx"), "the old excel workbook");
    const QStringList before = files();
    const BatchResult missing =
        write({QStringLiteral("--xls"), xls, QStringLiteral("--xlsx"), path(QStringLiteral("missing/n.xlsx"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.standardError.contains(QStringLiteral("n.xlsx"))) << missing.standardError.toStdString();
    const BatchResult refused = write({QStringLiteral("--xlsx"), xlsx, QStringLiteral("--picture"), folder.path()});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(write({QStringLiteral("--xlsx"), xlsx, QStringLiteral("--xls"), xlsx}).exitCode, 2)
        << "one output named twice is a bad option";
    EXPECT_EQ(Contents(xls), QByteArray("the old workbook"));
    EXPECT_EQ(Contents(xlsx), QByteArray("the old excel workbook"));
    EXPECT_EQ(files(), before) << "no temporary file is left behind";
}

TEST_F(BatchXlsx, AFullDiskLeavesTheOldXlsxAndNoTemporaryFile) {
    const QString disk = path(QStringLiteral("disk"));
    QDir().mkpath(disk);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                    QStringLiteral("size=12k"), QStringLiteral("tmpfs"), disk}) != 0)
        GTEST_SKIP() << "needs root to mount a small file system";
    const QString xlsx = disk + QStringLiteral("/old.xlsx");
    QFile old(xlsx);
    old.open(QIODevice::WriteOnly);
    old.write("the old excel workbook");
    old.close();
    const BatchResult result =
        write({QStringLiteral("--xlsx"), xlsx, QStringLiteral("--xls"), disk + QStringLiteral("/new.xls")});
    const QStringList left = QDir(disk).entryList(QDir::Files | QDir::Hidden);
    const QByteArray kept = Contents(xlsx);
    QProcess::execute(QStringLiteral("umount"), {disk});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.standardError.contains(QStringLiteral("no space left on the device")))
        << result.standardError.toStdString();
    EXPECT_EQ(kept, QByteArray("the old excel workbook"));
    EXPECT_EQ(left, QStringList{QStringLiteral("old.xlsx")});
}

TEST_F(BatchXlsx, OutDirWritesTheXlsxInsteadOfOrBesideTheXls) {
    QDir(folder.path()).mkdir(QStringLiteral("x"));
    QDir(folder.path()).mkdir(QStringLiteral("both"));
    const QString second = writeFile(QStringLiteral("second.json"), R"({"txtHotel0": 7})");
    const BatchResult xlsxOnly =
        run({QStringLiteral("--out-dir"), path(QStringLiteral("x")), QStringLiteral("--xlsx"), report, second});
    ASSERT_EQ(xlsxOnly.exitCode, 0) << xlsxOnly.standardError.toStdString();
    EXPECT_EQ(QDir(path(QStringLiteral("x"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("r.xlsx"), QStringLiteral("second.xlsx")}));
    EXPECT_EQ(totalsByOpenpyxl(path(QStringLiteral("x/second.xlsx"))),
              QStringLiteral("7.00 0.00 7.00 7.00 7.00 0.00 0.00 0.00 0.00 0.00 0.00"));

    const BatchResult both = run({QStringLiteral("--out-dir"), path(QStringLiteral("both")), QStringLiteral("--xlsx"),
                                  QStringLiteral("--xls"), second});
    ASSERT_EQ(both.exitCode, 0) << both.standardError.toStdString();
    EXPECT_EQ(QDir(path(QStringLiteral("both"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("second.xls"), QStringLiteral("second.xlsx")}));
    EXPECT_EQ(totalsByXlrd(path(QStringLiteral("both/second.xls"))),
              totalsByOpenpyxl(path(QStringLiteral("both/second.xlsx"))));
}

}  // namespace
