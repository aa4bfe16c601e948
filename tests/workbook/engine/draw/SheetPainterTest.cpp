// Pixel probes on hand-built sheets: every column is 82 px wide and every row 27 px tall, so
// cell (row, col) covers x 82*col .. 82*col+81 and y 27*row .. 27*row+26, gridline included.
#include "SheetFixtures.h"
#include "xls/Error.h"
#include "xls/ScreenFonts.h"
#include "xls/SheetPainter.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using drawtest::inkCount;
using drawtest::leftmostInk;
using drawtest::rightmostInk;
using drawtest::SheetBuilder;

constexpr int kWidth = 82;
constexpr int kHeight = 27;

QRect cellRect(int row, int col) { return QRect(kWidth * col, kHeight * row, kWidth, kHeight); }
QPoint centreOf(int row, int col) { return cellRect(row, col).center(); }

template <class Predicate>
int countPixels(const QImage& image, const QRect& area, Predicate matches) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += matches(image.pixel(x, y));
    return count;
}

bool isRed(QRgb pixel) { return qRed(pixel) > 200 && qGreen(pixel) < 80 && qBlue(pixel) < 80; }
bool isBlue(QRgb pixel) { return qBlue(pixel) > 200 && qRed(pixel) < 80 && qGreen(pixel) < 80; }

QImage render(const SheetBuilder& builder, xls::Range range = {0, 0, 3, 3}) {
    return xls::renderRange(builder.book, builder.book.sheets.front(), range, xls::LocaleInfo{});
}

xls::CellFormat filled(uint32_t colour) {
    xls::CellFormat format;
    format.fill = colour;
    return format;
}

xls::CellFormat boxed(xls::BorderStyle style, uint32_t colour = xls::kAutomaticColour) {
    xls::CellFormat format;
    format.left = format.right = format.top = format.bottom = {style, colour};
    return format;
}

TEST(SheetPainter, PictureCoversTheRangeAndFillsShowAtCellCentres) {
    SheetBuilder builder;
    builder.put(1, 1, {}, builder.format(filled(0xFF0000)));
    builder.put(2, 2, {}, builder.format(filled(0x00FF00)));
    const QImage image = render(builder);
    ASSERT_EQ(image.size(), QSize(4 * kWidth, 4 * kHeight));
    EXPECT_EQ(image.pixel(centreOf(1, 1)), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(centreOf(2, 2)), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(centreOf(0, 0)), qRgb(255, 255, 255));
}

TEST(SheetPainter, GridlinesOnlyWhenTheSheetShowsThem) {
    SheetBuilder builder;
    const QPoint gridline(kWidth - 1, 10);
    EXPECT_EQ(render(builder).pixel(gridline), qRgb(255, 255, 255));
    builder.sheet().showGridlines = true;
    EXPECT_EQ(render(builder).pixel(gridline), qRgb(0xC0, 0xC0, 0xC0));
}

TEST(SheetPainter, BordersSitOnTheGridlineAndTheHeavierWinsASharedEdge) {
    SheetBuilder builder;
    xls::CellFormat thinBottom;
    thinBottom.bottom = {xls::BorderStyle::Thin, 0xFF0000};
    xls::CellFormat mediumTop;
    mediumTop.top = {xls::BorderStyle::Medium, 0x0000FF};
    builder.put(1, 1, {}, builder.format(thinBottom));  // B2's bottom is only thin
    builder.put(1, 2, {}, builder.format(thinBottom));
    builder.put(2, 2, {}, builder.format(mediumTop));  // C3's top is medium: it wins over C2's thin bottom
    const QImage image = render(builder);
    const int edge = 2 * kHeight - 1;
    EXPECT_EQ(image.pixel(kWidth + 40, edge), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(kWidth + 40, edge - 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(2 * kWidth + 40, edge), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2 * kWidth + 40, edge + 1), qRgb(0, 0, 255));
}

TEST(SheetPainter, OuterBordersOfTheRangeStayInsideThePicture) {
    SheetBuilder builder;
    builder.put(0, 0, {}, builder.format(boxed(xls::BorderStyle::Thick)));
    const QImage image = render(builder, {0, 0, 0, 0});
    for (const QPoint& point : {QPoint(40, 0), QPoint(40, 2), QPoint(0, 13), QPoint(kWidth - 1, 13),
                                QPoint(40, kHeight - 3), QPoint(40, kHeight - 1)})
        EXPECT_EQ(image.pixel(point), qRgb(0, 0, 0)) << point.x() << "," << point.y();
}

