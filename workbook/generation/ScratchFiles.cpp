#include "workbook/generation/ScratchFiles.h"

#include "app/OutputSet.h"

#include <QFile>
#include <QFileInfo>

#include <random>

bool TemplateCopyIsCurrent(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isFile() || info.size() != bytes.size()) return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

void WriteBytesToFile(const QByteArray& bytes, const QString& path) { ReplaceFile(path, bytes, LinkAtTarget::Replace); }

bool ScratchNameTaken(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

int DrawNameDigit() {
    static std::mt19937 generator{std::random_device{}()};
    return std::uniform_int_distribution<int>(1, 9)(generator);
}
