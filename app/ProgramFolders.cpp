#include "app/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <stdexcept>
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

std::runtime_error UnsafeFolder(const std::string& folder, const std::string& reason) {
    return std::runtime_error("The scratch folder " + folder + " cannot be used: " + reason);
}

// The folder must be a real directory of ours that nobody else can read or plant files in.
void CheckPrivateFolder(const std::string& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) throw UnsafeFolder(folder, std::strerror(errno));
    if (S_ISLNK(st.st_mode)) throw UnsafeFolder(folder, "it is a symbolic link");
    if (!S_ISDIR(st.st_mode)) throw UnsafeFolder(folder, "it is not a folder");
    if (st.st_uid != ::getuid()) throw UnsafeFolder(folder, "it belongs to another user");
    if ((st.st_mode & 0777) != 0700) throw UnsafeFolder(folder, "its permissions are not 0700");
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
        if (::chmod(native.c_str(), 0700) != 0) throw UnsafeFolder(native, std::strerror(errno));
    } else if (errno != EEXIST) {
        throw UnsafeFolder(native, std::strerror(errno));
    }
    CheckPrivateFolder(native);
    return folder;
}
