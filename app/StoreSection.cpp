#include "app/StoreSection.h"

#include "app/SettingsFile.h"
#include "app/StoreFile.h"

#include <QDir>
#include <QFileInfo>

#include <stdexcept>

std::optional<QHash<QString, QString>> ReadSettingsSection(const QString& appName, const QString& section) {
    const QString path = SettingsFilePath(appName);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return std::nullopt;
    const auto unreadable = [&path](const QString& why) {
        return std::runtime_error(
            ("The settings store " + QDir::toNativeSeparators(path) + " cannot be read: " + why).toStdString());
    };
    StoreEntries entries;
    try {
        StoreFile file(path);
        if (!file.exists()) return std::nullopt;
        if (!file.isFile()) throw unreadable(QStringLiteral("it is not a file"));
        const StoreFileLines lines = KeepSoundLines(file.read());
        const ParsedText parsed = ParseStoreText(lines.sound);
        if (const QString damage = DamageOf(lines, parsed); !damage.isEmpty()) throw unreadable(damage);
        entries = parsed.entries;
    } catch (const OutputError& refused) {
        throw unreadable(QString::fromUtf8(refused.what()));
    }
    const QString folded = section.toCaseFolded();
    QHash<QString, QString> found;
    for (const auto& [name, value] : entries) {
        if (name.section(QLatin1Char('/'), 0, 0).toCaseFolded() != folded) continue;
        found.insert(name.section(QLatin1Char('/'), 1).toCaseFolded(), value);
    }
    return found;
}
