#include "SkinFramework.h"

#include "app/AppError.h"

#include <QFile>
#include <QStringDecoder>
#include <QWidget>

namespace {

AppError SkinError(const QString& path, const QString& what) {
    return AppError(QStringLiteral("The skin file ") + path + QLatin1Char(' ') + what);
}

// Braces must pair up outside comments and quoted strings, or Qt would silently drop the sheet.
bool HasBalancedBlocks(const QString& sheet) {
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < sheet.size(); ++i) {
        const QChar c = sheet.at(i);
        if (!quote.isNull()) {
            if (c == QLatin1Char('\\'))
                ++i;
            else if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('/') && sheet.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = sheet.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0) return false;
            i = end + 1;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('{')) {
            ++depth;
        } else if (c == QLatin1Char('}') && --depth < 0) {
            return false;
        }
    }
    return depth == 0 && quote.isNull();
}

}  // namespace

void SkinFramework::loadSkin(const QString& path, const QString& variant) {
    if (!variant.isEmpty()) throw SkinError(path, "has no variant named " + variant);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw SkinError(path, "cannot be read: " + file.errorString());
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString sheet = decoder(file.readAll());
    if (decoder.hasError() || sheet.contains(QChar(0))) throw SkinError(path, "is not a text file");
    if (!HasBalancedBlocks(sheet))
        throw SkinError(path, "is not a valid style sheet (unbalanced braces, quotes or comments)");
    m_styleSheet = sheet;
}

void SkinFramework::applyWindow(QWidget* window) const {
    if (!m_enabled || !window) return;
    window->setAttribute(Qt::WA_StyledBackground, (m_options & kApplyWindowBackground) != 0);
    window->setStyleSheet(m_styleSheet);
    if (m_repaintOnApply) window->repaint();
}
