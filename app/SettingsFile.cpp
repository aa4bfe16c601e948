#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <stdexcept>

QString SettingsFilePath(const QString& appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + appName +
           QStringLiteral(".ini");
}

// Reads store text with the INI reader through a private copy: QSettings shares what it read of a
// path among its objects, edits that failed to reach the disk included, and would report their
// failure as the file's.
ParsedText ParseStoreText(const QByteArray& text) {
    ParsedText parsed;
    QTemporaryFile copy;
    if (!copy.open() || copy.write(text) != text.size() || !copy.flush()) return {{}, true};
    QSettings settings(copy.fileName(), QSettings::IniFormat);
    parsed.damaged = settings.status() != QSettings::NoError;
    for (const QString& key : settings.allKeys()) {
        const QVariant value = settings.value(key);
        if (value.typeId() == QMetaType::QString) parsed.entries.emplace_back(key, value.toString());
    }
    return parsed;
}

// Why the file does not read as a whole, or an empty text when it does.
QString DamageOf(const StoreFileLines& lines, const ParsedText& parsed) {
    if (lines.damaged.size() == 1) return QStringLiteral("line %1 is damaged").arg(lines.damaged.front());
    if (!lines.damaged.empty())
        return QStringLiteral("%1 lines are damaged, the first is line %2")
            .arg(lines.damaged.size())
            .arg(lines.damaged.front());
    if (parsed.damaged) return QStringLiteral("its contents are damaged");
    return {};
}

std::optional<QHash<QString, QString>> ReadSettingsSection(const QString& appName, const QString& section) {
    const QString path = SettingsFilePath(appName);
    if (!QFileInfo::exists(path)) return std::nullopt;
    const auto unreadable = [&path](const QString& why) {
        return std::runtime_error(
            ("The settings store " + QDir::toNativeSeparators(path) + " cannot be read: " + why).toStdString());
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw unreadable(file.errorString());
    const StoreFileLines lines = KeepSoundLines(file.readAll());
    const ParsedText parsed = ParseStoreText(lines.sound);
    if (const QString damage = DamageOf(lines, parsed); !damage.isEmpty()) throw unreadable(damage);
    const QString folded = section.toCaseFolded();
    QHash<QString, QString> entries;
    for (const auto& [name, value] : parsed.entries) {
        if (name.section(QLatin1Char('/'), 0, 0).toCaseFolded() != folded) continue;
        entries.insert(name.section(QLatin1Char('/'), 1).toCaseFolded(), value);
    }
    return entries;
}
