#include "app/SettingsStore.h"

#include "app/MessageService.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

// An open store with the spelling of every name it holds, found by the name's case-folded form.
struct Store {
    std::unique_ptr<QSettings> settings;
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
};

using StoreMap = QHash<QString, std::shared_ptr<Store>>;

int g_deferredSyncScopes = 0;

StoreMap& OpenStores() {
    static StoreMap stores;
    return stores;
}

std::runtime_error StoreError(const QString& path, const QString& what) {
    return std::runtime_error(("Cannot write the settings store " + QDir::toNativeSeparators(path) + ": " + what)
                                  .toStdString());
}

bool IsValidText(const QByteArray& bytes) {
    if (bytes.contains('\0')) return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    (void)QString(decoder(bytes));
    return !decoder.hasError();
}

// Why the file at path cannot serve as the store, or an empty text when it can.
QString DamageOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return {};
    if (!info.isFile()) return QStringLiteral("it is not a file");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    if (!IsValidText(file.readAll())) return QStringLiteral("it is not a text file");
    if (QSettings(path, QSettings::IniFormat).status() != QSettings::NoError)
        return QStringLiteral("its contents are damaged");
    return {};
}

// Entries of a damaged file that still read as plain text.
std::vector<std::pair<QString, QString>> ReadableEntries(const QString& path) {
    std::vector<std::pair<QString, QString>> entries;
    if (!QFileInfo(path).isFile()) return entries;
    QSettings damaged(path, QSettings::IniFormat);
    for (const QString& key : damaged.allKeys()) {
        const QVariant value = damaged.value(key);
        if (value.typeId() != QMetaType::QString) continue;
        const QString text = value.toString();
        if (!key.contains(QChar::ReplacementCharacter) && !text.contains(QChar::ReplacementCharacter))
            entries.emplace_back(key, text);
    }
    return entries;
}

// A damaged store must not stop the start: set it aside, keep what reads, tell the user once.
void MendDamagedFile(const QString& path) {
    const QString damage = DamageOf(path);
    if (damage.isEmpty()) return;
    const auto salvaged = ReadableEntries(path);
    const QString aside =
        path + QStringLiteral(".corrupt-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    if (!QFile::rename(path, aside)) throw StoreError(path, QStringLiteral("it is damaged and cannot be set aside"));
    QSettings fresh(path, QSettings::IniFormat);
    for (const auto& [key, value] : salvaged) fresh.setValue(key, value);
    fresh.sync();
    MsgBox(QStringLiteral("The stored expense report could not be read (%1). A copy was kept as %2. "
                          "Fields that could not be read start empty.")
               .arg(damage, QDir::toNativeSeparators(aside)));
}

std::shared_ptr<Store> OpenStore(const QString& appName) {
    StoreMap& stores = OpenStores();
    const QString id = appName.toCaseFolded();
    if (auto found = stores.find(id); found != stores.end()) return found.value();
    const QString path = SettingsFilePath(appName);
    QDir().mkpath(QFileInfo(path).absolutePath());
    MendDamagedFile(path);
    auto store = std::make_shared<Store>();
    store->settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    for (const QString& key : store->settings->allKeys()) store->remember(key);
    stores.insert(id, store);
    return store;
}

}  // namespace

QString SettingsFilePath(const QString& appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + appName +
           QStringLiteral(".ini");
}

void ReloadSettingsLocation() {
    OpenStores().clear();
}

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue) {
    const auto store = OpenStore(appName);
    const QVariant value = store->settings->value(store->storedKey(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    const auto store = OpenStore(appName);
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
    for (const auto& store : std::as_const(OpenStores())) store->settings->sync();
}
