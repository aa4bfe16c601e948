#include "workbook/host/Application.h"
#include "TemplateFile.h"
#include "workbook/template/TemplateBytes.h"
#include "xls/Formula.h"
#include "xls/WorkbookIo.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class HostObjects : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        templatePath = WriteTemplateFile(folder.path());
    }

    std::shared_ptr<host::Workbook> openTemplate() { return app->Workbooks().Open(templatePath, std::nullopt, true); }

    QTemporaryDir folder;
    QString templatePath;
    std::shared_ptr<host::Application> app = host::CreateObject(QStringLiteral("Excel.Application"));
};

template <class Operation>
std::string failureOf(Operation&& operation) {
    try {
        operation();
    } catch (const host::HostError& error) {
        return error.what();
    }
    return "no failure";
}

TEST_F(HostObjects, CreatesANewInstanceForItsIdentifierOnly) {
    EXPECT_NE(host::CreateObject(QStringLiteral("excel.application")), app);
    EXPECT_EQ(app->Version(), QStringLiteral("16.0"));
    EXPECT_NE(failureOf([] { host::CreateObject(QStringLiteral("Word.Application")); }).find("Word.Application"),
              std::string::npos);
}

TEST_F(HostObjects, OpenedWorkbookIsTheLastAndActiveOne) {
    EXPECT_EQ(app->Workbooks().Count(), 0);
    openTemplate();
    const auto second = app->Workbooks().Open(templatePath);
    EXPECT_EQ(app->Workbooks().Count(), 2);
    EXPECT_EQ(app->Workbooks()(2), second);
    app->Worksheets(1).Cells(4, 3) = QStringLiteral("second");
    EXPECT_EQ(second->ActiveSheet().Cells(4, 3).Value(), xls::Value(std::string("second")));
    second->Close();
    EXPECT_EQ(app->Workbooks().Count(), 1);
    EXPECT_NE(failureOf([&] { second->ActiveSheet(); }).find("closed"), std::string::npos);
    EXPECT_NE(failureOf([&] { app->Workbooks()(2); }).find("number 2"), std::string::npos);
}

TEST_F(HostObjects, UsedRangeOfTheTemplateIsB1ToN29) {
    const host::CellRange used = openTemplate()->ActiveSheet().UsedRange();
    EXPECT_EQ(used.Rows().Count(), 29);
    EXPECT_EQ(used.Rows()(used.Rows().Count()).Row(), 29);
    EXPECT_EQ(used.Columns().Count(), 13);
    EXPECT_EQ(used.Columns()(used.Columns().Count()).Column(), 14);
    EXPECT_EQ(used.Row(), 1);
    EXPECT_EQ(used.Column(), 2);
}

TEST_F(HostObjects, SaveAsWritesANormalWorkbookWithActiveCellAndRecalculatedTotals) {
    const auto book = openTemplate();
    app->Worksheets(1).Cells(11, 5) = QStringLiteral("12.50");
    app->Range(QStringLiteral("C4")).Select();
    const QString saved = folder.filePath(QStringLiteral("result.xls"));
    book->SaveAs(saved, host::xlExcel8);

    const auto reopened = app->Workbooks().Open(saved);
    const xls::Workbook& model = reopened->model();
    EXPECT_FALSE(model.isTemplate);
    EXPECT_EQ(model.sheets[0].activeCell, (xls::CellRef{3, 2}));
    EXPECT_EQ(reopened->ActiveSheet().Cells(29, 13).Value(), xls::Value(12.5));
    EXPECT_TRUE(model.sheets[0].find(28, 12)->formula->alwaysCalculate);
    EXPECT_EQ(book->FullName(), saved);
}

