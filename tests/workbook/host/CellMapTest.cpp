#include "FirstSheetWithXlrd.h"
#include "SampleReport.h"
#include "TemplateFile.h"
#include "workbook/CellMap.h"
#include "xls/Formula.h"
#include "xls/SheetPainter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class CellMap : public ::testing::Test {
protected:
    void SetUp() override { book = app->Workbooks().Open(WriteTemplateFile(folder.path()), std::nullopt, true); }

    // Fills the template, saves it and reopens the result in a second instance.
    std::shared_ptr<host::Workbook> fillAndReopen(const ExpenseReport& report) {
        WriteReportCells(*app, report);
        resultPath = folder.filePath(QStringLiteral("ferrun12345678.xls"));
        book->SaveAs(resultPath, host::xlExcel8);
        return second->Workbooks().Open(resultPath);
    }

    QTemporaryDir folder;
    QString resultPath;
    std::shared_ptr<host::Application> app = host::CreateObject(QStringLiteral("Excel.Application"));
    std::shared_ptr<host::Application> second = host::CreateObject(QStringLiteral("Excel.Application"));
    std::shared_ptr<host::Workbook> book;
};

double numberAt(host::Worksheet sheet, int row, int column) {
    const xls::Value value = sheet.Cells(row, column).Value();
    return std::holds_alternative<double>(value) ? std::get<double>(value) : std::nan("");
}

std::string textAt(host::Worksheet sheet, int row, int column) {
    const xls::Value value = sheet.Cells(row, column).Value();
    return std::holds_alternative<std::string>(value) ? std::get<std::string>(value) : "<not text>";
}

TEST_F(CellMap, SampleReportGivesTheExpectedTotals) {
    host::Worksheet sheet = fillAndReopen(SampleReport())->ActiveSheet();
    EXPECT_NEAR(numberAt(sheet, 11, 13), 198.08, 1e-9);
    EXPECT_NEAR(numberAt(sheet, 12, 13), 250.86, 1e-9);
    EXPECT_NEAR(numberAt(sheet, 27, 13), 448.94, 1e-9);
    EXPECT_NEAR(numberAt(sheet, 29, 13), 448.94, 1e-9);
    const double categories[] = {118.74, 112.57, 44.58, 75.47, 67.10, 14.99, 15.49};
    const int columns[] = {5, 6, 7, 8, 9, 11, 12};
    for (int i = 0; i < 7; ++i) EXPECT_NEAR(numberAt(sheet, 26, columns[i]), categories[i], 1e-9) << columns[i];
}

TEST_F(CellMap, TextsLandUnchangedAndDatesAsDates) {
    ExpenseReport report = SampleReport();
    report.headings[0] = QStringLiteral("Lodging");
    report.rows[2].amounts[3] = QStringLiteral("12a");
    report.empID = QStringLiteral("00123");
    host::Worksheet sheet = fillAndReopen(report)->ActiveSheet();
    EXPECT_EQ(textAt(sheet, 4, 3), "Business trip");
    EXPECT_EQ(textAt(sheet, 8, 12), "00123");
    EXPECT_EQ(textAt(sheet, 7, 12), "NA");
    EXPECT_EQ(textAt(sheet, 8, 7), "M. T. Garfoot");
    EXPECT_EQ(textAt(sheet, 28, 7), "Check next month");
    EXPECT_EQ(textAt(sheet, 10, 5), "Lodging");
    EXPECT_EQ(textAt(sheet, 10, 12), "Misc");
    EXPECT_DOUBLE_EQ(numberAt(sheet, 11, 3), 110797.0);  // typed input: an account number reads as a number
    EXPECT_EQ(textAt(sheet, 11, 4), "Transport account");
    EXPECT_EQ(textAt(sheet, 13, 8), "12a");
    EXPECT_NEAR(numberAt(sheet, 26, 8), 75.47, 1e-9);   // the text is left out of the sum
    EXPECT_DOUBLE_EQ(numberAt(sheet, 4, 13), 42679.0);  // 5 November 2016
    EXPECT_DOUBLE_EQ(numberAt(sheet, 5, 13), 42685.0);
    EXPECT_DOUBLE_EQ(numberAt(sheet, 12, 2), 42684.0);
    EXPECT_EQ(sheet.Cells(13, 2).Value(), xls::Value());  // a row without a date
}

