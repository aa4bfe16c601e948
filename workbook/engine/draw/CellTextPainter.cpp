#include "CellTextPainter.h"

#include <QStringList>

#include <algorithm>
#include <vector>

namespace xls {
namespace {

QString qtext(const std::string& text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

int pieceWidth(const QFontMetrics& metrics, const DisplayPiece& piece) {
    return piece.kind == DisplayPiece::Kind::Fill ? 0 : metrics.horizontalAdvance(qtext(piece.text));
}

// Breaks text into lines no wider than `width`, at spaces where possible, else inside a word.
QStringList wrapLines(const QFontMetrics& metrics, const QString& text, int width) {
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (metrics.horizontalAdvance(candidate) <= width || line.isEmpty()) {
                line = candidate;
            } else {
                lines << line;
                line = word;
            }
            while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
                qsizetype fit = line.size() - 1;
                while (fit > 1 && metrics.horizontalAdvance(line.left(fit)) > width) --fit;
                lines << line.left(fit);
                line = line.mid(fit);
            }
        }
        lines << line;
    }
    return lines;
}

int blockTop(const TextPlacement& placement, int blockHeight) {
    switch (placement.vAlign) {
    case VAlign::Top: return placement.area.top();
    case VAlign::Center:
    case VAlign::Distributed: return placement.area.top() + (placement.area.height() - blockHeight) / 2;
    case VAlign::Bottom:
    case VAlign::Justify: break;
    }
    return placement.area.top() + placement.area.height() - blockHeight;
}

int alignedLeft(const TextPlacement& placement, int width) {
    switch (placement.align) {
    case HAlign::Right: return placement.area.left() + placement.area.width() - placement.indent - width;
    case HAlign::Center: return placement.area.left() + (placement.area.width() - width) / 2;
    default: return placement.area.left() + placement.indent;
    }
}

void paintUnderline(QPainter& painter, const TextStyle& style, const QFontMetrics& metrics, int left, int width,
                    int baseline) {
    const int y = baseline + metrics.underlinePos();
    const int thickness = std::max(1, metrics.lineWidth());
    const bool twice = style.underline == Underline::Double || style.underline == Underline::DoubleAccounting;
    painter.fillRect(QRect(left, y, width, thickness), style.colour);
    if (twice) painter.fillRect(QRect(left, y + thickness + 1, width, thickness), style.colour);
}

struct Extent {
    int left;
    int width;
};

// One line of pieces; a fill piece stretches the line over the whole area.
Extent paintPieces(QPainter& painter, const QFontMetrics& metrics, const DisplayText& text,
                const TextPlacement& placement, int baseline) {
    const auto fill = std::find_if(text.pieces.begin(), text.pieces.end(),
                                   [](const DisplayPiece& piece) { return piece.kind == DisplayPiece::Kind::Fill; });
    const int width = displayWidth(metrics, text);
    int x = alignedLeft(placement, width);
    int fillRoom = 0;
    if (fill != text.pieces.end()) {
        x = placement.area.left() + (placement.align == HAlign::Right ? 0 : placement.indent);
        fillRoom = std::max(0, placement.area.width() - placement.indent - width);
    }
    const int start = x;
    for (const DisplayPiece& piece : text.pieces) {
        const QString pieceText = qtext(piece.text);
        if (piece.kind == DisplayPiece::Kind::Fill) {
            if (&piece != &*fill) continue;  // only the first fill code counts
            const int step = metrics.horizontalAdvance(pieceText);
            if (step > 0)
                for (int used = 0; used + step <= fillRoom; used += step)
                    painter.drawText(QPoint(x + used, baseline), pieceText);
            x += fillRoom;
            continue;
        }
        if (piece.kind == DisplayPiece::Kind::Text) painter.drawText(QPoint(x, baseline), pieceText);
        x += metrics.horizontalAdvance(pieceText);
    }
    return {start, x - start};
}

}  // namespace

int displayWidth(const QFontMetrics& metrics, const DisplayText& text) {
    int width = 0;
    for (const DisplayPiece& piece : text.pieces) width += pieceWidth(metrics, piece);
    return width;
}

void paintDisplayText(QPainter& painter, const DisplayText& text, const TextStyle& style,
                      const TextPlacement& placement) {
    const QFontMetrics metrics(style.font);
    painter.save();
    painter.setClipRect(placement.clip);
    painter.setFont(style.font);
    painter.setPen(style.colour);
    const bool accounting =
        style.underline == Underline::SingleAccounting || style.underline == Underline::DoubleAccounting;
    const bool drawnUnderline = style.underline != Underline::None && style.underline != Underline::Single;

    if (placement.wrap) {
        const QStringList lines = wrapLines(metrics, qtext(text.plain()),
                                            std::max(1, placement.area.width() - placement.indent));
        int top = blockTop(placement, int(lines.size()) * metrics.lineSpacing());
        for (const QString& line : lines) {
            const int width = metrics.horizontalAdvance(line);
            const int left = alignedLeft(placement, width);
            const int baseline = top + metrics.ascent();
            painter.drawText(QPoint(left, baseline), line);
            if (drawnUnderline)
                paintUnderline(painter, style, metrics, accounting ? placement.area.left() : left,
                               accounting ? placement.area.width() : width, baseline);
            top += metrics.lineSpacing();
        }
    } else {
        const int baseline = blockTop(placement, metrics.height()) + metrics.ascent();
        int left = placement.area.left();
        int width = 0;
        if (placement.align == HAlign::Fill) {
            // Fill alignment repeats the whole text across the cell, at least once.
            const QString once = qtext(text.plain());
            const int step = std::max(1, metrics.horizontalAdvance(once));
            const int copies = std::max(1, placement.area.width() / step);
            painter.drawText(QPoint(left, baseline), once.repeated(copies));
            width = copies * step;
        } else {
            const Extent extent = paintPieces(painter, metrics, text, placement, baseline);
            left = extent.left;
            width = extent.width;
        }
        if (drawnUnderline)
            paintUnderline(painter, style, metrics, accounting ? placement.area.left() : left,
                           accounting ? placement.area.width() : width, baseline);
    }
    painter.restore();
}

}  // namespace xls
