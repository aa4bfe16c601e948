#include "app/FileService.h"

#include "app/AppError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

bool FileExists(const QString& path) {
    if (path.isEmpty() || path.contains(QLatin1Char('*')) || path.contains(QLatin1Char('?'))) return false;
    return QFileInfo::exists(path);
}

void DeleteScratchFile(const QString& path) {
    // A window that still shows the file gets the chance to let it go.
    QCoreApplication::processEvents();
    if (!path.isEmpty() && QFile::remove(path)) return;
    try {
        ForceDeleteFile(path);
    } catch (...) {
        // A scratch file that cannot be removed is left behind; the caller carries on.
    }
}

void ForceDeleteFile(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || (!info.exists() && !info.isSymLink()))
        throw AppError(QStringLiteral("File not found: ") + path);
    if (info.isDir() && !info.isSymLink()) throw AppError(QStringLiteral("Cannot delete a folder as a file: ") + path);
    QFile file(path);
    if (!info.isSymLink()) file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
    if (!file.remove()) throw AppError(QStringLiteral("Cannot delete %1: %2").arg(path, file.errorString()));
}
