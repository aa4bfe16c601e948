#include "preview/FileReplace.h"

#include "app/OutputSet.h"

#include <QFile>

#include <stdexcept>

namespace {

[[noreturn]] void Fail(const QString& reason) {
    throw std::runtime_error(reason.toStdString());
}

}  // namespace

void ReplaceWithCopy(const QString& source, const QString& target) {
    QFile input(source);
    if (!input.open(QIODevice::ReadOnly)) Fail(QStringLiteral("File not found: ") + source);

    // The copy goes to a temporary file beside the target and replaces it only when complete;
    // anything that fails before then leaves the target untouched.
    OutputSet outputs;
    QIODevice* output = nullptr;
    try {
        output = &outputs.join(target);
    } catch (const OutputError& error) {
        Fail(QStringLiteral("Path/File access error: ") + QString::fromStdString(error.what()));
    }

    constexpr qint64 kChunk = 1 << 16;
    while (!input.atEnd()) {
        const QByteArray chunk = input.read(kChunk);
        if (input.error() != QFileDevice::NoError) Fail(QStringLiteral("Device I/O error: ") + input.errorString());
        if (output->write(chunk) != chunk.size()) Fail(QStringLiteral("Device I/O error: ") + output->errorString());
    }
    try {
        outputs.commit();
    } catch (const OutputError& error) {
        Fail(QStringLiteral("Path/File access error: ") + QString::fromStdString(error.what()));
    }
}
