// Where the printed cells land on paper: the sheet's own paper, orientation, margins, scaling,
// centring and page breaks, read from its model.
#include "SheetFixtures.h"
#include "workbook/template/ExpenseTemplate.h"
#include "xls/Error.h"
#include "xls/PagePainter.h"
#include "xls/PdfExport.h"
#include "xls/PrintPlan.h"
#include "xls/ScreenFonts.h"
#include "xls/SheetGeometry.h"

#include <QPdfWriter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

using drawtest::SheetBuilder;

QSizeF printedSize(const xls::Workbook& book, const xls::Sheet& sheet, const xls::Range& range, double scale) {
    const xls::SheetGeometry geometry(sheet, range, xls::maxDigitWidth(xls::screenFonts(book).front()));
    return QSizeF(geometry.width(), geometry.height()) * xls::kPointsPerPixel * scale;
}

// A 20 x 60 block of 82 x 27 pixel cells: 1230 x 1215 points at 100 %.
SheetBuilder largeSheet() {
    SheetBuilder builder;
    builder.put(0, 0, std::string("first"));
    builder.put(59, 19, std::string("last"));
    return builder;
}

TEST(PrintPlan, TheTemplatePrintsItsPrintAreaFittedOnOneLetterLandscapePageCentredAcross) {
    const xls::Workbook book = BuildExpenseTemplate();
    const xls::Sheet& sheet = book.sheets.front();
    const xls::PrintPlan plan = xls::planPrint(book, sheet);

    EXPECT_EQ(plan.layout.fullRect(QPageLayout::Point), QRectF(0, 0, 792, 612));
    EXPECT_EQ(plan.layout.paintRect(QPageLayout::Point), QRectF(54, 36, 792 - 108, 612 - 108));
    ASSERT_EQ(plan.pages.size(), 1u);
    EXPECT_EQ(plan.pages[0].range, (xls::Range{0, 0, 28, 12}));  // A1:M29, not the used range B1:N29

    const QSizeF full = printedSize(book, sheet, plan.pages[0].range, 1.0);
    const QSizeF printed = printedSize(book, sheet, plan.pages[0].range, plan.scale);
    // Shrunk to a whole percentage just small enough for the tighter direction; never enlarged.
    EXPECT_LE(printed.width(), 684.0 + 1e-6);
    EXPECT_LE(printed.height(), 504.0 + 1e-6);
    const double fit = std::min(684.0 / full.width(), 504.0 / full.height());
    EXPECT_DOUBLE_EQ(plan.scale, std::floor(fit * 100) / 100);
    EXPECT_NEAR(plan.pages[0].origin.x(), 54 + (684 - printed.width()) / 2, 1e-6);
    EXPECT_DOUBLE_EQ(plan.pages[0].origin.y(), 36);  // not centred down
}

TEST(PrintPlan, AnotherPageSetupPrintsByItsOwnPaperScaleMarginsAndCentring) {
    SheetBuilder builder;
    builder.put(2, 1, std::string("x"));
    xls::Sheet& sheet = builder.sheet();
    sheet.page.paperSize = 9;  // A4
    sheet.page.orientation = xls::Orientation::Portrait;
    sheet.page.scale = 50;
    sheet.page.marginLeft = 1.0;
    sheet.page.marginTop = 2.0;
    sheet.page.centerVertically = true;
    const xls::PrintPlan plan = xls::planPrint(builder.book, sheet);

    EXPECT_EQ(plan.layout.fullRect(QPageLayout::Point), QRectF(0, 0, 595, 842));  // A4 in whole points
    EXPECT_DOUBLE_EQ(plan.scale, 0.5);
    ASSERT_EQ(plan.pages.size(), 1u);
    EXPECT_EQ(plan.pages[0].range, (xls::Range{2, 1, 2, 1}));  // no print area: the used range
    const QRectF room = plan.layout.paintRect(QPageLayout::Point);
    EXPECT_DOUBLE_EQ(plan.pages[0].origin.x(), 72);
    EXPECT_NEAR(plan.pages[0].origin.y(), 144 + (room.height() - 27 * 0.75 * 0.5) / 2, 1e-6);
}

