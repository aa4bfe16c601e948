#include "xls/SheetPainter.h"

#include "RangePainter.h"
#include "xls/Error.h"

#include <cmath>
#include <limits>

namespace xls {
namespace {

constexpr double kDotsPerMeterAt96Dpi = 96 / 0.0254;

Error tooLarge() { return Error("the picture of the range is too large to hold"); }

// Device pixels for a length in 96-dpi pixels; beyond an int it cannot be an image side.
int devicePixels(int pixels, qreal devicePixelRatio) {
    const double scaled = std::ceil(pixels * devicePixelRatio);
    if (scaled > std::numeric_limits<int>::max()) throw tooLarge();
    return int(scaled);
}

}  // namespace

QImage renderRange(const Workbook& workbook, const Sheet& sheet, const Range& requested, const LocaleInfo& locale) {
    return renderRange(workbook, sheet, requested, locale, 1.0);
}

QImage renderRange(const Workbook& workbook, const Sheet& sheet, const Range& requested, const LocaleInfo& locale,
                   qreal devicePixelRatio) {
    if (!(devicePixelRatio > 0)) throw Error("the picture's device pixel ratio is not above zero");
    const std::optional<Range> range = drawableRange(requested);
    if (!range) throw Error("the range holds no cell to draw");
    const RangePainter painter(workbook, sheet, *range, locale);
    if (painter.isEmpty()) throw Error("the range shows nothing: its rows or columns are all hidden");
    QImage image(devicePixels(painter.geometry().width(), devicePixelRatio),
                 devicePixels(painter.geometry().height(), devicePixelRatio), QImage::Format_RGB32);
    if (image.isNull()) throw tooLarge();
    image.fill(Qt::white);
    if (devicePixelRatio != 1.0) {
        // QPainter then draws in 96-dpi pixels; the resolution survives a picture file.
        image.setDevicePixelRatio(devicePixelRatio);
        image.setDotsPerMeterX(qRound(kDotsPerMeterAt96Dpi * devicePixelRatio));
        image.setDotsPerMeterY(qRound(kDotsPerMeterAt96Dpi * devicePixelRatio));
    }
    QPainter imagePainter(&image);
    painter.paint(imagePainter, {.gridlines = sheet.showGridlines, .overstrike = Overstrike::Text});
    return image;
}

}  // namespace xls
