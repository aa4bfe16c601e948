#include "xls/ScreenFonts.h"

#include <QDir>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace xls {
namespace {

constexpr const char* kFallbackFamily = "Liberation Sans";
// Debian's fonts-wine carries Tahoma-metric fonts that the system font list does not announce.
constexpr const char* kWineFontFolder = "/usr/share/wine/fonts";

void registerWineTahoma() {
    const QDir folder(kWineFontFolder);
    for (const QString& file : folder.entryList({QStringLiteral("tahoma*.ttf")}, QDir::Files))
        QFontDatabase::addApplicationFont(folder.filePath(file));
}

QString substituteFor(const QString& name) {
    static const QHash<QString, QString> substitutes{
        {QStringLiteral("arial"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("helvetica"), QStringLiteral("Liberation Sans")},
        {QStringLiteral("times new roman"), QStringLiteral("Liberation Serif")},
        {QStringLiteral("courier new"), QStringLiteral("Liberation Mono")},
        {QStringLiteral("arial narrow"), QStringLiteral("Liberation Sans Narrow")},
    };
    return substitutes.value(name.toLower());
}

constexpr double kBoldInkRatio = 1.15;

// The darkness of a sample drawn in black on white: a measure of how heavy a face draws.
long inkOf(const QFont& font) {
    const QString sample = QStringLiteral("Hamburgefonstiv 0123456789");
    const QFontMetrics metrics(font);
    QImage image(metrics.horizontalAdvance(sample) + 4, metrics.height() + 4, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(2, 2 + metrics.ascent()), sample);
    }
    long ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* line = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) ink += 255 - line[x];
    }
    return ink;
}

}  // namespace

QString screenFamily(const std::string& name) {
    static const bool registered = (registerWineTahoma(), true);
    (void)registered;
    static QHash<QString, QString> resolved;
    const QString requested = QString::fromStdString(name);
    if (auto it = resolved.constFind(requested); it != resolved.constEnd()) return *it;

    QString family = QString::fromLatin1(kFallbackFamily);
    if (QFontDatabase::hasFamily(requested)) {
        family = requested;
    } else if (const QString substitute = substituteFor(requested);
               !substitute.isEmpty() && QFontDatabase::hasFamily(substitute)) {
        family = substitute;
    }
    resolved.insert(requested, family);
    return family;
}

QFont screenFont(const Font& font) {
    QFont qfont(screenFamily(font.name));
    // GDI rounds a point size to whole pixels at 96 dpi; doing the same keeps the metrics alike.
    qfont.setPixelSize(std::max(1, int(std::lround(font.heightTwips / 20.0 * 96.0 / 72.0))));
    qfont.setBold(font.bold);
    qfont.setItalic(font.italic);
    qfont.setStrikeOut(font.strikeout);
    qfont.setUnderline(font.underline == Underline::Single);
    qfont.setKerning(false);
    // Text is shaped, so Arabic letters join and marks sit on their letters. Spreadsheet programs
    // still draw "fi" as two letters, and a ligature would make a document's text read "ﬁ", which
    // searching for "fi" does not find: Qt leaves out the optional ligatures of a font that has a
    // letter spacing of its own, and spacing at 100 % changes no advance.
    qfont.setLetterSpacing(QFont::PercentageSpacing, 100);
    return qfont;
}

std::vector<QFont> screenFonts(const Workbook& workbook) {
    std::vector<QFont> fonts;
    for (const Font& font : workbook.fonts) fonts.push_back(screenFont(font));
    if (fonts.empty()) fonts.push_back(screenFont(Font{}));
    return fonts;
}

int maxDigitWidth(const QFont& font) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit) widest = std::max(widest, metrics.horizontalAdvance(QChar(digit)));
    return widest;
}

bool needsEmboldening(const QFont& font) {
    if (!font.bold()) return false;
    static QHash<QString, bool> decided;
    const QString key = font.key();
    if (auto it = decided.constFind(key); it != decided.constEnd()) return *it;
    QFont regular(font);
    regular.setBold(false);
    // A true bold face carries clearly more ink than its regular one.
    const bool lighter = inkOf(font) < kBoldInkRatio * inkOf(regular);
    decided.insert(key, lighter);
    return lighter;
}

QColor screenColour(uint32_t rgb, const QColor& automatic) {
    if (rgb == kAutomaticColour) return automatic;
    return QColor(int(rgb >> 16 & 0xFF), int(rgb >> 8 & 0xFF), int(rgb & 0xFF));
}

}  // namespace xls
