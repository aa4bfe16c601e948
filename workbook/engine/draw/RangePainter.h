// Paints a range of a sheet in pixels at 96 dpi, its top-left corner at the painter's origin. The
// picture and the printed page both go through it, so they show the same cells the same way.
#pragma once

#include "CellLookup.h"
#include "CellTextLayout.h"
#include "xls/Locale.h"
#include "xls/Model.h"
#include "xls/SheetGeometry.h"

#include <QPainter>

#include <optional>

namespace xls {

struct RangeLook {
    bool gridlines = false;
    // Bold faces that draw no heavier than regular are drawn again a pixel over, this way.
    Overstrike overstrike = Overstrike::Text;
};

// The range cut to the columns a sheet can have; nothing when it holds no cell.
std::optional<Range> drawableRange(const Range& requested);

class RangePainter {
public:
    // `range` must be drawable; the painter keeps references to everything handed in.
    RangePainter(const Workbook& workbook, const Sheet& sheet, const Range& range, const LocaleInfo& locale);
    RangePainter(const RangePainter&) = delete;
    RangePainter& operator=(const RangePainter&) = delete;

    const SheetGeometry& geometry() const { return geometry_; }
    bool isEmpty() const { return geometry_.width() <= 0 || geometry_.height() <= 0; }
    void paint(QPainter& painter, const RangeLook& look) const;

private:
    const Sheet& sheet_;
    std::vector<QFont> fonts_;
    int digitWidth_;
    SheetGeometry geometry_;
    CellLookup cells_;
    CellTextLayout layout_;
};

}  // namespace xls
