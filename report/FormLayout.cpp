#include "report/FormLayout.h"

#include <cmath>

namespace {
int Pixels(int twips) { return int(std::lround(double(twips) / kTwipsPerPixel)); }
}  // namespace

QRect ToPixels(const TwipsRect& twips) {
    return {Pixels(twips.left), Pixels(twips.top), Pixels(twips.width), Pixels(twips.height)};
}

namespace form1_layout {

TwipsRect GridCell(const GridColumn& column, int row) {
    return {column.left, kFirstRowTop + kRowPitch * row, column.width, kFieldHeight};
}

TwipsRect GridTitle(const GridColumn& column) { return {column.left, kTitleTop, column.width, kFieldHeight}; }

std::array<TwipsRect, 3> FooterConnector(const TwipsRect& label, int fieldLeft) {
    constexpr int kLine = kTwipsPerPixel;
    const int x = label.left + 120;
    const int top = label.top + label.height + 30;
    const int firstMiddle = kFooterFieldTops[0] + kFieldHeight / 2;
    const int secondMiddle = kFooterFieldTops[1] + kFieldHeight / 2;
    return {TwipsRect{x, top, kLine, secondMiddle + 90 - top}, TwipsRect{x, firstMiddle, fieldLeft - x, kLine},
            TwipsRect{x, secondMiddle, fieldLeft - x, kLine}};
}

}  // namespace form1_layout
