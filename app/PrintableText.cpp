#include "app/PrintableText.h"

namespace {

// Marks that reorder the text beside them (embeddings, overrides, isolates) without being seen.
bool IsDirectionControl(char16_t unit) {
    return unit == 0x061C || unit == 0x200E || unit == 0x200F || (unit >= 0x202A && unit <= 0x202E) ||
           (unit >= 0x2066 && unit <= 0x2069);
}

bool MustEscape(QChar unit, LineBreaks lineBreaks) {
    if (lineBreaks == LineBreaks::Keep && (unit == QLatin1Char('\n') || unit == QLatin1Char('\r'))) return false;
    switch (unit.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph: return true;
    default: return IsDirectionControl(unit.unicode());
    }
}

void AppendEscaped(QString& out, char16_t unit) {
    out += QStringLiteral("\\u%1").arg(uint(unit), 4, 16, QLatin1Char('0'));
}

}  // namespace

QString Printable(const QString& text, LineBreaks lineBreaks) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar unit = text[i];
        if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += unit;
            out += text[++i];
        } else if (unit.isSurrogate() || MustEscape(unit, lineBreaks)) {
            AppendEscaped(out, unit.unicode());
        } else {
            out += unit;
        }
    }
    return out;
}
