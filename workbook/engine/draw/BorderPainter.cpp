#include "BorderPainter.h"

#include "xls/ScreenFonts.h"

#include <algorithm>
#include <vector>

namespace xls {
namespace {

struct LineLook {
    int thickness;
    bool doubled;
    std::vector<int> pattern;  // alternating on/off lengths in pixels; empty for solid
};

LineLook lookOf(BorderStyle style) {
    switch (style) {
    case BorderStyle::Medium: return {2, false, {}};
    case BorderStyle::Thick: return {3, false, {}};
    case BorderStyle::Double: return {3, true, {}};
    case BorderStyle::Dashed: return {1, false, {3, 1}};
    case BorderStyle::Dotted: return {1, false, {1, 2}};
    case BorderStyle::Hair: return {1, false, {1, 1}};
    case BorderStyle::DashDot: return {1, false, {9, 3, 3, 3}};
    case BorderStyle::DashDotDot: return {1, false, {9, 3, 3, 3, 3, 3}};
    case BorderStyle::MediumDashed: return {2, false, {9, 3}};
    case BorderStyle::MediumDashDot:
    case BorderStyle::SlantedDashDot: return {2, false, {9, 3, 3, 3}};
    case BorderStyle::MediumDashDotDot: return {2, false, {9, 3, 3, 3, 3, 3}};
    case BorderStyle::Thin:
    case BorderStyle::None: break;
    }
    return {1, false, {}};
}

struct Segment {
    bool horizontal;
    int along;  // first pixel along the line
    int length;
    int across;  // the gridline pixel the line is centred on
    Border border;
};

const Border& heavier(const Border& first, const Border& second) {
    return borderWeight(second.style) >= borderWeight(first.style) ? second : first;
}

bool sameMerge(const CellLookup& cells, int row1, int col1, int row2, int col2) {
    const Range* merge = cells.mergeAt(row1, col1);
    return merge && merge->contains(uint16_t(row2), uint16_t(col2));
}

// The border on the edge above (row, col), or on its left when `vertical`.
Border edgeBorder(const CellLookup& cells, int row, int col, bool vertical) {
    const int otherRow = vertical ? row : row - 1;
    const int otherCol = vertical ? col - 1 : col;
    const bool hasSelf = row <= kMaxRows && col < kMaxColumns;
    const bool hasOther = otherRow >= 0 && otherCol >= 0;
    if (hasSelf && hasOther && sameMerge(cells, row, col, otherRow, otherCol)) return {};
    const Border self = hasSelf ? (vertical ? cells.formatAt(row, col).left : cells.formatAt(row, col).top) : Border{};
    const Border other =
        hasOther ? (vertical ? cells.formatAt(otherRow, otherCol).right : cells.formatAt(otherRow, otherCol).bottom)
                 : Border{};
    return heavier(other, self);
}

std::vector<Segment> collectSegments(const SheetGeometry& geometry, const CellLookup& cells) {
    const Range& range = geometry.range();
    std::vector<Segment> segments;
    for (int row = range.firstRow; row <= range.lastRow + 1; ++row)
        for (int col = range.firstCol; col <= range.lastCol; ++col)
            if (Border border = edgeBorder(cells, row, col, false); border.style != BorderStyle::None)
                segments.push_back({true, geometry.columnLeft(col) - 1, geometry.columnWidth(col) + 1,
                                    geometry.rowTop(row) - 1, border});
    for (int row = range.firstRow; row <= range.lastRow; ++row)
        for (int col = range.firstCol; col <= range.lastCol + 1; ++col)
            if (Border border = edgeBorder(cells, row, col, true); border.style != BorderStyle::None)
                segments.push_back({false, geometry.rowTop(row) - 1, geometry.rowHeight(row) + 1,
                                    geometry.columnLeft(col) - 1, border});
    std::stable_sort(segments.begin(), segments.end(), [](const Segment& a, const Segment& b) {
        return borderWeight(a.border.style) < borderWeight(b.border.style);
    });
    return segments;
}

void paintStroke(QPainter& painter, const Segment& segment, int across, const std::vector<int>& pattern,
                 const QColor& colour) {
    auto dash = [&](int from, int length) {
        if (segment.horizontal)
            painter.fillRect(QRect(from, across, length, 1), colour);
        else
            painter.fillRect(QRect(across, from, 1, length), colour);
    };
    if (pattern.empty()) {
        dash(segment.along, segment.length);
        return;
    }
    // Patterns run from the sheet's origin so that adjacent cells' dashes line up.
    int period = 0;
    for (int part : pattern) period += part;
    int position = segment.along;
    const int end = segment.along + segment.length;
    size_t index = 0;
    int offset = ((position % period) + period) % period;
    while (offset >= pattern[index]) {
        offset -= pattern[index];
        index = (index + 1) % pattern.size();
    }
    while (position < end) {
        const int length = std::min(pattern[index] - offset, end - position);
        if (index % 2 == 0) dash(position, length);
        position += length;
        offset = 0;
        index = (index + 1) % pattern.size();
    }
}

}  // namespace

int borderWeight(BorderStyle style) {
    switch (style) {
    case BorderStyle::None: return 0;
    case BorderStyle::Hair: return 1;
    case BorderStyle::Dotted: return 2;
    case BorderStyle::DashDotDot: return 3;
    case BorderStyle::DashDot: return 4;
    case BorderStyle::Dashed: return 5;
    case BorderStyle::Thin: return 6;
    case BorderStyle::MediumDashDotDot: return 7;
    case BorderStyle::SlantedDashDot: return 8;
    case BorderStyle::MediumDashDot: return 9;
    case BorderStyle::MediumDashed: return 10;
    case BorderStyle::Medium: return 11;
    case BorderStyle::Thick: return 12;
    case BorderStyle::Double: return 13;
    }
    return 0;
}

void paintBorders(QPainter& painter, const SheetGeometry& geometry, const CellLookup& cells) {
    const int limitAcross[2] = {geometry.width(), geometry.height()};
    for (const Segment& segment : collectSegments(geometry, cells)) {
        const LineLook look = lookOf(segment.border.style);
        // Keep the whole line inside the picture, so the range's outer borders show in full.
        const int limit = limitAcross[segment.horizontal ? 1 : 0];
        const int first = std::clamp(segment.across - (look.thickness - 1) / 2, 0, std::max(0, limit - look.thickness));
        const QColor colour = screenColour(segment.border.colour, Qt::black);
        for (int line = 0; line < look.thickness; ++line)
            if (!look.doubled || line != 1) paintStroke(painter, segment, first + line, look.pattern, colour);
    }
}

}  // namespace xls
