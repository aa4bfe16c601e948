#include "FirstSheetWithXlrd.h"
#include "TemplateFile.h"
#include "workbook/host/Application.h"
#include "xls/NumberFormat.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Cells of the template: C4 General, E11 accounting, B11 short date, L8 text.
class TypedCellInput : public ::testing::TestWithParam<QLocale::Country> {
protected:
    void SetUp() override {
        QLocale::setDefault(GetParam() == QLocale::Germany ? QLocale(QLocale::German, QLocale::Germany)
                                                           : QLocale(QLocale::English, QLocale::UnitedStates));
        book = app->Workbooks().Open(WriteTemplateFile(folder.path()), std::nullopt, true);
    }
    void TearDown() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    bool german() const { return GetParam() == QLocale::Germany; }
    xls::Value typed(int row, int column, const QString& text) {
        app->Worksheets(1).Cells(row, column) = text;
        return app->Worksheets(1).Cells(row, column).Value();
    }
    std::string formatOf(int row, int column) {
        const xls::Workbook& model = book->model();
        const xls::Cell* cell = model.sheets[0].find(uint16_t(row - 1), uint16_t(column - 1));
        return model.numberFormatCode(model.formats.at(cell ? cell->xf : 0).numFmt);
    }

    QTemporaryDir folder;
    std::shared_ptr<host::Application> app = host::CreateObject(QStringLiteral("Excel.Application"));
    std::shared_ptr<host::Workbook> book;
};

double numberOf(const xls::Value& value) {
    return std::holds_alternative<double>(value) ? std::get<double>(value) : std::nan("");
}

TEST_P(TypedCellInput, AmountsInTheLocaleBecomeNumbersAndKeepTheCellFormat) {
    EXPECT_DOUBLE_EQ(numberOf(typed(11, 5, german() ? QStringLiteral("12,50") : QStringLiteral("12.50"))), 12.5);
    EXPECT_DOUBLE_EQ(numberOf(typed(11, 6, german() ? QStringLiteral("1.234,57 €") : QStringLiteral("$1,234.57"))),
                     1234.57);
    EXPECT_EQ(formatOf(11, 6), book->model().numberFormatCode(44));
}

TEST_P(TypedCellInput, ACurrencyTypedIntoAGeneralCellGetsAFormat) {
    EXPECT_DOUBLE_EQ(numberOf(typed(4, 3, german() ? QStringLiteral("1.234,57 €") : QStringLiteral("$1,234.57"))),
                     1234.57);
    EXPECT_NE(formatOf(4, 3), "General");
}

TEST_P(TypedCellInput, AnythingElseStaysTextAndNothingBecomesAFormula) {
    for (const char* text : {"12a", "=SUM(A1)", "+A1", "@SUM(A1)"}) {
        EXPECT_EQ(typed(11, 7, QString::fromLatin1(text)), xls::Value(std::string(text))) << text;
        EXPECT_FALSE(book->model().sheets[0].find(10, 6)->formula);
    }
}

TEST_P(TypedCellInput, TheEmptyTextEmptiesTheCellButKeepsItsFormat) {
    typed(11, 8, QStringLiteral("5"));
    EXPECT_EQ(typed(11, 8, QString()), xls::Value());
    EXPECT_EQ(formatOf(11, 8), book->model().numberFormatCode(44));
    EXPECT_EQ(typed(30, 20, QString()), xls::Value());
    EXPECT_EQ(book->model().sheets[0].find(29, 19), nullptr);
}

TEST_P(TypedCellInput, DatesBecomeSerialsWithADateFormat) {
    app->Worksheets(1).Cells(11, 2) = QDate(2016, 11, 7);
    EXPECT_DOUBLE_EQ(numberOf(app->Worksheets(1).Cells(11, 2).Value()), 42681.0);
    EXPECT_EQ(formatOf(11, 2), "m/d/yyyy");

    app->Worksheets(1).Cells(4, 3) = QDate(2016, 11, 5);
    EXPECT_EQ(formatOf(4, 3), "m/d/yyyy");
    EXPECT_DOUBLE_EQ(numberOf(typed(7, 3, german() ? QStringLiteral("7.11.2016") : QStringLiteral("11/7/2016"))),
                     42681.0);
    EXPECT_NE(formatOf(7, 3), "General");
}

