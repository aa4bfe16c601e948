#include "app/SettingsFile.h"

#include "app/OutputTarget.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <atomic>
#include <cerrno>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

QString SettingsFilePath(const QString& appName) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') + appName +
           QStringLiteral(".ini");
}

namespace {

// Each text the INI reader is given gets a modification time of its own: the reader keeps what it
// read of a path, and reads the path again only when its size or time has changed, while a
// descriptor's path comes round again once the descriptor is closed.
std::atomic<time_t> g_textsRead{0};

AppError Unparsed(const char* step) {
    return AppError(QStringLiteral("the store's text could not be handed to its reader (%1: %2)")
                        .arg(QLatin1String(step), SystemErrorText(errno)));
}

// The text as a file in memory, under a path the INI reader can open: reading the store writes
// nothing, whatever the temporary folder allows.
class TextInMemory {
public:
    explicit TextInMemory(const QByteArray& text) : m_descriptor(::memfd_create("store-text", MFD_CLOEXEC)) {
        if (m_descriptor < 0) throw Unparsed("memfd_create");
        for (qsizetype written = 0; written < text.size();) {
            const ssize_t count = ::write(m_descriptor, text.constData() + written, size_t(text.size() - written));
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) throw Unparsed("write");
            written += count;
        }
        const timespec times[2] = {{0, UTIME_OMIT}, {++g_textsRead, 0}};
        struct stat own {
        }, atPath{};
        m_path = QStringLiteral("/proc/self/fd/%1").arg(m_descriptor);
        if (::futimens(m_descriptor, times) != 0 || ::fstat(m_descriptor, &own) != 0) throw Unparsed("futimens");
        // Without /proc the reader would find no file and read an empty store.
        if (::stat(QFile::encodeName(m_path).constData(), &atPath) != 0 || atPath.st_ino != own.st_ino ||
            atPath.st_dev != own.st_dev)
            throw Unparsed("/proc/self/fd");
    }
    ~TextInMemory() {
        if (m_descriptor >= 0) ::close(m_descriptor);
    }
    TextInMemory(const TextInMemory&) = delete;
    TextInMemory& operator=(const TextInMemory&) = delete;

    const QString& path() const { return m_path; }

private:
    int m_descriptor;
    QString m_path;
};

}  // namespace

ParsedText ParseStoreText(const QByteArray& text) {
    ParsedText parsed;
    const TextInMemory file(text);
    QSettings settings(file.path(), QSettings::IniFormat);
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
