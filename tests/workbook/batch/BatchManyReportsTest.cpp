// Many reports in one run: each written under its own name, a bad one named while the rest are
// written, in the reports' order, from files or from a JSON array on standard input.
#include "BatchProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class BatchManyReports : public BatchTest {
protected:
    void SetUp() override {
        BatchTest::SetUp();
        QDir(folder.path()).mkdir(QStringLiteral("out"));
    }

    QStringList written() const {
        return QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QString out(const QString& name) const { return path(QStringLiteral("out/") + name); }
};

TEST_F(BatchManyReports, ABadReportInTheMiddleIsNamedAndTheOthersAreWritten) {
    const QStringList reports{
        writeFile(QStringLiteral("R1.json"), R"({"txtHotel0": "$100.10", "txtMeals1": 0.05})"),
        writeFile(QStringLiteral("R2.json"), R"({"txtHotel0": "lots"})"),
        writeFile(QStringLiteral("R3.report.json"), R"({"txtHotel0": 7, "txtMisc14": "$0.01"})"),
    };
    const BatchResult result = run(
        QStringList{QStringLiteral("--out-dir"), path(QStringLiteral("out")), QStringLiteral("--picture")} + reports);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
    EXPECT_TRUE(result.standardError.contains(QStringLiteral("R2.json: txtHotel0: \"lots\"")))
        << result.standardError.toStdString();
    EXPECT_EQ(written(), (QStringList{QStringLiteral("R1.png"), QStringLiteral("R1.xls"),
                                      QStringLiteral("R3.report.png"), QStringLiteral("R3.report.xls")}));
    EXPECT_EQ(totalsByXlrd(out(QStringLiteral("R1.xls"))),
              QStringLiteral("100.10 0.05 100.15 100.15 100.10 0.00 0.00 0.05 0.00 0.00 0.00"));
    EXPECT_EQ(totalsByXlrd(out(QStringLiteral("R3.report.xls"))),
              QStringLiteral("7.00 0.00 7.01 7.01 7.00 0.00 0.00 0.00 0.00 0.00 0.01"));
}

TEST_F(BatchManyReports, ReportsFromAJsonArrayOnStandardInputAreNumbered) {
    const BatchResult result = run({QStringLiteral("--locale"), QStringLiteral("de_DE"), QStringLiteral("--out-dir"),
                                    path(QStringLiteral("out")), QStringLiteral("-")},
                                   R"([{"txtHotel0": "1.000,50 €"}, "not a report", {"txtHotel0": 2.25}])");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
    EXPECT_TRUE(result.standardError.contains(QStringLiteral("report 2 of standard input")))
        << result.standardError.toStdString();
    EXPECT_EQ(written(), (QStringList{QStringLiteral("1.xls"), QStringLiteral("3.xls")}));
    EXPECT_EQ(cellByXlrd(out(QStringLiteral("1.xls")), 10, 12), QStringLiteral("1000.50"));
    EXPECT_EQ(cellByXlrd(out(QStringLiteral("3.xls")), 10, 12), QStringLiteral("2.25"));
}

TEST_F(BatchManyReports, StandardInputIsReadToItsEndHoweverLarge) {
    // Far more than one pipe's worth: the reader must not stop at the first piece.
    const QByteArray purpose(20000, 'p');
    QByteArray array = "[";
    for (int i = 0; i < 12; ++i) array += QByteArray(i ? "," : "") + "{\"txtPurpose\": \"" + purpose + "\"}";
    array += "]";
    const BatchResult result =
        run({QStringLiteral("--out-dir"), path(QStringLiteral("out")), QStringLiteral("-")}, array);
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_EQ(written().size(), 12);
    EXPECT_EQ(cellByXlrd(out(QStringLiteral("12.xls")), 3, 2).size(), 20000);
}

TEST_F(BatchManyReports, AGoodRunIsSilentAndTwoReportsOfOneNameAreRefusedBeforeWriting) {
    QDir(folder.path()).mkdir(QStringLiteral("a"));
    const QString first = writeFile(QStringLiteral("same.json"), "{}");
    const QString second = writeFile(QStringLiteral("a/same.json"), "{}");
    const BatchResult clash = run({QStringLiteral("--out-dir"), path(QStringLiteral("out")), first, second});
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_EQ(clash.errorLines(), 1);
    EXPECT_TRUE(written().isEmpty());

    const BatchResult good = run({QStringLiteral("--out-dir"), path(QStringLiteral("out")), first});
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_TRUE(good.standardError.isEmpty()) << "a short run shows no progress";
    EXPECT_EQ(written(), QStringList{QStringLiteral("same.xls")});
}

