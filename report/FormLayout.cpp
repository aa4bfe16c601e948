#include "FormLayout.h"

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