// No save in between: the picture drawn from the filled model already shows every total.
TEST_F(CellMap, APictureDrawnStraightAfterTheWritesShowsTheTotals) {
    WriteReportCells(*app, SampleReport());
    xls::Workbook& model = book->model();
    const xls::Range used = book->ActiveSheet().UsedRange().bounds();
    const auto picture = [&](const xls::Workbook& workbook) {
        return xls::renderRange(workbook, workbook.sheets[0], used, book->localeInfo());
    };
    const QImage straight = picture(model);
    EXPECT_NEAR(numberAt(book->ActiveSheet(), 29, 13), 448.94, 1e-9);

    xls::Workbook recalculated = model;
    xls::recalculate(recalculated);
    EXPECT_EQ(straight, picture(recalculated));
    xls::Workbook stale = model;
    for (auto& [key, cell] : stale.sheets[0].cells)
        if (cell.formula) cell.formula->cached = 0.0;
    EXPECT_NE(straight, picture(stale));  // the totals are in the picture, not only in the model
}

TEST_F(CellMap, StatementsCarryTheRunsNumbersInOrder) {
    std::vector<int> lines;
    WriteReportCells(*app, SampleReport(), [&lines](int line, const std::function<void()>& statement) {
        lines.push_back(line);
        statement();
    });
    ASSERT_EQ(lines.size(), 171u);
    EXPECT_EQ(lines.front(), 118);
    EXPECT_EQ(lines[13], 144);
    EXPECT_EQ(lines[20], 158);
    EXPECT_EQ(lines[21], 162);
    EXPECT_EQ(lines[30], 180);
    EXPECT_EQ(lines.back(), 180);
}

TEST_F(CellMap, FailingWritesReachTheRunner) {
    app->Quit();
    int failures = 0;
    WriteReportCells(*app, SampleReport(), [&failures](int, const std::function<void()>& statement) {
        try {
            statement();
        } catch (const host::HostError&) {
            ++failures;
        }
    });
    EXPECT_EQ(failures, 171);
}

// Hostile or unusual texts land as text, cut to the cell limit, and other readers read them back.
TEST_F(CellMap, AdversarialTextsStayTextForEveryReader) {
    ExpenseReport report = SampleReport();
    report.purpose = QString(40000, QLatin1Char('x'));
    report.position = QStringLiteral("R\u00e9sum\u00e9 \U0001F600 \u6771\u4eac");
    report.rows[3].description = QStringLiteral("=HYPERLINK(\"http://example.invalid\",\"x\")");
    report.rows[3].account = QStringLiteral("@SUM(1+1)");
    report.rows[4].description = QStringLiteral("\tcmd");
    host::Worksheet sheet = fillAndReopen(report)->ActiveSheet();
    EXPECT_EQ(textAt(sheet, 4, 3).size(), 32767u);
    EXPECT_EQ(QString::fromStdString(textAt(sheet, 7, 7)), report.position);
    EXPECT_EQ(QString::fromStdString(textAt(sheet, 14, 4)), report.rows[3].description);
    EXPECT_FALSE(sheet.model().find(13, 3)->formula);
    EXPECT_EQ(textAt(sheet, 14, 3), "@SUM(1+1)");

    if (!QFile::exists(QStringLiteral("/usr/bin/python3"))) GTEST_SKIP() << "python3 is not installed";
    const XlrdAnswer xlrd = AskXlrdAboutFirstSheet(
        resultPath, QStringLiteral("print(len(s.cell_value(3, 2)), s.cell(13, 3).ctype)\n"
                                   "sys.stdout.buffer.write(s.cell_value(6, 6).encode('utf-8'))"));
    ASSERT_TRUE(xlrd.ran) << xlrd.output.toStdString();
    const QStringList lines = xlrd.output.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("32767 1"));  // 1: a text cell
    EXPECT_EQ(lines[1], report.position);
}

