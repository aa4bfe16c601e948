#include "app/ReplacementFile.h"

#include <QDir>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {

constexpr int kRandomLetters = 6;
constexpr int kAttempts = 100;

// "." + as much of name as fits + "." + random letters, within the folder's name limit. The name
// is cut before a character, never inside one.
QByteArray temporaryName(const QByteArray& name, long nameMax) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray kept = name.left(qsizetype(nameMax) - 2 - kRandomLetters);
    while (!kept.isEmpty() && kept.size() < name.size() && (uchar(name.at(kept.size())) & 0xC0) == 0x80) kept.chop(1);
    QByteArray result = '.' + kept + '.';
    for (int i = 0; i < kRandomLetters; ++i)
        result += kLetters[QRandomGenerator::global()->bounded(int(sizeof(kLetters) - 1))];
    return result;
}

long nameLimit(int folder) {
    const long limit = ::fpathconf(folder, _PC_NAME_MAX);
    return limit > 0 ? limit : NAME_MAX;
}

}  // namespace

// Writes straight to the temporary file's descriptor and keeps the system's reason for a failure.
class ReplacementFile::Device : public QIODevice {
public:
    explicit Device(int descriptor) : m_descriptor(descriptor) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    ~Device() override { closeDescriptor(); }

    bool isSequential() const override { return true; }
    int descriptor() const { return m_descriptor; }
    int failure() const { return m_failure; }
    void fail(int code) {
        if (m_failure == 0) m_failure = code;
        setErrorString(SystemErrorText(code));
    }
    bool closeDescriptor() {
        const int descriptor = std::exchange(m_descriptor, -1);
        return descriptor < 0 || ::close(descriptor) == 0;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        qint64 written = 0;
        while (written < size) {
            const ssize_t count = ::write(m_descriptor, data + written, size_t(size - written));
            if (count < 0 && errno == EINTR) continue;
            if (count <= 0) {
                fail(count < 0 ? errno : EIO);
                return -1;
            }
            written += count;
        }
        return written;
    }

private:
    int m_descriptor;
    int m_failure = 0;
};

ReplacementFile::ReplacementFile(OutputTarget target, Sync sync) : m_target(std::move(target)), m_sync(sync) {
    const int folder = m_target.folder.descriptor();
    const long limit = nameLimit(folder);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QByteArray name = temporaryName(m_target.name, limit);
        const int descriptor =
            ::openat(folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            m_temporaryName = name;
            m_device = std::make_unique<Device>(descriptor);
            return;
        }
        if (errno != EEXIST) break;
    }
    throw AppError(QStringLiteral("%1 could not be written: %2")
                       .arg(QDir::toNativeSeparators(m_target.path), SystemErrorText(errno)));
}

ReplacementFile::~ReplacementFile() {
    const int folder = m_target.folder.descriptor();
    m_device.reset();
    if (!m_placed && !m_temporaryName.isEmpty()) ::unlinkat(folder, m_temporaryName.constData(), 0);
    if (!m_secondName.isEmpty()) ::unlinkat(folder, m_secondName.constData(), 0);
}

QIODevice& ReplacementFile::device() { return *m_device; }

void ReplacementFile::complete() {
    Device& device = *m_device;
    const int descriptor = device.descriptor();
    if (device.failure() == 0 && replaces()) {
        const struct stat& existing = *m_target.existing;
        if (S_ISREG(existing.st_mode) && existing.st_uid == ::geteuid()) {
            // Best effort: a group the user no longer belongs to stays the folder's.
            [[maybe_unused]] const int grouped = ::fchown(descriptor, uid_t(-1), existing.st_gid);
            if (::fchmod(descriptor, existing.st_mode & 0777) != 0) device.fail(errno);
        }
    }
    if (device.failure() == 0 && (replaces() || m_sync == Sync::Always) && ::fsync(descriptor) != 0) device.fail(errno);
    if (!device.closeDescriptor()) device.fail(errno);
    if (device.failure() != 0)
        throw AppError(QStringLiteral("%1 could not be written: %2")
                           .arg(QDir::toNativeSeparators(m_target.path), SystemErrorText(device.failure())));
}

QString ReplacementFile::keepSecondName() {
    const int folder = m_target.folder.descriptor();
    const long limit = nameLimit(folder);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const QByteArray name = temporaryName(m_target.name, limit);
        if (::linkat(folder, m_target.name.constData(), folder, name.constData(), 0) == 0) {
            m_secondName = name;
            return {};
        }
        if (errno != EEXIST) break;
    }
    return SystemErrorText(errno);
}

void ReplacementFile::putInPlace() {
    const int folder = m_target.folder.descriptor();
    if (::renameat(folder, m_temporaryName.constData(), folder, m_target.name.constData()) != 0)
        throw AppError(QStringLiteral("%1 could not be put in place: %2")
                           .arg(QDir::toNativeSeparators(m_target.path), SystemErrorText(errno)));
    m_placed = true;
}

void ReplacementFile::takeBack() noexcept {
    if (!m_placed) return;
    const int folder = m_target.folder.descriptor();
    if (!m_secondName.isEmpty()) {
        if (::renameat(folder, m_secondName.constData(), folder, m_target.name.constData()) == 0) m_secondName.clear();
    } else if (!replaces()) {
        ::unlinkat(folder, m_target.name.constData(), 0);
    }
    m_placed = false;
    m_temporaryName.clear();
}
