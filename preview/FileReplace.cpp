#include "preview/FileReplace.h"

#include <QFile>
#include <QSaveFile>

#include <stdexcept>

namespace {

[[noreturn]] void Fail(const QString& reason) {
    throw std::runtime_error(reason.toStdString());
}

}  // namespace

void ReplaceWithCopy(const QString& source, const QString& target) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) Fail(QStringLiteral("File not found: ") + source);

    // QSaveFile writes a temporary file in the target's folder and renames it over the target on
    // commit; anything that fails before then leaves the target untouched.
    QSaveFile output(target);
    output.setDirectWriteFallback(false);
    if (!output.open(QIODevice::WriteOnly)) Fail(QStringLiteral("Path/File access error: ") + output.errorString());

    constexpr qint64 kChunk = 1 << 16;
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(kChunk);
        if (input.error() != QFileDevice::NoError) Fail(QStringLiteral("Device I/O error: ") + input.errorString());
        if (output.write(chunk) != chunk.size()) Fail(QStringLiteral("Device I/O error: ") + output.errorString());
    }
    if (!output.commit()) Fail(QStringLiteral("Path/File access error: ") + output.errorString());
}
