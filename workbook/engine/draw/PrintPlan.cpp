#include "xls/PrintPlan.h"

#include "PaperSize.h"
#include "RangePainter.h"
#include "xls/ScreenFonts.h"
#include "xls/SheetGeometry.h"

#include <algorithm>
#include <cmath>

namespace xls {
namespace {

// Margins never leave less than this much paper between them.
constexpr double kLeastPrintablePoints = 72.0;
constexpr int kLeastScalePercent = 10;
constexpr int kLargestScalePercent = 400;

// A margin read from a file may be anything, including not a number.
double marginPoints(double inches) { return std::isfinite(inches) && inches > 0 ? inches * kPointsPerInch : 0.0; }

// Shrinks a pair of opposite margins together when they leave too little paper between them.
void keepRoomBetween(double& first, double& second, double paper) {
    const double most = std::max(0.0, paper - kLeastPrintablePoints);
    if (first + second <= most) return;
    const double shrink = most / (first + second);
    first *= shrink;
    second *= shrink;
}

QPageLayout pageLayoutOf(const PageSetup& page) {
    const QPageLayout::Orientation orientation =
        page.orientation == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPageSize paper = paperOf(page.paperSize);
    QSizeF size = paper.size(QPageSize::Point);
    if (orientation == QPageLayout::Landscape) size.transpose();
    double left = marginPoints(page.marginLeft), right = marginPoints(page.marginRight);
    double top = marginPoints(page.marginTop), bottom = marginPoints(page.marginBottom);
    keepRoomBetween(left, right, size.width());
    keepRoomBetween(top, bottom, size.height());
    return QPageLayout(paper, orientation, QMarginsF(left, top, right, bottom), QPageLayout::Point);
}

// Spreadsheet programs fit a sheet at a whole percentage and never enlarge it to fit.
double scaleOf(const PageSetup& page, const QSizeF& room, const QSizeF& content) {
    if (!page.fitToPage) return std::clamp<int>(page.scale, kLeastScalePercent, kLargestScalePercent) / 100.0;
    double fit = 1.0;
    if (page.fitWidth > 0 && content.width() > 0) fit = std::min(fit, page.fitWidth * room.width() / content.width());
    if (page.fitHeight > 0 && content.height() > 0)
        fit = std::min(fit, page.fitHeight * room.height() / content.height());
    return std::max(kLeastScalePercent, int(std::floor(fit * 100.0 + 1e-9))) / 100.0;
}

struct Band {
    int first;
    int last;
    int pixels;
};

// Cuts columns or rows into bands no longer than `room` pixels; a column or row longer than that
// gets a band of its own.
template <class Length>
std::vector<Band> bandsOf(int first, int last, double room, Length length) {
    std::vector<Band> bands;
    Band band{first, first - 1, 0};
    for (int index = first; index <= last; ++index) {
        const int pixels = length(index);
        if (band.last >= band.first && band.pixels + pixels > room + 1e-6) {
            bands.push_back(band);
            band = {index, index - 1, 0};
        }
        band.last = index;
        band.pixels += pixels;
    }
    bands.push_back(band);
    return bands;
}

double placed(double margin, double room, double used, bool centred) {
    return margin + (centred ? std::max(0.0, (room - used) / 2) : 0.0);
}

}  // namespace

std::optional<Range> printedRange(const Sheet& sheet) {
    const std::optional<Range> range = sheet.printArea ? sheet.printArea : sheet.usedRange();
    return range ? drawableRange(*range) : std::nullopt;
}

PrintPlan planPrint(const Workbook& workbook, const Sheet& sheet) {
    PrintPlan plan;
    plan.layout = pageLayoutOf(sheet.page);
    const std::optional<Range> range = printedRange(sheet);
    if (!range) return plan;
    const SheetGeometry geometry(sheet, *range, maxDigitWidth(screenFonts(workbook).front()));
    if (geometry.width() <= 0 || geometry.height() <= 0) return plan;

    const QRectF room = plan.layout.paintRect(QPageLayout::Point);
    const QSizeF content(geometry.width() * kPointsPerPixel, geometry.height() * kPointsPerPixel);
    plan.scale = scaleOf(sheet.page, room.size(), content);
    const double pointsPerPixel = kPointsPerPixel * plan.scale;

    const auto columns = bandsOf(range->firstCol, range->lastCol, room.width() / pointsPerPixel,
                                 [&](int col) { return geometry.columnWidth(col); });
    const auto rows = bandsOf(range->firstRow, range->lastRow, room.height() / pointsPerPixel,
                              [&](int row) { return geometry.rowHeight(row); });
    for (const Band& columnBand : columns)
        for (const Band& rowBand : rows) {
            PrintedPage page;
            page.range = {uint16_t(rowBand.first), uint16_t(columnBand.first), uint16_t(rowBand.last),
                          uint16_t(columnBand.last)};
            page.origin = {
                placed(room.left(), room.width(), columnBand.pixels * pointsPerPixel, sheet.page.centerHorizontally),
                placed(room.top(), room.height(), rowBand.pixels * pointsPerPixel, sheet.page.centerVertically)};
            plan.pages.push_back(page);
        }
    return plan;
}

}  // namespace xls