TEST(SheetPainter, DottedBordersLeaveGaps) {
    SheetBuilder builder;
    builder.put(1, 1, {}, builder.format(boxed(xls::BorderStyle::Dotted)));
    const QImage image = render(builder);
    const QRect bottomEdge(kWidth, 2 * kHeight - 1, kWidth, 1);
    const int ink = inkCount(image, bottomEdge);
    EXPECT_GT(ink, kWidth / 4);
    EXPECT_LT(ink, kWidth * 3 / 4);
}

TEST(SheetPainter, MergedRangeIsOneCellWithoutInnerBorderOrGridline) {
    SheetBuilder builder;
    builder.sheet().showGridlines = true;
    const uint16_t box = builder.format(boxed(xls::BorderStyle::Thin));
    builder.put(1, 1, std::string("Merged"), box);
    builder.put(1, 2, {}, box);
    builder.sheet().merges.push_back({1, 1, 1, 2});
    const QImage image = render(builder);
    EXPECT_EQ(image.pixel(2 * kWidth - 1, kHeight + 13), qRgb(255, 255, 255));  // between B2 and C2
    EXPECT_EQ(image.pixel(3 * kWidth - 1, kHeight + 13), qRgb(0, 0, 0));        // C2's outer right edge
    EXPECT_EQ(image.pixel(2 * kWidth - 1, kHeight - 1), qRgb(0, 0, 0));         // the merge's top edge
}

TEST(SheetPainter, GeneralNumbersEndNearTheRightEdgeAndTextStartsNearTheLeft) {
    SheetBuilder builder;
    builder.put(0, 1, 12345.0);
    builder.put(1, 1, std::string("Text"));
    const QImage image = render(builder);
    const int right = rightmostInk(image, cellRect(0, 1));
    EXPECT_GE(right, 2 * kWidth - 7);
    EXPECT_LE(right, 2 * kWidth - 3);
    const int left = leftmostInk(image, cellRect(1, 1));
    EXPECT_GE(left, kWidth + 2);
    EXPECT_LE(left, kWidth + 4);
}

TEST(SheetPainter, LeftAlignedTextRunsIntoEmptyNeighboursAndStopsAtAnOccupiedOne) {
    SheetBuilder builder;
    const std::string longText = "A label much longer than one column";
    builder.put(0, 0, longText);
    builder.put(1, 0, longText);
    builder.put(1, 1, 7.0);  // right-aligned, so B2's left part would only hold overflow
    const QImage image = render(builder);
    EXPECT_GT(inkCount(image, cellRect(0, 1)), 20);
    EXPECT_EQ(inkCount(image, QRect(kWidth, kHeight, kWidth / 2, kHeight)), 0);
}

TEST(SheetPainter, RightAlignedTextRunsLeftAndCentredTextBothWays) {
    SheetBuilder builder;
    const std::string longText = "A label much longer than one column";
    xls::CellFormat right;
    right.hAlign = xls::HAlign::Right;
    xls::CellFormat centred;
    centred.hAlign = xls::HAlign::Center;
    builder.put(0, 2, longText, builder.format(right));
    builder.put(1, 2, longText + longText, builder.format(centred));
    const QImage image = render(builder, {0, 0, 1, 4});
    EXPECT_GT(inkCount(image, cellRect(0, 1)), 20);
    EXPECT_EQ(inkCount(image, cellRect(0, 3)), 0);
    EXPECT_GT(inkCount(image, cellRect(1, 1)), 20);
    EXPECT_GT(inkCount(image, cellRect(1, 3)), 20);
}

TEST(SheetPainter, AccountingFormatPutsTheSymbolAtTheLeftEdgeAndTheNumberAtTheRight) {
    SheetBuilder builder;
    xls::CellFormat accounting;
    accounting.numFmt = 44;
    builder.put(0, 1, 1234.5, builder.format(accounting));
    const QImage image = render(builder);
    // The symbol follows the padding and the `_(` pad, a parenthesis wide.
    const int left = leftmostInk(image, cellRect(0, 1));
    EXPECT_GE(left, kWidth + 5);
    EXPECT_LE(left, kWidth + 9);
    // The `_)` pad keeps the last digit one parenthesis-width clear of the right padding.
    const int right = rightmostInk(image, cellRect(0, 1));
    EXPECT_GE(right, 2 * kWidth - 12);
    EXPECT_LE(right, 2 * kWidth - 5);
    // Between symbol and number the fill leaves empty room.
    EXPECT_EQ(inkCount(image, QRect(kWidth + 14, 0, 8, kHeight)), 0);
}

