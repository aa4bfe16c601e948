#include "app/SettingsStore.h"

#include "app/MessageService.h"
#include "app/OutputTarget.h"
#include "app/SettingsFile.h"
#include "StoreFile.h"
#include "app/StoreFileText.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Entries = StoreEntries;

// Changes are added at the file's end; once what was added outgrows what the file took when last
// written whole (plus this), it is written whole again. So a write costs what it changes, and the
// rewrites, each paid for by the changes before it, at most as much again.
constexpr qint64 kRewriteSlack = 64 * 1024;

int g_deferredSyncScopes = 0;

AppError StoreError(const QString& path, const QString& what) {
    return AppError(QStringLiteral("Cannot write the settings store ") + QDir::toNativeSeparators(path) +
                    QStringLiteral(": ") + what);
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

// The name beside the store for a file moved out of its way: what it was, and when.
QString AsideSuffix(const QString& what) {
    return QLatin1Char('.') + what + QLatin1Char('-') +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
}

QString SectionOf(const QString& path) {
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

bool EndsWithLineEnd(const QByteArray& bytes) {
    return bytes.isEmpty() || bytes.endsWith('\n') || bytes.endsWith('\r');
}

// The header of the section a store's text ends in, as it stands there ("" before any header).
QByteArray LastHeader(const QByteArray& soundText) {
    QByteArray header;
    for (const QByteArray& line : soundText.split('\n'))
        if (line.trimmed().startsWith('[')) header = line.trimmed();
    return header;
}

// One open store: every entry it holds, with the spelling of every name, in memory, and the file
// as this store last left it. The window holds the whole report, and so does this: when the file
// is found deleted or changed under the program, all of it is written again.
class Store {
public:
    explicit Store(const QString& appName) : m_path(SettingsFilePath(appName)) {
        QDir().mkpath(QFileInfo(m_path).absolutePath());
        try {
            load();
        } catch (const AppError& refused) {
            // Nothing that may not be followed, or could not be read, is written; every edit says why.
            m_refusal = QString::fromUtf8(refused.what());
        }
    }

    QString get(const QString& section, const QString& key, const QString& defaultValue) const {
        const auto found = m_index.constFind((section + QLatin1Char('/') + key).toCaseFolded());
        return found != m_index.cend() ? m_entries[*found].second : defaultValue;
    }

    void save(const QString& section, const QString& key, const QString& value) {
        if (!m_refusal.isEmpty()) {
            // The load's write-backs change nothing the user typed; the first real edit reports.
            if (g_deferredSyncScopes > 0) return;
            throw StoreError(m_path, m_refusal);
        }
        set(storedPath(section, key), value);
        if (g_deferredSyncScopes == 0) flush();
    }

    // Puts every change not yet on disk there. Throws AppError; the changes stay to be
    // written with the next.
    void flush() {
        if (m_pending.empty()) return;
        const QString folder = QFileInfo(m_path).absolutePath();
        if (!QFileInfo(folder).isDir()) QDir().mkpath(folder);
        try {
            StoreFile file(m_path);
            if (file.identity() != m_written) return writeAgain(file);
            // Made read-only, or given to another user, since: left as it is.
            if (file.exists())
                if (const QString why = file.whyNotWritable(); !why.isEmpty()) throw AppError(why);
            if (!file.exists() || m_rewriteNext || m_fileBytes > 2 * m_wholeBytes + kRewriteSlack)
                writeWhole(file);
            else
                appendChanges(file);
        } catch (const AppError& failure) {
            throw StoreError(m_path, QString::fromUtf8(failure.what()));
        }
    }

private:
    void load() {
        StoreFile file(m_path);
        if (!file.exists()) return;
        if (!file.isFile()) {
            const QString aside = file.setAside(AsideSuffix(QStringLiteral("corrupt")));
            MsgBox(QStringLiteral("The stored expense report could not be read (it is not a file). It was moved to %1. "
                                  "The form starts empty.")
                       .arg(QDir::toNativeSeparators(aside)));
            return;
        }
        const QByteArray bytes = file.read();
        const StoreFileLines lines = KeepSoundLines(bytes);
        const ParsedText parsed = ParseStoreText(lines.sound);
        const QString whyReadOnly = file.whyNotWritable();
        const QString damage = DamageOf(lines, parsed);
        if (damage.isEmpty()) {
            adopt(parsed.entries);
            m_refusal = whyReadOnly;
            m_written = file.identity();
            m_fileBytes = bytes.size();
            m_wholeBytes = StoreText(Entries(m_entries.begin(), m_entries.end())).size();
            m_lastHeader = LastHeader(lines.sound);
            // A change added after an unfinished line would join it.
            m_rewriteNext = !EndsWithLineEnd(bytes);
            return;
        }
        adopt(InOwnSection(parsed.entries));
        if (!whyReadOnly.isEmpty()) {
            MsgBox(QStringLiteral("The stored expense report is damaged (%1) and cannot be written, so it was left as "
                                  "it is. Every entry that could be read is shown.")
                       .arg(damage));
            m_refusal = whyReadOnly;
            return;
        }
        const QString aside = file.setAside(AsideSuffix(QStringLiteral("corrupt")));
        writeWhole(file);
        MsgBox(QStringLiteral("The stored expense report is damaged (%1). Every entry that could be read was kept; "
                              "the damaged file was moved to %2. Fields that could not be read start empty.")
                   .arg(damage, QDir::toNativeSeparators(aside)));
    }

    void adopt(const Entries& entries) {
        for (const auto& [path, value] : entries) set(path, value);
        m_pending.clear();
    }

    // The entry's path as the store spells it: a name it holds keeps its first spelling.
    QString storedPath(const QString& section, const QString& key) const {
        const QString path = section + QLatin1Char('/') + key;
        if (const auto found = m_index.constFind(path.toCaseFolded()); found != m_index.cend())
            return m_entries[*found].first;
        return m_sections.value(section.toCaseFolded(), section) + QLatin1Char('/') + key;
    }

    void set(const QString& path, const QString& value) {
        const QString folded = path.toCaseFolded();
        size_t index = m_entries.size();
        if (const auto found = m_index.constFind(folded); found != m_index.cend()) {
            // Of two spellings of a name in a file, the later one read wins, spelling and value, so
            // a change added under that spelling wins again when the file is read.
            index = *found;
            m_entries[index] = {path, value};
        } else {
            m_index.insert(folded, index);
            m_entries.emplace_back(path, value);
            const QString section = SectionOf(path);
            if (!m_sections.contains(section.toCaseFolded())) m_sections.insert(section.toCaseFolded(), section);
        }
        if (std::find(m_pending.begin(), m_pending.end(), index) == m_pending.end()) m_pending.push_back(index);
    }

    // Each change as one line at the file's end, under its section's header where the file does
    // not end in that section: one write and one sync, whatever else the store holds.
    void appendChanges(StoreFile& file) {
        QByteArray lines;
        QByteArray header = m_lastHeader;
        for (const size_t index : m_pending) {
            const auto& [path, value] = m_entries[index];
            const QString section = SectionOf(path);
            const QByteArray sectionLine = StoreSectionLine(section);
            // The reader tells sections apart by letter case, so only the very header will do.
            const bool inSection = header.isEmpty() ? section.isEmpty() : header == sectionLine.trimmed();
            if (!inSection) {
                lines += sectionLine;
                header = sectionLine.trimmed();
            }
            lines += StoreEntryLine(section.isEmpty() ? path : path.mid(section.size() + 1), value);
        }
        try {
            file.append(lines);
        } catch (const AppError&) {
            // The file stays this store's own; where part of a line could not be taken off again, the
            // next write starts afresh.
            m_written = file.identity();
            m_rewriteNext = !m_written || m_written->size != m_fileBytes;
            throw;
        }
        m_written = file.identity();
        m_fileBytes += lines.size();
        m_lastHeader = header;
        m_pending.clear();
    }

    void writeWhole(StoreFile& file) {
        const QByteArray text = StoreText(Entries(m_entries.begin(), m_entries.end()));
        file.replaceWith(text);
        m_written = file.identity();
        m_fileBytes = m_wholeBytes = text.size();
        m_lastHeader = LastHeader(text);
        m_rewriteNext = false;
        m_pending.clear();
    }

    // The file is not the one this store last wrote: deleted, replaced or changed by something
    // else. Whatever is there is moved aside, never overwritten, and everything the window holds
    // is written, so the next start shows what the user saw.
    void writeAgain(StoreFile& file) {
        QString aside;
        QString found = QStringLiteral("deleted");
        if (file.exists()) {
            QString damage = QStringLiteral("something that is not a file");
            if (file.isFile()) {
                try {
                    const StoreFileLines lines = KeepSoundLines(file.read());
                    const QString why = DamageOf(lines, ParseStoreText(lines.sound));
                    damage = why.isEmpty() ? QString() : QStringLiteral("a damaged file (%1)").arg(why);
                } catch (const AppError& unreadable) {
                    damage =
                        QStringLiteral("a file that cannot be read (%1)").arg(QString::fromUtf8(unreadable.what()));
                }
            }
            aside =
                file.setAside(AsideSuffix(damage.isEmpty() ? QStringLiteral("replaced") : QStringLiteral("corrupt")));
            found = damage.isEmpty() ? QStringLiteral("replaced or changed by another program")
                                     : QStringLiteral("replaced by ") + damage;
        }
        writeWhole(file);
        QString text = QStringLiteral(
                           "The stored expense report was %1 while Brindlemoor was running. Everything this "
                           "window holds was stored again in %2.")
                           .arg(found, QDir::toNativeSeparators(m_path));
        if (!aside.isEmpty())
            text += QStringLiteral(" The file found there was moved to %1.").arg(QDir::toNativeSeparators(aside));
        MsgBox(text);
    }

    QString m_path;
    std::vector<std::pair<QString, QString>> m_entries;  // "section/key" as stored, value
    QHash<QString, size_t> m_index;                      // folded "section/key" -> entry
    QHash<QString, QString> m_sections;                  // folded section -> stored section
    std::vector<size_t> m_pending;                       // entries changed since the file last took them
    QString m_refusal;                                   // why nothing is written, or empty
    std::optional<FileIdentity> m_written;               // the file as this store last left it
    qint64 m_fileBytes = 0;                              // what the file holds
    qint64 m_wholeBytes = 0;                             // what it held when last written whole
    QByteArray m_lastHeader;                             // the header of the section the file ends in
    bool m_rewriteNext = false;
};

using StoreMap = QHash<QString, std::shared_ptr<Store>>;

StoreMap& OpenStores() {
    static StoreMap stores;
    return stores;
}

Store& OpenStore(const QString& appName) {
    StoreMap& stores = OpenStores();
    const QString id = appName.toCaseFolded();
    if (const auto found = stores.constFind(id); found != stores.cend()) return **found;
    auto store = std::make_shared<Store>(appName);
    stores.insert(id, store);
    return *store;
}

}  // namespace

void ReloadSettingsLocation() { OpenStores().clear(); }

QString GetSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue) {
    return OpenStore(appName).get(section, key, defaultValue);
}

void SaveSetting(const QString& appName, const QString& section, const QString& key, const QString& value) {
    OpenStore(appName).save(section, key, value);
}

DeferredSettingsSync::DeferredSettingsSync() { ++g_deferredSyncScopes; }

DeferredSettingsSync::~DeferredSettingsSync() {
    if (--g_deferredSyncScopes > 0) return;
    // A failure shows at the next write, which tries again and reports it.
    for (const auto& store : std::as_const(OpenStores())) {
        try {
            store->flush();
        } catch (const AppError&) {
        }
    }
}