// Automatic calculation: a read straight after a write sees every total that depends on it.
TEST_F(HostObjects, FormulaResultsAreCurrentStraightAfterEveryWrite) {
    host::Worksheet sheet = openTemplate()->ActiveSheet();
    sheet.Cells(11, 5) = QStringLiteral("12.50");
    EXPECT_EQ(sheet.Cells(11, 13).Value(), xls::Value(12.5));
    sheet.Cells(11, 12) = QStringLiteral("2.25");
    sheet.Cells(12, 5) = QStringLiteral("10");
    EXPECT_EQ(sheet.Cells(11, 13).Value(), xls::Value(14.75));
    EXPECT_EQ(sheet.Cells(26, 5).Value(), xls::Value(22.5));
    EXPECT_EQ(sheet.Cells(27, 13).Value(), xls::Value(24.75));
    sheet.Cells(28, 13) = QStringLiteral("4.75");
    EXPECT_EQ(sheet.Cells(29, 13).Value(), xls::Value(20.0));
    sheet.Cells(11, 5) = QString();
    EXPECT_EQ(sheet.Cells(11, 13).Value(), xls::Value(2.25));
    EXPECT_EQ(sheet.Cells(29, 13).Value(), xls::Value(7.5));
}

// Writes leave their recalculation until something reads the workbook: every way of reading it
// sees each write before it.
TEST_F(HostObjects, EveryWayOfReadingSeesTheWritesBeforeIt) {
    const auto book = openTemplate();
    host::Worksheet sheet = book->ActiveSheet();
    const auto cachedTotal = [](const xls::Sheet& model) { return model.find(28, 12)->formula->cached; };

    sheet.Cells(11, 5) = QStringLiteral("12.50");
    sheet.Cells(12, 6) = QStringLiteral("7.50");
    EXPECT_EQ(cachedTotal(book->model().sheets[0]), xls::Value(20.0));

    sheet.Cells(13, 7) = QStringLiteral("5");
    EXPECT_EQ(cachedTotal(sheet.model()), xls::Value(25.0));

    sheet.Cells(28, 13) = QStringLiteral("1");
    sheet.Cells(11, 13) = QStringLiteral("100");  // a value over the row's total formula
    const QByteArray saved = book->SaveToBytes(host::xlExcel8);
    const xls::Workbook reread =
        xls::readWorkbook(std::span(reinterpret_cast<const uint8_t*>(saved.constData()), size_t(saved.size())));
    EXPECT_EQ(cachedTotal(reread.sheets[0]), xls::Value(111.5));

    sheet.Cells(12, 6) = QString();
    EXPECT_EQ(sheet.Cells(29, 13).Value(), xls::Value(104.0));
}

TEST_F(HostObjects, StaleResultsInAnOpenedFileAreComputedOnOpening) {
    xls::Workbook stale;
    xls::Sheet sheet;
    sheet.name = "Sheet1";
    sheet.at(0, 4).value = 2.0;
    sheet.at(0, 0).formula = xls::Formula{xls::compileFormula("E1*3"), 0.0, true, {}};
    stale.sheets.push_back(sheet);
    const std::vector<uint8_t> bytes = xls::writeWorkbook(stale);
    QFile file(folder.filePath(QStringLiteral("stale.xls")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    file.close();
    EXPECT_EQ(app->Workbooks().Open(file.fileName())->ActiveSheet().Cells(1, 1).Value(), xls::Value(6.0));
}

// The same file opened again, by any instance, is the file as it is now: writes to an earlier
// opening do not show, and a file rewritten in place, to the same size, is read anew.
TEST_F(HostObjects, EveryOpeningIsTheFileAsItIsNow) {
    const auto first = openTemplate();
    first->ActiveSheet().Cells(11, 5) = QStringLiteral("12.50");
    const auto otherInstance = host::CreateObject(QStringLiteral("Excel.Application"));
    const auto second = otherInstance->Workbooks().Open(templatePath);
    EXPECT_EQ(second->ActiveSheet().Cells(11, 5).Value(), xls::Value());
    EXPECT_EQ(second->ActiveSheet().Cells(29, 13).Value(), xls::Value(0.0));

    const QString resultPath = folder.filePath(QStringLiteral("result.xls"));
    first->SaveAs(resultPath, host::xlExcel8);
    EXPECT_EQ(app->Workbooks().Open(resultPath)->ActiveSheet().Cells(11, 5).Value(), xls::Value(12.5));
    second->ActiveSheet().Cells(11, 5) = QStringLiteral("17.25");
    const QByteArray other = second->SaveToBytes(host::xlExcel8);
    QFile result(resultPath);
    ASSERT_EQ(result.size(), other.size()) << "the same cells in another value keep the file's size";
    ASSERT_TRUE(result.open(QIODevice::WriteOnly));
    result.write(other);
    result.close();
    EXPECT_EQ(app->Workbooks().Open(resultPath)->ActiveSheet().Cells(11, 5).Value(), xls::Value(17.25));
    EXPECT_EQ(app->Workbooks().Open(resultPath)->ActiveSheet().Cells(29, 13).Value(), xls::Value(17.25));
}

TEST_F(HostObjects, SaveFailuresAreClearAndLeaveNothingBehind) {
    const auto book = openTemplate();
    const QString missingFolder = folder.filePath(QStringLiteral("missing/result.xls"));
    EXPECT_NE(failureOf([&] { book->SaveAs(missingFolder, host::xlExcel8); }).find("could not be saved"),
              std::string::npos);
    EXPECT_NE(failureOf([&] { book->SaveAs(templatePath, host::xlExcel8); }).find("read-only"), std::string::npos);
    EXPECT_NE(failureOf([&] { book->SaveAs(folder.filePath(QStringLiteral("x.xls")), 51); }).find("51"),
              std::string::npos);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("template.xlt")});
}

