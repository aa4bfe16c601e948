#include "xls/PagePainter.h"

#include "RangePainter.h"
#include "xls/Error.h"
#include "xls/PrintPlan.h"

#include <QPainter>

namespace xls {
namespace {

// Where the painter's origin lies on the paper, in points: the corner of the area inside the
// margins the device actually took, or the paper's corner for a full-page device.
QPointF painterOrigin(const QPageLayout& actual) {
    return actual.mode() == QPageLayout::FullPageMode ? QPointF() : actual.paintRect(QPageLayout::Point).topLeft();
}

void applyLayout(QPagedPaintDevice& device, const QPageLayout& layout) {
    // One at a time: a printer refusing the margins must still take the paper and orientation.
    device.setPageSize(layout.pageSize());
    device.setPageOrientation(layout.orientation());
    device.setPageMargins(layout.margins(), layout.units());
}

}  // namespace

void printSheet(QPagedPaintDevice& device, const Workbook& workbook, const Sheet& sheet, const LocaleInfo& locale) {
    const PrintPlan plan = planPrint(workbook, sheet);
    if (plan.pages.empty()) throw Error("the sheet has nothing to print");
    applyLayout(device, plan.layout);
    QPainter painter;
    if (!painter.begin(&device)) throw Error("the printer or file cannot be drawn on");
    const QPointF origin = painterOrigin(device.pageLayout());
    const QPointF devicePerPoint(device.logicalDpiX() / kPointsPerInch, device.logicalDpiY() / kPointsPerInch);
    const QPointF devicePerPixel = devicePerPoint * kPointsPerPixel * plan.scale;
    const RangeLook look{.gridlines = sheet.page.printGridlines, .overstrike = Overstrike::Outline};
    bool first = true;
    for (const PrintedPage& page : plan.pages) {
        if (!first && !device.newPage()) throw Error("the next page cannot be started");
        first = false;
        const RangePainter cells(workbook, sheet, page.range, locale);
        painter.save();
        const QPointF offset = page.origin - origin;
        painter.translate(offset.x() * devicePerPoint.x(), offset.y() * devicePerPoint.y());
        painter.scale(devicePerPixel.x(), devicePerPixel.y());
        painter.setClipRect(QRect(0, 0, cells.geometry().width(), cells.geometry().height()));
        cells.paint(painter, look);
        painter.restore();
    }
    if (!painter.end()) throw Error("the printed pages could not be finished");
}

}  // namespace xls
