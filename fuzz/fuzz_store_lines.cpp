// The settings store file's text. Read: the line filter of a damaged file never crashes or hangs,
// and what it keeps is text that it keeps whole when filtered again, so the store reads it as it
// was kept. Written: any values, control characters and lone surrogates included, read back
// exactly; a changed value added at the end replaces the earlier one; and a write cut short at
// any byte costs only that write, never a line before it (nor is it taken for damage).
#include "app/SettingsFile.h"
#include "app/StoreFileLines.h"
#include "app/StoreFileText.h"

#include <QHash>
#include <QStringDecoder>

#include <cstdint>
#include <cstdlib>

namespace {

void checkLineFilter(const QByteArray& bytes) {
    const StoreFileLines lines = KeepSoundLines(bytes);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)QString(decoder(lines.sound));
    if (decoder.hasError() || lines.sound.contains('\0')) std::abort();
    const StoreFileLines again = KeepSoundLines(lines.sound);
    if (!again.damaged.empty() || again.unfinishedEnd || again.sound != lines.sound) std::abort();
}

QHash<QString, QString> read(const QByteArray& text) {
    const StoreFileLines lines = KeepSoundLines(text);
    const ParsedText parsed = ParseStoreText(lines.sound);
    if (!DamageOf(lines, parsed).isEmpty()) std::abort();
    QHash<QString, QString> entries;
    for (const auto& [path, value] : parsed.entries) entries.insert(path, value);
    return entries;
}

// Three values from the bytes, as UTF-16 code units of any kind, under sections and keys that
// need escaping as well as plain ones.
void checkWrittenText(const uint8_t* data, size_t size) {
    static const QString kSections[] = {QStringLiteral("Brindlemoor"), QStringLiteral("General"),
                                        QStringLiteral("Grüße & 東京"), QString()};
    static const QString kKeys[] = {QStringLiteral("txtName"), QStringLiteral("txt Name%20"),
                                    QStringLiteral("a.b-c_d")};
    const QString units(reinterpret_cast<const QChar*>(data), qsizetype(size / 2));
    const qsizetype third = units.size() / 3;
    const QString section = kSections[size % 4];
    const auto path = [&](int key) { return section.isEmpty() ? kKeys[key] : section + QLatin1Char('/') + kKeys[key]; };
    StoreEntries entries{
        {path(0), units.left(third)}, {path(1), units.mid(third, third)}, {path(2), units.mid(2 * third)}};
    const QByteArray text = StoreText(entries);
    const QHash<QString, QString> stored = read(text);
    if (stored.size() != 3) std::abort();
    for (const auto& [key, value] : entries)
        if (stored.value(key) != value) std::abort();

    const QString changed = units.mid(third) + units.left(third);
    const QByteArray added = StoreSectionLine(section) + StoreEntryLine(kKeys[0], changed);
    if (read(text + added).value(path(0)) != changed) std::abort();
    // Only a cut that keeps the whole line but its line end reads as the change.
    const qsizetype cut = size ? qsizetype(data[0]) * added.size() / 256 : 0;
    const QString afterCut = read(text + added.left(cut)).value(path(0));
    if (afterCut != entries[0].second && !(cut == added.size() - 1 && afterCut == changed)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkLineFilter(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    checkWrittenText(data, size);
    return 0;
}
