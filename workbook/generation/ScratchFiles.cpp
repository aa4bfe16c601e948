#include "workbook/generation/ScratchFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <random>
#include <stdexcept>

bool TemplateCopyIsCurrent(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() != bytes.size()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

void WriteBytesToFile(const QByteArray& bytes, const QString& path) {
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    if (!temporary.open() || temporary.write(bytes) != bytes.size() || !temporary.flush())
        throw std::runtime_error("Could not write " + path.toStdString() + ": " +
                                 temporary.errorString().toStdString());
    // std::rename replaces a symbolic link at path instead of writing through it.
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        throw std::runtime_error("Could not write " + path.toStdString() + ": the file could not be replaced.");
    temporary.setAutoRemove(false);
}

bool ScratchNameTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

int DrawNameDigit() {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(1, 9)(generator);
}