TEST_F(HostObjects, OpenFailuresNameTheCause) {
    EXPECT_NE(failureOf([&] {
                  app->Workbooks().Open(folder.filePath(QStringLiteral("none.xls")));
              }).find("could not be found"),
              std::string::npos);
    const QString text = folder.filePath(QStringLiteral("notes.xls"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("just some words, not a workbook");
    file.close();
    EXPECT_NE(failureOf([&] { app->Workbooks().Open(text); }).find("could not be opened as a workbook"),
              std::string::npos);

    QByteArray damaged = TemplateBytes();
    damaged.truncate(damaged.size() / 2);
    QFile cut(folder.filePath(QStringLiteral("cut.xls")));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(damaged);
    cut.close();
    EXPECT_NE(failureOf([&] { app->Workbooks().Open(cut.fileName()); }).find("could not be opened as a workbook"),
              std::string::npos);
    EXPECT_EQ(app->Workbooks().Count(), 0);
    EXPECT_NE(failureOf([&] { app->Worksheets(1); }).find("No workbook"), std::string::npos);
}

TEST_F(HostObjects, EveryOperationFailsOnceTheInstanceHasQuit) {
    const auto book = openTemplate();
    host::Worksheet sheet = book->ActiveSheet();
    app->setVisible(false);
    app->setDisplayAlerts(false);
    app->Quit();
    const std::string quit = "The spreadsheet host has already quit.";
    EXPECT_EQ(failureOf([&] { app->Version(); }), quit);
    EXPECT_EQ(failureOf([&] { app->Workbooks().Open(templatePath); }), quit);
    EXPECT_EQ(failureOf([&] { sheet.Cells(1, 1) = QStringLiteral("x"); }), quit);
    EXPECT_EQ(failureOf([&] { book->SaveAs(folder.filePath(QStringLiteral("late.xls")), host::xlExcel8); }), quit);
    EXPECT_EQ(failureOf([&] { app->Quit(); }), quit);
}

TEST_F(HostObjects, AddressesOutsideTheSheetFail) {
    host::Worksheet sheet = openTemplate()->ActiveSheet();
    EXPECT_NE(failureOf([&] { sheet.Cells(0, 1); }).find("outside"), std::string::npos);
    EXPECT_NE(failureOf([&] { sheet.Cells(1, 257); }).find("outside"), std::string::npos);
    EXPECT_NE(failureOf([&] { sheet.Range(QStringLiteral("C-4")); }).find("not a cell address"), std::string::npos);
}

TEST_F(HostObjects, CopyPicturePutsTheRangeOnTheClipboard) {
    QGuiApplication::clipboard()->clear();
    host::Worksheet sheet = openTemplate()->ActiveSheet();
    sheet.UsedRange().CopyPicture();
    const QImage picture = QGuiApplication::clipboard()->image();
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), picture.height());
}

TEST_F(HostObjects, CopyPictureOfARangeThatShowsNothingFailsAndLeavesTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    host::Worksheet sheet = openTemplate()->ActiveSheet();
    sheet.model().rows[0].hidden = true;
    EXPECT_EQ(failureOf([&] { sheet.Range(QStringLiteral("B1")).CopyPicture(); }),
              "The picture of the range could not be drawn.");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
}

}  // namespace