TEST_P(TypedCellInput, TextCellsKeepLeadingZeros) {
    EXPECT_EQ(typed(8, 12, QStringLiteral("00123")), xls::Value(std::string("00123")));
}

TEST_P(TypedCellInput, AFormulaCellTypedOverBecomesAValue) {
    EXPECT_DOUBLE_EQ(numberOf(typed(11, 13, QStringLiteral("7"))), 7.0);
    EXPECT_FALSE(book->model().sheets[0].find(10, 12)->formula);
}

// The locale's words, in any case, become booleans: BOOLERR in the file, TRUE/FALSE on screen,
// left out of sums; the other language's words stay text.
TEST_P(TypedCellInput, TheLocalesBooleanWordsBecomeBooleansForEveryReader) {
    EXPECT_EQ(typed(4, 3, german() ? QStringLiteral("wahr") : QStringLiteral("true")), xls::Value(true));
    EXPECT_EQ(typed(11, 5, german() ? QStringLiteral("FALSCH") : QStringLiteral("False")), xls::Value(false));
    EXPECT_EQ(typed(11, 6, german() ? QStringLiteral("Wahr") : QStringLiteral("TRUE")), xls::Value(true));
    EXPECT_EQ(formatOf(4, 3), "General");
    const QString foreign = german() ? QStringLiteral("TRUE") : QStringLiteral("WAHR");
    EXPECT_EQ(typed(7, 3, foreign), xls::Value(foreign.toStdString()));
    EXPECT_EQ(app->Worksheets(1).Cells(11, 13).Value(), xls::Value(0.0));
    EXPECT_EQ(xls::formatValue(true, formatOf(11, 6), book->localeInfo()).plain(), "TRUE");
    EXPECT_EQ(xls::formatValue(false, "General", book->localeInfo()).plain(), "FALSE");

    const QString saved = folder.filePath(QStringLiteral("booleans.xls"));
    book->SaveAs(saved, host::xlExcel8);
    const XlrdAnswer xlrd = AskXlrdAboutFirstSheet(
        saved,
        QStringLiteral("print([(s.cell(r, c).ctype, s.cell(r, c).value) for r, c in ((3, 2), (10, 4), (10, 5))])"));
    ASSERT_TRUE(xlrd.ran) << xlrd.output.toStdString();
    EXPECT_EQ(xlrd.output.trimmed(), QStringLiteral("[(4, 1), (4, 0), (4, 1)]"));  // 4: a boolean
}

TEST_P(TypedCellInput, FractionsTimesAndLongNumbersAsASpreadsheetTakesThem) {
    EXPECT_DOUBLE_EQ(numberOf(typed(4, 3, QStringLiteral("1 1/2"))), 1.5);
    EXPECT_EQ(formatOf(4, 3), "# ?/?");
    EXPECT_DOUBLE_EQ(numberOf(typed(7, 3, QStringLiteral("12 PM"))), 0.5);
    EXPECT_DOUBLE_EQ(numberOf(typed(8, 3, QStringLiteral("12:30 PM"))), 12.5 / 24);
    EXPECT_EQ(numberOf(typed(11, 5, QStringLiteral("12345678901234567890"))), 12345678901234500000.0);
    EXPECT_EQ(numberOf(app->Worksheets(1).Cells(29, 13).Value()), 12345678901234500000.0);
}

INSTANTIATE_TEST_SUITE_P(Locales, TypedCellInput, ::testing::Values(QLocale::UnitedStates, QLocale::Germany),
                         [](const auto& info) { return info.param == QLocale::Germany ? "de_DE" : "en_US"; });

}  // namespace
