// Texts drawn from remembered glyphs look exactly as drawText draws them, the first time and every
// time after, in every script and face a cell may hold; documents keep getting the text itself.
#include "TextWidths.h"
#include "xls/ScreenFonts.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QStringList kTexts = {
    QStringLiteral("Expense report"),
    QStringLiteral("$1,234.57 "),
    QStringLiteral("  leading and trailing  "),
    QStringLiteral("Caf\u00e9 cr\u00e8me, \u00c5ngstr\u00f6m, Stra\u00dfe"),
    QStringLiteral("e\u0301 a\u0308 o\u0302 n\u0303"),
    QStringLiteral("\u0641\u0627\u062a\u0648\u0631\u0629 \u0627\u0644\u0641\u0646\u062f\u0642 123"),
    QStringLiteral("Hotel \u05de\u05dc\u05d5\u05df 42 nights"),
    QStringLiteral("\u4f1a\u8bae\u9910\u8d39 \u00a5800"),
    QStringLiteral("Taxi \U0001F695 \U0001F44D\U0001F3FD"),
    QStringLiteral("fi fl ffi WAVE AV To"),
};

xls::Font fontNamed(const char* name, bool bold, bool italic) {
    xls::Font font;
    font.name = name;
    font.heightTwips = 200;
    font.bold = bold;
    font.italic = italic;
    return font;
}

QImage drawn(const QFont& font, const QString& text, const std::function<void(QPainter&, const QPoint&)>& draw) {
    QImage image(QFontMetrics(font).horizontalAdvance(text) + 40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(QColor(0x17, 0x48, 0xA1));
    draw(painter, QPoint(20, 28));
    return image;
}

TEST(TextWidths, RememberedGlyphsDrawWhatDrawTextDrawsInEveryScriptAndFace) {
    for (const xls::Font& cellFont : {fontNamed("Tahoma", false, false), fontNamed("Tahoma", true, false),
                                      fontNamed("Arial", false, true), fontNamed("Times New Roman", true, true)}) {
        const QFont font = xls::screenFont(cellFont);
        for (const QString& text : kTexts) {
            const QImage expected =
                drawn(font, text, [&](QPainter& painter, const QPoint& at) { painter.drawText(at, text); });
            // The first drawing shapes and remembers; the later ones draw what was remembered, also
            // through another measurer of the same font.
            for (int drawing = 0; drawing < 3; ++drawing) {
                const xls::TextWidths widths(font);
                const QImage image =
                    drawn(font, text, [&](QPainter& painter, const QPoint& at) { widths.draw(painter, at, text); });
                EXPECT_EQ(image, expected) << cellFont.name << " " << text.toStdString() << " drawing " << drawing;
            }
        }
    }
}

TEST(TextWidths, LineBreaksTabsAndDecorationsDrawAsDrawTextDrawsThem) {
    xls::Font underlined = fontNamed("Arial", false, false);
    underlined.underline = xls::Underline::Single;
    xls::Font struck = fontNamed("Arial", false, false);
    struck.strikeout = true;
    for (const xls::Font& cellFont : {fontNamed("Arial", false, false), underlined, struck}) {
        const QFont font = xls::screenFont(cellFont);
        for (const QString& text : {QStringLiteral("one\ntwo"), QStringLiteral("a\tb"), QStringLiteral("x\u2028y"),
                                    QStringLiteral("Underlined total")}) {
            const QImage expected =
                drawn(font, text, [&](QPainter& painter, const QPoint& at) { painter.drawText(at, text); });
            const xls::TextWidths widths(font);
            for (int drawing = 0; drawing < 2; ++drawing)
                EXPECT_EQ(
                    drawn(font, text, [&](QPainter& painter, const QPoint& at) { widths.draw(painter, at, text); }),
                    expected)
                    << text.toStdString();
        }
    }
}

TEST(TextWidths, AdvancesAreTheFontMetricsAdvancesAndStayAfterManyOtherTexts) {
    const QFont font = xls::screenFont(fontNamed("Tahoma", false, false));
    const QFontMetrics metrics(font);
    const xls::TextWidths widths(font);
    for (const QString& text : kTexts) EXPECT_EQ(widths.advance(text), metrics.horizontalAdvance(text));
    // Far more texts than are remembered: the widths stay right as the memory is let go.
    for (int i = 0; i < 40000; ++i) {
        const QString text = QString::number(i * 7919);
        ASSERT_EQ(widths.advance(text), metrics.horizontalAdvance(text)) << i;
    }
    for (const QString& text : kTexts) EXPECT_EQ(xls::TextWidths(font).advance(text), metrics.horizontalAdvance(text));
    // The same face kerned is another font: what the unkerned one remembered is not its width.
    QFont kerned = font;
    kerned.setKerning(true);
    for (const QString& text : kTexts)
        EXPECT_EQ(xls::TextWidths(kerned).advance(text), QFontMetrics(kerned).horizontalAdvance(text));
}

TEST(TextWidths, ADocumentGetsTheTextItselfAndAPictureTheSamePixelsAfterIt) {
    const QFont font = xls::screenFont(fontNamed("Arial", false, false));
    const QString text = QStringLiteral("Searchable caf\u00e9 total");
    const xls::TextWidths widths(font);
    QPicture recorded;
    {
        QPainter painter(&recorded);
        painter.setFont(font);
        widths.draw(painter, QPoint(100, 100), text);
    }
    // A recording, like a document, keeps what it is given: the text, not only its glyphs.
    QByteArray utf16;
    for (const QChar c : text) utf16.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    EXPECT_TRUE(QByteArray(recorded.data(), recorded.size()).contains(utf16));
    const QImage expected = drawn(font, text, [&](QPainter& painter, const QPoint& at) { painter.drawText(at, text); });
    EXPECT_EQ(drawn(font, text, [&](QPainter& painter, const QPoint& at) { widths.draw(painter, at, text); }),
              expected);
}

}  // namespace
