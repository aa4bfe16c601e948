#include "app/SettingsStore.h"

#include "app/MessageService.h"
#include "app/SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include <unistd.h>

namespace {

using Entries = StoreEntries;

// An open store with the spelling of every name it holds, found by the name's case-folded form.
// A file that can be read but not written is never handed to QSettings: its values are held here
// and every edit is refused, so the file stays exactly as it is.
struct Store {
    QString path;
    std::unique_ptr<QSettings> settings;     // null for a read-only store
    QHash<QString, QString> readOnlyValues;  // folded "section/key" -> value
    QString whyReadOnly;
    QHash<QString, QString> sections;  // folded section -> stored section
    QHash<QString, QString> keys;      // folded "section/key" -> stored "section/key"

    QString storedKey(const QString& section, const QString& key) const {
        const QString path = section + QLatin1Char('/') + key;
        if (const auto found = keys.constFind(path.toCaseFolded()); found != keys.cend()) return *found;
        return sections.value(section.toCaseFolded(), section) + QLatin1Char('/') + key;
    }
    void remember(const QString& path) {
        keys.insert(path.toCaseFolded(), path);
        const QString section = path.section(QLatin1Char('/'), 0, 0);
        sections.insert(section.toCaseFolded(), section);
    }
    void openWritable() {
        settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
        for (const QString& key : settings->allKeys()) remember(key);
    }
    void openReadOnly(const QString& why, const Entries& entries) {
        whyReadOnly = why;
        for (const auto& [key, value] : entries) readOnlyValues.insert(key.toCaseFolded(), value);
    }
};

using StoreMap = QHash<QString, std::shared_ptr<Store>>;

int g_deferredSyncScopes = 0;

StoreMap& OpenStores() {
    static StoreMap stores;
    return stores;
}

std::runtime_error StoreError(const QString& path, const QString& what) {
    return std::runtime_error(
        ("Cannot write the settings store " + QDir::toNativeSeparators(path) + ": " + what).toStdString());
}

bool Accessible(const QString& path, int mode) { return ::access(QFile::encodeName(path).constData(), mode) == 0; }

// Why this user cannot replace the file at path, or an empty text when they can. A write puts a
// new file in the folder and renames it over the old one, so the folder must take files as well.
QString WhyNotWritable(const QString& path) {
    if (!Accessible(path, W_OK) || !Accessible(QFileInfo(path).absolutePath(), W_OK | X_OK))
        return QStringLiteral("the file can be read but not written (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    return {};
}

// The entries of a damaged file moved into the program's one section, whatever section held them:
// the keys under a header that was left out join the section above it. Of entries with the same
// name, the one in that section wins, then one outside any section, then the first other.
Entries InOwnSection(const Entries& readable) {
    const QString ownSection = kSettingsSection.toCaseFolded();
    struct Found {
        QString name;
        QString value;
        int rank;
    };
    QHash<QString, Found> byName;  // folded key -> the best entry of that name
    for (const auto& [path, value] : readable) {
        const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
        const QString name = path.mid(slash + 1);
        const int rank = slash < 0 ? 1 : path.left(slash).toCaseFolded() == ownSection ? 2 : 0;
        const auto found = byName.constFind(name.toCaseFolded());
        if (found == byName.cend() || found->rank < rank) byName.insert(name.toCaseFolded(), {name, value, rank});
    }
    Entries entries;
    for (const Found& found : std::as_const(byName))
        entries.emplace_back(kSettingsSection + QLatin1Char('/') + found.name, found.value);
    return entries;
}

QString SetAsideName(const QString& path) {
    return path + QStringLiteral(".corrupt-") +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
}

// Moves what cannot serve as the store out of the way and starts a new file with what could be read.
QString SetAside(const QString& path, const Entries& salvaged) {
    const QString aside = SetAsideName(path);
    if (!QFile::rename(path, aside)) throw StoreError(path, QStringLiteral("it is damaged and cannot be set aside"));
    QSettings fresh(path, QSettings::IniFormat);
    for (const auto& [key, value] : salvaged) fresh.setValue(key, value);
    fresh.sync();
    return aside;
}

// Only a file that cannot be parsed is set aside; one this user cannot write is never touched.
void Load(Store& store) {
    const QFileInfo info(store.path);
    if (!info.exists() && !info.isSymLink()) return store.openWritable();
    if (!info.isFile()) {
        const QString aside = SetAside(store.path, {});
        MsgBox(QStringLiteral("The stored expense report could not be read (it is not a file). It was moved to %1. "
                              "The form starts empty.")
                   .arg(QDir::toNativeSeparators(aside)));
        return store.openWritable();
    }
    QFile file(store.path);
    if (!file.open(QIODevice::ReadOnly))
        return store.openReadOnly(QStringLiteral("the file cannot be read (%1)").arg(file.errorString()), {});
    const StoreFileLines lines = KeepSoundLines(file.readAll());
    const ParsedText parsed = ParseStoreText(lines.sound);
    const QString whyReadOnly = WhyNotWritable(store.path);
    const QString damage = DamageOf(lines, parsed);
    if (damage.isEmpty())
        return whyReadOnly.isEmpty() ? store.openWritable() : store.openReadOnly(whyReadOnly, parsed.entries);
    const Entries salvaged = InOwnSection(parsed.entries);
    if (!whyReadOnly.isEmpty()) {
        MsgBox(QStringLiteral("The stored expense report is damaged (%1) and cannot be written, so it was left as "
                              "it is. Every entry that could be read is shown.")
                   .arg(damage));
        return store.openReadOnly(whyReadOnly, salvaged);
    }
    const QString aside = SetAside(store.path, salvaged);
    MsgBox(QStringLiteral("The stored expense report is damaged (%1). Every entry that could be read was kept; "
                          "the damaged file was moved to %2. Fields that could not be read start empty.")
               .arg(damage, QDir::toNativeSeparators(aside)));
    store.openWritable();
}

std::shared_ptr<Store> OpenStore(const QString& appName) {
    StoreMap& stores = OpenStores();
    const QString id = appName.toCaseFolded();
    if (auto found = stores.find(id); found != stores.end()) return found.value();
    auto store = std::make_shared<Store>();
    store->path = SettingsFilePath(appName);
    QDir().mkpath(QFileInfo(store->path).absolutePath());
    Load(*store);
    stores.insert(id, store);
    return store;
}

}  // namespace

void ReloadSettingsLocation() { OpenStores().clear(); }

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue) {
    const auto store = OpenStore(appName);
    if (!store->settings) {
        const auto found = store->readOnlyValues.constFind((section + QLatin1Char('/') + key).toCaseFolded());
        return found != store->readOnlyValues.cend() ? *found : defaultValue;
    }
    const QVariant value = store->settings->value(store->storedKey(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    const auto store = OpenStore(appName);
    if (!store->settings) {
        // The load's write-backs change nothing the user typed; the first real edit reports.
        if (g_deferredSyncScopes > 0) return;
        throw StoreError(store->path, store->whyReadOnly);
    }
    const QString path = store->storedKey(section, key);
    QSettings& settings = *store->settings;
    settings.setValue(path, value);
    if (g_deferredSyncScopes > 0) {
        store->remember(path);
        return;
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        // A fresh object next time, so one failure does not stick to every later write.
        OpenStores().remove(appName.toCaseFolded());
        throw StoreError(settings.fileName(), settings.status() == QSettings::AccessError
                                                  ? QStringLiteral("the file cannot be written")
                                                  : QStringLiteral("the file is damaged"));
    }
    store->remember(path);
}

DeferredSettingsSync::DeferredSettingsSync() { ++g_deferredSyncScopes; }

DeferredSettingsSync::~DeferredSettingsSync() {
    if (--g_deferredSyncScopes > 0) return;
    // A failure shows at the next write, which syncs and reports it.
    for (const auto& store : std::as_const(OpenStores()))
        if (store->settings) store->settings->sync();
}
