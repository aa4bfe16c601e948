#include "workbook/host/Application.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct BatchResult {
    int exitCode = -1;
    QString stderrText;
};

class BatchFrontEnd : public ::testing::Test {
protected:
    QString writeReport(const QByteArray& json) {
        const QString path = folder.filePath(QStringLiteral("report.json"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
        return path;
    }

    BatchResult run(const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(BRINDLEMOOR_BINARY_DIR "/brindlemoor-batch"), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardError())};
    }

    // Runs with a report and expects the one-line failure, leaving only the report in the folder.
    void expectFailure(const QByteArray& json, const QString& expectedInMessage) {
        const BatchResult result = run({QStringLiteral("--report"), writeReport(json), QStringLiteral("--xls"),
                                        folder.filePath(QStringLiteral("out.xls")), QStringLiteral("--picture"),
                                        folder.filePath(QStringLiteral("out.png"))});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.stderrText.count(QLatin1Char('\n')), 1) << result.stderrText.toStdString();
        EXPECT_TRUE(result.stderrText.contains(expectedInMessage)) << result.stderrText.toStdString();
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.json")});
    }

    QTemporaryDir folder;
};

TEST_F(BatchFrontEnd, WritesTheFilledWorkbookAndItsPicture) {
    const QString xls = folder.filePath(QStringLiteral("out.xls"));
    const QString png = folder.filePath(QStringLiteral("out.png"));
    const BatchResult result = run({QStringLiteral("--report"),
                                    writeReport(R"({"TXTPURPOSE": "Business trip", "dtpFrom": "2016-11-05",
                                                    "txtHotel0": "$118.74", "txtmeals0": "12.50", "DTPicker20": "2016-11-07"})"),
                                    QStringLiteral("--xls"), xls, QStringLiteral("--picture"), png});
    ASSERT_EQ(result.exitCode, 0) << result.stderrText.toStdString();

    const auto app = host::CreateObject(QStringLiteral("Excel.Application"));
    host::Worksheet sheet = app->Workbooks().Open(xls)->ActiveSheet();
    EXPECT_EQ(sheet.Cells(4, 3).Value(), xls::Value(std::string("Business trip")));
    EXPECT_EQ(sheet.Cells(4, 13).Value(), xls::Value(42679.0));
    EXPECT_EQ(sheet.Cells(11, 2).Value(), xls::Value(42681.0));
    EXPECT_NEAR(std::get<double>(sheet.Cells(11, 13).Value()), 131.24, 1e-9);
    EXPECT_EQ(sheet.Cells(10, 12).Value(), xls::Value(std::string("Misc")));  // defaults for missing keys
    EXPECT_FALSE(app->Workbooks()(1)->model().isTemplate);
    EXPECT_FALSE(QImage(png).isNull());
}

TEST_F(BatchFrontEnd, BadReportsFailWithOneLineAndNoOutput) {
    expectFailure("{\"txtPurpose\": ", QStringLiteral("not valid JSON"));
    expectFailure("[\"txtPurpose\"]", QStringLiteral("one JSON object"));
    expectFailure(R"({"txtPurpose": "x", "txtColour": "red"})", QStringLiteral("unknown key \"txtColour\""));
    expectFailure(R"({"txtHotel0": 12.5})", QStringLiteral("\"txtHotel0\" is not a string"));
}

TEST_F(BatchFrontEnd, AnUnwritableOutputFailsAndLeavesNothing) {
    const BatchResult result = run({QStringLiteral("--report"), writeReport("{}"), QStringLiteral("--xls"),
                                    folder.filePath(QStringLiteral("missing/out.xls"))});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.stderrText.contains(QStringLiteral("could not be saved"))) << result.stderrText.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.json")});

    const BatchResult picture = run({QStringLiteral("--report"), folder.filePath(QStringLiteral("report.json")),
                                     QStringLiteral("--xls"), folder.filePath(QStringLiteral("out.xls")),
                                     QStringLiteral("--picture"), folder.filePath(QStringLiteral("missing/out.png"))});
    EXPECT_EQ(picture.exitCode, 2);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.json")});
}

TEST_F(BatchFrontEnd, BadArgumentsFail) {
    EXPECT_EQ(run({}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--report")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--colour"), QStringLiteral("red")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--report"), folder.filePath(QStringLiteral("none.json")), QStringLiteral("--xls"),
                   folder.filePath(QStringLiteral("out.xls"))}).exitCode, 2);
}

}  // namespace
