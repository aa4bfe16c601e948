// Hand-built workbooks and pixel probes shared by the renderer's tests.
#pragma once

#include "xls/Model.h"

#include <QImage>
#include <QRect>

namespace drawtest {

// The stored COLINFO width of a column `characters` wide, as the 97–2003 program saves it.
uint16_t storedWidth(double characters);

// A one-sheet workbook (default font Arial 10) without gridlines, every column 11 characters
// (82 px) and every row 20 points (27 px) unless a test changes them.
struct SheetBuilder {
    xls::Workbook book;
    SheetBuilder();
    xls::Sheet& sheet() { return book.sheets.front(); }
    uint16_t format(const xls::CellFormat& format) { return book.addFormat(format); }
    void put(uint16_t row, uint16_t col, xls::Value value, uint16_t xf = 0);
};

bool isInk(QRgb pixel);  // clearly darker than the paper
int inkCount(const QImage& image, const QRect& area);
int leftmostInk(const QImage& image, const QRect& area);   // -1 without ink
int rightmostInk(const QImage& image, const QRect& area);  // -1 without ink

}  // namespace drawtest