// The pickers reach back to 1601; the 1900 date system starts in 1900. Such dates are written as
// the short date text of the settings, and read back as that text by us and by xlrd.
class EarlyDates : public ::testing::TestWithParam<QLocale::Country> {
protected:
    void SetUp() override {
        QLocale::setDefault(GetParam() == QLocale::Germany ? QLocale(QLocale::German, QLocale::Germany)
                                                           : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    bool german() const { return GetParam() == QLocale::Germany; }

    QTemporaryDir folder;
    std::shared_ptr<host::Application> app = host::CreateObject(QStringLiteral("Excel.Application"));
};

TEST_P(EarlyDates, AreWrittenAsTheShortDateTextEveryReaderShows) {
    const auto book = app->Workbooks().Open(WriteTemplateFile(folder.path()), std::nullopt, true);
    ExpenseReport report = SampleReport();
    report.payFrom = QDate(1850, 3, 4);
    report.payTo = QDate(1899, 12, 31);
    report.rows[0].date = QDate(1601, 1, 1);
    report.rows[1].date = QDate(1900, 1, 1);  // the first day the date system holds
    WriteReportCells(*app, report);
    host::Worksheet sheet = book->ActiveSheet();
    const std::string from = german() ? "04.03.1850" : "3/4/1850";
    const std::string to = german() ? "31.12.1899" : "12/31/1899";
    const std::string first = german() ? "01.01.1601" : "1/1/1601";
    EXPECT_EQ(textAt(sheet, 4, 13), from);
    EXPECT_EQ(textAt(sheet, 5, 13), to);
    EXPECT_EQ(textAt(sheet, 11, 2), first);
    EXPECT_DOUBLE_EQ(numberAt(sheet, 12, 2), 1.0);

    const QString saved = folder.filePath(QStringLiteral("early.xls"));
    book->SaveAs(saved, host::xlExcel8);
    const XlrdAnswer xlrd =
        AskXlrdAboutFirstSheet(saved, QStringLiteral("for r, c in ((3, 12), (4, 12), (10, 1)):\n"
                                                     "    print(s.cell(r, c).ctype, s.cell(r, c).value)\n"
                                                     "print(s.cell(11, 1).ctype, s.cell(11, 1).value)"));
    ASSERT_TRUE(xlrd.ran) << xlrd.output.toStdString();
    EXPECT_EQ(xlrd.output.toStdString(),
              "1 " + from + "\n1 " + to + "\n1 " + first + "\n3 1.0\n");  // 1: a text cell, 3: a date
}

INSTANTIATE_TEST_SUITE_P(Locales, EarlyDates, ::testing::Values(QLocale::UnitedStates, QLocale::Germany),
                         [](const auto& info) { return info.param == QLocale::Germany ? "de_DE" : "en_US"; });

// A sheet as another spreadsheet program exported it to CSV: cell texts by 1-based row and column.
// Some programs leave out empty leading columns: firstColumn is the column the export starts with.
class ExportedSheet {
public:
    explicit ExportedSheet(const QString& csvPath, int firstColumn = 1) : m_firstColumn(firstColumn) {
        QFile csv(csvPath);
        if (csv.open(QIODevice::ReadOnly)) m_lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    }
    int rows() const { return int(m_lines.size()); }
    QString text(int row, int column) const {
        const QStringList cells = m_lines.value(row - 1).split(QLatin1Char(','));
        return cells.value(column - m_firstColumn).remove(QLatin1Char('"'));
    }
    double amount(int row, int column) const {
        return text(row, column).remove(QRegularExpression(QStringLiteral("[^0-9.]"))).toDouble();
    }

private:
    int m_firstColumn;
    QStringList m_lines;
};

// The totals another program computes itself (the formulas ask it to) equal ours.
void expectSampleTotals(const ExportedSheet& sheet) {
    ASSERT_GE(sheet.rows(), 29);
    EXPECT_NEAR(sheet.amount(11, 13), 198.08, 1e-9);
    EXPECT_NEAR(sheet.amount(12, 13), 250.86, 1e-9);
    EXPECT_NEAR(sheet.amount(27, 13), 448.94, 1e-9);
    EXPECT_NEAR(sheet.amount(29, 13), 448.94, 1e-9);
    EXPECT_NEAR(sheet.amount(26, 5), 118.74, 1e-9);
    EXPECT_NEAR(sheet.amount(26, 9), 67.10, 1e-9);
    EXPECT_NEAR(sheet.amount(26, 12), 15.49, 1e-9);
    EXPECT_EQ(sheet.text(8, 12), QStringLiteral("00123"));
}

TEST_F(CellMap, LibreOfficeRecalculatesTheSameTotals) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
    ExpenseReport report = SampleReport();
    report.empID = QStringLiteral("00123");
    fillAndReopen(report);
    QProcess convert;
    convert.start(soffice,
                  {QStringLiteral("-env:UserInstallation=file://") + folder.filePath(QStringLiteral("profile")),
                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("csv"),
                   QStringLiteral("--outdir"), folder.path(), resultPath});
    ASSERT_TRUE(convert.waitForFinished(180000));
    expectSampleTotals(ExportedSheet(folder.filePath(QStringLiteral("ferrun12345678.csv"))));
}

TEST_F(CellMap, GnumericOpensWithoutComplaintAndRecalculatesTheSameTotals) {
    const QString ssconvert = QStandardPaths::findExecutable(QStringLiteral("ssconvert"));
    if (ssconvert.isEmpty()) GTEST_SKIP() << "Gnumeric is not installed";
    ExpenseReport report = SampleReport();
    report.empID = QStringLiteral("00123");
    fillAndReopen(report);
    const QString csv = folder.filePath(QStringLiteral("gnumeric.csv"));
    QProcess convert;
    convert.start(ssconvert, {resultPath, csv});
    ASSERT_TRUE(convert.waitForFinished(180000));
    EXPECT_EQ(convert.exitCode(), 0);
    const QString complaints = QString::fromUtf8(convert.readAllStandardError());
    EXPECT_FALSE(complaints.contains(QStringLiteral("rror"))) << complaints.toStdString();
    expectSampleTotals(ExportedSheet(csv, 2));  // Gnumeric exports from the first used column, B
}

}  // namespace