TEST(SheetPainter, WrappedTextTakesSeveralLinesInsideItsCell) {
    SheetBuilder builder;
    builder.sheet().rows[0] = {1200, true, false, std::nullopt};  // 60 pt = 80 px
    xls::CellFormat wrapping;
    wrapping.wrap = true;
    wrapping.vAlign = xls::VAlign::Top;
    builder.put(0, 0, std::string("several short words that wrap"), builder.format(wrapping));
    const QImage image = render(builder, {0, 0, 0, 1});
    EXPECT_GT(inkCount(image, QRect(0, 0, kWidth, 16)), 10);
    EXPECT_GT(inkCount(image, QRect(0, 16, kWidth, 16)), 10);
    EXPECT_EQ(inkCount(image, QRect(kWidth, 0, kWidth, 80)), 0);  // nothing runs on
}

TEST(SheetPainter, FontAndSectionColoursColourTheText) {
    SheetBuilder builder;
    xls::Font red;
    red.colour = 0xFF0000;
    red.heightTwips = 400;
    xls::CellFormat redText;
    redText.font = builder.book.addFont(red);
    builder.put(0, 0, std::string("HHHH"), builder.format(redText));
    xls::CellFormat blueSection;
    blueSection.numFmt = builder.book.numberFormatId("[Blue]0");
    builder.put(1, 0, 8888.0, builder.format(blueSection));
    const QImage image = render(builder);
    EXPECT_GT(countPixels(image, cellRect(0, 0), isRed), 20);
    EXPECT_GT(countPixels(image, cellRect(1, 0), isBlue), 10);
}

// Texts at the cell limit of 32,767 characters, each the repetition of a unit: CJK, one unbroken
// ASCII word, and words.
std::vector<std::string> textsAtTheCellLimit() {
    std::vector<std::string> texts;
    for (const auto& [unit, bytesPerChar] : {std::pair<std::string, size_t>{"\xE4\xBA\xA4\xE9\x80\x9A", 3},
                                             {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 1},
                                             {"taxi to the airport and dinner ", 1}}) {
        std::string text;
        while ((text.size() + unit.size()) / bytesPerChar <= 32767) text += unit;
        texts.push_back(text);
    }
    return texts;
}

// Each alignment draws what it shows of a long text; a text one visible stretch long draws the same.
TEST(SheetPainter, TextAtTheCellLimitDrawsAsItsVisiblePartWould) {
    xls::CellFormat wrapping;
    wrapping.wrap = true;
    wrapping.vAlign = xls::VAlign::Top;
    xls::CellFormat right;
    right.hAlign = xls::HAlign::Right;
    for (const std::string& text : textsAtTheCellLimit()) {
        const size_t unit = text.find(text.substr(0, 6), 1);  // the repeated unit's length in bytes
        const std::string visibleStretch = text.substr(0, unit * (1200 / unit + 1));
        const auto picture = [&](const std::string& shown) {
            SheetBuilder builder;
            builder.put(0, 1, shown);
            builder.put(1, 1, shown, builder.format(wrapping));
            builder.put(2, 2, shown, builder.format(right));
            return render(builder);
        };
        const QImage whole = picture(text);
        EXPECT_EQ(whole, picture(visibleStretch));
        EXPECT_GT(inkCount(whole, cellRect(0, 3)), 10);  // running on to the picture's edge
        EXPECT_GT(inkCount(whole, cellRect(2, 0)), 10);
    }
}

TEST(SheetPainter, WrappedTextTallerThanItsCellShowsItsFirstLinesWhateverItsAlignment) {
    const auto picture = [](xls::VAlign vertical) {
        SheetBuilder builder;
        xls::CellFormat wrapping;
        wrapping.wrap = true;
        wrapping.vAlign = vertical;
        builder.put(0, 0, textsAtTheCellLimit().back(), builder.format(wrapping));
        return render(builder, {0, 0, 0, 0});
    };
    const QImage top = picture(xls::VAlign::Top);
    EXPECT_GT(inkCount(top, QRect(0, 0, kWidth, 8)), 5);
    EXPECT_EQ(picture(xls::VAlign::Bottom), top);
    EXPECT_EQ(picture(xls::VAlign::Center), top);
}

// The sum of how much darker than white each pixel is: the ink a text puts down.
long darkness(const QImage& image, const QRect& area) {
    long ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ink += 255 - qGray(image.pixel(x, y));
    return ink;
}

