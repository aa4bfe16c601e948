#include "CellTextPainter.h"

#include "DrawnText.h"

#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <vector>

namespace xls {
namespace {

int pieceWidth(const TextWidths& widths, const DisplayPiece& piece) {
    return piece.kind == DisplayPiece::Kind::Fill ? 0 : widths.advance(drawnText(piece.text));
}

struct WrappedLine {
    QString text;
    int width;
};

// Breaks text into lines no wider than `width`: at spaces and the other break opportunities of
// the script where possible, else inside a word. Stops after `maxLines` lines, so the work is
// bounded by the cell, not by the text.
std::vector<WrappedLine> wrapLines(const QFont& font, QString text, int width, int maxLines) {
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    std::vector<WrappedLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && int(lines.size()) < maxLines;
         line = layout.createLine()) {
        line.setLineWidth(width);
        QString shown = text.mid(line.textStart(), line.textLength());
        while (!shown.isEmpty() && (shown.back().isSpace() || shown.back() == QChar::LineSeparator)) shown.chop(1);
        lines.push_back({shown, int(std::ceil(line.naturalTextWidth()))});
    }
    layout.endLayout();
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
Extent paintPieces(QPainter& painter, const TextWidths& widths, const DisplayText& text, const TextStyle& style,
                   const TextPlacement& placement, int baseline) {
    const auto fill = std::find_if(text.pieces.begin(), text.pieces.end(),
                                   [](const DisplayPiece& piece) { return piece.kind == DisplayPiece::Kind::Fill; });
    const int width = displayWidth(widths, text);
    int x = alignedLeft(placement, width);
    int fillRoom = 0;
    if (fill != text.pieces.end()) {
        x = placement.area.left() + (placement.align == HAlign::Right ? 0 : placement.indent);
        fillRoom = std::max(0, placement.area.width() - placement.indent - width);
    }
    const int start = x;
    for (const DisplayPiece& piece : text.pieces) {
        const QString pieceText = drawnText(piece.text);
        if (piece.kind == DisplayPiece::Kind::Fill) {
            if (&piece != &*fill) continue;  // only the first fill code counts
            const int step = widths.advance(pieceText);
            // A blank fill (the accounting formats' "* ") only takes room: drawing it would put
            // runs of spaces into a document's text.
            if (step > 0 && !pieceText.trimmed().isEmpty())
                for (int used = 0; used + step <= fillRoom; used += step)
                    drawTextRun(painter, widths, QPoint(x + used, baseline), pieceText, style);
            x += fillRoom;
            continue;
        }
        if (piece.kind == DisplayPiece::Kind::Text) drawTextRun(painter, widths, QPoint(x, baseline), pieceText, style);
        x += widths.advance(pieceText);
    }
    return {start, x - start};
}

}  // namespace

int wrappedLinesShown(const QFontMetrics& metrics, int height) {
    const int spacing = std::max(1, metrics.lineSpacing());
    return 2 * ((std::max(0, height) + spacing - 1) / spacing) + 2;
}

int displayWidth(const TextWidths& widths, const DisplayText& text) {
    int width = 0;
    for (const DisplayPiece& piece : text.pieces) width += pieceWidth(widths, piece);
    return width;
}

int displayWidth(const QFontMetrics& metrics, const DisplayText& text) {
    return displayWidth(TextWidths(metrics), text);
}

void paintDisplayText(QPainter& painter, const DisplayText& text, const TextStyle& style,
                      const TextPlacement& placement, const TextWidths& widths) {
    const QFontMetrics& metrics = widths.metrics();
    painter.save();
    painter.setClipRect(placement.clip);
    painter.setFont(style.font);
    painter.setPen(style.colour);
    const bool accounting =
        style.underline == Underline::SingleAccounting || style.underline == Underline::DoubleAccounting;
    const bool drawnUnderline = style.underline != Underline::None && style.underline != Underline::Single;

    if (placement.wrap) {
        const int maxLines = wrappedLinesShown(metrics, placement.area.height());
        const std::vector<WrappedLine> lines = wrapLines(
            style.font, drawnText(text.plain()), std::max(1, placement.area.width() - placement.indent), maxLines);
        int top = int(lines.size()) < maxLines ? blockTop(placement, int(lines.size()) * metrics.lineSpacing())
                                               : placement.area.top();
        for (const WrappedLine& line : lines) {
            const int width = line.width;
            const int left = alignedLeft(placement, width);
            const int baseline = top + metrics.ascent();
            drawTextRun(painter, widths, QPoint(left, baseline), line.text, style);
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
            const QString once = drawnText(text.plain());
            const int step = std::max(1, widths.advance(once));
            const int copies = std::max(1, placement.area.width() / step);
            drawTextRun(painter, widths, QPoint(left, baseline), once.repeated(copies), style);
            width = copies * step;
        } else {
            const Extent extent = paintPieces(painter, widths, text, style, placement, baseline);
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
