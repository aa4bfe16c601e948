// A small styled sheet drawn by us and checked in as a picture.
#include "SheetFixtures.h"
#include "support/GoldenImage.h"
#include "xls/SheetPainter.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using drawtest::SheetBuilder;
using drawtest::storedWidth;

const QString kGoldenPath =
    QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/engine/draw/golden/styled-sheet.png");

SheetBuilder styledSheet() {
    SheetBuilder builder;
    xls::Sheet& sheet = builder.sheet();
    sheet.columns = {{0, 0, storedWidth(0.57), 0, false},
                     {1, 1, storedWidth(11.43), 0, false},
                     {2, 2, storedWidth(20.0), 0, false},
                     {3, 4, storedWidth(11.14), 0, false}};
    sheet.rows[1] = {510, true, false, std::nullopt};

    xls::Font title;
    title.name = "Tahoma";
    title.heightTwips = 360;
    title.colour = 0xA14817;
    xls::Font heading = title;
    heading.heightTwips = 180;
    heading.bold = true;
    heading.colour = 0xFFFFFF;
    xls::Font body = title;
    body.heightTwips = 200;
    body.colour = xls::kAutomaticColour;
    xls::Font note = body;
    note.italic = true;
    note.underline = xls::Underline::Double;

    const xls::Border thin{xls::BorderStyle::Thin, xls::kAutomaticColour};
    xls::CellFormat titleFormat;
    titleFormat.font = builder.book.addFont(title);
    titleFormat.vAlign = xls::VAlign::Top;
    xls::CellFormat headingFormat;
    headingFormat.font = builder.book.addFont(heading);
    headingFormat.hAlign = xls::HAlign::Center;
    headingFormat.vAlign = xls::VAlign::Center;
    headingFormat.fill = 0xA14817;
    headingFormat.left = headingFormat.right = headingFormat.top = headingFormat.bottom = thin;
    xls::CellFormat row = headingFormat;
    row.font = builder.book.addFont(body);
    row.fill = 0xFDF6E7;
    row.hAlign = xls::HAlign::Left;
    row.vAlign = xls::VAlign::Bottom;
    xls::CellFormat date = row;
    date.numFmt = 14;
    date.hAlign = xls::HAlign::Center;
    xls::CellFormat amount = row;
    amount.numFmt = 44;
    xls::CellFormat total = amount;
    total.fill = 0xEAEAEA;
    total.bottom = {xls::BorderStyle::Double, xls::kAutomaticColour};
    xls::CellFormat noteFormat;
    noteFormat.font = builder.book.addFont(note);
    noteFormat.wrap = true;

    builder.put(1, 1, std::string("Expense report"), builder.format(titleFormat));
    sheet.merges.push_back({1, 1, 1, 4});
    const uint16_t headingXf = builder.format(headingFormat);
    builder.put(2, 1, std::string("Date"), headingXf);
    builder.put(2, 2, std::string("Description"), headingXf);
    builder.put(2, 3, std::string("Meals"), headingXf);
    builder.put(2, 4, std::string("Total"), headingXf);
    builder.put(3, 1, 45123.0, builder.format(date));
    builder.put(3, 2, std::string("Dinner with the client team"), builder.format(row));
    builder.put(3, 3, 1234.5, builder.format(amount));
    builder.put(3, 4, 1234.5, builder.format(total));
    builder.put(4, 1, {}, builder.format(date));
    builder.put(4, 2, {}, builder.format(row));
    builder.put(4, 3, 0.0, builder.format(amount));
    builder.put(4, 4, -12.0, builder.format(total));
    builder.put(5, 2, std::string("Receipts attached"), builder.format(noteFormat));
    return builder;
}

TEST(GoldenImage, StyledSheetLooksAsCheckedIn) {
    const SheetBuilder builder = styledSheet();
    const QImage drawn = xls::renderRange(builder.book, builder.book.sheets.front(), {0, 1, 5, 4}, xls::LocaleInfo{})
                             .convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(drawn.isNull());
    if (UpdateGoldenRequested(drawn, kGoldenPath)) GTEST_SKIP() << "golden picture rewritten";
    const QString mismatch = GoldenMismatch(drawn, kGoldenPath);
    EXPECT_TRUE(mismatch.isEmpty()) << mismatch.toStdString();
}

}  // namespace
