// Draws a formatted value inside a cell: pieces laid out left to right with pads and fills,
// horizontal and vertical alignment, indent, word wrap, and the underlines Qt does not draw.
#pragma once

#include "TextRun.h"
#include "TextWidths.h"
#include "xls/Model.h"
#include "xls/NumberFormat.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRect>

namespace xls {

struct TextPlacement {
    QRect area;                   // the cell's inside less its padding: what alignment refers to
    QRect clip;                   // what the text may cover
    HAlign align = HAlign::Left;  // Left, Center, Right or Fill
    VAlign vAlign = VAlign::Bottom;
    bool wrap = false;
    int indent = 0;  // pixels kept free at the aligned side
};

// Width of the text with pads counted and fill pieces left out.
int displayWidth(const TextWidths& widths, const DisplayText& text);
int displayWidth(const QFontMetrics& metrics, const DisplayText& text);
// How many lines of wrapped text are laid out for an area `height` pixels tall: enough to place
// a text that fits, or overflows a little, by its vertical alignment. A longer text shows its
// first lines from the top.
int wrappedLinesShown(const QFontMetrics& metrics, int height);
// `widths` measures in the style's font.
void paintDisplayText(QPainter& painter, const DisplayText& text, const TextStyle& style,
                      const TextPlacement& placement, const TextWidths& widths);

}  // namespace xls
