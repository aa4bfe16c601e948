#include "receipts/ReceiptLibrary.h"

#include "receipts/ReceiptCheck.h"
#include "receipts/ReceiptError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr mode_t kPrivateFolder = 0700;
constexpr QFileDevice::Permissions kPrivateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

[[noreturn]] void Fail(const QString& what) {
    throw ReceiptError::notMade(QStringLiteral("The receipt could not be kept in %1: %2")
                                    .arg(QDir::toNativeSeparators(ReceiptLibraryFolder()), what));
}

QString SystemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// A folder of this user's alone: made 0700, and an existing one must be this user's own real
// folder (not a link someone else planted), whose mode is then narrowed to 0700.
void MakePrivateFolder(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), kPrivateFolder) != 0 && errno != EEXIST) Fail(SystemError());
    struct stat info {};
    if (::lstat(native.constData(), &info) != 0) Fail(SystemError());
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        Fail(QStringLiteral("%1 is not a folder of this user's own").arg(QDir::toNativeSeparators(path)));
    if ((info.st_mode & 07777) != kPrivateFolder && ::chmod(native.constData(), kPrivateFolder) != 0)
        Fail(SystemError());
}

void SyncFolder(const QString& path) {
    const int folder = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (folder < 0) return;
    ::fsync(folder);
    ::close(folder);
}

// The data folder as it is, then brindlemoor/ and receipts/ in it private to the user.
void PrepareLibraryFolder() {
    const QString folder = ReceiptLibraryFolder();
    const QString programData = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(QFileInfo(programData).absolutePath())) Fail(QStringLiteral("the data folder cannot be made"));
    MakePrivateFolder(programData);
    MakePrivateFolder(folder);
}

const QRegularExpression& CopyNamePattern() {
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{64}\\.(pdf|jpg|png|webp|tif|heic)$"));
    return pattern;
}

}  // namespace

QString ReceiptLibraryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/brindlemoor/receipts");
}

QString ReceiptCopyPath(const QString& copy) { return ReceiptLibraryFolder() + QLatin1Char('/') + copy; }

StoredReceipt AddToLibrary(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QByteArray bytes = ReadReceiptFile(path, shown);
    const ReceiptType type = CheckReceiptBytes(bytes, shown);
    const StoredReceipt stored{
        QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex()) +
            ReceiptExtension(type),
        QFileInfo(path).fileName()};

    PrepareLibraryFolder();
    const QString folder = ReceiptLibraryFolder();
    const QString target = ReceiptCopyPath(stored.copy);
    if (QFileInfo(target).size() == bytes.size() && QFileInfo(target).isFile()) {
        QFile::setPermissions(target, kPrivateFile);
        return stored;
    }
    QTemporaryFile copy(folder + QStringLiteral("/.receipt-XXXXXX"));
    if (!copy.open()) Fail(copy.errorString());
    if (copy.write(bytes) != bytes.size() || !copy.flush() || ::fsync(copy.handle()) != 0) Fail(copy.errorString());
    // A temporary file is already 0600; the rename keeps its mode.
    if (::rename(QFile::encodeName(copy.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        Fail(SystemError());
    copy.setAutoRemove(false);
    SyncFolder(folder);
    return stored;
}

void DeleteCopyUnlessNamed(const QString& copy, const std::vector<QList<StoredReceipt>>& lists) {
    for (const QList<StoredReceipt>& list : lists)
        for (const StoredReceipt& receipt : list)
            if (receipt.copy == copy) return;
    QFile::remove(ReceiptCopyPath(copy));
}

QString StoredReceiptsText(const QList<StoredReceipt>& receipts) {
    QStringList entries;
    for (const StoredReceipt& receipt : receipts) entries << receipt.copy + QLatin1Char(':') + receipt.name;
    return entries.join(QLatin1Char('/'));
}

std::optional<QList<StoredReceipt>> ParseStoredReceipts(const QString& text) {
    QList<StoredReceipt> receipts;
    if (text.isEmpty()) return receipts;
    for (const QString& entry : text.split(QLatin1Char('/'))) {
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        const QString copy = colon < 0 ? entry : entry.left(colon);
        if (!CopyNamePattern().match(copy).hasMatch()) return std::nullopt;
        const QString name = colon < 0 ? QString() : entry.mid(colon + 1);
        receipts.append({copy, name.isEmpty() ? copy : name});
    }
    return receipts;
}