TEST_F(BatchManyReports, ALongRunShowsItsProgressOnStandardErrorOnly) {
    QByteArray array = "[";
    for (int i = 0; i < 150; ++i) array += QByteArray(i ? "," : "") + R"({"txtHotel0": 1})";
    array += "]";
    QElapsedTimer clock;
    clock.start();
    const BatchResult result = run(
        {QStringLiteral("--out-dir"), path(QStringLiteral("out")), QStringLiteral("--picture"), QStringLiteral("-")},
        array);
    const qint64 elapsed = clock.elapsed();
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_TRUE(result.standardOutput.isEmpty());
    EXPECT_EQ(written().size(), 300);
    static const QRegularExpression progress(QStringLiteral("^brindlemoor-batch: \\d+ of 150 reports, \\d+ a second$"));
    const QStringList lines = result.standardError.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) EXPECT_TRUE(progress.match(line).hasMatch()) << line.toStdString();
    // Progress is about time, so what must show depends on how long this machine took.
    if (!lines.isEmpty()) {
        EXPECT_GT(elapsed, 1000) << "a run under a second is silent";
    } else {
        EXPECT_LT(elapsed, 4000) << "a run of " << elapsed << " ms shows its progress";
    }
}

TEST_F(BatchManyReports, AnOutputThatCannotBeWrittenEndsWithExitOneAfterTheOthers) {
    QDir(path(QStringLiteral("out"))).mkdir(QStringLiteral("B.xls"));
    const QStringList reports{writeFile(QStringLiteral("A.json"), "{}"), writeFile(QStringLiteral("B.json"), "{}"),
                              writeFile(QStringLiteral("C.json"), R"({"txtHotel0": "x"})"),
                              writeFile(QStringLiteral("D.json"), "{}")};
    const BatchResult result = run(QStringList{QStringLiteral("--out-dir"), path(QStringLiteral("out"))} + reports);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.errorLines(), 2) << result.standardError.toStdString();
    EXPECT_EQ(written(), (QStringList{QStringLiteral("A.xls"), QStringLiteral("D.xls")}));
    // B's outputs are written while C is read: the messages still come in the reports' order.
    const qsizetype b = result.standardError.indexOf(QStringLiteral("B.xls"));
    const qsizetype c = result.standardError.indexOf(QStringLiteral("C.json"));
    EXPECT_TRUE(b >= 0 && c > b) << result.standardError.toStdString();
}

// A process that may start no thread of its own (an account's or a container's limit) writes every
// report all the same, byte for byte. It runs as an account number no other process has, so the
// limit of one process is its own.
TEST_F(BatchManyReports, AProcessThatMayStartNoThreadStillWritesEveryReport) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as an account of its own with a process limit";
    const QStringList reports{writeFile(QStringLiteral("A.json"), R"({"txtHotel0": "$1,234.56", "txtName": "Ada"})"),
                              writeFile(QStringLiteral("B.json"), R"({"txtMeals3": 7.25})")};
    const auto runInto = [&](const QString& out) {
        QDir(folder.path()).mkdir(out);
        ::chmod(QFile::encodeName(path(out)).constData(), 0777);
        return run(QStringList{QStringLiteral("--out-dir"), path(out), QStringLiteral("--picture")} + reports);
    };
    ASSERT_EQ(runInto(QStringLiteral("threads")).exitCode, 0);

    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    for (const QString& report : reports) ::chmod(QFile::encodeName(report).constData(), 0644);
    const auto account = uint(3000000 + ::getpid());
    runAs = OrdinaryUser{account, account, std::nullopt};
    processLimit = 1;
    const BatchResult limited = runInto(QStringLiteral("limited"));
    EXPECT_EQ(limited.exitCode, 0) << limited.standardError.toStdString();
    for (const QString& name :
         {QStringLiteral("A.xls"), QStringLiteral("A.png"), QStringLiteral("B.xls"), QStringLiteral("B.png")})
        EXPECT_EQ(Contents(path(QStringLiteral("limited/") + name)), Contents(path(QStringLiteral("threads/") + name)))
            << name.toStdString();
    EXPECT_TRUE(totalsByXlrd(path(QStringLiteral("limited/B.xls"))).startsWith(QStringLiteral("0.00 0.00 7.25 7.25")));
}

}  // namespace