TEST(PrintPlan, ASheetLargerThanThePageIsCutBetweenColumnsAndRowsDownThenOver) {
    SheetBuilder builder = largeSheet();
    const xls::PrintPlan plan = xls::planPrint(builder.book, builder.sheet());  // Letter portrait, 100 %
    const QRectF room = plan.layout.paintRect(QPageLayout::Point);
    ASSERT_GT(plan.pages.size(), 2u);

    std::vector<std::vector<int>> printed(60, std::vector<int>(20, 0));
    for (const xls::PrintedPage& page : plan.pages) {
        const QSizeF size = printedSize(builder.book, builder.sheet(), page.range, 1.0);
        EXPECT_LE(size.width(), room.width());
        EXPECT_LE(size.height(), room.height());
        EXPECT_EQ(page.origin, room.topLeft());
        for (int row = page.range.firstRow; row <= page.range.lastRow; ++row)
            for (int col = page.range.firstCol; col <= page.range.lastCol; ++col) ++printed[size_t(row)][size_t(col)];
    }
    for (const auto& row : printed)
        for (int times : row) EXPECT_EQ(times, 1);  // every cell on exactly one page
    // Down first: the second page continues the first page's columns.
    EXPECT_EQ(plan.pages[1].range.firstCol, plan.pages[0].range.firstCol);
    EXPECT_EQ(plan.pages[1].range.firstRow, plan.pages[0].range.lastRow + 1);
}

TEST(PrintPlan, FittingToPagesShrinksUntilTheSheetTakesThatManyPagesAndNoMore) {
    SheetBuilder builder = largeSheet();
    xls::PageSetup& page = builder.sheet().page;
    page.fitToPage = true;
    page.fitWidth = 2;
    page.fitHeight = 0;  // as many pages down as it takes
    const xls::PrintPlan plan = xls::planPrint(builder.book, builder.sheet());
    int across = 0;
    for (const xls::PrintedPage& printed : plan.pages) across += printed.range.firstRow == 0;
    EXPECT_EQ(across, 2);
    EXPECT_LT(plan.scale, 1.0);

    page.fitWidth = page.fitHeight = 1;
    const xls::PrintPlan onePage = xls::planPrint(builder.book, builder.sheet());
    EXPECT_EQ(onePage.pages.size(), 1u);

    SheetBuilder small;
    small.put(0, 0, std::string("x"));
    small.sheet().page.fitToPage = true;
    EXPECT_DOUBLE_EQ(xls::planPrint(small.book, small.sheet()).scale, 1.0);  // fitting never enlarges
}

TEST(PrintPlan, DamagedMarginsAndScalesStillLeaveAPrintablePage) {
    SheetBuilder builder;
    builder.put(0, 0, std::string("x"));
    xls::PageSetup& page = builder.sheet().page;
    page.marginLeft = std::numeric_limits<double>::quiet_NaN();
    page.marginRight = 1e300;
    page.marginTop = -5;
    page.marginBottom = std::numeric_limits<double>::infinity();
    page.scale = 0;
    page.paperSize = 999;  // unknown: Letter
    const xls::PrintPlan plan = xls::planPrint(builder.book, builder.sheet());
    const QRectF room = plan.layout.paintRect(QPageLayout::Point);
    EXPECT_EQ(plan.layout.fullRect(QPageLayout::Point), QRectF(0, 0, 612, 792));
    EXPECT_GE(room.width(), 72 - 1e-6);
    EXPECT_GE(room.height(), 72 - 1e-6);
    EXPECT_DOUBLE_EQ(plan.scale, 0.1);
    EXPECT_EQ(plan.pages.size(), 1u);
}

TEST(PrintPlan, AnEmptySheetOrPrintAreaPrintsNothing) {
    SheetBuilder builder;
    builder.sheet().cells.clear();
    builder.sheet().columns.clear();
    EXPECT_TRUE(xls::planPrint(builder.book, builder.sheet()).pages.empty());
    EXPECT_THROW(xls::renderPdf(builder.book, builder.sheet(), {}), xls::Error);
    builder.sheet().printArea = xls::Range{3, 0, 2, 0};
    EXPECT_TRUE(xls::planPrint(builder.book, builder.sheet()).pages.empty());
}

// A printer or file that cannot be drawn on is not reported as a sheet with nothing to print.
TEST(PrintPlan, ADeviceThatCannotBeDrawnOnIsToldFromASheetWithNothingToPrint) {
    SheetBuilder builder;
    builder.put(0, 0, std::string("printed"));
    const auto failure = [&builder](QPagedPaintDevice& device) {
        try {
            xls::printSheet(device, builder.book, builder.sheet(), {});
        } catch (const xls::Error& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    const QTemporaryDir folder;
    QPdfWriter unopenable(folder.filePath(QStringLiteral("missing/sheet.pdf")));
    EXPECT_EQ(failure(unopenable), "the printer or file cannot be drawn on");
    builder.sheet().cells.clear();
    builder.sheet().columns.clear();
    QPdfWriter writable(folder.filePath(QStringLiteral("sheet.pdf")));
    EXPECT_EQ(failure(writable), "the sheet has nothing to print");
}

}  // namespace
