// The advance widths and shaped glyphs of texts in one font. A cell's text is measured by its layout
// and again by its drawing, and each measurement shapes the text; shaping is most of a picture's
// cost, so each text is shaped for measuring once and for drawing once, and both are remembered
// for the thread's later pictures in the same font (a report's labels, a run's repeated values).
#pragma once

#include <QCache>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <QTextLayout>

#include <memory>

namespace xls {

class TextWidths {
public:
    // Shares what the thread has remembered for this font.
    explicit TextWidths(const QFont& font);
    // Remembers for itself only.
    explicit TextWidths(const QFontMetrics& metrics);

    const QFontMetrics& metrics() const { return shapes_->metrics; }
    // QFontMetrics::horizontalAdvance of the text, remembered.
    int advance(const QString& text) const;
    // QPainter::drawText of the text at the baseline, the painter's font being this font: from glyphs
    // shaped once where the painter draws pixels; a document's painter gets the text itself, so that
    // it stays text.
    void draw(QPainter& painter, const QPoint& baseline, const QString& text) const;

    struct Shapes {
        Shapes(const QFont& font, const QFontMetrics& metrics);
        QFont font;
        QFontMetrics metrics;
        QHash<QString, int> advances;
        QCache<QString, QTextLayout> layouts;
    };

private:
    const QTextLayout* shaped(const QString& text) const;

    std::shared_ptr<Shapes> shapes_;
};

}  // namespace xls
