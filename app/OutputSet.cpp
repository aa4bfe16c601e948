#include "app/OutputSet.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const QString kStandardOutput = QStringLiteral("-");

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

// The mode a new file gets from the process's umask.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void writeAll(std::FILE* stream, const QByteArray& bytes) {
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) != size_t(bytes.size()) ||
        std::fflush(stream) != 0)
        throw OutputError(QStringLiteral("standard output could not be written: %1").arg(systemError()));
}

}  // namespace

struct OutputSet::Output {
    QString path;    // as given, for messages
    QString target;  // what it replaces; empty for standard output
    std::unique_ptr<QTemporaryFile> file;
    QByteArray bytes;  // standard output's content
    QBuffer buffer{&bytes};
    QString previous;  // a second name of the replaced file while the set is put in place
    bool placed = false;

    bool toStandardOutput() const { return target.isEmpty(); }
    QIODevice& device() { return toStandardOutput() ? static_cast<QIODevice&>(buffer) : *file; }

    void complete() {
        if (toStandardOutput()) return;
        struct stat existing {};
        const bool replaces = ::stat(encoded(target).constData(), &existing) == 0;
        const mode_t mode = replaces ? existing.st_mode & 07777 : newFileMode();
        // A file that replaces another is on disk before the rename, so a crash cannot leave an
        // empty file where the old one was; a new file has nothing to lose and skips the wait.
        if (!file->flush() || ::fchmod(file->handle(), mode) != 0 || (replaces && ::fsync(file->handle()) != 0))
            throw OutputError(
                QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), systemError()));
        file->close();
        if (file->error() != QFileDevice::NoError)
            throw OutputError(
                QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), file->errorString()));
    }

    // Keeps the file about to be replaced under a second name, so a failed set can put it back.
    // Where the folder allows no second name the set still goes on: the rename is one step.
    void keepPrevious() {
        struct stat existing {};
        if (toStandardOutput() || ::lstat(encoded(target).constData(), &existing) != 0) return;
        if (!S_ISREG(existing.st_mode))
            throw OutputError(QStringLiteral("%1 exists and is not a regular file; it is not replaced")
                                  .arg(QDir::toNativeSeparators(target)));
        const QString name = file->fileName() + QStringLiteral(".previous");
        if (::link(encoded(target).constData(), encoded(name).constData()) == 0) previous = name;
    }

    void putInPlace() {
        if (toStandardOutput()) return writeAll(stdout, bytes);
        if (::rename(encoded(file->fileName()).constData(), encoded(target).constData()) != 0)
            throw OutputError(
                QStringLiteral("%1 could not be put in place: %2").arg(QDir::toNativeSeparators(path), systemError()));
        file->setAutoRemove(false);
        placed = true;
    }

    void takeBack() {
        if (!placed) return;
        if (!previous.isEmpty()) {
            if (::rename(encoded(previous).constData(), encoded(target).constData()) == 0) previous.clear();
        } else {
            ::unlink(encoded(target).constData());
        }
    }

    ~Output() {
        if (!previous.isEmpty()) ::unlink(encoded(previous).constData());
    }
};

OutputSet::OutputSet() = default;
OutputSet::~OutputSet() = default;

QIODevice& OutputSet::join(const QString& path) {
    auto output = std::make_unique<Output>();
    output->path = path;
    if (path == kStandardOutput) {
        output->buffer.open(QIODevice::WriteOnly);
    } else {
        output->target = ResolveOutputTarget(path);
        for (const auto& other : m_outputs)
            if (other->target == output->target)
                throw OutputError(QStringLiteral("%1 is named for two outputs").arg(QDir::toNativeSeparators(path)));
        const QFileInfo target(output->target);
        // Made exclusively in the target's own folder, so the rename cannot cross file systems.
        output->file = std::make_unique<QTemporaryFile>(target.absolutePath() + QStringLiteral("/.") +
                                                        target.fileName() + QStringLiteral(".XXXXXX"));
        if (!output->file->open())
            throw OutputError(QStringLiteral("%1 could not be written: %2")
                                  .arg(QDir::toNativeSeparators(path), output->file->errorString()));
    }
    m_outputs.push_back(std::move(output));
    return m_outputs.back()->device();
}

void OutputSet::commit() {
    for (const auto& output : m_outputs) output->complete();
    for (const auto& output : m_outputs) output->keepPrevious();
    try {
        // Standard output cannot be taken back, so it goes last.
        for (const auto& output : m_outputs)
            if (!output->toStandardOutput()) output->putInPlace();
        for (const auto& output : m_outputs)
            if (output->toStandardOutput()) output->putInPlace();
    } catch (...) {
        for (const auto& output : m_outputs) output->takeBack();
        throw;
    }
}
