#include "TextRun.h"

#include <algorithm>
#include <cmath>

namespace xls {
namespace {

// Overstriking shifts by this share of the pixel size, at least one pixel: a 9 or 10 point stem
// gains a pixel, as a simulated bold does on screen.
constexpr double kEmboldenShare = 1.0 / 16;

}  // namespace

void drawTextRun(QPainter& painter, const TextWidths& widths, const QPoint& baseline, const QString& text,
                 const TextStyle& style) {
    widths.draw(painter, baseline, text);
    if (!style.embolden) return;
    const int strength = std::max(1, int(std::lround(style.font.pixelSize() * kEmboldenShare)));
    for (int shift = 1; shift <= strength; ++shift) {
        const QPoint shifted = baseline + QPoint(shift, 0);
        if (style.overstrike == Overstrike::Text) {
            widths.draw(painter, shifted, text);
            continue;
        }
        QPainterPath outline;
        outline.addText(shifted, style.font, text);
        painter.fillPath(outline, style.colour);
    }
}

}  // namespace xls
