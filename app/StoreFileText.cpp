#include "app/StoreFileText.h"

#include <QHash>
#include <QStringView>

#include <vector>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsHexDigit(char16_t unit) {
    return (unit >= '0' && unit <= '9') || (unit >= 'a' && unit <= 'f') || (unit >= 'A' && unit <= 'F');
}

// The reader takes hex digits after \x for as long as they come, so a digit right after an escape
// is escaped as well.
void AppendHexEscape(QByteArray& out, char16_t unit) {
    out += "\\x";
    out += QByteArray::number(uint(unit), 16);
}

// Letters, digits and _-. stand for themselves; '/' is written as '\'; anything else as %XX or %UXXXX.
QByteArray EscapedName(const QString& name) {
    QByteArray out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const char16_t unit = c.unicode();
        if (unit == '/') {
            out += '\\';
        } else if ((unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') || (unit >= '0' && unit <= '9') ||
                   unit == '_' || unit == '-' || unit == '.') {
            out += char(unit);
        } else if (unit <= 0xFF) {
            out += '%';
            out += kHexDigits[unit / 16];
            out += kHexDigits[unit % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(unit >> shift) & 0xF];
        }
    }
    return out;
}

// The value in quotes, which keep separators, comment marks and blanks at either end as they are.
// Control characters, byte order marks and lone surrogates are escaped; the rest is UTF-8, copied a
// run at a time.
QByteArray QuotedValue(const QString& value) {
    QByteArray out;
    out.reserve(value.size() + 4);
    out += '"';
    // A leading @ marks a typed value for the reader; a doubled one stands for itself.
    if (value.startsWith(QLatin1Char('@'))) out += '@';
    const QStringView text(value);
    qsizetype runStart = 0;
    bool escapeNextIfHex = false;
    const auto flushRun = [&](qsizetype end) {
        if (end > runStart) out += text.sliced(runStart, end - runStart).toUtf8();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        // The reader's UTF-8 decoder drops a byte order mark that starts a run, so it is escaped too.
        const bool escaped = (escapeNextIfHex && IsHexDigit(unit)) || unit < 0x20 || unit == 0x7F || unit == 0xFEFF ||
                             (QChar::isSurrogate(unit) && !pair) || unit == '"' || unit == '\\';
        if (!escaped) {
            escapeNextIfHex = false;
            if (pair) ++i;
            continue;
        }
        flushRun(i);
        runStart = i + 1;
        if (unit == '"' || unit == '\\') {
            out += '\\';
            out += char(unit);
            escapeNextIfHex = false;
        } else {
            AppendHexEscape(out, unit);
            escapeNextIfHex = true;
        }
    }
    flushRun(text.size());
    out += '"';
    return out;
}

}  // namespace

QByteArray StoreSectionLine(const QString& section) {
    if (section.isEmpty()) return "[General]\n";
    // The reader takes [General] for the part before any header; a section of that name is escaped.
    if (section.compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) return "[%" + section.toLatin1() + "]\n";
    return '[' + EscapedName(section) + "]\n";
}

QByteArray StoreEntryLine(const QString& key, const QString& value) {
    return EscapedName(key) + '=' + QuotedValue(value) + '\n';
}

QByteArray StoreText(const StoreEntries& entries) {
    std::vector<QString> order;
    QHash<QString, QByteArray> lines;  // section -> its entry lines
    for (const auto& [path, value] : entries) {
        const qsizetype slash = path.indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : path.left(slash);
        if (!lines.contains(section)) order.push_back(section);
        lines[section] += StoreEntryLine(slash < 0 ? path : path.mid(slash + 1), value);
    }
    QByteArray text;
    for (const QString& section : order) text += StoreSectionLine(section) + lines.value(section);
    return text;
}
