// A small styled sheet drawn by us and checked in as a picture. Fonts are pinned by the files the
// renderer registers, so the picture only changes when the drawing does; a few pixels may still
// differ by small amounts between machines. Set BRINDLEMOOR_UPDATE_GOLDEN=1 to rewrite it.
#include "SheetFixtures.h"
#include "xls/SheetPainter.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using drawtest::SheetBuilder;
using drawtest::storedWidth;

const QString kGoldenPath = QStringLiteral(BRINDLEMOOR_SOURCE_DIR "/tests/workbook/engine/draw/golden/styled-sheet.png");

SheetBuilder styledSheet() {
    SheetBuilder builder;
    xls::Sheet& sheet = builder.sheet();
    sheet.columns = {{0, 0, storedWidth(0.57), 0, false}, {1, 1, storedWidth(11.43), 0, false},
                     {2, 2, storedWidth(20.0), 0, false}, {3, 4, storedWidth(11.14), 0, false}};
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

// Share of pixels whose channels differ by more than `tolerance`.
double differingShare(const QImage& a, const QImage& b, int tolerance) {
    int differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            differing += std::abs(qRed(p) - qRed(q)) > tolerance || std::abs(qGreen(p) - qGreen(q)) > tolerance ||
                         std::abs(qBlue(p) - qBlue(q)) > tolerance;
        }
    return double(differing) / (a.width() * a.height());
}

TEST(GoldenImage, StyledSheetLooksAsCheckedIn) {
    const SheetBuilder builder = styledSheet();
    const QImage drawn = xls::renderRange(builder.book, builder.book.sheets.front(), {0, 1, 5, 4}, xls::LocaleInfo{})
                             .convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(drawn.isNull());
    if (qEnvironmentVariableIntValue("BRINDLEMOOR_UPDATE_GOLDEN") == 1) {
        QDir().mkpath(QFileInfo(kGoldenPath).absolutePath());
        ASSERT_TRUE(drawn.save(kGoldenPath));
        GTEST_SKIP() << "golden picture rewritten";
    }
    const QImage golden = QImage(kGoldenPath).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << "missing " << kGoldenPath.toStdString();
    ASSERT_EQ(drawn.size(), golden.size());
    EXPECT_LE(differingShare(drawn, golden, 24), 0.03);
    EXPECT_LE(differingShare(drawn, golden, 160), 0.005);
}

}  // namespace
