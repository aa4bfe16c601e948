// How a sheet comes out on paper by its own page setup: the paper, the margins, the printed size
// of the cells (fitted to pages or at the sheet's scale) and the cells each page carries.
#pragma once

#include "xls/Model.h"

#include <QPageLayout>
#include <QPointF>

#include <optional>
#include <vector>

namespace xls {

inline constexpr double kPointsPerInch = 72.0;
inline constexpr double kPointsPerPixel = 72.0 / 96.0;  // a 96-dpi pixel of the picture at 100 %

struct PrintedPage {
    Range range;     // the cells on this page
    QPointF origin;  // their top-left corner on the paper, in points from the paper's corner
};

struct PrintPlan {
    QPageLayout layout;              // paper size, orientation and the sheet's margins, in points
    double scale = 1.0;              // a picture pixel prints as kPointsPerPixel × scale points
    std::vector<PrintedPage> pages;  // in printing order, down then over; empty: nothing to print
};

// The cells printed: the print area, else the used range; nothing for an empty sheet.
std::optional<Range> printedRange(const Sheet& sheet);

// Needs a QGuiApplication (column widths come from the standard font).
PrintPlan planPrint(const Workbook& workbook, const Sheet& sheet);

}  // namespace xls
