#include "app/OutputTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// The kernel gives up after 40 links in one lookup; so do we.
constexpr int kMaxLinks = 40;

[[noreturn]] void refuse(const QString& message) { throw AppError(message); }

QString nativeName(const QString& path) { return QDir::toNativeSeparators(path); }

QString shown(const QStringList& parts) { return QLatin1Char('/') + parts.join(QLatin1Char('/')); }

QString joined(const QStringList& parts, const QString& name) {
    return parts.isEmpty() ? QLatin1Char('/') + name : shown(parts) + QLatin1Char('/') + name;
}

// Root can write anything anyway; a link of the user's own is the user's choice.
bool trustedOwner(uid_t owner) { return owner == ::geteuid() || owner == 0; }

bool othersCanWrite(const struct stat& folder) {
    return !trustedOwner(folder.st_uid) || (folder.st_mode & (S_IWGRP | S_IWOTH));
}

class Walk {
public:
    enum class Existing { Judged, LeftToCaller };

    explicit Walk(const QString& path, Existing existing = Existing::Judged) : m_given(path), m_existing(existing) {
        m_pending = QFileInfo(path).absoluteFilePath().split(QLatin1Char('/'), Qt::SkipEmptyParts);
        startAtRoot();
    }

    OutputTarget resolve(LinkAtTarget atTarget) {
        int links = 0;
        while (!m_pending.isEmpty()) {
            const QString part = m_pending.takeFirst();
            const bool last = m_pending.isEmpty();
            if (part == QLatin1String(".")) {
                if (last) refuse(QStringLiteral("%1 is a folder").arg(nativeName(m_given)));
                continue;
            }
            if (part == QLatin1String("..")) {
                enter("..");
                if (!m_shown.isEmpty()) m_shown.removeLast();
                if (last) refuse(QStringLiteral("%1 is a folder").arg(nativeName(m_given)));
                continue;
            }
            const QByteArray name = QFile::encodeName(part);
            struct stat status {};
            if (::fstatat(m_folder.descriptor(), name.constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
                if (errno == ENOENT && last) return target(name, std::nullopt);
                couldNotWrite(errno);
            }
            if (S_ISLNK(status.st_mode) && !(last && atTarget == LinkAtTarget::Replace)) {
                if (++links > kMaxLinks)
                    refuse(QStringLiteral("%1 leads through too many links").arg(nativeName(m_given)));
                follow(part, name);
                continue;
            }
            if (last) return target(name, status);
            if (!S_ISDIR(status.st_mode)) couldNotWrite(ENOTDIR);
            enter(name.constData());
            m_shown << part;
        }
        refuse(QStringLiteral("%1 is a folder").arg(nativeName(m_given)));
    }

private:
    [[noreturn]] void couldNotWrite(int code) const {
        refuse(QStringLiteral("%1 could not be written: %2").arg(nativeName(m_given), SystemErrorText(code)));
    }

    void adopt(int descriptor) {
        if (descriptor < 0) couldNotWrite(errno);
        m_folder = FolderHandle(descriptor);
        if (::fstat(descriptor, &m_folderStatus) != 0) couldNotWrite(errno);
    }
    void startAtRoot() {
        adopt(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
        m_shown.clear();
    }
    void enter(const char* name) {
        adopt(::openat(m_folder.descriptor(), name, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }

    // The link is read through a handle of its own, so the one checked is the one read.
    void follow(const QString& part, const QByteArray& name) {
        const FolderHandle link(::openat(m_folder.descriptor(), name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat status {};
        if (link.descriptor() < 0 || ::fstat(link.descriptor(), &status) != 0) couldNotWrite(errno);
        if (!trustedOwner(status.st_uid) && othersCanWrite(m_folderStatus))
            refuse(QStringLiteral("%1 is a link that belongs to another user in %2, a folder other users can "
                                  "write to; it is not followed")
                       .arg(nativeName(joined(m_shown, part)), nativeName(shown(m_shown))));
        QByteArray destination(PATH_MAX, '\0');
        const ssize_t length = ::readlinkat(link.descriptor(), "", destination.data(), size_t(destination.size()));
        if (length < 0) couldNotWrite(errno);
        destination.truncate(length);
        const QString leadsTo = QFile::decodeName(destination);
        if (leadsTo.startsWith(QLatin1Char('/'))) startAtRoot();
        m_pending = leadsTo.split(QLatin1Char('/'), Qt::SkipEmptyParts) + m_pending;
    }

    OutputTarget target(const QByteArray& name, const std::optional<struct stat>& existing) {
        OutputTarget found;
        found.path = joined(m_shown, QFile::decodeName(name));
        found.name = name;
        found.folderStatus = m_folderStatus;
        found.existing = existing;
        if (existing && m_existing == Existing::Judged) checkMayReplace(found);
        found.folder = std::move(m_folder);
        return found;
    }

    void checkMayReplace(const OutputTarget& found) const {
        const struct stat& status = *found.existing;
        const QString path = nativeName(found.path);
        if (S_ISDIR(status.st_mode)) refuse(QStringLiteral("%1 is a folder").arg(path));
        if (S_ISREG(status.st_mode) &&
            ::faccessat(m_folder.descriptor(), found.name.constData(), W_OK, AT_EACCESS) != 0)
            refuse(QStringLiteral("%1 may not be written (%2); it is not replaced").arg(path, SystemErrorText(errno)));
        if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
            refuse(QStringLiteral("%1 exists and is not a regular file (a device, FIFO or socket); it is not replaced")
                       .arg(path));
        // Only the owner of a file or of its sticky folder may put another file in its place.
        const uid_t user = ::geteuid();
        if ((m_folderStatus.st_mode & S_ISVTX) && user != 0 && status.st_uid != user && m_folderStatus.st_uid != user)
            refuse(QStringLiteral("%1 belongs to another user in a sticky folder; only they can replace it").arg(path));
    }

    QString m_given;
    Existing m_existing;
    QStringList m_pending;  // names still to look up, in order
    QStringList m_shown;    // the names of the folder reached, for messages
    FolderHandle m_folder;
    struct stat m_folderStatus {};
};

}  // namespace

QString SystemErrorText(int code) {
    switch (code) {
    case ENOSPC: return QStringLiteral("no space left on the device");
    case EPIPE: return QStringLiteral("the reader closed it");
    default: return QString::fromLocal8Bit(std::strerror(code));
    }
}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (m_descriptor >= 0) ::close(m_descriptor);
        m_descriptor = other.release();
    }
    return *this;
}

FolderHandle::~FolderHandle() {
    if (m_descriptor >= 0) ::close(m_descriptor);
}

OutputTarget ResolveOutputTarget(const QString& path, LinkAtTarget atTarget) { return Walk(path).resolve(atTarget); }

OutputTarget ResolveFileAtTarget(const QString& path) {
    return Walk(path, Walk::Existing::LeftToCaller).resolve(LinkAtTarget::Follow);
}
