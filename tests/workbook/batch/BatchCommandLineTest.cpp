// The command line as a script meets it: help, version, options and exit codes.
#include "BatchProcess.h"

namespace {

class BatchCommandLine : public BatchTest {};

TEST_F(BatchCommandLine, HelpGoesToStandardOutputAndDocumentsRulesAndExitCodes) {
    for (const QString& option : {QStringLiteral("-h"), QStringLiteral("--help")}) {
        const BatchResult result = run({option});
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_TRUE(result.standardError.isEmpty()) << result.standardError.toStdString();
        const QString help = QString::fromUtf8(result.standardOutput);
        EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: brindlemoor-batch"))) << help.toStdString();
        for (const char* part :
             {"--locale NAME", "--from-store", "--out-dir DIR", "Input rules:", "YYYY-MM-DD", "32,767",
              "Exit status:", "0  done", "1  an output could not be written", "2  bad input or options"})
            EXPECT_TRUE(help.contains(QLatin1String(part))) << part;
    }
    // Help wins over whatever else is on the line, as in other tools.
    EXPECT_EQ(run({QStringLiteral("--xls"), QStringLiteral("x.xls"), QStringLiteral("--help")}).exitCode, 0);
    EXPECT_TRUE(files().isEmpty());
}

TEST_F(BatchCommandLine, VersionNamesTheProgram) {
    const BatchResult result = run({QStringLiteral("--version")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.standardOutput.startsWith("brindlemoor-batch 1.")) << result.standardOutput.toStdString();
}

TEST_F(BatchCommandLine, TheManualPageIsMadeFromTheHelp) {
    const QByteArray page = Contents(QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch.1"));
    ASSERT_FALSE(page.isEmpty()) << "build the brindlemoor-batch-man target";
    EXPECT_TRUE(page.contains(".TH BRINDLEMOOR-BATCH \"1\""));
    EXPECT_TRUE(page.contains("from\\-store"));
}

TEST_F(BatchCommandLine, BadOptionsStopWithOneLineAndExitTwo) {
    const QString report = writeFile(QStringLiteral("r.json"), "{}");
    const QString out = path(QStringLiteral("o.xls"));
    const QList<QStringList> bad{
        {},
        {QStringLiteral("--report")},
        {QStringLiteral("--colour"), QStringLiteral("red")},
        {QStringLiteral("--report"), report},
        {QStringLiteral("--report"), report, QStringLiteral("--xls"), out, QStringLiteral("--from-store")},
        {QStringLiteral("--report"), report, QStringLiteral("--xls"), out, QStringLiteral("extra.json")},
        {QStringLiteral("--report"), report, QStringLiteral("--xls="), QStringLiteral("x")},
        {QStringLiteral("--from-store=yes"), QStringLiteral("--xls"), out},
        {QStringLiteral("--locale"), QStringLiteral("xx_QQ"), QStringLiteral("--report"), report,
         QStringLiteral("--xls"), out},
        {QStringLiteral("--report"), path(QStringLiteral("none.json")), QStringLiteral("--xls"), out},
        {QStringLiteral("--report"), report, QStringLiteral("--xls"), QStringLiteral("-"), QStringLiteral("--picture"),
         QStringLiteral("-")},
        {QStringLiteral("--out-dir"), folder.path()},
        {QStringLiteral("--out-dir"), path(QStringLiteral("missing")), report},
    };
    for (const QStringList& arguments : bad) {
        const BatchResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(result.errorLines(), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.startsWith(QStringLiteral("brindlemoor-batch: ")));
        EXPECT_TRUE(result.standardOutput.isEmpty());
    }
    EXPECT_EQ(files(), QStringList{QStringLiteral("r.json")});
}

TEST_F(BatchCommandLine, OptionsTakeTheirValueAfterAnEqualsSign) {
    const QString report = writeFile(QStringLiteral("r.json"), R"({"txtHotel0": "12,50"})");
    const BatchResult result = run({QStringLiteral("--locale=de_DE"), QStringLiteral("--report=") + report,
                                    QStringLiteral("--xls=") + path(QStringLiteral("o.xls"))});
    ASSERT_EQ(result.exitCode, 0) << result.standardError.toStdString();
    EXPECT_TRUE(result.standardError.isEmpty());
    EXPECT_EQ(cellByXlrd(path(QStringLiteral("o.xls")), 10, 12), QStringLiteral("12.50"));
}

}  // namespace
