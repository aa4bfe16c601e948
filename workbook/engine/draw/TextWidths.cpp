#include "TextWidths.h"

#include <QPaintEngine>
#include <QTextLine>

#include <limits>

namespace xls {
namespace {

// Bounds on what a thread remembers: a picture's texts many times over, so that a run's second
// picture finds all of its own, while the memory stays level however many different texts come.
constexpr qsizetype kRememberedWidths = 16384;
constexpr qsizetype kRememberedCharacters = 1 << 18;
constexpr qsizetype kRememberedFonts = 64;

std::shared_ptr<TextWidths::Shapes> ThreadShapes(const QFont& font) {
    // Never destroyed: the fonts' engines go with the application, and a font let go after them
    // would reach into what is gone.
    thread_local auto& fonts = *new QHash<QString, std::shared_ptr<TextWidths::Shapes>>;
    // A font's key leaves out its kerning and hinting, which change widths and glyphs.
    const QString key =
        font.key() + QString::number(int(font.kerning())) + QString::number(int(font.hintingPreference()));
    if (const auto known = fonts.constFind(key); known != fonts.constEnd()) return *known;
    if (fonts.size() >= kRememberedFonts) fonts.clear();
    auto shapes = std::make_shared<TextWidths::Shapes>(font, QFontMetrics(font));
    fonts.insert(key, shapes);
    return shapes;
}

// Where the remembered glyphs draw exactly what drawText draws: pixels, the text's own direction, and texts
// without the characters drawText and a text layout treat apart (line breaks, tabs, controls).
// Underlines and strike-outs are drawn by the text itself, as drawText draws them.
bool DrawsShaped(const QPainter& painter, const QFont& font, const QString& text) {
    const QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || painter.layoutDirection() != Qt::LayoutDirectionAuto)
        return false;
    if (font.underline() || font.strikeOut() || font.overline()) return false;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0) || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return false;
    return true;
}

}  // namespace

TextWidths::Shapes::Shapes(const QFont& font, const QFontMetrics& metrics)
    : font(font), metrics(metrics), layouts(kRememberedCharacters) {}

TextWidths::TextWidths(const QFont& font) : shapes_(ThreadShapes(font)) {}

TextWidths::TextWidths(const QFontMetrics& metrics) : shapes_(std::make_shared<Shapes>(QFont(), metrics)) {}

int TextWidths::advance(const QString& text) const {
    QHash<QString, int>& advances = shapes_->advances;
    if (const auto known = advances.constFind(text); known != advances.constEnd()) return *known;
    const int width = shapes_->metrics.horizontalAdvance(text);
    if (advances.size() >= kRememberedWidths) advances.clear();
    advances.insert(text, width);
    return width;
}

const QTextLayout* TextWidths::shaped(const QString& text) const {
    if (const QTextLayout* known = shapes_->layouts.object(text)) return known;
    auto layout = std::make_unique<QTextLayout>(text, shapes_->font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    // As drawText lays out: the direction the text's first strong letter gives, and the start at
    // the given point whatever that direction is.
    option.setTextDirection(Qt::LayoutDirectionAuto);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    QTextLine line = layout->createLine();
    if (line.isValid()) line.setLineWidth(std::numeric_limits<int>::max() / 256);
    layout->endLayout();
    if (layout->lineCount() != 1) return nullptr;
    const QTextLayout* kept = layout.get();
    // A text longer than everything remembered is drawn and let go.
    if (!shapes_->layouts.insert(text, layout.release(), std::max<qsizetype>(1, text.size()))) return nullptr;
    return kept;
}

void TextWidths::draw(QPainter& painter, const QPoint& baseline, const QString& text) const {
    if (text.isEmpty()) return;
    if (DrawsShaped(painter, shapes_->font, text))
        if (const QTextLayout* layout = shaped(text)) {
            const QTextLine line = layout->lineAt(0);
            line.draw(&painter, QPointF(baseline.x(), baseline.y() - line.ascent()));
            return;
        }
    painter.drawText(baseline, text);
}

}  // namespace xls
