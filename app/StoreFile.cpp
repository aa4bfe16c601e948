#include "StoreFile.h"

#include "app/OutputSet.h"
#include "app/ReplacementFile.h"

#include <QDir>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

namespace {

[[noreturn]] void Fail(const QString& path, const QString& what, int code) {
    throw AppError(QStringLiteral("%1 %2: %3").arg(QDir::toNativeSeparators(path), what, SystemErrorText(code)));
}

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    ~Descriptor() {
        if (m_descriptor >= 0) ::close(m_descriptor);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_descriptor; }

private:
    int m_descriptor;
};

bool WriteAll(int descriptor, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.constData() + written, size_t(bytes.size() - written));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            if (count == 0) errno = EIO;
            return false;
        }
        written += count;
    }
    return true;
}

}  // namespace

FileIdentity FileIdentity::of(const struct stat& status) {
    return {status.st_dev, status.st_ino, status.st_size, status.st_mtim};
}

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
}

StoreFile::StoreFile(const QString& path) : m_path(path), m_target(ResolveFileAtTarget(path)) {}

std::optional<FileIdentity> StoreFile::identity() const {
    return exists() ? std::optional<FileIdentity>(FileIdentity::of(*m_target.existing)) : std::nullopt;
}

void StoreFile::refresh() {
    struct stat status {};
    if (::fstatat(m_target.folder.descriptor(), m_target.name.constData(), &status, AT_SYMLINK_NOFOLLOW) == 0)
        m_target.existing = status;
    else
        m_target.existing.reset();
}

QString StoreFile::whyNotWritable() const {
    const auto readOnly = [](const QString& why) {
        return QStringLiteral("the file can be read but not written (%1)").arg(why);
    };
    if (m_target.existing->st_uid != ::geteuid()) return readOnly(QStringLiteral("it belongs to another user"));
    const int folder = m_target.folder.descriptor();
    if (::faccessat(folder, m_target.name.constData(), W_OK, AT_EACCESS) != 0 ||
        ::faccessat(folder, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return readOnly(SystemErrorText(errno));
    return {};
}

QByteArray StoreFile::read() {
    const Descriptor file(::openat(m_target.folder.descriptor(), m_target.name.constData(),
                                   O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0)
        throw AppError(QStringLiteral("the file cannot be read (%1)").arg(SystemErrorText(errno)));
    // What was opened is what was found, not something put in its place meanwhile.
    if (!S_ISREG(status.st_mode) || status.st_ino != m_target.existing->st_ino ||
        status.st_dev != m_target.existing->st_dev)
        throw AppError(QStringLiteral("the file was replaced while it was read"));
    QByteArray bytes;
    bytes.reserve(qsizetype(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) throw AppError(QStringLiteral("the file cannot be read (%1)").arg(SystemErrorText(errno)));
        if (count == 0) break;
        bytes.append(buffer, count);
    }
    m_target.existing = status;
    return bytes;
}

void StoreFile::append(const QByteArray& bytes) {
    const Descriptor file(::openat(m_target.folder.descriptor(), m_target.name.constData(),
                                   O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (file.get() < 0 || ::fstat(file.get(), &status) != 0)
        Fail(m_path, QStringLiteral("could not be written"), errno);
    if (status.st_ino != m_target.existing->st_ino || status.st_dev != m_target.existing->st_dev)
        throw AppError(QStringLiteral("%1 could not be written: another file was put in its place meanwhile")
                           .arg(QDir::toNativeSeparators(m_path)));
    if (!WriteAll(file.get(), bytes) || ::fdatasync(file.get()) != 0) {
        const int code = errno;
        // Whatever reached the file is taken off again, so what is stored is what was said to be.
        [[maybe_unused]] const int cut = ::ftruncate(file.get(), status.st_size);
        refresh();
        Fail(m_path, QStringLiteral("could not be written"), code);
    }
    if (::fstat(file.get(), &status) == 0)
        m_target.existing = status;
    else
        refresh();
}

void StoreFile::replaceWith(const QByteArray& bytes) {
    OutputTarget target;
    target.path = m_target.path;
    target.folder = FolderHandle(::fcntl(m_target.folder.descriptor(), F_DUPFD_CLOEXEC, 0));
    target.folderStatus = m_target.folderStatus;
    target.name = m_target.name;
    target.existing = m_target.existing;
    if (target.folder.descriptor() < 0) Fail(m_path, QStringLiteral("could not be written"), errno);
    ReplacementFile file(std::move(target), ReplacementFile::Sync::Always);
    WriteToOutput(file.device(), bytes, m_target.path);
    file.complete();
    file.putInPlace();
    // The new name is on disk too, not only the file under it. Best effort: the file is in place.
    const Descriptor folder(::openat(m_target.folder.descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0) ::fsync(folder.get());
    refresh();
}

QString StoreFile::setAside(const QString& suffix) {
    const QByteArray aside = m_target.name + QFile::encodeName(suffix);
    const int folder = m_target.folder.descriptor();
    if (::renameat2(folder, m_target.name.constData(), folder, aside.constData(), RENAME_NOREPLACE) != 0)
        Fail(m_path, QStringLiteral("could not be moved aside"), errno);
    m_target.existing.reset();
    return m_target.path + suffix;
}
