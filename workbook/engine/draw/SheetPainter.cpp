#include "xls/SheetPainter.h"

#include "RangePainter.h"

#include <QtMath>

namespace xls {
namespace {

constexpr double kDotsPerMeterAt96Dpi = 96 / 0.0254;

}  // namespace

QImage renderRange(const Workbook& workbook, const Sheet& sheet, const Range& requested, const LocaleInfo& locale) {
    return renderRange(workbook, sheet, requested, locale, 1.0);
}

QImage renderRange(const Workbook& workbook, const Sheet& sheet, const Range& requested, const LocaleInfo& locale,
                   qreal devicePixelRatio) {
    const std::optional<Range> range = drawableRange(requested);
    if (!range) return {};
    const RangePainter painter(workbook, sheet, *range, locale);
    if (painter.isEmpty()) return {};
    QImage image(qCeil(painter.geometry().width() * devicePixelRatio),
                 qCeil(painter.geometry().height() * devicePixelRatio), QImage::Format_RGB32);
    if (image.isNull()) return {};  // too large to allocate
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
