#include "Hairline.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

// The logical span [start, start + 1) moved onto whole device pixels of the window.
std::pair<qreal, qreal> Snapped(qreal windowStart, int start, qreal ratio) {
    const qreal device = windowStart * ratio;
    const qreal thickness = std::max<qreal>(1, std::floor(ratio));
    return {start + (std::round(device) - device) / ratio, thickness / ratio};
}

}  // namespace

void FillHairline(QPainter& painter, const QWidget& widget, const QRect& line, const QColor& colour) {
    const qreal ratio = widget.devicePixelRatioF();
    const QPoint inWindow = widget.mapTo(widget.window(), line.topLeft());
    QRectF snapped(line);
    if (line.height() == 1) {
        const auto [top, height] = Snapped(inWindow.y(), line.top(), ratio);
        snapped.setTop(top);
        snapped.setHeight(height);
    } else {
        const auto [left, width] = Snapped(inWindow.x(), line.left(), ratio);
        snapped.setLeft(left);
        snapped.setWidth(width);
    }
    painter.fillRect(snapped, colour);
}
