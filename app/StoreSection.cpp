#include "app/StoreSection.h"

#include "app/SettingsFile.h"
#include "StoreFile.h"

#include <QDir>
#include <QFileInfo>

std::optional<QHash<QString, QString>> ReadSettingsSection(const QString& appName, const QString& section) {
    const QString path = SettingsFilePath(appName);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return std::nullopt;
    const auto unreadable = [&path](const QString& why) {
        return AppError(QStringLiteral("The settings store ") + QDir::toNativeSeparators(path) +
                        QStringLiteral(" cannot be read: ") + why);
    };
    QByteArray bytes;
    try {
        StoreFile file(path);
        if (!file.exists()) return std::nullopt;
        if (!file.isFile()) throw AppError(QStringLiteral("it is not a file"));
        bytes = file.read();
    } catch (const AppError& refused) {
        throw unreadable(QString::fromUtf8(refused.what()));
    }
    // A text the reader cannot be handed says so as it stands: it is no damage of the file.
    const StoreFileLines lines = KeepSoundLines(bytes);
    const ParsedText parsed = ParseStoreText(lines.sound);
    if (const QString damage = DamageOf(lines, parsed); !damage.isEmpty()) throw unreadable(damage);
    const StoreEntries& entries = parsed.entries;
    const QString folded = section.toCaseFolded();
    QHash<QString, QString> found;
    for (const auto& [name, value] : entries) {
        if (name.section(QLatin1Char('/'), 0, 0).toCaseFolded() != folded) continue;
        found.insert(name.section(QLatin1Char('/'), 1).toCaseFolded(), value);
    }
    return found;
}
