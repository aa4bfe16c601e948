#include "app/StoreFileLines.h"

#include <QList>
#include <QStringDecoder>

#include <optional>

namespace {

bool IsUtf8Text(const QByteArray& line) {
    if (line.contains('\0')) return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(decoder(line));
    return !decoder.hasError();
}

// The part of a line the INI reader takes, or nullopt when it would run on into the next line. As
// that reader does, a backslash takes the next character with it, quotes hide separators, and an
// unquoted semicolon starts a comment.
std::optional<QByteArray> ReadPart(const QByteArray& line) {
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        switch (line[i]) {
        case '\\':
            if (++i == line.size()) return std::nullopt;
            break;
        case '"': inQuotes = !inQuotes; break;
        case ';':
            if (!inQuotes) return line.left(i).trimmed();
            break;
        default: break;
        }
    }
    if (inQuotes) return std::nullopt;
    return line.trimmed();
}

bool IsSound(const QByteArray& line) {
    if (line.trimmed().startsWith(';')) return IsUtf8Text(line);
    const std::optional<QByteArray> part = ReadPart(line);
    if (!IsUtf8Text(line) || !part) return false;
    if (part->isEmpty()) return true;
    if (part->startsWith('[')) return part->endsWith(']');
    return part->indexOf('=') > 0;
}

// What a write cut short can leave at the file's end: the start of a line as the store writes it
// (no control character; UTF-8 but for a character cut in two at its end) that is not yet a whole
// line. The store quotes every value, so a key with nothing after its '=' is cut short as well:
// read, it would empty the value that the unfinished write was to replace.
bool IsCutShort(const QByteArray& line) {
    for (const char byte : line)
        if (uchar(byte) < 0x20 || byte == 0x7F) return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    (void)QString(decoder(line));
    if (decoder.hasError()) return false;
    if (!IsSound(line)) return true;
    const std::optional<QByteArray> part = ReadPart(line);
    return part && !part->isEmpty() && !part->startsWith('[') && part->indexOf('=') == part->size() - 1;
}

}  // namespace

StoreFileLines KeepSoundLines(const QByteArray& bytes) {
    QByteArray text = bytes;
    text.replace("\r\n", "\n").replace('\r', '\n');
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    const bool endsInsideALine = !text.isEmpty() && !text.endsWith('\n');
    StoreFileLines result;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (endsInsideALine && i == lines.size() - 1 && IsCutShort(lines[i])) {
            result.unfinishedEnd = true;
        } else if (IsSound(lines[i])) {
            result.sound += lines[i];
            result.sound += '\n';
        } else {
            result.damaged.push_back(int(i) + 1);
        }
    }
    return result;
}
