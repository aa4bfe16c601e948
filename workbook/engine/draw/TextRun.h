// One run of text drawn at a baseline, with the emboldening a too-light bold face needs.
#pragma once

#include "TextWidths.h"
#include "xls/Model.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPoint>
#include <QString>

namespace xls {

// How the copies that thicken a too-light bold face are drawn: as text again (pictures), or as
// outlines, so that a document holds each text once for searching and copying (pages).
enum class Overstrike { Text, Outline };

struct TextStyle {
    QFont font;
    QColor colour;
    Underline underline = Underline::None;
    // The bold face draws no heavier than the regular one: thicken its strokes by overstriking,
    // keeping its advance widths.
    bool embolden = false;
    Overstrike overstrike = Overstrike::Text;
};

// `widths` measures and draws in style.font.
void drawTextRun(QPainter& painter, const TextWidths& widths, const QPoint& baseline, const QString& text,
                 const TextStyle& style);

}  // namespace xls