// The template's bold labels in Tahoma 9 and 10 pt: the installed bold face is no heavier than
// the regular one, so bold has to be drawn heavier, within the bold face's own advance widths.
TEST(SheetPainter, BoldTahomaCarriesAQuarterMoreInkThanRegularAtItsAdvanceWidths) {
    for (const uint16_t twips : {180, 200}) {
        for (const char* label : {"PURPOSE:", "Subtotal"}) {
            const auto picture = [&](bool bold) {
                SheetBuilder builder;
                xls::Font tahoma;
                tahoma.name = "Tahoma";
                tahoma.heightTwips = twips;
                tahoma.bold = bold;
                xls::CellFormat format;
                format.font = builder.book.addFont(tahoma);
                builder.put(0, 0, std::string(label), builder.format(format));
                return render(builder, {0, 0, 0, 1});
            };
            const QImage bold = picture(true);
            const QImage regular = picture(false);
            const QRect row(0, 0, 2 * kWidth, kHeight);
            EXPECT_GE(double(darkness(bold, row)), 1.25 * double(darkness(regular, row))) << label << " " << twips;

            xls::Font face;
            face.name = "Tahoma";
            face.heightTwips = twips;
            face.bold = true;
            const int advance = QFontMetrics(xls::screenFont(face)).horizontalAdvance(QString::fromLatin1(label));
            EXPECT_LE(rightmostInk(bold, row) - leftmostInk(bold, row), advance + 1) << label << " " << twips;
        }
    }
}

TEST(ScreenFonts, OnlyBoldFacesNoHeavierThanRegularAreEmboldened) {
    xls::Font font;
    font.name = "Tahoma";
    font.heightTwips = 180;
    EXPECT_FALSE(xls::needsEmboldening(xls::screenFont(font)));
    font.bold = true;
    EXPECT_TRUE(xls::needsEmboldening(xls::screenFont(font)));
    font.name = "Arial";  // Liberation Sans Bold is a true bold
    EXPECT_FALSE(xls::needsEmboldening(xls::screenFont(font)));
}

TEST(SheetPainter, DamagedIndicesAndEmptyRangesDoNotBreakDrawing) {
    SheetBuilder builder;
    builder.put(0, 0, std::string("x"), 999);  // no such format
    xls::CellFormat missingFont;
    missingFont.font = 77;
    builder.put(0, 1, std::string("y"), builder.format(missingFont));
    EXPECT_FALSE(render(builder).isNull());
    EXPECT_THROW(render(builder, {3, 0, 2, 0}), xls::Error);
    builder.sheet().columns.front().hidden = true;
    EXPECT_THROW(render(builder), xls::Error);
}

// A range that cannot be drawn says why, rather than handing back an empty picture.
TEST(SheetPainter, ARangeThatCannotBeDrawnIsRefusedWithItsReason) {
    SheetBuilder builder;
    builder.put(0, 0, std::string("x"));
    const auto failure = [&builder](const xls::Range& range, qreal devicePixelRatio) {
        try {
            xls::renderRange(builder.book, builder.sheet(), range, xls::LocaleInfo{}, devicePixelRatio);
        } catch (const xls::Error& error) {
            return std::string(error.what());
        }
        return std::string();
    };
    EXPECT_EQ(failure({0, 0, 0, 0}, 2.0), "");
    EXPECT_EQ(failure({3, 0, 2, 0}, 1.0), "the range holds no cell to draw");
    // Too many device pixels for an image side: beyond what an image holds, then beyond an int.
    EXPECT_EQ(failure({0, 0, 0, 0}, 2e6), "the picture of the range is too large to hold");
    EXPECT_EQ(failure({0, 0, 0, 0}, 1e9), "the picture of the range is too large to hold");
    EXPECT_EQ(failure({0, 0, 0, 0}, 0.0), "the picture's device pixel ratio is not above zero");
    EXPECT_EQ(failure({0, 0, 0, 0}, std::nan("")), "the picture's device pixel ratio is not above zero");
    builder.sheet().columns.front().hidden = true;
    EXPECT_EQ(failure({0, 0, 0, 0}, 1.0), "the range shows nothing: its rows or columns are all hidden");
}

}  // namespace

namespace {

QImage textCell(const std::string& text) {
    SheetBuilder builder;
    builder.put(0, 0, text);
    return render(builder, {0, 0, 0, 1});
}

}  // namespace

// Text is shaped as a whole: a mark typed apart from its letter sits on it, as the composed letter
// does, and Arabic letters take their joined forms rather than the ones they have standing alone
// (a zero-width non-joiner between them forces those).
TEST(SheetPainter, MarksSitOnTheirLettersAndArabicLettersJoin) {
    EXPECT_EQ(textCell("Ame\u0301lie"), textCell("Am\u00e9lie"));
    EXPECT_NE(textCell("Ame\u0301lie"), textCell("Amelie"));
    const std::string joined = "\u0645\u0631\u062D\u0628\u0627";
    const std::string apart = "\u0645\u200C\u0631\u200C\u062D\u200C\u0628\u200C\u0627";
    EXPECT_NE(textCell(joined), textCell(apart));
}
