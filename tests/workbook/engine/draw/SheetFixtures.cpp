#include "SheetFixtures.h"

#include "xls/ColumnWidth.h"

#include <cmath>

namespace drawtest {

uint16_t storedWidth(double characters) { return xls::storedColumnWidth(xls::columnPixels(characters, 7), 7); }

SheetBuilder::SheetBuilder() {
    book.sheets.emplace_back();
    xls::Sheet& s = sheet();
    s.name = "Sheet1";
    s.showGridlines = false;
    s.columns.push_back({0, 255, storedWidth(11.0), 0, false});
    s.defaultRowHeightTwips = 400;
}

void SheetBuilder::put(uint16_t row, uint16_t col, xls::Value value, uint16_t xf) {
    xls::Cell& cell = sheet().at(row, col);
    cell.value = std::move(value);
    cell.xf = xf;
}

bool isInk(QRgb pixel) { return qGray(pixel) < 160; }

int inkCount(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) count += isInk(image.pixel(x, y));
    return count;
}

int leftmostInk(const QImage& image, const QRect& area) {
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (isInk(image.pixel(x, y))) return x;
    return -1;
}

int rightmostInk(const QImage& image, const QRect& area) {
    for (int x = area.right(); x >= area.left(); --x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (isInk(image.pixel(x, y))) return x;
    return -1;
}

}  // namespace drawtest
