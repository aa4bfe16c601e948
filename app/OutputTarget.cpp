#include "app/OutputTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace {

// The kernel gives up after 40 links in one lookup; so do we.
constexpr int kMaxLinks = 40;

QString nativeName(const QString& path) { return QDir::toNativeSeparators(path); }

bool isSharedStickyFolder(const struct stat& folder) {
    return (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
}

// Refuses to follow a link that someone else may have planted in a folder everyone can write to.
void checkLinkMayBeFollowed(const QString& link, const struct stat& linkStatus) {
    const QString folder = QFileInfo(link).absolutePath();
    struct stat folderStatus {};
    if (::stat(QFile::encodeName(folder).constData(), &folderStatus) != 0) return;
    if (!isSharedStickyFolder(folderStatus)) return;
    if (linkStatus.st_uid == ::geteuid() || linkStatus.st_uid == folderStatus.st_uid) return;
    throw OutputError(QStringLiteral("%1 is a link that belongs to another user in the shared folder %2; "
                                     "it is not followed")
                          .arg(nativeName(link), nativeName(folder)));
}

// The same rule for every link among the folders on the way to path, as the kernel applies it
// to each link a lookup follows.
void checkFoldersOnTheWay(const QString& path) {
    const QStringList parts = QFileInfo(path).absolutePath().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString prefix;
    for (const QString& part : parts) {
        prefix += QLatin1Char('/') + part;
        struct stat status {};
        if (::lstat(QFile::encodeName(prefix).constData(), &status) == 0 && S_ISLNK(status.st_mode))
            checkLinkMayBeFollowed(prefix, status);
    }
}

QString linkDestination(const QString& link) {
    const QByteArray name = QFile::encodeName(link);
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(name.constData(), target.data(), size_t(target.size()));
    if (length < 0)
        throw OutputError(QStringLiteral("the link %1 cannot be read: %2")
                              .arg(nativeName(link), QString::fromLocal8Bit(std::strerror(errno))));
    target.truncate(length);
    const QString destination = QFile::decodeName(target);
    return QDir::cleanPath(QDir(QFileInfo(link).absolutePath()).absoluteFilePath(destination));
}

}  // namespace

QString ResolveOutputTarget(const QString& path) {
    QString current = QFileInfo(path).absoluteFilePath();
    for (int links = 0; links <= kMaxLinks; ++links) {
        checkFoldersOnTheWay(current);
        struct stat status {};
        if (::lstat(QFile::encodeName(current).constData(), &status) != 0) {
            if (errno == ENOENT) return current;
            throw OutputError(QStringLiteral("%1 cannot be examined: %2")
                                  .arg(nativeName(current), QString::fromLocal8Bit(std::strerror(errno))));
        }
        if (S_ISREG(status.st_mode)) return current;
        if (S_ISDIR(status.st_mode)) throw OutputError(QStringLiteral("%1 is a folder").arg(nativeName(current)));
        if (!S_ISLNK(status.st_mode))
            throw OutputError(QStringLiteral("%1 exists and is not a regular file (a device, FIFO or socket); "
                                             "it is not replaced")
                                  .arg(nativeName(current)));
        checkLinkMayBeFollowed(current, status);
        current = linkDestination(current);
    }
    throw OutputError(QStringLiteral("%1 leads through too many links").arg(nativeName(path)));
}
