#include "ScratchFiles.h"

#include "app/OutputSet.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <random>

bool IsRunFileName(const QString& fileName) {
    // A temporary file is the name after a dot and before a dot and random letters.
    static const QRegularExpression pattern(
        QStringLiteral("^\\.?(%1|%2|%3[1-9]{8}%4)(\\..+)?$")
            .arg(QRegularExpression::escape(kTemplateCopyName), QRegularExpression::escape(kSnapshotName),
                 QRegularExpression::escape(kResultPrefix), QRegularExpression::escape(kResultExtension)));
    return pattern.match(fileName).hasMatch();
}

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
