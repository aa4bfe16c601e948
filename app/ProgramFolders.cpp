#include "app/ProgramFolders.h"

#include "app/AppError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QString ScratchBase() {
    for (const char* name : {"temp", "TEMP", "TMPDIR"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) return value;
    }
    return QDir::tempPath();
}

AppError UnsafeFolder(const std::string& folder, const QString& reason) {
    return AppError(
        QStringLiteral("The scratch folder %1 cannot be used: %2").arg(QFile::decodeName(folder.c_str()), reason));
}

QString SystemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

// The folder must be a real directory of ours that nobody else can read or plant files in.
void CheckPrivateFolder(const std::string& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) throw UnsafeFolder(folder, SystemError());
    if (S_ISLNK(st.st_mode)) throw UnsafeFolder(folder, QStringLiteral("it is a symbolic link"));
    if (!S_ISDIR(st.st_mode)) throw UnsafeFolder(folder, QStringLiteral("it is not a folder"));
    if (st.st_uid != ::getuid()) throw UnsafeFolder(folder, QStringLiteral("it belongs to another user"));
    if ((st.st_mode & 0777) != 0700) throw UnsafeFolder(folder, QStringLiteral("its permissions are not 0700"));
}

}  // namespace

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QString DataFolder() {
    return QDir::cleanPath(ProgramFolder() + QLatin1Char('/') + QStringLiteral(BRINDLEMOOR_DATA_FROM_PROGRAM));
}

QString ProgramFile(const QString& name) {
    const QString beside = QDir(ProgramFolder()).filePath(name);
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = QDir(DataFolder()).filePath(name);
    return QFileInfo::exists(installed) ? installed : beside;
}

QString ScratchFolder() {
    const QString folder =
        QDir(QDir::cleanPath(ScratchBase())).filePath(QStringLiteral("brindlemoor-") + QString::number(::getuid()));
    const std::string native = QFile::encodeName(folder).toStdString();
    if (::mkdir(native.c_str(), 0700) == 0) {
        // The umask may have taken bits the check below insists on.
        if (::chmod(native.c_str(), 0700) != 0) throw UnsafeFolder(native, SystemError());
    } else if (errno != EEXIST) {
        throw UnsafeFolder(native, SystemError());
    }
    CheckPrivateFolder(native);
    return folder;
}
